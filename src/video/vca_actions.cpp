// Smart-event actions: what the recorder does when an analytics rule of a
// channel fires, stored per channel and rule type, and the 1412 notice that
// tells the daemon which channels' actions changed.
#include <cstring>
#include <span>

#include "vca.h"
#include "video_util.h"

using namespace video;

namespace {

// ---- Schedules ----

using TypedWriter = int (*)(const char *file, const schedule *s, int channel, int type);
using TypedReader = int (*)(const char *file, schedule *s, int channel, int type);

struct TypedSchedule {
  const char *key;
  TypedReader read;
  TypedWriter write;
};

const TypedSchedule kSchedules[] = {
    {"effective", read_smart_event_effective_schedule, write_smart_event_effective_schedule},
    {"audible", read_smart_event_audible_schedule, write_smart_event_audible_schedule},
    {"email", read_smart_event_mail_schedule, write_smart_event_mail_schedule},
    {"ptz", read_smart_event_ptz_schedule, write_smart_event_ptz_schedule},
};

struct TableNames {
  char white_schedule[64];
  char white_params[64];
  char http_schedule[64];
  char http_params[64];
  explicit TableNames(int type) {
    get_vca_white_table_name(0, type, white_schedule, sizeof white_schedule);
    get_vca_white_table_name(1, type, white_params, sizeof white_params);
    get_vca_http_table_name(0, type, http_schedule, sizeof http_schedule);
    get_vca_http_table_name(1, type, http_params, sizeof http_params);
  }
};

// Each of the four schedules that decodes is written (the arming one only
// when `effective`); false when a write failed.
bool store_schedules(json_object *json, int channel, int type, bool effective) {
  schedule s;
  for (const TypedSchedule &k : kSchedules) {
    if (!effective && k.write == write_smart_event_effective_schedule) continue;
    if (get_schedule_by_json(json, k.key, &s) != 0) continue;  // absent: skipped
    if (k.write(KXDB_FILE, &s, channel, type) != 0) return false;
  }
  return true;
}

bool store_white(json_object *json, int channel, const TableNames &t) {
  schedule s;
  if (get_schedule_by_json(json, "white", &s) == 0 &&
      write_whiteled_effective_schedule(KXDB_FILE, &s, channel, t.white_schedule) != 0) {
    return false;
  }
  return store_white_params(json, channel, t.white_params);
}

bool store_http(json_object *json, int channel, const TableNames &t) {
  schedule s;
  if (get_schedule_by_json(json, "httpSche", &s) == 0 &&
      write_http_notification_schedule(KXDB_FILE, &s, t.http_schedule, channel) != 0) {
    return false;
  }
  return store_http_params(json, channel, t.http_params);
}

// ---- The action record ----

using IntField = EventField<smart_event>;

// The page's rule dialog: no switch of its own (the rule carries it), and
// the HTTP-notification interval.
const IntField kDialogFields[] = {
    {"triAlarms", &smart_event::triAlarms},
    {"interval", &smart_event::interval},
    {"audioId", &smart_event::audioId},
    {"email_interval", &smart_event::email_interval},
    {"email_pic_enable", &smart_event::email_pic_enable},
    {"ptz_interval", &smart_event::ptz_interval},
    {"alarmout_interval", &smart_event::alarmout_interval},
    {"white_interval", &smart_event::white_interval},
    {"http_notification_interval", &smart_event::http_notification_interval},
};

// The action page of one rule: the switch, no HTTP notification.
const IntField kActionFields[] = {
    {"enable", &smart_event::enable},
    {"triAlarms", &smart_event::triAlarms},
    {"interval", &smart_event::interval},
    {"audioId", &smart_event::audioId},
    {"email_interval", &smart_event::email_interval},
    {"email_pic_enable", &smart_event::email_pic_enable},
    {"ptz_interval", &smart_event::ptz_interval},
    {"alarmout_interval", &smart_event::alarmout_interval},
    {"white_interval", &smart_event::white_interval},
};

void set_tri_channels(smart_event *e, json_object *value) {
  json_copy_text(value, e->triChannels, sizeof e->triChannels);
  e->trigger_mask = trigger_mask(e->triChannels, sizeof e->triChannels);
}

bool apply_fields(json_object *json, smart_event *e, std::span<const IntField> fields) {
  return apply_event_fields(json, e, e->channel, fields);
}

// The stored record of (channel, type), or the zeroed one when it cannot be
// read; either way it carries the channel.
smart_event stored_event(int channel, int type) {
  smart_event e = {};
  read_smart_event(KXDB_FILE, &e, channel, type);
  e.channel = channel;
  return e;
}

// The dialog of a rule, stored and copied as one step: the number of
// changes that made it write the record, or -1 (nothing kept).
int store_dialog(int type, json_object *json, int channel, uint64_t mask) {
  int result = 0;
  int rc = kxdb_transaction(KXDB_FILE, [&] {
    TableNames tables(type);
    // People counting arms its rule in the camera (the rule's own schedule).
    if (!store_schedules(json, channel, type, type != SMART_EVENT_PEOPLE)) return false;
    if (!store_white(json, channel, tables) || !store_http(json, channel, tables)) return false;
    smart_event e = stored_event(channel, type);
    bool changed = apply_fields(json, &e, kDialogFields);
    int ptz = store_ptz_list(json);
    if (ptz < 0) return false;
    if ((changed || ptz == 1) && write_smart_event(KXDB_FILE, &e, type) != 0) return false;
    result = (changed ? 1 : 0) + ptz;
    return copy_smart_event_action(type, channel, mask, 0) == 0;
  });
  return rc == 0 ? result : -1;
}

bool store_actions(json_object *json, int channel, int type) {
  return kxdb_transaction(KXDB_FILE, [&] {
           TableNames tables(type);
           if (!store_schedules(json, channel, type, true)) return false;
           if (!store_white(json, channel, tables)) return false;
           smart_event e = stored_event(channel, type);
           if (!apply_fields(json, &e, kActionFields)) return true;
           return write_smart_event(KXDB_FILE, &e, type) == 0;
         }) == 0;
}

uint64_t own_bit(int channel) {
  uint64_t mask = 0;
  kx_set_bit(&mask, channel);
  return mask;
}

// ---- Replies ----

json_object *stored_schedule(TypedReader read, int channel, int type) {
  schedule s = {};
  read(KXDB_FILE, &s, channel, type);
  return get_schedule_json_object(&s);
}

json_object *white_schedule(int channel, const char *table) {
  schedule s = {};
  read_whiteled_effective_schedule(KXDB_FILE, &s, channel, table);
  return get_schedule_json_object(&s);
}

void add_action_fields(json_object *r, const smart_event &e) {
  json_add_int(r, "enable", e.enable);
  json_add_int(r, "triAlarms", e.triAlarms);
  json_add_int(r, "interval", e.interval);
  json_add_int(r, "email_interval", e.email_interval);
  json_add_int(r, "email_pic_enable", e.email_pic_enable);
  json_add_text(r, "tri_channels_pic", field_text(e.tri_channels_pic));
}

json_object *action_object(int channel, int type) {
  smart_event e = stored_event(channel, type);
  TableNames tables(type);
  json_object *r = json_object_new_object();
  json_add_int(r, "chnid", channel);
  json_add_int(r, "event", type);
  add_action_fields(r, e);
  json_add_int(r, "ptz_interval", e.ptz_interval);
  json_add_int(r, "alarmout_interval", e.alarmout_interval);
  json_add_text(r, "triChannels", field_text(e.triChannels));
  for (const TypedSchedule &k : kSchedules) {
    json_object_object_add(r, k.key, stored_schedule(k.read, channel, type));
  }
  json_object_object_add(r, "triChnAlarms",
                         get_event_chn_alarmout_object(field_text(e.triChnAlarms[0]).c_str(),
                                                       field_text(e.triChnAlarms[1]).c_str()));
  json_object_object_add(r, "white", white_schedule(channel, tables.white_schedule));
  json_object_object_add(r, "whiteInfo",
                         get_white_params_json_object(channel, tables.white_params));
  json_add_int(r, "white_interval", e.white_interval);
  json_add_int(r, "audioId", e.audioId);
  json_add_int(r, "audioIdMask", get_audio_file_id_mask());
  json_object_object_add(r, "ptzParams",
                         get_ptz_params_json_object(get_smart_event_ptz_type(type), channel));
  return r;
}

// "chnid" within 0 to 63 and "event" within 0 to 8.
bool rule_key(json_object *json, int *channel, int *type) {
  if (!json || !member_channel(json, "chnid", channel)) return false;
  *type = member_int(json, "event", -1);
  return smart_event_type_valid(*type);
}

}  // namespace

int save_vca_dialog_data(int type, json_object *json, uint64_t mask) {
  if (!json || !json_object_is_type(json, json_type_object)) return 0;
  if (!smart_event_type_valid(type)) return 0;
  int channel = member_int(json, "chnid");
  if (!channel_valid(channel)) return 0;
  int result = store_dialog(type, json, channel, mask);
  if (result < 0) return -1;
  notify_smart_event(mask | own_bit(channel));
  return result;
}

int on_get_smart_event_schedule(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int channel, type;
  if (!rule_key(root.get(), &channel, &type)) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  JsonPtr reply(json_object_new_object());
  json_object *list = json_object_new_array();
  json_object_array_add(list, action_object(channel, type));
  json_object_object_add(reply.get(), "action", list);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_set_smart_event_schedule(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int channel, type;
  if (!rule_key(root.get(), &channel, &type) || !store_actions(root.get(), channel, type)) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  notify_smart_event(own_bit(channel));
  reply_text("OK");
  return 0;
}

// "type" 0 sets the alarm outputs, 1 the trigger channels; any other
// value rewrites the record as it is.
int on_set_vca_allrtm_others(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  json_object *json = root.get();
  int channel = json ? member_int(json, "channel") : -1;
  smart_event e = {};
  if (!json || read_smart_event(KXDB_FILE, &e, channel, member_int(json, "event")) != 0) {
    reply_text("ERROT");  // the page's spelling
    return -1;
  }
  int kind = member_int(json, "type");
  if (kind == 0) e.triAlarms = member_int(json, "triAlarms");
  if (kind == 1) set_tri_channels(&e, json_member(json, "triChannels"));
  e.channel = channel;
  if (write_smart_event(KXDB_FILE, &e, member_int(json, "event")) != 0) {
    reply_text("ERROT");
    return -1;
  }
  notify_smart_event(own_bit(channel));
  reply_text("OK");
  return 0;
}

int on_get_vca_common_para(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int channel = -1;
  smart_event e = {};
  if (!root || !member_channel(root.get(), "channel", &channel) ||
      read_smart_event(KXDB_FILE, &e, channel, member_int(root.get(), "type", -1)) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "chnid", channel);
  add_action_fields(reply.get(), e);
  json_add_text(reply.get(), "triChannels", field_text(e.triChannels));
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}
