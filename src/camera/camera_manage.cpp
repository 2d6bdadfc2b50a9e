// Camera management handlers (table in camera_manage_table.cpp).
#include "camera_manage.h"

#include <cstdio>
#include <cstring>

#include "json_codecs.h"
#include "kxdb.h"
#include "kxdb_camera.h"
#include "kxdb_port.h"
#include "kxdb_record.h"
#include "network/network_records.h"
#include "web_utils.h"

namespace {

constexpr int kReqRecordModeChanged = 1407;  // int32 channel, no wait
constexpr int kReqCameraEnabled = 1201;      // int32 id, no wait
constexpr int kReqCameraDisabled = 1202;     // int32 id, no wait
constexpr int kAddressLookedAt = 127;        // characters of "ipAddr" checked

void reply_ok() { cgi_writeback_webserver(CGI_REPLY_TEXT, "OK"); }

// Stores a switch value under `key` as a number; "OK" or "CGI ERROR".
int store_switch(char *text, const char *request_key, const char *param_key) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  if (set_param_int(KXDB_FILE, param_key, member_int(root.get(), request_key)) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  reply_ok();
  return 0;
}

const char *address_of(json_object *root) {
  json_object *value = nullptr;
  if (!json_object_object_get_ex(root, "ipAddr", &value)) return nullptr;
  return json_object_get_string(value);
}

}  // namespace

int on_set_ssh_enable(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  port_params port = {};
  if (read_port(KXDB_FILE, &port) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  port.enableSsh = member_int(root.get(), "sshEnable");
  if (write_port(KXDB_FILE, &port) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  reply_ok();
  settings_changed_notice notice = {"more"};
  cgi_send_notice(NETWORK_REQ_SETTINGS_CHANGED, &notice, sizeof notice);
  return 0;
}

int on_set_auto_login(char *text) {
  return store_switch(text, "autoLoginEnable", "local_auth_enable");
}

int on_set_wizard_enable(char *text) {
  return store_switch(text, "wizardEnable", "wizard_enable");
}

// Every channel's record gets the mode; a channel whose record could not be
// read keeps its own id (its factory default), never another channel's.
int on_set_record_mode_all(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int mode = member_int(root.get(), "recordMode");
  record_params records[RECORD_CHANNELS] = {};
  int count = 0;
  if (read_records(KXDB_FILE, records, &count) != 0) count = 0;
  for (int ch = 0; ch < RECORD_CHANNELS; ch++) {
    if (ch >= count || records[ch].id != ch) {
      records[ch] = {};
      records[ch].id = ch;
    }
    records[ch].mode = mode;
    write_record(KXDB_FILE, &records[ch]);
  }
  reply_ok();
  for (int32_t ch = 0; ch < RECORD_CHANNELS; ch++) {
    cgi_send_notice(kReqRecordModeChanged, &ch, sizeof ch);
  }
  return 0;
}

int check_ipc_parms(json_object *root) {
  if (!has_member(root, "id") || !has_member(root, "enable") || !has_member(root, "ipAddr") ||
      !has_member(root, "managePort")) {
    return -1;
  }
  int id = member_int(root, "id");
  int enable = member_int(root, "enable");
  const char *address = address_of(root);
  if (id < 0 || id >= CAMERA_CHANNELS || enable < 0 || enable >= 2) return -1;
  if (!address || strnlen(address, kAddressLookedAt) == 0) return -1;
  return member_int(root, "managePort") >= 0 ? 0 : -1;
}

int on_set_ipc_parms(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || check_ipc_parms(root.get()) != 0) return -1;
  int32_t id = member_int(root.get(), "id");
  camera_params c = {};
  if (read_camera(KXDB_FILE, &c, id) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  c.enable = member_int(root.get(), "enable");
  member_text(root.get(), "ipAddr", c.ipAddr, sizeof c.ipAddr);
  c.managePort = member_int(root.get(), "managePort");
  c.camProtocol = 0;  // a connection set here speaks ONVIF
  member_text(root.get(), "userName", c.userName, sizeof c.userName);
  member_text(root.get(), "password", c.password, sizeof c.password);
  if (write_camera(KXDB_FILE, &c) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  cgi_send_notice(c.enable ? kReqCameraEnabled : kReqCameraDisabled, &id, sizeof id);
  reply_ok();
  return 0;
}
