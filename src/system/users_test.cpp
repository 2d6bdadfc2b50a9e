#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "system_test_support.h"

namespace {


std::string add_body(const std::string &name, const std::string &extra = "") {
  return R"({"name": ")" + name +
         R"(", "password": "0123456789abcdef0123456789abcdef", "type": 1,)"
         R"( "permission": 2, "remotePermission": -1)" +
         extra + "}";
}

class Users : public HandlerTest {
 protected:
  // Seeds enabled users with the given ids, named "user<id>".
  void seed(std::initializer_list<int> ids) {
    for (int id : ids) store_user(make_user(id, "user" + std::to_string(id), "d", 1));
  }
  std::vector<int> listed_ids() {
    JsonPtr list = parse_body(call("/6070"));
    std::vector<int> ids;
    if (!list || !json_object_is_type(list.get(), json_type_array)) return {-1};
    for (size_t i = 0; i < json_object_array_length(list.get()); i++) {
      ids.push_back(int_member(json_object_array_get_idx(list.get(), i), "id"));
    }
    return ids;
  }
  // Nothing was sent to the daemon (no notice, no log entry).
  void expect_nothing_sent() {
    settle(daemon());
    EXPECT_EQ(daemon().codes(), std::vector<int>(daemon().codes().size(), kSettleMarker));
  }
};

TEST_F(Users, AddStoresTheAccountNotifiesAndLogs) {
  std::string reply = call("/6071", add_body("alice", R"(, "localliveview": "1011",)"
                                                     R"( "remoteplayback": "01", "localEvent": 1,)"
                                                     R"( "remoteShutdown": 1, "id": 42)"));
  EXPECT_EQ(reply, kTextHeader + "id=0");

  user_info u = stored_user(0);
  EXPECT_EQ(u.id, 0);
  EXPECT_EQ(u.enable, 1);
  EXPECT_STREQ(u.name, "alice");
  EXPECT_STREQ(u.password, "0123456789abcdef0123456789abcdef");
  EXPECT_EQ(u.type, 1);
  EXPECT_EQ(u.permission, 2);
  EXPECT_EQ(u.remote_permission, -1);
  EXPECT_STREQ(u.local_liveview, "1011");
  EXPECT_STREQ(u.local_playback, "");
  EXPECT_STREQ(u.remote_playback, "01");
  EXPECT_EQ(u.channel_masks[USER_MASK_LOCAL_LIVEVIEW], 13u);  // bits 0, 2, 3
  EXPECT_EQ(u.channel_masks[USER_MASK_LOCAL_PLAYBACK], 0u);
  EXPECT_EQ(u.channel_masks[USER_MASK_REMOTE_PLAYBACK], 2u);
  EXPECT_EQ(u.local_rights[4], 1);   // event
  EXPECT_EQ(u.local_rights[0], 0);   // absent members stay 0
  EXPECT_EQ(u.remote_rights[9], 1);  // shutdown
  EXPECT_STREQ(u.created, "0");

  ASSERT_TRUE(daemon().wait_for(3485));
  auto notices = daemon().requests(3505);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_TRUE(notices[0].payload.empty());
  auto log = record_from<log_info>(daemon().requests(3485).at(0).payload);
  EXPECT_EQ(log.sub_type, 204);
  EXPECT_EQ(log.param_type, 921);
  EXPECT_STREQ(log.user_name, "admin");  // from the session cookie

  EXPECT_EQ(call("/6071", add_body("bob")), kTextHeader + "id=1");
}

TEST_F(Users, AddTakesTheLowestFreeSlot) {
  seed({0, 1, 2, 4});
  call("/6073", R"({"id": 1, "type": 1})");
  EXPECT_EQ(call("/6071", add_body("carol")), kTextHeader + "id=1");
  EXPECT_EQ(call("/6071", add_body("dave")), kTextHeader + "id=3");
  EXPECT_EQ(call("/6071", add_body("erin")), kTextHeader + "id=5");
}

TEST_F(Users, AddRefusesAHundredthAccountBeforeReadingTheRequest) {
  for (int id = 0; id < USER_MAX; id++) seed({id});
  EXPECT_EQ(call("/6071", "not json"), kTextHeader + "FAILED_FULL");
  EXPECT_EQ(call("/6071", add_body("zed")), kTextHeader + "FAILED_FULL");
  expect_nothing_sent();

  call("/6073", R"({"id": 57, "type": 0})");  // a deleted slot is free again
  EXPECT_EQ(call("/6071", add_body("zed")), kTextHeader + "id=57");
}

TEST_F(Users, AddIgnoresIncompleteOrInvalidRequests) {
  const char *bodies[] = {
      "{not json",
      R"({"name": "x", "permission": 0, "remotePermission": 0})",
      R"({"name": "x", "type": 4, "permission": 0, "remotePermission": 0})",
      R"({"name": "x", "type": 1, "remotePermission": 0})",
      R"({"name": "x", "type": 1, "permission": -2, "remotePermission": 0})",
      R"({"name": "x", "type": 1, "permission": 0})",
      R"({"name": "x", "type": 1, "permission": 0, "remotePermission": -2})",
  };
  for (const char *body : bodies) EXPECT_EQ(call("/6071", body), "") << body;
  int count = -1;
  ASSERT_EQ(read_user_count(KXDB_FILE, &count), 0);
  EXPECT_EQ(count, 0);
  expect_nothing_sent();
}

TEST_F(Users, NamesCollideOnTheirFirst31Characters) {
  const std::string name31(31, 'n');
  const std::string name40 = name31 + "123456789";
  store_user(make_user(3, name31, "d", 1));
  EXPECT_EQ(call("/6071", add_body(name40)), kTextHeader + "SAMEUSER");
  EXPECT_EQ(call("/6071", add_body(name31)), kTextHeader + "SAMEUSER");
  EXPECT_EQ(call("/6071", add_body(name31.substr(0, 30))), kTextHeader + "id=0");

  // A stored 40-character name is not found by its first 31 characters.
  EXPECT_EQ(call("/6071", add_body("m" + name40.substr(1))), kTextHeader + "id=1");
  EXPECT_STREQ(stored_user(1).name, ("m" + name40.substr(1)).c_str());  // add keeps 63
  EXPECT_EQ(call("/6071", add_body("m" + name40.substr(1))), kTextHeader + "id=2");

  // A deleted account's name is free.
  call("/6073", R"({"id": 3, "type": 1})");
  EXPECT_EQ(call("/6071", add_body(name31)), kTextHeader + "id=3");
}

TEST_F(Users, NoAccountWithoutAValidDigest) {
  // Adding needs the password's digest: 32 hexadecimal digits.
  for (const char *password : {"", "abc", "0123456789abcdef0123456789abcdeg",
                               "0123456789abcdef0123456789abcdef0"}) {
    std::string body = R"({"name": "u", "password": ")" + std::string(password) +
                       R"(", "type": 1, "permission": 1, "remotePermission": 1})";
    EXPECT_EQ(call("/6071", body), "") << password;
  }
  EXPECT_EQ(call("/6071", R"({"name": "u", "type": 1, "permission": 1, "remotePermission": 1})"),
            "");
  EXPECT_EQ(call("/6071", R"({"name": "u", "password": 5, "type": 1, "permission": 1,)"
                          R"( "remotePermission": 1})"),
            "");
  // Changing an unused id would create an enabled account without a password.
  EXPECT_EQ(call("/6072", R"({"id": 5, "name": "ghost", "type": 2})"), "");
  EXPECT_EQ(stored_user(5).enable, 0);
  store_user(make_user(6, "six", "0123456789abcdef0123456789abcdef", 1));
  EXPECT_EQ(call("/6072", R"({"id": 6, "password": ""})"), "");
  EXPECT_STREQ(stored_user(6).password, "0123456789abcdef0123456789abcdef");
  expect_nothing_sent();
}

TEST_F(Users, ChangeMergesThePresentMembers) {
  user_info before = make_user(2, "old", "d", 1);
  before.permission = 7;
  before.remote_permission = 8;
  before.local_rights[1] = 1;
  before.channel_masks[USER_MASK_LOCAL_LIVEVIEW] = 99;
  snprintf(before.local_liveview, sizeof before.local_liveview, "1");
  snprintf(before.created, sizeof before.created, "0");
  store_user(before);

  std::string body = R"({"id": 2, "name": "renamed", "password": "ABCDEF0123456789abcdef0123456789", "type": 2,)"
                     R"( "permission": 1, "remotePermission": 1, "localPlayback": 1,)"
                     R"( "localliveview": "0110"})";
  EXPECT_EQ(call("/6072", body), kTextHeader + "OK");
  user_info after = stored_user(2);
  EXPECT_EQ(after.enable, 1);
  EXPECT_STREQ(after.name, "renamed");
  EXPECT_STREQ(after.password, "ABCDEF0123456789abcdef0123456789");
  EXPECT_EQ(after.type, 2);
  EXPECT_EQ(after.permission, 7);  // the levels stay as stored
  EXPECT_EQ(after.remote_permission, 8);
  EXPECT_EQ(after.channel_masks[USER_MASK_LOCAL_LIVEVIEW], 99u);
  EXPECT_EQ(after.local_rights[0], 0);
  EXPECT_EQ(after.local_rights[1], 1);
  EXPECT_STREQ(after.local_liveview, "0110");
  EXPECT_STREQ(after.created, "0");

  ASSERT_TRUE(daemon().wait_for(3505));
  auto notices = daemon().requests(3505);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].payload, bytes_of_int(2));
  settle(daemon());
  EXPECT_TRUE(daemon().requests(3485).empty());  // changes are not logged
}

TEST_F(Users, RenamingOntoAnotherAccountIsRefused) {
  seed({2, 5});
  EXPECT_EQ(call("/6072", R"({"id": 2, "name": "user5", "type": 0})"), kTextHeader + "SAMEUSER");
  EXPECT_STREQ(stored_user(2).name, "user2");
  EXPECT_EQ(stored_user(2).type, 1);
  EXPECT_EQ(call("/6072", R"({"id": 2, "name": "user2", "type": 0})"), kTextHeader + "OK");
  EXPECT_EQ(stored_user(2).type, 0);

  // A rename keeps the 31 characters that were compared.
  EXPECT_EQ(call("/6072", R"({"id": 2, "name": ")" + std::string(40, 'r') + R"("})"),
            kTextHeader + "OK");
  EXPECT_EQ(std::string(stored_user(2).name), std::string(31, 'r'));
}

TEST_F(Users, DeleteZeroesTheSlotNotifiesAndLogs) {
  seed({0, 1, 2});
  EXPECT_EQ(call("/6073", R"({"id": 1, "type": 1})"), kTextHeader + "OK");
  user_info gone = stored_user(1);
  user_info zero = {};
  zero.id = 1;
  EXPECT_EQ(memcmp(&gone, &zero, sizeof zero), 0);

  ASSERT_TRUE(daemon().wait_for(3485));
  EXPECT_EQ(daemon().requests(3505).at(0).payload, bytes_of_int(1));
  auto log = record_from<log_info>(daemon().requests(3485).at(0).payload);
  EXPECT_EQ(log.sub_type, 204);
  EXPECT_EQ(log.param_type, 922);
  EXPECT_EQ(listed_ids(), (std::vector<int>{0, 2}));
}

TEST_F(Users, IdsOutOfRangeChangeAndDeleteNothing) {
  seed({0, 99});
  const char *changes[] = {R"({"id": 100, "name": "x"})", R"({"id": -1, "name": "x"})",
                           R"({"name": "x", "type": 0})", "nope"};
  for (const char *body : changes) EXPECT_EQ(call("/6072", body), "") << body;
  const char *deletes[] = {R"({"id": 100, "type": 0})", R"({"id": -1, "type": 0})",
                           R"({"id": 5, "type": 4})", R"({"id": 5})", R"({"type": 0})"};
  for (const char *body : deletes) EXPECT_EQ(call("/6073", body), "") << body;
  EXPECT_STREQ(stored_user(0).name, "user0");
  EXPECT_EQ(stored_user(0).enable, 1);
  EXPECT_EQ(listed_ids(), (std::vector<int>{0, 99}));
  expect_nothing_sent();

  EXPECT_EQ(call("/6072", R"({"id": 99, "type": 2})"), kTextHeader + "OK");
  EXPECT_EQ(call("/6073", R"({"id": 0, "type": 3})"), kTextHeader + "OK");
}

TEST_F(Users, TheListShowsEnabledAccountsInIdOrder) {
  user_info a = make_user(4, "alice", "digest-a", 0);
  a.permission = 3;
  a.remote_permission = 4;
  a.local_rights[9] = 1;
  a.remote_rights[0] = 1;
  snprintf(a.remote_liveview, sizeof a.remote_liveview, "%s", std::string(64, '1').c_str());
  store_user(a);
  seed({1, 7});
  user_info deleted = make_user(2, "gone", "d", 1);
  deleted.enable = 0;
  store_user(deleted);

  std::string reply = call("/6070");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  EXPECT_EQ(listed_ids(), (std::vector<int>{1, 4, 7}));
  JsonPtr list = parse_body(reply);
  ASSERT_TRUE(list);
  json_object *o = json_object_array_get_idx(list.get(), 1);
  const std::vector<std::string> order = {
      "id", "enable", "name", "password", "type", "permission", "localLiveView", "localPlayback",
      "localRetrieve", "localSmartAnalysis", "localEvent", "localCamera", "localStorage",
      "localSettings", "localStatus", "localShutdown", "localliveview", "localplayback",
      "remotePermission", "remoteLiveView", "remotePlayback", "remoteRetrieve",
      "remoteSmartAnalysis", "remoteEvent", "remoteCamera", "remoteStorage", "remoteSettings",
      "remoteStatus", "remoteShutdown", "remoteliveview", "remoteplayback"};
  EXPECT_EQ(member_names(o), order);
  EXPECT_EQ(int_member(o, "enable"), 1);
  EXPECT_EQ(text_member(o, "name"), "alice");
  EXPECT_EQ(text_member(o, "password"), "digest-a");
  EXPECT_EQ(int_member(o, "type"), 0);
  EXPECT_EQ(int_member(o, "permission"), 3);
  EXPECT_EQ(int_member(o, "remotePermission"), 4);
  EXPECT_EQ(int_member(o, "localShutdown"), 1);
  EXPECT_EQ(int_member(o, "remoteLiveView"), 1);
  EXPECT_EQ(text_member(o, "remoteliveview"), std::string(64, '1'));

  reset_settings();
  EXPECT_EQ(listed_ids(), std::vector<int>{});
}

TEST_F(Users, AFailedWriteIsAnErrorWithoutNoticeOrLogEntry) {
  BrokenSettings broken;
  const std::string error = kTextHeader + "CGI ERROR";
  EXPECT_EQ(call("/6071", add_body("new")), error);
  // ("/6072" changes only an existing account, which a broken database has not.)
  EXPECT_EQ(call("/6073", R"({"id": 1, "type": 1})"), error);
  expect_nothing_sent();
}

TEST_F(Users, TheBrandingListComesFromItsOwnDatabase) {
  EXPECT_EQ(call("/6074"), "");  // no branding database: no reply

  user_oem_info oem[3] = {};
  for (int i = 0; i < 3; i++) {
    oem[i].id = i;
    oem[i].enable = i != 1;
    snprintf(oem[i].name, sizeof oem[i].name, "oem%d", i);
    snprintf(oem[i].password, sizeof oem[i].password, "pw%d", i);
    oem[i].type = i;
    oem[i].permission = 10 + i;
    oem[i].remote_permission = 20 + i;
    ASSERT_EQ(write_user_oem(OEM_DB_FILE, &oem[i]), 0);
  }
  std::string reply = call("/6074");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr list = parse_body(reply);
  ASSERT_TRUE(list);
  ASSERT_EQ(json_object_array_length(list.get()), 2u);
  json_object *o = json_object_array_get_idx(list.get(), 1);
  EXPECT_EQ(member_names(o), (std::vector<std::string>{"id", "enable", "name", "password", "type",
                                                       "permission", "remotePermission"}));
  EXPECT_EQ(int_member(o, "id"), 2);
  EXPECT_EQ(text_member(o, "name"), "oem2");
  EXPECT_EQ(text_member(o, "password"), "pw2");
  EXPECT_EQ(int_member(o, "type"), 2);
  EXPECT_EQ(int_member(o, "permission"), 12);
  EXPECT_EQ(int_member(o, "remotePermission"), 22);
  int count = -1;
  ASSERT_EQ(read_user_count(KXDB_FILE, &count), 0);
  EXPECT_EQ(count, 0);  // the recorder's own accounts are untouched
}

TEST_F(Users, NoticesToTheDaemon) {
  daemon().answer(3265, bytes_of_int(-3));
  EXPECT_EQ(call("/6075"), kTextHeader + "-3");
  daemon().silent(3265);
  EXPECT_EQ(call("/6075"), "Content-type: application/json\r\n\r\n{status:\"CGI ERROR\"}");

  EXPECT_EQ(call("/6076"), kTextHeader + "OK");
  EXPECT_EQ(call("/6077"), kTextHeader + "OK");
  ASSERT_TRUE(daemon().wait_for(3505));
  ASSERT_TRUE(daemon().wait_for(3267));
  EXPECT_TRUE(daemon().requests(3267).at(0).payload.empty());
  EXPECT_TRUE(daemon().requests(3505).at(0).payload.empty());
}

}  // namespace
