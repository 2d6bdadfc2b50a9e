#include "coresim_process.h"

#include <chrono>
#include <csignal>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "cgi_runner.h"

CoresimProcess::CoresimProcess(const char *program) {
  unlink("/var/run/kxsocket");
  pid_ = fork();
  if (pid_ == 0) {
    std::vector<std::string> argv_s = cgi_command(program);
    std::vector<char *> argv;
    for (auto &s : argv_s) argv.push_back(s.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  struct stat st;
  for (int i = 0; i < 500 && stat("/var/run/kxsocket", &st) != 0; i++) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

CoresimProcess::~CoresimProcess() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status;
  waitpid(pid_, &status, 0);
}
