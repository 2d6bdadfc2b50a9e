// "/1010", "/1034", "/1011", "/6082" to "/6089": firmware upgrades of the
// recorder and its cameras, from an uploaded image or the online service.
// The images are put in place by other parts of the recorder; these
// handlers test for them and tell the daemon what to do with them.
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "maintenance.h"
#include "system.h"

namespace {

constexpr int kLogUpgrade = 203;
constexpr int kImageSystem = 0;
constexpr int kImageCamera = 1;
// The daemon needs this long to prepare for an upgrade (request 1721).
constexpr std::chrono::milliseconds kUpgradeInitSettle{500};

void reply_res(int value) {
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "res", value);
  json_writeback(CGI_REPLY_JSON, reply.get());
}

// The "type" of an online-upgrade request: 0 the recorder, 1 the cameras;
// -1 for an unparsable request or any other type.
int image_type(json_object *root) {
  if (!root) return -1;
  int type = member_int(root, "type");
  return type == kImageSystem || type == kImageCamera ? type : -1;
}

// Exchanges 1713 (apply the recorder image) and gives the flag the decoder
// left: 1 for success, else the daemon's status, 0 without an answer.
int apply_system_image(int32_t reset) {
  cgi_exchange(on_system_ipc_callback, 1713, &reset, sizeof reset, CGI_REPLY_NONE);
  return g_callback_done.load();
}

json_object *upgrade_info_json(const online_upgrade_info &info) {
  json_object *o = json_object_new_object();
  json_add_int(o, "state", info.state);
  json_add_int(o, "fileSize", info.file_size);
  json_object_object_add(o, "softversion", json_field_string(info.softversion, sizeof info.softversion));
  json_object_object_add(o, "url", json_field_string(info.url, sizeof info.url));
  json_object_object_add(o, "description",
                         json_field_string(info.description, sizeof info.description));
  return o;
}

// The query part of an upload text ("temp & QUERY"); empty without one.
const char *upload_query(const char *text) {
  const char *separator = strstr(text, " & ");
  return separator ? separator + 3 : "";
}

}  // namespace

int on_upgrade_system(char *text) {
  // The query is searched where it lies: it may be as long as the request.
  int32_t reset = strstr(upload_query(text), "reset") ? 1 : 0;
  send_maintenance_log(kLogUpgrade);
  int flag = apply_system_image(reset);
  if (flag != 1) {
    char number[16];
    snprintf(number, sizeof number, "%d", flag);
    return cgi_writeback_webserver(CGI_REPLY_TEXT, number);
  }
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  send_restart_requests();
  return 0;
}

// Response 6713: one int32 status. The status itself becomes the flag, so
// that the handler can report it; 0 (success) is stored as 1.
void on_upgrade_system_cb(int count, const void *payload) {
  if (count < 1) return;
  int32_t status;
  memcpy(&status, payload, sizeof status);
  g_callback_done = status == 0 ? 1 : status;
}

int on_nvr_online_upgrade(char *) {
  cgi_send_notice(1721, nullptr, 0);
  send_maintenance_log(kLogUpgrade);
  int flag = apply_system_image(0);
  // Without an answer nothing was applied: {"res": 0} would read as success.
  if (flag == 0) return cgi_error_to_webserver(CGI_REPLY_JSON);
  reply_res(flag == 1 ? 0 : flag);
  if (flag == 1) send_restart_requests();
  return 0;
}

int on_cgi_upgrade_system_init(char *) {
  cgi_send_notice(1721, nullptr, 0);
  cgi_ipc_pause(kUpgradeInitSettle);
  reply_res(0);
  return 0;
}

int on_clean_upgrade_files(char *) {
  // Reports whether an uploaded recorder image is still in place.
  return cgi_writeback_webserver(CGI_REPLY_TEXT,
                                 IsFileExisted(SYSTEM_IMAGE_PATH) == 0 ? "Error" : "OK");
}

int on_upgrade_camera(char *) {
  return cgi_writeback_webserver(CGI_REPLY_TEXT,
                                 IsFileExisted(CAMERA_IMAGE_PATH) == 0 ? "OK" : "Error");
}

int on_start_upgrade_camera(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return cgi_error_to_webserver(CGI_REPLY_JSON);
  camera_upgrade_request request = {};
  request.channel = member_int(root.get(), "chnid");
  request.reset = member_int(root.get(), "reset");
  snprintf(request.path, sizeof request.path, "%s", CAMERA_IMAGE_PATH);
  cgi_exchange(on_system_ipc_callback, 3350, &request, sizeof request);
  return 0;
}

// Response 8350: the channel and the upgrade's status.
void on_start_upgrade_camera_cb(int count, const void *payload) {
  if (count < 1) return;
  camera_upgrade_status answer;
  memcpy(&answer, payload, sizeof answer);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "chnid", answer.channel);
  json_add_int(reply.get(), "status", answer.status);
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}

int on_stop_upgrade_camera(char *) {
  unlink(CAMERA_IMAGE_PATH);
  cgi_send_notice(3351, nullptr, 0);
  return cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
}

int on_get_online_upgrade(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int type = image_type(root.get());
  if (type < 0) return cgi_error_to_webserver(CGI_REPLY_JSON);
  online_download_request request = {};
  member_text(root.get(), "url", request.url, sizeof request.url);
  snprintf(request.path, sizeof request.path, "%s",
           type == kImageSystem ? SYSTEM_IMAGE_PATH : CAMERA_IMAGE_PATH);
  cgi_send_notice(1721, nullptr, 0);
  cgi_exchange(on_system_ipc_callback, 1716, &request, sizeof request);
  return 0;
}

// Responses 6716 and 6717: one int32 result, replied as {"res": n}.
void on_online_upgrade_status_cb(int count, const void *payload) {
  if (count < 1) return;
  int32_t value;
  memcpy(&value, payload, sizeof value);
  reply_res(value);
  g_callback_done = 1;
}

int on_del_online_upgrade(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int type = image_type(root.get());
  if (type < 0) return cgi_error_to_webserver(CGI_REPLY_JSON);
  if (type == kImageSystem) {
    unlink(SYSTEM_IMAGE_PATH);  // a missing image is no failure
    reply_res(0);
    return 0;
  }
  cgi_exchange(on_system_ipc_callback, 1717, nullptr, 0);
  return 0;
}

int on_check_nvr_online_upgrade(char *) {
  cgi_exchange(on_system_ipc_callback, 1715, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

// Response 6715: information records; the first is the recorder's. An
// answer too short to hold one is refused at once.
void on_check_nvr_online_upgrade_cb(int count, const void *payload) {
  if (count < 1) {
    cgi_reply_done(CGI_REPLY_JSON, "{status:\"CGI ERROR\"}");
    return;
  }
  online_upgrade_info info;
  memcpy(&info, payload, sizeof info);
  JsonPtr reply(upgrade_info_json(info));
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}

uint64_t upgrade_check_mask(const char *text) {
  uint64_t mask = 0;
  for (int i = 0; text && i < UPGRADE_CHECK_CHANNELS; i++) {
    if (text[i] == '1') kx_set_bit(&mask, i);
    else if (text[i] != '0') break;
  }
  return mask;
}

int on_check_ipc_online_upgrade(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return cgi_error_to_webserver(CGI_REPLY_JSON);
  camera_check_request request = {};
  request.mask = upgrade_check_mask(json_object_get_string(json_member(root.get(), "ch")));
  cgi_exchange(on_system_ipc_callback, 3365, &request, sizeof request);
  return 0;
}

// Response 8365: one information record per channel, all 64 of them.
void on_check_ipc_online_upgrade_cb(int count, const void *payload) {
  if (count < 1) return;
  const auto *records = static_cast<const unsigned char *>(payload);
  JsonPtr reply(json_object_new_object());
  json_object *list = json_object_new_array();
  for (int ch = 0; ch < UPGRADE_CHECK_CHANNELS; ch++) {
    online_upgrade_info info;
    memcpy(&info, records + ch * sizeof info, sizeof info);
    json_object_array_add(list, upgrade_info_json(info));
  }
  json_object_object_add(reply.get(), "check", list);
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}
