// What a video loss sets off: everything of one channel for the page, and
// the page's dialog stored with a copy to other channels.
#include <cstring>
#include <span>

#include "video_loss_util.h"

using namespace vloss;
using video::channel_valid;

namespace {

// ---- The page's view of a channel ----

json_object *stored_schedule(ScheduleReader read, int channel, bool ex) {
  schedule s = {};
  read(KXDB_FILE, &s, channel);
  return ex ? get_schedule_json_object_ex(&s) : get_schedule_json_object(&s);
}

int read_white_schedule(const char *file, schedule *s, int channel) {
  return read_whiteled_effective_schedule(file, s, channel, WHITE_SCHEDULE);
}
int read_http_schedule(const char *file, schedule *s, int channel) {
  return read_http_notification_schedule(file, s, HTTP_SCHEDULE, channel);
}

void add_record_fields(json_object *reply, const video_loss_params &r, int channel) {
  json_add_int(reply, "chnid", channel);
  json_add_int(reply, "enable", r.enable);
  json_add_int(reply, "triAlarms", r.triAlarms);
  json_add_int(reply, "interval", r.interval);
  json_add_int(reply, "email_interval", r.email_interval);
  json_add_int(reply, "ptz_interval", r.ptz_interval);
  json_add_int(reply, "alarmout_interval", r.alarmout_interval);
  json_add_int(reply, "white_interval", r.white_interval);
  json_add_int(reply, "http_notification_interval", r.http_notification_interval);
}

void add_actions(json_object *reply, const video_loss_params &r, int channel) {
  json_object_object_add(reply, "audible",
                         stored_schedule(read_videoloss_audible_schedule, channel, true));
  json_object_object_add(reply, "email",
                         stored_schedule(read_videoloss_email_schedule, channel, true));
  json_object_object_add(reply, "ptz", stored_schedule(read_videoloss_ptz_schedule, channel, true));
  json_object_object_add(reply, "triChnAlarms",
                         get_event_chn_alarmout_object(field_text(r.triChnAlarms[0]).c_str(),
                                                       field_text(r.triChnAlarms[1]).c_str()));
  json_object_object_add(reply, "white", stored_schedule(read_white_schedule, channel, false));
  json_object_object_add(reply, "whiteInfo", get_white_params_json_object(channel, WHITE_PARAMS));
  json_object_object_add(reply, "httpSche", stored_schedule(read_http_schedule, channel, false));
  json_object_object_add(reply, "httpParams", get_http_params_json_object(channel, HTTP_PARAMS));
  json_add_int(reply, "audioId", r.audioId);
  json_add_int(reply, "audioIdMask", get_audio_file_id_mask());
  json_object_object_add(reply, "ptzParams",
                         get_ptz_params_json_object(PTZ_EVENT_VIDEO_LOSS, channel));
}

// ---- Storing the dialog of one channel ----

struct ScheduleKey {
  const char *key;
  ScheduleWriter write;
};

const ScheduleKey kDialogSchedules[] = {
    {"audible", write_videoloss_audible_schedule},
    {"email", write_videoloss_email_schedule},
    {"ptz", write_videoloss_ptz_schedule},
    {"white",
     [](const char *file, const schedule *s, int channel) {
       return write_whiteled_effective_schedule(file, s, channel, WHITE_SCHEDULE);
     }},
    {"httpSche",
     [](const char *file, const schedule *s, int channel) {
       return write_http_notification_schedule(file, s, HTTP_SCHEDULE, channel);
     }},
};

using IntField = video::EventField<video_loss_params>;

const IntField kActionFields[] = {
    {"enable", &video_loss_params::enable},
    {"triAlarms", &video_loss_params::triAlarms},
    {"interval", &video_loss_params::interval},
    {"audioId", &video_loss_params::audioId},
    {"email_interval", &video_loss_params::email_interval},
    {"ptz_interval", &video_loss_params::ptz_interval},
    {"alarmout_interval", &video_loss_params::alarmout_interval},
    {"white_interval", &video_loss_params::white_interval},
    {"http_notification_interval", &video_loss_params::http_notification_interval},
};

bool store_schedules(json_object *dialog, int channel) {
  schedule s;
  for (const ScheduleKey &k : kDialogSchedules) {
    if (get_schedule_by_json_ex(dialog, k.key, &s) != 0) continue;  // absent: skipped
    if (k.write(KXDB_FILE, &s, channel) != 0) return false;
  }
  return true;
}

// Each action key present sets its field; true when one was present.
bool apply_fields(json_object *dialog, video_loss_params *r) {
  bool present = false;
  if (has_member(dialog, "triChnAlarms")) {
    video::apply_alarm_outputs(dialog, r->id, r->triChnAlarms);
    present = true;
  }
  for (const IntField &f : kActionFields) {
    if (!has_member(dialog, f.key)) continue;
    r->*f.field = member_int(dialog, f.key);
    present = true;
  }
  return present;
}

// The dialog's settings of `channel`; `record` receives the record as it
// stands afterwards. False when a write failed.
bool store_dialog(json_object *dialog, int channel, video_loss_params *record) {
  if (!store_schedules(dialog, channel)) return false;
  if (!video::store_white_params(dialog, channel, WHITE_PARAMS)) return false;
  if (!video::store_http_params(dialog, channel, HTTP_PARAMS)) return false;
  bool present = apply_fields(dialog, record);
  int ptz = video::store_ptz_list(dialog);
  if (ptz < 0) return false;
  if (!present && ptz == 0) return true;
  // The daemon takes 2 in both switches as "set by the action page".
  record->enable = 2;
  record->email_enable = 2;
  return write_video_lost(KXDB_FILE, record) == 0;
}

// ---- Copying one channel's settings to others ----

struct CopiedSchedule {
  ScheduleReader read;
  ScheduleCopier copy;
};

const CopiedSchedule kCopiedSchedules[] = {
    {read_videoloss_audible_schedule, copy_videoloss_audible_schedules},
    {read_videoloss_email_schedule, copy_videoloss_email_schedules},
    {read_videoloss_ptz_schedule, copy_videoloss_ptz_schedules},
    {read_white_schedule,
     [](const char *file, const schedule *s, uint64_t mask) {
       return copy_whiteled_effective_schedules(file, s, WHITE_SCHEDULE, mask);
     }},
    {read_http_schedule,
     [](const char *file, const schedule *s, uint64_t mask) {
       return copy_http_notification_schedules(file, s, HTTP_SCHEDULE, mask);
     }},
};

bool copy_schedules(int channel, uint64_t mask) {
  schedule s;
  for (const CopiedSchedule &c : kCopiedSchedules) {
    memset(&s, 0, sizeof s);
    if (c.read(KXDB_FILE, &s, channel) != 0 || c.copy(KXDB_FILE, &s, mask) != 0) return false;
  }
  return true;
}

bool copy_action_params(int channel, uint64_t mask) {
  if (channel < WHITELED_CHANNELS) {  // channels from there on have no white light
    whiteled_params white[WHITELED_PER_CHANNEL] = {};
    int count = 0;
    if (read_whiteled_params(KXDB_FILE, white, channel, WHITE_PARAMS, &count) != 0 ||
        copy_whiteled_params(KXDB_FILE, white, WHITE_PARAMS, mask) != 0) {
      return false;
    }
  }
  http_notification_params http = {};
  if (read_http_notification_params(KXDB_FILE, &http, channel, HTTP_PARAMS) != 0) return false;
  if (copy_http_notification_params(KXDB_FILE, &http, HTTP_PARAMS, mask) != 0) return false;
  ptz_action_params list[PTZ_ACTION_MAX] = {};
  int count = 0;
  if (read_ptz_params(KXDB_FILE, list, PTZ_EVENT_VIDEO_LOSS, channel, &count) != 0) return false;
  return copy_ptz_params_all(KXDB_FILE, list, PTZ_EVENT_VIDEO_LOSS, mask) == 0;
}

bool copy_channel(const video_loss_params &record, uint64_t mask) {
  return copy_video_losts(KXDB_FILE, &record, mask) == 0 && copy_schedules(record.id, mask) &&
         copy_action_params(record.id, mask);
}

void reply_json_error() {
  cgi_error_to_webserver(CGI_REPLY_JSON);
}

}  // namespace

int on_get_videoloss_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int channel = root ? member_int(root.get(), "chnid", -1) : -1;
  if (!channel_valid(channel)) {
    reply_json_error();
    return -1;
  }
  video_loss_params r = {};
  read_video_lost(KXDB_FILE, &r, channel);
  JsonPtr reply(json_object_new_object());
  add_record_fields(reply.get(), r, channel);
  add_actions(reply.get(), r, channel);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

// {"chnid", "dialog", "copyCnt", "copyChn"}: the dialog's settings of the
// channel, then all of the channel's settings to the copy channels, as one
// step.
int on_set_videoloss_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int channel = root ? member_int(root.get(), "chnid", -1) : -1;
  if (!channel_valid(channel)) {
    reply_json_error();
    return -1;
  }
  json_object *json = root.get();
  json_object *dialog = json_member(json, "dialog");
  uint64_t mask = 0;
  if (member_int(json, "copyCnt") > 0 && has_member(json, "copyChn")) {
    mask = get_copy_flag_by_json(json, "copyChn", "copyCnt") & ~(1ULL << channel);
  }
  bool stored = kxdb_transaction(KXDB_FILE, [&] {
                  video_loss_params r = {};
                  if (read_video_lost(KXDB_FILE, &r, channel) != 0) return false;
                  if (dialog && !store_dialog(dialog, channel, &r)) return false;
                  return mask == 0 || copy_channel(r, mask);
                }) == 0;
  if (!stored) {
    reply_json_error();
    return -1;
  }
  send_mask_notice(VIDEO_LOSS_CHANNELS_NOTICE, mask | 1ULL << channel);
  reply_ok();
  return 0;
}
