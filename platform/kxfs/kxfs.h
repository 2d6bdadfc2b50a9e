// File-system library: the operation-log entry and its detail block.
#pragma once

#include <cstddef>
#include <cstdint>

// Operation-log entry, sent to the daemon after a change (request 3485) and
// returned by the daemon's log search.
struct log_info {
  int32_t main_type;   // 4 for operations from the web interface
  int32_t extra;       // set by one handler only
  int64_t sub_type;    // operation code (200 to 227, or 406)
  int32_t reserved0;
  int32_t time;        // filled by the daemon
  int32_t param_type;  // 900 to 925
  int32_t remote;      // 1
  int32_t channel;
  char client_addr[46];
  char user_name[64];
  char reserved1[2];
  int32_t detail_size;
  unsigned char detail[512];
  char reserved2[8];
};
static_assert(sizeof(log_info) == 672);
static_assert(offsetof(log_info, main_type) == 0);
static_assert(offsetof(log_info, extra) == 4);
static_assert(offsetof(log_info, sub_type) == 8);
static_assert(offsetof(log_info, reserved0) == 16);
static_assert(offsetof(log_info, time) == 20);
static_assert(offsetof(log_info, param_type) == 24);
static_assert(offsetof(log_info, remote) == 28);
static_assert(offsetof(log_info, channel) == 32);
static_assert(offsetof(log_info, client_addr) == 36);
static_assert(offsetof(log_info, user_name) == 82);
static_assert(offsetof(log_info, reserved1) == 146);
static_assert(offsetof(log_info, detail_size) == 148);
static_assert(offsetof(log_info, detail) == 152);
static_assert(offsetof(log_info, reserved2) == 664);

// Several-channel form (request 3509): the entry and a 64-bit channel mask.
struct log_info_channels {
  log_info entry;
  uint32_t chmask_low;   // channels 0 to 31
  uint32_t chmask_high;  // channels 32 to 63
};
static_assert(sizeof(log_info_channels) == 680);
static_assert(offsetof(log_info_channels, entry) == 0);
static_assert(offsetof(log_info_channels, chmask_low) == 672);
static_assert(offsetof(log_info_channels, chmask_high) == 676);

// Detail block layout (ours): int32 kind, int32 data length, then the data,
// cut to what the block holds. detail_size = 8 + data length.
constexpr int LOG_DETAIL_HEAD = 8;
constexpr int LOG_DETAIL_DATA_MAX = 512 - LOG_DETAIL_HEAD;

// Packs `data` as the entry's detail block. 0, or -1 for a missing entry.
int kxfs_log_pack_detail(log_info *entry, int detail_kind, const void *data, int data_length);

// 1 when an entry of this main and sub type carries a disk port, not a
// camera channel, in its channel number (disk format, disk and network
// storage operations), else 0.
int log_channo_is_disk(int main_type, int64_t sub_type);
