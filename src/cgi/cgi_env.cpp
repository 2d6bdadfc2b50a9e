// The CGI environment of the request, captured once at start (under
// FastCGI: at the start of each request, from the request's parameters).
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "cgic.h"
#include "request_reset.h"

extern char **environ;

const char *cgiServerSoftware = "";
const char *cgiServerName = "";
const char *cgiGatewayInterface = "";
const char *cgiServerProtocol = "";
const char *cgiServerPort = "";
const char *cgiRequestMethod = "";
const char *cgiPathInfo = "";
const char *cgiPathTranslated = "";
const char *cgiScriptName = "";
const char *cgiQueryString = "";
const char *cgiRemoteHost = "";
const char *cgiRemoteAddr = "";
const char *cgiAuthType = "";
const char *cgiRemoteUser = "";
const char *cgiRemoteIdent = "";
const char *cgiServerAddr = "";
const char *cgiAccept = "";
const char *cgiUserAgent = "";
const char *cgiReferrer = "";
const char *cgiCookie = "";

char cgiContentTypeData[1024];
char *cgiContentType = cgiContentTypeData;
char *cgiMultipartBoundary = cgiContentTypeData + sizeof cgiContentTypeData - 1;
int cgiContentLength;
FILE *cgiIn = stdin;
FILE *cgiOut = stdout;

// The value of `name` in `envp` ("NAME=value" entries), or null.
static const char *lookup(char **envp, const char *name) {
  size_t n = strlen(name);
  for (char **e = envp; e && *e; e++) {
    if (strncmp(*e, name, n) == 0 && (*e)[n] == '=') return *e + n + 1;
  }
  return nullptr;
}

void cgiParseContentType(const char *value) {
  snprintf(cgiContentTypeData, sizeof cgiContentTypeData, "%s", value ? value : "");
  cgiContentType = cgiContentTypeData;
  cgiMultipartBoundary = cgiContentTypeData + sizeof cgiContentTypeData - 1;  // ""
  static const char key[] = "boundary=";
  for (char *sat = strchr(cgiContentTypeData, ';'); sat; sat = strchr(sat, ';')) {
    *sat++ = '\0';
    while (*sat && isspace((unsigned char)*sat)) sat++;
    if (strncasecmp(sat, key, sizeof key - 1) != 0) continue;
    char *b = sat + sizeof key - 1;
    char *end = b;
    if (*b == '"') {
      // A quoted boundary (allowed by the multipart standard) is taken
      // without its quotes.
      end = ++b;
      while (*end && *end != '"') end++;
    } else {
      while (*end && !isspace((unsigned char)*end)) end++;
    }
    *end = '\0';
    cgiMultipartBoundary = b;
    break;
  }
}

void cgiCaptureEnvironment() {
  cgiCaptureEnvironmentFrom(environ, stdin, stdout);
}

void cgiCaptureEnvironmentFrom(char **envp, FILE *in, FILE *out) {
  auto env_or_empty = [envp](const char *name) {
    const char *v = lookup(envp, name);
    return v ? v : "";
  };
  cgiServerSoftware = env_or_empty("SERVER_SOFTWARE");
  cgiServerName = env_or_empty("SERVER_NAME");
  cgiGatewayInterface = env_or_empty("GATEWAY_INTERFACE");
  cgiServerProtocol = env_or_empty("SERVER_PROTOCOL");
  cgiServerPort = env_or_empty("SERVER_PORT");
  cgiRequestMethod = env_or_empty("REQUEST_METHOD");
  cgiPathInfo = env_or_empty("PATH_INFO");
  cgiPathTranslated = env_or_empty("PATH_TRANSLATED");
  cgiScriptName = env_or_empty("SCRIPT_NAME");
  cgiQueryString = env_or_empty("QUERY_STRING");
  cgiRemoteHost = env_or_empty("REMOTE_HOST");
  cgiRemoteAddr = env_or_empty("REMOTE_ADDR");
  cgiAuthType = env_or_empty("AUTH_TYPE");
  cgiRemoteUser = env_or_empty("REMOTE_USER");
  cgiRemoteIdent = env_or_empty("REMOTE_IDENT");
  cgiServerAddr = env_or_empty("HTTP_HOST");
  cgiParseContentType(lookup(envp, "CONTENT_TYPE"));
  long length = strtol(env_or_empty("CONTENT_LENGTH"), nullptr, 10);
  cgiContentLength = length > INT_MAX ? INT_MAX : length < INT_MIN ? INT_MIN : (int)length;
  cgiAccept = env_or_empty("HTTP_ACCEPT");
  cgiUserAgent = env_or_empty("HTTP_USER_AGENT");
  cgiReferrer = env_or_empty("HTTP_REFERER");
  cgiCookie = env_or_empty("HTTP_COOKIE");
  cgiIn = in;
  cgiOut = out;
  cgiFormEntryFirst = nullptr;
}

namespace {
// Back to the state before any capture. The form entries are released by
// the intake (free_list) before the reset runs; anything left is released here.
void reset_cgi_environment() {
  free_list();
  static char *const empty[] = {nullptr};
  cgiCaptureEnvironmentFrom(const_cast<char **>(empty), stdin, stdout);
}
}  // namespace
CGI_RESET_HOOK(reset_cgi_environment)

bool cgiStrEqNc(const char *a, const char *b) {
  return strcasecmp(a, b) == 0;
}

size_t strrpl(char *dst, size_t dst_size, const char *src, const char *from, const char *to) {
  if (!dst || dst_size == 0) return 0;
  size_t from_len = strlen(from), to_len = strlen(to), n = 0;
  while (*src && n + 1 < dst_size) {
    if (from_len && strncmp(src, from, from_len) == 0) {
      size_t take = to_len < dst_size - 1 - n ? to_len : dst_size - 1 - n;
      memcpy(dst + n, to, take);
      n += take;
      src += from_len;
    } else {
      dst[n++] = *src++;
    }
  }
  dst[n] = '\0';
  return n;
}
