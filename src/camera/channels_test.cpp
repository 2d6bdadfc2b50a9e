#include <gtest/gtest.h>

#include <cstring>

#include "camera.h"
#include "camera_test_util.h"
#include "channel_records.h"
#include "json_checks.h"
#include "kxdb.h"
#include "kxdb_camera.h"
#include "kxdb_ipc_model.h"
#include "kxdb_osd.h"
#include "kxdb_privacy.h"

using namespace camera_test;

namespace {

using Channels = HandlerTest;

const char *kAdd = R"json({"id": 5, "name": "Side gate", "enable": 1, "ipAddr": "10.0.0.7",
  "managePort": 8000, "camProtocol": 1, "userName": "admin", "password": "secret",
  "transmitProtocol": 3, "enableSubStream": 1, "syncTime": 1, "minorid": 2,
  "mainRtspPort": 554, "mainSourcePath": "/main", "subRtspPort": 555,
  "subSourcePath": "/sub", "mainrtspurl": "rtsp://10.0.0.7/main",
  "subrtspurl": "rtsp://10.0.0.7/sub", "mac_addr": "(null)", "poechannel": 1,
  "physicalport": 3, "ddns": "gate.example", "httpsPort": 443, "otherPoe": 1})json";

camera_params camera_of(int channel) {
  camera_params c = {};
  EXPECT_EQ(read_camera(KXDB_FILE, &c, channel), 0);
  return c;
}

std::string name_of(int channel) {
  osd_params osd = {};
  EXPECT_EQ(read_osd(KXDB_FILE, &osd, channel), 0);
  return field_text(osd.camName);
}

channel_log_detail detail_of(const log_info &entry) {
  int32_t kind = 0, length = 0;
  memcpy(&kind, entry.detail, 4);
  memcpy(&length, entry.detail + 4, 4);
  EXPECT_EQ(kind, LOG_DETAIL_CHANNEL);
  EXPECT_EQ(length, (int32_t)sizeof(channel_log_detail));
  channel_log_detail d = {};
  memcpy(&d, entry.detail + LOG_DETAIL_HEAD, sizeof d);
  return d;
}

TEST_F(Channels, AddOnAnEmptyDatabaseLandsOnItsChannel) {
  EXPECT_EQ(call("/2004", kAdd), kTextHeader + "OK");
  camera_params c = camera_of(5);
  EXPECT_EQ(c.id, 5);
  EXPECT_EQ(c.enable, 1);
  EXPECT_STREQ(c.ipAddr, "10.0.0.7");
  EXPECT_EQ(c.managePort, 8000);
  EXPECT_STREQ(c.userName, "admin");
  EXPECT_STREQ(c.password, "secret");
  EXPECT_EQ(c.transmitProtocol, 3);
  EXPECT_EQ(c.subRtspEnable, 1);
  EXPECT_EQ(c.mainRtspPort, 554);
  EXPECT_STREQ(c.subSourcePath, "/sub");
  EXPECT_STREQ(c.mainRtspUrl, "rtsp://10.0.0.7/main");
  EXPECT_STREQ(c.mac_addr, "");  // "(null)"
  EXPECT_EQ(c.poechannel, 1);
  EXPECT_EQ(c.physicalport, 3);
  EXPECT_EQ(c.minorid, 2);
  EXPECT_STREQ(c.ddns, "gate.example");
  EXPECT_EQ(c.httpsPort, 443);
  EXPECT_EQ(name_of(5), "Side gate");
  EXPECT_EQ(camera_of(0).ipAddr[0], '\0');  // channel 0 untouched
  EXPECT_EQ(name_of(0), "");
  JsonPtr info = parse_body(call("/2000", R"({"chnid": 5})"));
  EXPECT_EQ(text_member(info.get(), "ipAddr"), "10.0.0.7");
  EXPECT_EQ(text_member(info.get(), "name"), "Side gate");
  JsonPtr names = parse_body(call("/2012"));
  EXPECT_EQ(text_member(array_at(json_member(names.get(), "IPC"), 5), "name"), "Side gate");
  EXPECT_EQ(text_member(array_at(json_member(names.get(), "IPC"), 0), "name"), "");

  settle();
  EXPECT_EQ(codes(), (std::vector<int>{1201, 1206, 3485}));
  EXPECT_EQ(sent(1201)[0].payload, bytes_of_int(5));
  Bytes poe = sent(1206)[0].payload;
  EXPECT_EQ(word_at(poe, 0), 5);
  EXPECT_EQ(word_at(poe, 4), 1);
  log_info entry = logs().at(0);
  EXPECT_EQ(entry.sub_type, 210);
  EXPECT_EQ(entry.param_type, 901);
  EXPECT_EQ(entry.channel, 6);
  channel_log_detail d = detail_of(entry);
  EXPECT_EQ(d.param_type, 901);
  EXPECT_EQ(d.channel, 6);
  EXPECT_EQ(d.managePort, 8000);
  EXPECT_EQ(d.syncTime, 1);
  EXPECT_STREQ(d.ipAddr, "10.0.0.7");
  EXPECT_STREQ(d.protocol, "RTSP");
  EXPECT_STREQ(d.transmit, "RTSP Over HTTPS");
}

TEST_F(Channels, AddTakesTheRtspFieldsOnlyForProtocolOneAndProtocolSevenNeedsNoAddress) {
  EXPECT_EQ(call("/2004", R"({"id": 2, "name": "Yard", "enable": 1, "camProtocol": 7,
      "transmitProtocol": 0, "mainRtspPort": 554, "mainrtspurl": "rtsp://x",
      "otherPoe": 2})"),
            kTextHeader + "OK");
  camera_params c = camera_of(2);
  EXPECT_EQ(c.camProtocol, 7);
  EXPECT_EQ(c.mainRtspPort, 0);
  EXPECT_STREQ(c.mainRtspUrl, "");
  EXPECT_STREQ(c.mac_addr, "");  // missing
  settle();
  EXPECT_EQ(word_at(sent(1206)[0].payload, 4), 0);  // only 1 means "other PoE"
  channel_log_detail d = detail_of(logs().at(0));
  EXPECT_STREQ(d.protocol, "KXSF");
  EXPECT_STREQ(d.transmit, "UDP");

  EXPECT_EQ(call("/2004", R"({"id": 2, "name": "Yard", "enable": 1, "camProtocol": 0,
      "ipAddr": "10.0.0.9", "managePort": 80, "transmitProtocol": 1, "mac_addr": "AA:BB"})"),
            kTextHeader + "OK");
  EXPECT_STREQ(camera_of(2).mac_addr, "AA:BB");
  EXPECT_STREQ(detail_of(logs().at(1)).protocol, "ONVIF");
  EXPECT_STREQ(detail_of(logs().at(1)).transmit, "TCP");
}

TEST_F(Channels, EditKeepsThePortsAndChangesCredentialsOnlyWithTypeZero) {
  ASSERT_EQ(call("/2004", kAdd), kTextHeader + "OK");
  settle();
  forget();
  EXPECT_EQ(call("/2003", R"({"id": 5, "name": "Back gate", "enable": 0, "ipAddr": "10.0.0.8",
      "managePort": 81, "camProtocol": 0, "userName": "other", "password": "pw",
      "transmitProtocol": 2, "type": 1, "mainRtspPort": 9, "mac_addr": "11:22",
      "poechannel": 0, "physicalport": 0})"),
            kTextHeader + "OK");
  camera_params c = camera_of(5);
  EXPECT_STREQ(c.ipAddr, "10.0.0.8");
  EXPECT_EQ(c.enable, 0);
  EXPECT_STREQ(c.userName, "admin");  // type 1
  EXPECT_EQ(c.mainRtspPort, 554);     // protocol 0: RTSP fields kept
  EXPECT_STREQ(c.mac_addr, "");
  EXPECT_EQ(c.poechannel, 1);
  EXPECT_EQ(c.physicalport, 3);
  EXPECT_EQ(name_of(5), "Back gate");
  settle();
  EXPECT_EQ(codes(), (std::vector<int>{1203, 3485}));
  EXPECT_EQ(sent(1203)[0].payload, bytes_of_int(5));
  EXPECT_EQ(logs().at(0).sub_type, 204);
  EXPECT_EQ(logs().at(0).param_type, 903);
  EXPECT_EQ(detail_of(logs().at(0)).managePort, 81);

  EXPECT_EQ(call("/2003", R"({"id": 5, "name": "Back gate", "enable": 1, "ipAddr": "10.0.0.8",
      "managePort": 81, "camProtocol": 0, "userName": "other", "password": "pw",
      "transmitProtocol": 2, "type": 0})"),
            kTextHeader + "OK");
  EXPECT_STREQ(camera_of(5).userName, "other");
  EXPECT_STREQ(camera_of(5).password, "pw");
}

TEST_F(Channels, RequestsThatFailValidationAnswerNothingAndChangeNothing) {
  const char *bad[] = {
      R"({"id": 64, "name": "x", "enable": 1, "camProtocol": 7, "transmitProtocol": 0})",
      R"({"id": -1, "name": "x", "enable": 1, "camProtocol": 7, "transmitProtocol": 0})",
      R"({"name": "x", "enable": 1, "camProtocol": 7, "transmitProtocol": 0})",
      R"({"id": 1, "enable": 1, "camProtocol": 7, "transmitProtocol": 0})",
      R"({"id": 1, "name": "x", "enable": 2, "camProtocol": 7, "transmitProtocol": 0})",
      R"({"id": 1, "name": "x", "enable": 1, "camProtocol": 8, "transmitProtocol": 0})",
      R"({"id": 1, "name": "x", "enable": 1, "camProtocol": 0, "managePort": 80,
          "transmitProtocol": 0})",
      R"({"id": 1, "name": "x", "enable": 1, "camProtocol": 0, "ipAddr": "",
          "managePort": 80, "transmitProtocol": 0})",
      R"({"id": 1, "name": "x", "enable": 1, "camProtocol": 0, "ipAddr": "1.2.3.4",
          "managePort": -1, "transmitProtocol": 0})",
      R"({"id": 1, "name": "x", "enable": 1, "camProtocol": 7, "transmitProtocol": 4})",
      R"({"id": 1, "name": "x", "enable": 1, "camProtocol": 7})",
      "not json",
  };
  for (const char *request : bad) {
    EXPECT_EQ(call("/2004", request), "") << request;
    EXPECT_EQ(call("/2003", request), "") << request;
  }
  EXPECT_EQ(call("/2017", R"({"id": 64, "userName": "a", "password": "b"})"), "");
  EXPECT_EQ(call("/2017", R"({"id": -1, "userName": "a", "password": "b"})"), "");
  EXPECT_EQ(call("/2017", R"({"id": 1, "userName": "a", "password": ""})"), "");
  EXPECT_EQ(call("/2017", R"({"id": 1, "password": "b"})"), "");
  EXPECT_EQ(call("/2031", R"({"id": 64, "transmitProtocol": 1})"), "");
  EXPECT_EQ(call("/2031", R"({"transmitProtocol": 1})"), "");
  settle();
  EXPECT_TRUE(codes().empty());
  std::vector<camera_params> all(CAMERA_CHANNELS);
  int count = 0;
  ASSERT_EQ(kxdb_get_all(KXDB_FILE, CAMERA_TABLE, all.data(), sizeof all[0], 64, &count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(name_of(1), "");
}

TEST_F(Channels, CredentialsAndTransmissionReadBackThroughTheStoredSettings) {
  EXPECT_EQ(call("/2017", R"({"id": 9, "userName": "viewer", "password": "pw1"})"),
            kTextHeader + "OK");
  EXPECT_EQ(call("/2031", R"({"id": 9, "transmitProtocol": 0, "syncTime": 1,
                              "httpsPort": 8443})"),
            kTextHeader + "OK");
  JsonPtr info = parse_body(call("/2000", R"({"chnid": 9})"));
  ASSERT_TRUE(info);
  EXPECT_EQ(int_member(info.get(), "id"), 9);
  EXPECT_EQ(text_member(info.get(), "userName"), "viewer");
  EXPECT_EQ(text_member(info.get(), "password"), "pw1");
  EXPECT_EQ(int_member(info.get(), "transmitProtocol"), 0);
  EXPECT_EQ(int_member(info.get(), "syncTime"), 1);
  EXPECT_EQ(int_member(info.get(), "httpsPort"), 8443);
  EXPECT_EQ(camera_of(9).id, 9);
  settle();
  EXPECT_EQ(codes(), (std::vector<int>{1203, 3485, 1203, 3485}));
  for (const log_info &entry : logs()) {
    EXPECT_EQ(entry.sub_type, 204);
    EXPECT_EQ(entry.param_type, 903);
    EXPECT_EQ(entry.channel, 10);
    EXPECT_EQ(detail_of(entry).channel, 10);
  }
  EXPECT_STREQ(detail_of(logs().at(1)).transmit, "UDP");
}

TEST_F(Channels, StoredSettingsInReplyOrderWithTheModelName) {
  ASSERT_EQ(call("/2004", kAdd), kTextHeader + "OK");
  ipc_model model = {};
  model.id = 1;
  snprintf(model.name, sizeof model.name, "RTSP camera");
  ASSERT_EQ(write_ipc_model(KXDB_FILE, &model), 0);
  std::string reply = call("/2000", R"({"chnid": 5})");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr info = parse_body(reply);
  ASSERT_TRUE(info);
  std::vector<std::string> keys = {
      "id", "name", "ipAddr", "managePort", "protocol", "model", "userName", "password",
      "transmitProtocol", "mainRtspPort", "mainSourcePath", "subRtspEnable", "subRtspPort",
      "subSourcePath", "syncTime", "mainRtspUrl", "subRtspUrl", "physicalport", "poechannel",
      "mac_addr", "minorid", "ddns", "httpsPort"};
  EXPECT_EQ(member_names(info.get()), keys);
  EXPECT_EQ(text_member(info.get(), "name"), "Side gate");
  EXPECT_EQ(text_member(info.get(), "protocol"), "RTSP camera");
  EXPECT_EQ(int_member(info.get(), "model"), 1);
  EXPECT_EQ(text_member(info.get(), "subRtspUrl"), "rtsp://10.0.0.7/sub");

  EXPECT_EQ(call("/2000", R"({"chnid": 16})"), kJsonError);
  EXPECT_EQ(call("/2000", R"({"chnid": -1})"), kJsonError);
  EXPECT_EQ(call("/2000", "{}"), kJsonError);
}

TEST_F(Channels, ClearKeepsTheRecordedStreamAndNamesTheChannel) {
  ASSERT_EQ(call("/2004", R"({"id": 3, "name": "Lobby", "enable": 1, "ipAddr": "10.0.0.3",
      "managePort": 80, "camProtocol": 0, "transmitProtocol": 1})"),
            kTextHeader + "OK");
  camera_params c = camera_of(3);
  c.record_stream = 2;
  ASSERT_EQ(write_camera(KXDB_FILE, &c), 0);
  privacy_mask_params mask = {};
  mask.id = 3;
  for (privacy_mask_area &a : mask.areas) a = {1, 1, 10, 20, 30, 40, 704, 576, 2, {}};
  ASSERT_EQ(write_privacy_mask(KXDB_FILE, &mask), 0);
  settle();
  forget();

  EXPECT_EQ(call("/2005", R"({"chnid": 3})"), kTextHeader + "OK");
  camera_params cleared = camera_of(3);
  EXPECT_EQ(cleared.id, 3);
  EXPECT_EQ(cleared.cleared, 1);
  EXPECT_EQ(cleared.enable, 0);
  EXPECT_EQ(cleared.record_stream, 2);
  EXPECT_STREQ(cleared.ipAddr, "");
  EXPECT_EQ(cleared.managePort, 0);
  EXPECT_EQ(name_of(3), "CAM4");
  privacy_mask_params after = {};
  ASSERT_EQ(read_privacy_mask(KXDB_FILE, &after, 3), 0);
  for (const privacy_mask_area &a : after.areas) {
    EXPECT_EQ(a.enable | a.start_x | a.start_y | a.area_width | a.area_height, 0);
    EXPECT_EQ(a.width, 704);  // the picture size and colour stay
    EXPECT_EQ(a.fill_color, 2);
  }
  settle();
  EXPECT_EQ(codes(), (std::vector<int>{1202, 1206, 3485}));
  EXPECT_EQ(sent(1202)[0].payload, bytes_of_int(3));
  EXPECT_EQ(word_at(sent(1206)[0].payload, 4), 0);
  log_info entry = logs().at(0);
  EXPECT_EQ(entry.sub_type, 211);
  EXPECT_EQ(entry.param_type, 902);
  EXPECT_EQ(entry.channel, 4);
  EXPECT_EQ(entry.detail_size, 0);

  EXPECT_EQ(call("/2005", R"({"chnid": 16})"), kJsonError);
  EXPECT_EQ(call("/2005", "nothing"), kJsonError);
}

TEST_F(Channels, FailedWritesAnswerCgiErrorAndSendNothing) {
  BrokenSettings broken;
  EXPECT_EQ(call("/2004", kAdd), kCgiError);
  EXPECT_EQ(call("/2003", kAdd), kCgiError);
  EXPECT_EQ(call("/2005", R"({"chnid": 1})"), kCgiError);
  EXPECT_EQ(call("/2017", R"({"id": 1, "userName": "a", "password": "b"})"), kCgiError);
  EXPECT_EQ(call("/2031", R"({"id": 1})"), kCgiError);
  settle();
  EXPECT_TRUE(codes().empty());
}

TEST_F(Channels, NamesUpToTheCameraCount) {
  osd_params osd = {};
  osd.camId = 1;
  snprintf(osd.camName, sizeof osd.camName, "Car park");
  ASSERT_EQ(write_osd(KXDB_FILE, &osd), 0);
  JsonPtr names = parse_body(call("/2012"));
  json_object *list = json_member(names.get(), "IPC");
  ASSERT_EQ(array_length(list), 32);  // the default count
  EXPECT_EQ(int_member(array_at(list, 1), "id"), 1);
  EXPECT_EQ(text_member(array_at(list, 1), "name"), "Car park");
  ASSERT_EQ(kxdb_param_set(KXDB_FILE, "max_cameras", "4"), 0);
  EXPECT_EQ(array_length(json_member(parse_body(call("/2012")).get(), "IPC")), 4);
  ASSERT_EQ(kxdb_param_set(KXDB_FILE, "max_cameras", "500"), 0);
  EXPECT_EQ(array_length(json_member(parse_body(call("/2012")).get(), "IPC")), 64);
}

TEST_F(Channels, ProtocolsWithTheirModelsAndProtocolTwoHidesItsModels) {
  ipc_protocol onvif = {0, "ONVIF", 3, 1, 1, {}};
  ipc_protocol own = {2, "KXSF", 7, 1, 1, {}};
  ASSERT_EQ(write_ipc_protocol(KXDB_FILE, &onvif), 0);
  ASSERT_EQ(write_ipc_protocol(KXDB_FILE, &own), 0);
  ipc_model a = {10, 0, "Dome", 1, 1, {}};
  ipc_model b = {11, 2, "Bullet", 0, 0, {}};
  ipc_model c = {12, 0, "Box", 2, 0, {}};
  for (const ipc_model *m : {&a, &b, &c}) ASSERT_EQ(write_ipc_model(KXDB_FILE, m), 0);

  JsonPtr reply = parse_body(call("/2008"));
  json_object *list = json_member(reply.get(), "protocols");
  ASSERT_EQ(array_length(list), 2);
  json_object *first = array_at(list, 0);
  EXPECT_EQ(member_names(first), (std::vector<std::string>{"id", "name", "protocolFunction",
                                                            "enable", "display_model",
                                                            "models"}));
  EXPECT_EQ(int_member(first, "display_model"), 1);
  json_object *models = json_member(first, "models");
  ASSERT_EQ(array_length(models), 2);
  EXPECT_EQ(text_member(array_at(models, 1), "name"), "Box");
  EXPECT_EQ(member_names(array_at(models, 0)),
            (std::vector<std::string>{"id", "name", "alarm_type", "default_model"}));
  json_object *second = array_at(list, 1);
  EXPECT_EQ(int_member(second, "display_model"), 0);
  EXPECT_EQ(array_length(json_member(second, "models")), 1);
  std::vector<ipc_protocol> stored;
  ASSERT_EQ(read_ipc_protocols(KXDB_FILE, &stored), 0);
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[1].display_model, 0);
  EXPECT_EQ(stored[0].display_model, 1);
}

TEST_F(Channels, SmallFactsAsText) {
  EXPECT_EQ(call("/2016"), kTextHeader + "zq5071");
  EXPECT_EQ(call("/2018"), kTextHeader + "0");
  ASSERT_EQ(kxdb_param_set(KXDB_FILE, "poepsd", "p0e"), 0);
  ASSERT_EQ(kxdb_param_set(KXDB_FILE, "max_poe_num", "8"), 0);
  EXPECT_EQ(call("/2016"), kTextHeader + "p0e");
  EXPECT_EQ(call("/2018"), kTextHeader + "8");
  std::string ipv6 = reply_body(call("/2034"));
  EXPECT_TRUE(ipv6 == "0" || ipv6 == "1") << ipv6;
}

}  // namespace
