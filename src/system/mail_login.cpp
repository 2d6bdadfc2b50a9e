// "/1018": opening the interface from the link of a notification e-mail.
#include <cstdio>
#include <cstring>

#include "system.h"
#include "request_reset.h"

namespace {

constexpr int kTokenSize = 256;         // request 3504 carries the token in 256 bytes
constexpr int kDomainSize = 50;         // at most 49 characters
constexpr int kViewerCookieSeconds = 600;
constexpr int kViewerType = 2;

bool g_guarded;  // the access guard was on when the request came
constexpr const char *kHomePage = "../../html/home.html";
constexpr const char *kIndexPage = "../../html/index.html";

bool host_name_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '-';
}

// Under the access guard the temporary viewer gets a session of its own:
// live view and playback, ending when its cookies do. False when it cannot
// be kept.
bool open_viewer_session(char (&id)[SESSION_ID_DIGITS + 1]) {
  user_info viewer = {};
  viewer.id = -1;  // no account
  snprintf(viewer.name, sizeof viewer.name, "%s", "temp");
  viewer.type = kViewerType;
  viewer.remote_rights[WEB_ACCESS_LIVE_VIEW - WEB_ACCESS_LIVE_VIEW] = 1;
  viewer.remote_rights[WEB_ACCESS_PLAYBACK - WEB_ACCESS_LIVE_VIEW] = 1;
  return get_session_id(id) == 0 &&
         web_session_open(id, viewer, cgiRemoteAddr, kViewerCookieSeconds) == 0;
}

// A temporary viewer session: the page reads these instead of a login reply.
void set_viewer_cookies(const char *session) {
  char domain[kDomainSize];
  get_cookie_domain(cgiServerAddr, domain, sizeof domain);
  const char *const cookies[][2] = {{"userName", "temp"},
                                    {"userType", "2"},
                                    {"permission", "0"},
                                    {"sessionId", session},
                                    {"language", "en-US"}};
  for (const auto &c : cookies) {
    cgiHeaderCookieSetString(c[0], c[1], kViewerCookieSeconds, "/", domain);
  }
}

}  // namespace

void get_cookie_domain(const char *host, char *domain, int size) {
  // The Host header is the client's text: only host-name characters may
  // reach the Set-Cookie line. "[...]" is an IPv6 literal, kept whole.
  bool literal = host[0] == '[';
  int n = 0;
  for (const char *p = host; *p && n < size - 1; p++) {
    char c = *p;
    bool bracket = literal && ((c == '[' && p == host) || c == ']');
    if (!host_name_char(c) && !bracket && !(literal && c == ':')) break;
    domain[n++] = c;
    if (literal && c == ']') break;  // a port may follow
  }
  domain[n] = '\0';
}

int on_user_login_from_mail(char *text) {
  g_guarded = web_access_guarded();  // read here: the answer arrives on the receive thread
  char token[kTokenSize] = {};
  snprintf(token, sizeof token, "%s", text);
  cgi_exchange(on_system_ipc_callback, 3504, token, sizeof token, CGI_REPLY_TEXT);
  return 0;
}

// Response 8504: one int32 status, 0 when the daemon accepted the token.
void on_user_login_from_mail_cb(int count, const void *payload) {
  if (count <= 0) return;
  int32_t status;
  memcpy(&status, payload, sizeof status);
  char session[SESSION_ID_DIGITS + 1] = "0";
  if (status == 0 && g_guarded && !open_viewer_session(session)) status = -1;
  if (status == 0) {
    set_viewer_cookies(session);
    cgiHeaderLocation(kIndexPage);
  } else {
    cgiHeaderLocation(kHomePage);
  }
  fflush(cgiOut);
  g_callback_done = 1;
}

namespace {
void reset_mail_login() {
  g_guarded = false;
}
}  // namespace

CGI_RESET_HOOK(reset_mail_login)
