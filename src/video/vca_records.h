// Wire records of the cameras' analytics rules: what the handlers send to
// the core daemon and what it answers. Little-endian, as the daemon lays
// them out; positions are camera coordinates unless a record says so.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kxdb_event.h"

// ---- Request codes (answers: code + 5000) ----
constexpr int VCA_REGION_ENTRANCE_GET = 3237;
constexpr int VCA_REGION_EXIT_GET = 3238;
constexpr int VCA_MOTION_GET = 3239;
constexpr int VCA_TAMPER_GET = 3240;
constexpr int VCA_LINE_GET = 3241;
constexpr int VCA_LOITERING_GET = 3242;
constexpr int VCA_HUMAN_GET = 3243;
constexpr int VCA_REGION_ENTRANCE_SET = 3244;
constexpr int VCA_REGION_EXIT_SET = 3245;
constexpr int VCA_MOTION_SET = 3246;
constexpr int VCA_TAMPER_SET = 3247;
constexpr int VCA_LINE_SET = 3248;
constexpr int VCA_LOITERING_SET = 3249;
constexpr int VCA_HUMAN_SET = 3250;
constexpr int VCA_PEOPLE_GET = 3253;
constexpr int VCA_PEOPLE_SET = 3254;
constexpr int VCA_SUPPORT_GET = 3257;
constexpr int VCA_SETTINGS_GET = 3259;
constexpr int VCA_SETTINGS_SET = 3260;
constexpr int VCA_PEOPLE_RESET = 3261;
constexpr int VCA_LEFTREMOVE_GET = 3268;
constexpr int VCA_LEFTREMOVE_SET = 3269;
constexpr int VCA_LINE2_GET = 1209;
constexpr int VCA_LINE2_SET = 1210;
constexpr int VCA_CLASS_SETTINGS_GET = 1211;
constexpr int VCA_CLASS_SETTINGS_SET = 1212;
// Notice without waiting: channel_mask_notice of the channels whose
// smart-event actions changed.
constexpr int SMART_EVENT_CHANGED_NOTICE = 1412;

constexpr int VCA_REGION_SIZE = 300;   // region text, NUL included
constexpr int VCA_POLYGON_SIZE = 64;   // polygon texts, NUL included
constexpr int VCA_COPY_SIZE = 65;      // '0'/'1' per channel, from "copyChn"
constexpr int VCA_REGION_ENTRIES = 4;
constexpr int VCA_POLYGON_SLOTS = 5;
constexpr int VCA_LINES = 4;
constexpr int VCA_LINE_SEGMENTS = 5;
constexpr int VCA_CLASSES = 8;

struct vca_polygon_slot {
  char reserved[64];
  char polygonX[VCA_POLYGON_SIZE];
  char polygonY[VCA_POLYGON_SIZE];
};
static_assert(sizeof(vca_polygon_slot) == 192);
static_assert(offsetof(vca_polygon_slot, reserved) == 0);
static_assert(offsetof(vca_polygon_slot, polygonX) == 64);
static_assert(offsetof(vca_polygon_slot, polygonY) == 128);

// A region entry; in the left/remove record `enable` is leftEnable and
// `removeEnable` is used, in the area record it stays zero.
struct vca_region_entry {
  int32_t enable;
  int32_t removeEnable;
  int32_t time;
  int32_t objType;
  vca_polygon_slot slots[VCA_POLYGON_SLOTS];
};
static_assert(sizeof(vca_region_entry) == 976);
static_assert(offsetof(vca_region_entry, enable) == 0);
static_assert(offsetof(vca_region_entry, removeEnable) == 4);
static_assert(offsetof(vca_region_entry, time) == 8);
static_assert(offsetof(vca_region_entry, objType) == 12);
static_assert(offsetof(vca_region_entry, slots) == 16);

// Area rules: region entrance and exit, advanced motion, tamper,
// loitering, human detection.
struct vca_area {
  int32_t channel;
  int32_t enable;
  char reserved0[16];
  int32_t sensitivity;
  int32_t time;         // loitering
  int32_t size;         // loitering
  int32_t tracks;       // human detection
  char region[VCA_REGION_SIZE];
  int32_t ignore_time;  // advanced motion
  int32_t objtype;
  char polygonX[VCA_POLYGON_SIZE];
  char polygonY[VCA_POLYGON_SIZE];
  char copyChn[VCA_COPY_SIZE];
  char reserved1[23];
  int32_t regionType;
  int32_t regionScene;
  vca_region_entry entries[VCA_REGION_ENTRIES];
  char reserved2[4];
};
static_assert(sizeof(vca_area) == 4480);
static_assert(offsetof(vca_area, channel) == 0);
static_assert(offsetof(vca_area, enable) == 4);
static_assert(offsetof(vca_area, reserved0) == 8);
static_assert(offsetof(vca_area, sensitivity) == 24);
static_assert(offsetof(vca_area, time) == 28);
static_assert(offsetof(vca_area, size) == 32);
static_assert(offsetof(vca_area, tracks) == 36);
static_assert(offsetof(vca_area, region) == 40);
static_assert(offsetof(vca_area, ignore_time) == 340);
static_assert(offsetof(vca_area, objtype) == 344);
static_assert(offsetof(vca_area, polygonX) == 348);
static_assert(offsetof(vca_area, polygonY) == 412);
static_assert(offsetof(vca_area, copyChn) == 476);
static_assert(offsetof(vca_area, reserved1) == 541);
static_assert(offsetof(vca_area, regionType) == 564);
static_assert(offsetof(vca_area, regionScene) == 568);
static_assert(offsetof(vca_area, entries) == 572);
static_assert(offsetof(vca_area, reserved2) == 4476);

// Left and removed objects.
struct vca_leftremove {
  int32_t channel;
  int32_t sensitivity;
  int32_t left_enable;
  int32_t remove_enable;
  int32_t min_time;
  char reserved0[16];
  char region[VCA_REGION_SIZE];
  char polygonX[VCA_POLYGON_SIZE];
  char polygonY[VCA_POLYGON_SIZE];
  char copyChn[VCA_COPY_SIZE];
  char reserved1[23];
  int32_t regionType;
  int32_t regionScene;
  vca_region_entry entries[VCA_REGION_ENTRIES];
  char reserved2[4];
};
static_assert(sizeof(vca_leftremove) == 4468);
static_assert(offsetof(vca_leftremove, channel) == 0);
static_assert(offsetof(vca_leftremove, sensitivity) == 4);
static_assert(offsetof(vca_leftremove, left_enable) == 8);
static_assert(offsetof(vca_leftremove, remove_enable) == 12);
static_assert(offsetof(vca_leftremove, min_time) == 16);
static_assert(offsetof(vca_leftremove, reserved0) == 20);
static_assert(offsetof(vca_leftremove, region) == 36);
static_assert(offsetof(vca_leftremove, polygonX) == 336);
static_assert(offsetof(vca_leftremove, polygonY) == 400);
static_assert(offsetof(vca_leftremove, copyChn) == 464);
static_assert(offsetof(vca_leftremove, reserved1) == 529);
static_assert(offsetof(vca_leftremove, regionType) == 552);
static_assert(offsetof(vca_leftremove, regionScene) == 556);
static_assert(offsetof(vca_leftremove, entries) == 560);
static_assert(offsetof(vca_leftremove, reserved2) == 4464);

// Line crossing: four lines after the 16-byte head.
struct vca_line_block {
  int32_t startX;
  int32_t startY;
  int32_t stopX;
  int32_t stopY;
  int32_t direction;
  char reserved[104];
};
static_assert(sizeof(vca_line_block) == 124);
static_assert(offsetof(vca_line_block, startX) == 0);
static_assert(offsetof(vca_line_block, startY) == 4);
static_assert(offsetof(vca_line_block, stopX) == 8);
static_assert(offsetof(vca_line_block, stopY) == 12);
static_assert(offsetof(vca_line_block, direction) == 16);
static_assert(offsetof(vca_line_block, reserved) == 20);

struct vca_line {
  int32_t channel;
  int32_t enable;
  int32_t width;   // the camera's analysis resolution, in answers
  int32_t height;
  vca_line_block lines[VCA_LINES];
  int32_t objtype;
  char copyChn[VCA_COPY_SIZE];
  char reserved[31];
};
static_assert(sizeof(vca_line) == 612);
static_assert(offsetof(vca_line, channel) == 0);
static_assert(offsetof(vca_line, enable) == 4);
static_assert(offsetof(vca_line, width) == 8);
static_assert(offsetof(vca_line, height) == 12);
static_assert(offsetof(vca_line, lines) == 16);
// Line i: startX at 124 i + 16, direction at 124 i + 32.
static_assert(offsetof(vca_line, lines[3].direction) == 124 * 3 + 32);
static_assert(offsetof(vca_line, objtype) == 512);
static_assert(offsetof(vca_line, copyChn) == 516);
static_assert(offsetof(vca_line, reserved) == 581);

// Line crossing, second form: lines with sub-segments (lineType 2).
struct vca_segment {
  int32_t startX;
  int32_t startY;
  int32_t stopX;
  int32_t stopY;
  int32_t direction;
};
static_assert(sizeof(vca_segment) == 20);
static_assert(offsetof(vca_segment, startX) == 0);
static_assert(offsetof(vca_segment, startY) == 4);
static_assert(offsetof(vca_segment, stopX) == 8);
static_assert(offsetof(vca_segment, stopY) == 12);
static_assert(offsetof(vca_segment, direction) == 16);

struct vca_line2_block {
  int32_t enable;
  int32_t startX;
  int32_t startY;
  int32_t stopX;
  int32_t stopY;
  int32_t direction;
  int32_t objtype;
  vca_segment segments[VCA_LINE_SEGMENTS];
};
static_assert(sizeof(vca_line2_block) == 128);
static_assert(offsetof(vca_line2_block, enable) == 0);
static_assert(offsetof(vca_line2_block, startX) == 4);
static_assert(offsetof(vca_line2_block, startY) == 8);
static_assert(offsetof(vca_line2_block, stopX) == 12);
static_assert(offsetof(vca_line2_block, stopY) == 16);
static_assert(offsetof(vca_line2_block, direction) == 20);
static_assert(offsetof(vca_line2_block, objtype) == 24);
static_assert(offsetof(vca_line2_block, segments) == 28);

struct vca_line2 {
  int32_t channel;
  int32_t sensitivity;
  int32_t width;  // in answers
  int32_t height;
  vca_line2_block lines[VCA_LINES];
  char reserved0[4];
  char copyChn[VCA_COPY_SIZE];
  char reserved1[3];
  int32_t lineType;
  int32_t lineScene;
  char reserved2[20];
};
static_assert(sizeof(vca_line2) == 628);
static_assert(offsetof(vca_line2, channel) == 0);
static_assert(offsetof(vca_line2, sensitivity) == 4);
static_assert(offsetof(vca_line2, width) == 8);
static_assert(offsetof(vca_line2, height) == 12);
static_assert(offsetof(vca_line2, lines) == 16);
// Line i: enable at 128 i + 16, sub-segments from 128 i + 44.
static_assert(offsetof(vca_line2, lines[2].segments) == 128 * 2 + 44);
static_assert(offsetof(vca_line2, reserved0) == 528);
static_assert(offsetof(vca_line2, copyChn) == 532);
static_assert(offsetof(vca_line2, reserved1) == 597);
static_assert(offsetof(vca_line2, lineType) == 600);
static_assert(offsetof(vca_line2, lineScene) == 604);
static_assert(offsetof(vca_line2, reserved2) == 608);

// People counting: one counting line per block.
struct vca_people_line {
  uint8_t lineEnable;
  uint8_t autoResetEnable;
  uint8_t direction;
  uint8_t showCntEnable;
  int32_t startX;
  int32_t startY;
  int32_t stopX;
  int32_t stopY;
  int32_t autoResetWeekday;
  int32_t autoResetHour;
  int32_t autoResetMin;
  int32_t autoResetSec;
  int32_t alarmEnable;
  int32_t alarmThreshold[4];
};
static_assert(sizeof(vca_people_line) == 56);
static_assert(offsetof(vca_people_line, lineEnable) == 0);
static_assert(offsetof(vca_people_line, autoResetEnable) == 1);
static_assert(offsetof(vca_people_line, direction) == 2);
static_assert(offsetof(vca_people_line, showCntEnable) == 3);
static_assert(offsetof(vca_people_line, startX) == 4);
static_assert(offsetof(vca_people_line, startY) == 8);
static_assert(offsetof(vca_people_line, stopX) == 12);
static_assert(offsetof(vca_people_line, stopY) == 16);
static_assert(offsetof(vca_people_line, autoResetWeekday) == 20);
static_assert(offsetof(vca_people_line, autoResetHour) == 24);
static_assert(offsetof(vca_people_line, autoResetMin) == 28);
static_assert(offsetof(vca_people_line, autoResetSec) == 32);
static_assert(offsetof(vca_people_line, alarmEnable) == 36);
static_assert(offsetof(vca_people_line, alarmThreshold) == 40);

struct vca_people {
  int32_t channel;
  int32_t width;
  int32_t height;
  int32_t osdEnable;
  int32_t osdFontSize;
  int32_t osdTextPos;
  int32_t sensitivity;
  uint8_t osdType;
  char reserved0[3];
  int32_t lineNum;
  int32_t triggerType;
  int32_t triggerEnable;
  int32_t totalAlarmEnable;
  int32_t totalAlarmThreshold[4];
  vca_people_line lines[VCA_LINES];
  char copyChn[VCA_COPY_SIZE];
  char reserved1[3];
  schedule effective;  // the daemon's form: rows 0 to 6, 10 plans, row-valid flags
  char reserved2[4];
};
static_assert(sizeof(vca_people) == 26536);
static_assert(offsetof(vca_people, channel) == 0);
static_assert(offsetof(vca_people, width) == 4);
static_assert(offsetof(vca_people, height) == 8);
static_assert(offsetof(vca_people, osdEnable) == 12);
static_assert(offsetof(vca_people, osdFontSize) == 16);
static_assert(offsetof(vca_people, osdTextPos) == 20);
static_assert(offsetof(vca_people, sensitivity) == 24);
static_assert(offsetof(vca_people, osdType) == 28);
static_assert(offsetof(vca_people, reserved0) == 29);
static_assert(offsetof(vca_people, lineNum) == 32);
static_assert(offsetof(vca_people, triggerType) == 36);
static_assert(offsetof(vca_people, triggerEnable) == 40);
static_assert(offsetof(vca_people, totalAlarmEnable) == 44);
static_assert(offsetof(vca_people, totalAlarmThreshold) == 48);
static_assert(offsetof(vca_people, lines) == 64);
static_assert(offsetof(vca_people, copyChn) == 288);
static_assert(offsetof(vca_people, reserved1) == 353);
static_assert(offsetof(vca_people, effective) == 356);
static_assert(offsetof(vca_people, reserved2) == 26532);

// Analysis settings of a channel: the smallest and largest object.
struct vca_settings {
  int32_t channel;
  int32_t vcaType;  // answers only
  int32_t fps;
  int32_t mode;
  int32_t installation;
  int32_t analysis;
  int32_t width;
  int32_t height;
  int32_t minStartX;
  int32_t minStartY;
  int32_t minWidth;
  int32_t minHeight;
  int32_t maxStartX;
  int32_t maxStartY;
  int32_t maxWidth;
  int32_t maxHeight;
};
static_assert(sizeof(vca_settings) == 64);
static_assert(offsetof(vca_settings, channel) == 0);
static_assert(offsetof(vca_settings, vcaType) == 4);
static_assert(offsetof(vca_settings, fps) == 8);
static_assert(offsetof(vca_settings, mode) == 12);
static_assert(offsetof(vca_settings, installation) == 16);
static_assert(offsetof(vca_settings, analysis) == 20);
static_assert(offsetof(vca_settings, width) == 24);
static_assert(offsetof(vca_settings, height) == 28);
static_assert(offsetof(vca_settings, minStartX) == 32);
static_assert(offsetof(vca_settings, minStartY) == 36);
static_assert(offsetof(vca_settings, minWidth) == 40);
static_assert(offsetof(vca_settings, minHeight) == 44);
static_assert(offsetof(vca_settings, maxStartX) == 48);
static_assert(offsetof(vca_settings, maxStartY) == 52);
static_assert(offsetof(vca_settings, maxWidth) == 56);
static_assert(offsetof(vca_settings, maxHeight) == 60);

// Analysis settings by object class, values unconverted.
struct vca_class_settings {
  int32_t channel;
  char reserved0[4];
  int32_t fps;
  int32_t mode;
  int32_t installation;
  int32_t analysis;
  int32_t width;
  int32_t height;
  int32_t minStartX[VCA_CLASSES];
  int32_t minStartY[VCA_CLASSES];
  int32_t minWidth[VCA_CLASSES];
  int32_t minHeight[VCA_CLASSES];
  int32_t maxStartX[VCA_CLASSES];
  int32_t maxStartY[VCA_CLASSES];
  int32_t maxWidth[VCA_CLASSES];
  int32_t maxHeight[VCA_CLASSES];
  char copyChn[VCA_COPY_SIZE];
  char reserved1[3];
};
static_assert(sizeof(vca_class_settings) == 356);
static_assert(offsetof(vca_class_settings, channel) == 0);
static_assert(offsetof(vca_class_settings, reserved0) == 4);
static_assert(offsetof(vca_class_settings, fps) == 8);
static_assert(offsetof(vca_class_settings, mode) == 12);
static_assert(offsetof(vca_class_settings, installation) == 16);
static_assert(offsetof(vca_class_settings, analysis) == 20);
static_assert(offsetof(vca_class_settings, width) == 24);
static_assert(offsetof(vca_class_settings, height) == 28);
static_assert(offsetof(vca_class_settings, minStartX) == 32);
static_assert(offsetof(vca_class_settings, minStartY) == 64);
static_assert(offsetof(vca_class_settings, minWidth) == 96);
static_assert(offsetof(vca_class_settings, minHeight) == 128);
static_assert(offsetof(vca_class_settings, maxStartX) == 160);
static_assert(offsetof(vca_class_settings, maxStartY) == 192);
static_assert(offsetof(vca_class_settings, maxWidth) == 224);
static_assert(offsetof(vca_class_settings, maxHeight) == 256);
static_assert(offsetof(vca_class_settings, copyChn) == 288);
static_assert(offsetof(vca_class_settings, reserved1) == 353);

// Reset of a people counter.
struct vca_people_reset {
  int32_t channel;
  char reserved[8];
  int32_t line;
  int32_t resetdb;
};
static_assert(sizeof(vca_people_reset) == 20);
static_assert(offsetof(vca_people_reset, channel) == 0);
static_assert(offsetof(vca_people_reset, reserved) == 4);
static_assert(offsetof(vca_people_reset, line) == 12);
static_assert(offsetof(vca_people_reset, resetdb) == 16);

// What the camera's analytics support (answer 8257).
struct vca_support {
  int32_t channel;
  int32_t support;
  int32_t type;
};
static_assert(sizeof(vca_support) == 12);
static_assert(offsetof(vca_support, channel) == 0);
static_assert(offsetof(vca_support, support) == 4);
static_assert(offsetof(vca_support, type) == 8);
