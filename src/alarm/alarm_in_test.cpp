// The recorder's alarm inputs on the basic pages.
#include "alarm_test_util.h"

namespace {

class AlarmIn : public AlarmTest {
 protected:
  // The change notice and log entry of one stored input.
  void expect_input_stored(int id) {
    settle();
    EXPECT_EQ(sent_numbers(ALARM_IN_CHANGED), (std::vector<int32_t>{id}));
    auto entries = logs();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].param_type, 910);
    EXPECT_EQ(entries[0].sub_type, 204);
    EXPECT_EQ(entries[0].channel, id + 1);
  }
};

std::string alarm_json(int id, int enable, int type, const std::string &extra = "") {
  return R"({"id": )" + std::to_string(id) + R"(, "enable": )" + std::to_string(enable) +
         R"(, "name": "Front door", "type": )" + std::to_string(type) +
         R"(, "triChannels": "1010", "triAlarms": 3, "interval": 20)" + extra + "}";
}

TEST_F(AlarmIn, PlansAreStoredWithTheArmingAction) {
  std::string request =
      R"({"alarm": )" + alarm_json(4, 2, 1) + R"(, "schedule": )" + schedule_json(8, 12) + "}";
  EXPECT_EQ(call("/6062", request), kTextOk);
  expect_input_stored(4);
  alarm_in_params in = stored_in(4);
  EXPECT_EQ(in.enable, 2);
  EXPECT_EQ(std::string(in.name), "Front door");
  EXPECT_EQ(in.trigger_mask, 5u);
  EXPECT_EQ(in.triAlarms, 3);
  schedule s = {};
  ASSERT_EQ(read_alarm_in_schedule(KXDB_FILE, &s, 4), 0);
  for (const schedule_day &day : s.days) {
    for (int p = 0; p < SCHEDULE_JSON_PLANS; p++) EXPECT_EQ(day.plans[p].action_type, 6);
    for (int p = SCHEDULE_JSON_PLANS; p < SCHEDULE_PLANS; p++) {
      const schedule_plan &plan = day.plans[p];
      EXPECT_TRUE(plan.action_type == 0 && plan.start_time[0] == 0 && plan.end_time[0] == 0);
    }
  }
  EXPECT_STREQ(s.days[7].plans[11].start_time, "07:00");
  EXPECT_STREQ(s.days[7].plans[11].end_time, "11:59");

  JsonPtr body = parse_body(call("/6061", "4"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"alarm", "schedule"}));
  EXPECT_EQ(member_names(json_member(body.get(), "alarm")),
            (std::vector<std::string>{"id", "enable", "name", "type", "triChannels", "triAlarms",
                                      "interval", "triSnapshot"}));
  json_object *plan = at(at(json_member(body.get(), "schedule"), 7), 11);
  EXPECT_EQ(text_member(plan, "startTime"), "07:00");
  EXPECT_EQ(int_member(plan, "actionType"), 6);
}

TEST_F(AlarmIn, ShortPlanListsReadAsEmptyPlans) {
  std::string request =
      R"({"alarm": )" + alarm_json(0, 1, 0) + R"(, "schedule": )" + schedule_json(2, 3) + "}";
  EXPECT_EQ(call("/6062", request), kTextOk);
  schedule s = {};
  ASSERT_EQ(read_alarm_in_schedule(KXDB_FILE, &s, 0), 0);
  EXPECT_EQ(days_set(s), 2);
  EXPECT_EQ(s.days[1].plans[3].start_time[0], '\0');
  EXPECT_EQ(s.days[5].plans[0].action_type, 6);
}

TEST_F(AlarmIn, BasicStoreKeepsEnableAndRefusesSilently) {
  alarm_in_params before = {};
  before.id = 2;
  before.enable = 1;
  snprintf(before.triSnapshot, sizeof before.triSnapshot, "0001");
  ASSERT_EQ(write_alarm_in(KXDB_FILE, &before), 0);
  EXPECT_EQ(call("/6064", R"({"alarm": )" + alarm_json(2, 0, 1) + "}"), kTextOk);
  expect_input_stored(2);
  alarm_in_params in = stored_in(2);
  EXPECT_EQ(in.enable, 1);  // checked, not stored
  EXPECT_EQ(in.type, 1);
  EXPECT_EQ(in.interval, 20);
  EXPECT_EQ(in.trigger_mask, 5u);
  EXPECT_STREQ(in.triSnapshot, "0001");  // the rest of the record is kept
  forget();
  const std::string refused[] = {
      R"({"alarm": )" + alarm_json(2, 3, 0) + "}",
      R"({"alarm": )" + alarm_json(2, 0, 2) + "}",
      R"({"alarm": )" + alarm_json(16, 0, 0) + "}",
      R"({"alarm": )" + alarm_json(-1, 0, 0) + "}",
      R"({"alarm": {"id": 1, "enable": 0, "type": 0, "triAlarms": 0, "interval": 0}})",
      R"({"alarm": {"id": 1, "enable": 0, "type": 0, "triChannels": "", "triAlarms": -1,
                    "interval": 0}})",
      R"({"alarm": {"id": 1, "enable": 0, "type": 0, "triChannels": "", "triAlarms": 0}})",
      R"({"id": 1})",
      "{",
  };
  for (const std::string &r : refused) {
    EXPECT_EQ(call("/6064", r), "") << r;
    EXPECT_EQ(call("/6062", r), "") << r;
  }
  settle();
  EXPECT_TRUE(codes().empty());
  EXPECT_EQ(stored_in(2).type, 1);
}

TEST_F(AlarmIn, BaseStoreStaysWithinTheInputs) {
  EXPECT_EQ(call("/6063", R"({"alarm": {"camId": 15, "name": "Back", "type": 1, "enable": 1}})"),
            kTextOk);
  expect_input_stored(15);
  EXPECT_STREQ(stored_in(15).name, "Back");
  forget();
  for (const char *bad : {R"({"alarm": {"camId": 99, "name": "x"}})",
                          R"({"alarm": {"camId": -1, "name": "x"}})", R"({"alarm": {"name": "x"}})",
                          R"({"camId": 0})"}) {
    EXPECT_EQ(call("/6063", bad), "") << bad;
  }
  settle();
  EXPECT_TRUE(codes().empty());
  EXPECT_EQ(stored_in(0).name[0], '\0');
}

TEST_F(AlarmIn, FailedWritesAnswerTheTextErrorAndTellNobody) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6064", R"({"alarm": )" + alarm_json(1, 0, 0) + "}"), kCgiError);
  EXPECT_EQ(call("/6063", R"({"alarm": {"camId": 1}})"), kCgiError);
  EXPECT_EQ(call("/6062", R"({"alarm": )" + alarm_json(1, 0, 0) + "}"), kCgiError);
  settle();
  EXPECT_TRUE(codes().empty());
}

TEST_F(AlarmIn, ListAndScheduleReaderNumbers) {
  JsonPtr body = parse_body(call("/6060"));
  ASSERT_TRUE(body);
  ASSERT_EQ(json_object_array_length(body.get()), 16u);
  EXPECT_EQ(member_names(at(body.get(), 0)),
            (std::vector<std::string>{"id", "enable", "name", "type", "triChannels",
                                      "triAlarms"}));
  EXPECT_EQ(int_member(at(body.get(), 15), "id"), 15);
  for (const char *bad : {"16", "-1", "", "x"}) EXPECT_EQ(call("/6061", bad), kJsonError) << bad;
}

TEST_F(AlarmIn, NameListHoldsTheRecorderAndEveryCamera) {
  alarm_in_params in = {};
  in.id = 15;
  snprintf(in.name, sizeof in.name, "Fire panel");
  ASSERT_EQ(write_alarm_in(KXDB_FILE, &in), 0);
  alarm_chnin_name n = {10, 3, "Loop 4"};
  ASSERT_EQ(write_alarm_chnIn_event_name(KXDB_FILE, &n), 0);
  JsonPtr body = parse_body(call("/6034"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"nvr", "camera"}));
  json_object *nvr = json_member(body.get(), "nvr");
  ASSERT_EQ(json_object_array_length(nvr), 16u);
  EXPECT_STREQ(json_object_get_string(at(nvr, 15)), "Fire panel");
  json_object *camera = json_member(body.get(), "camera");
  ASSERT_EQ(json_object_array_length(camera), 64u);
  for (size_t ch = 0; ch < 64; ch++) EXPECT_EQ(json_object_array_length(at(camera, ch)), 4u);
  EXPECT_STREQ(json_object_get_string(at(at(camera, 10), 3)), "Loop 4");
}

}  // namespace
