// The recorder's on-screen display of a channel (table "osd"): the camera
// name shown on the picture, which texts are shown, date and time formats,
// positions and transparency. Shared by the OSD pages and the camera pages
// (the channel name).
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int OSD_CHANNELS = 64;

struct osd_params {
  int32_t camId;  // channel, 0 to 63
  char camName[64];
  int32_t showName;
  int32_t showDate;
  int32_t showWeek;
  int32_t dateFormat;
  int32_t timeFormat;
  double datePosX;  // positions: fractions of the picture, as the page sends them
  double datePosY;
  double namePosX;
  double namePosY;
  int32_t alpha;
  char reserved[4];
};
static_assert(sizeof(osd_params) == 128);
static_assert(offsetof(osd_params, camId) == 0);
static_assert(offsetof(osd_params, camName) == 4);
static_assert(offsetof(osd_params, showName) == 68);
static_assert(offsetof(osd_params, showDate) == 72);
static_assert(offsetof(osd_params, showWeek) == 76);
static_assert(offsetof(osd_params, dateFormat) == 80);
static_assert(offsetof(osd_params, timeFormat) == 84);
static_assert(offsetof(osd_params, datePosX) == 88);
static_assert(offsetof(osd_params, datePosY) == 96);
static_assert(offsetof(osd_params, namePosX) == 104);
static_assert(offsetof(osd_params, namePosY) == 112);
static_assert(offsetof(osd_params, alpha) == 120);
static_assert(offsetof(osd_params, reserved) == 124);

constexpr const char *OSD_TABLE = "osd";

// The OSD of `channel` (0 to 63); a channel never written reads as its
// factory default. 0, or -1 (record untouched) for a bad channel or a
// database error.
int read_osd(const char *file, osd_params *record, int channel);
// Stores the record under its camId (0 to 63). 0 or -1.
int write_osd(const char *file, const osd_params *record);
