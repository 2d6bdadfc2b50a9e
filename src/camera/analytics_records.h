// Daemon payloads of the camera analytics pages: the face-detection
// configuration of a channel, and the linkage notice of a counting group.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int FACE_SHIELDS = 4;        // areas detection ignores
constexpr int FACE_CAPTURE_MODES = 3;  // entries of "captureModeArray"

// Request 2293: the group whose linkage changed; the second word is -1.
struct peoplecnt_action_notice {
  int32_t group;
  int32_t all;  // -1
};
static_assert(sizeof(peoplecnt_action_notice) == 8);
static_assert(offsetof(peoplecnt_action_notice, group) == 0);
static_assert(offsetof(peoplecnt_action_notice, all) == 4);

struct face_shield {
  int32_t enable;
  char reserved[64];
  char polygonX[64];
  char polygonY[64];
};
static_assert(sizeof(face_shield) == 196);
static_assert(offsetof(face_shield, enable) == 0);
static_assert(offsetof(face_shield, reserved) == 4);
static_assert(offsetof(face_shield, polygonX) == 68);
static_assert(offsetof(face_shield, polygonY) == 132);

// Request 3381: the whole configuration; bytes not named stay zero.
struct face_config {
  char reserved0[4];
  int32_t chnId;
  char reserved1[132];
  int32_t enable;
  int32_t width;
  int32_t height;
  int32_t minPixel;
  int32_t captureMode;
  int32_t captureQuality[FACE_CAPTURE_MODES];
  int32_t snapshotType;
  int32_t snapshotInterval;
  int32_t snapshotBackground;
  int32_t poseYaw;
  int32_t poseRoll;
  int32_t posePitch;
  int32_t blurLimit;
  char reserved2[80];
  char detection_polygonX[64];
  char detection_polygonY[64];
  int32_t uploadEnable;
  int32_t uploadFileType;
  int32_t nasEnable;
  int32_t nasFileType;
  int32_t emailEnable;
  int32_t emailFileType;
  int32_t httpEnable;
  int32_t httpNotifyInterval;
  char httpUrl[128];
  char httpUser[64];
  char httpPassword[64];
  int32_t snapshot[FACE_CAPTURE_MODES];
  int32_t recordSeconds;
  int32_t prerecordSeconds;
  int32_t postEnable;
  int32_t postType;
  char reserved3[80];
  face_shield shield[FACE_SHIELDS];
  int32_t attributeEnable;
  int32_t attributeType;
  int32_t mosaicEnable;
  int32_t mosaicModeStatus;
  int32_t mutuallyExclusive;
  char reserved4[12];
};
static_assert(sizeof(face_config) == 1620);
static_assert(offsetof(face_config, reserved0) == 0);
static_assert(offsetof(face_config, chnId) == 4);
static_assert(offsetof(face_config, reserved1) == 8);
static_assert(offsetof(face_config, enable) == 140);
static_assert(offsetof(face_config, width) == 144);
static_assert(offsetof(face_config, height) == 148);
static_assert(offsetof(face_config, minPixel) == 152);
static_assert(offsetof(face_config, captureMode) == 156);
static_assert(offsetof(face_config, captureQuality) == 160);
static_assert(offsetof(face_config, snapshotType) == 172);
static_assert(offsetof(face_config, snapshotInterval) == 176);
static_assert(offsetof(face_config, snapshotBackground) == 180);
static_assert(offsetof(face_config, poseYaw) == 184);
static_assert(offsetof(face_config, poseRoll) == 188);
static_assert(offsetof(face_config, posePitch) == 192);
static_assert(offsetof(face_config, blurLimit) == 196);
static_assert(offsetof(face_config, reserved2) == 200);
static_assert(offsetof(face_config, detection_polygonX) == 280);
static_assert(offsetof(face_config, detection_polygonY) == 344);
static_assert(offsetof(face_config, uploadEnable) == 408);
static_assert(offsetof(face_config, uploadFileType) == 412);
static_assert(offsetof(face_config, nasEnable) == 416);
static_assert(offsetof(face_config, nasFileType) == 420);
static_assert(offsetof(face_config, emailEnable) == 424);
static_assert(offsetof(face_config, emailFileType) == 428);
static_assert(offsetof(face_config, httpEnable) == 432);
static_assert(offsetof(face_config, httpNotifyInterval) == 436);
static_assert(offsetof(face_config, httpUrl) == 440);
static_assert(offsetof(face_config, httpUser) == 568);
static_assert(offsetof(face_config, httpPassword) == 632);
static_assert(offsetof(face_config, snapshot) == 696);
static_assert(offsetof(face_config, recordSeconds) == 708);
static_assert(offsetof(face_config, prerecordSeconds) == 712);
static_assert(offsetof(face_config, postEnable) == 716);
static_assert(offsetof(face_config, postType) == 720);
static_assert(offsetof(face_config, reserved3) == 724);
static_assert(offsetof(face_config, shield) == 804);
static_assert(offsetof(face_config, attributeEnable) == 1588);
static_assert(offsetof(face_config, attributeType) == 1592);
static_assert(offsetof(face_config, mosaicEnable) == 1596);
static_assert(offsetof(face_config, mosaicModeStatus) == 1600);
static_assert(offsetof(face_config, mutuallyExclusive) == 1604);
static_assert(offsetof(face_config, reserved4) == 1608);
