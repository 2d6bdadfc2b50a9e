// Wire records of the event and video settings module: what the handlers
// send to the core daemon for the cameras' motion detection, and what it
// answers. Little-endian, as the daemon lays them out.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Request codes ----
constexpr int MOTION_CHANGED_NOTICE = 1403;       // int32 channel
constexpr int MOTION_COPIED_NOTICE = 1410;        // channel_mask_notice
constexpr int CAMERA_MOTION_GET = 3206;           // int32 channel; answered with camera_motion
constexpr int CAMERA_MOTION_SET = 3207;           // camera_motion
constexpr int CAMERA_MOTION_WEEK = 3209;          // camera_motion_week, no channel list
constexpr int CAMERA_MOTION_SWITCH = 3212;        // camera_motion_switch
constexpr int CAMERA_MOTION_SET_MANY = 3251;      // camera_motion_set
constexpr int CAMERA_MOTION_WEEK_MANY = 3252;     // camera_motion_week with a channel list

constexpr int CAMERA_LIST_MAX = 64;  // channels a list payload holds
constexpr int CAMERA_MAP_SIZE = 300;  // the camera's grid text, NUL included

// The 64-bit copy mask of a notice: channels 0 to 31 in the low word.
struct channel_mask_notice {
  uint32_t low;
  uint32_t high;
};
static_assert(sizeof(channel_mask_notice) == 8);
static_assert(offsetof(channel_mask_notice, low) == 0);
static_assert(offsetof(channel_mask_notice, high) == 4);

// The camera's motion detection of one channel (request 3207, answer 8206).
struct camera_motion {
  int32_t enable;
  char map[CAMERA_MAP_SIZE];
  int32_t sensitivity;
  int32_t channel;
  int32_t result;
  int32_t modelType;
  int32_t fishdisplay;
  int32_t fishtransfer;
  int32_t fishinstall;
  int32_t enableAI;
};
static_assert(sizeof(camera_motion) == 336);
static_assert(offsetof(camera_motion, enable) == 0);
static_assert(offsetof(camera_motion, map) == 4);
static_assert(offsetof(camera_motion, sensitivity) == 304);
static_assert(offsetof(camera_motion, channel) == 308);
static_assert(offsetof(camera_motion, result) == 312);
static_assert(offsetof(camera_motion, modelType) == 316);
static_assert(offsetof(camera_motion, fishdisplay) == 320);
static_assert(offsetof(camera_motion, fishtransfer) == 324);
static_assert(offsetof(camera_motion, fishinstall) == 328);
static_assert(offsetof(camera_motion, enableAI) == 332);

// Grid and sensitivity of one channel, for it and the listed channels (3251).
struct camera_motion_set {
  char map[CAMERA_MAP_SIZE];
  int32_t sensitivity;
  int32_t channel;
  int32_t enableKX;
  int32_t channels[CAMERA_LIST_MAX];
  int32_t count;
  int32_t enableAI;
};
static_assert(sizeof(camera_motion_set) == 576);
static_assert(offsetof(camera_motion_set, map) == 0);
static_assert(offsetof(camera_motion_set, sensitivity) == 300);
static_assert(offsetof(camera_motion_set, channel) == 304);
static_assert(offsetof(camera_motion_set, enableKX) == 308);
static_assert(offsetof(camera_motion_set, channels) == 312);
static_assert(offsetof(camera_motion_set, count) == 568);
static_assert(offsetof(camera_motion_set, enableAI) == 572);

// Camera-side motion detection on or off (3212).
struct camera_motion_switch {
  int32_t channel;
  int32_t enable;
  int32_t channels[CAMERA_LIST_MAX];
  int32_t count;
};
static_assert(sizeof(camera_motion_switch) == 268);
static_assert(offsetof(camera_motion_switch, channel) == 0);
static_assert(offsetof(camera_motion_switch, enable) == 4);
static_assert(offsetof(camera_motion_switch, channels) == 8);
static_assert(offsetof(camera_motion_switch, count) == 264);

// One day of the camera's motion week: four segments of start hour, start
// minute, end hour, end minute.
constexpr int CAMERA_WEEK_DAYS = 7;
constexpr int CAMERA_DAY_SEGMENTS = 4;
struct camera_week_day {
  char reserved[64];
  int32_t day;  // 0 to 6
  int32_t enable;
  int32_t segments[CAMERA_DAY_SEGMENTS][4];
};
static_assert(sizeof(camera_week_day) == 136);
static_assert(offsetof(camera_week_day, reserved) == 0);
static_assert(offsetof(camera_week_day, day) == 64);
static_assert(offsetof(camera_week_day, enable) == 68);
static_assert(offsetof(camera_week_day, segments) == 72);

// The camera's motion week schedule (3209 for one channel, 3252 with a list).
struct camera_motion_week {
  int32_t channel;
  camera_week_day days[CAMERA_WEEK_DAYS];
  int32_t channels[CAMERA_LIST_MAX];
  int32_t count;
};
static_assert(sizeof(camera_motion_week) == 1216);
static_assert(offsetof(camera_motion_week, channel) == 0);
static_assert(offsetof(camera_motion_week, days) == 4);
static_assert(offsetof(camera_motion_week, days) + offsetof(camera_week_day, day) == 68);
static_assert(offsetof(camera_motion_week, channels) == 956);
static_assert(offsetof(camera_motion_week, count) == 1212);
