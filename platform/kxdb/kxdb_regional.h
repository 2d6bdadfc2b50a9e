// Regional people counting: the recorder's actions for each of the four
// counting regions of a camera. The action record has the smart-event
// layout; each region keeps five week schedules, white-light and HTTP
// parameters under tables of its own, and the PTZ list of event type
// 22 + region.
#pragma once

#include <cstdint>

#include "kxdb_vca.h"

constexpr int REGIONAL_PCNT_REGIONS = 4;  // regions 0 to 3
constexpr int REGIONAL_PCNT_PTZ_BASE = 22;

// Schedule kinds of a region.
constexpr int REGIONAL_SCHEDULE_AUDIBLE = 1;
constexpr int REGIONAL_SCHEDULE_EMAIL = 2;
constexpr int REGIONAL_SCHEDULE_PTZ = 3;
constexpr int REGIONAL_SCHEDULE_WHITE = 4;
constexpr int REGIONAL_SCHEDULE_HTTP = 6;
inline bool regional_schedule_kind_valid(int kind) {
  return (kind >= REGIONAL_SCHEDULE_AUDIBLE && kind <= REGIONAL_SCHEDULE_WHITE) ||
         kind == REGIONAL_SCHEDULE_HTTP;
}
inline bool regional_region_valid(int region) {
  return region >= 0 && region < REGIONAL_PCNT_REGIONS;
}

// Channels outside 0 to 63, regions outside 0 to 3 and unknown kinds are
// refused (-1, nothing read or written). A record never written reads as
// its factory default (zeroed, channel set); a failed read leaves it as it was.
int read_regional_pcnt_event(const char *file, smart_event *record, int channel, int region);
// Stores the record under its own channel.
int write_regional_pcnt_event(const char *file, const smart_event *record, int region);
// The record to every channel of the mask, each with its own channel.
int copy_regional_pcnt_event(const char *file, const smart_event *record, int region,
                             uint64_t mask);

int read_regional_pcnt_schedule(const char *file, int kind, schedule *s, int channel, int region);
int write_regional_pcnt_schedule(const char *file, int kind, const schedule *s, int channel,
                                 int region);
int copy_regional_pcnt_schedule(const char *file, int kind, const schedule *s, uint64_t mask,
                                int region);

// Tables of a region's white-light and HTTP-notification parameters
// ("regional_pcnt_whiteled_params", "regional_pcnt1_whiteled_params", ...);
// null for a region outside 0 to 3.
const char *regional_pcnt_white_table(int region);
const char *regional_pcnt_http_table(int region);
