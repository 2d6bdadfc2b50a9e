#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>

#include "cgi_log.h"
#include "cgi_runner.h"

namespace {

TEST(CgiLog, AppendsOneStampedLinePerCall) {
  remove(CGI_LOG_FILE);
  EXPECT_EQ(cgi_log("a", 7, "f", "%s", "x"), 0);
  EXPECT_EQ(cgi_log("b.c", 12, "g", "n=%d", 5), 0);
  std::string log = read_file(CGI_LOG_FILE);
  std::regex line(R"(\[webcgi\] \d{4}-\d\d-\d\d \d\d:\d\d:\d\d  a:7 in f: x
\[webcgi\] \d{4}-\d\d-\d\d \d\d:\d\d:\d\d  b\.c:12 in g: n=5
)");
  EXPECT_TRUE(std::regex_match(log, line)) << log;
}

TEST(CgiLog, OverlongMessagesAreCutToOneLine) {
  remove(CGI_LOG_FILE);
  std::string big(5000, 'm');
  EXPECT_EQ(cgi_log("a", 1, "f", "%s", big.c_str()), 0);
  std::string log = read_file(CGI_LOG_FILE);
  EXPECT_EQ(log.size(), 2047u);
  EXPECT_EQ(log.back(), '\n');
}

TEST(WebSystem, FoldsEveryFailureIntoMinusOne) {
  EXPECT_EQ(web_system("exit 0"), 0);
  EXPECT_EQ(web_system("exit 1"), -1);
  EXPECT_EQ(web_system("kill -9 $$"), -1);
  EXPECT_EQ(web_system("touch /tmp/web_system_ran"), 0);
  EXPECT_EQ(read_file("/tmp/web_system_ran"), "");
}

}  // namespace
