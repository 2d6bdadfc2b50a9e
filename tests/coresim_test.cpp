// coresim answers inside the device root, and the program reaches it.
#include <gtest/gtest.h>

#include "cgi_runner.h"
#include "coresim_process.h"

namespace {

class Coresim : public ::testing::Test {
 protected:
  CoresimProcess coresim_{CORESIM_PROGRAM};
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
