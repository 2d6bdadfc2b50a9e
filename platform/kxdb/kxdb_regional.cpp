#include "kxdb_regional.h"

#include <cstddef>
#include <cstdio>

#include "kxdb.h"

namespace {

bool channel_ok(int channel) {
  return channel >= 0 && channel < SMART_EVENT_CHANNELS;
}

// Kind of a region's action record: "regional_pcnt_event_<region>".
struct EventKind {
  char text[40];
  explicit EventKind(int region) {
    snprintf(text, sizeof text, "regional_pcnt_event_%d", region);
  }
};

// Table of a region's schedule: "regional_pcnt_sche_<region>_<kind>".
struct ScheduleKind {
  char text[40];
  ScheduleKind(int kind, int region) {
    snprintf(text, sizeof text, "regional_pcnt_sche_%d_%d", region, kind);
  }
};

bool schedule_key_ok(int kind, int region) {
  return regional_schedule_kind_valid(kind) && regional_region_valid(region);
}

}  // namespace

int read_regional_pcnt_event(const char *file, smart_event *record, int channel, int region) {
  if (!record || !channel_ok(channel) || !regional_region_valid(region)) return -1;
  return kxdb_read_record(file, EventKind(region).text, channel, record, &smart_event::channel);
}

int write_regional_pcnt_event(const char *file, const smart_event *record, int region) {
  if (!record || !channel_ok(record->channel) || !regional_region_valid(region)) return -1;
  return kxdb_write_record(file, EventKind(region).text, record, &smart_event::channel);
}

int copy_regional_pcnt_event(const char *file, const smart_event *record, int region,
                             uint64_t mask) {
  if (!record || !regional_region_valid(region)) return -1;
  return kxdb_copy(file, EventKind(region).text, record, sizeof *record,
                   offsetof(smart_event, channel), mask);
}

int read_regional_pcnt_schedule(const char *file, int kind, schedule *s, int channel, int region) {
  if (!s || !channel_ok(channel) || !schedule_key_ok(kind, region)) return -1;
  return read_table_schedule(file, ScheduleKind(kind, region).text, s, channel);
}

int write_regional_pcnt_schedule(const char *file, int kind, const schedule *s, int channel,
                                 int region) {
  if (!s || !channel_ok(channel) || !schedule_key_ok(kind, region)) return -1;
  return write_table_schedule(file, ScheduleKind(kind, region).text, s, channel);
}

int copy_regional_pcnt_schedule(const char *file, int kind, const schedule *s, uint64_t mask,
                                int region) {
  if (!s || !schedule_key_ok(kind, region)) return -1;
  return copy_table_schedules(file, ScheduleKind(kind, region).text, s, mask);
}

const char *regional_pcnt_white_table(int region) {
  static const char *const tables[] = {
      "regional_pcnt_whiteled_params", "regional_pcnt1_whiteled_params",
      "regional_pcnt2_whiteled_params", "regional_pcnt3_whiteled_params"};
  return regional_region_valid(region) ? tables[region] : nullptr;
}

const char *regional_pcnt_http_table(int region) {
  static const char *const tables[] = {
      "regional_pcnt_http_notification_params", "regional_pcnt1_http_notification_params",
      "regional_pcnt2_http_notification_params", "regional_pcnt3_http_notification_params"};
  return regional_region_valid(region) ? tables[region] : nullptr;
}
