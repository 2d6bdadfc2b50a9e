// Shared by the PTZ tests: the fixture, single requests, log entries and
// direct calls of the dispatcher.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "camera/camera_records.h"
#include "handler_fixture.h"
#include "json_checks.h"
#include "kxdb.h"
#include "kxdb_ptz.h"
#include "ptz.h"
#include "ptz_records.h"

inline const std::string kTextOk = kTextHeader + "OK";

class PtzTest : public HandlerTest {
 protected:
  // The one request of `code` as a record; fails unless there is exactly
  // one and it has the record's size.
  template <class T>
  T sent_once(int code) {
    auto requests = sent(code);
    EXPECT_EQ(requests.size(), 1u) << "request " << code;
    if (requests.empty()) return T{};
    EXPECT_EQ(requests[0].payload.size(), sizeof(T)) << "request " << code;
    return record_from<T>(requests[0].payload);
  }
  // Runs the dispatcher on one answer, as the receive thread would; returns
  // the reply written and leaves the flag as the decoder set it.
  std::string dispatch(int response, const Bytes &payload) {
    take_output();
    g_callback_done = 0;
    kx_msg_head head = {};
    head.code = response;
    head.length = (uint32_t)payload.size();
    on_ptz_ipc_callback(0, &head, payload.empty() ? nullptr : payload.data());
    return take_output();
  }
  // The one operation-log entry sent: {parameter type, channel field}.
  std::pair<int, int> only_log() {
    auto entries = logs();
    EXPECT_EQ(entries.size(), 1u);
    if (entries.empty()) return {-1, -1};
    EXPECT_EQ(entries[0].sub_type, 206);
    EXPECT_EQ(entries[0].main_type, 4);
    return {entries[0].param_type, entries[0].channel};
  }
};

// {"preset": p, "time": t, "speed": s} for p = first, first + 1, ...
inline std::string path_json(int count, int first = 1) {
  std::string out = "[";
  for (int i = 0; i < count; i++) {
    int p = first + i;
    out += (i ? "," : "") + std::string("{\"preset\":") + std::to_string(p) +
           ",\"time\":" + std::to_string(10 * p) + ",\"speed\":" + std::to_string(p % 9) + "}";
  }
  return out + "]";
}

inline ptz_tour_table stored_tour_table(int channel) {
  ptz_tour_table table = {};
  EXPECT_EQ(read_ptz_tour(KXDB_FILE, &table, channel), 0);
  return table;
}
