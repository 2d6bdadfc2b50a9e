#include "kx_frame.h"

#include <cerrno>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

static bool read_all(int fd, void *buf, size_t n) {
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
  if (length > KX_MSG_MAX_LENGTH || (length && !payload)) return -1;
  kx_msg_head head = {KX_MSG_MAGIC, kind, seq, code, 0, length};
  iovec iov[2] = {{&head, sizeof head}, {const_cast<void *>(payload), length}};
  msghdr msg = {};
  msg.msg_iov = iov;
  msg.msg_iovlen = length ? 2 : 1;
  size_t left = sizeof head + length;
  while (left > 0) {
    ssize_t sent = sendmsg(fd, &msg, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return -1;
    left -= (size_t)sent;
    // Advance the vector past what went out.
    while (sent > 0 && msg.msg_iovlen > 0) {
      size_t step = (size_t)sent < msg.msg_iov->iov_len ? (size_t)sent : msg.msg_iov->iov_len;
      msg.msg_iov->iov_base = static_cast<char *>(msg.msg_iov->iov_base) + step;
      msg.msg_iov->iov_len -= step;
      sent -= (ssize_t)step;
      if (msg.msg_iov->iov_len == 0) {
        msg.msg_iov++;
        msg.msg_iovlen--;
      }
    }
  }
  return 0;
}
