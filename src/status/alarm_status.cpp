// The alarm status page: per camera the event states the daemon reports
// with the names from the settings, then the recorder's inputs and outputs.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "kxdb_alarm.h"
#include "kxdb_camera.h"
#include "kxdb_osd.h"
#include "status.h"
#include "status_records.h"

namespace {

// The settings the page names things with, read once per reply.
struct AlarmNames {
  alarm_chnin_name in[CAMERA_ALARM_INPUTS][CAMERA_ALARM_CHANNELS];
  alarm_chnout_name out[CAMERA_ALARM_OUTPUTS][CAMERA_ALARM_CHANNELS];
  alarm_in_params inputs[ALARM_IN_COUNT];
  alarm_out_params outputs[ALARM_OUT_COUNT];
};

void load_names(AlarmNames &names) {
  memset(&names, 0, sizeof names);
  for (int k = 0; k < CAMERA_ALARM_INPUTS; k++) {
    read_alarm_chnIn_event_names(KXDB_FILE, names.in[k], CAMERA_ALARM_CHANNELS, k);
  }
  for (int k = 0; k < CAMERA_ALARM_OUTPUTS; k++) {
    read_alarm_chnOut_event_names(KXDB_FILE, names.out[k], CAMERA_ALARM_CHANNELS, k);
  }
  read_alarm_ins(KXDB_FILE, names.inputs, nullptr);
  read_alarm_outs(KXDB_FILE, names.outputs, nullptr);
}

int bit(uint64_t mask, int n) { return (int)((mask >> n) & 1); }

std::string key(const char *prefix, int k) { return prefix + std::to_string(k); }

void add_bit(json_object *o, const char *name, uint64_t mask, int n) {
  json_add_int(o, name, bit(mask, n));
}

void add_camera_io(json_object *o, const alarm_state_record &s, const AlarmNames &names, int j) {
  for (int k = 0; k < CAMERA_ALARM_INPUTS; k++) {
    json_add_text(o, key("AlarmInName", k).c_str(), field_text(names.in[k][j].alarmName));
    add_bit(o, key("AlarmInType", k).c_str(), s.camInType[k], j);
    add_bit(o, key("AlarmInState", k).c_str(), s.camInState[k], j);
    if (k >= CAMERA_ALARM_OUTPUTS) continue;
    json_add_text(o, key("AlarmOutName", k).c_str(), field_text(names.out[k][j].alarmName));
    json_add_int(o, key("AlarmOutDelay", k).c_str(), names.out[k][j].delayTime);
    add_bit(o, key("AlarmOutType", k).c_str(), s.camOutType[k], j);
    add_bit(o, key("AlarmOutState", k).c_str(), s.camOutState[k], j);
  }
}

json_object *camera_object(const alarm_state_record &s, const AlarmNames &names, int j) {
  camera_params camera = {};
  osd_params osd = {};
  read_camera(KXDB_FILE, &camera, j);
  read_osd(KXDB_FILE, &osd, j);
  json_object *o = json_object_new_object();
  json_add_int(o, "id", j);
  json_add_text(o, "name", field_text(osd.camName));
  json_add_text(o, "ipAddr", field_text(camera.ipAddr));
  add_bit(o, "videolossOn", s.videoloss, j);
  add_bit(o, "motionOn", s.motion, j);
  json_add_int(o, "ioOn", 1);
  add_bit(o, "entrance", s.entrance, j);
  add_bit(o, "exiting", s.exiting, j);
  add_bit(o, "advancedMotion", s.advancedMotion, j);
  add_bit(o, "tampering", s.tampering, j);
  add_bit(o, "lineCrossing", s.lineCrossing, j);
  add_bit(o, "loitering", s.loitering, j);
  add_bit(o, "humanDetection", s.humanDetection, j);
  add_bit(o, "objectleftremove", s.objectLeftRemove, j);
  json_add_int(o, "in", s.pairs[j].in);
  json_add_int(o, "out", s.pairs[j].out);
  add_camera_io(o, s, names, j);
  return o;
}

int clamp(int value, int limit) { return value < 0 ? 0 : value > limit ? limit : value; }

json_object *inputs_array(const alarm_state_record &s, const AlarmNames &names) {
  json_object *list = json_object_new_array();
  int count = clamp(param_int(PARAM_ALARM_IN), ALARM_IN_COUNT);
  for (int j = 0; j < count; j++) {
    json_object *o = json_object_new_object();
    json_add_int(o, "id", j);
    json_add_text(o, "name", field_text(names.inputs[j].name));
    json_add_int(o, "type", names.inputs[j].type);
    add_bit(o, "state", s.alarmIn, j);
    json_object_array_add(list, o);
  }
  return list;
}

json_object *outputs_array(const alarm_state_record &s, const AlarmNames &names) {
  json_object *list = json_object_new_array();
  int count = clamp(param_int(PARAM_ALARM_OUT), ALARM_OUT_COUNT);
  for (int k = 0; k < count; k++) {
    json_object *o = json_object_new_object();
    json_add_int(o, "id", k);
    json_add_text(o, "name", field_text(names.outputs[k].name));
    json_add_int(o, "type", names.outputs[k].type);
    json_add_int(o, "duration", names.outputs[k].durationTime);
    add_bit(o, "state", s.alarmOut, k);
    json_object_array_add(list, o);
  }
  return list;
}

}  // namespace

int on_get_alarm_status(char *) {
  cgi_exchange(on_status_ipc_callback, 3305, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

void on_get_alarm_status_cb(const void *payload, int length) {
  if (length < (int)sizeof(alarm_state_record)) return;  // short: as if nothing came
  alarm_state_record state;
  memcpy(&state, payload, sizeof state);
  auto names = std::make_unique<AlarmNames>();
  load_names(*names);
  JsonPtr reply(json_object_new_object());
  json_object *cameras = json_object_new_array();
  int count = status_camera_count();
  for (int j = 0; j < count; j++) {
    json_object_array_add(cameras, camera_object(state, *names, j));
  }
  json_object_object_add(reply.get(), "cameras", cameras);
  json_object_object_add(reply.get(), "alarmIn", inputs_array(state, *names));
  json_object_object_add(reply.get(), "alarmOut", outputs_array(state, *names));
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}
