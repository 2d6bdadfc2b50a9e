// The response dispatcher's routing and its shared decoders.
#include "video_test_util.h"

namespace {

class Dispatcher : public VideoTest {
 protected:
  // Delivers one response as the receive thread would; returns the reply.
  std::string deliver(int code, const Bytes &payload, bool null_payload = false) {
    take_output();
    g_callback_done = 0;
    kx_msg_head head = {};
    head.code = code;
    head.length = (uint32_t)payload.size();
    on_video_ipc_callback(0, &head, null_payload ? nullptr : payload.data());
    return take_output();
  }
};

TEST_F(Dispatcher, ResultCodesAnswerOkOrFailed) {
  for (int code : {6208, 6210, 6212, 8231, 8244, 8245, 8250, 8254, 8260, 8261, 8269, 8290}) {
    EXPECT_EQ(deliver(code, bytes_of_int(0)), kTextOk) << code;
    EXPECT_EQ(g_callback_done.load(), 1);
    EXPECT_EQ(deliver(code, bytes_of_int(7)), kTextHeader + "FAILED") << code;
    EXPECT_EQ(g_callback_done.load(), 1);
  }
}

TEST_F(Dispatcher, ResCodesAnswerTheFirstWordAsJson) {
  for (int code : {6221, 8353, 8374}) {
    std::string reply = deliver(code, bytes_of_int(-3));
    EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
    JsonPtr body = parse_body(reply);
    ASSERT_TRUE(body) << code;
    EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"res"}));
    EXPECT_EQ(int_member(body.get(), "res"), -3);
    EXPECT_EQ(g_callback_done.load(), 1);
  }
}

TEST_F(Dispatcher, MissingShortAndUnknownAnswersWriteNothing) {
  Bytes scrap = {1, 0, 0};
  for (int code : {8245, 6221, 8206}) {
    EXPECT_EQ(deliver(code, {}, true), "") << code;  // no payload
    EXPECT_EQ(g_callback_done.load(), 0);
    EXPECT_EQ(deliver(code, scrap), "") << code;  // shorter than a word
    EXPECT_EQ(g_callback_done.load(), 0);
  }
  for (int code : {8251, 8207, 6206, 3206, 0, -1, 1 << 30}) {
    EXPECT_EQ(deliver(code, bytes_of_int(0)), "") << code;
    EXPECT_EQ(g_callback_done.load(), 0);
  }
}

TEST_F(Dispatcher, MotionGridNeedsTheWholeRecordAndReadsTheMapWithinItsField) {
  camera_motion record = {};
  memset(record.map, 'x', sizeof record.map);  // no terminator
  record.enable = 1;
  record.sensitivity = 4;
  record.result = 0;
  record.modelType = 2;
  record.fishdisplay = 3;
  record.fishtransfer = 5;
  record.fishinstall = 6;
  record.enableAI = 1;
  Bytes full = bytes_of(record);
  EXPECT_EQ(deliver(8206, Bytes(full.begin(), full.begin() + 300)), "");
  EXPECT_EQ(deliver(8206, Bytes(full.begin(), full.end() - 1)), "");
  EXPECT_EQ(g_callback_done.load(), 0);

  JsonPtr body = parse_body(deliver(8206, full));
  ASSERT_TRUE(body);
  EXPECT_EQ(g_callback_done.load(), 1);
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{"map", "sensitivity", "result", "enable", "modelType",
                                      "fishdisplay", "fishtransfer", "fishinstall", "enableAI"}));
  EXPECT_EQ(text_member(body.get(), "map"), std::string(300, 'x'));
  EXPECT_EQ(int_member(body.get(), "sensitivity"), 4);
  EXPECT_EQ(int_member(body.get(), "enable"), 1);
  EXPECT_EQ(int_member(body.get(), "modelType"), 2);
  EXPECT_EQ(int_member(body.get(), "fishdisplay"), 3);
  EXPECT_EQ(int_member(body.get(), "fishtransfer"), 5);
  EXPECT_EQ(int_member(body.get(), "fishinstall"), 6);
  EXPECT_EQ(int_member(body.get(), "enableAI"), 1);
}

using MotionGrid = VideoTest;

TEST_F(MotionGrid, AsksTheCameraAndAnswersWhatItSays) {
  camera_motion record = {};
  snprintf(record.map, sizeof record.map, "grid");
  record.sensitivity = 7;
  daemon().answer(CAMERA_MOTION_GET, bytes_of(record));
  JsonPtr body = parse_body(call("/6098", R"({"id": 12})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(text_member(body.get(), "map"), "grid");
  EXPECT_EQ(int_member(body.get(), "sensitivity"), 7);
  EXPECT_EQ(sent(CAMERA_MOTION_GET).at(0).payload, bytes_of_int(12));

  Bytes short_answer = bytes_of(record);
  short_answer.resize(300);
  daemon().answer(CAMERA_MOTION_GET, short_answer);
  EXPECT_EQ(call("/6098", R"({"id": 12})"), kCgiError);  // after the budget
  daemon().silent(CAMERA_MOTION_GET);
  EXPECT_EQ(call("/6098", R"({"id": 0})"), kCgiError);
}

TEST_F(MotionGrid, BadRequestsAskNothingAndAnswerNothing) {
  daemon().answer(CAMERA_MOTION_GET, bytes_of(camera_motion{}));
  for (const char *body : {"", "x", "{}", R"({"id": -1})", R"({"id": 64})",
                           R"({"id": 2147483648})", R"({"id": 1e308})",
                           R"({"id": null})", "[1]"}) {
    EXPECT_EQ(call("/6098", body), "") << body;
  }
  EXPECT_TRUE(sent(CAMERA_MOTION_GET).empty());
}

}  // namespace
