// Playback end to end: the built program against coresim, as the demo runs
// them (search a recording, play it, pause, jump, step, stop; live view and
// the channel image).
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <unistd.h>

#include "cgi_runner.h"
#include "coresim_fixture.h"
#include "avi_walk.h"
#include "json_codecs.h"

namespace {

// Local time is UTC for coresim (it starts with this process's environment)
// and for the program alike.
const int kUtc = setenv("TZ", "UTC0", 1);

class PlaybackOnCoresim : public CoresimTest {
 protected:
  static CgiReply post(const std::string &path, const std::string &body) {
    return CoresimTest::post(path, body, {{"TZ", "UTC0"}});
  }
  static JsonPtr post_json(const std::string &path, const std::string &body) {
    return CoresimTest::post_json(path, body, {{"TZ", "UTC0"}});
  }
  static std::string text(json_object *o, const char *key) {
    const char *t = json_object_get_string(json_member(o, key));
    return t ? t : "<none>";
  }
  static int number(json_object *o, const char *key) {
    json_object *v = json_member(o, key);
    return v ? json_object_get_int(v) : -99999;
  }
  static std::string play_time(int sid) {
    return text(post_json("/4002", std::to_string(sid)).get(), "curPlayTime");
  }
};

TEST_F(PlaybackOnCoresim, SearchPlayPauseJumpStepAndStop) {
  JsonPtr found = post_json("/4000", R"({"channelId": 0, "sid": -1, "streamType": 0,
                                         "time": "2024-03-01 00:00:00",
                                         "endTime": "2024-03-01 23:59:59"})");
  ASSERT_EQ(text(found.get(), "status"), "OK");
  EXPECT_EQ(number(found.get(), "sectionNum"), 5);  // continuous, motion, continuous, ...
  json_object *motion = json_object_array_get_idx(json_member(found.get(), "section"), 1);
  EXPECT_EQ(text(motion, "startTime"), "2024-03-01 08:00:00");
  EXPECT_EQ(text(motion, "endTime"), "2024-03-01 09:00:00");
  EXPECT_EQ(number(motion, "recordType"), 2);
  int sid = number(found.get(), "sid");
  EXPECT_EQ(text(post_json("/4023", R"({"sid": )" + std::to_string(sid) + R"(, "page": 2})").get(),
                 "status"),
            "NO MATCHES");

  JsonPtr session = post_json("/4001", R"({"channelId": 0, "sid": )" + std::to_string(sid) +
                                           R"(, "startTime": "2024-03-01 00:00:00",
                                           "endTime": "2024-03-01 23:59:59",
                                           "playTime": "2024-03-01 08:00:00"})");
  EXPECT_EQ(number(session.get(), "sessionId"), sid);
  EXPECT_EQ(text(session.get(), "sourcePath"), "/playback/" + std::to_string(sid));
  EXPECT_EQ(text(session.get(), "realPlayTime"), "2024-03-01 08:00:00");

  std::string one = R"({"num": 1, "sid": [)" + std::to_string(sid) + "]";
  EXPECT_EQ(post("/4004", one + "}").body, "OK");
  JsonPtr jumped = post_json("/4009", R"({"jumpTime": "2024-03-01 12:00:00", "num": 1, "sid": [)" +
                                          std::to_string(sid) + R"(], "chnid": [0]})");
  EXPECT_EQ(text(jumped.get(), "status"), "OK");
  EXPECT_EQ(play_time(sid), "2024-03-01 12:00:00");  // paused: the time stands
  EXPECT_EQ(post("/4006", one + "}").body, "OK");
  EXPECT_EQ(play_time(sid), "2024-03-01 12:00:01");

  EXPECT_EQ(post("/4003", one + R"(, "close": 1})").body, "OK");
  EXPECT_EQ(post("/4002", std::to_string(sid)).body, "{status:\"CGI ERROR\"}");  // closed
}

TEST_F(PlaybackOnCoresim, PlaybackByMaskLiveViewAndTheChannelImage) {
  JsonPtr session = post_json("/4020", R"({"mask0": 2, "mask1": 0, "mask2": 0, "mask3": 0,
                                           "mask4": 0, "mask5": 0, "mask6": 0, "mask7": 0,
                                           "playTime": "2024-03-01 10:00:00"})");
  EXPECT_EQ(text(session.get(), "status"), "OK");
  EXPECT_EQ(text(session.get(), "realPlayTime"), "2024-03-01 10:00:00");
  EXPECT_EQ(text(post_json("/3004", "").get(), "status"), "OK");  // one session plays

  JsonPtr live = post_json("/4010", R"({"id": 1, "streamType": 1, "streamFrom": 0})");
  EXPECT_EQ(text(live.get(), "rtspAddr"), "rtsp://192.168.1.100:554/live/ch01/1");
  live = post_json("/4010", R"({"id": 9, "streamType": 0, "streamFrom": 0})");
  EXPECT_EQ(text(live.get(), "status"), "ERROR");  // no camera on channel 9

  EXPECT_EQ(post("/3001", R"({"id": 1, "brightness": 200, "contrast": 90, "saturation": 128})")
                .body,
            "OK");
  JsonPtr image = post_json("/3000", R"({"chnid": 1})");
  EXPECT_EQ(number(image.get(), "brightness"), 200);
  EXPECT_EQ(number(image.get(), "contrast"), 90);
  post("/3002", "1");
  EXPECT_EQ(number(post_json("/3000", R"({"chnid": 1})").get(), "brightness"), 128);
}

TEST_F(PlaybackOnCoresim, DownloadsAPlayableClipThroughThePipe) {
  EXPECT_EQ(number(post_json("/4019", "{}").get(), "isOK"), 1);
  CgiReply clip = post("/4013", R"({"id": 1, "streamType": 0,
                                   "startTime": "2024-03-01T10:00:00Z",
                                   "endTime": "2024-03-01T10:00:03Z"})");
  EXPECT_NE(clip.headers.find("filename= 2DDD2024_3_1_10_0_0_"), std::string::npos)
      << clip.headers;
  AviWalk avi = walk_avi(clip.body);
  ASSERT_EQ(avi.error, "");
  EXPECT_EQ(avi.riff_size, 0u);  // standard output is a pipe: sizes left open
  ASSERT_EQ(avi.frames.size(), 30u);
  for (const auto &f : avi.frames) {
    ASSERT_GE(f.data.size(), 4u);
    EXPECT_EQ(f.data.substr(0, 2), "\xFF\xD8");  // each frame a whole JPEG image
    EXPECT_EQ(f.data.substr(f.data.size() - 2), "\xFF\xD9");
  }
  EXPECT_EQ(avi.index.size(), 30u);
  EXPECT_EQ(number(post_json("/4019", "{}").get(), "isOK"), 1);  // the daemon removed its marker
  EXPECT_EQ(post("/4027", "").body, "OK");
}

TEST_F(PlaybackOnCoresim, AStopEndsARunningDownloadAndClearsTheMarker) {
  CgiReply clip;
  std::thread download([&clip] {
    clip = post("/4013", R"({"id": 2, "streamType": 0, "startTime": "2024-03-01T10:00:00Z",
                             "endTime": "2024-03-01T10:00:03Z"})");
  });
  // The daemon marks the download busy while it streams.
  bool busy = false;
  for (int i = 0; i < 100 && !busy; i++) {
    busy = number(post_json("/4019", "{}").get(), "isOK") == 0;
    if (!busy) usleep(20000);
  }
  EXPECT_TRUE(busy);
  EXPECT_EQ(post("/4013", R"({"id": 0, "startTime": "2024-03-01T10:00:00Z",
                              "endTime": "2024-03-01T10:00:03Z"})")
                .body,
            "BUSY NOW");
  EXPECT_EQ(post("/4027", "").body, "OK");
  download.join();
  AviWalk avi = walk_avi(clip.body);
  ASSERT_EQ(avi.error, "");
  EXPECT_LT(avi.frames.size(), 30u);  // the chunks not yet sent were dropped
  EXPECT_EQ(avi.index.size(), avi.frames.size());
  EXPECT_EQ(number(post_json("/4019", "{}").get(), "isOK"), 1);
}

}  // namespace
