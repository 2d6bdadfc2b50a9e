// The persistent (FastCGI) mode's request state, in-process through the
// entry point each FastCGI request takes (cgi_serve_persistent): nothing of
// one request reaches the next, and a request sees what another process
// wrote to the settings before it began.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <json-c/json.h>
#include <sqlite3.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "access_guard.h"
#include "cgi_deal.h"
#include "cgi_ipc.h"
#include "cgi_runner.h"
#include "cgic.h"
#include "handler_fixture.h"
#include "kxdb.h"
#include "kxstd.h"
#include "request_reset.h"
#include "web_session.h"

// Of the playback module (linked whole): its remembered session and the
// clip writer.
namespace playback {
void remember_session(int32_t sid, const char *play_time);
bool session_remembered();
}  // namespace playback
struct kx_avi;
int remote_backup_kxfs_open(FILE *stream, kx_avi **handle);
int remote_backup_task_run_status();

namespace {

constexpr const char *kDigest = "0192023a7bbd73250516f069df18b500";  // "admin123"
constexpr int kSilentCode = 3990;    // no module uses these two
constexpr int kAnsweredCode = 3991;

// What the probe saw of its request.
struct Seen {
  std::string cookie, query, content_type, boundary, remote_addr, user;
  int content_length = -1;
  bool form_entries = true;
  int callback_done = -1;
};
Seen g_seen;
bool g_exchange_answered = true;

void probe_dispatch(int, const kx_msg_head *head, const void *) {
  if (kx_response_code(head) == kAnsweredCode + 5000) cgi_reply_done(CGI_REPLY_TEXT, "answered");
}

// The first request's handler: reads its upload and form, fails one
// exchange and completes another.
int probe_busy(char *text) {
  g_exchange_answered = cgi_exchange(probe_dispatch, kSilentCode, nullptr, 0, CGI_REPLY_NONE);
  cgi_exchange(probe_dispatch, kAnsweredCode, nullptr, 0, CGI_REPLY_NONE);
  unlink(text);  // the moved upload is the handler's to remove
  return 0;
}

// The second request's handler: records everything a request could inherit.
int probe_plain(char *) {
  g_seen.cookie = cgiCookie;
  g_seen.query = cgiQueryString;
  g_seen.content_type = cgiContentType;
  g_seen.boundary = cgiMultipartBoundary;
  g_seen.remote_addr = cgiRemoteAddr;
  g_seen.content_length = cgiContentLength;
  g_seen.form_entries = cgiFormEntryFirst != nullptr;
  g_seen.callback_done = g_callback_done.load();
  const char *user = web_access_session_user();
  g_seen.user = user ? user : "(none)";
  return cgi_writeback_webserver(CGI_REPLY_TEXT, "plain");
}

// A setting's value as a request reads it.
int probe_setting(char *) {
  char value[64];
  get_param_value(KXDB_FILE, "persist_probe", value, sizeof value, "unset");
  return cgi_writeback_webserver(CGI_REPLY_TEXT, value);
}

const WebRes kProbes[] = {
    WEBRES_ROW("/9990", probe_busy, USER, "persistent-mode probe: upload, form, exchanges"),
    WEBRES_ROW("/9991", probe_plain, PUBLIC, "persistent-mode probe: what the request sees"),
    WEBRES_ROW("/9992", probe_setting, PUBLIC, "persistent-mode probe: one setting"),
};

// Another process sets the probe's setting (its own SQLite connection).
void set_from_other_process(const char *value) {
  pid_t pid = fork();
  if (pid == 0) {
    sqlite3 *db = nullptr;
    std::string sql = std::string("INSERT OR REPLACE INTO params(key, value) VALUES('persist_probe', '") +
                      value + "')";
    bool ok = sqlite3_open(KXDB_FILE, &db) == SQLITE_OK &&
              sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    _exit(ok ? 0 : 1);
  }
  int status = -1;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// Another process replaces the database file by a new one holding `value`
// (as a configuration import does).
void replace_from_other_process(const char *value) {
  std::string fresh = std::string(KXDB_FILE) + ".new";
  pid_t pid = fork();
  if (pid == 0) {
    sqlite3 *db = nullptr;
    std::string sql = std::string("CREATE TABLE params(key TEXT PRIMARY KEY, value TEXT);"
                                  "CREATE TABLE records(kind TEXT, idx INTEGER, data BLOB,"
                                  " PRIMARY KEY(kind, idx));"
                                  "INSERT INTO params VALUES('persist_probe', '") + value + "')";
    unlink(fresh.c_str());
    bool ok = sqlite3_open(fresh.c_str(), &db) == SQLITE_OK &&
              sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    ok = ok && rename(fresh.c_str(), KXDB_FILE) == 0;
    _exit(ok ? 0 : 1);
  }
  int status = -1;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

struct PersistentRequest {
  std::vector<std::string> params;
  std::string body;
};

class Persistent : public HandlerTest {
 protected:
  void SetUp() override {
    HandlerTest::SetUp();
    unlink(WEB_SESSION_FILE);
    WebResRegister(kProbes, 3);
    daemon().silent(kSilentCode);
    daemon().answer(kAnsweredCode, int_answer(0));
    g_seen = Seen();
  }
  void TearDown() override {
    WebResUnregister(kProbes, 3);
    unlink(WEB_SESSION_FILE);
    HandlerTest::TearDown();
  }

  // One request as the FastCGI loop hands it over: parameters, input, output.
  std::string serve(PersistentRequest r) {
    std::vector<char *> envp;
    for (std::string &p : r.params) envp.push_back(p.data());
    envp.push_back(nullptr);
    char *reply = nullptr;
    size_t length = 0;
    FILE *out = open_memstream(&reply, &length);
    FILE *in = r.body.empty() ? fopen("/dev/null", "r")
                              : fmemopen(r.body.data(), r.body.size(), "r");
    FILE *saved_in = cgiIn, *saved_out = cgiOut;  // the fixture's capture stays its own
    last_status_ = cgi_serve_persistent(envp.data(), in, out);
    cgiIn = saved_in;
    cgiOut = saved_out;
    fclose(in);
    fclose(out);
    std::string text(reply, length);
    free(reply);
    return text;
  }

  std::string login() {
    user_info u = {};
    u.id = 0;
    u.enable = 1;
    snprintf(u.name, sizeof u.name, "admin");
    snprintf(u.password, sizeof u.password, "%s", kDigest);
    for (int i = 0; i < USER_RIGHTS; i++) u.remote_rights[i] = 1;
    EXPECT_EQ(write_user(KXDB_FILE, &u), 0);
    std::string body = std::string(R"({"userName": "admin", "md5": ")") + kDigest + "\"}";
    std::string reply = serve({{"REQUEST_METHOD=POST", "PATH_INFO=/1000", "REMOTE_ADDR=10.0.0.7",
                                "CONTENT_TYPE=application/json",
                                "CONTENT_LENGTH=" + std::to_string(body.size())},
                               body});
    json_object *root = json_tokener_parse(reply_body(reply).c_str());
    json_object *id = nullptr;
    std::string cookie;
    if (root && json_object_object_get_ex(root, "sessionId", &id)) {
      cookie = std::string("sessionId=") + json_object_get_string(id);
    }
    json_object_put(root);
    return cookie;
  }

  int last_status_ = 0;
};

std::string upload_body() {
  return "--XyZ\r\nContent-Disposition: form-data; name=\"note\"\r\n\r\nform text\r\n"
         "--XyZ\r\nContent-Disposition: form-data; name=\"file\"; filename=\"persist.bin\"\r\n"
         "Content-Type: application/octet-stream\r\n\r\nDATA\r\n--XyZ--\r\n";
}

TEST_F(Persistent, NothingOfABusyRequestReachesThePlainOneAfterIt) {
  set_param_int(KXDB_FILE, "web_auth", 1);
  std::string cookie = login();
  ASSERT_NE(cookie, "");

  std::string body = upload_body();
  std::string busy = serve({{"REQUEST_METHOD=POST", "PATH_INFO=/9990", "QUERY_STRING=a=1&b=2",
                             "REMOTE_ADDR=10.0.0.7", "HTTP_COOKIE=language=en; " + cookie,
                             "CONTENT_TYPE=multipart/form-data; boundary=XyZ",
                             "CONTENT_LENGTH=" + std::to_string(body.size())},
                            body});
  EXPECT_EQ(last_status_, 0);
  EXPECT_EQ(busy, "Content-type: text/plain\r\n\r\nanswered");
  EXPECT_FALSE(g_exchange_answered);  // the silent exchange failed

  // Between the two: the globals are as a fresh process has them.
  EXPECT_STREQ(cgiCookie, "");
  EXPECT_STREQ(cgiPathInfo, "");
  EXPECT_EQ(cgiFormEntryFirst, nullptr);
  EXPECT_EQ(g_callback_done.load(), 0);
  EXPECT_EQ(web_access_session_user(), nullptr);
  EXPECT_TRUE(files_with_prefix("/tmp", "cgic").empty());
  EXPECT_TRUE(files_with_prefix("/tmp", "persist.bin").empty());

  std::string plain = serve({{"REQUEST_METHOD=GET", "PATH_INFO=/9991"}, ""});
  EXPECT_EQ(plain, "Content-type: text/plain\r\n\r\nplain");
  EXPECT_EQ(g_seen.cookie, "");
  EXPECT_EQ(g_seen.query, "");
  EXPECT_EQ(g_seen.content_type, "");
  EXPECT_EQ(g_seen.boundary, "");
  EXPECT_EQ(g_seen.remote_addr, "");
  EXPECT_EQ(g_seen.content_length, 0);
  EXPECT_FALSE(g_seen.form_entries);
  EXPECT_EQ(g_seen.callback_done, 0);
  EXPECT_EQ(g_seen.user, "(none)");
}

TEST_F(Persistent, TheGuardAdmitsNoRequestOnAnEarlierRequestsSession) {
  set_param_int(KXDB_FILE, "web_auth", 1);
  std::string cookie = login();
  ASSERT_NE(cookie, "");
  std::string body = upload_body();
  serve({{"REQUEST_METHOD=POST", "PATH_INFO=/9990", "REMOTE_ADDR=10.0.0.7",
          "HTTP_COOKIE=" + cookie, "CONTENT_TYPE=multipart/form-data; boundary=XyZ",
          "CONTENT_LENGTH=" + std::to_string(body.size())},
         body});
  // The same user-level path without the cookie: refused, the handler never runs.
  g_exchange_answered = true;
  std::string refused = serve({{"REQUEST_METHOD=POST", "PATH_INFO=/9990", "REMOTE_ADDR=10.0.0.7",
                                "CONTENT_TYPE=multipart/form-data; boundary=XyZ",
                                "CONTENT_LENGTH=" + std::to_string(body.size())},
                               body});
  EXPECT_EQ(refused, "Status: 401 Unauthorized\r\n\r\n");
  EXPECT_TRUE(g_exchange_answered);
}

TEST_F(Persistent, ASettingWrittenByAnotherProcessIsSeenByTheNextRequest) {
  set_param_int(KXDB_FILE, "web_auth", 0);
  set_from_other_process("first");
  EXPECT_EQ(reply_body(serve({{"REQUEST_METHOD=GET", "PATH_INFO=/9992"}, ""})), "first");
  set_from_other_process("second");
  EXPECT_EQ(reply_body(serve({{"REQUEST_METHOD=GET", "PATH_INFO=/9992"}, ""})), "second");
  // A database file replaced as a whole (configuration import) is opened anew.
  replace_from_other_process("third");
  EXPECT_EQ(reply_body(serve({{"REQUEST_METHOD=GET", "PATH_INFO=/9992"}, ""})), "third");
}

TEST_F(Persistent, ModuleStateIsResetBetweenRequests) {
  playback::remember_session(7, "2026-01-01 00:00:00");
  ASSERT_TRUE(playback::session_remembered());
  char *data = nullptr;
  size_t length = 0;
  FILE *stream = open_memstream(&data, &length);
  kx_avi *avi = nullptr;
  ASSERT_EQ(remote_backup_kxfs_open(stream, &avi), 0);
  ASSERT_EQ(remote_backup_task_run_status(), 1);
  FILE *saved_out = cgiOut;
  cgi_request_reset();
  cgiOut = saved_out;
  EXPECT_FALSE(playback::session_remembered());
  EXPECT_EQ(remote_backup_task_run_status(), 0);
  fclose(stream);
  free(data);
}

// Every module that keeps request state at namespace scope hooks the reset;
// a hook the linker dropped, or one removed, fails here.
TEST(PersistentHooks, EveryModuleWithRequestStateHooksTheReset) {
  std::vector<std::string> names;
  for (const cgi_reset_hook *h = cgi_reset_hooks(); h; h = h->next) names.push_back(h->name);
  for (const char *expected :
       {"reset_cgi_environment", "reset_exchange_state", "reset_admitted_session",
        "refresh_settings_connections", "reset_remote_backup", "reset_live_stream",
        "reset_playback_session", "reset_download", "reset_channel_list", "reset_stored_channel",
        "reset_time_taken", "reset_speed_samples", "reset_format_result", "reset_log_context",
        "reset_mail_login", "reset_factory_command"}) {
    EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
  }
}

}  // namespace
