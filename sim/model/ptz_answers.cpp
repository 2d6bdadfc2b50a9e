// PTZ requests: the PTZ cameras on channels 0 to 3 keep their presets,
// tours (the main view's and the fisheye view's), basic options and LED
// state. Presets named by a set-preset command and the tours the recorder
// sends are kept, so that the PTZ page lists what it saved. The camera's
// speed parameter (3226) is the camera parameters' own answer.
#include <cstring>
#include <memory>

#include "model.h"
#include "ptz/ptz_records.h"

namespace {

constexpr int kChannels = 64;
constexpr int kPtzCameras = 4;  // the demo's cameras, channels 0 to 3
constexpr int32_t kActionSetPreset = 22;

struct PtzCamera {
  ptz_info info;       // the main view
  ptz_info fish_info;  // the fisheye view's tours
  ptz_basic basic;
  int32_t led;
  int32_t last_command;
};

std::unique_ptr<PtzCamera[]> g_ptz;  // 64 channels, about 2 MB

bool channel_ok(int32_t channel) {
  return channel >= 0 && channel < kChannels;
}

bool is_ptz_camera(int32_t channel) {
  return channel >= 0 && channel < kPtzCameras;
}

// A request shorter than its record is not taken.
template <class T>
bool take(const SimRequest &r, T *record) {
  if (r.payload.size() < sizeof *record) return false;
  memcpy(record, r.payload.data(), sizeof *record);
  return true;
}

std::vector<SimFrame> none() {
  return {};
}

std::vector<SimFrame> answer(const Bytes &payload) {
  return {SimFrame{0, payload, 0}};
}

void name_preset(ptz_info &info, int32_t id, const char *name, size_t width) {
  if (id < 1 || id > PTZ_PRESETS) return;  // presets count from 1
  ptz_preset_info &p = info.presets[id - 1];
  p.enable = 1;
  memset(p.name, 0, sizeof p.name);
  memcpy(p.name, name, strnlen(name, width < sizeof p.name ? width : sizeof p.name - 1));
}

void set_tour(ptz_tour_arrays &tour, const ptz_tour_point *points, int32_t count) {
  tour = ptz_tour_arrays{};
  for (int32_t i = 0; i < count && i < PTZ_TOUR_POINTS; i++) {
    tour.preset[i] = points[i].preset;
    tour.time[i] = points[i].time;
    tour.speed[i] = points[i].speed;
  }
}

void seed() {
  g_ptz.reset(new PtzCamera[kChannels]());
  for (int ch = 0; ch < kChannels; ch++) {
    PtzCamera &c = g_ptz[ch];
    c.basic.chnId = ch;
    if (!is_ptz_camera(ch)) continue;
    c.basic.presetSpeed = 5;
    c.basic.manualSpeed = 5;
    c.basic.patrolRecoveryTime = 30;
    c.basic.resumeTime = 60;
    c.led = 1;
    c.info.patterns[0] = 1;
  }
  name_preset(g_ptz[0].info, 1, "Gate", 31);
  name_preset(g_ptz[0].info, 2, "Car park", 31);
  name_preset(g_ptz[0].info, 3, "Loading bay", 31);
  name_preset(g_ptz[1].info, 1, "Reception", 31);
  const ptz_tour_point rounds[] = {{1, 10, 5}, {2, 15, 5}, {3, 10, 4}};
  set_tour(g_ptz[0].info.tours[0], rounds, 3);
}

// ---- Answered ----
std::vector<SimFrame> support(const SimRequest &r) {
  int32_t channel = -1;
  take(r, &channel);
  return answer(bytes_of_int(is_ptz_camera(channel) ? 0 : -1));
}

std::vector<SimFrame> info(const SimRequest &r) {
  int32_t channel = -1;
  take(r, &channel);
  auto out = std::make_unique<ptz_info>();
  if (channel_ok(channel)) *out = g_ptz[channel].info;
  return answer(bytes_of(*out));
}

std::vector<SimFrame> fish_info(const SimRequest &r) {
  ptz_info_request in = {-1, 0};
  take(r, &in);
  auto out = std::make_unique<ptz_info>();
  if (channel_ok(in.chn)) *out = g_ptz[in.chn].fish_info;
  return answer(bytes_of(*out));
}

std::vector<SimFrame> get_basic(const SimRequest &r) {
  int32_t channel = -1;
  take(r, &channel);
  ptz_basic out = {};
  out.chnId = channel;
  out.status = -1;  // no such channel
  if (channel_ok(channel)) out = g_ptz[channel].basic;
  return answer(bytes_of(out));
}

// The options go to every channel of the mask, or to chnId without one.
std::vector<SimFrame> set_basic(const SimRequest &r) {
  ptz_basic in;
  if (!take(r, &in)) return answer(bytes_of_int(-1));
  auto apply = [&](int ch) {
    ptz_basic &b = g_ptz[ch].basic;
    b = in;
    b.status = 0;
    b.chnId = ch;
    memset(b.channelMask, 0, sizeof b.channelMask);
  };
  bool any = false;
  for (int ch = 0; ch < kChannels && ch < (int)sizeof in.channelMask; ch++) {
    if (in.channelMask[ch] == '\0') break;
    if (in.channelMask[ch] != '1') continue;
    apply(ch);
    any = true;
  }
  if (any) return answer(bytes_of_int(0));
  if (!channel_ok(in.chnId)) return answer(bytes_of_int(-1));
  apply(in.chnId);
  return answer(bytes_of_int(0));
}

std::vector<SimFrame> control(const SimRequest &r) {
  ptz_control in = {-1, 0};
  take(r, &in);
  if (!is_ptz_camera(in.chnid)) return answer(bytes_of_int(-1));
  g_ptz[in.chnid].last_command = in.ptzCmd;
  return answer(bytes_of_int(0));
}

std::vector<SimFrame> led(const SimRequest &r) {
  int32_t channel = -1;
  take(r, &channel);
  ptz_led_status out = {channel, channel_ok(channel) ? g_ptz[channel].led : 0};
  return answer(bytes_of(out));
}

// ---- Sent without waiting: kept, not answered ----
std::vector<SimFrame> preset(const SimRequest &r) {
  ptz_action in;
  if (take(r, &in) && in.action == kActionSetPreset && is_ptz_camera(in.channelId)) {
    name_preset(g_ptz[in.channelId].info, in.presetId, in.name, sizeof in.name);
  }
  return none();
}

std::vector<SimFrame> tour_set(const SimRequest &r) {
  ptz_tour_set in;
  if (!take(r, &in) || !is_ptz_camera(in.chn) || in.tourid < 0 || in.tourid >= PTZ_TOURS) {
    return none();
  }
  set_tour(g_ptz[in.chn].info.tours[in.tourid], in.points, in.rowsize);
  return none();
}

std::vector<SimFrame> tour_clear(const SimRequest &r) {
  ptz_tour_command in;
  if (!take(r, &in) || !is_ptz_camera(in.chn) || in.tourid < 0 || in.tourid >= PTZ_TOURS) {
    return none();
  }
  ptz_info &target = in.fisheyeType != 0 ? g_ptz[in.chn].fish_info : g_ptz[in.chn].info;
  for (int32_t &p : target.tours[in.tourid].preset) p = 0;
  return none();
}

std::vector<SimFrame> fish_tour_set(const SimRequest &r) {
  auto in = std::make_unique<ptz_fish_tour_set>();
  if (!take(r, in.get()) || !is_ptz_camera(in->chn) || in->tour < 0 || in->tour >= PTZ_TOURS) {
    return none();
  }
  g_ptz[in->chn].fish_info.tours[in->tour] = in->tours[in->tour];
  return none();
}

}  // namespace

static void register_ptz_answers(SimServer &server, CoreModel &) {
  seed();
  server.on(1262, support);
  server.on(1265, info);
  server.on(1268, fish_info);
  server.on(1270, get_basic);
  server.on(1271, set_basic);
  server.on(3361, control);
  server.on(3363, led);
  server.on(1253, preset);
  server.on(1264, tour_set);
  server.on(1257, tour_clear);
  server.on(1269, fish_tour_set);
  // Movement, port changes, patterns, tour runs, preset calls and zoom move
  // the camera only.
  for (int code : {1251, 1252, 1254, 1260, 1261, 1266, 1267}) {
    server.on(code, [](const SimRequest &) { return none(); });
  }
}

CORESIM_ANSWERS(register_ptz_answers)
