// The linkage page of a recorder input: read whole, stored with the
// disarming record and copies.
#include "alarm_test_util.h"

namespace {

using InputLinkage = AlarmTest;

std::string dialog_json() {
  return R"({"effective": )" + schedule_json(1, 1) + R"(, "audible": )" + schedule_json(2, 1) +
         R"(, "email": )" + schedule_json(3, 1) + R"(, "ptz": )" + schedule_json(4, 1) +
         R"(, "white": )" + schedule_json(5, 1) + R"(, "httpSche": )" + schedule_json(6, 1) +
         R"(, "whiteInfo": [[3, 1, 10]],
            "httpParams": {"url": "http://h/%41", "username": "u", "password": "p"},
            "triChnAlarms": ["1000", "0100"], "triAlarms": 2, "interval": 3, "audioId": 4,
            "email_interval": 5, "email_pic_enable": 1, "tri_channels_pic": "0011",
            "ptz_interval": 6, "alarmout_interval": 7, "white_interval": 8,
            "http_notification_interval": 9, "triChannels": "1010", "triSnapshot": "01",
            "ptzParams": [{"acto_ptz_channel": 2, "acto_ptz_type": 1, "acto_ptz_preset": 5}]})";
}

int ptz_entries(int id) {
  ptz_action_params list[PTZ_ACTION_MAX] = {};
  int count = 0;
  EXPECT_EQ(read_ptz_params(KXDB_FILE, list, 0, id, &count), 0);
  int set = 0;
  for (int i = 0; i < count; i++) set += list[i].acto_ptz_channel > 0;
  return set;
}

TEST_F(InputLinkage, DialogStoresFieldsFlagsAndSchedules) {
  EXPECT_EQ(call("/6027", R"({"alarmId": 5, "alarmType": 1, "name": "Shutter",
                              "dialog": )" + dialog_json() + "}"),
            kTextOk);
  settle();
  EXPECT_EQ(sent_mask(ALARM_INS_CHANGED), 1ULL << 5);
  alarm_in_params in = stored_in(5);
  EXPECT_EQ(in.type, 1);
  EXPECT_STREQ(in.name, "Shutter");
  EXPECT_EQ(in.interval, 3);
  EXPECT_EQ(in.interval_enable, 2);
  EXPECT_EQ(in.email_interval, 5);
  EXPECT_EQ(in.email_enable, 2);
  EXPECT_EQ(in.trigger_mask, 5u);
  EXPECT_STREQ(in.triSnapshot, "01");
  EXPECT_STREQ(in.triChnAlarms[1], "0100");
  EXPECT_EQ(in.http_notification_interval, 9);
  schedule s = {};
  ASSERT_EQ(read_alarmin_ptz_schedule(KXDB_FILE, &s, 5), 0);
  EXPECT_EQ(days_set(s), 4);
  ASSERT_EQ(read_http_notification_schedule(KXDB_FILE, &s, "alarmin_http_notification_sche", 5),
            0);
  EXPECT_EQ(days_set(s), 6);
  EXPECT_EQ(ptz_entries(5), 1);
  alarm_disarming d = {};
  EXPECT_EQ(kxdb_get(KXDB_FILE, "alarm_disarming", 0, &d, sizeof d), 1);  // input 0 only

  JsonPtr body = parse_body(call("/6026", R"({"alarmId": 5})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{
                "alarmId", "name", "alarmType", "enable", "triAlarms", "interval",
                "email_interval", "email_pic_enable", "tri_channels_pic", "ptz_interval",
                "alarmout_interval", "triChannels", "triSnapshot", "effective", "audible",
                "email", "ptz", "triChnAlarms", "white", "whiteInfo", "white_interval",
                "audioId", "audioIdMask", "ptzParams"}));
  EXPECT_EQ(text_member(body.get(), "triChannels"), "1010");
  EXPECT_EQ(json_object_array_length(json_member(body.get(), "whiteInfo")), 1u);
  EXPECT_EQ(json_object_array_length(json_member(body.get(), "ptzParams")), 1u);
}

TEST_F(InputLinkage, InputZeroKeepsTheDisarmingRecord) {
  EXPECT_EQ(call("/6027", R"({"alarmId": 0, "disarmActionMask": 12})"), kTextOk);
  alarm_disarming d = {};
  ASSERT_EQ(read_disarming(KXDB_FILE, &d), 0);
  EXPECT_EQ(d.disarmActionMask, 12);
  EXPECT_EQ(d.linkageAction, 0);
  alarm_in_params in = {};
  EXPECT_EQ(kxdb_get(KXDB_FILE, "alarm_in", 0, &in, sizeof in), 0);  // written as well
  EXPECT_EQ(call("/6027", R"({"alarmId": 0, "linkageAction": 3})"), kTextOk);
  ASSERT_EQ(read_disarming(KXDB_FILE, &d), 0);
  EXPECT_EQ(d.disarmActionMask, 12);
  EXPECT_EQ(d.linkageAction, 3);
  // Another input never touches it.
  EXPECT_EQ(call("/6027", R"({"alarmId": 1, "linkageAction": 9})"), kTextOk);
  ASSERT_EQ(read_disarming(KXDB_FILE, &d), 0);
  EXPECT_EQ(d.linkageAction, 3);
  EXPECT_EQ(kxdb_get(KXDB_FILE, "alarm_in", 1, &in, sizeof in), 1);
}

TEST_F(InputLinkage, CopyGoesToValidInputsKeepingTheirNames) {
  alarm_in_params target = {};
  target.id = 2;
  target.enable = 1;
  snprintf(target.name, sizeof target.name, "Window");
  ASSERT_EQ(write_alarm_in(KXDB_FILE, &target), 0);
  std::string request = R"({"alarmId": 1, "name": "Door", "alarmType": 1, "dialog": )" +
                        dialog_json() +
                        R"(, "copyCnt": 4, "copyChn": [1, 2, 16, 15, 3]})";
  EXPECT_EQ(call("/6027", request), kTextOk);
  settle();
  EXPECT_EQ(sent_mask(ALARM_INS_CHANGED), 1ULL << 1 | 1ULL << 2 | 1ULL << 15);
  for (int id : {2, 15}) {
    alarm_in_params in = stored_in(id);
    EXPECT_EQ(in.type, 1) << id;
    EXPECT_EQ(in.interval_enable, 2) << id;
    EXPECT_EQ(in.email_enable, 2) << id;
    EXPECT_EQ(in.audioId, 4) << id;
    EXPECT_STREQ(in.triChannels, "1010");
    schedule s = {};
    ASSERT_EQ(read_alarmin_email_schedule(KXDB_FILE, &s, id), 0);
    EXPECT_EQ(days_set(s), 3);
    EXPECT_EQ(ptz_entries(id), 1);
  }
  alarm_in_params window = stored_in(2);
  EXPECT_STREQ(window.name, "Window");
  EXPECT_EQ(window.enable, 1);
  EXPECT_EQ(stored_in(3).type, 0);  // beyond copyCnt
  http_notification_params http = {};
  ASSERT_EQ(read_http_notification_params(KXDB_FILE, &http, 15,
                                          "alarmin_http_notification_params"),
            0);
  EXPECT_STREQ(http.url, "http://h/%41");
}

TEST_F(InputLinkage, BadInputsAndFailedWritesAnswerTheJsonError) {
  for (const char *bad : {R"({"alarmId": 16})", R"({"alarmId": -1})", "{}", "x"}) {
    EXPECT_EQ(call("/6027", bad), kJsonError) << bad;
    EXPECT_EQ(call("/6026", bad), kJsonError) << bad;
  }
  {
    BrokenSettings broken;
    EXPECT_EQ(call("/6027", R"({"alarmId": 3, "name": "x"})"), kJsonError);
  }
  settle();
  EXPECT_TRUE(codes().empty());
}

}  // namespace
