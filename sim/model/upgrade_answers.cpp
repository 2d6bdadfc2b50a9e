// Firmware upgrades, restart and factory restore. The update service offers
// the recorder nothing newer and one camera (channel 1) a newer version; a
// download puts a small image where the recorder expects it, so that the
// upgrade pages find it. Restart, restore and the upgrade preparation are
// only journalled: the simulated recorder keeps running.
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "model.h"
#include "system/upgrade_records.h"

namespace {

constexpr int kCameras = 4;          // the demo's cameras, channels 0 to 3
constexpr int kUpdatedCamera = 1;    // the one the service has news for
constexpr int32_t kStateCurrent = 0;
constexpr int32_t kStateNewer = 1;
constexpr int32_t kFailed = -1;

std::vector<SimFrame> answer(const Bytes &payload) {
  return {SimFrame{0, payload, 0}};
}

std::vector<SimFrame> none(const SimRequest &) {
  return {};
}

template <size_t N>
void set_text(char (&field)[N], const std::string &text) {
  snprintf(field, N, "%s", text.c_str());
}

online_upgrade_info camera_offer(int channel) {
  online_upgrade_info info = {};
  if (channel < 0 || channel >= kCameras) return info;
  info.state = kStateCurrent;
  set_text(info.softversion, "V5.2.1 build 2406" + std::to_string(10 + channel));
  set_text(info.description, "The camera runs the newest software.");
  if (channel == kUpdatedCamera) {
    info.state = kStateNewer;
    info.file_size = 18874368;
    set_text(info.softversion, "V5.2.2 build 241105");
    set_text(info.url, "https://update.example.com/ipc/D4028/V5.2.2.bin");
    set_text(info.description, "Sharper night images; keeps its time zone over a restart.");
  }
  return info;
}

// 6715: the recorder's offer, nothing newer.
Bytes recorder_offer() {
  online_upgrade_info info = {};
  info.state = kStateCurrent;
  set_text(info.description, "The recorder runs the newest software.");
  return bytes_of(info);
}

// 1716: the URL and the destination; only the two image paths are written.
std::vector<SimFrame> download(const SimRequest &r) {
  auto request = record_from<online_download_request>(r.payload);
  request.url[sizeof request.url - 1] = '\0';
  request.path[sizeof request.path - 1] = '\0';
  bool known = strcmp(request.path, SYSTEM_IMAGE_PATH) == 0 ||
               strcmp(request.path, CAMERA_IMAGE_PATH) == 0;
  if (r.payload.size() < sizeof request || !known || request.url[0] == '\0') {
    return answer(bytes_of_int(kFailed));
  }
  FILE *image = fopen(request.path, "wb");
  if (!image) return answer(bytes_of_int(kFailed));
  fprintf(image, "demo image from %s\n", request.url);
  fclose(image);
  return answer(bytes_of_int(0));
}

// 3350: a camera of the demo takes the camera image when there is one.
std::vector<SimFrame> upgrade_camera(const SimRequest &r) {
  auto request = record_from<camera_upgrade_request>(r.payload);
  if (r.payload.size() < sizeof request) return answer(bytes_of_int(kFailed));
  camera_upgrade_status status = {request.channel, kFailed};
  bool camera = request.channel >= 0 && request.channel < kCameras;
  if (camera && access(CAMERA_IMAGE_PATH, R_OK) == 0) status.status = 0;
  return answer(bytes_of(status));
}

// 3365: one record per channel; channels outside the mask stay empty.
std::vector<SimFrame> check_cameras(const SimRequest &r) {
  auto request = record_from<camera_check_request>(r.payload);
  Bytes out;
  for (int ch = 0; ch < UPGRADE_CHECK_CHANNELS; ch++) {
    online_upgrade_info info = {};
    if (request.mask >> ch & 1) info = camera_offer(ch);
    Bytes record = bytes_of(info);
    out.insert(out.end(), record.begin(), record.end());
  }
  return answer(out);
}

}  // namespace

static void register_upgrade_answers(SimServer &server, CoreModel &) {
  server.on(1713, [](const SimRequest &) { return answer(bytes_of_int(0)); });
  server.on(1715, [](const SimRequest &) { return answer(recorder_offer()); });
  server.on(1716, download);
  server.on(1717, [](const SimRequest &) {
    unlink(CAMERA_IMAGE_PATH);
    return answer(bytes_of_int(0));
  });
  server.on(3350, upgrade_camera);
  server.on(3365, check_cameras);
  // Notices: restart, upgrade preparation, stop of camera upgrades, factory
  // restore and its second step. Journalled, not answered, not acted on.
  for (int code : {1703, 1721, 3311, 3351, 3410}) server.on(code, none);
}

CORESIM_ANSWERS(register_upgrade_answers)
