// Starting playback: one channel's session found by a search, or the
// channels of eight 32-bit masks at a time. Both run two exchanges: the
// start, and then (only when the start was answered with flag 1) the
// session's stream information, which is the reply.
#include <climits>
#include <cstdio>
#include <ctime>

#include "playback_util.h"

using namespace playback;

namespace {

start_playback_request start_request_of(json_object *root) {
  start_playback_request request = {};
  request.channelId = member_int(root, "channelId");
  request.sid = member_int(root, "sid");
  member_text(root, "startTime", request.startTime, sizeof request.startTime);
  member_text(root, "endTime", request.endTime, sizeof request.endTime);
  member_text(root, "playTime", request.playTime, sizeof request.playTime);
  return request;
}

// The masks and the play time must be there, and the play time, read in
// local time, must be a time the daemon's int32 seconds can carry.
int check_start_playback_mask(json_object *root, int32_t *seconds) {
  if (!has_members(root, {"mask0", "mask1", "mask2", "mask3", "mask4", "mask5", "mask6", "mask7",
                          "playTime"})) {
    return -1;
  }
  char play_time[PLAYBACK_TIME_TEXT];
  member_text(root, "playTime", play_time, sizeof play_time);
  struct tm local = {};
  if (!strptime(play_time, "%Y-%m-%d %H:%M:%S", &local)) return -1;
  local.tm_isdst = -1;
  time_t t = mktime(&local);
  if (t < 0 || (long long)t > INT32_MAX) return -1;
  *seconds = (int32_t)t;
  return 0;
}

mask_playback_request mask_request_of(json_object *root, int32_t seconds) {
  mask_playback_request request = {};
  request.time = seconds;
  member_text(root, "playTime", request.playTime, sizeof request.playTime);
  char key[8];
  for (int i = 0; i < PLAYBACK_MASKS; i++) {
    snprintf(key, sizeof key, "mask%d", i);
    request.mask[i] = member_int(root, key);
  }
  return request;
}

// Request 3502: the session's stream, answered by 8502 (the reply).
void report_session(int32_t sid) {
  exchange(3502, &sid, sizeof sid);
}

}  // namespace

int on_start_playback(char *text) {
  JsonPtr root = parse_object(text);
  if (!root || !has_members(root.get(), {"channelId", "playTime", "startTime", "endTime", "sid"})) {
    return -1;
  }
  start_playback_request request = start_request_of(root.get());
  if ((uint32_t)request.channelId > (uint32_t)PLAYBACK_CHANNEL_LAST) return -1;
  forget_session();
  if (!exchange(1162, &request, sizeof request)) return -1;
  remember_session(request.sid, request.playTime);
  report_session(request.sid);
  // Logged once the start was accepted, whether or not 3502 was answered.
  send_playback_log(LOG_SUB_PLAYBACK, log_channel(request.channelId));
  return 0;
}

int on_start_playback_by_mask(char *text) {
  JsonPtr root = parse_object(text);
  int32_t seconds = 0;
  if (!root || check_start_playback_mask(root.get(), &seconds) != 0) return -1;
  mask_playback_request request = mask_request_of(root.get(), seconds);
  forget_session();
  if (!exchange(3109, &request, sizeof request)) return -1;
  // Flag 1 without a decoded 8103 names no session: nothing to report.
  if (!session_remembered()) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  report_session(remembered_sid());
  send_playback_log(LOG_SUB_PLAYBACK, 0);
  return 0;
}

// 6162: no reply; flag 2 when the daemon refused the start.
void on_start_playback_cb(const void *payload, int length) {
  int32_t result;
  if (!cgi_answer_status(payload, length, &result)) return;  // short: as if nothing came
  g_callback_done = result < 0 ? 2 : 1;
}

// 8103, the answer to 3109: the session started and its real play time.
void on_start_playback_by_mask_cb(const void *payload, int length) {
  started_session_record started;
  if (!answer_record(payload, length, &started)) return;  // short: as if nothing came
  if (started.failed != 0) {
    g_callback_done = 2;
    return;
  }
  remember_session(started.sid, field_text(started.playTime).c_str());
  g_callback_done = 1;
}

// 8502: where the session is served, with the play time it started at.
void on_get_playback_session_cb(const void *payload, int length) {
  session_info_record info;
  if (!answer_record(payload, length, &info)) {
    g_callback_done = 1;  // too short: no reply, the handler writes nothing more
    return;
  }
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "sessionId", info.sessionId);
  json_add_text(reply.get(), "sourcePath", field_text(info.sourcePath));
  json_add_int(reply.get(), "port", info.port);
  json_add_text(reply.get(), "status", "OK");
  json_add_text(reply.get(), "realPlayTime", remembered_play_time());
  json_add_int(reply.get(), "external_port", info.external_port);
  json_add_int(reply.get(), "external_http_port", info.external_http_port);
  json_add_int(reply.get(), "ddns_port", info.ddns_port);
  json_add_int(reply.get(), "ddns_http_port", info.ddns_http_port);
  reply_json(reply.get());
}
