#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include "system_test_support.h"

namespace {

std::vector<std::string> header_lines(const std::string &reply) {
  std::vector<std::string> lines;
  size_t start = 0, end;
  while ((end = reply.find("\r\n", start)) != std::string::npos) {
    lines.push_back(reply.substr(start, end - start));
    start = end + 2;
  }
  if (start < reply.size()) lines.push_back(reply.substr(start));  // unterminated rest
  return lines;
}

struct Cookie {
  std::string name, value, domain, path;
  time_t expires = 0;
};

bool parse_cookie(const std::string &line, Cookie *c) {
  static const std::regex form(
      R"(Set-Cookie: ([^=]+)=([^;]*); domain=([^;]*); expires=(\w{3}, \d{2}-\w{3}-\d{4} \d{2}:\d{2}:\d{2}) GMT; path=(.*))");
  std::smatch m;
  if (!std::regex_match(line, m, form)) return false;
  c->name = m[1];
  c->value = m[2];
  c->domain = m[3];
  c->path = m[5];
  struct tm t = {};
  if (!strptime(m[4].str().c_str(), "%a, %d-%b-%Y %H:%M:%S", &t)) return false;
  c->expires = timegm(&t);
  return true;
}

using MailLogin = HandlerTest;

TEST_F(MailLogin, AnAcceptedTokenSetsFiveViewerCookiesThenRedirects) {
  daemon().answer(3504, bytes_of_int(0));
  time_t before = time(nullptr);
  std::vector<std::string> lines = header_lines(call("/1018", "abc123"));

  ASSERT_EQ(lines.size(), 7u);  // five cookies, Location, the blank line ending the block
  const char *const expected[][2] = {{"userName", "temp"}, {"userType", "2"}, {"permission", "0"},
                                     {"sessionId", "0"}, {"language", "en-US"}};
  for (int i = 0; i < 5; i++) {
    Cookie c;
    ASSERT_TRUE(parse_cookie(lines[i], &c)) << lines[i];
    EXPECT_EQ(c.name, expected[i][0]);
    EXPECT_EQ(c.value, expected[i][1]);
    EXPECT_EQ(c.domain, "10.0.0.5");  // the Host header without its port
    EXPECT_EQ(c.path, "/");
    EXPECT_GE(c.expires, before + 600);
    EXPECT_LE(c.expires, time(nullptr) + 600);
  }
  EXPECT_EQ(lines[5], "Location: ../../html/index.html");
  EXPECT_EQ(lines[6], "");

  auto sent = daemon().requests(3504);
  ASSERT_EQ(sent.size(), 1u);
  ASSERT_EQ(sent[0].payload.size(), 256u);
  EXPECT_STREQ(reinterpret_cast<const char *>(sent[0].payload.data()), "abc123");
}

TEST_F(MailLogin, ARefusedTokenOnlyRedirectsHome) {
  daemon().answer(3504, bytes_of_int(1));
  EXPECT_EQ(call("/1018", "stale"), "Location: ../../html/home.html\r\n\r\n");
  daemon().answer(3504, bytes_of_int(-5));
  EXPECT_EQ(call("/1018", "stale"), "Location: ../../html/home.html\r\n\r\n");
}

TEST_F(MailLogin, NoUsableAnswerIsACgiError) {
  const std::string error = "Content-type: text/plain\r\n\r\nCGI ERROR";
  EXPECT_EQ(call("/1018", "abc"), error);  // the daemon stays silent
  daemon().answer(3504, Bytes{0, 0});      // shorter than a status
  EXPECT_EQ(call("/1018", "abc"), error);
  daemon().answer(3504, Bytes{});  // no payload at all
  EXPECT_EQ(call("/1018", "abc"), error);
}

TEST_F(MailLogin, LongTokensAreCutTo255Characters) {
  daemon().answer(3504, bytes_of_int(1));
  call("/1018", std::string(400, 't'));
  auto sent = daemon().requests(3504);
  ASSERT_EQ(sent.size(), 1u);
  ASSERT_EQ(sent[0].payload.size(), 256u);
  EXPECT_EQ(strnlen(reinterpret_cast<const char *>(sent[0].payload.data()), 256), 255u);
}

TEST_F(MailLogin, OnlyHostNameCharactersReachTheCookieDomain) {
  const std::pair<const char *, const char *> cases[] = {
      {"10.0.0.5:8080", "10.0.0.5"},
      {"nvr.example-site.com", "nvr.example-site.com"},
      {"[fe80::1]:8080", "[fe80::1]"},
      {"[2001:db8::7]", "[2001:db8::7]"},
      {"", ""},
      {"evil.com\r\nSet-Cookie: admin=1", "evil.com"},
      {"host; domain=other.com", "host"},
      {"a b", "a"},
      {"host:80:90", "host"},
      {"[fe80::1%eth0]:80", "[fe80::1"},
      {"x[1]", "x"},
      {"ho]st", "ho"},
  };
  for (auto [host, domain] : cases) {
    char out[50];
    get_cookie_domain(host, out, sizeof out);
    EXPECT_STREQ(out, domain) << host;
  }
  std::string long_host(80, 'h');
  char out[50];
  get_cookie_domain(long_host.c_str(), out, sizeof out);
  EXPECT_EQ(strlen(out), 49u);

  // And in the reply: a header injected through Host never reaches it.
  cgiServerAddr = "nvr.local\r\nSet-Cookie: admin=1";
  daemon().answer(3504, bytes_of_int(0));
  std::vector<std::string> lines = header_lines(call("/1018", "abc"));
  ASSERT_EQ(lines.size(), 7u);
  for (int i = 0; i < 5; i++) {
    Cookie c;
    ASSERT_TRUE(parse_cookie(lines[i], &c)) << lines[i];
    EXPECT_EQ(c.domain, "nvr.local");
  }
}

}  // namespace
