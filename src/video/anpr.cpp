// The cameras' plate recognition as the pages read it: support and zoom
// state, and the plate wildcards read and written.
#include "anpr.h"

#include <cstring>
#include <memory>

#include "kxdb.h"

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

json_object *area_object(const anpr_area &a, const char *end_y_key) {
  json_object *o = json_object_new_object();
  json_add_text(o, "name", field_text(a.name));
  json_add_int(o, "startX", a.startX);
  json_add_int(o, "startY", a.startY);
  json_add_int(o, "endX", a.endX);
  json_add_int(o, end_y_key, a.endY);
  return o;
}

json_object *area_array(const anpr_area *areas, const char *end_y_key) {
  json_object *a = json_object_new_array();
  for (int i = 0; i < ANPR_AREAS; i++) json_object_array_add(a, area_object(areas[i], end_y_key));
  return a;
}

struct IntKey {
  const char *key;
  int32_t anpr_settings::*field;
};

// The integer keys of the answer before "region", in record order.
constexpr IntKey kLeadingInts[] = {
    {"chnid", &anpr_settings::chnid},
    {"enable", &anpr_settings::enable},
    {"resolution_width", &anpr_settings::resolution_width},
    {"resolution_height", &anpr_settings::resolution_height},
    {"area_x", &anpr_settings::area_x},
    {"area_y", &anpr_settings::area_y},
    {"area_width", &anpr_settings::area_width},
    {"area_height", &anpr_settings::area_height},
    {"day_night_mode_enable", &anpr_settings::day_night_mode_enable},
    {"scene", &anpr_settings::scene},
    {"direction_enable", &anpr_settings::direction_enable},
    {"region_enable", &anpr_settings::region_enable},
    {"roiid_enable", &anpr_settings::roiid_enable},
    {"process_mode", &anpr_settings::process_mode},
    {"repeat_check_time_value", &anpr_settings::repeat_check_time_value},
    {"repeat_check_time_unit", &anpr_settings::repeat_check_time_unit},
    {"post_enable", &anpr_settings::post_enable},
    {"post_type", &anpr_settings::post_type},
    {"post_tcp_port", &anpr_settings::post_tcp_port},
};
constexpr IntKey kNightInts[] = {
    {"night_mode_enable", &anpr_settings::night_mode_enable},
    {"night_mode_level", &anpr_settings::night_mode_level},
    {"night_mode_starthour", &anpr_settings::night_mode_starthour},
    {"night_mode_startminute", &anpr_settings::night_mode_startminute},
    {"night_mode_stophour", &anpr_settings::night_mode_stophour},
    {"night_mode_stopminute", &anpr_settings::night_mode_stopminute},
    {"night_mode_effective_mode", &anpr_settings::night_mode_effective_mode},
};
constexpr IntKey kTrailingInts[] = {
    {"platecolorEnable", &anpr_settings::platecolorEnable},
    {"vehicletypeEnable", &anpr_settings::vehicletypeEnable},
    {"vehiclecolorEnable", &anpr_settings::vehiclecolorEnable},
    {"jsonSupport", &anpr_settings::jsonSupport},
    {"irLedExternalSupport", &anpr_settings::irLedExternalSupport},
    {"vehicleEnhancement", &anpr_settings::vehicleEnhancement},
    {"vehicleBrandEnable", &anpr_settings::vehicleBrandEnable},
    {"aitype", &anpr_settings::aitype},
};

template <size_t N>
void add_ints(json_object *r, const anpr_settings &s, const IntKey (&keys)[N]) {
  for (const IntKey &k : keys) json_add_int(r, k.key, s.*k.field);
}

void add_settings(json_object *r, const anpr_settings &s) {
  add_ints(r, s, kLeadingInts);
  json_add_text(r, "post_http_user", field_text(s.post_http_user));
  json_add_text(r, "post_http_password", field_text(s.post_http_password));
  json_add_text(r, "post_http_url", field_text(s.post_http_url));
  json_add_int(r, "confidence", s.confidence);
  add_ints(r, s, kNightInts);
  json_object *regions = json_object_new_array();
  for (const auto &region : s.region) {
    json_object_array_add(regions, json_object_new_string(field_text(region).c_str()));
  }
  json_object_object_add(r, "region", regions);
  json_add_text(r, "cur_area", field_text(s.cur_area));
  json_add_int(r, "in_night_mode", s.in_night_mode);
  json_object_object_add(r, "roi", area_array(s.roi, "endY"));
  json_object *presets = json_object_new_array();
  for (const auto &group : s.preset) json_object_array_add(presets, area_array(group, "endy"));
  json_object_object_add(r, "preset", presets);
  add_ints(r, s, kTrailingInts);
  if (s.jsonSupport == 0 || !on_cgi_is_kx_lpr(s.aitype)) return;
  json_object *polygons = json_object_new_array();
  for (const anpr_polygon &p : s.normalPolygons) {
    json_object *o = json_object_new_object();
    json_add_text(o, "name", field_text(p.name));
    json_add_text(o, "polygonX", field_text(p.polygonX));
    json_add_text(o, "polygonY", field_text(p.polygonY));
    json_object_array_add(polygons, o);
  }
  json_object_object_add(r, "normalPolygons", polygons);
}

// ---- The settings record from a request ----

template <size_t N>
void take_ints(json_object *json, anpr_settings *s, const IntKey (&keys)[N]) {
  for (const IntKey &k : keys) {
    // Values only the camera answers are not taken from the page.
    if (k.field == &anpr_settings::chnid || k.field == &anpr_settings::irLedExternalSupport) {
      continue;
    }
    s->*k.field = member_int(json, k.key);
  }
}

// An echoed answer carries a preset's corner as "endy".
void take_area(json_object *item, anpr_area *a) {
  if (!item) return;
  member_text(item, "name", a->name, sizeof a->name);
  a->startX = member_int(item, "startX");
  a->startY = member_int(item, "startY");
  a->endX = member_int(item, "endX");
  a->endY = has_member(item, "endY") ? member_int(item, "endY") : member_int(item, "endy");
}

void take_settings(json_object *json, int channel, anpr_settings *s) {
  s->chnid = channel;
  take_ints(json, s, kLeadingInts);
  s->confidence = member_int(json, "confidence");
  take_ints(json, s, kNightInts);
  take_ints(json, s, kTrailingInts);
  member_text(json, "post_http_user", s->post_http_user, sizeof s->post_http_user);
  member_text(json, "post_http_password", s->post_http_password, sizeof s->post_http_password);
  member_text(json, "post_http_url", s->post_http_url, sizeof s->post_http_url);
  member_text(json, "cur_area", s->cur_area, sizeof s->cur_area);
  json_object *regions = json_member(json, "region");
  for (int i = 0; i < ANPR_REGIONS; i++) {
    if (json_object *r = array_at(regions, i)) json_copy_text(r, s->region[i], sizeof s->region[i]);
  }
  json_object *roi = json_member(json, "roi");
  json_object *presets = json_member(json, "preset");
  for (int i = 0; i < ANPR_AREAS; i++) {
    take_area(array_at(roi, i), &s->roi[i]);
    for (int j = 0; j < ANPR_AREAS; j++) take_area(array_at(array_at(presets, i), j), &s->preset[i][j]);
  }
  if (s->jsonSupport == 0 || !on_cgi_is_kx_lpr(s->aitype)) return;
  json_object *polygons = json_member(json, "normalPolygons");
  for (int i = 0; i < ANPR_POLYGONS; i++) {
    json_object *p = array_at(polygons, i);
    if (!p) continue;
    anpr_polygon &out = s->normalPolygons[i];
    member_text(p, "name", out.name, sizeof out.name);
    member_text(p, "polygonX", out.polygonX, sizeof out.polygonX);
    member_text(p, "polygonY", out.polygonY, sizeof out.polygonY);
  }
}

// The any-plate actions of the settings page, over the channel's stored
// record and written under its own channel. False when a store failed.
bool store_any_plate(json_object *dialog, int channel) {
  return kxdb_transaction(KXDB_FILE, [&] {
           anpr_event e = {};
           read_anpr_event(KXDB_FILE, &e, channel, ANPR_MODE_ANY);
           e.channel = channel;
           int changes = save_anpr_dialog_data(dialog, &e, ANPR_MODE_ANY, channel);
           if (changes < 0) return false;
           return changes == 0 || write_anpr_event(KXDB_FILE, &e, ANPR_MODE_ANY) == 0;
         }) == 0;
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

int on_get_anpr_settings(char *text) { return ask_camera(text, ANPR_SETTINGS_GET); }
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

int on_set_anpr_settings(char *text) {
  JsonPtr root;
  int channel;
  if (!request_channel(text, &root, &channel)) return -1;
  json_object *dialog = json_member(root.get(), "dialog");
  if (dialog && !store_any_plate(dialog, channel)) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  json_object *format = json_member(root.get(), "formatData");
  int format_channel = member_int(format, "chnid");
  if (format && channel_valid(format_channel)) {
    anpr_wildcards w = wildcards_from_json(format, format_channel);
    cgi_send_notice(ANPR_WILDCARDS_SET, &w, sizeof w);
  }
  std::unique_ptr<anpr_settings> s(new anpr_settings());
  take_settings(root.get(), channel, s.get());
  cgi_exchange(on_video_ipc_callback, ANPR_SETTINGS_SET, s.get(), sizeof *s, CGI_REPLY_JSON);
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

void on_get_anpr_settings_cb(const void *payload, int length) {
  decode<anpr_settings>(payload, length, add_settings);
}
