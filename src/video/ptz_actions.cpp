// PTZ action lists of the event kinds, edited entry by entry: which PTZ
// cameras an event channel moves, and to which preset, patrol or pattern.
// People counting (type 20) keeps lists of its own, 16 entries each.
#include "camera_events.h"
#include "kxdb.h"
#include "kxdb_ptz_entries.h"
#include "video_util.h"

using namespace video;

namespace {

// "type" one of the listed event types and "chn_id" a channel (0 to 63).
bool list_key(json_object *json, int *type, int *channel) {
  *type = member_int(json, "type", -1);
  *channel = member_int(json, "chn_id", -1);
  return ptz_event_type_valid(*type) && channel_valid(*channel);
}

// The entry of the request: the value key that goes with the PTZ type.
ptz_action_params request_entry(json_object *json, int channel) {
  ptz_action_params e = {};
  e.chn_id = channel;
  e.acto_ptz_channel = member_int(json, "acto_ptz_channel");
  e.acto_ptz_type = member_int(json, "acto_ptz_type");
  if (e.acto_ptz_type == 1) e.acto_ptz_preset = member_int(json, "acto_ptz_preset");
  if (e.acto_ptz_type == 2) e.acto_ptz_patrol = member_int(json, "acto_ptz_patrol");
  if (e.acto_ptz_type == 3) e.acto_ptz_pattern = member_int(json, "acto_ptz_pattern");
  return e;
}

int reply_stored(bool stored) {
  if (!stored) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  reply_text("OK");
  return 0;
}

int remove_entry(int type, int channel, int camera) {
  ptz_action_params e = {};
  e.chn_id = channel;
  if (type == PTZ_EVENT_PEOPLECNT) {
    return delete_peoplecnt_ptz_params(KXDB_FILE, &e, channel, camera);
  }
  return delete_ptz_params(KXDB_FILE, &e, type, camera);
}

json_object *entry_object(const ptz_action_params &e) {
  json_object *o = json_object_new_object();
  json_add_int(o, "acto_ptz_channel", e.acto_ptz_channel);
  json_add_int(o, "acto_ptz_type", e.acto_ptz_type);
  json_add_int(o, "acto_ptz_preset", e.acto_ptz_preset);
  json_add_int(o, "acto_ptz_patrol", e.acto_ptz_patrol);
  return o;
}

// The body parsed, with its list key; else the error text (or no reply for
// a body that does not parse).
json_object *keyed_request(JsonPtr &root, int *type, int *channel) {
  if (!root) return nullptr;
  if (!list_key(root.get(), type, channel)) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return nullptr;
  }
  return root.get();
}

}  // namespace

int on_set_ptz_params(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int type, channel;
  json_object *j = keyed_request(root, &type, &channel);
  if (!j) return -1;
  ptz_action_params e = request_entry(j, channel);
  int rc = type == PTZ_EVENT_PEOPLECNT ? write_peoplecnt_ptz_params(KXDB_FILE, &e)
                                       : write_ptz_params(KXDB_FILE, &e, type);
  return reply_stored(rc == 0);
}

int on_get_ptz_params(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int type, channel;
  if (!keyed_request(root, &type, &channel)) return -1;
  ptz_action_params list[PTZ_ACTION_MAX] = {};
  int count = 0;
  if (type == PTZ_EVENT_PEOPLECNT) {
    read_peoplecnt_ptz_params(KXDB_FILE, list, channel, &count);
  } else {
    read_ptz_params(KXDB_FILE, list, type, channel, &count);
  }
  int capacity = ptz_event_capacity(type);
  if (count > capacity) count = capacity;
  JsonPtr reply(json_object_new_object());
  json_object *entries = json_object_new_array();
  for (int i = 0; i < count; i++) {
    if (list[i].acto_ptz_channel > 0) json_object_array_add(entries, entry_object(list[i]));
  }
  json_object_object_add(reply.get(), "ptzInfo", entries);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_delete_ptz_params(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int type, channel;
  json_object *j = keyed_request(root, &type, &channel);
  if (!j) return -1;
  int camera = member_int(j, "acto_ptz_channel");
  if (camera < 0) return reply_stored(false);
  return reply_stored(remove_entry(type, channel, camera) == 0);
}

int on_update_ptz_params(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int type, channel;
  json_object *j = keyed_request(root, &type, &channel);
  if (!j) return -1;
  ptz_action_params e = request_entry(j, channel);
  int old = member_int(j, "old_chn_id");
  int rc = type == PTZ_EVENT_PEOPLECNT ? update_peoplecnt_ptz_params(KXDB_FILE, &e, old)
                                       : update_ptz_params(KXDB_FILE, &e, type, old);
  return reply_stored(rc == 0);
}

// All deletions are one step: a failure keeps every entry.
int on_delete_ptz_params_batch(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int type, channel;
  json_object *j = keyed_request(root, &type, &channel);
  if (!j) return -1;
  json_object *cameras = json_member(j, "ptzChannel");
  int rc = kxdb_transaction(KXDB_FILE, [&] {
    for (int i = 0; i < array_length(cameras); i++) {
      json_object *e = array_at(cameras, i);
      if (e && remove_entry(type, channel, json_object_get_int(e)) != 0) return false;
    }
    return true;
  });
  return reply_stored(rc == 0);
}
