#include <gtest/gtest.h>

#include <memory>

#include "camera_extra_records.h"
#include "handler_fixture.h"
#include "json_codecs.h"

namespace {

using CameraAudio = HandlerTest;

const char *const kJsonError = "Content-type: application/json\r\n\r\n{status:\"CGI ERROR\"}";

uint64_t mask_sent(const Bytes &payload) {
  return (uint64_t)(uint32_t)int_at(payload, 4) << 32 | (uint32_t)int_at(payload, 0);
}

TEST_F(CameraAudio, SetBuildsTheMaskAndTheKeys) {
  daemon().answer(3372, int_answer(0));
  EXPECT_EQ(call("/2064", R"({"chnid": 7, "channels": "0011", "audioEnable": 1, "audioMode": 2,
      "denoise": 3, "encoding": 4, "sampleRate": 8000, "inputGain": 6, "inputMode": 7,
      "audioGainControl": 8, "outputVolume": 9, "audioBitrate": 64})"),
            "Content-type: text/plain\r\n\r\nOK");
  auto sent = daemon().requests(3372);
  ASSERT_EQ(sent.size(), 1u);
  ASSERT_EQ(sent[0].payload.size(), 56u);
  EXPECT_EQ(mask_sent(sent[0].payload), 0x8cu);
  const int expected[] = {7, 1, 2, 3, 4, 8000, 6, 7, 8, 9, 64, 0};
  for (int i = 0; i < 12; i++) EXPECT_EQ(int_at(sent[0].payload, 8 + 4 * i), expected[i]) << i;

  // A channel outside 0 to 63 adds no bit; the channel word goes as given.
  daemon().clear();
  daemon().answer(3372, int_answer(5));
  EXPECT_EQ(call("/2064", R"({"chnid": 70, "channels": ")" + std::string(70, '1') + "\"}"),
            "Content-type: text/plain\r\n\r\nERROR");
  sent = daemon().requests(3372);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(mask_sent(sent[0].payload), ~0ULL);
  EXPECT_EQ(int_at(sent[0].payload, 8), 70);
  daemon().clear();
  call("/2064", R"({"chnid": -3})");
  EXPECT_EQ(mask_sent(daemon().requests(3372)[0].payload), 0u);
}

TEST_F(CameraAudio, SetFailures) {
  EXPECT_EQ(call("/2064", "not json"), "");
  EXPECT_TRUE(daemon().requests(3372).empty());
  EXPECT_EQ(call("/2064", "{}"), kJsonError);  // no answer
  daemon().answer(3372, Bytes(3, 0));           // short: as missing
  EXPECT_EQ(call("/2064", "{}"), kJsonError);
}

TEST_F(CameraAudio, InfoKeepsCountsWithinTheRecord) {
  auto info = std::make_unique<ipc_audio_info>();
  *info = {};
  info->res = 0;
  info->support = 1;
  info->option_count = 50;  // more than the 9 the record holds
  for (int o = 0; o < IPC_AUDIO_OPTIONS; o++) {
    info->options[o].encode = o;
    info->options[o].sample_rate_count = o == 0 ? 99 : 1;
    for (int s = 0; s < IPC_AUDIO_SAMPLE_RATES; s++) {
      info->options[o].sample_rates[s] = {8000 + s, s == 0 ? 40 : -4, {}};
      for (int b = 0; b < IPC_AUDIO_BITRATES; b++) info->options[o].sample_rates[s].bitrates[b] = b;
    }
  }
  info->config = {3, 1, 2, 0, 1, 16000, 5, 0, 1, 80, 32};
  daemon().answer(3371, bytes_of(*info));
  JsonPtr body(json_tokener_parse(reply_body(call("/2063", R"({"chnid": 3})")).c_str()));
  ASSERT_TRUE(body);
  json_object *options = json_member(body.get(), "options");
  ASSERT_EQ(array_length(options), 9);
  json_object *rates = json_member(array_at(options, 0), "sampleRateInfo");
  ASSERT_EQ(array_length(rates), 9);
  EXPECT_EQ(array_length(json_member(array_at(rates, 0), "bitrateInfo")), 16);
  EXPECT_EQ(array_length(json_member(array_at(rates, 1), "bitrateInfo")), 0);
  json_object *config = json_member(body.get(), "config");
  EXPECT_EQ(member_int(config, "chnid"), 3);
  EXPECT_EQ(member_int(config, "sampleRate"), 16000);
  EXPECT_EQ(member_int(config, "audioBitrate"), 32);
  EXPECT_EQ(member_int(body.get(), "support"), 1);

  info->option_count = 0;
  daemon().answer(3371, bytes_of(*info));
  body.reset(json_tokener_parse(reply_body(call("/2063", R"({"chnid": 3})")).c_str()));
  ASSERT_TRUE(body);
  EXPECT_EQ(array_length(json_member(body.get(), "options")), 0);
  EXPECT_TRUE(json_object_is_type(json_member(body.get(), "options"), json_type_array));

  daemon().answer(3371, Bytes(5967, 0));
  EXPECT_EQ(call("/2063", R"({"chnid": 3})"), kJsonError);
  EXPECT_EQ(call("/2063", R"({"chnid": 64})"), kJsonError);
}

}  // namespace
