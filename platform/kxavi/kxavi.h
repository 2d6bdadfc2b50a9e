// AVI writer library: turns the recorder's frames into an AVI 1.0 file
// (RIFF 'AVI ') on an output stream, for clip downloads.
//
// The file: 'hdrl' (main header, a video stream, an audio stream when the
// clip has audio), 'movi' with one chunk per frame ('00dc' video, '01wb'
// audio, even-padded), and 'idx1' (offsets from the 'movi' FourCC, key-frame
// flags) at close. The stream headers come from the first frame's
// descriptor. On a stream that cannot seek (standard output behind the web
// server) the frame counts and the RIFF and 'movi' sizes stay open (0);
// on a seekable file they are patched at close.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// The frame descriptor the core daemon puts before every frame (88 bytes).
// The daemon and this library agree on it; only the frame size at byte 40
// is read by the web program itself. Every descriptor of a clip repeats the
// clip's stream description.
constexpr int32_t KX_AVI_KEY_FRAME = 1;  // a video frame that starts a group
constexpr int32_t KX_AVI_FRAME = 2;      // a video frame that depends on earlier ones
constexpr int32_t KX_AVI_AUDIO = 3;      // a block of audio samples

struct kx_avi_frame_desc {
  int32_t kind;            // KX_AVI_KEY_FRAME, KX_AVI_FRAME or KX_AVI_AUDIO
  char codec[4];           // video codec FourCC, e.g. "MJPG"
  int32_t width;           // pixels
  int32_t height;          // pixels
  int32_t frame_rate;      // video frames per second; 0 reads as 25
  int32_t audio_rate;      // samples per second; 0: the clip has no audio
  int32_t audio_channels;  // 0: the clip has no audio
  int32_t audio_bits;      // bits per sample
  uint64_t timestamp;      // microseconds since the epoch
  int32_t frame_size;      // bytes of frame data that follow the descriptor
  int32_t audio_format;    // WAVE format tag; 0 reads as 1 (PCM)
  char reserved[40];
};
static_assert(sizeof(kx_avi_frame_desc) == 88);
static_assert(offsetof(kx_avi_frame_desc, kind) == 0);
static_assert(offsetof(kx_avi_frame_desc, codec) == 4);
static_assert(offsetof(kx_avi_frame_desc, width) == 8);
static_assert(offsetof(kx_avi_frame_desc, height) == 12);
static_assert(offsetof(kx_avi_frame_desc, frame_rate) == 16);
static_assert(offsetof(kx_avi_frame_desc, audio_rate) == 20);
static_assert(offsetof(kx_avi_frame_desc, audio_channels) == 24);
static_assert(offsetof(kx_avi_frame_desc, audio_bits) == 28);
static_assert(offsetof(kx_avi_frame_desc, timestamp) == 32);
static_assert(offsetof(kx_avi_frame_desc, frame_size) == 40);
static_assert(offsetof(kx_avi_frame_desc, audio_format) == 44);
static_assert(offsetof(kx_avi_frame_desc, reserved) == 48);

struct kx_avi;

// Opens a writer on `fp` (nothing is written before the first frame or the
// close). Null for a null stream or when memory runs out.
kx_avi *kx_avi_open_fp(FILE *fp);

// Results of kx_avi_write_fp_ex.
constexpr int KX_AVI_OK = 0;
constexpr int KX_AVI_ERROR = -1;  // bad arguments, or the output failed
constexpr int KX_AVI_FULL = 1;    // the frame would pass AVI 1.0's 32-bit sizes: the file
                                  // ends before it (and every later frame)

// Appends one frame: its descriptor (88 bytes) and `length` bytes of data.
// The first frame written also writes the file's headers.
int kx_avi_write_fp_ex(kx_avi *avi, const void *descriptor, const void *data, int length);

// kx_avi_close_fp flags: also close the stream (fclose).
constexpr int KX_AVI_CLOSE_STREAM = 1;

// Ends the file: the headers when no frame came (an empty clip), the index,
// and on a seekable stream the sizes and counts. Frees the writer. 0, or -1
// when the output failed (or for a null writer).
int kx_avi_close_fp(kx_avi *avi, int flags);

// Test hook: the largest file the writer makes (4 GiB - 1 in service).
void kx_avi_set_size_limit(uint64_t bytes);
