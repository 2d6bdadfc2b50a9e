// Camera channels as the recorder stores them: adding, editing and clearing
// the camera of a channel, its credentials and transmission, the stored
// settings and names of the channels, the protocols and models the
// recorder knows, and a few small facts (PoE password and ports, IPv6).
// After a change the daemon is told (1201 add, 1203 edit, 1202 clear, 1206
// the PoE port) and an operation-log entry follows.
#include <cstdio>
#include <cstring>
#include <vector>

#include "camera_util.h"
#include "channel_records.h"
#include "kxdb_camera.h"
#include "kxdb_ipc_model.h"
#include "kxdb_osd.h"
#include "kxdb_privacy.h"

using namespace camera;

namespace {

using CP = camera_params;

// Stored settings ("/2000") and the clear are offered for the first 16
// channels only, as the page asks.
constexpr int kStoredQueryChannels = 16;

constexpr int kLogAdd = 210;
constexpr int kLogEdit = 204;
constexpr int kLogClear = 211;
constexpr int kParamEdit = 903;
constexpr int kParamAdd = 901;
constexpr int kParamClear = 902;

// Keys add and edit both take, missing ones as 0 or empty text.
const JsonField kChannelFields[] = {
    CAMERA_INT_KEY(CP, minorid),
    CAMERA_INT_KEY(CP, enable),
    CAMERA_TEXT_KEY(CP, ipAddr),
    CAMERA_INT_KEY(CP, managePort),
    CAMERA_INT_KEY(CP, camProtocol),
    CAMERA_INT_KEY(CP, transmitProtocol),
    CAMERA_INT(CP, subRtspEnable, nullptr, "enableSubStream"),
    CAMERA_INT_KEY(CP, syncTime),
    CAMERA_TEXT_KEY(CP, ddns),
    CAMERA_INT_KEY(CP, httpsPort),
};

const JsonField kCredentialFields[] = {
    CAMERA_TEXT_KEY(CP, userName),
    CAMERA_TEXT_KEY(CP, password),
};

// Only a camera reached by plain RTSP (camProtocol 1) takes these.
const JsonField kRtspFields[] = {
    CAMERA_INT_KEY(CP, mainRtspPort),
    CAMERA_TEXT_KEY(CP, mainSourcePath),
    CAMERA_INT(CP, subRtspPort, nullptr, "subRtspPort"),
    CAMERA_TEXT_KEY(CP, subSourcePath),
    CAMERA_TEXT(CP, mainRtspUrl, nullptr, "mainrtspurl"),
    CAMERA_TEXT(CP, subRtspUrl, nullptr, "subrtspurl"),
};

// Where the camera sits on the recorder: set by an add only.
const JsonField kPortFields[] = {
    CAMERA_INT_KEY(CP, poechannel),
    CAMERA_INT_KEY(CP, physicalport),
};

// "/2000" after "model", in reply order.
const JsonField kInfoFields[] = {
    CAMERA_TEXT(CP, userName, "userName", nullptr),
    CAMERA_TEXT(CP, password, "password", nullptr),
    CAMERA_INT(CP, transmitProtocol, "transmitProtocol", nullptr),
    CAMERA_INT(CP, mainRtspPort, "mainRtspPort", nullptr),
    CAMERA_TEXT(CP, mainSourcePath, "mainSourcePath", nullptr),
    CAMERA_INT(CP, subRtspEnable, "subRtspEnable", nullptr),
    CAMERA_INT(CP, subRtspPort, "subRtspPort", nullptr),
    CAMERA_TEXT(CP, subSourcePath, "subSourcePath", nullptr),
    CAMERA_INT(CP, syncTime, "syncTime", nullptr),
    CAMERA_TEXT(CP, mainRtspUrl, "mainRtspUrl", nullptr),
    CAMERA_TEXT(CP, subRtspUrl, "subRtspUrl", nullptr),
    CAMERA_INT(CP, physicalport, "physicalport", nullptr),
    CAMERA_INT(CP, poechannel, "poechannel", nullptr),
    CAMERA_TEXT(CP, mac_addr, "mac_addr", nullptr),
    CAMERA_INT(CP, minorid, "minorid", nullptr),
    CAMERA_TEXT(CP, ddns, "ddns", nullptr),
    CAMERA_INT(CP, httpsPort, "httpsPort", nullptr),
};

bool channel_valid(int channel) {
  return channel >= 0 && channel < IPC_CHANNELS;
}

// The "id" of a request when it names a channel, else -1.
int request_channel(json_object *root) {
  if (!has_member(root, "id")) return -1;
  int id = member_int(root, "id");
  return channel_valid(id) ? id : -1;
}

const char *protocol_name(int cam_protocol) {
  if (cam_protocol == 0) return "ONVIF";
  if (cam_protocol == 1) return "RTSP";
  return "KXSF";
}

const char *transmit_name(int transmit_protocol) {
  if (transmit_protocol == 0) return "UDP";
  if (transmit_protocol == 3) return "RTSP Over HTTPS";
  return "TCP";
}

channel_log_detail log_detail(int param_type, const camera_params &c) {
  channel_log_detail d = {};
  d.param_type = param_type;
  d.channel = c.id + 1;
  d.managePort = c.managePort;
  d.syncTime = c.syncTime;
  snprintf(d.ipAddr, sizeof d.ipAddr, "%s", field_text(c.ipAddr).c_str());
  snprintf(d.protocol, sizeof d.protocol, "%s", protocol_name(c.camProtocol));
  snprintf(d.transmit, sizeof d.transmit, "%s", transmit_name(c.transmitProtocol));
  return d;
}

// Log entry of a channel change; add, edit, credentials and transmission
// carry the camera's detail block.
void send_channel_log(int sub_type, int param_type, const camera_params &c, bool detail) {
  log_info entry;
  cgi_init_log_info(&entry);
  entry.sub_type = sub_type;
  entry.param_type = param_type;
  entry.channel = c.id + 1;
  if (detail) {
    channel_log_detail d = log_detail(param_type, c);
    kxfs_log_pack_detail(&entry, LOG_DETAIL_CHANNEL, &d, sizeof d);
  }
  cgi_send_log_info(&entry);
}

void send_channel_notice(int code, int32_t channel) {
  cgi_send_notice(code, &channel, sizeof channel);
}

void send_poe_notice(int32_t channel, int32_t other_poe) {
  poe_notice notice = {channel, other_poe};
  cgi_send_notice(1206, &notice, sizeof notice);
}

// The stored camera of a channel with its key set, so that the first write
// of a channel lands on it (a failed read goes on with the zeroed record).
camera_params stored_camera(int channel) {
  camera_params c = {};
  read_camera(KXDB_FILE, &c, channel);
  c.id = channel;
  return c;
}

// Stores the channel's name in its display record. 0 or -1.
int store_channel_name(int channel, const char *name) {
  osd_params osd = {};
  read_osd(KXDB_FILE, &osd, channel);
  osd.camId = channel;
  snprintf(osd.camName, sizeof osd.camName, "%s", name);
  return write_osd(KXDB_FILE, &osd);
}

int store_request_name(json_object *root, int channel) {
  char name[sizeof osd_params::camName];
  member_text(root, "name", name, sizeof name);
  return store_channel_name(channel, name);
}

void fill_channel(json_object *root, camera_params *c, bool credentials) {
  fill_record(root, c, kChannelFields);
  if (credentials) fill_record(root, c, kCredentialFields);
  if (c->camProtocol == 1) fill_record(root, c, kRtspFields);
}

// The page sends "(null)" for a camera without a known MAC address.
void fill_mac_address(json_object *root, camera_params *c) {
  member_text(root, "mac_addr", c->mac_addr, sizeof c->mac_addr);
  if (strcmp(c->mac_addr, "(null)") == 0) c->mac_addr[0] = '\0';
}

bool present_in(json_object *root, const char *key, int low, int high) {
  if (!has_member(root, key)) return false;
  int v = member_int(root, key);
  return v >= low && v <= high;
}

json_object *model_object(const ipc_model &m) {
  json_object *o = json_object_new_object();
  json_add_int(o, "id", m.id);
  json_add_text(o, "name", field_text(m.name));
  json_add_int(o, "alarm_type", m.alarm_type);
  json_add_int(o, "default_model", m.default_model);
  return o;
}

json_object *protocol_object(const ipc_protocol &p) {
  json_object *o = json_object_new_object();
  json_add_int(o, "id", p.id);
  json_add_text(o, "name", field_text(p.name));
  json_add_int(o, "protocolFunction", p.protocolFunction);
  json_add_int(o, "enable", p.enable);
  json_add_int(o, "display_model", p.display_model);
  std::vector<ipc_model> models;
  read_ipc_models_by_protocol(KXDB_FILE, p.id, &models);
  json_object *list = json_object_new_array();
  for (const ipc_model &m : models) json_object_array_add(list, model_object(m));
  json_object_object_add(o, "models", list);
  return o;
}

// Switches off and empties every mask area of the channel. 0, or -1 when
// the write failed.
int clear_privacy_masks(int channel) {
  privacy_mask_params m = {};
  m.id = -1;  // a failed read writes nothing back
  read_privacy_mask(KXDB_FILE, &m, channel);
  if (m.id != channel) return 0;
  for (privacy_mask_area &a : m.areas) {
    a.enable = a.start_x = a.start_y = a.area_width = a.area_height = 0;
  }
  return write_privacy_mask(KXDB_FILE, &m);
}

// The end of every edit of a stored camera: the error reply when a write
// failed (nothing sent), else 1203, the log entry with the camera's detail
// and "OK".
int finish_edit(const camera_params &c, bool stored) {
  if (!stored) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  send_channel_notice(1203, c.id);
  send_channel_log(kLogEdit, kParamEdit, c, true);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

void reply_text_number(int value) {
  char text[16];
  snprintf(text, sizeof text, "%d", value);
  cgi_writeback_webserver(CGI_REPLY_TEXT, text);
}

}  // namespace

int check_digital_channel(json_object *root) {
  if (request_channel(root) < 0 || !has_member(root, "name")) return -1;
  if (!present_in(root, "enable", 0, 1) || !present_in(root, "camProtocol", 0, 7)) return -1;
  // A camera of protocol 7 is reached without an address of its own.
  if (member_int(root, "camProtocol") != 7) {
    if (!has_text(root, "ipAddr")) return -1;
    if (!has_member(root, "managePort") || member_int(root, "managePort") < 0) return -1;
  }
  if (!has_member(root, "transmitProtocol") || member_int(root, "transmitProtocol") > 3) return -1;
  return 0;
}

int on_add_ipc(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || check_digital_channel(root.get()) != 0) return -1;
  int channel = member_int(root.get(), "id");
  camera_params c = stored_camera(channel);
  fill_channel(root.get(), &c, true);
  fill_mac_address(root.get(), &c);
  fill_record(root.get(), &c, kPortFields);
  if (store_request_name(root.get(), channel) != 0 || write_camera(KXDB_FILE, &c) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  send_channel_notice(1201, channel);
  send_poe_notice(channel, member_int(root.get(), "otherPoe") == 1 ? 1 : 0);
  send_channel_log(kLogAdd, kParamAdd, c, true);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

// As an add, but the camera stays on its PoE and physical port; the
// credentials change only with "type" 0.
int on_edit_ipc(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || check_digital_channel(root.get()) != 0) return -1;
  int channel = member_int(root.get(), "id");
  camera_params c = stored_camera(channel);
  fill_channel(root.get(), &c, member_int(root.get(), "type") == 0);
  return finish_edit(c, store_request_name(root.get(), channel) == 0 &&
                            write_camera(KXDB_FILE, &c) == 0);
}

int on_delete_ipc(char *text) {
  int channel = -1;
  if (on_cgi_get_value_by_json(text, "chnid", &channel) != 0 || channel < 0 ||
      channel >= kStoredQueryChannels) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  camera_params cleared = {};
  cleared.record_stream = stored_camera(channel).record_stream;
  cleared.id = channel;
  cleared.cleared = 1;
  cleared.enable = 0;
  char name[16];
  snprintf(name, sizeof name, "CAM%d", channel + 1);
  if (clear_privacy_masks(channel) != 0 || write_camera(KXDB_FILE, &cleared) != 0 ||
      store_channel_name(channel, name) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  send_channel_notice(1202, channel);
  send_poe_notice(channel, 0);
  send_channel_log(kLogClear, kParamClear, cleared, false);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

int on_set_ipc_credentials(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int channel = request_channel(root.get());
  if (channel < 0 || !has_text(root.get(), "userName") ||
      !has_text(root.get(), "password")) {
    return -1;
  }
  camera_params c = stored_camera(channel);
  fill_record(root.get(), &c, kCredentialFields);
  return finish_edit(c, write_camera(KXDB_FILE, &c) == 0);
}

int on_set_ipc_transmit(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int channel = request_channel(root.get());
  if (channel < 0) return -1;
  camera_params c = stored_camera(channel);
  c.transmitProtocol = member_int(root.get(), "transmitProtocol");
  c.syncTime = member_int(root.get(), "syncTime");
  c.httpsPort = member_int(root.get(), "httpsPort");
  return finish_edit(c, write_camera(KXDB_FILE, &c) == 0);
}

int on_get_ipc_info(char *text) {
  int channel = -1;
  if (on_cgi_get_value_by_json(text, "chnid", &channel) != 0 || channel < 0 ||
      channel >= kStoredQueryChannels) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  camera_params c = stored_camera(channel);
  osd_params osd = {};
  read_osd(KXDB_FILE, &osd, channel);
  // An unknown protocol value finds no model: the name stays empty.
  ipc_model model = {};
  read_ipc_model(KXDB_FILE, &model, c.camProtocol);
  JsonPtr reply(json_object_new_object());
  json_object *r = reply.get();
  json_add_int(r, "id", channel);
  json_add_text(r, "name", field_text(osd.camName));
  json_add_text(r, "ipAddr", field_text(c.ipAddr));
  json_add_int(r, "managePort", c.managePort);
  json_add_text(r, "protocol", field_text(model.name));
  json_add_int(r, "model", c.camProtocol);
  add_record(r, c, kInfoFields);
  json_writeback(CGI_REPLY_JSON, r);
  return 0;
}

int on_get_ipc_names(char *) {
  int count = param_int(PARAM_MAX_CAMERAS);
  if (count > IPC_CHANNELS) count = IPC_CHANNELS;
  json_object *list = json_object_new_array();
  for (int channel = 0; channel < count; channel++) {
    osd_params osd = {};
    read_osd(KXDB_FILE, &osd, channel);
    json_object *o = json_object_new_object();
    json_add_int(o, "id", channel);
    json_add_text(o, "name", field_text(osd.camName));
    json_object_array_add(list, o);
  }
  JsonPtr reply(json_object_new_object());
  json_object_object_add(reply.get(), "IPC", list);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

// Protocol 2 never lists its models: a stored 1 is put right before the
// reply is built.
int on_get_ipc_protocols(char *) {
  std::vector<ipc_protocol> protocols;
  read_ipc_protocols(KXDB_FILE, &protocols);
  json_object *list = json_object_new_array();
  for (ipc_protocol &p : protocols) {
    if (p.id == 2 && p.display_model == 1) {
      p.display_model = 0;
      write_ipc_protocol(KXDB_FILE, &p);
    }
    json_object_array_add(list, protocol_object(p));
  }
  JsonPtr reply(json_object_new_object());
  json_object_object_add(reply.get(), "protocols", list);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_get_poe_password(char *) {
  char password[64];
  param_text(PARAM_POEPSD, password, sizeof password);
  cgi_writeback_webserver(CGI_REPLY_TEXT, password);
  return 0;
}

int on_get_max_poe_num(char *) {
  reply_text_number(param_int(PARAM_MAX_POE_NUM));
  return 0;
}

int on_get_ipv6_support(char *) {
  reply_text_number(net_is_haveipv6());
  return 0;
}
