// Settings records shared by the event modules: week schedules, PTZ action
// lists, white-light actions, HTTP notification targets, alarm-output names.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Week schedule: 8 day rows of 48 plans ----
struct schedule_plan {
  char start_time[32];
  char end_time[32];
  int32_t action_type;
};
static_assert(sizeof(schedule_plan) == 68);
static_assert(offsetof(schedule_plan, start_time) == 0);
static_assert(offsetof(schedule_plan, end_time) == 32);
static_assert(offsetof(schedule_plan, action_type) == 64);

constexpr int SCHEDULE_DAYS = 8;
constexpr int SCHEDULE_PLANS = 48;

struct schedule_day {
  schedule_plan plans[SCHEDULE_PLANS];
  int32_t valid;  // camera-side schedules only
  int32_t reserved;
};
static_assert(sizeof(schedule_day) == 3272);
static_assert(offsetof(schedule_day, plans) == 0);
static_assert(offsetof(schedule_day, valid) == 3264);
static_assert(offsetof(schedule_day, reserved) == 3268);

struct schedule {
  schedule_day days[SCHEDULE_DAYS];
};
static_assert(sizeof(schedule) == 26176);
static_assert(offsetof(schedule, days) == 0);

// ---- PTZ action of an event channel ----
struct ptz_action_params {
  int32_t chn_id;            // the event's channel (or input, or group)
  int32_t acto_ptz_channel;  // PTZ camera to move; 0 = empty entry
  int32_t reserved;
  int32_t acto_ptz_type;  // 1 preset, 2 patrol, 3 pattern
  int32_t acto_ptz_preset;
  int32_t acto_ptz_patrol;
  int32_t acto_ptz_pattern;
};
static_assert(sizeof(ptz_action_params) == 28);
static_assert(offsetof(ptz_action_params, chn_id) == 0);
static_assert(offsetof(ptz_action_params, acto_ptz_channel) == 4);
static_assert(offsetof(ptz_action_params, reserved) == 8);
static_assert(offsetof(ptz_action_params, acto_ptz_type) == 12);
static_assert(offsetof(ptz_action_params, acto_ptz_preset) == 16);
static_assert(offsetof(ptz_action_params, acto_ptz_patrol) == 20);
static_assert(offsetof(ptz_action_params, acto_ptz_pattern) == 24);

constexpr int PTZ_ACTION_MAX = 64;            // entries per list
constexpr int PEOPLECNT_PTZ_ACTION_MAX = 16;  // people counting (event type 20)
constexpr int PTZ_EVENT_PEOPLECNT = 20;

// Lists are kept per (event type, channel), PTZ_ACTION_MAX entries each.
int read_ptz_params(const char *file, ptz_action_params *list, int type, int channel, int *count);
int write_ptz_params_all(const char *file, const ptz_action_params *list, int type, int channel);
int copy_ptz_params_all(const char *file, const ptz_action_params *list, int type, uint64_t mask);
int read_peoplecnt_ptz_params(const char *file, ptz_action_params *list, int channel, int *count);
int write_peoplecnt_ptz_params_ex(const char *file, const ptz_action_params *list, int channel);

// ---- White light driven by an event ----
struct whiteled_params {
  int32_t channel;  // event channel
  int32_t chnid;    // camera whose light is driven
  int32_t mode;
  int32_t time;  // duration
};
static_assert(sizeof(whiteled_params) == 16);
static_assert(offsetof(whiteled_params, channel) == 0);
static_assert(offsetof(whiteled_params, chnid) == 4);
static_assert(offsetof(whiteled_params, mode) == 8);
static_assert(offsetof(whiteled_params, time) == 12);

constexpr int WHITELED_CHANNELS = 16;     // channels with white-light actions
constexpr int WHITELED_PER_CHANNEL = 16;  // records per channel
// The table of all channels: 16 × 16 records, channel c at record c × 16.
constexpr int WHITELED_BLOCK_RECORDS = WHITELED_CHANNELS * WHITELED_PER_CHANNEL;
static_assert(sizeof(whiteled_params) * WHITELED_BLOCK_RECORDS == 4096);

// `records` points at the channel's 16 records; `count` receives how many
// are set (records after the last non-empty one are not counted).
// Channels above 15 are refused (-1, nothing read or written).
int read_whiteled_params(const char *file, whiteled_params *records, int channel,
                         const char *table, int *count);
// `block` is the 4096-byte table of all channels; the channel's records are written.
int write_whiteled_params_all(const char *file, const whiteled_params *block, const char *table,
                              int channel);
int read_peoplecnt_wled_params(const char *file, whiteled_params *records, int group, int *count);
int write_peoplecnt_wled_params_all(const char *file, const whiteled_params *records, int group);

// ---- HTTP notification target ----
struct http_notification_params {
  int32_t channel;
  char url[513];
  char username[97];
  char password[65];
  char reserved[1];
};
static_assert(sizeof(http_notification_params) == 680);
static_assert(offsetof(http_notification_params, channel) == 0);
static_assert(offsetof(http_notification_params, url) == 4);
static_assert(offsetof(http_notification_params, username) == 517);
static_assert(offsetof(http_notification_params, password) == 614);
static_assert(offsetof(http_notification_params, reserved) == 679);

int read_http_notification_params(const char *file, http_notification_params *record,
                                  int channel, const char *table);
int write_http_notification_params(const char *file, const http_notification_params *record,
                                   const char *table);

// ---- Names of the two alarm outputs of an event channel ----
struct event_alarmout_name {
  int32_t channel;
  int32_t index;  // 0 or 1
  char name[65];
  char reserved[3];
};
static_assert(sizeof(event_alarmout_name) == 76);
static_assert(offsetof(event_alarmout_name, channel) == 0);
static_assert(offsetof(event_alarmout_name, index) == 4);
static_assert(offsetof(event_alarmout_name, name) == 8);
static_assert(offsetof(event_alarmout_name, reserved) == 73);

// ---- Week schedules kept under a table name, keyed 0 to 63 ----
// The core of the typed schedule accessors of every event kind.
int read_table_schedule(const char *file, const char *table, schedule *s, int key);
int write_table_schedule(const char *file, const char *table, const schedule *s, int key);
int copy_table_schedules(const char *file, const char *table, const schedule *s, uint64_t mask);
