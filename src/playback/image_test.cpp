// The live image of a channel, transcoding, the busy state, the table and
// the dispatcher.
#include "playback_test_util.h"

namespace {

using Image = PlaybackTest;

image_info_record image(int status) {
  return {2, 10, 20, 30, 40, 50, 1, status, 1, 0, 1};
}

TEST_F(Image, ReadOfAChannelsImage) {
  daemon().answer(3002, bytes_of(image(0)));
  JsonPtr body = parse_body(call("/3000", R"({"chnid": 2})"));
  EXPECT_EQ(sent_once(3002), int_answer(2));
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{"status", "brightness", "contrast", "saturation",
                                      "Sharpness", "NoiseReduction", "i2ddnr", "supportLpr",
                                      "isNtPlatform", "isPanoramaStitch"}));
  EXPECT_EQ(int_member(body.get(), "brightness"), 10);
  EXPECT_EQ(int_member(body.get(), "NoiseReduction"), 50);
  EXPECT_EQ(int_member(body.get(), "isPanoramaStitch"), 1);

  daemon().answer(3002, bytes_of(image(-1)));
  EXPECT_EQ(call("/3000", R"({"chnid": 2})"), kJsonHeader + R"({ "status": "ERROR" })");
  daemon().answer(3002, Bytes(43, 1));
  EXPECT_EQ(call("/3000", R"({"chnid": 2})"), "");  // too short: flag only
  daemon().silent(3002);
  EXPECT_EQ(call("/3000", R"({"chnid": 15})"), kJsonError);
  answer_as(3002, 6162, int_answer(-1));  // answered with flag 2
  EXPECT_EQ(call("/3000", R"({"chnid": 15})"), kJsonError);

  forget();
  for (const char *body : {R"({"chnid": 16})", R"({"chnid": -1})", "{", "7"}) {
    EXPECT_EQ(call("/3000", body), "") << body;
  }
  EXPECT_TRUE(codes().empty());
}

TEST_F(Image, SetSendsTheValuesAndLogsPercentages) {
  EXPECT_EQ(call("/3001", R"({"id": 4, "brightness": 255, "contrast": 128, "saturation": 0,
                              "Sharpness": 1, "NoiseReduction": 2147483647})"),
            kTextOk);
  EXPECT_EQ(codes(), (std::vector<int>{1205, 3485}));
  image_request sent_image = record_from<image_request>(sent_once(1205));
  EXPECT_EQ(sent_image.id, 4);
  EXPECT_EQ(sent_image.brightness, 255);
  EXPECT_EQ(sent_image.contrast, 128);
  EXPECT_EQ(sent_image.NoiseReduction, 2147483647);
  EXPECT_EQ(sent_image.i2ddnr, 0);  // absent

  log_info entry = logs().at(0);
  EXPECT_EQ(entry.sub_type, 217);
  EXPECT_EQ(entry.channel, 5);
  int32_t head[2];
  memcpy(head, entry.detail, sizeof head);
  EXPECT_EQ(head[0], 107);
  EXPECT_EQ(head[1], 20);
  image_log_detail detail;
  memcpy(&detail, entry.detail + LOG_DETAIL_HEAD, sizeof detail);
  EXPECT_EQ(detail.brightness, 100);
  EXPECT_EQ(detail.contrast, 50);
  EXPECT_EQ(detail.saturation, 0);
  EXPECT_EQ(detail.Sharpness, 0);  // 0.39 rounds down
  EXPECT_EQ(detail.NoiseReduction, 842150450);
}

TEST_F(Image, SetChecksChannelAndRangesSilently) {
  const char *rest = R"("brightness": 1, "contrast": 1, "saturation": 1})";
  for (std::string body : {std::string(R"({"id": 16, )") + rest,
                           std::string(R"({"id": -1, )") + rest, std::string("{") + rest,
                           std::string(R"({"id": 0, "brightness": 256, "contrast": 1, "saturation": 1})"),
                           std::string(R"({"id": 0, "brightness": 1, "contrast": -1, "saturation": 1})"),
                           std::string(R"({"id": 0, "brightness": 1, "contrast": 1})")}) {
    EXPECT_EQ(call("/3001", body), "") << body;
  }
  EXPECT_TRUE(codes().empty());
}

TEST_F(Image, ResetSendsTheDefaults) {
  EXPECT_EQ(call("/3002", "9"),
            kJsonHeader + R"({ "ChannelId": 9, "Brightness": 128, "Contrast": 128, )"
                          R"("Saturation": 128, "Sharpness": 128, "NoiseReduction": 128 })");
  EXPECT_EQ(sent_once(1205),
            bytes_of(image_request{9, 128, 128, 128, 128, 128, 0}));
  forget();
  EXPECT_EQ(call("/3002", "16"), "");
  EXPECT_EQ(call("/3002", "none"), "");
  EXPECT_TRUE(codes().empty());
}

// ---- Transcoding and the busy state ----
using Module = PlaybackTest;

TEST_F(Module, TranscodingSetAndState) {
  daemon().answer(1176, bytes_of(transcoding_state_record{3, 44, 1}));
  EXPECT_EQ(call("/4025", R"({"ch": 3, "sid": 44, "trancodingmode": 1, "framesize": 2,
                              "bitrate": 512, "framerate": 15})"),
            kJsonHeader + R"({ "ch": 3, "sid": 44, "state": 1, "status": "OK" })");
  EXPECT_EQ(sent_once(1176), bytes_of(transcoding_request{3, 44, 1, 2, 512, 15}));
  daemon().answer(1177, bytes_of(transcoding_state_record{3, 44, 0}));
  EXPECT_EQ(call("/4026", R"({"ch": 3, "sid": 44})"),
            kJsonHeader + R"({ "ch": 3, "sid": 44, "state": 0 })");
  EXPECT_EQ(sent_once(1177), bytes_of(transcoding_state_request{3, 44}));

  daemon().answer(1177, Bytes(11, 0));  // too short: as if nothing came
  EXPECT_EQ(call("/4026", R"({"ch": 3, "sid": 44})"), kJsonError);
  forget();
  EXPECT_EQ(call("/4025", "{oops"), kJsonError);
  EXPECT_EQ(call("/4026", ""), kJsonError);
  EXPECT_TRUE(codes().empty());
}

TEST_F(Module, BusyState) {
  daemon().answer(4011, int_answer(1));
  EXPECT_EQ(call("/3004"), kJsonHeader + R"({ "status": "BUSY" })");
  daemon().answer(4011, int_answer(0));
  EXPECT_EQ(call("/3004"), kJsonHeader + R"({ "status": "OK" })");
  daemon().answer(4011, Bytes{1});
  EXPECT_EQ(call("/3004"), kJsonError);
}

// ---- The table and the dispatcher ----
TEST_F(Module, EveryRowIsRegistered) {
  for (int path = 4000; path <= 4027; path++) {
    std::string p = "/" + std::to_string(path);
    EXPECT_NE(FindWebRes(p.c_str()), nullptr) << p;
  }
  for (const char *p : {"/3000", "/3001", "/3002", "/3003", "/3004"}) {
    EXPECT_NE(FindWebRes(p), nullptr) << p;
  }
  EXPECT_EQ(FindWebRes("/4006")->handler, on_step_foward_playback);
  EXPECT_STREQ(FindWebRes("/4006")->handler_name, "on_step_foward_playback");
}

TEST_F(Module, DispatcherIgnoresMissingPayloadsAndUnknownCodes) {
  for (int code : {6159, 8002, 8500, 8502, 9011}) {
    EXPECT_EQ(dispatch(code, Bytes{}), "") << code;
    EXPECT_EQ(g_callback_done, 0) << code;
  }
  EXPECT_EQ(dispatch(6999, Bytes(100, 0)), "");
  EXPECT_EQ(dispatch(6162, Bytes(3, 0)), "");
  EXPECT_EQ(g_callback_done, 0);  // a scrap is not an answer
  EXPECT_EQ(dispatch(6162, int_answer(-5)), "");
  EXPECT_EQ(g_callback_done, 2);
  EXPECT_EQ(dispatch(6162, int_answer(0)), "");
  EXPECT_EQ(g_callback_done, 1);
}

}  // namespace
