// Actions of the plate-list modes: what the recorder does when a plate of
// the black list, the white list, a visitor or any plate is read, stored
// per channel and mode, and the 1416 notice of a changed mode.
#include <cstring>

#include "anpr.h"
#include "kxdb_anpr.h"
#include "video_util.h"

using namespace video;

namespace {

using ModeReader = int (*)(const char *file, schedule *s, int channel, int mode);
using ModeWriter = int (*)(const char *file, const schedule *s, int channel, int mode);

struct ModeSchedule {
  const char *key;
  ModeReader read;
  ModeWriter write;
};

const ModeSchedule kSchedules[] = {
    {"effective", read_anpr_effective_schedule, write_anpr_effective_schedule},
    {"audible", read_anpr_audible_schedule, write_anpr_audible_schedule},
    {"email", read_anpr_mail_schedule, write_anpr_mail_schedule},
    {"ptz", read_anpr_ptz_schedule, write_anpr_ptz_schedule},
};

struct ModeTables {
  const char *white_schedule;
  const char *white_params;
  const char *http_schedule;
  const char *http_params;
};

// A mode other than the black and the white list uses the visitor tables.
const ModeTables &tables_of(int mode) {
  static const ModeTables black = {"lpr_black_whiteled_esche", "lpr_black_white_led_params",
                                   "lpr_black_mode_http_notification_sche",
                                   "lpr_black_mode_http_notification_params"};
  static const ModeTables white = {"lpr_white_whiteled_esche", "lpr_white_white_led_params",
                                   "lpr_white_mode_http_notification_sche",
                                   "lpr_white_mode_http_notification_params"};
  static const ModeTables visitor = {"lpr_vistor_whiteled_esche", "lpr_vistor_white_led_params",
                                     "lpr_visitor_mode_http_notification_sche",
                                     "lpr_visitor_mode_http_notification_params"};
  return mode == 0 ? black : mode == 1 ? white : visitor;
}

constexpr int PTZ_EVENT_ANPR_BASE = 15;  // PTZ action lists of modes 0 to 2

bool store_schedules(json_object *json, int channel, int mode) {
  schedule s;
  for (const ModeSchedule &k : kSchedules) {
    if (get_schedule_by_json(json, k.key, &s) != 0) continue;
    if (k.write(KXDB_FILE, &s, channel, mode) != 0) return false;
  }
  return true;
}

bool store_tables(json_object *json, int channel, const ModeTables &t) {
  schedule s;
  if (get_schedule_by_json(json, "white", &s) == 0 &&
      write_whiteled_effective_schedule(KXDB_FILE, &s, channel, t.white_schedule) != 0) {
    return false;
  }
  if (get_schedule_by_json(json, "httpSche", &s) == 0 &&
      write_http_notification_schedule(KXDB_FILE, &s, t.http_schedule, channel) != 0) {
    return false;
  }
  return store_white_params(json, channel, t.white_params) &&
         store_http_params(json, channel, t.http_params);
}

using IntField = EventField<anpr_event>;

const IntField kFields[] = {
    {"triAlarms", &anpr_event::triAlarms},
    {"interval", &anpr_event::interval},
    {"audioId", &anpr_event::audioId},
    {"email_interval", &anpr_event::email_interval},
    {"email_pic_enable", &anpr_event::email_pic_enable},
    {"ptz_interval", &anpr_event::ptz_interval},
    {"alarmout_interval", &anpr_event::alarmout_interval},
    {"white_interval", &anpr_event::white_interval},
    {"http_notification_interval", &anpr_event::http_notification_interval},
};

bool apply_fields(json_object *json, anpr_event *e) {
  return apply_event_fields<anpr_event>(json, e, e->channel, kFields);
}

// The stored record of (channel, mode), the zeroed one when it cannot be
// read; either way it carries the channel.
anpr_event stored_event(int channel, int mode) {
  anpr_event e = {};
  read_anpr_event(KXDB_FILE, &e, channel, mode);
  e.channel = channel;
  return e;
}

bool mode_key(json_object *json, int *channel, int *mode) {
  if (!json || !member_channel(json, "chnid", channel)) return false;
  *mode = member_int(json, "mode");
  return has_member(json, "mode") && anpr_mode_valid(*mode);
}

json_object *schedule_object(ModeReader read, int channel, int mode) {
  schedule s = {};
  read(KXDB_FILE, &s, channel, mode);
  return get_schedule_json_object(&s);
}

json_object *mode_object(int channel, int mode) {
  json_object *r = json_object_new_object();
  json_add_int(r, "chnid", channel);
  json_add_int(r, "mode", mode);
  if (mode == ANPR_MODE_ANY) {
    json_object_object_add(r, "effective", schedule_object(read_anpr_effective_schedule, channel, mode));
    return r;
  }
  anpr_event e = stored_event(channel, mode);
  const ModeTables &t = tables_of(mode);
  json_add_int(r, "enable", e.enable);
  json_add_int(r, "triAlarms", e.triAlarms);
  json_add_int(r, "interval", e.interval);
  json_add_int(r, "email_interval", e.email_interval);
  json_add_int(r, "email_pic_enable", e.email_pic_enable);
  json_add_text(r, "tri_channels_pic", field_text(e.tri_channels_pic));
  json_add_int(r, "ptz_interval", e.ptz_interval);
  json_add_int(r, "alarmout_interval", e.alarmout_interval);
  json_add_int(r, "white_interval", e.white_interval);
  json_add_int(r, "http_notification_interval", e.http_notification_interval);
  json_add_text(r, "triChannels", field_text(e.triChannels));
  for (const ModeSchedule &k : kSchedules) {
    json_object_object_add(r, k.key, schedule_object(k.read, channel, mode));
  }
  json_object_object_add(r, "triChnAlarms",
                         get_event_chn_alarmout_object(field_text(e.triChnAlarms[0]).c_str(),
                                                       field_text(e.triChnAlarms[1]).c_str()));
  schedule white = {};
  read_whiteled_effective_schedule(KXDB_FILE, &white, channel, t.white_schedule);
  json_object_object_add(r, "white", get_schedule_json_object(&white));
  json_object_object_add(r, "whiteInfo", get_white_params_json_object(channel, t.white_params));
  schedule http = {};
  read_http_notification_schedule(KXDB_FILE, &http, t.http_schedule, channel);
  json_object_object_add(r, "httpSche", get_schedule_json_object(&http));
  json_object_object_add(r, "httpParams", get_http_params_json_object(channel, t.http_params));
  json_add_int(r, "audioId", e.audioId);
  json_add_int(r, "audioIdMask", get_audio_file_id_mask());
  json_object_object_add(r, "ptzParams",
                         get_ptz_params_json_object(mode + PTZ_EVENT_ANPR_BASE, channel));
  return r;
}

}  // namespace

int save_anpr_dialog_data(json_object *json, anpr_event *record, int mode, int channel) {
  if (!json || !record) return 0;
  if (!store_schedules(json, channel, mode)) return -1;
  if (!store_tables(json, channel, tables_of(mode))) return -1;
  bool changed = apply_fields(json, record);
  int ptz = store_ptz_list(json);
  if (ptz < 0) return -1;
  return (changed ? 1 : 0) + ptz;
}

int on_get_anpr_mode_params(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int channel, mode;
  if (!mode_key(root.get(), &channel, &mode)) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  JsonPtr reply(mode_object(channel, mode));
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_set_anpr_mode_params(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int channel, mode;
  if (!mode_key(root.get(), &channel, &mode)) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  json_object *dialog = json_member(root.get(), "dialog");
  int rc = kxdb_transaction(KXDB_FILE, [&] {
    anpr_event e = stored_event(channel, mode);
    int changes = dialog ? save_anpr_dialog_data(dialog, &e, mode, channel) : 0;
    if (changes < 0) return false;
    bool enable = has_member(root.get(), "enable");
    if (enable) e.enable = member_int(root.get(), "enable");
    return (!enable && changes == 0) || write_anpr_event(KXDB_FILE, &e, mode) == 0;
  });
  if (rc != 0) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  int32_t notice[2] = {channel, mode};
  cgi_send_notice(ANPR_MODE_CHANGED_NOTICE, notice, sizeof notice);
  reply_text("OK");
  return 0;
}
