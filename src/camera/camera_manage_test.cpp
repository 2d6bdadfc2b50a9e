#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "camera_test_util.h"
#include "json_checks.h"
#include "kxdb.h"
#include "kxdb_camera.h"
#include "kxdb_port.h"
#include "kxdb_record.h"

using namespace camera_test;

namespace {

using CameraManage = HandlerTest;

std::string stored(const char *key) {
  std::string value;
  EXPECT_EQ(kxdb_param_get(KXDB_FILE, key, &value), 0);
  return value;
}

camera_params camera_of(int channel) {
  camera_params c = {};
  EXPECT_EQ(read_camera(KXDB_FILE, &c, channel), 0);
  return c;
}

const char *kCamera = R"json({"id": 7, "enable": 1, "ipAddr": "10.1.2.3", "managePort": 8000,
  "userName": "admin", "password": "pw"})json";

TEST_F(CameraManage, SshSwitchKeepsThePortsAndSaysMoreAfterOk) {
  port_params port = {};
  ASSERT_EQ(read_port(KXDB_FILE, &port), 0);
  port.enableSsh = 0;
  port.httpPort = 8081;
  ASSERT_EQ(write_port(KXDB_FILE, &port), 0);
  EXPECT_EQ(call("/3300", R"({"sshEnable": 1})"), kTextHeader + "OK");
  port_params after = {};
  ASSERT_EQ(read_port(KXDB_FILE, &after), 0);
  EXPECT_EQ(after.enableSsh, 1);
  EXPECT_EQ(after.httpPort, 8081);
  EXPECT_EQ(codes(), (std::vector<int>{1702}));
  EXPECT_STREQ((const char *)sent(1702).at(0).payload.data(), "more");
  EXPECT_EQ(sent(1702).at(0).payload.size(), 32u);
}

TEST_F(CameraManage, SwitchesStoreNumbersAndAMissingKeyStoresZero) {
  EXPECT_EQ(call("/3301", R"({"autoLoginEnable": 1})"), kTextHeader + "OK");
  EXPECT_EQ(stored("local_auth_enable"), "1");
  EXPECT_EQ(call("/3303", R"({"wizardEnable": 5})"), kTextHeader + "OK");
  EXPECT_EQ(stored("wizard_enable"), "5");
  EXPECT_EQ(call("/3303", R"({"other": 1})"), kTextHeader + "OK");
  EXPECT_EQ(stored("wizard_enable"), "0");
  EXPECT_EQ(codes(), std::vector<int>{});
}

TEST_F(CameraManage, UnparsableBodiesAreSilent) {
  for (const char *path : {"/3300", "/3301", "/3302", "/3303", "/3304"}) {
    EXPECT_EQ(call(path, "not json"), "") << path;
    EXPECT_EQ(call(path, ""), "") << path;
  }
  EXPECT_EQ(codes(), std::vector<int>{});
}

TEST_F(CameraManage, RecordModeOfAllChannelsKeepsEveryOtherByte) {
  record_params r = {};
  r.id = 9;
  r.mode = 0;
  r.prevRecordDuration = 17;
  memset(r.reserved, 0x33, sizeof r.reserved);
  ASSERT_EQ(write_record(KXDB_FILE, &r), 0);
  EXPECT_EQ(call("/3302", R"({"recordMode": 2})"), kTextHeader + "OK");
  record_params all[RECORD_CHANNELS] = {};
  int count = 0;
  ASSERT_EQ(read_records(KXDB_FILE, all, &count), 0);
  ASSERT_EQ(count, RECORD_CHANNELS);
  for (int ch = 0; ch < RECORD_CHANNELS; ch++) {
    EXPECT_EQ(all[ch].id, ch);
    EXPECT_EQ(all[ch].mode, 2);
  }
  record_params expected = r;
  expected.mode = 2;
  EXPECT_EQ(memcmp(&all[9], &expected, sizeof expected), 0);
  auto requests = sent(1407);
  ASSERT_EQ(requests.size(), 64u);
  for (int ch = 0; ch < RECORD_CHANNELS; ch++) {
    EXPECT_EQ(word_at(requests[ch].payload, 0), ch);
    EXPECT_EQ(requests[ch].payload.size(), 4u);
  }
}

TEST_F(CameraManage, CameraConnectionIsStoredAndAnnounced) {
  camera_params before = camera_of(7);
  strcpy(before.mainSourcePath, "/keep");
  before.camProtocol = 3;
  ASSERT_EQ(write_camera(KXDB_FILE, &before), 0);
  EXPECT_EQ(call("/3304", kCamera), kTextHeader + "OK");
  camera_params c = camera_of(7);
  EXPECT_EQ(c.enable, 1);
  EXPECT_STREQ(c.ipAddr, "10.1.2.3");
  EXPECT_EQ(c.managePort, 8000);
  EXPECT_EQ(c.camProtocol, 0);
  EXPECT_STREQ(c.userName, "admin");
  EXPECT_STREQ(c.password, "pw");
  EXPECT_STREQ(c.mainSourcePath, "/keep");
  ASSERT_EQ(sent(1201).size(), 1u);
  EXPECT_EQ(word_at(sent(1201).at(0).payload, 0), 7);
  EXPECT_EQ(call("/3304", R"({"id": 7, "enable": 0, "ipAddr": "x", "managePort": 0})"),
            kTextHeader + "OK");
  ASSERT_EQ(sent(1202).size(), 1u);
  EXPECT_EQ(word_at(sent(1202).at(0).payload, 0), 7);
  EXPECT_STREQ(camera_of(7).userName, "");
}

TEST_F(CameraManage, CameraConnectionTextsAreCutTo63) {
  std::string longer(100, 'a');
  std::string body = R"({"id": 1, "enable": 1, "ipAddr": ")" + longer + R"(", "managePort": 1,
    "userName": ")" + longer + R"(", "password": ")" + longer + R"("})";
  EXPECT_EQ(call("/3304", body), kTextHeader + "OK");
  camera_params c = camera_of(1);
  EXPECT_EQ(std::string(c.ipAddr), std::string(63, 'a'));
  EXPECT_EQ(std::string(c.userName), std::string(63, 'a'));
  EXPECT_EQ(std::string(c.password), std::string(63, 'a'));
}

TEST_F(CameraManage, RefusedCameraConnectionsAreSilentAndChangeNothing) {
  camera_params zero = camera_of(0);
  const char *refused[] = {
      R"({"id": 64, "enable": 1, "ipAddr": "a", "managePort": 1})",
      R"({"id": -1, "enable": 1, "ipAddr": "a", "managePort": 1})",
      R"({"enable": 1, "ipAddr": "a", "managePort": 1})",
      R"({"id": 1, "ipAddr": "a", "managePort": 1})",
      R"({"id": 1, "enable": 2, "ipAddr": "a", "managePort": 1})",
      R"({"id": 1, "enable": -1, "ipAddr": "a", "managePort": 1})",
      R"({"id": 1, "enable": 1, "managePort": 1})",
      R"({"id": 1, "enable": 1, "ipAddr": "", "managePort": 1})",
      R"({"id": 1, "enable": 1, "ipAddr": "a"})",
      R"({"id": 1, "enable": 1, "ipAddr": "a", "managePort": -1})",
  };
  for (const char *body : refused) EXPECT_EQ(call("/3304", body), "") << body;
  EXPECT_EQ(codes(), std::vector<int>{});
  camera_params after = camera_of(0);
  EXPECT_EQ(memcmp(&zero, &after, sizeof zero), 0);
  EXPECT_STREQ(camera_of(1).ipAddr, "");
}

TEST_F(CameraManage, FailedSettingsWritesAnswerErrorAndSendNothing) {
  BrokenSettings broken;
  EXPECT_EQ(call("/3300", R"({"sshEnable": 1})"), kCgiError);
  EXPECT_EQ(call("/3301", R"({"autoLoginEnable": 1})"), kCgiError);
  EXPECT_EQ(call("/3303", R"({"wizardEnable": 1})"), kCgiError);
  EXPECT_EQ(call("/3304", kCamera), kCgiError);
  EXPECT_EQ(codes(), std::vector<int>{});
}

}  // namespace
