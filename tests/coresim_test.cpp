// coresim answers inside the device root, and the program reaches it.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "cgi_runner.h"

namespace {

class Coresim : public ::testing::Test {
 protected:
  void SetUp() override {
    unlink("/var/run/kxsocket");
    pid_ = fork();
    if (pid_ == 0) {
      std::vector<std::string> argv_s = cgi_command(CORESIM_PROGRAM);
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
  void TearDown() override {
    kill(pid_, SIGTERM);
    int status;
    waitpid(pid_, &status, 0);
  }
  pid_t pid_ = -1;
};

TEST_F(Coresim, AnswersTheProgramAndJournalsEachRequest) {
  CgiRequest r;
  r.method = "POST";
  r.path = "/2026";
  r.content_type = "application/json";
  r.body = R"({"cmd": "status"})";
  CgiRun run = run_cgi(r);
  EXPECT_EQ(run.status, 0);
  CgiReply reply = split_reply(run.out);
  EXPECT_EQ(reply.headers, "Content-type: application/json\r\n");
  EXPECT_NE(reply.body.find("\"result\": \"done: status\""), std::string::npos) << reply.body;
  EXPECT_NE(read_file("/var/run/coresim.journal").find("request 4002 length 100"),
            std::string::npos);
}

}  // namespace
