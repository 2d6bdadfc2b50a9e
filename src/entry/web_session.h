// The sessions the program hands out at login, and the count of wrong
// password digests per user name. Both live in one small file under /tmp
// (a restart ends every session); each change holds the file's lock, so
// concurrent requests never lose one another's updates.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>

#include "kxdb_user.h"

constexpr const char *WEB_SESSION_FILE = "/tmp/websessions";
constexpr int WEB_SESSION_MAX = 64;        // one more ends the least recently used
constexpr int WEB_LOGIN_FAILURE_MAX = 64;  // user names counted at once
constexpr int WEB_LOGIN_FAILURE_LIMIT = 5;     // wrong digests ...
constexpr int WEB_LOGIN_FAILURE_WINDOW = 300;  // ... within this many seconds
constexpr int WEB_LOGIN_LOCK_SECONDS = 300;    // lock the name this long

struct web_session {
  char id[33];  // 32 decimal digits; empty: a free slot
  char reserved0[3];
  int32_t user_id;
  char name[64];
  int32_t type;  // user type; 0 is an administrator
  int32_t local_rights[USER_RIGHTS];
  int32_t remote_rights[USER_RIGHTS];
  char client[46];  // the client's address at login
  char reserved1[2];
  int32_t max_idle;   // seconds unused before the session ends
  int64_t last_use;   // seconds since the epoch
};
static_assert(sizeof(web_session) == 248);
static_assert(offsetof(web_session, id) == 0);
static_assert(offsetof(web_session, reserved0) == 33);
static_assert(offsetof(web_session, user_id) == 36);
static_assert(offsetof(web_session, name) == 40);
static_assert(offsetof(web_session, type) == 104);
static_assert(offsetof(web_session, local_rights) == 108);
static_assert(offsetof(web_session, remote_rights) == 148);
static_assert(offsetof(web_session, client) == 188);
static_assert(offsetof(web_session, reserved1) == 234);
static_assert(offsetof(web_session, max_idle) == 236);
static_assert(offsetof(web_session, last_use) == 240);

struct web_login_failure {
  char name[64];  // empty: a free slot
  int32_t count;  // wrong digests since `first`
  int32_t reserved;
  int64_t first;         // the first wrong digest counted
  int64_t locked_until;  // refused until then, whatever digest comes
};
static_assert(sizeof(web_login_failure) == 88);
static_assert(offsetof(web_login_failure, name) == 0);
static_assert(offsetof(web_login_failure, count) == 64);
static_assert(offsetof(web_login_failure, reserved) == 68);
static_assert(offsetof(web_login_failure, first) == 72);
static_assert(offsetof(web_login_failure, locked_until) == 80);

// The whole file.
struct web_session_store {
  web_session sessions[WEB_SESSION_MAX];
  web_login_failure failures[WEB_LOGIN_FAILURE_MAX];
};
static_assert(sizeof(web_session_store) == 64 * 248 + 64 * 88);
static_assert(offsetof(web_session_store, failures) == 64 * 248);

// A session for `user` under identifier `id`, from `client`, ending after
// `max_idle` seconds unused. 0, or -1 when the store cannot be written.
int web_session_open(const char *id, const user_info &user, const char *client, int max_idle);
// The live session of `id` used from `client`: copied to `session` (may be
// null) and its last use set to now. False for an unknown, ended or
// expired identifier, or one used from another address.
bool web_session_touch(const char *id, const char *client, web_session *session);
// Ends the session of `id`; true when there was one.
bool web_session_close(const char *id);

// After an account change: the sessions of `user.id` take its name, type
// and rights; those of a deleted account, or of one that may no longer log
// in on the web, end.
void web_session_refresh_user(const user_info &user);

// Whether logins of `name` are refused now.
bool web_login_locked(const char *name);
// Counts a wrong digest for `name`; true when this one locks the name.
bool web_login_failed(const char *name);
// A correct digest: the name's count starts again.
void web_login_succeeded(const char *name);

// Tests set the store's clock; null restores time().
void web_session_set_clock(time_t (*clock)());
