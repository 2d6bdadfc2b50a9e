#include "kxdb_netservices.h"

#include <cstdio>

#include "kxdb.h"

namespace {

constexpr int kOnlyIdx = 0;  // the service records have no key field: one each

template <class Record>
int read_one(const char *file, const char *kind, Record *record) {
  return kxdb_read_record(file, kind, kOnlyIdx, record, static_cast<int32_t Record::*>(nullptr));
}

template <class Record>
int write_one(const char *file, const char *kind, const Record *record) {
  return kxdb_put(file, kind, kOnlyIdx, record, sizeof *record);
}

struct push_msg_nvr_record {
  char text[PUSH_MSG_NVR_SIZE];
};

}  // namespace

int read_time(const char *file, time_params *r) { return read_one(file, "time", r); }
int write_time(const char *file, const time_params *r) { return write_one(file, "time", r); }
int read_pppoe(const char *file, pppoe_params *r) { return read_one(file, "pppoe", r); }
int write_pppoe(const char *file, const pppoe_params *r) { return write_one(file, "pppoe", r); }
int read_ddns(const char *file, ddns_params *r) { return read_one(file, "ddns", r); }
int write_ddns(const char *file, const ddns_params *r) { return write_one(file, "ddns", r); }
int read_email(const char *file, email_params *r) { return read_one(file, "email", r); }
int write_email(const char *file, const email_params *r) { return write_one(file, "email", r); }
int read_multicast(const char *file, multicast_params *r) { return read_one(file, "multicast", r); }
int write_multicast(const char *file, const multicast_params *r) {
  return write_one(file, "multicast", r);
}
int read_snmp(const char *file, snmp_params *r) { return read_one(file, "snmp", r); }
int write_snmp(const char *file, const snmp_params *r) { return write_one(file, "snmp", r); }
int read_p2p_info(const char *file, p2p_params *r) { return read_one(file, "p2p", r); }
int write_p2p_info(const char *file, const p2p_params *r) { return write_one(file, "p2p", r); }

int read_push_msg_events(const char *file, push_msg_event *records, int capacity, int *count) {
  *count = 0;
  int found = 0;
  if (kxdb_get_all(file, "push_msg", records, sizeof *records, capacity, &found) != 0) return -1;
  *count = found;
  return 0;
}

int write_push_msg_event(const char *file, const push_msg_event *record) {
  if (record->channel < 0 || record->channel >= PUSH_MSG_CHANNELS) return -1;
  return kxdb_write_record(file, "push_msg", record, &push_msg_event::channel);
}

int read_push_msg_nvr_event(const char *file, char *text) {
  push_msg_nvr_record r{};
  if (kxdb_read_or_default(file, "push_msg_nvr", kOnlyIdx, &r, sizeof r) != 0) return -1;
  r.text[PUSH_MSG_NVR_SIZE - 1] = '\0';
  snprintf(text, PUSH_MSG_NVR_SIZE, "%s", r.text);
  return 0;
}

int write_push_msg_nvr_event(const char *file, const char *text) {
  push_msg_nvr_record r{};
  snprintf(r.text, sizeof r.text, "%s", text);
  return write_one(file, "push_msg_nvr", &r);
}
