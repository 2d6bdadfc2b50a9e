// Transcoding of a playback stream (for slow links) and whether the
// recorder's playback capacity is taken.
#include "playback_util.h"

using namespace playback;

namespace {

// Both transcoding endpoints answer a body that is no JSON object with the
// JSON error, unlike the other JSON endpoints.
JsonPtr parse_or_error(const char *text) {
  JsonPtr root = parse_object(text);
  if (!root) cgi_error_to_webserver(CGI_REPLY_JSON);
  return root;
}

void reply_transcoding_state(const void *payload, int length, bool with_status) {
  transcoding_state_record state;
  if (!answer_record(payload, length, &state)) return;  // short: as if nothing came
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "ch", state.ch);
  json_add_int(reply.get(), "sid", state.sid);
  json_add_int(reply.get(), "state", state.state);
  if (with_status) json_add_text(reply.get(), "status", "OK");
  reply_json(reply.get());
}

}  // namespace

int on_set_playback_transcoding(char *text) {
  JsonPtr root = parse_or_error(text);
  if (!root) return -1;
  json_object *r = root.get();
  transcoding_request request = {member_int(r, "ch"),        member_int(r, "sid"),
                                 member_int(r, "trancodingmode"), member_int(r, "framesize"),
                                 member_int(r, "bitrate"),   member_int(r, "framerate")};
  exchange(1176, &request, sizeof request);
  return 0;
}

int on_get_playback_transcoding_state(char *text) {
  JsonPtr root = parse_or_error(text);
  if (!root) return -1;
  transcoding_state_request request = {member_int(root.get(), "ch"),
                                       member_int(root.get(), "sid")};
  exchange(1177, &request, sizeof request);
  return 0;
}

int on_check_playback_busy(char *) {
  exchange(4011, nullptr, 0);
  return 0;
}

void on_set_playback_transcoding_cb(const void *payload, int length) {
  reply_transcoding_state(payload, length, true);
}

void on_get_playback_transcoding_state_cb(const void *payload, int length) {
  reply_transcoding_state(payload, length, false);
}

// 9011: non-zero while playback is busy.
void on_check_playback_busy_cb(const void *payload, int length) {
  int32_t busy;
  if (!cgi_answer_status(payload, length, &busy)) return;  // short: as if nothing came
  reply_status(busy != 0 ? "BUSY" : "OK");
}
