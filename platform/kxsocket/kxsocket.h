// Client of the local-socket messaging library: one connection to the core
// daemon, one receive thread delivering every frame to the callback.
#pragma once

#include <chrono>

#include "kx_frame.h"

// Called on the receive thread for every frame that arrives; `payload` is
// null when the frame has no payload.
typedef void (*kx_sock_callback)(int context, const kx_msg_head *head, const void *payload);

// Opens the client. `flags` is kept for the call sites (3). Returns 0, or -1
// when the daemon cannot be reached now (a later send tries again).
int kx_sock_init(kx_sock_callback callback, int context, int flags, const char *path);

// Sends one request. 0 when it was taken; non-zero when it must be retried.
// One call never blocks longer than the send time-out: a daemon whose
// backlog is full, or that does not read, fails the call (and the
// connection is dropped, so that the next call starts afresh).
int kx_sock_send_msg(int kind, int code, const void *payload, int length, int reserved1,
                     int reserved2);

// The bound on one kx_sock_send_msg call (10 ms unless set).
void kx_sock_set_send_timeout(std::chrono::microseconds timeout);

// Closes the client; no callback runs after it returns.
void kx_sock_uninit();

// Closes the client and puts it back as a new process has it (no callback,
// sequence numbers from 1 again): between requests of a persistent process.
void kx_sock_reset();

// Sleeps until `done()` holds (tested after each delivered callback), the
// connection ends or breaks (closed by the daemon, or a frame that breaks the
// protocol), or the deadline passes. True when `done()` holds. When it
// returns, answered or not, the channel drops every later frame: nothing
// reaches the callback beside or after the caller's own reply.
bool kx_sock_wait_until(bool (*done)(), std::chrono::steady_clock::time_point deadline);

// Makes the waiter test its condition again, for conditions that change
// outside the callbacks (another thread of the caller's).
void kx_sock_wake();
