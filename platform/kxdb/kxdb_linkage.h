// The linkage record of an event source: what the event sets off besides
// its schedules (trigger channels, alarm outputs, intervals, audio, e-mail
// pictures). People-counting groups, POS connections, face-detection
// channels and camera alarm inputs keep the same fields, each in a table of
// its own.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int LINKAGE_CHANNELS_SIZE = 65;  // '0'/'1' per channel and the NUL

struct linkage_event {
  int32_t id;     // group, POS id or channel: the record's key
  int32_t index;  // input index where a source has several (camera alarm inputs), else 0
  int32_t interval_flag;  // 2 once an interval was stored: the daemon then takes it
  uint32_t trigger_mask;  // bit i: character i (below 32) of triChannels is '1'
  char triChannels[LINKAGE_CHANNELS_SIZE];
  char reserved0[3];
  int32_t triAlarms;
  int32_t interval;
  int32_t email_interval;
  char triChnAlarms[2][LINKAGE_CHANNELS_SIZE];  // the two alarm-output selections
  char reserved1[2];
  int32_t ptz_interval;
  int32_t alarmout_interval;
  int32_t white_interval;
  int32_t email_pic_enable;
  char tri_channels_pic[LINKAGE_CHANNELS_SIZE];
  char reserved2[3];
  int32_t audioId;
  int32_t http_notification_interval;
};
static_assert(sizeof(linkage_event) == 320);
static_assert(offsetof(linkage_event, id) == 0);
static_assert(offsetof(linkage_event, index) == 4);
static_assert(offsetof(linkage_event, interval_flag) == 8);
static_assert(offsetof(linkage_event, trigger_mask) == 12);
static_assert(offsetof(linkage_event, triChannels) == 16);
static_assert(offsetof(linkage_event, reserved0) == 81);
static_assert(offsetof(linkage_event, triAlarms) == 84);
static_assert(offsetof(linkage_event, interval) == 88);
static_assert(offsetof(linkage_event, email_interval) == 92);
static_assert(offsetof(linkage_event, triChnAlarms) == 96);
static_assert(offsetof(linkage_event, reserved1) == 226);
static_assert(offsetof(linkage_event, ptz_interval) == 228);
static_assert(offsetof(linkage_event, alarmout_interval) == 232);
static_assert(offsetof(linkage_event, white_interval) == 236);
static_assert(offsetof(linkage_event, email_pic_enable) == 240);
static_assert(offsetof(linkage_event, tri_channels_pic) == 244);
static_assert(offsetof(linkage_event, reserved2) == 309);
static_assert(offsetof(linkage_event, audioId) == 312);
static_assert(offsetof(linkage_event, http_notification_interval) == 316);

struct schedule;

// The generic accessors behind each source's typed ones: `kind` is the
// source's table, ids run from 0 to limit - 1 (others are refused: -1,
// nothing read or written). An id never written reads as its factory
// default (zeroed record with its id, empty schedule); a failed read leaves
// the caller's record as it was.
int linkage_read_event(const char *file, const char *kind, linkage_event *record, int id,
                       int limit);
int linkage_write_event(const char *file, const char *kind, const linkage_event *record,
                        int limit);
int linkage_read_schedule(const char *file, const char *kind, schedule *s, int id, int limit);
int linkage_write_schedule(const char *file, const char *kind, const schedule *s, int id,
                           int limit);
