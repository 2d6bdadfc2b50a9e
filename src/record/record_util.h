// Helpers the recording handlers share: request reading, settings loading,
// daemon notices and operation-log entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "kxdb_camera.h"
#include "kxdb_record.h"
#include "record.h"
#include "record_records.h"

// Module-private, apart from other modules' helpers of the same names.
namespace record {

// ---- Request text ----
// A channel request: the text as a decimal number (leading blanks and a
// sign allowed, what follows the digits ignored). False when there are no
// digits or the number is outside 0 to 63.
bool channel_request(const char *text, int *channel);
bool has_member(json_object *object, const char *key);
// The member as an integer (json-c conversion), 0 when absent.
int member_int(json_object *object, const char *key);
// Elements of an array (0 and null when it is not an array).
int array_length(json_object *array);
json_object *array_at(json_object *array, int i);
// The channels listed by "chnid" entries 0 to cnt - 1: every present
// element is passed to `take` (value as given); missing ones are skipped.
template <class Take>
void for_each_listed(json_object *list, int cnt, Take take) {
  int n = cnt < array_length(list) ? cnt : array_length(list);
  for (int i = 0; i < n; i++) {
    json_object *value = array_at(list, i);
    if (value) take(json_object_get_int(value));
  }
}
inline bool channel_valid(int channel) {
  return channel >= 0 && channel < RECORD_CHANNELS;
}

// ---- Settings ----
// All 64 records in channel order; factory defaults when they cannot be read.
void load_records(record_params *records);  // 64 records
void load_cameras(camera_params *cameras);  // 64 records

// ---- Replies ----
std::string field_text(const char *field, size_t width);
template <size_t N>
std::string field_text(const char (&field)[N]) {
  return field_text(field, N);
}
void json_add_int(json_object *object, const char *key, int value);
void json_add_text(json_object *object, const char *key, const std::string &text);
// Writes the object as the JSON reply and sets the flag (decoders).
void reply_json_done(json_object *object);

// ---- Daemon ----
void send_channel_mask(int code, uint64_t mask);
// Operation-log entry: main type 4, sub type 204, `param_type`, `channel`.
constexpr int LOG_SUB_RECORD = 204;
constexpr int LOG_PARAM_RECORD_MODES = 905;
constexpr int LOG_PARAM_RECORD_SETTINGS = 906;
constexpr int LOG_PARAM_RECORD_SCHEDULE = 907;
constexpr int LOG_PARAM_HOLIDAY = 920;
void send_record_log(int param_type, int channel);

}  // namespace record
