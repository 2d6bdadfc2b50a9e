#include "access_guard.h"

#include <cstdio>
#include <cstring>

#include "cgic.h"
#include "request_reset.h"
#include "settings.h"

namespace {

constexpr int kTypeAdministrator = 0;
char g_session_user[sizeof(web_session::name)];
bool g_session_admitted;

void refuse(int status, const char *reason) {
  cgiHeaderStatus(status, reason);
  fflush(cgiOut);
}

void reset_admitted_session() {
  g_session_admitted = false;
  memset(g_session_user, 0, sizeof g_session_user);
}

}  // namespace

CGI_RESET_HOOK(reset_admitted_session)

bool web_access_guarded() {
  return param_int(PARAM_WEB_AUTH) == 1;
}

void cgi_cookie_value(const char *cookies, const char *name, char *value, int size) {
  value[0] = '\0';
  size_t name_len = strlen(name);
  for (const char *p = cookies; p && *p;) {
    p += strspn(p, "; ");
    size_t len = strcspn(p, ";");
    if (len > name_len && strncmp(p, name, name_len) == 0 && p[name_len] == '=') {
      int n = (int)(len - name_len - 1);
      snprintf(value, (size_t)size, "%.*s", n, p + name_len + 1);
      return;
    }
    p += len;
  }
}

bool web_session_allows(const web_session &session, WebAccess access) {
  if (session.type == kTypeAdministrator || access == WEB_ACCESS_PUBLIC ||
      access == WEB_ACCESS_USER) {
    return true;
  }
  int right = web_access_right(access);
  return right >= 0 && session.remote_rights[right] != 0;
}

bool web_access_granted(const WebRes &res) {
  g_session_admitted = false;
  if (res.access == WEB_ACCESS_PUBLIC || !web_access_guarded()) return true;
  char id[sizeof(web_session::id) + 1];
  cgi_cookie_value(cgiCookie, "sessionId", id, sizeof id);
  web_session session;
  if (!web_session_touch(id, cgiRemoteAddr, &session)) {
    refuse(401, "Unauthorized");
    return false;
  }
  if (!web_session_allows(session, res.access)) {
    refuse(403, "Forbidden");
    return false;
  }
  memcpy(g_session_user, session.name, sizeof g_session_user);
  g_session_user[sizeof g_session_user - 1] = '\0';
  g_session_admitted = true;
  return true;
}

const char *web_access_session_user() {
  return g_session_admitted ? g_session_user : nullptr;
}
