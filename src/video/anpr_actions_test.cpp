// Actions of the plate-list modes: stored per channel and mode, each mode
// under its own tables, read back, and the 1416 notice.
#include "anpr.h"
#include "video_test_util.h"

namespace {

using AnprActions = VideoTest;
using Strings = std::vector<std::string>;

struct Notice {
  int32_t channel;
  int32_t mode;
};

TEST_F(AnprActions, EveryModeKeepsItsOwnActions) {
  for (int mode = -1; mode <= 2; mode++) {
    std::string body = R"({"chnid": 3, "mode": )" + std::to_string(mode) +
                       R"(, "enable": 1, "dialog": {"interval": )" + std::to_string(10 + mode) +
                       R"(, "effective": )" + schedule_json(8, 1) +
                       R"(, "whiteInfo": [{"chnid": 3, "mode": 1, "time": )" + std::to_string(20 + mode) +
                       "}]}}";
    forget();
    EXPECT_EQ(call("/6180", body), kTextOk) << mode;
    Notice n = only_payload<Notice>(sent(ANPR_MODE_CHANGED_NOTICE));
    EXPECT_EQ(n.channel, 3);
    EXPECT_EQ(n.mode, mode);
  }
  for (int mode = 0; mode <= 2; mode++) {
    anpr_event e = {};
    ASSERT_EQ(read_anpr_event(KXDB_FILE, &e, 3, mode), 0);
    EXPECT_EQ(e.interval, 10 + mode);
    EXPECT_EQ(e.enable, 1);
    JsonPtr reply = parse_body(call("/6179", R"({"chnid": 3, "mode": )" + std::to_string(mode) + "}"));
    ASSERT_TRUE(reply);
    EXPECT_EQ(member_names(reply.get()),
              (Strings{"chnid", "mode", "enable", "triAlarms", "interval", "email_interval",
                       "email_pic_enable", "tri_channels_pic", "ptz_interval",
                       "alarmout_interval", "white_interval", "http_notification_interval",
                       "triChannels", "effective", "audible", "email", "ptz", "triChnAlarms",
                       "white", "whiteInfo", "httpSche", "httpParams", "audioId",
                       "audioIdMask", "ptzParams"}));
    EXPECT_EQ(int_member(reply.get(), "interval"), 10 + mode);
    EXPECT_EQ(plan_at(json_member(reply.get(), "effective"), 2, 0), "02:00-00:59/2");
  }
  JsonPtr any = parse_body(call("/6179", R"({"chnid": 3, "mode": -1})"));
  ASSERT_TRUE(any);
  EXPECT_EQ(member_names(any.get()), (Strings{"chnid", "mode", "effective"}));
  // The white-light parameters of each mode are its own (the visitor mode's
  // tables carry the spelling "vistor").
  for (int mode = 0; mode <= 2; mode++) {
    const char *tables[] = {"lpr_black_white_led_params", "lpr_white_white_led_params",
                            "lpr_vistor_white_led_params"};
    JsonPtr white(get_white_params_json_object(3, tables[mode]));
    EXPECT_EQ(int_member(array_at(white.get(), 0), "time"), 20 + mode) << mode;
  }
}

TEST_F(AnprActions, BareRequestWritesNothingButNotifies) {
  EXPECT_EQ(call("/6180", R"({"chnid": 5, "mode": 1})"), kTextOk);
  EXPECT_EQ(only_payload<Notice>(sent(ANPR_MODE_CHANGED_NOTICE)).mode, 1);
  anpr_event e = {};
  ASSERT_EQ(read_anpr_event(KXDB_FILE, &e, 5, 1), 0);
  EXPECT_EQ(e.enable, 0);
  EXPECT_EQ(e.channel, 5);
}

TEST_F(AnprActions, KeysOutsideTheirRangesAreRefused) {
  for (const char *body : {R"({"chnid": 0, "mode": 3})", R"({"chnid": 0, "mode": -2})",
                           R"({"chnid": 64, "mode": 0})", R"({"mode": 0})", R"({"chnid": 0})",
                           "not json", ""}) {
    EXPECT_EQ(call("/6179", body), kJsonError) << body;
    EXPECT_EQ(call("/6180", body), kJsonError) << body;
  }
  settle();
  EXPECT_TRUE(sent(ANPR_MODE_CHANGED_NOTICE).empty());
}

TEST_F(AnprActions, FailedStoreIsTheJsonErrorWithoutNotice) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6180", R"({"chnid": 0, "mode": 0, "enable": 1})"), kJsonError);
  settle();
  EXPECT_TRUE(sent(ANPR_MODE_CHANGED_NOTICE).empty());
}

TEST_F(AnprActions, DialogFieldsAndChangeCount) {
  anpr_event e = {};
  e.channel = 2;
  EXPECT_EQ(save_anpr_dialog_data(nullptr, &e, 0, 2), 0);
  JsonPtr none(json_tokener_parse(R"({"effective": []})"));
  EXPECT_EQ(save_anpr_dialog_data(none.get(), &e, 0, 2), 0);
  JsonPtr fields(json_tokener_parse(
      R"({"triChannels": "1010", "tri_channels_pic": "01", "http_notification_interval": 9})"));
  EXPECT_EQ(save_anpr_dialog_data(fields.get(), &e, 2, 2), 1);
  EXPECT_STREQ(e.triChannels, "1010");
  EXPECT_EQ(e.trigger_mask, 5u);
  EXPECT_EQ(e.http_notification_interval, 9);
}

}  // namespace
