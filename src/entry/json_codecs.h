// Conversions between the JSON the web page exchanges and the records of
// the settings database and the daemon, for structures several modules share.
#pragma once

#include <cstdint>
#include <json-c/json.h>
#include <memory>
#include <string>

#include "kxdb_event.h"

// Owns a parsed or built JSON value (json_object_put on release).
struct JsonPut {
  void operator()(json_object *o) const { json_object_put(o); }
};
using JsonPtr = std::unique_ptr<json_object, JsonPut>;

// ---- Schedules ----
constexpr int SCHEDULE_JSON_PLANS = 12;     // plans per day the page exchanges
constexpr int SCHEDULE_IPC_DAYS = 7;        // camera-side schedules: days
constexpr int SCHEDULE_IPC_JSON_PLANS = 10; // camera-side schedules: plans read

json_object *get_schedule_json_object(const schedule *s);
int get_schedule_by_json(json_object *object, const char *key, schedule *s);
json_object *get_schedule_json_object_ex(const schedule *s);
int get_schedule_by_json_ex(json_object *object, const char *key, schedule *s);
json_object *get_schedule_json_object_ipc(const schedule *s);
int get_schedule_by_json_ipc(json_object *object, const char *key, schedule *s);

// ---- Channel sets ----
uint64_t get_copy_flag_by_json(json_object *object, const char *list_key, const char *count_key);

// ---- Alarm outputs of an event channel ----
json_object *get_event_chn_alarmout_object(const char *first, const char *second);
int get_event_chn_alarmout_by_object(int channel, json_object *object, const char *key,
                                     event_alarmout_name *pair);

// ---- Smart events, white light, HTTP notification, PTZ ----
int get_smart_event_ptz_type(int index);
json_object *get_pcnt_white_params_json_object(int channel);
int get_pcnt_white_params_by_json(int channel, whiteled_params *records, json_object *object,
                                  const char *key);
json_object *get_white_params_json_object(int channel, const char *table_name);
int get_white_params_by_json(int channel, whiteled_params *block, json_object *object,
                             const char *key);
json_object *get_http_params_json_object(int channel, const char *table_name);
int get_http_params_by_json(int channel, http_notification_params *record, json_object *object,
                            const char *key);
int get_ptz_params_by_json(int channel, int event_type, json_object *array,
                           ptz_action_params *records);
int set_ptz_params_by_json(int channel, int event_type, json_object *array);
json_object *get_ptz_params_json_object(int event_type, int channel);

// ---- Getters ----
json_object *get_request_tokener_json_object(const char *text);
int on_cgi_get_value_by_json(const char *text, const char *key, int *out);
int on_cgi_get_int_from_json(json_object *object, const char *key, int *out);
int on_cgi_get_string_from_json(json_object *object, const char *key, char *buffer, int size);
bool on_cgi_is_kx_lpr(int model);
// Copies what follows `pattern` in `text` into out (count bytes, always
// terminated), stopping at '?' or the end. 0, or -1.
int get_section_info(const char *text, const char *pattern, char *out, int count);

// ---- Reading requests and building replies ----
bool has_member(json_object *object, const char *key);
// The member as an integer (json-c's conversion), `fallback` when absent.
int member_int(json_object *object, const char *key, int fallback = 0);
// Text of a member into a fixed field, cut to size - 1 (empty when absent).
void member_text(json_object *object, const char *key, char *field, size_t size);
// Elements of an array (0, and null elements, when `array` is no array).
int array_length(json_object *array);
json_object *array_at(json_object *array, int i);
int element_int(json_object *array, int i);  // 0 when missing
// A request that is a bare decimal number, converted as atoi does (leading
// blanks, a sign, digits; 0 when there are none; beyond int saturates).
int bare_number(const char *text);
// The same, false when the text holds no number at all.
bool bare_number(const char *text, int *value);
// Text of a fixed-width field that may lack its terminator.
std::string field_text(const char *field, size_t width);
template <size_t N>
std::string field_text(const char (&field)[N]) {
  return field_text(field, N);
}
json_object *json_field_string(const char *field, size_t size);
void json_add_int(json_object *object, const char *key, int value);
void json_add_text(json_object *object, const char *key, const std::string &text);

// Member `key` of an object, or null (json-c's lookup, without the status).
json_object *json_member(json_object *object, const char *key);
// Text of `value` (json-c conversion rules) into a fixed field, cut to size - 1.
void json_copy_text(json_object *value, char *field, size_t size);
// Writes the object's JSON text as the reply in `mode` and releases nothing.
int json_writeback(int mode, json_object *object);
