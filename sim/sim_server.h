// The simulated core daemon's server: listens on a Unix socket, reads
// request frames, answers each request code with a responder, and records
// every request. All connections are served from one thread, and a newly
// accepted connection is drained before the next is accepted, so requests
// are seen in the order the program sent them.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "kx_frame.h"

using Bytes = std::vector<unsigned char>;

struct SimRequest {
  int code = 0;
  uint32_t seq = 0;
  Bytes payload;
};

struct SimFrame {
  int code = 0;  // response code; 0 means request code + 5000
  Bytes payload;
  int delay_ms = 0;  // sent this long after the request arrived
  bool hang_up = false;  // the daemon closes the connection after this frame
  int stream = 0;  // non-zero: the frame belongs to a stream cancel() can stop
  // Runs once the frame leaves the queue: sent, or dropped with its
  // connection, by cancel() or when the server ends.
  std::function<void()> done;
};

// Frames to send for one request; none = silence.
using SimResponder = std::function<std::vector<SimFrame>(const SimRequest &)>;

class SimServer {
 public:
  explicit SimServer(std::string path);
  ~SimServer();
  SimServer(const SimServer &) = delete;
  SimServer &operator=(const SimServer &) = delete;

  bool listen();
  // Serves until stop() is called (from any thread or a signal handler).
  void run();
  void stop();

  void on(int code, SimResponder responder);
  void set_default(SimResponder responder);
  void set_journal(FILE *journal) { journal_ = journal; }
  // Drops the frames of `stream` still waiting to go out and sends `last` in
  // their place, to the same connection and sequence number. Only from a
  // responder (the server's own thread). False when the stream was not running.
  bool cancel(int stream, SimFrame last);

  std::vector<SimRequest> requests();
  void clear_requests();
  // Waits until `count` requests of `code` (any code when 0) have arrived.
  bool wait_for(int code, size_t count, int timeout_ms);

 private:
  struct Connection {
    int fd;
    Bytes buffer;
  };
  struct Pending {
    long long due_ms;
    int fd;
    uint32_t seq;
    SimFrame frame;
  };

  void accept_one();
  bool drain(Connection &c);  // false when the connection is done
  void handle(int fd, const kx_msg_head &head, const Bytes &payload);
  void send_due();
  // Removes the pending frames `drop` selects, running their done hooks.
  void drop_pending(const std::function<bool(const Pending &)> &drop);
  int next_timeout_ms();

  std::string path_;
  int listen_fd_ = -1;
  int wake_[2] = {-1, -1};
  std::atomic<bool> stopping_{false};
  std::vector<Connection> connections_;
  std::vector<Pending> pending_;
  FILE *journal_ = nullptr;

  std::mutex mu_;
  std::condition_variable arrived_;
  std::map<int, SimResponder> responders_;
  SimResponder default_;
  std::vector<SimRequest> requests_;
};

// The bytes of a record, for answers and payload checks.
template <class T>
Bytes bytes_of(const T &record) {
  const auto *p = reinterpret_cast<const unsigned char *>(&record);
  return Bytes(p, p + sizeof record);
}
Bytes bytes_of_int(int32_t value);
// Reads a record from the start of a payload (zeroed where the payload is short).
template <class T>
T record_from(const Bytes &payload, size_t offset = 0) {
  T r{};
  if (offset < payload.size()) {
    size_t n = payload.size() - offset < sizeof r ? payload.size() - offset : sizeof r;
    memcpy(&r, payload.data() + offset, n);
  }
  return r;
}
