// Alarm inputs and outputs: the recorder's 16 inputs and 4 outputs with
// their linkage actions and week schedules, the disarming record, and the
// alarm inputs and outputs of the cameras (per channel up to 4 inputs and
// 2 outputs): their event records, schedules, names and output delays.
// Shared by the alarm pages, the alarm-input action schedules and the
// status pages.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kxdb_event.h"

constexpr int ALARM_IN_COUNT = 16;        // recorder inputs, 0 to 15
constexpr int ALARM_OUT_COUNT = 4;        // recorder outputs, 0 to 3
constexpr int CAMERA_ALARM_CHANNELS = 64; // cameras, channels 0 to 63
constexpr int CAMERA_ALARM_INPUTS = 4;    // inputs of a camera, 0 to 3
constexpr int CAMERA_ALARM_OUTPUTS = 2;   // outputs of a camera, 0 and 1

constexpr int ALARM_NAME_SIZE = 256;      // recorder input and output names
constexpr int ALARM_CHANNELS_SIZE = 65;   // '0'/'1' per channel, channel 0 first
constexpr int CAMERA_ALARM_NAME_SIZE = 64;
// Value of the flag words when their interval has been set by the page.
constexpr int32_t ALARM_FLAG_SET = 2;

// ---- Recorder alarm input (table "alarm_in", key id) ----
struct alarm_in_params {
  int32_t id;  // input, 0 to 15
  int32_t enable;
  char name[ALARM_NAME_SIZE];
  int32_t type;           // 0 or 1
  uint32_t trigger_mask;  // bit i: character i (below 32) of triChannels is '1'
  int32_t triAlarms;      // recorder outputs to trigger
  int32_t interval;
  char triChannels[ALARM_CHANNELS_SIZE];
  char reserved0[3];
  int32_t email_interval;
  char triSnapshot[ALARM_CHANNELS_SIZE];
  char reserved1[3];
  int32_t ptz_interval;
  int32_t alarmout_interval;
  int32_t white_interval;
  int32_t http_notification_interval;
  int32_t email_pic_enable;
  char tri_channels_pic[ALARM_CHANNELS_SIZE];
  char reserved2[3];
  int32_t audioId;
  char triChnAlarms[2][ALARM_CHANNELS_SIZE];  // the two camera-output selections
  char reserved3[2];
  int32_t interval_enable;  // ALARM_FLAG_SET once "interval" was stored
  int32_t email_enable;     // ALARM_FLAG_SET once "email_interval" was stored
};
static_assert(sizeof(alarm_in_params) == 652);
static_assert(offsetof(alarm_in_params, id) == 0);
static_assert(offsetof(alarm_in_params, enable) == 4);
static_assert(offsetof(alarm_in_params, name) == 8);
static_assert(offsetof(alarm_in_params, type) == 264);
static_assert(offsetof(alarm_in_params, trigger_mask) == 268);
static_assert(offsetof(alarm_in_params, triAlarms) == 272);
static_assert(offsetof(alarm_in_params, interval) == 276);
static_assert(offsetof(alarm_in_params, triChannels) == 280);
static_assert(offsetof(alarm_in_params, reserved0) == 345);
static_assert(offsetof(alarm_in_params, email_interval) == 348);
static_assert(offsetof(alarm_in_params, triSnapshot) == 352);
static_assert(offsetof(alarm_in_params, reserved1) == 417);
static_assert(offsetof(alarm_in_params, ptz_interval) == 420);
static_assert(offsetof(alarm_in_params, alarmout_interval) == 424);
static_assert(offsetof(alarm_in_params, white_interval) == 428);
static_assert(offsetof(alarm_in_params, http_notification_interval) == 432);
static_assert(offsetof(alarm_in_params, email_pic_enable) == 436);
static_assert(offsetof(alarm_in_params, tri_channels_pic) == 440);
static_assert(offsetof(alarm_in_params, reserved2) == 505);
static_assert(offsetof(alarm_in_params, audioId) == 508);
static_assert(offsetof(alarm_in_params, triChnAlarms) == 512);
static_assert(offsetof(alarm_in_params, reserved3) == 642);
static_assert(offsetof(alarm_in_params, interval_enable) == 644);
static_assert(offsetof(alarm_in_params, email_enable) == 648);

// ---- Recorder alarm output (table "alarm_out", key id) ----
struct alarm_out_params {
  int32_t id;  // output, 0 to 3
  char name[ALARM_NAME_SIZE];
  int32_t type;
  int32_t enable;
  int32_t durationTime;
};
static_assert(sizeof(alarm_out_params) == 272);
static_assert(offsetof(alarm_out_params, id) == 0);
static_assert(offsetof(alarm_out_params, name) == 4);
static_assert(offsetof(alarm_out_params, type) == 260);
static_assert(offsetof(alarm_out_params, enable) == 264);
static_assert(offsetof(alarm_out_params, durationTime) == 268);

// ---- Disarming (one record) ----
struct alarm_disarming {
  int32_t linkageAction;
  int32_t disarmActionMask;
  int32_t reserved[2];
};
static_assert(sizeof(alarm_disarming) == 16);
static_assert(offsetof(alarm_disarming, linkageAction) == 0);
static_assert(offsetof(alarm_disarming, disarmActionMask) == 4);
static_assert(offsetof(alarm_disarming, reserved) == 8);

// ---- Camera alarm input event (one table per input index, key chn) ----
struct alarm_chnin_event {
  int32_t chn;    // camera channel, 0 to 63
  int32_t index;  // input of the camera, 0 to 3
  int32_t interval_enable;  // ALARM_FLAG_SET once "interval" was stored
  uint32_t trigger_mask;
  char triChannels[ALARM_CHANNELS_SIZE];
  char reserved0[3];
  int32_t triAlarms;
  int32_t interval;
  int32_t email_interval;
  char triChnAlarms[2][ALARM_CHANNELS_SIZE];
  char reserved1[2];
  int32_t ptz_interval;
  int32_t alarmout_interval;
  int32_t white_interval;
  int32_t email_pic_enable;
  char tri_channels_pic[ALARM_CHANNELS_SIZE];
  char reserved2[3];
  int32_t audioId;
  int32_t http_notification_interval;
};
static_assert(sizeof(alarm_chnin_event) == 320);
static_assert(offsetof(alarm_chnin_event, chn) == 0);
static_assert(offsetof(alarm_chnin_event, index) == 4);
static_assert(offsetof(alarm_chnin_event, interval_enable) == 8);
static_assert(offsetof(alarm_chnin_event, trigger_mask) == 12);
static_assert(offsetof(alarm_chnin_event, triChannels) == 16);
static_assert(offsetof(alarm_chnin_event, reserved0) == 81);
static_assert(offsetof(alarm_chnin_event, triAlarms) == 84);
static_assert(offsetof(alarm_chnin_event, interval) == 88);
static_assert(offsetof(alarm_chnin_event, email_interval) == 92);
static_assert(offsetof(alarm_chnin_event, triChnAlarms) == 96);
static_assert(offsetof(alarm_chnin_event, reserved1) == 226);
static_assert(offsetof(alarm_chnin_event, ptz_interval) == 228);
static_assert(offsetof(alarm_chnin_event, alarmout_interval) == 232);
static_assert(offsetof(alarm_chnin_event, white_interval) == 236);
static_assert(offsetof(alarm_chnin_event, email_pic_enable) == 240);
static_assert(offsetof(alarm_chnin_event, tri_channels_pic) == 244);
static_assert(offsetof(alarm_chnin_event, reserved2) == 309);
static_assert(offsetof(alarm_chnin_event, audioId) == 312);
static_assert(offsetof(alarm_chnin_event, http_notification_interval) == 316);

// ---- Camera alarm names (one table per index, key chn) ----
struct alarm_chnin_name {
  int32_t chn;
  int32_t index;  // 0 to 3
  char alarmName[CAMERA_ALARM_NAME_SIZE];
};
static_assert(sizeof(alarm_chnin_name) == 72);
static_assert(offsetof(alarm_chnin_name, chn) == 0);
static_assert(offsetof(alarm_chnin_name, index) == 4);
static_assert(offsetof(alarm_chnin_name, alarmName) == 8);

struct alarm_chnout_name {
  int32_t chn;
  int32_t index;  // 0 or 1
  int32_t delayTime;
  char alarmName[CAMERA_ALARM_NAME_SIZE];
};
static_assert(sizeof(alarm_chnout_name) == 76);
static_assert(offsetof(alarm_chnout_name, chn) == 0);
static_assert(offsetof(alarm_chnout_name, index) == 4);
static_assert(offsetof(alarm_chnout_name, delayTime) == 8);
static_assert(offsetof(alarm_chnout_name, alarmName) == 12);

// Every accessor refuses an input, output, channel or index outside its
// range (-1, nothing read or written). A key never written reads as its
// factory default (zeroed, key fields set); a failed read leaves the
// caller's record as it was. Copies write each masked key in one
// transaction, each copy with its own key fields.

// ---- Recorder inputs ----
int read_alarm_in(const char *file, alarm_in_params *record, int id);
int write_alarm_in(const char *file, const alarm_in_params *record);
// All 16 inputs in id order; `count` receives 16.
int read_alarm_ins(const char *file, alarm_in_params *records, int *count);
// Writes records[i] for each i below `count` whose bit is set in `mask`.
int write_alarm_ins(const char *file, const alarm_in_params *records, int count, uint64_t mask);
int read_disarming(const char *file, alarm_disarming *record);
int write_disarming(const char *file, const alarm_disarming *record);

// The arming plans of the basic input page, and the linkage schedules.
int read_alarm_in_schedule(const char *file, schedule *s, int id);
int write_alarm_in_schedule(const char *file, const schedule *s, int id);
int read_alarmin_effective_schedule(const char *file, schedule *s, int id);
int write_alarmin_effective_schedule(const char *file, const schedule *s, int id);
int copy_alarmin_effective_schedules(const char *file, const schedule *s, uint64_t mask);
int read_alarmin_audible_schedule(const char *file, schedule *s, int id);
int write_alarmin_audible_schedule(const char *file, const schedule *s, int id);
int copy_alarmin_audible_schedules(const char *file, const schedule *s, uint64_t mask);
int read_alarmin_email_schedule(const char *file, schedule *s, int id);
int write_alarmin_email_schedule(const char *file, const schedule *s, int id);
int copy_alarmin_email_schedules(const char *file, const schedule *s, uint64_t mask);
int read_alarmin_ptz_schedule(const char *file, schedule *s, int id);
int write_alarmin_ptz_schedule(const char *file, const schedule *s, int id);
int copy_alarmin_ptz_schedules(const char *file, const schedule *s, uint64_t mask);

// ---- Recorder outputs ----
int read_alarm_out(const char *file, alarm_out_params *record, int id);
int write_alarm_out(const char *file, const alarm_out_params *record);
// All 4 outputs in id order; `count` receives 4.
int read_alarm_outs(const char *file, alarm_out_params *records, int *count);
int write_alarm_outs(const char *file, const alarm_out_params *records, int count, uint64_t mask);
int read_alarm_out_schedule(const char *file, schedule *s, int id);
int write_alarm_out_schedule(const char *file, const schedule *s, int id);
int copy_alarm_out_schedules(const char *file, const schedule *s, uint64_t mask);

// ---- Camera inputs (channel 0 to 63, index 0 to 3) ----
int read_alarm_chnIn_event(const char *file, alarm_chnin_event *record, int channel, int index);
int write_alarm_chnIn_event(const char *file, const alarm_chnin_event *record);
// The record to the same input of every channel of the mask.
int copy_alarm_chnIn_events(const char *file, const alarm_chnin_event *record, uint64_t mask);
int read_alarm_chnIn_effective_schedule(const char *file, schedule *s, int channel, int index);
int write_alarm_chnIn_effective_schedule(const char *file, const schedule *s, int channel,
                                         int index);
int copy_alarm_chnIn_effective_schedules(const char *file, const schedule *s, int index,
                                         uint64_t mask);
int read_alarm_chnIn_audible_schedule(const char *file, schedule *s, int channel, int index);
int write_alarm_chnIn_audible_schedule(const char *file, const schedule *s, int channel,
                                       int index);
int copy_alarm_chnIn_audible_schedules(const char *file, const schedule *s, int index,
                                       uint64_t mask);
int read_alarm_chnIn_email_schedule(const char *file, schedule *s, int channel, int index);
int write_alarm_chnIn_email_schedule(const char *file, const schedule *s, int channel,
                                     int index);
int copy_alarm_chnIn_email_schedules(const char *file, const schedule *s, int index,
                                     uint64_t mask);
int read_alarm_chnIn_ptz_schedule(const char *file, schedule *s, int channel, int index);
int write_alarm_chnIn_ptz_schedule(const char *file, const schedule *s, int channel, int index);
int copy_alarm_chnIn_ptz_schedules(const char *file, const schedule *s, int index,
                                   uint64_t mask);
int read_alarm_chnIn_event_name(const char *file, alarm_chnin_name *record, int channel,
                                int index);
int write_alarm_chnIn_event_name(const char *file, const alarm_chnin_name *record);
// The names of input `index` of `count` channels from 0 (at most 64).
int read_alarm_chnIn_event_names(const char *file, alarm_chnin_name *table, int count, int index);

// ---- Camera outputs (channel 0 to 63, index 0 or 1) ----
int read_alarm_chnOut_effective_schedule(const char *file, schedule *s, int channel, int index);
int write_alarm_chnOut_effective_schedule(const char *file, const schedule *s, int channel,
                                          int index);
int copy_alarm_chnOut_effective_schedules(const char *file, const schedule *s, int index,
                                          uint64_t mask);
int read_alarm_chnOut_event_name(const char *file, alarm_chnout_name *record, int channel,
                                 int index);
int write_alarm_chnOut_event_name(const char *file, const alarm_chnout_name *record);
int read_alarm_chnOut_event_names(const char *file, alarm_chnout_name *table, int count,
                                  int index);
// The delay of output `index` of every channel of the mask; names and the
// rest of each record are kept.
int copy_alarm_chnOut_delays(const char *file, int index, int32_t delay, uint64_t mask);
