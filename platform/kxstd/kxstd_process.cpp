#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include "kxstd.h"

static int exit_status(int status) {
  if (status == -1 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

int kx_system(const char *command) {
  if (!command) return -1;
  fflush(nullptr);
  return exit_status(system(command));
}

int kx_run_argv(const char *const argv[]) {
  if (!argv || !argv[0]) return -1;
  fflush(nullptr);
  pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    execvp(argv[0], const_cast<char *const *>(argv));
    _exit(127);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return exit_status(status);
}

FILE *kx_vpopen(const char *command, const char *mode) {
  if (!command || !mode) return nullptr;
  fflush(nullptr);
  return popen(command, mode);
}

int kx_vpclose(FILE *stream) {
  return stream ? exit_status(pclose(stream)) : -1;
}

long long kx_spliced_copy_ex(int in_fd, int out_fd) {
  long long total = 0;
  for (;;) {
    ssize_t n = sendfile(out_fd, in_fd, nullptr, 1 << 20);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EINVAL || errno == ENOSYS) && total == 0) break;  // use read/write
    if (n < 0) return -1;
    if (n == 0) return total;
    total += n;
  }
  char buf[65536];
  for (;;) {
    ssize_t n = read(in_fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) return total;
    for (ssize_t off = 0; off < n;) {
      ssize_t w = write(out_fd, buf + off, (size_t)(n - off));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) return -1;
      off += w;
    }
    total += n;
  }
}
