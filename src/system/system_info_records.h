// Daemon records of the system information and log pages.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kxfs.h"

// ---- Device record: answer 8400 to request 3400 ----
struct device_info {
  int32_t deviceId;
  int32_t maxCameras;
  char reserved0[8];
  int32_t maxSensor;     // alarm inputs
  int32_t maxAlarm;      // alarm outputs
  char reserved1[4];
  int32_t maxAudioOut;
  int32_t displayNum;
  char reserved2[8];
  int32_t masRs485;      // RS-485 ports
  char reserved3[4];
  int32_t maxNetworkLan;
  char reserved4[4];
  int32_t oemversion;    // branding version
  char reserved5[4];
  int32_t kxddns;        // the maker's DDNS service
  char sn[65];
  char prefix[16];       // serial prefix
  char model[32];
  char software[32];
  char hardware[192];
  char mac[43];
  int32_t isSupportTalk; // two-way audio
  char reserved6[136];
};
static_assert(sizeof(device_info) == 592);
static_assert(offsetof(device_info, deviceId) == 0);
static_assert(offsetof(device_info, maxCameras) == 4);
static_assert(offsetof(device_info, reserved0) == 8);
static_assert(offsetof(device_info, maxSensor) == 16);
static_assert(offsetof(device_info, maxAlarm) == 20);
static_assert(offsetof(device_info, reserved1) == 24);
static_assert(offsetof(device_info, maxAudioOut) == 28);
static_assert(offsetof(device_info, displayNum) == 32);
static_assert(offsetof(device_info, reserved2) == 36);
static_assert(offsetof(device_info, masRs485) == 44);
static_assert(offsetof(device_info, reserved3) == 48);
static_assert(offsetof(device_info, maxNetworkLan) == 52);
static_assert(offsetof(device_info, reserved4) == 56);
static_assert(offsetof(device_info, oemversion) == 60);
static_assert(offsetof(device_info, reserved5) == 64);
static_assert(offsetof(device_info, kxddns) == 68);
static_assert(offsetof(device_info, sn) == 72);
static_assert(offsetof(device_info, prefix) == 137);
static_assert(offsetof(device_info, model) == 153);
static_assert(offsetof(device_info, software) == 185);
static_assert(offsetof(device_info, hardware) == 217);
static_assert(offsetof(device_info, mac) == 409);
static_assert(offsetof(device_info, isSupportTalk) == 452);
static_assert(offsetof(device_info, reserved6) == 456);

// ---- Log search: request 3495 (and 3494, the export) ----
constexpr int LOG_SEARCH_SUB_TYPES = 100;
constexpr int LOG_PAGE_ENTRIES = 100;
constexpr int64_t LOG_SUB_TYPE_ALL = 10;

struct log_search_request {
  int32_t start_time;  // seconds since the epoch
  int32_t end_time;
  int32_t main_type;
  char reserved0[4];
  int64_t sub_types[LOG_SEARCH_SUB_TYPES];
  int32_t sub_type_count;
  int32_t page;
  uint64_t channel_mask;  // bit i: channel i
  int32_t search_no_channel;
  int32_t reserved1;
};
static_assert(sizeof(log_search_request) == 840);
static_assert(offsetof(log_search_request, start_time) == 0);
static_assert(offsetof(log_search_request, end_time) == 4);
static_assert(offsetof(log_search_request, main_type) == 8);
static_assert(offsetof(log_search_request, reserved0) == 12);
static_assert(offsetof(log_search_request, sub_types) == 16);
static_assert(offsetof(log_search_request, sub_type_count) == 816);
static_assert(offsetof(log_search_request, page) == 820);
static_assert(offsetof(log_search_request, channel_mask) == 824);
static_assert(offsetof(log_search_request, search_no_channel) == 832);
static_assert(offsetof(log_search_request, reserved1) == 836);

// ---- Log page: answer 8495 ----
struct log_search_page {
  int32_t total;  // matches of the whole search
  int32_t count;  // entries in this page
  log_info entries[LOG_PAGE_ENTRIES];
};
static_assert(sizeof(log_search_page) == 67208);
static_assert(offsetof(log_search_page, total) == 0);
static_assert(offsetof(log_search_page, count) == 4);
static_assert(offsetof(log_search_page, entries) == 8);

// ---- Log export: the result file the daemon writes for request 3494 ----
// An int32 entry count, then per entry the log entry and its description.
constexpr int LOG_EXPORT_DESCRIPTION = 4096;
// Answer 8494: an int32 status, then the result file's path.
constexpr int LOG_EXPORT_PATH_OFFSET = 4;
