// The recorder's web program: one process per HTTP request (CGI), or a
// persistent FastCGI application (`--fastcgi PATH`, or started by the web
// server with its listening socket on standard input).
//
// Run outside CGI (no REQUEST_METHOD), `webcgi --endpoints` prints the
// catalogue of endpoints and `webcgi --openapi [LEARNT]` its OpenAPI
// document (LEARNT: the shapes tests/openapi/apilearn learnt by running the
// handlers). Under CGI the arguments are ignored: some web servers pass the
// words of a query as arguments.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cgi_deal.h"
#include "cgic.h"
#include "dispatchreq.h"
#include "fastcgi.h"
#include "openapi.h"

namespace {

// The answer to a command-line request, or -1 when the arguments are none.
int command_line(int argc, char **argv) {
  if (argc == 2 && strcmp(argv[1], "--endpoints") == 0) {
    webres_write_catalogue(stdout);
    return fflush(stdout) == 0 ? 0 : 1;
  }
  if ((argc == 2 || argc == 3) && strcmp(argv[1], "--openapi") == 0) {
    bool written = webres_write_openapi(stdout, argc == 3 ? argv[2] : nullptr);
    return written && fflush(stdout) == 0 ? 0 : 1;
  }
  if (argc == 3 && strcmp(argv[1], "--fastcgi") == 0) return fastcgi_serve_at(argv[2]);
  return -1;
}

}  // namespace

int main(int argc, char **argv) {
  if (!getenv("REQUEST_METHOD")) {
    int status = command_line(argc, argv);
    if (status >= 0) return status;
  }
  if (fastcgi_started_by_server()) return fastcgi_serve(0);
  cgiCaptureEnvironment();
  return cgi_serve_request();
}
