// The alarm pages end to end: the built program against coresim, as the
// demo runs them. What the camera pages store comes back from the camera
// model and the settings.
#include <gtest/gtest.h>

#include "cgi_runner.h"
#include "coresim_fixture.h"
#include "json_codecs.h"

namespace {

using AlarmOnCoresim = CoresimTest;

int int_of(json_object *o, const char *key) {
  return json_object_get_int(json_member(o, key));
}
json_object *at(json_object *array, size_t i) {
  return json_object_array_get_idx(array, i);
}

TEST_F(AlarmOnCoresim, CameraInputsStoredAreReadBack) {
  JsonPtr before = post_json("/6024", R"({"chnid": 1})");
  ASSERT_TRUE(before);
  EXPECT_EQ(int_of(before.get(), "alarmCnt"), 4);
  EXPECT_EQ(post("/6025", R"({"chnid": 1, "alarmCnt": 1, "copyCnt": 1, "copyChn": [2],
      "dialog": [{"alarmId": 0, "interval": 15}],
      "alarm": [{"alarmEnable": 1, "alarmType": 1, "alarmName": "Gate contact"}]})")
                .body,
            "OK");
  for (const char *channel : {R"({"chnid": 1})", R"({"chnid": 2})"}) {
    JsonPtr after = post_json("/6024", channel);
    ASSERT_TRUE(after) << channel;
    json_object *first = at(json_member(after.get(), "alarm"), 0);
    EXPECT_EQ(int_of(first, "alarmEnable"), 1) << channel;
    EXPECT_EQ(int_of(first, "alarmType"), 1) << channel;
    EXPECT_EQ(int_of(first, "interval"), 15) << channel;
  }
}

TEST_F(AlarmOnCoresim, CameraOutputsAndRecorderOutputs) {
  EXPECT_EQ(post("/6029", R"({"chnid": 5, "alarmCnt": 2,
      "alarm": [{"alarmType": 1, "delayTime": 30, "alarmName": "Siren"}, {"alarmType": 0}]})")
                .body,
            "OK");
  EXPECT_EQ(post("/6033", R"({"chnid": 5, "alarmId": 0, "state": 1})").body, "OK");
  JsonPtr outs = post_json("/6028", R"({"chnid": 5})");
  ASSERT_TRUE(outs);
  json_object *first = at(json_member(outs.get(), "alarm"), 0);
  EXPECT_EQ(int_of(first, "alarmType"), 1);
  EXPECT_EQ(int_of(first, "alarmStatus"), 1);
  EXPECT_EQ(int_of(first, "delayTime"), 30);
  EXPECT_EQ(post("/6022", R"({"alarmId": 1, "name": "Horn", "durationTime": 20})").body, "OK");
  JsonPtr out = post_json("/6021", R"({"alarmId": 1})");
  ASSERT_TRUE(out);
  EXPECT_EQ(int_of(out.get(), "durationTime"), 20);
}

}  // namespace
