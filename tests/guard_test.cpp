// The access guard over the whole registry, in-process through the intake:
// requests without a live session never reach a handler, the daemon or the
// upload store; rights decide between 403 and the handler; the login keeps
// sessions and limits password guessing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <json-c/json.h>
#include <set>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "access_guard.h"
#include "cgi_deal.h"
#include "cgi_runner.h"
#include "cgic.h"
#include "handler_fixture.h"
#include "kxdb.h"
#include "kxstd.h"
#include "web_session.h"

namespace {

constexpr const char *kDigest = "0192023a7bbd73250516f069df18b500";  // "admin123"
constexpr const char *kUnauthorized = "Status: 401 Unauthorized\r\n\r\n";
constexpr const char *kForbidden = "Status: 403 Forbidden\r\n\r\n";
constexpr const char *kClient = "192.168.1.10";

time_t g_now = 1800000000;
time_t fake_clock() { return g_now; }

struct Request {
  std::string method = "GET";
  std::string path;
  std::string query;
  std::string content_type;
  std::string body;
  std::string cookie;
};

std::string upload_body() {
  return "--XyZ\r\nContent-Disposition: form-data; name=\"file\"; filename=\"a.bin\"\r\n"
         "Content-Type: application/octet-stream\r\n\r\nDATA\r\n--XyZ--\r\n";
}

class Guard : public HandlerTest {
 protected:
  void SetUp() override {
    HandlerTest::SetUp();
    unlink(WEB_SESSION_FILE);
    g_now = 1800000000;
    web_session_set_clock(fake_clock);
    set_param_int(KXDB_FILE, "web_auth", 1);
  }
  void TearDown() override {
    web_session_set_clock(nullptr);
    unlink(WEB_SESSION_FILE);
    HandlerTest::TearDown();
  }

  // One request through the intake, as the web server hands it over.
  std::string serve(const Request &r) {
    take_output();
    cgiRequestMethod = r.method.c_str();
    cgiPathInfo = r.path.c_str();
    cgiQueryString = r.query.c_str();
    cgiCookie = r.cookie.c_str();
    cgiParseContentType(r.content_type.c_str());
    cgiContentLength = (int)r.body.size();
    std::string body = r.body;
    FILE *saved_in = cgiIn;
    cgiIn = fmemopen(body.empty() ? nullptr : body.data(), body.size(), "r");
    if (!cgiIn) cgiIn = fopen("/dev/null", "r");
    cgi_serve_request();
    fclose(cgiIn);
    cgiIn = saved_in;
    return take_output();
  }

  std::string get(const std::string &path, const std::string &cookie = "",
                  const std::string &query = "") {
    Request r;
    r.path = path;
    r.query = query;
    r.cookie = cookie;
    return serve(r);
  }

  std::string post_json(const std::string &path, const std::string &body,
                        const std::string &cookie = "") {
    Request r;
    r.method = "POST";
    r.path = path;
    r.content_type = "application/json";
    r.body = body;
    r.cookie = cookie;
    return serve(r);
  }

  std::string upload(const std::string &path, const std::string &cookie) {
    Request r;
    r.method = "POST";
    r.path = path;
    r.content_type = "multipart/form-data; boundary=XyZ";
    r.body = upload_body();
    r.cookie = cookie;
    return serve(r);
  }

  void add_user(int id, const char *name, int type, int without_right = -1) {
    user_info u = {};
    u.id = id;
    u.enable = 1;
    snprintf(u.name, sizeof u.name, "%s", name);
    snprintf(u.password, sizeof u.password, "%s", kDigest);
    u.type = type;
    for (int i = 0; i < USER_RIGHTS; i++) u.remote_rights[i] = i != without_right;
    ASSERT_EQ(write_user(KXDB_FILE, &u), 0);
  }

  json_object *login_reply(const char *name, const char *digest) {
    std::string body = std::string(R"({"userName": ")") + name + R"(", "md5": ")" + digest + "\"}";
    return json_tokener_parse(reply_body(post_json("/1000", body)).c_str());
  }

  // Logs in and returns the cookie text of the session ("" on refusal).
  std::string login(const char *name, const char *digest = kDigest) {
    json_object *reply = login_reply(name, digest);
    json_object *id = nullptr;
    std::string cookie;
    if (reply && json_object_object_get_ex(reply, "sessionId", &id)) {
      cookie = std::string("userName=") + name + "; sessionId=" + json_object_get_string(id);
    }
    json_object_put(reply);
    return cookie;
  }

  int login_type(const char *name, const char *digest) {
    json_object *reply = login_reply(name, digest);
    json_object *type = nullptr;
    int value = reply && json_object_object_get_ex(reply, "type", &type)
                    ? json_object_get_int(type) : -100;
    json_object_put(reply);
    return value;
  }
};

std::vector<const WebRes *> rows(bool public_rows) {
  std::vector<const WebRes *> out;
  for (int slot = 0; slot < MAX_WEBREQ_COUNT; slot++) {
    const WebRes *r = WebResSlot(slot);
    if (r && (r->access == WEB_ACCESS_PUBLIC) == public_rows) out.push_back(r);
  }
  return out;
}

TEST_F(Guard, EveryGuardedEndpointRefusesRequestsWithoutALiveSession) {
  add_user(0, "admin", 0);
  std::string expired = login("admin");
  ASSERT_NE(expired, "");
  g_now += 30 * 60 + 1;  // unused for longer than the default 30 minutes
  const std::string forged = "sessionId=12345678901234567890123456789012";
  std::vector<const WebRes *> guarded = rows(false);
  ASSERT_GT(guarded.size(), 400u);
  forget();
  for (const WebRes *r : guarded) {
    for (const std::string &cookie : {std::string(""), forged, expired}) {
      SCOPED_TRACE(std::string(r->path) + " with cookie \"" + cookie + "\"");
      EXPECT_EQ(get(r->path, cookie, "1"), kUnauthorized);
      EXPECT_EQ(post_json(r->path, R"({"id": 1, "chnid": 0})", cookie), kUnauthorized);
      EXPECT_EQ(upload(r->path, cookie), kUnauthorized);
    }
  }
  EXPECT_EQ(codes(), std::vector<int>{}) << "a refused request reached the daemon";
  EXPECT_TRUE(files_with_prefix("/tmp", "cgic").empty());
  EXPECT_TRUE(files_with_prefix("/tmp", "a.bin").empty()) << "an upload was moved";
}

TEST_F(Guard, PublicEndpointsAnswerWithoutASession) {
  std::vector<const WebRes *> open = rows(true);
  std::vector<std::string> paths;
  for (const WebRes *r : open) paths.push_back(r->path);
  EXPECT_EQ(paths, (std::vector<std::string>{"/2082", "/1000", "/1018", "/1005", "/json",
                                             "/1040"}));
  EXPECT_EQ(reply_body(get("/2082", "", "ping")), "CGI SUCCESS");
  EXPECT_EQ(reply_body(post_json("/1000", R"({"userName": "nobody", "md5": "00"})")),
            "{ \"type\": -1 }");
  EXPECT_EQ(reply_body(get("/1040")), "OK");
}

TEST_F(Guard, RightsDecideBetweenForbiddenAndTheHandler) {
  add_user(1, "operator", 1, WEB_ACCESS_SETTINGS - WEB_ACCESS_LIVE_VIEW);
  std::string cookie = login("operator");
  ASSERT_NE(cookie, "");
  std::string read = get("/6080", cookie);
  EXPECT_NE(read, kForbidden);
  EXPECT_NE(reply_body(read).find("\"hostname\""), std::string::npos) << read;
  EXPECT_EQ(post_json("/6081", R"({"hostName": "x"})", cookie), kForbidden);
  EXPECT_EQ(get("/6070", cookie), kForbidden) << "the user list is for administrators";
  EXPECT_NE(get("/6100", cookie), kForbidden) << "the storage right is there";

  add_user(0, "admin", 0);
  std::string admin = login("admin");
  EXPECT_NE(get("/6070", admin), kForbidden);
  EXPECT_NE(post_json("/6081", R"({"hostName": "x"})", admin), kForbidden);
}

TEST_F(Guard, SessionsEndByLogoutIdleTimeAccountChangeOrAnotherAddress) {
  add_user(1, "operator", 1);
  std::string cookie = login("operator");
  EXPECT_NE(get("/6080", cookie), kUnauthorized);
  g_now += 29 * 60;  // each use starts the idle time again
  EXPECT_NE(get("/6080", cookie), kUnauthorized);
  g_now += 29 * 60;
  EXPECT_NE(get("/6080", cookie), kUnauthorized);

  cgiRemoteAddr = "192.168.1.99";
  EXPECT_EQ(get("/6080", cookie), kUnauthorized) << "the session belongs to its client";
  cgiRemoteAddr = kClient;

  EXPECT_EQ(reply_body(get("/1040", cookie)), "OK");
  EXPECT_EQ(get("/6080", cookie), kUnauthorized);

  cookie = login("operator");
  EXPECT_NE(post_json("/6081", R"({"hostName": "x"})", cookie), kForbidden);
  add_user(0, "admin", 0);
  std::string admin = login("admin");
  // The administrator takes the settings right away: the open session
  // follows at once; then deletes the account: the session ends.
  std::string change = R"({"id": 1, "remoteSettings": 0})";
  EXPECT_EQ(reply_body(post_json("/6072", change, admin)), "OK");
  EXPECT_EQ(post_json("/6081", R"({"hostName": "x"})", cookie), kForbidden);
  EXPECT_EQ(reply_body(post_json("/6073", R"({"id": 1, "type": 1})", admin)), "OK");
  EXPECT_EQ(get("/6080", cookie), kUnauthorized);
}

TEST_F(Guard, FiveWrongDigestsLockTheNameForFiveMinutes) {
  add_user(1, "operator", 1);
  for (int i = 0; i < 4; i++) EXPECT_EQ(login_type("operator", "00"), -1);
  EXPECT_EQ(login_type("operator", kDigest), 1) << "four wrong digests do not lock";
  for (int i = 0; i < 5; i++) EXPECT_EQ(login_type("operator", "00"), -1);
  forget();
  EXPECT_EQ(login_type("operator", kDigest), -1) << "locked: the right digest is refused too";
  std::vector<log_info> entries = logs();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].sub_type, 228);
  EXPECT_STREQ(entries[0].user_name, "operator");

  g_now += 299;
  EXPECT_EQ(login_type("operator", kDigest), -1);
  g_now += 2;
  EXPECT_EQ(login_type("operator", kDigest), 1) << "the lock ends after five minutes";
}

TEST_F(Guard, WrongDigestsFarApartDoNotLock) {
  add_user(1, "operator", 1);
  for (int i = 0; i < 8; i++) {
    EXPECT_EQ(login_type("operator", "00"), -1);
    g_now += 100;  // never five within five minutes
  }
  EXPECT_EQ(login_type("operator", kDigest), 1);
}

TEST_F(Guard, MailLoginOpensAViewerSessionNamedInItsCookie) {
  daemon().answer(3504, int_answer(0));
  std::string reply = get("/1018", "", "demo-mail-token");
  size_t at = reply.find("sessionId=");
  ASSERT_NE(at, std::string::npos) << reply;
  std::string id = reply.substr(at + 10, 32);
  EXPECT_EQ(id.find_first_not_of("0123456789"), std::string::npos) << id;
  std::string cookie = "sessionId=" + id;
  EXPECT_NE(get("/4018", cookie), kForbidden) << "live view is a viewer's";
  EXPECT_EQ(post_json("/6081", R"({"hostName": "x"})", cookie), kForbidden);
  g_now += 601;
  EXPECT_EQ(get("/4018", cookie), kUnauthorized) << "it ends with its cookies";
}

// The real program, as the web server starts it: logins at the same moment
// each get a session of their own, and each session works.
TEST_F(Guard, ConcurrentLoginsEachGetTheirOwnWorkingSession) {
  add_user(0, "admin", 0);
  web_session_set_clock(nullptr);  // the program's own clock
  constexpr int kLogins = 8;
  std::vector<std::string> ids(kLogins);
  std::vector<std::thread> threads;
  for (int i = 0; i < kLogins; i++) {
    threads.emplace_back([&ids, i] {
      CgiRequest r;
      r.method = "POST";
      r.path = "/1000";
      r.content_type = "application/json";
      r.body = std::string(R"({"userName": "admin", "md5": ")") + kDigest + "\"}";
      r.env["REMOTE_ADDR"] = kClient;
      std::string body = split_reply(run_cgi(r).out).body;
      size_t at = body.find("\"sessionId\": \"");
      if (at != std::string::npos) ids[i] = body.substr(at + 14, 32);
    });
  }
  for (std::thread &t : threads) t.join();
  EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), (size_t)kLogins);
  for (const std::string &id : ids) {
    CgiRequest r;
    r.path = "/6080";
    r.env["REMOTE_ADDR"] = kClient;
    r.env["HTTP_COOKIE"] = "sessionId=" + id;
    std::string out = run_cgi(r).out;
    EXPECT_NE(split_reply(out).body.find("\"hostname\""), std::string::npos) << id << ": " << out;
  }
}

TEST_F(Guard, OffOrAbsentEveryRequestRunsAsBefore) {
  set_param_int(KXDB_FILE, "web_auth", 0);
  EXPECT_NE(reply_body(get("/6080")).find("\"hostname\""), std::string::npos);
  add_user(1, "operator", 1);
  for (int i = 0; i < 6; i++) EXPECT_EQ(login_type("operator", "00"), -1);
  EXPECT_EQ(login_type("operator", kDigest), 1) << "no guessing limit without the guard";
  EXPECT_NE(access(WEB_SESSION_FILE, F_OK), 0) << "no session is kept";
}

}  // namespace
