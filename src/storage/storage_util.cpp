#include "storage_util.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace storage {

int bare_number(const char *text) {
  if (!text) return 0;
  long long value = strtoll(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return (int)value;
}

bool has_member(json_object *object, const char *key) {
  return json_member(object, key) != nullptr;
}

int member_int(json_object *object, const char *key, int fallback) {
  json_object *value = json_member(object, key);
  return value ? json_object_get_int(value) : fallback;
}

int array_length(json_object *array) {
  if (!array || !json_object_is_type(array, json_type_array)) return 0;
  return (int)json_object_array_length(array);
}

json_object *array_at(json_object *array, int i) {
  if (i < 0 || i >= array_length(array)) return nullptr;
  return json_object_array_get_idx(array, (size_t)i);
}

int element_int(json_object *array, int i) {
  json_object *value = array_at(array, i);
  return value ? json_object_get_int(value) : 0;
}

void member_text(json_object *object, const char *key, char *field, size_t size) {
  json_copy_text(json_member(object, key), field, size);
}

void decoded_text(json_object *value, char *field, size_t size) {
  const char *text = value ? json_object_get_string(value) : "";
  get_url_decode(text ? text : "", field, (int)size);
}

void reply_ok_or_error(int result) {
  cgi_reply_done(CGI_REPLY_TEXT, result == 0 ? "OK" : "Error");
}

void reply_json_int(const char *key, int value) {
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), key, value);
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
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

void send_storage_log(int sub_type, int param_type, int port, int detail_kind,
                      const void *detail, int detail_length) {
  log_info entry;
  cgi_init_log_info(&entry);
  entry.sub_type = sub_type;
  entry.param_type = param_type;
  entry.channel = port;
  if (detail) kxfs_log_pack_detail(&entry, detail_kind, detail, detail_length);
  cgi_send_log_info(&entry);
}

nas_log_detail nas_detail(const char *kind, const disk_params &disk) {
  nas_log_detail detail = {};
  snprintf(detail.kind, sizeof detail.kind, "%s", kind);
  snprintf(detail.address, sizeof detail.address, "%s", field_text(disk.address).c_str());
  snprintf(detail.directory, sizeof detail.directory, "%s", field_text(disk.directory).c_str());
  return detail;
}

}  // namespace storage
