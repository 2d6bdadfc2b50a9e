// In-process handler tests: a fresh settings database, a fake daemon on
// "/var/run/kxsocket", a short poll period and the reply captured.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "dispatchreq.h"
#include "fake_daemon.h"

class HandlerTest : public ::testing::Test {
 protected:
  // One poll lasts this long in tests: the default 1000-poll budget is 100 ms,
  // ample for an immediate answer also under emulation on a busy machine.
  static constexpr std::chrono::microseconds kPollPeriod{100};

  void SetUp() override;
  void TearDown() override;

  // Runs the handler registered for `path` with `text`; returns the reply.
  std::string call(const char *path, const std::string &text = "");
  // Runs a handler directly.
  std::string call(WebReqHandler handler, const std::string &text = "");
  // Everything written to the reply stream so far, and clears it.
  std::string take_output();

  FakeDaemon &daemon() { return *daemon_; }

 private:
  std::unique_ptr<FakeDaemon> daemon_;
  char *buffer_ = nullptr;
  size_t length_ = 0;
  FILE *saved_out_ = nullptr;
};

// Removes the settings databases and closes their connections.
void reset_settings();

// A request code no module uses: sent as a marker by settle().
constexpr int kSettleMarker = 9999;
// Waits until the daemon has seen every request sent before, those sent
// without waiting included (it serves them in the order they were sent).
void settle(FakeDaemon &daemon);

// Makes every settings write fail while it lives: the database file becomes
// a directory. Reads give factory defaults.
struct BrokenSettings {
  BrokenSettings();
  ~BrokenSettings();
};

// The body of a CGI reply (after the header block), and its header.
std::string reply_body(const std::string &reply);
std::string reply_header(const std::string &reply);
