// Action schedules of the recorder's alarm inputs and the several-input pages.
#include "kxdb_alarm.h"
#include "video_loss.h"
#include "video_test_util.h"

namespace {

using AlarmInSchedules = VideoTest;

alarm_in_params input(int id) {
  alarm_in_params r = {};
  EXPECT_EQ(read_alarm_in(KXDB_FILE, &r, id), 0);
  return r;
}

Bytes mask_payload(uint64_t mask) {
  return bytes_of(channel_mask_notice{(uint32_t)mask, (uint32_t)(mask >> 32)});
}

std::string first_plan(int (*read)(const char *, schedule *, int), int id) {
  schedule s = {};
  EXPECT_EQ(read(KXDB_FILE, &s, id), 0);
  const auto &p = s.days[0].plans[0];
  return std::string(p.start_time) + "-" + p.end_time + "/" + std::to_string(p.action_type);
}

void name_input(int id, const char *name) {
  alarm_in_params r = {};
  r.id = id;
  snprintf(r.name, sizeof r.name, "%s", name);
  ASSERT_EQ(write_alarm_in(KXDB_FILE, &r), 0);
}

TEST_F(AlarmInSchedules, AudibleScheduleChangesTheListedInputsOnly) {
  name_input(3, "Door");
  std::string body = R"({"cnt": 5, "chnid": [3, 16, -1, 63], "enable": 1, "interval": 20,
                         "schedule": )" + schedule_json(1, 1) + "}";
  EXPECT_EQ(call("/6125", body), kTextOk);
  alarm_in_params in = input(3);
  EXPECT_EQ(in.enable, 1);
  EXPECT_EQ(in.interval, 20);
  EXPECT_STREQ(in.name, "Door");
  EXPECT_EQ(input(0).interval, 0);  // the missing fifth element is no input 0
  EXPECT_EQ(first_plan(read_alarmin_audible_schedule, 3), "00:00-00:59/0");
  EXPECT_EQ(first_plan(read_alarmin_audible_schedule, 0), "-/0");
  EXPECT_EQ(codes(), (std::vector<int>{1415}));
  EXPECT_EQ(sent(1415).at(0).payload, mask_payload(1ULL << 3));

  JsonPtr days = parse_body(call("/6129", "3"));
  ASSERT_TRUE(schedule_shape_ok(days.get()));
  EXPECT_EQ(plan_at(days.get(), 0, 0), "00:00-00:59/0");
  // The audible reader answers up to 63 (empty beyond the inputs), the
  // e-mail reader always.
  EXPECT_TRUE(schedule_shape_ok(parse_body(call("/6129", "20")).get()));
  EXPECT_EQ(call("/6129", "64"), "");
  EXPECT_EQ(call("/6129", "-1"), "");
  EXPECT_TRUE(schedule_shape_ok(parse_body(call("/6128", "64")).get()));
}

TEST_F(AlarmInSchedules, EmailScheduleStoresSwitchIntervalAndSnapshots) {
  std::string snapshots(70, '1');
  std::string body = R"({"cnt": 2, "chnid": [1, 2], "enable": 1, "interval": 30,
                         "triSnapshot": ")" + snapshots + R"(", "schedule": )" +
                     schedule_json(1, 1) + "}";
  EXPECT_EQ(call("/6126", body), kTextOk);
  for (int id : {1, 2}) {
    alarm_in_params in = input(id);
    EXPECT_EQ(in.email_enable, 1);
    EXPECT_EQ(in.email_interval, 30);
    EXPECT_EQ(std::string(in.triSnapshot), std::string(64, '1'));
    EXPECT_EQ(first_plan(read_alarmin_email_schedule, id), "00:00-00:59/0");
  }
  JsonPtr days = parse_body(call("/6128", "2"));
  EXPECT_EQ(plan_at(days.get(), 0, 0), "00:00-00:59/0");
  EXPECT_EQ(sent(1415).at(0).payload, mask_payload(1ULL << 1 | 1ULL << 2));

  forget();
  BrokenSettings broken;
  EXPECT_EQ(call("/6126", body), kCgiError);
  EXPECT_EQ(call("/6125", body), kCgiError);
  EXPECT_EQ(call("/6125", "{"), "");
  EXPECT_TRUE(codes().empty());
}

TEST_F(AlarmInSchedules, QuickChangeSetsOutputsOrTriggersAndCopiesArming) {
  schedule arming = {};
  snprintf(arming.days[0].plans[0].start_time, 32, "07:00");
  arming.days[0].plans[0].action_type = 1;
  ASSERT_EQ(write_alarmin_effective_schedule(KXDB_FILE, &arming, 0), 0);
  name_input(4, "Gate");

  EXPECT_EQ(call("/6127", R"({"camId": 0, "type": 1, "cnt": 2, "chnid": [4, 17],
                              "triAlarms": 9})"),
            kTextOk);
  EXPECT_EQ(input(4).triAlarms, 9);
  EXPECT_STREQ(input(4).name, "Gate");
  EXPECT_EQ(first_plan(read_alarmin_effective_schedule, 4), "07:00-/1");
  EXPECT_EQ(codes(), (std::vector<int>{1415, 3509}));
  EXPECT_EQ(sent(1415).at(0).payload, mask_payload(1ULL << 4));
  Bytes log = sent(3509).at(0).payload;
  EXPECT_EQ(int_at(log, 24), 910);
  EXPECT_EQ(int_at(log, 672), 1 << 4);

  forget();
  std::string channels = "1010" + std::string(29, '0') + "1" + std::string(36, '1');
  EXPECT_EQ(call("/6127", R"({"camId": 0, "type": 0, "cnt": 1, "chnid": [5],
                              "triChannels": ")" + channels + "\"}"),
            kTextOk);
  alarm_in_params in = input(5);
  EXPECT_EQ(std::string(in.triChannels), channels.substr(0, 64));  // 64 characters kept
  EXPECT_EQ(in.trigger_mask, 0x5u);  // positions from 32 on set no bit
  EXPECT_EQ(in.triAlarms, 0);
  EXPECT_EQ(first_plan(read_alarmin_effective_schedule, 5), "07:00-/1");
}

TEST_F(AlarmInSchedules, InputsThatDoNotExistChangeNothing) {
  name_input(2, "Kept");
  alarm_in_params kept = input(2);
  kept.triAlarms = 3;
  ASSERT_EQ(write_alarm_in(KXDB_FILE, &kept), 0);
  schedule arming = {};
  snprintf(arming.days[0].plans[0].start_time, 32, "01:00");
  ASSERT_EQ(write_alarmin_effective_schedule(KXDB_FILE, &arming, 2), 0);
  // An arming source that does not exist would copy an empty schedule.
  EXPECT_EQ(call("/6127", R"({"camId": 16, "type": 1, "cnt": 1, "chnid": [2], "triAlarms": 0})"),
            "");
  EXPECT_EQ(call("/6127", R"({"type": 1, "cnt": 1, "chnid": [2], "triAlarms": 0})"), "");
  for (const char *path : {"/6167", "/6170"}) {
    for (const char *camId : {"16", "-1", "64"}) {
      std::string body = std::string(R"({"camId": )") + camId +
                         R"(, "cnt": 1, "chnid": [2], "schedule": []})";
      EXPECT_EQ(call(path, body), kCgiError) << path << " " << camId;
    }
  }
  EXPECT_TRUE(codes().empty());
  EXPECT_EQ(input(2).triAlarms, 3);
  EXPECT_EQ(first_plan(read_alarmin_effective_schedule, 2), "01:00-/0");
}

TEST_F(AlarmInSchedules, PtzAndArmingSchedulesOfInputs) {
  ptz_action_params list[PTZ_ACTION_MAX] = {};
  list[0].chn_id = 1;
  list[0].acto_ptz_channel = 2;
  list[0].acto_ptz_preset = 6;
  ASSERT_EQ(write_ptz_params_all(KXDB_FILE, list, 0, 1), 0);
  std::string body = R"({"camId": 1, "cnt": 3, "chnid": [1, 15, 16], "schedule": )" +
                     schedule_json(1, 1) + "}";
  EXPECT_EQ(call("/6167", body), kTextOk);
  ptz_action_params got[PTZ_ACTION_MAX] = {};
  int count = 0;
  ASSERT_EQ(read_ptz_params(KXDB_FILE, got, 0, 15, &count), 0);
  EXPECT_EQ(got[0].chn_id, 15);
  EXPECT_EQ(got[0].acto_ptz_preset, 6);
  ASSERT_EQ(read_ptz_params(KXDB_FILE, got, 0, 16, &count), 0);
  EXPECT_EQ(got[0].acto_ptz_channel, 0);
  EXPECT_EQ(sent(1415).at(0).payload, mask_payload(1ULL << 1 | 1ULL << 15));
  JsonPtr days = parse_body(call("/6168", "15"));
  EXPECT_EQ(plan_at(days.get(), 0, 0), "00:00-00:59/0");

  forget();
  EXPECT_EQ(call("/6170", R"({"camId": 7, "schedule": )" + schedule_json(2, 1) + "}"), kTextOk);
  EXPECT_EQ(codes(), (std::vector<int>{1404}));
  EXPECT_EQ(sent(1404).at(0).payload, bytes_of_int(7));
  days = parse_body(call("/6169", "7"));
  EXPECT_EQ(plan_at(days.get(), 1, 0), "01:00-00:59/1");

  forget();
  BrokenSettings broken;
  EXPECT_EQ(call("/6170", R"({"camId": 7, "schedule": []})"), kCgiError);
  EXPECT_EQ(call("/6167", body), kCgiError);
  EXPECT_TRUE(codes().empty());
}

}  // namespace
