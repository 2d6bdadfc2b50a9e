#include <gtest/gtest.h>

#include <cstring>

#include "handler_fixture.h"
#include "json_codecs.h"
#include "kxdb.h"

namespace {

JsonPtr parse(const char *text) {
  return JsonPtr(json_tokener_parse(text));
}

std::string text_of(json_object *o) {
  JsonPtr owned(o);
  return json_object_to_json_string_ext(o, JSON_C_TO_STRING_PLAIN);
}

TEST(ScheduleCodec, PositionalPlansInNamedPlansOut) {
  auto root = parse(R"({"s": [[["08:00", "12:00", 1], ["13:00", "14:00", 2]], [], [["a"]]]})");
  schedule s;
  memset(&s, 0x55, sizeof s);
  ASSERT_EQ(get_schedule_by_json(root.get(), "s", &s), 0);
  EXPECT_STREQ(s.days[0].plans[0].start_time, "08:00");
  EXPECT_STREQ(s.days[0].plans[0].end_time, "12:00");
  EXPECT_EQ(s.days[0].plans[0].action_type, 1);
  EXPECT_EQ(s.days[0].plans[1].action_type, 2);
  EXPECT_STREQ(s.days[2].plans[0].start_time, "a");
  EXPECT_STREQ(s.days[7].plans[11].start_time, "");  // missing days read as empty
  EXPECT_EQ(s.days[3].valid, 0);

  JsonPtr out(get_schedule_json_object(&s));
  ASSERT_EQ(json_object_array_length(out.get()), 8u);
  json_object *day0 = json_object_array_get_idx(out.get(), 0);
  ASSERT_EQ(json_object_array_length(day0), 12u);
  EXPECT_EQ(std::string(json_object_to_json_string_ext(json_object_array_get_idx(day0, 0),
                                                       JSON_C_TO_STRING_PLAIN)),
            R"({"startTime":"08:00","endTime":"12:00","actionType":1})");
  EXPECT_EQ(std::string(json_object_to_json_string_ext(json_object_array_get_idx(day0, 11),
                                                       JSON_C_TO_STRING_PLAIN)),
            R"({"startTime":"","endTime":"","actionType":0})");

  // Round trip through the page's shape.
  std::string page = "{\"s\": [";
  for (int d = 0; d < 8; d++) {
    page += d ? ",[" : "[";
    for (int p = 0; p < 12; p++) {
      page += (p ? "," : "") + std::string("[\"") + std::to_string(d) + ":" + std::to_string(p) +
              "\", \"" + std::string(40, 'e') + "\", " + std::to_string(d * p) + "]";
    }
    page += "]";
  }
  page += "]}";
  auto again = parse(page.c_str());
  ASSERT_EQ(get_schedule_by_json_ex(again.get(), "s", &s), 0);
  EXPECT_STREQ(s.days[7].plans[11].start_time, "7:11");
  EXPECT_EQ(strlen(s.days[7].plans[11].end_time), 31u);  // cut to the field
  EXPECT_EQ(s.days[7].plans[11].action_type, 77);
  EXPECT_EQ(s.days[0].plans[12].start_time[0], '\0');
  EXPECT_EQ(get_schedule_by_json(again.get(), "missing", &s), -1);
  EXPECT_EQ(get_schedule_by_json(nullptr, "s", &s), -1);
}

TEST(ScheduleCodec, CameraSideSchedules) {
  auto root = parse(R"({"s": [[["01:00", "02:00", 5]], [], [], [], [], [], [], [["x", "y"]]]})");
  schedule s;
  ASSERT_EQ(get_schedule_by_json_ipc(root.get(), "s", &s), 0);
  EXPECT_STREQ(s.days[0].plans[0].start_time, "01:00");
  EXPECT_EQ(s.days[0].plans[0].action_type, 0);
  for (int d = 0; d < 7; d++) EXPECT_EQ(s.days[d].valid, 1);
  EXPECT_EQ(s.days[7].valid, 0);
  EXPECT_STREQ(s.days[7].plans[0].start_time, "");  // row 7 is never read
  s.days[1].plans[0] = {"09:00", "10:00", 0};
  s.days[1].valid = 0;
  JsonPtr out(get_schedule_json_object_ipc(&s));
  json_object *plan = json_object_array_get_idx(json_object_array_get_idx(out.get(), 1), 0);
  EXPECT_EQ(std::string(json_object_to_json_string_ext(plan, JSON_C_TO_STRING_PLAIN)),
            R"({"startTime":"","endTime":""})");
}

TEST(ScheduleCodec, PlanTimesThatFillTheirFieldsEndAtTheField) {
  schedule s{};
  memset(s.days[2].plans[3].start_time, '7', sizeof s.days[2].plans[3].start_time);
  memset(s.days[2].plans[3].end_time, '8', sizeof s.days[2].plans[3].end_time);
  s.days[2].plans[3].action_type = 0x41414141;  // would follow the text unbounded
  JsonPtr out(get_schedule_json_object(&s));
  json_object *plan = json_object_array_get_idx(json_object_array_get_idx(out.get(), 2), 3);
  EXPECT_EQ(std::string(json_object_get_string(json_object_object_get(plan, "startTime"))),
            std::string(32, '7'));
  EXPECT_EQ(std::string(json_object_get_string(json_object_object_get(plan, "endTime"))),
            std::string(32, '8'));
}

TEST(ChannelSets, CopyFlagsWithinRangeAndCount) {
  auto root = parse(R"({"chn": [0, 33, 70, -1], "n": 3, "one": 1, "huge": 2000000000})");
  EXPECT_EQ(get_copy_flag_by_json(root.get(), "chn", "n"), (1ULL << 0) | (1ULL << 33));
  EXPECT_EQ(get_copy_flag_by_json(root.get(), "chn", "one"), 1ULL);
  EXPECT_EQ(get_copy_flag_by_json(root.get(), "chn", "none"), 0u);
  EXPECT_EQ(get_copy_flag_by_json(root.get(), "chn", "huge"), (1ULL << 0) | (1ULL << 33));
}

TEST(SmallCodecs, AlarmOutputsPtzTypesAndGetters) {
  EXPECT_EQ(text_of(get_event_chn_alarmout_object("a", "b")), R"(["a","b"])");
  auto root = parse(R"({"out": ["first"], "v": 12, "t": "text", "n": "12"})");
  event_alarmout_name pair[2] = {{9, 9, "keep"}, {9, 9, "keep"}};
  EXPECT_EQ(get_event_chn_alarmout_by_object(4, root.get(), "out", pair), 0);
  EXPECT_EQ(pair[0].channel, 4);
  EXPECT_STREQ(pair[0].name, "first");
  EXPECT_STREQ(pair[1].name, "keep");  // absent element untouched
  EXPECT_EQ(get_event_chn_alarmout_by_object(4, root.get(), "x", pair), -1);

  EXPECT_EQ(get_smart_event_ptz_type(0), 5);
  EXPECT_EQ(get_smart_event_ptz_type(8), 13);
  EXPECT_EQ(get_smart_event_ptz_type(9), -1);
  EXPECT_EQ(get_smart_event_ptz_type(-1), -1);

  int v = 0;
  EXPECT_EQ(on_cgi_get_value_by_json(R"({"a": 3})", "a", &v), 0);
  EXPECT_EQ(v, 3);
  EXPECT_EQ(on_cgi_get_value_by_json("not json", "a", &v), -1);
  EXPECT_EQ(on_cgi_get_int_from_json(root.get(), "n", &v), 0);
  EXPECT_EQ(v, 12);
  char buf[3];
  EXPECT_EQ(on_cgi_get_string_from_json(root.get(), "t", buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "te");
  EXPECT_EQ(on_cgi_get_string_from_json(root.get(), "none", buf, sizeof buf), -1);
  EXPECT_TRUE(on_cgi_is_kx_lpr(11));
  EXPECT_FALSE(on_cgi_is_kx_lpr(15));

  char out[6];
  EXPECT_EQ(get_section_info("x=1&lang=en?y", "lang=", out, sizeof out), 0);
  EXPECT_STREQ(out, "en");
  EXPECT_EQ(get_section_info("lang=abcdefgh", "lang=", out, sizeof out), 0);
  EXPECT_STREQ(out, "abcde");
  EXPECT_EQ(get_section_info("abc", "", out, sizeof out), -1);
  EXPECT_EQ(get_section_info("abc", "z", out, sizeof out), -1);
  EXPECT_EQ(get_section_info("abc", "a", out, 0), -1);
}

using StoredCodecs = HandlerTest;

TEST_F(StoredCodecs, WhiteLightAsObjectsOrPositionalArrays) {
  whiteled_params block[WHITELED_BLOCK_RECORDS];
  auto positional = parse(R"({"w": [[2, 1, 10]]})");
  ASSERT_EQ(get_white_params_by_json(3, block, positional.get(), "w"), 0);
  EXPECT_EQ(block[3 * 16].channel, 3);
  EXPECT_EQ(block[3 * 16].chnid, 2);
  EXPECT_EQ(block[3 * 16].mode, 1);
  EXPECT_EQ(block[3 * 16].time, 10);
  auto named = parse(R"({"w": [{"chnid": 2, "mode": 1, "time": 10}, {"chnid": 4}]})");
  ASSERT_EQ(get_white_params_by_json(3, block, named.get(), "w"), 0);
  EXPECT_EQ(block[3 * 16].time, 10);
  EXPECT_EQ(block[3 * 16 + 1].chnid, 4);
  EXPECT_EQ(get_white_params_by_json(16, block, named.get(), "w"), -1);
  ASSERT_EQ(write_whiteled_params_all(KXDB_FILE, block, "motion_white_led_params", 3), 0);
  EXPECT_EQ(text_of(get_white_params_json_object(3, "motion_white_led_params")),
            R"([{"chnid":2,"mode":1,"time":10},{"chnid":4,"mode":0,"time":0}])");
  EXPECT_EQ(text_of(get_white_params_json_object(40, "motion_white_led_params")), "[]");

  whiteled_params group[WHITELED_PER_CHANNEL] = {};
  auto many = parse(R"({"w": [[1,1,1],[2,2,2],[3,3,3],[4,4,4],[5,5,5],[6,6,6],[7,7,7],[8,8,8],
    [9,9,9],[10,1,1],[11,1,1],[12,1,1],[13,1,1],[14,1,1],[15,1,1],[16,1,1],[17,1,1]]})");
  ASSERT_EQ(get_pcnt_white_params_by_json(2, group, many.get(), "w"), 0);
  EXPECT_EQ(group[15].chnid, 16);  // at most 16
  write_peoplecnt_wled_params_all(KXDB_FILE, group, 2);
  JsonPtr pc(get_pcnt_white_params_json_object(2));
  EXPECT_EQ(json_object_array_length(pc.get()), 16u);
}

TEST_F(StoredCodecs, HttpNotificationIsStoredVerbatim) {
  auto root = parse(R"({"h": {"url": "http://x/?a=%20&b=%zz", "username": "u", "password": "p"}})");
  http_notification_params r;
  ASSERT_EQ(get_http_params_by_json(7, &r, root.get(), "h"), 0);
  EXPECT_STREQ(r.url, "http://x/?a=%20&b=%zz");
  EXPECT_EQ(r.channel, 7);
  write_http_notification_params(KXDB_FILE, &r, "motion_http_notification_params");
  EXPECT_EQ(text_of(get_http_params_json_object(7, "motion_http_notification_params")),
            R"({"chnId":7,"url":"http:\/\/x\/?a=%20&b=%zz","username":"u","password":"p"})");
  EXPECT_EQ(get_http_params_by_json(7, &r, root.get(), "x"), -1);
}

TEST_F(StoredCodecs, PtzActionLists) {
  auto list = parse(R"([{"acto_ptz_channel": 2, "acto_ptz_type": 1, "acto_ptz_preset": 5,
                         "acto_ptz_pattern": 9}, {"acto_ptz_type": 2}])");
  ptz_action_params records[PTZ_ACTION_MAX];
  memset(records, 0x77, sizeof records);
  EXPECT_EQ(get_ptz_params_by_json(16, 1, list.get(), records), -1);
  EXPECT_EQ(records[0].chn_id, 0x77777777);  // nothing written
  EXPECT_EQ(set_ptz_params_by_json(16, 1, list.get()), 0);
  EXPECT_EQ(set_ptz_params_by_json(3, 1, nullptr), 0);
  EXPECT_EQ(set_ptz_params_by_json(3, 1, list.get()), 1);
  EXPECT_EQ(text_of(get_ptz_params_json_object(1, 3)),
            R"([{"acto_ptz_channel":2,"acto_ptz_type":1,"acto_ptz_preset":5,"acto_ptz_patrol":0}])");
  EXPECT_EQ(text_of(get_ptz_params_json_object(2, 3)), "[]");
  EXPECT_EQ(set_ptz_params_by_json(4, PTZ_EVENT_PEOPLECNT, list.get()), 1);
  EXPECT_EQ(text_of(get_ptz_params_json_object(PTZ_EVENT_PEOPLECNT, 4)),
            R"([{"acto_ptz_channel":2,"acto_ptz_type":1,"acto_ptz_preset":5,"acto_ptz_patrol":0}])");
}

}  // namespace
