// What a motion event sets off: the action schedules, white light, HTTP
// notification, PTZ actions and the action fields of the motion record;
// and the whole page stored with a copy to other channels.
#include <cstring>
#include <span>

#include "video_util.h"

using namespace video;

namespace {

// ---- Storing one channel's actions ----

struct ScheduleKey {
  const char *key;
  int (*write)(const char *file, const schedule *s, int channel);
};

const ScheduleKey kActionSchedules[] = {
    {"effective", write_motion_effective_schedule},
    {"audible", write_motion_audible_schedule},
    {"email", write_motion_email_schedule},
    {"ptz", write_motion_ptz_schedule},
    {"white",
     [](const char *file, const schedule *s, int channel) {
       return write_whiteled_effective_schedule(file, s, channel, MOTION_WHITE_SCHEDULE);
     }},
};

const ScheduleKey kDialogSchedules[] = {
    {"httpSche",
     [](const char *file, const schedule *s, int channel) {
       return write_http_notification_schedule(file, s, MOTION_HTTP_SCHEDULE, channel);
     }},
};

// Integer action fields of the motion record, by their keys.
using IntField = EventField<motion_params>;

const IntField kActionFields[] = {
    {"enable", &motion_params::enable},
    {"triAlarms", &motion_params::triAlarms},
    {"interval", &motion_params::interval},
    {"audioId", &motion_params::audioId},
    {"email_interval", &motion_params::email_interval},
    {"email_pic_enable", &motion_params::email_pic_enable},
    {"ptz_interval", &motion_params::ptz_interval},
    {"alarmout_interval", &motion_params::alarmout_interval},
    {"white_interval", &motion_params::white_interval},
};

// Each schedule of the list that decodes is written. False when a write failed.
bool store_schedules(json_object *json, int channel, std::span<const ScheduleKey> keys) {
  schedule s;
  for (const ScheduleKey &k : keys) {
    if (get_schedule_by_json(json, k.key, &s) != 0) continue;  // absent: skipped
    if (k.write(KXDB_FILE, &s, channel) != 0) return false;
  }
  return true;
}

// Each action key present sets its field; true when one was present.
bool apply_action_fields(json_object *json, motion_params *m, bool dialog) {
  bool present = apply_event_fields<motion_params>(json, m, m->id, kActionFields);
  if (dialog && has_member(json, "http_notification_interval")) {
    m->http_notification_interval = member_int(json, "http_notification_interval");
    present = true;
  }
  return present;
}

// Stores everything the request gives for the channel, as one step. The
// dialog of the whole page adds the HTTP notification and the PTZ list.
// 1 when a record field was present plus 1 when the PTZ list was stored;
// -1 when a write failed (nothing is kept then).
int store_motion_actions(json_object *json, int channel, bool dialog) {
  int result = 0;
  int rc = kxdb_transaction(KXDB_FILE, [&] {
    if (!store_schedules(json, channel, kActionSchedules)) return false;
    if (!store_white_params(json, channel, MOTION_WHITE_PARAMS)) return false;
    if (dialog && !store_schedules(json, channel, kDialogSchedules)) return false;
    if (dialog && !store_http_params(json, channel, MOTION_HTTP_PARAMS)) return false;
    motion_params m = stored_motion(channel);
    bool changed = apply_action_fields(json, &m, dialog);
    int ptz = dialog ? store_ptz_list(json) : 0;
    if (ptz < 0) return false;
    if ((changed || ptz == 1) && write_motion(KXDB_FILE, &m) != 0) return false;
    result = (changed ? 1 : 0) + ptz;
    return true;
  });
  return rc == 0 ? result : -1;
}

// ---- Copying one channel's settings to others ----

struct CopiedSchedule {
  int (*read)(const char *file, schedule *s, int channel);
  int (*copy)(const char *file, const schedule *s, uint64_t mask);
};

const CopiedSchedule kCopiedSchedules[] = {
    {read_motion_effective_schedule, copy_motion_effective_schedules},
    {read_motion_audible_schedule, copy_motion_audible_schedules},
    {read_motion_email_schedule, copy_motion_email_schedules},
    {read_motion_ptz_schedule, copy_motion_ptz_schedules},
    {[](const char *file, schedule *s, int channel) {
       return read_whiteled_effective_schedule(file, s, channel, MOTION_WHITE_SCHEDULE);
     },
     [](const char *file, const schedule *s, uint64_t mask) {
       return copy_whiteled_effective_schedules(file, s, MOTION_WHITE_SCHEDULE, mask);
     }},
    {[](const char *file, schedule *s, int channel) {
       return read_http_notification_schedule(file, s, MOTION_HTTP_SCHEDULE, channel);
     },
     [](const char *file, const schedule *s, uint64_t mask) {
       return copy_http_notification_schedules(file, s, MOTION_HTTP_SCHEDULE, mask);
     }},
};

// A source that cannot be read is not copied as zeros: the copy fails.
bool copy_schedules(int channel, uint64_t mask) {
  schedule s;
  for (const CopiedSchedule &c : kCopiedSchedules) {
    memset(&s, 0, sizeof s);
    if (c.read(KXDB_FILE, &s, channel) != 0 || c.copy(KXDB_FILE, &s, mask) != 0) return false;
  }
  return true;
}

bool copy_white_params(int channel, uint64_t mask) {
  if (channel >= WHITELED_CHANNELS) return true;  // the channel has no white light
  whiteled_params records[WHITELED_PER_CHANNEL] = {};
  int count = 0;
  if (read_whiteled_params(KXDB_FILE, records, channel, MOTION_WHITE_PARAMS, &count) != 0) {
    return false;
  }
  return copy_whiteled_params(KXDB_FILE, records, MOTION_WHITE_PARAMS, mask) == 0;
}

bool copy_http_params(int channel, uint64_t mask) {
  http_notification_params record = {};
  if (read_http_notification_params(KXDB_FILE, &record, channel, MOTION_HTTP_PARAMS) != 0) {
    return false;
  }
  return copy_http_notification_params(KXDB_FILE, &record, MOTION_HTTP_PARAMS, mask) == 0;
}

bool copy_ptz_list(int channel, uint64_t mask) {
  ptz_action_params list[PTZ_ACTION_MAX] = {};
  int count = 0;
  if (read_ptz_params(KXDB_FILE, list, PTZ_EVENT_MOTION, channel, &count) != 0) return false;
  return copy_ptz_params_all(KXDB_FILE, list, PTZ_EVENT_MOTION, mask) == 0;
}

// Record, schedules and action parameters of `channel` to every channel of
// the mask, as one step.
bool copy_motion_settings(int channel, uint64_t mask, int sensitivity, int enableKX) {
  return kxdb_transaction(KXDB_FILE, [&] {
           motion_params m = {};
           if (read_motion(KXDB_FILE, &m, channel) != 0) return false;
           m.sensitivity = sensitivity;
           m.enableKX = enableKX;
           // The page's sensitivity and camera switch reach the stored record
           // of the channel itself only through the copy: the page lists the
           // channel among the copy channels when they are to be kept for it.
           return copy_motions(KXDB_FILE, &m, mask) == 0 && copy_schedules(channel, mask) &&
                  copy_white_params(channel, mask) && copy_http_params(channel, mask) &&
                  copy_ptz_list(channel, mask);
         }) == 0;
}

// The camera-side payloads of the whole page: the grid for the channel and
// the copy channels, the switch and the always-armed week.
struct CameraPayloads {
  camera_motion_set set = {};
  camera_motion_switch on_off = {};
  camera_motion_week week = {};
};

void build_camera_payloads(json_object *json, int channel, uint64_t mask, CameraPayloads *p) {
  int enableKX = member_int(json, "enableKX");
  member_text(json, "motionTable", p->set.map, sizeof p->set.map);
  p->set.sensitivity = member_int(json, "sensitivity");
  p->set.channel = channel;
  p->set.enableKX = enableKX;
  p->set.enableAI = member_int(json, "enableAI");
  p->week = whole_week(channel);
  p->on_off.channel = channel;
  p->on_off.enable = enableKX == 1 ? 1 : 0;
  for (int n = 0; n < MOTION_CHANNELS; n++) {
    if (!(mask >> n & 1)) continue;
    add_to_list(p->set.channels, &p->set.count, n);
    add_to_list(p->on_off.channels, &p->on_off.count, n);
    add_to_list(p->week.channels, &p->week.count, n);
  }
}

}  // namespace

int save_motion_dialog_data(json_object *json) {
  if (!json || !json_object_is_type(json, json_type_object)) return 0;
  int channel = member_int(json, "chnid");
  if (!channel_valid(channel)) return 0;
  int result = store_motion_actions(json, channel, true);
  if (result >= 0) notify_motion_changed(channel);
  return result;
}

int on_set_move_action(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int channel = root ? member_int(root.get(), "chnid") : -1;
  if (!channel_valid(channel) || store_motion_actions(root.get(), channel, false) < 0) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  notify_motion_changed(channel);
  reply_text("OK");
  return 0;
}

int on_set_move_dialog(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  json_object *json = root.get();
  int channel = member_int(json, "chnid");
  if (!channel_valid(channel)) return -1;  // nothing read, nothing copied
  if (save_motion_dialog_data(json_member(json, "dialog")) < 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  uint64_t mask = get_copy_flag_by_json(json, "copyChn", "copyCnt");
  CameraPayloads payloads;
  build_camera_payloads(json, channel, mask, &payloads);
  int enableKX = member_int(json, "enableKX");
  if (!copy_motion_settings(channel, mask, member_int(json, "sensitivity"), enableKX)) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  send_motion_log_channels(mask);
  cgi_send_notice(CAMERA_MOTION_SET_MANY, &payloads.set, sizeof payloads.set);
  notify_motion_copied(mask);
  cgi_send_notice(CAMERA_MOTION_SWITCH, &payloads.on_off, sizeof payloads.on_off);
  if (enableKX == 1) {
    cgi_send_notice(CAMERA_MOTION_WEEK_MANY, &payloads.week, sizeof payloads.week);
  }
  reply_text("OK");
  return 0;
}
