// The cameras' analytics rules as the page reads them: one request with the
// channel, and the answer's record turned into the page's JSON, positions
// converted from the camera's resolution to the page's canvas.
#include "vca.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "video_util.h"

using namespace video;

namespace video {

namespace {
int32_t within_int32(int64_t value) {
  constexpr int64_t low = std::numeric_limits<int32_t>::min();
  constexpr int64_t high = std::numeric_limits<int32_t>::max();
  return (int32_t)(value < low ? low : value > high ? high : value);
}
}  // namespace

int32_t canvas_to_camera(int64_t value, int64_t size, int64_t canvas) {
  if (canvas == 0) return 0;
  return within_int32((size * value + canvas / 2) / canvas);
}

int32_t camera_to_canvas(int64_t value, int64_t size, int64_t canvas) {
  if (size == 0) return 0;
  return within_int32((size / 2 + value * canvas) / size);
}

int32_t at_least_one(int32_t value) {
  return value < 1 ? 1 : value;
}

LinePoints split_position(const char *text) {
  LinePoints p = {};
  const char *at = text ? text : "";
  for (int i = 0; i < 4 && *at; i++) {
    p.v[i] = within_int32(strtoll(at, nullptr, 10));
    const char *next = strchr(at, ';');
    if (!next) break;
    at = next + 1;
  }
  return p;
}

LinePoints canvas_line_to_camera(const LinePoints &canvas, int32_t width, int32_t height) {
  LinePoints camera;
  for (int i = 0; i < 4; i++) {
    bool x = i % 2 == 0;
    camera.v[i] = at_least_one(
        canvas_to_camera(canvas.v[i], x ? width : height, x ? CANVAS_WIDTH : CANVAS_HEIGHT));
  }
  return camera;
}

void notify_smart_event(uint64_t mask) {
  channel_mask_notice payload = {(uint32_t)mask, (uint32_t)(mask >> 32)};
  cgi_send_notice(SMART_EVENT_CHANGED_NOTICE, &payload, sizeof payload);
}

}  // namespace video

namespace {

// ---- Requests ----

// One rule of one channel: the channel of `key` as the 4-byte payload. A
// channel outside 0 to 63 (when checked) and a missing answer get the JSON
// error.
int ask_rule(json_object *json, const char *key, int code, bool check_bound = true) {
  int32_t channel = member_int(json, key);
  if (check_bound && !channel_valid(channel)) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  cgi_exchange(on_video_ipc_callback, code, &channel, sizeof channel, CGI_REPLY_JSON);
  return 0;
}

// The readers of {"channel"}: a body that does not parse gets no reply.
int ask_rule(const char *text, int code, bool check_bound = true) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  return ask_rule(root.get(), "channel", code, check_bound);
}

// ---- Answers ----

// The record at the start of an answer; false when the answer is shorter.
template <class Record>
bool take_answer(const void *payload, int length, Record *record) {
  if (!payload || length < (int)sizeof *record) return false;
  memcpy(record, payload, sizeof *record);
  return true;
}

// Writes the reply and sets the flag; a reply that could not be built is
// the JSON error.
void reply_done(json_object *reply) {
  if (reply) {
    json_writeback(CGI_REPLY_JSON, reply);
  } else {
    cgi_error_to_webserver(CGI_REPLY_JSON);
  }
  g_callback_done = 1;
}

template <class Record, class Fill>
void decode(const void *payload, int length, Fill fill) {
  Record record;
  if (!take_answer(payload, length, &record)) return;
  JsonPtr reply(json_object_new_object());
  if (reply) fill(reply.get(), record);
  reply_done(reply.get());
}

std::string points_text(const int32_t v[4]) {
  char text[64];
  snprintf(text, sizeof text, "%d;%d;%d;%d", v[0], v[1], v[2], v[3]);
  return text;
}

// A camera line as the page's canvas text; 0;0;0;0 without a resolution,
// each value raised to 1 when `raise`.
std::string canvas_line(int32_t startX, int32_t startY, int32_t stopX, int32_t stopY,
                        int32_t width, int32_t height, bool raise) {
  int32_t v[4] = {};
  if (width != 0 && height != 0) {
    v[0] = camera_to_canvas(startX, width, CANVAS_WIDTH);
    v[1] = camera_to_canvas(startY, height, CANVAS_HEIGHT);
    v[2] = camera_to_canvas(stopX, width, CANVAS_WIDTH);
    v[3] = camera_to_canvas(stopY, height, CANVAS_HEIGHT);
  }
  if (raise) {
    for (int32_t &value : v) value = at_least_one(value);
  }
  return points_text(v);
}

template <size_t N>
void add_text(json_object *r, const char *key, const char (&field)[N]) {
  json_add_text(r, key, field_text(field));
}

json_object *int_array(const int32_t *values, int n) {
  json_object *a = json_object_new_array();
  for (int i = 0; i < n; i++) json_object_array_add(a, json_object_new_int(values[i]));
  return a;
}

// An array of the people-counting lines' member.
template <class Get>
json_object *people_array(const vca_people &p, Get get) {
  int32_t values[VCA_LINES];
  for (int i = 0; i < VCA_LINES; i++) values[i] = get(p.lines[i]);
  return int_array(values, VCA_LINES);
}

void add_people_lines(json_object *r, const vca_people &p) {
  struct Member {
    const char *key;
    int32_t (*get)(const vca_people_line &);
  };
  static const Member members[] = {
      {"lineEnable", [](const vca_people_line &l) -> int32_t { return l.lineEnable; }},
      {"autoResetEnable", [](const vca_people_line &l) -> int32_t { return l.autoResetEnable; }},
      {"direction", [](const vca_people_line &l) -> int32_t { return l.direction; }},
      {"showCntEnable", [](const vca_people_line &l) -> int32_t { return l.showCntEnable; }},
      {"startX", [](const vca_people_line &l) { return l.startX; }},
      {"startY", [](const vca_people_line &l) { return l.startY; }},
      {"stopX", [](const vca_people_line &l) { return l.stopX; }},
      {"stopY", [](const vca_people_line &l) { return l.stopY; }},
      {"autoResetWeekday", [](const vca_people_line &l) { return l.autoResetWeekday; }},
      {"autoResetHour", [](const vca_people_line &l) { return l.autoResetHour; }},
      {"autoResetMin", [](const vca_people_line &l) { return l.autoResetMin; }},
      {"autoResetSec", [](const vca_people_line &l) { return l.autoResetSec; }},
  };
  for (const Member &m : members) json_object_object_add(r, m.key, people_array(p, m.get));
  json_object *positions = json_object_new_array();
  for (const vca_people_line &l : p.lines) {
    std::string text = canvas_line(l.startX, l.startY, l.stopX, l.stopY, p.width, p.height, true);
    json_object_array_add(positions, json_object_new_string(text.c_str()));
  }
  json_object_object_add(r, "position", positions);
}

// The eight object-size values of one class, with their keys.
struct SizeValues {
  int32_t v[8];
};
constexpr const char *kSizeKeys[8] = {"minStartX", "minStartY", "minWidth", "minHeight",
                                      "maxStartX", "maxStartY", "maxWidth", "maxHeight"};

json_object *size_object(const SizeValues &s) {
  json_object *o = json_object_new_object();
  for (int i = 0; i < 8; i++) json_add_int(o, kSizeKeys[i], s.v[i]);
  return o;
}

// Answer values to canvas points, at least 1 (all 1 without a resolution).
SizeValues canvas_sizes(const vca_settings &s) {
  const int32_t camera[8] = {s.minStartX, s.minStartY, s.minWidth, s.minHeight,
                             s.maxStartX, s.maxStartY, s.maxWidth, s.maxHeight};
  SizeValues out;
  for (int i = 0; i < 8; i++) {
    bool x = i % 2 == 0;  // the keys alternate horizontal, vertical
    int32_t size = x ? s.width : s.height;
    bool known = s.width != 0 && s.height != 0;
    out.v[i] = at_least_one(known ? camera_to_canvas(camera[i], size, x ? CANVAS_WIDTH
                                                                        : CANVAS_HEIGHT)
                                  : 1);
  }
  return out;
}

void add_mode_fields(json_object *r, int32_t fps, int32_t mode, int32_t installation,
                     int32_t analysis, int32_t width, int32_t height) {
  json_add_int(r, "fps", fps);
  json_add_int(r, "mode", mode);
  json_add_int(r, "installation", installation);
  json_add_int(r, "analysis", analysis);
  json_add_int(r, "width", width);
  json_add_int(r, "height", height);
}

}  // namespace

// ---- Readers ----

int on_get_vca_region(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int code = member_int(root.get(), "type") == 0 ? VCA_REGION_ENTRANCE_GET : VCA_REGION_EXIT_GET;
  return ask_rule(root.get(), "channel", code);
}
int on_get_vca_motion(char *text) { return ask_rule(text, VCA_MOTION_GET); }
int on_get_vca_tamper(char *text) { return ask_rule(text, VCA_TAMPER_GET); }
int on_get_vca_line(char *text) { return ask_rule(text, VCA_LINE_GET); }
int on_get_vca_loitering(char *text) { return ask_rule(text, VCA_LOITERING_GET); }
int on_get_vca_human(char *text) { return ask_rule(text, VCA_HUMAN_GET); }
int on_get_vca_people(char *text) { return ask_rule(text, VCA_PEOPLE_GET); }
int on_get_vca_settings(char *text) { return ask_rule(text, VCA_SETTINGS_GET); }
// Unlike the other readers, the channel is sent as given.
int on_get_vca_support(char *text) { return ask_rule(text, VCA_SUPPORT_GET, false); }
int on_get_vca_leftremove(char *text) { return ask_rule(text, VCA_LEFTREMOVE_GET); }
int on_get_ipc_vca_settings2(char *text) { return ask_rule(text, VCA_CLASS_SETTINGS_GET); }

// A missing or unparsable body gets the JSON error here.
int on_get_ipc_vca_line2(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  return ask_rule(root.get(), "chnid", VCA_LINE2_GET);
}

// ---- Decoders ----

void on_get_vca_region_cb(const void *payload, int length) {
  decode<vca_area>(payload, length, [](json_object *r, const vca_area &a) {
    add_text(r, "region", a.region);
    json_add_int(r, "enable", a.enable);
    json_add_int(r, "sensitivity", a.sensitivity);
    json_add_int(r, "objtype", a.objtype);
    add_text(r, "polygonX", a.polygonX);
    add_text(r, "polygonY", a.polygonY);
  });
}

void on_get_vca_motion_cb(const void *payload, int length) {
  decode<vca_area>(payload, length, [](json_object *r, const vca_area &a) {
    add_text(r, "region", a.region);
    json_add_int(r, "enable", a.enable);
    json_add_int(r, "sensitivity", a.sensitivity);
    json_add_int(r, "ignore_time", a.ignore_time);
    json_add_int(r, "objtype", a.objtype);
    add_text(r, "polygonX", a.polygonX);
    add_text(r, "polygonY", a.polygonY);
  });
}

void on_get_vca_tamper_cb(const void *payload, int length) {
  decode<vca_area>(payload, length, [](json_object *r, const vca_area &a) {
    json_add_int(r, "enable", a.enable);
    json_add_int(r, "sensitivity", a.sensitivity);
  });
}

void on_get_vca_line_cb(const void *payload, int length) {
  decode<vca_line>(payload, length, [](json_object *r, const vca_line &l) {
    json_object *lines = json_object_new_array();
    for (const vca_line_block &b : l.lines) {
      json_object *o = json_object_new_object();
      json_add_int(o, "direction", b.direction);
      json_add_text(o, "position",
                    canvas_line(b.startX, b.startY, b.stopX, b.stopY, l.width, l.height, false));
      json_object_array_add(lines, o);
    }
    json_object_object_add(r, "line", lines);
    json_add_int(r, "enable", l.enable);
    json_add_int(r, "width", l.width);
    json_add_int(r, "height", l.height);
    json_add_int(r, "objtype", l.objtype);
  });
}

void on_get_vca_loitering_cb(const void *payload, int length) {
  decode<vca_area>(payload, length, [](json_object *r, const vca_area &a) {
    add_text(r, "region", a.region);
    json_add_int(r, "enable", a.enable);
    json_add_int(r, "time", a.time);
    json_add_int(r, "size", a.size);
    json_add_int(r, "objtype", a.objtype);
    add_text(r, "polygonX", a.polygonX);
    add_text(r, "polygonY", a.polygonY);
  });
}

void on_get_vca_human_cb(const void *payload, int length) {
  decode<vca_area>(payload, length, [](json_object *r, const vca_area &a) {
    json_add_int(r, "enable", a.enable);
    json_add_int(r, "tracks", a.tracks);
  });
}

void on_get_vca_people_cb(const void *payload, int length) {
  decode<vca_people>(payload, length, [](json_object *r, const vca_people &p) {
    json_add_int(r, "width", p.width);
    json_add_int(r, "height", p.height);
    json_add_int(r, "osdEnable", p.osdEnable);
    json_add_int(r, "osdFontSize", p.osdFontSize);
    json_add_int(r, "osdTextPos", p.osdTextPos);
    json_add_int(r, "osdType", p.osdType);
    json_add_int(r, "sensitivity", p.sensitivity);
    json_add_int(r, "lineNum", p.lineNum);
    add_people_lines(r, p);
  });
}

void on_get_vca_support_cb(const void *payload, int length) {
  decode<vca_support>(payload, length, [](json_object *r, const vca_support &s) {
    json_add_int(r, "support", s.support);
    json_add_int(r, "type", s.type);
  });
}

void on_get_vca_settings_cb(const void *payload, int length) {
  decode<vca_settings>(payload, length, [](json_object *r, const vca_settings &s) {
    add_mode_fields(r, s.fps, s.mode, s.installation, s.analysis, s.width, s.height);
    json_add_int(r, "vcaType", s.vcaType);
    json_object *position = json_object_new_array();
    json_object_array_add(position, size_object(canvas_sizes(s)));
    json_object_object_add(r, "position", position);
  });
}

void on_get_vca_leftremove_cb(const void *payload, int length) {
  decode<vca_leftremove>(payload, length, [](json_object *r, const vca_leftremove &l) {
    add_text(r, "region", l.region);
    json_add_int(r, "left_enable", l.left_enable);
    json_add_int(r, "remove_enable", l.remove_enable);
    json_add_int(r, "min_time", l.min_time);
    json_add_int(r, "sensitivity", l.sensitivity);
    add_text(r, "polygonX", l.polygonX);
    add_text(r, "polygonY", l.polygonY);
  });
}

void on_get_ipc_vca_line2_cb(const void *payload, int length) {
  decode<vca_line2>(payload, length, [](json_object *r, const vca_line2 &l) {
    json_add_int(r, "chnid", l.channel);
    json_add_int(r, "width", l.width);
    json_add_int(r, "height", l.height);
    json_add_int(r, "sensitivity", l.sensitivity);
    json_object *lines = json_object_new_array();
    for (const vca_line2_block &b : l.lines) {
      json_object *o = json_object_new_object();
      json_add_int(o, "enable", b.enable);
      json_add_int(o, "objtype", b.objtype);
      json_add_int(o, "direction", b.direction);
      json_add_text(o, "position",
                    canvas_line(b.startX, b.startY, b.stopX, b.stopY, l.width, l.height, false));
      json_object_array_add(lines, o);
    }
    json_object_object_add(r, "line", lines);
  });
}

// Only the first record of the answer is read.
void on_get_ipc_vca_settings2_cb(const void *payload, int length) {
  decode<vca_class_settings>(payload, length, [](json_object *r, const vca_class_settings &s) {
    add_mode_fields(r, s.fps, s.mode, s.installation, s.analysis, s.width, s.height);
    json_object *position = json_object_new_array();
    for (int k = 0; k < VCA_CLASSES; k++) {
      SizeValues v = {{s.minStartX[k], s.minStartY[k], s.minWidth[k], s.minHeight[k],
                       s.maxStartX[k], s.maxStartY[k], s.maxWidth[k], s.maxHeight[k]}};
      json_object *o = size_object(v);
      json_add_int(o, "width", s.width);
      json_add_int(o, "height", s.height);
      json_object_array_add(position, o);
    }
    json_object_object_add(r, "position", position);
  });
}
