// The plate-recognition pages end to end: the built program against coresim.
// Wildcards written to a camera come back from its next read.
#include <gtest/gtest.h>

#include "cgi_runner.h"
#include "coresim_fixture.h"
#include "json_codecs.h"

namespace {

using AnprOnCoresim = CoresimTest;

int int_of(json_object *object, const char *key) {
  json_object *v = json_member(object, key);
  return v ? json_object_get_int(v) : -999;
}

TEST_F(AnprOnCoresim, SupportAndZoomAnswer) {
  JsonPtr support = post_json("/6186", R"({"chnid": 1})");
  ASSERT_TRUE(support);
  EXPECT_EQ(int_of(support.get(), "vca_support"), 1);
  JsonPtr zoom = post_json("/6189", R"({"chnid": 1})");
  ASSERT_TRUE(zoom);
  EXPECT_EQ(int_of(zoom.get(), "chnid"), 1);
  EXPECT_EQ(int_of(zoom.get(), "zoomNumber"), 1);
}

TEST_F(AnprOnCoresim, WildcardsWrittenAndReadBack) {
  JsonPtr before = post_json("/6190", R"({"chnid": 4})");
  ASSERT_TRUE(before);
  EXPECT_EQ(json_object_array_length(json_member(before.get(), "wildcards")), 9u);
  EXPECT_EQ(post("/6191", R"({"chnid": 4, "filter": 0, "maxPlateCharNum": 10,
                              "wildcards": [{"enable": 1, "cr_count": 6, "format": "999-AAA"}]})")
                .body,
            "OK");
  JsonPtr after = post_json("/6190", R"({"chnid": 4})");
  ASSERT_TRUE(after);
  EXPECT_EQ(int_of(after.get(), "maxPlateCharNum"), 10);
  json_object *first = json_object_array_get_idx(json_member(after.get(), "wildcards"), 0);
  EXPECT_STREQ(json_object_get_string(json_member(first, "format")), "999-AAA");
  EXPECT_EQ(int_of(json_object_array_get_idx(json_member(after.get(), "wildcards"), 1), "enable"), 0);
}

}  // namespace

namespace {

TEST_F(AnprOnCoresim, SettingsLoadWithPolygons) {
  JsonPtr settings = post_json("/6181", R"({"chnid": 2})");
  ASSERT_TRUE(settings);
  EXPECT_EQ(int_of(settings.get(), "chnid"), 2);
  EXPECT_EQ(int_of(settings.get(), "aitype"), 12);
  EXPECT_EQ(json_object_array_length(json_member(settings.get(), "normalPolygons")), 4u);
  json_object *entry = json_object_array_get_idx(
      json_object_array_get_idx(json_member(settings.get(), "preset"), 0), 1);
  EXPECT_STREQ(json_object_get_string(json_member(entry, "name")), "Exit");
}

}  // namespace

namespace {

TEST_F(AnprOnCoresim, ModeActionsStoredAndReadBack) {
  EXPECT_EQ(post("/6180", R"({"chnid": 1, "mode": 0, "enable": 1, "dialog": {"interval": 25}})")
                .body,
            "OK");
  JsonPtr black = post_json("/6179", R"({"chnid": 1, "mode": 0})");
  ASSERT_TRUE(black);
  EXPECT_EQ(int_of(black.get(), "enable"), 1);
  EXPECT_EQ(int_of(black.get(), "interval"), 25);
  JsonPtr white = post_json("/6179", R"({"chnid": 1, "mode": 1})");
  ASSERT_TRUE(white);
  EXPECT_EQ(int_of(white.get(), "interval"), 0);
}

}  // namespace
