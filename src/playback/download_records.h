// Records of the clip download exchanged with the core daemon: the request
// (1173) and the data messages of its answer (6173). Little-endian, 32-bit
// integers; texts NUL-terminated within their width.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kxavi.h"

// ---- 1173 download a stretch of one channel's recording ----
struct download_request {
  int32_t channel;
  int32_t streamType;
  char start[32];  // "%d-%d-%d %d:%d:%d": year, month, day, hour, minute, second
  char end[32];
};
static_assert(sizeof(download_request) == 72);
static_assert(offsetof(download_request, channel) == 0);
static_assert(offsetof(download_request, streamType) == 4);
static_assert(offsetof(download_request, start) == 8);
static_assert(offsetof(download_request, end) == 40);

// ---- 6173 one chunk of a frame; the daemon's records are 614496 bytes ----
constexpr int DOWNLOAD_CHUNK_MAX = 614400;  // data bytes one message carries
constexpr int32_t DOWNLOAD_END = -1;        // chunk length: no more data
constexpr int32_t DOWNLOAD_INTERRUPTED = -2;

struct download_chunk_head {
  kx_avi_frame_desc frame;  // the frame this chunk belongs to; its size at byte 40
  int32_t continuation;     // 0: the frame's first chunk
  int32_t length;           // data bytes after the head, or DOWNLOAD_END / DOWNLOAD_INTERRUPTED
};
static_assert(sizeof(download_chunk_head) == 96);
static_assert(offsetof(download_chunk_head, frame) == 0);
static_assert(offsetof(download_chunk_head, continuation) == 88);
static_assert(offsetof(download_chunk_head, length) == 92);
constexpr int DOWNLOAD_RECORD_SIZE = (int)sizeof(download_chunk_head) + DOWNLOAD_CHUNK_MAX;
static_assert(DOWNLOAD_RECORD_SIZE == 614496);
static_assert(offsetof(kx_avi_frame_desc, frame_size) == 40);
