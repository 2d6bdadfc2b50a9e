// An in-process fake core daemon for tests: a SimServer on its own thread,
// with scripted answers and a record of every request.
#pragma once

#include <thread>

#include "sim_server.h"

class FakeDaemon {
 public:
  explicit FakeDaemon(const std::string &path = "/var/run/kxsocket");
  ~FakeDaemon();

  // Answers `code` with one frame (code + 5000) holding `payload`.
  void answer(int code, Bytes payload, int delay_ms = 0);
  void answer_frames(int code, std::vector<SimFrame> frames);
  void on(int code, SimResponder responder) { server_.on(code, std::move(responder)); }
  // Answers every code that has no responder of its own (none: silence).
  void answer_all(SimResponder responder) { server_.set_default(std::move(responder)); }
  void silent(int code) { server_.on(code, nullptr); }

  std::vector<SimRequest> requests() { return server_.requests(); }
  std::vector<SimRequest> requests(int code);
  std::vector<int> codes();
  bool wait_for(int code, size_t count = 1, int timeout_ms = 2000) {
    return server_.wait_for(code, count, timeout_ms);
  }
  void clear() { server_.clear_requests(); }

 private:
  SimServer server_;
  std::thread thread_;
};
