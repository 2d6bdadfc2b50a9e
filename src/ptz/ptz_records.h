// Records the PTZ module exchanges with the core daemon. All little-endian
// int32 words and NUL-terminated texts of fixed width; bytes without a name
// are reserved and sent as zero.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kxdb_ptz.h"

constexpr int PTZ_PRESETS = 300;   // presets of the information record
constexpr int PTZ_PATTERNS = 4;
constexpr int PTZ_STATUS_GROUPS = 5;

// ---- Action record (72 bytes): movement 1251, preset 1253, pattern 1254 ----
struct ptz_action {
  int32_t channelId;
  int32_t action;    // the daemon's PTZ action code
  int32_t presetId;  // patterns: the tour id
  int32_t panSpeed;
  int32_t tiltSpeed;
  int32_t zoomSpeed;
  int32_t focusSpeed;
  char reserved0[4];
  char name[31];  // preset name, set by action 22 only (at most 30 characters)
  char reserved1[1];
  int32_t fisheyeType;
  int32_t streamId;
};
static_assert(sizeof(ptz_action) == 72);
static_assert(offsetof(ptz_action, channelId) == 0);
static_assert(offsetof(ptz_action, action) == 4);
static_assert(offsetof(ptz_action, presetId) == 8);
static_assert(offsetof(ptz_action, panSpeed) == 12);
static_assert(offsetof(ptz_action, tiltSpeed) == 16);
static_assert(offsetof(ptz_action, zoomSpeed) == 20);
static_assert(offsetof(ptz_action, focusSpeed) == 24);
static_assert(offsetof(ptz_action, reserved0) == 28);
static_assert(offsetof(ptz_action, name) == 32);
static_assert(offsetof(ptz_action, reserved1) == 63);
static_assert(offsetof(ptz_action, fisheyeType) == 64);
static_assert(offsetof(ptz_action, streamId) == 68);

// ---- Tour command (32 bytes): run 1260, stop 1261, clear 1257 ----
struct ptz_tour_command {
  int32_t chn;
  int32_t tourid;
  char reserved[16];
  int32_t fisheyeType;
  int32_t streamId;
};
static_assert(sizeof(ptz_tour_command) == 32);
static_assert(offsetof(ptz_tour_command, chn) == 0);
static_assert(offsetof(ptz_tour_command, tourid) == 4);
static_assert(offsetof(ptz_tour_command, reserved) == 8);
static_assert(offsetof(ptz_tour_command, fisheyeType) == 24);
static_assert(offsetof(ptz_tour_command, streamId) == 28);

// ---- Tour set (request 1264, 588 bytes): the points one after another ----
struct ptz_tour_set {
  int32_t chn;
  int32_t tourid;   // from 0
  int32_t rowsize;  // points that follow
  ptz_tour_point points[PTZ_TOUR_POINTS];
};
static_assert(sizeof(ptz_tour_set) == 588);
static_assert(offsetof(ptz_tour_set, chn) == 0);
static_assert(offsetof(ptz_tour_set, tourid) == 4);
static_assert(offsetof(ptz_tour_set, rowsize) == 8);
static_assert(offsetof(ptz_tour_set, points) == 12);

// ---- A tour as three arrays (576 bytes): fisheye tours, information ----
struct ptz_tour_arrays {
  int32_t preset[PTZ_TOUR_POINTS];  // 0 ends the tour
  int32_t time[PTZ_TOUR_POINTS];
  int32_t speed[PTZ_TOUR_POINTS];
};
static_assert(sizeof(ptz_tour_arrays) == 576);
static_assert(offsetof(ptz_tour_arrays, preset) == 0);
static_assert(offsetof(ptz_tour_arrays, time) == 192);
static_assert(offsetof(ptz_tour_arrays, speed) == 384);

// ---- Fisheye tour (request 1269, 4620 bytes) ----
struct ptz_fish_tour_set {
  int32_t chn;
  int32_t streamId;
  int32_t tour;  // index from 0; only this tour's block is filled
  ptz_tour_arrays tours[PTZ_TOURS];
};
static_assert(sizeof(ptz_fish_tour_set) == 4620);
static_assert(offsetof(ptz_fish_tour_set, chn) == 0);
static_assert(offsetof(ptz_fish_tour_set, streamId) == 4);
static_assert(offsetof(ptz_fish_tour_set, tour) == 8);
static_assert(offsetof(ptz_fish_tour_set, tours) == 12);

// ---- Basic options (request 1271 and answer 6270, 136 bytes) ----
struct ptz_basic {
  int32_t status;  // 0 in requests
  int32_t chnId;
  int32_t zoomStatus;
  int32_t panTiltStatus;
  int32_t presetStatus;
  int32_t patrolStatus;
  int32_t patternStatus;
  int32_t autoScanStatus;
  int32_t presetFreezing;
  int32_t presetSpeed;
  int32_t manualSpeed;
  int32_t patrolRecovering;
  int32_t patrolRecoveryTime;
  int32_t focusMode;
  int32_t minFocusDistance;
  int32_t resumeTime;
  int32_t fanWorkingMode;
  char channelMask[65];  // request only: '0'/'1' per channel
  char reserved[3];
};
static_assert(sizeof(ptz_basic) == 136);
static_assert(offsetof(ptz_basic, status) == 0);
static_assert(offsetof(ptz_basic, chnId) == 4);
static_assert(offsetof(ptz_basic, zoomStatus) == 8);
static_assert(offsetof(ptz_basic, panTiltStatus) == 12);
static_assert(offsetof(ptz_basic, presetStatus) == 16);
static_assert(offsetof(ptz_basic, patrolStatus) == 20);
static_assert(offsetof(ptz_basic, patternStatus) == 24);
static_assert(offsetof(ptz_basic, autoScanStatus) == 28);
static_assert(offsetof(ptz_basic, presetFreezing) == 32);
static_assert(offsetof(ptz_basic, presetSpeed) == 36);
static_assert(offsetof(ptz_basic, manualSpeed) == 40);
static_assert(offsetof(ptz_basic, patrolRecovering) == 44);
static_assert(offsetof(ptz_basic, patrolRecoveryTime) == 48);
static_assert(offsetof(ptz_basic, focusMode) == 52);
static_assert(offsetof(ptz_basic, minFocusDistance) == 56);
static_assert(offsetof(ptz_basic, resumeTime) == 60);
static_assert(offsetof(ptz_basic, fanWorkingMode) == 64);
static_assert(offsetof(ptz_basic, channelMask) == 68);
static_assert(offsetof(ptz_basic, reserved) == 133);

// ---- Information (answers 6265 and 6268, 15604 bytes) ----
struct ptz_preset_info {
  int32_t enable;
  char name[32];
};
static_assert(sizeof(ptz_preset_info) == 36);
static_assert(offsetof(ptz_preset_info, enable) == 0);
static_assert(offsetof(ptz_preset_info, name) == 4);

struct ptz_info {
  ptz_preset_info presets[PTZ_PRESETS];
  ptz_tour_arrays tours[PTZ_TOURS];
  int32_t patterns[PTZ_PATTERNS];  // enable of each
  int32_t tour_status[PTZ_STATUS_GROUPS][PTZ_TOURS];
  int32_t autoscan_status[PTZ_STATUS_GROUPS];
};
static_assert(sizeof(ptz_info) == 15604);
static_assert(offsetof(ptz_info, presets) == 0);
static_assert(offsetof(ptz_info, tours) == 10800);
static_assert(offsetof(ptz_info, patterns) == 15408);
static_assert(offsetof(ptz_info, tour_status) == 15424);
static_assert(offsetof(ptz_info, autoscan_status) == 15584);

// ---- Small payloads ----
struct ptz_info_request {  // 1265 (chn only, 4 bytes) and 1268 (8 bytes)
  int32_t chn;
  int32_t streamId;
};
static_assert(sizeof(ptz_info_request) == 8);
static_assert(offsetof(ptz_info_request, chn) == 0);
static_assert(offsetof(ptz_info_request, streamId) == 4);

struct ptz_preset_call {  // 1266
  int32_t channelId;
  int32_t action;
};
static_assert(sizeof(ptz_preset_call) == 8);
static_assert(offsetof(ptz_preset_call, channelId) == 0);
static_assert(offsetof(ptz_preset_call, action) == 4);

struct ptz_zoom {  // 1267
  int32_t camId;
  int32_t Zoom;
  int32_t ZoomSpeed;
};
static_assert(sizeof(ptz_zoom) == 12);
static_assert(offsetof(ptz_zoom, camId) == 0);
static_assert(offsetof(ptz_zoom, Zoom) == 4);
static_assert(offsetof(ptz_zoom, ZoomSpeed) == 8);

struct ptz_control {  // 3361
  int32_t chnid;
  int32_t ptzCmd;
};
static_assert(sizeof(ptz_control) == 8);
static_assert(offsetof(ptz_control, chnid) == 0);
static_assert(offsetof(ptz_control, ptzCmd) == 4);

struct ptz_led_status {  // answer 8363
  int32_t chnid;
  int32_t status;
};
static_assert(sizeof(ptz_led_status) == 8);
static_assert(offsetof(ptz_led_status, chnid) == 0);
static_assert(offsetof(ptz_led_status, status) == 4);
