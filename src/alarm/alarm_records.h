// Daemon payloads of the alarm module: the cameras' alarm inputs and outputs
// (requests 3296, 3298, 3324, 3325, 3352 and their answers) and the
// notices of changed recorder and camera alarms.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kxdb_alarm.h"

// Request codes.
constexpr int ALARM_IN_CHANGED = 1404;       // int32 input
constexpr int ALARM_OUT_CHANGED = 1405;      // int32 output
constexpr int ALARM_OUT_STATE = 1409;        // alarm_out_state
constexpr int ALARM_INS_CHANGED = 1415;      // alarm_mask_notice of inputs
constexpr int CAMERA_INS_CHANGED = 1417;     // alarm_mask_notice of channels
constexpr int CAMERA_OUTS_CHANGED = 1418;    // alarm_mask_notice of channels
constexpr int CAMERA_ALARM_OUT_GET = 3296;   // int32 channel, answer 8296
constexpr int CAMERA_ALARM_IN_GET = 3298;    // camera_alarm_inputs, answer 8298
constexpr int CAMERA_ALARM_OUT_SET = 3324;   // camera_alarm_out_set
constexpr int CAMERA_ALARM_IN_SET = 3325;    // camera_alarm_in_set
constexpr int CAMERA_ALARM_OUT_STATE = 3352; // camera_alarm_out_state

// A 64-bit mask of inputs or channels, low word first.
struct alarm_mask_notice {
  uint32_t low;
  uint32_t high;
};
static_assert(sizeof(alarm_mask_notice) == 8);
static_assert(offsetof(alarm_mask_notice, low) == 0);
static_assert(offsetof(alarm_mask_notice, high) == 4);

// Switches a recorder output by hand (1409).
struct alarm_out_state {
  int32_t output;
  int32_t enable;  // 0 or 1
};
static_assert(sizeof(alarm_out_state) == 8);
static_assert(offsetof(alarm_out_state, output) == 0);
static_assert(offsetof(alarm_out_state, enable) == 4);

// The outputs of a camera (answer 8296).
struct camera_alarm_outputs {
  int32_t chn;
  int32_t alarmType[CAMERA_ALARM_OUTPUTS];
  int32_t alarmStatus[CAMERA_ALARM_OUTPUTS];
  int32_t alarmCnt;
};
static_assert(sizeof(camera_alarm_outputs) == 24);
static_assert(offsetof(camera_alarm_outputs, chn) == 0);
static_assert(offsetof(camera_alarm_outputs, alarmType) == 4);
static_assert(offsetof(camera_alarm_outputs, alarmStatus) == 12);
static_assert(offsetof(camera_alarm_outputs, alarmCnt) == 20);

// The inputs of a camera: the request 3298 (channel and the count 4, the
// rest zero) and its answer 8298.
struct camera_alarm_inputs {
  int32_t chn;
  int32_t alarmEnable[CAMERA_ALARM_INPUTS];
  int32_t alarmType[CAMERA_ALARM_INPUTS];
  int32_t alarmStatus[CAMERA_ALARM_INPUTS];
  int32_t alarmCnt;
};
static_assert(sizeof(camera_alarm_inputs) == 56);
static_assert(offsetof(camera_alarm_inputs, chn) == 0);
static_assert(offsetof(camera_alarm_inputs, alarmEnable) == 4);
static_assert(offsetof(camera_alarm_inputs, alarmType) == 20);
static_assert(offsetof(camera_alarm_inputs, alarmStatus) == 36);
static_assert(offsetof(camera_alarm_inputs, alarmCnt) == 52);

// Types of a camera's outputs for several channels (3324).
struct camera_alarm_out_entry {
  int32_t reserved;
  int32_t index;
  int32_t alarmType;
};
static_assert(sizeof(camera_alarm_out_entry) == 12);
static_assert(offsetof(camera_alarm_out_entry, reserved) == 0);
static_assert(offsetof(camera_alarm_out_entry, index) == 4);
static_assert(offsetof(camera_alarm_out_entry, alarmType) == 8);

struct camera_alarm_out_set {
  camera_alarm_out_entry entries[CAMERA_ALARM_OUTPUTS];
  int32_t count;
  int32_t reserved;
  uint32_t mask_low;  // channels 0 to 31
  uint32_t mask_high;
};
static_assert(sizeof(camera_alarm_out_set) == 40);
static_assert(offsetof(camera_alarm_out_set, entries) == 0);
static_assert(offsetof(camera_alarm_out_set, count) == 24);
static_assert(offsetof(camera_alarm_out_set, reserved) == 28);
static_assert(offsetof(camera_alarm_out_set, mask_low) == 32);
static_assert(offsetof(camera_alarm_out_set, mask_high) == 36);

// Switches and types of a camera's inputs for several channels (3325).
struct camera_alarm_in_entry {
  int32_t reserved;
  int32_t alarmEnable;
  int32_t index;
  int32_t alarmType;
};
static_assert(sizeof(camera_alarm_in_entry) == 16);
static_assert(offsetof(camera_alarm_in_entry, reserved) == 0);
static_assert(offsetof(camera_alarm_in_entry, alarmEnable) == 4);
static_assert(offsetof(camera_alarm_in_entry, index) == 8);
static_assert(offsetof(camera_alarm_in_entry, alarmType) == 12);

struct camera_alarm_in_set {
  camera_alarm_in_entry entries[CAMERA_ALARM_INPUTS];
  int32_t count;
  int32_t reserved;
  uint32_t mask_low;
  uint32_t mask_high;
};
static_assert(sizeof(camera_alarm_in_set) == 80);
static_assert(offsetof(camera_alarm_in_set, entries) == 0);
static_assert(offsetof(camera_alarm_in_set, count) == 64);
static_assert(offsetof(camera_alarm_in_set, reserved) == 68);
static_assert(offsetof(camera_alarm_in_set, mask_low) == 72);
static_assert(offsetof(camera_alarm_in_set, mask_high) == 76);

// Switches one output of a camera by hand (3352).
struct camera_alarm_out_state {
  int32_t chnid;
  int32_t alarmId;
  int32_t state;
};
static_assert(sizeof(camera_alarm_out_state) == 12);
static_assert(offsetof(camera_alarm_out_state, chnid) == 0);
static_assert(offsetof(camera_alarm_out_state, alarmId) == 4);
static_assert(offsetof(camera_alarm_out_state, state) == 8);
