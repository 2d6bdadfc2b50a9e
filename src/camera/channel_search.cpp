// Camera channels as the daemon sees them: the cameras connected to the
// channels, the search for cameras on the network, connection tests,
// changing a camera's network address (one camera, or a batch and its
// results), and the days of a month that hold recordings.
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "camera_util.h"
#include "channel_records.h"
#include "kxdb_osd.h"
#include "request_reset.h"

using namespace camera;

namespace {

using FC = found_camera;
using CC = connected_camera;
using NW = ipc_network;

// Channel names and the channel count for the list, read by the handler
// before the exchange so that the decoder (on the receive thread) touches
// no database.
struct ListContext {
  char names[IPC_CHANNELS][sizeof osd_params::camName];
  int max_cameras;
};
ListContext g_list;

// 8200, before and after the serial number (which the reply carries twice).
const JsonField kFoundHead[] = {
    CAMERA_TEXT_KEY(FC, ipAddr), CAMERA_TEXT_KEY(FC, macAddr), CAMERA_INT_KEY(FC, managePort),
    CAMERA_INT_KEY(FC, protocol), CAMERA_TEXT_KEY(FC, vendor),
};
const JsonField kFoundTail[] = {
    CAMERA_TEXT_KEY(FC, fwVersion), CAMERA_TEXT_KEY(FC, model),
    CAMERA_INT_KEY(FC, modelId),    CAMERA_TEXT_KEY(FC, netmask),
    CAMERA_TEXT_KEY(FC, dns),       CAMERA_TEXT_KEY(FC, gateway),
    CAMERA_TEXT_KEY(FC, netif),     CAMERA_INT_KEY(FC, active_status),
};

// 8201, after "id", "enable" and "name".
const JsonField kConnectedFields[] = {
    CAMERA_INT_KEY(CC, managePort),   CAMERA_INT_KEY(CC, camProtocol),
    CAMERA_INT_KEY(CC, state),        CAMERA_INT_KEY(CC, mainRtspPort),
    CAMERA_TEXT_KEY(CC, ipAddr),      CAMERA_TEXT_KEY(CC, vendor),
    CAMERA_TEXT_KEY(CC, sn),          CAMERA_TEXT_KEY(CC, fwVersion),
    CAMERA_TEXT_KEY(CC, mac),         CAMERA_TEXT_KEY(CC, model),
    CAMERA_INT_KEY(CC, poechannel),   CAMERA_INT_KEY(CC, physicalport),
    CAMERA_INT_KEY(CC, alarmin),      CAMERA_INT_KEY(CC, alarmout),
    CAMERA_INT_KEY(CC, whiteLed),     CAMERA_INT_KEY(CC, ledAlarm),
    CAMERA_INT_KEY(CC, ledManual),    CAMERA_INT_KEY(CC, minorid),
    CAMERA_INT_KEY(CC, subState),     CAMERA_INT_KEY(CC, connectState),
    CAMERA_TEXT_KEY(CC, snReal),      CAMERA_TEXT_KEY(CC, ddns),
    CAMERA_TEXT_KEY(CC, chipinfo),
};

// The address change of one camera, from keys of the same names.
const JsonField kNetworkFields[] = {
    CAMERA_TEXT_KEY(NW, macAddr),    CAMERA_TEXT_KEY(NW, oldIpcAddr),
    CAMERA_TEXT_KEY(NW, newIpcAddr), CAMERA_TEXT_KEY(NW, netmask),
    CAMERA_TEXT_KEY(NW, gateway),    CAMERA_TEXT_KEY(NW, primaryDNS),
    CAMERA_INT_KEY(NW, port),        CAMERA_TEXT_KEY(NW, username),
    CAMERA_TEXT_KEY(NW, password),   CAMERA_INT_KEY(NW, protocol),
    CAMERA_TEXT_KEY(NW, netif),
};

// A discovered name with a byte of 128 or above is not shown.
std::string plain_name(const char (&name)[64]) {
  std::string text = field_text(name);
  for (unsigned char ch : text) {
    if (ch >= 128) return "";
  }
  return text;
}

json_object *found_object(const found_camera &f) {
  json_object *o = json_object_new_object();
  add_record(o, f, kFoundHead);
  json_add_text(o, "sn", field_text(f.sn));
  // The page reads the serial number under a second "sn" as well.
  json_object_object_add_ex(o, "sn", json_object_new_string(field_text(f.sn).c_str()),
                            JSON_C_OBJECT_ADD_KEY_IS_NEW);
  add_record(o, f, kFoundTail);
  json_add_text(o, "name", plain_name(f.name));
  json_add_text(o, "snReal", field_text(f.snReal));
  return o;
}

json_object *connected_object(const connected_camera &c) {
  json_object *o = json_object_new_object();
  json_add_int(o, "id", c.channel);
  json_add_int(o, "enable", 1);
  bool known = c.channel >= 0 && c.channel < IPC_CHANNELS;
  json_add_text(o, "name", known ? field_text(g_list.names[c.channel]) : "");
  add_record(o, c, kConnectedFields);
  return o;
}

bool present_at_most(json_object *root, const char *key, int high) {
  return has_member(root, key) && member_int(root, key) <= high;
}

// The keys both connection tests need. The ports and protocols are the
// daemon's to judge beyond these bounds.
bool check_connect_info(json_object *root) {
  if (!has_text(root, "ipAddr")) return false;
  if (!has_member(root, "managePort") || member_int(root, "managePort") < 0) return false;
  return present_at_most(root, "camProtocol", 7);
}

template <class Test>
void fill_connect_test(json_object *root, Test *t) {
  member_text(root, "ipAddr", t->ipAddr, sizeof t->ipAddr);
  t->managePort = member_int(root, "managePort");
  member_text(root, "userName", t->userName, sizeof t->userName);
  member_text(root, "password", t->password, sizeof t->password);
  t->camProtocol = member_int(root, "camProtocol");
}

bool check_ipc_network_info(json_object *root) {
  for (const char *key : {"macAddr", "oldIpcAddr", "newIpcAddr", "netmask", "gateway",
                          "primaryDNS", "username", "password"}) {
    if (!has_member(root, key)) return false;
  }
  return present_at_most(root, "port", 65536) && present_at_most(root, "protocol", 7);
}

// "2024-05-31 12:00:00" as the calendar year and the month 1 to 12.
bool parse_month(const char *text, int *year, int *month) {
  struct tm t = {};
  const char *end = text ? strptime(text, "%Y-%m-%d %H:%M:%S", &t) : nullptr;
  if (!end) return false;
  *year = t.tm_year + 1900;
  *month = t.tm_mon + 1;
  return true;
}

const char *connect_result_text(int32_t result) {
  switch (result) {
    case 0:
    case 4: return "OK";
    case 1: return "NETWORKERROR";
    case 2: return "USERERROR";
    case 5: return "BANDWIDTHERROR";
    default: return "UNKOWNERROR";
  }
}

const char *network_result_text(int32_t result) {
  switch (result) {
    case 0: return R"({"resultString":"OK"})";
    case 1: return R"({"resultString":"NETWORK_ERR"})";
    case 2: return R"({"resultString":"INVALID_USER"})";
    case 3: return R"({"resultString":"UNKNOWN_ERR"})";
    case 4: return R"({"resultString":"PROTO_NOT_SUPPORT"})";
    default: return R"({"resultString":"ERROR"})";
  }
}

}  // namespace

int on_get_ipc_list(char *) {
  g_list = {};
  for (int channel = 0; channel < IPC_CHANNELS; channel++) {
    osd_params osd = {};
    read_osd(KXDB_FILE, &osd, channel);
    memcpy(g_list.names[channel], osd.camName, sizeof osd.camName);
  }
  g_list.max_cameras = param_int(PARAM_MAX_CAMERAS);
  query(3201, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

// Whole records only; an empty answer is an empty list.
void on_get_ipc_list_cb(const void *payload, int length) {
  int count = payload ? length / (int)sizeof(connected_camera) : 0;
  json_object *list = json_object_new_array();
  for (int i = 0; i < count; i++) {
    connected_camera c;
    memcpy(&c, static_cast<const char *>(payload) + i * sizeof c, sizeof c);
    json_object_array_add(list, connected_object(c));
  }
  JsonPtr reply(json_object_new_object());
  json_object_object_add(reply.get(), "IPC", list);
  json_add_int(reply.get(), "maxIPCNums", g_list.max_cameras);
  reply_json(reply.get());
}

int on_search_ipc(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int32_t protocol = member_int(root.get(), "protocol");
  if (protocol > 7) return -1;
  query(3200, &protocol, sizeof protocol, CGI_REPLY_JSON);
  return 0;
}

void on_search_ipc_cb(const void *payload, int length) {
  int count = payload ? length / (int)sizeof(found_camera) : 0;
  json_object *list = json_object_new_array();
  for (int i = 0; i < count; i++) {
    found_camera f;
    memcpy(&f, static_cast<const char *>(payload) + i * sizeof f, sizeof f);
    json_object_array_add(list, found_object(f));
  }
  JsonPtr reply(json_object_new_object());
  json_object_object_add(reply.get(), "IPC", list);
  json_add_text(reply.get(), "resultString", count > 0 ? "OK" : "NO");
  reply_json(reply.get());
}

int on_check_ipc_connect(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || !check_connect_info(root.get())) return -1;
  connect_test t = {};
  fill_connect_test(root.get(), &t);
  query(3202, &t, sizeof t, CGI_REPLY_TEXT);
  return 0;
}

int on_check_ipc_connect_ex(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || !check_connect_info(root.get())) return -1;
  connect_test_ex t = {};
  fill_connect_test(root.get(), &t);
  if (t.managePort < 80) t.managePort = 80;
  query(3227, &t, sizeof t, CGI_REPLY_TEXT);
  return 0;
}

void on_check_ipc_connect_cb(const void *payload, int length) {
  int32_t result;
  if (!cgi_answer_status(payload, length, &result)) return;
  cgi_reply_done(CGI_REPLY_TEXT, connect_result_text(result));
}

int on_set_ipc_network(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || !check_ipc_network_info(root.get())) return -1;
  ipc_network n = {};
  fill_record(root.get(), &n, kNetworkFields);
  query(3205, &n, sizeof n, CGI_REPLY_JSON);
  return 0;
}

void on_set_ipc_network_cb(const void *payload, int length) {
  int32_t result;
  if (!cgi_answer_status(payload, length, &result)) return;
  cgi_reply_done(CGI_REPLY_JSON, network_result_text(result));
}

// One request per camera, at most "cnt" and no more than the list holds
// (and no more than there are channels); an entry that is no object is
// skipped, never sent as an empty address.
int on_set_ipc_network_batch(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  json_object *entries = json_member(root.get(), "oIPCAddr");
  int count = member_int(root.get(), "cnt");
  if (count > array_length(entries)) count = array_length(entries);
  if (count > IPC_CHANNELS) count = IPC_CHANNELS;
  for (int i = 0; i < count; i++) {
    json_object *entry = array_at(entries, i);
    if (!json_object_is_type(entry, json_type_object)) continue;
    ipc_network_batch_entry e = {};
    fill_record(entry, &e.network, kNetworkFields);
    e.channelId = member_int(entry, "channelId");
    e.modifynum = member_int(entry, "modifynum");
    cgi_send_notice(3229, &e, sizeof e);
  }
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

int on_get_ipc_network_result(char *) {
  query(3230, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

// The count is trusted only as far as the answer and the 64 entries go.
void on_get_ipc_network_result_cb(const void *payload, int length) {
  int32_t count;
  if (!cgi_answer_status(payload, length, &count)) return;
  int held = (length - 4) / (int)sizeof(ipc_network_result);
  if (count > held) count = held;
  if (count > IPC_CHANNELS) count = IPC_CHANNELS;
  json_object *list = json_object_new_array();
  for (int i = 0; i < count; i++) {
    ipc_network_result r;
    memcpy(&r, static_cast<const char *>(payload) + 4 + i * sizeof r, sizeof r);
    json_object *o = json_object_new_object();
    json_add_text(o, "mac", field_text(r.mac));
    json_add_int(o, "result", r.result);
    json_object_array_add(list, o);
  }
  JsonPtr reply(json_object_new_object());
  json_object_object_add(reply.get(), "IPC", list);
  reply_json(reply.get());
}

int on_get_ipc_record_days(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  for (const char *key : {"time", "chnid", "streamType"}) {
    if (!has_member(root.get(), key)) return -1;
  }
  record_days_query q = {};
  int channel = member_int(root.get(), "chnid");
  if (channel < 0 || channel >= IPC_CHANNELS) return -1;
  if (!parse_month(json_object_get_string(json_member(root.get(), "time")), &q.year, &q.month)) {
    return -1;
  }
  q.subStream = member_int(root.get(), "streamType") == 1 ? 1 : 0;
  channel_mask_text(1ULL << channel, q.channels);
  query(3493, &q, sizeof q, CGI_REPLY_JSON);
  return 0;
}

void on_get_ipc_record_days_cb(const void *payload, int) {
  record_days_answer a;
  memcpy(&a, payload, sizeof a);
  JsonPtr reply(json_object_new_array());
  for (int day = 1; day <= RECORD_MONTH_DAYS; day++) {
    json_object_array_add(reply.get(), json_object_new_int(a.days[day] != 0 ? 1 : 0));
  }
  reply_json(reply.get());
}

namespace {
void reset_channel_list() {
  g_list = {};
}
}  // namespace

CGI_RESET_HOOK(reset_channel_list)
