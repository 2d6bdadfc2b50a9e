// The persistent mode: the same program as a FastCGI application, over
// Debian's libfcgi. The web server starts it with a listening socket on
// standard input, or it listens itself on a Unix socket (--fastcgi PATH).
// Each request goes through cgi_serve_persistent, one at a time; the web
// server runs several processes for requests in parallel.
#pragma once

// True when standard input is the listening socket a FastCGI server hands
// its application (never under CGI: REQUEST_METHOD is set there).
bool fastcgi_started_by_server();

// Serves requests from the listening socket `listen_fd` until SIGTERM,
// SIGINT or SIGUSR1 (after the request under way). 0, or 1 when the
// library cannot start.
int fastcgi_serve(int listen_fd);

// Listens on the Unix socket `path` (replacing a stale one) and serves
// there. 1 when the socket cannot be made.
int fastcgi_serve_at(const char *path);
