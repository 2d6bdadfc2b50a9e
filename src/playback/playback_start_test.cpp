// Starting playback: the two chained exchanges and their log entry.
#include <functional>

#include "playback_test_util.h"

namespace {

using StartPlayback = PlaybackTest;

const char *kStart = R"({"channelId": 3, "sid": 21, "startTime": "2024-03-01 00:00:00",
                         "endTime": "2024-03-01 23:59:59", "playTime": "2024-03-01 08:30:00"})";

Bytes session_info(int32_t sid, const char *path) {
  session_info_record r = {sid, 554, 10554, 10080, 20554, 20080, {}};
  snprintf(r.sourcePath, sizeof r.sourcePath, "%s", path);
  return bytes_of(r);
}

TEST_F(StartPlayback, StartThenSessionInformationThenLog) {
  daemon().answer(1162, int_answer(0));
  daemon().answer(3502, session_info(21, "/playback/21"));
  std::string reply = call("/4001", kStart);
  EXPECT_EQ(codes(), (std::vector<int>{1162, 3502, 3485}));

  Bytes start = sent_once(1162);
  ASSERT_EQ(start.size(), 112u);
  EXPECT_EQ(int_at(start, 0), 3);
  EXPECT_EQ(int_at(start, 4), 21);
  EXPECT_EQ(Bytes(start.begin() + 8, start.begin() + 16), Bytes(8, 0));
  EXPECT_EQ(text_at(start, 16, 32), "2024-03-01 00:00:00");
  EXPECT_EQ(text_at(start, 48, 32), "2024-03-01 23:59:59");
  EXPECT_EQ(text_at(start, 80, 32), "2024-03-01 08:30:00");
  EXPECT_EQ(sent_once(3502), int_answer(21));

  JsonPtr body = parse_body(reply);
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{"sessionId", "sourcePath", "port", "status", "realPlayTime",
                                      "external_port", "external_http_port", "ddns_port",
                                      "ddns_http_port"}));
  EXPECT_EQ(int_member(body.get(), "sessionId"), 21);
  EXPECT_EQ(text_member(body.get(), "sourcePath"), "/playback/21");
  EXPECT_EQ(int_member(body.get(), "port"), 554);
  EXPECT_EQ(text_member(body.get(), "status"), "OK");
  EXPECT_EQ(text_member(body.get(), "realPlayTime"), "2024-03-01 08:30:00");
  EXPECT_EQ(int_member(body.get(), "external_port"), 10554);
  EXPECT_EQ(int_member(body.get(), "ddns_http_port"), 20080);

  auto entries = logs();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].main_type, 4);
  EXPECT_EQ(entries[0].sub_type, 209);
  EXPECT_EQ(entries[0].param_type, 900);
  EXPECT_EQ(entries[0].channel, 4);
}

TEST_F(StartPlayback, TheSecondRequestRunsOnlyOnFlagOne) {
  struct Case {
    const char *what;
    std::function<void()> answer;
  };
  for (const Case &c : {Case{"refused", [&] { daemon().answer(1162, int_answer(-1)); }},
                        Case{"unanswered", [&] { daemon().silent(1162); }},
                        Case{"scrap", [&] { daemon().answer(1162, Bytes{0, 0}); }}}) {
    forget();
    c.answer();
    EXPECT_EQ(call("/4001", kStart), kJsonError) << c.what;
    EXPECT_EQ(codes(), (std::vector<int>{1162})) << c.what;  // no 3502, no log
  }
}

TEST_F(StartPlayback, LoggedAlsoWhenTheSessionInformationFails) {
  daemon().answer(1162, int_answer(0));
  daemon().silent(3502);
  EXPECT_EQ(call("/4001", kStart), kJsonError);
  EXPECT_EQ(codes(), (std::vector<int>{1162, 3502, 3485}));

  forget();
  daemon().answer(3502, Bytes(151, 0));  // short: no reply, but the start happened
  EXPECT_EQ(call("/4001", kStart), "");
  EXPECT_EQ(codes(), (std::vector<int>{1162, 3502, 3485}));
}

TEST_F(StartPlayback, ChannelAndKeysAreCheckedSilently) {
  for (const char *channel : {"16", "-1", "4294967296", "1e308"}) {
    std::string body = std::string(R"({"sid": 1, "startTime": "", "endTime": "", "playTime": "",
                                       "channelId": )") + channel + "}";
    EXPECT_EQ(call("/4001", body), "") << channel;
  }
  EXPECT_EQ(call("/4001", R"({"channelId": 1, "sid": 1, "startTime": "", "endTime": ""})"), "");
  EXPECT_EQ(call("/4001", "15"), "");
  EXPECT_TRUE(codes().empty());
}

// ---- By channel masks ----
const char *kByMask = R"({"mask0": 5, "mask1": 0, "mask2": 0, "mask3": 0, "mask4": 0, "mask5": 0,
                          "mask6": 0, "mask7": -2147483648, "playTime": "2024-03-01 08:30:00"})";

Bytes started(int32_t sid, const char *play_time, int32_t failed) {
  started_session_record r = {sid, {}, failed};
  snprintf(r.playTime, sizeof r.playTime, "%s", play_time);
  return bytes_of(r);
}

TEST_F(StartPlayback, ByMaskUsesTheSessionTheDaemonStarted) {
  answer_as(3109, 8103, started(77, "2024-03-01 08:29:58", 0));
  daemon().answer(3502, session_info(77, "/playback/77"));
  JsonPtr body = parse_body(call("/4020", kByMask));
  EXPECT_EQ(codes(), (std::vector<int>{3109, 3502, 3485}));

  Bytes request = sent_once(3109);
  ASSERT_EQ(request.size(), 68u);
  EXPECT_EQ(int_at(request, 0), 1709281800);  // 2024-03-01 08:30:00 UTC
  EXPECT_EQ(text_at(request, 4, 32), "2024-03-01 08:30:00");
  EXPECT_EQ(int_at(request, 36), 5);
  EXPECT_EQ(int_at(request, 64), INT32_MIN);
  EXPECT_EQ(sent_once(3502), int_answer(77));
  EXPECT_EQ(int_member(body.get(), "sessionId"), 77);
  EXPECT_EQ(text_member(body.get(), "realPlayTime"), "2024-03-01 08:29:58");
  auto entries = logs();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].sub_type, 209);
  EXPECT_EQ(entries[0].channel, 0);
}

TEST_F(StartPlayback, ByMaskFailuresSendNoSecondRequest) {
  answer_as(3109, 8103, started(77, "x", 1));  // the daemon started nothing
  EXPECT_EQ(call("/4020", kByMask), kJsonError);
  answer_as(3109, 8103, Bytes(39, 0));  // too short to name a session
  EXPECT_EQ(call("/4020", kByMask), kJsonError);
  daemon().answer(3109, int_answer(0));  // an answer of another kind
  EXPECT_EQ(call("/4020", kByMask), kJsonError);
  answer_as(3109, 8502, int_answer(0));  // flag 1, but no session was named
  EXPECT_EQ(call("/4020", kByMask), kJsonError);
  EXPECT_EQ(codes(), (std::vector<int>{3109, 3109, 3109, 3109}));
}

TEST_F(StartPlayback, ByMaskChecksTheMasksAndThePlayTime) {
  std::string base = R"({"mask0": 1, "mask1": 0, "mask2": 0, "mask3": 0, "mask4": 0, "mask5": 0,
                         "mask6": 0, )";
  EXPECT_EQ(call("/4020", base + R"("playTime": "2024-03-01 08:30:00"})"), "");  // no mask7
  for (const char *time : {"", "yesterday", "1969-12-31 23:59:59", "2100-01-01 00:00:00",
                           "2024-13-01 00:00:00"}) {
    EXPECT_EQ(call("/4020", base + R"("mask7": 0, "playTime": ")" + time + "\"}"), "") << time;
  }
  EXPECT_TRUE(codes().empty());
}

}  // namespace
