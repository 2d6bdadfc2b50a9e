// Video loss of a camera channel: the basic page, its schedules, and the
// pages that set one field for several channels at once.
#include <cstring>

#include "kxdb_record.h"
#include "video_loss_util.h"

using namespace vloss;
using video::channel_valid;

namespace {

// The stored record of a channel, or the zeroed one when it cannot be
// read; either way it carries the channel as its id.
video_loss_params stored_video_loss(int channel) {
  video_loss_params r = {};
  read_video_lost(KXDB_FILE, &r, channel);
  r.id = channel;
  return r;
}

// Which switch and interval of the record a several-channel schedule page sets.
struct SwitchFields {
  int32_t video_loss_params::*enable;
  int32_t video_loss_params::*interval;
  ScheduleCopier copy;
};

const SwitchFields kAudibleFields = {&video_loss_params::enable, &video_loss_params::interval,
                                     copy_videoloss_audible_schedules};
const SwitchFields kEmailFields = {&video_loss_params::email_enable,
                                   &video_loss_params::email_interval,
                                   copy_videoloss_email_schedules};

// {"schedule", "cnt", "chnid", "enable", "interval"}: the schedule to every
// listed channel; the records only where the switch or interval changes.
int store_switch_schedule(const char *text, const SwitchFields &f) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  json_object *json = root.get();
  schedule s = request_schedule(json);
  int enable = member_int(json, "enable");
  int interval = member_int(json, "interval");
  uint64_t listed = listed_mask(json, VIDEO_LOSS_CHANNELS);
  uint64_t changed = 0;
  bool stored = kxdb_transaction(KXDB_FILE, [&] {
                  video_loss_params records[VIDEO_LOSS_CHANNELS] = {};
                  int count = 0;
                  if (read_video_losts(KXDB_FILE, records, &count) != 0) return false;
                  for (int n = 0; n < VIDEO_LOSS_CHANNELS; n++) {
                    video_loss_params &r = records[n];
                    if (!(listed >> n & 1)) continue;
                    if (r.*f.enable == enable && r.*f.interval == interval) continue;
                    r.*f.enable = enable;
                    r.*f.interval = interval;
                    changed |= 1ULL << n;
                  }
                  return f.copy(KXDB_FILE, &s, listed) == 0 &&
                         write_video_losts(KXDB_FILE, records, VIDEO_LOSS_CHANNELS, changed) == 0;
                }) == 0;
  if (!stored) {
    reply_text_error();
    return -1;
  }
  send_mask_notice(VIDEO_LOSS_CHANNELS_NOTICE, listed);
  reply_ok();
  return 0;
}

// The PTZ action list of `source` to each channel of the mask, every used
// entry carrying the channel it is stored under.
bool copy_ptz_list_to(int source, int type, uint64_t mask, int limit) {
  ptz_action_params list[PTZ_ACTION_MAX] = {};
  int count = 0;
  if (read_ptz_params(KXDB_FILE, list, type, source, &count) != 0) return false;
  for (int n = 0; n < limit; n++) {
    if (!(mask >> n & 1)) continue;
    for (ptz_action_params &e : list) {
      if (e.acto_ptz_channel > 0) e.chn_id = n;
    }
    if (n != source && write_ptz_params_all(KXDB_FILE, list, type, n) != 0) return false;
  }
  return true;
}

}  // namespace

namespace vloss {

// {"camId", "schedule", "cnt", "chnid"} of the video-loss and alarm-input
// PTZ pages: the source's list and the schedule to every listed key. A
// source outside `limit` answers the text error and changes nothing.
int store_ptz_schedule(const char *text, int type, int limit, ScheduleCopier copy, int notice) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  json_object *json = root.get();
  int source = member_int(json, "camId", -1);
  if (source < 0 || source >= limit) {
    reply_text_error();
    return -1;
  }
  schedule s = request_schedule(json);
  uint64_t mask = listed_mask(json, limit);
  bool stored = kxdb_transaction(KXDB_FILE, [&] {
                  return copy_ptz_list_to(source, type, mask, limit) &&
                         copy(KXDB_FILE, &s, mask) == 0;
                }) == 0;
  if (!stored) {
    reply_text_error();
    return -1;
  }
  send_mask_notice(notice, mask);
  reply_ok();
  return 0;
}

}  // namespace vloss

int on_get_videolost_info(char *text) {
  int channel = bare_number(text);
  video_loss_params r = {};
  if (channel_valid(channel)) r = stored_video_loss(channel);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "camId", channel);
  json_add_int(reply.get(), "enable", r.enable);
  json_add_int(reply.get(), "triAlarms", r.triAlarms);
  json_add_int(reply.get(), "interval", r.interval);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_get_videolost_schedule(char *text) {
  return reply_schedule(text, read_videoloss_audible_schedule, VIDEO_LOSS_CHANNELS);
}

int on_get_videolost_email_sche(char *text) {
  return reply_schedule(text, read_videoloss_email_schedule, 0);
}

int on_get_videoloss_ptz_sche(char *text) {
  return reply_schedule(text, read_videoloss_ptz_schedule, 0);
}

int check_videolost_info(json_object *json) {
  int channel;
  if (!video::member_channel(json, "camId", &channel)) return -1;
  for (const char *key : {"enable", "triAlarms", "interval"}) {
    if (!has_member(json, key)) return -1;
  }
  int enable = member_int(json, "enable");
  if (enable < 0 || enable > 2) return -1;
  if (member_int(json, "triAlarms") < 0 || member_int(json, "interval") < 0) return -1;
  return 0;
}

int check_videolost_schedule(json_object *json) {
  int channel;
  return video::member_channel(json, "camId", &channel) ? 0 : -1;
}

// "enable" is checked but kept as stored: the basic page's switch is not
// the one the daemon reads.
int on_set_videolost_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || check_videolost_info(root.get()) != 0) return -1;
  json_object *json = root.get();
  int channel = member_int(json, "camId");
  video_loss_params r = stored_video_loss(channel);
  r.triAlarms = member_int(json, "triAlarms");
  r.interval = member_int(json, "interval");
  if (write_video_lost(KXDB_FILE, &r) != 0) {
    reply_text_error();
    return -1;
  }
  send_number_notice(VIDEO_LOSS_CHANGED_NOTICE, channel);
  send_log(LOG_PARAM_VIDEO_LOSS, channel);
  reply_ok();
  return 0;
}

int on_set_videolost_schedule(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || check_videolost_schedule(root.get()) != 0) return -1;
  json_object *json = root.get();
  int channel = member_int(json, "camId");
  schedule s = request_schedule(json);
  video_loss_params r = stored_video_loss(channel);
  r.enable = member_int(json, "enable");
  bool stored = kxdb_transaction(KXDB_FILE, [&] {
                  return write_video_loss_schedule(KXDB_FILE, &s, channel) == 0 &&
                         write_video_lost(KXDB_FILE, &r) == 0;
                }) == 0;
  if (!stored) {
    reply_text_error();
    return -1;
  }
  send_number_notice(VIDEO_LOSS_CHANGED_NOTICE, channel);
  reply_ok();
  return 0;
}

int on_set_videolost_audible_sche(char *text) {
  return store_switch_schedule(text, kAudibleFields);
}

int on_set_videolost_email_sche(char *text) {
  return store_switch_schedule(text, kEmailFields);
}

// The changed channels get the new column value and the notice; the log
// names every listed channel.
int on_set_videolost_others(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  json_object *json = root.get();
  int tri_alarms = member_int(json, "triAlarms");
  uint64_t listed = listed_mask(json, VIDEO_LOSS_CHANNELS);
  video_loss_params records[VIDEO_LOSS_CHANNELS] = {};
  int count = 0;
  read_video_losts(KXDB_FILE, records, &count);
  uint64_t changed = 0;
  for (int n = 0; n < VIDEO_LOSS_CHANNELS; n++) {
    if ((listed >> n & 1) && records[n].triAlarms != tri_alarms) changed |= 1ULL << n;
  }
  if (copy_table_column_int(KXDB_FILE, VIDEO_LOSS_TABLE, "tri_alarms", tri_alarms, changed,
                            "id") != 0) {
    reply_text_error();
    return -1;
  }
  send_mask_notice(VIDEO_LOSS_CHANNELS_NOTICE, changed);
  send_log_mask(LOG_PARAM_VIDEO_LOSS, listed);
  reply_ok();
  return 0;
}

int on_set_videoloss_ptz_sche(char *text) {
  return store_ptz_schedule(text, PTZ_EVENT_VIDEO_LOSS, VIDEO_LOSS_CHANNELS,
                            copy_videoloss_ptz_schedules, VIDEO_LOSS_CHANNELS_NOTICE);
}
