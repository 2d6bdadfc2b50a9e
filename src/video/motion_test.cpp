// Motion detection of a channel: the page's read, the basic settings and
// the selected-field writers.
#include "video_test_util.h"

namespace {

using Motion = VideoTest;

std::string basic_request(int channel, int enableKX, const std::string &tri = "0101") {
  char text[512];
  snprintf(text, sizeof text,
           R"({"camId": %d, "enable": 1, "sensitivity": 4, "triChannels": "%s", "triAlarms": 3,
               "interval": 10, "motionTable": "grid-%d", "enableKX": %d})",
           channel, tri.c_str(), channel, enableKX);
  return text;
}

TEST_F(Motion, TriggerMaskTakesBitsBelow32AndKeepsTheTextWhole) {
  struct Case {
    std::string text;
    uint32_t mask;
    std::string stored;
  } cases[] = {
      {"0101", 0xA, "0101"},
      {std::string(40, '1'), 0xFFFFFFFF, std::string(40, '1')},
      {std::string(31, '0') + "1" + std::string(32, '1'), 0x80000000, std::string(31, '0') + "1" + std::string(32, '1')},
      {"1x2 1", 0x11, "1x2 1"},
      {std::string(70, '1'), 0xFFFFFFFF, std::string(64, '1')},
      {"", 0, ""},
  };
  for (const Case &c : cases) {
    for (const char *path : {"/6114", "/6119", "/6012"}) {
      std::string body = std::string(path) == "/6012"
                             ? basic_request(5, 0, c.text)
                             : R"({"camId": 5, "type": 1, "triChannels": ")" + c.text + "\"}";
      EXPECT_EQ(call(path, body), kTextOk) << path;
      motion_params m = stored_motion_record(5);
      EXPECT_EQ(m.trigger_mask, c.mask) << path << " " << c.text;
      EXPECT_EQ(std::string(m.triChannels), c.stored) << path;
    }
  }
}

TEST_F(Motion, PageReadHasEveryKeyInOrderAndTheScheduleShape) {
  for (const char *bad : {R"({"chnid": 64})", R"({"chnid": -1})", "", "{", "null"}) {
    EXPECT_EQ(call("/6010", bad), kJsonError) << bad;
  }
  std::string reply = call("/6010", R"({"chnid": 0})");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{
                "chnid", "enable", "sensitivity", "triChannels", "triAlarms", "interval",
                "enableKX", "motionTable", "email_enable", "email_interval", "email_pic_enable",
                "tri_channels_pic", "ptz_interval", "alarmout_interval",
                "http_notification_interval", "effective", "audible", "email", "ptz",
                "triChnAlarms", "white", "whiteInfo", "white_interval", "httpSche", "httpParams",
                "audioId", "audioIdMask", "ptzParams"}));
  for (const char *key : {"effective", "audible", "email", "ptz", "white", "httpSche"}) {
    EXPECT_TRUE(schedule_shape_ok(json_member(body.get(), key))) << key;
  }
  json_object *ptz = json_member(body.get(), "ptzParams");
  EXPECT_EQ(json_object_get_type(ptz), json_type_array);
  EXPECT_EQ(json_object_array_length(ptz), 0u);
  EXPECT_EQ(json_object_array_length(json_member(body.get(), "triChnAlarms")), 2u);
}

TEST_F(Motion, PageReadShowsWhatIsStored) {
  motion_params m = {};
  m.id = 63;
  m.enable = 1;
  m.sensitivity = 6;
  memset(m.motionTable, 'g', sizeof m.motionTable);  // a stored text without terminator
  snprintf(m.triChannels, sizeof m.triChannels, "11");
  snprintf(m.triChnAlarms[1], sizeof m.triChnAlarms[1], "0110");
  m.audioId = 2;
  ASSERT_EQ(write_motion(KXDB_FILE, &m), 0);
  schedule s = {};
  snprintf(s.days[7].plans[11].start_time, 32, "23:00");
  s.days[7].plans[11].action_type = 9;
  snprintf(s.days[0].plans[12].start_time, 32, "beyond");
  ASSERT_EQ(write_motion_ptz_schedule(KXDB_FILE, &s, 63), 0);
  ptz_action_params list[PTZ_ACTION_MAX] = {};
  list[0] = {63, 4, 0, 1, 8, 0, 0};
  ASSERT_EQ(write_ptz_params_all(KXDB_FILE, list, 1, 63), 0);

  JsonPtr body = parse_body(call("/6010", R"({"chnid": 63})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(int_member(body.get(), "chnid"), 63);
  EXPECT_EQ(int_member(body.get(), "sensitivity"), 6);
  EXPECT_EQ(text_member(body.get(), "motionTable"), std::string(368, 'g'));
  EXPECT_EQ(text_member(body.get(), "triChannels"), "11");
  EXPECT_EQ(json_object_get_string(
                json_object_array_get_idx(json_member(body.get(), "triChnAlarms"), 1)),
            std::string("0110"));
  EXPECT_EQ(int_member(body.get(), "audioId"), 2);
  json_object *ptz_sche = json_member(body.get(), "ptz");
  EXPECT_EQ(plan_at(ptz_sche, 7, 11), "23:00-/9");
  EXPECT_EQ(plan_at(ptz_sche, 0, 0), "-/0");
  json_object *ptz = json_member(body.get(), "ptzParams");
  ASSERT_EQ(json_object_array_length(ptz), 1u);
  EXPECT_EQ(int_member(json_object_array_get_idx(ptz, 0), "acto_ptz_preset"), 8);
}

TEST_F(Motion, BasicSettingsWithoutCameraDetectionSendNoSchedule) {
  EXPECT_EQ(call("/6012", basic_request(9, 0)), kTextOk);
  EXPECT_EQ(codes(), (std::vector<int>{1403, 3207, 3212, 3485}));
  EXPECT_EQ(sent(1403).at(0).payload, bytes_of_int(9));
  auto camera = only_payload<camera_motion>(sent(3207));
  EXPECT_EQ(camera.enable, 0);
  EXPECT_STREQ(camera.map, "grid-9");
  EXPECT_EQ(camera.sensitivity, 4);
  EXPECT_EQ(camera.channel, 9);
  Bytes on_off = sent(3212).at(0).payload;
  ASSERT_EQ(on_off.size(), 268u);
  EXPECT_EQ(int_at(on_off, 0), 9);
  EXPECT_EQ(int_at(on_off, 4), 0);
  EXPECT_EQ(int_at(on_off, 264), 0);  // no list

  Bytes log = sent(3485).at(0).payload;
  ASSERT_EQ(log.size(), 672u);
  EXPECT_EQ(int_at(log, 0), 4);
  EXPECT_EQ(int_at(log, 8), 204);
  EXPECT_EQ(int_at(log, 12), 0);
  EXPECT_EQ(int_at(log, 24), 909);
  EXPECT_EQ(int_at(log, 32), 10);  // channel + 1

  motion_params m = stored_motion_record(9);
  EXPECT_EQ(m.id, 9);
  EXPECT_EQ(m.enable, 1);
  EXPECT_EQ(m.triAlarms, 3);
  EXPECT_EQ(m.interval, 10);
  EXPECT_STREQ(m.motionTable, "grid-9");
}

TEST_F(Motion, BasicSettingsWithCameraDetectionArmTheWholeWeek) {
  EXPECT_EQ(call("/6012", basic_request(2, 1)), kTextOk);
  EXPECT_EQ(codes(), (std::vector<int>{1403, 3207, 3212, 3209, 3485}));
  Bytes on_off = sent(3212).at(0).payload;
  EXPECT_EQ(int_at(on_off, 4), 1);
  Bytes week = sent(3209).at(0).payload;
  ASSERT_EQ(week.size(), 1216u);
  Bytes expected(1216, 0);
  auto put = [&](size_t at, int32_t v) { memcpy(expected.data() + at, &v, 4); };
  put(0, 2);
  for (int d = 0; d < 7; d++) {
    put(68 + 136 * d, d);
    put(72 + 136 * d, 1);
    for (int s = 0; s < 4; s++) put(76 + 136 * d + 16 * s + 8, 24);  // end hour
  }
  EXPECT_EQ(week, expected);  // no channel list, count 0
}

TEST_F(Motion, BasicSettingsKeepTheStoredActionsAndCutTheGrid) {
  motion_params m = {};
  m.id = 4;
  m.email_enable = 1;
  m.audioId = 3;
  m.http_notification_interval = 30;
  ASSERT_EQ(write_motion(KXDB_FILE, &m), 0);
  std::string grid(500, 'm');
  std::string body = basic_request(4, 0);
  body.replace(body.find("grid-4"), 6, grid);
  EXPECT_EQ(call("/6012", body), kTextOk);
  motion_params stored = stored_motion_record(4);
  EXPECT_EQ(stored.email_enable, 1);
  EXPECT_EQ(stored.audioId, 3);
  EXPECT_EQ(stored.http_notification_interval, 30);
  EXPECT_EQ(std::string(stored.motionTable), std::string(367, 'm'));
  EXPECT_EQ(std::string(only_payload<camera_motion>(sent(3207)).map), std::string(299, 'm'));
}

TEST_F(Motion, BasicSettingsThatFailTheCheckChangeNothing) {
  std::string ok = basic_request(1, 0);
  auto without = [&](const std::string &key) {
    JsonPtr o(json_tokener_parse(ok.c_str()));
    json_object_object_del(o.get(), key.c_str());
    return std::string(json_object_to_json_string(o.get()));
  };
  std::vector<std::string> bad = {"", "x", "[]", "7", basic_request(64, 0), basic_request(-1, 0)};
  for (const char *key : {"camId", "enable", "sensitivity", "triChannels", "triAlarms",
                          "interval", "motionTable", "enableKX"}) {
    bad.push_back(without(key));
  }
  for (const char *key : {"sensitivity", "triAlarms", "interval"}) {
    std::string negative = ok;
    negative.insert(negative.find(key) + strlen(key) + 3, "-");
    bad.push_back(negative);
  }
  for (const std::string &body : bad) EXPECT_EQ(call("/6012", body), "") << body;
  EXPECT_TRUE(codes().empty());
  EXPECT_EQ(stored_motion_record(1).enable, 0);
}

TEST_F(Motion, FailedWritesAnswerTheErrorAndTellNobody) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6012", basic_request(1, 1)), kCgiError);
  EXPECT_EQ(call("/6119", R"({"camId": 1, "type": 2, "triAlarms": 1})"), kCgiError);
  EXPECT_EQ(call("/6114", R"({"camId": 1})"), kCgiError);
  EXPECT_EQ(call("/6113", R"({"camId": 1})"), kCgiError);
  EXPECT_TRUE(codes().empty());
}

TEST_F(Motion, SelectedFieldWriters) {
  EXPECT_EQ(call("/6114", R"({"camId": 7, "sensitivity": 2, "triChannels": "1", "triAlarms": 5,
                              "interval": 9, "enableKX": 1})"),
            kTextOk);
  EXPECT_EQ(codes(), (std::vector<int>{1403, 3485}));  // no camera request
  motion_params m = stored_motion_record(7);
  EXPECT_EQ(m.sensitivity, 2);
  EXPECT_EQ(m.trigger_mask, 1u);
  EXPECT_EQ(m.triAlarms, 5);
  EXPECT_EQ(m.enableKX, 1);
  EXPECT_EQ(logs().at(0).channel, 8);
  forget();

  EXPECT_EQ(call("/6119", R"({"camId": 7, "type": 2, "triAlarms": 6, "triChannels": "0"})"),
            kTextOk);
  m = stored_motion_record(7);
  EXPECT_EQ(m.triAlarms, 6);
  EXPECT_STREQ(m.triChannels, "1");
  EXPECT_EQ(call("/6119", R"({"camId": 7, "type": 3, "triAlarms": 1})"), kTextOk);
  EXPECT_EQ(stored_motion_record(7).triAlarms, 6);  // rewritten unchanged
  EXPECT_EQ(codes(), (std::vector<int>{1403, 3485, 1403, 3485}));
  forget();

  EXPECT_EQ(call("/6113", R"({"camId": 7, "sensitivity": 3, "enableKX": 1, "enable": 1,
                              "triAlarms": 2, "interval": 4, "schedule": )" +
                              schedule_json(1, 1) + "}"),
            kTextOk);
  EXPECT_EQ(codes(), (std::vector<int>{1403, 1403, 3212, 3209}));
  m = stored_motion_record(7);
  EXPECT_EQ(m.sensitivity, 3);
  EXPECT_STREQ(m.triChannels, "1");  // not a field of this page
  schedule s = {};
  ASSERT_EQ(read_motion_audible_schedule(KXDB_FILE, &s, 7), 0);
  EXPECT_STREQ(s.days[0].plans[0].start_time, "00:00");
}

TEST_F(Motion, OutOfRangeChannelsChangeNothing) {
  for (const char *camId : {"-1", "64", "100", "2147483648", "1e308", "-2147483649"}) {
    std::string id = camId;
    EXPECT_EQ(call("/6114", R"({"camId": )" + id + R"(, "sensitivity": 1})"), "") << id;
    EXPECT_EQ(call("/6113", R"({"camId": )" + id + R"(, "sensitivity": 1})"), "") << id;
    EXPECT_EQ(call("/6119", R"({"camId": )" + id + R"(, "type": 2, "triAlarms": 1})"),
              kCgiError)
        << id;
  }
  EXPECT_TRUE(codes().empty());
  int count = 0;
  motion_params all[MOTION_CHANNELS];
  ASSERT_EQ(read_motions(KXDB_FILE, all, &count), 0);
  for (const motion_params &m : all) {
    EXPECT_EQ(m.sensitivity, 0) << m.id;
    EXPECT_EQ(m.triAlarms, 0) << m.id;
  }
}

}  // namespace
