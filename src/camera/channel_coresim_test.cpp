// The camera channel pages end to end: the built program against coresim,
// as the demo runs them. Cameras are added, listed, edited and cleared, and
// the search finds the cameras waiting on the network.
#include <gtest/gtest.h>

#include "cgi_runner.h"
#include "coresim_fixture.h"
#include "json_checks.h"

namespace {

using ChannelsOnCoresim = CoresimTest;

int member_count(json_object *o, const char *key) {
  return array_length(json_member(o, key));
}

json_object *listed(json_object *list, int channel) {
  for (int i = 0; i < array_length(json_member(list, "IPC")); i++) {
    json_object *o = array_at(json_member(list, "IPC"), i);
    if (json_object_get_int(json_member(o, "id")) == channel) return o;
  }
  return nullptr;
}

TEST_F(ChannelsOnCoresim, AddListEditAndClearACamera) {
  JsonPtr before = post_json("/2001", "");
  ASSERT_TRUE(before);
  EXPECT_EQ(member_count(before.get(), "IPC"), 0);  // a fresh database: no cameras

  EXPECT_EQ(post("/2004", R"({"id": 6, "name": "Garden", "enable": 1,
      "ipAddr": "192.168.1.150", "managePort": 80, "camProtocol": 0, "userName": "admin",
      "password": "pw", "transmitProtocol": 1, "mac_addr": "02:4B:58:00:02:50"})")
                .body,
            "OK");
  JsonPtr after = post_json("/2001", "");
  json_object *garden = listed(after.get(), 6);
  ASSERT_TRUE(garden);
  EXPECT_EQ(text_member(garden, "name"), "Garden");
  EXPECT_EQ(text_member(garden, "ipAddr"), "192.168.1.150");

  EXPECT_EQ(post("/2003", R"({"id": 6, "name": "Back garden", "enable": 1,
      "ipAddr": "192.168.1.160", "managePort": 80, "camProtocol": 0,
      "transmitProtocol": 1, "type": 1})")
                .body,
            "OK");
  JsonPtr edited = post_json("/2007", "");
  garden = listed(edited.get(), 6);
  ASSERT_TRUE(garden);
  EXPECT_EQ(text_member(garden, "ipAddr"), "192.168.1.160");
  EXPECT_EQ(text_member(garden, "name"), "Back garden");
  JsonPtr info = post_json("/2000", R"({"chnid": 6})");
  EXPECT_EQ(text_member(info.get(), "userName"), "admin");  // type 1 keeps them

  EXPECT_EQ(post("/2005", R"({"chnid": 6})").body, "OK");
  JsonPtr cleared = post_json("/2001", "");
  EXPECT_FALSE(listed(cleared.get(), 6));
  JsonPtr names = post_json("/2012", "");
  EXPECT_EQ(text_member(array_at(json_member(names.get(), "IPC"), 6), "name"), "CAM7");
}

TEST_F(ChannelsOnCoresim, SearchTestAndReaddressFoundCameras) {
  JsonPtr found = post_json("/2006", R"({"protocol": 0})");
  ASSERT_TRUE(found);
  EXPECT_EQ(text_member(found.get(), "resultString"), "OK");
  ASSERT_EQ(member_count(found.get(), "IPC"), 2);
  json_object *dome = array_at(json_member(found.get(), "IPC"), 0);
  EXPECT_EQ(text_member(dome, "name"), "Dome 5MP");

  EXPECT_EQ(post("/2014", R"({"ipAddr": "192.168.1.150", "managePort": 80,
      "userName": "admin", "password": "pw", "camProtocol": 0})")
                .body,
            "OK");
  JsonPtr changed = post_json("/2011", R"({"macAddr": "02:4B:58:00:02:50",
      "oldIpcAddr": "192.168.1.150", "newIpcAddr": "192.168.1.170", "netmask": "255.255.255.0",
      "gateway": "192.168.1.1", "primaryDNS": "192.168.1.1", "port": 80, "username": "admin",
      "password": "pw", "protocol": 0})");
  EXPECT_EQ(text_member(changed.get(), "resultString"), "OK");
  found = post_json("/2006", R"({"protocol": 0})");
  EXPECT_EQ(text_member(array_at(json_member(found.get(), "IPC"), 0), "ipAddr"),
            "192.168.1.170");

  EXPECT_EQ(post("/2032", R"({"cnt": 2, "oIPCAddr": [
      {"macAddr": "02:4B:58:00:02:51", "newIpcAddr": "192.168.1.171", "channelId": 0,
       "modifynum": 2},
      {"macAddr": "02:4B:58:00:09:99", "newIpcAddr": "192.168.1.172", "channelId": 1,
       "modifynum": 2}]})")
                .body,
            "OK");
  JsonPtr results = post_json("/2033", "");
  ASSERT_EQ(member_count(results.get(), "IPC"), 2);
  EXPECT_EQ(int_member(array_at(json_member(results.get(), "IPC"), 0), "result"), 0);
  EXPECT_EQ(int_member(array_at(json_member(results.get(), "IPC"), 1), "result"), 1);

  JsonPtr days = post_json("/2013", R"({"time": "2024-06-01 00:00:00", "chnid": 0,
                                        "streamType": 0})");
  ASSERT_EQ(array_length(days.get()), 31);
  EXPECT_EQ(element_int(days.get(), 1), 1);  // the 2nd
  EXPECT_EQ(element_int(days.get(), 0), 0);
}

}  // namespace
