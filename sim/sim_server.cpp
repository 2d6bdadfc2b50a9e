#include "sim_server.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr std::chrono::seconds kSendBound{10};  // for one frame to leave

long long now_ms() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

Bytes bytes_of_int(int32_t value) {
  return bytes_of(value);
}

SimServer::SimServer(std::string path) : path_(std::move(path)) {
  if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) wake_[0] = wake_[1] = -1;
}

SimServer::~SimServer() {
  drop_pending([](const Pending &) { return true; });
  for (auto &c : connections_) close(c.fd);
  if (listen_fd_ >= 0) {
    close(listen_fd_);
    unlink(path_.c_str());
  }
  close(wake_[0]);
  close(wake_[1]);
}

bool SimServer::listen() {
  listen_fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (listen_fd_ < 0) return false;
  sockaddr_un addr = {};
  addr.sun_family = AF_UNIX;
  snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path_.c_str());
  unlink(path_.c_str());
  return bind(listen_fd_, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0 &&
         ::listen(listen_fd_, 128) == 0;
}

void SimServer::stop() {
  stopping_ = true;
  if (wake_[1] >= 0) {
    char c = 1;
    ssize_t ignored = write(wake_[1], &c, 1);
    (void)ignored;
  }
}

void SimServer::on(int code, SimResponder responder) {
  std::lock_guard<std::mutex> lock(mu_);
  responders_[code] = std::move(responder);
}

void SimServer::set_default(SimResponder responder) {
  std::lock_guard<std::mutex> lock(mu_);
  default_ = std::move(responder);
}

std::vector<SimRequest> SimServer::requests() {
  std::lock_guard<std::mutex> lock(mu_);
  return requests_;
}

void SimServer::clear_requests() {
  std::lock_guard<std::mutex> lock(mu_);
  requests_.clear();
}

bool SimServer::wait_for(int code, size_t count, int timeout_ms) {
  std::unique_lock<std::mutex> lock(mu_);
  return arrived_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] {
    size_t n = 0;
    for (auto &r : requests_) n += code == 0 || r.code == code;
    return n >= count;
  });
}

void SimServer::accept_one() {
  int fd = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
  if (fd < 0) return;
  connections_.push_back({fd, {}});
  if (!drain(connections_.back())) {
    close(fd);
    connections_.pop_back();
  }
}

// Reads what the connection holds and handles every whole frame.
bool SimServer::drain(Connection &c) {
  bool open = true;
  unsigned char buf[65536];
  for (;;) {
    ssize_t n = recv(c.fd, buf, sizeof buf, 0);
    if (n > 0) {
      c.buffer.insert(c.buffer.end(), buf, buf + n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    open = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    break;
  }
  size_t used = 0;
  while (c.buffer.size() - used >= sizeof(kx_msg_head)) {
    kx_msg_head head;
    memcpy(&head, c.buffer.data() + used, sizeof head);
    if (head.magic != KX_MSG_MAGIC || head.length > KX_MSG_MAX_LENGTH) return false;
    if (c.buffer.size() - used - sizeof head < head.length) break;
    const unsigned char *p = c.buffer.data() + used + sizeof head;
    handle(c.fd, head, Bytes(p, p + head.length));
    used += sizeof head + head.length;
  }
  c.buffer.erase(c.buffer.begin(), c.buffer.begin() + (long)used);
  return open;
}

void SimServer::handle(int fd, const kx_msg_head &head, const Bytes &payload) {
  SimRequest request{head.code, head.seq, payload};
  SimResponder responder;
  {
    std::lock_guard<std::mutex> lock(mu_);
    requests_.push_back(request);
    auto it = responders_.find(head.code);
    responder = it != responders_.end() ? it->second : default_;
  }
  arrived_.notify_all();
  std::vector<SimFrame> frames = responder ? responder(request) : std::vector<SimFrame>{};
  if (journal_) {
    fprintf(journal_, "request %d length %u answered with %zu frame(s)\n", head.code, head.length,
            frames.size());
    fflush(journal_);
  }
  for (auto &f : frames) {
    if (f.code == 0) f.code = head.code + KX_RESPONSE_OFFSET;
    pending_.push_back({now_ms() + f.delay_ms, fd, head.seq, std::move(f)});
  }
  send_due();
}

void SimServer::send_due() {
  long long now = now_ms();
  for (size_t i = 0; i < pending_.size();) {
    Pending &p = pending_[i];
    if (p.due_ms > now) {
      i++;
      continue;
    }
    // The socket does not block: a frame larger than its buffer waits for
    // the peer to read, within a bound. A frame that could not go out whole
    // leaves the connection cut, so it is hung up.
    bool sent = kx_frame_write_until(p.fd, KX_MSG_RESPONSE, p.seq, p.frame.code,
                                     p.frame.payload.data(), (uint32_t)p.frame.payload.size(),
                                     std::chrono::steady_clock::now() + kSendBound) == 0;
    // The poll loop then sees the hang-up and drops the connection.
    if (p.frame.hang_up || !sent) shutdown(p.fd, SHUT_RDWR);
    std::function<void()> done = std::move(p.frame.done);
    pending_.erase(pending_.begin() + (long)i);
    if (done) done();
  }
}

void SimServer::drop_pending(const std::function<bool(const Pending &)> &drop) {
  std::vector<std::function<void()>> hooks;
  for (size_t i = 0; i < pending_.size();) {
    if (!drop(pending_[i])) {
      i++;
      continue;
    }
    if (pending_[i].frame.done) hooks.push_back(std::move(pending_[i].frame.done));
    pending_.erase(pending_.begin() + (long)i);
  }
  for (auto &hook : hooks) hook();
}

bool SimServer::cancel(int stream, SimFrame last) {
  auto it = std::find_if(pending_.begin(), pending_.end(),
                         [stream](const Pending &p) { return p.frame.stream == stream; });
  if (stream == 0 || it == pending_.end()) return false;
  int fd = it->fd;
  uint32_t seq = it->seq;
  int code = it->frame.code;
  drop_pending([stream](const Pending &p) { return p.frame.stream == stream; });
  if (last.code == 0) last.code = code;
  pending_.push_back({now_ms() + last.delay_ms, fd, seq, std::move(last)});
  return true;
}

int SimServer::next_timeout_ms() {
  if (pending_.empty()) return 1000;
  long long soonest = pending_.front().due_ms;
  for (auto &p : pending_) soonest = p.due_ms < soonest ? p.due_ms : soonest;
  long long wait = soonest - now_ms();
  return wait < 0 ? 0 : (int)wait;
}

void SimServer::run() {
  while (!stopping_) {
    std::vector<pollfd> fds = {{wake_[0], POLLIN, 0}, {listen_fd_, POLLIN, 0}};
    for (auto &c : connections_) fds.push_back({c.fd, POLLIN, 0});
    if (poll(fds.data(), fds.size(), next_timeout_ms()) < 0 && errno != EINTR) break;
    // Connections first: what they hold was sent before any newer connection.
    for (size_t i = connections_.size(); i-- > 0;) {
      if (!(fds[i + 2].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      if (!drain(connections_[i])) {
        // Frames still pending for it are dropped with it.
        int fd = connections_[i].fd;
        drop_pending([fd](const Pending &p) { return p.fd == fd; });
        close(fd);
        connections_.erase(connections_.begin() + (long)i);
      }
    }
    if (fds[1].revents & POLLIN) accept_one();
    send_due();
  }
}
