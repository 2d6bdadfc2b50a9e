// The analytics pages end to end: the built program against coresim, as the
// demo runs them. Rules written to a camera come back from its answers,
// converted between the camera's 1920 x 1080 and the page's canvas.
#include <gtest/gtest.h>

#include "cgi_runner.h"
#include "coresim_fixture.h"
#include "json_codecs.h"

namespace {

using VcaOnCoresim = CoresimTest;

std::string text_of(json_object *object, const char *key) {
  json_object *v = json_member(object, key);
  return v ? json_object_get_string(v) : "<none>";
}

TEST_F(VcaOnCoresim, LineRuleWrittenAndReadBack) {
  JsonPtr before = post_json("/6138", R"({"channel": 2})");
  ASSERT_TRUE(before);
  EXPECT_EQ(text_of(before.get(), "width"), "1920");
  EXPECT_EQ(text_of(array_at(json_member(before.get(), "line"), 0), "position"),
            "115;130;345;130");
  EXPECT_EQ(post("/6139", R"({"chnid": 2, "enable": 1, "objtype": 1, "width": 1920,
                              "height": 1080, "line": [{"position": "100;50;200;150",
                              "direction": 2}]})")
                .body,
            "OK");
  JsonPtr after = post_json("/6138", R"({"channel": 2})");
  ASSERT_TRUE(after);
  json_object *line = array_at(json_member(after.get(), "line"), 0);
  EXPECT_EQ(text_of(line, "position"), "100;50;200;150");
  EXPECT_EQ(text_of(line, "direction"), "2");
  EXPECT_EQ(text_of(after.get(), "enable"), "1");
}

TEST_F(VcaOnCoresim, AreaRuleAndItsActions) {
  EXPECT_EQ(post("/6141", R"({"chnid": 1, "type": 5, "enable": 1, "time": 20, "size": 3,
                              "region": "R", "polygonX": "1,2", "polygonY": "3,4",
                              "copyChn": "0001", "dialog": {"chnid": 1, "triAlarms": 2,
                              "triChannels": "11"}})")
                .body,
            "OK");
  JsonPtr rule = post_json("/6140", R"({"channel": 1})");
  ASSERT_TRUE(rule);
  EXPECT_EQ(text_of(rule.get(), "time"), "20");
  EXPECT_EQ(text_of(rule.get(), "polygonX"), "1,2");
  for (int channel : {1, 3}) {
    JsonPtr actions =
        post_json("/6151", R"({"channel": )" + std::to_string(channel) + R"(, "type": 5})");
    ASSERT_TRUE(actions);
    EXPECT_EQ(text_of(actions.get(), "triAlarms"), "2") << channel;
    EXPECT_EQ(text_of(actions.get(), "triChannels"), "11") << channel;
  }
}

TEST_F(VcaOnCoresim, SettingsSupportAndReset) {
  JsonPtr settings = post_json("/6146", R"({"channel": 0})");
  ASSERT_TRUE(settings);
  json_object *size = array_at(json_member(settings.get(), "position"), 0);
  EXPECT_EQ(text_of(size, "maxWidth"), "460");
  EXPECT_EQ(text_of(size, "minWidth"), "10");
  JsonPtr classes = post_json("/6194", R"({"channel": 0})");
  ASSERT_TRUE(classes);
  EXPECT_EQ(json_object_array_length(json_member(classes.get(), "position")), 8u);
  JsonPtr support = post_json("/6157", R"({"channel": 0})");
  ASSERT_TRUE(support);
  EXPECT_EQ(text_of(support.get(), "support"), "1");
  EXPECT_EQ(post("/6154", R"({"channel": 0, "line": 0, "resetdb": 1})").body, "OK");
  EXPECT_EQ(post("/6147", R"({"chnid": 0, "width": 1920, "height": 1080,
                              "position": [{"maxWidth": 230}]})")
                .body,
            "OK");
  settings = post_json("/6146", R"({"channel": 0})");
  ASSERT_TRUE(settings);
  size = array_at(json_member(settings.get(), "position"), 0);
  EXPECT_EQ(text_of(size, "maxWidth"), "230");
}

TEST_F(VcaOnCoresim, EveryRuleReads) {
  for (const char *path : {"/6132", "/6134", "/6136", "/6140", "/6142", "/6144", "/6172"}) {
    JsonPtr reply = post_json(path, R"({"channel": 0, "type": 0})");
    EXPECT_TRUE(reply && json_object_is_type(reply.get(), json_type_object)) << path;
  }
  JsonPtr line2 = post_json("/6192", R"({"chnid": 0})");
  ASSERT_TRUE(line2);
  EXPECT_EQ(text_of(line2.get(), "height"), "1080");
}

}  // namespace
