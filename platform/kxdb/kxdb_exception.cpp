#include "kxdb_exception.h"

#include <cstdio>

#include "kxdb.h"

namespace {

constexpr const char *kTriggerAlarms = "trigger_alarms";

// The keys of "httpParams" on the exception page. Types 11 and 13 have no
// HTTP target on the page and no name.
constexpr const char *kExceptionNames[EXCEPTION_HTTP_TYPES] = {
    "diskFull",      "diskError",   "noDisk",       "networkDown",   "ipConflict",
    "illegalAccess", "recordFailed", "fanFault",    "overTemperature", "raidDegraded",
    "cameraOffline", "",            "storageOffline", "",
};

int clamp_types(int count) {
  if (count < 0) return 0;
  return count > EXCEPTION_HTTP_TYPES ? EXCEPTION_HTTP_TYPES : count;
}

}  // namespace

int read_trigger_alarms(const char *file, trigger_alarms_params *record) {
  if (!record) return -1;
  return kxdb_read_record<trigger_alarms_params>(file, kTriggerAlarms, 0, record, nullptr);
}

int write_trigger_alarms(const char *file, const trigger_alarms_params *record) {
  if (!record) return -1;
  return kxdb_put(file, kTriggerAlarms, 0, record, sizeof *record);
}

int read_http_notification_params_init(const char *file, const char *table,
                                       http_notification_params *records, int count) {
  if (!table || !records) return -1;
  count = clamp_types(count);
  for (int i = 0; i < count; i++) {
    http_notification_params r = {};
    r.channel = i;
    if (kxdb_read_or_default(file, table, i, &r, sizeof r) != 0) return -1;
    records[i] = r;
  }
  return 0;
}

int write_http_notification_params_batch(const char *file, const http_notification_params *records,
                                         const char *table, int count) {
  if (!table || !records) return -1;
  count = clamp_types(count);
  return kxdb_transaction(file, [&] {
    for (int i = 0; i < count; i++) {
      if (kxdb_put(file, table, i, &records[i], sizeof records[i]) != 0) return false;
    }
    return true;
  });
}

int get_exception_name(int index, char *buffer, int size) {
  if (!buffer || size <= 0) return -1;
  buffer[0] = '\0';
  if (index < 0 || index >= EXCEPTION_HTTP_TYPES) return -1;
  snprintf(buffer, (size_t)size, "%s", kExceptionNames[index]);
  return 0;
}
