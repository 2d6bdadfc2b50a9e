// The endpoint table, the dispatcher, and the storage settings accessors.
#include "storage.h"
#include "storage_test_util.h"

namespace {

using StorageModule = StorageTest;

TEST_F(StorageModule, EveryPathIsRegistered) {
  const char *paths[] = {"/6100", "/6101", "/6102", "/6103", "/6104", "/6105", "/6106", "/6107",
                         "/6108", "/6109", "/6200", "/6201", "/6202", "/6203", "/6204", "/6205",
                         "/6206", "/6207", "/6208", "/6209", "/6210", "/6220", "/6221", "/6222",
                         "/6223", "/6224", "/6225", "/6226", "/6227"};
  for (const char *path : paths) EXPECT_NE(FindWebRes(path), nullptr) << path;
  EXPECT_EQ(FindWebRes("/6100")->handler, on_get_disk_info);
  EXPECT_EQ(FindWebRes("/6222")->handler, on_get_esata_auto_backup_status);
  EXPECT_EQ(FindWebRes("/6211"), nullptr);
}

TEST_F(StorageModule, DispatcherIgnoresMissingPayloadsAndUnknownCodes) {
  kx_msg_head head = {};
  head.code = 8433;
  head.length = 0;
  g_callback_done = 0;
  on_storage_ipc_callback(0, &head, nullptr);
  int32_t zero = 0;
  head.code = 8999;
  head.length = 4;
  on_storage_ipc_callback(0, &head, &zero);
  EXPECT_EQ(g_callback_done, 0);
  EXPECT_EQ(take_output(), "");
  head.code = 8475;  // the recycle answer is "OK" whatever came
  on_storage_ipc_callback(0, &head, &zero);
  EXPECT_EQ(g_callback_done, 1);
  EXPECT_EQ(reply_header(take_output()), "Content-type: application/json\r\n");
}

TEST_F(StorageModule, DiskRecordsReadAsDefaultsUntilWritten) {
  disk_params d = {};
  ASSERT_EQ(read_disk(KXDB_FILE, &d, 17), 0);
  EXPECT_EQ(d.port, 17);
  EXPECT_EQ(d.enable, 0);
  d.enable = 1;
  snprintf(d.directory, sizeof d.directory, "/x");
  ASSERT_EQ(write_disk(KXDB_FILE, &d), 0);

  disk_params all[DISK_RECORDS];
  int count = 0;
  ASSERT_EQ(read_disks(KXDB_FILE, all, &count), 0);
  ASSERT_EQ(count, 36);
  for (int i = 0; i < DISK_RECORDS; i++) EXPECT_EQ(all[i].port, i + 1);
  EXPECT_EQ(all[16].enable, 1);
  EXPECT_STREQ(all[16].directory, "/x");

  disk_params keep = {};
  keep.port = 99;
  EXPECT_EQ(read_disk(KXDB_FILE, &keep, 37), -1);
  EXPECT_EQ(keep.port, 99);
  keep.port = 37;
  EXPECT_EQ(write_disk(KXDB_FILE, &keep), -1);
  keep.port = -1;
  EXPECT_EQ(write_disk(KXDB_FILE, &keep), -1);
}

TEST_F(StorageModule, SeveralDisksAreWrittenAllOrNone) {
  disk_params two[2] = {};
  two[0].port = 5;
  two[0].enable = 1;
  two[1].port = 40;
  two[1].enable = 1;
  EXPECT_EQ(write_disks(KXDB_FILE, two, 2), -1);
  EXPECT_EQ(stored_disk(5).enable, 0);
  two[1].port = 6;
  EXPECT_EQ(write_disks(KXDB_FILE, two, 2), 0);
  EXPECT_EQ(stored_disk(5).enable, 1);
  EXPECT_EQ(stored_disk(6).enable, 1);
}

TEST_F(StorageModule, GroupsAndBackupPlan) {
  disk_group_params groups[DISK_GROUPS];
  int count = 0;
  ASSERT_EQ(read_groups(KXDB_FILE, groups, &count), 0);
  EXPECT_EQ(count, 16);
  EXPECT_EQ(groups[15].id, 15);
  disk_group_params g = {};
  g.id = 16;
  EXPECT_EQ(write_group(KXDB_FILE, &g), -1);
  g.id = 2;
  snprintf(g.channel, sizeof g.channel, "101");
  ASSERT_EQ(write_group(KXDB_FILE, &g), 0);
  ASSERT_EQ(read_groups(KXDB_FILE, groups, &count), 0);
  EXPECT_STREQ(groups[2].channel, "101");

  esata_auto_backup_params plan = {};
  ASSERT_EQ(read_esata_auto_backup(KXDB_FILE, &plan), 0);
  EXPECT_EQ(plan.enable, 0);
  plan.enable = 1;
  plan.id = 1;
  EXPECT_EQ(write_esata_auto_backup(KXDB_FILE, &plan), -1);
  plan.id = 0;
  ASSERT_EQ(write_esata_auto_backup(KXDB_FILE, &plan), 0);
  esata_auto_backup_params back = {};
  ASSERT_EQ(read_esata_auto_backup(KXDB_FILE, &back), 0);
  EXPECT_EQ(back.enable, 1);
}

}  // namespace
