// Recording records and the integer column writer.
#include <gtest/gtest.h>

#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "kxdb.h"
#include "kxdb_camera.h"
#include "kxdb_record.h"

namespace {

class RecordSettingsDb : public ::testing::Test {
 protected:
  void SetUp() override { clean(); }
  void TearDown() override { clean(); }
  static void clean() {
    kxdb_close_all();
    rmdir(KXDB_FILE);
    unlink(KXDB_FILE);
    unlink((std::string(KXDB_FILE) + "-journal").c_str());
  }
  static record_params record(int channel) {
    record_params r = {};
    EXPECT_EQ(read_record(KXDB_FILE, &r, channel), 0);
    return r;
  }
};

TEST_F(RecordSettingsDb, ColumnOfANeverWrittenRowIsStoredOverItsDefault) {
  record_params kept = {};
  kept.id = 2;
  kept.mode = 1;
  kept.postRecordDuration = 45;
  kept.reserved[39] = 'r';
  ASSERT_EQ(write_record(KXDB_FILE, &kept), 0);
  ASSERT_EQ(copy_table_column_int(KXDB_FILE, "record", "mode", 2, (1ULL << 2) | (1ULL << 63), "id"),
            0);
  record_params r = record(2);
  EXPECT_EQ(r.mode, 2);
  EXPECT_EQ(r.postRecordDuration, 45);
  EXPECT_EQ(r.reserved[39], 'r');
  EXPECT_EQ(record(63).mode, 2);
  EXPECT_EQ(record(63).id, 63);
  EXPECT_EQ(record(62).mode, 0);
  record_params all[RECORD_CHANNELS];
  int count = 0;
  ASSERT_EQ(read_records(KXDB_FILE, all, &count), 0);
  EXPECT_EQ(count, 64);
  for (int ch = 0; ch < RECORD_CHANNELS; ch++) EXPECT_EQ(all[ch].id, ch);
  EXPECT_EQ(all[63].mode, 2);
}

TEST_F(RecordSettingsDb, CameraColumnsLandAtTheirFields) {
  camera_params c = {};
  c.id = 5;
  c.enable = 1;
  snprintf(c.ipAddr, sizeof c.ipAddr, "10.0.0.5");
  ASSERT_EQ(write_camera(KXDB_FILE, &c), 0);
  ASSERT_EQ(copy_table_column_int(KXDB_FILE, "camera", "anr", 1, (1ULL << 5) | 1, "id"), 0);
  ASSERT_EQ(copy_table_column_int(KXDB_FILE, "camera", "record_stream", 2, 1ULL << 5, "id"), 0);
  auto cameras = std::make_unique<camera_params[]>(CAMERA_CHANNELS);
  int count = 0;
  ASSERT_EQ(read_cameras(KXDB_FILE, cameras.get(), &count), 0);
  EXPECT_EQ(count, 64);
  EXPECT_EQ(cameras[5].anr, 1);
  EXPECT_EQ(cameras[5].record_stream, 2);
  EXPECT_EQ(cameras[5].enable, 1);
  EXPECT_STREQ(cameras[5].ipAddr, "10.0.0.5");
  EXPECT_EQ(cameras[0].anr, 1);
  EXPECT_EQ(cameras[0].id, 0);
  EXPECT_EQ(cameras[0].record_stream, 0);
  EXPECT_EQ(cameras[1].anr, 0);
}

TEST_F(RecordSettingsDb, UnknownColumnsAndKeysAreRefused) {
  EXPECT_EQ(copy_table_column_int(KXDB_FILE, "record", "audioEnable", 1, 1, "id"), -1);
  EXPECT_EQ(copy_table_column_int(KXDB_FILE, "camera", "mode", 1, 1, "id"), -1);
  EXPECT_EQ(copy_table_column_int(KXDB_FILE, "record", "mode", 1, 1, "channel"), -1);
  EXPECT_EQ(copy_table_column_int(KXDB_FILE, nullptr, "mode", 1, 1, "id"), -1);
  EXPECT_EQ(record(0).mode, 0);
}

TEST_F(RecordSettingsDb, FailedStoreReportsAndKeepsNothing) {
  mkdir(KXDB_FILE, 0755);
  EXPECT_EQ(copy_table_column_int(KXDB_FILE, "record", "mode", 1, 1, "id"), -1);
  record_params all[RECORD_CHANNELS] = {};
  EXPECT_EQ(write_records(KXDB_FILE, all, 1), -1);
  auto s = std::make_unique<record_schedule>();
  EXPECT_EQ(copy_record_schedules(KXDB_FILE, s.get(), 1), -1);
  holiday_params h = {};
  EXPECT_EQ(write_holiday(KXDB_FILE, &h), -1);
}

TEST_F(RecordSettingsDb, RecordsWrittenByMaskUnderTheirChannel) {
  record_params all[RECORD_CHANNELS] = {};
  for (int ch = 0; ch < RECORD_CHANNELS; ch++) all[ch].audioEnable = 100 + ch;
  all[9].id = 40;  // the position decides the channel
  ASSERT_EQ(write_records(KXDB_FILE, all, (1ULL << 9) | (1ULL << 33)), 0);
  EXPECT_EQ(record(9).audioEnable, 109);
  EXPECT_EQ(record(33).audioEnable, 133);
  EXPECT_EQ(record(40).audioEnable, 0);
  EXPECT_EQ(record(0).audioEnable, 0);
}

}  // namespace
