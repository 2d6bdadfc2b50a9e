#include "cgi_ipc.h"

#include <cstdio>
#include <cstring>
#include <thread>

#include "cgic.h"
#include "request_reset.h"

std::atomic<int> g_callback_done{0};

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSendAttempts = 3000;
std::chrono::microseconds g_poll_period = std::chrono::milliseconds(40);
std::chrono::microseconds g_send_period = std::chrono::milliseconds(10);

// The handler's dispatcher; frames reach it only while no reply is written.
kx_sock_callback g_dispatcher = nullptr;

void guarded_dispatch(int context, const kx_msg_head *head, const void *payload) {
  // The receive thread runs one frame at a time: once a decoder has replied,
  // a second answer to the same request is dropped, not written twice.
  if (g_callback_done.load() != 0 || !g_dispatcher) return;
  g_dispatcher(context, head, payload);
}

bool callback_done() {
  return g_callback_done.load() != 0;
}

bool code_in(int code, std::initializer_list<int> codes) {
  for (int c : codes) {
    if (c == code) return true;
  }
  return false;
}

// Sends with retries: one attempt per send period, each bounded by it, at
// most kSendAttempts of them. True when the request was taken.
bool send_request(int request_code, const void *payload, int payload_length) {
  kx_sock_set_send_timeout(g_send_period);
  for (int attempt = 1;; attempt++) {
    auto slot_end = Clock::now() + g_send_period;
    if (kx_sock_send_msg(1, request_code, payload, payload_length, 0, 0) == 0) return true;
    if (attempt >= kSendAttempts) return false;
    std::this_thread::sleep_until(slot_end);
  }
}

// The channel is closed and no exchange is under way: no dispatcher, no
// completion flag. The poll and send periods are test settings, not
// request state.
void reset_exchange_state() {
  kx_sock_reset();
  g_dispatcher = nullptr;
  g_callback_done = 0;
}

}  // namespace

CGI_RESET_HOOK(reset_exchange_state)

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
  g_send_period = period / 4;
}

void cgi_ipc_pause(std::chrono::milliseconds service_time) {
  constexpr std::chrono::microseconds kServicePoll = std::chrono::milliseconds(40);
  std::this_thread::sleep_for(std::chrono::microseconds(service_time) * g_poll_period.count() /
                              kServicePoll.count());
}

std::chrono::microseconds cgi_ipc_poll_period() {
  return g_poll_period;
}

int cgi_start_ipc(kx_sock_callback callback, int request_code, int payload_length,
                  const void *payload, int nowait) {
  if (!callback) return -1;
  kx_sock_uninit();  // no frame of an earlier exchange runs beside the switch
  g_dispatcher = callback;
  kx_sock_init(guarded_dispatch, 0, 3, KXSOCKET_PATH);
  g_callback_done = 0;
  bool sent = send_request(request_code, payload, payload_length);
  // Nothing was taken, so no answer can come: no wait.
  if (nowait == 1 || !sent) return 0;
  auto budget = cgi_ipc_wait_polls(request_code) * g_poll_period;
  kx_sock_wait_until(callback_done, Clock::now() + budget);
  return 0;
}

void cgi_stop_ipc() {
  kx_sock_uninit();
}

bool cgi_exchange(kx_sock_callback callback, int request_code, const void *payload, int length,
                  int error_mode) {
  cgi_start_ipc(callback, request_code, length, payload, 0);
  bool answered = g_callback_done.load() != 0;
  if (!answered) cgi_error_to_webserver(error_mode);
  cgi_stop_ipc();
  return answered;
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

void cgi_reply_done(int mode, const char *text, int flag) {
  cgi_writeback_webserver(mode, text);
  g_callback_done = flag;
}

bool cgi_answer_status(const void *payload, int length, int32_t *status) {
  if (!payload || length < (int)sizeof(int32_t)) return false;
  memcpy(status, payload, sizeof *status);
  return true;
}

void on_cgi_common_json_cb(int count, const void *payload) {
  if (count <= 0 || !payload) return;
  int32_t status;
  memcpy(&status, payload, sizeof status);
  char text[48];
  snprintf(text, sizeof text, "{ \"status\": %d }", status);
  cgi_reply_done(CGI_REPLY_JSON, text);
}

int on_cgi_common_text_cb(int context, int status, const char *data) {
  char text[256];
  int n = snprintf(text, sizeof text, status >= 0 ? "CGI OK status:[%d]" : "CGI ERROR status:[%d]",
                   status);
  if (data && n >= 0 && n < (int)sizeof text) {
    snprintf(text + n, sizeof text - (size_t)n, ", data:[%s]", data);
  }
  cgi_reply_done(CGI_REPLY_TEXT, text);
  return 1;
}
