#include "fastcgi.h"

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcgiapp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cgi_deal.h"
#include "cgi_log.h"
#include "kxdb.h"

namespace {

constexpr int kBacklog = 64;

int g_listen_fd = -1;
volatile sig_atomic_t g_stopping = 0;

// The request's streams as stdio streams, so that every writer of cgiOut
// and reader of cgiIn works unchanged.
ssize_t read_params_stream(void *cookie, char *buffer, size_t size) {
  int n = FCGX_GetStr(buffer, size > INT_MAX ? INT_MAX : (int)size, (FCGX_Stream *)cookie);
  return n < 0 ? -1 : n;
}

ssize_t write_reply_stream(void *cookie, const char *buffer, size_t size) {
  int n = FCGX_PutStr(buffer, size > INT_MAX ? INT_MAX : (int)size, (FCGX_Stream *)cookie);
  return n < 0 ? -1 : n;
}

FILE *input_file(FCGX_Stream *stream) {
  cookie_io_functions_t io = {};
  io.read = read_params_stream;
  return fopencookie(stream, "r", io);
}

FILE *output_file(FCGX_Stream *stream) {
  cookie_io_functions_t io = {};
  io.write = write_reply_stream;
  return fopencookie(stream, "w", io);
}

// Ends the accept under way: the loop stops after the current request.
void on_stop(int) {
  g_stopping = 1;
  FCGX_ShutdownPending();
  if (g_listen_fd >= 0) shutdown(g_listen_fd, SHUT_RDWR);
}

void on_broken_pipe(int) {}

void install_stop_handlers() {
  struct sigaction sa = {};
  sa.sa_handler = on_stop;  // no SA_RESTART: a blocked accept returns
  sigemptyset(&sa.sa_mask);
  for (int sig : {SIGTERM, SIGINT, SIGUSR1}) sigaction(sig, &sa, nullptr);
  // A client gone mid-reply is a failed write, not the end of the process.
  // Caught rather than ignored: the commands a handler runs start with the
  // default, as under CGI (an ignored signal would stay ignored across exec).
  sa.sa_handler = on_broken_pipe;
  sigaction(SIGPIPE, &sa, nullptr);
}

int serve_one(FCGX_Request &request) {
  FILE *in = input_file(request.in);
  FILE *out = output_file(request.out);
  int status = -1;
  if (in && out) status = cgi_serve_persistent(request.envp, in, out);
  else CGI_LOG("cannot open the request's streams");
  if (in) fclose(in);
  if (out) fclose(out);
  FCGX_SetExitStatus(status, request.out);
  return status;
}

}  // namespace

bool fastcgi_started_by_server() {
  return !getenv("REQUEST_METHOD") && !FCGX_IsCGI();
}

int fastcgi_serve(int listen_fd) {
  if (FCGX_Init() != 0) return 1;
  g_listen_fd = listen_fd;
  install_stop_handlers();
  FCGX_Request request;
  if (FCGX_InitRequest(&request, listen_fd, FCGI_FAIL_ACCEPT_ON_INTR) != 0) return 1;
  while (!g_stopping && FCGX_Accept_r(&request) == 0) {
    serve_one(request);
    FCGX_Finish_r(&request);
  }
  FCGX_Free(&request, 1);
  kxdb_close_all();
  return 0;
}

int fastcgi_serve_at(const char *path) {
  if (FCGX_Init() != 0) return 1;
  struct stat st;
  if (lstat(path, &st) == 0 && S_ISSOCK(st.st_mode)) unlink(path);  // left by an earlier run
  int fd = FCGX_OpenSocket(path, kBacklog);
  if (fd < 0) {
    fprintf(stderr, "webcgi: cannot listen on %s\n", path);
    return 1;
  }
  int result = fastcgi_serve(fd);
  close(fd);
  unlink(path);
  return result;
}
