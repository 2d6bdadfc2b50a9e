// Recycle mode and the eSATA pages.
#include <cmath>

#include "storage_test_util.h"

namespace {

using Esata = StorageTest;

TEST_F(Esata, RecycleModeSetAndGet) {
  daemon().answer(3475, int_answer(0));
  std::string reply = call("/6204", R"({"mode": 1, "esata": 2})");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  EXPECT_EQ(text_member(body.get(), "status"), "OK");
  EXPECT_EQ(sent(3475).at(0).payload, bytes_of(recycle_mode{1, 2}));
  // A refusal is not reported as success; a scrap of an answer is no answer.
  daemon().answer(3475, int_answer(-1));
  EXPECT_EQ(call("/6204", R"({"mode": 1, "esata": 2})"), kJsonError);
  daemon().answer(3475, Bytes{0, 0});
  EXPECT_EQ(call("/6204", R"({"mode": 1, "esata": 2})"), kJsonError);

  daemon().answer(3431, bytes_of(recycle_mode{1, 0}));
  body = parse_body(call("/6205"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"mode", "esata"}));
  EXPECT_EQ(int_member(body.get(), "mode"), 1);
  EXPECT_EQ(int_member(body.get(), "esata"), 0);
  EXPECT_EQ(sent(3431).at(0).payload, int_answer(0));

  daemon().answer(3431, int_answer(1));  // shorter than the record
  EXPECT_EQ(call("/6205"), kJsonError);
  daemon().silent(3475);
  EXPECT_EQ(call("/6204", R"({"mode": 1})"), kJsonError);
  EXPECT_EQ(call("/6204", "x"), "");
}

TEST_F(Esata, BackupPlanIsStoredWhenNotStoppingAndReadBack) {
  daemon().answer(1316, int_answer(0));
  std::string body = R"({"stopBackup": 0, "enable": 1, "streamType": 1, "fileType": 2,
    "recycle": 1, "backupTime": ")" + std::string(40, '9') + R"(", "channel": ")" +
                     std::string(70, '1') + R"(", "device": 3, "port": 4})";
  JsonPtr reply = parse_body(call("/6221", body));
  ASSERT_TRUE(reply);
  EXPECT_EQ(member_names(reply.get()), (std::vector<std::string>{"result"}));
  EXPECT_EQ(int_member(reply.get(), "result"), 0);
  EXPECT_EQ(sent(1316).at(0).payload, int_answer(0));

  std::string got = call("/6220");
  EXPECT_EQ(reply_header(got), "Content-type: application/json\r\n");
  JsonPtr plan = parse_body(got);
  ASSERT_TRUE(plan);
  EXPECT_EQ(member_names(plan.get()),
            (std::vector<std::string>{"enable", "streamType", "fileType", "recycle", "channel",
                                      "backupTime", "device", "port"}));
  EXPECT_EQ(int_member(plan.get(), "fileType"), 2);
  EXPECT_EQ(text_member(plan.get(), "backupTime"), std::string(31, '9'));
  EXPECT_EQ(text_member(plan.get(), "channel"), std::string(64, '1'));
  EXPECT_EQ(int_member(plan.get(), "port"), 4);

  daemon().answer(1316, int_answer(-2));
  reply = parse_body(call("/6221", R"({"stopBackup": 1, "enable": 0})"));
  EXPECT_EQ(int_member(reply.get(), "result"), -2);
  EXPECT_EQ(sent(1316).at(1).payload, int_answer(1));
  EXPECT_EQ(int_member(parse_body(call("/6220")).get(), "enable"), 1);  // kept
}

TEST_F(Esata, BackupPlanFailures) {
  daemon().silent(1316);
  EXPECT_EQ(call("/6221", R"({"stopBackup": 0, "enable": 1})"), kJsonError);
  EXPECT_EQ(call("/6221", ""), "");
  forget();
  BrokenSettings broken;
  EXPECT_EQ(call("/6221", R"({"stopBackup": 0, "enable": 1})"), kJsonError);
  EXPECT_TRUE(sent(1316).empty());
  JsonPtr plan = parse_body(call("/6220"));  // unreadable: the factory default
  EXPECT_EQ(int_member(plan.get(), "enable"), 0);
}

esata_backup_status backup_status(float percent) {
  esata_backup_status s = {};
  s.status = 2;
  snprintf(s.last_time, sizeof s.last_time, "2024-05-01 10:00:00");
  s.percent = percent;
  s.capacity = 500;
  return s;
}

TEST_F(Esata, BackupStatusWritesThePercentWithOneDecimal) {
  daemon().answer(1317, bytes_of(backup_status(12.46f)));
  std::string reply = call("/6222");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{"status", "percent", "last_time", "capacity"}));
  EXPECT_NE(reply.find("12.5"), std::string::npos) << reply;
  EXPECT_EQ(json_object_get_type(json_member(body.get(), "percent")), json_type_double);
  EXPECT_DOUBLE_EQ(json_object_get_double(json_member(body.get(), "percent")), 12.5);
  EXPECT_EQ(text_member(body.get(), "last_time"), "2024-05-01 10:00:00");
  EXPECT_EQ(int_member(body.get(), "capacity"), 500);

  daemon().answer(1317, bytes_of(backup_status(NAN)));
  body = parse_body(call("/6222"));
  ASSERT_TRUE(body);  // still JSON
  EXPECT_EQ(json_object_get_double(json_member(body.get(), "percent")), 0.0);

  esata_backup_status unterminated = backup_status(1.0f);
  memset(unterminated.last_time, 't', sizeof unterminated.last_time);
  daemon().answer(1317, bytes_of(unterminated));
  EXPECT_EQ(text_member(parse_body(call("/6222")).get(), "last_time"), std::string(32, 't'));

  Bytes short_answer = bytes_of(backup_status(1.0f));
  short_answer.resize(43);
  daemon().answer(1317, short_answer);
  EXPECT_EQ(call("/6222"), kJsonError);
}

export_disk_record export_disk(int port, int kind) {
  export_disk_record r = {};
  r.port = (uint8_t)port;
  r.kind = kind;
  return r;
}

TEST_F(Esata, ExportDiskIsTheFirstOfTheEsataKind) {
  daemon().answer(3457, records_answer<export_disk_record>(
                            {export_disk(3, 2), export_disk(9, 5), export_disk(11, 5)}));
  JsonPtr body = parse_body(call("/6223"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"port", "result"}));
  EXPECT_EQ(int_member(body.get(), "port"), 9);
  EXPECT_EQ(int_member(body.get(), "result"), 0);

  daemon().answer(3457, bytes_of(export_disk(3, 1)));
  body = parse_body(call("/6223"));
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"result"}));
  EXPECT_EQ(int_member(body.get(), "result"), -1);
  daemon().silent(3457);
  EXPECT_EQ(call("/6223"), kJsonError);
}

TEST_F(Esata, FormatEsataChecksThePortAndTheBody) {
  EXPECT_EQ(call("/6224", R"({"port": 37})"), kJsonError);
  EXPECT_EQ(call("/6224", R"({"port": -1})"), kJsonError);
  EXPECT_EQ(call("/6224", "not json"), kJsonError);
  EXPECT_TRUE(sent(3535).empty());
  daemon().answer(3535, int_answer(-4));
  JsonPtr body = parse_body(call("/6224", R"({"port": 36})"));
  EXPECT_EQ(int_member(body.get(), "result"), -4);
  EXPECT_EQ(sent(3535).at(0).payload, int_answer(36));
  daemon().silent(3535);
  EXPECT_EQ(call("/6224", R"({"port": 1})"), kJsonError);
}

TEST_F(Esata, AutoBackupStatusStopAndFormatInfo) {
  daemon().answer(3536, int_answer(3));
  daemon().answer(3537, int_answer(0));
  EXPECT_EQ(member_names(parse_body(call("/6225")).get()), (std::vector<std::string>{"status"}));
  EXPECT_EQ(int_member(parse_body(call("/6225")).get(), "status"), 3);
  EXPECT_EQ(int_member(parse_body(call("/6226")).get(), "result"), 0);

  format_info_record info = {1, 55, 4, {0, 0}, 2};
  daemon().answer(3540, bytes_of(info));
  JsonPtr body = parse_body(call("/6227"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"status", "port", "type", "percent"}));
  EXPECT_EQ(int_member(body.get(), "status"), 1);
  EXPECT_EQ(int_member(body.get(), "port"), 4);
  EXPECT_EQ(int_member(body.get(), "type"), 2);
  EXPECT_EQ(int_member(body.get(), "percent"), 55);

  daemon().answer(3540, Bytes(11, 1));  // shorter than the record
  EXPECT_EQ(call("/6227"), kJsonError);
  for (int code : {3536, 3537}) daemon().answer(code, Bytes{1});
  EXPECT_EQ(call("/6225"), kJsonError);
  EXPECT_EQ(call("/6226"), kJsonError);
}

}  // namespace
