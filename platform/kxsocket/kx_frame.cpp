#include "kx_frame.h"

#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

bool read_all(int fd, void *buf, size_t n) {
  auto *p = static_cast<unsigned char *>(buf);
  while (n > 0) {
    ssize_t got = recv(fd, p, n, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    p += got;
    n -= (size_t)got;
  }
  return true;
}

using Clock = std::chrono::steady_clock;

// Waits until the socket takes more bytes or the deadline passes.
bool wait_writable(int fd, Clock::time_point deadline) {
  for (;;) {
    auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) return false;
    auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    timespec timeout = {(time_t)(ns / 1000000000), (long)(ns % 1000000000)};
    pollfd p = {fd, POLLOUT, 0};
    int rc = ppoll(&p, 1, &timeout, nullptr);
    if (rc > 0) return (p.revents & POLLOUT) != 0;
    if (rc < 0 && errno != EINTR) return false;
  }
}

// Moves the vector past `sent` bytes.
void advance(msghdr &msg, size_t sent) {
  while (sent > 0 && msg.msg_iovlen > 0) {
    size_t step = sent < msg.msg_iov->iov_len ? sent : msg.msg_iov->iov_len;
    msg.msg_iov->iov_base = static_cast<char *>(msg.msg_iov->iov_base) + step;
    msg.msg_iov->iov_len -= step;
    sent -= step;
    if (msg.msg_iov->iov_len == 0) {
      msg.msg_iov++;
      msg.msg_iovlen--;
    }
  }
}

int write_frame(int fd, uint32_t kind, uint32_t seq, int32_t code, const void *payload,
                uint32_t length, const Clock::time_point *deadline) {
  if (length > KX_MSG_MAX_LENGTH || (length && !payload)) return -1;
  kx_msg_head head = {KX_MSG_MAGIC, kind, seq, code, 0, length};
  iovec iov[2] = {{&head, sizeof head}, {const_cast<void *>(payload), length}};
  msghdr msg = {};
  msg.msg_iov = iov;
  msg.msg_iovlen = length ? 2 : 1;
  size_t left = sizeof head + length;
  int flags = MSG_NOSIGNAL | (deadline ? MSG_DONTWAIT : 0);
  while (left > 0) {
    ssize_t sent = sendmsg(fd, &msg, flags);
    if (sent < 0 && errno == EINTR) continue;
    if (sent < 0 && deadline && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!wait_writable(fd, *deadline)) return -1;
      continue;
    }
    if (sent <= 0) return -1;
    left -= (size_t)sent;
    advance(msg, (size_t)sent);
  }
  return 0;
}

}  // namespace

kx_frame_status kx_frame_read(int fd, kx_msg_head &head, std::vector<unsigned char> &payload) {
  if (!read_all(fd, &head, sizeof head)) return kx_frame_status::closed;
  if (head.magic != KX_MSG_MAGIC || head.length > KX_MSG_MAX_LENGTH) {
    return kx_frame_status::invalid;
  }
  payload.resize(head.length);
  if (head.length && !read_all(fd, payload.data(), head.length)) return kx_frame_status::closed;
  return kx_frame_status::ok;
}

int kx_frame_write(int fd, uint32_t kind, uint32_t seq, int32_t code, const void *payload,
                   uint32_t length) {
  return write_frame(fd, kind, seq, code, payload, length, nullptr);
}

int kx_frame_write_until(int fd, uint32_t kind, uint32_t seq, int32_t code, const void *payload,
                         uint32_t length, Clock::time_point deadline) {
  return write_frame(fd, kind, seq, code, payload, length, &deadline);
}
