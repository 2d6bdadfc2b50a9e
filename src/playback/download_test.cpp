// Clip download: the handlers against the fake daemon, and the writer unit
// (reassembly, back-pressure, interrupt, drain, close) with its output on
// a pipe that the test holds shut until it chooses to read.
#include <atomic>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "avi_walk.h"
#include "download_records.h"
#include "playback_test_util.h"
#include "remote_backup.h"

namespace {

constexpr const char *kMarker = "/tmp/pbdownload";

kx_avi_frame_desc frame_desc(int32_t size, int32_t kind = KX_AVI_KEY_FRAME) {
  kx_avi_frame_desc d = {};
  d.kind = kind;
  memcpy(d.codec, "MJPG", 4);
  d.width = 64;
  d.height = 48;
  d.frame_rate = 10;
  d.frame_size = size;
  return d;
}

std::string pattern(size_t n, char seed) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; i++) s[i] = (char)(seed + i % 251);
  return s;
}

// One 6173 message: the head and `data`, padded to the daemon's whole
// record when `whole` is set.
Bytes chunk(int32_t frame_size, int32_t continuation, int32_t length, const std::string &data,
            bool whole = false) {
  download_chunk_head head = {};
  head.frame = frame_desc(frame_size);
  head.continuation = continuation;
  head.length = length;
  Bytes out = bytes_of(head);
  out.insert(out.end(), data.begin(), data.end());
  if (whole) out.resize(DOWNLOAD_RECORD_SIZE, 0);
  return out;
}

class DownloadTest : public PlaybackTest {
 protected:
  void SetUp() override {
    PlaybackTest::SetUp();
    // Long enough that the writer task does not run out of idle looks
    // while a test prepares its next step; short for the back-pressure waits.
    cgi_ipc_set_poll_period(std::chrono::milliseconds(1));
    unlink(kMarker);
  }
  void TearDown() override {
    unlink(kMarker);
    PlaybackTest::TearDown();
  }
  static void touch_marker() { fclose(fopen(kMarker, "w")); }
  static bool marker_exists() {
    struct stat st;
    return stat(kMarker, &st) == 0;
  }
};

const char *kChannel3 =
    R"({"id": 3, "streamType": 1, "startTime": "2024-01-02T03:04:05Z",
        "endTime": "2024-01-02T04:00:00Z"})";

TEST_F(DownloadTest, DownloadsTheClipAsAnAviAttachmentFromTheChunks) {
  std::string big = pattern(1000000, 'a'), small = pattern(10, 'z');
  daemon().answer_frames(
      1173, {// A 1,000,000-byte frame in chunks of 614400 and 385600 (whole records).
             SimFrame{6173, chunk(1000000, 0, 614400, big.substr(0, 614400), true)},
             SimFrame{6173, chunk(1000000, 1, 385600, big.substr(614400), true)},
             // A continuation with no frame being assembled: ignored.
             SimFrame{6173, chunk(1000000, 1, 100, std::string(100, 'x'))},
             // Hostile lengths and sizes: dropped or ignored, the clip goes on.
             SimFrame{6173, chunk(0, 0, 4, "abcd")},
             SimFrame{6173, chunk(11 << 20, 0, 4, "abcd")},
             SimFrame{6173, chunk(10, 0, -5, "abcd")},
             SimFrame{6173, Bytes(50, 0)},
             // A length beyond what the message holds: only what is there.
             SimFrame{6173, chunk(10, 0, 5000, small)},
             SimFrame{6173, chunk(0, 0, DOWNLOAD_END, "")}});
  std::string reply = call("/4013", kChannel3);

  std::string header = reply_header(reply);
  EXPECT_EQ(header.rfind("Content-Type:application/octet-stream\r\n"
                         "Content-Disposition: attachment; filename= 8DDD2024_1_2_3_4_5_",
                         0),
            0u)
      << header;
  EXPECT_NE(header.find("_3.avi\r\n"), std::string::npos) << header;
  EXPECT_NE(header.find("-2024_1_2_4_0_0_1704168000_3.avi"), std::string::npos) << header;

  AviWalk avi = walk_avi(reply_body(reply));
  ASSERT_EQ(avi.error, "");
  ASSERT_EQ(avi.frames.size(), 2u);
  EXPECT_TRUE(avi.frames[0].data == big);
  EXPECT_EQ(avi.frames[1].data, small);
  EXPECT_EQ(avi.index.size(), 2u);

  Bytes request = sent_once(1173);
  ASSERT_EQ(request.size(), sizeof(download_request));
  auto r = record_from<download_request>(request);
  EXPECT_EQ(r.channel, 3);
  EXPECT_EQ(r.streamType, 1);
  EXPECT_STREQ(r.start, "2024-1-2 3:4:5");
  EXPECT_STREQ(r.end, "2024-1-2 4:0:0");
  ASSERT_EQ(logs().size(), 1u);
  EXPECT_EQ(logs()[0].sub_type, 209);
  EXPECT_EQ(logs()[0].param_type, 900);
  EXPECT_EQ(logs()[0].channel, 4);
}

TEST_F(DownloadTest, BusyMissingOrBadRequestsSendNothing) {
  touch_marker();
  EXPECT_EQ(call("/4013", kChannel3), kTextHeader + "BUSY NOW");
  unlink(kMarker);
  for (const char *body : {R"({"id": 3, "startTime": "2024-01-02T03:04:05Z"})",
                           R"({"id": 16, "startTime": "2024-01-02T03:04:05Z",
                               "endTime": "2024-01-02T04:00:00Z"})",
                           R"({"id": -1, "startTime": "2024-01-02T03:04:05Z",
                               "endTime": "2024-01-02T04:00:00Z"})",
                           R"({"id": 0, "startTime": "yesterday",
                               "endTime": "2024-01-02T04:00:00Z"})",
                           "not json"}) {
    EXPECT_EQ(call("/4013", body), "") << body;
  }
  settle();
  EXPECT_TRUE(codes().empty());  // no download, no log entry
}

TEST_F(DownloadTest, StateTellsWhetherTheMarkerExistsAndStopClearsIt) {
  std::string reply = call("/4019", "{}");
  EXPECT_EQ(reply.rfind(kTextHeader, 0), 0u);  // JSON with the text header
  EXPECT_EQ(int_member(parse_body(reply).get(), "isOK"), 1);
  touch_marker();
  reply = call("/4019", "anything at all");
  EXPECT_EQ(reply.rfind(kTextHeader, 0), 0u);
  EXPECT_EQ(int_member(parse_body(reply).get(), "isOK"), 0);

  EXPECT_EQ(call("/4027"), kTextOk);
  EXPECT_FALSE(marker_exists());
  settle();
  ASSERT_EQ(sent(1178).size(), 1u);
  EXPECT_TRUE(sent(1178)[0].payload.empty());
  EXPECT_EQ(call("/4027"), kTextOk);  // nothing to remove: the same answer
}

// ---- The writer unit ----

// The writer's output on a pipe that nobody reads until read() starts.
class WriterTest : public DownloadTest {
 protected:
  void SetUp() override {
    DownloadTest::SetUp();
    ASSERT_EQ(pipe(fds_), 0);
    out_ = fdopen(fds_[1], "w");
    ASSERT_EQ(remote_backup_kxfs_open(out_, &avi_), 0);
  }
  void TearDown() override {
    if (avi_ && !reader_.joinable()) start_reading();  // a failed test must not hang
    if (avi_) close_writer();
    if (reader_.joinable()) reader_.join();
    close(fds_[0]);
    DownloadTest::TearDown();
  }
  void start_reading() {
    reader_ = std::thread([this] {
      char buf[65536];
      for (ssize_t n; (n = read(fds_[0], buf, sizeof buf)) > 0;) read_.append(buf, (size_t)n);
    });
  }
  int close_writer() {
    int r = remote_backup_kxfs_close(avi_);
    avi_ = nullptr;
    fclose(out_);
    return r;
  }
  // The AVI as read from the pipe.
  AviWalk output() {
    if (!reader_.joinable()) start_reading();
    if (avi_) close_writer();
    reader_.join();
    return walk_avi(read_);
  }
  static int add_frame(const std::string &data, int32_t kind = KX_AVI_KEY_FRAME) {
    kx_avi_frame_desc d = frame_desc((int32_t)data.size(), kind);
    return remote_backup_kxfs_write(&d, 0, data.data(), (int)data.size());
  }
  // Waits (on a condition, however long it takes) until the queue holds `n`.
  static void until_queued(int n) {
    while (remote_backup_queued_frames() != n) std::this_thread::yield();
  }
  // Holds the writer task: it takes a frame larger than the pipe holds and
  // blocks writing it until the test reads.
  void block_writer() {
    ASSERT_EQ(add_frame(blocker_), 0);
    until_queued(0);
  }

  int fds_[2] = {-1, -1};
  FILE *out_ = nullptr;
  kx_avi *avi_ = nullptr;
  std::thread reader_;
  std::string read_;
  const std::string blocker_ = pattern(200000, 'B');
};

TEST_F(WriterTest, FrameInTwoChunksIsQueuedOnceAfterTheSecond) {
  block_writer();
  std::string big = pattern(1000000, 'f');
  kx_avi_frame_desc d = frame_desc(1000000);
  EXPECT_EQ(remote_backup_kxfs_write(&d, 1, big.data(), 1000), 0);  // lone continuation
  EXPECT_EQ(remote_backup_queued_frames(), 0);
  EXPECT_EQ(remote_backup_kxfs_write(&d, 0, big.data(), 614400), 0);
  EXPECT_EQ(remote_backup_queued_frames(), 0);
  EXPECT_EQ(remote_backup_kxfs_write(&d, 1, big.data() + 614400, 385600), 0);
  EXPECT_EQ(remote_backup_queued_frames(), 1);
  EXPECT_EQ(remote_backup_queued_bytes(), 1000000);
  AviWalk avi = output();
  ASSERT_EQ(avi.error, "");
  ASSERT_EQ(avi.frames.size(), 2u);
  EXPECT_TRUE(avi.frames[1].data == big);
}

TEST_F(WriterTest, FullQueueWaitsThenDropsTheFrame) {
  block_writer();
  std::string mib = pattern(1 << 20, 'm');
  for (int i = 0; i < 9; i++) ASSERT_EQ(add_frame(mib), 0);
  ASSERT_EQ(add_frame(pattern((1 << 20) - 1, 'n')), 0);
  EXPECT_EQ(remote_backup_queued_bytes(), REMOTE_BACKUP_QUEUE_FULL);  // at the bound: room
  ASSERT_EQ(add_frame("the last one with room"), 0);  // now above it
  EXPECT_EQ(add_frame("dropped"), -1);
  EXPECT_EQ(remote_backup_queued_frames(), 11);
  AviWalk avi = output();
  ASSERT_EQ(avi.error, "");
  ASSERT_EQ(avi.frames.size(), 12u);
  EXPECT_EQ(avi.frames[11].data, "the last one with room");
}

TEST_F(WriterTest, InterruptDropsTheQueuedFrames) {
  block_writer();
  ASSERT_EQ(add_frame("one"), 0);
  ASSERT_EQ(add_frame("two"), 0);
  remote_backup_kxfs_interrup();
  start_reading();
  until_queued(0);  // dropped once the task has finished the frame it was writing
  EXPECT_EQ(remote_backup_task_run_status(), 0);
  AviWalk avi = output();
  ASSERT_EQ(avi.error, "");
  ASSERT_EQ(avi.frames.size(), 1u);  // the frame it was writing
  EXPECT_TRUE(avi.frames[0].data == blocker_);
}

TEST_F(WriterTest, CloseDrainsTheQueueAndThenRefusesChunks) {
  block_writer();
  ASSERT_EQ(add_frame("one", KX_AVI_KEY_FRAME), 0);
  ASSERT_EQ(add_frame("two", KX_AVI_FRAME), 0);
  start_reading();
  EXPECT_EQ(close_writer(), 0);
  EXPECT_EQ(remote_backup_task_run_status(), 0);
  EXPECT_EQ(add_frame("late"), -1);
  AviWalk avi = output();
  ASSERT_EQ(avi.error, "");
  ASSERT_EQ(avi.frames.size(), 3u);
  EXPECT_EQ(avi.frames[2].data, "two");
  EXPECT_EQ(avi.index[1].flags, 0x10u);
  EXPECT_EQ(avi.index[2].flags, 0u);
}

TEST_F(WriterTest, ChunksArrivingDuringCloseAreSafe) {
  block_writer();
  std::atomic<bool> stop{false};
  std::atomic<int> refused{0};
  std::thread producer([&] {
    std::string data = pattern(3000, 'c');
    kx_avi_frame_desc d = frame_desc(5000);
    for (int i = 0; !stop.load(); i++) {
      if (remote_backup_kxfs_write(&d, i % 2, data.data(), (int)data.size()) < 0) refused++;
    }
  });
  start_reading();
  EXPECT_EQ(close_writer(), 0);
  while (refused.load() == 0) std::this_thread::yield();  // refused once closing
  stop = true;
  producer.join();
  EXPECT_EQ(output().error, "");
}

}  // namespace
