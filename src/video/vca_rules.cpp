// The cameras' analytics rules as the page writes them: the rule record to
// the camera (the daemon answers "OK" or "FAILED"), and the rule's
// smart-event actions from the page's "dialog", stored first.
#include <cstring>

#include "vca.h"
#include "video_util.h"

using namespace video;

namespace {

// The copy-channel text of the record and its 64-bit mask.
uint64_t take_copy_channels(json_object *json, char (&field)[VCA_COPY_SIZE]) {
  member_text(json, "copyChn", field, sizeof field);
  return get_channel_mask(field);
}

// The rule's actions from "dialog", when given; false when storing failed.
bool save_dialog(json_object *json, int type, uint64_t mask) {
  json_object *dialog = json_member(json, "dialog");
  return !dialog || save_vca_dialog_data(type, dialog, mask) >= 0;
}

template <size_t N>
void take_text(json_object *json, const char *key, char (&field)[N]) {
  member_text(json, key, field, N);
}

// ---- Region entries of the area and left/remove records ----

// Polygon slots an entry takes: one for regionType 1, all five from 2 on,
// none for a negative type.
int polygon_slots(int region_type) {
  return region_type == 1 ? 1 : region_type >= 2 ? VCA_POLYGON_SLOTS : 0;
}

void take_entries(json_object *json, int region_type, vca_region_entry *entries,
                  bool leftremove) {
  json_object *info = json_member(json, "regionInfo");
  if (region_type == 0 || !info) return;
  for (int i = 0; i < VCA_REGION_ENTRIES; i++) {
    json_object *e = array_at(info, i);
    if (!e) continue;
    vca_region_entry &entry = entries[i];
    if (leftremove) {
      entry.enable = member_int(e, "leftEnable");
      entry.removeEnable = member_int(e, "removeEnable");
    } else {
      entry.enable = member_int(e, "enable");
      entry.objType = member_int(e, "objType");
      if (has_member(e, "time")) entry.time = member_int(e, "time");
    }
    json_object *region = json_member(e, "region");
    for (int k = 0; k < polygon_slots(region_type); k++) {
      json_object *slot = array_at(region, k);
      if (!slot) continue;
      take_text(slot, "polygonX", entry.slots[k].polygonX);
      take_text(slot, "polygonY", entry.slots[k].polygonY);
    }
  }
}

// ---- Area rules ----

// What each area writer takes besides channel, enable and the copy text.
struct AreaForm {
  bool sensitivity;
  bool shape;  // region, objtype, polygons and the region entries
  bool ignore_time;
  bool loitering;  // time and size
  bool tracks;
};

void take_area(json_object *json, const AreaForm &form, vca_area *a) {
  a->channel = member_int(json, "chnid");
  a->enable = member_int(json, "enable");
  if (form.sensitivity) a->sensitivity = member_int(json, "sensitivity");
  if (form.ignore_time) a->ignore_time = member_int(json, "ignore_time");
  if (form.loitering) {
    a->time = member_int(json, "time");
    a->size = member_int(json, "size");
  }
  if (form.tracks) a->tracks = member_int(json, "tracks");
  if (!form.shape) return;
  a->objtype = member_int(json, "objtype");
  take_text(json, "region", a->region);
  take_text(json, "polygonX", a->polygonX);
  take_text(json, "polygonY", a->polygonY);
  a->regionType = member_int(json, "regionType");
  a->regionScene = member_int(json, "regionScene");
  take_entries(json, a->regionType, a->entries, false);
}

// The dialog's type is the body's "type" (stored only for 0 to 8).
int set_area_rule(char *text, const AreaForm &form, int code) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  json_object *json = root.get();
  vca_area a = {};
  take_area(json, form, &a);
  uint64_t mask = take_copy_channels(json, a.copyChn);
  int type = member_int(json, "type");
  if (smart_event_type_valid(type) && !save_dialog(json, type, mask)) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  if (code == 0) code = type == 0 ? VCA_REGION_ENTRANCE_SET : VCA_REGION_EXIT_SET;
  cgi_exchange(on_video_ipc_callback, code, &a, sizeof a, CGI_REPLY_TEXT);
  return 0;
}

// ---- Lines ----

template <class Block>
void set_points(Block *b, const LinePoints &p) {
  b->startX = p.v[0];
  b->startY = p.v[1];
  b->stopX = p.v[2];
  b->stopY = p.v[3];
}

// The "position" of a line (at most N - 1 characters) in camera points; a
// missing line counts as four zeros, raised to 1.
template <size_t N>
LinePoints camera_points(json_object *object, int32_t width, int32_t height) {
  char position[N] = {};
  take_text(object, "position", position);
  return canvas_line_to_camera(split_position(position), width, height);
}

void take_line(json_object *line, int32_t width, int32_t height, vca_line_block *b) {
  set_points(b, camera_points<32>(line, width, height));
  b->direction = member_int(line, "direction");
}

void take_line2(json_object *line, int line_type, int32_t width, int32_t height,
                vca_line2_block *b) {
  b->enable = member_int(line, "enable");
  b->direction = member_int(line, "direction");
  b->objtype = member_int(line, "objtype");
  set_points(b, camera_points<VCA_POLYGON_SIZE>(line, width, height));
  if (line_type != 2) return;
  json_object *segments = json_member(line, "line");
  for (int k = 0; k < VCA_LINE_SEGMENTS; k++) {
    json_object *segment = array_at(segments, k);
    if (!segment) continue;
    set_points(&b->segments[k], camera_points<VCA_POLYGON_SIZE>(segment, width, height));
    b->segments[k].direction = member_int(segment, "direction");
  }
}

// ---- People counting ----

void take_people_line(json_object *json, int j, vca_people_line *l) {
  l->lineEnable = (uint8_t)element_int(json_member(json, "lineEnable"), j);
  l->autoResetEnable = (uint8_t)element_int(json_member(json, "autoResetEnable"), j);
  l->direction = (uint8_t)element_int(json_member(json, "direction"), j);
  l->showCntEnable = (uint8_t)element_int(json_member(json, "showCntEnable"), j);
  l->autoResetWeekday = element_int(json_member(json, "autoResetWeekday"), j);
  l->autoResetHour = element_int(json_member(json, "autoResetHour"), j);
  l->autoResetMin = element_int(json_member(json, "autoResetMin"), j);
  l->autoResetSec = element_int(json_member(json, "autoResetSec"), j);
  l->alarmEnable = element_int(json_member(json, "alarmEnable"), j);
  json_object *threshold = array_at(json_member(json, "alarmThreshold"), j);
  for (int k = 0; k < 4; k++) l->alarmThreshold[k] = element_int(threshold, k);
  // The page sends camera coordinates here: stored as they come.
  char position[128] = {};
  json_copy_text(array_at(json_member(json, "position"), j), position, sizeof position);
  set_points(l, split_position(position));
}

void take_people(json_object *json, vca_people *p) {
  p->width = member_int(json, "width");
  p->height = member_int(json, "height");
  p->osdEnable = member_int(json, "osdEnable");
  p->osdFontSize = member_int(json, "osdFontSize");
  p->osdTextPos = member_int(json, "osdTextPos");
  p->osdType = (uint8_t)member_int(json, "osdType");
  p->sensitivity = member_int(json, "sensitivity");
  p->lineNum = member_int(json, "lineNum");
  p->triggerType = member_int(json, "triggerType");
  p->triggerEnable = member_int(json, "triggerEnable");
  p->totalAlarmEnable = member_int(json, "totalAlarmEnable");
  json_object *total = json_member(json, "totalAlarmThreshold");
  for (int k = 0; k < 4; k++) p->totalAlarmThreshold[k] = element_int(total, k);
  get_schedule_by_json_ipc(json, "effective", &p->effective);
  for (int j = 0; j < VCA_LINES; j++) take_people_line(json, j, &p->lines[j]);
}

// The type-7 smart event is on while any counting line is.
bool store_people_enable(int channel, const vca_people &p, const smart_event &stored) {
  smart_event e = stored;
  e.channel = channel;
  e.enable = 0;
  for (const vca_people_line &l : p.lines) {
    if (l.lineEnable != 0) e.enable = 1;
  }
  return write_smart_event(KXDB_FILE, &e, SMART_EVENT_PEOPLE) == 0;
}

// ---- Analysis settings ----

void take_modes(json_object *json, int32_t *fps, int32_t *mode, int32_t *installation,
                int32_t *analysis, int32_t *width, int32_t *height) {
  *fps = member_int(json, "fps");
  *mode = member_int(json, "mode");
  *installation = member_int(json, "installation");
  *analysis = member_int(json, "analysis");
  *width = member_int(json, "width");
  *height = member_int(json, "height");
}

constexpr const char *kSizeKeys[8] = {"minStartX", "minStartY", "minWidth", "minHeight",
                                      "maxStartX", "maxStartY", "maxWidth", "maxHeight"};

void take_sizes(json_object *object, vca_settings *s) {
  int32_t *fields[8] = {&s->minStartX, &s->minStartY, &s->minWidth, &s->minHeight,
                        &s->maxStartX, &s->maxStartY, &s->maxWidth, &s->maxHeight};
  for (int i = 0; i < 8; i++) {
    bool x = i % 2 == 0;  // the keys alternate horizontal, vertical
    int32_t value = member_int(object, kSizeKeys[i]);
    *fields[i] = at_least_one(canvas_to_camera(value, x ? s->width : s->height,
                                               x ? CANVAS_WIDTH : CANVAS_HEIGHT));
  }
}

void take_class_sizes(json_object *object, int k, vca_class_settings *s) {
  int32_t *arrays[8] = {s->minStartX, s->minStartY, s->minWidth, s->minHeight,
                        s->maxStartX, s->maxStartY, s->maxWidth, s->maxHeight};
  for (int i = 0; i < 8; i++) arrays[i][k] = member_int(object, kSizeKeys[i]);
}

}  // namespace

// ---- Area rules ----

int on_set_vca_region(char *text) {
  return set_area_rule(text, {.sensitivity = true, .shape = true}, 0);
}
int on_set_vca_motion(char *text) {
  return set_area_rule(text, {.sensitivity = true, .shape = true, .ignore_time = true},
                       VCA_MOTION_SET);
}
int on_set_vca_tamper(char *text) {
  return set_area_rule(text, {.sensitivity = true}, VCA_TAMPER_SET);
}
int on_set_vca_loitering(char *text) {
  return set_area_rule(text, {.shape = true, .loitering = true}, VCA_LOITERING_SET);
}
int on_set_vca_human(char *text) {
  return set_area_rule(text, {.tracks = true}, VCA_HUMAN_SET);
}

// A body that does not parse gets no reply; the other failures the JSON error.
int on_set_vca_leftremove(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  json_object *json = root.get();
  vca_leftremove l = {};
  l.channel = member_int(json, "chnid");
  l.sensitivity = member_int(json, "sensitivity");
  l.left_enable = member_int(json, "left_enable");
  l.remove_enable = member_int(json, "remove_enable");
  l.min_time = member_int(json, "min_time");
  take_text(json, "region", l.region);
  take_text(json, "polygonX", l.polygonX);
  take_text(json, "polygonY", l.polygonY);
  l.regionType = member_int(json, "regionType");
  l.regionScene = member_int(json, "regionScene");
  take_entries(json, l.regionType, l.entries, true);
  uint64_t mask = take_copy_channels(json, l.copyChn);
  if (!save_dialog(json, SMART_EVENT_LEFTREMOVE, mask)) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  cgi_exchange(on_video_ipc_callback, VCA_LEFTREMOVE_SET, &l, sizeof l, CGI_REPLY_JSON);
  return 0;
}

// ---- Lines ----

int on_set_vca_line(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  json_object *json = root.get();
  vca_line l = {};
  l.channel = member_int(json, "chnid");
  l.enable = member_int(json, "enable");
  l.objtype = member_int(json, "objtype");
  uint64_t mask = take_copy_channels(json, l.copyChn);
  if (!save_dialog(json, SMART_EVENT_LINE, mask)) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  int32_t width = member_int(json, "width");
  int32_t height = member_int(json, "height");
  json_object *lines = json_member(json, "line");
  for (int i = 0; i < VCA_LINES; i++) take_line(array_at(lines, i), width, height, &l.lines[i]);
  cgi_exchange(on_video_ipc_callback, VCA_LINE_SET, &l, sizeof l, CGI_REPLY_TEXT);
  return 0;
}

int on_set_ipc_vca_line2(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  json_object *json = root.get();
  vca_line2 l = {};
  l.channel = member_int(json, "chnid");
  l.sensitivity = member_int(json, "sensitivity");
  l.lineType = member_int(json, "lineType");
  l.lineScene = member_int(json, "lineScene");
  uint64_t mask = take_copy_channels(json, l.copyChn);
  if (!save_dialog(json, SMART_EVENT_LINE, mask)) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  int32_t width = member_int(json, "width");
  int32_t height = member_int(json, "height");
  json_object *lines = json_member(json, "line");
  for (int i = 0; i < VCA_LINES; i++) {
    take_line2(array_at(lines, i), l.lineType, width, height, &l.lines[i]);
  }
  cgi_exchange(on_video_ipc_callback, VCA_LINE2_SET, &l, sizeof l, CGI_REPLY_TEXT);
  return 0;
}

// ---- People counting ----

int on_set_vca_people(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  json_object *json = root.get();
  int channel = json ? member_int(json, "chnid") : -1;
  smart_event stored = {};
  if (!json || read_smart_event(KXDB_FILE, &stored, channel, SMART_EVENT_PEOPLE) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  vca_people p = {};
  p.channel = channel;
  take_people(json, &p);
  uint64_t mask = take_copy_channels(json, p.copyChn);
  if (!store_people_enable(channel, p, stored) || !save_dialog(json, SMART_EVENT_PEOPLE, mask)) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  cgi_exchange(on_video_ipc_callback, VCA_PEOPLE_SET, &p, sizeof p, CGI_REPLY_TEXT);
  return 0;
}

int on_vca_clear_people_count(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  vca_people_reset reset = {};
  if (!root || !member_channel(root.get(), "channel", &reset.channel)) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  reset.line = member_int(root.get(), "line");
  reset.resetdb = member_int(root.get(), "resetdb");
  cgi_exchange(on_video_ipc_callback, VCA_PEOPLE_RESET, &reset, sizeof reset, CGI_REPLY_JSON);
  return 0;
}

// ---- Analysis settings ----

int on_set_vca_settings(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  json_object *json = root.get();
  vca_settings s = {};
  s.channel = member_int(json, "chnid");
  take_modes(json, &s.fps, &s.mode, &s.installation, &s.analysis, &s.width, &s.height);
  take_sizes(array_at(json_member(json, "position"), 0), &s);
  cgi_exchange(on_video_ipc_callback, VCA_SETTINGS_SET, &s, sizeof s, CGI_REPLY_JSON);
  return 0;
}

int on_set_ipc_vca_settings2(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  json_object *json = root.get();
  vca_class_settings s = {};
  s.channel = member_int(json, "chnid");
  take_modes(json, &s.fps, &s.mode, &s.installation, &s.analysis, &s.width, &s.height);
  take_copy_channels(json, s.copyChn);
  json_object *position = json_member(json, "position");
  for (int k = 0; k < VCA_CLASSES; k++) take_class_sizes(array_at(position, k), k, &s);
  cgi_exchange(on_video_ipc_callback, VCA_CLASS_SETTINGS_SET, &s, sizeof s, CGI_REPLY_JSON);
  return 0;
}
