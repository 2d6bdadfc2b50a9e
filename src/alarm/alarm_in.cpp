// The recorder's alarm inputs on the basic pages: the list, one input with
// its arming plans, storing an input with or without its plans, and the
// names of every input of the recorder and of the cameras.
#include "alarm_util.h"

using namespace alarms;

namespace {

// Every plan the basic page stores arms the input with this action.
constexpr int32_t ARMING_ACTION = 6;

json_object *input_object(const alarm_in_params &in) {
  json_object *item = json_object_new_object();
  json_add_int(item, "id", in.id);
  json_add_int(item, "enable", in.enable);
  json_add_text(item, "name", field_text(in.name));
  json_add_int(item, "type", in.type);
  json_add_text(item, "triChannels", field_text(in.triChannels));
  json_add_int(item, "triAlarms", in.triAlarms);
  return item;
}

// The fields the basic page sets (and "enable" only when asked).
void apply_basic_fields(json_object *alarm, alarm_in_params *in, bool with_enable) {
  if (with_enable) in->enable = member_int(alarm, "enable");
  member_text(alarm, "name", in->name, sizeof in->name);
  in->type = member_int(alarm, "type");
  set_tri_channels(in->triChannels, &in->trigger_mask, json_member(alarm, "triChannels"));
  in->triAlarms = member_int(alarm, "triAlarms");
  in->interval = member_int(alarm, "interval");
}

// The arming plans of the request: every plan, given or not, with the
// arming action.
schedule arming_plans(json_object *json) {
  schedule s = {};
  get_schedule_by_json(json, "schedule", &s);
  for (schedule_day &day : s.days) {
    for (int p = 0; p < SCHEDULE_JSON_PLANS; p++) day.plans[p].action_type = ARMING_ACTION;
  }
  return s;
}

// The change notice, the log entry and the reply of a stored input.
void input_stored(int id) {
  send_number_notice(ALARM_IN_CHANGED, id);
  send_alarm_log(LOG_PARAM_ALARM_IN, id);
  reply_text("OK");
}

// The "alarm" object of a request that passes the check, or null.
json_object *checked_alarm(json_object *root) {
  json_object *alarm = json_member(root, "alarm");
  return alarm && check_alarm_in_info(alarm) == 0 ? alarm : nullptr;
}

}  // namespace

int check_alarm_in_info(json_object *alarm) {
  int value;
  if (!member_in_range(alarm, "id", 0, ALARM_IN_COUNT - 1, &value)) return -1;
  if (!member_in_range(alarm, "enable", 0, 2, &value)) return -1;
  if (!member_in_range(alarm, "type", 0, 1, &value)) return -1;
  if (!has_member(alarm, "triChannels")) return -1;
  if (!has_member(alarm, "triAlarms") || member_int(alarm, "triAlarms") < 0) return -1;
  if (!has_member(alarm, "interval") || member_int(alarm, "interval") < 0) return -1;
  return 0;
}

int on_get_alarm_ins(char *) {
  alarm_in_params ins[ALARM_IN_COUNT] = {};
  for (int i = 0; i < ALARM_IN_COUNT; i++) ins[i].id = i;
  read_alarm_ins(KXDB_FILE, ins, nullptr);  // a failed read shows the defaults
  JsonPtr list(json_object_new_array());
  for (const alarm_in_params &in : ins) json_object_array_add(list.get(), input_object(in));
  json_writeback(CGI_REPLY_JSON, list.get());
  return 0;
}

int on_get_alarm_in_schedule(char *text) {
  int id;
  if (!bare_number(text, &id) || !in_valid(id)) {
    reply_json_error();
    return -1;
  }
  alarm_in_params in = stored_input(id);
  JsonPtr reply(json_object_new_object());
  json_object *alarm = input_object(in);
  json_add_int(alarm, "interval", in.interval);
  json_add_text(alarm, "triSnapshot", field_text(in.triSnapshot));
  json_object_object_add(reply.get(), "alarm", alarm);
  schedule s = {};
  read_alarm_in_schedule(KXDB_FILE, &s, id);
  json_object_object_add(reply.get(), "schedule", get_schedule_json_object(&s));
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

// Record and plans are one step: the daemon is told only of both.
int on_set_alarm_in_schedule(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  json_object *alarm = checked_alarm(root.get());
  if (!alarm) return -1;
  int id = member_int(alarm, "id");
  alarm_in_params in = stored_input(id);
  apply_basic_fields(alarm, &in, true);
  schedule s = arming_plans(root.get());
  bool stored = kxdb_transaction(KXDB_FILE, [&] {
                  return write_alarm_in(KXDB_FILE, &in) == 0 &&
                         write_alarm_in_schedule(KXDB_FILE, &s, id) == 0;
                }) == 0;
  if (!stored) {
    reply_text_error();
    return -1;
  }
  input_stored(id);
  return 0;
}

// An input outside 0 to 15 is no record: nothing is written, no reply.
int on_set_alarm_in_base(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  json_object *alarm = json_member(root.get(), "alarm");
  int id;
  if (!alarm || !member_in_range(alarm, "camId", 0, ALARM_IN_COUNT - 1, &id)) return -1;
  alarm_in_params in = stored_input(id);
  member_text(alarm, "name", in.name, sizeof in.name);
  in.type = member_int(alarm, "type");
  in.enable = member_int(alarm, "enable");
  if (write_alarm_in(KXDB_FILE, &in) != 0) {
    reply_text_error();
    return -1;
  }
  input_stored(id);
  return 0;
}

// "enable" is checked but kept as stored.
int on_set_alarm_in(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  json_object *alarm = checked_alarm(root.get());
  if (!alarm) return -1;
  int id = member_int(alarm, "id");
  alarm_in_params in = stored_input(id);
  apply_basic_fields(alarm, &in, false);
  if (write_alarm_in(KXDB_FILE, &in) != 0) {
    reply_text_error();
    return -1;
  }
  input_stored(id);
  return 0;
}

int on_get_all_alarmin_names(char *) {
  alarm_in_params ins[ALARM_IN_COUNT] = {};
  read_alarm_ins(KXDB_FILE, ins, nullptr);
  JsonPtr reply(json_object_new_object());
  json_object *nvr = json_object_new_array();
  for (const alarm_in_params &in : ins) {
    json_object_array_add(nvr, json_object_new_string(field_text(in.name).c_str()));
  }
  json_object_object_add(reply.get(), "nvr", nvr);
  alarm_chnin_name names[CAMERA_ALARM_INPUTS][CAMERA_ALARM_CHANNELS] = {};
  for (int k = 0; k < CAMERA_ALARM_INPUTS; k++) {
    read_alarm_chnIn_event_names(KXDB_FILE, names[k], CAMERA_ALARM_CHANNELS, k);
  }
  json_object *camera = json_object_new_array();
  for (int ch = 0; ch < CAMERA_ALARM_CHANNELS; ch++) {
    json_object *four = json_object_new_array();
    for (int k = 0; k < CAMERA_ALARM_INPUTS; k++) {
      json_object_array_add(four, json_object_new_string(field_text(names[k][ch].alarmName).c_str()));
    }
    json_object_array_add(camera, four);
  }
  json_object_object_add(reply.get(), "camera", camera);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}
