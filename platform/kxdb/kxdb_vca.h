// Smart events: what the recorder does when one of the cameras' analytics
// rules fires. One action record per channel and rule type, with four week
// schedules (arming, audible alarm, e-mail, PTZ), and the white-light and
// HTTP-notification schedules and parameters under table names of the type.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kxdb_event.h"

// Rule types: 0 region entrance, 1 region exit, 2 advanced motion,
// 3 tamper, 4 line crossing, 5 loitering, 6 human detection, 7 people
// counting, 8 left and removed objects.
constexpr int SMART_EVENT_TYPES = 9;
constexpr int SMART_EVENT_LINE = 4;
constexpr int SMART_EVENT_PEOPLE = 7;
constexpr int SMART_EVENT_LEFTREMOVE = 8;
constexpr int SMART_EVENT_CHANNELS = 64;
constexpr int SMART_EVENT_TEXT_SIZE = 65;  // '0'/'1' per channel, channel 0 first
inline bool smart_event_type_valid(int type) {
  return type >= 0 && type < SMART_EVENT_TYPES;
}
// The PTZ action list of a rule type is kept under event type 5 + type.
constexpr int SMART_EVENT_PTZ_BASE = 5;

struct smart_event {
  int32_t channel;  // 0 to 63
  int32_t enable;
  uint32_t trigger_mask;  // bit i: character i (below 32) of triChannels is '1'
  char triChannels[SMART_EVENT_TEXT_SIZE];
  char reserved0[3];
  int32_t triAlarms;
  int32_t interval;
  int32_t email_interval;
  char triChnAlarms[2][SMART_EVENT_TEXT_SIZE];  // the two alarm-output selections
  char reserved1[2];
  int32_t ptz_interval;
  int32_t alarmout_interval;
  int32_t white_interval;
  int32_t email_pic_enable;
  char tri_channels_pic[SMART_EVENT_TEXT_SIZE];
  char reserved2[3];
  int32_t audioId;
  int32_t http_notification_interval;
};
static_assert(sizeof(smart_event) == 316);
static_assert(offsetof(smart_event, channel) == 0);
static_assert(offsetof(smart_event, enable) == 4);
static_assert(offsetof(smart_event, trigger_mask) == 8);
static_assert(offsetof(smart_event, triChannels) == 12);
static_assert(offsetof(smart_event, reserved0) == 77);
static_assert(offsetof(smart_event, triAlarms) == 80);
static_assert(offsetof(smart_event, interval) == 84);
static_assert(offsetof(smart_event, email_interval) == 88);
static_assert(offsetof(smart_event, triChnAlarms) == 92);
static_assert(offsetof(smart_event, reserved1) == 222);
static_assert(offsetof(smart_event, ptz_interval) == 224);
static_assert(offsetof(smart_event, alarmout_interval) == 228);
static_assert(offsetof(smart_event, white_interval) == 232);
static_assert(offsetof(smart_event, email_pic_enable) == 236);
static_assert(offsetof(smart_event, tri_channels_pic) == 240);
static_assert(offsetof(smart_event, reserved2) == 305);
static_assert(offsetof(smart_event, audioId) == 308);
static_assert(offsetof(smart_event, http_notification_interval) == 312);

// Channels outside 0 to 63 and types outside 0 to 8 are refused (-1,
// nothing read or written). A record never written reads as its factory
// default (zeroed, channel set); a failed read leaves the record as it was.
int read_smart_event(const char *file, smart_event *record, int channel, int type);
// Stores the record under its own channel.
int write_smart_event(const char *file, const smart_event *record, int type);

// ---- Week schedules of a channel and type ----
int read_smart_event_effective_schedule(const char *file, schedule *s, int channel, int type);
int write_smart_event_effective_schedule(const char *file, const schedule *s, int channel,
                                         int type);
int read_smart_event_audible_schedule(const char *file, schedule *s, int channel, int type);
int write_smart_event_audible_schedule(const char *file, const schedule *s, int channel,
                                       int type);
int read_smart_event_mail_schedule(const char *file, schedule *s, int channel, int type);
int write_smart_event_mail_schedule(const char *file, const schedule *s, int channel, int type);
int read_smart_event_ptz_schedule(const char *file, schedule *s, int channel, int type);
int write_smart_event_ptz_schedule(const char *file, const schedule *s, int channel, int type);

// Table names of a type's white-light and HTTP-notification settings, for
// the accessors that take a table name: kind 0 the schedule, kind 1 the
// parameters. At most 63 characters, cut to `size` - 1. 0, or -1 (buffer
// emptied) for an unknown kind or type.
int get_vca_white_table_name(int kind, int type, char *buffer, int size);
int get_vca_http_table_name(int kind, int type, char *buffer, int size);

// The actions of `channel` and `type` (record, four schedules, white-light
// and HTTP schedules and parameters, PTZ list) to every channel of the mask,
// each under its own channel, as one step. `flags` is reserved (0). 0, or
// -1 when a part could not be read or written (no channel changed then).
int copy_smart_event_action(int type, int channel, uint64_t mask, int flags);
