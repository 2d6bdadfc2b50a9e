// Request intake: one reader per request shape, each ending in DispatchWebReq.
#pragma once

#include <cstdio>

constexpr int CGI_PATH_SIZE = 128;
constexpr int CGI_QUERY_SIZE = 1024;
constexpr int CGI_POST_SIZE = 30720;
constexpr int CGI_POST_MAX_LINES = 128;
constexpr int CGI_UPLOAD_TEXT_SIZE = 1088;

int cgiDealGet();
int cgiDealPost();
int cgiDealUpload();

// Upload paths whose handlers are told "temp" instead of an uploaded file.
bool cgi_is_fileless_upload(const char *path);

// Whole request: reads the request as its method and content type say,
// dispatches it and releases the form entries. The process's exit status:
// 0, or 255 when a multipart body cannot be parsed.
int cgi_serve_request();

// One request of a persistent process: the request's parameters ("NAME=value"
// entries, used in place) and streams, through the same intake as a CGI
// request; then every request state is reset (cgi_request_reset), so the
// next request starts as a fresh process would. Returns what
// cgi_serve_request returned.
int cgi_serve_persistent(char **envp, FILE *in, FILE *out);
