// The camera audio, watermark, tracking and camera upgrade pages end to end:
// the built program against coresim, as the demo runs them.
#include <gtest/gtest.h>

#include "cgi_runner.h"
#include "coresim_fixture.h"
#include "json_codecs.h"

namespace {

using CameraExtraOnCoresim = CoresimTest;

int int_of(json_object *o, const char *key) { return json_object_get_int(json_member(o, key)); }
std::string text_of(json_object *o, const char *key) {
  const char *t = json_object_get_string(json_member(o, key));
  return t ? t : "<missing>";
}

TEST_F(CameraExtraOnCoresim, WatermarkAndEventStreamSaveAndReadBack) {
  EXPECT_EQ(text_of(post_json("/2058", R"({"chnid": 1})").get(), "watermark"), "Camera 2");
  EXPECT_EQ(int_of(post_json("/2059", R"({"chnid": 1, "enable": 1, "watermark": "Gate",
      "copy": "0001"})").get(), "res"), 0);
  for (int ch : {1, 3}) {
    JsonPtr w = post_json("/2058", "{\"chnid\": " + std::to_string(ch) + "}");
    EXPECT_EQ(text_of(w.get(), "watermark"), "Gate") << ch;
    EXPECT_EQ(int_of(w.get(), "enable"), 1) << ch;
  }
  EXPECT_EQ(int_of(post_json("/2061", R"({"chnid": 2, "enable": 1, "framerate": 10,
      "bitrate": 1024, "iframeinterval": 20})").get(), "res"), 0);
  JsonPtr stream = post_json("/2060", R"({"chnid": 2})");
  EXPECT_EQ(int_of(stream.get(), "framerate"), 10);
  EXPECT_EQ(int_of(stream.get(), "bitrate"), 1024);
  EXPECT_EQ(text_of(post_json("/2057", R"({"chnid": 0})").get(), "model"), "IPC-B2812");
}

TEST_F(CameraExtraOnCoresim, AudioAndTracking) {
  JsonPtr audio = post_json("/2063", R"({"chnid": 0})");
  ASSERT_TRUE(audio);
  EXPECT_EQ(json_object_array_length(json_member(audio.get(), "options")), 2u);
  EXPECT_EQ(post("/2064", R"({"chnid": 0, "channels": "01", "audioEnable": 1,
      "sampleRate": 16000, "outputVolume": 40})").body, "OK");
  audio = post_json("/2063", R"({"chnid": 1})");
  EXPECT_EQ(int_of(json_member(audio.get(), "config"), "sampleRate"), 16000);
  EXPECT_EQ(int_of(json_member(audio.get(), "config"), "outputVolume"), 40);

  JsonPtr tracking = post_json("/2054", R"({"chnid": 1})");
  EXPECT_EQ(int_of(tracking.get(), "enable"), 1);
  EXPECT_EQ(text_of(tracking.get(), "area"), "0,0,100,100");
  EXPECT_EQ(int_of(post_json("/2055", R"({"chnid": 1, "enable": 0, "area": "5,5,50,50"})").get(),
                   "res"), 0);
  tracking = post_json("/2054", R"({"chnid": 1})");
  EXPECT_EQ(int_of(tracking.get(), "enable"), 0);
  EXPECT_EQ(text_of(tracking.get(), "area"), "5,5,50,50");
}

TEST_F(CameraExtraOnCoresim, CameraUpgradeRunsToOneHundred) {
  EXPECT_EQ(int_of(post_json("/2078", R"({"chnMask": "0110", "resetMask": "0", "fileSize": 100})")
                       .get(), "res"), 0);
  JsonPtr start = post_json("/2080", R"({"chnAry": [1, 2], "reset": 0, "url": ""})");
  EXPECT_EQ(text_of(start.get(), "chnMask"), "0110000000000000");
  std::string report;
  for (int i = 0; i < 6; i++) report = post("/2079", "").body;
  EXPECT_EQ(report, "chnid=6\r\nstatus1=100\r\nstatus2=100\r\nchnMask=0110000000000000\r\n");
  EXPECT_EQ(post("/2081", R"({"stop": 1})").body, "");
  EXPECT_EQ(post("/2082", "x").body, "CGI SUCCESS");
  EXPECT_EQ(text_of(post_json("/2028", "").get(), "Motion").substr(0, 3), "101");
}

}  // namespace
