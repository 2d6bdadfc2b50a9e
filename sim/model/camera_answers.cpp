// Camera-parameter requests: four IP cameras on channels 0 to 3, each with
// its image settings, its main and sub stream (resolution lists, current
// encoding) and a few settings by name. Stream and image writes change the
// model, so that the pages read back what they saved; channels without a
// camera answer with an error state.
#include <cstring>
#include <map>
#include <string>
#include <tuple>

#include "camera/camera_records.h"
#include "model.h"

namespace {

constexpr int kCameras = 4;
constexpr int32_t kNoCamera = 1;  // state code and result word of an empty channel

struct Camera {
  channel_model identity;
  int32_t model_type;
  image_enhancement enhancement;
  image_display display;
  stream_capabilities streams;
};

Camera g_cameras[kCameras];
// Settings by name: (channel, page, HTTP name, key) → value.
std::map<std::tuple<int, std::string, std::string, std::string>, std::string> g_params;

std::vector<SimFrame> answer(const Bytes &payload) {
  return {SimFrame{0, payload, 0}};
}

std::vector<SimFrame> result(int32_t value) {
  return answer(bytes_of_int(value));
}

Camera *camera_of(int channel) {
  return channel >= 0 && channel < kCameras ? &g_cameras[channel] : nullptr;
}

int32_t channel_word(const Bytes &payload) {
  return payload.size() >= 4 ? record_from<int32_t>(payload) : -1;
}

template <size_t N>
void set_text(char (&field)[N], const std::string &text) {
  snprintf(field, N, "%s", text.c_str());
}

void seed_stream(stream_capability &s, std::initializer_list<stream_resolution> sizes, int fps,
                 int bitrate_max, int bitrate) {
  int i = 0;
  for (const stream_resolution &r : sizes) s.res[i++] = r;
  s.framerateMax = fps;
  s.framerateMin = 1;
  s.bitrateMax = bitrate_max;
  s.bitrateMin = 64;
  s.videoType = 1;  // H.265
  s.curWidth = s.res[1].width;
  s.curHeight = s.res[1].height;
  s.framerate = fps < 25 ? fps : 25;
  s.bitrate = bitrate;
  s.iframeinterval = 50;
  s.bitrateCtrl = 0;
  s.iframeIntervalMin = 1;
  s.iframeIntervalMax = 200;
}

void seed_camera(int channel) {
  Camera &c = g_cameras[channel];
  c = {};
  const char *models[kCameras] = {"IPC-B2812", "IPC-D4028", "IPC-T5036", "IPC-F1020"};
  c.identity.channel = channel;
  set_text(c.identity.ipaddr, "192.168.1." + std::to_string(101 + channel));
  set_text(c.identity.model, models[channel]);
  set_text(c.identity.fwversion, "V5.2.1 build 2406" + std::to_string(10 + channel));
  c.model_type = channel + 1;

  image_enhancement &e = c.enhancement;
  e.smartir = 1;
  e.whiteblance = 0;
  e.wdrlevel = 50;
  e.wdrstophour = 23;
  e.wdrstopminute = 59;
  e.redgain = 50;
  e.bluegain = 50;
  e.defoglevel = 50;
  e.exposetime = 40;
  e.hlclevel = 50;
  set_text(e.exposeregion, "0,0,100,100");
  set_text(e.sdkversion, "SDK 3.4.0");
  e.lensType = channel % 2;

  image_display &d = c.display;
  d.colorkiller = 2;  // automatic day/night
  d.modestarthour = 6;
  d.modestophour = 18;
  d.ircutaddaytonight = 20;
  d.ircutadnighttoday = 20;
  d.smartIRType = 1;
  d.nearIRLevel = d.farIRLevel = d.midIRLevel = 50;
  set_text(d.chipninterface, "SC4336");
  set_text(d.sensortype, "CMOS");
  set_text(d.productmodel, models[channel]);
  set_text(d.softversion, "V5.2.1");
  set_text(d.sdkversion, "SDK 3.4.0");
  d.whiteLedLevel = 60;
  d.dayNightSens = d.nightDaySens = 3;

  stream_capabilities &s = c.streams;
  s.channel = channel;
  seed_stream(s.main, {{2560, 1440}, {1920, 1080}, {1280, 720}}, 30, 8192, 4096);
  seed_stream(s.sub, {{704, 576}, {640, 360}, {352, 288}}, 25, 2048, 512);
  s.subEnable = 1;
  s.videoTypeEnable = 1;
  s.ipcType = channel + 1;
  s.mainStream = 1;
  s.subStream = 1;
  s.supportSmartStream = 1;
  s.subSupportSmartStream = 1;
  s.smartStreamLevel = 1;
  s.subSmartStreamLevel = 1;
  s.mainGop = 50;
  s.subGop = 50;
  s.thirdGop = 0;

  g_params[{channel, "video", "stream", "ratecontrol1"}] = "0";
  g_params[{channel, "video", "stream", "ratecontrol2"}] = "0";
  g_params[{channel, "image", "image", "brightness"}] = "50";
}

// ---- Streams ----
bool offered(const stream_capability &s, int width, int height) {
  for (const stream_resolution &r : s.res) {
    if (r.width == 0 || r.height == 0) break;
    if (r.width == width && r.height == height) return true;
  }
  return false;
}

int32_t clamp(int32_t v, int32_t low, int32_t high) {
  return v < low ? low : v > high ? high : v;
}

// A stream takes what it offers: a listed size, rates within its range.
void apply_stream(stream_capability &s, int type, int width, int height, int fps, int bitrate,
                  int gop, int control) {
  s.videoType = type;
  if (offered(s, width, height)) {
    s.curWidth = width;
    s.curHeight = height;
  }
  s.framerate = clamp(fps, s.framerateMin, s.framerateMax);
  s.bitrate = clamp(bitrate, s.bitrateMin, s.bitrateMax);
  s.iframeinterval = clamp(gop, s.iframeIntervalMin, s.iframeIntervalMax);
  s.bitrateCtrl = control;
}

std::vector<SimFrame> set_streams(const SimRequest &r) {
  stream_setting in = record_from<stream_setting>(r.payload);
  uint64_t changed = 0;
  for (int ch = 0; ch < kCameras; ch++) {
    if (in.channels[ch] != '1') continue;
    stream_capabilities &s = g_cameras[ch].streams;
    apply_stream(s.main, in.mainVideoType, in.mainResWidth, in.mainResHeight, in.mainFramerate,
                 in.mainBitrate, in.IframeInterval, in.mainBitrateControl);
    apply_stream(s.sub, in.subVideoType, in.subResWidth, in.subResHeight, in.subFramerate,
                 in.subBitrate, in.subIframeInterval, in.subBitrateControl);
    s.subEnable = in.subEnable;
    s.videoTypeEnable = in.videoTypeEnable;
    s.smartStream = in.SmartStream;
    s.smartStreamLevel = in.SmartStreamLevel;
    s.subSmartStream = in.SubSmartStream;
    s.subSmartStreamLevel = in.SubSmartStreamLevel;
    changed |= 1ULL << ch;
  }
  stream_setting_answer out = {(uint32_t)changed, (uint32_t)(changed >> 32)};
  return answer(bytes_of(out));
}

std::vector<SimFrame> get_streams(const SimRequest &r) {
  int32_t channel = channel_word(r.payload);
  Camera *c = camera_of(channel);
  stream_capabilities out = {};
  if (c) {
    out = c->streams;
  } else {
    out.stateCode = kNoCamera;
    out.channel = channel;
  }
  return answer(bytes_of(out));
}

// ---- Image ----
std::vector<SimFrame> get_enhancement(const SimRequest &r) {
  image_enhancement_answer out = {};
  out.id = channel_word(r.payload);
  if (Camera *c = camera_of(out.id)) out.record = c->enhancement;
  return answer(bytes_of(out));
}

// Sent without waiting: no answer. The camera keeps what only it sets.
std::vector<SimFrame> set_enhancement(const SimRequest &r) {
  image_enhancement_request in = record_from<image_enhancement_request>(r.payload);
  if (in.type != 0) return {};  // these cameras take no scenes
  for (int32_t channel : in.channels) {
    Camera *c = camera_of(channel);
    if (!c) continue;
    image_enhancement kept = c->enhancement;
    c->enhancement = in.record;
    c->enhancement.dismode = kept.dismode;
    c->enhancement.exposurectrl = kept.exposurectrl;
    memcpy(c->enhancement.sdkversion, kept.sdkversion, sizeof kept.sdkversion);
  }
  return {};
}

std::vector<SimFrame> get_display(const SimRequest &r) {
  image_display_message out = {};
  out.id = channel_word(r.payload);
  if (Camera *c = camera_of(out.id)) out.record = c->display;
  return answer(bytes_of(out));
}

// What the page may set; the identity texts and measured values stay.
void apply_display(image_display &d, const image_display &in) {
  image_display kept = d;
  d = in;
  d.smartIrMath = kept.smartIrMath;
  d.smartIrLimit = kept.smartIrLimit;
  memcpy(d.chipninterface, kept.chipninterface, sizeof d.chipninterface);
  d.nearSmartirValue = kept.nearSmartirValue;
  d.farSmartirValue = kept.farSmartirValue;
  d.midSmartirValue = kept.midSmartirValue;
  d.lenCorrectType = kept.lenCorrectType;
  memcpy(d.sensortype, kept.sensortype, sizeof d.sensortype);
  memcpy(d.productmodel, kept.productmodel, sizeof d.productmodel);
  memcpy(d.softversion, kept.softversion, sizeof d.softversion);
  memcpy(d.sdkversion, kept.sdkversion, sizeof d.sdkversion);
  d.structuretype = kept.structuretype;
}

std::vector<SimFrame> set_display(const SimRequest &r) {
  image_display_message in = record_from<image_display_message>(r.payload);
  Camera *c = camera_of(in.id);
  if (!c) return result(kNoCamera);
  if (in.type == 0) apply_display(c->display, in.record);
  return result(0);
}

// ---- Settings by name, models ----
std::vector<SimFrame> get_param(const SimRequest &r) {
  common_param_request in = record_from<common_param_request>(r.payload);
  common_param_answer out = {};
  out.id = in.id;
  out.param = in.param;
  memset(out.param.value, 0, sizeof out.param.value);
  // The request's texts may lack their terminators: read within the fields.
  auto key = std::make_tuple((int)in.id,
                             std::string(in.param.pagename, strnlen(in.param.pagename, 64)),
                             std::string(in.param.httpname, strnlen(in.param.httpname, 64)),
                             std::string(in.param.key, strnlen(in.param.key, 128)));
  auto found = g_params.find(key);
  if (found != g_params.end()) set_text(out.param.value, found->second);
  return answer(bytes_of(out));
}

std::vector<SimFrame> set_param(const SimRequest &r) {
  common_param_request in = record_from<common_param_request>(r.payload);
  if (!camera_of(in.id)) return result(kNoCamera);
  auto key = std::make_tuple((int)in.id,
                             std::string(in.param.pagename, strnlen(in.param.pagename, 64)),
                             std::string(in.param.httpname, strnlen(in.param.httpname, 64)),
                             std::string(in.param.key, strnlen(in.param.key, 128)));
  g_params[key] = std::string(in.param.value, strnlen(in.param.value, 128));
  return result(0);
}

std::vector<SimFrame> model_type(const SimRequest &r) {
  Camera *c = camera_of(channel_word(r.payload));
  return result(c ? c->model_type : 0);
}

std::vector<SimFrame> channel_models(const SimRequest &) {
  Bytes out;
  for (int ch = 0; ch < IPC_CHANNELS; ch++) {
    channel_model entry = {};
    entry.channel = ch;
    if (Camera *c = camera_of(ch)) entry = c->identity;
    Bytes b = bytes_of(entry);
    out.insert(out.end(), b.begin(), b.end());
  }
  return answer(out);
}

}  // namespace

static void register_camera_answers(SimServer &server, CoreModel &) {
  for (int ch = 0; ch < kCameras; ch++) seed_camera(ch);
  // 4002: a free-form command; the result text starts at byte 16.
  server.on(4002, [](const SimRequest &r) {
    char cmd[100] = {};
    memcpy(cmd, r.payload.data(), r.payload.size() < 99 ? r.payload.size() : 99);
    std::string result = std::string("done: ") + cmd;
    Bytes payload(16, 0);
    payload.insert(payload.end(), result.begin(), result.end());
    payload.push_back(0);
    return std::vector<SimFrame>{SimFrame{0, payload, 0}};
  });
  server.on(3203, set_streams);
  server.on(3204, get_streams);
  server.on(3221, get_enhancement);
  server.on(3280, set_enhancement);
  server.on(3223, get_display);
  server.on(3224, set_display);
  server.on(3225, get_param);
  server.on(3226, set_param);
  server.on(2503, model_type);
  server.on(2505, channel_models);
}

CORESIM_ANSWERS(register_camera_answers)
