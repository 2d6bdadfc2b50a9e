// Response header lines: cookies, redirects, status and content type.
#include <ctime>

#include "cgic.h"

const char *days[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char *months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

void cgiHeaderCookieSetString(const char *name, const char *value, int seconds,
                              const char *path, const char *domain) {
  time_t expires = time(nullptr) + seconds;
  struct tm gt;
  gmtime_r(&expires, &gt);
  fprintf(cgiOut,
          "Set-Cookie: %s=%s; domain=%s; expires=%s, %02d-%s-%04d %02d:%02d:%02d GMT; "
          "path=%s\r\n",
          name, value, domain, days[gt.tm_wday], gt.tm_mday, months[gt.tm_mon],
          gt.tm_year + 1900, gt.tm_hour, gt.tm_min, gt.tm_sec, path);
}

void cgiHeaderCookieSetInteger(const char *name, int value, int seconds, const char *path,
                               const char *domain) {
  char text[16];
  snprintf(text, sizeof text, "%d", value);
  cgiHeaderCookieSetString(name, text, seconds, path, domain);
}

void cgiHeaderLocation(const char *url) {
  fprintf(cgiOut, "Location: %s\r\n\r\n", url);
}

void cgiHeaderStatus(int status, const char *text) {
  fprintf(cgiOut, "Status: %d %s\r\n\r\n", status, text);
}

void cgiHeaderContentType(const char *type) {
  fprintf(cgiOut, "Content-type: %s\r\n\r\n", type);
}
