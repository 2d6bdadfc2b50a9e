#include "playback_util.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace playback {

JsonPtr parse_object(const char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || !json_object_is_type(root.get(), json_type_object)) return nullptr;
  return root;
}

bool has_member(json_object *object, const char *key) {
  return json_member(object, key) != nullptr;
}

bool has_members(json_object *object, std::initializer_list<const char *> keys) {
  return std::all_of(keys.begin(), keys.end(),
                     [object](const char *key) { return has_member(object, key); });
}

int member_int(json_object *object, const char *key) {
  json_object *value = json_member(object, key);
  return value ? json_object_get_int(value) : 0;
}

void member_text(json_object *object, const char *key, char *field, size_t size) {
  json_copy_text(json_member(object, key), field, size);
}

int array_length(json_object *array) {
  if (!array || !json_object_is_type(array, json_type_array)) return 0;
  size_t n = json_object_array_length(array);
  return n > (size_t)INT_MAX ? INT_MAX : (int)n;
}

int element_int(json_object *array, int i) {
  if (i < 0 || i >= array_length(array)) return 0;
  json_object *value = json_object_array_get_idx(array, (size_t)i);
  return value ? json_object_get_int(value) : 0;
}

int entries_to_take(int num, int capacity, std::initializer_list<json_object *> arrays) {
  int n = std::clamp(num, 0, capacity);
  for (json_object *array : arrays) n = std::min(n, array_length(array));
  return n;
}

bool bare_number(const char *text, int *value) {
  if (!text) return false;
  const char *p = text;
  while (isspace((unsigned char)*p)) p++;
  if (*p == '+' || *p == '-') p++;
  if (!isdigit((unsigned char)*p)) return false;
  long long n = strtoll(text, nullptr, 10);  // saturates at the long long range
  *value = (int)std::clamp<long long>(n, INT_MIN, INT_MAX);
  return true;
}

int db_get_device() {
  return std::clamp(param_int(PARAM_MAX_CAMERAS), 0, PLAYBACK_CHANNELS_MAX);
}

bool exchange(int code, const void *payload, int length) {
  cgi_exchange(on_stream_callback, code, payload, length, CGI_REPLY_NONE);
  if (g_callback_done.load() == 1) return true;
  cgi_error_to_webserver(CGI_REPLY_JSON);
  return false;
}

void notify(int code, const void *payload, int length) {
  cgi_send_notice(code, payload, length);
}

void reply_ok() {
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
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

void reply_json(json_object *object) {
  json_writeback(CGI_REPLY_JSON, object);
  g_callback_done = 1;
}

void reply_status(const char *status) {
  JsonPtr reply(json_object_new_object());
  json_add_text(reply.get(), "status", status);
  reply_json(reply.get());
}

std::string time_text(int64_t seconds) {
  time_t t = (time_t)seconds;
  struct tm local = {};
  char text[64] = "";
  if (localtime_r(&t, &local)) strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

namespace {
// The session of this request (one request per process).
struct {
  bool known = false;
  int32_t sid = 0;
  char play_time[PLAYBACK_TIME_TEXT] = "";  // 31 characters
} g_session;
}  // namespace

void forget_session() {
  g_session.known = false;
  g_session.sid = 0;
  g_session.play_time[0] = '\0';
}

void remember_session(int32_t sid, const char *play_time) {
  g_session.sid = sid;
  snprintf(g_session.play_time, sizeof g_session.play_time, "%s", play_time ? play_time : "");
  g_session.known = true;
}

bool session_remembered() {
  return g_session.known;
}

int32_t remembered_sid() {
  return g_session.sid;
}

std::string remembered_play_time() {
  return field_text(g_session.play_time);
}

void send_playback_log(int sub_type, int32_t channel_field, int detail_kind, const void *detail,
                       int detail_length) {
  log_info entry;
  cgi_init_log_info(&entry);
  entry.sub_type = sub_type;
  entry.param_type = LOG_PARAM_CHANNEL;
  entry.channel = channel_field;
  if (detail) kxfs_log_pack_detail(&entry, detail_kind, detail, detail_length);
  cgi_send_log_info(&entry);
}

int32_t log_channel(int32_t channel) {
  return (int32_t)((uint32_t)channel + 1u);
}

}  // namespace playback
