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
  // The one request of `code`; fails the test when there is not exactly one.
  Bytes sent_once(int code) {
    auto requests = sent(code);
    EXPECT_EQ(requests.size(), 1u) << "request " << code;
    return requests.empty() ? Bytes{} : requests[0].payload;
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

// A JSON array of the integers first, first + 1, ... (count of them).
inline std::string int_array(int count, int first = 0) {
  std::string text = "[";
  for (int i = 0; i < count; i++) text += (i ? "," : "") + std::to_string(first + i);
  return text + "]";
}
