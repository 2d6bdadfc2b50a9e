// The alarm status page: masks of the daemon's record with the settings' names.
#include "status_test_util.h"

namespace {

using AlarmStatus = StatusTest;

alarm_state_record state_with_bits() {
  alarm_state_record s = {};
  s.videoloss = 1ULL << 33;
  s.motion = 1ULL << 1;
  s.alarmOut = 1u << 2;
  s.alarmIn = 1u << 3 | 1u << 20;  // bit 20: beyond the 16 inputs
  s.tampering = 1ULL << 33 | 1ULL << 0;
  s.objectLeftRemove = 1ULL << 39;
  s.pairs[33] = {7, 5};
  s.camInState[3] = 1ULL << 33;
  s.camInType[1] = 1ULL << 33;
  s.camOutState[1] = 1ULL << 33;
  s.camOutType[0] = 1ULL << 32;
  return s;
}

void store_names() {
  alarm_chnin_name in = {};
  in.chn = 33;
  in.index = 3;
  put_text(in.alarmName, "Back gate");
  ASSERT_EQ(write_alarm_chnIn_event_name(KXDB_FILE, &in), 0);
  alarm_chnout_name out = {};
  out.chn = 33;
  out.index = 1;
  out.delayTime = 30;
  put_text(out.alarmName, "Siren");
  ASSERT_EQ(write_alarm_chnOut_event_name(KXDB_FILE, &out), 0);
  alarm_in_params input = {};
  input.id = 3;
  input.type = 1;
  put_text(input.name, "Window");
  ASSERT_EQ(write_alarm_in(KXDB_FILE, &input), 0);
  alarm_out_params output = {};
  output.id = 2;
  output.type = 1;
  output.durationTime = 45;
  put_text(output.name, "Horn");
  ASSERT_EQ(write_alarm_out(KXDB_FILE, &output), 0);
}

TEST_F(AlarmStatus, Bit33ReachesChannel33OnlyWithForty) {
  set_param_int(KXDB_FILE, "max_cameras", 40);
  store_camera(33, "Yard", "192.168.1.133");
  store_names();
  daemon().answer(3305, bytes_of(state_with_bits()));
  std::string reply = call("/8003");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body) << reply;
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{"cameras", "alarmIn", "alarmOut"}));
  json_object *cameras = json_member(body.get(), "cameras");
  ASSERT_EQ(json_object_array_length(cameras), 40u);
  for (int j = 0; j < 40; j++) {
    EXPECT_EQ(int_member(element(cameras, j), "videolossOn"), j == 33 ? 1 : 0) << j;
  }
  json_object *c = element(cameras, 33);
  EXPECT_EQ(member_names(c),
            (std::vector<std::string>{
                "id", "name", "ipAddr", "videolossOn", "motionOn", "ioOn", "entrance", "exiting",
                "advancedMotion", "tampering", "lineCrossing", "loitering", "humanDetection",
                "objectleftremove", "in", "out",
                "AlarmInName0", "AlarmInType0", "AlarmInState0",
                "AlarmOutName0", "AlarmOutDelay0", "AlarmOutType0", "AlarmOutState0",
                "AlarmInName1", "AlarmInType1", "AlarmInState1",
                "AlarmOutName1", "AlarmOutDelay1", "AlarmOutType1", "AlarmOutState1",
                "AlarmInName2", "AlarmInType2", "AlarmInState2",
                "AlarmInName3", "AlarmInType3", "AlarmInState3"}));
  EXPECT_EQ(text_member(c, "name"), "Yard");
  EXPECT_EQ(text_member(c, "ipAddr"), "192.168.1.133");
  EXPECT_EQ(int_member(c, "ioOn"), 1);
  EXPECT_EQ(int_member(c, "motionOn"), 0);
  EXPECT_EQ(int_member(c, "tampering"), 1);
  EXPECT_EQ(int_member(c, "objectleftremove"), 0);
  EXPECT_EQ(int_member(c, "in"), 7);
  EXPECT_EQ(int_member(c, "out"), 5);
  EXPECT_EQ(text_member(c, "AlarmInName3"), "Back gate");
  EXPECT_EQ(int_member(c, "AlarmInState3"), 1);
  EXPECT_EQ(int_member(c, "AlarmInType1"), 1);
  EXPECT_EQ(int_member(c, "AlarmInType3"), 0);
  EXPECT_EQ(text_member(c, "AlarmOutName1"), "Siren");
  EXPECT_EQ(int_member(c, "AlarmOutDelay1"), 30);
  EXPECT_EQ(int_member(c, "AlarmOutState1"), 1);
  EXPECT_EQ(int_member(c, "AlarmOutType0"), 0);  // bit 32 is channel 32's
  EXPECT_EQ(int_member(element(cameras, 32), "AlarmOutType0"), 1);
  EXPECT_EQ(int_member(element(cameras, 1), "motionOn"), 1);
  EXPECT_EQ(int_member(element(cameras, 0), "tampering"), 1);
  EXPECT_EQ(int_member(element(cameras, 39), "objectleftremove"), 1);

  json_object *inputs = json_member(body.get(), "alarmIn");
  ASSERT_EQ(json_object_array_length(inputs), 16u);
  json_object *window = element(inputs, 3);
  EXPECT_EQ(member_names(window), (std::vector<std::string>{"id", "name", "type", "state"}));
  EXPECT_EQ(text_member(window, "name"), "Window");
  EXPECT_EQ(int_member(window, "type"), 1);
  EXPECT_EQ(int_member(window, "state"), 1);
  EXPECT_EQ(int_member(element(inputs, 2), "state"), 0);
  json_object *outputs = json_member(body.get(), "alarmOut");
  ASSERT_EQ(json_object_array_length(outputs), 4u);
  json_object *horn = element(outputs, 2);
  EXPECT_EQ(member_names(horn),
            (std::vector<std::string>{"id", "name", "type", "duration", "state"}));
  EXPECT_EQ(text_member(horn, "name"), "Horn");
  EXPECT_EQ(int_member(horn, "duration"), 45);
  EXPECT_EQ(int_member(horn, "state"), 1);
}

TEST_F(AlarmStatus, CountsAreCappedToTheTables) {
  set_param_int(KXDB_FILE, "max_cameras", 100);
  set_param_int(KXDB_FILE, "alarm_in", 40);
  set_param_int(KXDB_FILE, "alarm_out", 9);
  alarm_state_record s = {};
  s.videoloss = 1ULL << 63;
  daemon().answer(3305, bytes_of(s));
  JsonPtr body = parse_body(call("/8003"));
  ASSERT_TRUE(body);
  json_object *cameras = json_member(body.get(), "cameras");
  ASSERT_EQ(json_object_array_length(cameras), 64u);
  EXPECT_EQ(int_member(element(cameras, 63), "videolossOn"), 1);
  EXPECT_EQ(json_object_array_length(json_member(body.get(), "alarmIn")), 16u);
  EXPECT_EQ(json_object_array_length(json_member(body.get(), "alarmOut")), 4u);

  set_param_int(KXDB_FILE, "alarm_in", 2);
  set_param_int(KXDB_FILE, "alarm_out", 1);
  daemon().answer(3305, bytes_of(s));
  body = parse_body(call("/8003"));
  ASSERT_TRUE(body);
  EXPECT_EQ(json_object_array_length(json_member(body.get(), "alarmIn")), 2u);
  EXPECT_EQ(json_object_array_length(json_member(body.get(), "alarmOut")), 1u);
}

TEST_F(AlarmStatus, ShortRecordIsMissing) {
  Bytes answer = bytes_of(state_with_bits());
  answer.resize(703);
  daemon().answer(3305, answer);
  EXPECT_EQ(call("/8003"), kJsonError);
}

}  // namespace
