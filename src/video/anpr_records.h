// Wire records of the cameras' licence-plate recognition: request codes,
// the support and zoom answers and the plate wildcards.
#pragma once

#include <cstddef>
#include <cstdint>

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
