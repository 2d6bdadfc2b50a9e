// Motion actions of one channel, and the whole page copied to others.
#include "video_test_util.h"

namespace {

using Actions = VideoTest;

std::string white_json() {
  return R"([{"chnid": 3, "mode": 1, "time": 10}, {"chnid": 4, "mode": 2, "time": 20}])";
}

// Every action key of the page for the channel.
std::string dialog_json(int channel) {
  return R"({"chnid": )" + std::to_string(channel) + R"(, "effective": )" + schedule_json(1, 1) +
         R"(, "audible": )" + schedule_json(2, 1) + R"(, "email": )" + schedule_json(3, 1) +
         R"(, "ptz": )" + schedule_json(4, 1) + R"(, "white": )" + schedule_json(5, 1) +
         R"(, "httpSche": )" + schedule_json(6, 1) + R"(, "whiteInfo": )" + white_json() +
         R"(, "httpParams": {"url": "http://h/%41?a=1", "username": "u", "password": "p"},
            "triChnAlarms": ["1000"], "enable": 1, "triAlarms": 2, "interval": 3, "audioId": 4,
            "email_interval": 5, "email_pic_enable": 1, "tri_channels_pic": "0011",
            "ptz_interval": 6, "alarmout_interval": 7, "white_interval": 8,
            "http_notification_interval": 9, "triChannels": "0110",
            "ptzChnId": )" + std::to_string(channel) + R"(, "ptzType": 1,
            "ptzParams": [{"acto_ptz_channel": 2, "acto_ptz_type": 1, "acto_ptz_preset": 5}]})";
}

// The stored days of a schedule that have a first plan.
int days_set(int (*read)(const char *, schedule *, int), int channel) {
  schedule s = {};
  EXPECT_EQ(read(KXDB_FILE, &s, channel), 0);
  int days = 0;
  for (const schedule_day &d : s.days) days += d.plans[0].start_time[0] != '\0';
  return days;
}
int white_days(const char *, schedule *s, int channel) {
  return read_whiteled_effective_schedule(KXDB_FILE, s, channel, "motion_whiteled_esche");
}
int http_days(const char *, schedule *s, int channel) {
  return read_http_notification_schedule(KXDB_FILE, s, "motion_http_notification_sche", channel);
}

std::vector<whiteled_params> white_params(int channel) {
  whiteled_params records[WHITELED_PER_CHANNEL] = {};
  int count = 0;
  read_whiteled_params(KXDB_FILE, records, channel, "motion_white_led_params", &count);
  return std::vector<whiteled_params>(records, records + count);
}

http_notification_params http_params(int channel) {
  http_notification_params r = {};
  EXPECT_EQ(read_http_notification_params(KXDB_FILE, &r, channel, "motion_http_notification_params"), 0);
  return r;
}

std::vector<ptz_action_params> ptz_list(int channel) {
  ptz_action_params list[PTZ_ACTION_MAX] = {};
  int count = 0;
  read_ptz_params(KXDB_FILE, list, 1, channel, &count);
  std::vector<ptz_action_params> out;
  for (int i = 0; i < count; i++) {
    if (list[i].acto_ptz_channel) out.push_back(list[i]);
  }
  return out;
}

// A channel number as the state shows it: "own" for the channel itself.
std::string who(int value, int channel) {
  return value == channel ? "own" : std::to_string(value);
}

// Everything a channel holds of motion, as one text to compare channels by.
std::string channel_state(int channel) {
  motion_params m = stored_motion_record(channel);
  std::string out = "id " + who(m.id, channel) + " sens " + std::to_string(m.sensitivity) +
                    " kx " + std::to_string(m.enableKX) + " tri " + m.triChannels + " audio " +
                    std::to_string(m.audioId) + " http " +
                    std::to_string(m.http_notification_interval) + " days";
  for (auto read : {read_motion_effective_schedule, read_motion_audible_schedule,
                    read_motion_email_schedule, read_motion_ptz_schedule, white_days, http_days}) {
    out += " " + std::to_string(days_set(read, channel));
  }
  out += " white";
  for (auto &w : white_params(channel)) out += " " + who(w.channel, channel) + ":" + std::to_string(w.chnid);
  http_notification_params h = http_params(channel);
  out += " url " + who(h.channel, channel) + ":" + h.url + " ptz";
  for (auto &p : ptz_list(channel)) {
    out += " " + who(p.chn_id, channel) + ":" + std::to_string(p.acto_ptz_preset);
  }
  return out;
}

TEST_F(Actions, OnlyTheChannelStoresNothingButTellsTheDaemon) {
  EXPECT_EQ(call("/6117", R"({"chnid": 5})"), kTextOk);
  EXPECT_EQ(codes(), (std::vector<int>{1403}));
  EXPECT_EQ(sent(1403).at(0).payload, bytes_of_int(5));
  EXPECT_EQ(channel_state(5), channel_state(6));
}

TEST_F(Actions, ActionKeysSetTheirFieldsAndSchedules) {
  motion_params m = {};
  m.id = 2;
  m.sensitivity = 7;
  snprintf(m.triChnAlarms[1], sizeof m.triChnAlarms[1], "kept");
  ASSERT_EQ(write_motion(KXDB_FILE, &m), 0);
  EXPECT_EQ(call("/6117", dialog_json(2)), kTextOk);
  EXPECT_EQ(codes(), (std::vector<int>{1403}));
  // The page's own keys; HTTP notification and PTZ belong to the dialog of /6112.
  EXPECT_EQ(channel_state(2),
            "id own sens 7 kx 0 tri 0110 audio 4 http 0 days 1 2 3 4 5 0 white own:3 own:4 url own: ptz");
  motion_params stored = stored_motion_record(2);
  EXPECT_STREQ(stored.triChnAlarms[0], "1000");
  EXPECT_STREQ(stored.triChnAlarms[1], "kept");
  EXPECT_EQ(stored.trigger_mask, 6u);
  EXPECT_STREQ(stored.tri_channels_pic, "0011");
  EXPECT_EQ(stored.alarmout_interval, 7);
}

TEST_F(Actions, BadRequestsAndFailedWritesAnswerTheJsonError) {
  for (const char *body : {"", "{", R"({"chnid": 64})", R"({"chnid": -1})"}) {
    EXPECT_EQ(call("/6117", body), kJsonError) << body;
  }
  BrokenSettings broken;
  EXPECT_EQ(call("/6117", dialog_json(1)), kJsonError);
  EXPECT_TRUE(codes().empty());
}

TEST_F(Actions, DialogCountsTheRecordAndThePtzList) {
  auto save = [](const std::string &text) {
    JsonPtr o(json_tokener_parse(text.c_str()));
    return save_motion_dialog_data(o.get());
  };
  EXPECT_EQ(save_motion_dialog_data(nullptr), 0);
  EXPECT_EQ(save(R"({"chnid": 64, "enable": 1})"), 0);
  EXPECT_EQ(save(R"([1])"), 0);
  EXPECT_EQ(save(R"({"chnid": 1, "white": [[]]})"), 0);
  EXPECT_EQ(save(R"({"chnid": 1, "audioId": 2})"), 1);
  EXPECT_EQ(save(R"({"chnid": 1, "ptzChnId": 1, "ptzType": 1, "ptzParams": []})"), 1);
  EXPECT_EQ(save(dialog_json(1)), 2);
  EXPECT_EQ(save(R"({"chnid": 20, "ptzChnId": 20, "ptzType": 1, "ptzParams": []})"), 0);
  EXPECT_EQ(save(R"({"chnid": 1, "ptzChnId": 1, "ptzType": 1, "ptzParams": {"a": 1}})"), 0);
  EXPECT_EQ(save(R"({"chnid": 1, "ptzChnId": 1, "ptzType": 99, "ptzParams": []})"), 0);
  EXPECT_EQ(ptz_list(1).size(), 1u);  // the lists that were not taken left it alone
  EXPECT_EQ(codes(), std::vector<int>(7, 1403));  // every valid channel, stored or not
  BrokenSettings broken;
  EXPECT_EQ(save(R"({"chnid": 1, "audioId": 2})"), -1);
  EXPECT_EQ(codes().size(), 7u);  // no notice when the write failed
}

std::string copy_request(int channel, const std::string &copy, int count, int enableKX) {
  return R"({"chnid": )" + std::to_string(channel) + R"(, "dialog": )" + dialog_json(channel) +
         R"(, "sensitivity": 9, "enableKX": )" + std::to_string(enableKX) +
         R"(, "enableAI": 1, "motionTable": "grid", "copyChn": )" + copy +
         R"(, "copyCnt": )" + std::to_string(count) + "}";
}

TEST_F(Actions, CopyLandsOnExactlyTheMaskedChannelsEachUnderItsOwn) {
  std::string untouched = channel_state(3);
  EXPECT_EQ(call("/6112", copy_request(1, "[2, 40, 77]", 3, 1)), kTextOk);
  EXPECT_EQ(channel_state(2),
            "id own sens 9 kx 1 tri 0110 audio 4 http 9 days 1 2 3 4 5 6 white own:3 own:4 "
            "url own:http://h/%41?a=1 ptz own:5");
  // No white light from channel 16 on: the rest is copied.
  EXPECT_EQ(channel_state(40),
            "id own sens 9 kx 1 tri 0110 audio 4 http 9 days 1 2 3 4 5 6 white "
            "url own:http://h/%41?a=1 ptz own:5");
  EXPECT_EQ(channel_state(3), untouched);
  // Its own bit is not in the mask: the dialog's changes only.
  EXPECT_EQ(channel_state(1),
            "id own sens 0 kx 0 tri 0110 audio 4 http 9 days 1 2 3 4 5 6 white own:3 own:4 "
            "url own:http://h/%41?a=1 ptz own:5");

  EXPECT_EQ(codes(), (std::vector<int>{1403, 3509, 3251, 1410, 3212, 3252}));
  uint64_t mask = 1ULL << 2 | 1ULL << 40;
  Bytes log = sent(3509).at(0).payload;
  ASSERT_EQ(log.size(), 680u);
  EXPECT_EQ(int_at(log, 24), 909);
  EXPECT_EQ(int_at(log, 32), 0);
  EXPECT_EQ((uint32_t)int_at(log, 672), (uint32_t)mask);
  EXPECT_EQ((uint32_t)int_at(log, 676), (uint32_t)(mask >> 32));
  EXPECT_EQ(sent(1410).at(0).payload, bytes_of(channel_mask_notice{4, 1u << 8}));

  auto set = only_payload<camera_motion_set>(sent(3251));
  EXPECT_STREQ(set.map, "grid");
  EXPECT_EQ(set.sensitivity, 9);
  EXPECT_EQ(set.channel, 1);
  EXPECT_EQ(set.enableKX, 1);
  EXPECT_EQ(set.enableAI, 1);
  EXPECT_EQ(set.count, 2);
  EXPECT_EQ(set.channels[0], 2);
  EXPECT_EQ(set.channels[1], 40);
  auto on_off = only_payload<camera_motion_switch>(sent(3212));
  EXPECT_EQ(on_off.channel, 1);
  EXPECT_EQ(on_off.enable, 1);
  EXPECT_EQ(on_off.count, 2);
  EXPECT_EQ(on_off.channels[1], 40);
  Bytes week = sent(3252).at(0).payload;
  ASSERT_EQ(week.size(), 1216u);
  EXPECT_EQ(int_at(week, 0), 1);
  EXPECT_EQ(int_at(week, 68 + 136 * 6), 6);
  EXPECT_EQ(int_at(week, 956), 2);
  EXPECT_EQ(int_at(week, 960), 40);
  EXPECT_EQ(int_at(week, 1212), 2);
}

TEST_F(Actions, CopyIncludingItsOwnChannelStoresThePageValues) {
  EXPECT_EQ(call("/6112", copy_request(1, "[1]", 1, 0)), kTextOk);
  EXPECT_EQ(stored_motion_record(1).sensitivity, 9);
  EXPECT_EQ(codes(), (std::vector<int>{1403, 3509, 3251, 1410, 3212}));  // no week when off
  EXPECT_EQ(only_payload<camera_motion_switch>(sent(3212)).enable, 0);
}

TEST_F(Actions, CopyCountZeroCopiesNothingButTellsTheCamera) {
  std::string before = channel_state(2);
  EXPECT_EQ(call("/6112", copy_request(1, "[2, 3]", 0, 1)), kTextOk);
  EXPECT_EQ(channel_state(2), before);
  EXPECT_EQ(codes(), (std::vector<int>{1403, 3509, 3251, 1410, 3212, 3252}));
  EXPECT_EQ(sent(1410).at(0).payload, bytes_of(channel_mask_notice{0, 0}));
  EXPECT_EQ(int_at(sent(3509).at(0).payload, 672), 0);
  EXPECT_EQ(only_payload<camera_motion_set>(sent(3251)).count, 0);
  EXPECT_EQ(only_payload<camera_motion_switch>(sent(3212)).count, 0);
  EXPECT_EQ(int_at(sent(3252).at(0).payload, 1212), 0);
}

TEST_F(Actions, CopyFromAChannelOutsideTheRecorderChangesNothing) {
  // A stored channel to see that nothing is copied over it.
  ASSERT_EQ(call("/6117", dialog_json(5)), kTextOk);
  std::string before = channel_state(5);
  forget();
  for (const char *chnid : {"99", "-1", "64", "1e308"}) {
    std::string body = copy_request(1, "[5]", 1, 1);
    body.replace(body.find("1, \"dialog\""), 1, chnid);
    EXPECT_EQ(call("/6112", body), "") << chnid;
  }
  EXPECT_EQ(call("/6112", "not json"), "");
  EXPECT_TRUE(codes().empty());
  EXPECT_EQ(channel_state(5), before);
  EXPECT_EQ(channel_state(1), channel_state(7));
}

TEST_F(Actions, FailedCopyAnswersTheErrorAndTellsNobody) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6112", copy_request(1, "[2]", 1, 1)), kCgiError);
  EXPECT_EQ(call("/6112", R"({"chnid": 1, "copyChn": [2], "copyCnt": 1})"), kCgiError);
  EXPECT_TRUE(codes().empty());
}

}  // namespace
