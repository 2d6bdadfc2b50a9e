#include "kxdb_motion.h"

#include <cstring>

#include "kxdb.h"

namespace {

constexpr const char *kMotion = "motion";
constexpr const char *kEffective = "motion_effective_sche";
constexpr const char *kAudible = "motion_audible_sche";
constexpr const char *kEmail = "motion_email_sche";
constexpr const char *kPtz = "motion_ptz_sche";

bool channel_ok(int channel) {
  return channel >= 0 && channel < MOTION_CHANNELS;
}

// A schedule has no key field of its own: the channel is its key.
int read_schedule(const char *file, const char *kind, schedule *s, int channel) {
  if (!channel_ok(channel) || !kind || !s) return -1;
  return kxdb_read_record<schedule>(file, kind, channel, s, nullptr);
}

int write_schedule(const char *file, const char *kind, const schedule *s, int channel) {
  if (!channel_ok(channel) || !kind || !s) return -1;
  return kxdb_put(file, kind, channel, s, sizeof *s);
}

// One transaction: a failure part-way leaves every channel as it was.
int copy_schedule(const char *file, const char *kind, const schedule *s, uint64_t mask) {
  if (!kind || !s) return -1;
  return kxdb_transaction(file, [&] {
    for (int ch = 0; ch < MOTION_CHANNELS; ch++) {
      if ((mask >> ch & 1) && write_schedule(file, kind, s, ch) != 0) return false;
    }
    return true;
  });
}

}  // namespace

int read_motion(const char *file, motion_params *record, int channel) {
  if (!channel_ok(channel)) return -1;
  return kxdb_read_record(file, kMotion, channel, record, &motion_params::id);
}

int read_motions(const char *file, motion_params *records, int *count) {
  return kxdb_read_records(file, kMotion, records, 0, MOTION_CHANNELS, &motion_params::id, count);
}

int write_motion(const char *file, const motion_params *record) {
  if (!channel_ok(record->id)) return -1;
  return kxdb_write_record(file, kMotion, record, &motion_params::id);
}

int copy_motions(const char *file, const motion_params *record, uint64_t mask) {
  return kxdb_copy(file, kMotion, record, sizeof *record, offsetof(motion_params, id), mask);
}

int read_motion_effective_schedule(const char *file, schedule *s, int channel) {
  return read_schedule(file, kEffective, s, channel);
}
int write_motion_effective_schedule(const char *file, const schedule *s, int channel) {
  return write_schedule(file, kEffective, s, channel);
}
int copy_motion_effective_schedules(const char *file, const schedule *s, uint64_t mask) {
  return copy_schedule(file, kEffective, s, mask);
}

int read_motion_audible_schedule(const char *file, schedule *s, int channel) {
  return read_schedule(file, kAudible, s, channel);
}
int write_motion_audible_schedule(const char *file, const schedule *s, int channel) {
  return write_schedule(file, kAudible, s, channel);
}
int copy_motion_audible_schedules(const char *file, const schedule *s, uint64_t mask) {
  return copy_schedule(file, kAudible, s, mask);
}

int read_motion_email_schedule(const char *file, schedule *s, int channel) {
  return read_schedule(file, kEmail, s, channel);
}
int write_motion_email_schedule(const char *file, const schedule *s, int channel) {
  return write_schedule(file, kEmail, s, channel);
}
int copy_motion_email_schedules(const char *file, const schedule *s, uint64_t mask) {
  return copy_schedule(file, kEmail, s, mask);
}

int read_motion_ptz_schedule(const char *file, schedule *s, int channel) {
  return read_schedule(file, kPtz, s, channel);
}
int write_motion_ptz_schedule(const char *file, const schedule *s, int channel) {
  return write_schedule(file, kPtz, s, channel);
}
int copy_motion_ptz_schedules(const char *file, const schedule *s, uint64_t mask) {
  return copy_schedule(file, kPtz, s, mask);
}

int write_motion_schedule(const char *file, const schedule *s, int channel) {
  return write_schedule(file, kAudible, s, channel);
}

int read_whiteled_effective_schedule(const char *file, schedule *s, int channel,
                                     const char *table) {
  return read_schedule(file, table, s, channel);
}
int write_whiteled_effective_schedule(const char *file, const schedule *s, int channel,
                                      const char *table) {
  return write_schedule(file, table, s, channel);
}
int copy_whiteled_effective_schedules(const char *file, const schedule *s, const char *table,
                                      uint64_t mask) {
  return copy_schedule(file, table, s, mask);
}

int read_http_notification_schedule(const char *file, schedule *s, const char *table,
                                    int channel) {
  return read_schedule(file, table, s, channel);
}
int write_http_notification_schedule(const char *file, const schedule *s, const char *table,
                                     int channel) {
  return write_schedule(file, table, s, channel);
}
int copy_http_notification_schedules(const char *file, const schedule *s, const char *table,
                                     uint64_t mask) {
  return copy_schedule(file, table, s, mask);
}

int copy_whiteled_params(const char *file, const whiteled_params *records, const char *table,
                         uint64_t mask) {
  if (!records || !table) return -1;
  return kxdb_transaction(file, [&] {
    whiteled_params copy[WHITELED_PER_CHANNEL];
    for (int ch = 0; ch < WHITELED_CHANNELS; ch++) {
      if (!(mask >> ch & 1)) continue;
      memcpy(copy, records, sizeof copy);
      // Set entries carry their event channel; each copy gets the target's.
      for (auto &r : copy) {
        if (r.chnid || r.mode || r.time) r.channel = ch;
      }
      if (kxdb_put(file, table, ch, copy, sizeof copy) != 0) return false;
    }
    return true;
  });
}

int copy_http_notification_params(const char *file, const http_notification_params *record,
                                  const char *table, uint64_t mask) {
  if (!record || !table) return -1;
  return kxdb_copy(file, table, record, sizeof *record,
                   offsetof(http_notification_params, channel), mask);
}

int read_table_schedule(const char *file, const char *table, schedule *s, int key) {
  return read_schedule(file, table, s, key);
}
int write_table_schedule(const char *file, const char *table, const schedule *s, int key) {
  return write_schedule(file, table, s, key);
}
int copy_table_schedules(const char *file, const char *table, const schedule *s, uint64_t mask) {
  return copy_schedule(file, table, s, mask);
}
