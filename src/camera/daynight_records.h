// Wire records of the camera's time-dependent image settings: day/night
// periods and scenes, image areas, the camera-side week schedules, the
// camera's motion configuration and the event query.
#pragma once

#include <cstddef>
#include <cstdint>

#include "camera_records.h"
#include "kxdb_event.h"

constexpr int DAYNIGHT_PERIODS = 7;
constexpr int DAYNIGHT_SCENES = 2;
constexpr int DAYNIGHT_EFFECTIVE = 10;
constexpr int IMAGE_AREAS = 16;
constexpr int IPC_SCHEDULE_ROWS = 7;  // camera-side schedules: one row per weekday

// ---- Day/night image (request 3279, answer 8278) ----
struct daynight_period {
  int32_t valid;  // 1: the period is set
  int32_t enable;
  int32_t startHour;
  int32_t startMinute;
  int32_t endHour;
  int32_t endMinute;
  int32_t exposureLevel;
  int32_t minShutter;
  int32_t maxShutter;
  int32_t gainLevel;
  int32_t irCutLatency;
  int32_t irCutState;
  int32_t irLedState;
  int32_t colorMode;
};
static_assert(sizeof(daynight_period) == 56);
static_assert(offsetof(daynight_period, enable) == 4);
static_assert(offsetof(daynight_period, exposureLevel) == 24);
static_assert(offsetof(daynight_period, minShutter) == 28);
static_assert(offsetof(daynight_period, maxShutter) == 32);
static_assert(offsetof(daynight_period, colorMode) == 52);

// The two scene entries lie interleaved: each field holds entry 0, then 1.
struct daynight_scenes {
  int32_t valid[DAYNIGHT_SCENES];
  int32_t minShutter[DAYNIGHT_SCENES];
  int32_t maxShutter[DAYNIGHT_SCENES];
  int32_t limitGain[DAYNIGHT_SCENES];
  int32_t irCutInterval[DAYNIGHT_SCENES];
  int32_t irCutStatus[DAYNIGHT_SCENES];
  int32_t irLedStatus[DAYNIGHT_SCENES];
  int32_t colorMode[DAYNIGHT_SCENES];
};
static_assert(sizeof(daynight_scenes) == 64);
static_assert(offsetof(daynight_scenes, minShutter) == 8);
static_assert(offsetof(daynight_scenes, limitGain) == 24);
static_assert(offsetof(daynight_scenes, colorMode) == 56);

struct daynight_effective {
  char startTime[32];
  char endTime[32];
  int32_t templateId;
};
static_assert(sizeof(daynight_effective) == 68);
static_assert(offsetof(daynight_effective, endTime) == 32);
static_assert(offsetof(daynight_effective, templateId) == 64);

struct daynight_image {
  int32_t channel;
  int32_t type;  // 0 periods, 1 scenes
  union {
    daynight_period periods[DAYNIGHT_PERIODS];
    daynight_scenes scenes;
  };
  int32_t hasSche;
  daynight_effective effective[DAYNIGHT_EFFECTIVE];
  int32_t reserved;
};
static_assert(sizeof(daynight_image) == 1088);
static_assert(offsetof(daynight_image, type) == 4);
static_assert(offsetof(daynight_image, periods) == 8);
static_assert(offsetof(daynight_image, scenes) == 8);
static_assert(offsetof(daynight_image, hasSche) == 400);
static_assert(offsetof(daynight_image, effective) == 404);
static_assert(offsetof(daynight_image, reserved) == 1084);
// The answer 8278 must hold the periods.
constexpr int DAYNIGHT_ANSWER_SIZE = offsetof(daynight_image, hasSche);

// ---- Image areas (request 3288, answer 8271, clear 3284) ----
struct image_area {
  int32_t enable;
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};
static_assert(sizeof(image_area) == 20);
static_assert(offsetof(image_area, bottom) == 16);

struct image_areas_request {
  int32_t channels[IPC_CHANNELS];  // -1: unused slot
  int32_t enable;
  int32_t count;  // channels placed in the list
  image_area areas[IMAGE_AREAS];
};
static_assert(sizeof(image_areas_request) == 584);
static_assert(offsetof(image_areas_request, enable) == 256);
static_assert(offsetof(image_areas_request, count) == 260);
static_assert(offsetof(image_areas_request, areas) == 264);

struct image_areas_answer {
  int32_t channel;
  int32_t enable;
  int32_t reserved;
  char sdkversion[32];
  image_area areas[IMAGE_AREAS];
};
static_assert(sizeof(image_areas_answer) == 364);
static_assert(offsetof(image_areas_answer, enable) == 4);
static_assert(offsetof(image_areas_answer, sdkversion) == 12);
static_assert(offsetof(image_areas_answer, areas) == 44);

struct image_area_clear {
  int32_t chan_id;
  int32_t area_id;  // 0 to 16
};
static_assert(sizeof(image_area_clear) == 8);
static_assert(offsetof(image_area_clear, area_id) == 4);

// ---- Camera-side week schedules (requests 3281, 3283, 3282) ----
// 3281 and 3283: the rows of the shared schedule (plans of start, end,
// action; the row's two words stay zero).
struct ipc_schedule_request {
  int32_t channels[IPC_CHANNELS];
  schedule_day days[IPC_SCHEDULE_ROWS];
  uint8_t reserved[3020];
};
static_assert(sizeof(ipc_schedule_request) == 26180);
static_assert(offsetof(ipc_schedule_request, days) == 256);
static_assert(offsetof(ipc_schedule_request, reserved) == 23160);

struct exposure_plan {
  char start_time[32];
  char end_time[32];
  int32_t action_type;
  int32_t exposureTime;
  int32_t gainLevel;
};
static_assert(sizeof(exposure_plan) == 76);
static_assert(offsetof(exposure_plan, end_time) == 32);
static_assert(offsetof(exposure_plan, action_type) == 64);
static_assert(offsetof(exposure_plan, exposureTime) == 68);
static_assert(offsetof(exposure_plan, gainLevel) == 72);

struct exposure_day {
  exposure_plan plans[SCHEDULE_PLANS];
};
static_assert(sizeof(exposure_day) == 3648);

struct exposure_schedule_request {
  int32_t channels[IPC_CHANNELS];
  exposure_day days[IPC_SCHEDULE_ROWS];
  uint8_t reserved[3396];
};
static_assert(sizeof(exposure_schedule_request) == 29188);
static_assert(offsetof(exposure_schedule_request, days) == 256);
static_assert(offsetof(exposure_schedule_request, reserved) == 25792);

// Answers 8273 and 8277 (plan slots of 68 bytes), 8275 (76 bytes).
struct ipc_schedule_answer {
  int32_t channel;
  schedule_day days[IPC_SCHEDULE_ROWS];
};
struct exposure_schedule_answer {
  int32_t channel;
  exposure_day days[IPC_SCHEDULE_ROWS];
};
static_assert(sizeof(ipc_schedule_answer) == 22908);
static_assert(offsetof(ipc_schedule_answer, days) == 4);
static_assert(sizeof(exposure_schedule_answer) == 25540);
static_assert(offsetof(exposure_schedule_answer, days) == 4);

// ---- Camera motion configuration (request 3366, answer 8358) ----
struct ipc_motion_config {
  uint64_t mask;  // channels the configuration goes to, bit n for channel n
  int32_t channel;
  int32_t enable;
  int32_t sensitivity;
  int32_t minsize;
  int32_t mintime;
  int32_t adaptability;
  char map_mask[300];
  schedule effective;  // camera schedule form
  int32_t reserved;
};
static_assert(sizeof(ipc_motion_config) == 26512);
static_assert(offsetof(ipc_motion_config, channel) == 8);
static_assert(offsetof(ipc_motion_config, enable) == 12);
static_assert(offsetof(ipc_motion_config, adaptability) == 28);
static_assert(offsetof(ipc_motion_config, map_mask) == 32);
static_assert(offsetof(ipc_motion_config, effective) == 332);
static_assert(offsetof(ipc_motion_config, reserved) == 26508);

struct ipc_motion_answer {
  int32_t channel;
  int32_t enable;
  int32_t sensitivity;
  int32_t minsize;
  int32_t mintime;
  int32_t adaptability;
  char map_mask[300];
  schedule effective;
  int32_t isNtPlatform;
};
static_assert(sizeof(ipc_motion_answer) == 26504);
static_assert(offsetof(ipc_motion_answer, enable) == 4);
static_assert(offsetof(ipc_motion_answer, adaptability) == 20);
static_assert(offsetof(ipc_motion_answer, map_mask) == 24);
static_assert(offsetof(ipc_motion_answer, effective) == 324);
static_assert(offsetof(ipc_motion_answer, isNtPlatform) == 26500);

// ---- Event query (request 3360; the answer 8360 is text) ----
struct ipc_event_query {
  int32_t channel;
  int32_t mainType;
  int32_t subType;
  char time[64];
};
static_assert(sizeof(ipc_event_query) == 76);
static_assert(offsetof(ipc_event_query, subType) == 8);
static_assert(offsetof(ipc_event_query, time) == 12);
