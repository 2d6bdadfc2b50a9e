// General settings: the local display outputs and audio, start-up and
// display flags, log and snapshot retention, UPnP and the automatic reboot.
#include <cstdio>

#include "kxdb_network.h"
#include "kxdb_port.h"
#include "system.h"
#include "system_info.h"

namespace {

constexpr int kNoticeSubOutput = 1023;    // int32: secondary output on or off
constexpr int kNoticeResolution = 1001;   // int32 output, int32 resolution
constexpr int kNoticeOutputs = 1015;      // the outputs' resolutions changed
constexpr int kNoticeAudio = 1002;        // HDMI audio, audio output, volume
constexpr int kNoticeRestart = 1703;
constexpr int kNoticeMaintain = 2102;
constexpr int kNoticeUpnp = 3720;         // the whole UPnP record
constexpr int kNoticeAutoReboot = 1718;

int text_param_int(const ParamKey &param) {
  char text[32];
  param_text(param, text, sizeof text);
  return bare_number(text);
}

bool is_flag(json_object *root, const char *key) {
  if (!has_member(root, key)) return false;
  int v = member_int(root, key);
  return v == 0 || v == 1;
}

bool in_range(json_object *root, const char *key, int low, int high) {
  if (!has_member(root, key)) return false;
  int v = member_int(root, key);
  return v >= low && v <= high;
}

// Every key is required.
bool check_general_info(json_object *root) {
  for (const char *flag : {"audioOutputOn", "hdmiAudioOn", "wizardEnable", "displayMode",
                           "subEnable"}) {
    if (!is_flag(root, flag)) return false;
  }
  for (const char *any : {"mainResolution", "subResolution", "hostname"}) {
    if (!has_member(root, any)) return false;
  }
  if (!in_range(root, "audioVolume", 0, 100) || member_int(root, "audioVolume") % 10 != 0) {
    return false;
  }
  return in_range(root, "deviceId", 0, 256);
}

// -1, 0, 1 or an even number from 2 to 12.
bool retention_ok(json_object *root, const char *key) {
  if (!has_member(root, key)) return false;
  int v = member_int(root, key);
  return (v >= -1 && v <= 1) || (v >= 2 && v <= 12 && v % 2 == 0);
}

// What the write of the general settings decided, for its notices.
struct GeneralChange {
  int cur_control;
  bool homologous_changed;
  bool send_sub_enable;
  int sub_enable;
  bool resolution_changed;
  display_params display;
};

// Steps on the display record; the record is written by the caller.
GeneralChange apply_display(json_object *root) {
  GeneralChange c = {};
  read_display(KXDB_FILE, &c.display);  // a failed read goes on with the zeroed record
  display_params &d = c.display;
  c.cur_control = d.curControl;
  int old_main = d.mainResolution;
  int old_sub = d.subResolution;
  d.mainResolution = member_int(root, "mainResolution");
  d.audioOutputOn = member_int(root, "audioOutputOn");
  d.audioVolume = member_int(root, "audioVolume");
  d.audioStereo = member_int(root, "audioStereo");
  d.hdmiAudioOn = member_int(root, "hdmiAudioOn");
  d.subResolution = member_int(root, "subResolution");
  c.sub_enable = member_int(root, "subEnable");
  c.homologous_changed = member_int(root, "isHomologousChanged") != 0;
  if (c.homologous_changed) d.subEnable = member_int(root, "homologous") == 0 ? 1 : 0;
  c.send_sub_enable = d.subEnable != c.sub_enable && !c.homologous_changed && c.cur_control == 0;
  c.resolution_changed = d.mainResolution != old_main || d.subResolution != old_sub;
  return c;
}

int store_general(json_object *root, const GeneralChange &c) {
  if (c.homologous_changed) {
    char quick[16];
    snprintf(quick, sizeof quick, "%d", c.display.subEnable);
    if (set_param_int(KXDB_FILE, PARAM_HOMOLOGOUS.key, member_int(root, "homologous")) != 0 ||
        set_param_value(KXDB_FILE, PARAM_QUICK_SCREEN.key, quick) != 0) {
      return -1;
    }
  }
  if (write_display(KXDB_FILE, &c.display) != 0) return -1;
  char name[NETWORK_HOSTNAME_SIZE];
  member_text(root, "hostname", name, sizeof name);
  if (set_network_host_name(name) != 0) return -1;
  const std::pair<const ParamKey *, const char *> ints[] = {
      {&PARAM_DEVICEID, "deviceId"},       {&PARAM_WIZARD_ENABLE, "wizardEnable"},
      {&PARAM_DISPLAY_MODE, "displayMode"}, {&PARAM_HDMIHOTPLUG, "hdmihotplug"},
      {&PARAM_STREAM_INFORMATION, "streamInfo"}};
  for (auto [param, key] : ints) {
    if (set_param_int(KXDB_FILE, param->key, member_int(root, key)) != 0) return -1;
  }
  return 0;
}

void send_resolution(int output, int resolution) {
  int32_t pair[2] = {output, resolution};
  cgi_send_notice(kNoticeResolution, pair, sizeof pair);
}

void send_general_notices(json_object *root, const GeneralChange &c) {
  if (c.send_sub_enable) {
    int32_t sub = c.sub_enable;
    cgi_send_notice(kNoticeSubOutput, &sub, sizeof sub);
  }
  send_device_notices(member_int(root, "deviceId"));
  if (c.resolution_changed) {
    send_resolution(0, c.display.mainResolution);
    send_resolution(1, c.display.subResolution);
    cgi_send_notice(kNoticeOutputs, nullptr, 0);
  }
  int32_t audio[3] = {c.display.hdmiAudioOn, c.display.audioOutputOn, c.display.audioVolume};
  cgi_send_notice(kNoticeAudio, audio, sizeof audio);
  log_info entry;
  cgi_init_log_info(&entry);
  entry.sub_type = 204;
  entry.param_type = 913;
  cgi_send_log_info(&entry);
}

int reply_object(json_object *object) {
  JsonPtr owned(object);
  json_writeback(CGI_REPLY_JSON, owned.get());
  return 0;
}

struct IntKey {
  const char *key;
  int32_t autoreboot_params::*field;
};
constexpr IntKey kRebootKeys[] = {{"enable", &autoreboot_params::enable},
                                  {"wday", &autoreboot_params::wday},
                                  {"hour", &autoreboot_params::hour},
                                  {"minutes", &autoreboot_params::minutes},
                                  {"seconds", &autoreboot_params::seconds}};

}  // namespace

int on_get_general_info(char *) {
  display_params d = {};
  read_display(KXDB_FILE, &d);
  network_params network = {};
  read_network(KXDB_FILE, &network);
  json_object *o = json_object_new_object();
  json_add_int(o, "displayMode", text_param_int(PARAM_DISPLAY_MODE));
  json_add_int(o, "hdmihotplug", text_param_int(PARAM_HDMIHOTPLUG));
  json_add_int(o, "mainResolution", d.mainResolution);
  json_add_int(o, "hdmiAudioOn", d.hdmiAudioOn);
  json_add_int(o, "homologous", param_int(PARAM_HOMOLOGOUS));
  json_add_int(o, "curControl", d.curControl);
  json_add_int(o, "subEnable", d.subEnable);
  json_add_int(o, "subResolution", d.subResolution);
  json_add_int(o, "audioOutputOn", d.audioOutputOn);
  json_add_int(o, "audioVolume", d.audioVolume);
  json_add_int(o, "deviceId", text_param_int(PARAM_DEVICEID));
  json_add_text(o, "hostname", field_text(network.hostName));
  json_add_int(o, "wizardEnable", text_param_int(PARAM_WIZARD_ENABLE));
  json_add_int(o, "hideTaskBar", text_param_int(PARAM_HIDE_TASKBAR));
  json_add_int(o, "hideToolBar", text_param_int(PARAM_HIDE_TOOLBAR));
  return reply_object(o);
}

int on_set_general_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || !check_general_info(root.get())) return -1;
  GeneralChange change = apply_display(root.get());
  // Everything is stored before the daemon is told: a failed write sends
  // no notice and no log entry.
  if (store_general(root.get(), change) != 0) return cgi_error_to_webserver(CGI_REPLY_TEXT);
  send_general_notices(root.get(), change);
  cgi_writeback_webserver(CGI_REPLY_TEXT, change.cur_control != 0 ? "SUB" : "OK");
  if (change.homologous_changed) cgi_send_notice(kNoticeRestart, nullptr, 0);
  return 0;
}

int on_get_auto_maintenance(char *) {
  disk_maintain_params m = {};
  read_disk_maintain_info(KXDB_FILE, &m);
  json_object *o = json_object_new_object();
  json_add_int(o, "logRetention", m.logRetention);
  json_add_int(o, "photoRetention", m.photoRetention);
  return reply_object(o);
}

int on_set_auto_maintenance(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || !retention_ok(root.get(), "logRetention") ||
      !retention_ok(root.get(), "photoRetention")) {
    return -1;
  }
  disk_maintain_params m = {member_int(root.get(), "logRetention"),
                            member_int(root.get(), "photoRetention")};
  if (write_disk_maintain_info(KXDB_FILE, &m) != 0) return cgi_error_to_webserver(CGI_REPLY_TEXT);
  cgi_send_notice(kNoticeMaintain, nullptr, 0);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

int on_get_upnp_info(char *) {
  upnp_params u = {};
  read_upnp(KXDB_FILE, &u);
  port_params port = {};
  read_port(KXDB_FILE, &port);
  json_object *o = json_object_new_object();
  json_add_int(o, "enable", u.enable);
  json_add_int(o, "type", u.type);
  json_add_int(o, "external_http_port", u.external_http_port);
  json_add_int(o, "http_status", u.http_status);
  json_add_int(o, "external_rtsp_port", u.external_rtsp_port);
  json_add_int(o, "rtsp_status", u.rtsp_status);
  json_add_int(o, "http_port", port.httpPort);
  json_add_int(o, "rtsp_port", port.rtspPort);
  return reply_object(o);
}

// The daemon stores the record and maps the ports; nothing is written here.
int on_set_upnp_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  upnp_params u = {};
  read_upnp(KXDB_FILE, &u);
  u.enable = member_int(root.get(), "enable");
  u.type = member_int(root.get(), "type");
  u.external_http_port = member_int(root.get(), "external_http_port");
  u.external_rtsp_port = member_int(root.get(), "external_rtsp_port");
  cgi_send_notice(kNoticeUpnp, &u, sizeof u);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

int on_get_auto_reboot(char *) {
  autoreboot_params r = {};
  read_autoreboot_conf(KXDB_FILE, &r);
  json_object *o = json_object_new_object();
  for (const IntKey &k : kRebootKeys) json_add_int(o, k.key, r.*k.field);
  return reply_object(o);
}

int on_set_auto_reboot(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  autoreboot_params r = {};
  read_autoreboot_conf(KXDB_FILE, &r);
  for (const IntKey &k : kRebootKeys) r.*k.field = member_int(root.get(), k.key);
  if (write_autoreboot_conf(KXDB_FILE, &r) != 0) return cgi_error_to_webserver(CGI_REPLY_TEXT);
  cgi_send_notice(kNoticeAutoReboot, nullptr, 0);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}
