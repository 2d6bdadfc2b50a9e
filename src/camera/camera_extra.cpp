// Further camera features read and changed through the daemon: the video
// watermark, the event stream, the night mode of a licence-plate camera,
// PTZ support, camera type, a custom parameter, the capability flags, the
// recorder's chip code and the motion status of every channel.
#include <cstring>
#include <string>

#include "camera_extra.h"
#include "camera_extra_records.h"
#include "camera_util.h"

using namespace camera;

namespace {

constexpr int kMaxChannel = IPC_CHANNELS - 1;

// The request JSON when it parses and its "chnid" is a channel, else null
// after the JSON error reply.
json_object *channel_request(const char *text, int32_t *channel) {
  json_object *root = get_request_tokener_json_object(text);
  *channel = root ? member_int(root, "chnid") : -1;
  if (root && *channel >= 0 && *channel <= kMaxChannel) return root;
  if (root) json_object_put(root);
  cgi_error_to_webserver(CGI_REPLY_JSON);
  return nullptr;
}


template <class Record>
bool read_record(const void *payload, int length, Record *record) {
  if (!whole_record(length, sizeof *record)) return false;
  memcpy(record, payload, sizeof *record);
  return true;
}

}  // namespace

namespace camera {
int query_checked_channel(const char *text, int code) {
  int32_t channel;
  JsonPtr root(channel_request(text, &channel));
  if (!root) return -1;
  query(code, &channel, sizeof channel, CGI_REPLY_JSON);
  return 0;
}

void reply_res(const void *payload, int length) {
  if (!whole_record(length, sizeof(int32_t))) return;
  int32_t res;
  memcpy(&res, payload, sizeof res);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "res", res);
  reply_json(reply.get());
}

bool whole_record(int length, size_t size) {
  if (length >= 0 && (size_t)length / size >= 1) return true;
  cgi_error_to_webserver(CGI_REPLY_JSON);
  g_callback_done = 1;
  return false;
}
}  // namespace camera

// ---- Watermark ----
int on_cgi_get_watermark(char *text) { return query_checked_channel(text, 1213); }

int on_cgi_set_watermark(char *text) {
  watermark_request request = {};
  JsonPtr root(channel_request(text, &request.channel));
  if (!root) return -1;
  request.enable = member_int(root.get(), "enable");
  member_text(root.get(), "watermark", request.watermark, sizeof request.watermark);
  member_text(root.get(), "copy", request.copy, sizeof request.copy);
  request.copy[request.channel] = '1';
  query(1216, &request, sizeof request, CGI_REPLY_JSON);
  return 0;
}

void on_cgi_get_watermark_cb(const void *payload, int length) {
  watermark_answer answer;
  if (!read_record(payload, length, &answer)) return;
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "chnid", answer.channel);
  json_add_int(reply.get(), "enable", answer.enable);
  json_add_text(reply.get(), "watermark", field_text(answer.watermark));
  reply_json(reply.get());
}

void on_cgi_set_watermark_cb(const void *payload, int length) { reply_res(payload, length); }

// ---- Event stream ----
int on_cgi_get_ipc_event_stream(char *text) {
  event_stream_query request = {};
  JsonPtr root(channel_request(text, &request.channel));
  if (!root) return -1;
  request.fisheyeType = member_int(root.get(), "fisheyeType");
  query(1217, &request, sizeof request, CGI_REPLY_JSON);
  return 0;
}

namespace {
using E = event_stream;
const JsonField kEventStreamFields[] = {
    CAMERA_INT(E, channel, "chnid", nullptr), CAMERA_INT_KEY(E, enable),
    CAMERA_INT_KEY(E, framerate),             CAMERA_INT_KEY(E, bitrate),
    CAMERA_INT_KEY(E, iframeinterval),
};
}  // namespace

int on_cgi_set_ipc_event_stream(char *text) {
  event_stream request = {};
  JsonPtr root(channel_request(text, &request.channel));
  if (!root) return -1;
  fill_record(root.get(), &request, kEventStreamFields);
  query(1218, &request, sizeof request, CGI_REPLY_JSON);
  return 0;
}

void on_cgi_get_ipc_event_stream_cb(const void *payload, int length) {
  event_stream answer;
  if (!read_record(payload, length, &answer)) return;
  JsonPtr reply(json_object_new_object());
  add_record(reply.get(), answer, kEventStreamFields);
  reply_json(reply.get());
}

void on_cgi_set_ipc_event_stream_cb(const void *payload, int length) {
  reply_res(payload, length);
}

// ---- Night mode, PTZ support, camera type ----
int on_cgi_get_ipc_lpr_night_mode(char *text) { return query_checked_channel(text, 1219); }
int on_cgi_get_ptz_support(char *text) { return query_checked_channel(text, 1262); }
int on_cgi_get_ipc_type(char *text) { return query_checked_channel(text, 2507); }

void on_cgi_get_ipc_lpr_night_mode_cb(const void *payload, int length) {
  lpr_night_mode answer;
  if (!read_record(payload, length, &answer)) return;
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "chnid", answer.channel);
  json_add_int(reply.get(), "nightMode", answer.nightMode);
  reply_json(reply.get());
}

void on_cgi_get_ptz_support_cb(const void *payload, int length) { reply_res(payload, length); }

void on_cgi_get_ipc_type_cb(const void *payload, int length) {
  channel_model answer;
  if (!read_record(payload, length, &answer)) return;
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "chnid", answer.channel);
  json_add_text(reply.get(), "ipaddr", field_text(answer.ipaddr));
  json_add_text(reply.get(), "model", field_text(answer.model));
  json_add_text(reply.get(), "fwversion", field_text(answer.fwversion));
  reply_json(reply.get());
}

// ---- Custom parameter ----
int on_cgi_get_ipc_custom_param(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return cgi_error_to_webserver(CGI_REPLY_JSON), -1;
  custom_param_request request = {};
  request.channel = member_int(root.get(), "chnid");
  if (request.channel > kMaxChannel || request.channel < 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  member_text(root.get(), "url", request.url, sizeof request.url);
  query(3377, &request, sizeof request, CGI_REPLY_JSON);
  return 0;
}

void on_cgi_get_ipc_custom_param_cb(const void *payload, int length) {
  custom_param_answer answer;
  if (!read_record(payload, length, &answer)) return;
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "res", answer.res);
  json_add_int(reply.get(), "chnid", answer.channel);
  json_add_text(reply.get(), "data", field_text(answer.data));
  reply_json(reply.get());
}

// ---- Capability flags ----
int on_cgi_get_ipc_system_info(char *text) { return query_checked_channel(text, 3376); }

void on_cgi_get_ipc_system_info_cb(const void *payload, int length) {
  static const struct { const char *key; int word; } kFlags[] = {
      {"res", 0},
      {"audioSupport", 1},
      {"audioSupportMode", 2},
      {"audioLineInputSupport", 3},
      {"systemSpeakerSupport", 4},
      {"systemManualSpeedSupport", 5},
      {"systemAutoTrackingSupport", 41},
  };
  ipc_system_info answer;
  if (!read_record(payload, length, &answer)) return;
  JsonPtr reply(json_object_new_object());
  for (const auto &flag : kFlags) json_add_int(reply.get(), flag.key, answer.words[flag.word]);
  reply_json(reply.get());
}

// ---- Chip code and motion status: no request keys, text time-out ----
int on_web_get_chip_code(char *) {
  query(4004, nullptr, 0, CGI_REPLY_TEXT);
  return 0;
}

void on_get_get_chip_code_cb(const void *payload, int length) {
  const char *text = static_cast<const char *>(payload);
  JsonPtr reply(json_object_new_object());
  json_add_text(reply.get(), "chip_code", text ? std::string(text, strnlen(text, length)) : "");
  reply_json(reply.get());
}

int on_web_get_motion_status(char *) {
  query(3307, nullptr, 0, CGI_REPLY_TEXT);
  return 0;
}

void on_web_get_motion_status_cb(const void *payload, int) {
  motion_status answer;
  memcpy(&answer, payload, sizeof answer);  // the route asks for the whole record
  char text[IPC_CHANNELS + 1];
  channel_mask_text((uint64_t)answer.mask_high << 32 | answer.mask_low, text);
  JsonPtr reply(json_object_new_object());
  json_add_text(reply.get(), "Motion", text);
  reply_json(reply.get());
}

// ---- Liveness of the program itself ----
int on_cgi_check_alive(char *text) {
  cgi_writeback_webserver(CGI_REPLY_TEXT, text && text[0] ? "CGI SUCCESS" : "CGI ERROR");
  return 0;
}
