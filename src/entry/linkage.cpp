#include "linkage.h"

#include <cstring>

#include "json_codecs.h"
#include "kxdb.h"
#include "kxdb_event.h"
#include "web_utils.h"

namespace {

constexpr int kIntervalStored = 2;

struct IntField {
  const char *key;
  int32_t linkage_event::*field;
};

const IntField kIntFields[] = {
    {"triAlarms", &linkage_event::triAlarms},
    {"interval", &linkage_event::interval},
    {"email_interval", &linkage_event::email_interval},
    {"email_pic_enable", &linkage_event::email_pic_enable},
    {"ptz_interval", &linkage_event::ptz_interval},
    {"alarmout_interval", &linkage_event::alarmout_interval},
    {"white_interval", &linkage_event::white_interval},
    {"audioId", &linkage_event::audioId},
    {"http_notification_interval", &linkage_event::http_notification_interval},
};

struct TextField {
  const char *key;
  size_t offset;
};

const TextField kTextFields[] = {
    {"triChannels", offsetof(linkage_event, triChannels)},
    {"tri_channels_pic", offsetof(linkage_event, tri_channels_pic)},
};

char *text_of(linkage_event &e, const TextField &f) {
  return reinterpret_cast<char *>(&e) + f.offset;
}

const LinkageSchedule *schedule_of(const LinkageSource &source, const char *key) {
  for (const LinkageSchedule &s : source.schedules) {
    if (strcmp(s.key, key) == 0) return &s;
  }
  return nullptr;
}

linkage_event stored_event(const LinkageSource &source, int id) {
  linkage_event e = {};
  e.id = id;
  source.read_event(KXDB_FILE, &e, id);
  e.id = id;
  return e;
}

json_object *schedule_json(const LinkageSchedule &s, int id) {
  schedule week = {};
  s.read(KXDB_FILE, &week, id);
  return get_schedule_json_object(&week);
}

json_object *white_json(const LinkageSource &source, int id) {
  if (!source.white_params) return get_pcnt_white_params_json_object(id);
  return get_white_params_json_object(id, source.white_params);
}

// The value of one reply key; null when the key is not a linkage key.
json_object *value_of(const LinkageSource &source, int id, linkage_event &e, const char *key) {
  for (const IntField &f : kIntFields) {
    if (strcmp(f.key, key) == 0) return json_object_new_int(e.*f.field);
  }
  for (const TextField &f : kTextFields) {
    if (strcmp(f.key, key) == 0) return json_field_string(text_of(e, f), LINKAGE_CHANNELS_SIZE);
  }
  if (const LinkageSchedule *s = schedule_of(source, key)) return schedule_json(*s, id);
  if (strcmp(key, "chnid") == 0) return json_object_new_int(id);
  if (strcmp(key, "triChnAlarms") == 0) {
    return get_event_chn_alarmout_object(field_text(e.triChnAlarms[0]).c_str(),
                                         field_text(e.triChnAlarms[1]).c_str());
  }
  if (strcmp(key, "whiteInfo") == 0) return white_json(source, id);
  if (strcmp(key, "httpParams") == 0) return get_http_params_json_object(id, source.http_params);
  if (strcmp(key, "ptzParams") == 0) return get_ptz_params_json_object(source.ptz_event, id);
  if (strcmp(key, "audioIdMask") == 0) return json_object_new_int(get_audio_file_id_mask());
  return nullptr;
}

// ---- Applying a request ----

bool store_schedules(const LinkageSource &source, int id, json_object *json) {
  schedule s;
  for (const LinkageSchedule &k : source.schedules) {
    if (!k.write || get_schedule_by_json(json, k.key, &s) != 0) continue;
    if (k.write(KXDB_FILE, &s, id) != 0) return false;
  }
  return true;
}

bool store_white_params(const LinkageSource &source, int id, json_object *json) {
  if (!source.white_params) {
    whiteled_params records[WHITELED_PER_CHANNEL] = {};
    if (get_pcnt_white_params_by_json(id, records, json, "whiteInfo") != 0) return true;
    return write_peoplecnt_wled_params_all(KXDB_FILE, records, id) == 0;
  }
  whiteled_params block[WHITELED_BLOCK_RECORDS];
  if (get_white_params_by_json(id, block, json, "whiteInfo") != 0) return true;
  return write_whiteled_params_all(KXDB_FILE, block, source.white_params, id) == 0;
}

bool store_http_params(const LinkageSource &source, int id, json_object *json) {
  http_notification_params record;
  if (get_http_params_by_json(id, &record, json, "httpParams") != 0) return true;
  return write_http_notification_params(KXDB_FILE, &record, source.http_params) == 0;
}

// 1 stored, 0 not given (or not a list, or not for this id), -1 when the
// write failed.
int store_ptz_list(const LinkageSource &source, int id, json_object *json) {
  json_object *list = json_member(json, "ptzParams");
  if (!list || !json_object_is_type(list, json_type_array)) return 0;
  if (set_ptz_params_by_json(id, source.ptz_event, list) == 1) return 1;
  ptz_action_params decoded[PTZ_ACTION_MAX];
  return get_ptz_params_by_json(id, source.ptz_event, list, decoded) == 0 ? -1 : 0;
}

// The alarm-output pair: elements the request leaves out keep their texts.
void apply_alarm_outputs(json_object *json, linkage_event *e) {
  event_alarmout_name pair[2] = {};
  for (int i = 0; i < 2; i++) memcpy(pair[i].name, e->triChnAlarms[i], sizeof pair[i].name);
  get_event_chn_alarmout_by_object(e->id, json, "triChnAlarms", pair);
  for (int i = 0; i < 2; i++) memcpy(e->triChnAlarms[i], pair[i].name, sizeof pair[i].name);
}

// Each linkage key present sets its field; true when one was present.
bool apply_fields(json_object *json, linkage_event *e) {
  bool present = false;
  if (has_member(json, "triChnAlarms")) {
    apply_alarm_outputs(json, e);
    present = true;
  }
  for (const IntField &f : kIntFields) {
    if (!has_member(json, f.key)) continue;
    e->*f.field = member_int(json, f.key);
    present = true;
  }
  if (has_member(json, "interval")) e->interval_flag = kIntervalStored;
  for (const TextField &f : kTextFields) {
    if (!has_member(json, f.key)) continue;
    member_text(json, f.key, text_of(*e, f), LINKAGE_CHANNELS_SIZE);
    present = true;
  }
  e->trigger_mask = linkage_trigger_mask(e->triChannels, sizeof e->triChannels);
  return present;
}

}  // namespace

uint32_t linkage_trigger_mask(const char *text, size_t width) {
  uint32_t mask = 0;
  size_t length = strnlen(text, width);
  for (size_t i = 0; i < length && i < 32; i++) {
    if (text[i] == '1') mask |= 1u << i;
  }
  return mask;
}

json_object *get_linkage_json_object(const LinkageSource &source, int id,
                                     std::span<const char *const> keys) {
  linkage_event e = stored_event(source, id);
  json_object *o = json_object_new_object();
  for (const char *key : keys) {
    if (json_object *value = value_of(source, id, e, key)) json_object_object_add(o, key, value);
  }
  return o;
}

int set_linkage_by_json(const LinkageSource &source, int id, json_object *json) {
  return kxdb_transaction(KXDB_FILE, [&] {
    if (!store_schedules(source, id, json) || !store_white_params(source, id, json) ||
        !store_http_params(source, id, json)) {
      return false;
    }
    linkage_event e = stored_event(source, id);
    bool changed = apply_fields(json, &e);
    int ptz = store_ptz_list(source, id, json);
    if (ptz < 0) return false;
    return !(changed || ptz == 1) || source.write_event(KXDB_FILE, &e) == 0;
  });
}
