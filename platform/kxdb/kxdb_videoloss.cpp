#include "kxdb_videoloss.h"

#include "kxdb.h"

namespace {

constexpr const char *kAudible = "videoloss_audible_sche";
constexpr const char *kEmail = "videoloss_email_sche";
constexpr const char *kPtz = "videoloss_ptz_sche";

bool channel_ok(int channel) {
  return channel >= 0 && channel < VIDEO_LOSS_CHANNELS;
}

// A schedule has no key field of its own: the channel is its key.
int read_schedule(const char *file, const char *kind, schedule *s, int channel) {
  if (!channel_ok(channel) || !s) return -1;
  return kxdb_read_record<schedule>(file, kind, channel, s, nullptr);
}

int write_schedule(const char *file, const char *kind, const schedule *s, int channel) {
  if (!channel_ok(channel) || !s) return -1;
  return kxdb_put(file, kind, channel, s, sizeof *s);
}

// One transaction: a failure part-way leaves every channel as it was.
int copy_schedule(const char *file, const char *kind, const schedule *s, uint64_t mask) {
  if (!s) return -1;
  return kxdb_transaction(file, [&] {
    for (int ch = 0; ch < VIDEO_LOSS_CHANNELS; ch++) {
      if ((mask >> ch & 1) && write_schedule(file, kind, s, ch) != 0) return false;
    }
    return true;
  });
}

}  // namespace

int read_video_lost(const char *file, video_loss_params *record, int channel) {
  if (!channel_ok(channel) || !record) return -1;
  return kxdb_read_record(file, VIDEO_LOSS_TABLE, channel, record, &video_loss_params::id);
}

int write_video_lost(const char *file, const video_loss_params *record) {
  if (!record || !channel_ok(record->id)) return -1;
  return kxdb_write_record(file, VIDEO_LOSS_TABLE, record, &video_loss_params::id);
}

int read_video_losts(const char *file, video_loss_params *records, int *count) {
  return kxdb_read_records(file, VIDEO_LOSS_TABLE, records, 0, VIDEO_LOSS_CHANNELS,
                           &video_loss_params::id, count);
}

int write_video_losts(const char *file, const video_loss_params *records, int count,
                      uint64_t mask) {
  if (!records) return -1;
  if (count > VIDEO_LOSS_CHANNELS) count = VIDEO_LOSS_CHANNELS;
  return kxdb_transaction(file, [&] {
    for (int ch = 0; ch < count; ch++) {
      if (!(mask >> ch & 1)) continue;
      video_loss_params r = records[ch];
      r.id = ch;  // stored under its channel, whatever the array held
      if (write_video_lost(file, &r) != 0) return false;
    }
    return true;
  });
}

int copy_video_losts(const char *file, const video_loss_params *record, uint64_t mask) {
  if (!record) return -1;
  return kxdb_copy(file, VIDEO_LOSS_TABLE, record, sizeof *record,
                   offsetof(video_loss_params, id), mask);
}

int read_videoloss_audible_schedule(const char *file, schedule *s, int channel) {
  return read_schedule(file, kAudible, s, channel);
}
int write_videoloss_audible_schedule(const char *file, const schedule *s, int channel) {
  return write_schedule(file, kAudible, s, channel);
}
int copy_videoloss_audible_schedules(const char *file, const schedule *s, uint64_t mask) {
  return copy_schedule(file, kAudible, s, mask);
}

int read_videoloss_email_schedule(const char *file, schedule *s, int channel) {
  return read_schedule(file, kEmail, s, channel);
}
int write_videoloss_email_schedule(const char *file, const schedule *s, int channel) {
  return write_schedule(file, kEmail, s, channel);
}
int copy_videoloss_email_schedules(const char *file, const schedule *s, uint64_t mask) {
  return copy_schedule(file, kEmail, s, mask);
}

int read_videoloss_ptz_schedule(const char *file, schedule *s, int channel) {
  return read_schedule(file, kPtz, s, channel);
}
int write_videoloss_ptz_schedule(const char *file, const schedule *s, int channel) {
  return write_schedule(file, kPtz, s, channel);
}
int copy_videoloss_ptz_schedules(const char *file, const schedule *s, uint64_t mask) {
  return copy_schedule(file, kPtz, s, mask);
}

int write_video_loss_schedule(const char *file, const schedule *s, int channel) {
  return write_schedule(file, kAudible, s, channel);
}
