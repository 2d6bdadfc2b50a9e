// The recorder's alarm outputs: the list, one output with its schedule,
// storing one with copies to others, switching one by hand, and the names
// of every output of the recorder and of the cameras.
#include "alarm_util.h"

using namespace alarms;

namespace {

json_object *output_object(const alarm_out_params &o) {
  json_object *item = json_object_new_object();
  json_add_int(item, "id", o.id);
  json_add_text(item, "name", field_text(o.name));
  json_add_int(item, "type", o.type);
  json_add_int(item, "enable", o.enable);
  json_add_int(item, "durationTime", o.durationTime);
  return item;
}

// The stored outputs; after a failed read (false) the factory defaults.
bool stored_outputs(alarm_out_params (&outs)[ALARM_OUT_COUNT]) {
  for (int i = 0; i < ALARM_OUT_COUNT; i++) outs[i] = alarm_out_params{i, {}, 0, 0, 0};
  return read_alarm_outs(KXDB_FILE, outs, nullptr) == 0;
}

// Name, enable, type and duration where present; true when one was.
bool apply_output_fields(json_object *json, alarm_out_params *o) {
  bool present = false;
  if (has_member(json, "name")) {
    member_text(json, "name", o->name, sizeof o->name);
    present = true;
  }
  const struct {
    const char *key;
    int32_t alarm_out_params::*field;
  } ints[] = {{"enable", &alarm_out_params::enable},
              {"type", &alarm_out_params::type},
              {"durationTime", &alarm_out_params::durationTime}};
  for (const auto &f : ints) {
    if (!has_member(json, f.key)) continue;
    o->*f.field = member_int(json, f.key);
    present = true;
  }
  return present;
}

// The copied outputs get the source's switch, type and duration (never
// its name).
void copy_to_outputs(const alarm_out_params &source, uint64_t mask,
                     alarm_out_params (&outs)[ALARM_OUT_COUNT]) {
  for (alarm_out_params &target : outs) {
    if (!(mask >> target.id & 1)) continue;
    target.enable = source.enable;
    target.type = source.type;
    target.durationTime = source.durationTime;
  }
}

// Steps of storing one output, as one step: its schedule, its record and
// the copies. `mask` receives the outputs copied to. False when a read or
// write failed.
bool store_output(json_object *json, int id, uint64_t *mask) {
  return kxdb_transaction(KXDB_FILE, [&] {
           schedule s;
           json_object *dialog = json_member(json, "dialog");
           if (dialog && get_schedule_by_json_ex(dialog, "effective", &s) == 0 &&
               write_alarm_out_schedule(KXDB_FILE, &s, id) != 0) {
             return false;
           }
           alarm_out_params source = {};
           if (read_alarm_out(KXDB_FILE, &source, id) != 0) source.id = id;
           if (apply_output_fields(json, &source) && write_alarm_out(KXDB_FILE, &source) != 0) {
             return false;
           }
           *mask = 0;
           *mask = copy_targets(json, id, ALARM_OUT_COUNT);
           if (*mask == 0) return true;
           alarm_out_params outs[ALARM_OUT_COUNT];
           if (!stored_outputs(outs)) return false;  // never copied over unread records
           copy_to_outputs(source, *mask, outs);
           memset(&s, 0, sizeof s);
           return write_alarm_outs(KXDB_FILE, outs, ALARM_OUT_COUNT, *mask) == 0 &&
                  read_alarm_out_schedule(KXDB_FILE, &s, id) == 0 &&
                  copy_alarm_out_schedules(KXDB_FILE, &s, *mask) == 0;
         }) == 0;
}

}  // namespace

int on_get_alarm_outs(char *) {
  alarm_out_params outs[ALARM_OUT_COUNT];
  stored_outputs(outs);
  JsonPtr list(json_object_new_array());
  for (const alarm_out_params &o : outs) json_object_array_add(list.get(), output_object(o));
  std::string reply = "Content-type: application/json\r\n\r\n";
  reply += json_object_to_json_string(list.get());
  cgi_writeback_webserver(CGI_REPLY_BODY, reply.c_str());
  return 0;
}

int on_get_alarm_out(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int id;
  if (!member_in_range(root.get(), "alarmId", 0, ALARM_OUT_COUNT - 1, &id)) {
    reply_json_error();
    return -1;
  }
  alarm_out_params o = {};
  if (read_alarm_out(KXDB_FILE, &o, id) != 0) o.id = id;
  schedule s = {};
  read_alarm_out_schedule(KXDB_FILE, &s, id);
  JsonPtr reply(output_object(o));
  json_object_object_add(reply.get(), "effective", get_schedule_json_object_ex(&s));
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_set_alarm_out(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int id;
  uint64_t mask = 0;
  if (!member_in_range(root.get(), "alarmId", 0, ALARM_OUT_COUNT - 1, &id) ||
      !store_output(root.get(), id, &mask)) {
    reply_text_error();
    return -1;
  }
  send_number_notice(ALARM_OUT_CHANGED, id);
  for (int target = 0; target < ALARM_OUT_COUNT; target++) {
    if (mask >> target & 1) send_number_notice(ALARM_OUT_CHANGED, target);
  }
  send_alarm_log_mask(LOG_PARAM_ALARM_OUT, id, mask | 1ULL << id);
  reply_text("OK");
  return 0;
}

// Only the recorder's outputs are switched: another number is refused with
// the text error (it would name no output and overflow the log's count).
int on_set_alarm_out_state(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int id;
  if (!root) return -1;
  if (!member_in_range(root.get(), "id", 0, ALARM_OUT_COUNT - 1, &id)) {
    reply_text_error();
    return -1;
  }
  alarm_out_state state = {id, member_int(root.get(), "enable")};
  cgi_send_notice(ALARM_OUT_STATE, &state, sizeof state);
  send_alarm_log(LOG_PARAM_ALARM_OUT, state.output);
  reply_text("OK");
  return 0;
}

int on_get_all_alarmout_names(char *) {
  alarm_out_params outs[ALARM_OUT_COUNT];
  stored_outputs(outs);
  JsonPtr reply(json_object_new_object());
  json_object *nvr = json_object_new_array();
  for (const alarm_out_params &o : outs) {
    json_object_array_add(nvr, json_object_new_string(field_text(o.name).c_str()));
  }
  json_object_object_add(reply.get(), "nvr", nvr);
  alarm_chnout_name names[CAMERA_ALARM_OUTPUTS][CAMERA_ALARM_CHANNELS] = {};
  for (int k = 0; k < CAMERA_ALARM_OUTPUTS; k++) {
    read_alarm_chnOut_event_names(KXDB_FILE, names[k], CAMERA_ALARM_CHANNELS, k);
  }
  json_object *camera = json_object_new_array();
  for (int ch = 0; ch < CAMERA_ALARM_CHANNELS; ch++) {
    json_object *pair = json_object_new_array();
    for (int k = 0; k < CAMERA_ALARM_OUTPUTS; k++) {
      json_object_array_add(pair, json_object_new_string(field_text(names[k][ch].alarmName).c_str()));
    }
    json_object_array_add(camera, pair);
  }
  json_object_object_add(reply.get(), "camera", camera);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}
