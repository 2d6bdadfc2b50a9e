// Video loss: the basic page, its schedules, the whole page with its copy,
// and the several-channel pages.
#include "kxdb_videoloss.h"
#include "video_loss.h"
#include "video_test_util.h"

namespace {

using VideoLoss = VideoTest;

video_loss_params stored(int channel) {
  video_loss_params r = {};
  EXPECT_EQ(read_video_lost(KXDB_FILE, &r, channel), 0);
  return r;
}

void store(const video_loss_params &r) {
  ASSERT_EQ(write_video_lost(KXDB_FILE, &r), 0);
}

Bytes mask_payload(uint64_t mask) {
  return bytes_of(channel_mask_notice{(uint32_t)mask, (uint32_t)(mask >> 32)});
}

// First plan of day 0 of a stored schedule, "start-end/action".
std::string first_plan(int (*read)(const char *, schedule *, int), int channel) {
  schedule s = {};
  EXPECT_EQ(read(KXDB_FILE, &s, channel), 0);
  const auto &p = s.days[0].plans[0];
  return std::string(p.start_time) + "-" + p.end_time + "/" + std::to_string(p.action_type);
}

ptz_action_params ptz_entry(int chn, int camera, int preset) {
  ptz_action_params e = {};
  e.chn_id = chn;
  e.acto_ptz_channel = camera;
  e.acto_ptz_type = 1;
  e.acto_ptz_preset = preset;
  return e;
}

// Whether the channel's record was ever written (a default reads the same).
bool written(int channel) {
  video_loss_params r = {};
  return kxdb_get(KXDB_FILE, VIDEO_LOSS_TABLE, channel, &r, sizeof r) == 0;
}

TEST_F(VideoLoss, BasicSettingsValidateAndKeepTheStoredSwitch) {
  video_loss_params r = {};
  r.id = 4;
  r.enable = 1;
  r.email_interval = 30;
  store(r);
  for (const char *body :
       {R"({"camId": 4, "enable": 3, "triAlarms": 1, "interval": 5})",
        R"({"camId": 4, "enable": 1, "triAlarms": -1, "interval": 5})",
        R"({"camId": 4, "enable": 1, "triAlarms": 1})", R"({"camId": 64, "enable": 1,
        "triAlarms": 1, "interval": 5})", "not json"}) {
    EXPECT_EQ(call("/6016", body), "") << body;
  }
  EXPECT_TRUE(codes().empty());
  EXPECT_EQ(stored(4).triAlarms, 0);

  EXPECT_EQ(call("/6016", R"({"camId": 4, "enable": 2, "triAlarms": 6, "interval": 15})"),
            kTextOk);
  video_loss_params after = stored(4);
  EXPECT_EQ(after.enable, 1);  // validated, not stored
  EXPECT_EQ(after.triAlarms, 6);
  EXPECT_EQ(after.interval, 15);
  EXPECT_EQ(after.email_interval, 30);
  EXPECT_EQ(codes(), (std::vector<int>{1402, 3485}));
  EXPECT_EQ(sent(1402).at(0).payload, bytes_of_int(4));
  EXPECT_EQ(logs().at(0).param_type, 908);
  EXPECT_EQ(logs().at(0).channel, 5);

  JsonPtr info = parse_body(call("/6014", "4"));
  EXPECT_EQ(member_names(info.get()),
            (std::vector<std::string>{"camId", "enable", "triAlarms", "interval"}));
  EXPECT_EQ(int_member(info.get(), "camId"), 4);
  EXPECT_EQ(int_member(info.get(), "triAlarms"), 6);
}

TEST_F(VideoLoss, PlainScheduleRoundTripsThroughTheAudibleReader) {
  std::string body = R"({"camId": 9, "enable": 1, "schedule": )" + schedule_json(2, 3) + "}";
  EXPECT_EQ(call("/6017", body), kTextOk);
  EXPECT_EQ(sent(1402).at(0).payload, bytes_of_int(9));
  EXPECT_EQ(stored(9).enable, 1);
  JsonPtr days = parse_body(call("/6015", "9"));
  ASSERT_TRUE(schedule_shape_ok(days.get()));
  EXPECT_EQ(plan_at(days.get(), 1, 2), "01:00-02:59/3");
  // The audible reader answers nothing for a number that is no channel;
  // the others show the empty schedule.
  EXPECT_EQ(call("/6015", "64"), "");
  EXPECT_EQ(call("/6015", "-1"), "");
  EXPECT_TRUE(schedule_shape_ok(parse_body(call("/6124", "64")).get()));
  EXPECT_TRUE(schedule_shape_ok(parse_body(call("/6166", "-5")).get()));
  forget();
  EXPECT_EQ(call("/6017", R"({"camId": 64, "schedule": []})"), "");
  EXPECT_EQ(call("/6017", R"({"schedule": []})"), "");
  EXPECT_TRUE(codes().empty());
}

TEST_F(VideoLoss, PageShowsEverythingOfTheChannelInOrder) {
  video_loss_params r = {};
  r.id = 2;
  r.enable = 2;
  r.audioId = 3;
  snprintf(r.triChnAlarms[0], sizeof r.triChnAlarms[0], "1010");
  store(r);
  JsonPtr page = parse_body(call("/6094", R"({"chnid": 2})"));
  EXPECT_EQ(member_names(page.get()),
            (std::vector<std::string>{
                "chnid", "enable", "triAlarms", "interval", "email_interval", "ptz_interval",
                "alarmout_interval", "white_interval", "http_notification_interval", "audible",
                "email", "ptz", "triChnAlarms", "white", "whiteInfo", "httpSche", "httpParams",
                "audioId", "audioIdMask", "ptzParams"}));
  EXPECT_EQ(int_member(page.get(), "audioId"), 3);
  EXPECT_STREQ(json_object_get_string(
                   json_object_array_get_idx(json_member(page.get(), "triChnAlarms"), 0)),
               "1010");
  EXPECT_EQ(call("/6094", R"({"chnid": 64})"), kJsonError);
  EXPECT_EQ(call("/6094", "{"), kJsonError);
}

TEST_F(VideoLoss, DialogWithOneFieldRaisesBothSwitchesAndCopies) {
  std::string body = R"({"chnid": 3, "dialog": {"audioId": 7, "audible": )" +
                     schedule_json(1, 1) + R"(}, "copyCnt": 2, "copyChn": [3, 5]})";
  EXPECT_EQ(call("/6095", body), kTextOk);
  for (int ch : {3, 5}) {
    video_loss_params r = stored(ch);
    EXPECT_EQ(r.id, ch);
    EXPECT_EQ(r.audioId, 7) << ch;
    EXPECT_EQ(r.enable, 2) << ch;
    EXPECT_EQ(r.email_enable, 2) << ch;
    EXPECT_EQ(first_plan(read_videoloss_audible_schedule, ch), "00:00-00:59/0") << ch;
  }
  EXPECT_EQ(stored(4).audioId, 0);
  EXPECT_EQ(codes(), (std::vector<int>{1414}));
  EXPECT_EQ(sent(1414).at(0).payload, mask_payload(1ULL << 3 | 1ULL << 5));
}

TEST_F(VideoLoss, CopyWithoutDialogTakesTheStoredSettings) {
  video_loss_params r = {};
  r.id = 1;
  r.triAlarms = 3;
  r.enable = 1;
  store(r);
  ptz_action_params list[PTZ_ACTION_MAX] = {ptz_entry(1, 2, 8)};
  ASSERT_EQ(write_ptz_params_all(KXDB_FILE, list, 2, 1), 0);
  http_notification_params http = {};
  http.channel = 1;
  snprintf(http.url, sizeof http.url, "http://h/%%41");
  ASSERT_EQ(write_http_notification_params(KXDB_FILE, &http, "videoloss_http_notification_params"),
            0);
  // Elements beyond "copyCnt", beyond the array, or no channel, copy nothing.
  EXPECT_EQ(call("/6095", R"({"chnid": 1, "copyCnt": 5, "copyChn": [40, 64, -1, null]})"),
            kTextOk);
  video_loss_params copy = stored(40);
  EXPECT_EQ(copy.id, 40);
  EXPECT_EQ(copy.triAlarms, 3);
  EXPECT_EQ(copy.enable, 1);  // no dialog: the switch is copied as it is
  EXPECT_EQ(stored(0).triAlarms, 0);
  ptz_action_params got[PTZ_ACTION_MAX] = {};
  int count = 0;
  ASSERT_EQ(read_ptz_params(KXDB_FILE, got, 2, 40, &count), 0);
  EXPECT_EQ(got[0].chn_id, 40);
  EXPECT_EQ(got[0].acto_ptz_preset, 8);
  http_notification_params copied = {};
  ASSERT_EQ(read_http_notification_params(KXDB_FILE, &copied, 40,
                                          "videoloss_http_notification_params"),
            0);
  EXPECT_STREQ(copied.url, "http://h/%41");
  EXPECT_EQ(sent(1414).at(0).payload, mask_payload(1ULL << 1 | 1ULL << 40));

  forget();
  BrokenSettings broken;
  EXPECT_EQ(call("/6095", R"({"chnid": 1, "copyCnt": 1, "copyChn": [2]})"), kJsonError);
  EXPECT_EQ(call("/6095", R"({"chnid": 1, "dialog": {"audioId": 1}})"), kJsonError);
  EXPECT_EQ(call("/6095", R"({"chnid": 64})"), kJsonError);
  EXPECT_TRUE(codes().empty());
}

TEST_F(VideoLoss, SeveralChannelSchedulesWriteOnlyChangedRecords) {
  video_loss_params same = {};
  same.id = 6;
  same.enable = 1;
  same.interval = 10;
  same.audioId = 4;
  store(same);
  video_loss_params mail = {};
  mail.id = 7;
  mail.email_enable = 1;
  mail.email_interval = 10;
  store(mail);
  // Channel 10 already matches as the factory default: listed, not rewritten.
  std::string body = R"({"cnt": 1, "chnid": [10], "enable": 0, "interval": 0, "schedule": []})";
  EXPECT_EQ(call("/6121", body), kTextOk);
  EXPECT_FALSE(written(10));
  EXPECT_EQ(sent(1414).at(0).payload, mask_payload(1ULL << 10));
  forget();

  body = R"({"cnt": 6, "chnid": [6, 7, 64, -3, 63], "enable": 1, "interval": 10,
                         "schedule": )" + schedule_json(1, 1) + "}";
  EXPECT_EQ(call("/6121", body), kTextOk);
  EXPECT_EQ(stored(6).audioId, 4);
  EXPECT_EQ(stored(7).enable, 1);
  EXPECT_EQ(stored(7).interval, 10);
  EXPECT_EQ(stored(7).email_enable, 1);
  EXPECT_EQ(stored(63).interval, 10);
  EXPECT_EQ(stored(0).interval, 0);  // the missing sixth element is no channel 0
  uint64_t listed = 1ULL << 6 | 1ULL << 7 | 1ULL << 63;
  EXPECT_EQ(sent(1414).at(0).payload, mask_payload(listed));
  for (int ch : {6, 7, 63}) {
    EXPECT_EQ(first_plan(read_videoloss_audible_schedule, ch), "00:00-00:59/0") << ch;
  }
  EXPECT_EQ(first_plan(read_videoloss_audible_schedule, 0), "-/0");

  forget();
  body = R"({"cnt": 2, "chnid": [7, 8], "enable": 1, "interval": 10, "schedule": )" +
         schedule_json(1, 2) + "}";
  EXPECT_EQ(call("/6122", body), kTextOk);
  EXPECT_EQ(stored(8).email_enable, 1);
  EXPECT_EQ(stored(8).email_interval, 10);
  EXPECT_EQ(stored(8).enable, 0);
  EXPECT_EQ(first_plan(read_videoloss_email_schedule, 8), "00:00-00:59/0");
  EXPECT_EQ(sent(1414).at(0).payload, mask_payload(1ULL << 7 | 1ULL << 8));

  forget();
  BrokenSettings broken;
  EXPECT_EQ(call("/6121", body), kCgiError);
  EXPECT_EQ(call("/6122", "not json"), "");
  EXPECT_TRUE(codes().empty());
}

TEST_F(VideoLoss, AlarmOutputsRewriteOnlyChangedChannels) {
  video_loss_params r = {};
  r.id = 2;
  r.triAlarms = 5;
  r.audioId = 9;
  store(r);
  r.id = 3;
  r.triAlarms = 1;
  store(r);
  EXPECT_EQ(call("/6123", R"({"cnt": 3, "chnid": [11, 0, 1], "triAlarms": 0})"), kTextOk);
  EXPECT_FALSE(written(11));  // already 0: not rewritten, not notified
  EXPECT_EQ(sent(1414).at(0).payload, mask_payload(0));
  forget();

  EXPECT_EQ(call("/6123", R"({"cnt": 4, "chnid": [2, 3, 70], "triAlarms": 5})"), kTextOk);
  EXPECT_EQ(stored(3).triAlarms, 5);
  EXPECT_EQ(stored(3).audioId, 9);
  EXPECT_EQ(stored(2).triAlarms, 5);
  EXPECT_EQ(stored(0).triAlarms, 0);
  EXPECT_EQ(codes(), (std::vector<int>{1414, 3509}));
  EXPECT_EQ(sent(1414).at(0).payload, mask_payload(1ULL << 3));
  Bytes log = sent(3509).at(0).payload;
  EXPECT_EQ(int_at(log, 24), 908);
  EXPECT_EQ(int_at(log, 672), (1 << 2) | (1 << 3));
  EXPECT_EQ(int_at(log, 676), 0);

  forget();
  BrokenSettings broken;
  EXPECT_EQ(call("/6123", R"({"cnt": 1, "chnid": [4], "triAlarms": 2})"), kCgiError);
  EXPECT_TRUE(codes().empty());
}

TEST_F(VideoLoss, PtzScheduleStoresEachListedChannelsListUnderItsOwnChannel) {
  ptz_action_params list[PTZ_ACTION_MAX] = {ptz_entry(1, 3, 4), {}, ptz_entry(1, 0, 0)};
  ASSERT_EQ(write_ptz_params_all(KXDB_FILE, list, 2, 1), 0);
  std::string body = R"({"camId": 1, "cnt": 3, "chnid": [1, 9, 64], "schedule": )" +
                     schedule_json(1, 1) + "}";
  EXPECT_EQ(call("/6165", body), kTextOk);
  ptz_action_params got[PTZ_ACTION_MAX] = {};
  int count = 0;
  ASSERT_EQ(read_ptz_params(KXDB_FILE, got, 2, 9, &count), 0);
  EXPECT_EQ(got[0].chn_id, 9);
  EXPECT_EQ(got[0].acto_ptz_preset, 4);
  EXPECT_EQ(got[2].chn_id, 1);  // an unused entry keeps what it held
  ASSERT_EQ(read_ptz_params(KXDB_FILE, got, 2, 1, &count), 0);
  EXPECT_EQ(got[0].chn_id, 1);
  EXPECT_EQ(first_plan(read_videoloss_ptz_schedule, 9), "00:00-00:59/0");
  EXPECT_EQ(first_plan(read_videoloss_ptz_schedule, 1), "00:00-00:59/0");
  EXPECT_EQ(sent(1414).at(0).payload, mask_payload(1ULL << 1 | 1ULL << 9));

  forget();
  // With "cnt" 0 the schedule goes nowhere.
  EXPECT_EQ(call("/6165", R"({"camId": 1, "cnt": 0, "chnid": [2], "schedule": )" +
                              schedule_json(1, 1) + "}"),
            kTextOk);
  EXPECT_EQ(first_plan(read_videoloss_ptz_schedule, 2), "-/0");
  EXPECT_EQ(sent(1414).at(0).payload, mask_payload(0));
}

TEST_F(VideoLoss, PtzSourceOutsideTheChannelsWipesNothing) {
  ptz_action_params list[PTZ_ACTION_MAX] = {ptz_entry(5, 3, 4)};
  ASSERT_EQ(write_ptz_params_all(KXDB_FILE, list, 2, 5), 0);
  for (const char *camId : {"64", "-1", "1e10"}) {
    std::string body = std::string(R"({"camId": )") + camId +
                       R"(, "cnt": 1, "chnid": [5], "schedule": [])" "}";
    EXPECT_EQ(call("/6165", body), kCgiError) << camId;
  }
  EXPECT_TRUE(codes().empty());
  ptz_action_params got[PTZ_ACTION_MAX] = {};
  int count = 0;
  ASSERT_EQ(read_ptz_params(KXDB_FILE, got, 2, 5, &count), 0);
  EXPECT_EQ(got[0].acto_ptz_preset, 4);
}

}  // namespace
