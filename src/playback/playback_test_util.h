// Shared by the playback tests: requests seen by the fake daemon, answers,
// log entries and direct calls of the dispatcher. Times are read in UTC.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "handler_fixture.h"
#include "json_checks.h"
#include "playback.h"
#include "playback_records.h"
#include "web_utils.h"

inline const std::string kTextOk = kTextHeader + "OK";

class PlaybackTest : public HandlerTest {
 protected:
  void SetUp() override {
    HandlerTest::SetUp();
    setenv("TZ", "UTC0", 1);
    tzset();
  }
  // Waits until the daemon has seen everything sent before (requests sent
  // without waiting included; the daemon keeps their order).
  void settle() { ::settle(daemon()); }
  void forget() {
    settle();
    daemon().clear();
  }
  std::vector<SimRequest> sent(int code) {
    settle();
    return daemon().requests(code);
  }
  // The one request of `code`; fails the test when there is not exactly one.
  Bytes sent_once(int code) {
    auto requests = sent(code);
    EXPECT_EQ(requests.size(), 1u) << "request " << code;
    return requests.empty() ? Bytes{} : requests[0].payload;
  }
  std::vector<log_info> logs() {
    std::vector<log_info> out;
    for (auto &r : sent(3485)) out.push_back(record_from<log_info>(r.payload));
    return out;
  }
  // Requests other than the settle marker, in the order sent.
  std::vector<int> codes() {
    settle();
    std::vector<int> out;
    for (int c : daemon().codes()) {
      if (c != kSettleMarker) out.push_back(c);
    }
    return out;
  }
  // Answers request `code` with one frame of response code `response`.
  void answer_as(int code, int response, Bytes payload) {
    daemon().answer_frames(code, {SimFrame{response, std::move(payload), 0}});
  }
  // Runs the dispatcher on one answer, as the receive thread would; returns
  // the reply written and leaves the flag as the decoder set it.
  std::string dispatch(int response, const Bytes &payload) {
    take_output();
    g_callback_done = 0;
    kx_msg_head head = {};
    head.code = response;
    head.length = (uint32_t)payload.size();
    on_stream_callback(0, &head, payload.empty() ? nullptr : payload.data());
    return take_output();
  }
};

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

inline int32_t int_at(const Bytes &payload, size_t offset) {
  int32_t v = 0;
  if (offset + 4 <= payload.size()) memcpy(&v, payload.data() + offset, 4);
  return v;
}

inline std::string text_at(const Bytes &payload, size_t offset, size_t width) {
  if (offset >= payload.size()) return "";
  size_t n = std::min(width, payload.size() - offset);
  const char *p = reinterpret_cast<const char *>(payload.data() + offset);
  return std::string(p, strnlen(p, n));
}

// A JSON array of the integers first, first + 1, ... (count of them).
inline std::string int_array(int count, int first = 0) {
  std::string text = "[";
  for (int i = 0; i < count; i++) text += (i ? "," : "") + std::to_string(first + i);
  return text + "]";
}
