// Wire records of the cameras' licence-plate recognition: request codes,
// the support and zoom answers and the plate wildcards.
#pragma once

#include <cstddef>
#include <cstdint>

// Notice (8 bytes: channel, mode) that the actions of a list mode changed.
constexpr int ANPR_MODE_CHANGED_NOTICE = 1416;

constexpr int ANPR_WILDCARDS_GET = 1207;  // answer 6207
constexpr int ANPR_WILDCARDS_SET = 1208;  // answer 6208: status word
constexpr int ANPR_ZOOM_GET = 1215;       // answer 6215
constexpr int ANPR_SUPPORT_GET = 3293;    // answer 8293

constexpr int ANPR_WILDCARD_COUNT = 9;

// What a camera's plate recognition supports (answer 8293).
struct anpr_support {
  int32_t channel;
  int32_t vca_support;
  int32_t vca_version;
};
static_assert(sizeof(anpr_support) == 12);
static_assert(offsetof(anpr_support, channel) == 0);
static_assert(offsetof(anpr_support, vca_support) == 4);
static_assert(offsetof(anpr_support, vca_version) == 8);

// A camera's zoom state (answer 6215).
struct anpr_zoom {
  int32_t channel;
  int32_t state;
  int32_t zoomNumber;
};
static_assert(sizeof(anpr_zoom) == 12);
static_assert(offsetof(anpr_zoom, channel) == 0);
static_assert(offsetof(anpr_zoom, state) == 4);
static_assert(offsetof(anpr_zoom, zoomNumber) == 8);

// The plate wildcards of a camera (answer 6207, request 1208).
struct anpr_wildcards {
  int32_t channel;
  int32_t filter;
  int32_t enable[ANPR_WILDCARD_COUNT];
  int32_t cr_count[ANPR_WILDCARD_COUNT];
  char format[ANPR_WILDCARD_COUNT][16];
  int32_t maxPlateCharNum;
};
static_assert(sizeof(anpr_wildcards) == 228);
static_assert(offsetof(anpr_wildcards, channel) == 0);
static_assert(offsetof(anpr_wildcards, filter) == 4);
static_assert(offsetof(anpr_wildcards, enable) == 8);
static_assert(offsetof(anpr_wildcards, cr_count) == 44);
static_assert(offsetof(anpr_wildcards, format) == 80);
static_assert(offsetof(anpr_wildcards, maxPlateCharNum) == 224);

constexpr int ANPR_SETTINGS_GET = 3289;  // answer 8289: the settings record
constexpr int ANPR_SETTINGS_SET = 3290;  // answer 8290: status word

constexpr int ANPR_REGIONS = 64;
constexpr int ANPR_AREAS = 4;           // ROI entries, presets per group
constexpr int ANPR_PRESET_GROUPS = 4;
constexpr int ANPR_POLYGONS = 4;

// A named rectangle of the picture: a region of interest or a preset.
struct anpr_area {
  char name[64];
  int32_t startX;
  int32_t startY;
  int32_t endX;
  int32_t endY;
};
static_assert(sizeof(anpr_area) == 80);
static_assert(offsetof(anpr_area, name) == 0);
static_assert(offsetof(anpr_area, startX) == 64);
static_assert(offsetof(anpr_area, startY) == 68);
static_assert(offsetof(anpr_area, endX) == 72);
static_assert(offsetof(anpr_area, endY) == 76);

struct anpr_polygon {
  char name[64];
  char polygonX[64];
  char polygonY[64];
};
static_assert(sizeof(anpr_polygon) == 192);
static_assert(offsetof(anpr_polygon, name) == 0);
static_assert(offsetof(anpr_polygon, polygonX) == 64);
static_assert(offsetof(anpr_polygon, polygonY) == 128);

// A camera's plate-recognition settings (answer 8289, request 3290).
struct anpr_settings {
  int32_t chnid;
  int32_t enable;
  int32_t resolution_width;
  int32_t resolution_height;
  int32_t area_x;
  int32_t area_y;
  int32_t area_width;
  int32_t area_height;
  int32_t day_night_mode_enable;
  int32_t scene;
  int32_t direction_enable;
  int32_t region_enable;
  int32_t roiid_enable;
  int32_t process_mode;
  int32_t repeat_check_time_value;
  int32_t repeat_check_time_unit;
  int32_t post_enable;
  int32_t post_type;
  int32_t post_tcp_port;
  char post_http_user[64];
  char post_http_password[64];
  char post_http_url[512];
  int32_t confidence;
  char region[ANPR_REGIONS][32];
  char cur_area[32];
  int32_t in_night_mode;  // answers only
  int32_t platecolorEnable;
  int32_t vehicletypeEnable;
  int32_t vehiclecolorEnable;
  anpr_area roi[ANPR_AREAS];
  anpr_area preset[ANPR_PRESET_GROUPS][ANPR_AREAS];
  char reserved[264];
  int32_t night_mode_enable;
  int32_t night_mode_level;
  int32_t night_mode_starthour;
  int32_t night_mode_startminute;
  int32_t night_mode_stophour;
  int32_t night_mode_stopminute;
  int32_t night_mode_effective_mode;
  int32_t jsonSupport;
  int32_t irLedExternalSupport;  // answers only
  int32_t vehicleEnhancement;
  int32_t vehicleBrandEnable;
  anpr_polygon normalPolygons[ANPR_POLYGONS];
  int32_t aitype;
};
static_assert(sizeof(anpr_settings) == 5496);
static_assert(offsetof(anpr_settings, chnid) == 0);
static_assert(offsetof(anpr_settings, enable) == 4);
static_assert(offsetof(anpr_settings, resolution_width) == 8);
static_assert(offsetof(anpr_settings, resolution_height) == 12);
static_assert(offsetof(anpr_settings, area_x) == 16);
static_assert(offsetof(anpr_settings, area_y) == 20);
static_assert(offsetof(anpr_settings, area_width) == 24);
static_assert(offsetof(anpr_settings, area_height) == 28);
static_assert(offsetof(anpr_settings, day_night_mode_enable) == 32);
static_assert(offsetof(anpr_settings, scene) == 36);
static_assert(offsetof(anpr_settings, direction_enable) == 40);
static_assert(offsetof(anpr_settings, region_enable) == 44);
static_assert(offsetof(anpr_settings, roiid_enable) == 48);
static_assert(offsetof(anpr_settings, process_mode) == 52);
static_assert(offsetof(anpr_settings, repeat_check_time_value) == 56);
static_assert(offsetof(anpr_settings, repeat_check_time_unit) == 60);
static_assert(offsetof(anpr_settings, post_enable) == 64);
static_assert(offsetof(anpr_settings, post_type) == 68);
static_assert(offsetof(anpr_settings, post_tcp_port) == 72);
static_assert(offsetof(anpr_settings, post_http_user) == 76);
static_assert(offsetof(anpr_settings, post_http_password) == 140);
static_assert(offsetof(anpr_settings, post_http_url) == 204);
static_assert(offsetof(anpr_settings, confidence) == 716);
static_assert(offsetof(anpr_settings, region) == 720);
static_assert(offsetof(anpr_settings, cur_area) == 2768);
static_assert(offsetof(anpr_settings, in_night_mode) == 2800);
static_assert(offsetof(anpr_settings, platecolorEnable) == 2804);
static_assert(offsetof(anpr_settings, vehicletypeEnable) == 2808);
static_assert(offsetof(anpr_settings, vehiclecolorEnable) == 2812);
static_assert(offsetof(anpr_settings, roi) == 2816);
static_assert(offsetof(anpr_settings, preset) == 3136);
static_assert(offsetof(anpr_settings, reserved) == 4416);
static_assert(offsetof(anpr_settings, night_mode_enable) == 4680);
static_assert(offsetof(anpr_settings, night_mode_level) == 4684);
static_assert(offsetof(anpr_settings, night_mode_starthour) == 4688);
static_assert(offsetof(anpr_settings, night_mode_startminute) == 4692);
static_assert(offsetof(anpr_settings, night_mode_stophour) == 4696);
static_assert(offsetof(anpr_settings, night_mode_stopminute) == 4700);
static_assert(offsetof(anpr_settings, night_mode_effective_mode) == 4704);
static_assert(offsetof(anpr_settings, jsonSupport) == 4708);
static_assert(offsetof(anpr_settings, irLedExternalSupport) == 4712);
static_assert(offsetof(anpr_settings, vehicleEnhancement) == 4716);
static_assert(offsetof(anpr_settings, vehicleBrandEnable) == 4720);
static_assert(offsetof(anpr_settings, normalPolygons) == 4724);
static_assert(offsetof(anpr_settings, aitype) == 5492);
