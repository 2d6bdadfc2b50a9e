// Scheduled snapshots of each channel (picture settings and week schedule)
// and the recorder-side triggers of two camera events: the camera's own
// alarm I/O and its audio volume detection.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kxdb_event.h"

constexpr int SNAPSHOT_CHANNELS = 64;

// ---- Picture settings (table "snapshot", one per channel) ----
struct snapshot_params {
  int32_t channel;  // 0 to 63
  int32_t quality;
  int32_t interval;
  int32_t interval_unit;
  int32_t expiration_date;
  int32_t resolution;
};
static_assert(sizeof(snapshot_params) == 24);
static_assert(offsetof(snapshot_params, channel) == 0);
static_assert(offsetof(snapshot_params, quality) == 4);
static_assert(offsetof(snapshot_params, interval) == 8);
static_assert(offsetof(snapshot_params, interval_unit) == 12);
static_assert(offsetof(snapshot_params, expiration_date) == 16);
static_assert(offsetof(snapshot_params, resolution) == 20);

// ---- Week schedule (table "snapshot_schedule"): the week and 4 spare bytes ----
struct snapshot_schedule {
  schedule week;
  int32_t reserved;  // always 0
};
static_assert(sizeof(snapshot_schedule) == 26180);
static_assert(offsetof(snapshot_schedule, week) == 0);
static_assert(offsetof(snapshot_schedule, reserved) == 26176);

// Channels of a change: the daemon's channel-list layout.
struct snapshot_channel_list {
  int32_t channels[SNAPSHOT_CHANNELS];
  int32_t count;
};
static_assert(sizeof(snapshot_channel_list) == 260);
static_assert(offsetof(snapshot_channel_list, channels) == 0);
static_assert(offsetof(snapshot_channel_list, count) == 256);

// Channels outside 0 to 63 are refused (-1). A channel never written reads
// as its factory default (zeroed, channel set); a failed read leaves the
// record as it was.
int read_snapshot(const char *file, snapshot_params *record, int channel);
int write_snapshot(const char *file, const snapshot_params *record);
// The record to every channel of the mask, each with its own channel, as one step.
int copy_snapshots(const char *file, const snapshot_params *record, uint64_t mask);
int read_snapshot_schedule(const char *file, snapshot_schedule *s, int channel);
// `schedules` is indexed by channel (64 records); the schedule of each
// channel of the list (its first `count` entries, at most 64) is written,
// as one step. A listed channel outside 0 to 63 refuses the whole list.
int write_snapshot_schedules(const char *file, const snapshot_schedule *schedules,
                             const snapshot_channel_list *list);

// ---- Camera event triggers (tables "cameraio" and "volumedetect") ----
struct camera_trigger_params {
  int32_t camId;  // 0 to 63
  int32_t enable;
  uint32_t trigger_mask;  // bit i: character i (below 32) of triChannels is '1'
  int32_t triActions;
  char triChannels[65];
  char reserved[3];
};
static_assert(sizeof(camera_trigger_params) == 84);
static_assert(offsetof(camera_trigger_params, camId) == 0);
static_assert(offsetof(camera_trigger_params, enable) == 4);
static_assert(offsetof(camera_trigger_params, trigger_mask) == 8);
static_assert(offsetof(camera_trigger_params, triActions) == 12);
static_assert(offsetof(camera_trigger_params, triChannels) == 16);
static_assert(offsetof(camera_trigger_params, reserved) == 81);

int read_cameraio(const char *file, camera_trigger_params *record, int camId);
int write_cameraio(const char *file, const camera_trigger_params *record);
int read_volumedetect(const char *file, camera_trigger_params *record, int camId);
int write_volumedetect(const char *file, const camera_trigger_params *record);
