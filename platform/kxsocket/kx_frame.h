// The frame of the local-socket messaging protocol, both directions.
// All fields little-endian; the layout is fixed (the daemon, the simulator
// and outside tools rely on it).
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

struct kx_msg_head {
  uint32_t magic;   // KX_MSG_MAGIC, the bytes "KSXK"
  uint32_t kind;    // KX_MSG_REQUEST or KX_MSG_RESPONSE
  uint32_t seq;     // chosen by the sender of a request, repeated in its response
  int32_t code;     // request code, or response code (request code + 5000)
  uint32_t flags;   // 0
  uint32_t length;  // payload bytes that follow, at most KX_MSG_MAX_LENGTH
};
static_assert(sizeof(kx_msg_head) == 24);
static_assert(offsetof(kx_msg_head, magic) == 0);
static_assert(offsetof(kx_msg_head, kind) == 4);
static_assert(offsetof(kx_msg_head, seq) == 8);
static_assert(offsetof(kx_msg_head, code) == 12);
static_assert(offsetof(kx_msg_head, flags) == 16);
static_assert(offsetof(kx_msg_head, length) == 20);

constexpr uint32_t KX_MSG_MAGIC = 0x4B58534B;
constexpr uint32_t KX_MSG_REQUEST = 1;
constexpr uint32_t KX_MSG_RESPONSE = 2;
constexpr uint32_t KX_MSG_MAX_LENGTH = 8u << 20;
constexpr int KX_RESPONSE_OFFSET = 5000;  // response code = request code + 5000

enum class kx_frame_status { ok, closed, invalid };

// Reads one whole frame from a stream socket. A wrong magic or an over-long
// length is `invalid`; the payload is never read beyond the stated length.
kx_frame_status kx_frame_read(int fd, kx_msg_head &head, std::vector<unsigned char> &payload);

// Writes one frame (header and payload in one call sequence). 0 or -1.
// With a deadline, a peer that does not read makes the write fail when the
// deadline passes (the frame may then be cut: drop the connection).
int kx_frame_write(int fd, uint32_t kind, uint32_t seq, int32_t code, const void *payload,
                   uint32_t length);
int kx_frame_write_until(int fd, uint32_t kind, uint32_t seq, int32_t code, const void *payload,
                         uint32_t length, std::chrono::steady_clock::time_point deadline);
