// Exchanges with the core daemon, and the reply writers every handler uses.
//
// A handler exchanges one request with cgi_exchange: it opens the channel
// with the module's response dispatcher, sends the request (retrying), waits
// within the request's budget while the dispatcher (on the receive thread)
// writes the reply and sets g_callback_done, writes the error reply when no
// answer came, and closes the channel.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

#include "kxsocket.h"

constexpr const char *KXSOCKET_PATH = "/var/run/kxsocket";

// 0 = no reply yet; set after the reply has been written (1 as a rule).
extern std::atomic<int> g_callback_done;

// Opens the channel, sends the request (retrying every 10 ms, at most 3000
// attempts, each bounded) and, unless nowait is 1, waits until the flag is
// set, the connection ends, or the request's budget is spent. When every
// attempt failed nothing was sent and it returns at once. -1 for a null
// callback, else 0. Frames after the wait never reach the callback.
int cgi_start_ipc(kx_sock_callback callback, int request_code, int payload_length,
                  const void *payload, int nowait);
void cgi_stop_ipc();

// Reply modes of cgi_writeback_webserver.
constexpr int CGI_REPLY_TEXT = 0;
constexpr int CGI_REPLY_JSON = 1;
constexpr int CGI_REPLY_BODY = 2;
// cgi_exchange: no error reply, the handler writes its own.
constexpr int CGI_REPLY_NONE = -1;

// One whole exchange: start, wait, the error reply of `error_mode` ("CGI
// ERROR" as text, {status:"CGI ERROR"} as JSON, or nothing for
// CGI_REPLY_NONE) when no answer came, and the stop. True when answered.
bool cgi_exchange(kx_sock_callback callback, int request_code, const void *payload, int length,
                  int error_mode = CGI_REPLY_TEXT);

// Wait budget of a request code, in polls of the poll period (40 ms).
int cgi_ipc_wait_polls(int request_code);
// Test hook: the length of one poll (40 ms in service). The send retry
// period scales with it (a quarter: 10 ms in service).
void cgi_ipc_set_poll_period(std::chrono::microseconds period);
// A fixed pause of a handler (the daemon's settling time), scaled like the
// poll period: `service_time` in service, proportionally less in tests.
void cgi_ipc_pause(std::chrono::milliseconds service_time);
// The length of one poll now (40 ms unless a test shortened it).
std::chrono::microseconds cgi_ipc_poll_period();

// Writes the header of the mode (text, JSON, none) and the text. -1 for null.
int cgi_writeback_webserver(int mode, const char *text);
// "CGI ERROR" as text (mode 0) or {status:"CGI ERROR"} as JSON (mode 1).
int cgi_error_to_webserver(int mode);
// Writes the text in `mode` and sets the flag: the end of most decoders.
void cgi_reply_done(int mode, const char *text, int flag = 1);

// The int32 status at the start of an answer; false when the answer is too
// short to hold one (treated like a missing answer).
bool cgi_answer_status(const void *payload, int length, int32_t *status);

// Response whose payload is one int32 status: writes {"status": n}.
void on_cgi_common_json_cb(int count, const void *payload);
// Writes "CGI OK status:[n]" or "CGI ERROR status:[n]" (and ", data:[...]").
int on_cgi_common_text_cb(int context, int status, const char *data);

// Response header fields, as the dispatchers read them.
inline int kx_response_code(const kx_msg_head *head) { return head->code; }
inline int kx_response_length(const kx_msg_head *head) { return (int)head->length; }
