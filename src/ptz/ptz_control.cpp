// Steering a camera: movement, presets, patterns, preset calls and zoom
// (sent without waiting), the camera's PTZ speed (a camera parameter), the
// PTZ control command and the LED state.
#include <cstdio>
#include <cstring>

#include "ptz_util.h"

using namespace ptz;

namespace {

// The record of a movement or preset: channel, action, speeds, fisheye view.
ptz_action action_of(json_object *json, int channel) {
  ptz_action record = {};
  record.channelId = channel;
  record.action = member_int(json, "action");
  record.panSpeed = member_int(json, "panSpeed");
  record.tiltSpeed = member_int(json, "tiltSpeed");
  record.zoomSpeed = member_int(json, "zoomSpeed");
  record.focusSpeed = member_int(json, "focusSpeed");
  record.fisheyeType = member_int(json, "fisheyeType");
  record.streamId = member_int(json, "streamId");
  return record;
}

bool preset_id_ok(json_object *json) {
  if (!has_member(json, "presetId")) return false;
  int id = member_int(json, "presetId");
  return id >= 0 && id <= PRESET_ID_MAX;
}

// The page's pattern action (0 to 4) as the daemon's action code; 0 else.
int pattern_action(int action) {
  constexpr int kCodes[] = {26, 21, 25, 27, 40};
  return action >= 0 && action < (int)(sizeof kCodes / sizeof kCodes[0]) ? kCodes[action] : 0;
}

// A fisheye camera keeps its presets per view: the camera is told the
// stream, the preset and its name.
void set_fisheye_preset(json_object *json, const ptz_action &record) {
  char name[32];
  member_text(json, "name", name, sizeof name);
  char value[128];
  snprintf(value, sizeof value, "%d:%d:%s", (int)record.streamId, (int)record.presetId, name);
  set_camera_param(record.channelId, "ipncptz=setfishpreset", value);
}

// The JSON requests of /5009 and /5010: a parsed body whose "chnid" is 0 to
// 63, else the JSON error.
bool control_channel(json_object *json, int *channel) {
  int value = member_int(json, "chnid");
  if (!json || !settings_channel(value)) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return false;
  }
  *channel = value;
  return true;
}

}  // namespace

int on_send_ptz_cmd(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  json_object *json = root.get();
  int channel;
  if (!root || !camera_channel(json, "channelId", &channel) || !non_negative(json, {"action"})) {
    return -1;
  }
  ptz_action record = action_of(json, channel);
  cgi_send_notice(PTZ_MOVE, &record, sizeof record);
  if (record.action == ACTION_ZOOM && member_int(json, "isAutoFocus") == 1) {
    record.action = ACTION_FOCUS;
    cgi_send_notice(PTZ_MOVE, &record, sizeof record);
  }
  set_camera_param(channel, "ptzspeed", camera_speed_text(record.panSpeed));
  send_ptz_log(LOG_PARAM_CONTROL, channel);
  return 0;
}

int on_preset_op(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  json_object *json = root.get();
  int channel;
  if (!root || !camera_channel(json, "channelId", &channel) || !preset_id_ok(json) ||
      !non_negative(json, {"action", "panSpeed", "tiltSpeed", "zoomSpeed", "focusSpeed"})) {
    return -1;
  }
  ptz_action record = action_of(json, channel);
  record.presetId = member_int(json, "presetId");
  bool set_preset = record.action == ACTION_SET_PRESET;
  if (set_preset) member_text(json, "name", record.name, sizeof record.name);
  cgi_send_notice(PTZ_PRESET, &record, sizeof record);
  if (set_preset && record.fisheyeType == 1) set_fisheye_preset(json, record);
  else reply_ok();
  send_ptz_log(LOG_PARAM_SETTING, channel);
  return 0;
}

int on_set_ptz_pattern(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  ptz_action record = {};
  record.channelId = member_int(root.get(), "chn");
  record.action = pattern_action(member_int(root.get(), "action"));
  record.presetId = member_int(root.get(), "tourid");
  send_and_reply_ok(PTZ_PATTERN, &record, sizeof record);
  send_ptz_log(LOG_PARAM_SETTING, record.channelId);
  return 0;
}

int on_set_ptz_preset_call(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  ptz_preset_call call = {member_int(root.get(), "channelId"), member_int(root.get(), "action")};
  send_and_reply_ok(PTZ_PRESET_CALL, &call, sizeof call);
  send_ptz_log(LOG_PARAM_CONTROL, call.channelId);
  return 0;
}

int on_set_ptz_zomm(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  ptz_zoom zoom = {member_int(root.get(), "camId"), member_int(root.get(), "Zoom"),
                   member_int(root.get(), "ZoomSpeed")};
  send_and_reply_ok(PTZ_ZOOM, &zoom, sizeof zoom);
  send_ptz_log(LOG_PARAM_CONTROL, zoom.camId);
  return 0;
}

int on_set_ipc_speed(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int channel = member_int(root.get(), "chn");
  set_camera_param(channel, "ptzspeed", camera_speed_text(member_int(root.get(), "Speed")));
  send_ptz_log(LOG_PARAM_SETTING, channel);
  return 0;
}

// The answer of 3226 is "OK" whatever the camera made of the value.
void on_set_ipc_common_cb(const void *, int) {
  cgi_reply_done(CGI_REPLY_TEXT, "OK");
}

int on_cgi_set_ptz_control(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int channel;
  if (!control_channel(root.get(), &channel)) return -1;
  ptz_control control = {channel, member_int(root.get(), "ptzCmd")};
  exchange(PTZ_CONTROL, &control, sizeof control, CGI_REPLY_JSON);
  send_ptz_log(LOG_PARAM_SETTING, channel);
  return 0;
}

// Answers too short for their result are the JSON error, and end the wait.
void on_cgi_set_ptz_control_cb(const void *payload, int length) {
  int32_t result;
  if (!cgi_answer_status(payload, length, &result)) return reply_json_error();
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "res", result);
  reply_json(reply.get());
}

int on_cgi_get_led_status(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int32_t channel;
  if (!control_channel(root.get(), &channel)) return -1;
  exchange(PTZ_LED_STATUS, &channel, sizeof channel, CGI_REPLY_JSON);
  return 0;
}

void on_cgi_get_led_status_cb(const void *payload, int length) {
  if (length < (int)sizeof(ptz_led_status)) return reply_json_error();
  ptz_led_status led;
  memcpy(&led, payload, sizeof led);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "chnid", led.chnid);
  json_add_int(reply.get(), "status", led.status);
  reply_json(reply.get());
}
