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

// The expected line is written out here, names included, so that a fault in
// the code's day or month tables cannot hide behind them.
std::string expected_cookie(time_t t) {
  static const char *const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char *const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  struct tm g;
  gmtime_r(&t, &g);
  char want[160];
  snprintf(want, sizeof want,
           "Set-Cookie: a=b; domain=10.0.0.5; expires=%s, %02d-%s-%04d %02d:%02d:%02d GMT; "
           "path=/\r\n",
           kDays[g.tm_wday], g.tm_mday, kMonths[g.tm_mon], g.tm_year + 1900, g.tm_hour, g.tm_min,
           g.tm_sec);
  return want;
}

TEST(Headers, CookieExpiresAtNowInUtc) {
  time_t before = time(nullptr);
  std::string line = capture([] { cgiHeaderCookieSetString("a", "b", 0, "/", "10.0.0.5"); });
  time_t after = time(nullptr);
  bool matched = false;
  for (time_t t = before; t <= after; t++) matched |= line == expected_cookie(t);
  EXPECT_TRUE(matched) << line;
}

TEST(Headers, CookieDatesAreFixedTexts) {
  // 2001-09-09 01:46:40 UTC was a Sunday; 2000-02-29 12:00:00 a Tuesday.
  EXPECT_EQ(expected_cookie(1000000000),
            "Set-Cookie: a=b; domain=10.0.0.5; expires=Sun, 09-Sep-2001 01:46:40 GMT; path=/\r\n");
  EXPECT_EQ(expected_cookie(951825600),
            "Set-Cookie: a=b; domain=10.0.0.5; expires=Tue, 29-Feb-2000 12:00:00 GMT; path=/\r\n");
  // Beyond 2038 on the 32-bit board too (64-bit time).
  static_assert(sizeof(time_t) == 8);
  time_t before = time(nullptr);
  std::string line =
      capture([] { cgiHeaderCookieSetString("a", "b", 0x7fffffff, "/", "10.0.0.5"); });
  time_t after = time(nullptr);
  bool matched = false;
  for (time_t t = before; t <= after; t++) matched |= line == expected_cookie(t + 0x7fffffff);
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
