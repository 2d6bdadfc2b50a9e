// Exposure time and gain pairs a camera's exposure schedule chooses from,
// kept per channel.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int EXPOSURE_CHANNELS = 64;
constexpr int EXPOSURE_PAIRS = 140;

struct exposure_pair {
  int32_t exposureTime;
  int32_t gainLevel;
};
static_assert(sizeof(exposure_pair) == 8);
static_assert(offsetof(exposure_pair, gainLevel) == 4);

struct exposure_list {
  int32_t channel;
  int32_t count;  // pairs held, 0 to EXPOSURE_PAIRS
  exposure_pair pairs[EXPOSURE_PAIRS];
};
static_assert(sizeof(exposure_list) == 1128);
static_assert(offsetof(exposure_list, count) == 4);
static_assert(offsetof(exposure_list, pairs) == 8);

// Reads the channel's pairs into `list` (room for EXPOSURE_PAIRS) and
// returns how many it holds: 0 for a channel never written, -1 for a
// channel outside 0 to 63 or a database error.
int read_exposure(const char *file, exposure_pair *list, int channel);
// Stores the first `count` pairs (cut to EXPOSURE_PAIRS) as the channel's
// list. 0, or -1 (a bad channel or count, a database error).
int write_exposure(const char *file, const exposure_pair *list, int channel, int count);
