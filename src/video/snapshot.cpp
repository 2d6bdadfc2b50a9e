// Scheduled snapshots: the week schedule and picture settings of channels,
// and starting or stopping snapshots. The daemon is told which channels
// changed (1311, 1312) or are to start or stop (1313).
#include <memory>
#include <new>

#include "camera_events.h"
#include "kxdb_snapshot.h"
#include "video_util.h"

using namespace video;

namespace {

// Appends each of the first `count` elements of `array` that is a channel
// and not yet listed; elements that are missing or no channel are skipped.
// So a list holds every channel at most once, 64 at most.
snapshot_channel_list listed_channels(json_object *array, int count) {
  snapshot_channel_list list = {};
  uint64_t seen = 0;
  for (int i = 0; i < count && i < array_length(array); i++) {
    json_object *e = array_at(array, i);
    if (!e) continue;
    int ch = json_object_get_int(e);
    if (!channel_valid(ch) || (seen >> ch & 1)) continue;
    seen |= 1ULL << ch;
    list.channels[list.count++] = ch;
  }
  return list;
}

uint64_t list_mask(const snapshot_channel_list &list) {
  uint64_t mask = 0;
  for (int i = 0; i < list.count; i++) kx_set_bit(&mask, list.channels[i]);
  return mask;
}

// The start or stop payload of the first `count` elements of `array`.
snapshot_switch selected_channels(int action, json_object *array, int count) {
  snapshot_switch s = {};
  s.action = action;
  for (int i = 0; i < count && i < array_length(array); i++) {
    json_object *e = array_at(array, i);
    if (!e) continue;
    int ch = json_object_get_int(e);
    if (channel_valid(ch)) s.selected[ch] = 1;
  }
  return s;
}

}  // namespace

int on_get_snapshot_schedule(char *text) {
  if (!text || !*text) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  // A channel outside 0 to 63 shows the empty schedule, as the other
  // schedule readers do.
  auto s = std::make_unique<snapshot_schedule>();
  int channel;
  if (text_channel(text, &channel)) read_snapshot_schedule(KXDB_FILE, s.get(), channel);
  JsonPtr reply(get_schedule_json_object(&s->week));
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_set_snapshot_schedule(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  std::unique_ptr<snapshot_schedule[]> room(new (std::nothrow) snapshot_schedule[64]());
  if (!root || !room) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  schedule decoded = {};
  get_schedule_by_json(root.get(), "schedule", &decoded);
  snapshot_channel_list list =
      listed_channels(json_member(root.get(), "chnid"), member_int(root.get(), "cnt"));
  for (int i = 0; i < list.count; i++) room[list.channels[i]].week = decoded;
  if (write_snapshot_schedules(KXDB_FILE, room.get(), &list) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  cgi_send_notice(SNAPSHOT_SCHEDULE_NOTICE, &list, sizeof list);
  reply_text("OK");
  return 0;
}

int on_get_snapshot_setting_params(char *text) {
  if (!text || !*text) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  snapshot_params r = {};
  int channel;
  if (text_channel(text, &channel)) read_snapshot(KXDB_FILE, &r, channel);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "resolution", r.resolution);
  json_add_int(reply.get(), "quality", r.quality);
  json_add_int(reply.get(), "interval", r.interval);
  json_add_int(reply.get(), "interval_unit", r.interval_unit);
  json_add_int(reply.get(), "expiration_date", r.expiration_date);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_set_snapshot_setting_params(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  json_object *j = root.get();
  snapshot_params r = {};
  r.resolution = member_int(j, "resolution");
  r.quality = member_int(j, "quality");
  r.interval = member_int(j, "interval");
  r.interval_unit = member_int(j, "interval_unit");
  r.expiration_date = member_int(j, "expiration_date");
  snapshot_channel_list list = listed_channels(json_member(j, "chnid"), member_int(j, "cnt"));
  if (copy_snapshots(KXDB_FILE, &r, list_mask(list)) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  cgi_send_notice(SNAPSHOT_SETTINGS_NOTICE, &list, sizeof list);
  reply_text("OK");
  return 0;
}

int on_set_snapshot_batch_setting(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  json_object *j = root.get();
  int start_count = member_int(j, "snapshotCnt");
  int stop_count = member_int(j, "stopCnt");
  snapshot_switch start = selected_channels(1, json_member(j, "snapshotChnId"), start_count);
  snapshot_switch stop = selected_channels(0, json_member(j, "stopChnId"), stop_count);
  if (start_count > 0) cgi_send_notice(SNAPSHOT_START_STOP, &start, sizeof start);
  if (stop_count > 0) cgi_send_notice(SNAPSHOT_START_STOP, &stop, sizeof stop);
  reply_text("OK");
  return 0;
}
