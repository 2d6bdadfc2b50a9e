// What a camera reports of its PTZ: presets, tours, patterns and their
// states (the information record), and its basic PTZ options.
#include <cstring>
#include <memory>

#include "ptz_util.h"

using namespace ptz;

namespace {

// ---- Information ----
json_object *presets_json(const ptz_info &info) {
  json_object *list = json_object_new_array();
  for (const ptz_preset_info &p : info.presets) {
    json_object *o = json_object_new_object();
    json_add_int(o, "enable", p.enable);
    json_add_text(o, "name", field_text(p.name));
    json_object_array_add(list, o);
  }
  return list;
}

// A tour's points up to the first preset 0.
json_object *tour_json(const ptz_tour_arrays &tour) {
  json_object *points = json_object_new_array();
  for (int i = 0; i < PTZ_TOUR_POINTS && tour.preset[i] > 0; i++) {
    json_object *o = json_object_new_object();
    json_add_int(o, "preset_id", tour.preset[i]);
    json_add_int(o, "speed", tour.speed[i]);
    json_add_int(o, "timeout", tour.time[i]);
    json_object_array_add(points, o);
  }
  return points;
}

json_object *tours_json(const ptz_info &info) {
  json_object *list = json_object_new_array();
  for (const ptz_tour_arrays &tour : info.tours) json_object_array_add(list, tour_json(tour));
  return list;
}

json_object *patterns_json(const ptz_info &info) {
  json_object *list = json_object_new_array();
  for (int32_t enable : info.patterns) {
    json_object *o = json_object_new_object();
    json_add_int(o, "enable", enable);
    json_object_array_add(list, o);
  }
  return list;
}

json_object *ints_json(const int32_t *values, int count) {
  json_object *list = json_object_new_array();
  for (int i = 0; i < count; i++) json_object_array_add(list, json_object_new_int(values[i]));
  return list;
}

json_object *tour_status_json(const ptz_info &info) {
  json_object *list = json_object_new_array();
  for (const auto &group : info.tour_status) {
    json_object_array_add(list, ints_json(group, PTZ_TOURS));
  }
  return list;
}

// ---- Basic options ----
struct BasicKey {
  const char *key;
  int32_t ptz_basic::*field;
};
// The page's keys in reply order; "status" comes first in the reply only.
constexpr BasicKey kBasicKeys[] = {
    {"chnId", &ptz_basic::chnId},
    {"zoomStatus", &ptz_basic::zoomStatus},
    {"panTiltStatus", &ptz_basic::panTiltStatus},
    {"presetStatus", &ptz_basic::presetStatus},
    {"patrolStatus", &ptz_basic::patrolStatus},
    {"patternStatus", &ptz_basic::patternStatus},
    {"autoScanStatus", &ptz_basic::autoScanStatus},
    {"presetFreezing", &ptz_basic::presetFreezing},
    {"presetSpeed", &ptz_basic::presetSpeed},
    {"manualSpeed", &ptz_basic::manualSpeed},
    {"patrolRecovering", &ptz_basic::patrolRecovering},
    {"patrolRecoveryTime", &ptz_basic::patrolRecoveryTime},
    {"focusMode", &ptz_basic::focusMode},
    {"minFocusDistance", &ptz_basic::minFocusDistance},
    {"resumeTime", &ptz_basic::resumeTime},
    {"fanWorkingMode", &ptz_basic::fanWorkingMode},
};

}  // namespace

int on_get_ptz_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  ptz_info_request request = {member_int(root.get(), "chn"), member_int(root.get(), "streamId")};
  if (member_int(root.get(), "fisheyeType") != 0) {
    exchange(PTZ_FISH_INFO, &request, sizeof request, CGI_REPLY_JSON);
  } else {
    exchange(PTZ_INFO, &request.chn, sizeof request.chn, CGI_REPLY_JSON);
  }
  return 0;
}

void on_ptz_reply_info(const void *payload, int length) {
  JsonPtr reply(json_object_new_object());
  if (length < (int)sizeof(ptz_info)) {
    json_add_text(reply.get(), "status", "Error");
    reply_json(reply.get());
    return;
  }
  auto info = std::make_unique<ptz_info>();  // 15 KB: not on the receive thread's stack
  memcpy(info.get(), payload, sizeof *info);
  json_object *o = reply.get();
  json_add_text(o, "status", "OK");
  json_object_object_add(o, "PRESET", presets_json(*info));
  json_object_object_add(o, "TOUR", tours_json(*info));
  json_object_object_add(o, "PATTERN", patterns_json(*info));
  json_object_object_add(o, "autoscan_status",
                         ints_json(info->autoscan_status, PTZ_STATUS_GROUPS));
  json_object_object_add(o, "tour_status", tour_status_json(*info));
  reply_json(o);
}

int on_cgi_get_ptz_basic(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  int32_t channel = member_int(root.get(), "chnId");
  exchange(PTZ_GET_BASIC, &channel, sizeof channel, CGI_REPLY_JSON);
  return 0;
}

// An answer without a whole record writes nothing: the handler times out.
void on_cgi_get_ptz_basic_cb(const void *payload, int length) {
  if (length < (int)sizeof(ptz_basic)) return;
  ptz_basic basic;
  memcpy(&basic, payload, sizeof basic);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "status", basic.status);
  for (const BasicKey &k : kBasicKeys) json_add_int(reply.get(), k.key, basic.*k.field);
  reply_json(reply.get());
}

int on_cgi_set_ptz_basic(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  ptz_basic basic = {};
  for (const BasicKey &k : kBasicKeys) basic.*k.field = member_int(root.get(), k.key);
  member_text(root.get(), "channelMask", basic.channelMask, sizeof basic.channelMask);
  exchange(PTZ_SET_BASIC, &basic, sizeof basic, CGI_REPLY_JSON);
  return 0;
}

void on_cgi_set_ptz_basic_cb(const void *payload, int length) {
  on_cgi_common_json_cb(length / (int)sizeof(int32_t), payload);
}
