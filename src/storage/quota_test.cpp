// Quotas and disk groups.
#include "storage_test_util.h"

namespace {

using Quota = StorageTest;

quota_info quota_answer(int count) {
  quota_info q = {};
  q.enable = 1;
  q.count = count;
  for (int i = 0; i < QUOTA_ENTRIES; i++) {
    q.entries[i] = {i, 100 + i, 200 + i, 10 + i, 20 + i};
  }
  return q;
}

TEST_F(Quota, PageMergesTheDaemonsQuotasWithGroupsAndDisks) {
  disk_group_params group = {};
  group.id = 1;
  snprintf(group.channel, sizeof group.channel, "0110");
  ASSERT_EQ(write_group(KXDB_FILE, &group), 0);
  disk_params disk = nas_entry(3, DISK_TYPE_NFS, "h", "/d");
  disk.group = 4;
  ASSERT_EQ(write_disk(KXDB_FILE, &disk), 0);
  set_param_int(KXDB_FILE, "group_mode", 1);
  daemon().answer(3529, bytes_of(quota_answer(2)));

  std::string reply = call("/6208");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"enable", "quota_array", "channel",
                                                           "disk", "max_chan", "group_enable"}));
  EXPECT_EQ(int_member(body.get(), "enable"), 1);
  json_object *quotas = json_member(body.get(), "quota_array");
  ASSERT_EQ(json_object_array_length(quotas), 2u);
  json_object *second = json_object_array_get_idx(quotas, 1);
  EXPECT_EQ(member_names(second), (std::vector<std::string>{"channel", "video_used", "video_quota",
                                                       "picture_used", "picture_quota"}));
  EXPECT_EQ(int_member(second, "channel"), 1);
  EXPECT_EQ(int_member(second, "video_used"), 11);
  EXPECT_EQ(int_member(second, "video_quota"), 101);
  EXPECT_EQ(int_member(second, "picture_used"), 21);
  EXPECT_EQ(int_member(second, "picture_quota"), 201);
  json_object *channels = json_member(body.get(), "channel");
  ASSERT_EQ(json_object_array_length(channels), 16u);
  EXPECT_STREQ(json_object_get_string(json_object_array_get_idx(channels, 1)), "0110");
  EXPECT_STREQ(json_object_get_string(json_object_array_get_idx(channels, 0)), "");
  json_object *disks = json_member(body.get(), "disk");
  ASSERT_EQ(json_object_array_length(disks), 36u);
  EXPECT_EQ(json_object_get_int(json_object_array_get_idx(disks, 2)), 5);  // port 3: group 4 + 1
  EXPECT_EQ(json_object_get_int(json_object_array_get_idx(disks, 3)), 0);
  EXPECT_EQ(int_member(body.get(), "max_chan"), 32);
  EXPECT_EQ(int_member(body.get(), "group_enable"), 1);
}

TEST_F(Quota, PageTrustsNoCountAndNoShortAnswer) {
  daemon().answer(3529, bytes_of(quota_answer(40)));
  JsonPtr body = parse_body(call("/6208"));
  EXPECT_EQ(json_object_array_length(json_member(body.get(), "quota_array")), 16u);
  daemon().answer(3529, bytes_of(quota_answer(-3)));
  body = parse_body(call("/6208"));
  EXPECT_EQ(json_object_array_length(json_member(body.get(), "quota_array")), 0u);

  Bytes short_answer = bytes_of(quota_answer(1));
  short_answer.pop_back();
  daemon().answer(3529, short_answer);
  EXPECT_EQ(call("/6208"), kJsonError);
  daemon().silent(3529);
  EXPECT_EQ(call("/6208"), kJsonError);
}

TEST_F(Quota, SetSendsAtMost16Entries) {
  std::string entries;
  for (int i = 0; i < 20; i++) {
    entries += (i ? "," : "") + std::string(R"({"channel": )") + std::to_string(i) +
               R"(, "video_quota": )" + std::to_string(50 + i) + R"(, "picture_quota": 7,
               "video_used": 99})";
  }
  daemon().answer(3530, int_answer(0));
  EXPECT_EQ(call("/6209", R"({"enable": 1, "quota_array": [)" + entries + "]}"), kTextOk);
  auto set = sent(3530);
  ASSERT_EQ(set.size(), 1u);
  ASSERT_EQ(set[0].payload.size(), 328u);
  auto q = record_from<quota_info>(set[0].payload);
  EXPECT_EQ(q.enable, 1);
  EXPECT_EQ(q.count, 16);
  EXPECT_EQ(q.entries[15].channel, 15);
  EXPECT_EQ(q.entries[15].video_quota, 65);
  EXPECT_EQ(q.entries[15].picture_quota, 7);
  EXPECT_EQ(q.entries[15].video_used, 0);  // the used values come from the daemon

  daemon().answer(3530, int_answer(2));
  EXPECT_EQ(call("/6209", R"({"enable": 0})"), kTextError);
  EXPECT_EQ(record_from<quota_info>(sent(3530).at(1).payload).count, 0);
  daemon().silent(3530);
  EXPECT_EQ(call("/6209", R"({"enable": 0})"), kCgiError);
  forget();
  EXPECT_EQ(call("/6209", R"({"quota_array": []})"), "");
  EXPECT_TRUE(sent(3530).empty());
}

TEST_F(Quota, GroupsSwitchOnAndSendEachGroupsChannels) {
  disk_group_params stored = {};
  stored.id = 1;
  snprintf(stored.text, sizeof stored.text, "second text");
  ASSERT_EQ(write_group(KXDB_FILE, &stored), 0);
  std::string channels = R"(["1100", ")" + std::string(100, '1') + R"("])";
  EXPECT_EQ(call("/6210", R"({"group_enable": 1, "channel": )" + channels + "}"), kTextOk);
  EXPECT_EQ(get_param_int(KXDB_FILE, "group_mode", -1), 1);
  EXPECT_EQ(codes(), (std::vector<int>{3442, 3436, 3436, 1307}));
  EXPECT_EQ(sent(3442).at(0).payload, int_answer(1));
  auto groups = sent(3436);
  auto first = record_from<disk_group_params>(groups[0].payload);
  EXPECT_EQ(groups[0].payload.size(), 136u);
  EXPECT_EQ(first.id, 0);
  EXPECT_STREQ(first.channel, "1100");
  auto second = record_from<disk_group_params>(groups[1].payload);
  EXPECT_EQ(second.id, 1);
  EXPECT_EQ(std::string(second.channel), std::string(64, '1'));
  EXPECT_STREQ(second.text, "second text");
  EXPECT_TRUE(sent(1307).at(0).payload.empty());
}

TEST_F(Quota, GroupsAlreadyOnSendNoModeAndAtMost16Groups) {
  set_param_int(KXDB_FILE, "group_mode", 2);
  std::string channels = "[";
  for (int i = 0; i < 20; i++) channels += std::string(i ? "," : "") + "\"1\"";
  EXPECT_EQ(call("/6210", R"({"group_enable": 1, "channel": )" + channels + "]}"), kTextOk);
  EXPECT_EQ(get_param_int(KXDB_FILE, "group_mode", -1), 2);
  EXPECT_TRUE(sent(3442).empty());
  auto groups = sent(3436);
  ASSERT_EQ(groups.size(), 16u);
  EXPECT_EQ(record_from<disk_group_params>(groups[15].payload).id, 15);
}

TEST_F(Quota, GroupsSwitchOff) {
  set_param_int(KXDB_FILE, "group_mode", 1);
  EXPECT_EQ(call("/6210", R"({"group_enable": 0, "channel": ["1"]})"), kTextOk);
  EXPECT_EQ(get_param_int(KXDB_FILE, "group_mode", -1), 0);
  EXPECT_EQ(codes(), (std::vector<int>{3442}));
  EXPECT_EQ(sent(3442).at(0).payload, int_answer(0));
  EXPECT_EQ(call("/6210", "oops"), "");
}

TEST_F(Quota, GroupModeThatCannotBeStoredIsAnError) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6210", R"({"group_enable": 1, "channel": ["1"]})"), kCgiError);
  EXPECT_EQ(call("/6210", R"({"group_enable": 0})"), kCgiError);
  EXPECT_TRUE(codes().empty());
}

}  // namespace
