// Daemon records of firmware upgrades, factory restore and their requests.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr const char *SYSTEM_IMAGE_PATH = "/dev/shm/updateFM.bin";
constexpr const char *CAMERA_IMAGE_PATH = "/dev/shm/updateIPCFM.bin";

// What the online update service offers for one device (answers 6715, 8365).
struct online_upgrade_info {
  int32_t state;
  int32_t file_size;  // bytes
  char softversion[64];
  char url[128];
  char description[128];
};
static_assert(sizeof(online_upgrade_info) == 328);
static_assert(offsetof(online_upgrade_info, state) == 0);
static_assert(offsetof(online_upgrade_info, file_size) == 4);
static_assert(offsetof(online_upgrade_info, softversion) == 8);
static_assert(offsetof(online_upgrade_info, url) == 72);
static_assert(offsetof(online_upgrade_info, description) == 200);

// Answer 8365: one record per channel, channel 0 first.
constexpr int UPGRADE_CHECK_CHANNELS = 64;
constexpr int UPGRADE_CHECK_ANSWER_SIZE =
    UPGRADE_CHECK_CHANNELS * (int)sizeof(online_upgrade_info);  // 20992

// Request 3350: upgrade one camera from the camera image.
struct camera_upgrade_request {
  int32_t channel;
  int32_t reset;  // 1: the camera restores its defaults after the upgrade
  char path[256];
};
static_assert(sizeof(camera_upgrade_request) == 264);
static_assert(offsetof(camera_upgrade_request, channel) == 0);
static_assert(offsetof(camera_upgrade_request, reset) == 4);
static_assert(offsetof(camera_upgrade_request, path) == 8);

// Answer 8350: the channel and the upgrade's status.
struct camera_upgrade_status {
  int32_t channel;
  int32_t status;
};
static_assert(sizeof(camera_upgrade_status) == 8);
static_assert(offsetof(camera_upgrade_status, channel) == 0);
static_assert(offsetof(camera_upgrade_status, status) == 4);

// Request 1716: download an image from the update service to `path`.
struct online_download_request {
  char url[128];
  char path[128];
};
static_assert(sizeof(online_download_request) == 256);
static_assert(offsetof(online_download_request, url) == 0);
static_assert(offsetof(online_download_request, path) == 128);

// Request 3365: the channels whose cameras are checked for updates.
struct camera_check_request {
  uint64_t mask;  // bit i: channel i
};
static_assert(sizeof(camera_check_request) == 8);
static_assert(offsetof(camera_check_request, mask) == 0);

// Request 3311: restore the factory settings.
struct restore_request {
  int32_t keep_ip;    // 1: keep the network settings
  int32_t keep_user;  // 1: keep the user accounts
};
static_assert(sizeof(restore_request) == 8);
static_assert(offsetof(restore_request, keep_ip) == 0);
static_assert(offsetof(restore_request, keep_user) == 4);
