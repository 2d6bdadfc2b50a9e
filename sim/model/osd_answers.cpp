// On-screen display and privacy-mask requests of the cameras: the four
// cameras of channels 0 to 3 each keep their OSD texts and their privacy
// masks. What the recorder writes (3210, 2509, 2508) is answered back by
// 3211 and 2502; a channel without a camera reads as disconnected and
// refuses OSD writes. The model type (2503) is answered with the cameras'
// other parameters.
#include <cstring>

#include "model.h"
#include "video/osd_records.h"

namespace {

constexpr int kCameras = 4;
constexpr int32_t kMaskAreas = 4;  // areas each camera offers
constexpr const char *kNames[kCameras] = {"Front door", "Car park", "Lobby", "Warehouse"};

camera_osd g_osd[kCameras];
camera_mask_state g_masks[kCameras];

template <size_t N>
void set_text(char (&field)[N], const char *text) {
  snprintf(field, N, "%s", text);
}

template <size_t N>
void terminate(char (&field)[N]) {
  field[N - 1] = '\0';
}

void seed_camera(int ch) {
  camera_osd &osd = g_osd[ch];
  osd = camera_osd{};
  osd.ch = ch;
  osd.enable_text = osd.enable_text_sub = 1;
  set_text(osd.text_name, kNames[ch]);
  set_text(osd.text_name_sub, kNames[ch]);
  osd.enable_date = osd.enable_date_sub = 1;
  osd.datepos = osd.datepos_sub = 1;
  osd.fontSize = osd.fontSizeSub = 2;
  camera_mask_state &m = g_masks[ch];
  m = camera_mask_state{};
  m.id = ch;
  m.cgiSdkFlag = 1;
  set_text(m.sdkversion, "2.1.0");
  m.maxPtzZoomRatio = 1;
  set_text(m.colorList, "0,1,2");  // black, white, grey
  m.mosaicSupport = 1;
  m.colorSupport = 1;
  m.maxMaskSum = kMaskAreas;
  for (int32_t a = 0; a < kMaskAreas; a++) m.areas[a].area_id = a;
}

bool has_camera(int32_t ch) {
  return ch >= 0 && ch < kCameras;
}

int32_t channel_word(const SimRequest &r) {
  return r.payload.size() >= 4 ? record_from<int32_t>(r.payload) : -1;
}

// A request shorter than its record is not taken.
template <class T>
bool take(const SimRequest &r, T *record) {
  if (r.payload.size() < sizeof *record) return false;
  memcpy(record, r.payload.data(), sizeof *record);
  return true;
}

std::vector<SimFrame> answer(const Bytes &payload) {
  return {SimFrame{0, payload, 0}};
}

std::vector<SimFrame> none() {
  return {};
}

std::vector<SimFrame> get_osd(const SimRequest &r) {
  int32_t ch = channel_word(r);
  camera_osd osd = {};
  osd.ch = -1;  // not connected
  if (has_camera(ch)) osd = g_osd[ch];
  return answer(bytes_of(osd));
}

std::vector<SimFrame> set_osd(const SimRequest &r) {
  camera_osd osd;
  if (!take(r, &osd) || !has_camera(osd.ch)) return answer(bytes_of_int(CAMERA_OSD_UNSUPPORTED));
  terminate(osd.text_name);
  terminate(osd.text_name_sub);
  g_osd[osd.ch] = osd;
  return answer(bytes_of_int(CAMERA_OSD_APPLIED));
}

std::vector<SimFrame> get_masks(const SimRequest &r) {
  int32_t ch = channel_word(r);
  camera_mask_state state = {};
  state.id = ch;  // no camera: nothing supported, no area
  if (has_camera(ch)) state = g_masks[ch];
  return answer(bytes_of(state));
}

void apply_masks(camera_mask_state &m, const camera_mask_set &set) {
  m.enable = set.enable;
  m.num = set.num;
  m.areaEnable = set.areaMaskEnable;
  m.mosaicNum = set.mosaicNum;
  for (int32_t a = 0; a < kMaskAreas; a++) {
    m.areas[a] = set.areas[a];
    terminate(m.areas[a].name);
  }
}

std::vector<SimFrame> set_masks(const SimRequest &r) {
  camera_mask_set set;
  if (!take(r, &set)) return none();
  for (int ch = 0; ch < kCameras; ch++) {
    if (set.channels[ch] == '1') apply_masks(g_masks[ch], set);
  }
  return none();
}

// The area keeps its id; what it covered is gone.
std::vector<SimFrame> delete_mask(const SimRequest &r) {
  camera_mask_ref target;
  if (!take(r, &target) || !has_camera(target.channel)) return none();
  for (int32_t a = 0; a < kMaskAreas; a++) {
    camera_mask_area &area = g_masks[target.channel].areas[a];
    if (area.area_id != target.area) continue;
    area = camera_mask_area{};
    area.area_id = target.area;
  }
  return none();
}

}  // namespace

static void register_osd_answers(SimServer &server, CoreModel &) {
  for (int ch = 0; ch < kCameras; ch++) seed_camera(ch);
  server.on(CAMERA_OSD_GET, get_osd);
  server.on(CAMERA_OSD_SET, set_osd);
  server.on(CAMERA_MASK_STATE_GET, get_masks);
  server.on(CAMERA_MASK_SET, set_masks);
  server.on(CAMERA_MASK_DELETE, delete_mask);
  // Editing a mask moves the camera's picture; it always succeeds here.
  server.on(CAMERA_MASK_EDIT, [](const SimRequest &) { return answer(bytes_of_int(0)); });
  server.on(OSD_CHANGED_NOTICE, [](const SimRequest &) { return none(); });
}

CORESIM_ANSWERS(register_osd_answers)
