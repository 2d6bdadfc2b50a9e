// Video loss of a camera channel: the video-loss record of each channel and
// its week schedules (audible alarm, e-mail, PTZ). White light and HTTP
// notification keep their settings under the table names every event kind
// uses (kxdb_motion.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "kxdb_event.h"

constexpr int VIDEO_LOSS_CHANNELS = 64;  // channels 0 to 63
constexpr int VIDEO_LOSS_TEXT_SIZE = 65;  // alarm-output texts, NUL included
constexpr const char *VIDEO_LOSS_TABLE = "video_loss";

// ---- Video-loss record (table "video_loss", key id) ----
struct video_loss_params {
  int32_t id;  // channel, 0 to 63
  int32_t enable;
  int32_t triAlarms;  // recorder outputs to trigger
  int32_t interval;
  int32_t email_enable;
  int32_t email_interval;
  char triChnAlarms[2][VIDEO_LOSS_TEXT_SIZE];  // the two alarm-output selections
  char reserved0[2];
  int32_t ptz_interval;
  int32_t alarmout_interval;
  int32_t white_interval;
  int32_t audioId;
  int32_t http_notification_interval;
};
static_assert(sizeof(video_loss_params) == 176);
static_assert(offsetof(video_loss_params, id) == 0);
static_assert(offsetof(video_loss_params, enable) == 4);
static_assert(offsetof(video_loss_params, triAlarms) == 8);
static_assert(offsetof(video_loss_params, interval) == 12);
static_assert(offsetof(video_loss_params, email_enable) == 16);
static_assert(offsetof(video_loss_params, email_interval) == 20);
static_assert(offsetof(video_loss_params, triChnAlarms) == 24);
static_assert(offsetof(video_loss_params, reserved0) == 154);
static_assert(offsetof(video_loss_params, ptz_interval) == 156);
static_assert(offsetof(video_loss_params, alarmout_interval) == 160);
static_assert(offsetof(video_loss_params, white_interval) == 164);
static_assert(offsetof(video_loss_params, audioId) == 168);
static_assert(offsetof(video_loss_params, http_notification_interval) == 172);

// Every accessor refuses a channel outside 0 to 63 (-1, nothing read or
// written). A channel never written reads as its factory default (zeroed,
// id set); a failed read leaves the caller's record as it was.
int read_video_lost(const char *file, video_loss_params *record, int channel);
int write_video_lost(const char *file, const video_loss_params *record);
// All 64 channels in channel order; `count` receives 64.
int read_video_losts(const char *file, video_loss_params *records, int *count);
// Writes records[i] for each i below `count` (at most 64) whose bit is set
// in `mask`, each under its channel i, in one transaction.
int write_video_losts(const char *file, const video_loss_params *records, int count,
                      uint64_t mask);
// The record to every channel of the mask, each under its own id.
int copy_video_losts(const char *file, const video_loss_params *record, uint64_t mask);

// ---- Week schedules of a channel ----
int read_videoloss_audible_schedule(const char *file, schedule *s, int channel);
int write_videoloss_audible_schedule(const char *file, const schedule *s, int channel);
int copy_videoloss_audible_schedules(const char *file, const schedule *s, uint64_t mask);
int read_videoloss_email_schedule(const char *file, schedule *s, int channel);
int write_videoloss_email_schedule(const char *file, const schedule *s, int channel);
int copy_videoloss_email_schedules(const char *file, const schedule *s, uint64_t mask);
int read_videoloss_ptz_schedule(const char *file, schedule *s, int channel);
int write_videoloss_ptz_schedule(const char *file, const schedule *s, int channel);
int copy_videoloss_ptz_schedules(const char *file, const schedule *s, uint64_t mask);
// The plain video-loss schedule of the basic page: the audible-alarm schedule.
int write_video_loss_schedule(const char *file, const schedule *s, int channel);
