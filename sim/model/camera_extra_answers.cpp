// Further camera features of the four model cameras (channels 0 to 3): a
// watermark and an event stream per channel that the setters change, the
// audio configuration and auto tracking record per channel, the
// night mode, capability flags, a custom parameter echo, the recorder's
// chip code and a motion status.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "camera/camera_extra_records.h"
#include "camera/camera_records.h"
#include "model.h"

namespace {

constexpr int kCameras = 4;

struct CameraExtra {
  watermark_answer watermark;
  event_stream stream;
};
CameraExtra g_extra[kCameras];

std::vector<SimFrame> answer(const Bytes &payload) { return {SimFrame{0, payload, 0}}; }
std::vector<SimFrame> result(int32_t value) { return answer(bytes_of_int(value)); }

int32_t channel_word(const Bytes &payload) {
  return payload.size() >= 4 ? record_from<int32_t>(payload) : -1;
}

CameraExtra *extra_of(int channel) {
  return channel >= 0 && channel < kCameras ? &g_extra[channel] : nullptr;
}

void seed_extra() {
  for (int ch = 0; ch < kCameras; ch++) {
    CameraExtra &e = g_extra[ch];
    e = {};
    e.watermark.channel = ch;
    e.watermark.enable = ch == 0;
    snprintf(e.watermark.watermark, sizeof e.watermark.watermark, "Camera %d", ch + 1);
    e.stream = {ch, 0, 1, 15, 2048, 30};
  }
}

std::vector<SimFrame> get_watermark(const SimRequest &r) {
  int32_t channel = channel_word(r.payload);
  CameraExtra *e = extra_of(channel);
  watermark_answer out = {};
  out.channel = channel;
  if (e) out = e->watermark;
  return answer(bytes_of(out));
}

// The watermark goes to the request's channel and every channel of "copy".
std::vector<SimFrame> set_watermark(const SimRequest &r) {
  if (r.payload.size() < sizeof(watermark_request)) return result(-1);
  watermark_request in = record_from<watermark_request>(r.payload);
  int changed = 0;
  for (int ch = 0; ch < kCameras; ch++) {
    if (in.copy[ch] != '1' && ch != in.channel) continue;
    g_extra[ch].watermark.enable = in.enable;
    memcpy(g_extra[ch].watermark.watermark, in.watermark, sizeof in.watermark);
    g_extra[ch].watermark.watermark[sizeof in.watermark - 1] = '\0';
    changed++;
  }
  return result(changed ? 0 : -1);
}

std::vector<SimFrame> get_event_stream(const SimRequest &r) {
  int32_t channel = channel_word(r.payload);
  CameraExtra *e = extra_of(channel);
  event_stream out = {channel, 0, 0, 0, 0, 0};
  if (e) out = e->stream;
  return answer(bytes_of(out));
}

std::vector<SimFrame> set_event_stream(const SimRequest &r) {
  if (r.payload.size() < sizeof(event_stream)) return result(-1);
  event_stream in = record_from<event_stream>(r.payload);
  CameraExtra *e = extra_of(in.channel);
  if (!e) return result(-1);
  e->stream = in;
  return result(0);
}

std::vector<SimFrame> night_mode(const SimRequest &r) {
  int32_t channel = channel_word(r.payload);
  return answer(bytes_of(lpr_night_mode{channel, channel == 2 ? 1 : 0}));
}

std::vector<SimFrame> camera_type(const SimRequest &r) {
  static const char *const kModels[kCameras] = {"IPC-B2812", "IPC-D4028", "IPC-T5036",
                                                "IPC-F1020"};
  channel_model out = {};
  out.channel = channel_word(r.payload);
  if (extra_of(out.channel)) {
    snprintf(out.ipaddr, sizeof out.ipaddr, "192.168.1.%d", 101 + out.channel);
    snprintf(out.model, sizeof out.model, "%s", kModels[out.channel]);
    snprintf(out.fwversion, sizeof out.fwversion, "V5.2.1 build 2406%d", 10 + out.channel);
  }
  return answer(bytes_of(out));
}

std::vector<SimFrame> system_info(const SimRequest &r) {
  int32_t channel = channel_word(r.payload);
  ipc_system_info out = {};
  if (!extra_of(channel)) {
    out.words[0] = -1;
    return answer(bytes_of(out));
  }
  out.words[1] = 1;                  // audio
  out.words[2] = 1;                  // audio modes
  out.words[3] = channel != 3;       // line input
  out.words[4] = channel == 1;       // speaker
  out.words[5] = channel == 1;       // manual speed
  out.words[41] = channel == 1;      // auto tracking
  return answer(bytes_of(out));
}

std::vector<SimFrame> custom_param(const SimRequest &r) {
  if (r.payload.size() < sizeof(custom_param_request)) return result(-1);
  custom_param_request in = record_from<custom_param_request>(r.payload);
  custom_param_answer out = {};
  out.channel = in.channel;
  out.res = extra_of(in.channel) ? 0 : -1;
  in.url[sizeof in.url - 1] = '\0';
  if (out.res == 0) snprintf(out.data, sizeof out.data, "value of %s", in.url);
  return answer(bytes_of(out));
}

std::vector<SimFrame> chip_code(const SimRequest &) {
  std::string code = "KX3536C";
  return answer(Bytes(code.begin(), code.end()));
}

// Channel 0 and 2 report motion.
std::vector<SimFrame> motion(const SimRequest &) { return answer(bytes_of(motion_status{5, 0})); }

// ---- Audio: two encodings with their sample and bit rates, and a
// configuration per channel that the setter changes ----
ipc_audio_config g_audio[kCameras];

void seed_audio() {
  for (int ch = 0; ch < kCameras; ch++) g_audio[ch] = {ch, 1, 0, 1, 0, 8000, 50, 0, 1, 70, 64};
}

void fill_option(ipc_audio_option &o, int encode, std::initializer_list<int> rates) {
  o.encode = encode;
  for (int rate : rates) {
    ipc_audio_sample_rate &r = o.sample_rates[o.sample_rate_count++];
    r = {rate, 2, {32, 64}};
  }
}

std::vector<SimFrame> get_audio(const SimRequest &r) {
  int32_t channel = channel_word(r.payload);
  auto out = std::make_unique<ipc_audio_info>();
  *out = {};
  if (!extra_of(channel)) {
    out->res = -1;
    return answer(bytes_of(*out));
  }
  out->support = 1;
  out->supportMode = 1;
  out->supportInputMode = channel != 3;
  out->option_count = 2;
  fill_option(out->options[0], 0, {8000, 16000});
  fill_option(out->options[1], 1, {8000});
  out->config = g_audio[channel];
  return answer(bytes_of(*out));
}

std::vector<SimFrame> set_audio(const SimRequest &r) {
  if (r.payload.size() < sizeof(ipc_audio_set)) return result(-1);
  ipc_audio_set in = record_from<ipc_audio_set>(r.payload);
  uint64_t mask = (uint64_t)in.mask_high << 32 | in.mask_low;
  int changed = 0;
  for (int ch = 0; ch < kCameras; ch++) {
    if (!(mask >> ch & 1)) continue;
    g_audio[ch] = in.config;
    g_audio[ch].channel = ch;
    changed++;
  }
  return result(changed ? 0 : -1);
}

// ---- Auto tracking: the dome on channel 1 tracks in office hours ----
std::unique_ptr<auto_tracking> g_tracking[kCameras];

void seed_tracking() {
  for (int ch = 0; ch < kCameras; ch++) {
    g_tracking[ch] = std::make_unique<auto_tracking>();
    auto_tracking &t = *g_tracking[ch];
    memset(&t, 0, sizeof t);
    t.channel = ch;
    t.enable = ch == 1;
    t.sensitivity = 5;
    t.time = 30;
    t.zoom_mode = 1;
    t.zoom_number = 4;
    t.humanVehicleSupport = 1;
    t.trackingObject = 1;
    snprintf(t.area, sizeof t.area, "0,0,100,100");
    for (int d = 0; d < SCHEDULE_DAYS; d++) {
      snprintf(t.sched.days[d].plans[0].start_time, 32, "08:00");
      snprintf(t.sched.days[d].plans[0].end_time, 32, "18:00");
      t.sched.days[d].plans[0].action_type = 1;
    }
  }
}

std::vector<SimFrame> get_tracking(const SimRequest &r) {
  int32_t channel = channel_word(r.payload);
  if (extra_of(channel)) return answer(bytes_of(*g_tracking[channel]));
  auto out = std::make_unique<auto_tracking>();
  memset(out.get(), 0, sizeof *out);
  out->channel = channel;
  return answer(bytes_of(*out));
}

std::vector<SimFrame> set_tracking(const SimRequest &r) {
  if (r.payload.size() < sizeof(auto_tracking_set)) return result(-1);
  auto in = std::make_unique<auto_tracking_set>();
  memcpy(in.get(), r.payload.data(), sizeof *in);
  uint64_t mask = (uint64_t)in->mask_high << 32 | in->mask_low;
  int changed = 0;
  for (int ch = 0; ch < kCameras; ch++) {
    if (!(mask >> ch & 1)) continue;
    *g_tracking[ch] = in->record;
    g_tracking[ch]->channel = ch;
    changed++;
  }
  return result(changed ? 0 : -1);
}

// ---- Camera upgrade: each started channel moves from 0 to 100 in steps of
// 25, one step each time the status is asked for ----
uint64_t g_upgrade_mask = 0;
int32_t g_upgrade_status[IPC_UPGRADE_CHANNELS];

ipc_upgrade_status upgrade_status() {
  ipc_upgrade_status out = {(uint32_t)g_upgrade_mask, (uint32_t)(g_upgrade_mask >> 32), {}};
  memcpy(out.status, g_upgrade_status, sizeof out.status);
  return out;
}

std::vector<SimFrame> upgrade_masks(const SimRequest &r) {
  if (r.payload.size() < sizeof(ipc_upgrade_masks)) return result(-1);
  ipc_upgrade_masks in = record_from<ipc_upgrade_masks>(r.payload);
  return result(in.upgrade_low || in.upgrade_high ? 0 : -1);
}

std::vector<SimFrame> upgrade_start(const SimRequest &r) {
  if (r.payload.size() < sizeof(ipc_upgrade_start)) return result(-1);
  ipc_upgrade_start in = record_from<ipc_upgrade_start>(r.payload);
  g_upgrade_mask = ((uint64_t)in.mask_high << 32 | in.mask_low) & ((1ULL << kCameras) - 1);
  memset(g_upgrade_status, 0, sizeof g_upgrade_status);
  return answer(bytes_of(upgrade_status()));
}

std::vector<SimFrame> upgrade_progress(const SimRequest &) {
  ipc_upgrade_status out = upgrade_status();
  for (int ch = 0; ch < kCameras; ch++) {
    if (g_upgrade_mask >> ch & 1 && g_upgrade_status[ch] < 100) g_upgrade_status[ch] += 25;
  }
  return answer(bytes_of(out));
}

std::vector<SimFrame> upgrade_stop(const SimRequest &) {
  g_upgrade_mask = 0;
  return {};
}

}  // namespace

static void register_camera_extra_answers(SimServer &server, CoreModel &) {
  seed_extra();
  seed_audio();
  seed_tracking();
  server.on(1213, get_watermark);
  server.on(1216, set_watermark);
  server.on(1217, get_event_stream);
  server.on(1218, set_event_stream);
  server.on(1219, night_mode);
  // 1262 (PTZ support) is answered by the PTZ model.
  server.on(2507, camera_type);
  server.on(3376, system_info);
  server.on(3377, custom_param);
  server.on(4004, chip_code);
  server.on(3307, motion);
  server.on(3371, get_audio);
  server.on(3372, set_audio);
  server.on(3294, get_tracking);
  server.on(3375, set_tracking);
  server.on(3385, upgrade_masks);
  server.on(3379, upgrade_start);
  server.on(3386, upgrade_progress);
  server.on(3390, upgrade_stop);
}

CORESIM_ANSWERS(register_camera_extra_answers)
