// Shared by the alarm tests: the fixture, single requests as records,
// direct calls of the dispatcher, schedule requests and stored records.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "alarm.h"
#include "alarm_records.h"
#include "handler_fixture.h"
#include "json_checks.h"
#include "kxdb.h"
#include "kxdb_alarm.h"
#include "kxdb_motion.h"

inline const std::string kTextOk = kTextHeader + "OK";

class AlarmTest : public HandlerTest {
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
  // The int32 payloads of every request of `code`, in order.
  std::vector<int32_t> sent_numbers(int code) {
    std::vector<int32_t> out;
    for (const SimRequest &r : sent(code)) out.push_back(int_at(r.payload, 0));
    return out;
  }
  // The 64-bit mask of the one request of `code`.
  uint64_t sent_mask(int code) {
    alarm_mask_notice n = sent_once<alarm_mask_notice>(code);
    return (uint64_t)n.high << 32 | n.low;
  }
  // Runs the dispatcher on one answer, as the receive thread would.
  std::string dispatch(int response, const Bytes &payload) {
    take_output();
    g_callback_done = 0;
    kx_msg_head head = {};
    head.code = response;
    head.length = (uint32_t)payload.size();
    on_alarm_ipc_callback(0, &head, payload.empty() ? nullptr : payload.data());
    return take_output();
  }
};

// A schedule member: `days` days of `plans` plans, plan p of day d being
// ["HH:00" of d, "HH:59" of p, action d + p + 1].
inline std::string schedule_json(int days, int plans) {
  std::string out = "[";
  for (int d = 0; d < days; d++) {
    out += d ? ",[" : "[";
    for (int p = 0; p < plans; p++) {
      char plan[64];
      snprintf(plan, sizeof plan, "%s[\"%02d:00\",\"%02d:59\",%d]", p ? "," : "", d, p,
               d + p + 1);
      out += plan;
    }
    out += "]";
  }
  return out + "]";
}

// Days of a stored schedule whose first plan is set.
inline int days_set(const schedule &s) {
  int days = 0;
  for (const schedule_day &d : s.days) days += d.plans[0].start_time[0] != '\0';
  return days;
}

inline alarm_in_params stored_in(int id) {
  alarm_in_params r = {};
  EXPECT_EQ(read_alarm_in(KXDB_FILE, &r, id), 0);
  return r;
}

inline alarm_out_params stored_out(int id) {
  alarm_out_params r = {};
  EXPECT_EQ(read_alarm_out(KXDB_FILE, &r, id), 0);
  return r;
}

inline json_object *at(json_object *array, size_t i) {
  return json_object_array_get_idx(array, i);
}
