// Regional people counting: the camera's record sent and decoded, and the
// recorder's actions per region stored and copied.
#include <memory>

#include "camera_events.h"
#include "kxdb_motion.h"
#include "kxdb_regional.h"
#include "video_test_util.h"

namespace {

using RegionCount = VideoTest;

std::string action_json(int n) {
  return R"({"audible": )" + schedule_json(2, 1) + R"(, "httpSche": )" + schedule_json(3, 1) +
         R"(, "interval": )" + std::to_string(10 + n) + R"(, "triAlarms": 3,
            "triChannels": "0101", "triChnAlarms": ["11", "01"], "audioId": 2,
            "ptzParams": [{"acto_ptz_channel": 4, "acto_ptz_type": 1, "acto_ptz_preset": 9}],
            "whiteInfo": [{"chnid": 2, "mode": 1, "time": 30}],
            "httpParams": {"url": "http://h/)" + std::to_string(n) + R"(", "username": "u"}})";
}

std::string set_body(int channel, const std::string &copy, int actions) {
  std::string list = "[";
  for (int i = 0; i < actions; i++) list += (i ? "," : "") + action_json(i);
  return R"({"chnid": )" + std::to_string(channel) + R"(, "sensitivity": 4, "minObjX": 1,
            "maxObjHeight": 88, "copyChn": ")" + copy + R"(",
            "regional": [{"enable": 1, "polygonX": ")" + std::string(70, '7') +
         R"(", "polygonY": "1,2", "maxStayValue": 5}, null, {"minStayValue": 6}],
            "effective": )" + schedule_json(8, 2) + R"(, "action": )" + list + "]}";
}

smart_event stored_region(int channel, int region) {
  smart_event e = {};
  EXPECT_EQ(read_regional_pcnt_event(KXDB_FILE, &e, channel, region), 0);
  return e;
}

int schedule_days(int kind, int channel, int region) {
  auto s = std::make_unique<schedule>();
  EXPECT_EQ(read_regional_pcnt_schedule(KXDB_FILE, kind, s.get(), channel, region), 0);
  int days = 0;
  for (const schedule_day &d : s->days) days += d.plans[0].start_time[0] != '\0';
  return days;
}

int ptz_entries(int channel, int region) {
  ptz_action_params list[PTZ_ACTION_MAX] = {};
  int count = 0;
  read_ptz_params(KXDB_FILE, list, 22 + region, channel, &count);
  int set = 0;
  for (int i = 0; i < count; i++) set += list[i].acto_ptz_channel > 0;
  return set;
}

std::string http_url(int channel, int region) {
  http_notification_params r = {};
  read_http_notification_params(KXDB_FILE, &r, channel, regional_pcnt_http_table(region));
  return r.url;
}

// What a channel holds of a region, as one text.
std::string region_state(int channel, int region) {
  smart_event e = stored_region(channel, region);
  return "interval " + std::to_string(e.interval) + " tri " + e.triChannels + " mask " +
         std::to_string(e.trigger_mask) + " alarms " + e.triChnAlarms[0] + " audible " +
         std::to_string(schedule_days(REGIONAL_SCHEDULE_AUDIBLE, channel, region)) + " http " +
         std::to_string(schedule_days(REGIONAL_SCHEDULE_HTTP, channel, region)) + " ptz " +
         std::to_string(ptz_entries(channel, region)) + " url " + http_url(channel, region);
}

TEST_F(RegionCount, TwoActionsStoredCopiedAndTheWholeRecordSent) {
  daemon().answer(REGIONAL_PCNT_SET, int_answer(0));
  JsonPtr reply = parse_body(call("/6097", set_body(1, "0001", 2)));
  EXPECT_EQ(int_member(reply.get(), "res"), 0);
  for (int ch : {1, 3}) {
    EXPECT_EQ(region_state(ch, 0), "interval 10 tri 0101 mask 10 alarms 11 audible 2 http 3 "
                                   "ptz 1 url http://h/0")
        << ch;
    EXPECT_EQ(region_state(ch, 1), "interval 11 tri 0101 mask 10 alarms 11 audible 2 http 3 "
                                   "ptz 1 url http://h/1")
        << ch;
    for (int region : {2, 3}) {
      EXPECT_EQ(region_state(ch, region), "interval 0 tri  mask 0 alarms  audible 0 http 0 "
                                          "ptz 0 url ")
          << ch << " " << region;
    }
    EXPECT_EQ(stored_region(ch, 0).channel, ch);
  }
  EXPECT_EQ(region_state(2, 0), "interval 0 tri  mask 0 alarms  audible 0 http 0 ptz 0 url ");

  auto rec = std::make_unique<regional_pcnt_info>(
      only_payload<regional_pcnt_info>(sent(REGIONAL_PCNT_SET)));
  EXPECT_EQ(rec->chnid, 1);
  EXPECT_EQ(rec->sensitivity, 4);
  EXPECT_EQ(rec->maxObjHeight, 88);
  EXPECT_STREQ(rec->copyChn, "0001");
  EXPECT_EQ(rec->regions[0].enable, 1);
  EXPECT_EQ(std::string(rec->regions[0].polygonX), std::string(63, '7'));
  EXPECT_EQ(rec->regions[0].maxStayValue, 5);
  EXPECT_EQ(rec->regions[2].minStayValue, 6);
  for (int d = 0; d < 8; d++) EXPECT_EQ(rec->effective.days[d].valid, d < 7 ? 1 : 0) << d;
  EXPECT_STREQ(rec->effective.days[6].plans[1].start_time, "06:00");
  EXPECT_EQ(rec->effective.days[6].plans[1].action_type, 0);
}

TEST_F(RegionCount, ChannelOutOfRangeChangesNothing) {
  daemon().answer(REGIONAL_PCNT_SET, int_answer(0));
  EXPECT_EQ(call("/6097", set_body(70, "1111", 2)), kJsonError);
  EXPECT_EQ(call("/6097", set_body(-1, "1111", 1)), kJsonError);
  EXPECT_EQ(call("/6097", "{"), kJsonError);
  settle();
  EXPECT_TRUE(sent(REGIONAL_PCNT_SET).empty());
  for (int ch = 0; ch < 4; ch++) {
    EXPECT_EQ(region_state(ch, 0), "interval 0 tri  mask 0 alarms  audible 0 http 0 ptz 0 url ");
  }
}

TEST_F(RegionCount, FailedStoreSendsNoRecord) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6097", set_body(1, "", 1)), kJsonError);
  settle();
  EXPECT_TRUE(sent(REGIONAL_PCNT_SET).empty());
}

TEST_F(RegionCount, AnswerDecodedWithTheStoredActions) {
  daemon().answer(REGIONAL_PCNT_SET, int_answer(0));
  call("/6097", set_body(2, "", 1));
  auto rec = std::make_unique<regional_pcnt_info>();
  rec->result = 7;
  rec->chnid = 2;
  rec->maxObjX = 40;
  memset(rec->regions[1].polygonY, '5', sizeof rec->regions[1].polygonY);  // no terminator
  rec->regions[1].maxStayTimeValue = 9;
  snprintf(rec->effective.days[0].plans[0].start_time, 32, "01:00");
  rec->effective.days[0].valid = 1;
  snprintf(rec->effective.days[1].plans[0].start_time, 32, "02:00");  // row not valid
  daemon().answer(REGIONAL_PCNT_GET, bytes_of(*rec));
  JsonPtr reply = parse_body(call("/6096", R"({"chnid": 2})"));
  EXPECT_EQ(only_payload<int32_t>(sent(REGIONAL_PCNT_GET)), 2);
  EXPECT_EQ(member_names(reply.get()),
            (std::vector<std::string>{"result", "chnid", "sensitivity", "minObjX", "minObjY",
                                      "minObjWidth", "minObjHeight", "maxObjX", "maxObjY",
                                      "maxObjWidth", "maxObjHeight", "regional", "effective",
                                      "action"}));
  EXPECT_EQ(int_member(reply.get(), "result"), 7);
  EXPECT_EQ(int_member(reply.get(), "maxObjX"), 40);
  json_object *region = array_at(json_member(reply.get(), "regional"), 1);
  EXPECT_EQ(text_member(region, "polygonY"), std::string(64, '5'));
  EXPECT_EQ(int_member(region, "maxStayTimeValue"), 9);
  json_object *effective = json_member(reply.get(), "effective");
  EXPECT_EQ(text_member(array_at(array_at(effective, 0), 0), "startTime"), "01:00");
  EXPECT_EQ(text_member(array_at(array_at(effective, 1), 0), "startTime"), "");
  json_object *actions = json_member(reply.get(), "action");
  ASSERT_EQ(array_length(actions), 4);
  json_object *first = array_at(actions, 0);
  EXPECT_EQ(member_names(first),
            (std::vector<std::string>{"audible", "interval", "audioId", "email", "email_interval",
                                      "email_pic_enable", "tri_channels_pic", "ptz",
                                      "ptz_interval", "ptzParams", "white", "whiteInfo",
                                      "white_interval", "httpSche", "httpParams",
                                      "http_notification_interval", "alarmout_interval",
                                      "triAlarms", "triChannels", "triChnAlarms"}));
  EXPECT_EQ(int_member(first, "interval"), 10);
  EXPECT_EQ(text_member(first, "triChannels"), "0101");
  EXPECT_EQ(array_length(json_member(first, "ptzParams")), 1);
  EXPECT_EQ(array_length(json_member(first, "whiteInfo")), 1);
  EXPECT_EQ(text_member(json_member(first, "httpParams"), "url"), "http://h/0");
  EXPECT_EQ(int_member(array_at(actions, 1), "interval"), 0);
}

TEST_F(RegionCount, AnswerChannelOutOfRangeShowsZeroedActions) {
  daemon().answer(REGIONAL_PCNT_SET, int_answer(0));
  call("/6097", set_body(0, "", 1));
  auto rec = std::make_unique<regional_pcnt_info>();
  rec->chnid = 70;
  daemon().answer(REGIONAL_PCNT_GET, bytes_of(*rec));
  JsonPtr reply = parse_body(call("/6096", R"({"chnid": 0})"));
  json_object *actions = json_member(reply.get(), "action");
  ASSERT_EQ(array_length(actions), 4);
  for (int r = 0; r < 4; r++) {
    json_object *a = array_at(actions, r);
    EXPECT_EQ(int_member(a, "interval"), 0);
    EXPECT_EQ(text_member(a, "triChannels"), "");
    EXPECT_EQ(array_length(json_member(a, "ptzParams")), 0);
    EXPECT_EQ(text_member(json_member(a, "httpParams"), "url"), "");
  }
  // A short answer is no answer.
  daemon().answer(REGIONAL_PCNT_GET, Bytes(26000, 0));
  EXPECT_EQ(call("/6096", R"({"chnid": 0})"), kJsonError);
  EXPECT_EQ(call("/6096", ""), kJsonError);
}

}  // namespace
