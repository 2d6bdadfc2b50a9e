// The recorder's own privacy masks of a channel (table "privacy_mask"): 24
// areas that the recorder blanks on the picture of the channel. Shared by
// the mask pages and camera management (which clears a channel's areas when
// its camera is removed).
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int PRIVACY_MASK_CHANNELS = 64;
constexpr int PRIVACY_MASK_AREAS = 24;

struct privacy_mask_area {
  int32_t area_id;
  int32_t enable;
  int32_t start_x;
  int32_t start_y;
  int32_t area_width;
  int32_t area_height;
  int32_t width;   // the picture the area was drawn on
  int32_t height;
  int32_t fill_color;
  char reserved[16];
};
static_assert(sizeof(privacy_mask_area) == 52);
static_assert(offsetof(privacy_mask_area, area_id) == 0);
static_assert(offsetof(privacy_mask_area, enable) == 4);
static_assert(offsetof(privacy_mask_area, start_x) == 8);
static_assert(offsetof(privacy_mask_area, start_y) == 12);
static_assert(offsetof(privacy_mask_area, area_width) == 16);
static_assert(offsetof(privacy_mask_area, area_height) == 20);
static_assert(offsetof(privacy_mask_area, width) == 24);
static_assert(offsetof(privacy_mask_area, height) == 28);
static_assert(offsetof(privacy_mask_area, fill_color) == 32);
static_assert(offsetof(privacy_mask_area, reserved) == 36);

struct privacy_mask_params {
  int32_t id;  // channel, 0 to 63
  privacy_mask_area areas[PRIVACY_MASK_AREAS];
};
static_assert(sizeof(privacy_mask_params) == 1252);
static_assert(offsetof(privacy_mask_params, id) == 0);
static_assert(offsetof(privacy_mask_params, areas) == 4);
static_assert(offsetof(privacy_mask_params, areas) + 23 * sizeof(privacy_mask_area) == 1200);

constexpr const char *PRIVACY_MASK_TABLE = "privacy_mask";

// The masks of the channels in channel order into `records` (room for 64).
// With `all` 1 every channel, a channel never written as its factory
// default (no area set); with 0 only the channels that were stored.
// `count` receives the number of records. 0, or -1 (count 0) on a database
// error.
int read_privacy_masks(const char *file, privacy_mask_params *records, int *count, int all);

// The masks of `channel` (0 to 63); a channel never written reads as its
// factory default. 0, or -1 (record untouched) for a bad channel or a
// database error.
int read_privacy_mask(const char *file, privacy_mask_params *record, int channel);
// Stores the record under its id (0 to 63). 0 or -1.
int write_privacy_mask(const char *file, const privacy_mask_params *record);
