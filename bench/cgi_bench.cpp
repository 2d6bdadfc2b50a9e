// cgi_bench: times whole CGI processes.
//
//   cgi_bench NAME RUNS BODY_FILE|- PROGRAM [ARGS...]   (environment: CGI_*)
//
// Starts PROGRAM RUNS times the way a web server does: the variables
// CGI_<NAME>=value of our own environment become <NAME>=value of the child's
// (e.g. CGI_PATH_INFO=/6108), BODY_FILE goes to its standard input, its
// output is read and discarded. Prints one line:
//   NAME median_us p10_us p90_us max_rss_kib failures
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

std::vector<std::string> child_environment() {
  std::vector<std::string> env = {"PATH=/usr/bin:/bin"};
  for (char **e = environ; *e; e++) {
    if (strncmp(*e, "CGI_", 4) == 0) env.push_back(*e + 4);
  }
  return env;
}

// One run: wall time in microseconds, peak resident KiB, exit status.
struct Run {
  long us;
  long rss_kib;
  int status;
};

Run run_once(char **argv, char **envp, const std::string &body_file) {
  int out[2];
  if (pipe(out) != 0) return {0, 0, -1};
  auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    int in = open(body_file == "-" ? "/dev/null" : body_file.c_str(), O_RDONLY);
    dup2(in, 0);
    dup2(out[1], 1);
    close(out[0]);
    execve(argv[0], argv, envp);
    _exit(127);
  }
  close(out[1]);
  char buf[65536];
  while (read(out[0], buf, sizeof buf) > 0) {
  }
  close(out[0]);
  int status = 0;
  rusage usage = {};
  wait4(pid, &status, 0, &usage);
  long us = (long)std::chrono::duration_cast<std::chrono::microseconds>(
                std::chrono::steady_clock::now() - start)
                .count();
  return {us, usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

long percentile(std::vector<long> v, int p) {
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, v.size() * (size_t)p / 100)];
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 5) {
    fprintf(stderr, "usage: cgi_bench NAME RUNS BODY_FILE|- PROGRAM [ARGS...]\n");
    return 2;
  }
  const char *name = argv[1];
  int runs = atoi(argv[2]);
  std::string body = argv[3];
  std::vector<std::string> env_s = child_environment();
  std::vector<char *> envp;
  for (auto &s : env_s) envp.push_back(s.data());
  envp.push_back(nullptr);

  std::vector<long> times;
  long max_rss = 0;
  int failures = 0;
  for (int i = 0; i < runs + 3; i++) {
    Run r = run_once(argv + 4, envp.data(), body);
    if (i < 3) continue;  // warm the page cache first
    times.push_back(r.us);
    max_rss = std::max(max_rss, r.rss_kib);
    failures += r.status != 0;
  }
  printf("%s %ld %ld %ld %ld %d\n", name, percentile(times, 50), percentile(times, 10),
         percentile(times, 90), max_rss, failures);
  return 0;
}
