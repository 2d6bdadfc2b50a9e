// Records the recording module exchanges with the core daemon: request
// payloads and answers. Little-endian 32-bit words; sizes are the daemon's.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int RECORD_LIST_MAX = 64;  // entries of every channel list and answer array

// ---- 1411, 1413: a 64-bit channel mask, channels 0 to 31 in the low word ----
struct record_channel_mask {
  uint32_t low;
  uint32_t high;
};
static_assert(sizeof(record_channel_mask) == 8);
static_assert(offsetof(record_channel_mask, low) == 0);
static_assert(offsetof(record_channel_mask, high) == 4);

// ---- 1310: channel list ----
struct record_channel_list {
  int32_t channels[RECORD_LIST_MAX];  // entries past `count` are not significant
  int32_t count;
};
static_assert(sizeof(record_channel_list) == 260);
static_assert(offsetof(record_channel_list, channels) == 0);
static_assert(offsetof(record_channel_list, count) == 256);

// ---- 2285: the cameras whose ANR flag changes, and the new flag ----
struct record_anr_list {
  int32_t channels[RECORD_LIST_MAX];
  int32_t count;
  int32_t anr;
};
static_assert(sizeof(record_anr_list) == 264);
static_assert(offsetof(record_anr_list, channels) == 0);
static_assert(offsetof(record_anr_list, count) == 256);
static_assert(offsetof(record_anr_list, anr) == 260);

// ---- 1407, 2286: one channel ----
struct record_channel {
  int32_t channel;
};
static_assert(sizeof(record_channel) == 4);

// ---- Answer 7285 (to 2285): one result word per listed camera ----
struct record_anr_result {
  int32_t channels[RECORD_LIST_MAX];  // not read
  int32_t result[RECORD_LIST_MAX];    // non-zero: that camera failed
  int32_t count;                      // results in use, at most 64
  int32_t flag;                       // non-zero: some camera was not set
};
static_assert(sizeof(record_anr_result) == 520);
static_assert(offsetof(record_anr_result, channels) == 0);
static_assert(offsetof(record_anr_result, result) == 256);
static_assert(offsetof(record_anr_result, count) == 512);
static_assert(offsetof(record_anr_result, flag) == 516);

// ---- Answer 7286 (to 2286) ----
struct record_support {
  int32_t channel;
  int32_t support;
};
static_assert(sizeof(record_support) == 8);
static_assert(offsetof(record_support, channel) == 0);
static_assert(offsetof(record_support, support) == 4);

// ---- Answer 8218 (to 3218): the primary and secondary lists ----
struct record_primary_secondary {
  int32_t primary[RECORD_LIST_MAX];
  int32_t secondary[RECORD_LIST_MAX];
  int32_t size;  // entries in use, as the daemon says
};
static_assert(sizeof(record_primary_secondary) == 516);
static_assert(offsetof(record_primary_secondary, primary) == 0);
static_assert(offsetof(record_primary_secondary, secondary) == 256);
static_assert(offsetof(record_primary_secondary, size) == 512);
