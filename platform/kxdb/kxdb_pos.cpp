#include "kxdb_pos.h"

#include "kxdb.h"

namespace {

constexpr const char *kSetting = "pos_setting";
constexpr const char *kEvent = "pos_event";

bool id_ok(int id) {
  return id >= 0 && id < POS_CONNECTIONS;
}

// The table of a schedule kind; null for a kind POS does not keep. The
// HTTP-notification kind is the named block the page's "httpSche" names.
const char *schedule_table(int kind) {
  switch (kind) {
    case POS_SCHEDULE_EFFECTIVE: return "pos_effective_sche";
    case POS_SCHEDULE_AUDIBLE: return "pos_audible_sche";
    case POS_SCHEDULE_EMAIL: return "pos_email_sche";
    case POS_SCHEDULE_PTZ: return "pos_ptz_sche";
    case POS_SCHEDULE_WHITE: return "pos_whiteled_esche";
    case POS_SCHEDULE_HTTP: return POS_HTTP_SCHEDULE;
    default: return nullptr;
  }
}

}  // namespace

int read_pos_setting(const char *file, pos_setting *record, int id) {
  if (!record || !id_ok(id)) return -1;
  return kxdb_read_record(file, kSetting, id, record, &pos_setting::id);
}

int read_pos_settings(const char *file, pos_setting *records, int *count) {
  return kxdb_read_records(file, kSetting, records, 0, POS_CONNECTIONS, &pos_setting::id, count);
}

int write_pos_setting(const char *file, const pos_setting *record) {
  if (!record || !id_ok(record->id)) return -1;
  return kxdb_write_record(file, kSetting, record, &pos_setting::id);
}

int read_pos_event(const char *file, linkage_event *record, int id) {
  return linkage_read_event(file, kEvent, record, id, POS_CONNECTIONS);
}
int write_pos_event(const char *file, const linkage_event *record) {
  return linkage_write_event(file, kEvent, record, POS_CONNECTIONS);
}

int read_pos_schedule(const char *file, int kind, schedule *s, int id) {
  const char *table = schedule_table(kind);
  return table ? linkage_read_schedule(file, table, s, id, POS_CONNECTIONS) : -1;
}
int write_pos_schedule(const char *file, int kind, const schedule *s, int id) {
  const char *table = schedule_table(kind);
  return table ? linkage_write_schedule(file, table, s, id, POS_CONNECTIONS) : -1;
}
