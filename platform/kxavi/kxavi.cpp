#include "kxavi.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace {

uint64_t g_size_limit = 0xFFFFFFFFull;  // the RIFF size field is 32 bits

constexpr uint32_t kFlagHasIndex = 0x10;       // main header: 'idx1' follows 'movi'
constexpr uint32_t kFlagInterleaved = 0x100;   // main header: audio and video interleaved
constexpr uint32_t kIndexKeyFrame = 0x10;      // index entry: decoding can start here
constexpr uint32_t kOpenBufferSize = 1 << 20;  // suggested buffer while the sizes are open
constexpr int kDefaultFrameRate = 25;
constexpr uint64_t kChunkHead = 8;    // FourCC and size
constexpr uint64_t kIndexEntry = 16;  // FourCC, flags, offset, size

struct index_entry {
  char fourcc[4];
  uint32_t flags;
  uint32_t offset;  // from the 'movi' FourCC to the chunk's FourCC
  uint32_t size;
};
static_assert(sizeof(index_entry) == 16);
static_assert(offsetof(index_entry, fourcc) == 0);
static_assert(offsetof(index_entry, flags) == 4);
static_assert(offsetof(index_entry, offset) == 8);
static_assert(offsetof(index_entry, size) == 12);

// A little-endian byte buffer.
struct Bytes {
  std::vector<unsigned char> data;
  void u16(uint32_t v) {
    data.push_back((unsigned char)v);
    data.push_back((unsigned char)(v >> 8));
  }
  void u32(uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  }
  void fourcc(const char *f) { data.insert(data.end(), f, f + 4); }
  void zeros(size_t n) { data.insert(data.end(), n, 0); }
};

uint32_t clamp_u32(uint64_t v) {
  return (uint32_t)std::min<uint64_t>(v, 0xFFFFFFFFu);
}

uint64_t padded(uint64_t n) {
  return n + (n & 1);
}

}  // namespace

struct kx_avi {
  FILE *fp = nullptr;
  bool seekable = false;
  long base = 0;           // where the file starts in the stream
  bool started = false;    // the headers are out
  bool full = false;       // the size limit was reached: no more frames
  bool failed = false;     // the output failed
  kx_avi_frame_desc clip;  // the first frame's descriptor
  uint64_t movi_bytes = 0;  // chunks written after the 'movi' FourCC
  uint32_t video_frames = 0;
  uint64_t audio_bytes = 0;
  uint32_t max_chunk = 0;
  std::vector<index_entry> index;

  bool has_audio() const { return clip.audio_channels > 0 && clip.audio_rate > 0; }
  int frame_rate() const {
    return clip.frame_rate > 0 ? std::min(clip.frame_rate, 1000) : kDefaultFrameRate;
  }
  uint32_t channels() const { return (uint32_t)std::clamp(clip.audio_channels, 1, 8); }
  uint32_t bits() const { return (uint32_t)std::clamp(clip.audio_bits, 8, 32); }
  uint32_t block_align() const { return std::max(1u, channels() * bits() / 8); }
  uint32_t sample_rate() const { return (uint32_t)std::clamp(clip.audio_rate, 1, 384000); }
  uint32_t width() const { return (uint32_t)std::clamp(clip.width, 0, 32767); }
  uint32_t height() const { return (uint32_t)std::clamp(clip.height, 0, 32767); }

  // Header bytes: 'RIFF' to the 'movi' FourCC. Their length depends only on
  // whether the clip has audio, so a patch rewrites them in place.
  Bytes header(bool final) const;
  void main_header(Bytes &b, bool final) const;
  void video_list(Bytes &b, bool final) const;
  void audio_list(Bytes &b, bool final) const;

  uint64_t header_size() const { return has_audio() ? 326 : 224; }
  uint64_t index_size(size_t entries) const { return kChunkHead + entries * kIndexEntry; }
  bool put(const void *p, size_t n);
  bool start();
  bool finish_seekable();
};

void kx_avi::main_header(Bytes &b, bool final) const {
  uint32_t seconds = std::max<uint32_t>(1, video_frames / (uint32_t)frame_rate());
  b.fourcc("avih");
  b.u32(56);
  b.u32(1000000u / (uint32_t)frame_rate());  // microseconds per frame
  b.u32(final ? clamp_u32(movi_bytes / seconds) : 0);  // bytes per second
  b.u32(0);                                            // padding granularity
  b.u32(kFlagHasIndex | (has_audio() ? kFlagInterleaved : 0));
  b.u32(final ? video_frames : 0);
  b.u32(0);  // initial frames
  b.u32(has_audio() ? 2 : 1);
  b.u32(final ? max_chunk : kOpenBufferSize);
  b.u32(width());
  b.u32(height());
  b.zeros(16);
}

void kx_avi::video_list(Bytes &b, bool final) const {
  b.fourcc("LIST");
  b.u32(116);
  b.fourcc("strl");
  b.fourcc("strh");
  b.u32(56);
  b.fourcc("vids");
  b.fourcc(clip.codec);
  b.u32(0);  // flags
  b.u32(0);  // priority, language
  b.u32(0);  // initial frames
  b.u32(1);  // scale: rate / scale frames per second
  b.u32((uint32_t)frame_rate());
  b.u32(0);  // start
  b.u32(final ? video_frames : 0);
  b.u32(final ? max_chunk : kOpenBufferSize);
  b.u32(0xFFFFFFFFu);  // quality: the codec's default
  b.u32(0);            // sample size: frames vary
  b.u16(0);
  b.u16(0);
  b.u16(width());
  b.u16(height());
  b.fourcc("strf");
  b.u32(40);  // the bitmap header
  b.u32(40);
  b.u32(width());
  b.u32(height());
  b.u16(1);   // planes
  b.u16(24);  // bits per pixel once decoded
  b.fourcc(clip.codec);
  b.u32(width() * height() * 3);
  b.zeros(16);  // pixels per metre, colours used and important
}

void kx_avi::audio_list(Bytes &b, bool final) const {
  b.fourcc("LIST");
  b.u32(94);
  b.fourcc("strl");
  b.fourcc("strh");
  b.u32(56);
  b.fourcc("auds");
  b.zeros(4);  // handler
  b.u32(0);    // flags
  b.u32(0);    // priority, language
  b.u32(0);    // initial frames
  b.u32(block_align());  // scale and rate: blocks per second
  b.u32(sample_rate() * block_align());
  b.u32(0);  // start
  b.u32(final ? clamp_u32(audio_bytes / block_align()) : 0);
  b.u32(final ? max_chunk : kOpenBufferSize);
  b.u32(0xFFFFFFFFu);
  b.u32(block_align());  // sample size
  b.zeros(8);            // frame rectangle
  b.fourcc("strf");
  b.u32(18);  // the wave format, without extra bytes
  b.u16(clip.audio_format > 0 ? (uint32_t)clip.audio_format : 1);
  b.u16(channels());
  b.u32(sample_rate());
  b.u32(sample_rate() * block_align());
  b.u16(block_align());
  b.u16(bits());
  b.u16(0);
}

Bytes kx_avi::header(bool final) const {
  uint64_t total = header_size() + movi_bytes + index_size(index.size());
  Bytes b;
  b.fourcc("RIFF");
  b.u32(final ? clamp_u32(total - 8) : 0);
  b.fourcc("AVI ");
  b.fourcc("LIST");
  b.u32((uint32_t)(header_size() - 32));  // 'hdrl' to the end of the stream lists
  b.fourcc("hdrl");
  main_header(b, final);
  video_list(b, final);
  if (has_audio()) audio_list(b, final);
  b.fourcc("LIST");
  b.u32(final ? clamp_u32(4 + movi_bytes) : 0);
  b.fourcc("movi");
  return b;
}

bool kx_avi::put(const void *p, size_t n) {
  if (failed) return false;
  if (n && fwrite(p, 1, n, fp) != n) failed = true;
  return !failed;
}

bool kx_avi::start() {
  if (started) return !failed;
  started = true;
  Bytes b = header(false);
  return put(b.data.data(), b.data.size());
}

// Rewrites the headers with the final sizes and counts, then returns to the end.
bool kx_avi::finish_seekable() {
  if (fflush(fp) != 0) return false;
  long end = ftell(fp);
  Bytes b = header(true);
  if (end < 0 || fseek(fp, base, SEEK_SET) != 0) return false;
  bool ok = put(b.data.data(), b.data.size());
  return fseek(fp, end, SEEK_SET) == 0 && ok;
}

kx_avi *kx_avi_open_fp(FILE *fp) {
  if (!fp) return nullptr;
  kx_avi *avi = new (std::nothrow) kx_avi;
  if (!avi) return nullptr;
  avi->fp = fp;
  avi->clip = {};
  avi->base = ftell(fp);
  avi->seekable = avi->base >= 0 && fseek(fp, 0, SEEK_CUR) == 0;
  return avi;
}

int kx_avi_write_fp_ex(kx_avi *avi, const void *descriptor, const void *data, int length) {
  if (!avi || !descriptor || length < 0 || (length > 0 && !data)) return KX_AVI_ERROR;
  kx_avi_frame_desc desc;
  memcpy(&desc, descriptor, sizeof desc);
  if (!avi->started) avi->clip = desc;
  bool audio = desc.kind == KX_AVI_AUDIO;
  if (desc.kind != KX_AVI_KEY_FRAME && desc.kind != KX_AVI_FRAME && !audio) return KX_AVI_ERROR;
  if (audio && !avi->has_audio()) return KX_AVI_ERROR;  // the clip has no audio stream
  if (avi->full) return KX_AVI_FULL;
  uint64_t after = avi->header_size() + avi->movi_bytes + kChunkHead + padded((uint64_t)length) +
                   avi->index_size(avi->index.size() + 1);
  if (after > g_size_limit) {
    avi->full = true;
    return KX_AVI_FULL;
  }
  if (!avi->start()) return KX_AVI_ERROR;

  index_entry entry = {};
  memcpy(entry.fourcc, audio ? "01wb" : "00dc", 4);
  entry.flags = desc.kind == KX_AVI_FRAME ? 0 : kIndexKeyFrame;
  entry.offset = (uint32_t)(4 + avi->movi_bytes);
  entry.size = (uint32_t)length;
  try {
    avi->index.push_back(entry);
  } catch (const std::bad_alloc &) {
    return KX_AVI_ERROR;
  }
  Bytes head;
  head.fourcc(entry.fourcc);
  head.u32(entry.size);
  static const unsigned char pad = 0;
  if (!avi->put(head.data.data(), head.data.size()) || !avi->put(data, (size_t)length) ||
      ((length & 1) && !avi->put(&pad, 1))) {
    return KX_AVI_ERROR;
  }
  avi->movi_bytes += kChunkHead + padded((uint64_t)length);
  avi->max_chunk = std::max(avi->max_chunk, entry.size);
  if (audio) avi->audio_bytes += (uint64_t)length;
  else avi->video_frames++;
  return KX_AVI_OK;
}

int kx_avi_close_fp(kx_avi *avi, int flags) {
  if (!avi) return -1;
  bool ok = avi->start();
  Bytes b;
  b.fourcc("idx1");
  b.u32((uint32_t)(avi->index.size() * kIndexEntry));
  ok = ok && avi->put(b.data.data(), b.data.size());
  for (const index_entry &e : avi->index) {
    Bytes entry;
    entry.fourcc(e.fourcc);
    entry.u32(e.flags);
    entry.u32(e.offset);
    entry.u32(e.size);
    ok = ok && avi->put(entry.data.data(), entry.data.size());
  }
  if (ok && avi->seekable) ok = avi->finish_seekable();
  ok = fflush(avi->fp) == 0 && ok;
  if (flags & KX_AVI_CLOSE_STREAM) ok = fclose(avi->fp) == 0 && ok;
  delete avi;
  return ok ? 0 : -1;
}

void kx_avi_set_size_limit(uint64_t bytes) {
  g_size_limit = bytes;
}
