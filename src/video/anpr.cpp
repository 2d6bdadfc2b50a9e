// The cameras' plate recognition as the pages read it: support and zoom
// state, and the plate wildcards read and written.
#include "anpr.h"

#include <cstring>

#include "video_util.h"

using namespace video;

namespace {

// The channel ("chnid", 0 to 63) of a request text; the JSON error and
// false for a missing or unparsable body or another channel.
bool request_channel(const char *text, JsonPtr *root, int *channel) {
  root->reset(get_request_tokener_json_object(text));
  if (*root) *channel = member_int(root->get(), "chnid");
  if (*root && channel_valid(*channel)) return true;
  cgi_error_to_webserver(CGI_REPLY_JSON);
  return false;
}

int ask_camera(const char *text, int code) {
  JsonPtr root;
  int channel;
  if (!request_channel(text, &root, &channel)) return -1;
  int32_t word = channel;
  cgi_exchange(on_video_ipc_callback, code, &word, sizeof word, CGI_REPLY_JSON);
  return 0;
}

// The answer's record and a reply built from it; a shorter answer counts
// as missing (the handler's wait then answers the error).
template <class Record, class Fill>
void decode(const void *payload, int length, Fill fill) {
  Record record;
  if (!payload || length < (int)sizeof record) return;
  memcpy(&record, payload, sizeof record);
  JsonPtr reply(json_object_new_object());
  if (reply) {
    fill(reply.get(), record);
    json_writeback(CGI_REPLY_JSON, reply.get());
  } else {
    cgi_error_to_webserver(CGI_REPLY_JSON);
  }
  g_callback_done = 1;
}

void add_three(json_object *r, const char *const keys[3], const int32_t words[3]) {
  for (int i = 0; i < 3; i++) json_add_int(r, keys[i], words[i]);
}

}  // namespace

namespace video {

anpr_wildcards wildcards_from_json(json_object *json, int channel) {
  anpr_wildcards w = {};
  w.channel = channel;
  w.filter = member_int(json, "filter");
  w.maxPlateCharNum = member_int(json, "maxPlateCharNum");
  json_object *list = json_member(json, "wildcards");
  for (int i = 0; i < ANPR_WILDCARD_COUNT; i++) {
    json_object *item = array_at(list, i);
    if (!item) continue;
    w.enable[i] = member_int(item, "enable");
    w.cr_count[i] = member_int(item, "cr_count");
    member_text(item, "format", w.format[i], sizeof w.format[i]);
  }
  return w;
}

}  // namespace video

int on_get_anpr_support_anpr(char *text) { return ask_camera(text, ANPR_SUPPORT_GET); }
int on_get_ipc_zoom_info(char *text) { return ask_camera(text, ANPR_ZOOM_GET); }
int on_get_ipc_anpr_wildcards(char *text) { return ask_camera(text, ANPR_WILDCARDS_GET); }

int on_set_ipc_anpr_wildcards(char *text) {
  JsonPtr root;
  int channel;
  if (!request_channel(text, &root, &channel)) return -1;
  anpr_wildcards w = wildcards_from_json(root.get(), channel);
  cgi_exchange(on_video_ipc_callback, ANPR_WILDCARDS_SET, &w, sizeof w, CGI_REPLY_JSON);
  return 0;
}

void on_get_anpr_support_cb(const void *payload, int length) {
  decode<anpr_support>(payload, length, [](json_object *r, const anpr_support &s) {
    static const char *const keys[3] = {"chnid", "vca_support", "vca_version"};
    const int32_t words[3] = {s.channel, s.vca_support, s.vca_version};
    add_three(r, keys, words);
  });
}

void on_get_ipc_zoom_info_cb(const void *payload, int length) {
  decode<anpr_zoom>(payload, length, [](json_object *r, const anpr_zoom &z) {
    static const char *const keys[3] = {"chnid", "state", "zoomNumber"};
    const int32_t words[3] = {z.channel, z.state, z.zoomNumber};
    add_three(r, keys, words);
  });
}

void on_get_anpr_wildcards_cb(const void *payload, int length) {
  decode<anpr_wildcards>(payload, length, [](json_object *r, const anpr_wildcards &w) {
    json_add_int(r, "chnid", w.channel);
    json_add_int(r, "filter", w.filter);
    json_add_int(r, "maxPlateCharNum", w.maxPlateCharNum);
    json_object *list = json_object_new_array();
    for (int i = 0; i < ANPR_WILDCARD_COUNT; i++) {
      json_object *item = json_object_new_object();
      json_add_int(item, "enable", w.enable[i]);
      json_add_int(item, "cr_count", w.cr_count[i]);
      json_add_text(item, "format", field_text(w.format[i]));
      json_object_array_add(list, item);
    }
    json_object_object_add(r, "wildcards", list);
  });
}
