// In-process handler tests: a fresh settings database, a fake daemon on
// "/var/run/kxsocket", a short poll period and the reply captured.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include <vector>

#include "dispatchreq.h"
#include "fake_daemon.h"
#include "kxfs.h"

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

  // What the daemon was sent: every request sent before, those sent without
  // waiting included, has arrived when these return.
  void settle();
  void settle(FakeDaemon &daemon);
  // Forgets the requests seen so far, including notices still on their way.
  void forget();
  std::vector<SimRequest> sent(int code);
  // Request codes in the order sent, without the settle marker.
  std::vector<int> codes();
  // Operation-log entries (3485) in the order sent.
  std::vector<log_info> logs();

 private:
  std::unique_ptr<FakeDaemon> daemon_;
  char *buffer_ = nullptr;
  size_t length_ = 0;
  FILE *saved_out_ = nullptr;
};

// What a memory stream opened with open_memstream(&buffer, &length) holds;
// the stream starts again empty (cgiOut of the in-process tests).
std::string take_memstream(FILE *&stream, char *&buffer, size_t &length);

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

// Daemon answers and request payloads.
inline Bytes int_answer(int32_t value) {
  return bytes_of_int(value);
}
template <class T>
Bytes records_answer(const std::vector<T> &records) {
  Bytes out;
  for (const T &r : records) {
    Bytes b = bytes_of(r);
    out.insert(out.end(), b.begin(), b.end());
  }
  return out;
}
// The int32 at `offset` of a payload (0 beyond its end).
int32_t int_at(const Bytes &payload, size_t offset);
// The text at `offset`, read up to its NUL or `width` bytes.
std::string text_at(const Bytes &payload, size_t offset, size_t width);

// The body of a CGI reply (after the header block), and its header.
std::string reply_body(const std::string &reply);
std::string reply_header(const std::string &reply);
