// Firmware upgrade of cameras: which channels take the uploaded firmware and
// which are reset afterwards ("/2078"), the start ("/2080"), the status of
// each channel ("/2079") and the stop ("/2081").
#include <cstdio>
#include <cstring>
#include <string>

#include "camera_extra.h"
#include "camera_extra_records.h"
#include "camera_util.h"

using namespace camera;

namespace {

// Bit i for each character i '1' among the first 16 of the member `key`.
uint64_t mask_of_16(json_object *root, const char *key) {
  char text[IPC_UPGRADE_CHANNELS + 1] = {};
  member_text(root, key, text, sizeof text);
  uint64_t mask = 0;
  for (int i = 0; i < IPC_UPGRADE_CHANNELS && text[i]; i++) {
    if (text[i] == '1') mask |= 1ULL << i;
  }
  return mask;
}

void split(uint64_t mask, uint32_t *low, uint32_t *high) {
  *low = (uint32_t)mask;
  *high = (uint32_t)(mask >> 32);
}

uint64_t mask_of(const ipc_upgrade_status &s) { return (uint64_t)s.mask_high << 32 | s.mask_low; }

std::string mask_text_16(uint64_t mask) {
  std::string text(IPC_UPGRADE_CHANNELS, '0');
  for (int i = 0; i < IPC_UPGRADE_CHANNELS; i++) {
    if (mask >> i & 1) text[i] = '1';
  }
  return text;
}

}  // namespace

int on_set_ipc_upgrade_masks(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return cgi_error_to_webserver(CGI_REPLY_JSON), -1;
  ipc_upgrade_masks request = {};
  split(mask_of_16(root.get(), "chnMask"), &request.upgrade_low, &request.upgrade_high);
  split(~mask_of_16(root.get(), "resetMask"), &request.keep_low, &request.keep_high);
  request.fileSize = member_int(root.get(), "fileSize");
  query(3385, &request, sizeof request, CGI_REPLY_JSON);
  return 0;
}

void on_set_ipc_upgrade_masks_cb(const void *payload, int length) {
  reply_res(payload, length);
}

int on_set_ipc_firmware_upgrade(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return cgi_error_to_webserver(CGI_REPLY_JSON), -1;
  json_object *channels = json_member(root.get(), "chnAry");
  uint64_t mask = 0;
  for (int i = 0; i < array_length(channels); i++) {
    int channel = json_object_get_int(array_at(channels, i));
    if (channel >= 0 && channel < IPC_CHANNELS) mask |= 1ULL << channel;  // others set no bit
  }
  ipc_upgrade_start request = {};
  split(mask, &request.mask_low, &request.mask_high);
  request.reset = member_int(root.get(), "reset");
  member_text(root.get(), "url", request.url, sizeof request.url);
  snprintf(request.file, sizeof request.file, "%s", IPC_UPGRADE_FILE);
  query(3379, &request, sizeof request, CGI_REPLY_JSON);
  return 0;
}

void on_set_ipc_firmware_upgrade_cb(const void *payload, int length) {
  ipc_upgrade_status answer;
  if (!whole_record(length, sizeof answer)) return;
  memcpy(&answer, payload, sizeof answer);
  uint64_t mask = mask_of(answer);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "chnid", (int32_t)answer.mask_low);
  json_object *status = json_object_new_array();
  for (int i = 0; i < IPC_UPGRADE_CHANNELS; i++) {
    if (mask >> i & 1) json_object_array_add(status, json_object_new_int(answer.status[i]));
  }
  json_object_object_add(reply.get(), "status", status);
  json_add_text(reply.get(), "chnMask", mask_text_16(mask));
  reply_json(reply.get());
}

int on_get_ipc_firmware_status_text(char *) {
  query(3386, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

void on_get_ipc_firmware_status_text_cb(const void *payload, int length) {
  ipc_upgrade_status answer;
  if (length < (int)sizeof answer) {
    cgi_reply_done(CGI_REPLY_TEXT, "CGI ERROR");
    return;
  }
  memcpy(&answer, payload, sizeof answer);
  uint64_t mask = mask_of(answer);
  char line[64];
  snprintf(line, sizeof line, "chnid=%lld\r\n", (long long)(int64_t)mask);
  std::string report = line;
  for (int i = 0; i < IPC_UPGRADE_CHANNELS; i++) {
    if (!(mask >> i & 1)) continue;
    snprintf(line, sizeof line, "status%d=%d\r\n", i, (int)answer.status[i]);
    report += line;
  }
  report += "chnMask=" + mask_text_16(mask) + "\r\n";
  cgi_reply_done(CGI_REPLY_TEXT, report.c_str());
}

int on_set_ipc_upgrade_stop(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int32_t stop = member_int(root.get(), "stop");
  cgi_send_notice(3390, &stop, sizeof stop);
  return 0;
}
