#include "cgi_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

int cgi_log(const char *file, int line, const char *function, const char *format, ...) {
  char message[2048];
  va_list ap;
  va_start(ap, format);
  vsnprintf(message, sizeof message, format, ap);
  va_end(ap);

  time_t now = time(nullptr);
  struct tm lt;
  localtime_r(&now, &lt);
  char stamp[64];
  snprintf(stamp, sizeof stamp, "%4d-%02d-%02d %02d:%02d:%02d", lt.tm_year + 1900,
           lt.tm_mon + 1, lt.tm_mday, lt.tm_hour, lt.tm_min, lt.tm_sec);

  char entry[2048];
  int n = snprintf(entry, sizeof entry, "[webcgi] %s  %s:%d in %s: %s\n", stamp, file, line,
                   function, message);
  if (n < 0) return -1;
  if (n >= (int)sizeof entry) {  // cut, but keep the line's end
    n = sizeof entry - 1;
    entry[n - 1] = '\n';
  }
  // One write in append mode, so that lines of concurrent requests never mix.
  int fd = open(CGI_LOG_FILE, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return -1;
  ssize_t w = write(fd, entry, (size_t)n);
  close(fd);
  return w == n ? 0 : -1;
}

namespace {
WebSystemRunner g_web_system_runner = nullptr;
}  // namespace

void web_system_set_runner(WebSystemRunner runner) { g_web_system_runner = runner; }

int web_system(const char *command) {
  if (g_web_system_runner) return g_web_system_runner(command);
  fflush(nullptr);  // the child must not repeat buffered output
  int status = system(command);
  if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  return 0;
}
