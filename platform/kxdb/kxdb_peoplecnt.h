// People counting: the settings of the 9 counting groups, their linkage
// records and schedules, and the 4 scheduled report backups.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kxdb_event.h"
#include "kxdb_linkage.h"

constexpr int PEOPLECNT_GROUPS = 9;   // groups 0 to 8
constexpr int PEOPLECNT_REPORTS = 4;  // report backups

// ---- A counting group (table "peoplecnt_settings") ----
struct peoplecnt_settings {
  int32_t groupid;  // 0 to 8
  int32_t enable;
  int32_t stays;
  int32_t liveview_auto_reset;
  int32_t auto_day;
  int32_t liveview_font_size;
  char name[64];
  char auto_day_time[64];
  char tri_channels[65];
  char liveview_green_tips[128];
  char liveview_red_tips[128];
  char reserved[3];
};
static_assert(sizeof(peoplecnt_settings) == 476);
static_assert(offsetof(peoplecnt_settings, groupid) == 0);
static_assert(offsetof(peoplecnt_settings, enable) == 4);
static_assert(offsetof(peoplecnt_settings, stays) == 8);
static_assert(offsetof(peoplecnt_settings, liveview_auto_reset) == 12);
static_assert(offsetof(peoplecnt_settings, auto_day) == 16);
static_assert(offsetof(peoplecnt_settings, liveview_font_size) == 20);
static_assert(offsetof(peoplecnt_settings, name) == 24);
static_assert(offsetof(peoplecnt_settings, auto_day_time) == 88);
static_assert(offsetof(peoplecnt_settings, tri_channels) == 152);
static_assert(offsetof(peoplecnt_settings, liveview_green_tips) == 217);
static_assert(offsetof(peoplecnt_settings, liveview_red_tips) == 345);
static_assert(offsetof(peoplecnt_settings, reserved) == 473);

// ---- A scheduled report backup (4 records, one table entry) ----
struct peoplecnt_report {
  int32_t reportType;
  int32_t enable;
  char triChannels[65];
  char triGroups[17];  // '0'/'1' per group
  char reserved[2];
  int32_t stayLengthType;
  int32_t stayLengthValue;
  int32_t backupDay;
  char backupTime[32];
  int32_t fileFormat;
  int32_t timeRange;
  int32_t backupTo;
  int32_t lineMask;
};
static_assert(sizeof(peoplecnt_report) == 152);
static_assert(offsetof(peoplecnt_report, reportType) == 0);
static_assert(offsetof(peoplecnt_report, enable) == 4);
static_assert(offsetof(peoplecnt_report, triChannels) == 8);
static_assert(offsetof(peoplecnt_report, triGroups) == 73);
static_assert(offsetof(peoplecnt_report, reserved) == 90);
static_assert(offsetof(peoplecnt_report, stayLengthType) == 92);
static_assert(offsetof(peoplecnt_report, stayLengthValue) == 96);
static_assert(offsetof(peoplecnt_report, backupDay) == 100);
static_assert(offsetof(peoplecnt_report, backupTime) == 104);
static_assert(offsetof(peoplecnt_report, fileFormat) == 136);
static_assert(offsetof(peoplecnt_report, timeRange) == 140);
static_assert(offsetof(peoplecnt_report, backupTo) == 144);
static_assert(offsetof(peoplecnt_report, lineMask) == 148);

// Groups outside 0 to 8 are refused (-1, nothing read or written). A group
// never written reads as its factory default (zeroed, groupid set).
// All 9 groups in group order; `count` receives 9.
int read_peoplecnt_settings(const char *file, peoplecnt_settings *records, int *count);
// The first `count` records (at most 9), each under its groupid, in one transaction.
int write_peoplecnt_settings(const char *file, const peoplecnt_settings *records, int count);

// The 4 report backups in order; `count` receives 4.
int read_report_auto_backup(const char *file, peoplecnt_report *records, int *count);
// Exactly PEOPLECNT_REPORTS records; other counts are refused.
int write_report_auto_backup(const char *file, const peoplecnt_report *records, int count);

// ---- Linkage of a group (table "peoplecnt_event") ----
int read_peoplecnt_event(const char *file, linkage_event *record, int group);
int write_peoplecnt_event(const char *file, const linkage_event *record);

// ---- Week schedules of a group ----
// People counting keeps no arming schedule of its own: the page's
// "effective" is the audible one. A group never written reads as empty.
int read_peoplecnt_audible_schedule(const char *file, schedule *s, int group);
int write_peoplecnt_audible_schedule(const char *file, const schedule *s, int group);
int read_peoplecnt_email_schedule(const char *file, schedule *s, int group);
int write_peoplecnt_email_schedule(const char *file, const schedule *s, int group);
int read_peoplecnt_ptz_schedule(const char *file, schedule *s, int group);
int write_peoplecnt_ptz_schedule(const char *file, const schedule *s, int group);
int read_peoplecnt_white_schedule(const char *file, schedule *s, int group);
int write_peoplecnt_white_schedule(const char *file, const schedule *s, int group);

// Tables of the named parameter blocks (HTTP notification schedule and target).
constexpr const char *PEOPLECNT_HTTP_SCHEDULE = "people_cnt_http_notification_sche";
constexpr const char *PEOPLECNT_HTTP_PARAMS = "people_cnt_http_notification_params";
