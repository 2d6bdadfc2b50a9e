// The cameras' alarm I/O, volume detection, fisheye modes and regional
// people counting. Each camera keeps what the recorder last set and answers
// it back; the triggers the recorder keeps for the two camera events are
// read from its settings, as the daemon does.
#include <cstdio>
#include <cstring>
#include <memory>

#include "kxdb.h"
#include "kxdb_snapshot.h"
#include "model.h"
#include "video/camera_event_records.h"

namespace {

constexpr int kChannels = 64;

struct CameraEvents {
  camera_io_set io;
  volume_detect_set volume;
  fisheye_mode fisheye;
  regional_pcnt_info regional;
};

std::unique_ptr<CameraEvents[]> g_cameras;

bool channel_ok(int32_t channel) {
  return channel >= 0 && channel < kChannels;
}

void seed_regional(regional_pcnt_info &r, int ch) {
  r.chnid = ch;
  r.sensitivity = 5;
  r.minObjWidth = r.minObjHeight = 5;
  r.maxObjWidth = r.maxObjHeight = 90;
  r.regions[0].enable = 1;
  snprintf(r.regions[0].polygonX, sizeof r.regions[0].polygonX, "10,90,90,10");
  snprintf(r.regions[0].polygonY, sizeof r.regions[0].polygonY, "10,10,90,90");
  r.regions[0].maxStayEnable = 1;
  r.regions[0].maxStayValue = 20;
  r.regions[0].maxStayTimeValue = 300;
  // Armed all day.
  for (int d = 0; d < 7; d++) {  // the camera's week: rows 0 to 6
    schedule_day &day = r.effective.days[d];
    snprintf(day.plans[0].start_time, sizeof day.plans[0].start_time, "00:00");
    snprintf(day.plans[0].end_time, sizeof day.plans[0].end_time, "24:00");
    day.valid = 1;
  }
}

void seed_cameras() {
  g_cameras.reset(new CameraEvents[kChannels]());
  for (int ch = 0; ch < kChannels; ch++) {
    CameraEvents &c = g_cameras[ch];
    c.io = {ch, 0, 0};
    c.volume = {ch, 0, 0, 60, 5, 1, 1, 0};
    c.fisheye = {ch, 1, 1, 0, 0};
    seed_regional(c.regional, ch);
  }
}

template <class T>
bool take(const SimRequest &r, T *record) {
  if (r.payload.size() < sizeof *record) return false;
  memcpy(record, r.payload.data(), sizeof *record);
  return true;
}

int32_t asked_channel(const SimRequest &r) {
  int32_t channel = -1;
  take(r, &channel);
  return channel;
}

template <class T>
std::vector<SimFrame> answer(const T &record) {
  return {SimFrame{0, bytes_of(record), 0}};
}

std::vector<SimFrame> result(int32_t value) {
  return {SimFrame{0, bytes_of_int(value), 0}};
}

// The recorder's triggers of a camera event, from its settings.
camera_trigger_params stored_trigger(int (*read)(const char *, camera_trigger_params *, int),
                                     int32_t channel) {
  camera_trigger_params t = {};
  if (channel_ok(channel)) read(KXDB_FILE, &t, channel);
  return t;
}

camera_io_answer io_answer(int32_t channel) {
  camera_io_answer a = {};
  a.camId = channel;
  if (!channel_ok(channel)) return a;
  const camera_io_set &s = g_cameras[channel].io;
  a.enable = s.enable;
  a.type = s.type;
  camera_trigger_params t = stored_trigger(read_cameraio, channel);
  a.triActions = t.triActions;
  memcpy(a.triChannels, t.triChannels, sizeof a.triChannels);
  return a;
}

volume_detect_answer volume_answer(int32_t channel) {
  volume_detect_answer a = {};
  a.camId = channel;
  if (!channel_ok(channel)) return a;
  const volume_detect_set &s = g_cameras[channel].volume;
  a.enable = s.enable;
  a.type = s.type;
  a.volume = s.volume;
  a.duration = s.duration;
  a.onEvent = s.onEvent;
  a.offEvent = s.offEvent;
  a.ongoingEvent = s.ongoingEvent;
  camera_trigger_params t = stored_trigger(read_volumedetect, channel);
  a.triActions = t.triActions;
  memcpy(a.triChannels, t.triChannels, sizeof a.triChannels);
  return a;
}

// A fisheye camera answers at any address that names a host; 2 (not
// supported) without one.
fisheye_support check_address(const fisheye_address &a) {
  bool named = a.ipaddr[0] != '\0' || a.ddns[0] != '\0';
  if (!named) return fisheye_support{2, 0, 0, 0, 0};
  return fisheye_support{1, 1, 1, 2, 2};
}

}  // namespace

static void register_camera_event_answers(SimServer &server, CoreModel &) {
  seed_cameras();
  server.on(CAMERA_IO_GET, [](const SimRequest &r) { return answer(io_answer(asked_channel(r))); });
  server.on(VOLUME_DETECT_GET,
            [](const SimRequest &r) { return answer(volume_answer(asked_channel(r))); });
  server.on(CAMERA_IO_SET, [](const SimRequest &r) {
    camera_io_set s;
    if (take(r, &s) && channel_ok(s.camId)) g_cameras[s.camId].io = s;
    return std::vector<SimFrame>{};
  });
  server.on(VOLUME_DETECT_SET, [](const SimRequest &r) {
    volume_detect_set s;
    if (take(r, &s) && channel_ok(s.camId)) g_cameras[s.camId].volume = s;
    return std::vector<SimFrame>{};
  });
  server.on(FISHEYE_MODE_GET, [](const SimRequest &r) {
    int32_t ch = asked_channel(r);
    fisheye_mode m = {ch, 0, 0, 0, -1};
    if (channel_ok(ch)) m = g_cameras[ch].fisheye;
    return answer(m);
  });
  server.on(FISHEYE_MODE_SET, [](const SimRequest &r) {
    fisheye_mode m;
    if (!take(r, &m) || !channel_ok(m.chnid)) return result(-1);
    m.result = 0;
    g_cameras[m.chnid].fisheye = m;
    return result(0);
  });
  server.on(FISHEYE_CHECK, [](const SimRequest &r) {
    fisheye_address a = {};
    take(r, &a);
    return answer(check_address(a));
  });
  server.on(FISHEYE_ADDRESS_SET, [](const SimRequest &r) {
    fisheye_address_set s;
    return result(take(r, &s) ? 0 : -1);
  });
  server.on(REGIONAL_PCNT_GET, [](const SimRequest &r) {
    int32_t ch = asked_channel(r);
    auto rec = std::make_unique<regional_pcnt_info>();
    rec->chnid = ch;
    rec->result = -1;
    if (channel_ok(ch)) *rec = g_cameras[ch].regional;
    return answer(*rec);
  });
  server.on(REGIONAL_PCNT_SET, [](const SimRequest &r) {
    auto rec = std::make_unique<regional_pcnt_info>();
    if (!take(r, rec.get()) || !channel_ok(rec->chnid)) return result(-1);
    rec->result = 0;
    g_cameras[rec->chnid].regional = *rec;
    return result(0);
  });
  for (int code : {SNAPSHOT_SETTINGS_NOTICE, SNAPSHOT_SCHEDULE_NOTICE, SNAPSHOT_START_STOP}) {
    server.on(code, [](const SimRequest &) { return std::vector<SimFrame>{}; });
  }
}

CORESIM_ANSWERS(register_camera_event_answers)
