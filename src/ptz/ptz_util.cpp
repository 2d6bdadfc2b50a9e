#include "ptz_util.h"

#include <climits>
#include <cstdio>

#include "camera/camera_records.h"

namespace ptz {

void send_ptz_log(int param_type, int channel) {
  log_info entry;
  cgi_init_log_info(&entry);
  entry.sub_type = LOG_SUB_PTZ;
  entry.param_type = param_type;
  // The log counts channels from 1; a channel the handler did not bound
  // must not overflow on the way.
  entry.channel = channel == INT_MAX ? INT_MAX : channel + 1;
  cgi_send_log_info(&entry);
}

bool has_members(json_object *object, std::initializer_list<const char *> keys) {
  for (const char *key : keys) {
    if (!has_member(object, key)) return false;
  }
  return true;
}

bool non_negative(json_object *object, std::initializer_list<const char *> keys) {
  for (const char *key : keys) {
    if (!has_member(object, key) || member_int(object, key) < 0) return false;
  }
  return true;
}

bool settings_channel(int channel) {
  return channel >= 0 && channel < PTZ_CHANNELS;
}

bool camera_channel(json_object *object, const char *key, int *channel) {
  if (!has_member(object, key)) return false;
  int value = member_int(object, key);
  if (value < 0 || value >= param_int(PARAM_MAX_CAMERAS)) return false;
  *channel = value;
  return true;
}

int points_to_take(int rowsize, json_object *path) {
  int taken = rowsize < 0 ? 0 : rowsize;
  if (taken > PTZ_TOUR_POINTS) taken = PTZ_TOUR_POINTS;
  int held = array_length(path);
  return taken < held ? taken : held;
}

bool exchange(int code, const void *payload, int length, int error_mode) {
  return cgi_exchange(on_ptz_ipc_callback, code, payload, length, error_mode);
}

void send_and_reply_ok(int code, const void *payload, int length) {
  cgi_send_notice(code, payload, length);
  reply_ok();
}

void reply_ok() {
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
}

void reply_json(json_object *object) {
  json_writeback(CGI_REPLY_JSON, object);
  g_callback_done = 1;
}

void reply_json_error() {
  cgi_error_to_webserver(CGI_REPLY_JSON);
  g_callback_done = 1;
}

std::string camera_speed_text(int speed) {
  return speed < 1 ? "1" : std::to_string(speed - 1);
}

bool set_camera_param(int channel, const char *key, const std::string &value) {
  common_param_request request = {};
  request.id = channel;
  snprintf(request.param.httpname, sizeof request.param.httpname, "vsetting.html");
  snprintf(request.param.key, sizeof request.param.key, "%s", key);
  snprintf(request.param.value, sizeof request.param.value, "%s", value.c_str());
  return exchange(CAMERA_SET_PARAM, &request, sizeof request, CGI_REPLY_TEXT);
}

}  // namespace ptz
