// Shared by the recording tests: the daemon's requests, log entries and the
// stored records.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "handler_fixture.h"
#include "json_checks.h"
#include <unistd.h>
#include "kxdb.h"
#include "kxdb_camera.h"
#include "kxfs.h"
#include "kxstd.h"
#include "kxdb_record.h"
#include "record_records.h"

inline const std::string kTextOk = kTextHeader + "OK";
inline const std::string kTextError = kTextHeader + "ERROR";

class RecordTest : public HandlerTest {
 protected:
  // Everything sent so far (notices travel without waiting), in order,
  // without the settle markers.
  std::vector<int> codes() {
    settle(daemon());
    std::vector<int> out;
    for (int c : daemon().codes()) {
      if (c != kSettleMarker) out.push_back(c);
    }
    return out;
  }
  std::vector<SimRequest> sent(int code) {
    settle(daemon());
    return daemon().requests(code);
  }
  std::vector<log_info> logs() {
    std::vector<log_info> out;
    for (auto &r : sent(3485)) out.push_back(record_from<log_info>(r.payload));
    return out;
  }
  void forget() {
    settle(daemon());
    daemon().clear();
  }

  static record_params stored_record(int channel) {
    record_params r = {};
    EXPECT_EQ(read_record(KXDB_FILE, &r, channel), 0);
    return r;
  }
  static camera_params stored_camera(int channel) {
    camera_params c = {};
    EXPECT_EQ(read_camera(KXDB_FILE, &c, channel), 0);
    return c;
  }
  static void store_camera(const camera_params &c) { ASSERT_EQ(write_camera(KXDB_FILE, &c), 0); }
  static void store_record(const record_params &r) { ASSERT_EQ(write_record(KXDB_FILE, &r), 0); }
};

// A 64-bit mask from a 1411/1413 payload (low word first).
inline uint64_t mask_of(const Bytes &payload) {
  auto m = record_from<record_channel_mask>(payload);
  EXPECT_EQ(payload.size(), sizeof m);
  return (uint64_t)m.high << 32 | m.low;
}

inline void expect_record_log(const log_info &entry, int param_type, int channel) {
  EXPECT_EQ(entry.main_type, 4);
  EXPECT_EQ(entry.sub_type, 204);
  EXPECT_EQ(entry.param_type, param_type);
  EXPECT_EQ(entry.channel, channel);
  EXPECT_STREQ(entry.user_name, "admin");
}
