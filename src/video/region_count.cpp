// Regional people counting: the camera's counting regions (asked with
// 1220, set with 1221) and the recorder's actions for each of its four
// regions, kept per channel and region and copied to the "copyChn" channels.
#include <cstring>
#include <memory>

#include "camera_events.h"
#include "kxdb.h"
#include "kxdb_motion.h"
#include "kxdb_regional.h"
#include "video_util.h"

using namespace video;

namespace {

struct RegionSchedule {
  const char *key;
  int kind;
};
const RegionSchedule kSchedules[] = {
    {"audible", REGIONAL_SCHEDULE_AUDIBLE}, {"email", REGIONAL_SCHEDULE_EMAIL},
    {"ptz", REGIONAL_SCHEDULE_PTZ},         {"white", REGIONAL_SCHEDULE_WHITE},
    {"httpSche", REGIONAL_SCHEDULE_HTTP},
};

using IntField = EventField<smart_event>;
const IntField kActionFields[] = {
    {"interval", &smart_event::interval},
    {"audioId", &smart_event::audioId},
    {"email_interval", &smart_event::email_interval},
    {"email_pic_enable", &smart_event::email_pic_enable},
    {"ptz_interval", &smart_event::ptz_interval},
    {"white_interval", &smart_event::white_interval},
    {"http_notification_interval", &smart_event::http_notification_interval},
    {"alarmout_interval", &smart_event::alarmout_interval},
    {"triAlarms", &smart_event::triAlarms},
};

// ---- The camera's record ----

void take_region(json_object *o, regional_pcnt_region *r) {
  r->enable = member_int(o, "enable");
  member_text(o, "polygonX", r->polygonX, sizeof r->polygonX);
  member_text(o, "polygonY", r->polygonY, sizeof r->polygonY);
  r->maxStayEnable = member_int(o, "maxStayEnable");
  r->maxStayValue = member_int(o, "maxStayValue");
  r->minStayEnable = member_int(o, "minStayEnable");
  r->minStayValue = member_int(o, "minStayValue");
  r->maxStayTimeEnable = member_int(o, "maxStayTimeEnable");
  r->maxStayTimeValue = member_int(o, "maxStayTimeValue");
}

// The camera's record from the request; the copy mask of "copyChn".
uint64_t take_record(json_object *j, regional_pcnt_info *rec) {
  rec->chnid = member_int(j, "chnid");
  rec->sensitivity = member_int(j, "sensitivity");
  rec->minObjX = member_int(j, "minObjX");
  rec->minObjY = member_int(j, "minObjY");
  rec->minObjWidth = member_int(j, "minObjWidth");
  rec->minObjHeight = member_int(j, "minObjHeight");
  rec->maxObjX = member_int(j, "maxObjX");
  rec->maxObjY = member_int(j, "maxObjY");
  rec->maxObjWidth = member_int(j, "maxObjWidth");
  rec->maxObjHeight = member_int(j, "maxObjHeight");
  member_text(j, "copyChn", rec->copyChn, sizeof rec->copyChn);
  json_object *regions = json_member(j, "regional");
  for (int r = 0; r < REGIONAL_REGIONS; r++) {
    if (json_object *o = array_at(regions, r)) take_region(o, &rec->regions[r]);
  }
  get_schedule_by_json_ipc(j, "effective", &rec->effective);
  return get_channel_mask(rec->copyChn);
}

// ---- The recorder's actions of one region ----

smart_event stored_region(int channel, int region) {
  smart_event e = {};
  read_regional_pcnt_event(KXDB_FILE, &e, channel, region);
  e.channel = channel;
  return e;
}

bool store_schedules(json_object *a, int channel, int region, uint64_t mask) {
  schedule s;
  for (const RegionSchedule &k : kSchedules) {
    if (get_schedule_by_json(a, k.key, &s) != 0) continue;  // absent: kept
    if (write_regional_pcnt_schedule(KXDB_FILE, k.kind, &s, channel, region) != 0) return false;
    if (copy_regional_pcnt_schedule(KXDB_FILE, k.kind, &s, mask, region) != 0) return false;
  }
  return true;
}

bool store_ptz(json_object *a, int channel, int region, uint64_t mask) {
  int type = REGIONAL_PCNT_PTZ_BASE + region;
  ptz_action_params list[PTZ_ACTION_MAX];
  if (get_ptz_params_by_json(channel, type, json_member(a, "ptzParams"), list) != 0) return true;
  return write_ptz_params_all(KXDB_FILE, list, type, channel) == 0 &&
         copy_ptz_params_all(KXDB_FILE, list, type, mask) == 0;
}

bool store_white(json_object *a, int channel, int region, uint64_t mask) {
  const char *table = regional_pcnt_white_table(region);
  whiteled_params block[WHITELED_BLOCK_RECORDS];
  if (get_white_params_by_json(channel, block, a, "whiteInfo") != 0) return true;
  return write_whiteled_params_all(KXDB_FILE, block, table, channel) == 0 &&
         copy_whiteled_params(KXDB_FILE, block + channel * WHITELED_PER_CHANNEL, table, mask) == 0;
}

bool store_http(json_object *a, int channel, int region, uint64_t mask) {
  const char *table = regional_pcnt_http_table(region);
  http_notification_params record;
  if (get_http_params_by_json(channel, &record, a, "httpParams") != 0) return true;
  return write_http_notification_params(KXDB_FILE, &record, table) == 0 &&
         copy_http_notification_params(KXDB_FILE, &record, table, mask) == 0;
}

bool store_region(json_object *a, int channel, int region, uint64_t mask) {
  smart_event e = stored_region(channel, region);
  if (!store_schedules(a, channel, region, mask)) return false;
  apply_event_fields(a, &e, channel, std::span<const IntField>(kActionFields));
  if (!store_ptz(a, channel, region, mask) || !store_white(a, channel, region, mask) ||
      !store_http(a, channel, region, mask)) {
    return false;
  }
  return write_regional_pcnt_event(KXDB_FILE, &e, region) == 0 &&
         copy_regional_pcnt_event(KXDB_FILE, &e, region, mask) == 0;
}

// The elements of "action" in order, up to the first missing one and at
// most one per region, as one step: 0, or -1 (nothing kept).
int store_actions(json_object *actions, int channel, uint64_t mask) {
  return kxdb_transaction(KXDB_FILE, [&] {
    for (int r = 0; r < REGIONAL_PCNT_REGIONS; r++) {
      json_object *a = array_at(actions, r);
      if (!a) break;
      if (!store_region(a, channel, r, mask)) return false;
    }
    return true;
  });
}

// ---- The answer ----

json_object *region_object(const regional_pcnt_region &r) {
  json_object *o = json_object_new_object();
  json_add_int(o, "enable", r.enable);
  json_add_text(o, "polygonX", field_text(r.polygonX));
  json_add_text(o, "polygonY", field_text(r.polygonY));
  json_add_int(o, "maxStayEnable", r.maxStayEnable);
  json_add_int(o, "maxStayValue", r.maxStayValue);
  json_add_int(o, "minStayEnable", r.minStayEnable);
  json_add_int(o, "minStayValue", r.minStayValue);
  json_add_int(o, "maxStayTimeEnable", r.maxStayTimeEnable);
  json_add_int(o, "maxStayTimeValue", r.maxStayTimeValue);
  return o;
}

// A schedule of the region; the empty one for no channel.
json_object *region_schedule(int kind, bool stored, int channel, int region) {
  auto s = std::make_unique<schedule>();
  if (stored) read_regional_pcnt_schedule(KXDB_FILE, kind, s.get(), channel, region);
  return get_schedule_json_object(s.get());
}

// The actions of a region of `channel`; for an answer channel outside 0 to
// 63 those of the zeroed records, nothing read.
json_object *action_object(int channel, int region) {
  bool stored = channel_valid(channel);
  smart_event e = {};
  if (stored) e = stored_region(channel, region);
  json_object *o = json_object_new_object();
  json_object_object_add(o, "audible",
                         region_schedule(REGIONAL_SCHEDULE_AUDIBLE, stored, channel, region));
  json_add_int(o, "interval", e.interval);
  json_add_int(o, "audioId", e.audioId);
  json_object_object_add(o, "email",
                         region_schedule(REGIONAL_SCHEDULE_EMAIL, stored, channel, region));
  json_add_int(o, "email_interval", e.email_interval);
  json_add_int(o, "email_pic_enable", e.email_pic_enable);
  json_add_text(o, "tri_channels_pic", field_text(e.tri_channels_pic));
  json_object_object_add(o, "ptz", region_schedule(REGIONAL_SCHEDULE_PTZ, stored, channel, region));
  json_add_int(o, "ptz_interval", e.ptz_interval);
  json_object_object_add(o, "ptzParams",
                         stored ? get_ptz_params_json_object(REGIONAL_PCNT_PTZ_BASE + region,
                                                             channel)
                                : json_object_new_array());
  json_object_object_add(o, "white",
                         region_schedule(REGIONAL_SCHEDULE_WHITE, stored, channel, region));
  json_object_object_add(
      o, "whiteInfo",
      get_white_params_json_object(channel, stored ? regional_pcnt_white_table(region) : nullptr));
  json_add_int(o, "white_interval", e.white_interval);
  json_object_object_add(o, "httpSche",
                         region_schedule(REGIONAL_SCHEDULE_HTTP, stored, channel, region));
  // A null table reads nothing: the zeroed target.
  json_object_object_add(
      o, "httpParams",
      get_http_params_json_object(channel, stored ? regional_pcnt_http_table(region) : nullptr));
  json_add_int(o, "http_notification_interval", e.http_notification_interval);
  json_add_int(o, "alarmout_interval", e.alarmout_interval);
  json_add_int(o, "triAlarms", e.triAlarms);
  json_add_text(o, "triChannels", field_text(e.triChannels));
  json_object_object_add(o, "triChnAlarms",
                         get_event_chn_alarmout_object(field_text(e.triChnAlarms[0]).c_str(),
                                                       field_text(e.triChnAlarms[1]).c_str()));
  return o;
}

void add_record_fields(json_object *r, const regional_pcnt_info &rec) {
  json_add_int(r, "result", rec.result);
  json_add_int(r, "chnid", rec.chnid);
  json_add_int(r, "sensitivity", rec.sensitivity);
  json_add_int(r, "minObjX", rec.minObjX);
  json_add_int(r, "minObjY", rec.minObjY);
  json_add_int(r, "minObjWidth", rec.minObjWidth);
  json_add_int(r, "minObjHeight", rec.minObjHeight);
  json_add_int(r, "maxObjX", rec.maxObjX);
  json_add_int(r, "maxObjY", rec.maxObjY);
  json_add_int(r, "maxObjWidth", rec.maxObjWidth);
  json_add_int(r, "maxObjHeight", rec.maxObjHeight);
}

// The plan texts of a daemon answer, cut to their field width: the codec
// reads them up to their terminator.
void terminate_plans(schedule *s) {
  for (schedule_day &day : s->days) {
    for (schedule_plan &p : day.plans) {
      p.start_time[sizeof p.start_time - 1] = '\0';
      p.end_time[sizeof p.end_time - 1] = '\0';
    }
  }
}

void reply_json_error() {
  cgi_error_to_webserver(CGI_REPLY_JSON);
}

}  // namespace

int on_cgi_get_ipc_regional_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) {
    reply_json_error();
    return -1;
  }
  int32_t channel = member_int(root.get(), "chnid");
  cgi_exchange(on_video_ipc_callback, REGIONAL_PCNT_GET, &channel, sizeof channel,
               CGI_REPLY_JSON);
  return 0;
}

int on_cgi_set_ipc_regional_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int channel;
  if (!root || !member_channel(root.get(), "chnid", &channel)) {
    reply_json_error();
    return -1;
  }
  auto rec = std::make_unique<regional_pcnt_info>();
  uint64_t mask = take_record(root.get(), rec.get());
  if (store_actions(json_member(root.get(), "action"), channel, mask) != 0) {
    reply_json_error();
    return -1;
  }
  cgi_exchange(on_video_ipc_callback, REGIONAL_PCNT_SET, rec.get(), sizeof *rec, CGI_REPLY_JSON);
  return 0;
}

void on_get_ipc_regional_info_cb(const void *payload, int length) {
  if (!payload || length < (int)sizeof(regional_pcnt_info)) return;
  auto rec = std::make_unique<regional_pcnt_info>();
  memcpy(rec.get(), payload, sizeof *rec);
  terminate_plans(&rec->effective);
  JsonPtr reply(json_object_new_object());
  if (!reply) {
    reply_json_error();
    g_callback_done = 1;
    return;
  }
  json_object *r = reply.get();
  add_record_fields(r, *rec);
  json_object *regions = json_object_new_array();
  for (const regional_pcnt_region &region : rec->regions) {
    json_object_array_add(regions, region_object(region));
  }
  json_object_object_add(r, "regional", regions);
  json_object_object_add(r, "effective", get_schedule_json_object_ipc(&rec->effective));
  json_object *actions = json_object_new_array();
  for (int region = 0; region < REGIONAL_PCNT_REGIONS; region++) {
    json_object_array_add(actions, action_object(rec->chnid, region));
  }
  json_object_object_add(r, "action", actions);
  json_writeback(CGI_REPLY_JSON, r);
  g_callback_done = 1;
}
