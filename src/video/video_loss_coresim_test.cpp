// Video loss, alarm-input schedules and exceptions end to end: the built
// program against coresim, as the demo runs them. Every change is a notice
// that coresim journals.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "cgi_runner.h"
#include "coresim_fixture.h"
#include "json_codecs.h"

namespace {

using VideoLossOnCoresim = CoresimTest;

// Notices are sent without waiting: give coresim a moment to journal them.
bool journaled(const std::string &line) {
  for (int i = 0; i < 100; i++) {
    if (read_file("/var/run/coresim.journal").find(line) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

int int_of(json_object *object, const char *key) {
  return json_object_get_int(json_member(object, key));
}

TEST_F(VideoLossOnCoresim, VideoLossPageStoredCopiedAndShown) {
  EXPECT_EQ(post("/6016", R"({"camId": 1, "enable": 1, "triAlarms": 3, "interval": 10})").body,
            "OK");
  EXPECT_TRUE(journaled("request 1402 length 4"));
  EXPECT_EQ(post("/6095", R"({"chnid": 1, "dialog": {"audioId": 2, "email_interval": 60},
                              "copyCnt": 1, "copyChn": [6]})")
                .body,
            "OK");
  EXPECT_TRUE(journaled("request 1414 length 8"));
  JsonPtr page = post_json("/6094", R"({"chnid": 6})");
  ASSERT_TRUE(page);
  EXPECT_EQ(int_of(page.get(), "chnid"), 6);
  EXPECT_EQ(int_of(page.get(), "triAlarms"), 3);
  EXPECT_EQ(int_of(page.get(), "email_interval"), 60);
  EXPECT_EQ(int_of(page.get(), "enable"), 2);
  JsonPtr basic = get_json("/6014", "6");
  ASSERT_TRUE(basic);
  EXPECT_EQ(int_of(basic.get(), "interval"), 10);
}

TEST_F(VideoLossOnCoresim, AlarmInputArmingAndExceptions) {
  EXPECT_EQ(post("/6170", R"({"camId": 2, "schedule": [[["08:00", "18:00", 1]]]})").body, "OK");
  EXPECT_TRUE(journaled("request 1404 length 4"));
  JsonPtr days = get_json("/6169", "2");
  ASSERT_TRUE(days);
  json_object *plan = json_object_array_get_idx(json_object_array_get_idx(days.get(), 0), 0);
  EXPECT_STREQ(json_object_get_string(json_member(plan, "endTime")), "18:00");

  EXPECT_EQ(post("/6998", R"({"exception": [1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0],
                              "httpParams": {"diskFull": {"url": "http://h/x"}}})")
                .body,
            "{\"status\":\"CGI SUCCESS\"}");
  EXPECT_TRUE(journaled("request 2104 length 0"));
  EXPECT_TRUE(journaled("request 3394 length 0"));
  JsonPtr exceptions = get_json("/6999");
  ASSERT_TRUE(exceptions);
  json_object *disk = json_member(json_member(exceptions.get(), "httpParams"), "diskFull");
  EXPECT_STREQ(json_object_get_string(json_member(disk, "url")), "http://h/x");
}

}  // namespace
