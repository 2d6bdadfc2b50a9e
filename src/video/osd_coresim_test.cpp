// The OSD and privacy-mask pages end to end: the built program against
// coresim, as the demo runs them. What the pages write to the cameras comes
// back from the cameras' own answers.
#include <gtest/gtest.h>

#include "cgi_runner.h"
#include "coresim_fixture.h"
#include "json_codecs.h"

namespace {

using OsdOnCoresim = CoresimTest;

std::string text_of(json_object *object, const char *key) {
  json_object *v = json_member(object, key);
  return v ? json_object_get_string(v) : "<none>";
}

TEST_F(OsdOnCoresim, RecorderOsdStoredAndRenamed) {
  EXPECT_EQ(post("/6001", R"({"camId": 2, "camName": "Lobby", "showName": 1, "showDate": 1,
                              "showWeek": 1, "dateFormat": 2, "timeFormat": 1, "datePosX": 0.25,
                              "datePosY": 0.1, "namePosX": 0.5, "namePosY": 0.75, "alpha": 3})")
                .body,
            "OK");
  EXPECT_EQ(post("/6002", R"({"camId": 2, "camName": "Lobby east"})").body, "OK");
  JsonPtr osd = get_json("/6000", "2");
  ASSERT_TRUE(osd);
  EXPECT_EQ(text_of(osd.get(), "camName"), "Lobby east");
  EXPECT_EQ(text_of(osd.get(), "dateFormat"), "2");
  EXPECT_EQ(json_object_get_double(json_member(osd.get(), "datePosX")), 0.25);
  EXPECT_EQ(json_object_get_double(json_member(osd.get(), "datePosY")), 0.1);
}

TEST_F(OsdOnCoresim, CameraOsdWrittenAndReadBack) {
  JsonPtr before = post_json("/6997", R"({"id": 1})");
  ASSERT_TRUE(before);
  EXPECT_EQ(text_of(before.get(), "text_name"), "Car park");
  EXPECT_EQ(text_of(before.get(), "disconnect"), "1");
  EXPECT_EQ(post("/6996", R"({"ch": 1, "enable_text": 1, "text_name": "Car park west",
                              "textpos": 2, "enable_date": 0, "datepos": 1, "dateformat": 3,
                              "fontSize": 2, "text_name_sub": "West"})")
                .body,
            "OK");
  JsonPtr after = post_json("/6997", R"({"id": 1})");
  ASSERT_TRUE(after);
  EXPECT_EQ(text_of(after.get(), "text_name"), "Car park west");
  EXPECT_EQ(text_of(after.get(), "text_name_sub"), "West");
  EXPECT_EQ(text_of(after.get(), "dateformat"), "3");
  // A channel without a camera is disconnected and takes no OSD.
  JsonPtr none = post_json("/6997", R"({"id": 20})");
  ASSERT_TRUE(none);
  EXPECT_EQ(text_of(none.get(), "disconnect"), "0");
  EXPECT_EQ(post("/6996", R"({"ch": 20, "enable_text": 1, "text_name": "x", "textpos": 0,
                              "enable_date": 0, "datepos": 0, "dateformat": 0, "fontSize": 0})")
                .body,
            "NO_SUPPORT");
}

TEST_F(OsdOnCoresim, CameraMasksSetShownAndDeleted) {
  EXPECT_EQ(post("/6019", R"({"cnt": 2, "chnid": [0, 3], "enable": 1, "num": 2, "mosaicNum": 0,
                              "areaMaskEnable": 1, "area": [
                                {"area_id": 0, "enable": 1, "start_x": 10, "start_y": 20,
                                 "area_width": 100, "area_height": 50, "name": "door"},
                                {"area_id": 1, "enable": 1, "start_x": 200, "start_y": 30,
                                 "area_width": 40, "area_height": 40, "name": "window"}]})")
                .body,
            "OK");
  EXPECT_EQ(post("/6173", R"({"chan_id": 3, "area_id": 0})").body, "OK");
  JsonPtr zero = post_json("/6115", R"({"id": 0})");
  JsonPtr three = post_json("/6115", R"({"id": 3})");
  ASSERT_TRUE(zero && three);
  json_object *areas0 = json_member(json_object_array_get_idx(zero.get(), 0), "area");
  json_object *areas3 = json_member(json_object_array_get_idx(three.get(), 0), "area");
  EXPECT_EQ(text_of(json_object_array_get_idx(areas0, 0), "name"), "door");
  EXPECT_EQ(text_of(json_object_array_get_idx(areas0, 0), "right"), "100");
  EXPECT_EQ(text_of(json_object_array_get_idx(areas3, 0), "enable"), "0");  // deleted
  EXPECT_EQ(text_of(json_object_array_get_idx(areas3, 1), "name"), "window");
  JsonPtr edit = post_json("/6198", R"({"chnid": 3, "maskid": 1})");
  ASSERT_TRUE(edit);
  EXPECT_EQ(text_of(edit.get(), "res"), "0");
  JsonPtr model = post_json("/6116", R"({"id": 0})");
  ASSERT_TRUE(model);
  EXPECT_NE(text_of(model.get(), "result"), "<none>");
}

}  // namespace
