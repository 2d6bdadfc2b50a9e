// Wire records of the cameras' own events and views: the camera alarm I/O
// and volume detection, the fisheye modes and the fisheye camera reached by
// address, regional people counting, and the snapshot notices. Little-endian,
// as the daemon lays them out; unnamed bytes are zero.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kxdb_event.h"

// ---- Request codes ----
constexpr int SNAPSHOT_SETTINGS_NOTICE = 1311;  // snapshot_channel_list
constexpr int SNAPSHOT_SCHEDULE_NOTICE = 1312;  // snapshot_channel_list
constexpr int SNAPSHOT_START_STOP = 1313;       // snapshot_switch
constexpr int REGIONAL_PCNT_GET = 1220;         // int32 channel; answer regional_pcnt_info
constexpr int REGIONAL_PCNT_SET = 1221;         // regional_pcnt_info; answer {"res"}
constexpr int CAMERA_IO_GET = 3213;             // int32 channel; answer camera_io_answer
constexpr int CAMERA_IO_SET = 3214;             // camera_io_set
constexpr int VOLUME_DETECT_GET = 3215;         // int32 channel; answer volume_detect_answer
constexpr int VOLUME_DETECT_SET = 3216;         // volume_detect_set
constexpr int FISHEYE_MODE_SET = 3231;          // fisheye_mode; answer "OK"/"FAILED"
constexpr int FISHEYE_MODE_GET = 3232;          // int32 channel; answer fisheye_mode
constexpr int FISHEYE_CHECK = 3373;             // fisheye_address; answer fisheye_support
constexpr int FISHEYE_ADDRESS_SET = 3374;       // fisheye_address_set; answer {"res"}

// Log entries of the camera event sets (the motion entry's form).
constexpr int LOG_PARAM_CAMERA_IO = 923;
constexpr int LOG_PARAM_VOLUME_DETECT = 924;

constexpr int CAMERA_TRIGGER_TEXT = 65;  // '0'/'1' per channel and the NUL

// Start (action 1) or stop (0) snapshots of the selected channels.
struct snapshot_switch {
  int32_t action;
  int32_t selected[64];  // 1 for each chosen channel
};
static_assert(sizeof(snapshot_switch) == 260);
static_assert(offsetof(snapshot_switch, action) == 0);
static_assert(offsetof(snapshot_switch, selected) == 4);

// ---- Camera alarm I/O ----
struct camera_io_set {
  int32_t camId;
  int32_t enable;
  int32_t type;
};
static_assert(sizeof(camera_io_set) == 12);
static_assert(offsetof(camera_io_set, camId) == 0);
static_assert(offsetof(camera_io_set, enable) == 4);
static_assert(offsetof(camera_io_set, type) == 8);

// Answer 8213: word 0 is not used.
struct camera_io_answer {
  int32_t unused;
  int32_t camId;
  int32_t enable;
  int32_t type;
  int32_t triActions;
  int32_t reserved;
  char triChannels[CAMERA_TRIGGER_TEXT];
  char reserved1[3];
};
static_assert(sizeof(camera_io_answer) == 92);
static_assert(offsetof(camera_io_answer, unused) == 0);
static_assert(offsetof(camera_io_answer, camId) == 4);
static_assert(offsetof(camera_io_answer, enable) == 8);
static_assert(offsetof(camera_io_answer, type) == 12);
static_assert(offsetof(camera_io_answer, triActions) == 16);
static_assert(offsetof(camera_io_answer, reserved) == 20);
static_assert(offsetof(camera_io_answer, triChannels) == 24);
static_assert(offsetof(camera_io_answer, reserved1) == 89);

// ---- Volume detection ----
struct volume_detect_set {
  int32_t camId;
  int32_t enable;
  int32_t type;
  int32_t volume;
  int32_t duration;
  int32_t onEvent;
  int32_t offEvent;
  int32_t ongoingEvent;
};
static_assert(sizeof(volume_detect_set) == 32);
static_assert(offsetof(volume_detect_set, camId) == 0);
static_assert(offsetof(volume_detect_set, enable) == 4);
static_assert(offsetof(volume_detect_set, type) == 8);
static_assert(offsetof(volume_detect_set, volume) == 12);
static_assert(offsetof(volume_detect_set, duration) == 16);
static_assert(offsetof(volume_detect_set, onEvent) == 20);
static_assert(offsetof(volume_detect_set, offEvent) == 24);
static_assert(offsetof(volume_detect_set, ongoingEvent) == 28);

// Answer 8215: word 0 is not used.
struct volume_detect_answer {
  int32_t unused;
  int32_t camId;
  int32_t enable;
  int32_t type;
  int32_t volume;
  int32_t duration;
  int32_t onEvent;
  int32_t offEvent;
  int32_t ongoingEvent;
  int32_t triActions;
  int32_t reserved;
  char triChannels[CAMERA_TRIGGER_TEXT];
  char reserved1[3];
};
static_assert(sizeof(volume_detect_answer) == 112);
static_assert(offsetof(volume_detect_answer, unused) == 0);
static_assert(offsetof(volume_detect_answer, camId) == 4);
static_assert(offsetof(volume_detect_answer, enable) == 8);
static_assert(offsetof(volume_detect_answer, type) == 12);
static_assert(offsetof(volume_detect_answer, volume) == 16);
static_assert(offsetof(volume_detect_answer, duration) == 20);
static_assert(offsetof(volume_detect_answer, onEvent) == 24);
static_assert(offsetof(volume_detect_answer, offEvent) == 28);
static_assert(offsetof(volume_detect_answer, ongoingEvent) == 32);
static_assert(offsetof(volume_detect_answer, triActions) == 36);
static_assert(offsetof(volume_detect_answer, reserved) == 40);
static_assert(offsetof(volume_detect_answer, triChannels) == 44);
static_assert(offsetof(volume_detect_answer, reserved1) == 109);

// ---- Fisheye ----
struct fisheye_mode {
  int32_t chnid;
  int32_t fishmount;
  int32_t fishdisplay;
  int32_t fishcorrect;
  int32_t result;  // answers only
};
static_assert(sizeof(fisheye_mode) == 20);
static_assert(offsetof(fisheye_mode, chnid) == 0);
static_assert(offsetof(fisheye_mode, fishmount) == 4);
static_assert(offsetof(fisheye_mode, fishdisplay) == 8);
static_assert(offsetof(fisheye_mode, fishcorrect) == 12);
static_assert(offsetof(fisheye_mode, result) == 16);

constexpr int FISHEYE_TEXT = 64;
struct fisheye_address {
  char ddns[FISHEYE_TEXT];
  char ipaddr[FISHEYE_TEXT];
  char username[FISHEYE_TEXT];
  char password[FISHEYE_TEXT];
  int32_t port;
};
static_assert(sizeof(fisheye_address) == 260);
static_assert(offsetof(fisheye_address, ddns) == 0);
static_assert(offsetof(fisheye_address, ipaddr) == 64);
static_assert(offsetof(fisheye_address, username) == 128);
static_assert(offsetof(fisheye_address, password) == 192);
static_assert(offsetof(fisheye_address, port) == 256);

struct fisheye_address_set {
  fisheye_address address;
  int32_t transfer;
  int32_t install;
  int32_t display;
};
static_assert(sizeof(fisheye_address_set) == 272);
static_assert(offsetof(fisheye_address_set, address) == 0);
static_assert(offsetof(fisheye_address_set, transfer) == 260);
static_assert(offsetof(fisheye_address_set, install) == 264);
static_assert(offsetof(fisheye_address_set, display) == 268);

// Answer 8373.
struct fisheye_support {
  int32_t support;  // 1 = supported
  int32_t transfer;
  int32_t install;
  int32_t display;
  int32_t streamCnt;
};
static_assert(sizeof(fisheye_support) == 20);
static_assert(offsetof(fisheye_support, support) == 0);
static_assert(offsetof(fisheye_support, transfer) == 4);
static_assert(offsetof(fisheye_support, install) == 8);
static_assert(offsetof(fisheye_support, display) == 12);
static_assert(offsetof(fisheye_support, streamCnt) == 16);

// ---- Regional people counting ----
constexpr int REGIONAL_POLYGON_TEXT = 64;
struct regional_pcnt_region {
  int32_t enable;
  char polygonX[REGIONAL_POLYGON_TEXT];
  char polygonY[REGIONAL_POLYGON_TEXT];
  int32_t maxStayEnable;
  int32_t maxStayValue;
  int32_t minStayEnable;
  int32_t minStayValue;
  int32_t maxStayTimeEnable;
  int32_t maxStayTimeValue;
};
static_assert(sizeof(regional_pcnt_region) == 156);
static_assert(offsetof(regional_pcnt_region, enable) == 0);
static_assert(offsetof(regional_pcnt_region, polygonX) == 4);
static_assert(offsetof(regional_pcnt_region, polygonY) == 68);
static_assert(offsetof(regional_pcnt_region, maxStayEnable) == 132);
static_assert(offsetof(regional_pcnt_region, maxStayValue) == 136);
static_assert(offsetof(regional_pcnt_region, minStayEnable) == 140);
static_assert(offsetof(regional_pcnt_region, minStayValue) == 144);
static_assert(offsetof(regional_pcnt_region, maxStayTimeEnable) == 148);
static_assert(offsetof(regional_pcnt_region, maxStayTimeValue) == 152);

constexpr int REGIONAL_REGIONS = 4;
struct regional_pcnt_info {
  int32_t result;  // answers only
  int32_t chnid;
  int32_t sensitivity;
  int32_t minObjX;
  int32_t minObjY;
  int32_t minObjWidth;
  int32_t minObjHeight;
  int32_t maxObjX;
  int32_t maxObjY;
  int32_t maxObjWidth;
  int32_t maxObjHeight;
  regional_pcnt_region regions[REGIONAL_REGIONS];
  char copyChn[65];
  char reserved[3];
  schedule effective;  // the daemon's form: rows 0 to 6 with their valid flags
};
static_assert(sizeof(regional_pcnt_info) == 26912);
static_assert(offsetof(regional_pcnt_info, result) == 0);
static_assert(offsetof(regional_pcnt_info, chnid) == 4);
static_assert(offsetof(regional_pcnt_info, sensitivity) == 8);
static_assert(offsetof(regional_pcnt_info, minObjX) == 12);
static_assert(offsetof(regional_pcnt_info, minObjY) == 16);
static_assert(offsetof(regional_pcnt_info, minObjWidth) == 20);
static_assert(offsetof(regional_pcnt_info, minObjHeight) == 24);
static_assert(offsetof(regional_pcnt_info, maxObjX) == 28);
static_assert(offsetof(regional_pcnt_info, maxObjY) == 32);
static_assert(offsetof(regional_pcnt_info, maxObjWidth) == 36);
static_assert(offsetof(regional_pcnt_info, maxObjHeight) == 40);
static_assert(offsetof(regional_pcnt_info, regions) == 44);
static_assert(offsetof(regional_pcnt_info, copyChn) == 668);
static_assert(offsetof(regional_pcnt_info, reserved) == 733);
static_assert(offsetof(regional_pcnt_info, effective) == 736);
