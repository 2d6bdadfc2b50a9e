// POS connections (8, ids 0 to 7): the connection and overlay settings of
// each, its linkage record and its schedules by kind.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kxdb_event.h"
#include "kxdb_linkage.h"

constexpr int POS_CONNECTIONS = 8;
constexpr int POS_NAME_SIZE = 33;  // at most 32 characters

// ---- Settings of a connection (table "pos_setting") ----
struct pos_setting {
  int32_t id;  // 0 to 7
  int32_t enable;
  char name[POS_NAME_SIZE];
  char reserved[3];
  int32_t protocol;
  int32_t connectionMode;
  char ip[64];
  int32_t liveviewDisplay;
  int32_t displayChannel;
  int32_t startX;
  int32_t startY;
  int32_t areaWidth;
  int32_t areaHeight;
  int32_t characterEncodeing;  // the page's own spelling, also its key
  int32_t fontSize;
  int32_t fontColor;
  int32_t overlayMode;
  int32_t displayTime;
  int32_t timeout;
  char privacy1[64];
  char privacy2[64];
  char privacy3[64];
  int32_t port;
  int32_t clearTime;
  int32_t nvrPort;
};
static_assert(sizeof(pos_setting) == 368);
static_assert(offsetof(pos_setting, id) == 0);
static_assert(offsetof(pos_setting, enable) == 4);
static_assert(offsetof(pos_setting, name) == 8);
static_assert(offsetof(pos_setting, reserved) == 41);
static_assert(offsetof(pos_setting, protocol) == 44);
static_assert(offsetof(pos_setting, connectionMode) == 48);
static_assert(offsetof(pos_setting, ip) == 52);
static_assert(offsetof(pos_setting, liveviewDisplay) == 116);
static_assert(offsetof(pos_setting, displayChannel) == 120);
static_assert(offsetof(pos_setting, startX) == 124);
static_assert(offsetof(pos_setting, startY) == 128);
static_assert(offsetof(pos_setting, areaWidth) == 132);
static_assert(offsetof(pos_setting, areaHeight) == 136);
static_assert(offsetof(pos_setting, characterEncodeing) == 140);
static_assert(offsetof(pos_setting, fontSize) == 144);
static_assert(offsetof(pos_setting, fontColor) == 148);
static_assert(offsetof(pos_setting, overlayMode) == 152);
static_assert(offsetof(pos_setting, displayTime) == 156);
static_assert(offsetof(pos_setting, timeout) == 160);
static_assert(offsetof(pos_setting, privacy1) == 164);
static_assert(offsetof(pos_setting, privacy2) == 228);
static_assert(offsetof(pos_setting, privacy3) == 292);
static_assert(offsetof(pos_setting, port) == 356);
static_assert(offsetof(pos_setting, clearTime) == 360);
static_assert(offsetof(pos_setting, nvrPort) == 364);

// Ids outside 0 to 7 are refused (-1, nothing read or written); an id never
// written reads as its factory default (zeroed, id set).
int read_pos_setting(const char *file, pos_setting *record, int id);
// All 8 in id order; `count` receives 8.
int read_pos_settings(const char *file, pos_setting *records, int *count);
int write_pos_setting(const char *file, const pos_setting *record);

// ---- Linkage of a connection (table "pos_event") ----
int read_pos_event(const char *file, linkage_event *record, int id);
int write_pos_event(const char *file, const linkage_event *record);

// ---- Schedules by kind ----
constexpr int POS_SCHEDULE_EFFECTIVE = 0;
constexpr int POS_SCHEDULE_AUDIBLE = 1;
constexpr int POS_SCHEDULE_EMAIL = 2;
constexpr int POS_SCHEDULE_PTZ = 3;
constexpr int POS_SCHEDULE_WHITE = 4;
constexpr int POS_SCHEDULE_HTTP = 6;  // stored as the named block POS_HTTP_SCHEDULE
// Other kinds are refused (-1).
int read_pos_schedule(const char *file, int kind, schedule *s, int id);
int write_pos_schedule(const char *file, int kind, const schedule *s, int id);

// Tables of the named parameter blocks.
constexpr const char *POS_WHITE_PARAMS = "pos_whiteled_params";
constexpr const char *POS_HTTP_SCHEDULE = "pos_http_notification_sche";
constexpr const char *POS_HTTP_PARAMS = "pos_http_notification_params";
