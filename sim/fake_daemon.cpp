#include "fake_daemon.h"

#include <stdexcept>

FakeDaemon::FakeDaemon(const std::string &path) : server_(path) {
  if (!server_.listen()) throw std::runtime_error("fake daemon cannot listen on " + path);
  thread_ = std::thread([this] { server_.run(); });
}

FakeDaemon::~FakeDaemon() {
  server_.stop();
  thread_.join();
}

void FakeDaemon::answer(int code, Bytes payload, int delay_ms) {
  answer_frames(code, {SimFrame{0, std::move(payload), delay_ms}});
}

void FakeDaemon::answer_frames(int code, std::vector<SimFrame> frames) {
  server_.on(code, [frames](const SimRequest &) { return frames; });
}

std::vector<SimRequest> FakeDaemon::requests(int code) {
  std::vector<SimRequest> out;
  for (auto &r : server_.requests()) {
    if (r.code == code) out.push_back(r);
  }
  return out;
}

std::vector<int> FakeDaemon::codes() {
  std::vector<int> out;
  for (auto &r : server_.requests()) out.push_back(r.code);
  return out;
}
