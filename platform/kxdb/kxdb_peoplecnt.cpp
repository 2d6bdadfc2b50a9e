#include "kxdb_peoplecnt.h"

#include "kxdb.h"

namespace {

constexpr const char *kSettings = "peoplecnt_settings";
constexpr const char *kReports = "peoplecnt_report";
constexpr const char *kEvent = "peoplecnt_event";
constexpr const char *kAudible = "peoplecnt_audible_sche";
constexpr const char *kEmail = "peoplecnt_email_sche";
constexpr const char *kPtz = "peoplecnt_ptz_sche";
constexpr const char *kWhite = "peoplecnt_whiteled_esche";

// The four report backups are stored together, as one entry.
struct report_table {
  peoplecnt_report reports[PEOPLECNT_REPORTS];
};
static_assert(sizeof(report_table) == 608);
static_assert(offsetof(report_table, reports) == 0);

}  // namespace

int read_peoplecnt_settings(const char *file, peoplecnt_settings *records, int *count) {
  return kxdb_read_records(file, kSettings, records, 0, PEOPLECNT_GROUPS,
                           &peoplecnt_settings::groupid, count);
}

int write_peoplecnt_settings(const char *file, const peoplecnt_settings *records, int count) {
  if (!records || count < 0 || count > PEOPLECNT_GROUPS) return -1;
  for (int i = 0; i < count; i++) {
    if (records[i].groupid < 0 || records[i].groupid >= PEOPLECNT_GROUPS) return -1;
  }
  return kxdb_put_many(file, kSettings, records, sizeof *records, count,
                       offsetof(peoplecnt_settings, groupid));
}

int read_report_auto_backup(const char *file, peoplecnt_report *records, int *count) {
  if (count) *count = 0;
  report_table table = {};
  if (!records || kxdb_read_record<report_table>(file, kReports, 0, &table, nullptr) != 0) {
    return -1;
  }
  for (int i = 0; i < PEOPLECNT_REPORTS; i++) records[i] = table.reports[i];
  if (count) *count = PEOPLECNT_REPORTS;
  return 0;
}

int write_report_auto_backup(const char *file, const peoplecnt_report *records, int count) {
  if (!records || count != PEOPLECNT_REPORTS) return -1;
  report_table table;
  for (int i = 0; i < PEOPLECNT_REPORTS; i++) table.reports[i] = records[i];
  return kxdb_put(file, kReports, 0, &table, sizeof table);
}

int read_peoplecnt_event(const char *file, linkage_event *record, int group) {
  return linkage_read_event(file, kEvent, record, group, PEOPLECNT_GROUPS);
}
int write_peoplecnt_event(const char *file, const linkage_event *record) {
  return linkage_write_event(file, kEvent, record, PEOPLECNT_GROUPS);
}

int read_peoplecnt_audible_schedule(const char *file, schedule *s, int group) {
  return linkage_read_schedule(file, kAudible, s, group, PEOPLECNT_GROUPS);
}
int write_peoplecnt_audible_schedule(const char *file, const schedule *s, int group) {
  return linkage_write_schedule(file, kAudible, s, group, PEOPLECNT_GROUPS);
}
int read_peoplecnt_email_schedule(const char *file, schedule *s, int group) {
  return linkage_read_schedule(file, kEmail, s, group, PEOPLECNT_GROUPS);
}
int write_peoplecnt_email_schedule(const char *file, const schedule *s, int group) {
  return linkage_write_schedule(file, kEmail, s, group, PEOPLECNT_GROUPS);
}
int read_peoplecnt_ptz_schedule(const char *file, schedule *s, int group) {
  return linkage_read_schedule(file, kPtz, s, group, PEOPLECNT_GROUPS);
}
int write_peoplecnt_ptz_schedule(const char *file, const schedule *s, int group) {
  return linkage_write_schedule(file, kPtz, s, group, PEOPLECNT_GROUPS);
}
int read_peoplecnt_white_schedule(const char *file, schedule *s, int group) {
  return linkage_read_schedule(file, kWhite, s, group, PEOPLECNT_GROUPS);
}
int write_peoplecnt_white_schedule(const char *file, const schedule *s, int group) {
  return linkage_write_schedule(file, kWhite, s, group, PEOPLECNT_GROUPS);
}
