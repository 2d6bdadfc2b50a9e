// The disk list ("/6100"): daemon records merged with stored shares.
#include "storage_test_util.h"

namespace {

using DiskList = StorageTest;

daemon_disk_info local_disk(int port) {
  daemon_disk_info d = {};
  d.port = port;
  snprintf(d.vendor, sizeof d.vendor, "Disk%d", port);
  d.state = 1;
  d.usable = 1;
  d.total_size = 1ULL << 40;
  d.used_size = 3ULL << 20;
  d.free_size = (1ULL << 40) - (3ULL << 20);
  d.hdd_type = 1;
  d.group = 2;
  return d;
}

json_object *disk_at(json_object *body, int i) {
  return json_object_array_get_idx(json_member(body, "HDD"), (size_t)i);
}

int listed(json_object *body) {
  return (int)json_object_array_length(json_member(body, "HDD"));
}

TEST_F(DiskList, ListsDaemonDisksInPortOrderWithKeysAndSizesInMiB) {
  set_param_int(KXDB_FILE, "esata_type", 2);
  daemon_disk_info nine = local_disk(9), one = local_disk(1);
  daemon_disk_info zero = local_disk(0), beyond = local_disk(37);
  daemon().answer(3433, records_answer<daemon_disk_info>({nine, zero, beyond, one}));

  std::string reply = call("/6100");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{"resultString", "esataType", "HDD", "maxDiskNum"}));
  EXPECT_EQ(text_member(body.get(), "resultString"), "OK");
  EXPECT_EQ(int_member(body.get(), "esataType"), 2);
  EXPECT_EQ(int_member(body.get(), "maxDiskNum"), 36);
  ASSERT_EQ(listed(body.get()), 2);  // ports 0 and 37 dropped
  json_object *first = disk_at(body.get(), 0);
  EXPECT_EQ(member_names(first),
            (std::vector<std::string>{
                "portId", "vendorName", "address", "directory", "totalSize", "usedSize",
                "freeSize", "hddType", "state", "group", "property", "bUsable", "raid_id",
                "raid_level", "raid_state", "raid_progress", "raid_sata_cnt", "raid_task",
                "userName", "password", "raid_sata_port"}));
  EXPECT_EQ(int_member(first, "portId"), 1);
  EXPECT_EQ(int_member(first, "raid_id"), 1);
  EXPECT_EQ(text_member(first, "vendorName"), "Disk1");
  EXPECT_EQ(int_member(first, "totalSize"), 1048576);
  EXPECT_EQ(int_member(first, "usedSize"), 3);
  EXPECT_EQ(int_member(first, "freeSize"), 1048573);
  EXPECT_EQ(int_member(first, "group"), 2);
  EXPECT_EQ(int_member(disk_at(body.get(), 1), "portId"), 9);
}

TEST_F(DiskList, StoredSharesAreMergedWithTheirFullDirectory) {
  std::string long_dir = "/" + std::string(126, 'd');  // 127 characters
  disk_params reported = nas_entry(4, DISK_TYPE_NFS, "10.0.0.9", long_dir.c_str());
  snprintf(reported.userName, sizeof reported.userName, "a b&c");
  snprintf(reported.password, sizeof reported.password, "p%%w");
  disk_params quiet = nas_entry(7, DISK_TYPE_SMB, "nas.local", "/share");
  quiet.group = 3;
  disk_params off = nas_entry(8, DISK_TYPE_SMB, "x", "/x");
  off.enable = 0;
  for (auto *d : {&reported, &quiet, &off}) ASSERT_EQ(write_disk(KXDB_FILE, d), 0);

  daemon_disk_info nas = {};
  nas.port = 4;
  nas.hdd_type = DISK_TYPE_NFS;
  nas.state = 1;
  snprintf(nas.address, sizeof nas.address, "daemon-address");
  daemon().answer(3433, bytes_of(nas));

  JsonPtr body = parse_body(call("/6100"));
  ASSERT_TRUE(body);
  ASSERT_EQ(listed(body.get()), 2);  // the disabled entry is not listed
  json_object *four = disk_at(body.get(), 0);
  EXPECT_EQ(text_member(four, "address"), "10.0.0.9");
  EXPECT_EQ(text_member(four, "directory"), long_dir);
  EXPECT_EQ(text_member(four, "userName"), "a%20b%26c");
  EXPECT_EQ(text_member(four, "password"), "p%25w");
  EXPECT_EQ(int_member(four, "state"), 1);  // the daemon's own fields stay
  json_object *seven = disk_at(body.get(), 1);
  EXPECT_EQ(int_member(seven, "portId"), 7);
  EXPECT_EQ(int_member(seven, "state"), 2);  // stored but not reported
  EXPECT_EQ(int_member(seven, "hddType"), DISK_TYPE_SMB);
  EXPECT_EQ(int_member(seven, "group"), 3);
  EXPECT_EQ(int_member(seven, "property"), 1);
  EXPECT_EQ(text_member(seven, "directory"), "/share");
}

TEST_F(DiskList, LocalDisksKeepTheDaemonTextsOverAStoredRecord) {
  disk_params stored = nas_entry(2, DISK_TYPE_NFS, "stored", "/stored");
  ASSERT_EQ(write_disk(KXDB_FILE, &stored), 0);
  daemon().answer(3433, bytes_of(local_disk(2)));
  JsonPtr body = parse_body(call("/6100"));
  ASSERT_TRUE(body);
  ASSERT_EQ(listed(body.get()), 1);
  EXPECT_EQ(text_member(disk_at(body.get(), 0), "address"), "");
  EXPECT_EQ(text_member(disk_at(body.get(), 0), "vendorName"), "Disk2");
}

TEST_F(DiskList, RaidMembersAreReportedAsABitMask) {
  daemon_disk_info raid = local_disk(10);
  raid.hdd_type = DISK_TYPE_RAID;
  raid.raid_sata_cnt = 3;
  raid.raid_sata_port[0] = 1;
  raid.raid_sata_port[1] = 2;
  raid.raid_sata_port[2] = 3;
  raid.raid_progress = 40;
  daemon_disk_info odd = local_disk(11);  // zero, 31, 32 and beyond count
  odd.raid_sata_cnt = 4;
  odd.raid_sata_port[0] = 0;
  odd.raid_sata_port[1] = 31;
  odd.raid_sata_port[2] = 32;
  odd.raid_sata_port[3] = -4;
  odd.raid_sata_port[4] = 5;  // beyond the count
  daemon_disk_info many = local_disk(12);  // a count above 16 reads 16 ports
  many.raid_sata_cnt = 1000;
  for (int i = 0; i < RAID_MEMBERS_MAX; i++) many.raid_sata_port[i] = i + 1;
  daemon_disk_info negative = local_disk(13);
  negative.raid_sata_cnt = -2;
  negative.raid_sata_port[0] = 4;
  daemon().answer(3433, records_answer<daemon_disk_info>({raid, odd, many, negative}));

  JsonPtr body = parse_body(call("/6100"));
  ASSERT_TRUE(body);
  ASSERT_EQ(listed(body.get()), 4);
  EXPECT_EQ(int_member(disk_at(body.get(), 0), "raid_sata_port"), 14);
  EXPECT_EQ(int_member(disk_at(body.get(), 0), "raid_task"), 40);
  EXPECT_EQ(int_member(disk_at(body.get(), 0), "raid_progress"), 40);
  EXPECT_EQ((uint32_t)int_member(disk_at(body.get(), 1), "raid_sata_port"), 1u << 31);
  EXPECT_EQ(int_member(disk_at(body.get(), 2), "raid_sata_port"), 0x1FFFE);
  EXPECT_EQ(int_member(disk_at(body.get(), 3), "raid_sata_port"), 0);
}

TEST_F(DiskList, UntrustedDaemonRecordsAreReadWithinTheirFields) {
  daemon_disk_info d = local_disk(3);
  memset(d.vendor, 'v', sizeof d.vendor);  // no terminator
  memset(d.directory, 'p', sizeof d.directory);
  memset(d.user_name, 'u', sizeof d.user_name);
  Bytes answer = bytes_of(d);
  answer.resize(answer.size() + 100, 0x7f);  // a cut-off second record is dropped
  daemon().answer(3433, answer);
  JsonPtr body = parse_body(call("/6100"));
  ASSERT_TRUE(body);
  ASSERT_EQ(listed(body.get()), 1);
  EXPECT_EQ(text_member(disk_at(body.get(), 0), "vendorName"), std::string(64, 'v'));
  EXPECT_EQ(text_member(disk_at(body.get(), 0), "directory"), std::string(128, 'p'));
  EXPECT_EQ(text_member(disk_at(body.get(), 0), "userName"), std::string(33, 'u'));
}

TEST_F(DiskList, NothingToListAndTimeOut) {
  daemon().answer(3433, int_answer(0));  // no whole record
  JsonPtr body = parse_body(call("/6100"));
  ASSERT_TRUE(body);
  EXPECT_EQ(text_member(body.get(), "resultString"), "NO");
  EXPECT_EQ(listed(body.get()), 0);

  disk_params share = nas_entry(5, DISK_TYPE_NFS, "a", "/b");
  ASSERT_EQ(write_disk(KXDB_FILE, &share), 0);
  body = parse_body(call("/6100"));
  EXPECT_EQ(text_member(body.get(), "resultString"), "OK");

  daemon().silent(3433);
  EXPECT_EQ(call("/6100"), kJsonError);
}

}  // namespace
