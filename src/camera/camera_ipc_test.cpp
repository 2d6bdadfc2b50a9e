// The module's dispatcher: answers shorter than their record, answers of
// codes it does not route, and the flag its decoders leave.
#include <gtest/gtest.h>

#include "camera_records.h"
#include "cgi_ipc.h"
#include "json_checks.h"

namespace {

using CameraDispatcher = HandlerTest;

struct Exchange {
  const char *path;
  const char *body;
  int request;
  size_t size;  // the fewest bytes the answer must hold
  const std::string &timeout_reply;
};

const Exchange kExchanges[] = {
    {"/2019", R"({"id": 1})", 3221, 236, kCgiError},
    {"/2021", R"({"id": 1})", 3223, 364, kCgiError},
    {"/2022", R"({"id": 1, "type": 2})", 3224, 4, kCgiError},
    {"/2023", R"({"id": 1, "key": "k"})", 3225, 396, kCgiError},
    {"/2024", R"({"id": 1, "key": "k"})", 3226, 4, kCgiError},
    {"/2025", R"({"id": 1})", 2503, 4, kCgiError},
    {"/2029", "", 2505, 164, kJsonError},
    {"/2009", R"({"chnid": 1})", 3204, 556, kJsonError},
    {"/2010", R"({"id": 1, "mainFramerate": 1, "mainBitrate": 1, "mainResWidth": 1,
                  "mainResHeight": 1, "subEnable": 1, "audioEnable": 1})",
     3203, 8, kCgiError},
    {"/2030", R"({"chans": [1]})", 3203, 8, kJsonError},
    {"/2026", R"({"cmd": "x"})", 4002, 16, kCgiError},
};

TEST_F(CameraDispatcher, AnswersShorterThanTheirRecordCountAsNone) {
  for (const Exchange &e : kExchanges) {
    daemon().answer(e.request, Bytes(e.size - 1, 0));
    EXPECT_EQ(call(e.path, e.body), e.timeout_reply) << e.path << " short";
    daemon().answer(e.request, Bytes(e.size, 0));
    std::string reply = call(e.path, e.body);
    EXPECT_NE(reply, e.timeout_reply) << e.path << " whole";
    EXPECT_FALSE(reply.empty()) << e.path;
  }
}

TEST_F(CameraDispatcher, CodesWithoutARouteAreIgnored) {
  // Answers of later camera pages, and an answer under another code.
  for (int code : {8272, 8206, 6299, 8222}) {
    daemon().answer_frames(3221, {SimFrame{code, Bytes(600, 0), 0}});
    EXPECT_EQ(call("/2019", R"({"id": 0})"), kCgiError) << code;
  }
}

TEST_F(CameraDispatcher, DecodersReplyOnceAndSetTheirFlag) {
  // Two answers to one request: the first is the reply.
  daemon().answer_frames(3226, {SimFrame{0, bytes_of_int(5), 0}, SimFrame{0, bytes_of_int(0), 0}});
  EXPECT_EQ(call("/2024", R"({"key": "k"})"), kTextHeader + "ERROR");
  EXPECT_EQ(g_callback_done.load(), 1);
  daemon().answer(3226, bytes_of_int(0));
  EXPECT_EQ(call("/2024", R"({"key": "k"})"), kTextHeader + "OK");
  EXPECT_EQ(g_callback_done.load(), 2);
  daemon().answer(2503, bytes_of_int(0));
  call("/2025", R"({"id": 0})");
  EXPECT_EQ(g_callback_done.load(), 1);
}

}  // namespace
