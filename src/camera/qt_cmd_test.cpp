#include <gtest/gtest.h>

#include <cstring>

#include "handler_fixture.h"
#include "json_codecs.h"

namespace {

using QtCommand = HandlerTest;

Bytes result_payload(const std::string &text, bool terminated = true) {
  std::string raw = std::string(16, '\0') + text + (terminated ? std::string(1, '\0') : "");
  return Bytes(raw.begin(), raw.end());
}

TEST_F(QtCommand, ForwardsTheCommandAndRepliesWithTheResult) {
  daemon().answer(4002, result_payload("ok"));
  std::string reply = call("/2026", R"({"cmd": "reboot now"})");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body(json_tokener_parse(reply_body(reply).c_str()));
  ASSERT_TRUE(body);
  EXPECT_STREQ(json_object_get_string(json_member(body.get(), "result")), "ok");
  auto sent = daemon().requests(4002);
  ASSERT_EQ(sent.size(), 1u);
  ASSERT_EQ(sent[0].payload.size(), 100u);
  EXPECT_STREQ(reinterpret_cast<const char *>(sent[0].payload.data()), "reboot now");
}

TEST_F(QtCommand, LongCommandsAreCutAnd99CharactersSent) {
  daemon().answer(4002, result_payload("x"));
  call("/2026", "{\"cmd\": \"" + std::string(300, 'c') + "\"}");
  auto sent = daemon().requests(4002);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(strlen(reinterpret_cast<const char *>(sent[0].payload.data())), 99u);
}

TEST_F(QtCommand, FailuresAndUntrustedAnswers) {
  EXPECT_EQ(call("/2026", "not json"), "");
  EXPECT_TRUE(daemon().requests(4002).empty());

  EXPECT_EQ(call("/2026", R"({"cmd": "x"})"), "Content-type: text/plain\r\n\r\nCGI ERROR");

  daemon().answer(4002, Bytes(10, 'z'));  // too short to hold a result
  EXPECT_EQ(call("/2026", R"({"cmd": "x"})"), "Content-type: text/plain\r\n\r\nCGI ERROR");

  daemon().answer(4002, result_payload("unterminated", false));  // read within the frame
  JsonPtr body(json_tokener_parse(reply_body(call("/2026", R"({"cmd": "x"})")).c_str()));
  ASSERT_TRUE(body);
  EXPECT_STREQ(json_object_get_string(json_member(body.get(), "result")), "unterminated");
}

}  // namespace
