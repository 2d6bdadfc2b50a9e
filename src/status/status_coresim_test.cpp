// The status pages end to end: the built program against coresim, as the
// demo runs them. Addresses come from the network settings, names from the
// settings the other pages store, states from coresim's model.
#include <gtest/gtest.h>

#include <string>

#include "cgi_runner.h"
#include "coresim_fixture.h"
#include "json_codecs.h"

namespace {

using StatusOnCoresim = CoresimTest;

int int_of(json_object *o, const char *key) {
  return json_object_get_int(json_member(o, key));
}
std::string text_of(json_object *o, const char *key) {
  const char *text = json_object_get_string(json_member(o, key));
  return text ? text : "<missing>";
}
json_object *at(json_object *array, size_t i) {
  return json_object_array_get_idx(array, i);
}

TEST_F(StatusOnCoresim, InterfacesFollowTheNetworkSettings) {
  JsonPtr netif = get_json("/8000");
  ASSERT_TRUE(netif);
  json_object *list = json_member(netif.get(), "netif");
  ASSERT_EQ(json_object_array_length(list), 2u);
  EXPECT_EQ(text_of(at(list, 0), "ifname"), "eth0");
  EXPECT_EQ(text_of(at(list, 0), "ipAddr"), "192.168.1.100");
  EXPECT_EQ(text_of(at(list, 1), "ipAddr"), "192.168.2.100");
  EXPECT_EQ(int_of(at(list, 1), "mtu"), 1500);
  JsonPtr speed = get_json("/8001");
  ASSERT_TRUE(speed);
  json_object *rates = json_member(speed.get(), "netif");
  ASSERT_EQ(json_object_array_length(rates), 2u);
  EXPECT_GT(int_of(at(rates, 0), "RxSpeed"), 0);
  JsonPtr totals = get_json("/8008");
  ASSERT_TRUE(totals);
  EXPECT_EQ(int_of(totals.get(), "total"),
            int_of(totals.get(), "free") + int_of(totals.get(), "used"));
}

TEST_F(StatusOnCoresim, CamerasStreamsAlarmsAndSupport) {
  JsonPtr cameras = get_json("/8002");
  ASSERT_TRUE(cameras);
  json_object *ipc = json_member(cameras.get(), "IPC");
  ASSERT_EQ(json_object_array_length(ipc), 32u);
  EXPECT_EQ(int_of(json_member(json_member(at(ipc, 0), "main"), "res"), "width"), 1920);
  EXPECT_EQ(text_of(at(ipc, 4), "recordOn"), "--");

  JsonPtr alarms = get_json("/8003");
  ASSERT_TRUE(alarms);
  json_object *list = json_member(alarms.get(), "cameras");
  ASSERT_EQ(json_object_array_length(list), 32u);
  EXPECT_EQ(int_of(at(list, 1), "motionOn"), 1);
  EXPECT_EQ(int_of(at(list, 0), "AlarmInState0"), 1);
  EXPECT_EQ(int_of(at(json_member(alarms.get(), "alarmIn"), 0), "state"), 1);
  EXPECT_EQ(json_object_array_length(json_member(alarms.get(), "alarmOut")), 4u);

  JsonPtr support = get_json("/8009");
  ASSERT_TRUE(support);
  EXPECT_EQ(text_of(support.get(), "support"), "1111" + std::string(60, '0'));
  EXPECT_EQ(text_of(support.get(), "type"), "1112" + std::string(60, '0'));
}

TEST_F(StatusOnCoresim, DiskGroupsStoredByTheQuotaPageAreShown) {
  EXPECT_EQ(post("/6210", R"({"group_enable": 1, "channel": ["1100", "0011"]})").body, "OK");
  JsonPtr groups = get_json("/8010");
  ASSERT_TRUE(groups);
  EXPECT_EQ(int_of(groups.get(), "group_enable"), 1);
  EXPECT_EQ(int_of(groups.get(), "max_chan"), 32);
  json_object *channels = json_member(groups.get(), "channel");
  ASSERT_EQ(json_object_array_length(channels), 16u);
  EXPECT_STREQ(json_object_get_string(at(channels, 1)), "0011");
  EXPECT_EQ(json_object_array_length(json_member(groups.get(), "disk")), 36u);
}

TEST_F(StatusOnCoresim, OnlineUsersAndTheSilentPath) {
  CgiReply users = get("/8011");
  JsonPtr list(json_tokener_parse(users.body.c_str()));
  ASSERT_TRUE(list) << users.body;
  ASSERT_TRUE(json_object_is_type(list.get(), json_type_array));
  ASSERT_EQ(json_object_array_length(list.get()), 1u);
  EXPECT_EQ(text_of(at(list.get(), 0), "userName"), "admin");
  EXPECT_EQ(get("/8004").body, "");
}

}  // namespace
