// The recorder's web program: one process per HTTP request (CGI), or a
// persistent FastCGI application (`--fastcgi PATH`, or started by the web
// server with its listening socket on standard input).
//
// Run outside CGI (no REQUEST_METHOD), `webcgi --endpoints` prints the
// catalogue of endpoints. Under CGI the arguments are ignored: some web
// servers pass the words of a query as arguments.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cgi_deal.h"
#include "cgic.h"
#include "dispatchreq.h"
#include "fastcgi.h"

int main(int argc, char **argv) {
  if (!getenv("REQUEST_METHOD") && argc == 2 && strcmp(argv[1], "--endpoints") == 0) {
    webres_write_catalogue(stdout);
    return fflush(stdout) == 0 ? 0 : 1;
  }
  if (!getenv("REQUEST_METHOD") && argc == 3 && strcmp(argv[1], "--fastcgi") == 0) {
    return fastcgi_serve_at(argv[2]);
  }
  if (fastcgi_started_by_server()) return fastcgi_serve(0);
  cgiCaptureEnvironment();
  return cgi_serve_request();
}
