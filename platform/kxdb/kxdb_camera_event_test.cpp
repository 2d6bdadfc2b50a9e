// Snapshot, camera trigger, regional counting and PTZ entry accessors: keys,
// refusals and the steps that must not leave half a change behind.
#include <gtest/gtest.h>

#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "kxdb.h"
#include "kxdb_ptz_entries.h"
#include "kxdb_regional.h"
#include "kxdb_snapshot.h"

namespace {

class CameraEventDb : public ::testing::Test {
 protected:
  void SetUp() override { clean(); }
  void TearDown() override { clean(); }
  static void clean() {
    kxdb_close_all();
    rmdir(KXDB_FILE);
    unlink(KXDB_FILE);
    unlink((std::string(KXDB_FILE) + "-journal").c_str());
  }
};

TEST_F(CameraEventDb, SnapshotSchedulesWrittenForTheListOnly) {
  auto all = std::make_unique<snapshot_schedule[]>(SNAPSHOT_CHANNELS);
  for (int ch = 0; ch < SNAPSHOT_CHANNELS; ch++) all[ch].week.days[0].plans[0].action_type = ch;
  snapshot_channel_list list = {{4, 9}, 2};
  ASSERT_EQ(write_snapshot_schedules(KXDB_FILE, all.get(), &list), 0);
  auto s = std::make_unique<snapshot_schedule>();
  for (int ch : {4, 9, 5}) {
    ASSERT_EQ(read_snapshot_schedule(KXDB_FILE, s.get(), ch), 0);
    EXPECT_EQ(s->week.days[0].plans[0].action_type, ch == 5 ? 0 : ch);
  }
  // A listed channel out of range refuses the whole list.
  snapshot_channel_list bad = {{5, 64}, 2};
  EXPECT_EQ(write_snapshot_schedules(KXDB_FILE, all.get(), &bad), -1);
  ASSERT_EQ(read_snapshot_schedule(KXDB_FILE, s.get(), 5), 0);
  EXPECT_EQ(s->week.days[0].plans[0].action_type, 0);
  EXPECT_EQ(read_snapshot_schedule(KXDB_FILE, s.get(), 64), -1);
}

TEST_F(CameraEventDb, TriggersAndSnapshotsKeyedByChannel) {
  camera_trigger_params t = {};
  t.camId = 7;
  t.triActions = 2;
  ASSERT_EQ(write_cameraio(KXDB_FILE, &t), 0);
  camera_trigger_params r = {};
  ASSERT_EQ(read_volumedetect(KXDB_FILE, &r, 7), 0);
  EXPECT_EQ(r.camId, 7);
  EXPECT_EQ(r.triActions, 0);
  ASSERT_EQ(read_cameraio(KXDB_FILE, &r, 7), 0);
  EXPECT_EQ(r.triActions, 2);
  t.camId = 64;
  EXPECT_EQ(write_cameraio(KXDB_FILE, &t), -1);
  snapshot_params p = {};
  p.quality = 3;
  ASSERT_EQ(copy_snapshots(KXDB_FILE, &p, (1ULL << 63) | 2), 0);
  ASSERT_EQ(read_snapshot(KXDB_FILE, &p, 63), 0);
  EXPECT_EQ(p.channel, 63);
  EXPECT_EQ(p.quality, 3);
}

TEST_F(CameraEventDb, RegionalRecordsKeptPerRegion) {
  smart_event e = {};
  e.channel = 2;
  e.interval = 9;
  ASSERT_EQ(write_regional_pcnt_event(KXDB_FILE, &e, 3), 0);
  ASSERT_EQ(copy_regional_pcnt_event(KXDB_FILE, &e, 3, 1ULL << 5), 0);
  smart_event r = {};
  ASSERT_EQ(read_regional_pcnt_event(KXDB_FILE, &r, 5, 3), 0);
  EXPECT_EQ(r.channel, 5);
  EXPECT_EQ(r.interval, 9);
  ASSERT_EQ(read_regional_pcnt_event(KXDB_FILE, &r, 2, 2), 0);
  EXPECT_EQ(r.interval, 0);
  EXPECT_EQ(write_regional_pcnt_event(KXDB_FILE, &e, 4), -1);
  auto s = std::make_unique<schedule>();
  for (int kind : {0, 5, 7}) {
    EXPECT_EQ(write_regional_pcnt_schedule(KXDB_FILE, kind, s.get(), 1, 0), -1) << kind;
  }
  for (int kind : {1, 2, 3, 4, 6}) {
    EXPECT_EQ(write_regional_pcnt_schedule(KXDB_FILE, kind, s.get(), 1, 0), 0) << kind;
  }
  EXPECT_EQ(regional_pcnt_white_table(4), nullptr);
  EXPECT_STREQ(regional_pcnt_http_table(1), "regional_pcnt1_http_notification_params");
}

TEST_F(CameraEventDb, PtzEntriesCompactedInOrder) {
  ptz_action_params e = {};
  e.chn_id = 1;
  for (int camera : {5, 6, 7}) {
    e.acto_ptz_channel = camera;
    ASSERT_EQ(write_ptz_params(KXDB_FILE, &e, 9), 0);
  }
  EXPECT_EQ(delete_ptz_params(KXDB_FILE, &e, 9, 5), 0);
  ptz_action_params list[PTZ_ACTION_MAX] = {};
  int count = 0;
  ASSERT_EQ(read_ptz_params(KXDB_FILE, list, 9, 1, &count), 0);
  EXPECT_EQ(list[0].acto_ptz_channel, 6);
  EXPECT_EQ(list[1].acto_ptz_channel, 7);
  EXPECT_EQ(list[2].acto_ptz_channel, 0);
  e.acto_ptz_channel = 8;
  EXPECT_EQ(write_ptz_params(KXDB_FILE, &e, 14), -1);
  EXPECT_EQ(write_ptz_params(KXDB_FILE, &e, 21), -1);
  e.chn_id = 64;
  EXPECT_EQ(write_ptz_params(KXDB_FILE, &e, 9), -1);
  EXPECT_FALSE(ptz_event_type_valid(-1));
  EXPECT_EQ(ptz_event_capacity(20), 16);
  EXPECT_EQ(ptz_event_capacity(22), 64);
}

}  // namespace
