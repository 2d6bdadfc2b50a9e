// Motion detection settings: the motion record of each channel, its week
// schedules (arming, audible alarm, e-mail, PTZ), and the white-light and
// HTTP-notification schedules and parameters that every event kind keeps
// under a table name of its own ("motion_whiteled_esche", ...).
#pragma once

#include <cstddef>
#include <cstdint>

#include "kxdb_event.h"

constexpr int MOTION_CHANNELS = 64;

// Text widths of the record (each holds one character less plus the NUL).
constexpr int MOTION_TABLE_SIZE = 368;    // detection grid, as the page encodes it
constexpr int MOTION_CHANNELS_SIZE = 65;  // '0'/'1' per channel, channel 0 first

struct motion_params {
  int32_t id;  // channel, 0 to 63
  int32_t enable;
  int32_t sensitivity;
  uint32_t trigger_mask;  // bit i: character i (below 32) of triChannels is '1'
  int32_t triAlarms;
  char motionTable[MOTION_TABLE_SIZE];
  int32_t interval;
  int32_t enableKX;  // camera-side motion detection
  char triChannels[MOTION_CHANNELS_SIZE];
  char reserved0[3];
  int32_t email_enable;
  int32_t email_interval;
  char triChnAlarms[2][MOTION_CHANNELS_SIZE];  // the two alarm-output selections
  char reserved1[2];
  int32_t ptz_interval;
  int32_t alarmout_interval;
  int32_t white_interval;
  int32_t email_pic_enable;
  char tri_channels_pic[MOTION_CHANNELS_SIZE];
  char reserved2[3];
  int32_t audioId;
  int32_t http_notification_interval;
};
static_assert(sizeof(motion_params) == 696);
static_assert(offsetof(motion_params, id) == 0);
static_assert(offsetof(motion_params, enable) == 4);
static_assert(offsetof(motion_params, sensitivity) == 8);
static_assert(offsetof(motion_params, trigger_mask) == 12);
static_assert(offsetof(motion_params, triAlarms) == 16);
static_assert(offsetof(motion_params, motionTable) == 20);
static_assert(offsetof(motion_params, interval) == 388);
static_assert(offsetof(motion_params, enableKX) == 392);
static_assert(offsetof(motion_params, triChannels) == 396);
static_assert(offsetof(motion_params, reserved0) == 461);
static_assert(offsetof(motion_params, email_enable) == 464);
static_assert(offsetof(motion_params, email_interval) == 468);
static_assert(offsetof(motion_params, triChnAlarms) == 472);
static_assert(offsetof(motion_params, reserved1) == 602);
static_assert(offsetof(motion_params, ptz_interval) == 604);
static_assert(offsetof(motion_params, alarmout_interval) == 608);
static_assert(offsetof(motion_params, white_interval) == 612);
static_assert(offsetof(motion_params, email_pic_enable) == 616);
static_assert(offsetof(motion_params, tri_channels_pic) == 620);
static_assert(offsetof(motion_params, reserved2) == 685);
static_assert(offsetof(motion_params, audioId) == 688);
static_assert(offsetof(motion_params, http_notification_interval) == 692);

// ---- Motion records (table "motion") ----
// Channels outside 0 to 63 are refused (-1, nothing read or written).
int read_motion(const char *file, motion_params *record, int channel);
// All 64 channels in channel order (never-written ones as defaults); `count`
// receives 64.
int read_motions(const char *file, motion_params *records, int *count);
int write_motion(const char *file, const motion_params *record);
// The record to every channel of the mask, each under its own id.
int copy_motions(const char *file, const motion_params *record, uint64_t mask);

// ---- Week schedules of a channel ----
// Readers leave the schedule as it was on failure; a channel never written
// reads as an empty schedule. Channels outside 0 to 63 are refused.
int read_motion_effective_schedule(const char *file, schedule *s, int channel);
int write_motion_effective_schedule(const char *file, const schedule *s, int channel);
int copy_motion_effective_schedules(const char *file, const schedule *s, uint64_t mask);
int read_motion_audible_schedule(const char *file, schedule *s, int channel);
int write_motion_audible_schedule(const char *file, const schedule *s, int channel);
int copy_motion_audible_schedules(const char *file, const schedule *s, uint64_t mask);
int read_motion_email_schedule(const char *file, schedule *s, int channel);
int write_motion_email_schedule(const char *file, const schedule *s, int channel);
int copy_motion_email_schedules(const char *file, const schedule *s, uint64_t mask);
int read_motion_ptz_schedule(const char *file, schedule *s, int channel);
int write_motion_ptz_schedule(const char *file, const schedule *s, int channel);
int copy_motion_ptz_schedules(const char *file, const schedule *s, uint64_t mask);
// The plain motion schedule of the older pages: the audible-alarm schedule.
int write_motion_schedule(const char *file, const schedule *s, int channel);

// ---- Schedules every event kind keeps under a table name ----
constexpr int EVENT_TABLE_NAME_MAX = 63;  // characters of a table name
int read_whiteled_effective_schedule(const char *file, schedule *s, int channel,
                                     const char *table);
int write_whiteled_effective_schedule(const char *file, const schedule *s, int channel,
                                      const char *table);
int copy_whiteled_effective_schedules(const char *file, const schedule *s, const char *table,
                                      uint64_t mask);
int read_http_notification_schedule(const char *file, schedule *s, const char *table,
                                    int channel);
int write_http_notification_schedule(const char *file, const schedule *s, const char *table,
                                     int channel);
int copy_http_notification_schedules(const char *file, const schedule *s, const char *table,
                                     uint64_t mask);

// ---- Copies of the per-channel action parameters ----
// `records` are the source channel's WHITELED_PER_CHANNEL records; channels
// of the mask from WHITELED_CHANNELS on have no white light and are skipped.
int copy_whiteled_params(const char *file, const whiteled_params *records, const char *table,
                         uint64_t mask);
int copy_http_notification_params(const char *file, const http_notification_params *record,
                                  const char *table, uint64_t mask);
