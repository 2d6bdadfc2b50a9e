// Plan modes of every channel.
#include "record_test_util.h"

namespace {

using PlanModes = RecordTest;

std::string modes_body(int n, int mode = 1) {
  std::string out = R"({"records": [)";
  for (int i = 0; i < n; i++) {
    out += (i ? "," : "") + std::string(R"({"id": 0, "mode": )") + std::to_string(mode) + "}";
  }
  return out + "]}";
}

std::vector<int> listed_modes(const std::string &reply) {
  JsonPtr body = parse_body(reply);
  json_object *list = json_member(body.get(), "records");
  std::vector<int> modes;
  for (size_t i = 0; list && i < json_object_array_length(list); i++) {
    json_object *entry = json_object_array_get_idx(list, i);
    EXPECT_EQ(member_names(entry), (std::vector<std::string>{"id", "mode"}));
    EXPECT_EQ(int_member(entry, "id"), (int)i);
    modes.push_back(int_member(entry, "mode"));
  }
  return modes;
}

TEST_F(PlanModes, ListFollowsMaxCamerasWithinTheTable) {
  EXPECT_EQ(listed_modes(call("/6042")).size(), 32u);  // the default
  set_param_int(KXDB_FILE, "max_cameras", 100);
  EXPECT_EQ(listed_modes(call("/6042")).size(), 64u);
  set_param_int(KXDB_FILE, "max_cameras", -5);
  EXPECT_EQ(listed_modes(call("/6042")).size(), 0u);
  set_param_int(KXDB_FILE, "max_cameras", 2);
  EXPECT_EQ(reply_header(call("/6042")), "Content-type: application/json\r\n");
}

TEST_F(PlanModes, EntriesArePositional) {
  record_params r = {};
  r.id = 0;
  r.audioEnable = 1;
  r.recordExpDate = 30;
  store_record(r);
  EXPECT_EQ(call("/6043", R"({"records": [{"id": 5, "mode": 1}]})"), kTextOk);
  EXPECT_EQ(stored_record(0).mode, 1);  // position 0, not channel 5
  EXPECT_EQ(stored_record(0).recordExpDate, 30);
  EXPECT_EQ(stored_record(5).mode, 0);
  auto modes = listed_modes(call("/6042"));
  EXPECT_EQ(modes[0], 1);
  EXPECT_EQ(modes[5], 0);
}

TEST_F(PlanModes, LogThenReplyThenOneNoticePerPosition) {
  EXPECT_EQ(call("/6043", modes_body(3, 2)), kTextOk);
  EXPECT_EQ(codes(), (std::vector<int>{3485, 1407, 1407, 1407}));
  expect_record_log(logs().at(0), 905, 0);
  auto notices = sent(1407);
  for (int i = 0; i < 3; i++) EXPECT_EQ(notices[i].payload, bytes_of_int(i));
  EXPECT_EQ(listed_modes(call("/6042"))[2], 2);
}

TEST_F(PlanModes, EmptyListLogsAndAnswersOkOnly) {
  EXPECT_EQ(call("/6043", R"({"records": []})"), kTextOk);
  EXPECT_EQ(codes(), (std::vector<int>{3485}));
  EXPECT_NE(access(KXDB_FILE, F_OK), 0);
}

TEST_F(PlanModes, AnyBadEntryIsAnErrorAndStoresNothing) {
  for (const std::string &bad :
       {std::string(R"({"records": [{"id": 0, "mode": 1}, {"id": 1, "mode": 3}]})"),
        std::string(R"({"records": [{"id": 64, "mode": 1}]})"),
        std::string(R"({"records": [{"id": -1, "mode": 1}]})"),
        std::string(R"({"records": [{"id": 1}]})"), std::string(R"({"records": [{"mode": 1}]})"),
        std::string(R"({"records": [null]})"), std::string(R"({"records": [[0, 1]]})"),
        std::string(R"({"records": {"id": 0, "mode": 1}})"), std::string(R"({"other": 1})"),
        modes_body(65)}) {
    EXPECT_EQ(call("/6043", bad), kTextError) << bad;
  }
  EXPECT_EQ(codes(), std::vector<int>{});
  EXPECT_NE(access(KXDB_FILE, F_OK), 0);
  EXPECT_EQ(call("/6043", "records"), "");  // not JSON: no reply
}

TEST_F(PlanModes, SixtyFourEntriesSetEveryChannel) {
  EXPECT_EQ(call("/6043", modes_body(64, 2)), kTextOk);
  set_param_int(KXDB_FILE, "max_cameras", 64);
  EXPECT_EQ(listed_modes(call("/6042")), std::vector<int>(64, 2));
  EXPECT_EQ(sent(1407).size(), 64u);
}

TEST_F(PlanModes, FailedWriteIsAnErrorWithoutLogOrNotices) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6043", modes_body(2)), kCgiError);
  EXPECT_EQ(codes(), std::vector<int>{});
}

}  // namespace
