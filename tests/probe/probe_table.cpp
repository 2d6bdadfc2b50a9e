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

// Public: the probe reports what the intake delivers, guard or not.
WebRes probe_table[] = {
    WEBRES_ROW("/echo", on_probe_echo, PUBLIC, ""),    WEBRES_ROW("/6201", on_probe_echo, PUBLIC, ""),
    WEBRES_ROW("/upload", on_probe_file, PUBLIC, ""),  WEBRES_ROW("/1019", on_probe_file, PUBLIC, ""),
    WEBRES_ROW("/oem", on_probe_file, PUBLIC, ""),     WEBRES_ROW("/1010", on_probe_unread, PUBLIC, ""),
    WEBRES_ROW("/6082", on_probe_unread, PUBLIC, ""),
};

}  // namespace

WEBRES_REGISTER_TABLE(probe_table, WEBRES_STORAGE)
