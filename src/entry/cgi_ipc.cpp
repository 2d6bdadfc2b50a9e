#include "cgi_ipc.h"

#include <cstdio>
#include <cstring>
#include <thread>

#include "cgic.h"

std::atomic<int> g_callback_done{0};

namespace {

constexpr int kSendAttempts = 3000;
constexpr auto kSendRetryPeriod = std::chrono::milliseconds(10);
std::chrono::microseconds g_poll_period = std::chrono::milliseconds(40);

bool callback_done() {
  return g_callback_done.load() != 0;
}

bool code_in(int code, std::initializer_list<int> codes) {
  for (int c : codes) {
    if (c == code) return true;
  }
  return false;
}

}  // namespace

int cgi_ipc_wait_polls(int request_code) {
  if (code_in(request_code, {3700, 3702})) return 1500;
  if (code_in(request_code, {1153, 1171, 3102, 3104, 3223, 3259, 3263, 3360, 3365, 3401, 3535})) {
    return 3000;
  }
  if (code_in(request_code, {1701, 1713, 1716, 3200, 3201, 3202, 3203, 3204, 3205, 3227, 3402,
                             3409, 3420, 3440, 3528})) {
    return 6000;
  }
  if (code_in(request_code, {3230, 3350, 3434, 3494, 3495})) return 15000;
  if (request_code == 3379) return 30000;
  return 1000;
}

void cgi_ipc_set_poll_period(std::chrono::microseconds period) {
  g_poll_period = period;
}

int cgi_start_ipc(kx_sock_callback callback, int request_code, int payload_length,
                  const void *payload, int nowait) {
  if (!callback) return -1;
  kx_sock_init(callback, 0, 3, KXSOCKET_PATH);
  g_callback_done = 0;
  for (int attempt = 1; kx_sock_send_msg(1, request_code, payload, payload_length, 0, 0) != 0;
       attempt++) {
    if (attempt >= kSendAttempts) break;  // never taken: the wait runs out
    std::this_thread::sleep_for(kSendRetryPeriod);
  }
  if (nowait == 1) return 0;
  auto budget = cgi_ipc_wait_polls(request_code) * g_poll_period;
  kx_sock_wait_until(callback_done, std::chrono::steady_clock::now() + budget);
  return 0;
}

void cgi_stop_ipc() {
  kx_sock_uninit();
}

int cgi_writeback_webserver(int mode, const char *text) {
  if (!text) return -1;
  if (mode == CGI_REPLY_TEXT) fputs("Content-type: text/plain\r\n\r\n", cgiOut);
  else if (mode == CGI_REPLY_JSON) fputs("Content-type: application/json\r\n\r\n", cgiOut);
  fputs(text, cgiOut);
  fflush(cgiOut);
  return 0;
}

int cgi_error_to_webserver(int mode) {
  if (mode == CGI_REPLY_TEXT) cgi_writeback_webserver(mode, "CGI ERROR");
  else if (mode == CGI_REPLY_JSON) cgi_writeback_webserver(mode, "{status:\"CGI ERROR\"}");
  return 0;
}

void on_cgi_common_json_cb(int count, const void *payload) {
  if (count <= 0 || !payload) return;
  int32_t status;
  memcpy(&status, payload, sizeof status);
  char text[48];
  snprintf(text, sizeof text, "{ \"status\": %d }", status);
  cgi_writeback_webserver(CGI_REPLY_JSON, text);
  g_callback_done = 1;
}

int on_cgi_common_text_cb(int context, int status, const char *data) {
  char text[256];
  int n = snprintf(text, sizeof text, status >= 0 ? "CGI OK status:[%d]" : "CGI ERROR status:[%d]",
                   status);
  if (data && n >= 0 && n < (int)sizeof text) {
    snprintf(text + n, sizeof text - (size_t)n, ", data:[%s]", data);
  }
  cgi_writeback_webserver(CGI_REPLY_TEXT, text);
  g_callback_done = 1;
  return 1;
}
