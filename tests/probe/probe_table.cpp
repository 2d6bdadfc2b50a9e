// A probe endpoint table for the intake tests: each handler reports the
// request text it received (and what it can see of an uploaded file).
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

#include "cgic.h"
#include "dispatchreq.h"

namespace {

void reply(const char *text) {
  fprintf(cgiOut, "Content-type: text/plain\r\n\r\n%s", text);
}

int on_probe_echo(char *text) {
  reply(text);
  return 0;
}

// "path & rest": reports whether the named file exists while the handler runs.
int on_probe_file(char *text) {
  std::string path = text;
  path = path.substr(0, path.find(" & "));
  struct stat st;
  bool exists = stat(path.c_str(), &st) == 0;
  fprintf(cgiOut, "Content-type: text/plain\r\n\r\n%s\nexists=%d size=%ld", text, exists,
          exists ? (long)st.st_size : -1L);
  return 0;
}

// Reports how many body bytes are still unread on standard input.
int on_probe_unread(char *text) {
  long unread = 0;
  for (int c; (c = getc(cgiIn)) != EOF;) unread++;
  fprintf(cgiOut, "Content-type: text/plain\r\n\r\n%s\nunread=%ld", text, unread);
  return 0;
}

WebRes probe_table[] = {
    {"/echo", on_probe_echo},    {"/6201", on_probe_echo},   {"/upload", on_probe_file},
    {"/1019", on_probe_file},    {"/oem", on_probe_file},    {"/1010", on_probe_unread},
    {"/6082", on_probe_unread},
};

}  // namespace

WEBRES_REGISTER_TABLE(probe_table, WEBRES_STORAGE)
