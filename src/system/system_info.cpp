// What the recorder is (the daemon's device record, versions, uptime), its
// device name and number, and the small maintenance endpoints.
#include <cstdio>
#include <cstring>

#include "kxdb_network.h"
#include "system.h"
#include "system_info.h"

namespace {

constexpr int kDeviceInfoRequest = 3400;
constexpr int kNoticeDeviceId = 1705;
constexpr int kNoticeChanged = 1702;  // a 32-byte text naming what changed
constexpr int kUptimeRead = 63;
constexpr int kCompanyMax = 63;
constexpr int kHostNameMax = 127;

std::string uptime_text() {
  char buffer[kUptimeRead + 1] = {};
  FILE *out = kx_vpopen("uptime", "r");
  if (!out) return "";
  size_t n = fread(buffer, 1, kUptimeRead, out);
  kx_vpclose(out);
  return uptime_cut(std::string(buffer, strnlen(buffer, n)));
}

std::string param_string(const ParamKey &param, int max) {
  std::string buffer((size_t)max + 1, '\0');
  param_text(param, buffer.data(), max + 1);
  return std::string(buffer.c_str());
}

json_object *resource_json(const device_info &d) {
  json_object *o = json_object_new_object();
  json_add_int(o, "displayNum", d.displayNum);
  json_add_int(o, "maxAudioOut", d.maxAudioOut);
  json_add_int(o, "maxNetworkLan", d.maxNetworkLan);
  json_add_int(o, "maxSensor", d.maxSensor);
  json_add_int(o, "maxAlarm", d.maxAlarm);
  json_add_int(o, "maxCameras", d.maxCameras);
  json_add_int(o, "masRs485", d.masRs485);
  return o;
}

void add_identity(json_object *o, const device_info &d) {
  json_add_text(o, "hostName", "");
  json_add_text(o, "deviceName", field_text(d.model));
  json_add_int(o, "deviceId", d.deviceId);
  json_add_text(o, "product", field_text(d.model));
  json_add_text(o, "hwver", field_text(d.hardware));
  json_add_text(o, "software", field_text(d.software));
  json_add_int(o, "oemversion", d.oemversion);
  json_add_text(o, "sn", field_text(d.sn));
  json_add_text(o, "prefix", field_text(d.prefix));
  json_add_text(o, "pluginVersion", param_string(PARAM_PLUGIN_VERSION, kCompanyMax));
  json_add_text(o, "mpluginVersion", param_string(PARAM_MPLUGIN_VERSION, kCompanyMax));
  json_add_text(o, "macAddress", field_text(d.mac));
  json_add_int(o, "kxddns", d.kxddns);
}

int clear_param(const ParamKey &param) {
  if (set_param_int(KXDB_FILE, param.key, 0) != 0) return cgi_error_to_webserver(CGI_REPLY_TEXT);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

// "hostName" not empty and "deviceId" 1 to 255.
bool check_system_info(json_object *root) {
  json_object *name = json_member(root, "hostName");
  const char *text = name ? json_object_get_string(name) : nullptr;
  if (!text || !*text || !has_member(root, "deviceId")) return false;
  int id = member_int(root, "deviceId");
  return id >= 1 && id <= 255;
}

}  // namespace

std::string uptime_cut(const std::string &output) {
  size_t users = output.find("users");
  if (users != std::string::npos) return output.substr(0, users < 5 ? 0 : users - 5);
  size_t l = output.find('l');
  if (l != std::string::npos) return output.substr(0, l < 2 ? 0 : l - 2);
  return output;
}

void send_device_notices(int device_id) {
  int32_t id = device_id;
  cgi_send_notice(kNoticeDeviceId, &id, sizeof id);
  char changed[32] = "hostname";
  cgi_send_notice(kNoticeChanged, changed, sizeof changed);
}

int set_network_host_name(const char *name) {
  network_params network = {};
  read_network(KXDB_FILE, &network);  // a failed read goes on with the zeroed record
  snprintf(network.hostName, kHostNameMax + 1, "%s", name);
  return write_network(KXDB_FILE, &network);
}

int on_get_system_info(char *) {
  cgi_exchange(on_system_ipc_callback, kDeviceInfoRequest, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

void on_get_system_info_cb(int count, const void *payload) {
  if (count < 1) return;  // no record: as no answer
  device_info d;
  memcpy(&d, payload, sizeof d);
  JsonPtr reply(json_object_new_object());
  json_object *o = reply.get();
  add_identity(o, d);
  json_add_text(o, "uptime", uptime_text());
  json_add_text(o, "sncode", field_text(d.sn));
  json_object_object_add(o, "resource", resource_json(d));
  json_add_int(o, "kxfsDbup", param_int(PARAM_KXFS_DBUP));
  json_add_int(o, "transProtocol", param_int(PARAM_TRANSPORT_PROTOCOL));
  json_add_int(o, "streamInfo", param_int(PARAM_STREAM_INFORMATION));
  json_add_int(o, "oemonlineupdate", param_int(PARAM_OEMUPDATEONLINE));
  json_add_text(o, "company", param_string(PARAM_COMPANY, kCompanyMax));
  json_add_int(o, "isSupportTalk", d.isSupportTalk);
  json_writeback(CGI_REPLY_JSON, o);
  g_callback_done = 1;
}

int on_set_system_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || !check_system_info(root.get())) return -1;
  int id = member_int(root.get(), "deviceId");
  if (set_network_host_name(json_object_get_string(json_member(root.get(), "hostName"))) != 0 ||
      set_param_int(KXDB_FILE, PARAM_DEVICEID.key, id) != 0) {
    return cgi_error_to_webserver(CGI_REPLY_TEXT);
  }
  send_device_notices(id);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

int on_add_operation_log(char *) {
  log_info entry;
  cgi_init_log_info(&entry);
  entry.sub_type = 202;
  entry.param_type = 900;
  cgi_send_log_info(&entry);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

int on_clear_kxfs_dbup(char *) { return clear_param(PARAM_KXFS_DBUP); }

int on_clear_permission_update(char *) { return clear_param(PARAM_PERMISSION_UPDATE); }
