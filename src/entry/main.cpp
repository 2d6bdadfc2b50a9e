// The recorder's web program: one process per HTTP request (CGI).
#include "cgi_deal.h"
#include "cgic.h"

int main() {
  cgiCaptureEnvironment();
  return cgi_serve_request();
}
