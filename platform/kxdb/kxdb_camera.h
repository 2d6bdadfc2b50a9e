// The camera record: one per channel (table "camera"), the IP camera that is
// connected to the channel and how the recorder reaches and records it.
// Shared by camera management, camera parameters, recording and status.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int CAMERA_CHANNELS = 64;

struct camera_params {
  int32_t id;       // channel, 0 to 63
  int32_t cleared;  // 1 once the channel was cleared
  int32_t enable;
  char reserved0[16];
  char userName[64];
  char password[64];
  char ipAddr[64];
  int32_t mainRtspPort;
  char mainSourcePath[256];
  int32_t subRtspEnable;
  int32_t subRtspPort;
  char subSourcePath[256];
  int32_t managePort;
  int32_t camProtocol;       // 0 ONVIF, 1 RTSP, other values the recorder's own protocol
  int32_t transmitProtocol;  // 0 UDP, 3 RTSP over HTTPS, other values TCP
  int32_t record_stream;     // recorded stream type (column "record_stream")
  int32_t syncTime;
  char mainRtspUrl[256];
  char subRtspUrl[256];
  int32_t poechannel;  // non-zero: on a PoE port of the recorder
  char mac_addr[32];
  int32_t physicalport;
  int32_t anr;  // automatic network replenishment (column "anr")
  int32_t minorid;
  char ddns[64];
  int32_t httpsPort;
  char reserved1[72];
};
static_assert(sizeof(camera_params) == 1464);
static_assert(offsetof(camera_params, id) == 0);
static_assert(offsetof(camera_params, cleared) == 4);
static_assert(offsetof(camera_params, enable) == 8);
static_assert(offsetof(camera_params, reserved0) == 12);
static_assert(offsetof(camera_params, userName) == 28);
static_assert(offsetof(camera_params, password) == 92);
static_assert(offsetof(camera_params, ipAddr) == 156);
static_assert(offsetof(camera_params, mainRtspPort) == 220);
static_assert(offsetof(camera_params, mainSourcePath) == 224);
static_assert(offsetof(camera_params, subRtspEnable) == 480);
static_assert(offsetof(camera_params, subRtspPort) == 484);
static_assert(offsetof(camera_params, subSourcePath) == 488);
static_assert(offsetof(camera_params, managePort) == 744);
static_assert(offsetof(camera_params, camProtocol) == 748);
static_assert(offsetof(camera_params, transmitProtocol) == 752);
static_assert(offsetof(camera_params, record_stream) == 756);
static_assert(offsetof(camera_params, syncTime) == 760);
static_assert(offsetof(camera_params, mainRtspUrl) == 764);
static_assert(offsetof(camera_params, subRtspUrl) == 1020);
static_assert(offsetof(camera_params, poechannel) == 1276);
static_assert(offsetof(camera_params, mac_addr) == 1280);
static_assert(offsetof(camera_params, physicalport) == 1312);
static_assert(offsetof(camera_params, anr) == 1316);
static_assert(offsetof(camera_params, minorid) == 1320);
static_assert(offsetof(camera_params, ddns) == 1324);
static_assert(offsetof(camera_params, httpsPort) == 1388);
static_assert(offsetof(camera_params, reserved1) == 1392);

constexpr const char *CAMERA_TABLE = "camera";

// The camera of `channel` (0 to 63); a channel never written reads as its
// factory default. 0, or -1 (record untouched) for a bad channel or a
// database error.
int read_camera(const char *file, camera_params *record, int channel);
// Stores the record under its id (0 to 63). 0 or -1.
int write_camera(const char *file, const camera_params *record);
// All 64 cameras in channel order (never-written ones as defaults); `count`
// receives 64. 0 or -1.
int read_cameras(const char *file, camera_params *records, int *count);
