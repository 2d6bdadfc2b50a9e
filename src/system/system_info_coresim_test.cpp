// System information, general settings and the log end to end: the built
// program against coresim, as the demo runs them. What the pages change is
// logged by the daemon and found again by the log search and export.
#include <gtest/gtest.h>

#include <unistd.h>

#include "cgi_runner.h"
#include "coresim_fixture.h"
#include "json_codecs.h"

namespace {

class SystemInfoOnCoresim : public CoresimTest {
 protected:
  static int int_of(json_object *o, const char *key) {
    return json_object_get_int(json_member(o, key));
  }
  static std::string text_of(json_object *o, const char *key) {
    const char *t = json_object_get_string(json_member(o, key));
    return t ? t : "<missing>";
  }
};

const char *kOperations = R"({"language": "en-US", "mainType": 4, "subTypeArr": [10],
    "startTime": "2000-01-01 00:00:00", "endTime": "2037-01-01 00:00:00", "curPageNum": 1,
    "chnMask": "", "searchNoChn": 0})";

TEST_F(SystemInfoOnCoresim, DeviceRecordFollowsTheSettings) {
  EXPECT_EQ(post("/1012", R"({"hostName": "yard", "deviceId": 42})").body, "OK");
  JsonPtr info = get_json("/1009");
  ASSERT_TRUE(info);
  EXPECT_EQ(int_of(info.get(), "deviceId"), 42);
  EXPECT_EQ(text_of(info.get(), "deviceName"), "NVR-DEMO");
  EXPECT_EQ(text_of(info.get(), "software"), "7x.7.0.9");
  EXPECT_EQ(int_of(json_member(info.get(), "resource"), "maxCameras"), 32);
  EXPECT_NE(text_of(info.get(), "uptime"), "");
  JsonPtr general = get_json("/6080");
  EXPECT_EQ(text_of(general.get(), "hostname"), "yard");
  EXPECT_EQ(int_of(general.get(), "deviceId"), 42);
}

TEST_F(SystemInfoOnCoresim, ChangesAreLoggedSearchedDetailedAndExported) {
  EXPECT_EQ(get("/1014").body, "OK");
  EXPECT_EQ(post("/1017", R"({"logRetention": 4, "photoRetention": 2})").body, "OK");
  EXPECT_EQ(post("/6081", R"({"mainResolution": 2, "audioOutputOn": 1, "audioVolume": 40,
      "hdmiAudioOn": 0, "subResolution": 1, "wizardEnable": 0, "hostname": "yard",
      "deviceId": 3, "displayMode": 0, "subEnable": 0})").body, "OK");

  JsonPtr page = post_json("/1002", kOperations);
  ASSERT_TRUE(page);
  EXPECT_EQ(int_of(page.get(), "count"), 2);
  json_object *newest = json_object_array_get_idx(json_member(page.get(), "log"), 0);
  EXPECT_EQ(int_of(newest, "subTypeValue"), 204);
  EXPECT_EQ(text_of(newest, "subType"), "Settings changed");
  EXPECT_EQ(text_of(newest, "parameter"), "General settings");
  EXPECT_EQ(text_of(newest, "mainType"), "Operation");
  EXPECT_EQ(text_of(newest, "user"), "admin");

  std::string detail = post("/1021", json_object_to_json_string(newest)).body;
  EXPECT_NE(detail.find("User admin"), std::string::npos) << detail;

  JsonPtr logout = post_json("/1002", R"({"language": "en-US", "mainType": 4,
      "subTypeArr": [202], "startTime": "2000-01-01 00:00:00",
      "endTime": "2037-01-01 00:00:00", "curPageNum": 1})");
  EXPECT_EQ(int_of(logout.get(), "count"), 1);

  CgiReply csv = post("/1003", R"({"language": "en-US", "mainType": 4, "subTypeArr": [10],
      "startTime": "2000-01-01T00:00:00", "endTime": "2037-01-01T00:00:00", "curPageNum": 1,
      "na": 1, "ch": "0"})");
  EXPECT_NE(csv.headers.find("filename= Operation_log_"), std::string::npos) << csv.headers;
  EXPECT_EQ(csv.body.rfind("Number,Time,Main,Sub,Parameter,User,Ip,Channel,Log information,\r\n",
                           0),
            0u);
  EXPECT_NE(csv.body.find(",Operation,Settings changed,General settings,admin,"),
            std::string::npos)
      << csv.body;
  EXPECT_NE(csv.body.find("\r\n2,"), std::string::npos);
  EXPECT_TRUE(files_with_prefix("/tmp", "log_export_").empty());
  EXPECT_EQ(get("/1022").body, "NO");
}

TEST_F(SystemInfoOnCoresim, UpnpIsStoredByTheDaemon) {
  EXPECT_EQ(post("/1031", R"({"enable": 1, "type": 1, "external_http_port": 8081,
                              "external_rtsp_port": 8555})").body,
            "OK");
  // The daemon stores the record after the reply: wait for it.
  JsonPtr upnp = get_json("/1030");
  for (int i = 0; i < 100 && upnp && int_of(upnp.get(), "enable") != 1; i++) {
    usleep(20000);
    upnp = get_json("/1030");
  }
  ASSERT_TRUE(upnp);
  EXPECT_EQ(int_of(upnp.get(), "enable"), 1);
  EXPECT_EQ(int_of(upnp.get(), "external_http_port"), 8081);
  EXPECT_EQ(int_of(upnp.get(), "http_status"), 1);
  EXPECT_EQ(int_of(upnp.get(), "rtsp_status"), 1);
}

}  // namespace
