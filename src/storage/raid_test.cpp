// RAID creation, removal, hot spares, rebuild and the RAID mode.
#include "storage_test_util.h"

namespace {

using Raid = StorageTest;

TEST_F(Raid, CreateSendsTheMemberPortsOfTheMaskInAscendingOrder) {
  daemon().answer(3420, int_answer(0));
  EXPECT_EQ(call("/6104", R"({"id": 10, "enable": 1, "level": 5, "sata_cnt": 3,
                              "sata_port": 14})"),
            kTextOk);
  auto sent_raid = sent(3420);
  ASSERT_EQ(sent_raid.size(), 1u);
  raid_request expected = {};
  expected.id = 10;
  expected.enable = 1;
  expected.level = 5;
  expected.sata_cnt = 3;
  expected.sata_port[0] = 1;
  expected.sata_port[1] = 2;
  expected.sata_port[2] = 3;
  EXPECT_EQ(sent_raid[0].payload, bytes_of(expected));

  forget();
  daemon().answer(3420, int_answer(4));
  EXPECT_EQ(call("/6104", R"({"id": 15, "enable": 0, "level": 0, "sata_cnt": 2,
                              "sata_port": 163849})"),  // bits 0, 3, 15 and 17
            kTextError);
  auto request = record_from<raid_request>(sent(3420).at(0).payload);
  EXPECT_EQ(request.sata_port[0], 0);
  EXPECT_EQ(request.sata_port[1], 3);
  EXPECT_EQ(request.sata_port[2], 15);
  EXPECT_EQ(request.sata_port[3], 0);  // bit 17 is no member port
}

TEST_F(Raid, CreateChecksEveryKeySilently) {
  for (const char *body : {
           R"({"id": 16, "enable": 1, "level": 1, "sata_cnt": 2, "sata_port": 6})",
           R"({"id": 9, "enable": 1, "level": 1, "sata_cnt": 2, "sata_port": 6})",
           R"({"id": 10, "level": 1, "sata_cnt": 2, "sata_port": 6})",
           R"({"id": 10, "enable": 1, "level": -1, "sata_cnt": 2, "sata_port": 6})",
           R"({"id": 10, "enable": 1, "level": 1, "sata_cnt": -1, "sata_port": 6})",
           R"({"id": 10, "enable": 1, "level": 1, "sata_cnt": 17, "sata_port": 6})",
           R"({"id": 10, "enable": 1, "level": 1, "sata_cnt": 2, "sata_port": -6})",
           "{", ""}) {
    EXPECT_EQ(call("/6104", body), "") << body;
  }
  EXPECT_TRUE(sent(3420).empty());
}

TEST_F(Raid, CreateTimesOutWithCgiError) {
  daemon().silent(3420);
  EXPECT_EQ(call("/6104", R"({"id": 11, "enable": 1, "level": 1, "sata_cnt": 0,
                              "sata_port": 0})"),
            kCgiError);
}

TEST_F(Raid, RemoveAcceptsIds10To16) {
  daemon().answer(3421, int_answer(0));
  EXPECT_EQ(call("/6105", "16"), kTextOk);
  auto removed = sent(3421);
  ASSERT_EQ(removed.size(), 1u);
  Bytes expected = int_answer(16);
  expected.resize(104, 0);
  EXPECT_EQ(removed[0].payload, expected);

  for (const char *body : {"9", "17", "x", ""}) EXPECT_EQ(call("/6105", body), "") << body;
  EXPECT_EQ(sent(3421).size(), 1u);

  daemon().silent(3421);
  EXPECT_EQ(call("/6105", "10"), kCgiError);
}

TEST_F(Raid, HotSpareAndRebuild) {
  daemon().answer(3423, int_answer(0));
  daemon().answer(3424, int_answer(1));
  EXPECT_EQ(call("/6106", R"({"port": 4, "hotflag": 0})"), kTextError);
  EXPECT_EQ(call("/6106", R"({"port": 5, "hotflag": 2})"), kTextOk);
  EXPECT_EQ(sent(3424).at(0).payload, int_answer(4));
  EXPECT_EQ(sent(3423).at(0).payload, int_answer(5));

  daemon().answer(3425, int_answer(0));
  EXPECT_EQ(call("/6107", R"({"diskport": 3, "raidport": 11})"), kTextOk);
  EXPECT_EQ(sent(3425).at(0).payload, bytes_of(raid_rebuild_request{3, 11}));
  daemon().answer(3425, int_answer(-1));
  EXPECT_EQ(call("/6107", R"({"diskport": 3, "raidport": 11})"), kTextError);
  daemon().silent(3425);
  EXPECT_EQ(call("/6107", R"({"diskport": 3, "raidport": 11})"), kCgiError);
  daemon().silent(3423);
  EXPECT_EQ(call("/6106", R"({"port": 5, "hotflag": 1})"), kCgiError);
}

TEST_F(Raid, RaidModeKeepsOnly0Or1) {
  EXPECT_EQ(call("/6108"), kTextHeader + "0");
  EXPECT_EQ(call("/6109", "1"), kTextOk);
  EXPECT_EQ(call("/6108"), kTextHeader + "1");
  EXPECT_EQ(call("/6109", "5"), kTextOk);
  EXPECT_EQ(get_param_int(KXDB_FILE, "raidmode", -1), 0);
  BrokenSettings broken;
  EXPECT_EQ(call("/6109", "1"), kCgiError);
}

}  // namespace
