// Control of running sessions: the batch records, their bounds, jump and
// the play-time answers.
#include "playback_test_util.h"

namespace {

using Control = PlaybackTest;

session_batch batch_from(const Bytes &payload) {
  EXPECT_EQ(payload.size(), sizeof(session_batch));
  return record_from<session_batch>(payload);
}

speed_request speed_from(const Bytes &payload) {
  EXPECT_EQ(payload.size(), sizeof(speed_request));
  return record_from<speed_request>(payload);
}

TEST_F(Control, PlayTimeOfASession) {
  daemon().answer(1153, int_answer(1709281800));
  EXPECT_EQ(call("/4002", "42"),
            kJsonHeader + R"({ "status": "OK", "curPlayTime": "2024-03-01 08:30:00" })");
  EXPECT_EQ(sent_once(1153), int_answer(42));
  daemon().answer(1153, int_answer(0));  // no play time yet
  EXPECT_EQ(call("/4002", "42"), kJsonError);
  daemon().answer(1153, Bytes{1, 2, 3});
  EXPECT_EQ(call("/4002", "42"), kJsonError);
  forget();
  EXPECT_EQ(call("/4002", "abc"), "");
  EXPECT_EQ(call("/4002", ""), "");
  EXPECT_TRUE(codes().empty());
}

TEST_F(Control, StopClosesEachSessionThenStopsAndClosesTheBatch) {
  EXPECT_EQ(call("/4003", R"({"close": 1, "num": 3, "sid": [5, -1, 9]})"), kTextOk);
  EXPECT_EQ(codes(), (std::vector<int>{1903, 1903, 1164, 1160}));
  auto closed = sent(1903);
  EXPECT_EQ(closed[0].payload, int_answer(5));
  EXPECT_EQ(closed[1].payload, int_answer(9));
  session_batch batch = batch_from(sent_once(1164));
  EXPECT_EQ(batch.count, 3);
  EXPECT_EQ(batch.sid[1], -1);
  EXPECT_EQ(batch.sid[2], 9);
  EXPECT_EQ(sent_once(1160), sent_once(1164));

  forget();
  EXPECT_EQ(call("/4003", R"({"close": 0, "num": 1, "sid": [5]})"), kTextOk);
  EXPECT_EQ(codes(), (std::vector<int>{1903, 1164}));
}

TEST_F(Control, BatchesTakeAtMost64AndNoMoreThanTheArrayHolds) {
  std::string hundred = int_array(100, 1000);
  struct Case {
    const char *path;
    int code;
    std::string body;
  };
  for (const Case &c : {Case{"/4003", 1164, R"({"num": 100, "sid": )" + hundred + "}"},
                        Case{"/4004", 1165, R"({"num": 100, "sid": )" + hundred + "}"},
                        Case{"/4006", 1170, R"({"num": 2147483647, "sid": )" + hundred + "}"}}) {
    forget();
    EXPECT_EQ(call(c.path, c.body), kTextOk) << c.path;
    session_batch batch = batch_from(sent_once(c.code));
    EXPECT_EQ(batch.count, 64) << c.path;
    EXPECT_EQ(batch.sid[63], 1063) << c.path;
    EXPECT_EQ(batch.zero, 0);
  }

  forget();
  call("/4004", R"({"num": 10, "sid": [1, 2]})");
  EXPECT_EQ(batch_from(sent_once(1165)).count, 2);
  forget();
  call("/4006", R"({"num": -3, "sid": [1, 2]})");
  EXPECT_EQ(batch_from(sent_once(1170)).count, 0);
  forget();
  call("/4004", R"({"num": 2, "sid": {"0": 1}})");
  EXPECT_EQ(batch_from(sent_once(1165)).count, 0);
}

TEST_F(Control, FastForwardPairsSessionsWithSpeeds) {
  EXPECT_EQ(call("/4007", R"({"chind": 0, "num": 3, "sessionId": [4, 5, 6], "speed": [2, 4]})"),
            kTextOk);
  session_batch batch = batch_from(sent_once(1112));
  EXPECT_EQ(batch.count, 2);  // the speeds run out after two
  EXPECT_EQ(batch.sid[1], 5);
  EXPECT_EQ(batch.speed[0], 2);
  EXPECT_EQ(batch.speed[1], 4);
  forget();
  call("/4007", R"({"chind": 1, "num": 100, "sessionId": )" + int_array(100) +
                    R"(, "speed": )" + int_array(100, 2) + "}");
  batch = batch_from(sent_once(1112));
  EXPECT_EQ(batch.count, 64);
  EXPECT_EQ(batch.speed[63], 65);
  forget();
  EXPECT_EQ(call("/4007", R"({"num": 1, "sessionId": [1], "speed": [2]})"), "");
  EXPECT_EQ(call("/4007", R"({"chind": -1, "num": 1, "sessionId": [1], "speed": [2]})"), "");
  EXPECT_TRUE(codes().empty());
}

TEST_F(Control, SlowForwardTakesTheChannelsFromChind) {
  EXPECT_EQ(call("/4008", R"({"chind": [3, 7], "num": 2, "speed": 4})"), kTextOk);
  speed_request request = speed_from(sent_once(1149));
  EXPECT_EQ(request.speed, 4);
  EXPECT_EQ(request.single, 0);
  EXPECT_EQ(request.count, 2);
  EXPECT_EQ(request.id[0], 3);
  EXPECT_EQ(request.id[1], 7);
  forget();
  call("/4008", R"({"chind": )" + int_array(100) + R"(, "num": 100, "speed": 2})");
  EXPECT_EQ(speed_from(sent_once(1149)).count, 64);
  forget();
  call("/4008", R"({"chind": 3, "num": 5, "speed": 2})");  // a number: no channels to take
  EXPECT_EQ(speed_from(sent_once(1149)).count, 0);
  forget();
  EXPECT_EQ(call("/4008", R"({"chind": -2, "num": 1, "speed": 2})"), "");
  EXPECT_EQ(call("/4008", R"({"num": 1, "speed": 2})"), "");
  EXPECT_TRUE(codes().empty());
}

TEST_F(Control, SetSpeedFlagsOneSessionAtSpeedTwo) {
  struct Case {
    const char *body;
    int single, count;
  };
  for (const Case &c : {Case{R"({"speed": 2, "num": 1, "sid": [8]})", 1, 1},
                        Case{R"({"speed": 2, "num": 2, "sid": [8, 9]})", 0, 2},
                        Case{R"({"speed": 4, "num": 1, "sid": [8]})", 0, 1},
                        Case{R"({"speed": 2, "num": 5, "sid": [8]})", 1, 1}}) {
    forget();
    EXPECT_EQ(call("/4022", c.body), kTextOk);
    speed_request request = speed_from(sent_once(1167));
    EXPECT_EQ(request.single, c.single) << c.body;
    EXPECT_EQ(request.count, c.count) << c.body;
    EXPECT_EQ(request.id[0], 8);
  }
  forget();
  call("/4022", R"({"speed": 1, "num": 100, "sid": )" + int_array(100) + "}");
  EXPECT_EQ(speed_from(sent_once(1167)).count, 64);
}

TEST_F(Control, StepBatchFillsIdsAndKeepsCountZero) {
  EXPECT_EQ(call("/3003", R"({"sessionId": )" + int_array(100, 1) + "}"), kTextOk);
  session_batch batch = batch_from(sent_once(1113));
  EXPECT_EQ(batch.count, 0);
  EXPECT_EQ(batch.sid[0], 1);
  EXPECT_EQ(batch.sid[63], 64);
}

TEST_F(Control, ResumeSendsSessionAndDirection) {
  EXPECT_EQ(call("/4005", R"({"sid": 12, "direction": 1})"), kTextOk);
  EXPECT_EQ(sent_once(1166), (Bytes{12, 0, 0, 0, 1, 0, 0, 0}));
  forget();
  EXPECT_EQ(call("/4005", "not json"), "");
  EXPECT_TRUE(codes().empty());
}

TEST_F(Control, JumpSendsPairsAndRepliesTheResult) {
  daemon().answer(1171, int_answer(0));
  EXPECT_EQ(call("/4009", R"({"jumpTime": "2024-03-01 09:00:00", "num": 2, "sid": [11, 12],
                              "chnid": [1, 2]})"),
            kJsonHeader + R"({ "status": "OK" })");
  Bytes jump = sent_once(1171);
  ASSERT_EQ(jump.size(), 580u);
  EXPECT_EQ(int_at(jump, 0), 1);
  EXPECT_EQ(int_at(jump, 4), 2);
  EXPECT_EQ(int_at(jump, 256), 11);
  EXPECT_EQ(int_at(jump, 260), 12);
  EXPECT_EQ(int_at(jump, 512), 2);
  EXPECT_EQ(text_at(jump, 516, 64), "2024-03-01 09:00:00");

  daemon().answer(1171, int_answer(3));
  EXPECT_EQ(call("/4009", R"({"jumpTime": "t", "num": 1, "sid": [1], "chnid": [1]})"),
            kJsonHeader + R"({ "status": "ERROR" })");
  daemon().silent(1171);
  EXPECT_EQ(call("/4009", R"({"jumpTime": "t", "num": 1, "sid": [1], "chnid": [1]})"), kJsonError);

  forget();
  daemon().answer(1171, int_answer(0));
  call("/4009", R"({"jumpTime": "t", "num": 100, "sid": )" + int_array(100) +
                    R"(, "chnid": )" + int_array(70) + "}");
  EXPECT_EQ(int_at(sent_once(1171), 512), 64);
}

TEST_F(Control, JumpWithoutSessionsIsAnErrorWithoutRequest) {
  for (const char *body : {R"({"jumpTime": "t", "num": 0, "sid": [1], "chnid": [1]})",
                           R"({"jumpTime": "t", "num": 2, "sid": [], "chnid": [1]})",
                           R"({"jumpTime": "t", "num": 2, "sid": 5, "chnid": 5})"}) {
    EXPECT_EQ(call("/4009", body), kJsonError) << body;
  }
  EXPECT_EQ(call("/4009", R"({"num": 1, "sid": [1], "chnid": [1]})"), "");
  EXPECT_TRUE(codes().empty());
}

TEST_F(Control, TimeAnswersOfSessions) {
  EXPECT_EQ(dispatch(8104, int_answer(86400)),
            kJsonHeader + R"({ "status": "OK", "realJumpTime": "1970-01-02 00:00:00" })");
  EXPECT_EQ(dispatch(8104, Bytes{1, 2}), "");
  EXPECT_EQ(g_callback_done, 1);  // too short: flag only

  Bytes pairs = records_answer<session_time_pair>({{3, 60}, {4, 120}});
  pairs.push_back(7);  // part of a third pair
  JsonPtr body = parse_body(dispatch(8115, pairs));
  json_object *list = json_member(body.get(), "JumpTime");
  ASSERT_EQ(json_object_array_length(list), 2u);
  json_object *second = json_object_array_get_idx(list, 1);
  EXPECT_EQ(member_names(second), (std::vector<std::string>{"realJumpTime", "sid"}));
  EXPECT_EQ(text_member(second, "realJumpTime"), "1970-01-01 00:02:00");
  EXPECT_EQ(int_member(second, "sid"), 4);
  EXPECT_EQ(dispatch(8115, Bytes(7, 0)), "");
  EXPECT_EQ(g_callback_done, 1);

  body = parse_body(dispatch(8116, records_answer<session_time_pair>({{9, 3600}})));
  json_object *first = json_object_array_get_idx(json_member(body.get(), "curPlayTime"), 0);
  EXPECT_EQ(text_member(first, "PlayTime"), "1970-01-01 01:00:00");
  EXPECT_EQ(int_member(first, "sid"), 9);
  // One pair per session a request can name.
  std::vector<session_time_pair> many(1000, session_time_pair{1, 1});
  body = parse_body(dispatch(8116, records_answer(many)));
  EXPECT_EQ(json_object_array_length(json_member(body.get(), "curPlayTime")), 64u);

  EXPECT_EQ(dispatch(6148, int_answer(-1)), kJsonHeader + R"({ "status": "ERROR" })");
  EXPECT_EQ(dispatch(6148, int_answer(-2)), kJsonHeader + R"({ "status": "OK" })");
}

}  // namespace
