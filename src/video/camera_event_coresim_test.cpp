// The snapshot, PTZ action, camera event, fisheye and regional counting
// pages end to end: the built program against coresim, as the demo runs them.
#include <gtest/gtest.h>

#include "cgi_runner.h"
#include "coresim_fixture.h"
#include "json_codecs.h"

namespace {

using CameraEventsOnCoresim = CoresimTest;

std::string text_of(json_object *object, const char *key) {
  json_object *v = json_member(object, key);
  return v ? json_object_get_string(v) : "<none>";
}

TEST_F(CameraEventsOnCoresim, CameraIoAndVolumeSavedAndReadBack) {
  EXPECT_EQ(post("/6091", R"({"camId": 2, "enable": 1, "type": 1, "triActions": 3,
                              "triChannels": "0110"})")
                .body,
            "OK");
  JsonPtr io = JsonPtr(json_tokener_parse(get("/6090", "2").body.c_str()));
  ASSERT_TRUE(io);
  EXPECT_EQ(text_of(io.get(), "enable"), "1");
  EXPECT_EQ(text_of(io.get(), "type"), "1");
  EXPECT_EQ(text_of(io.get(), "triChannels"), "0110");
  EXPECT_EQ(post("/6093", R"({"camId": 2, "enable": 1, "type": 0, "volume": 45, "duration": 3,
                              "onEvent": 1, "offEvent": 1, "ongoingEvent": 0, "triActions": 1,
                              "triChannels": "1"})")
                .body,
            "OK");
  JsonPtr volume = JsonPtr(json_tokener_parse(get("/6092", "2").body.c_str()));
  ASSERT_TRUE(volume);
  EXPECT_EQ(text_of(volume.get(), "volume"), "45");
  EXPECT_EQ(text_of(volume.get(), "triChannels"), "1");
}

TEST_F(CameraEventsOnCoresim, FisheyeModesAndAddressCheck) {
  EXPECT_EQ(post("/6131", R"({"chnid": 3, "fishmount": 2, "fishdisplay": 4, "fishcorrect": 1})")
                .body,
            "OK");
  JsonPtr mode = post_json("/6130", R"({"id": 3})");
  ASSERT_TRUE(mode);
  EXPECT_EQ(text_of(mode.get(), "fishmount"), "2");
  EXPECT_EQ(text_of(mode.get(), "fishdisplay"), "4");
  JsonPtr check = post_json("/6196", R"({"ipaddr": "192.168.1.50", "port": 80})");
  ASSERT_TRUE(check);
  EXPECT_EQ(text_of(check.get(), "support"), "1");
  JsonPtr none = post_json("/6196", R"({"port": 80})");
  EXPECT_EQ(text_of(none.get(), "support"), "0");
  JsonPtr set = post_json("/6197", R"({"ipaddr": "192.168.1.50", "transfer": 1})");
  EXPECT_EQ(text_of(set.get(), "res"), "0");
}

TEST_F(CameraEventsOnCoresim, RegionalCountingSavedAndReadBack) {
  JsonPtr before = post_json("/6096", R"({"chnid": 1})");
  ASSERT_TRUE(before);
  EXPECT_EQ(text_of(array_at(json_member(before.get(), "regional"), 0), "enable"), "1");
  JsonPtr saved = post_json("/6097", R"({"chnid": 1, "sensitivity": 8,
      "regional": [{"enable": 1, "polygonX": "1,2,3", "polygonY": "4,5,6"}],
      "action": [{"interval": 25, "triChannels": "01"}]})");
  ASSERT_TRUE(saved);
  EXPECT_EQ(text_of(saved.get(), "res"), "0");
  JsonPtr after = post_json("/6096", R"({"chnid": 1})");
  ASSERT_TRUE(after);
  EXPECT_EQ(text_of(after.get(), "sensitivity"), "8");
  EXPECT_EQ(text_of(array_at(json_member(after.get(), "regional"), 0), "polygonX"), "1,2,3");
  json_object *action = array_at(json_member(after.get(), "action"), 0);
  EXPECT_EQ(text_of(action, "interval"), "25");
  EXPECT_EQ(text_of(action, "triChannels"), "01");
}

TEST_F(CameraEventsOnCoresim, SnapshotsAndPtzEntries) {
  EXPECT_EQ(post("/6177", R"({"resolution": 1, "quality": 2, "interval": 30, "interval_unit": 0,
                              "expiration_date": 5, "cnt": 2, "chnid": [0, 1]})")
                .body,
            "OK");
  JsonPtr settings = JsonPtr(json_tokener_parse(get("/6176", "1").body.c_str()));
  ASSERT_TRUE(settings);
  EXPECT_EQ(text_of(settings.get(), "interval"), "30");
  EXPECT_EQ(post("/6178", R"({"snapshotCnt": 1, "snapshotChnId": [0], "stopCnt": 0})").body,
            "OK");
  EXPECT_EQ(post("/6160", R"({"type": 2, "chn_id": 0, "acto_ptz_channel": 3,
                              "acto_ptz_type": 1, "acto_ptz_preset": 4})")
                .body,
            "OK");
  JsonPtr list = post_json("/6161", R"({"type": 2, "chn_id": 0})");
  ASSERT_TRUE(list);
  json_object *info = json_member(list.get(), "ptzInfo");
  ASSERT_EQ(array_length(info), 1);
  EXPECT_EQ(text_of(array_at(info, 0), "acto_ptz_preset"), "4");
}

}  // namespace
