// Live view: starting and stopping a channel's live stream, the stream
// addresses of every channel, the ports seen from outside, and the player's
// channel checks and log entries.
#include <algorithm>

#include "playback_util.h"
#include "request_reset.h"

using namespace playback;

namespace {

// The live stream the daemon started (set from 8500 on the receive thread,
// logged by the handler once its wait is over).
struct {
  bool started = false;
  int32_t channel = 0;
} g_live;

// id 0 to 15, streamType and streamFrom 0 or 1, all present.
bool live_request_of(const char *text, live_request *request) {
  JsonPtr root = parse_object(text);
  if (!root || !has_members(root.get(), {"id", "streamType", "streamFrom"})) return false;
  request->id = member_int(root.get(), "id");
  request->streamType = member_int(root.get(), "streamType");
  request->streamFrom = member_int(root.get(), "streamFrom");
  return is_player_channel(request->id) && (request->streamType == 0 || request->streamType == 1) &&
         (request->streamFrom == 0 || request->streamFrom == 1);
}

// A bare channel number of the player (0 to 15); false for anything else.
bool player_channel_of(const char *text, int *channel) {
  return bare_number(text, channel) && is_player_channel(*channel);
}

// The player's channel endpoints: log the channel and answer "OK".
int log_channel_and_reply(const char *text, int sub_type, bool as_remote_user) {
  int channel = 0;
  if (!player_channel_of(text, &channel)) return -1;
  log_info entry;
  cgi_init_log_info(&entry);
  entry.sub_type = sub_type;
  entry.param_type = LOG_PARAM_CHANNEL;
  entry.channel = log_channel(channel);
  if (as_remote_user) {
    memset(entry.user_name, 0, sizeof entry.user_name);
    snprintf(entry.user_name, sizeof entry.user_name, "%s", cgiRemoteUser);
  }
  cgi_send_log_info(&entry);
  reply_ok();
  return 0;
}

json_object *ipc_json(const stream_address_record &r) {
  json_object *ipc = json_object_new_object();
  json_add_text(ipc, "main", field_text(r.ipcMain));
  json_add_text(ipc, "sub", field_text(r.ipcSub));
  return ipc;
}

json_object *nvr_json(const stream_address_record &r) {
  json_object *nvr = json_object_new_object();
  json_add_text(nvr, "mainUsername", field_text(r.mainUsername));
  json_add_text(nvr, "mainPassword", field_text(r.mainPassword));
  json_add_int(nvr, "mainPort", r.mainPort);
  json_add_int(nvr, "mainExternalPort", r.mainExternalPort);
  json_add_int(nvr, "mainDDNSPort", r.mainDDNSPort);
  json_add_text(nvr, "mainResPath", field_text(r.mainResPath));
  json_add_int(nvr, "mainExternalHttpPort", r.mainExternalHttpPort);
  json_add_int(nvr, "mainDDNSHttpPort", r.mainDDNSHttpPort);
  json_add_text(nvr, "subUsername", field_text(r.subUsername));
  json_add_text(nvr, "subPassword", field_text(r.subPassword));
  json_add_int(nvr, "subPort", r.subPort);
  json_add_int(nvr, "subExternalPort", r.subExternalPort);
  json_add_int(nvr, "subDDNSPort", r.subDDNSPort);
  json_add_text(nvr, "subResPath", field_text(r.subResPath));
  json_add_int(nvr, "subExternalHttpPort", r.subExternalHttpPort);
  json_add_int(nvr, "subDDNSHttpPort", r.subDDNSHttpPort);
  return nvr;
}

}  // namespace

int on_start_live(char *text) {
  live_request request = {};
  if (!live_request_of(text, &request)) return -1;
  g_live.started = false;
  exchange(3500, &request, sizeof request);
  // The daemon sees the entry after its answer, as when it was sent from the answer.
  if (g_live.started) send_playback_log(LOG_SUB_LIVE_VIEW, log_channel(g_live.channel));
  return 0;
}

int on_stop_live(char *text) {
  live_request request = {};
  if (!live_request_of(text, &request)) return -1;
  request.streamFrom = 0;  // the daemon's stop carries 0 here
  notify(1901, request);
  reply_ok();
  return 0;
}

int on_stop_all_live(char *) {
  notify(1902, nullptr, 0);
  reply_ok();
  return 0;
}

int on_log_channel_event(char *text) {
  return log_channel_and_reply(text, LOG_SUB_CHANNEL_EVENT, false);
}

int on_log_channel_user_event(char *text) {
  return log_channel_and_reply(text, LOG_SUB_CHANNEL_USER_EVENT, true);
}

int on_log_live_view(char *text) {
  return log_channel_and_reply(text, LOG_SUB_LIVE_VIEW, false);
}

int on_check_playback_channel(char *text) {
  int channel = 0;
  if (!player_channel_of(text, &channel)) return -1;
  reply_ok();
  return 0;
}

int on_check_live_channel(char *text) {
  int channel = 0;
  if (!player_channel_of(text, &channel)) return -1;
  reply_ok();
  return 0;
}

int on_get_rtsp_addr(char *) {
  exchange(3503, nullptr, 0);
  return 0;
}

int on_get_extern_port(char *) {
  exchange(3506, nullptr, 0);
  return 0;
}

// 8500: the live stream's address; texts are read within the answer.
void on_start_live_cb(const void *payload, int length) {
  if (length < LIVE_ANSWER_MIN) return;  // no status: as if nothing came
  live_answer_record live = {};
  memcpy(&live, payload, std::min((size_t)length, sizeof live));
  if (live.status < 0) {
    reply_status("ERROR");
    return;
  }
  g_live.started = true;
  g_live.channel = live.channel;
  JsonPtr reply(json_object_new_object());
  json_add_text(reply.get(), "status", "OK");
  json_add_int(reply.get(), "port", live.port);
  json_add_int(reply.get(), "direct", live.direct);
  json_add_text(reply.get(), "rtspAddr", field_text(live.rtspAddr));
  json_add_text(reply.get(), "resPath", field_text(live.resPath));
  reply_json(reply.get());
}

// 8503: one element per channel record (at most 64 channels).
void on_get_rtsp_addr_cb(const void *payload, int length) {
  int count = std::min(length / (int)sizeof(stream_address_record), PLAYBACK_CHANNELS_MAX);
  if (count < 1) {
    g_callback_done = 1;  // too short: no reply
    return;
  }
  const auto *bytes = static_cast<const unsigned char *>(payload);
  JsonPtr reply(json_object_new_object());
  json_object *list = json_object_new_array();
  for (int i = 0; i < count; i++) {
    stream_address_record record;
    memcpy(&record, bytes + (size_t)i * sizeof record, sizeof record);
    json_object *element = json_object_new_object();
    json_object_object_add(element, "ipc", ipc_json(record));
    json_object_object_add(element, "nvr", nvr_json(record));
    json_object_array_add(list, element);
  }
  json_object_object_add(reply.get(), "rtspaddr", list);
  reply_json(reply.get());
}

// 8506: the UPnP and DDNS ports of the web service.
void on_get_extern_port_cb(const void *payload, int length) {
  extern_port_record ports;
  if (!answer_record(payload, length, &ports)) {
    g_callback_done = 1;  // too short: no reply
    return;
  }
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "upnp_extern_port", ports.upnp_extern_port);
  json_add_int(reply.get(), "ddns_extern_port", ports.ddns_extern_port);
  reply_json(reply.get());
}

namespace {
void reset_live_stream() {
  g_live.started = false;
  g_live.channel = 0;
}
}  // namespace

CGI_RESET_HOOK(reset_live_stream)
