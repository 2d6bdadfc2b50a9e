// General settings, retention, UPnP and the automatic reboot.
#include <cstring>

#include "kxdb_port.h"
#include "system_info_test_util.h"

namespace {

using GeneralSettings = HandlerTest;

const std::string kGeneral = R"({"mainResolution": 5, "audioOutputOn": 1, "audioVolume": 60,
    "hdmiAudioOn": 1, "subResolution": 3, "wizardEnable": 1, "hostname": "Gatehouse",
    "deviceId": 12, "displayMode": 1, "subEnable": 0, "hdmihotplug": 0, "streamInfo": 1})";

display_params stored_display() {
  display_params d = {};
  EXPECT_EQ(read_display(KXDB_FILE, &d), 0);
  return d;
}

void store_display(int main, int sub, int sub_enable, int cur_control) {
  display_params d = {};
  d.mainResolution = main;
  d.subResolution = sub;
  d.subEnable = sub_enable;
  d.curControl = cur_control;
  ASSERT_EQ(write_display(KXDB_FILE, &d), 0);
}

TEST_F(GeneralSettings, ReadGivesTheKeysInOrder) {
  store_display(5, 3, 1, 0);
  network_params n = {};
  snprintf(n.hostName, sizeof n.hostName, "Gatehouse");
  ASSERT_EQ(write_network(KXDB_FILE, &n), 0);
  ASSERT_EQ(set_param_value(KXDB_FILE, "display_mode", "1"), 0);
  JsonPtr body = parse_body(call("/6080"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{"displayMode", "hdmihotplug", "mainResolution",
                                      "hdmiAudioOn", "homologous", "curControl", "subEnable",
                                      "subResolution", "audioOutputOn", "audioVolume", "deviceId",
                                      "hostname", "wizardEnable", "hideTaskBar", "hideToolBar"}));
  EXPECT_EQ(int_member(body.get(), "displayMode"), 1);
  EXPECT_EQ(int_member(body.get(), "hdmihotplug"), 1);  // its default
  EXPECT_EQ(int_member(body.get(), "homologous"), 1);
  EXPECT_EQ(int_member(body.get(), "deviceId"), 255);
  EXPECT_EQ(int_member(body.get(), "mainResolution"), 5);
  EXPECT_EQ(int_member(body.get(), "subEnable"), 1);
  EXPECT_EQ(text_member(body.get(), "hostname"), "Gatehouse");
}

TEST_F(GeneralSettings, WriteValidatesEveryKey) {
  struct Case {
    const char *key;
    const char *value;
    bool accepted;
  } cases[] = {
      {"deviceId", "0", true},        {"deviceId", "256", true},     {"deviceId", "257", false},
      {"deviceId", "-1", false},      {"audioVolume", "55", false},  {"audioVolume", "100", true},
      {"audioVolume", "0", true},     {"audioVolume", "110", false}, {"audioVolume", "-10", false},
      {"audioOutputOn", "2", false},  {"subEnable", "", false},      {"hostname", "", false},
      {"mainResolution", "", false},  {"displayMode", "-1", false},  {"wizardEnable", "1", true},
  };
  for (const Case &c : cases) {
    std::string reply = call("/6081", with_member(kGeneral, c.key, c.value));
    EXPECT_EQ(reply, c.accepted ? kOk : "") << c.key << " " << c.value;
  }
  EXPECT_EQ(call("/6081", "{"), "");
}

TEST_F(GeneralSettings, WriteStoresEverythingAndSendsInOrder) {
  store_display(5, 3, 0, 0);
  EXPECT_EQ(call("/6081", kGeneral), kOk);
  display_params d = stored_display();
  EXPECT_EQ(d.audioVolume, 60);
  EXPECT_EQ(d.audioOutputOn, 1);
  EXPECT_EQ(d.hdmiAudioOn, 1);
  EXPECT_EQ(d.audioStereo, 0);  // missing: 0
  EXPECT_EQ(field_text(stored_network().hostName), "Gatehouse");
  EXPECT_EQ(stored_param("deviceid"), "12");
  EXPECT_EQ(stored_param("wizard_enable"), "1");
  EXPECT_EQ(stored_param("display_mode"), "1");
  EXPECT_EQ(stored_param("hdmihotplug"), "0");
  EXPECT_EQ(stored_param("stream_information"), "1");
  // Same resolutions, same secondary output: no 1001, 1015 or 1023.
  EXPECT_EQ(codes(), (std::vector<int>{1705, 1702, 1002, 3485}));
  Bytes audio = sent(1002)[0].payload;
  ASSERT_EQ(audio.size(), 12u);
  EXPECT_EQ(int_at(audio, 0), 1);
  EXPECT_EQ(int_at(audio, 4), 1);
  EXPECT_EQ(int_at(audio, 8), 60);
  EXPECT_EQ(logs()[0].sub_type, 204);
  EXPECT_EQ(logs()[0].param_type, 913);
}

TEST_F(GeneralSettings, SecondaryOutputAndResolutionChanges) {
  store_display(4, 3, 1, 0);
  EXPECT_EQ(call("/6081", kGeneral), kOk);
  EXPECT_EQ(codes(), (std::vector<int>{1023, 1705, 1702, 1001, 1001, 1015, 1002, 3485}));
  EXPECT_EQ(sent(1023)[0].payload, bytes_of_int(0));
  auto resolutions = sent(1001);
  EXPECT_EQ(int_at(resolutions[0].payload, 0), 0);
  EXPECT_EQ(int_at(resolutions[0].payload, 4), 5);
  EXPECT_EQ(int_at(resolutions[1].payload, 0), 1);
  EXPECT_EQ(int_at(resolutions[1].payload, 4), 3);
}

TEST_F(GeneralSettings, CurrentControlOnTheSecondaryOutputAnswersSub) {
  store_display(5, 3, 1, 1);
  EXPECT_EQ(call("/6081", kGeneral), kTextHeader + "SUB");
  EXPECT_EQ(codes(), (std::vector<int>{1705, 1702, 1002, 3485}));
  EXPECT_EQ(stored_display().audioVolume, 60);
  EXPECT_EQ(stored_param("deviceid"), "12");
}

TEST_F(GeneralSettings, HomologousChangeSetsTheSecondaryOutputAndRestarts) {
  store_display(5, 3, 1, 0);
  std::string body = with_member(with_member(kGeneral, "isHomologousChanged", "1"),
                                 "homologous", "1");
  EXPECT_EQ(call("/6081", body), kOk);
  EXPECT_EQ(stored_display().subEnable, 0);
  EXPECT_EQ(stored_param("homologous"), "1");
  EXPECT_EQ(stored_param("quick_screen"), "0");
  EXPECT_EQ(codes(), (std::vector<int>{1705, 1702, 1002, 3485, 1703}));
  forget();
  EXPECT_EQ(call("/6081", with_member(body, "homologous", "0")), kOk);
  EXPECT_EQ(stored_display().subEnable, 1);
  EXPECT_EQ(stored_param("quick_screen"), "1");
  EXPECT_EQ(codes().back(), 1703);
}

TEST_F(GeneralSettings, FailedWriteAnswersErrorAndTellsNobody) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6081", kGeneral), kCgiError);
  EXPECT_EQ(call("/1017", R"({"logRetention": 2, "photoRetention": 2})"), kCgiError);
  EXPECT_EQ(call("/1033", R"({"enable": 1})"), kCgiError);
  EXPECT_TRUE(codes().empty());
}

TEST_F(GeneralSettings, RetentionValues) {
  for (int v : {-2, 3, 13, 14, 100}) {
    std::string body = R"({"logRetention": )" + std::to_string(v) + R"(, "photoRetention": 0})";
    EXPECT_EQ(call("/1017", body), "") << v;
    body = R"({"logRetention": 0, "photoRetention": )" + std::to_string(v) + "}";
    EXPECT_EQ(call("/1017", body), "") << v;
  }
  EXPECT_EQ(call("/1017", R"({"logRetention": 4})"), "");
  EXPECT_TRUE(codes().empty());
  for (int v : {-1, 0, 1, 2, 4, 12}) {
    std::string body = R"({"logRetention": )" + std::to_string(v) + R"(, "photoRetention": 6})";
    EXPECT_EQ(call("/1017", body), kOk) << v;
    JsonPtr read = parse_body(call("/1016"));
    EXPECT_EQ(int_member(read.get(), "logRetention"), v);
    EXPECT_EQ(int_member(read.get(), "photoRetention"), 6);
  }
  EXPECT_EQ(sent(2102).size(), 6u);
}

TEST_F(GeneralSettings, UpnpIsSentWholeAndNotStored) {
  upnp_params u = {};
  u.enable = 1;
  u.type = 2;
  memset(u.reserved, 'r', sizeof u.reserved);
  u.external_http_port = 8080;
  u.http_status = 1;
  u.external_rtsp_port = 5554;
  u.rtsp_status = 2;
  ASSERT_EQ(write_upnp(KXDB_FILE, &u), 0);
  port_params port = {};
  port.httpPort = 80;
  port.rtspPort = 554;
  ASSERT_EQ(write_port(KXDB_FILE, &port), 0);
  JsonPtr read = parse_body(call("/1030"));
  ASSERT_TRUE(read);
  EXPECT_EQ(member_names(read.get()),
            (std::vector<std::string>{"enable", "type", "external_http_port", "http_status",
                                      "external_rtsp_port", "rtsp_status", "http_port",
                                      "rtsp_port"}));
  EXPECT_EQ(int_member(read.get(), "external_http_port"), 8080);
  EXPECT_EQ(int_member(read.get(), "rtsp_status"), 2);
  EXPECT_EQ(int_member(read.get(), "http_port"), 80);
  EXPECT_EQ(int_member(read.get(), "rtsp_port"), 554);

  EXPECT_EQ(call("/1031", R"({"enable": 0, "type": 1, "external_http_port": 9090})"), kOk);
  auto sent_upnp = sent(3720);
  ASSERT_EQ(sent_upnp.size(), 1u);
  upnp_params expected = u;
  expected.enable = 0;
  expected.type = 1;
  expected.external_http_port = 9090;
  expected.external_rtsp_port = 0;  // missing: 0
  EXPECT_EQ(sent_upnp[0].payload, bytes_of(expected));
  upnp_params stored = {};
  ASSERT_EQ(read_upnp(KXDB_FILE, &stored), 0);
  EXPECT_EQ(memcmp(&stored, &u, sizeof u), 0);
}

TEST_F(GeneralSettings, AutoRebootRoundTrip) {
  JsonPtr read = parse_body(call("/1032"));
  EXPECT_EQ(member_names(read.get()),
            (std::vector<std::string>{"enable", "wday", "hour", "minutes", "seconds"}));
  EXPECT_EQ(call("/1033", R"({"enable": 1, "wday": 3, "hour": 2, "minutes": 30})"), kOk);
  EXPECT_EQ(codes(), (std::vector<int>{1718}));
  read = parse_body(call("/1032"));
  EXPECT_EQ(int_member(read.get(), "enable"), 1);
  EXPECT_EQ(int_member(read.get(), "wday"), 3);
  EXPECT_EQ(int_member(read.get(), "hour"), 2);
  EXPECT_EQ(int_member(read.get(), "minutes"), 30);
  EXPECT_EQ(int_member(read.get(), "seconds"), 0);
}

}  // namespace
