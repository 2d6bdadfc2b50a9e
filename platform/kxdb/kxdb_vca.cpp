#include "kxdb_vca.h"

#include <cstdio>

#include "kxdb.h"
#include "kxdb_motion.h"

namespace {

bool key_ok(int channel, int type) {
  return channel >= 0 && channel < SMART_EVENT_CHANNELS && smart_event_type_valid(type);
}

// Each type keeps its records under a kind of its own: "<base>_<type>".
struct Kind {
  char name[64];
  Kind(const char *base, int type) { snprintf(name, sizeof name, "%s_%d", base, type); }
};

constexpr const char *kEvent = "smart_event";
constexpr const char *kEffective = "smart_event_effective_sche";
constexpr const char *kAudible = "smart_event_audible_sche";
constexpr const char *kMail = "smart_event_mail_sche";
constexpr const char *kPtz = "smart_event_ptz_sche";
constexpr const char *kScheduleBases[] = {kEffective, kAudible, kMail, kPtz};

int read_schedule(const char *file, const char *base, schedule *s, int channel, int type) {
  if (!key_ok(channel, type) || !s) return -1;
  return kxdb_read_record<schedule>(file, Kind(base, type).name, channel, s, nullptr);
}

int write_schedule(const char *file, const char *base, const schedule *s, int channel,
                   int type) {
  if (!key_ok(channel, type) || !s) return -1;
  return kxdb_put(file, Kind(base, type).name, channel, s, sizeof *s);
}

int table_name(const char *const names[2], int kind, int type, char *buffer, int size) {
  if (!buffer || size <= 0) return -1;
  buffer[0] = '\0';
  if (kind < 0 || kind > 1 || !smart_event_type_valid(type)) return -1;
  snprintf(buffer, (size_t)size, "%s_%d", names[kind], type);
  return 0;
}

constexpr const char *kWhiteTables[2] = {"vca_whiteled_esche", "vca_white_led_params"};
constexpr const char *kHttpTables[2] = {"vca_http_notification_sche",
                                        "vca_http_notification_params"};

// ---- The parts of one copy; a source that cannot be read fails it ----

bool copy_record(int type, int channel, uint64_t mask) {
  smart_event record = {};
  if (read_smart_event(KXDB_FILE, &record, channel, type) != 0) return false;
  return kxdb_copy(KXDB_FILE, Kind(kEvent, type).name, &record, sizeof record,
                   offsetof(smart_event, channel), mask) == 0;
}

bool copy_schedule(const char *base, int type, int channel, uint64_t mask) {
  schedule s = {};
  if (read_schedule(KXDB_FILE, base, &s, channel, type) != 0) return false;
  for (int ch = 0; ch < SMART_EVENT_CHANNELS; ch++) {
    if ((mask >> ch & 1) && write_schedule(KXDB_FILE, base, &s, ch, type) != 0) return false;
  }
  return true;
}

bool copy_white(int type, int channel, uint64_t mask) {
  char table[64];
  get_vca_white_table_name(0, type, table, sizeof table);
  schedule s = {};
  if (read_whiteled_effective_schedule(KXDB_FILE, &s, channel, table) != 0 ||
      copy_whiteled_effective_schedules(KXDB_FILE, &s, table, mask) != 0) {
    return false;
  }
  if (channel >= WHITELED_CHANNELS) return true;  // the channel has no white light
  get_vca_white_table_name(1, type, table, sizeof table);
  whiteled_params records[WHITELED_PER_CHANNEL] = {};
  int count = 0;
  return read_whiteled_params(KXDB_FILE, records, channel, table, &count) == 0 &&
         copy_whiteled_params(KXDB_FILE, records, table, mask) == 0;
}

bool copy_http(int type, int channel, uint64_t mask) {
  char table[64];
  get_vca_http_table_name(0, type, table, sizeof table);
  schedule s = {};
  if (read_http_notification_schedule(KXDB_FILE, &s, table, channel) != 0 ||
      copy_http_notification_schedules(KXDB_FILE, &s, table, mask) != 0) {
    return false;
  }
  get_vca_http_table_name(1, type, table, sizeof table);
  http_notification_params record = {};
  return read_http_notification_params(KXDB_FILE, &record, channel, table) == 0 &&
         copy_http_notification_params(KXDB_FILE, &record, table, mask) == 0;
}

bool copy_ptz(int type, int channel, uint64_t mask) {
  ptz_action_params list[PTZ_ACTION_MAX] = {};
  int count = 0;
  int event_type = SMART_EVENT_PTZ_BASE + type;
  return read_ptz_params(KXDB_FILE, list, event_type, channel, &count) == 0 &&
         copy_ptz_params_all(KXDB_FILE, list, event_type, mask) == 0;
}

}  // namespace

int read_smart_event(const char *file, smart_event *record, int channel, int type) {
  if (!key_ok(channel, type) || !record) return -1;
  return kxdb_read_record(file, Kind(kEvent, type).name, channel, record, &smart_event::channel);
}

int write_smart_event(const char *file, const smart_event *record, int type) {
  if (!record || !key_ok(record->channel, type)) return -1;
  return kxdb_write_record(file, Kind(kEvent, type).name, record, &smart_event::channel);
}

int read_smart_event_effective_schedule(const char *file, schedule *s, int channel, int type) {
  return read_schedule(file, kEffective, s, channel, type);
}
int write_smart_event_effective_schedule(const char *file, const schedule *s, int channel,
                                         int type) {
  return write_schedule(file, kEffective, s, channel, type);
}
int read_smart_event_audible_schedule(const char *file, schedule *s, int channel, int type) {
  return read_schedule(file, kAudible, s, channel, type);
}
int write_smart_event_audible_schedule(const char *file, const schedule *s, int channel,
                                       int type) {
  return write_schedule(file, kAudible, s, channel, type);
}
int read_smart_event_mail_schedule(const char *file, schedule *s, int channel, int type) {
  return read_schedule(file, kMail, s, channel, type);
}
int write_smart_event_mail_schedule(const char *file, const schedule *s, int channel, int type) {
  return write_schedule(file, kMail, s, channel, type);
}
int read_smart_event_ptz_schedule(const char *file, schedule *s, int channel, int type) {
  return read_schedule(file, kPtz, s, channel, type);
}
int write_smart_event_ptz_schedule(const char *file, const schedule *s, int channel, int type) {
  return write_schedule(file, kPtz, s, channel, type);
}

int get_vca_white_table_name(int kind, int type, char *buffer, int size) {
  return table_name(kWhiteTables, kind, type, buffer, size);
}

int get_vca_http_table_name(int kind, int type, char *buffer, int size) {
  return table_name(kHttpTables, kind, type, buffer, size);
}

int copy_smart_event_action(int type, int channel, uint64_t mask, int) {
  if (!key_ok(channel, type)) return -1;
  return kxdb_transaction(KXDB_FILE, [&] {
    if (!copy_record(type, channel, mask)) return false;
    for (const char *base : kScheduleBases) {
      if (!copy_schedule(base, type, channel, mask)) return false;
    }
    return copy_white(type, channel, mask) && copy_http(type, channel, mask) &&
           copy_ptz(type, channel, mask);
  });
}
