// Control of running playback sessions: play time, stop, pause, resume,
// single-frame step, fast and slow forward, speed and jump. Batch requests
// name at most 64 sessions; entries beyond that, or beyond what the request's
// arrays hold, are not taken.
#include <algorithm>

#include "playback_util.h"

using namespace playback;

namespace {

// The first `num` ids of the "sid" array (at most 64) and their count.
session_batch batch_of(json_object *root) {
  session_batch batch = {};
  json_object *ids = json_member(root, "sid");
  batch.count = entries_to_take(member_int(root, "num"), PLAYBACK_SESSIONS_MAX, {ids});
  for (int i = 0; i < batch.count; i++) batch.sid[i] = element_int(ids, i);
  return batch;
}

// Pause and step forward: the batch of "sid", without waiting.
int send_batch(const char *text, int code) {
  JsonPtr root = parse_object(text);
  if (!root) return -1;
  notify(code, batch_of(root.get()));
  reply_ok();
  return 0;
}

speed_request speed_request_of(json_object *root, const char *ids_key) {
  speed_request request = {};
  request.speed = member_int(root, "speed");
  json_object *ids = json_member(root, ids_key);
  request.count = entries_to_take(member_int(root, "num"), PLAYBACK_SESSIONS_MAX, {ids});
  for (int i = 0; i < request.count; i++) request.id[i] = element_int(ids, i);
  return request;
}

// "chind" must be there and 0 or more (an array reads as 0 and passes).
bool chind_valid(json_object *root) {
  return has_member(root, "chind") && member_int(root, "chind") >= 0;
}

// Pairs of an answer: at most one per session a request can name, and no
// more than the payload holds.
int pair_count(int length) {
  return std::min(length / (int)sizeof(session_time_pair), PLAYBACK_SESSIONS_MAX);
}

session_time_pair pair_at(const void *payload, int i) {
  session_time_pair pair;
  memcpy(&pair, static_cast<const unsigned char *>(payload) + (size_t)i * sizeof pair,
         sizeof pair);
  return pair;
}

void reply_time_pairs(const void *payload, int length, const char *list_key,
                      const char *time_key) {
  JsonPtr reply(json_object_new_object());
  json_add_text(reply.get(), "status", "OK");
  json_object *list = json_object_new_array();
  for (int i = 0; i < pair_count(length); i++) {
    session_time_pair pair = pair_at(payload, i);
    json_object *element = json_object_new_object();
    json_add_text(element, time_key, time_text(pair.time));
    json_add_int(element, "sid", pair.sid);
    json_object_array_add(list, element);
  }
  json_object_object_add(reply.get(), list_key, list);
  reply_json(reply.get());
}

}  // namespace

int on_get_playback_time(char *text) {
  int32_t sid = 0;
  if (!bare_number(text, &sid)) return -1;
  exchange(1153, &sid, sizeof sid);
  return 0;
}

int on_stop_playback(char *text) {
  JsonPtr root = parse_object(text);
  if (!root) return -1;
  session_batch batch = batch_of(root.get());
  for (int i = 0; i < batch.count; i++) {
    if (batch.sid[i] >= 0) notify(1903, batch.sid[i]);
  }
  notify(1164, batch);
  if (member_int(root.get(), "close") == 1) notify(1160, batch);
  reply_ok();
  return 0;
}

int on_pause_playback(char *text) {
  return send_batch(text, 1165);
}

int on_resume_playback(char *text) {
  JsonPtr root = parse_object(text);
  if (!root) return -1;
  resume_request request = {member_int(root.get(), "sid"), member_int(root.get(), "direction")};
  notify(1166, request);
  reply_ok();
  return 0;
}

int on_step_foward_playback(char *text) {
  return send_batch(text, 1170);
}

int on_fastforward_playback(char *text) {
  JsonPtr root = parse_object(text);
  if (!root || !chind_valid(root.get())) return -1;
  json_object *ids = json_member(root.get(), "sessionId");
  json_object *speeds = json_member(root.get(), "speed");
  session_batch batch = {};
  batch.count = entries_to_take(member_int(root.get(), "num"), PLAYBACK_SESSIONS_MAX,
                                {ids, speeds});
  for (int i = 0; i < batch.count; i++) {
    batch.sid[i] = element_int(ids, i);
    batch.speed[i] = element_int(speeds, i);
  }
  notify(1112, batch);
  reply_ok();
  return 0;
}

// "chind" is both the check and the array of channels to slow down.
int on_slowforward_playback(char *text) {
  JsonPtr root = parse_object(text);
  if (!root || !chind_valid(root.get())) return -1;
  notify(1149, speed_request_of(root.get(), "chind"));
  reply_ok();
  return 0;
}

int on_set_speed_playback(char *text) {
  JsonPtr root = parse_object(text);
  if (!root) return -1;
  speed_request request = speed_request_of(root.get(), "sid");
  request.single = request.speed == 2 && request.count == 1 ? 1 : 0;
  notify(1167, request);
  reply_ok();
  return 0;
}

// The ids of "sessionId" fill the record; the daemon expects the count 0.
int on_step_playback_batch(char *text) {
  JsonPtr root = parse_object(text);
  if (!root) return -1;
  json_object *ids = json_member(root.get(), "sessionId");
  session_batch batch = {};
  int taken = entries_to_take(PLAYBACK_SESSIONS_MAX, PLAYBACK_SESSIONS_MAX, {ids});
  for (int i = 0; i < taken; i++) batch.sid[i] = element_int(ids, i);
  notify(1113, batch);
  reply_ok();
  return 0;
}

int on_jump_playback(char *text) {
  JsonPtr root = parse_object(text);
  if (!root || !has_members(root.get(), {"jumpTime", "sid", "chnid", "num"})) return -1;
  json_object *sids = json_member(root.get(), "sid");
  json_object *channels = json_member(root.get(), "chnid");
  jump_request request = {};
  request.count = entries_to_take(member_int(root.get(), "num"), PLAYBACK_SESSIONS_MAX,
                                  {sids, channels});
  if (request.count < 1) {  // no session to move
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  for (int i = 0; i < request.count; i++) {
    request.channel[i] = element_int(channels, i);
    request.sid[i] = element_int(sids, i);
  }
  member_text(root.get(), "jumpTime", request.jumpTime, sizeof request.jumpTime);
  exchange(1171, &request, sizeof request);
  return 0;
}

// 6153 and 8102: the session's play time; none yet (below 1) is an error.
void on_get_playback_time_cb(const void *payload, int length) {
  int32_t seconds;
  if (!cgi_answer_status(payload, length, &seconds)) return;  // short: as if nothing came
  if (seconds < 1) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    g_callback_done = 1;
    return;
  }
  JsonPtr reply(json_object_new_object());
  json_add_text(reply.get(), "status", "OK");
  json_add_text(reply.get(), "curPlayTime", time_text(seconds));
  reply_json(reply.get());
}

// 6148: -1 is the daemon's failure.
void on_playback_result_cb(const void *payload, int length) {
  int32_t result;
  if (!cgi_answer_status(payload, length, &result)) return;
  reply_status(result == -1 ? "ERROR" : "OK");
}

// 6171: the jump's result, 0 when every session moved.
void on_jump_playback_cb(const void *payload, int length) {
  int32_t result;
  if (!cgi_answer_status(payload, length, &result)) return;
  reply_status(result != 0 ? "ERROR" : "OK");
}

// 8104: where a jump landed.
void on_get_jump_time_cb(const void *payload, int length) {
  int32_t seconds;
  if (!cgi_answer_status(payload, length, &seconds)) {
    g_callback_done = 1;  // too short: no reply
    return;
  }
  JsonPtr reply(json_object_new_object());
  json_add_text(reply.get(), "status", "OK");
  json_add_text(reply.get(), "realJumpTime", time_text(seconds));
  reply_json(reply.get());
}

// 8115: where a jump landed, per session.
void on_get_jump_times_cb(const void *payload, int length) {
  if (pair_count(length) < 1) {
    g_callback_done = 1;  // too short: no reply
    return;
  }
  reply_time_pairs(payload, length, "JumpTime", "realJumpTime");
}

// 8116: the play time of each session.
void on_get_play_times_cb(const void *payload, int length) {
  if (pair_count(length) < 1) return;  // short: as if nothing came
  reply_time_pairs(payload, length, "curPlayTime", "PlayTime");
}
