// Clip download (1173): the model's camera channels (0 to 3) answer with a
// short clip of MJPEG frames of a test pattern (colour bars and a moving
// block), some frames split over two chunks, then the end of data. The clip
// goes out at its frame rate. While it streams the busy marker exists: the
// daemon creates it when the download starts and removes it once the last
// chunk has gone out. A stop (1178) drops the chunks not yet sent, ends the
// stream with "interrupted" and so removes the marker too; it has no answer.
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <unistd.h>

#include "model.h"
#include "playback/download_records.h"

namespace {

constexpr int kWidth = 320, kHeight = 240, kFrameRate = 10, kFrames = 30;
constexpr int kCameraChannels = 4;
constexpr int kDownloadStream = 1173;  // the one download stream the daemon runs
constexpr const char *kBusyMarker = "/tmp/pbdownload";

Bytes jpeg_of(const std::vector<unsigned char> &rgb) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char *out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = kWidth;
  c.image_height = kHeight;
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 80, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<unsigned char *>(&rgb[(size_t)c.next_scanline * kWidth * 3]);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  Bytes jpeg(out, out + size);
  jpeg_destroy_compress(&c);
  free(out);
  return jpeg;
}

// Eight colour bars, tinted by channel, and a white block that moves.
Bytes test_pattern(int channel, int frame) {
  static const unsigned char bars[8][3] = {{255, 255, 255}, {255, 255, 0}, {0, 255, 255},
                                           {0, 255, 0},     {255, 0, 255}, {255, 0, 0},
                                           {0, 0, 255},     {0, 0, 0}};
  std::vector<unsigned char> rgb((size_t)kWidth * kHeight * 3);
  int block_x = frame * (kWidth - 40) / kFrames;
  for (int y = 0; y < kHeight; y++) {
    for (int x = 0; x < kWidth; x++) {
      unsigned char *p = &rgb[((size_t)y * kWidth + x) * 3];
      bool block = y >= 180 && y < 220 && x >= block_x && x < block_x + 40;
      const unsigned char *bar = bars[x * 8 / kWidth];
      for (int i = 0; i < 3; i++) p[i] = block ? 255 : (unsigned char)(bar[i] * (4 - channel % 4) / 4);
    }
  }
  return jpeg_of(rgb);
}

SimFrame chunk_frame(const kx_avi_frame_desc &desc, int continuation, const unsigned char *data,
                     int32_t length, int delay_ms) {
  download_chunk_head head = {};
  head.frame = desc;
  head.continuation = continuation;
  head.length = length;
  Bytes payload = bytes_of(head);
  if (length > 0) payload.insert(payload.end(), data, data + length);
  SimFrame frame{6173, payload, delay_ms};
  frame.stream = kDownloadStream;
  return frame;
}

void remove_busy_marker() {
  unlink(kBusyMarker);
}

std::vector<SimFrame> download(const SimRequest &r) {
  auto request = record_from<download_request>(r.payload);
  std::vector<SimFrame> frames;
  kx_avi_frame_desc desc = {};
  memcpy(desc.codec, "MJPG", 4);
  desc.width = kWidth;
  desc.height = kHeight;
  desc.frame_rate = kFrameRate;
  desc.kind = KX_AVI_KEY_FRAME;
  if (FILE *marker = fopen(kBusyMarker, "w")) fclose(marker);
  int delay_ms = 0;
  for (int f = 0; request.channel >= 0 && request.channel < kCameraChannels && f < kFrames; f++) {
    delay_ms = f * 1000 / kFrameRate;
    Bytes jpeg = test_pattern(request.channel, f);
    desc.frame_size = (int32_t)jpeg.size();
    desc.timestamp = (uint64_t)f * 1000000 / kFrameRate;
    int32_t first = f % 3 == 0 ? desc.frame_size / 2 : desc.frame_size;  // some in two chunks
    frames.push_back(chunk_frame(desc, 0, jpeg.data(), first, delay_ms));
    if (first < desc.frame_size) {
      frames.push_back(
          chunk_frame(desc, 1, jpeg.data() + first, desc.frame_size - first, delay_ms));
    }
  }
  frames.push_back(chunk_frame(desc, 0, nullptr, DOWNLOAD_END, delay_ms));
  frames.back().done = remove_busy_marker;
  return frames;
}

void register_download_answers(SimServer &server, CoreModel &) {
  server.on(1173, download);
  server.on(1178, [&server](const SimRequest &) {
    kx_avi_frame_desc none = {};
    SimFrame interrupted = chunk_frame(none, 0, nullptr, DOWNLOAD_INTERRUPTED, 0);
    interrupted.done = remove_busy_marker;
    server.cancel(kDownloadStream, interrupted);
    return std::vector<SimFrame>{};
  });
}

}  // namespace

CORESIM_ANSWERS(register_download_answers)
