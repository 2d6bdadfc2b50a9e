#include "kxsocket.h"

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// How long one frame may take to go out before the send fails.
constexpr std::chrono::microseconds kDefaultSendTimeout{10000};

struct Client {
  std::mutex mu;  // held while a callback runs and while the waiter tests
  std::condition_variable delivered;
  kx_sock_callback callback = nullptr;
  int context = 0;
  char path[108] = {};
  int fd = -1;
  bool muted = false;   // the exchange is over: frames are dropped
  bool ended = false;   // the receive thread has stopped reading
  uint32_t seq = 0;
  std::chrono::microseconds send_timeout = kDefaultSendTimeout;
  std::thread receiver;
};

Client g_client;

void receive_loop(int fd) {
  kx_msg_head head;
  std::vector<unsigned char> payload;
  while (kx_frame_read(fd, head, payload) == kx_frame_status::ok) {
    std::lock_guard<std::mutex> lock(g_client.mu);
    if (g_client.muted || !g_client.callback) continue;
    g_client.callback(g_client.context, &head, head.length ? payload.data() : nullptr);
    g_client.delivered.notify_all();
  }
  // Closed, or a frame that breaks the protocol: no answer can come on this
  // connection any more, so the waiter is woken now.
  shutdown(fd, SHUT_RDWR);
  std::lock_guard<std::mutex> lock(g_client.mu);
  g_client.ended = true;
  g_client.delivered.notify_all();
}

bool set_blocking(int fd, bool blocking) {
  int flags = fcntl(fd, F_GETFL);
  if (flags < 0) return false;
  flags = blocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK;
  return fcntl(fd, F_SETFL, flags) == 0;
}

// Connects without blocking: a daemon whose backlog is full refuses at once
// (EAGAIN) instead of holding the caller.
bool connect_client() {
  if (g_client.fd >= 0) return true;
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  sockaddr_un addr = {};
  addr.sun_family = AF_UNIX;
  memcpy(addr.sun_path, g_client.path, sizeof addr.sun_path - 1);
  if (connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 ||
      !set_blocking(fd, true)) {
    close(fd);
    return false;
  }
  g_client.fd = fd;
  g_client.ended = false;
  g_client.receiver = std::thread(receive_loop, fd);
  return true;
}

void drop_connection() {
  if (g_client.fd < 0) return;
  shutdown(g_client.fd, SHUT_RDWR);  // ends the receive thread's read
  if (g_client.receiver.joinable()) g_client.receiver.join();
  close(g_client.fd);
  g_client.fd = -1;
}

}  // namespace

int kx_sock_init(kx_sock_callback callback, int context, int flags, const char *path) {
  kx_sock_uninit();
  g_client.callback = callback;
  g_client.context = context;
  g_client.muted = false;
  g_client.ended = false;
  snprintf(g_client.path, sizeof g_client.path, "%s", path ? path : "");
  return connect_client() ? 0 : -1;
}

int kx_sock_send_msg(int kind, int code, const void *payload, int length, int, int) {
  if (length < 0 || !connect_client()) return -1;
  uint32_t msg_kind = kind == 1 ? KX_MSG_REQUEST : (uint32_t)kind;
  auto deadline = Clock::now() + g_client.send_timeout;
  if (kx_frame_write_until(g_client.fd, msg_kind, ++g_client.seq, code, payload,
                           (uint32_t)length, deadline) == 0) {
    return 0;
  }
  drop_connection();  // a frame may have been cut: the next attempt connects again
  return -1;
}

void kx_sock_set_send_timeout(std::chrono::microseconds timeout) {
  g_client.send_timeout = timeout;
}

void kx_sock_uninit() {
  drop_connection();
}

void kx_sock_reset() {
  drop_connection();
  std::lock_guard<std::mutex> lock(g_client.mu);
  g_client.callback = nullptr;
  g_client.context = 0;
  g_client.path[0] = '\0';
  g_client.muted = false;
  g_client.ended = false;
  g_client.seq = 0;
  g_client.send_timeout = kDefaultSendTimeout;
}

bool kx_sock_wait_until(bool (*done)(), Clock::time_point deadline) {
  std::unique_lock<std::mutex> lock(g_client.mu);
  g_client.delivered.wait_until(lock, deadline, [done] { return done() || g_client.ended; });
  g_client.muted = true;
  return done();
}

void kx_sock_wake() {
  std::lock_guard<std::mutex> lock(g_client.mu);
  g_client.delivered.notify_all();
}
