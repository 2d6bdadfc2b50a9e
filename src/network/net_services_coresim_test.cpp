// The network service pages end to end: the built program against coresim.
#include <gtest/gtest.h>

#include "cgi_runner.h"
#include "coresim_fixture.h"
#include "json_codecs.h"

namespace {

using ServicesOnCoresim = CoresimTest;

std::string text(json_object *o, const char *key) {
  json_object *v = json_member(o, key);
  return v ? json_object_get_string(v) : "<missing>";
}

TEST_F(ServicesOnCoresim, TimeMailMulticastAndDdns) {
  EXPECT_EQ(post("/7001", R"({"ntpEnable": 0, "dstEnable": 0, "timeZone": "GMT+01:00",
                             "timeZoneName": "Europe/Amsterdam", "syncEnable": 0,
                             "syncInterval": 24, "syncPc": 0,
                             "manualTime": "2024-01-02 03:04:05"})")
                .body,
            "OK");
  EXPECT_EQ(text(get_json("/7000").get(), "timeZoneName"), "Europe/Amsterdam");

  EXPECT_EQ(post("/7032", "").body, "ERROR");  // no server yet
  EXPECT_EQ(post("/7031", R"({"enable": 1, "smtpServer": "smtp.norvalent.example",
                             "smtpPort": 587, "receivers": [{"receiverAddr": "a@b.example"}]})")
                .body,
            "OK");
  EXPECT_EQ(post("/7032", "").body, "OK");

  EXPECT_EQ(post("/7034", R"({"enable": 1, "ip": "239.255.42.1"})").body, R"({ "res": 0 })");
  EXPECT_EQ(post("/7034", R"({"enable": 1, "ip": "10.0.0.1"})").body, R"({ "res": -1 })");
  EXPECT_EQ(post("/7033", "").body, R"({ "enable": 1, "ip": "10.0.0.1" })");

  EXPECT_EQ(post("/7094", "").body, R"({ "status": 0 })");
  EXPECT_EQ(post("/7021", R"({"enable": 1, "hostName": "warehouse-nvr", "updateFreq": 60})").body,
            "OK");
  EXPECT_EQ(post("/7094", "").body, R"({ "status": 1 })");
}

TEST_F(ServicesOnCoresim, P2pOnStatusUnbindAndOff) {
  JsonPtr off = post_json("/7060", "");
  ASSERT_TRUE(off);
  EXPECT_EQ(text(off.get(), "enable"), "0");
  EXPECT_EQ(text(off.get(), "model"), "NVR-DEMO");

  EXPECT_EQ(post("/7061", R"({"enableP2P": 1, "region": 2})").body, "ERR_OK");
  JsonPtr on = post_json("/7060", "");
  EXPECT_EQ(text(on.get(), "p2pstatus"), "1");
  EXPECT_EQ(text(on.get(), "region"), "2");
  EXPECT_EQ(text(on.get(), "cloudAccount"), "demo@norvalent.example");

  EXPECT_EQ(post("/7095", "").body, R"({ "res": 0 })");
  EXPECT_EQ(text(post_json("/7060", "").get(), "cloudAccount"), "");
  EXPECT_EQ(post("/7061", R"({"enableP2P": 0, "region": 2})").body, "OK");
  EXPECT_EQ(text(post_json("/7060", "").get(), "enable"), "0");
  EXPECT_EQ(post("/7061", R"({"enableP2P": 1, "region": 99})").body, "ERR_MAC_FORMAT");

  // The device root has no outside network: the P2P server's name does not resolve.
  EXPECT_EQ(post("/7062", R"({"sn": "SN-1", "deviceName": "NVR"})").body, "3");
}

}  // namespace
