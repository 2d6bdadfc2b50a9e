#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "system_test_support.h"

namespace {

// MD5 of "secret", as the page sends it.
const std::string kDigest = "5ebe2294ecd0e0f08eab7690d2a6ee69";

std::string upper(std::string s) {
  for (char &c : s) c = (char)toupper((unsigned char)c);
  return s;
}

std::string login_body(const std::string &name, const std::string &md5) {
  return R"({"userName": ")" + name + R"(", "md5": ")" + md5 + R"("})";
}

class Login : public HandlerTest {
 protected:
  // The login's answer "type", after checking the reply is a JSON object
  // sent with the text header.
  int login_type(const std::string &name, const std::string &md5) {
    std::string reply = call("/1000", login_body(name, md5));
    EXPECT_EQ(reply_header(reply), "Content-type: text/plain\r\n");
    JsonPtr body = parse_body(reply);
    if (!body) return -100;
    return int_member(body.get(), "type");
  }
  // The whole reply body of a refused login, as member names.
  std::vector<std::string> refused_members(const std::string &name, const std::string &md5) {
    JsonPtr body = parse_body(call("/1000", login_body(name, md5)));
    return body ? member_names(body.get()) : std::vector<std::string>{"<not json>"};
  }
};

TEST_F(Login, TheDigestMatchesInEitherCase) {
  store_user(make_user(0, "admin", kDigest, 0));
  store_user(make_user(1, "viewer", upper(kDigest), 2));
  EXPECT_EQ(login_type("admin", kDigest), 0);
  EXPECT_EQ(login_type("admin", upper(kDigest)), 0);
  EXPECT_EQ(login_type("viewer", kDigest), 2);
}

TEST_F(Login, RefusalsCarryOnlyTheTypeAndNoLogEntry) {
  store_user(make_user(0, "admin", kDigest, 0));
  store_user(make_user(3, "service", kDigest, 3));
  const std::vector<std::string> only_type = {"type"};

  EXPECT_EQ(login_type("service", kDigest), -2);  // type 3, right digest
  EXPECT_EQ(login_type("service", "bad"), -2);
  EXPECT_EQ(refused_members("service", kDigest), only_type);
  EXPECT_EQ(login_type("admin", "00000000000000000000000000000000"), -1);
  EXPECT_EQ(refused_members("admin", "wrong"), only_type);
  EXPECT_EQ(login_type("nobody", ""), -1);
  EXPECT_EQ(login_type("nobody", kDigest), -1);
  EXPECT_EQ(login_type("Admin", kDigest), -1);  // names are exact
  EXPECT_EQ(refused_members("nobody", ""), only_type);

  settle(daemon());
  EXPECT_TRUE(daemon().requests(3485).empty());
}

TEST_F(Login, DeletedAccountsAndEmptyNamesNeverMatch) {
  user_info deleted = make_user(4, "former", kDigest, 1);
  deleted.enable = 0;
  store_user(deleted);
  store_user(make_user(5, "", "", 0));  // a slot written with nothing in it
  EXPECT_EQ(login_type("former", kDigest), -1);
  EXPECT_EQ(login_type("", ""), -1);
  EXPECT_EQ(refused_members("", ""), std::vector<std::string>{"type"});
  JsonPtr missing = parse_body(call("/1000", R"({"md5": ""})"));
  ASSERT_TRUE(missing);
  EXPECT_EQ(member_names(missing.get()), std::vector<std::string>{"type"});
  EXPECT_EQ(int_member(missing.get(), "type"), -1);
}

TEST_F(Login, AnAccountWithoutAStoredDigestNeverLogsIn) {
  store_user(make_user(2, "nodigest", "", 0));  // enabled, administrator type, no digest
  EXPECT_EQ(login_type("nodigest", ""), -1);
  EXPECT_EQ(call("/1000", R"({"userName": "nodigest"})").find("userName"), std::string::npos);
  JsonPtr missing = parse_body(call("/1000", R"({"userName": "nodigest"})"));
  ASSERT_TRUE(missing);
  EXPECT_EQ(int_member(missing.get(), "type"), -1);
}

TEST_F(Login, UnparsableRequestsGetNoReply) {
  store_user(make_user(0, "admin", kDigest, 0));
  EXPECT_EQ(call("/1000", "userName=admin"), "");
  EXPECT_EQ(call("/1000", ""), "");
}

TEST_F(Login, TheReplyListsTheAccountInTheExpectedOrder) {
  user_info u = make_user(7, "operator", kDigest, 1);
  u.permission = 5;
  u.remote_permission = 6;
  for (int i = 0; i < USER_RIGHTS; i++) {
    u.local_rights[i] = i % 2;
    u.remote_rights[i] = (i + 1) % 2;
  }
  snprintf(u.local_liveview, sizeof u.local_liveview, "1100");
  snprintf(u.local_playback, sizeof u.local_playback, "0011");
  snprintf(u.remote_liveview, sizeof u.remote_liveview, "%s", std::string(64, '1').c_str());
  snprintf(u.remote_playback, sizeof u.remote_playback, "0");
  store_user(u);
  set_param_value(KXDB_FILE, "hardware_version", "V2.0");
  set_param_value(KXDB_FILE, "model", "NVR-8");
  set_param_int(KXDB_FILE, "failover_mode", 1);

  JsonPtr body = parse_body(call("/1000", login_body("operator", kDigest)));
  ASSERT_TRUE(body);
  const std::vector<std::string> order = {
      "type", "userName", "permission", "localLiveView", "localPlayback", "localRetrieve",
      "localSmartAnalysis", "localEvent", "localCamera", "localStorage", "localSettings",
      "localStatus", "localShutdown", "localliveview", "localplayback", "remotePermisson",
      "remoteLiveView", "remotePlayback", "remoteRetrieve", "remoteSmartAnalysis", "remoteEvent",
      "remoteCamera", "remoteStorage", "remoteSettings", "remoteStatus", "remoteShutdown",
      "remoteliveview", "remoteplayback", "sessionId", "failoverMode", "sameChannel",
      "hardwareVersion", "softwareVersion", "model"};
  EXPECT_EQ(member_names(body.get()), order);

  json_object *o = body.get();
  EXPECT_EQ(int_member(o, "type"), 1);
  EXPECT_EQ(text_member(o, "userName"), "operator");
  EXPECT_EQ(int_member(o, "permission"), 5);
  EXPECT_EQ(int_member(o, "remotePermisson"), 6);
  EXPECT_EQ(int_member(o, "localPlayback"), 1);
  EXPECT_EQ(int_member(o, "localShutdown"), 1);
  EXPECT_EQ(int_member(o, "remoteLiveView"), 1);
  EXPECT_EQ(int_member(o, "remotePlayback"), 0);
  EXPECT_EQ(text_member(o, "localliveview"), "1100");
  EXPECT_EQ(text_member(o, "localplayback"), "0011");
  EXPECT_EQ(text_member(o, "remoteliveview"), std::string(64, '1'));
  EXPECT_EQ(text_member(o, "remoteplayback"), "0");
  EXPECT_EQ(int_member(o, "failoverMode"), 1);
  EXPECT_EQ(int_member(o, "sameChannel"), 0);
  EXPECT_EQ(text_member(o, "hardwareVersion"), "V2.0");
  EXPECT_EQ(text_member(o, "softwareVersion"), "7x.7.0.9");  // the default
  EXPECT_EQ(text_member(o, "model"), "NVR-8");
  std::string session = text_member(o, "sessionId");
  EXPECT_EQ(session.size(), 32u);
  EXPECT_EQ(session.find_first_not_of("0123456789"), std::string::npos) << session;
}

TEST_F(Login, SameChannelIsOneOnlyWhenTheParameterIsTwo) {
  store_user(make_user(0, "admin", kDigest, 0));
  for (auto [stored, expected] : {std::pair{0, 0}, {1, 0}, {2, 1}, {3, 0}}) {
    set_param_int(KXDB_FILE, "same_channel_exist", stored);
    JsonPtr body = parse_body(call("/1000", login_body("admin", kDigest)));
    ASSERT_TRUE(body);
    EXPECT_EQ(int_member(body.get(), "sameChannel"), expected) << stored;
  }
}

TEST_F(Login, ASuccessfulLoginIsLoggedUnderTheLoginName) {
  store_user(make_user(2, "operator", kDigest, 1));
  cgiCookie = "userName=someone-else";
  call("/1000", login_body("operator", kDigest));
  ASSERT_TRUE(daemon().wait_for(3485));
  auto sent = daemon().requests(3485);
  ASSERT_EQ(sent.size(), 1u);
  ASSERT_EQ(sent[0].payload.size(), sizeof(log_info));
  auto entry = record_from<log_info>(sent[0].payload);
  EXPECT_EQ(entry.main_type, 4);
  EXPECT_EQ(entry.sub_type, 201);
  EXPECT_EQ(entry.param_type, 900);
  EXPECT_EQ(entry.remote, 1);
  EXPECT_STREQ(entry.user_name, "operator");
  EXPECT_STREQ(entry.client_addr, "192.168.1.10");
}

TEST_F(Login, SessionIdsAreFreshRandomDigits) {
  std::set<std::string> seen;
  for (int i = 0; i < 50; i++) {
    char id[40] = {};
    ASSERT_EQ(get_session_id(id), 0);
    std::string s = id;
    ASSERT_EQ(s.size(), 32u);
    EXPECT_EQ(s.find_first_not_of("0123456789"), std::string::npos) << s;
    seen.insert(s);
  }
  EXPECT_EQ(seen.size(), 50u);  // within one second, unlike a time-seeded generator
}

TEST_F(Login, TheCertificateDirectoriesAreMadeOnLogin) {
  rmdir("/mnt/nand/ssl/tmp");
  rmdir("/mnt/nand/ssl");
  call("/1000", login_body("nobody", ""));
  EXPECT_EQ(IsDirExisted("/mnt/nand/ssl"), 0);
  EXPECT_EQ(IsDirExisted("/mnt/nand/ssl/tmp"), 0);
}

}  // namespace
