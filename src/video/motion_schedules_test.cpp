// The schedule readers and writers of motion detection.
#include "video_test_util.h"

namespace {

using Schedules = VideoTest;

struct Family {
  const char *write_path;
  const char *read_path;
};
// Each writer with the reader that shows what it stored ("/6013" writes
// the audible schedule that "/6011" reads).
const Family kFamilies[] = {
    {"/6013", "/6011"}, {"/6118", "/6120"}, {"/6152", "/6153"}, {"/6159", "/6158"}};

TEST_F(Schedules, WritersStoreShortRowsEmptyAndIgnorePlansBeyondTwelve) {
  for (const Family &f : kFamilies) {
    std::string body = R"({"camId": 3, "enable": 1, "interval": 5, "schedule": )" +
                       schedule_json(3, 14) + "}";
    EXPECT_EQ(call(f.write_path, body), kTextOk) << f.write_path;
    EXPECT_EQ(sent(1403).back().payload, bytes_of_int(3));

    JsonPtr days = parse_body(call(f.read_path, "3"));
    ASSERT_TRUE(schedule_shape_ok(days.get())) << f.read_path;
    EXPECT_EQ(plan_at(days.get(), 0, 0), "00:00-00:59/0");
    EXPECT_EQ(plan_at(days.get(), 2, 11), "02:00-11:59/13");
    EXPECT_EQ(plan_at(days.get(), 3, 0), "-/0");  // a row the request left out
    EXPECT_EQ(plan_at(days.get(), 7, 11), "-/0");
  }
  schedule s = {};
  ASSERT_EQ(read_motion_email_schedule(KXDB_FILE, &s, 3), 0);
  EXPECT_EQ(s.days[2].plans[12].start_time[0], '\0');  // the 13th plan is not stored
  EXPECT_EQ(s.days[2].plans[12].action_type, 0);
}

TEST_F(Schedules, ShortPlansAndOddElementsStoreWhatIsThere) {
  std::string body = R"({"camId": 0, "schedule": [[["08:00", "12:00", 1], ["13:00"], [],
                       "text", 5, {"a": 1}, [)" "\"" + std::string(40, 't') + R"(", 7, "2"]]]})";
  EXPECT_EQ(call("/6152", body), kTextOk);
  JsonPtr days = parse_body(call("/6153", "0"));
  ASSERT_TRUE(schedule_shape_ok(days.get()));
  EXPECT_EQ(plan_at(days.get(), 0, 0), "08:00-12:00/1");
  EXPECT_EQ(plan_at(days.get(), 0, 1), "13:00-/0");
  EXPECT_EQ(plan_at(days.get(), 0, 2), "-/0");
  EXPECT_EQ(plan_at(days.get(), 0, 3), "-/0");
  EXPECT_EQ(plan_at(days.get(), 0, 6), std::string(31, 't') + "-7/2");
}

TEST_F(Schedules, ReadersShowTheEmptyScheduleForChannelsTheyDoNotHave) {
  for (const char *text : {"64", "-1", "99999999999999999999", "abc", ""}) {
    for (const char *path : {"/6011", "/6120", "/6153", "/6158"}) {
      std::string reply = call(path, text);
      EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
      JsonPtr days = parse_body(reply);
      EXPECT_TRUE(schedule_shape_ok(days.get())) << path << " " << text;
    }
  }
}

TEST_F(Schedules, ChannelsOutsideTheRecorderWriteNothing) {
  for (const char *camId : {"-1", "64", "2147483648", "1e308", "-1e308"}) {
    std::string body = std::string(R"({"camId": )") + camId + R"(, "schedule": )" +
                       schedule_json(8, 12) + "}";
    EXPECT_EQ(call("/6013", body), "") << camId;  // the older page gets no reply
    for (const char *path : {"/6118", "/6152", "/6159"}) {
      EXPECT_EQ(call(path, body), kCgiError) << path << " " << camId;
    }
  }
  EXPECT_TRUE(codes().empty());
  EXPECT_EQ(call("/6013", "not json"), "");
  EXPECT_EQ(call("/6152", ""), "");
  EXPECT_TRUE(codes().empty());
}

TEST_F(Schedules, EmailWriterSetsTheSwitchAndIntervalBesideTheSchedule) {
  motion_params m = {};
  m.id = 10;
  m.sensitivity = 5;
  ASSERT_EQ(write_motion(KXDB_FILE, &m), 0);
  EXPECT_EQ(call("/6118", R"({"camId": 10, "enable": 1, "interval": 60})"), kTextOk);
  motion_params stored = stored_motion_record(10);
  EXPECT_EQ(stored.email_enable, 1);
  EXPECT_EQ(stored.email_interval, 60);
  EXPECT_EQ(stored.sensitivity, 5);  // the rest as it was
}

TEST_F(Schedules, FailedWritesAnswerTheErrorAndTellNobody) {
  BrokenSettings broken;
  std::string body = R"({"camId": 1, "schedule": )" + schedule_json(1, 1) + "}";
  for (const char *path : {"/6013", "/6118", "/6152", "/6159"}) {
    EXPECT_EQ(call(path, body), kCgiError) << path;
  }
  EXPECT_TRUE(codes().empty());
}

}  // namespace
