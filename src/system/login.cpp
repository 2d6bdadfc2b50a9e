// "/1000": login with the user name and the MD5 digest of the password.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <strings.h>
#include <sys/random.h>
#include <unistd.h>

#include "system.h"

namespace {

constexpr int kLoginRefused = -1;    // no such user, or a wrong digest
constexpr int kLoginForbidden = -2;  // a user of type 3 may not log in on the web
constexpr int kTypeNoWebLogin = 3;
constexpr int kLogLogin = 201;
constexpr int kLogLoginRefused = 228;  // refused by the guessing limit
constexpr int kLogParamNone = 900;
constexpr int kMaxSessionMinutes = 24 * 60;

// Fills `buffer` from the kernel's random source: getrandom, else /dev/urandom.
bool random_bytes(unsigned char *buffer, size_t size) {
  size_t got = 0;
  while (got < size) {
    ssize_t n = getrandom(buffer + got, size - got, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += (size_t)n;
  }
  if (got == size) return true;
  int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  ssize_t n = read(fd, buffer, size);
  close(fd);
  return n == (ssize_t)size;
}

int login_type(const user_info &user, const char *md5) {
  if (user.id == -1) return kLoginRefused;
  if (user.type == kTypeNoWebLogin) return kLoginForbidden;
  char stored[sizeof user.password + 1] = {};
  memcpy(stored, user.password, sizeof user.password);
  // An account without a stored digest never logs in (an empty "md5" would
  // otherwise match it).
  if (stored[0] == '\0' || strcasecmp(md5, stored) != 0) return kLoginRefused;
  return user.type;
}

void add_text(json_object *object, const char *key, const char *text) {
  json_object_object_add(object, key, json_object_new_string(text));
}

// The members after "type" for a user who may log in.
void add_login_details(json_object *reply, const user_info &user, const char *session) {
  json_object_object_add(reply, "userName", json_field_string(user.name, sizeof user.name));
  // The page reads this one member with the spelling below.
  add_user_rights_json(reply, user, "remotePermisson");
  add_text(reply, "sessionId", session);
  json_add_int(reply, "failoverMode", param_int(PARAM_FAILOVER_MODE));
  json_add_int(reply, "sameChannel", param_int(PARAM_SAME_CHANNEL_EXIST) == 2 ? 1 : 0);
  char hardware[32], software[64], model[64];
  param_text(PARAM_HARDWARE_VERSION, hardware, sizeof hardware);
  param_text(PARAM_SOFTWARE_VERSION, software, sizeof software);
  param_text(PARAM_MODEL, model, sizeof model);
  add_text(reply, "hardwareVersion", hardware);
  add_text(reply, "softwareVersion", software);
  add_text(reply, "model", model);
}

void send_login_log(const char *name, int sub_type) {
  log_info entry;
  cgi_init_log_info(&entry);
  entry.sub_type = sub_type;
  entry.param_type = kLogParamNone;
  // The session cookie does not exist yet: the entry names the login.
  snprintf(entry.user_name, sizeof entry.user_name, "%.63s", name);
  cgi_send_log_info(&entry);
}

int session_max_idle() {
  int minutes = param_int(PARAM_WEB_SESSION_TIMEOUT);
  if (minutes < 1 || minutes > kMaxSessionMinutes) minutes = 30;
  return minutes * 60;
}

// The login's type under the access guard: a name locked by the guessing
// limit is refused whatever digest comes, and each such refusal is logged.
int guarded_login_type(const user_info &user, const char *name, const char *md5) {
  if (web_login_locked(name)) {
    send_login_log(name, kLogLoginRefused);
    return kLoginRefused;
  }
  int type = login_type(user, md5);
  if (type == kLoginRefused && web_login_failed(name)) send_login_log(name, kLogLoginRefused);
  if (type >= 0) web_login_succeeded(name);
  return type;
}

// A new session identifier for the reply; under the guard the session is
// kept too. False when neither can be had: the login is then refused
// rather than handing out a session that does not work.
bool start_session(const user_info &user, bool guarded, char (&session)[SESSION_ID_DIGITS + 1]) {
  if (get_session_id(session) != 0) return !guarded;
  if (!guarded) return true;
  return web_session_open(session, user, cgiRemoteAddr, session_max_idle()) == 0;
}

}  // namespace

int on_user_logout(char *) {
  char id[SESSION_ID_DIGITS + 2];
  cgi_cookie_value(cgiCookie, "sessionId", id, sizeof id);
  web_session_close(id);
  return cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
}

int get_session_id(char *buffer) {
  char digits[SESSION_ID_DIGITS + 1] = {};
  int n = 0;
  while (n < SESSION_ID_DIGITS) {
    unsigned char bytes[64];
    if (!random_bytes(bytes, sizeof bytes)) return -1;
    for (unsigned char b : bytes) {
      // Bytes of 250 and above are dropped so that every digit is as likely.
      if (b < 250 && n < SESSION_ID_DIGITS) digits[n++] = (char)('0' + b % 10);
    }
  }
  memcpy(buffer, digits, sizeof digits);
  return 0;
}

int config_ssl_params() {
  for (const char *dir : {"/mnt/nand/ssl", "/mnt/nand/ssl/tmp"}) {
    if (IsDirExisted(dir) == 0) continue;
    char command[128];
    snprintf(command, sizeof command, "%s %s", "mkdir", dir);
    web_system(command);
  }
  return 0;
}

int on_user_login(char *text) {
  JsonPtr request(get_request_tokener_json_object(text));
  if (!request) return -1;
  config_ssl_params();
  char name[256], md5[33];
  json_copy_text(json_member(request.get(), "userName"), name, sizeof name);
  json_copy_text(json_member(request.get(), "md5"), md5, sizeof md5);

  user_info user = {};
  user.id = -1;  // stays -1 when no enabled user has the name
  read_user_by_name(KXDB_FILE, &user, name);
  bool guarded = web_access_guarded();
  int type = guarded ? guarded_login_type(user, name, md5) : login_type(user, md5);
  char session[SESSION_ID_DIGITS + 1] = {};
  if (type >= 0 && !start_session(user, guarded, session)) type = kLoginRefused;

  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "type", type);
  if (type >= 0) {
    add_login_details(reply.get(), user, session);
    send_login_log(name, kLogLogin);
  }
  json_writeback(CGI_REPLY_TEXT, reply.get());
  return 0;
}
