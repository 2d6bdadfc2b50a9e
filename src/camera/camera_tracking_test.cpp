#include <gtest/gtest.h>

#include <memory>

#include "camera_extra_records.h"
#include "handler_fixture.h"
#include "json_codecs.h"

namespace {

using AutoTracking = HandlerTest;

const char *const kJsonError = "Content-type: application/json\r\n\r\n{status:\"CGI ERROR\"}";

TEST_F(AutoTracking, SetPayloadOffsets) {
  daemon().answer(3375, int_answer(0));
  std::string reply = call("/2055", R"({"chnid": 7, "channels": "0011", "enable": 1, "show": 2,
      "sensitivity": 3, "time": 4, "manual_tracking": 5, "zoom_mode": 6, "zoom_number": 7,
      "area": "1,2,3,4", "humanVehicleSupport": 8, "trackingObject": 9, "reportMotion": 10,
      "schedule": [[["08:00", "18:00", 1]]]})");
  EXPECT_EQ(reply_body(reply), R"({ "res": 0 })");
  auto sent = daemon().requests(3375);
  ASSERT_EQ(sent.size(), 1u);
  const Bytes &p = sent[0].payload;
  ASSERT_EQ(p.size(), 26528u);
  EXPECT_EQ(int_at(p, 0), 0x8c);
  EXPECT_EQ(int_at(p, 4), 0);
  for (int i = 0; i < 8; i++) EXPECT_EQ(int_at(p, 8 + 4 * i), i == 0 ? 7 : i) << i;
  EXPECT_EQ(text_at(p, 8 + 32, 32), "08:00");
  EXPECT_EQ(text_at(p, 8 + 64, 32), "18:00");
  EXPECT_EQ(int_at(p, 8 + 96), 1);
  EXPECT_EQ(text_at(p, 8 + 26208, 300), "1,2,3,4");
  EXPECT_EQ(int_at(p, 8 + 26508), 8);
  EXPECT_EQ(int_at(p, 8 + 26512), 9);
  EXPECT_EQ(int_at(p, 8 + 26516), 10);
}

TEST_F(AutoTracking, MissingScheduleIsEmptyAndChannelIsChecked) {
  daemon().answer(3375, int_answer(1));
  call("/2055", R"({"chnid": 70, "channels": ")" + std::string(70, '1') + "\"}");
  EXPECT_TRUE(daemon().requests(3375).empty());
  EXPECT_EQ(call("/2055", R"({"chnid": 64})"), kJsonError);
  EXPECT_EQ(call("/2055", "not json"), kJsonError);
  call("/2055", R"({"chnid": 1, "schedule": 5, "area": ")" + std::string(400, 'a') + "\"}");
  auto sent = daemon().requests(3375);
  ASSERT_EQ(sent.size(), 1u);
  for (size_t i = 40; i < 8 + 26208; i++) ASSERT_EQ(sent[0].payload[i], 0) << i;
  EXPECT_EQ(text_at(sent[0].payload, 8 + 26208, 300), std::string(299, 'a'));
  EXPECT_EQ(int_at(sent[0].payload, 0), 2);
}

TEST_F(AutoTracking, GetDecodesTheRecord) {
  auto record = std::make_unique<auto_tracking>();
  memset(record.get(), 0, sizeof *record);
  record->channel = 2;
  record->zoom_number = 9;
  snprintf(record->sched.days[0].plans[0].start_time, 32, "01:00");
  snprintf(record->sched.days[0].plans[0].end_time, 32, "02:00");
  memset(record->area, 'z', sizeof record->area);  // unterminated
  schedule_plan &last = record->sched.days[SCHEDULE_DAYS - 1].plans[0];
  memset(last.start_time, 'x', sizeof last.start_time);  // unterminated: cut within the field
  record->reportMotion = 1;
  daemon().answer(3294, bytes_of(*record));
  JsonPtr body(json_tokener_parse(reply_body(call("/2054", R"({"chnid": 2})")).c_str()));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_int(body.get(), "chnid"), 2);
  EXPECT_EQ(member_int(body.get(), "zoom_number"), 9);
  EXPECT_EQ(member_int(body.get(), "reportMotion"), 1);
  EXPECT_EQ(std::string(json_object_get_string(json_member(body.get(), "area"))),
            std::string(300, 'z'));
  json_object *first = array_at(array_at(json_member(body.get(), "schedule"), 0), 0);
  EXPECT_STREQ(json_object_get_string(json_member(first, "startTime")), "01:00");
  json_object *cut = array_at(array_at(json_member(body.get(), "schedule"), SCHEDULE_DAYS - 1), 0);
  EXPECT_EQ(std::string(json_object_get_string(json_member(cut, "startTime"))),
            std::string(31, 'x'));

  daemon().answer(3294, Bytes(26519, 0));
  EXPECT_EQ(call("/2054", R"({"chnid": 2})"), kJsonError);
  daemon().answer(3375, Bytes(3, 0));
  EXPECT_EQ(call("/2055", R"({"chnid": 2})"), kJsonError);
}

}  // namespace
