#include "record_util.h"

#include <cctype>
#include <cstring>

namespace record {

bool channel_request(const char *text, int *channel) {
  if (!text) return false;
  const char *p = text;
  while (isspace((unsigned char)*p)) p++;
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') p++;
  if (!isdigit((unsigned char)*p)) return false;
  // Digits past a value above 63 cannot bring it back into range.
  long value = 0;
  for (; isdigit((unsigned char)*p) && value < RECORD_CHANNELS; p++) value = value * 10 + (*p - '0');
  if (negative && value != 0) return false;
  if (value >= RECORD_CHANNELS) return false;
  *channel = (int)value;
  return true;
}

bool has_member(json_object *object, const char *key) {
  return json_member(object, key) != nullptr;
}

int member_int(json_object *object, const char *key) {
  json_object *value = json_member(object, key);
  return value ? json_object_get_int(value) : 0;
}

int array_length(json_object *array) {
  if (!array || !json_object_is_type(array, json_type_array)) return 0;
  return (int)json_object_array_length(array);
}

json_object *array_at(json_object *array, int i) {
  if (i < 0 || i >= array_length(array)) return nullptr;
  return json_object_array_get_idx(array, (size_t)i);
}

void load_records(record_params *records) {
  memset(records, 0, sizeof *records * RECORD_CHANNELS);
  for (int i = 0; i < RECORD_CHANNELS; i++) records[i].id = i;
  read_records(KXDB_FILE, records, nullptr);
}

void load_cameras(camera_params *cameras) {
  memset(cameras, 0, sizeof *cameras * CAMERA_CHANNELS);
  for (int i = 0; i < CAMERA_CHANNELS; i++) cameras[i].id = i;
  read_cameras(KXDB_FILE, cameras, nullptr);
}

std::string field_text(const char *field, size_t width) {
  return std::string(field, strnlen(field, width));
}

void json_add_int(json_object *object, const char *key, int value) {
  json_object_object_add(object, key, json_object_new_int(value));
}

void json_add_text(json_object *object, const char *key, const std::string &text) {
  json_object_object_add(object, key, json_object_new_string(text.c_str()));
}

void reply_json_done(json_object *object) {
  json_writeback(CGI_REPLY_JSON, object);
  g_callback_done = 1;
}

void send_channel_mask(int code, uint64_t mask) {
  record_channel_mask payload = {(uint32_t)mask, (uint32_t)(mask >> 32)};
  cgi_send_notice(code, &payload, sizeof payload);
}

void send_record_log(int param_type, int channel) {
  log_info entry;
  cgi_init_log_info(&entry);
  entry.sub_type = LOG_SUB_RECORD;
  entry.param_type = param_type;
  entry.channel = channel;
  cgi_send_log_info(&entry);
}

}  // namespace record
