#include "playback_util.h"
#include "request_reset.h"

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

bool has_members(json_object *object, std::initializer_list<const char *> keys) {
  return std::all_of(keys.begin(), keys.end(),
                     [object](const char *key) { return has_member(object, key); });
}

int entries_to_take(int num, int capacity, std::initializer_list<json_object *> arrays) {
  int n = std::clamp(num, 0, capacity);
  for (json_object *array : arrays) n = std::min(n, array_length(array));
  return n;
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

namespace {
void reset_playback_session() {
  playback::forget_session();
}
}  // namespace

CGI_RESET_HOOK(reset_playback_session)
