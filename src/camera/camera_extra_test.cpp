#include <gtest/gtest.h>

#include "camera_extra_records.h"
#include "camera_records.h"
#include "camera_test_util.h"
#include "handler_fixture.h"
#include "json_codecs.h"

namespace {

using camera_test::put_text;
using camera_test::put_word;
using CameraExtra = HandlerTest;

const char *const kJsonError = "Content-type: application/json\r\n\r\n{status:\"CGI ERROR\"}";
const char *const kTextError = "Content-type: text/plain\r\n\r\nCGI ERROR";

JsonPtr body_of(const std::string &reply) {
  return JsonPtr(json_tokener_parse(reply_body(reply).c_str()));
}

TEST_F(CameraExtra, WatermarkRoundTrip) {
  Bytes answer;
  put_word(answer, 0, 3);
  put_word(answer, 4, 1);
  put_text(answer, 12, "Lobby");
  answer.resize(44);
  daemon().answer(1213, answer);
  JsonPtr body = body_of(call("/2058", R"({"chnid": 3})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_int(body.get(), "chnid"), 3);
  EXPECT_EQ(member_int(body.get(), "enable"), 1);
  EXPECT_STREQ(json_object_get_string(json_member(body.get(), "watermark")), "Lobby");
  ASSERT_EQ(daemon().requests(1213).size(), 1u);
  EXPECT_EQ(int_at(daemon().requests(1213)[0].payload, 0), 3);
}

TEST_F(CameraExtra, WatermarkCopyMarksTheOwnChannel) {
  daemon().answer(1216, int_answer(0));
  JsonPtr body = body_of(call("/2059", R"({"chnid": 5, "enable": 1, "copy": "",
      "watermark": "0123456789012345678901234567890123456789"})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_int(body.get(), "res"), 0);
  auto sent = daemon().requests(1216);
  ASSERT_EQ(sent.size(), 1u);
  ASSERT_EQ(sent[0].payload.size(), 112u);
  EXPECT_EQ(int_at(sent[0].payload, 4), 1);
  EXPECT_EQ(text_at(sent[0].payload, 12, 32), std::string("0123456789012345678901234567890"));
  for (size_t i = 44; i < 112; i++) EXPECT_EQ(sent[0].payload[i], i == 49 ? '1' : 0) << i;

  daemon().clear();
  call("/2059", R"({"chnid": 63, "copy": "11"})");
  sent = daemon().requests(1216);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].payload[44], '1');
  EXPECT_EQ(sent[0].payload[45], '1');
  EXPECT_EQ(sent[0].payload[44 + 63], '1');
}

TEST_F(CameraExtra, ChannelRangeAndUnparsedTextGiveTheJsonError) {
  for (const char *path : {"/2058", "/2059", "/2060", "/2061", "/2062", "/2065", "/2056",
                           "/2057"}) {
    EXPECT_EQ(call(path, R"({"chnid": 64})"), kJsonError) << path;
    EXPECT_EQ(call(path, R"({"chnid": -1})"), kJsonError) << path;
    EXPECT_EQ(call(path, "not json"), kJsonError) << path;
    EXPECT_EQ(call(path, R"({"chnid": 1})"), kJsonError) << path;  // no answer
  }
  EXPECT_EQ(call("/2068", R"({"chnid": 64})"), kTextError);
  EXPECT_EQ(call("/2068", "not json"), kJsonError);
  EXPECT_EQ(call("/2068", R"({"chnid": 0})"), kJsonError);  // no answer
  EXPECT_TRUE(daemon().requests(3377).size() == 1u);
}

TEST_F(CameraExtra, EventStreamKeysAtTheirOffsets) {
  daemon().answer(1218, int_answer(-2));
  JsonPtr body = body_of(call(
      "/2061", R"({"chnid": 2, "enable": 1, "framerate": 15, "bitrate": 900, "iframeinterval": 30})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_int(body.get(), "res"), -2);
  auto sent = daemon().requests(1218);
  ASSERT_EQ(sent.size(), 1u);
  ASSERT_EQ(sent[0].payload.size(), 24u);
  EXPECT_EQ(int_at(sent[0].payload, 0), 2);
  EXPECT_EQ(int_at(sent[0].payload, 4), 0);
  EXPECT_EQ(int_at(sent[0].payload, 8), 1);
  EXPECT_EQ(int_at(sent[0].payload, 12), 15);
  EXPECT_EQ(int_at(sent[0].payload, 16), 900);
  EXPECT_EQ(int_at(sent[0].payload, 20), 30);

  daemon().answer(1217, bytes_of(event_stream{2, 77, 1, 15, 900, 30}));
  body = body_of(call("/2060", R"({"chnid": 2, "fisheyeType": 3})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_int(body.get(), "enable"), 1);  // byte 8, not the word at 4
  EXPECT_EQ(member_int(body.get(), "iframeinterval"), 30);
  EXPECT_EQ(int_at(daemon().requests(1217)[0].payload, 4), 3);
}

TEST_F(CameraExtra, ShortAnswersGiveOneJsonError) {
  struct Case { const char *path; int code; size_t size; } cases[] = {
      {"/2058", 1213, 44}, {"/2059", 1216, 4},  {"/2060", 1217, 24}, {"/2061", 1218, 4},
      {"/2062", 1219, 8},  {"/2056", 1262, 4},  {"/2057", 2507, 164}, {"/2065", 3376, 888},
      {"/2068", 3377, 520},
  };
  for (const Case &c : cases) {
    daemon().answer(c.code, Bytes(c.size - 1, 0));
    EXPECT_EQ(call(c.path, R"({"chnid": 1})"), kJsonError) << c.path;
  }
}

TEST_F(CameraExtra, CapabilityFlagsAndCameraType) {
  ipc_system_info info = {};
  for (int i = 0; i < IPC_SYSTEM_INFO_WORDS; i++) info.words[i] = 100 + i;
  daemon().answer(3376, bytes_of(info));
  JsonPtr body = body_of(call("/2065", R"({"chnid": 0})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_int(body.get(), "res"), 100);
  EXPECT_EQ(member_int(body.get(), "systemManualSpeedSupport"), 105);
  EXPECT_EQ(member_int(body.get(), "systemAutoTrackingSupport"), 141);

  channel_model model = {};
  model.channel = 4;
  snprintf(model.fwversion, sizeof model.fwversion, "V1");
  memset(model.model, 'm', sizeof model.model);  // unterminated: read within its field
  daemon().answer(2507, bytes_of(model));
  body = body_of(call("/2057", R"({"chnid": 4})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(std::string(json_object_get_string(json_member(body.get(), "model"))),
            std::string(64, 'm'));
  EXPECT_STREQ(json_object_get_string(json_member(body.get(), "fwversion")), "V1");
}

TEST_F(CameraExtra, CustomParameterUrlIsBounded) {
  custom_param_answer answer = {0, 6, "brightness=40"};
  daemon().answer(3377, bytes_of(answer));
  JsonPtr body = body_of(call("/2068", "{\"chnid\": 6, \"url\": \"" + std::string(300, 'u') + "\"}"));
  ASSERT_TRUE(body);
  EXPECT_STREQ(json_object_get_string(json_member(body.get(), "data")), "brightness=40");
  auto sent = daemon().requests(3377);
  ASSERT_EQ(sent[0].payload.size(), 260u);
  EXPECT_EQ(text_at(sent[0].payload, 4, 256), std::string(255, 'u'));
}

TEST_F(CameraExtra, ChipCodeAndMotionStatusTimeOutAsText) {
  EXPECT_EQ(call("/2027"), kTextError);
  EXPECT_EQ(call("/2028"), kTextError);
  daemon().answer(3307, Bytes(7, 0xff));  // short: as missing
  EXPECT_EQ(call("/2028"), kTextError);

  daemon().answer(3307, bytes_of(motion_status{0x5, 0x80000000u}));
  JsonPtr body = body_of(call("/2028", "anything"));
  ASSERT_TRUE(body);
  std::string expected = "101" + std::string(60, '0') + "1";
  EXPECT_EQ(json_object_get_string(json_member(body.get(), "Motion")), expected);

  daemon().answer(4004, Bytes{'K', 'X', '1'});  // no NUL: read within the payload
  body = body_of(call("/2027"));
  ASSERT_TRUE(body);
  EXPECT_STREQ(json_object_get_string(json_member(body.get(), "chip_code")), "KX1");
  daemon().answer(4004, Bytes{});
  body = body_of(call("/2027"));
  ASSERT_TRUE(body);
  EXPECT_STREQ(json_object_get_string(json_member(body.get(), "chip_code")), "");
}

TEST_F(CameraExtra, CheckAlive) {
  EXPECT_EQ(call("/2082", "x"), "Content-type: text/plain\r\n\r\nCGI SUCCESS");
  EXPECT_EQ(call("/2082", ""), kTextError);
  EXPECT_TRUE(daemon().requests().empty());
}

}  // namespace
