// The people-counting, POS and face-detection pages end to end: the built
// program against coresim, as the demo runs them.
#include <gtest/gtest.h>

#include "coresim_fixture.h"
#include "json_codecs.h"

namespace {

using AnalyticsOnCoresim = CoresimTest;

int int_of(json_object *o, const char *key) {
  return json_object_get_int(json_member(o, key));
}
std::string text_of(json_object *o, const char *key) {
  const char *t = json_object_get_string(json_member(o, key));
  return t ? t : "<missing>";
}

TEST_F(AnalyticsOnCoresim, PeopleCountingPagesSaveAndShow) {
  EXPECT_EQ(int_of(post_json("/2067", R"({"groups": [{"enable": 1, "name": "Entrance"},
                                                     {"enable": 1, "name": "Shop floor"}]})")
                       .get(),
                   "res"),
            0);
  JsonPtr groups = post_json("/2066", R"({"action": 0})");
  json_object *list = json_member(groups.get(), "groups");
  ASSERT_EQ(array_length(list), 9);
  EXPECT_EQ(text_of(array_at(list, 1), "name"), "Shop floor");
  EXPECT_EQ(int_of(array_at(list, 8), "groupid"), 8);

  EXPECT_EQ(int_of(post_json("/2070", R"({"groupid": 1, "interval": 45, "triAlarms": 2})").get(),
                   "res"),
            0);
  JsonPtr action = post_json("/2069", R"({"groupid": 1})");
  EXPECT_EQ(int_of(action.get(), "interval"), 45);
  EXPECT_EQ(int_of(action.get(), "chnid"), 1);
  EXPECT_EQ(int_of(post_json("/2071", R"({"groupid": 1})").get(), "res"), 0);
  EXPECT_EQ(int_of(post_json("/2072", R"({"groupid": 8})").get(), "res"), 0);
  EXPECT_EQ(post("/2071", R"({"groupid": 9})").body, "{status:\"CGI ERROR\"}");
}

TEST_F(AnalyticsOnCoresim, PosAndReportPagesSaveAndShow) {
  EXPECT_EQ(int_of(post_json("/2074", R"({"id": 2, "enable": 1, "name": "Front till",
                                         "ip": "192.168.1.60", "port": 9100,
                                         "action": {"audioId": 1}})")
                       .get(),
                   "res"),
            0);
  JsonPtr pos = post_json("/2073", R"({"id": 2})");
  json_object *entry = array_at(json_member(pos.get(), "pos"), 2);
  EXPECT_EQ(text_of(entry, "name"), "Front till");
  EXPECT_EQ(int_of(entry, "port"), 9100);
  EXPECT_EQ(int_of(json_member(pos.get(), "action"), "audioId"), 1);

  EXPECT_EQ(int_of(post_json("/2076", R"({"report": [{"enable": 1, "backupTime": "23:00"}]})")
                       .get(),
                   "res"),
            0);
  JsonPtr reports = get_json("/2075");
  EXPECT_EQ(text_of(array_at(json_member(reports.get(), "report"), 0), "backupTime"), "23:00");
  EXPECT_EQ(int_of(reports.get(), "email"), 1);
}

TEST_F(AnalyticsOnCoresim, FaceConfigurationIsTaken) {
  JsonPtr reply = post_json("/2077", R"({"chnId": 3, "enable": 1, "width": 1920,
                                        "action": {"interval": 10}})");
  ASSERT_TRUE(reply);
  EXPECT_EQ(int_of(reply.get(), "status"), 0);
  EXPECT_EQ(post("/2077", R"({"chnId": 16})").body, "{status:\"CGI ERROR\"}");
}

}  // namespace
