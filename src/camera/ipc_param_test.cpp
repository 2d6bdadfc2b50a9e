#include <gtest/gtest.h>

#include <chrono>

#include "camera_records.h"
#include "camera_test_util.h"
#include "json_checks.h"

using namespace camera_test;

namespace {

using CommonParam = HandlerTest;
using CameraModels = HandlerTest;

TEST_F(CommonParam, TheReadSendsNamesWithoutValue) {
  Bytes answer(396, 0);
  put_word(answer, 0, 4);
  put_field(answer, 8, 64, "video");
  put_field(answer, 72, 64, "stream");
  put_field(answer, 136, 128, "bitrate1");
  put_field(answer, 264, 128, std::string(128, 'v'));  // no terminator in its field
  daemon().answer(3225, answer);
  std::string long_key(300, 'k');
  JsonPtr body = parse_body(call("/2023", R"({"id": 4, "pagename": ")" + std::string(80, 'p') +
                                              R"(", "httpname": "stream", "key": ")" +
                                              long_key + R"(", "value": "must not go"})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{"id", "pagename", "httpname", "key", "value"}));
  EXPECT_EQ(int_member(body.get(), "id"), 4);
  EXPECT_EQ(text_member(body.get(), "key"), "bitrate1");
  EXPECT_EQ(text_member(body.get(), "value"), std::string(128, 'v'));

  auto sent = daemon().requests(3225);
  ASSERT_EQ(sent.size(), 1u);
  const Bytes &p = sent[0].payload;
  ASSERT_EQ(p.size(), 392u);
  EXPECT_EQ(word_at(p, 0), 4);
  EXPECT_EQ(text_at(p, 4, 64), std::string(63, 'p'));
  EXPECT_EQ(text_at(p, 68, 64), "stream");
  EXPECT_EQ(text_at(p, 132, 128), std::string(127, 'k'));
  EXPECT_TRUE(zero_between(p, 260, 392));
}

TEST_F(CommonParam, TheWriteSendsTheValueAndReportsTheResultWord) {
  daemon().answer(3226, bytes_of_int(0));
  EXPECT_EQ(call("/2024", R"({"id": 2, "pagename": "a", "httpname": "b", "key": "brightness",
                              "value": "55"})"),
            kTextHeader + "OK");
  auto sent = daemon().requests(3226);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(word_at(sent[0].payload, 0), 2);
  EXPECT_EQ(text_at(sent[0].payload, 132, 128), "brightness");
  EXPECT_EQ(text_at(sent[0].payload, 260, 128), "55");

  daemon().answer(3226, bytes_of_int(3));
  EXPECT_EQ(call("/2024", R"({"id": 2, "key": "x"})"), kTextHeader + "ERROR");
  daemon().silent(3226);
  EXPECT_EQ(call("/2024", R"({"id": 2, "key": "x"})"), kCgiError);
  EXPECT_EQ(call("/2024", "[1"), "");
}

TEST_F(CommonParam, RateControlWritesWaitTwoSecondsFirst) {
  daemon().answer(3226, bytes_of_int(0));
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(call("/2024", R"({"id": 0, "key": "ratecontrol1", "value": "1"})"),
            kTextHeader + "OK");
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

  start = std::chrono::steady_clock::now();
  EXPECT_EQ(call("/2024", R"({"id": 0, "key": "ratecontrol3", "value": "1"})"),
            kTextHeader + "OK");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST_F(CameraModels, ModelTypeOfOneCamera) {
  daemon().answer(2503, bytes_of_int(12));
  std::string reply = call("/2025", R"({"id": 70})");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  EXPECT_EQ(member_names(body.get()), std::vector<std::string>{"type"});
  EXPECT_EQ(int_member(body.get(), "type"), 12);
  EXPECT_EQ(daemon().requests(2503)[0].payload, bytes_of_int(70));  // a payload word only
  daemon().silent(2503);
  EXPECT_EQ(call("/2025", R"({"id": 1})"), kCgiError);
}

Bytes model_entries(int count, size_t extra = 0) {
  Bytes b;
  for (int i = 0; i < count; i++) {
    size_t at = b.size();
    put_word(b, at, i);
    put_field(b, at + 4, 32, "10.0.0." + std::to_string(i));
    put_field(b, at + 36, 64, std::string(64, 'm'));  // no terminator in its field
    put_field(b, at + 100, 64, "v" + std::to_string(i));
  }
  b.resize(b.size() + extra, 0x41);
  return b;
}

TEST_F(CameraModels, OneObjectPerWholeEntryAtMostSixtyFour) {
  daemon().answer(2505, model_entries(2, 100));  // two entries and a scrap
  JsonPtr body = parse_body(call("/2029"));
  json_object *list = json_member(body.get(), "IPC");
  ASSERT_TRUE(list);
  ASSERT_EQ(json_object_array_length(list), 2u);
  json_object *second = json_object_array_get_idx(list, 1);
  EXPECT_EQ(member_names(second),
            (std::vector<std::string>{"chnid", "ipaddr", "model", "fwversion"}));
  EXPECT_EQ(int_member(second, "chnid"), 1);
  EXPECT_EQ(text_member(second, "ipaddr"), "10.0.0.1");
  EXPECT_EQ(text_member(second, "model"), std::string(64, 'm'));
  EXPECT_EQ(text_member(second, "fwversion"), "v1");
  EXPECT_TRUE(daemon().requests(2505)[0].payload.empty());

  daemon().answer(2505, model_entries(70));
  body = parse_body(call("/2029"));
  EXPECT_EQ(json_object_array_length(json_member(body.get(), "IPC")), 64u);

  daemon().silent(2505);
  EXPECT_EQ(call("/2029"), kJsonError);
}

}  // namespace
