#include "cgi_runner.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#ifndef WEBCGI_PROGRAM
#define WEBCGI_PROGRAM ""
#endif
#ifndef WEBCGI_EMULATOR
#define WEBCGI_EMULATOR ""
#endif

std::string cgi_emulator() {
  return WEBCGI_EMULATOR;
}

std::vector<std::string> cgi_command(const std::string &program) {
  std::vector<std::string> argv;
  std::istringstream emulator(WEBCGI_EMULATOR);
  for (std::string word; emulator >> word;) argv.push_back(word);
  argv.push_back(program.empty() ? WEBCGI_PROGRAM : program);
  return argv;
}

static std::vector<std::string> cgi_environment(const CgiRequest &r) {
  std::vector<std::string> env = {"GATEWAY_INTERFACE=CGI/1.1", "REQUEST_METHOD=" + r.method,
                                  "PATH_INFO=" + r.path, "QUERY_STRING=" + r.query,
                                  "REMOTE_ADDR=127.0.0.1", "PATH=/opt/app/bin:/usr/bin:/bin"};
  if (!r.content_type.empty()) env.push_back("CONTENT_TYPE=" + r.content_type);
  if (r.content_length != "-") {
    env.push_back("CONTENT_LENGTH=" + (r.content_length.empty() ? std::to_string(r.body.size())
                                                                  : r.content_length));
  }
  for (auto &[k, v] : r.env) env.push_back(k + "=" + v);
  return env;
}

// Runs argv_s with env_s, the body on standard input; collects standard output.
static CgiRun run_process(const std::vector<std::string> &argv_s,
                          const std::vector<std::string> &env_s, const CgiRequest &request,
                          int timeout_seconds) {
  CgiRun run;
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return run;
  std::vector<std::string> args = argv_s, vars = env_s;
  std::vector<char *> argv, envp;
  for (auto &s : args) argv.push_back(s.data());
  for (auto &s : vars) envp.push_back(s.data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    execvpe(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  // Feed the body from a thread: the program may stop reading early.
  std::thread feeder([fd = in[1], body = request.body] {
    signal(SIGPIPE, SIG_IGN);
    for (size_t off = 0; off < body.size();) {
      ssize_t n = write(fd, body.data() + off, body.size() - off);
      if (n <= 0) break;
      off += (size_t)n;
    }
    close(fd);
  });
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout_seconds);
  char buf[65536];
  for (;;) {
    int left = (int)std::chrono::duration_cast<std::chrono::milliseconds>(
                   deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) {
      run.timed_out = true;
      kill(pid, SIGKILL);
      break;
    }
    pollfd p = {out[0], POLLIN, 0};
    if (poll(&p, 1, left) <= 0) continue;
    ssize_t n = read(out[0], buf, sizeof buf);
    if (n <= 0) break;
    run.out.append(buf, (size_t)n);
  }
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  feeder.join();
  if (!run.timed_out && WIFEXITED(status)) run.status = WEXITSTATUS(status);
  return run;
}

CgiRun run_cgi(const CgiRequest &request, const std::string &program, int timeout_seconds) {
  return run_process(cgi_command(program), cgi_environment(request), request, timeout_seconds);
}

FastCgiServer::FastCgiServer(const std::string &socket_path, const std::string &program)
    : socket_path_(socket_path) {
  unlink(socket_path.c_str());
  std::vector<std::string> args = cgi_command(program);
  args.push_back("--fastcgi");
  args.push_back(socket_path);
  pid_ = fork();
  if (pid_ == 0) {
    std::vector<char *> argv;
    for (auto &s : args) argv.push_back(s.data());
    argv.push_back(nullptr);
    unsetenv("REQUEST_METHOD");
    execvp(argv[0], argv.data());
    _exit(127);
  }
  // Ready once the socket exists (the program binds before it accepts).
  struct stat st;
  for (int i = 0; i < 2000 && pid_ > 0 && stat(socket_path.c_str(), &st) != 0; i++) {
    if (waitpid(pid_, &status_, WNOHANG) == pid_) {
      pid_ = -1;
      break;
    }
    usleep(10000);
  }
}

FastCgiServer::~FastCgiServer() {
  stop();
}

bool FastCgiServer::ready() const {
  struct stat st;
  return pid_ > 0 && stat(socket_path_.c_str(), &st) == 0;
}

CgiRun FastCgiServer::run(const CgiRequest &request, int timeout_seconds) const {
  return run_process({"cgi-fcgi", "-bind", "-connect", socket_path_}, cgi_environment(request),
                     request, timeout_seconds);
}

int FastCgiServer::stop() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, &status_, 0);
    pid_ = -1;
  }
  return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

std::vector<std::string> files_with_prefix(const std::string &dir, const std::string &prefix) {
  std::vector<std::string> names;
  if (DIR *d = opendir(dir.c_str())) {
    while (dirent *e = readdir(d)) {
      if (strncmp(e->d_name, prefix.c_str(), prefix.size()) == 0) names.push_back(e->d_name);
    }
    closedir(d);
  }
  return names;
}

std::string read_file(const std::string &path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

void write_file(const std::string &path, const std::string &data) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f << data;
}

CgiReply split_reply(const std::string &out) {
  size_t end = out.find("\r\n\r\n");
  if (end == std::string::npos) return {"", out};
  return {out.substr(0, end + 2), out.substr(end + 4)};
}

std::string run_catalogue(const std::string &program) {
  std::string command = "env -u REQUEST_METHOD";
  for (const std::string &word : cgi_command(program)) command += " '" + word + "'";
  command += " --endpoints";
  std::string out;
  if (FILE *p = popen(command.c_str(), "r")) {
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    pclose(p);
  }
  return out;
}
