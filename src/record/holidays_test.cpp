// Holiday list.
#include "record_test_util.h"

namespace {

using Holidays = RecordTest;

const std::vector<std::string> kHolidayKeys = {
    "id",        "enable",     "name",      "type",    "startYear", "startMon",   "startMDay",
    "startMWeek", "startWDay", "endYear",   "endMon",  "endMDay",   "endMWeek",   "endWDay"};

TEST_F(Holidays, StoredHolidayListsBackWithEveryPartInOrder) {
  EXPECT_EQ(call("/6031", R"({"id": 3, "enable": 1, "name": "New Year", "type": 2,
                              "startYear": 2027, "startMon": 1, "startMDay": 1, "startMWeek": 0,
                              "startWDay": 5, "endYear": 2027, "endMon": 1, "endMDay": 2,
                              "endMWeek": 4, "endWDay": 6})"),
            kTextOk);
  std::string reply = call("/6030");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  json_object *list = json_member(body.get(), "holidays");
  ASSERT_EQ(json_object_array_length(list), 32u);  // never-written ones as defaults
  json_object *h = json_object_array_get_idx(list, 3);
  EXPECT_EQ(member_names(h), kHolidayKeys);
  EXPECT_EQ(text_member(h, "name"), "New Year");
  const int expected[] = {3, 1, -1, 2, 2027, 1, 1, 0, 5, 2027, 1, 2, 4, 6};
  for (size_t i = 0; i < kHolidayKeys.size(); i++) {
    if (kHolidayKeys[i] == "name") continue;
    EXPECT_EQ(int_member(h, kHolidayKeys[i].c_str()), expected[i]) << kHolidayKeys[i];
  }
  json_object *other = json_object_array_get_idx(list, 31);
  EXPECT_EQ(int_member(other, "id"), 31);
  EXPECT_EQ(int_member(other, "enable"), 0);
  EXPECT_EQ(text_member(other, "name"), "");
}

TEST_F(Holidays, StoreNotifiesThenLogsTheIdPlusOne) {
  EXPECT_EQ(call("/6031", R"({"id": 31, "enable": 0, "type": 0})"), kTextOk);
  EXPECT_EQ(codes(), (std::vector<int>{1401, 3485}));
  EXPECT_TRUE(sent(1401).at(0).payload.empty());
  expect_record_log(logs().at(0), 920, 32);
  holiday_params all[HOLIDAY_MAX];
  ASSERT_EQ(read_holidays(KXDB_FILE, all, nullptr), 0);
  EXPECT_EQ(all[31].id, 31);
  EXPECT_EQ(all[31].startYear, 0);  // missing date parts store 0
}

TEST_F(Holidays, LongNameIsCutToTheField) {
  std::string name(5000, 'h');
  EXPECT_EQ(call("/6031", R"({"id": 0, "enable": 1, "type": 0, "name": ")" + name + "\"}"),
            kTextOk);
  JsonPtr body = parse_body(call("/6030"));
  json_object *first = json_object_array_get_idx(json_member(body.get(), "holidays"), 0);
  EXPECT_EQ(text_member(first, "name"), std::string(255, 'h'));
}

TEST_F(Holidays, BadHolidayGivesNoReplyAndStoresNothing) {
  for (const char *bad : {R"({"id": 32, "enable": 1, "type": 0})",
                          R"({"id": -1, "enable": 1, "type": 0})",
                          R"({"id": 1, "enable": 2, "type": 0})",
                          R"({"id": 1, "enable": 1, "type": -1})",
                          R"({"enable": 1, "type": 0})", R"({"id": 1, "type": 0})",
                          R"({"id": 1, "enable": 1})", R"({"id": 1e308, "enable": 1, "type": 0})",
                          "not json", "", "7"}) {
    EXPECT_EQ(call("/6031", bad), "") << bad;
  }
  EXPECT_EQ(codes(), std::vector<int>{});
  EXPECT_NE(access(KXDB_FILE, F_OK), 0);  // nothing was ever written
}

TEST_F(Holidays, FailedWriteIsAnErrorWithoutNoticeOrLog) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6031", R"({"id": 1, "enable": 1, "type": 0})"), kCgiError);
  EXPECT_EQ(codes(), std::vector<int>{});
  // The list still answers, with defaults.
  JsonPtr body = parse_body(call("/6030"));
  EXPECT_EQ(json_object_array_length(json_member(body.get(), "holidays")), 32u);
}

}  // namespace
