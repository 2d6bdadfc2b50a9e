// The recorder's service ports (SSH, HTTP, HTTPS, RTSP) with the push-message
// options of the same page, and the port rules every services page applies.
#include <algorithm>
#include <cstdio>

#include "network.h"

using namespace network;

namespace {

constexpr int POE_FIRST_PORT = 23001;  // the first PoE camera's port
constexpr int LOG_SUB_SETTINGS = 204;
constexpr int LOG_SUB_REBOOT = 200;
constexpr int LOG_PARAM_GENERAL = 900;
constexpr int LOG_PARAM_PORTS = 918;

bool check_port_info(json_object *root) {
  int ssh = member_int(root, "enableSsh");
  if (ssh != 0 && ssh != 1) return false;
  for (const char *key : {"sshPort", "httpPort", "rtspPort", "servicePort", "enableMsg"}) {
    if (!has_member(root, key) || member_int(root, key) < 0) return false;
  }
  return true;
}

// "PushTypeArr": the stored type of every channel below "max_cameras".
json_object *push_types() {
  push_msg_event stored[PUSH_MSG_CHANNELS];
  int count = 0;
  read_push_msg_events(KXDB_FILE, stored, PUSH_MSG_CHANNELS, &count);
  int32_t types[PUSH_MSG_CHANNELS] = {};
  for (int i = 0; i < count; i++) {
    if (stored[i].channel >= 0 && stored[i].channel < PUSH_MSG_CHANNELS) {
      types[stored[i].channel] = stored[i].type;
    }
  }
  int channels = std::clamp(param_int(PARAM_MAX_CAMERAS), 0, PUSH_MSG_CHANNELS);
  json_object *array = json_object_new_array();
  for (int i = 0; i < channels; i++) json_object_array_add(array, json_object_new_int(types[i]));
  return array;
}

// "enable_push_msg" as the page knows it: 0 or 1.
int push_enable(int value) {
  return value == 0 || value == 1 ? value : 0;
}

// Push options of the request: the kinds, and one record per channel that
// the request's array covers (at most 64).
void store_push_settings(json_object *root) {
  set_param_int(KXDB_FILE, "push_type", member_int(root, "pushType"));
  set_param_int(KXDB_FILE, PARAM_PUSHMSG_ALARMIN_TYPE.key, member_int(root, "PushTypeNvrAlarmIn"));
  json_object *array = json_member(root, "pushTypeArr");
  int channels = std::min({member_int(root, "channel_num"), array_length(array), PUSH_MSG_CHANNELS});
  for (int i = 0; i < channels; i++) {
    push_msg_event event = {i, element_int(array, i)};
    write_push_msg_event(KXDB_FILE, &event);
  }
}

// The ports the request may change, each checked against the stored one.
bool ports_acceptable(const port_params &wanted, const port_params &stored) {
  return port_acceptable(wanted.sshPort, stored.sshPort) &&
         port_acceptable(wanted.httpPort, stored.httpPort) &&
         port_acceptable(wanted.httpsPort, stored.httpsPort);
}

}  // namespace

int check_value(int port) {
  int poe = param_int(PARAM_MAX_POE_NUM);
  if (poe != 4 && poe != 8 && poe != 16) return 0;
  return port >= POE_FIRST_PORT && port < POE_FIRST_PORT + poe ? 1 : 0;
}

bool port_acceptable(int port, int stored) {
  return port == stored || (check_value(port) == 0 && is_port_use(port) == 0);
}

int on_get_port_info(char *) {
  port_params r{};
  read_port(KXDB_FILE, &r);
  char position[PUSH_MSG_NVR_SIZE] = {};
  read_push_msg_nvr_event(KXDB_FILE, position);
  JsonPtr reply(json_object_new_object());
  json_object *o = reply.get();
  json_add_int(o, "enableSsh", r.enableSsh);
  json_add_int(o, "sshPort", r.sshPort);
  json_add_int(o, "httpPort", r.httpPort);
  json_add_int(o, "httpsPort", r.httpsPort);
  json_add_int(o, "rtspPort", r.rtspPort);
  json_add_int(o, "servicePort", r.servicePort);
  json_add_int(o, "enable_access", param_int(PARAM_CH_ACCESS));
  json_object_object_add(o, "PushTypeArr", push_types());
  json_add_int(o, "PushNvrAlarmInType", param_int(PARAM_PUSHMSG_ALARMIN_TYPE));
  json_add_int(o, "enableMsg", push_enable(param_int(PARAM_ENABLE_PUSH_MSG)));
  json_add_int(o, "push_stream", param_int(PARAM_VIDEO_PUSH_STREAM));
  add_text(o, "pushNvrPos", position);
  json_writeback(CGI_REPLY_JSON, o);
  return 0;
}

int on_set_port_info(char *text) {
  JsonPtr root = parse_object(text);
  if (!root || !check_port_info(root.get())) return -1;
  json_object *o = root.get();
  port_params stored{};
  read_port(KXDB_FILE, &stored);  // unreadable: the zeroed record
  port_params r = stored;
  take_int(o, "enableSsh", &r.enableSsh);
  take_int(o, "sshPort", &r.sshPort);
  take_int(o, "httpPort", &r.httpPort);
  take_int(o, "rtspPort", &r.rtspPort);
  take_int(o, "httpsPort", &r.httpsPort);
  int32_t access = member_int(o, "enableAccess");
  store_push_settings(o);
  if (access != param_int(PARAM_CH_ACCESS)) {
    cgi_send_notice(SERVICES_REQ_CHANNEL_ACCESS, &access, sizeof access);
  }
  if (!ports_acceptable(r, stored)) {
    cgi_writeback_webserver(CGI_REPLY_TEXT, "POE_Port_Error");
    return -1;
  }
  if (write_port(KXDB_FILE, &r) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  int enable = push_enable(member_int(o, "enableMsg"));
  set_param_int(KXDB_FILE, PARAM_ENABLE_PUSH_MSG.key, enable);
  char position[PUSH_MSG_NVR_SIZE] = {};
  member_text(o, "pushNvrPos", position, sizeof position);
  write_push_msg_nvr_event(KXDB_FILE, position);
  set_param_int(KXDB_FILE, PARAM_VIDEO_PUSH_STREAM.key, member_int(o, "pushVideoStream"));
  push_enable_notice notice = {};
  snprintf(notice.enable, sizeof notice.enable, "%d", enable);
  cgi_send_notice(SERVICES_REQ_PUSH_ENABLE, &notice, sizeof notice);
  send_log(LOG_SUB_SETTINGS, LOG_PARAM_PORTS);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  notify_changed("more");
  if (member_int(o, "needReboot") != 0) {
    send_log(LOG_SUB_REBOOT, LOG_PARAM_GENERAL);
    cgi_send_notice(SERVICES_REQ_REBOOT, nullptr, 0);
  }
  return 0;
}
