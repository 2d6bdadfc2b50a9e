// The recorder's alarm outputs: list, one output, storing with copies,
// switching by hand and the names of every output.
#include "alarm_test_util.h"

namespace {

using AlarmOut = AlarmTest;

void store_output(int id, const char *name, int type, int enable, int duration) {
  alarm_out_params o = {id, {}, type, enable, duration};
  snprintf(o.name, sizeof o.name, "%s", name);
  ASSERT_EQ(write_alarm_out(KXDB_FILE, &o), 0);
}

TEST_F(AlarmOut, ListHasItsHeaderAndKeys) {
  store_output(2, "Siren", 1, 1, 30);
  std::string reply = call("/6020");
  EXPECT_EQ(reply.rfind(kJsonHeader, 0), 0u);  // its own header, the JSON one
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  ASSERT_EQ(json_object_array_length(body.get()), 4u);
  for (size_t i = 0; i < 4; i++) {
    EXPECT_EQ(member_names(at(body.get(), i)),
              (std::vector<std::string>{"id", "name", "type", "enable", "durationTime"}));
    EXPECT_EQ(int_member(at(body.get(), i), "id"), (int)i);
  }
  EXPECT_EQ(text_member(at(body.get(), 2), "name"), "Siren");
  EXPECT_EQ(int_member(at(body.get(), 2), "durationTime"), 30);
}

TEST_F(AlarmOut, OneOutputWithItsSchedule) {
  store_output(3, "Strobe", 0, 1, 10);
  JsonPtr body = parse_body(call("/6021", R"({"alarmId": 3})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"id", "name", "type", "enable",
                                                                "durationTime", "effective"}));
  EXPECT_EQ(text_member(body.get(), "name"), "Strobe");
  EXPECT_EQ(json_object_array_length(json_member(body.get(), "effective")), 8u);
  for (const char *bad : {R"({"alarmId": 4})", R"({"alarmId": -1})", "{}", "x"}) {
    EXPECT_EQ(call("/6021", bad), kJsonError) << bad;
  }
}

TEST_F(AlarmOut, CopyTakesValidEntriesOtherThanTheSource) {
  store_output(0, "Bell", 0, 0, 5);
  store_output(2, "Lamp", 0, 0, 5);
  std::string request = R"({"alarmId": 1, "name": "Horn", "enable": 1, "type": 1,
      "durationTime": 60, "dialog": {"effective": )" + schedule_json(2, 1) + R"(},
      "copyCnt": 4, "copyChn": [1, 2, 7, -1, 0]})";
  EXPECT_EQ(call("/6022", request), kTextOk);
  settle();
  EXPECT_EQ(sent_numbers(ALARM_OUT_CHANGED), (std::vector<int32_t>{1, 2}));
  auto entries = sent(3509);
  ASSERT_EQ(entries.size(), 1u);
  log_info_channels entry = record_from<log_info_channels>(entries[0].payload);
  EXPECT_EQ(entry.entry.param_type, 911);
  EXPECT_EQ(entry.entry.sub_type, 204);
  EXPECT_EQ(entry.entry.channel, 2);
  EXPECT_EQ(entry.chmask_low, 0x6u);
  alarm_out_params copied = stored_out(2);
  EXPECT_EQ(std::string(copied.name), "Lamp");  // names stay
  EXPECT_EQ(copied.enable, 1);
  EXPECT_EQ(copied.type, 1);
  EXPECT_EQ(copied.durationTime, 60);
  EXPECT_EQ(stored_out(0).durationTime, 5);  // beyond copyCnt
  EXPECT_EQ(std::string(stored_out(1).name), "Horn");
  schedule s = {};
  EXPECT_EQ(read_alarm_out_schedule(KXDB_FILE, &s, 2), 0);
  EXPECT_EQ(days_set(s), 2);
}

TEST_F(AlarmOut, OnlyGivenFieldsChangeAndWithoutCopiesOnlyTheSource) {
  store_output(1, "Bell", 2, 1, 9);
  EXPECT_EQ(call("/6022", R"({"alarmId": 1, "durationTime": 15, "copyCnt": 0,
                              "copyChn": [2]})"),
            kTextOk);
  settle();
  EXPECT_EQ(sent_numbers(ALARM_OUT_CHANGED), (std::vector<int32_t>{1}));
  alarm_out_params o = stored_out(1);
  EXPECT_EQ(std::string(o.name), "Bell");
  EXPECT_EQ(o.type, 2);
  EXPECT_EQ(o.durationTime, 15);
  auto entries = sent(3509);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(int_at(entries[0].payload, 672), 0x2);
}

TEST_F(AlarmOut, BadNumbersAndFailedWritesAnswerTheTextError) {
  for (const char *bad : {R"({"alarmId": 4})", R"({"alarmId": -1, "name": "x"})", "{}", "["}) {
    EXPECT_EQ(call("/6022", bad), kCgiError) << bad;
  }
  EXPECT_EQ(stored_out(0).name[0], '\0');
  {
    BrokenSettings broken;
    EXPECT_EQ(call("/6022", R"({"alarmId": 0, "name": "x"})"), kCgiError);
  }
  settle();
  EXPECT_TRUE(sent(ALARM_OUT_CHANGED).empty());
  EXPECT_TRUE(sent(3509).empty());
}

TEST_F(AlarmOut, ManualSwitchGoesToTheDaemon) {
  EXPECT_EQ(call("/6023", R"({"id": 2, "enable": 1})"), kTextOk);
  settle();
  alarm_out_state s = sent_once<alarm_out_state>(ALARM_OUT_STATE);
  EXPECT_EQ(s.output, 2);
  EXPECT_EQ(s.enable, 1);
  auto entries = logs();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].param_type, 911);
  EXPECT_EQ(entries[0].channel, 3);
  forget();
  for (const char *bad : {R"({"id": 4})", R"({"id": -1})", R"({"id": 2147483647})"}) {
    EXPECT_EQ(call("/6023", bad), kCgiError) << bad;
  }
  settle();
  EXPECT_TRUE(codes().empty());
}

TEST_F(AlarmOut, NameListHoldsTheRecorderAndEveryCamera) {
  store_output(3, "Gate relay", 0, 0, 0);
  alarm_chnout_name n = {63, 1, 5, "Camera siren"};
  ASSERT_EQ(write_alarm_chnOut_event_name(KXDB_FILE, &n), 0);
  JsonPtr body = parse_body(call("/6032"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"nvr", "camera"}));
  json_object *nvr = json_member(body.get(), "nvr");
  ASSERT_EQ(json_object_array_length(nvr), 4u);
  EXPECT_STREQ(json_object_get_string(at(nvr, 3)), "Gate relay");
  json_object *camera = json_member(body.get(), "camera");
  ASSERT_EQ(json_object_array_length(camera), 64u);
  for (size_t ch = 0; ch < 64; ch++) EXPECT_EQ(json_object_array_length(at(camera, ch)), 2u);
  EXPECT_STREQ(json_object_get_string(at(at(camera, 63), 1)), "Camera siren");
  EXPECT_STREQ(json_object_get_string(at(at(camera, 63), 0)), "");
}

}  // namespace
