#include "video_util.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "cgi_ipc.h"
#include "linkage.h"

namespace video {

bool channel_valid(int channel) {
  return channel >= 0 && channel < MOTION_CHANNELS;
}

bool member_channel(json_object *object, const char *key, int *channel) {
  if (!has_member(object, key)) return false;
  int value = member_int(object, key);
  if (!channel_valid(value)) return false;
  *channel = value;
  return true;
}

bool text_channel(const char *text, int *channel) {
  if (!text) return false;
  errno = 0;
  long value = strtol(text, nullptr, 10);
  if (errno == ERANGE || value < 0 || value >= MOTION_CHANNELS) return false;
  *channel = (int)value;
  return true;
}

void reply_text(const char *text) {
  cgi_writeback_webserver(CGI_REPLY_TEXT, text);
}

void reply_decoded_json(json_object *reply) {
  if (!reply) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
  } else {
    json_writeback(CGI_REPLY_JSON, reply);
  }
  g_callback_done = 1;
}

uint32_t trigger_mask(const char *text, size_t width) {
  return linkage_trigger_mask(text, width);
}

motion_params stored_motion(int channel) {
  motion_params m = {};
  read_motion(KXDB_FILE, &m, channel);
  m.id = channel;
  return m;
}

void set_tri_channels(motion_params *record, json_object *value) {
  json_copy_text(value, record->triChannels, sizeof record->triChannels);
  record->trigger_mask = trigger_mask(record->triChannels, sizeof record->triChannels);
}

bool store_white_params(json_object *json, int channel, const char *table) {
  whiteled_params block[WHITELED_BLOCK_RECORDS];
  if (get_white_params_by_json(channel, block, json, "whiteInfo") != 0) return true;
  return write_whiteled_params_all(KXDB_FILE, block, table, channel) == 0;
}

bool store_http_params(json_object *json, int channel, const char *table) {
  http_notification_params record;
  if (get_http_params_by_json(channel, &record, json, "httpParams") != 0) return true;
  return write_http_notification_params(KXDB_FILE, &record, table) == 0;
}

int store_ptz_list(json_object *json) {
  json_object *list = json_member(json, "ptzParams");
  int type = member_int(json, "ptzType");
  if (!list || !json_object_is_type(list, json_type_array)) return 0;
  if (type < 0 || type > PTZ_EVENT_TYPE_MAX) return 0;  // no such list
  int channel = member_int(json, "ptzChnId");
  if (set_ptz_params_by_json(channel, type, list) == 1) return 1;
  // Not stored: either it does not decode for that channel, or the write failed.
  ptz_action_params decoded[PTZ_ACTION_MAX];
  return get_ptz_params_by_json(channel, type, list, decoded) == 0 ? -1 : 0;
}

void apply_alarm_outputs(json_object *json, int channel, char (*texts)[MOTION_CHANNELS_SIZE]) {
  event_alarmout_name pair[2] = {};
  for (int i = 0; i < 2; i++) memcpy(pair[i].name, texts[i], sizeof pair[i].name);
  get_event_chn_alarmout_by_object(channel, json, "triChnAlarms", pair);
  for (int i = 0; i < 2; i++) memcpy(texts[i], pair[i].name, sizeof pair[i].name);
}

void notify_motion_changed(int channel) {
  int32_t payload = channel;
  cgi_send_notice(MOTION_CHANGED_NOTICE, &payload, sizeof payload);
}

void notify_motion_copied(uint64_t mask) {
  channel_mask_notice payload = {(uint32_t)mask, (uint32_t)(mask >> 32)};
  cgi_send_notice(MOTION_COPIED_NOTICE, &payload, sizeof payload);
}

namespace {
log_info motion_log_entry() {
  log_info entry;
  cgi_init_log_info(&entry);
  entry.sub_type = LOG_SUB_MOTION;
  entry.param_type = LOG_PARAM_MOTION;
  return entry;
}
}  // namespace

void send_motion_log(int channel) {
  log_info entry = motion_log_entry();
  entry.channel = channel + 1;  // the log counts channels from 1
  cgi_send_log_info(&entry);
}

void send_motion_log_channels(uint64_t mask) {
  log_info entry = motion_log_entry();
  cgi_send_log_info_channels(&entry, mask);
}

camera_motion_week whole_week(int channel) {
  camera_motion_week week = {};
  week.channel = channel;
  for (int d = 0; d < CAMERA_WEEK_DAYS; d++) {
    camera_week_day &day = week.days[d];
    day.day = d;
    day.enable = 1;
    for (auto &segment : day.segments) {
      segment[0] = 0;   // start hour
      segment[1] = 0;   // start minute
      segment[2] = 24;  // end hour
      segment[3] = 0;   // end minute
    }
  }
  return week;
}

void add_to_list(int32_t *list, int32_t *count, int channel) {
  if (*count < 0 || *count >= CAMERA_LIST_MAX) return;
  list[(*count)++] = channel;
}

void send_camera_motion_state(int channel, int enableKX) {
  camera_motion_switch on_off = {};
  on_off.channel = channel;
  on_off.enable = enableKX == 1 ? 1 : 0;
  cgi_send_notice(CAMERA_MOTION_SWITCH, &on_off, sizeof on_off);
  if (enableKX != 1) return;
  camera_motion_week week = whole_week(channel);
  cgi_send_notice(CAMERA_MOTION_WEEK, &week, sizeof week);
}

}  // namespace video
