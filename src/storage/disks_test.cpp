// Disk settings, formatting, S.M.A.R.T. and taking disks out of use.
#include "storage_test_util.h"

namespace {

using Disks = StorageTest;

TEST_F(Disks, SetDiskInfoStoresNotifiesAndLogs) {
  disk_params before = {};
  before.port = 3;
  before.group = 5;
  before.hddType = 1;
  ASSERT_EQ(write_disk(KXDB_FILE, &before), 0);

  EXPECT_EQ(call("/6101", R"({"portId": 3, "property": 1, "private": 1})"), kTextOk);
  disk_params after = stored_disk(3);
  EXPECT_EQ(after.property, 1);
  EXPECT_EQ(after.group, 5);  // kept when "group" is absent
  EXPECT_EQ(after.hddType, 1);
  auto notices = sent(3435);
  ASSERT_EQ(notices.size(), 1u);
  auto request = record_from<disk_info_request>(notices[0].payload);
  EXPECT_EQ(notices[0].payload.size(), 16u);
  EXPECT_EQ(request.port, 3);
  EXPECT_EQ(request.property, 1);
  EXPECT_EQ(request.group, 5);
  EXPECT_EQ(request.is_private, 1);
  auto entries = logs();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].main_type, 4);
  EXPECT_EQ(entries[0].sub_type, 204);
  EXPECT_EQ(entries[0].param_type, 919);
  EXPECT_EQ(entries[0].channel, 3);
  EXPECT_STREQ(entries[0].user_name, "admin");
  EXPECT_EQ(entries[0].detail_size, 0);

  forget();
  EXPECT_EQ(call("/6101", R"({"portId": 0, "property": 0, "group": 2})"), kTextOk);
  EXPECT_EQ(stored_disk(0).group, 2);
  EXPECT_EQ(record_from<disk_info_request>(sent(3435).at(0).payload).group, 2);
  EXPECT_EQ(record_from<disk_info_request>(sent(3435).at(0).payload).is_private, 0);
}

TEST_F(Disks, SetDiskInfoChecksPortAndPropertySilently) {
  for (const char *body : {R"({"portId": 36, "property": 1})", R"({"portId": -1, "property": 1})",
                           R"({"portId": 2, "property": 2})", R"({"property": 1})",
                           R"({"portId": 2})", "not json", "",
                           // only the 16 groups that exist (the quota page shows group + 1)
                           R"({"portId": 2, "property": 1, "group": 16})",
                           R"({"portId": 2, "property": 1, "group": -1})",
                           R"({"portId": 2, "property": 1, "group": 2147483647})"}) {
    EXPECT_EQ(call("/6101", body), "") << body;
  }
  EXPECT_EQ(call("/6101", R"({"portId": 35, "property": 0})"), kTextOk);
  EXPECT_EQ(sent(3435).size(), 1u);
  EXPECT_EQ(logs().size(), 1u);
}

TEST_F(Disks, AFailedSettingsWriteIsAnErrorWithoutNoticeOrLog) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6101", R"({"portId": 1, "property": 1})"), kCgiError);
  EXPECT_TRUE(sent(3435).empty());
  EXPECT_TRUE(logs().empty());
}

TEST_F(Disks, FormatRepliesTheDaemonsVerdictAndLogsIt) {
  struct Case {
    int32_t answer;
    std::string reply;
    int32_t logged;
  };
  for (const Case &c : {Case{0, kTextOk, 1}, Case{1, kTextHeader + "USING", -1},
                        Case{-1, kTextHeader + "ERROR FORMAT", -1},
                        Case{-3, kTextHeader + "NAS LOW CAP", -1}, Case{7, "", -1}}) {
    forget();
    daemon().answer(3434, int_answer(c.answer));
    EXPECT_EQ(call("/6102", "5"), c.reply) << c.answer;
    auto payload = sent(3434).at(0).payload;
    EXPECT_EQ(payload, int_answer(5));
    auto entries = logs();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].sub_type, 207);
    EXPECT_EQ(entries[0].param_type, 900);
    EXPECT_EQ(entries[0].channel, 5);
    int kind = 0;
    auto detail = detail_of<format_log_detail>(entries[0], &kind);
    EXPECT_EQ(kind, 102);
    EXPECT_EQ(detail.port, 5);
    EXPECT_EQ(detail.result, c.logged) << c.answer;
  }
}

TEST_F(Disks, FormatTimeOutAndRangeOfThePort) {
  daemon().silent(3434);
  EXPECT_EQ(call("/6102", "36"), kJsonError);
  auto entries = logs();
  ASSERT_EQ(entries.size(), 1u);  // still logged, as a failure
  EXPECT_EQ(detail_of<format_log_detail>(entries[0]).result, -1);

  daemon().answer(3434, Bytes{0, 0});  // too short to hold a result
  EXPECT_EQ(call("/6102", "2"), kJsonError);

  forget();
  EXPECT_EQ(call("/6102", "37"), "");
  EXPECT_EQ(call("/6102", "-1"), "");
  EXPECT_EQ(call("/6102", "99999999999"), "");
  EXPECT_TRUE(sent(3434).empty());
  EXPECT_TRUE(logs().empty());
}

TEST_F(Disks, FormatProgressAcceptsPorts0To16) {
  EXPECT_EQ(call("/6103", "16"), kTextOk);
  EXPECT_EQ(call("/6103", "0"), kTextOk);
  EXPECT_EQ(call("/6103", "17"), "");
  EXPECT_EQ(call("/6103", "-1"), "");
}

smart_attr_record smart(const char *text) {
  smart_attr_record r = {};
  snprintf(r.text, sizeof r.text, "%s", text);
  return r;
}

TEST_F(Disks, SmartSendsTheLastOfTheFirstNumPortsAndLooksForPassed) {
  daemon().answer(3403, records_answer<smart_attr_record>({smart("result: PASSED"), smart("x")}));
  std::string reply = call("/6206", R"({"num": 2, "port": [3, 4, 5]})");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  EXPECT_EQ(int_member(parse_body(reply).get(), "selfEvaluation"), 1);
  EXPECT_EQ(sent(3403).at(0).payload, int_answer(4));

  forget();
  daemon().answer(3403, bytes_of(smart("FAILED")));
  EXPECT_EQ(int_member(parse_body(call("/6206", R"({"num": 0, "port": [3]})")).get(), "selfEvaluation"),
            0);
  EXPECT_EQ(sent(3403).at(0).payload, int_answer(0));

  smart_attr_record unterminated = {};
  memset(unterminated.text, 'x', sizeof unterminated.text);
  memcpy(unterminated.text + 22, "PASSED", 6);
  daemon().answer(3403, bytes_of(unterminated));
  EXPECT_EQ(int_member(parse_body(call("/6206", R"({"num": 1, "port": [1]})")).get(), "selfEvaluation"),
            1);

  daemon().answer(3403, Bytes(39, 0));  // shorter than a record
  EXPECT_EQ(call("/6206", R"({"num": 1, "port": [1]})"), kJsonError);
}

TEST_F(Disks, RemoveSpaceByTypeSendsTheMatchingRequest) {
  disk_params local = nas_entry(6, 1, "kept?", "/no");
  disk_params share = nas_entry(7, DISK_TYPE_NFS, "10.0.0.1", "/nfs");
  ASSERT_EQ(write_disk(KXDB_FILE, &local), 0);
  ASSERT_EQ(write_disk(KXDB_FILE, &share), 0);
  for (int code : {3421, 3508, 3496}) daemon().answer(code, int_answer(0));

  EXPECT_EQ(call("/6207", R"({"port": 12, "hddType": 4})"), kTextOk);
  auto raid = sent(3421);
  ASSERT_EQ(raid.size(), 1u);
  EXPECT_EQ(raid[0].payload.size(), 104u);
  EXPECT_EQ(record_from<raid_request>(raid[0].payload).id, 12);
  EXPECT_EQ(raid[0].payload, bytes_of(raid_request{12}));
  EXPECT_EQ(stored_disk(12).property, 0);  // arrays have no settings record to reset

  for (const char *body : {R"({"port": 7, "hddType": 3})", R"({"port": 7, "hddType": 10})"}) {
    EXPECT_EQ(call("/6207", body), kTextOk);
  }
  auto nas = sent(3508);
  ASSERT_EQ(nas.size(), 2u);
  auto list = record_from<nas_port_list>(nas[0].payload);
  EXPECT_EQ(nas[0].payload.size(), 136u);
  EXPECT_EQ(list.count, 1);
  EXPECT_EQ(list.port[0], 7);
  EXPECT_STREQ(stored_disk(7).address, "10.0.0.1");  // shares are the daemon's to drop

  EXPECT_EQ(call("/6207", R"({"port": 6, "hddType": 1})"), kTextOk);
  EXPECT_EQ(sent(3496).at(0).payload, int_answer(6));
  disk_params reset = stored_disk(6);
  EXPECT_EQ(reset.property, 1);
  EXPECT_EQ(reset.enable, 0);
  EXPECT_EQ(reset.hddType, 0);
  EXPECT_STREQ(reset.address, "");

  auto entries = logs();  // RAID and local disk, none for the shares
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].sub_type, 224);
  EXPECT_EQ(entries[0].param_type, 900);
  EXPECT_EQ(entries[0].channel, 12);
  EXPECT_EQ(entries[1].channel, 6);
  EXPECT_EQ(codes(), (std::vector<int>{3421, 3485, 3508, 3508, 3496, 3485}));
}

TEST_F(Disks, RemoveSpaceRepliesErrorAndTimeOut) {
  daemon().answer(3496, int_answer(-2));
  EXPECT_EQ(call("/6207", R"({"port": 2, "hddType": 0})"), kTextError);
  daemon().silent(3421);
  EXPECT_EQ(call("/6207", R"({"port": 10, "hddType": 4})"), kCgiError);
  daemon().silent(3508);
  EXPECT_EQ(call("/6207", R"({"port": 3, "hddType": 10})"), kCgiError);
  EXPECT_EQ(logs().size(), 2u);  // still logged after a time-out (RAID, local)
}

TEST_F(Disks, RemoveSpaceOfALocalDiskNeedsItsRecordWritten) {
  EXPECT_EQ(call("/6207", R"({"port": 37, "hddType": 1})"), kCgiError);
  {
    BrokenSettings broken;
    EXPECT_EQ(call("/6207", R"({"port": 2, "hddType": 1})"), kCgiError);
  }
  EXPECT_TRUE(sent(3496).empty());
  EXPECT_TRUE(logs().empty());
}

}  // namespace
