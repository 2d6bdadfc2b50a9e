// PTZ settings kept by the recorder: the serial PTZ port of each channel
// and each camera's PTZ speeds; and whether a camera supports PTZ at all.
#include <cstring>

#include "ptz_util.h"

using namespace ptz;

namespace {

constexpr int kPortChannelLast = 15;  // channels that have a serial PTZ port

bool in_range(json_object *json, const char *key, int low, int high) {
  if (!has_member(json, key)) return false;
  int value = member_int(json, key);
  return value >= low && value <= high;
}

ptz_port_params port_of(json_object *json, int channel) {
  ptz_port_params port = {};
  port.channel = channel;
  port.connectType = member_int(json, "connectType");
  port.baudRate = member_int(json, "baudRate");
  port.dataBits = member_int(json, "dataBits");
  port.stopBits = member_int(json, "stopBits");
  port.parityType = member_int(json, "parityType");
  port.protocol = member_int(json, "protocol");
  port.address = member_int(json, "address");
  return port;
}

// Writes the port of one channel and tells the daemon; false (nothing
// sent) when the write failed.
bool store_port(json_object *json, int channel) {
  ptz_port_params port = port_of(json, channel);
  if (write_ptz_port(KXDB_FILE, &port) != 0) return false;
  int32_t changed = channel;
  cgi_send_notice(PTZ_PORT_CHANGED, &changed, sizeof changed);
  send_ptz_log(LOG_PARAM_SETTING, channel);
  return true;
}

// The "camId" of the speed requests: a settings key.
bool speed_camera(json_object *json, int *camId) {
  *camId = member_int(json, "camId");
  return settings_channel(*camId);
}

}  // namespace

int on_get_ptzport_info(char *text) {
  int channel;
  if (on_cgi_get_value_by_json(text, "chnid", &channel) != 0 || channel < 0 ||
      channel > kPortChannelLast) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  ptz_port_params port = {};
  port.channel = channel;
  read_ptz_port(KXDB_FILE, &port, channel);  // a failed read shows the factory default
  JsonPtr reply(json_object_new_object());
  json_object *o = reply.get();
  json_add_int(o, "camId", port.channel);
  json_add_int(o, "connectType", port.connectType);
  json_add_int(o, "baudRate", port.baudRate);
  json_add_int(o, "dataBits", port.dataBits);
  json_add_int(o, "stopBits", port.stopBits);
  json_add_int(o, "parityType", port.parityType);
  json_add_int(o, "protocol", port.protocol);
  json_add_int(o, "address", port.address);
  json_writeback(CGI_REPLY_JSON, o);
  return 0;
}

int check_ptzport_info(json_object *json) {
  bool ok = has_members(json, {"cnt", "chnid"}) && in_range(json, "connectType", 0, 1) &&
            non_negative(json, {"baudRate", "stopBits", "address"}) &&
            in_range(json, "dataBits", 5, 8) && in_range(json, "parityType", 0, 2) &&
            in_range(json, "protocol", 0, 13);
  return ok ? 0 : -1;
}

// The same port settings for each listed channel; channels outside 0 to 63
// are skipped, and the list ends where the array does.
int on_set_ptzport_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || check_ptzport_info(root.get()) != 0) return -1;
  json_object *channels = json_member(root.get(), "chnid");
  int count = member_int(root.get(), "cnt");
  for (int i = 0; i < count && i < array_length(channels); i++) {
    int channel = element_int(channels, i);
    if (!settings_channel(channel)) continue;
    if (!store_port(root.get(), channel)) {
      cgi_error_to_webserver(CGI_REPLY_TEXT);
      return -1;
    }
  }
  reply_ok();
  return 0;
}

int on_get_ptzsupport_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int32_t camId = member_int(root.get(), "camId");
  exchange(PTZ_SUPPORT, &camId, sizeof camId, CGI_REPLY_TEXT);
  return 0;
}

// "-1": the camera has no PTZ; "0" otherwise.
void on_ip_ptzsupport_cb(const void *payload, int length) {
  int32_t support;
  if (!cgi_answer_status(payload, length, &support)) return;
  cgi_reply_done(CGI_REPLY_TEXT, support == -1 ? "-1" : "0");
}

int on_get_ptz_speed(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int camId;
  if (!root || !speed_camera(root.get(), &camId)) return -1;
  ptz_speed_params speed = {};
  read_ptz_speed(KXDB_FILE, &speed, camId);  // a failed read shows zeroes
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "pan_speed", speed.pan_speed);
  json_add_int(reply.get(), "tilt_speed", speed.tilt_speed);
  json_add_int(reply.get(), "zoom_speed", speed.zoom_speed);
  json_add_int(reply.get(), "foucs_speed", speed.foucs_speed);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

// Every speed is replaced: one the page leaves out becomes 0.
int on_set_ptz_speed(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int camId;
  if (!root || !speed_camera(root.get(), &camId)) return -1;
  ptz_speed_params speed = {};
  speed.camId = camId;
  read_ptz_speed(KXDB_FILE, &speed, camId);
  speed.pan_speed = member_int(root.get(), "pan_speed");
  speed.tilt_speed = member_int(root.get(), "tilt_speed");
  speed.zoom_speed = member_int(root.get(), "zoom_speed");
  speed.foucs_speed = member_int(root.get(), "foucs_speed");
  if (write_ptz_speed(KXDB_FILE, &speed) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  reply_ok();
  send_ptz_log(LOG_PARAM_SETTING, camId);
  return 0;
}
