#include "web_session.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "access_guard.h"

namespace {

time_t g_now = 1800000000;
time_t fake_clock() { return g_now; }

std::string id_of(int n) {
  char id[33];
  snprintf(id, sizeof id, "%032d", n);
  return id;
}

user_info user(int id, const char *name) {
  user_info u = {};
  u.id = id;
  u.enable = 1;
  snprintf(u.name, sizeof u.name, "%s", name);
  u.type = 1;
  return u;
}

class Sessions : public ::testing::Test {
 protected:
  void SetUp() override {
    unlink(WEB_SESSION_FILE);
    g_now = 1800000000;
    web_session_set_clock(fake_clock);
  }
  void TearDown() override {
    web_session_set_clock(nullptr);
    unlink(WEB_SESSION_FILE);
  }
};

TEST_F(Sessions, ALiveSessionIsFoundOnlyByItsIdentifierAndClient) {
  user_info u = user(3, "operator");
  u.remote_rights[7] = 1;
  ASSERT_EQ(web_session_open(id_of(1).c_str(), u, "10.0.0.7", 60), 0);
  web_session s = {};
  ASSERT_TRUE(web_session_touch(id_of(1).c_str(), "10.0.0.7", &s));
  EXPECT_EQ(s.user_id, 3);
  EXPECT_STREQ(s.name, "operator");
  EXPECT_EQ(s.remote_rights[7], 1);
  EXPECT_FALSE(web_session_touch(id_of(2).c_str(), "10.0.0.7", nullptr));
  EXPECT_FALSE(web_session_touch(id_of(1).c_str(), "10.0.0.70", nullptr));
  EXPECT_FALSE(web_session_touch("", "10.0.0.7", nullptr));
  EXPECT_FALSE(web_session_touch(id_of(1).substr(0, 31).c_str(), "10.0.0.7", nullptr));
  EXPECT_EQ(web_session_open("123", u, "10.0.0.7", 60), -1) << "not a session identifier";
}

TEST_F(Sessions, IdleTimeEndsASessionAndEachUseRestartsIt) {
  ASSERT_EQ(web_session_open(id_of(1).c_str(), user(1, "a"), "c", 60), 0);
  g_now += 60;
  EXPECT_TRUE(web_session_touch(id_of(1).c_str(), "c", nullptr));
  g_now += 60;
  EXPECT_TRUE(web_session_touch(id_of(1).c_str(), "c", nullptr));
  g_now += 61;
  EXPECT_FALSE(web_session_touch(id_of(1).c_str(), "c", nullptr));
}

TEST_F(Sessions, TheSixtyFifthEndsTheLeastRecentlyUsed) {
  for (int i = 0; i < WEB_SESSION_MAX; i++) {
    ASSERT_EQ(web_session_open(id_of(i).c_str(), user(1, "a"), "c", 3600), 0);
    g_now++;
  }
  ASSERT_TRUE(web_session_touch(id_of(0).c_str(), "c", nullptr));  // 1 is now the oldest
  ASSERT_EQ(web_session_open(id_of(100).c_str(), user(1, "a"), "c", 3600), 0);
  EXPECT_TRUE(web_session_touch(id_of(0).c_str(), "c", nullptr));
  EXPECT_FALSE(web_session_touch(id_of(1).c_str(), "c", nullptr));
  EXPECT_TRUE(web_session_touch(id_of(2).c_str(), "c", nullptr));
  EXPECT_TRUE(web_session_touch(id_of(100).c_str(), "c", nullptr));
  EXPECT_TRUE(web_session_close(id_of(100).c_str()));
  EXPECT_FALSE(web_session_close(id_of(100).c_str()));
}

TEST_F(Sessions, AccountChangesReachOpenSessions) {
  user_info u = user(4, "op");
  ASSERT_EQ(web_session_open(id_of(1).c_str(), u, "c", 60), 0);
  ASSERT_EQ(web_session_open(id_of(2).c_str(), user(5, "other"), "c", 60), 0);
  u.remote_rights[6] = 1;
  web_session_refresh_user(u);
  web_session s = {};
  ASSERT_TRUE(web_session_touch(id_of(1).c_str(), "c", &s));
  EXPECT_EQ(s.remote_rights[6], 1);
  u.type = 3;  // may no longer log in on the web
  web_session_refresh_user(u);
  EXPECT_FALSE(web_session_touch(id_of(1).c_str(), "c", nullptr));
  EXPECT_TRUE(web_session_touch(id_of(2).c_str(), "c", nullptr));
}

TEST_F(Sessions, ConcurrentProcessesLoseNoSession) {
  constexpr int kProcesses = 8, kEach = 8;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; p++) {
    pid_t pid = fork();
    if (pid == 0) {
      for (int i = 0; i < kEach; i++) {
        if (web_session_open(id_of(p * kEach + i).c_str(), user(1, "a"), "c", 60) != 0) _exit(1);
      }
      _exit(0);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_EQ(status, 0);
  }
  for (int i = 0; i < kProcesses * kEach; i++) {
    EXPECT_TRUE(web_session_touch(id_of(i).c_str(), "c", nullptr)) << i;
  }
}

TEST_F(Sessions, GuessingLimitCountsPerNameWithinItsWindow) {
  for (int i = 0; i < WEB_LOGIN_FAILURE_LIMIT - 1; i++) EXPECT_FALSE(web_login_failed("a"));
  EXPECT_FALSE(web_login_failed("b"));
  EXPECT_FALSE(web_login_locked("a"));
  EXPECT_TRUE(web_login_failed("a"));
  EXPECT_TRUE(web_login_locked("a"));
  EXPECT_FALSE(web_login_locked("b"));
  g_now += WEB_LOGIN_LOCK_SECONDS;
  EXPECT_FALSE(web_login_locked("a"));

  // A success starts the count again.
  for (int i = 0; i < WEB_LOGIN_FAILURE_LIMIT - 1; i++) web_login_failed("b");
  web_login_succeeded("b");
  EXPECT_FALSE(web_login_failed("b"));
  EXPECT_FALSE(web_login_locked("b"));
}

TEST_F(Sessions, FloodingNamesDoesNotFreeALockedOne) {
  for (int i = 0; i < WEB_LOGIN_FAILURE_LIMIT; i++) web_login_failed("victim");
  ASSERT_TRUE(web_login_locked("victim"));
  for (int n = 0; n < 3 * WEB_LOGIN_FAILURE_MAX; n++) {
    web_login_failed(("name" + std::to_string(n)).c_str());
  }
  EXPECT_TRUE(web_login_locked("victim"));
}

TEST(CookieValue, NamesMatchExactly) {
  char v[40];
  cgi_cookie_value("xsessionId=1; sessionId=22; sessionIdx=3", "sessionId", v, sizeof v);
  EXPECT_STREQ(v, "22");
  cgi_cookie_value("sessionId=", "sessionId", v, sizeof v);
  EXPECT_STREQ(v, "");
  cgi_cookie_value("a=1;sessionId=5", "sessionId", v, sizeof v);
  EXPECT_STREQ(v, "5");
  cgi_cookie_value("sessionId", "sessionId", v, sizeof v);
  EXPECT_STREQ(v, "");
  cgi_cookie_value("", "sessionId", v, sizeof v);
  EXPECT_STREQ(v, "");
  cgi_cookie_value(("sessionId=" + std::string(100, '9')).c_str(), "sessionId", v, sizeof v);
  EXPECT_EQ(std::string(v), std::string(39, '9'));
}

TEST(AccessLevels, RightsAndAdministrators) {
  web_session s = {};
  s.type = 1;
  s.remote_rights[WEB_ACCESS_STORAGE - WEB_ACCESS_LIVE_VIEW] = 1;
  EXPECT_TRUE(web_session_allows(s, WEB_ACCESS_USER));
  EXPECT_TRUE(web_session_allows(s, WEB_ACCESS_STORAGE));
  EXPECT_FALSE(web_session_allows(s, WEB_ACCESS_SETTINGS));
  EXPECT_FALSE(web_session_allows(s, WEB_ACCESS_ADMIN));
  EXPECT_FALSE(web_session_allows(s, (WebAccess)7)) << "an unknown level is the strictest";
  s.type = 0;
  EXPECT_TRUE(web_session_allows(s, WEB_ACCESS_ADMIN));
  EXPECT_TRUE(web_session_allows(s, WEB_ACCESS_SETTINGS));
  EXPECT_STREQ(web_access_name(WEB_ACCESS_SETTINGS), "remoteSettings");
  EXPECT_STREQ(web_access_name((WebAccess)7), "admin");
}

}  // namespace
