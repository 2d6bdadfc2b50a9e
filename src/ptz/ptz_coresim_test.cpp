// The PTZ pages end to end: the built program against coresim, as the demo
// runs them. Presets and tours the page saves come back in the camera's
// information; the stored settings read back.
#include <gtest/gtest.h>

#include "cgi_runner.h"
#include "coresim_fixture.h"
#include "json_codecs.h"

namespace {

class PtzOnCoresim : public CoresimTest {
 protected:
  static int int_of(json_object *o, const char *key) {
    return json_object_get_int(json_member(o, key));
  }
  static std::string text_of(json_object *o, const char *key) {
    const char *t = json_object_get_string(json_member(o, key));
    return t ? t : "<missing>";
  }
  static json_object *at(json_object *array, size_t i) {
    return json_object_array_get_idx(array, i);
  }
};

TEST_F(PtzOnCoresim, SavedPresetAndTourAreListed) {
  JsonPtr before = post_json("/5005", R"({"chn": 2})");
  ASSERT_TRUE(before);
  EXPECT_EQ(text_of(before.get(), "status"), "OK");
  EXPECT_EQ(int_of(at(json_member(before.get(), "PRESET"), 4), "enable"), 0);

  EXPECT_EQ(post("/5001", R"({"channelId": 2, "presetId": 5, "action": 22, "panSpeed": 1,
                              "tiltSpeed": 1, "zoomSpeed": 1, "focusSpeed": 1,
                              "name": "North fence"})")
                .body,
            "OK");
  EXPECT_EQ(post("/6055", R"({"chn": 2, "tourid": 1, "rowsize": 2,
                              "path": [{"preset": 5, "time": 20, "speed": 3},
                                       {"preset": 1, "time": 10, "speed": 4}]})")
                .body,
            "OK");
  JsonPtr after = post_json("/5005", R"({"chn": 2})");
  ASSERT_TRUE(after);
  json_object *preset = at(json_member(after.get(), "PRESET"), 4);
  EXPECT_EQ(int_of(preset, "enable"), 1);
  EXPECT_EQ(text_of(preset, "name"), "North fence");
  json_object *tour = at(json_member(after.get(), "TOUR"), 1);
  ASSERT_EQ(json_object_array_length(tour), 2u);
  EXPECT_EQ(int_of(at(tour, 0), "preset_id"), 5);
  EXPECT_EQ(int_of(at(tour, 0), "timeout"), 20);
  EXPECT_EQ(int_of(at(tour, 1), "speed"), 4);

  EXPECT_EQ(post("/6057", R"({"chn": 2, "tourid": 1})").body, "OK");
  after = post_json("/5005", R"({"chn": 2})");
  EXPECT_EQ(json_object_array_length(at(json_member(after.get(), "TOUR"), 1)), 0u);
}

TEST_F(PtzOnCoresim, CommandsAndCameraAnswers) {
  EXPECT_EQ(post("/5000", R"({"channelId": 0, "action": 3, "panSpeed": 4})").body, "OK");
  EXPECT_EQ(post("/5008", R"({"chn": 1, "Speed": 6})").body, "OK");
  EXPECT_EQ(post("/5002", R"({"chn": 0, "tourid": 0})").body, "OK");
  EXPECT_EQ(post("/6052", R"({"camId": 1})").body, "0");
  EXPECT_EQ(post("/6052", R"({"camId": 9})").body, "-1");
  EXPECT_EQ(int_of(post_json("/5009", R"({"chnid": 1, "ptzCmd": 2})").get(), "res"), 0);
  JsonPtr led = post_json("/5010", R"({"chnid": 1})");
  EXPECT_EQ(int_of(led.get(), "chnid"), 1);
  EXPECT_EQ(int_of(led.get(), "status"), 1);
}

TEST_F(PtzOnCoresim, BasicOptionsAndSettingsReadBack) {
  EXPECT_EQ(int_of(post_json("/5011", R"({"chnId": 3})").get(), "presetSpeed"), 5);
  JsonPtr set = post_json("/5012", R"({"chnId": 3, "presetSpeed": 7, "resumeTime": 90,
                                       "channelMask": "0011"})");
  EXPECT_EQ(int_of(set.get(), "status"), 0);
  for (const char *channel : {R"({"chnId": 2})", R"({"chnId": 3})"}) {
    JsonPtr basic = post_json("/5011", channel);
    EXPECT_EQ(int_of(basic.get(), "presetSpeed"), 7) << channel;
    EXPECT_EQ(int_of(basic.get(), "resumeTime"), 90) << channel;
  }

  EXPECT_EQ(post("/6051", R"({"cnt": 2, "chnid": [4, 5], "connectType": 0, "baudRate": 4800,
                              "dataBits": 8, "stopBits": 1, "parityType": 0, "protocol": 2,
                              "address": 3})")
                .body,
            "OK");
  EXPECT_EQ(int_of(post_json("/6050", R"({"chnid": 5})").get(), "baudRate"), 4800);
  EXPECT_EQ(post("/6054", R"({"camId": 4, "pan_speed": 6, "zoom_speed": 2})").body, "OK");
  JsonPtr speed = post_json("/6053", R"({"camId": 4})");
  EXPECT_EQ(int_of(speed.get(), "pan_speed"), 6);
  EXPECT_EQ(int_of(speed.get(), "zoom_speed"), 2);
}

}  // namespace
