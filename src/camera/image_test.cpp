#include <gtest/gtest.h>

#include "camera_records.h"
#include "camera_test_util.h"
#include "cgi_ipc.h"
#include "json_checks.h"

using namespace camera_test;

namespace {

using ImageEnhancement = HandlerTest;
using ImageDisplay = HandlerTest;

constexpr size_t kRecord = 260;  // the enhancement record in request 3280
constexpr size_t kDisplay = 8;   // the display record in request 3224

// An answer whose every int32 word holds its own offset, so that a key read
// from the wrong place shows.
Bytes offsets_answer(size_t size) {
  Bytes b(size, 0);
  for (size_t off = 0; off + 4 <= size; off += 4) put_word(b, off, (int32_t)off);
  return b;
}

TEST_F(ImageEnhancement, RecordKeysLandAtTheirOffsetsForSeventyChannels) {
  std::string channels;
  for (int i = 0; i < 70; i++) channels += (i ? "," : "") + std::to_string(100 + i);
  std::string body = R"({"type": 0, "channel": [)" + channels + R"(],
      "smartir": 1, "exposemode": 3, "exposeregion": ")" + std::string(100, 'r') + R"(",
      "modelType": 7, "aflevel": 9, "wdraflevel": 55, "dismode": 4, "exposurectrl": 6,
      "sdkversion": "x", "reduceVideoStuttering": 11})";
  EXPECT_EQ(call("/2020", body), kTextHeader + "OK");
  settle(daemon());
  auto sent = daemon().requests(3280);
  ASSERT_EQ(sent.size(), 1u);
  const Bytes &p = sent[0].payload;
  ASSERT_EQ(p.size(), 488u);
  EXPECT_EQ(word_at(p, 0), 100);
  EXPECT_EQ(word_at(p, 252), 163);  // 64 slots; entries 64 to 69 are dropped
  EXPECT_EQ(word_at(p, 256), 0);    // "type" is not overwritten by channel 64
  EXPECT_EQ(word_at(p, kRecord + 0), 1);
  EXPECT_EQ(word_at(p, kRecord + 52), 3);
  EXPECT_EQ(text_at(p, kRecord + 56, 64), std::string(63, 'r'));
  EXPECT_EQ(word_at(p, kRecord + 120), 7);  // "modelType": request only
  EXPECT_EQ(word_at(p, kRecord + 164), 9);  // "aflevel", not "wdraflevel"
  EXPECT_EQ(word_at(p, kRecord + 152), 0);  // "dismode" is never set
  EXPECT_EQ(word_at(p, kRecord + 172), 0);  // nor "exposurectrl"
  EXPECT_TRUE(zero_between(p, kRecord + 184, kRecord + 216));  // nor "sdkversion"
  EXPECT_EQ(word_at(p, kRecord + 220), 11);
}

TEST_F(ImageEnhancement, UnusedChannelSlotsHoldMinusOne) {
  EXPECT_EQ(call("/2020", R"({"type": 0, "channel": [2, 5]})"), kTextHeader + "OK");
  settle(daemon());
  auto sent = daemon().requests(3280);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(word_at(sent[0].payload, 0), 2);
  EXPECT_EQ(word_at(sent[0].payload, 4), 5);
  for (size_t slot = 2; slot < 64; slot++) EXPECT_EQ(word_at(sent[0].payload, slot * 4), -1);
}

TEST_F(ImageEnhancement, ScenesFillTheSceneRecord) {
  EXPECT_EQ(call("/2020", R"({"type": 1, "channel": [0], "smartir": 5,
      "scenes": [{"irBalanceMode": 2, "blcRegionArea": "0,0,10,10", "hlcLevel": 8},
                 {"irBalanceMode": 99}]})"),
            kTextHeader + "OK");
  settle(daemon());
  auto sent = daemon().requests(3280);
  ASSERT_EQ(sent.size(), 1u);
  const Bytes &p = sent[0].payload;
  EXPECT_EQ(word_at(p, 256), 1);
  EXPECT_EQ(word_at(p, kRecord + 0), 2);  // the first scene, not "smartir"
  EXPECT_EQ(text_at(p, kRecord + 52, 32), "0,0,10,10");
  EXPECT_EQ(word_at(p, kRecord + 112), 8);
  EXPECT_TRUE(zero_between(p, kRecord + 116, 488));
}

TEST_F(ImageEnhancement, NoSceneOrNoJsonMeansNoRequestAndNoReply) {
  for (const char *body : {R"({"type": 1, "channel": [0]})", R"({"type": 2, "scenes": []})",
                           R"({"type": 2, "scenes": [3]})", R"({"type": 2, "scenes": {}})",
                           "not json"}) {
    EXPECT_EQ(call("/2020", body), "") << body;
  }
  settle(daemon());
  EXPECT_TRUE(daemon().requests(3280).empty());
}

TEST_F(ImageEnhancement, TheAnswerIsRepliedInRecordOrder) {
  Bytes answer = offsets_answer(236);
  put_word(answer, 0, 6);
  put_text(answer, 8 + 56, std::string(64, 'e'));   // no terminator in its field
  put_text(answer, 8 + 184, std::string(32, 's'));  // nor here
  daemon().answer(3221, answer);
  std::string reply = call("/2019", R"({"id": 6})");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  std::vector<std::string> keys = {
      "id", "smartir", "whiteblance", "focusmode", "antiblurry", "wdrenable", "wdrlevel",
      "wdrstarthour", "wdrstartminute", "wdrstophour", "wdrstopminute", "regiontype",
      "hlcmode", "exclude", "exposemode", "exposeregion", "imageschemode", "hlcday",
      "hlcnight", "redgain", "bluegain", "defogmode", "defoglevel", "dismode", "exposetime",
      "exposegain", "wdraflevel", "hlclevel", "exposurectrl", "enblur", "deblur",
      "sdkversion", "lensType", "reduceVideoStuttering"};
  EXPECT_EQ(member_names(body.get()), keys);
  EXPECT_EQ(int_member(body.get(), "id"), 6);
  EXPECT_EQ(int_member(body.get(), "smartir"), 8);  // record offset 0 is answer byte 8
  EXPECT_EQ(int_member(body.get(), "wdraflevel"), 8 + 164);
  EXPECT_EQ(int_member(body.get(), "reduceVideoStuttering"), 8 + 220);
  EXPECT_EQ(text_member(body.get(), "exposeregion"), std::string(64, 'e'));
  EXPECT_EQ(text_member(body.get(), "sdkversion"), std::string(32, 's'));
  auto sent = daemon().requests(3221);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].payload, bytes_of_int(6));
}

TEST_F(ImageEnhancement, TheChannelIsSentAsGivenAndSilenceIsATextError) {
  EXPECT_EQ(call("/2019", R"({"id": -7})"), kCgiError);
  auto sent = daemon().requests(3221);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].payload, bytes_of_int(-7));
  EXPECT_EQ(call("/2019", "{"), "");
  EXPECT_EQ(daemon().requests(3221).size(), 1u);
}

TEST_F(ImageDisplay, RecordKeysOfTypeZero) {
  daemon().answer(3224, bytes_of_int(0));
  std::string reply = call("/2022", R"({"id": 3, "type": 0, "colorkiller": 1,
      "saveCorridor": 1, "whiteLedLevel": 40, "smartwhitestrength": 99, "productmodel": "X",
      "smartIrMath": 5, "zoomLimit": 12, "whiteledBrightness": 70})");
  EXPECT_EQ(reply, kTextHeader + "OK");
  auto sent = daemon().requests(3224);
  ASSERT_EQ(sent.size(), 1u);
  const Bytes &p = sent[0].payload;
  ASSERT_EQ(p.size(), 364u);
  EXPECT_EQ(word_at(p, 0), 3);
  EXPECT_EQ(word_at(p, 4), 0);
  EXPECT_EQ(word_at(p, kDisplay + 0), 1);
  EXPECT_EQ(word_at(p, kDisplay + 52), 1);    // request only
  EXPECT_EQ(word_at(p, kDisplay + 256), 40);  // "whiteLedLevel" in, not the reply key
  EXPECT_EQ(word_at(p, kDisplay + 80), 0);    // reply only: never taken
  EXPECT_TRUE(zero_between(p, kDisplay + 188, kDisplay + 220));
  EXPECT_EQ(word_at(p, kDisplay + 312), 12);
  EXPECT_EQ(word_at(p, kDisplay + 344), 70);
}

TEST_F(ImageDisplay, SceneTypeOneAndOtherTypes) {
  daemon().answer(3224, bytes_of_int(0));
  EXPECT_EQ(call("/2022", R"({"id": 1, "type": 1, "colorkiller": 1,
      "scenes": [{"powerlineFreq": 50, "imageRotation": 3}]})"),
            kTextHeader + "OK");
  EXPECT_EQ(call("/2022", R"({"id": 2, "type": 2, "colorkiller": 1, "scenes": [{"dnMode": 1}]})"),
            kTextHeader + "OK");
  EXPECT_EQ(call("/2022", R"({"id": 1, "type": 1})"), "");  // no scene: nothing at all
  auto sent = daemon().requests(3224);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(word_at(sent[0].payload, kDisplay + 0), 50);
  EXPECT_EQ(word_at(sent[0].payload, kDisplay + 40), 3);
  EXPECT_TRUE(zero_between(sent[0].payload, kDisplay + 44, 364));
  EXPECT_EQ(word_at(sent[1].payload, 0), 2);
  EXPECT_EQ(word_at(sent[1].payload, 4), 2);
  EXPECT_TRUE(zero_between(sent[1].payload, kDisplay, 364));  // only id and type
}

TEST_F(ImageDisplay, ResultWordAndSilence) {
  daemon().answer(3224, bytes_of_int(-1));
  EXPECT_EQ(call("/2022", R"({"id": 0, "type": 0})"), kTextHeader + "ERROR");
  EXPECT_EQ(g_callback_done.load(), 1);
  daemon().answer(3224, bytes_of_int(0));
  EXPECT_EQ(call("/2022", R"({"id": 0, "type": 0})"), kTextHeader + "OK");
  EXPECT_EQ(g_callback_done.load(), 2);  // the shared success writer's flag
  daemon().silent(3224);
  EXPECT_EQ(call("/2022", R"({"id": 0, "type": 0})"), kCgiError);
}

TEST_F(ImageDisplay, TheAnswerIsRepliedInOffsetOrder) {
  Bytes answer = offsets_answer(364);
  put_word(answer, 0, 9);
  put_field(answer, 8 + 88, 64, std::string(64, 'c'));  // no terminator in its field
  put_field(answer, 8 + 172, 16, std::string(16, 's'));
  put_field(answer, 8 + 188, 32, "IPC-1");
  put_field(answer, 8 + 220, 32, "V5");
  put_field(answer, 8 + 264, 32, "sdk");
  daemon().answer(3223, answer);
  JsonPtr body = parse_body(call("/2021", R"({"id": 9})"));
  ASSERT_TRUE(body);
  std::vector<std::string> keys = {
      "id", "colorkiller", "modestarthour", "modestartminute", "modestophour",
      "modestopminute", "exposurectrl", "lighttype", "mirctrl", "localdisplay",
      "ircutaddaytonight", "ircutadnighttoday", "corridormode", "imagerotation",
      "smartIRType", "nearIRLevel", "farIRLevel", "midIRLevel", "lencorrect", "smartIrMath",
      "smartIrLimit", "chipninterface", "nearSmartirValue", "farSmartirValue",
      "midSmartirValue", "lenCorrectType", "fovadjust", "sensortype", "productmodel",
      "softversion", "smokeddomecover", "smartwhitestrength", "dnRefocus", "sdkversion",
      "structuretype", "keepCorrectAspectRatio", "dayNightSens", "nightDaySens",
      "zoomLimit"};
  EXPECT_EQ(member_names(body.get()), keys);
  EXPECT_EQ(int_member(body.get(), "id"), 9);
  EXPECT_EQ(int_member(body.get(), "smartwhitestrength"), 8 + 256);
  EXPECT_EQ(int_member(body.get(), "zoomLimit"), 8 + 312);
  EXPECT_EQ(text_member(body.get(), "chipninterface"), std::string(64, 'c'));
  EXPECT_EQ(text_member(body.get(), "sensortype"), std::string(16, 's'));
  EXPECT_EQ(text_member(body.get(), "productmodel"), "IPC-1");
  EXPECT_EQ(text_member(body.get(), "sdkversion"), "sdk");
}

}  // namespace
