// Exchanges with the core daemon, and the reply writers every handler uses.
//
// A handler opens the channel with its module's response dispatcher, sends
// one request and waits within the request's budget; the dispatcher (on the
// receive thread) writes the reply and then sets g_callback_done.
#pragma once

#include <atomic>
#include <chrono>

#include "kxsocket.h"

constexpr const char *KXSOCKET_PATH = "/var/run/kxsocket";

// 0 = no reply yet; set after the reply has been written (1 as a rule).
extern std::atomic<int> g_callback_done;

// Opens the channel, sends the request (retrying every 10 ms, at most 3000
// times) and, unless nowait is 1, waits until the flag is set or the
// request's budget is spent. -1 for a null callback, else 0.
int cgi_start_ipc(kx_sock_callback callback, int request_code, int payload_length,
                  const void *payload, int nowait);
void cgi_stop_ipc();

// Wait budget of a request code, in polls of the poll period (40 ms).
int cgi_ipc_wait_polls(int request_code);
// Test hook: the length of one poll (40 ms in service).
void cgi_ipc_set_poll_period(std::chrono::microseconds period);

// Reply modes of cgi_writeback_webserver.
constexpr int CGI_REPLY_TEXT = 0;
constexpr int CGI_REPLY_JSON = 1;
constexpr int CGI_REPLY_BODY = 2;

// Writes the header of the mode (text, JSON, none) and the text. -1 for null.
int cgi_writeback_webserver(int mode, const char *text);
// "CGI ERROR" as text (mode 0) or {status:"CGI ERROR"} as JSON (mode 1).
int cgi_error_to_webserver(int mode);

// Response whose payload is one int32 status: writes {"status": n}.
void on_cgi_common_json_cb(int count, const void *payload);
// Writes "CGI OK status:[n]" or "CGI ERROR status:[n]" (and ", data:[...]").
int on_cgi_common_text_cb(int context, int status, const char *data);

// Response header fields, as the dispatchers read them.
inline int kx_response_code(const kx_msg_head *head) { return head->code; }
inline int kx_response_length(const kx_msg_head *head) { return (int)head->length; }
