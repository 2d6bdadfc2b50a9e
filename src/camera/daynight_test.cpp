#include <gtest/gtest.h>

#include <string>

#include "camera_test_util.h"
#include "daynight_records.h"
#include "handler_fixture.h"
#include "json_codecs.h"
#include "kxdb.h"
#include "kxdb_exposure.h"
#include "kxdb_motion.h"
#include "kxdb_vca.h"

namespace {

using camera_test::put_text;
using camera_test::put_word;
using camera_test::word_at;
using camera_test::zero_between;
using DayNight = HandlerTest;

const char *const kJsonError = "Content-type: application/json\r\n\r\n{status:\"CGI ERROR\"}";
const char *const kTextError = "Content-type: text/plain\r\n\r\nCGI ERROR";

JsonPtr body_of(const std::string &reply) {
  return JsonPtr(json_tokener_parse(reply_body(reply).c_str()));
}
int int_of(json_object *o, const char *key) { return json_object_get_int(json_member(o, key)); }
std::string text_of(json_object *o, const char *key) {
  const char *t = json_object_get_string(json_member(o, key));
  return t ? t : "<missing>";
}
json_object *at(json_object *o, int i) { return json_object_array_get_idx(o, i); }

TEST_F(DayNight, PeriodGoesToItsSlotAndBadIdsSendNothing) {
  EXPECT_EQ(reply_body(call("/2038", R"({"channel": 5, "id": 2, "enable": 1, "startHour": 6,
      "minShutter": 3, "maxShutter": 9, "colorMode": 2})")), "OK");
  auto sent_now = sent(3279);
  ASSERT_EQ(sent_now.size(), 1u);
  const Bytes &p = sent_now[0].payload;
  ASSERT_EQ(p.size(), 1088u);
  EXPECT_EQ(word_at(p, 0), 5);
  size_t base = 8 + 56 * 2;
  EXPECT_EQ(word_at(p, base), 1);
  EXPECT_EQ(word_at(p, base + 4), 1);
  EXPECT_EQ(word_at(p, base + 8), 6);
  EXPECT_EQ(word_at(p, base + 28), 3);
  EXPECT_EQ(word_at(p, base + 32), 9);
  EXPECT_EQ(word_at(p, base + 52), 2);
  EXPECT_TRUE(zero_between(p, 8, base));
  EXPECT_TRUE(zero_between(p, base + 56, 1088));

  forget();
  for (const char *bad : {R"({"channel": 1, "id": 7})", R"({"channel": 1, "id": -1})",
                          R"({"channel": 64, "id": 0})", R"({"channel": -2, "id": 0})"}) {
    EXPECT_EQ(call("/2038", bad), kJsonError) << bad;
  }
  EXPECT_EQ(call("/2038", "not json"), "");
  EXPECT_TRUE(sent(3279).empty());
}

TEST_F(DayNight, DayNightImageTakesSevenPeriodsAndListedChannels) {
  std::string periods;
  for (int i = 0; i < 9; i++) {
    periods += (i ? "," : "") + std::string("{\"enable\": 1, \"gainLevel\": ") +
               std::to_string(10 + i) + "}";
  }
  EXPECT_EQ(reply_body(call("/2047", R"({"type": 0, "cnt": 4, "chnid": [-1, 4, 70, 9, 11],
      "hasSche": 1, "effective": [{"startTime": "08:00", "endTime": "18:00", "templateId": 3},
      {"startTime": "0123456789012345678901234567890123456789"}],
      "image": [)" + periods + "]}")), "OK");
  auto s = sent(3279);
  ASSERT_EQ(s.size(), 2u);  // -1 and 70 are no channels, 11 is past "cnt"
  EXPECT_EQ(word_at(s[0].payload, 0), 4);
  EXPECT_EQ(word_at(s[1].payload, 0), 9);
  const Bytes &p = s[0].payload;
  for (int i = 0; i < 7; i++) {
    EXPECT_EQ(word_at(p, 8 + 56 * i), 1) << i;
    EXPECT_EQ(word_at(p, 8 + 56 * i + 36), 10 + i) << i;
  }
  EXPECT_EQ(word_at(p, 400), 1);
  EXPECT_EQ(text_at(p, 404, 32), "08:00");
  EXPECT_EQ(text_at(p, 436, 32), "18:00");
  EXPECT_EQ(word_at(p, 468), 3);
  EXPECT_EQ(text_at(p, 472, 32), "0123456789012345678901234567890");
  EXPECT_TRUE(zero_between(p, 404 + 68 * 2, 1088));

  forget();
  call("/2047", R"({"type": 0, "cnt": 2, "chnid": [-1, 4]})");
  ASSERT_EQ(sent(3279).size(), 1u);
  EXPECT_EQ(word_at(sent(3279)[0].payload, 0), 4);
}

TEST_F(DayNight, ScenesFillOnlyTheSceneBytes) {
  call("/2047", R"({"type": 1, "cnt": 1, "chnid": [2], "hasSche": 1,
      "effective": [{"startTime": "01:00"}],
      "scenes": [[{"minShutter": 1, "maxShutter": 2, "limitGain": 3, "irCutInterval": 4,
                   "irCutStatus": 5, "irLedStatus": 6, "colorMode": 7}]]})");
  auto s = sent(3279);
  ASSERT_EQ(s.size(), 1u);
  const Bytes &p = s[0].payload;
  EXPECT_EQ(word_at(p, 4), 1);
  for (int f = 0; f < 8; f++) {
    EXPECT_EQ(word_at(p, 8 + 8 * f), f == 0 ? 1 : f) << f;  // entry 0
    EXPECT_EQ(word_at(p, 12 + 8 * f), 0) << f;             // a single entry leaves e = 1
  }
  EXPECT_TRUE(zero_between(p, 72, 1088));  // no schedule for scenes

  forget();
  EXPECT_EQ(call("/2047", R"({"type": 1, "cnt": 1, "chnid": [2], "scenes": [[]]})"), "");
  EXPECT_EQ(call("/2047", R"({"type": 1, "cnt": 1, "chnid": [2], "scenes": [{}]})"), "");
  EXPECT_TRUE(sent(3279).empty());
}

TEST_F(DayNight, DayNightAnswerAndShortAnswer) {
  Bytes answer(400, 0);
  put_word(answer, 8 + 56 * 3 + 4, 1);   // period 3 enable
  put_word(answer, 8 + 56 * 3 + 28, 5);  // minShutter
  put_word(answer, 8 + 56 * 3 + 32, 8);  // maxShutter
  daemon().answer(3278, answer);
  JsonPtr body = body_of(call("/2037", R"({"id": 1})"));
  ASSERT_TRUE(body);
  json_object *image = json_member(body.get(), "image");
  ASSERT_EQ(array_length(image), 7);
  json_object *third = at(image, 3);
  EXPECT_EQ(int_of(third, "id"), 3);
  EXPECT_EQ(int_of(third, "enable"), 1);
  EXPECT_EQ(int_of(third, "minShutter"), 5);
  EXPECT_EQ(int_of(third, "maxShutter"), 8);
  // Keys in the page's order: maxShutter before minShutter.
  std::string text = json_object_to_json_string(third);
  EXPECT_LT(text.find("maxShutter"), text.find("minShutter"));
  EXPECT_EQ(word_at(sent(3278)[0].payload, 0), 1);

  daemon().answer(3278, Bytes(399, 0));
  EXPECT_EQ(call("/2037", R"({"id": 1})"), kJsonError);
  EXPECT_EQ(call("/2037", R"({"id": 64})"), kJsonError);
  EXPECT_EQ(call("/2037", "not json"), "");
}

TEST_F(DayNight, AreasPayloadSkipsBadChannels) {
  EXPECT_EQ(reply_body(call("/2040", R"({"enable": 1, "cnt": 3, "chnid": [70, 2, 5, 6],
      "area": [{"enable": 1, "left": 10, "top": 20, "right": 30, "bottom": 40},
               {"enable": 0, "left": 1}]})")), "OK");
  auto s = sent(3288);
  ASSERT_EQ(s.size(), 1u);
  const Bytes &p = s[0].payload;
  ASSERT_EQ(p.size(), 584u);
  EXPECT_EQ(word_at(p, 0), 2);
  EXPECT_EQ(word_at(p, 4), 5);
  for (int i = 2; i < 64; i++) EXPECT_EQ(word_at(p, 4 * i), -1) << i;
  EXPECT_EQ(word_at(p, 256), 1);
  EXPECT_EQ(word_at(p, 260), 2);
  EXPECT_EQ(word_at(p, 264), 1);
  EXPECT_EQ(word_at(p, 268), 10);
  EXPECT_EQ(word_at(p, 280), 40);
  EXPECT_EQ(word_at(p, 288), 1);
  EXPECT_TRUE(zero_between(p, 304, 584));
}

TEST_F(DayNight, AreasAnswerAndClear) {
  Bytes answer(364, 0);
  put_word(answer, 4, 1);
  put_text(answer, 12, std::string(32, 'V'));  // no terminator
  put_word(answer, 44 + 20 * 15 + 16, 99);
  daemon().answer(3271, answer);
  JsonPtr body = body_of(call("/2039", R"({"id": 0})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(int_of(body.get(), "enable"), 1);
  EXPECT_EQ(text_of(body.get(), "sdkversion"), std::string(32, 'V'));
  json_object *areas = json_member(body.get(), "area");
  ASSERT_EQ(array_length(areas), 16);
  EXPECT_EQ(int_of(at(areas, 15), "id"), 15);
  EXPECT_EQ(int_of(at(areas, 15), "bottom"), 99);
  daemon().answer(3271, Bytes(363, 0));
  EXPECT_EQ(call("/2039", R"({"id": 0})"), kJsonError);

  EXPECT_EQ(reply_body(call("/2050", R"({"chan_id": 3, "area_id": 16})")), "OK");
  auto s = sent(3284);
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(s[0].payload.size(), 8u);
  EXPECT_EQ(word_at(s[0].payload, 0), 3);
  EXPECT_EQ(word_at(s[0].payload, 4), 16);
  forget();
  for (const char *bad : {R"({"chan_id": 3, "area_id": 17})", R"({"chan_id": 3, "area_id": -1})",
                          R"({"chan_id": 64, "area_id": 0})", "not json"}) {
    EXPECT_EQ(call("/2050", bad), kJsonError) << bad;
  }
  EXPECT_TRUE(sent(3284).empty());
}

const char *const kSchedule = R"([[["01:00", "02:00", 3, 40, 5], ["03:00", "04:00"]],
    [], [], [], [], [], [["05:00", "06:00", 1, 7, 8]]])";

TEST_F(DayNight, SchedulePayloadsAtTheirOffsets) {
  std::string channels = "[";
  for (int i = 0; i < 70; i++) channels += (i ? "," : "") + std::to_string(i % 2 ? 100 : i);
  channels += "]";  // the first 64 entries hold 32 channels; the list never reaches the rows
  std::string body = "{\"channel\": " + channels + ", \"schedule\": " + kSchedule + "}";
  for (int code : {3281, 3283}) {
    call(code == 3281 ? "/2042" : "/2046", body);
    auto s = sent(code);
    ASSERT_EQ(s.size(), 1u) << code;
    const Bytes &p = s[0].payload;
    ASSERT_EQ(p.size(), 26180u);
    EXPECT_EQ(word_at(p, 0), 0);
    EXPECT_EQ(word_at(p, 4), 2);
    EXPECT_EQ(word_at(p, 4 * 31), 62);
    EXPECT_EQ(word_at(p, 4 * 32), -1);
    EXPECT_EQ(word_at(p, 4 * 63), -1);
    EXPECT_EQ(text_at(p, 256, 32), "01:00");
    EXPECT_EQ(text_at(p, 288, 32), "02:00");
    EXPECT_EQ(word_at(p, 320), 3);
    EXPECT_EQ(text_at(p, 324, 32), "03:00");
    EXPECT_EQ(word_at(p, 324 + 64), 0);
    EXPECT_EQ(text_at(p, 256 + 3272 * 6, 32), "05:00");
    EXPECT_EQ(word_at(p, 256 + 3272 * 6 + 64), 1);
    EXPECT_TRUE(zero_between(p, 256 + 3272 * 6 + 68, 26180));
    forget();
  }
  call("/2044", body);
  auto s = sent(3282);
  ASSERT_EQ(s.size(), 1u);
  const Bytes &p = s[0].payload;
  ASSERT_EQ(p.size(), 29188u);
  EXPECT_EQ(word_at(p, 4 * 31), 62);
  EXPECT_EQ(text_at(p, 256, 32), "01:00");
  EXPECT_EQ(word_at(p, 320), 3);
  EXPECT_EQ(word_at(p, 324), 40);
  EXPECT_EQ(word_at(p, 328), 5);
  EXPECT_EQ(text_at(p, 332, 32), "03:00");
  EXPECT_EQ(word_at(p, 332 + 64), 0);
  EXPECT_EQ(word_at(p, 256 + 3648 * 6 + 68), 7);
  EXPECT_TRUE(zero_between(p, 256 + 3648 * 6 + 76, 29188));
}

TEST_F(DayNight, LongChannelArrayKeepsTheRows) {
  std::string channels = "[";
  for (int i = 0; i < 200; i++) channels += (i ? "," : "") + std::to_string(i % 64);
  channels += "]";
  call("/2046", "{\"channel\": " + channels + ", \"schedule\": " + kSchedule + "}");
  auto s = sent(3283);
  ASSERT_EQ(s.size(), 1u);
  for (int i = 0; i < 64; i++) EXPECT_EQ(word_at(s[0].payload, 4 * i), i) << i;
  EXPECT_EQ(text_at(s[0].payload, 256, 32), "01:00");
  forget();
  call("/2042", R"({"channel": 5, "schedule": []})");  // no array: an empty list
  s = sent(3281);
  ASSERT_EQ(s.size(), 1u);
  for (int i = 0; i < 64; i++) EXPECT_EQ(word_at(s[0].payload, 4 * i), -1) << i;
  EXPECT_EQ(call("/2042", "not json"), "");
}

TEST_F(DayNight, ScheduleAnswersHaveTheirPlanCounts) {
  Bytes answer(22908, 0);
  put_text(answer, 4 + 3272 * 6 + 68 * 11, "22:00");
  put_word(answer, 4 + 3272 * 6 + 68 * 11 + 64, 2);
  daemon().answer(3273, answer);
  daemon().answer(3277, answer);
  for (const char *path : {"/2041", "/2045"}) {
    JsonPtr body = body_of(call(path, R"({"id": 2})"));
    ASSERT_TRUE(body) << path;
    json_object *rows = json_member(body.get(), "schedule");
    ASSERT_EQ(array_length(rows), 7);
    int plans = path == std::string("/2041") ? 10 : 12;
    EXPECT_EQ(array_length(at(rows, 0)), plans);
    if (plans == 12) {
      EXPECT_EQ(text_of(at(at(rows, 6), 11), "startTime"), "22:00");
      EXPECT_EQ(int_of(at(at(rows, 6), 11), "actionType"), 2);
    }
  }
  Bytes exposure(25540, 0);
  put_word(exposure, 4 + 3648 + 76 * 11 + 68, 33);
  daemon().answer(3275, exposure);
  JsonPtr body = body_of(call("/2043", R"({"id": 2})"));
  ASSERT_TRUE(body);
  json_object *rows = json_member(body.get(), "schedule");
  ASSERT_EQ(array_length(rows), 7);
  ASSERT_EQ(array_length(at(rows, 1)), 12);
  EXPECT_EQ(int_of(at(at(rows, 1), 11), "exposureTime"), 33);

  daemon().answer(3273, Bytes(22907, 0));
  daemon().answer(3277, Bytes(22907, 0));
  daemon().answer(3275, Bytes(25539, 0));
  for (const char *path : {"/2041", "/2043", "/2045"}) {
    EXPECT_EQ(call(path, R"({"id": 2})"), kJsonError) << path;
  }
}

TEST_F(DayNight, ExposureListStoresAtMost140) {
  std::string pairs;
  for (int i = 0; i < 150; i++) {
    pairs += (i ? "," : "") + std::string("{\"exposureTime\": ") + std::to_string(i) +
             ", \"gainLevel\": " + std::to_string(i * 2) + "}";
  }
  EXPECT_EQ(call("/2049", R"({"channel": 7})"), kJsonError);  // nothing stored yet
  EXPECT_EQ(reply_body(call("/2048", "{\"channel\": 7, \"exposure\": [" + pairs + "]}")), "OK");
  exposure_pair list[EXPOSURE_PAIRS];
  EXPECT_EQ(read_exposure(KXDB_FILE, list, 7), 140);
  EXPECT_EQ(list[139].gainLevel, 278);
  JsonPtr body = body_of(call("/2049", R"({"channel": 7})"));
  ASSERT_TRUE(body);
  json_object *out = json_member(body.get(), "exposure");
  ASSERT_EQ(array_length(out), 140);
  EXPECT_EQ(int_of(at(out, 139), "exposureTime"), 139);
  EXPECT_EQ(int_of(at(out, 139), "gainLevel"), 278);

  EXPECT_EQ(call("/2048", R"({"channel": 64, "exposure": [{"exposureTime": 1}]})"), kJsonError);
  EXPECT_EQ(call("/2049", R"({"channel": -1})"), kJsonError);
  EXPECT_EQ(read_exposure(KXDB_FILE, list, 64), -1);
  {
    BrokenSettings broken;
    EXPECT_EQ(call("/2048", R"({"channel": 1, "exposure": [{"exposureTime": 1}]})"), kTextError);
  }
}

TEST_F(DayNight, EffectiveSchedulesStoreThenRead) {
  EXPECT_EQ(reply_body(call("/2036", R"({"channel": 3, "start": 0, "end": 8,
      "schedule_motion": [[["00:00", "12:00", 1]]],
      "schedule_loitering": [[], [["08:00", "09:30", 2]]]})")), "OK");
  schedule s;
  ASSERT_EQ(read_motion_effective_schedule(KXDB_FILE, &s, 3), 0);
  EXPECT_STREQ(s.days[0].plans[0].end_time, "12:00");
  ASSERT_EQ(read_smart_event_effective_schedule(KXDB_FILE, &s, 3, 5), 0);  // loitering is 6
  EXPECT_STREQ(s.days[1].plans[0].start_time, "08:00");

  JsonPtr body = body_of(call("/2035", R"({"channel": 3})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(json_object_object_length(body.get()), 9);
  const char *order[] = {"schedule_motion", "schedule_region_entrance", "schedule_region_exit",
                         "schedule_advanced_motion", "schedule_tamper_detection",
                         "schedule_line_crossing", "schedule_loitering",
                         "schedule_human_detection", "schedule_people_counting"};
  int i = 0;
  json_object_object_foreach(body.get(), key, rows) {
    EXPECT_STREQ(key, order[i++]);
    ASSERT_EQ(array_length(rows), 8) << key;
    for (int d = 0; d < 8; d++) ASSERT_EQ(array_length(at(rows, d)), 12) << key;
  }
  json_object *motion = json_member(body.get(), "schedule_motion");
  EXPECT_EQ(text_of(at(at(motion, 0), 0), "endTime"), "12:00");
  EXPECT_EQ(int_of(at(at(motion, 0), 0), "actionType"), 1);
  json_object *empty = at(at(motion, 0), 1);
  EXPECT_EQ(text_of(empty, "startTime"), "00:00");
  EXPECT_EQ(text_of(empty, "endTime"), "00:00");
  EXPECT_EQ(int_of(empty, "actionType"), 0);
  json_object *loiter = json_member(body.get(), "schedule_loitering");
  EXPECT_EQ(text_of(at(at(loiter, 1), 0), "endTime"), "09:30");
  EXPECT_EQ(call("/2035", R"({"channel": 64})"), "");
}

TEST_F(DayNight, EffectiveSchedulesRefuseBadChannelsAndSkipTypes) {
  const char *keys = R"("schedule_motion": [[["01:00", "02:00", 1]]],
      "schedule_people_counting": [[["03:00", "04:00", 1]]])";
  for (const char *channel : {"-1", "64"}) {
    EXPECT_EQ(call("/2036", std::string("{\"channel\": ") + channel +
                                ", \"start\": 0, \"end\": 8, " + keys + "}"),
              kJsonError);
  }
  // Types outside 0 to 8 are skipped; a huge range is no long loop.
  EXPECT_EQ(reply_body(call("/2036", std::string(R"({"channel": 2, "start": -2147483648,
      "end": 2147483647, )") + keys + "}")), "OK");
  schedule s;
  ASSERT_EQ(read_smart_event_effective_schedule(KXDB_FILE, &s, 2, 7), 0);
  EXPECT_STREQ(s.days[0].plans[0].start_time, "03:00");
  // Only "start" to "end": motion is not touched by a range of 8 only.
  call("/2036", R"({"channel": 4, "start": 8, "end": 8, "schedule_motion": [[["01:00"]]]})");
  ASSERT_EQ(read_motion_effective_schedule(KXDB_FILE, &s, 4), 0);
  EXPECT_STREQ(s.days[0].plans[0].start_time, "");
  {
    BrokenSettings broken;
    EXPECT_EQ(call("/2036", std::string(R"({"channel": 2, "start": 0, "end": 0, )") + keys + "}"),
              kTextError);
  }
}

TEST_F(DayNight, MotionConfigPayloadMaskAndSchedule) {
  daemon().answer(3366, int_answer(0));
  JsonPtr body = body_of(call("/2052", R"({"chnid": 2, "copyChn": [5, 70, 63], "copyCnt": 3,
      "enable": 1, "sensitivity": 4, "minsize": 5, "mintime": 6, "adaptability": 7,
      "map_mask": "1100", "effective": [[["00:00", "23:59"]]]})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(int_of(body.get(), "res"), 0);
  auto s = sent(3366);
  ASSERT_EQ(s.size(), 1u);
  const Bytes &p = s[0].payload;
  ASSERT_EQ(p.size(), 26512u);
  uint64_t mask;
  memcpy(&mask, p.data(), sizeof mask);
  EXPECT_EQ(mask, (1ULL << 2) | (1ULL << 5) | (1ULL << 63));
  EXPECT_EQ(word_at(p, 8), 2);
  EXPECT_EQ(word_at(p, 12), 1);
  EXPECT_EQ(word_at(p, 28), 7);
  EXPECT_EQ(text_at(p, 32, 300), "1100");
  EXPECT_EQ(text_at(p, 332, 32), "00:00");
  EXPECT_EQ(text_at(p, 364, 32), "23:59");
  for (int d = 0; d < 8; d++) EXPECT_EQ(word_at(p, 332 + 3272 * d + 3264), d < 7 ? 1 : 0) << d;

  daemon().answer(3366, Bytes(3, 0));
  EXPECT_EQ(call("/2052", R"({"chnid": 2})"), kJsonError);
  forget();
  EXPECT_EQ(call("/2052", R"({"chnid": 64})"), kJsonError);
  EXPECT_EQ(call("/2052", "not json"), kJsonError);
  EXPECT_TRUE(sent(3366).empty());
}

TEST_F(DayNight, MotionConfigAnswer) {
  Bytes answer(26504, 0);
  put_word(answer, 0, 6);
  put_word(answer, 8, 3);
  put_text(answer, 24, std::string(300, '1'));  // no terminator
  put_text(answer, 324, "07:00");
  put_text(answer, 324 + 68 + 32, std::string(32, '9'));  // plan 1's end fills its field
  put_word(answer, 324 + 3264, 1);  // row 0 valid
  put_word(answer, 26500, 1);
  daemon().answer(3358, answer);
  JsonPtr body = body_of(call("/2051", R"({"chnid": 6})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(int_of(body.get(), "chnid"), 6);
  EXPECT_EQ(int_of(body.get(), "sensitivity"), 3);
  EXPECT_EQ(text_of(body.get(), "map_mask"), std::string(300, '1'));
  EXPECT_EQ(int_of(body.get(), "isNtPlatform"), 1);
  json_object *effective = json_member(body.get(), "effective");
  EXPECT_EQ(text_of(at(at(effective, 0), 0), "startTime"), "07:00");
  EXPECT_EQ(text_of(at(at(effective, 0), 1), "endTime"), std::string(32, '9'));
  EXPECT_EQ(word_at(sent(3358)[0].payload, 0), 6);

  daemon().answer(3358, Bytes(26500, 0));
  EXPECT_EQ(call("/2051", R"({"chnid": 6})"), kJsonError);
  EXPECT_EQ(call("/2051", R"({"chnid": 64})"), kJsonError);
}

TEST_F(DayNight, EventQueryText) {
  daemon().answer(3360, Bytes{'a', '=', '1', 0, 'x'});
  EXPECT_EQ(reply_body(call("/2053", R"({"chnid": 1, "mainType": 2, "subType": 3,
      "time": "2026-12-10 10:00:00"})")), "a=1");
  auto queries = sent(3360);
  ASSERT_EQ(queries.size(), 1u);
  const Bytes &p = queries[0].payload;
  ASSERT_EQ(p.size(), 76u);
  EXPECT_EQ(word_at(p, 4), 2);
  EXPECT_EQ(word_at(p, 8), 3);
  EXPECT_EQ(text_at(p, 12, 64), "2026-12-10 10:00:00");
  daemon().answer(3360, Bytes{'o', 'k'});  // no terminator: read within the payload
  EXPECT_EQ(reply_body(call("/2053", R"({"chnid": 1})")), "ok");
  daemon().answer(3360, Bytes{});
  EXPECT_EQ(call("/2053", R"({"chnid": 1})"), kTextError);
  EXPECT_EQ(call("/2053", R"({"chnid": 64})"), kTextError);
  EXPECT_EQ(call("/2053", "not json"), kTextError);
  daemon().silent(3360);
  EXPECT_EQ(call("/2053", R"({"chnid": 1})"), kTextError);
}

}  // namespace
