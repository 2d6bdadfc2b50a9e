// Motion-detection requests: the cameras' own motion detection, one per
// channel. The grid and sensitivity the recorder sends (3207, 3251) and the
// switch (3212) are kept and answered back by 3206, as the cameras would.
#include <cstring>

#include "model.h"
#include "video/video_records.h"

namespace {

constexpr int kChannels = 64;
constexpr int32_t kDefaultSensitivity = 5;

camera_motion g_cameras[kChannels];

void seed_cameras() {
  for (int ch = 0; ch < kChannels; ch++) {
    g_cameras[ch] = camera_motion{};
    g_cameras[ch].channel = ch;
    g_cameras[ch].sensitivity = kDefaultSensitivity;
  }
}

bool channel_ok(int32_t channel) {
  return channel >= 0 && channel < kChannels;
}

// A request shorter than its record is not taken.
template <class T>
bool take(const SimRequest &r, T *record) {
  if (r.payload.size() < sizeof *record) return false;
  memcpy(record, r.payload.data(), sizeof *record);
  return true;
}

void set_grid(int32_t channel, const char *map, int32_t sensitivity) {
  if (!channel_ok(channel)) return;
  memcpy(g_cameras[channel].map, map, CAMERA_MAP_SIZE);
  g_cameras[channel].map[CAMERA_MAP_SIZE - 1] = '\0';
  g_cameras[channel].sensitivity = sensitivity;
}

void set_enable(int32_t channel, int32_t enable) {
  if (channel_ok(channel)) g_cameras[channel].enable = enable;
}

// The listed channels, within the list's capacity.
template <class F>
void for_listed(const int32_t *channels, int32_t count, F f) {
  for (int32_t i = 0; i < count && i < CAMERA_LIST_MAX; i++) f(channels[i]);
}

std::vector<SimFrame> none() {
  return {};
}

}  // namespace

static void register_video_answers(SimServer &server, CoreModel &) {
  seed_cameras();
  // 3206: the camera's motion record of the channel; result -1 for a
  // channel that does not exist.
  server.on(CAMERA_MOTION_GET, [](const SimRequest &r) {
    int32_t channel = -1;
    take(r, &channel);
    camera_motion answer = {};
    answer.channel = channel;
    answer.result = -1;
    if (channel_ok(channel)) answer = g_cameras[channel];
    return std::vector<SimFrame>{SimFrame{0, bytes_of(answer), 0}};
  });
  // The rest are notices: kept in the model, not answered.
  server.on(CAMERA_MOTION_SET, [](const SimRequest &r) {
    camera_motion set;
    if (take(r, &set)) set_grid(set.channel, set.map, set.sensitivity);
    return none();
  });
  server.on(CAMERA_MOTION_SWITCH, [](const SimRequest &r) {
    camera_motion_switch s;
    if (!take(r, &s)) return none();
    set_enable(s.channel, s.enable);
    for_listed(s.channels, s.count, [&](int32_t ch) { set_enable(ch, s.enable); });
    return none();
  });
  server.on(CAMERA_MOTION_SET_MANY, [](const SimRequest &r) {
    camera_motion_set set;
    if (!take(r, &set)) return none();
    auto apply = [&](int32_t ch) {
      set_grid(ch, set.map, set.sensitivity);
      if (channel_ok(ch)) g_cameras[ch].enableAI = set.enableAI;
    };
    apply(set.channel);
    for_listed(set.channels, set.count, apply);
    return none();
  });
  for (int code : {MOTION_CHANGED_NOTICE, MOTION_COPIED_NOTICE, CAMERA_MOTION_WEEK,
                   CAMERA_MOTION_WEEK_MANY}) {
    server.on(code, [](const SimRequest &) { return none(); });
  }
}

CORESIM_ANSWERS(register_video_answers)
