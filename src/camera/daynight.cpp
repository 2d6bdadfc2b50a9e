// Day/night image periods and scenes, image areas, camera-side week
// schedules, the exposure list, the recorder's effective event schedules
// and the camera's motion configuration.
#include "daynight.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "camera_util.h"
#include "daynight_records.h"
#include "kxdb.h"
#include "kxdb_exposure.h"
#include "kxdb_motion.h"
#include "kxdb_vca.h"

using namespace camera;

namespace {

constexpr int kMaxChannel = IPC_CHANNELS - 1;
constexpr int kEventTypes = 9;  // motion, then the eight smart events

bool is_channel(int channel) { return channel >= 0 && channel <= kMaxChannel; }

// The request with its member `key` in range; else null, after the JSON
// error for a bad channel (and for an unparsed text when `parse_error`).
json_object *channel_request(const char *text, const char *key, int32_t *channel,
                             bool parse_error) {
  json_object *root = get_request_tokener_json_object(text);
  if (!root) {
    if (parse_error) cgi_error_to_webserver(CGI_REPLY_JSON);
    return nullptr;
  }
  *channel = member_int(root, key);
  if (is_channel(*channel)) return root;
  json_object_put(root);
  cgi_error_to_webserver(CGI_REPLY_JSON);
  return nullptr;
}

// Queries whose 4-byte payload is the request's "id".
int query_id(const char *text, int code) {
  int32_t channel;
  JsonPtr root(channel_request(text, "id", &channel, false));
  if (!root) return -1;
  query(code, &channel, sizeof channel, CGI_REPLY_JSON);
  return 0;
}

// A channel list: 64 slots preset to -1, filled in order with the first
// `limit` entries of `array` that are channels; the rest are skipped, so
// the list never runs past its 64 slots. Returns how many were placed.
int fill_channel_list(int32_t (&list)[IPC_CHANNELS], json_object *array, int limit) {
  std::fill(std::begin(list), std::end(list), -1);
  int placed = 0;
  int length = std::min(array_length(array), limit);
  for (int i = 0; i < length && placed < IPC_CHANNELS; i++) {
    json_object *entry = array_at(array, i);
    if (!entry) continue;
    int channel = json_object_get_int(entry);
    if (is_channel(channel)) list[placed++] = channel;
  }
  return placed;
}

// ---- Day/night periods ----
using P = daynight_period;
// In reply order; the request takes the same keys.
const JsonField kPeriodFields[] = {
    CAMERA_INT_KEY(P, enable),       CAMERA_INT_KEY(P, startHour),    CAMERA_INT_KEY(P, startMinute),
    CAMERA_INT_KEY(P, endHour),      CAMERA_INT_KEY(P, endMinute),    CAMERA_INT_KEY(P, exposureLevel),
    CAMERA_INT_KEY(P, maxShutter),   CAMERA_INT_KEY(P, minShutter),   CAMERA_INT_KEY(P, gainLevel),
    CAMERA_INT_KEY(P, irCutLatency), CAMERA_INT_KEY(P, irCutState),   CAMERA_INT_KEY(P, irLedState),
    CAMERA_INT_KEY(P, colorMode),
};

void fill_period(json_object *keys, daynight_period *period) {
  fill_record(keys, period, kPeriodFields);
  period->valid = 1;
}

// Scene entry e of the interleaved scene block.
void fill_scene(json_object *keys, daynight_scenes *s, int e) {
  s->valid[e] = 1;
  s->minShutter[e] = member_int(keys, "minShutter");
  s->maxShutter[e] = member_int(keys, "maxShutter");
  s->limitGain[e] = member_int(keys, "limitGain");
  s->irCutInterval[e] = member_int(keys, "irCutInterval");
  s->irCutStatus[e] = member_int(keys, "irCutStatus");
  s->irLedStatus[e] = member_int(keys, "irLedStatus");
  s->colorMode[e] = member_int(keys, "colorMode");
}

void fill_periods(json_object *root, daynight_image *image) {
  json_object *periods = json_member(root, "image");
  int count = std::min(array_length(periods), DAYNIGHT_PERIODS);
  for (int i = 0; i < count; i++) {
    if (json_object *entry = array_at(periods, i)) fill_period(entry, &image->periods[i]);
  }
  image->hasSche = member_int(root, "hasSche");
  json_object *effective = json_member(root, "effective");
  for (int k = 0; k < DAYNIGHT_EFFECTIVE; k++) {
    json_object *entry = array_at(effective, k);
    if (!entry) break;
    daynight_effective &e = image->effective[k];
    member_text(entry, "startTime", e.startTime, sizeof e.startTime);
    member_text(entry, "endTime", e.endTime, sizeof e.endTime);
    e.templateId = member_int(entry, "templateId");
  }
}

// False when the first element of "scenes" is no array with entries.
bool fill_scenes(json_object *root, daynight_image *image) {
  json_object *scenes = array_at(json_member(root, "scenes"), 0);
  if (!json_object_is_type(scenes, json_type_array) || array_length(scenes) == 0) return false;
  int count = std::min(array_length(scenes), DAYNIGHT_SCENES);
  for (int e = 0; e < count; e++) {
    if (json_object *entry = array_at(scenes, e)) fill_scene(entry, &image->scenes, e);
  }
  return true;
}

// ---- Camera-side week schedules ----
// Plan text element `i` of a positional plan, cut to the field.
void plan_text(json_object *plan, int i, char *field, size_t size) {
  if (json_object *v = array_at(plan, i)) json_copy_text(v, field, size);
}

void fill_ipc_schedule(json_object *rows, schedule_day (&days)[IPC_SCHEDULE_ROWS]) {
  for (int d = 0; d < IPC_SCHEDULE_ROWS; d++) {
    json_object *row = array_at(rows, d);
    for (int p = 0; p < SCHEDULE_IPC_JSON_PLANS; p++) {
      json_object *plan = array_at(row, p);
      schedule_plan &out = days[d].plans[p];
      plan_text(plan, 0, out.start_time, sizeof out.start_time);
      plan_text(plan, 1, out.end_time, sizeof out.end_time);
      out.action_type = element_int(plan, 2);
    }
  }
}

void fill_exposure_schedule(json_object *rows, exposure_day (&days)[IPC_SCHEDULE_ROWS]) {
  for (int d = 0; d < IPC_SCHEDULE_ROWS; d++) {
    json_object *row = array_at(rows, d);
    for (int p = 0; p < SCHEDULE_IPC_JSON_PLANS; p++) {
      json_object *plan = array_at(row, p);
      exposure_plan &out = days[d].plans[p];
      plan_text(plan, 0, out.start_time, sizeof out.start_time);
      plan_text(plan, 1, out.end_time, sizeof out.end_time);
      out.action_type = element_int(plan, 2);
      out.exposureTime = element_int(plan, 3);
      out.gainLevel = element_int(plan, 4);
    }
  }
}

// The three schedule setters: parse, channel list, rows, send, "OK".
template <class Request, class Fill>
int set_schedule(const char *text, int code, Fill fill) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  auto request = std::make_unique<Request>();
  memset(request.get(), 0, sizeof *request);
  fill_channel_list(request->channels, json_member(root.get(), "channel"), IPC_CHANNELS);
  fill(json_member(root.get(), "schedule"), request->days);
  set_without_wait(code, request.get(), sizeof *request);
  return 0;
}

json_object *plan_reply(const char *start, size_t start_size, const char *end, size_t end_size,
                        int action) {
  json_object *o = json_object_new_object();
  json_add_text(o, "startTime", field_text(start, start_size));
  json_add_text(o, "endTime", field_text(end, end_size));
  json_add_int(o, "actionType", action);
  return o;
}

void reply_ipc_schedule(const void *payload, int plans) {
  auto answer = std::make_unique<ipc_schedule_answer>();
  memcpy(answer.get(), payload, sizeof *answer);
  json_object *rows = json_object_new_array();
  for (const schedule_day &day : answer->days) {
    json_object *row = json_object_new_array();
    for (int p = 0; p < plans; p++) {
      const schedule_plan &plan = day.plans[p];
      json_object_array_add(row, plan_reply(plan.start_time, sizeof plan.start_time,
                                            plan.end_time, sizeof plan.end_time,
                                            plan.action_type));
    }
    json_object_array_add(rows, row);
  }
  JsonPtr reply(json_object_new_object());
  json_object_object_add(reply.get(), "schedule", rows);
  reply_json(reply.get());
}

// ---- Effective event schedules in the settings database ----
const char *const kEventScheduleKeys[kEventTypes] = {
    "schedule_motion",          "schedule_region_entrance", "schedule_region_exit",
    "schedule_advanced_motion", "schedule_tamper_detection", "schedule_line_crossing",
    "schedule_loitering",       "schedule_human_detection", "schedule_people_counting",
};

int read_event_schedule(schedule *s, int channel, int type) {
  if (type == 0) return read_motion_effective_schedule(KXDB_FILE, s, channel);
  return read_smart_event_effective_schedule(KXDB_FILE, s, channel, type - 1);
}

int write_event_schedule(const schedule *s, int channel, int type) {
  if (type == 0) return write_motion_effective_schedule(KXDB_FILE, s, channel);
  return write_smart_event_effective_schedule(KXDB_FILE, s, channel, type - 1);
}

json_object *event_schedule_reply(const schedule &s) {
  json_object *rows = json_object_new_array();
  for (const schedule_day &day : s.days) {
    json_object *row = json_object_new_array();
    for (int p = 0; p < SCHEDULE_JSON_PLANS; p++) {
      const schedule_plan &plan = day.plans[p];
      if (!plan.start_time[0]) {
        json_object_array_add(row, plan_reply("00:00", 6, "00:00", 6, 0));
        continue;
      }
      json_object_array_add(row, plan_reply(plan.start_time, sizeof plan.start_time,
                                            plan.end_time, sizeof plan.end_time,
                                            plan.action_type));
    }
    json_object_array_add(rows, row);
  }
  return rows;
}

}  // namespace

// ---- Day/night image ----
int on_get_ipc_daynight_image(char *text) { return query_id(text, 3278); }

int on_set_ipc_daynight_period(char *text) {
  daynight_image image = {};
  JsonPtr root(channel_request(text, "channel", &image.channel, false));
  if (!root) return -1;
  // The period index picks a slot of the payload: outside 0 to 6 nothing is sent.
  int id = member_int(root.get(), "id");
  if (id < 0 || id >= DAYNIGHT_PERIODS) return cgi_error_to_webserver(CGI_REPLY_JSON), -1;
  fill_period(root.get(), &image.periods[id]);
  set_without_wait(3279, &image, sizeof image);
  return 0;
}

int on_set_ipc_daynight_image(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  daynight_image image = {};
  image.type = member_int(root.get(), "type");
  if (image.type == 0) fill_periods(root.get(), &image);
  if (image.type == 1 && !fill_scenes(root.get(), &image)) return -1;
  json_object *channels = json_member(root.get(), "chnid");
  int count = std::min(member_int(root.get(), "cnt"), array_length(channels));
  for (int i = 0; i < count; i++) {
    json_object *entry = array_at(channels, i);
    // A missing entry is no channel 0, and a channel above 63 is no camera.
    if (!entry) continue;
    image.channel = json_object_get_int(entry);
    if (!is_channel(image.channel)) continue;
    cgi_send_notice(3279, &image, sizeof image);
  }
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

void on_get_ipc_daynight_image_cb(const void *payload, int length) {
  daynight_image answer = {};
  memcpy(&answer, payload, std::min<size_t>(length, sizeof answer));
  json_object *periods = json_object_new_array();
  for (int i = 0; i < DAYNIGHT_PERIODS; i++) {
    json_object *o = json_object_new_object();
    json_add_int(o, "id", i);
    add_record(o, answer.periods[i], kPeriodFields);
    json_object_array_add(periods, o);
  }
  JsonPtr reply(json_object_new_object());
  json_object_object_add(reply.get(), "image", periods);
  reply_json(reply.get());
}

// ---- Image areas ----
int on_get_ipc_image_areas(char *text) { return query_id(text, 3271); }

int on_set_ipc_image_areas(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  image_areas_request request = {};
  request.enable = member_int(root.get(), "enable");
  json_object *areas = json_member(root.get(), "area");
  int count = std::min(array_length(areas), IMAGE_AREAS);
  for (int i = 0; i < count; i++) {
    json_object *area = array_at(areas, i);
    image_area &a = request.areas[i];
    a = {member_int(area, "enable"), member_int(area, "left"), member_int(area, "top"),
         member_int(area, "right"), member_int(area, "bottom")};
  }
  int limit = std::max(member_int(root.get(), "cnt"), 0);
  request.count = fill_channel_list(request.channels, json_member(root.get(), "chnid"), limit);
  set_without_wait(3288, &request, sizeof request);
  return 0;
}

int on_clear_ipc_image_area(char *text) {
  image_area_clear request = {};
  JsonPtr root(channel_request(text, "chan_id", &request.chan_id, true));
  if (!root) return -1;
  request.area_id = member_int(root.get(), "area_id");
  if (request.area_id < 0 || request.area_id > IMAGE_AREAS) {
    return cgi_error_to_webserver(CGI_REPLY_JSON), -1;
  }
  set_without_wait(3284, &request, sizeof request);
  return 0;
}

void on_get_ipc_image_areas_cb(const void *payload, int) {
  image_areas_answer answer;
  memcpy(&answer, payload, sizeof answer);
  json_object *areas = json_object_new_array();
  for (int i = 0; i < IMAGE_AREAS; i++) {
    const image_area &a = answer.areas[i];
    json_object *o = json_object_new_object();
    json_add_int(o, "id", i);
    json_add_int(o, "enable", a.enable);
    json_add_int(o, "left", a.left);
    json_add_int(o, "top", a.top);
    json_add_int(o, "right", a.right);
    json_add_int(o, "bottom", a.bottom);
    json_object_array_add(areas, o);
  }
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "enable", answer.enable);
  json_add_text(reply.get(), "sdkversion", field_text(answer.sdkversion));
  json_object_object_add(reply.get(), "area", areas);
  reply_json(reply.get());
}

// ---- Camera-side week schedules ----
int on_get_ipc_image_schedule(char *text) { return query_id(text, 3273); }
int on_get_ipc_exposure_schedule(char *text) { return query_id(text, 3275); }
int on_get_ipc_image_schedule_ex(char *text) { return query_id(text, 3277); }

int on_set_ipc_image_schedule(char *text) {
  return set_schedule<ipc_schedule_request>(text, 3281, fill_ipc_schedule);
}
int on_set_ipc_image_schedule_ex(char *text) {
  return set_schedule<ipc_schedule_request>(text, 3283, fill_ipc_schedule);
}
int on_set_ipc_exposure_schedule(char *text) {
  return set_schedule<exposure_schedule_request>(text, 3282, fill_exposure_schedule);
}

void on_get_ipc_image_schedule_cb(const void *payload, int) {
  reply_ipc_schedule(payload, SCHEDULE_IPC_JSON_PLANS);
}
void on_get_ipc_image_schedule_ex_cb(const void *payload, int) {
  reply_ipc_schedule(payload, SCHEDULE_JSON_PLANS);
}

void on_get_ipc_exposure_schedule_cb(const void *payload, int) {
  auto answer = std::make_unique<exposure_schedule_answer>();
  memcpy(answer.get(), payload, sizeof *answer);
  json_object *rows = json_object_new_array();
  for (const exposure_day &day : answer->days) {
    json_object *row = json_object_new_array();
    for (int p = 0; p < SCHEDULE_JSON_PLANS; p++) {
      const exposure_plan &plan = day.plans[p];
      json_object *o = plan_reply(plan.start_time, sizeof plan.start_time, plan.end_time,
                                  sizeof plan.end_time, plan.action_type);
      json_add_int(o, "exposureTime", plan.exposureTime);
      json_add_int(o, "gainLevel", plan.gainLevel);
      json_object_array_add(row, o);
    }
    json_object_array_add(rows, row);
  }
  JsonPtr reply(json_object_new_object());
  json_object_object_add(reply.get(), "schedule", rows);
  reply_json(reply.get());
}

// ---- Exposure list ----
int on_set_exposure_list(char *text) {
  int32_t channel;
  JsonPtr root(channel_request(text, "channel", &channel, false));
  if (!root) return -1;
  exposure_pair pairs[EXPOSURE_PAIRS] = {};
  json_object *list = json_member(root.get(), "exposure");
  int count = std::min(array_length(list), EXPOSURE_PAIRS);
  for (int i = 0; i < count; i++) {
    json_object *pair = array_at(list, i);
    pairs[i] = {member_int(pair, "exposureTime"), member_int(pair, "gainLevel")};
  }
  if (write_exposure(KXDB_FILE, pairs, channel, count) != 0) {
    return cgi_error_to_webserver(CGI_REPLY_TEXT), -1;
  }
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

int on_get_exposure_list(char *text) {
  int32_t channel;
  JsonPtr root(channel_request(text, "channel", &channel, false));
  if (!root) return -1;
  exposure_pair pairs[EXPOSURE_PAIRS] = {};
  int count = read_exposure(KXDB_FILE, pairs, channel);
  if (count <= 0) return cgi_error_to_webserver(CGI_REPLY_JSON), -1;
  json_object *list = json_object_new_array();
  for (int i = 0; i < count; i++) {
    json_object *o = json_object_new_object();
    json_add_int(o, "exposureTime", pairs[i].exposureTime);
    json_add_int(o, "gainLevel", pairs[i].gainLevel);
    json_object_array_add(list, o);
  }
  JsonPtr reply(json_object_new_object());
  json_object_object_add(reply.get(), "exposure", list);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

// ---- Effective event schedules ----
int on_get_event_effective_schedules(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int channel = member_int(root.get(), "channel");
  if (!is_channel(channel)) return -1;
  auto s = std::make_unique<schedule>();
  JsonPtr reply(json_object_new_object());
  for (int type = 0; type < kEventTypes; type++) {
    // A failed read goes on with the empty schedule.
    memset(s.get(), 0, sizeof *s);
    if (read_event_schedule(s.get(), channel, type) != 0) memset(s.get(), 0, sizeof *s);
    json_object_object_add(reply.get(), kEventScheduleKeys[type], event_schedule_reply(*s));
  }
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_set_event_effective_schedules(char *text) {
  int32_t channel;
  JsonPtr root(channel_request(text, "channel", &channel, false));
  if (!root) return -1;
  int first = std::max(member_int(root.get(), "start"), 0);
  int last = std::min(member_int(root.get(), "end"), kEventTypes - 1);
  auto s = std::make_unique<schedule>();
  for (int type = first; type <= last; type++) {
    // A type the request carries no schedule for keeps what it has.
    if (get_schedule_by_json(root.get(), kEventScheduleKeys[type], s.get()) != 0) continue;
    if (write_event_schedule(s.get(), channel, type) != 0) {
      return cgi_error_to_webserver(CGI_REPLY_TEXT), -1;
    }
  }
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

// ---- Camera motion configuration ----
int on_get_ipc_motion_config(char *text) {
  int32_t channel;
  JsonPtr root(channel_request(text, "chnid", &channel, true));
  if (!root) return -1;
  query(3358, &channel, sizeof channel, CGI_REPLY_JSON);
  return 0;
}

int on_set_ipc_motion_config(char *text) {
  int32_t channel;
  JsonPtr root(channel_request(text, "chnid", &channel, true));
  if (!root) return -1;
  auto request = std::make_unique<ipc_motion_config>();
  memset(request.get(), 0, sizeof *request);
  json_object *r = root.get();
  request->mask = get_copy_flag_by_json(r, "copyChn", "copyCnt") | 1ULL << channel;
  request->channel = channel;
  request->enable = member_int(r, "enable");
  request->sensitivity = member_int(r, "sensitivity");
  request->minsize = member_int(r, "minsize");
  request->mintime = member_int(r, "mintime");
  request->adaptability = member_int(r, "adaptability");
  member_text(r, "map_mask", request->map_mask, sizeof request->map_mask);
  get_schedule_by_json_ipc(r, "effective", &request->effective);
  query(3366, request.get(), sizeof *request, CGI_REPLY_JSON);
  return 0;
}

void on_get_ipc_motion_config_cb(const void *payload, int length) {
  if (length < (int)sizeof(ipc_motion_answer)) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    g_callback_done = 1;
    return;
  }
  auto answer = std::make_unique<ipc_motion_answer>();
  memcpy(answer.get(), payload, sizeof *answer);
  JsonPtr reply(json_object_new_object());
  json_object *o = reply.get();
  json_add_int(o, "chnid", answer->channel);
  json_add_int(o, "enable", answer->enable);
  json_add_int(o, "sensitivity", answer->sensitivity);
  json_add_int(o, "minsize", answer->minsize);
  json_add_int(o, "mintime", answer->mintime);
  json_add_int(o, "adaptability", answer->adaptability);
  json_add_text(o, "map_mask", field_text(answer->map_mask));
  json_object_object_add(o, "effective", get_schedule_json_object_ipc(&answer->effective));
  json_add_int(o, "isNtPlatform", answer->isNtPlatform);
  reply_json(o);
}

void on_set_ipc_motion_config_cb(const void *payload, int length) {
  int32_t res;
  if (!payload || length < (int)sizeof res) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    g_callback_done = 1;
    return;
  }
  memcpy(&res, payload, sizeof res);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "res", res);
  reply_json(reply.get());
}

// ---- Event query ----
int on_get_ipc_event_query(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  ipc_event_query request = {};
  request.channel = root ? member_int(root.get(), "chnid") : -1;
  if (!is_channel(request.channel)) return cgi_error_to_webserver(CGI_REPLY_TEXT), -1;
  request.mainType = member_int(root.get(), "mainType");
  request.subType = member_int(root.get(), "subType");
  member_text(root.get(), "time", request.time, sizeof request.time);
  query(3360, &request, sizeof request, CGI_REPLY_TEXT);
  return 0;
}

// The answer is text that may lack its terminator: read within the payload.
void on_get_ipc_event_query_cb(const void *payload, int length) {
  if (!payload || length <= 0) {
    cgi_reply_done(CGI_REPLY_TEXT, "CGI ERROR");
    return;
  }
  std::string answer = field_text(static_cast<const char *>(payload), length);
  cgi_reply_done(CGI_REPLY_TEXT, answer.c_str());
}
