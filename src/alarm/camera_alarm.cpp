// The alarm inputs and outputs of the cameras: their state and types come
// from the core daemon, their names, delays, linkage actions and schedules
// are kept here per channel and index; both are stored with copies to the
// same input or output of other channels.
#include "alarm_util.h"

using namespace alarms;

namespace {

// ---- Reading ----

alarm_chnin_event stored_event(int channel, int index) {
  alarm_chnin_event ev = {};
  read_alarm_chnIn_event(KXDB_FILE, &ev, channel, index);
  ev.chn = channel;
  ev.index = index;
  return ev;
}

std::string input_name(int channel, int index) {
  alarm_chnin_name n = {};
  read_alarm_chnIn_event_name(KXDB_FILE, &n, channel, index);
  return field_text(n.alarmName);
}

alarm_chnout_name stored_output_name(int channel, int index) {
  alarm_chnout_name n = {};
  read_alarm_chnOut_event_name(KXDB_FILE, &n, channel, index);
  n.chn = channel;
  n.index = index;
  return n;
}

json_object *input_object(const camera_alarm_inputs &a, int j) {
  int channel = a.chn;
  alarm_chnin_event ev = stored_event(channel, j);
  Linkage l = camera_linkage(channel, j);
  json_object *o = json_object_new_object();
  json_add_int(o, "alarmEnable", a.alarmEnable[j]);
  json_add_int(o, "alarmType", a.alarmType[j]);
  json_add_int(o, "alarmStatus", a.alarmStatus[j]);
  json_add_text(o, "alarmName", input_name(channel, j));
  add_schedule(o, "effective", l, LinkageSchedule::effective);
  add_schedule(o, "audible", l, LinkageSchedule::audible);
  json_add_int(o, "interval", ev.interval);
  json_add_int(o, "audioId", ev.audioId);
  json_add_int(o, "audioIdMask", get_audio_file_id_mask());
  add_schedule(o, "email", l, LinkageSchedule::email);
  json_add_int(o, "email_interval", ev.email_interval);
  json_add_int(o, "email_pic_enable", ev.email_pic_enable);
  json_add_text(o, "tri_channels_pic", field_text(ev.tri_channels_pic));
  add_schedule(o, "ptz", l, LinkageSchedule::ptz);
  json_add_int(o, "ptz_interval", ev.ptz_interval);
  add_ptz_params(o, l);
  json_add_int(o, "alarmout_interval", ev.alarmout_interval);
  json_add_int(o, "triAlarms", ev.triAlarms);
  json_add_text(o, "triChannels", field_text(ev.triChannels));
  add_alarm_outputs(o, ev.triChnAlarms);
  add_white(o, l);
  json_add_int(o, "white_interval", ev.white_interval);
  add_http(o, l);
  json_add_int(o, "http_notification_interval", ev.http_notification_interval);
  return o;
}

json_object *output_object(const camera_alarm_outputs &a, int k) {
  alarm_chnout_name n = stored_output_name(a.chn, k);
  schedule s = {};
  read_alarm_chnOut_effective_schedule(KXDB_FILE, &s, a.chn, k);
  json_object *o = json_object_new_object();
  json_add_int(o, "alarmType", a.alarmType[k]);
  json_add_int(o, "alarmStatus", a.alarmStatus[k]);
  json_add_text(o, "alarmName", field_text(n.alarmName));
  json_add_int(o, "delayTime", n.delayTime);
  json_object_object_add(o, "effective", get_schedule_json_object(&s));
  return o;
}

// The answer's record when it holds one whole and names a channel.
template <class Record>
bool take_answer(const void *payload, int length, Record *r) {
  if (length < (int)sizeof *r) return false;  // short: as missing
  memcpy(r, payload, sizeof *r);
  return channel_valid(r->chn);
}

// The channel of a camera page's request; the JSON error when it has none.
bool request_channel(json_object *root, int *channel) {
  if (member_in_range(root, "chnid", 0, CAMERA_ALARM_CHANNELS - 1, channel)) return true;
  reply_json_error();
  return false;
}

// The copy channels of a camera page, without the page's own channel.
uint64_t copy_channels(json_object *root, int channel) {
  return get_copy_flag_by_json(root, "copyChn", "copyCnt") & ~(1ULL << channel);
}

// ---- Storing the inputs ----

// One input's dialog element: linkage and event record, and their copies.
bool store_input_dialog(json_object *element, int channel, uint64_t copy) {
  int j;
  if (!member_in_range(element, "alarmId", 0, CAMERA_ALARM_INPUTS - 1, &j)) return true;
  Linkage l = camera_linkage(channel, j);
  int ptz = store_linkage(element, l);
  if (ptz < 0) return false;
  alarm_chnin_event ev = stored_event(channel, j);
  bool changed = apply_linkage_fields(element, channel, &ev) || ptz == 1;
  if (changed && write_alarm_chnIn_event(KXDB_FILE, &ev) != 0) return false;
  if (copy == 0) return true;
  return copy_linkage(l, copy) && copy_alarm_chnIn_events(KXDB_FILE, &ev, copy) == 0;
}

// Entry j of the daemon's payload, and the input's name when given.
bool store_input_alarm(json_object *element, int channel, int j, camera_alarm_in_set *set) {
  camera_alarm_in_entry &e = set->entries[j];
  e.alarmEnable = member_int(element, "alarmEnable");
  e.index = j;
  e.alarmType = member_int(element, "alarmType");
  if (!has_member(element, "alarmName")) return true;
  alarm_chnin_name n = {channel, j, {}};
  member_text(element, "alarmName", n.alarmName, sizeof n.alarmName);
  return write_alarm_chnIn_event_name(KXDB_FILE, &n) == 0;
}

bool store_inputs(json_object *root, int channel, int n, uint64_t copy, camera_alarm_in_set *set) {
  return kxdb_transaction(KXDB_FILE, [&] {
           json_object *dialog = json_member(root, "dialog");
           for (int i = 0; i < n && i < array_length(dialog); i++) {
             json_object *element = array_at(dialog, i);
             if (element && !store_input_dialog(element, channel, copy)) return false;
           }
           for (int j = 0; j < n; j++) set->entries[j].index = j;
           json_object *alarm = json_member(root, "alarm");
           for (int j = 0; j < n && j < array_length(alarm); j++) {
             json_object *element = array_at(alarm, j);
             if (element && !store_input_alarm(element, channel, j, set)) return false;
           }
           return true;
         }) == 0;
}

// ---- Storing the outputs ----

bool store_output_dialog(json_object *element, int channel, uint64_t copy) {
  int k;
  schedule s;
  if (!member_in_range(element, "alarmId", 0, CAMERA_ALARM_OUTPUTS - 1, &k)) return true;
  if (get_schedule_by_json(element, "effective", &s) != 0) return true;
  if (write_alarm_chnOut_effective_schedule(KXDB_FILE, &s, channel, k) != 0) return false;
  return copy == 0 || copy_alarm_chnOut_effective_schedules(KXDB_FILE, &s, k, copy) == 0;
}

// Entry k of the daemon's payload, the output's name and delay, and the
// delay (not the name) on the copy channels.
bool store_output_alarm(json_object *element, int channel, int k, uint64_t copy,
                        camera_alarm_out_set *set) {
  set->entries[k].index = k;
  set->entries[k].alarmType = member_int(element, "alarmType");
  alarm_chnout_name n = stored_output_name(channel, k);
  n.delayTime = member_int(element, "delayTime");
  if (has_member(element, "alarmName")) {
    member_text(element, "alarmName", n.alarmName, sizeof n.alarmName);
  }
  if (write_alarm_chnOut_event_name(KXDB_FILE, &n) != 0) return false;
  return copy == 0 || copy_alarm_chnOut_delays(KXDB_FILE, k, n.delayTime, copy) == 0;
}

bool store_outputs(json_object *root, int channel, int n, uint64_t copy,
                   camera_alarm_out_set *set) {
  return kxdb_transaction(KXDB_FILE, [&] {
           json_object *dialog = json_member(root, "dialog");
           for (int i = 0; i < n && i < array_length(dialog); i++) {
             json_object *element = array_at(dialog, i);
             if (element && !store_output_dialog(element, channel, copy)) return false;
           }
           for (int k = 0; k < n; k++) set->entries[k].index = k;
           json_object *alarm = json_member(root, "alarm");
           for (int k = 0; k < n && k < array_length(alarm); k++) {
             json_object *element = array_at(alarm, k);
             if (element && !store_output_alarm(element, channel, k, copy, set)) return false;
           }
           return true;
         }) == 0;
}

// ---- Handlers shared by inputs and outputs ----

// The answer's channel, its count (at most `room`) and `listed` entries.
template <class Answer, class Item>
void reply_camera_alarms(const Answer &a, int room, int listed, Item item) {
  int n = clamp_count(a.alarmCnt, room);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "chnid", a.chn);
  json_add_int(reply.get(), "alarmCnt", n);
  json_object *list = json_object_new_array();
  for (int j = 0; j < (listed < 0 ? n : listed); j++) json_object_array_add(list, item(a, j));
  json_object_object_add(reply.get(), "alarm", list);
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}

// Stores the entries of a channel (and its copies), then tells the daemon
// the new entries (set_code) and which channels changed (changed_code).
template <class Set, class Store>
int set_camera_alarms(char *text, int room, Store store, int set_code, int changed_code) {
  JsonPtr root(get_request_tokener_json_object(text));
  int channel;
  if (!request_channel(root.get(), &channel)) return -1;
  if (!has_member(root.get(), "alarmCnt")) {
    reply_json_error();
    return -1;
  }
  int n = clamped_count(root.get(), "alarmCnt", room);
  uint64_t copy = copy_channels(root.get(), channel);
  Set set = {};
  if (!store(root.get(), channel, n, copy, &set)) {
    reply_json_error();
    return -1;
  }
  uint64_t mask = copy | 1ULL << channel;
  set.count = n;
  set.mask_low = (uint32_t)mask;
  set.mask_high = (uint32_t)(mask >> 32);
  cgi_send_notice(set_code, &set, sizeof set);
  send_mask_notice(changed_code, mask);
  reply_text("OK");
  return 0;
}

}  // namespace

int on_get_camera_alarm_input(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int channel;
  if (!request_channel(root.get(), &channel)) return -1;
  camera_alarm_inputs request = {};
  request.chn = channel;
  request.alarmCnt = CAMERA_ALARM_INPUTS;
  cgi_exchange(on_alarm_ipc_callback, CAMERA_ALARM_IN_GET, &request, sizeof request,
               CGI_REPLY_JSON);
  return 0;
}

void on_camera_alarm_input_cb(const void *payload, int length) {
  camera_alarm_inputs a;
  if (!take_answer(payload, length, &a)) return;
  reply_camera_alarms(a, CAMERA_ALARM_INPUTS, -1, input_object);
}

int on_set_camera_alarm_input(char *text) {
  return set_camera_alarms<camera_alarm_in_set>(text, CAMERA_ALARM_INPUTS, store_inputs,
                                                CAMERA_ALARM_IN_SET, CAMERA_INS_CHANGED);
}

int on_get_camera_alarm_output(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int32_t channel;
  if (!request_channel(root.get(), &channel)) return -1;
  cgi_exchange(on_alarm_ipc_callback, CAMERA_ALARM_OUT_GET, &channel, sizeof channel,
               CGI_REPLY_JSON);
  return 0;
}

void on_camera_alarm_output_cb(const void *payload, int length) {
  camera_alarm_outputs a;
  if (!take_answer(payload, length, &a)) return;
  reply_camera_alarms(a, CAMERA_ALARM_OUTPUTS, CAMERA_ALARM_OUTPUTS, output_object);
}

int on_set_camera_alarm_output(char *text) {
  return set_camera_alarms<camera_alarm_out_set>(text, CAMERA_ALARM_OUTPUTS, store_outputs,
                                                 CAMERA_ALARM_OUT_SET, CAMERA_OUTS_CHANGED);
}

int on_set_camera_alarm_out_state(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) {
    reply_text_error();
    return -1;
  }
  camera_alarm_out_state state = {member_int(root.get(), "chnid"),
                                  member_int(root.get(), "alarmId"),
                                  member_int(root.get(), "state")};
  cgi_send_notice(CAMERA_ALARM_OUT_STATE, &state, sizeof state);
  reply_text("OK");
  return 0;
}
