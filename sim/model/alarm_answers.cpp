// Alarm requests: every camera has two alarm outputs and up to four alarm
// inputs (the demo's cameras on channels 0 to 3 have four, the rest two).
// The types and switches the recorder stores (3324, 3325) and the outputs
// switched by hand (3352) are kept, so that the alarm pages read back what
// they saved.
#include <cstring>

#include "alarm/alarm_records.h"
#include "model.h"

namespace {

constexpr int kChannels = CAMERA_ALARM_CHANNELS;

struct CameraAlarms {
  camera_alarm_inputs in;
  camera_alarm_outputs out;
};

CameraAlarms g_alarms[kChannels];

bool channel_ok(int32_t channel) {
  return channel >= 0 && channel < kChannels;
}

template <class T>
bool take(const SimRequest &r, T *record) {
  if (r.payload.size() < sizeof *record) return false;
  memcpy(record, r.payload.data(), sizeof *record);
  return true;
}

std::vector<SimFrame> answer(const Bytes &payload) {
  return {SimFrame{0, payload, 0}};
}

void seed() {
  for (int ch = 0; ch < kChannels; ch++) {
    CameraAlarms &a = g_alarms[ch];
    a = CameraAlarms{};
    a.in.chn = ch;
    a.in.alarmCnt = ch < 4 ? CAMERA_ALARM_INPUTS : 2;
    a.out.chn = ch;
    a.out.alarmCnt = CAMERA_ALARM_OUTPUTS;
  }
  g_alarms[0].in.alarmEnable[0] = 1;
  g_alarms[0].in.alarmStatus[0] = 1;  // the gate contact is open
  g_alarms[1].out.alarmStatus[1] = 1;
}

uint64_t mask_of(uint32_t low, uint32_t high) {
  return (uint64_t)high << 32 | low;
}

std::vector<SimFrame> get_outputs(const SimRequest &r) {
  int32_t channel = -1;
  take(r, &channel);
  camera_alarm_outputs out = {};
  out.chn = channel;
  if (channel_ok(channel)) out = g_alarms[channel].out;
  return answer(bytes_of(out));
}

std::vector<SimFrame> get_inputs(const SimRequest &r) {
  camera_alarm_inputs in = {};
  in.chn = -1;
  take(r, &in);
  camera_alarm_inputs out = {};
  out.chn = in.chn;
  if (channel_ok(in.chn)) out = g_alarms[in.chn].in;
  return answer(bytes_of(out));
}

std::vector<SimFrame> set_outputs(const SimRequest &r) {
  camera_alarm_out_set in;
  if (!take(r, &in)) return {};
  uint64_t mask = mask_of(in.mask_low, in.mask_high);
  for (int ch = 0; ch < kChannels; ch++) {
    if (!(mask >> ch & 1)) continue;
    for (int k = 0; k < in.count && k < CAMERA_ALARM_OUTPUTS; k++) {
      g_alarms[ch].out.alarmType[k] = in.entries[k].alarmType;
    }
  }
  return {};
}

std::vector<SimFrame> set_inputs(const SimRequest &r) {
  camera_alarm_in_set in;
  if (!take(r, &in)) return {};
  uint64_t mask = mask_of(in.mask_low, in.mask_high);
  for (int ch = 0; ch < kChannels; ch++) {
    if (!(mask >> ch & 1)) continue;
    camera_alarm_inputs &a = g_alarms[ch].in;
    for (int j = 0; j < in.count && j < a.alarmCnt && j < CAMERA_ALARM_INPUTS; j++) {
      a.alarmEnable[j] = in.entries[j].alarmEnable;
      a.alarmType[j] = in.entries[j].alarmType;
    }
  }
  return {};
}

std::vector<SimFrame> out_state(const SimRequest &r) {
  camera_alarm_out_state in;
  if (!take(r, &in) || !channel_ok(in.chnid)) return {};
  if (in.alarmId < 0 || in.alarmId >= CAMERA_ALARM_OUTPUTS) return {};
  g_alarms[in.chnid].out.alarmStatus[in.alarmId] = in.state != 0;
  return {};
}

}  // namespace

static void register_alarm_answers(SimServer &server, CoreModel &) {
  seed();
  server.on(CAMERA_ALARM_OUT_GET, get_outputs);
  server.on(CAMERA_ALARM_IN_GET, get_inputs);
  server.on(CAMERA_ALARM_OUT_SET, set_outputs);
  server.on(CAMERA_ALARM_IN_SET, set_inputs);
  server.on(CAMERA_ALARM_OUT_STATE, out_state);
  // Changes of the recorder's alarms are taken as they come.
  for (int code : {ALARM_IN_CHANGED, ALARM_OUT_CHANGED, ALARM_OUT_STATE, ALARM_INS_CHANGED,
                   CAMERA_INS_CHANGED, CAMERA_OUTS_CHANGED}) {
    server.on(code, [](const SimRequest &) { return std::vector<SimFrame>{}; });
  }
}

CORESIM_ANSWERS(register_alarm_answers)
