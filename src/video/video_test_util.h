// Shared by the event and video tests: the fixture, daemon requests in
// order, log entries, schedule requests and stored records.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "handler_fixture.h"
#include "json_checks.h"
#include "kxdb.h"
#include "kxdb_motion.h"
#include "video.h"
#include "video_records.h"
#include "web_utils.h"

inline const std::string kTextOk = kTextHeader + "OK";

class VideoTest : public HandlerTest {
 protected:
  // Forgets the requests seen so far, notices still on their way included.
  void forget() {
    settle(daemon());
    daemon().clear();
  }
  std::vector<SimRequest> sent(int code) {
    settle(daemon());
    return daemon().requests(code);
  }
  // Every request but the settle marker, in the order sent.
  std::vector<int> codes() {
    settle(daemon());
    std::vector<int> out;
    for (int c : daemon().codes()) {
      if (c != kSettleMarker) out.push_back(c);
    }
    return out;
  }
  std::vector<log_info> logs() {
    std::vector<log_info> out;
    for (auto &r : sent(3485)) out.push_back(record_from<log_info>(r.payload));
    return out;
  }
};

template <class T>
T only_payload(const std::vector<SimRequest> &requests) {
  EXPECT_EQ(requests.size(), 1u);
  if (requests.empty()) return T{};
  EXPECT_EQ(requests[0].payload.size(), sizeof(T));
  return record_from<T>(requests[0].payload);
}

inline int32_t int_at(const Bytes &payload, size_t offset) {
  int32_t v = 0;
  if (offset + 4 <= payload.size()) memcpy(&v, payload.data() + offset, 4);
  return v;
}

// A "schedule" member: `days` days of `plans` plans, plan p of day d being
// ["HH:MM" of d, "HH:MM" of p, action d + p].
inline std::string schedule_json(int days, int plans) {
  std::string out = "[";
  for (int d = 0; d < days; d++) {
    out += d ? ",[" : "[";
    for (int p = 0; p < plans; p++) {
      char plan[64];
      snprintf(plan, sizeof plan, "%s[\"%02d:00\",\"%02d:59\",%d]", p ? "," : "", d, p, d + p);
      out += plan;
    }
    out += "]";
  }
  return out + "]";
}

inline motion_params stored_motion_record(int channel) {
  motion_params m = {};
  EXPECT_EQ(read_motion(KXDB_FILE, &m, channel), 0);
  return m;
}

// The 8 x 12 shape of a schedule reply; false (with a failure) otherwise.
inline bool schedule_shape_ok(json_object *days) {
  if (!days || json_object_get_type(days) != json_type_array) {
    ADD_FAILURE() << "not an array";
    return false;
  }
  EXPECT_EQ(json_object_array_length(days), 8u);
  for (size_t d = 0; d < json_object_array_length(days); d++) {
    json_object *day = json_object_array_get_idx(days, d);
    EXPECT_EQ(json_object_array_length(day), 12u) << "day " << d;
    for (size_t p = 0; p < json_object_array_length(day); p++) {
      EXPECT_EQ(member_names(json_object_array_get_idx(day, p)),
                (std::vector<std::string>{"startTime", "endTime", "actionType"}));
    }
  }
  return !::testing::Test::HasFailure();
}

// Plan p of day d of a schedule reply, as "start-end/action".
inline std::string plan_at(json_object *days, int d, int p) {
  json_object *plan = json_object_array_get_idx(json_object_array_get_idx(days, d), p);
  if (!plan) return "<missing>";
  return text_member(plan, "startTime") + "-" + text_member(plan, "endTime") + "/" +
         std::to_string(int_member(plan, "actionType"));
}
