// Motion detection of a channel: the whole page's settings, the basic
// fields, the camera-side grid, and the selected-field writers.
#include <cstring>

#include "video_util.h"

using namespace video;

namespace {

using ScheduleReader = int (*)(const char *, schedule *, int);

// A stored schedule of the channel as the page reads it; a failed read
// shows the empty schedule.
json_object *stored_schedule(ScheduleReader read, int channel, bool ex) {
  schedule s = {};
  read(KXDB_FILE, &s, channel);
  return ex ? get_schedule_json_object_ex(&s) : get_schedule_json_object(&s);
}

int read_white_schedule(const char *file, schedule *s, int channel) {
  return read_whiteled_effective_schedule(file, s, channel, MOTION_WHITE_SCHEDULE);
}

int read_http_schedule(const char *file, schedule *s, int channel) {
  return read_http_notification_schedule(file, s, MOTION_HTTP_SCHEDULE, channel);
}

void add_record_fields(json_object *reply, const motion_params &m, int channel) {
  json_add_int(reply, "chnid", channel);
  json_add_int(reply, "enable", m.enable);
  json_add_int(reply, "sensitivity", m.sensitivity);
  json_add_text(reply, "triChannels", field_text(m.triChannels));
  json_add_int(reply, "triAlarms", m.triAlarms);
  json_add_int(reply, "interval", m.interval);
  json_add_int(reply, "enableKX", m.enableKX);
  json_add_text(reply, "motionTable", field_text(m.motionTable));
  json_add_int(reply, "email_enable", m.email_enable);
  json_add_int(reply, "email_interval", m.email_interval);
  json_add_int(reply, "email_pic_enable", m.email_pic_enable);
  json_add_text(reply, "tri_channels_pic", field_text(m.tri_channels_pic));
  json_add_int(reply, "ptz_interval", m.ptz_interval);
  json_add_int(reply, "alarmout_interval", m.alarmout_interval);
  json_add_int(reply, "http_notification_interval", m.http_notification_interval);
}

void add_actions(json_object *reply, const motion_params &m, int channel) {
  json_object_object_add(reply, "effective",
                         stored_schedule(read_motion_effective_schedule, channel, false));
  json_object_object_add(reply, "audible",
                         stored_schedule(read_motion_audible_schedule, channel, true));
  json_object_object_add(reply, "email", stored_schedule(read_motion_email_schedule, channel, true));
  json_object_object_add(reply, "ptz", stored_schedule(read_motion_ptz_schedule, channel, true));
  json_object_object_add(reply, "triChnAlarms",
                         get_event_chn_alarmout_object(field_text(m.triChnAlarms[0]).c_str(),
                                                       field_text(m.triChnAlarms[1]).c_str()));
  json_object_object_add(reply, "white", stored_schedule(read_white_schedule, channel, false));
  json_object_object_add(reply, "whiteInfo",
                         get_white_params_json_object(channel, MOTION_WHITE_PARAMS));
  json_add_int(reply, "white_interval", m.white_interval);
  json_object_object_add(reply, "httpSche", stored_schedule(read_http_schedule, channel, false));
  json_object_object_add(reply, "httpParams",
                         get_http_params_json_object(channel, MOTION_HTTP_PARAMS));
  json_add_int(reply, "audioId", m.audioId);
  json_add_int(reply, "audioIdMask", get_audio_file_id_mask());
  json_object_object_add(reply, "ptzParams", get_ptz_params_json_object(PTZ_EVENT_MOTION, channel));
}

// Keys "/6012" requires, and whether each must not be negative.
struct RequiredKey {
  const char *key;
  bool non_negative;
};
constexpr RequiredKey kBasicKeys[] = {
    {"enable", false},   {"sensitivity", true}, {"triChannels", false}, {"triAlarms", true},
    {"interval", true},  {"motionTable", false}, {"enableKX", false},
};

void reply_error_text() {
  cgi_error_to_webserver(CGI_REPLY_TEXT);
}

}  // namespace

int on_get_movedetect_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int channel = root ? member_int(root.get(), "chnid") : -1;
  if (!channel_valid(channel)) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  motion_params m = stored_motion(channel);
  JsonPtr reply(json_object_new_object());
  add_record_fields(reply.get(), m, channel);
  add_actions(reply.get(), m, channel);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int check_movedetect_info(json_object *json) {
  int channel;
  if (!member_channel(json, "camId", &channel)) return -1;
  for (const RequiredKey &k : kBasicKeys) {
    if (!has_member(json, k.key)) return -1;
    if (k.non_negative && member_int(json, k.key) < 0) return -1;
  }
  return 0;
}

// Starts from the stored record, so that the basic page keeps the
// channel's action settings (e-mail, alarm outputs, audio, HTTP).
int on_set_movedetect_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || check_movedetect_info(root.get()) != 0) return -1;
  json_object *json = root.get();
  int channel = member_int(json, "camId");
  motion_params m = stored_motion(channel);
  m.enable = member_int(json, "enable");
  m.sensitivity = member_int(json, "sensitivity");
  m.triAlarms = member_int(json, "triAlarms");
  m.interval = member_int(json, "interval");
  m.enableKX = member_int(json, "enableKX");
  member_text(json, "motionTable", m.motionTable, sizeof m.motionTable);
  set_tri_channels(&m, json_member(json, "triChannels"));
  if (write_motion(KXDB_FILE, &m) != 0) {
    reply_error_text();
    return -1;
  }
  notify_motion_changed(channel);
  camera_motion camera = {};  // enable stays 0: the switch (3212) turns it on
  member_text(json, "motionTable", camera.map, sizeof camera.map);
  camera.sensitivity = m.sensitivity;
  camera.channel = channel;
  cgi_send_notice(CAMERA_MOTION_SET, &camera, sizeof camera);
  send_camera_motion_state(channel, m.enableKX);
  send_motion_log(channel);
  reply_text("OK");
  return 0;
}

// The daemon's channel numbers end at 63: larger ids are not passed on.
int check_motion_map_info(json_object *json) {
  int channel;
  return member_channel(json, "id", &channel) ? 0 : -1;
}

int on_get_motion_map(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || check_motion_map_info(root.get()) != 0) return -1;
  int32_t channel = member_int(root.get(), "id");
  cgi_exchange(on_video_ipc_callback, CAMERA_MOTION_GET, &channel, sizeof channel,
               CGI_REPLY_TEXT);
  return 0;
}

void on_get_motion_map_cb(const void *payload, int length) {
  if (length < (int)sizeof(camera_motion)) return;  // short: as missing
  camera_motion r;
  memcpy(&r, payload, sizeof r);
  JsonPtr reply(json_object_new_object());
  json_add_text(reply.get(), "map", field_text(r.map));
  json_add_int(reply.get(), "sensitivity", r.sensitivity);
  json_add_int(reply.get(), "result", r.result);
  json_add_int(reply.get(), "enable", r.enable);
  json_add_int(reply.get(), "modelType", r.modelType);
  json_add_int(reply.get(), "fishdisplay", r.fishdisplay);
  json_add_int(reply.get(), "fishtransfer", r.fishtransfer);
  json_add_int(reply.get(), "fishinstall", r.fishinstall);
  json_add_int(reply.get(), "enableAI", r.enableAI);
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}

// The older page: sensitivity, switches and the plain schedule together.
int on_set_move_info_sche(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  json_object *json = root.get();
  motion_params all[MOTION_CHANNELS];
  int count = 0;
  read_motions(KXDB_FILE, all, &count);
  int channel = member_int(json, "camId");
  if (channel < 0 || channel >= count) return -1;
  motion_params m = all[channel];
  m.id = channel;
  m.sensitivity = member_int(json, "sensitivity");
  m.enableKX = member_int(json, "enableKX");
  m.enable = member_int(json, "enable");
  m.triAlarms = member_int(json, "triAlarms");
  m.interval = member_int(json, "interval");
  schedule s = {};
  get_schedule_by_json(json, "schedule", &s);  // missing: the empty schedule
  // Record and schedule are one step: the daemon is told only of both.
  bool stored = kxdb_transaction(KXDB_FILE, [&] {
                  return write_motion(KXDB_FILE, &m) == 0 &&
                         write_motion_schedule(KXDB_FILE, &s, channel) == 0;
                }) == 0;
  if (!stored) {
    reply_error_text();
    return -1;
  }
  notify_motion_changed(channel);  // the record
  notify_motion_changed(channel);  // the schedule
  send_camera_motion_state(channel, m.enableKX);
  reply_text("OK");
  return 0;
}

int on_set_move_base_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  json_object *json = root.get();
  motion_params all[MOTION_CHANNELS];
  int count = 0;
  read_motions(KXDB_FILE, all, &count);
  int channel = member_int(json, "camId");
  if (channel < 0 || channel >= count) return -1;
  motion_params m = all[channel];
  m.id = channel;
  m.sensitivity = member_int(json, "sensitivity");
  set_tri_channels(&m, json_member(json, "triChannels"));
  m.triAlarms = member_int(json, "triAlarms");
  m.interval = member_int(json, "interval");
  m.enableKX = member_int(json, "enableKX");
  if (write_motion(KXDB_FILE, &m) != 0) {
    reply_error_text();
    return -1;
  }
  notify_motion_changed(channel);
  send_motion_log(channel);
  reply_text("OK");
  return 0;
}

// "type" 1 changes the trigger channels, 2 the alarm outputs; any other
// type rewrites the record as it is.
int on_set_move_others(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  json_object *json = root.get();
  int channel = member_int(json, "camId");
  if (!channel_valid(channel)) {
    reply_error_text();
    return -1;
  }
  motion_params m = stored_motion(channel);
  int type = member_int(json, "type");
  if (type == 1) set_tri_channels(&m, json_member(json, "triChannels"));
  if (type == 2) m.triAlarms = member_int(json, "triAlarms");
  if (write_motion(KXDB_FILE, &m) != 0) {
    reply_error_text();
    return -1;
  }
  notify_motion_changed(channel);
  send_motion_log(channel);
  reply_text("OK");
  return 0;
}
