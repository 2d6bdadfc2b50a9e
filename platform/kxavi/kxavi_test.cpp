// The AVI writer read back by a RIFF walker: chunk tree, frame bytes and
// order, index offsets and key flags, on a seekable file (sizes patched)
// and on a pipe (sizes left open).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>
#include <unistd.h>

#include "avi_walk.h"
#include "kxavi.h"

namespace {

kx_avi_frame_desc descriptor(int32_t kind, int size, bool audio = true) {
  kx_avi_frame_desc d = {};
  d.kind = kind;
  memcpy(d.codec, "MJPG", 4);
  d.width = 320;
  d.height = 240;
  d.frame_rate = 10;
  if (audio) {
    d.audio_rate = 8000;
    d.audio_channels = 1;
    d.audio_bits = 16;
  }
  d.frame_size = size;
  return d;
}

struct Frame {
  int32_t kind;
  std::string data;
};

// A key frame, a dependent frame of odd length, audio, another key frame.
std::vector<Frame> clip() {
  return {{KX_AVI_KEY_FRAME, std::string(1000, 'k')},
          {KX_AVI_FRAME, std::string(333, 'p')},
          {KX_AVI_AUDIO, std::string(1600, 'a')},
          {KX_AVI_KEY_FRAME, std::string(1200, 'K')}};
}

int write_frames(kx_avi *avi, const std::vector<Frame> &frames, bool audio = true) {
  int worst = KX_AVI_OK;
  for (const Frame &f : frames) {
    kx_avi_frame_desc d = descriptor(f.kind, (int)f.data.size(), audio);
    int r = kx_avi_write_fp_ex(avi, &d, f.data.data(), (int)f.data.size());
    if (r != KX_AVI_OK) worst = r;
  }
  return worst;
}

std::string read_all(FILE *fp) {
  std::string out;
  rewind(fp);
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, fp)) > 0;) out.append(buf, n);
  return out;
}

// The file written to a temporary (seekable) file, after `prefix`.
std::string to_file(const std::vector<Frame> &frames, const std::string &prefix = "",
                    bool audio = true) {
  FILE *fp = tmpfile();
  fputs(prefix.c_str(), fp);
  kx_avi *avi = kx_avi_open_fp(fp);
  write_frames(avi, frames, audio);
  EXPECT_EQ(kx_avi_close_fp(avi, 0), 0);
  std::string out = read_all(fp);
  fclose(fp);
  return out;
}

// The file written into a pipe, read on another thread.
std::string to_pipe(const std::vector<Frame> &frames) {
  int fds[2];
  EXPECT_EQ(pipe(fds), 0);
  std::string out;
  std::thread reader([&] {
    char buf[4096];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, (size_t)n);
  });
  FILE *fp = fdopen(fds[1], "w");
  kx_avi *avi = kx_avi_open_fp(fp);
  write_frames(avi, frames);
  EXPECT_EQ(kx_avi_close_fp(avi, KX_AVI_CLOSE_STREAM), 0);
  reader.join();
  close(fds[0]);
  return out;
}

void expect_frames_and_index(const AviWalk &w, const std::vector<Frame> &frames) {
  ASSERT_EQ(w.frames.size(), frames.size());
  ASSERT_EQ(w.index.size(), frames.size());
  for (size_t i = 0; i < frames.size(); i++) {
    SCOPED_TRACE(i);
    std::string id = frames[i].kind == KX_AVI_AUDIO ? "01wb" : "00dc";
    EXPECT_EQ(w.frames[i].id, id);
    EXPECT_EQ(w.frames[i].data, frames[i].data);
    EXPECT_EQ(w.index[i].id, id);
    EXPECT_EQ(w.index[i].offset, w.frames[i].offset);
    EXPECT_EQ(w.index[i].size, frames[i].data.size());
    EXPECT_EQ(w.index[i].flags, frames[i].kind == KX_AVI_FRAME ? 0u : 0x10u);
  }
}

const std::vector<std::string> kTreeWithAudio = {
    "hdrl", "hdrl/avih", "hdrl/strl", "hdrl/strl/strh", "hdrl/strl/strf", "hdrl/strl",
    "hdrl/strl/strh", "hdrl/strl/strf", "movi", "movi/00dc", "movi/00dc", "movi/01wb",
    "movi/00dc", "idx1"};

TEST(KxAvi, SeekableFileHasTheTreeFramesIndexAndPatchedSizes) {
  std::string file = to_file(clip());
  AviWalk w = walk_avi(file);
  ASSERT_EQ(w.error, "");
  EXPECT_EQ(w.tree, kTreeWithAudio);
  expect_frames_and_index(w, clip());
  EXPECT_EQ(w.riff_size, file.size() - 8);
  EXPECT_EQ(w.index[0].offset, 4u);  // the first chunk follows the 'movi' FourCC
  // 'movi': its FourCC, four chunk heads, the data and the pad of 333.
  EXPECT_EQ(w.movi_size, 4u + 4 * 8 + 1000 + 334 + 1600 + 1200);

  // Main header: 100000 us per frame, 3 video frames, two streams, 320x240.
  EXPECT_EQ(avi_u32(w.avih, 0), 100000u);
  EXPECT_EQ(avi_u32(w.avih, 12), 0x110u);  // has an index, interleaved
  EXPECT_EQ(avi_u32(w.avih, 16), 3u);
  EXPECT_EQ(avi_u32(w.avih, 24), 2u);
  EXPECT_EQ(avi_u32(w.avih, 28), 1600u);  // the biggest chunk
  EXPECT_EQ(avi_u32(w.avih, 32), 320u);
  EXPECT_EQ(avi_u32(w.avih, 36), 240u);
  ASSERT_EQ(w.strh.size(), 2u);
  EXPECT_EQ(w.strh[0].substr(0, 8), "vidsMJPG");
  EXPECT_EQ(avi_u32(w.strh[0], 20), 1u);   // scale
  EXPECT_EQ(avi_u32(w.strh[0], 24), 10u);  // rate
  EXPECT_EQ(avi_u32(w.strh[0], 32), 3u);   // length in frames
  EXPECT_EQ(w.strf[0].substr(16, 4), "MJPG");
  EXPECT_EQ(avi_u32(w.strf[0], 4), 320u);
  EXPECT_EQ(avi_u32(w.strf[0], 8), 240u);
  EXPECT_EQ(w.strh[1].substr(0, 4), "auds");
  EXPECT_EQ(avi_u32(w.strh[1], 20), 2u);      // scale: the block
  EXPECT_EQ(avi_u32(w.strh[1], 24), 16000u);  // rate: bytes per second
  EXPECT_EQ(avi_u32(w.strh[1], 32), 800u);    // length in blocks
  ASSERT_EQ(w.strf[1].size(), 18u);
  EXPECT_EQ(avi_u16(w.strf[1], 0), 1);  // PCM
  EXPECT_EQ(avi_u16(w.strf[1], 2), 1);
  EXPECT_EQ(avi_u32(w.strf[1], 4), 8000u);
  EXPECT_EQ(avi_u32(w.strf[1], 8), 16000u);
  EXPECT_EQ(avi_u16(w.strf[1], 12), 2);
  EXPECT_EQ(avi_u16(w.strf[1], 14), 16);
}

TEST(KxAvi, PipeLeavesSizesAndCountsOpenWithTheSameChunks) {
  std::string piped = to_pipe(clip());
  AviWalk w = walk_avi(piped);
  ASSERT_EQ(w.error, "");
  EXPECT_EQ(w.tree, kTreeWithAudio);
  expect_frames_and_index(w, clip());
  EXPECT_EQ(w.riff_size, 0u);
  EXPECT_EQ(w.movi_size, 0u);
  EXPECT_EQ(avi_u32(w.avih, 16), 0u);
  EXPECT_EQ(avi_u32(w.strh[0], 32), 0u);
  // Only the open fields differ from the file written where it could seek.
  EXPECT_EQ(piped.size(), to_file(clip()).size());
}

TEST(KxAvi, AfterTheHttpHeadersTheFileStartsWhereTheWriterOpened) {
  const std::string headers = "Content-Type:application/octet-stream\r\n\r\n";
  std::string out = to_file(clip(), headers);
  ASSERT_EQ(out.substr(0, headers.size()), headers);
  AviWalk w = walk_avi(out.substr(headers.size()));
  ASSERT_EQ(w.error, "");
  EXPECT_EQ(w.riff_size, out.size() - headers.size() - 8);
  expect_frames_and_index(w, clip());
}

TEST(KxAvi, ClipWithoutAudioHasOneStreamAndRefusesAudio) {
  std::vector<Frame> video = {{KX_AVI_KEY_FRAME, "abc"}, {KX_AVI_FRAME, "de"}};
  FILE *fp = tmpfile();
  kx_avi *avi = kx_avi_open_fp(fp);
  EXPECT_EQ(write_frames(avi, video, false), KX_AVI_OK);
  kx_avi_frame_desc audio = descriptor(KX_AVI_AUDIO, 4, false);
  EXPECT_EQ(kx_avi_write_fp_ex(avi, &audio, "aaaa", 4), KX_AVI_ERROR);
  kx_avi_frame_desc odd = descriptor(99, 1, false);
  EXPECT_EQ(kx_avi_write_fp_ex(avi, &odd, "x", 1), KX_AVI_ERROR);  // no such kind
  EXPECT_EQ(kx_avi_write_fp_ex(avi, &odd, "x", -1), KX_AVI_ERROR);
  EXPECT_EQ(kx_avi_write_fp_ex(avi, nullptr, "x", 1), KX_AVI_ERROR);
  EXPECT_EQ(kx_avi_close_fp(avi, 0), 0);
  AviWalk w = walk_avi(read_all(fp));
  fclose(fp);
  ASSERT_EQ(w.error, "");
  EXPECT_EQ(w.tree, (std::vector<std::string>{"hdrl", "hdrl/avih", "hdrl/strl", "hdrl/strl/strh",
                                              "hdrl/strl/strf", "movi", "movi/00dc", "movi/00dc",
                                              "idx1"}));
  EXPECT_EQ(avi_u32(w.avih, 12), 0x10u);  // an index, nothing to interleave
  EXPECT_EQ(avi_u32(w.avih, 24), 1u);
  expect_frames_and_index(w, video);
}

TEST(KxAvi, EmptyClipIsStillAValidFile) {
  AviWalk w = walk_avi(to_file({}, "", false));
  ASSERT_EQ(w.error, "");
  EXPECT_TRUE(w.frames.empty());
  EXPECT_TRUE(w.index.empty());
  EXPECT_EQ(w.tree.back(), "idx1");
  EXPECT_EQ(kx_avi_open_fp(nullptr), nullptr);
  EXPECT_EQ(kx_avi_close_fp(nullptr, 0), -1);
}

TEST(KxAvi, ClipThatWouldPassTheSizeLimitEndsThereAsAValidFile) {
  // Room for the headers, two 1000-byte frames and their index; the third
  // frame, and every later one however small, stays out.
  kx_avi_set_size_limit(326 + 2 * 1008 + 8 + 2 * 16);
  std::vector<Frame> frames = {{KX_AVI_KEY_FRAME, std::string(1000, 'a')},
                               {KX_AVI_FRAME, std::string(1000, 'b')},
                               {KX_AVI_FRAME, std::string(1000, 'c')},
                               {KX_AVI_FRAME, "d"}};
  FILE *fp = tmpfile();
  kx_avi *avi = kx_avi_open_fp(fp);
  EXPECT_EQ(write_frames(avi, frames), KX_AVI_FULL);
  EXPECT_EQ(kx_avi_close_fp(avi, 0), 0);
  kx_avi_set_size_limit(0xFFFFFFFFull);
  std::string file = read_all(fp);
  fclose(fp);
  EXPECT_EQ(file.size(), 326u + 2 * 1008 + 8 + 2 * 16);
  AviWalk w = walk_avi(file);
  ASSERT_EQ(w.error, "");
  expect_frames_and_index(w, {frames[0], frames[1]});
}

TEST(KxAvi, WalkerFindsFaults) {
  std::string file = to_file(clip());
  EXPECT_NE(walk_avi(file.substr(0, file.size() - 3)).error, "");  // cut short
  std::string bad = file;
  bad[8] = 'X';
  EXPECT_NE(walk_avi(bad).error, "");
}

}  // namespace
