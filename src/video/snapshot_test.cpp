// Scheduled snapshots: the channel lists of the setters, the stored
// records, the notices and the start and stop payloads.
#include "camera_events.h"
#include "kxdb_snapshot.h"
#include "video_test_util.h"

namespace {

using Snapshot = VideoTest;

std::vector<int32_t> listed(const snapshot_channel_list &l) {
  return std::vector<int32_t>(l.channels, l.channels + (l.count > 64 ? 64 : l.count));
}

std::vector<int> selected(const snapshot_switch &s) {
  std::vector<int> out;
  for (int ch = 0; ch < 64; ch++) {
    if (s.selected[ch]) out.push_back(ch);
  }
  return out;
}

std::string stored_first_plan(int channel) {
  snapshot_schedule s = {};
  EXPECT_EQ(read_snapshot_schedule(KXDB_FILE, &s, channel), 0);
  EXPECT_EQ(s.reserved, 0);
  const schedule_plan &p = s.week.days[1].plans[0];
  return std::string(p.start_time) + "-" + p.end_time + "/" + std::to_string(p.action_type);
}

TEST_F(Snapshot, ScheduleListsEachChannelOnceAndSkipsOthers) {
  std::string body =
      R"({"schedule": )" + schedule_json(8, 1) + R"(, "cnt": 3, "chnid": [2, 70, 5]})";
  EXPECT_EQ(call("/6175", body), kTextOk);
  settle();
  auto list = only_payload<snapshot_channel_list>(sent(SNAPSHOT_SCHEDULE_NOTICE));
  EXPECT_EQ(list.count, 2);
  EXPECT_EQ(listed(list), (std::vector<int32_t>{2, 5}));
  EXPECT_EQ(stored_first_plan(2), "01:00-00:59/1");
  EXPECT_EQ(stored_first_plan(5), "01:00-00:59/1");
  EXPECT_EQ(stored_first_plan(3), "-/0");

  // 100 elements of one channel: listed once, not 100 times past the list.
  forget();
  std::string many = "[5";
  for (int i = 1; i < 100; i++) many += ",5";
  EXPECT_EQ(call("/6175", R"({"schedule": [], "cnt": 100, "chnid": )" + many + "]}"), kTextOk);
  settle();
  list = only_payload<snapshot_channel_list>(sent(SNAPSHOT_SCHEDULE_NOTICE));
  EXPECT_EQ(list.count, 1);
  EXPECT_EQ(listed(list), (std::vector<int32_t>{5}));
  EXPECT_EQ(stored_first_plan(5), "-/0");
}

TEST_F(Snapshot, ScheduleCountBeyondTheArrayAndBadBodies) {
  EXPECT_EQ(call("/6175", R"({"schedule": [], "cnt": 9, "chnid": [1, null, "x", 3]})"), kTextOk);
  settle();
  // null and "x" convert to 0 with json-c: channel 0 is listed once.
  auto list = only_payload<snapshot_channel_list>(sent(SNAPSHOT_SCHEDULE_NOTICE));
  EXPECT_EQ(listed(list), (std::vector<int32_t>{1, 0, 3}));
  forget();
  EXPECT_EQ(call("/6175", "{"), kCgiError);
  EXPECT_EQ(call("/6175", ""), kCgiError);
  settle();
  EXPECT_TRUE(sent(SNAPSHOT_SCHEDULE_NOTICE).empty());
}

TEST_F(Snapshot, ScheduleReaderShowsTheStoredWeek) {
  call("/6175", R"({"schedule": )" + schedule_json(8, 2) + R"(, "cnt": 1, "chnid": [4]})");
  JsonPtr days = parse_body(call("/6174", "4"));
  ASSERT_TRUE(schedule_shape_ok(days.get()));
  EXPECT_EQ(plan_at(days.get(), 3, 1), "03:00-01:59/4");
  JsonPtr other = parse_body(call("/6174", "70"));
  ASSERT_TRUE(schedule_shape_ok(other.get()));
  EXPECT_EQ(plan_at(other.get(), 3, 1), "-/0");
  EXPECT_EQ(call("/6174", ""), kCgiError);
}

TEST_F(Snapshot, SettingsCopiedToTheListedChannels) {
  EXPECT_EQ(call("/6177", R"({"resolution": 2, "quality": 3, "interval": 15, "interval_unit": 1,
                              "expiration_date": 7, "cnt": 4, "chnid": [6, 1, 6, 64]})"),
            kTextOk);
  settle();
  auto list = only_payload<snapshot_channel_list>(sent(SNAPSHOT_SETTINGS_NOTICE));
  EXPECT_EQ(listed(list), (std::vector<int32_t>{6, 1}));
  for (int ch : {1, 6}) {
    snapshot_params r = {};
    ASSERT_EQ(read_snapshot(KXDB_FILE, &r, ch), 0);
    EXPECT_EQ(r.channel, ch);
    EXPECT_EQ(std::vector<int>({r.resolution, r.quality, r.interval, r.interval_unit,
                                r.expiration_date}),
              (std::vector<int>{2, 3, 15, 1, 7}));
  }
  JsonPtr reply = parse_body(call("/6176", "6"));
  EXPECT_EQ(member_names(reply.get()), (std::vector<std::string>{"resolution", "quality",
                                                                  "interval", "interval_unit",
                                                                  "expiration_date"}));
  EXPECT_EQ(int_member(reply.get(), "interval"), 15);
  EXPECT_EQ(int_member(parse_body(call("/6176", "2")).get(), "interval"), 0);
  EXPECT_EQ(call("/6176", ""), kCgiError);
  EXPECT_EQ(call("/6177", "nope"), kCgiError);
}

TEST_F(Snapshot, FailedStoresSendNoNotice) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6177", R"({"interval": 1, "cnt": 1, "chnid": [1]})"), kCgiError);
  EXPECT_EQ(call("/6175", R"({"schedule": [], "cnt": 1, "chnid": [1]})"), kCgiError);
  settle();
  EXPECT_TRUE(sent(SNAPSHOT_SETTINGS_NOTICE).empty());
  EXPECT_TRUE(sent(SNAPSHOT_SCHEDULE_NOTICE).empty());
}

TEST_F(Snapshot, StartThenStopPayloadsInOrder) {
  EXPECT_EQ(call("/6178", R"({"snapshotCnt": 2, "snapshotChnId": [3, 63, 9],
                              "stopCnt": 1, "stopChnId": [-1, 4]})"),
            kTextOk);
  settle();
  auto frames = sent(SNAPSHOT_START_STOP);
  ASSERT_EQ(frames.size(), 2u);
  auto start = record_from<snapshot_switch>(frames[0].payload);
  auto stop = record_from<snapshot_switch>(frames[1].payload);
  EXPECT_EQ(start.action, 1);
  EXPECT_EQ(selected(start), (std::vector<int>{3, 63}));
  EXPECT_EQ(stop.action, 0);
  EXPECT_TRUE(selected(stop).empty());

  forget();
  EXPECT_EQ(call("/6178", R"({"snapshotCnt": 0, "stopCnt": 1, "stopChnId": [8]})"), kTextOk);
  settle();
  frames = sent(SNAPSHOT_START_STOP);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(record_from<snapshot_switch>(frames[0].payload).action, 0);
  EXPECT_EQ(selected(record_from<snapshot_switch>(frames[0].payload)), (std::vector<int>{8}));

  forget();
  EXPECT_EQ(call("/6178", R"({"snapshotCnt": 0, "stopCnt": -3, "snapshotChnId": [1]})"), kTextOk);
  EXPECT_EQ(call("/6178", ""), kCgiError);
  settle();
  EXPECT_TRUE(sent(SNAPSHOT_START_STOP).empty());
}

}  // namespace
