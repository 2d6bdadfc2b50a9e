// The day/night, image area, camera schedule and camera motion pages end to
// end: the built program against coresim, as the demo runs them.
#include <gtest/gtest.h>

#include "cgi_runner.h"
#include "coresim_fixture.h"
#include "json_codecs.h"

namespace {

using DayNightOnCoresim = CoresimTest;

int int_of(json_object *o, const char *key) { return json_object_get_int(json_member(o, key)); }
std::string text_of(json_object *o, const char *key) {
  const char *t = json_object_get_string(json_member(o, key));
  return t ? t : "<missing>";
}
json_object *at(json_object *o, int i) { return json_object_array_get_idx(o, i); }

TEST_F(DayNightOnCoresim, DayNightPeriodsSaveAndReadBack) {
  JsonPtr before = post_json("/2037", R"({"id": 1})");
  ASSERT_TRUE(before);
  EXPECT_EQ(int_of(at(json_member(before.get(), "image"), 1), "startHour"), 18);
  EXPECT_EQ(post("/2047", R"({"type": 0, "cnt": 2, "chnid": [1, 2],
      "image": [{"enable": 1, "startHour": 7, "gainLevel": 33}]})").body, "OK");
  for (int ch : {1, 2}) {
    JsonPtr after = post_json("/2037", "{\"id\": " + std::to_string(ch) + "}");
    json_object *first = at(json_member(after.get(), "image"), 0);
    EXPECT_EQ(int_of(first, "startHour"), 7) << ch;
    EXPECT_EQ(int_of(first, "gainLevel"), 33) << ch;
  }
  EXPECT_EQ(post("/2038", R"({"channel": 3, "id": 4, "enable": 1, "endHour": 22})").body, "OK");
  JsonPtr three = post_json("/2037", R"({"id": 3})");
  EXPECT_EQ(int_of(at(json_member(three.get(), "image"), 4), "endHour"), 22);
}

TEST_F(DayNightOnCoresim, AreasSaveAndClear) {
  EXPECT_EQ(post("/2040", R"({"enable": 1, "cnt": 1, "chnid": [2],
      "area": [{}, {"enable": 1, "left": 5, "top": 6, "right": 70, "bottom": 80}]})").body,
            "OK");
  JsonPtr areas = post_json("/2039", R"({"id": 2})");
  ASSERT_TRUE(areas);
  EXPECT_EQ(text_of(areas.get(), "sdkversion"), "V2.4.1");
  EXPECT_EQ(int_of(at(json_member(areas.get(), "area"), 1), "right"), 70);
  EXPECT_EQ(post("/2050", R"({"chan_id": 2, "area_id": 1})").body, "OK");
  areas = post_json("/2039", R"({"id": 2})");
  EXPECT_EQ(int_of(at(json_member(areas.get(), "area"), 1), "right"), 0);
}

TEST_F(DayNightOnCoresim, SchedulesSaveAndReadBack) {
  const char *body = R"({"channel": [0, 3], "schedule": [[["08:00", "17:00", 2, 60, 12]]]})";
  for (const char *path : {"/2042", "/2044", "/2046"}) EXPECT_EQ(post(path, body).body, "OK");
  for (const char *path : {"/2041", "/2043", "/2045"}) {
    JsonPtr s = post_json(path, R"({"id": 3})");
    ASSERT_TRUE(s) << path;
    json_object *plan = at(at(json_member(s.get(), "schedule"), 0), 0);
    EXPECT_EQ(text_of(plan, "startTime"), "08:00") << path;
    EXPECT_EQ(int_of(plan, "actionType"), 2) << path;
  }
  JsonPtr exposure = post_json("/2043", R"({"id": 0})");
  EXPECT_EQ(int_of(at(at(json_member(exposure.get(), "schedule"), 0), 0), "gainLevel"), 12);
  JsonPtr untouched = post_json("/2041", R"({"id": 1})");
  EXPECT_EQ(text_of(at(at(json_member(untouched.get(), "schedule"), 0), 0), "startTime"),
            "18:00");
}

TEST_F(DayNightOnCoresim, MotionConfigCopiesAndEventQueryAnswers) {
  JsonPtr set = post_json("/2052", R"({"chnid": 1, "copyChn": [2], "copyCnt": 1,
      "enable": 1, "sensitivity": 9, "map_mask": "0011",
      "effective": [[["01:00", "02:00"]]]})");
  ASSERT_TRUE(set);
  EXPECT_EQ(int_of(set.get(), "res"), 0);
  for (int ch : {1, 2}) {
    JsonPtr m = post_json("/2051", "{\"chnid\": " + std::to_string(ch) + "}");
    ASSERT_TRUE(m) << ch;
    EXPECT_EQ(int_of(m.get(), "chnid"), ch);
    EXPECT_EQ(int_of(m.get(), "sensitivity"), 9);
    EXPECT_EQ(text_of(m.get(), "map_mask"), "0011");
    EXPECT_EQ(text_of(at(at(json_member(m.get(), "effective"), 0), 0), "endTime"), "02:00");
  }
  EXPECT_EQ(post("/2053", R"({"chnid": 1, "mainType": 1, "subType": 2, "time": "x"})").body,
            "chnid=1&mainType=1&subType=2&time=x&count=0");
}

TEST_F(DayNightOnCoresim, ExposureListAndEffectiveSchedules) {
  EXPECT_EQ(post("/2048", R"({"channel": 1, "exposure": [{"exposureTime": 20,
      "gainLevel": 4}]})").body, "OK");
  JsonPtr list = post_json("/2049", R"({"channel": 1})");
  ASSERT_TRUE(list);
  EXPECT_EQ(int_of(at(json_member(list.get(), "exposure"), 0), "exposureTime"), 20);
  EXPECT_EQ(post("/2036", R"({"channel": 1, "start": 1, "end": 1,
      "schedule_region_entrance": [[["09:00", "10:00", 1]]]})").body, "OK");
  JsonPtr all = post_json("/2035", R"({"channel": 1})");
  ASSERT_TRUE(all);
  json_object *entrance = json_member(all.get(), "schedule_region_entrance");
  EXPECT_EQ(text_of(at(at(entrance, 0), 0), "startTime"), "09:00");
}

}  // namespace
