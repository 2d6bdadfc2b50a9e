#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "cgic.h"

namespace {

std::string capture(void (*write)()) {
  char *buf = nullptr;
  size_t len = 0;
  FILE *saved = cgiOut;
  cgiOut = open_memstream(&buf, &len);
  write();
  fclose(cgiOut);
  cgiOut = saved;
  std::string s(buf, len);
  free(buf);
  return s;
}

TEST(Headers, CookieExpiresAtNowInUtc) {
  time_t before = time(nullptr);
  std::string line = capture([] { cgiHeaderCookieSetString("a", "b", 0, "/", "10.0.0.5"); });
  time_t after = time(nullptr);
  bool matched = false;
  for (time_t t = before; t <= after; t++) {
    struct tm g;
    gmtime_r(&t, &g);
    char want[160];
    snprintf(want, sizeof want,
             "Set-Cookie: a=b; domain=10.0.0.5; expires=%s, %02d-%s-%04d %02d:%02d:%02d GMT; "
             "path=/\r\n",
             days[g.tm_wday], g.tm_mday, months[g.tm_mon], g.tm_year + 1900, g.tm_hour,
             g.tm_min, g.tm_sec);
    matched |= line == want;
  }
  EXPECT_TRUE(matched) << line;
}

TEST(Headers, CookiesAndLocationFormOneHeaderBlock) {
  std::string out = capture([] {
    cgiHeaderCookieSetInteger("userType", 2, 600, "/", "h");
    cgiHeaderCookieSetString("language", "en-US", 600, "/", "h");
    cgiHeaderLocation("../../html/index.html");
  });
  EXPECT_EQ(out.find("\r\n\r\n"), out.size() - 4);
  std::string location = "Location: ../../html/index.html\r\n\r\n";
  EXPECT_EQ(out.rfind(location), out.size() - location.size());
  EXPECT_NE(out.find("Set-Cookie: userType=2; domain=h; expires="), std::string::npos);
  EXPECT_EQ(capture([] { cgiHeaderStatus(404, "Not Found"); }), "Status: 404 Not Found\r\n\r\n");
  EXPECT_EQ(capture([] { cgiHeaderContentType("text/csv"); }), "Content-type: text/csv\r\n\r\n");
}

}  // namespace
