// Playback end to end: the built program against coresim, as the demo runs
// them (search a recording, play it, pause, jump, step, stop; live view and
// the channel image).
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

#include "cgi_runner.h"
#include "coresim_process.h"
#include "json_codecs.h"

namespace {

class PlaybackOnCoresim : public ::testing::Test {
 protected:
  // Local time is UTC for coresim and the program alike; a fresh settings
  // database; then coresim (members start in this order).
  int utc_ = setenv("TZ", "UTC0", 1);
  int fresh_settings_ = unlink("/mnt/nand/app/kxdb.db");
  CoresimProcess coresim_{CORESIM_PROGRAM};

  static CgiReply post(const std::string &path, const std::string &body) {
    CgiRequest r;
    r.method = "POST";
    r.path = path;
    r.content_type = "application/json";
    r.body = body;
    r.env["HTTP_COOKIE"] = "userName=admin";
    r.env["TZ"] = "UTC0";
    return split_reply(run_cgi(r).out);
  }
  static JsonPtr post_json(const std::string &path, const std::string &body) {
    return JsonPtr(json_tokener_parse(post(path, body).body.c_str()));
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

}  // namespace
