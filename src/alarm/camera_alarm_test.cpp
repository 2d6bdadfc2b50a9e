// The cameras' alarm inputs and outputs: reading through the daemon,
// storing with copies, and the decoders' limits.
#include "alarm_test_util.h"

namespace {

using CameraAlarm = AlarmTest;

camera_alarm_inputs inputs_answer(int channel, int count) {
  camera_alarm_inputs a = {};
  a.chn = channel;
  for (int j = 0; j < CAMERA_ALARM_INPUTS; j++) {
    a.alarmEnable[j] = 1;
    a.alarmType[j] = j % 2;
    a.alarmStatus[j] = 10 + j;
  }
  a.alarmCnt = count;
  return a;
}

TEST_F(CameraAlarm, InputsAreAskedAndListedWithTheirSettings) {
  alarm_chnin_name n = {7, 1, "Door contact"};
  ASSERT_EQ(write_alarm_chnIn_event_name(KXDB_FILE, &n), 0);
  daemon().answer(CAMERA_ALARM_IN_GET, bytes_of(inputs_answer(7, 2)));
  JsonPtr body = parse_body(call("/6024", R"({"chnid": 7})"));
  camera_alarm_inputs request = sent_once<camera_alarm_inputs>(CAMERA_ALARM_IN_GET);
  EXPECT_EQ(request.chn, 7);
  EXPECT_EQ(request.alarmCnt, 4);
  EXPECT_EQ(request.alarmEnable[0], 0);
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"chnid", "alarmCnt", "alarm"}));
  json_object *list = json_member(body.get(), "alarm");
  ASSERT_EQ(json_object_array_length(list), 2u);
  EXPECT_EQ(member_names(at(list, 1)),
            (std::vector<std::string>{
                "alarmEnable", "alarmType", "alarmStatus", "alarmName", "effective", "audible",
                "interval", "audioId", "audioIdMask", "email", "email_interval",
                "email_pic_enable", "tri_channels_pic", "ptz", "ptz_interval", "ptzParams",
                "alarmout_interval", "triAlarms", "triChannels", "triChnAlarms", "white",
                "whiteInfo", "white_interval", "httpSche", "httpParams",
                "http_notification_interval"}));
  EXPECT_EQ(int_member(at(list, 1), "alarmStatus"), 11);
  EXPECT_EQ(text_member(at(list, 1), "alarmName"), "Door contact");
  for (const char *bad : {R"({"chnid": 64})", R"({"chnid": -1})", "{}"}) {
    EXPECT_EQ(call("/6024", bad), kJsonError) << bad;
  }
}

TEST_F(CameraAlarm, DecodersClampCountsAndDropShortOrStrangeAnswers) {
  JsonPtr body = parse_body(dispatch(8298, bytes_of(inputs_answer(3, 9))));
  ASSERT_TRUE(body);
  EXPECT_EQ(int_member(body.get(), "alarmCnt"), 4);
  EXPECT_EQ(json_object_array_length(json_member(body.get(), "alarm")), 4u);
  EXPECT_EQ(g_callback_done, 1);
  body = parse_body(dispatch(8298, bytes_of(inputs_answer(3, -2))));
  EXPECT_EQ(int_member(body.get(), "alarmCnt"), 0);
  Bytes shorter = bytes_of(inputs_answer(3, 1));
  shorter.resize(52);
  EXPECT_EQ(dispatch(8298, shorter), "");
  EXPECT_EQ(g_callback_done, 0);
  EXPECT_EQ(dispatch(8298, bytes_of(inputs_answer(64, 1))), "");
  camera_alarm_outputs out = {2, {1, 0}, {1, 1}, 5};
  body = parse_body(dispatch(8296, bytes_of(out)));
  ASSERT_TRUE(body);
  EXPECT_EQ(int_member(body.get(), "alarmCnt"), 2);
  json_object *list = json_member(body.get(), "alarm");
  ASSERT_EQ(json_object_array_length(list), 2u);
  EXPECT_EQ(member_names(at(list, 0)),
            (std::vector<std::string>{"alarmType", "alarmStatus", "alarmName", "delayTime",
                                      "effective"}));
  Bytes cut = bytes_of(out);
  cut.resize(20);
  EXPECT_EQ(dispatch(8296, cut), "");
  EXPECT_EQ(dispatch(8296, {}), "");
  EXPECT_EQ(dispatch(8297, bytes_of(out)), "");
}

TEST_F(CameraAlarm, InputsStoreEntriesNamesAndCopies) {
  alarm_chnin_name kept = {9, 1, "Kept"};
  ASSERT_EQ(write_alarm_chnIn_event_name(KXDB_FILE, &kept), 0);
  std::string request = R"({"chnid": 4, "alarmCnt": 6, "copyCnt": 3, "copyChn": [9, 4, 70],
      "dialog": [{"alarmId": 1, "interval": 30, "triChannels": "11", "audible": )" +
                        schedule_json(2, 1) + R"(, "ptzParams": [{"acto_ptz_channel": 3}]},
                 {"alarmId": 7, "interval": 99}],
      "alarm": [{"alarmEnable": 1, "alarmType": 0, "alarmName": "Gate"},
                {"alarmEnable": 0, "alarmType": 1, "alarmName": "Fence"},
                {"alarmEnable": 1, "alarmType": 1}, {}, {"alarmEnable": 1}]})";
  EXPECT_EQ(call("/6025", request), kTextOk);
  settle();
  camera_alarm_in_set set = sent_once<camera_alarm_in_set>(CAMERA_ALARM_IN_SET);
  EXPECT_EQ(set.count, 4);
  EXPECT_EQ(set.mask_low, 1u << 4 | 1u << 9);
  EXPECT_EQ(set.mask_high, 0u);
  for (int j = 0; j < 4; j++) EXPECT_EQ(set.entries[j].index, j);
  EXPECT_EQ(set.entries[1].alarmType, 1);
  EXPECT_EQ(set.entries[2].alarmEnable, 1);
  EXPECT_EQ(sent_mask(CAMERA_INS_CHANGED), 1ULL << 4 | 1ULL << 9);
  EXPECT_EQ(codes().front(), CAMERA_ALARM_IN_SET);
  for (int ch : {4, 9}) {
    alarm_chnin_event ev = {};
    ASSERT_EQ(read_alarm_chnIn_event(KXDB_FILE, &ev, ch, 1), 0);
    EXPECT_EQ(ev.chn, ch);
    EXPECT_EQ(ev.interval, 30) << ch;
    EXPECT_EQ(ev.interval_enable, 2) << ch;
    EXPECT_EQ(ev.trigger_mask, 3u) << ch;
    schedule s = {};
    ASSERT_EQ(read_alarm_chnIn_audible_schedule(KXDB_FILE, &s, ch, 1), 0);
    EXPECT_EQ(days_set(s), 2) << ch;
    ptz_action_params list[PTZ_ACTION_MAX] = {};
    int count = 0;
    ASSERT_EQ(read_ptz_params(KXDB_FILE, list, 27, ch, &count), 0);
    EXPECT_EQ(list[0].acto_ptz_channel, 3) << ch;
    EXPECT_EQ(list[0].chn_id, ch);
  }
  alarm_chnin_name names[CAMERA_ALARM_CHANNELS] = {};
  ASSERT_EQ(read_alarm_chnIn_event_names(KXDB_FILE, names, CAMERA_ALARM_CHANNELS, 1), 0);
  EXPECT_STREQ(names[4].alarmName, "Fence");
  EXPECT_STREQ(names[9].alarmName, "Kept");  // names are not copied
}

TEST_F(CameraAlarm, InputListsBeyondTheActionChannelsKeepTheRest) {
  EXPECT_EQ(call("/6025", R"({"chnid": 40, "alarmCnt": 1, "dialog": [{"alarmId": 0,
      "interval": 5, "whiteInfo": [[1, 1, 1]], "ptzParams": [{"acto_ptz_channel": 3}]}]})"),
            kTextOk);
  alarm_chnin_event ev = {};
  ASSERT_EQ(read_alarm_chnIn_event(KXDB_FILE, &ev, 40, 0), 0);
  EXPECT_EQ(ev.interval, 5);
  ptz_action_params list[PTZ_ACTION_MAX] = {};
  EXPECT_EQ(kxdb_get(KXDB_FILE, "ptz_params_26", 40, list, sizeof list), 1);
  settle();
  EXPECT_EQ(sent_once<camera_alarm_in_set>(CAMERA_ALARM_IN_SET).count, 1);
}

TEST_F(CameraAlarm, OutputsStoreSchedulesNamesAndCopiedDelays) {
  alarm_chnout_name kept = {5, 0, 1, "Kept"};
  ASSERT_EQ(write_alarm_chnOut_event_name(KXDB_FILE, &kept), 0);
  std::string request = R"({"chnid": 2, "alarmCnt": 3, "copyCnt": 1, "copyChn": [5],
      "dialog": [{"alarmId": 0, "effective": )" + schedule_json(3, 1) + R"(}],
      "alarm": [{"alarmType": 1, "delayTime": 20, "alarmName": "Siren"},
                {"alarmType": 0, "delayTime": 40}, {"alarmType": 1}]})";
  EXPECT_EQ(call("/6029", request), kTextOk);
  settle();
  camera_alarm_out_set set = sent_once<camera_alarm_out_set>(CAMERA_ALARM_OUT_SET);
  EXPECT_EQ(set.count, 2);
  EXPECT_EQ(set.entries[0].index, 0);
  EXPECT_EQ(set.entries[0].alarmType, 1);
  EXPECT_EQ(set.entries[1].index, 1);
  EXPECT_EQ(set.mask_low, 1u << 2 | 1u << 5);
  EXPECT_EQ(sent_mask(CAMERA_OUTS_CHANGED), 1ULL << 2 | 1ULL << 5);
  alarm_chnout_name names[CAMERA_ALARM_CHANNELS] = {};
  ASSERT_EQ(read_alarm_chnOut_event_names(KXDB_FILE, names, CAMERA_ALARM_CHANNELS, 0), 0);
  EXPECT_STREQ(names[2].alarmName, "Siren");
  EXPECT_EQ(names[2].delayTime, 20);
  EXPECT_STREQ(names[5].alarmName, "Kept");  // names stay, delays copy
  EXPECT_EQ(names[5].delayTime, 20);
  schedule s = {};
  ASSERT_EQ(read_alarm_chnOut_effective_schedule(KXDB_FILE, &s, 5, 0), 0);
  EXPECT_EQ(days_set(s), 3);

  daemon().answer(CAMERA_ALARM_OUT_GET, bytes_of(camera_alarm_outputs{2, {1, 0}, {0, 1}, 2}));
  JsonPtr body = parse_body(call("/6028", R"({"chnid": 2})"));
  EXPECT_EQ(sent_numbers(CAMERA_ALARM_OUT_GET), (std::vector<int32_t>{2}));
  ASSERT_TRUE(body);
  json_object *first = at(json_member(body.get(), "alarm"), 0);
  EXPECT_EQ(text_member(first, "alarmName"), "Siren");
  EXPECT_EQ(int_member(first, "delayTime"), 20);
  EXPECT_EQ(text_member(at(at(json_member(first, "effective"), 2), 0), "startTime"), "02:00");
}

TEST_F(CameraAlarm, RefusalsAndNegativeCounts) {
  for (const char *path : {"/6025", "/6029"}) {
    for (const char *bad : {R"({"chnid": 64, "alarmCnt": 1})", R"({"chnid": 1})", "x"}) {
      EXPECT_EQ(call(path, bad), kJsonError) << path << bad;
    }
    EXPECT_EQ(call(path, R"({"chnid": 1, "alarmCnt": -5, "alarm": [{"alarmName": "x"}]})"),
              kTextOk);
  }
  settle();
  EXPECT_EQ(sent_once<camera_alarm_in_set>(CAMERA_ALARM_IN_SET).count, 0);
  EXPECT_EQ(sent_once<camera_alarm_out_set>(CAMERA_ALARM_OUT_SET).count, 0);
  alarm_chnin_name n = {};
  EXPECT_EQ(kxdb_get(KXDB_FILE, "alarm_chnIn0_name", 1, &n, sizeof n), 1);
  forget();
  {
    BrokenSettings broken;
    EXPECT_EQ(call("/6029", R"({"chnid": 1, "alarmCnt": 1, "alarm": [{"delayTime": 1}]})"),
              kJsonError);
  }
  settle();
  EXPECT_TRUE(codes().empty());
  daemon().silent(CAMERA_ALARM_OUT_GET);
  EXPECT_EQ(call("/6028", R"({"chnid": 1})"), kJsonError);
}

TEST_F(CameraAlarm, ManualOutputSwitch) {
  EXPECT_EQ(call("/6033", R"({"chnid": 3, "alarmId": 1, "state": 1})"), kTextOk);
  settle();
  camera_alarm_out_state s = sent_once<camera_alarm_out_state>(CAMERA_ALARM_OUT_STATE);
  EXPECT_EQ(s.chnid, 3);
  EXPECT_EQ(s.alarmId, 1);
  EXPECT_EQ(s.state, 1);
  EXPECT_EQ(call("/6033", "{"), kCgiError);
}

}  // namespace
