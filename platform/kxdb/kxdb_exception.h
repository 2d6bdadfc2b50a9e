// System exceptions: which actions each exception type raises (the
// trigger-alarm record) and the HTTP-notification target of each type.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kxdb_event.h"

constexpr int EXCEPTION_ACTION_TYPES = 12;  // action words of the trigger-alarm record
constexpr int EXCEPTION_HTTP_TYPES = 14;    // exception types with an HTTP target
constexpr int EXCEPTION_NAME_SIZE = 32;
constexpr const char *EXCEPTION_HTTP_TABLE = "except_http_notification_params";

// ---- Trigger-alarm record (one record) ----
struct trigger_alarms_params {
  int32_t actions[EXCEPTION_ACTION_TYPES];  // one action word per exception type
  int32_t recordFailedMailInterval;
};
static_assert(sizeof(trigger_alarms_params) == 52);
static_assert(offsetof(trigger_alarms_params, actions) == 0);
static_assert(offsetof(trigger_alarms_params, recordFailedMailInterval) == 48);

// Never written: all zero. 0, or -1 (record untouched).
int read_trigger_alarms(const char *file, trigger_alarms_params *record);
int write_trigger_alarms(const char *file, const trigger_alarms_params *record);

// ---- HTTP targets of the exceptions ----
// `records[i]` receives the target of exception type i (the record's
// channel field holds the type; a type never written reads with its index
// set and empty texts). `count` is at most 14. 0, or -1.
int read_http_notification_params_init(const char *file, const char *table,
                                       http_notification_params *records, int count);
// Stores records[0] to records[count - 1] (at most 14) under their position,
// in one transaction; the records keep the index they carry (-1 for a type
// the page did not name). 0, or -1 (none kept).
int write_http_notification_params_batch(const char *file, const http_notification_params *records,
                                         const char *table, int count);

// The name of exception type 0 to 13 into `buffer` (at most size - 1
// characters), empty for a type that has no name or outside 0 to 13.
// 0, or -1 when there is no such type (the buffer then empty).
int get_exception_name(int index, char *buffer, int size);
