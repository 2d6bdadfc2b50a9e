#include "cgi_deal.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include "access_guard.h"
#include "cgi_ipc.h"
#include "cgi_log.h"
#include "cgic.h"
#include "dispatchreq.h"
#include "kxdb.h"
#include "request_reset.h"

namespace {

// The request path, cut to 127 characters; false when there is none.
bool copy_path(char (&path)[CGI_PATH_SIZE]) {
  snprintf(path, sizeof path, "%s", cgiPathInfo);
  return path[0] != '\0';
}

// Client file names may be full client paths: keep what follows the last
// '\' or '/'.
const char *upload_base_name(const char *name) {
  for (const char *p = name; *p; p++) {
    if (*p == '\\' || *p == '/') name = p + 1;
  }
  return name;
}

bool is_safe_base_name(const char *base) {
  return base[0] && strcmp(base, ".") != 0 && strcmp(base, "..") != 0;
}

// The text after "param:" in the query, up to the first '&', at most 255.
void upload_extra_param(char (&param)[256]) {
  param[0] = '\0';
  const char *p = strstr(cgiQueryString, "param:");
  if (!p) return;
  p += strlen("param:");
  size_t n = strcspn(p, "&");
  if (n > sizeof param - 1) n = sizeof param - 1;
  memcpy(param, p, n);
  param[n] = '\0';
}

// Renames without ever replacing what holds the new name (another
// request's upload, the lock file, a busy marker). File systems without
// RENAME_NOREPLACE get a hard link and an unlink, which cannot replace either.
bool rename_no_replace(const char *from, const char *to) {
  if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  if (link(from, to) != 0) return false;
  unlink(from);
  return true;
}

// Moves the uploaded file to the client's base name beside it, without a
// shell, and builds the request text from the new name. False when the
// name is taken or the move fails: the request then ends without a reply.
bool move_upload(cgiFormEntry *file, const char *base, char *text, size_t size) {
  const char *slash = strrchr(file->tfileName, '/');
  int dir_len = slash ? (int)(slash - file->tfileName) : 0;
  char moved[512];
  snprintf(moved, sizeof moved, "%.*s/%s", dir_len, file->tfileName, base);
  if (!rename_no_replace(file->tfileName, moved)) {
    CGI_LOG("cannot move %s to %s", file->tfileName, moved);
    return false;
  }
  // The temporary name is free again (another request may take it): the
  // clean-up at exit must not delete it.
  file->tfileName[0] = '\0';
  char param[256];
  upload_extra_param(param);
  if (param[0]) snprintf(text, size, "%s & %s", moved, param);
  else snprintf(text, size, "%s", moved);
  return true;
}

}  // namespace

int cgiDealGet() {
  char path[CGI_PATH_SIZE] = {};
  if (!copy_path(path)) return -1;
  char query[CGI_QUERY_SIZE] = {};
  char text[CGI_QUERY_SIZE] = {};
  snprintf(query, sizeof query, "%s", cgiQueryString);
  strrpl(text, sizeof text, query, "%22", "\"");
  return DispatchWebReq(path, text);
}

int cgiDealPost() {
  char path[CGI_PATH_SIZE] = {};
  if (!copy_path(path)) return -1;
  char *body = (char *)calloc(1, CGI_POST_SIZE);
  if (!body) return -1;
  // Line by line until the end of input, 128 lines or a full buffer.
  size_t len = 0;
  for (int lines = 0; lines < CGI_POST_MAX_LINES && len < CGI_POST_SIZE - 1; lines++) {
    if (!fgets(body + len, (int)(CGI_POST_SIZE - len), cgiIn)) break;
    len += strlen(body + len);
  }
  int result = DispatchWebReq(path, body);
  free(body);
  return result;
}

bool cgi_is_fileless_upload(const char *path) {
  return strcmp(path, "/1010") == 0 || strcmp(path, "/6082") == 0 ||
         strcmp(path, "/2079") == 0;
}

int cgiDealUpload() {
  char path[CGI_PATH_SIZE] = {};
  if (!copy_path(path)) return -1;
  char text[CGI_UPLOAD_TEXT_SIZE] = {};
  if (cgi_is_fileless_upload(path)) {
    snprintf(text, sizeof text, "%s & %s", "temp", cgiQueryString);
    return DispatchWebReq(path, text);
  }
  // A path without a handler gets no reply, and its upload is not moved:
  // the name the client chose could otherwise land on any file in /tmp.
  if (!FindWebRes(path)) return -1;
  char name[128] = {};
  if (cgiFormFileName("file", name, sizeof name) != cgiFormSuccess) return -1;
  const char *base = upload_base_name(name);
  cgiFormEntry *file = cgiFormEntryFind("file");
  if (!file || !is_safe_base_name(base)) return -1;
  if (strcmp(path, "/1019") == 0 || strcmp(path, "/oem") == 0) {
    snprintf(text, sizeof text, "%s & %s", file->tfileName, cgiQueryString);
  } else if (!move_upload(file, base, text, sizeof text)) {
    return -1;
  }
  return DispatchWebReq(path, text);
}

int cgi_serve_request() {
  // The guard comes before anything of the request is read: a refused
  // upload is never parsed, stored or moved.
  const WebRes *res = FindWebRes(cgiPathInfo);
  if (res && !web_access_granted(*res)) return 0;
  int status = 0;
  if (strcasecmp(cgiRequestMethod, "post") == 0) {
    if (strcasecmp(cgiContentType, "application/x-www-form-urlencoded") == 0 ||
        strcasecmp(cgiContentType, "application/json") == 0) {
      cgiDealPost();
    } else if (strcasecmp(cgiContentType, "multipart/form-data") == 0) {
      // The system upgrade reads its body itself, straight from stdin.
      bool parse = strcmp(cgiPathInfo, "/1010") != 0;
      if (parse && cgiReadMultipartForm() != cgiParseSuccess) status = -1;
      else cgiDealUpload();
    }
  } else if (strcasecmp(cgiRequestMethod, "get") == 0) {
    cgiContentLength = (int)strlen(cgiQueryString);
    cgiDealGet();
  }
  fflush(cgiOut);
  cgi_stop_ipc();  // the receive thread ends before the process does
  free_list();
  return status;
}

int cgi_serve_persistent(char **envp, FILE *in, FILE *out) {
  kxdb_refresh();  // a database file replaced since the last request is opened anew
  cgiCaptureEnvironmentFrom(envp, in, out);
  int status = cgi_serve_request();
  fflush(out);
  cgi_request_reset();
  return status;
}
