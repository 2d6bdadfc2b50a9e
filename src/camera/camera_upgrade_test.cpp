#include <gtest/gtest.h>

#include "camera_extra_records.h"
#include "handler_fixture.h"
#include "json_codecs.h"

namespace {

using CameraUpgrade = HandlerTest;

const char *const kJsonError = "Content-type: application/json\r\n\r\n{status:\"CGI ERROR\"}";
const char *const kTextError = "Content-type: text/plain\r\n\r\nCGI ERROR";

ipc_upgrade_status status_of(uint64_t mask) {
  ipc_upgrade_status s = {(uint32_t)mask, (uint32_t)(mask >> 32), {}};
  for (int i = 0; i < IPC_UPGRADE_CHANNELS; i++) s.status[i] = 10 * i;
  return s;
}

TEST_F(CameraUpgrade, MasksCountTheFirstSixteenCharacters) {
  daemon().answer(3385, int_answer(0));
  std::string reply = call("/2078", R"({"chnMask": "0000000000000000", "resetMask": "0000",
      "fileSize": 1234})");
  EXPECT_EQ(reply_body(reply), R"({ "res": 0 })");
  auto sent = daemon().requests(3385);
  ASSERT_EQ(sent.size(), 1u);
  ASSERT_EQ(sent[0].payload.size(), 280u);
  EXPECT_EQ(int_at(sent[0].payload, 0), 0);
  EXPECT_EQ(int_at(sent[0].payload, 4), 0);
  EXPECT_EQ(int_at(sent[0].payload, 8), -1);  // nothing reset: all ones
  EXPECT_EQ(int_at(sent[0].payload, 12), -1);
  EXPECT_EQ(int_at(sent[0].payload, 16), 1234);

  daemon().clear();
  call("/2078", R"({"chnMask": "10100000000000011111", "resetMask": "01000000000000001111"})");
  sent = daemon().requests(3385);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ((uint32_t)int_at(sent[0].payload, 0), 0x8005u);
  EXPECT_EQ(int_at(sent[0].payload, 4), 0);
  EXPECT_EQ((uint32_t)int_at(sent[0].payload, 8), ~0x2u);
  EXPECT_EQ(int_at(sent[0].payload, 12), -1);
}

TEST_F(CameraUpgrade, StartSetsTheBitsOfTheListedChannels) {
  daemon().answer(3379, bytes_of(status_of(0x8006)));
  std::string reply = call("/2080", R"({"chnAry": [1, 2, 15, 63, 64, -1, 200], "reset": 1,
      "url": "http://host/fw.bin"})");
  JsonPtr body(json_tokener_parse(reply_body(reply).c_str()));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_int(body.get(), "chnid"), 0x8006);
  EXPECT_STREQ(json_object_get_string(json_member(body.get(), "chnMask")), "0110000000000001");
  EXPECT_STREQ(json_object_to_json_string(json_member(body.get(), "status")), "[ 10, 20, 150 ]");
  auto sent = daemon().requests(3379);
  ASSERT_EQ(sent.size(), 1u);
  ASSERT_EQ(sent[0].payload.size(), 280u);
  EXPECT_EQ((uint32_t)int_at(sent[0].payload, 0), 0x8006u);
  EXPECT_EQ((uint32_t)int_at(sent[0].payload, 4), 0x80000000u);
  EXPECT_EQ(int_at(sent[0].payload, 8), 1);
  EXPECT_EQ(text_at(sent[0].payload, 12, 128), "http://host/fw.bin");
  EXPECT_EQ(text_at(sent[0].payload, 140, 128), "/dev/shm/updateIPCFM.bin");
}

TEST_F(CameraUpgrade, StatusReportByteForByte) {
  daemon().answer(3386, bytes_of(status_of(0xFFFFFFFF00000021ULL)));
  EXPECT_EQ(call("/2079"), "Content-type: text/plain\r\n\r\n"
                           "chnid=-4294967263\r\nstatus0=0\r\nstatus5=50\r\n"
                           "chnMask=1000010000000000\r\n");
}

TEST_F(CameraUpgrade, ShortAnswersAndFailures) {
  EXPECT_EQ(call("/2079"), kJsonError);  // no answer
  daemon().answer(3386, Bytes(71, 1));
  EXPECT_EQ(call("/2079"), kTextError);
  daemon().answer(3379, Bytes(71, 1));
  EXPECT_EQ(call("/2080", R"({"chnAry": [0]})"), kJsonError);
  daemon().answer(3385, Bytes(3, 1));
  EXPECT_EQ(call("/2078", "{}"), kJsonError);
  daemon().answer(3385, Bytes{});
  EXPECT_EQ(call("/2078", "{}"), kJsonError);
  EXPECT_EQ(call("/2078", "not json"), kJsonError);
  EXPECT_EQ(call("/2080", "not json"), kJsonError);
}

TEST_F(CameraUpgrade, StopIsSentWithoutAReply) {
  EXPECT_EQ(call("/2081", R"({"stop": 1})"), "");
  settle();
  auto stops = sent(3390);
  ASSERT_EQ(stops.size(), 1u);
  EXPECT_EQ(stops[0].payload, int_answer(1));
  EXPECT_EQ(call("/2081", "not json"), "");
}

}  // namespace
