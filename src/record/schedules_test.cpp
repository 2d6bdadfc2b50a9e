// Recording schedules and the plan mode stored with them.
#include <memory>

#include "record_test_util.h"

namespace {

using Schedules = RecordTest;

// A day row with `plans` segments [HH:00, HH:30, action].
std::string day_json(int whole, int whole_action, int plans, int action) {
  std::string out = R"({"wholedayEnable": )" + std::to_string(whole) +
                    R"(, "wholedayActionType": )" + std::to_string(whole_action) +
                    R"(, "plans": [)";
  for (int s = 0; s < plans; s++) {
    char plan[64];
    snprintf(plan, sizeof plan, R"(%s["%02d:00", "%02d:30", %d])", s ? "," : "", s % 24, s % 24,
             action + s);
    out += plan;
  }
  return out + "]}";
}

std::string schedule_body(const std::string &channels, int cnt, int mode,
                          const std::string &days) {
  return R"({"cnt": )" + std::to_string(cnt) + R"(, "chnid": )" + channels +
         R"(, "recordplanmode": )" + std::to_string(mode) + R"(, "schedule": )" + days + "}";
}

std::string eight_days(int plans) {
  std::string days = "[";
  for (int d = 0; d < 8; d++) days += (d ? "," : "") + day_json(d % 2, 7, plans, d * 100);
  return days + "]";
}

TEST_F(Schedules, ChannelOutsideTheRangeGivesNoReply) {
  for (const char *bad : {"64", "-1", "", "abc", "  ", "99999999999999999999"}) {
    EXPECT_EQ(call("/6040", bad), "") << bad;
  }
}

TEST_F(Schedules, NeverStoredScheduleListsEightDaysOf48EmptyPlans) {
  std::string reply = call("/6040", "0");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"id", "schedule"}));
  EXPECT_EQ(int_member(body.get(), "id"), 0);
  json_object *days = json_member(body.get(), "schedule");
  ASSERT_EQ(json_object_array_length(days), 8u);
  json_object *day = json_object_array_get_idx(days, 7);
  EXPECT_EQ(member_names(day),
            (std::vector<std::string>{"wholedayEnable", "wholedayActionType", "plans"}));
  json_object *plans = json_member(day, "plans");
  ASSERT_EQ(json_object_array_length(plans), 48u);
  json_object *plan = json_object_array_get_idx(plans, 47);
  EXPECT_EQ(member_names(plan), (std::vector<std::string>{"startTime", "endTime", "actionType"}));
  EXPECT_EQ(text_member(plan, "startTime"), "");
  EXPECT_EQ(int_member(plan, "actionType"), 0);
  EXPECT_EQ(int_member(parse_body(call("/6040", "63")).get(), "id"), 63);
}

TEST_F(Schedules, All48PlansOfEveryDayRoundTrip) {
  EXPECT_EQ(call("/6041", schedule_body("[5, 40]", 2, 1, eight_days(48))), kTextOk);
  for (const char *channel : {"5", "40"}) {
    JsonPtr body = parse_body(call("/6040", channel));
    json_object *days = json_member(body.get(), "schedule");
    ASSERT_EQ(json_object_array_length(days), 8u);
    for (int d = 0; d < 8; d++) {
      json_object *day = json_object_array_get_idx(days, d);
      EXPECT_EQ(int_member(day, "wholedayEnable"), d % 2);
      // A day without the whole-day switch keeps no whole-day action.
      EXPECT_EQ(int_member(day, "wholedayActionType"), d % 2 ? 7 : 0);
      json_object *plans = json_member(day, "plans");
      ASSERT_EQ(json_object_array_length(plans), 48u);
      for (int s = 0; s < 48; s++) {
        json_object *plan = json_object_array_get_idx(plans, s);
        char start[8];
        snprintf(start, sizeof start, "%02d:00", s % 24);
        EXPECT_EQ(text_member(plan, "startTime"), start);
        EXPECT_EQ(int_member(plan, "actionType"), d * 100 + s);
      }
    }
  }
  auto stored = std::make_unique<record_schedule>();
  ASSERT_EQ(read_record_schedule(KXDB_FILE, stored.get(), 6), 0);
  EXPECT_EQ(stored->days[0].plans[0].start_time[0], '\0');  // an unlisted channel
}

TEST_F(Schedules, MissingPlansAndLongTextsStayWithinTheRecord) {
  std::string day = R"({"wholedayEnable": 0, "wholedayActionType": 9, "plans": [
      ["01:00", "02:00", 3], null, [")" + std::string(5000, 'x') + R"(", 5], {"a": 1}, 7]})";
  EXPECT_EQ(call("/6041", schedule_body("[2]", 1, 0, "[" + day + "]")), kTextOk);
  auto s = std::make_unique<record_schedule>();
  ASSERT_EQ(read_record_schedule(KXDB_FILE, s.get(), 2), 0);
  EXPECT_STREQ(s->days[0].plans[0].end_time, "02:00");
  EXPECT_EQ(s->days[0].plans[0].action_type, 3);
  EXPECT_STREQ(s->days[0].plans[1].start_time, "");
  EXPECT_EQ(std::string(s->days[0].plans[2].start_time), std::string(31, 'x'));
  EXPECT_STREQ(s->days[0].plans[2].end_time, "5");  // json-c's text of a number
  EXPECT_EQ(s->days[0].plans[2].action_type, 0);
  EXPECT_EQ(s->days[0].wholedayActionType, 0);
  EXPECT_EQ(s->days[1].plans[0].action_type, 0);  // a missing day row is empty
  EXPECT_EQ(s->reserved, 0);
}

TEST_F(Schedules, NoChannelStoresNothingSendsEmptyMasksAndLogsChannelOne) {
  EXPECT_EQ(call("/6041", schedule_body("[3]", 0, 2, eight_days(1))), kTextOk);
  EXPECT_EQ(codes(), (std::vector<int>{1413, 1411, 3485}));
  EXPECT_EQ(mask_of(sent(1413).at(0).payload), 0u);
  EXPECT_EQ(mask_of(sent(1411).at(0).payload), 0u);
  expect_record_log(logs().at(0), 907, 1);
  EXPECT_EQ(stored_record(3).mode, 0);
  EXPECT_EQ(call("/6041", R"({"chnid": [1]})"), "");  // without "cnt": nothing at all
  EXPECT_EQ(call("/6041", "{"), "");
}

TEST_F(Schedules, OnlyChannelsInRangeAreStoredAndOnlyChangedModesNotified) {
  record_params stays = {};
  stays.id = 33;
  stays.mode = 2;
  stays.prevRecordDuration = 15;
  store_record(stays);
  // 70, -1 and the null are skipped; 33 already has mode 2; the count runs
  // past the end of the list.
  EXPECT_EQ(call("/6041", schedule_body("[1, 70, 33, -1, null, 63, 70]", 100, 2, eight_days(2))),
            kTextOk);
  EXPECT_EQ(codes(), (std::vector<int>{1413, 1411, 3485}));
  EXPECT_EQ(mask_of(sent(1413).at(0).payload), (1ULL << 1) | (1ULL << 63));
  EXPECT_EQ(mask_of(sent(1411).at(0).payload), (1ULL << 1) | (1ULL << 33) | (1ULL << 63));
  expect_record_log(logs().at(0), 907, 71);  // the last value taken, plus one
  EXPECT_EQ(stored_record(1).mode, 2);
  EXPECT_EQ(stored_record(63).mode, 2);
  EXPECT_EQ(stored_record(33).prevRecordDuration, 15);  // the rest of the row is kept
  EXPECT_EQ(stored_record(0).mode, 0);
}

TEST_F(Schedules, PlanModeOnAFreshDatabaseReadsBack) {
  EXPECT_EQ(call("/6041", schedule_body("[4]", 1, 1, eight_days(1))), kTextOk);
  JsonPtr body = parse_body(call("/6042"));
  json_object *entry = json_object_array_get_idx(json_member(body.get(), "records"), 4);
  EXPECT_EQ(int_member(entry, "id"), 4);
  EXPECT_EQ(int_member(entry, "mode"), 1);
  EXPECT_EQ(int_member(parse_body(call("/6040", "4")).get(), "id"), 4);
}

TEST_F(Schedules, FailedStoreIsAnErrorWithoutNoticesAndKeepsNothing) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6041", schedule_body("[4]", 1, 1, eight_days(1))), kCgiError);
  EXPECT_EQ(codes(), std::vector<int>{});
}

}  // namespace
