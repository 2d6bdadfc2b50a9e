// System exceptions: action words and HTTP targets by type name.
#include "kxdb_exception.h"
#include "video_loss.h"
#include "video_test_util.h"

namespace {

using Exceptions = VideoTest;

const std::string kSuccess = kJsonHeader + "{\"status\":\"CGI SUCCESS\"}";

std::string named_types() {
  std::string out;
  for (int i = 0; i < EXCEPTION_HTTP_TYPES; i++) {
    char name[EXCEPTION_NAME_SIZE];
    EXPECT_EQ(get_exception_name(i, name, sizeof name), 0);
    out += std::string(name) + ",";
  }
  return out;
}

TEST_F(Exceptions, NamesAreFixedAndSomeTypesHaveNone) {
  std::string names = named_types();
  EXPECT_NE(names.find(",,"), std::string::npos) << names;
  char name[EXCEPTION_NAME_SIZE] = "x";
  EXPECT_EQ(get_exception_name(14, name, sizeof name), -1);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(get_exception_name(-1, name, sizeof name), -1);
  char small[4];
  EXPECT_EQ(get_exception_name(0, small, sizeof small), 0);
  EXPECT_EQ(strlen(small), 3u);
}

TEST_F(Exceptions, StoredActionsAndTargetsReadBack) {
  std::string url = "http://cam.example/alarm?a=%41&b=" + std::string(600, 'u');
  std::string user(120, 'n');
  std::string body = R"({"exception": [1, 2, 3, 4, 5, 6, 7, 8, 9],
                         "recordFailedMailInterval": 15,
                         "httpParams": {"diskFull": {"url": ")" + url + R"(", "username": ")" +
                     user + R"(", "password": "p%w"}, "unknownType": {"url": "x"}}})";
  EXPECT_EQ(call("/6998", body), kSuccess);
  EXPECT_EQ(codes(), (std::vector<int>{2104, 3394}));

  http_notification_params records[EXCEPTION_HTTP_TYPES] = {};
  ASSERT_EQ(read_http_notification_params_init(KXDB_FILE, EXCEPTION_HTTP_TABLE, records,
                                               EXCEPTION_HTTP_TYPES),
            0);
  EXPECT_EQ(records[0].channel, 0);
  EXPECT_EQ(records[1].channel, -1);  // not in the request

  JsonPtr reply = parse_body(call("/6999"));
  EXPECT_EQ(member_names(reply.get()),
            (std::vector<std::string>{"httpParams", "exception", "recordFailedMailInterval"}));
  json_object *actions = json_member(reply.get(), "exception");
  ASSERT_EQ(json_object_array_length(actions), 12u);
  EXPECT_EQ(json_object_get_int(json_object_array_get_idx(actions, 8)), 9);
  EXPECT_EQ(json_object_get_int(json_object_array_get_idx(actions, 9)), 0);  // missing: 0
  EXPECT_EQ(int_member(reply.get(), "recordFailedMailInterval"), 15);
  json_object *targets = json_member(reply.get(), "httpParams");
  json_object *disk = json_member(targets, "diskFull");
  EXPECT_EQ(text_member(disk, "url"), url.substr(0, 512));  // "%" kept as it came
  EXPECT_EQ(text_member(disk, "username"), user.substr(0, 96));
  EXPECT_EQ(text_member(disk, "password"), "p%w");
  // Every named type is shown, the types without a name are not.
  std::vector<std::string> shown = member_names(targets);
  EXPECT_EQ(shown.size(), 12u);
  for (const std::string &name : shown) EXPECT_FALSE(name.empty());
  EXPECT_EQ(json_member(targets, "unknownType"), nullptr);
}

TEST_F(Exceptions, ShortArraysAndFailedWritesChangeNothing) {
  EXPECT_EQ(call("/6998", R"({"exception": [1, 2, 3, 4, 5, 6, 7], "httpParams": {}})"), "");
  EXPECT_EQ(call("/6998", R"({"httpParams": {}})"), "");
  EXPECT_EQ(call("/6998", "{"), "");
  EXPECT_TRUE(codes().empty());
  trigger_alarms_params t = {};
  ASSERT_EQ(read_trigger_alarms(KXDB_FILE, &t), 0);
  EXPECT_EQ(t.actions[0], 0);

  // Without "httpParams" the targets are left alone.
  EXPECT_EQ(call("/6998", R"({"exception": [1, 1, 1, 1, 1, 1, 1, 1]})"), kSuccess);
  EXPECT_EQ(codes(), (std::vector<int>{2104}));

  forget();
  BrokenSettings broken;
  EXPECT_EQ(call("/6998", R"({"exception": [1, 1, 1, 1, 1, 1, 1, 1], "httpParams": {}})"),
            kJsonError);
  EXPECT_TRUE(codes().empty());
}

}  // namespace
