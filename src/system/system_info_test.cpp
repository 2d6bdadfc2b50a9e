// System information, the device name and number, and the small endpoints.
#include <cstring>

#include "system_info_test_util.h"

namespace {

using SystemInfo = HandlerTest;

device_info sample_device() {
  device_info d = {};
  d.deviceId = 7;
  d.maxCameras = 16;
  d.maxSensor = 8;
  d.maxAlarm = 2;
  d.maxAudioOut = 1;
  d.displayNum = 2;
  d.masRs485 = 1;
  d.maxNetworkLan = 2;
  d.oemversion = 3;
  d.kxddns = 1;
  memset(d.sn, 'S', sizeof d.sn);  // no terminator: ends at the next field
  snprintf(d.prefix, sizeof d.prefix, "PFX");
  snprintf(d.model, sizeof d.model, "NVR-16");
  snprintf(d.software, sizeof d.software, "7.1.2");
  snprintf(d.hardware, sizeof d.hardware, "HW2");
  snprintf(d.mac, sizeof d.mac, "00:11:22:33:44:55");
  d.isSupportTalk = 1;
  return d;
}

TEST_F(SystemInfo, FullRecordGivesEveryKeyInOrder) {
  ASSERT_EQ(set_param_value(KXDB_FILE, "company", std::string(80, 'c').c_str()), 0);
  ASSERT_EQ(set_param_int(KXDB_FILE, "kxfs_dbup", 1), 0);
  ASSERT_EQ(set_param_int(KXDB_FILE, "oemupdateonline", 1), 0);
  daemon().answer(3400, bytes_of(sample_device()));
  std::string reply = call("/1009");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{
                "hostName", "deviceName", "deviceId", "product", "hwver", "software", "oemversion",
                "sn", "prefix", "pluginVersion", "mpluginVersion", "macAddress", "kxddns",
                "uptime", "sncode", "resource", "kxfsDbup", "transProtocol", "streamInfo",
                "oemonlineupdate", "company", "isSupportTalk"}));
  json_object *o = body.get();
  EXPECT_EQ(text_member(o, "hostName"), "");
  EXPECT_EQ(text_member(o, "deviceName"), "NVR-16");
  EXPECT_EQ(text_member(o, "product"), "NVR-16");
  EXPECT_EQ(int_member(o, "deviceId"), 7);
  EXPECT_EQ(text_member(o, "sn"), std::string(65, 'S'));
  EXPECT_EQ(text_member(o, "sncode"), std::string(65, 'S'));
  EXPECT_EQ(text_member(o, "prefix"), "PFX");
  EXPECT_EQ(text_member(o, "hwver"), "HW2");
  EXPECT_EQ(text_member(o, "software"), "7.1.2");
  EXPECT_EQ(text_member(o, "macAddress"), "00:11:22:33:44:55");
  EXPECT_EQ(text_member(o, "pluginVersion"), "1.0");
  EXPECT_EQ(int_member(o, "oemversion"), 3);
  EXPECT_EQ(int_member(o, "kxfsDbup"), 1);
  EXPECT_EQ(int_member(o, "oemonlineupdate"), 1);
  EXPECT_EQ(text_member(o, "company"), std::string(63, 'c'));
  EXPECT_EQ(int_member(o, "isSupportTalk"), 1);
  EXPECT_FALSE(text_member(o, "uptime").empty());
  json_object *resource = json_member(o, "resource");
  EXPECT_EQ(member_names(resource),
            (std::vector<std::string>{"displayNum", "maxAudioOut", "maxNetworkLan", "maxSensor",
                                      "maxAlarm", "maxCameras", "masRs485"}));
  EXPECT_EQ(int_member(resource, "maxCameras"), 16);
  EXPECT_EQ(int_member(resource, "maxSensor"), 8);
  EXPECT_EQ(int_member(resource, "masRs485"), 1);
  EXPECT_EQ(parse_body(call("/1020")) != nullptr, true);  // the same handler
}

TEST_F(SystemInfo, ShortRecordOrNoAnswerIsTheJsonError) {
  daemon().answer(3400, Bytes(591, 1));
  EXPECT_EQ(call("/1009"), kJsonError);
  daemon().silent(3400);
  EXPECT_EQ(call("/1020"), kJsonError);
}

TEST_F(SystemInfo, UptimeIsCutBeforeTheUserCountOrTheLoad) {
  EXPECT_EQ(uptime_cut(" 10:01:02 up 3 days,  4:05,  2 users,  load average: 0.10"),
            " 10:01:02 up 3 days,  4:05");
  EXPECT_EQ(uptime_cut(" 10:01:02 up 5 min,  load average: 0.00, 0.01"), " 10:01:02 up 5 min,");
  EXPECT_EQ(uptime_cut("up 12 days"), "up 12 days");
  // Words that start early would put the cut before the text: it stays at 0.
  EXPECT_EQ(uptime_cut("users"), "");
  EXPECT_EQ(uptime_cut("1 users"), "");
  EXPECT_EQ(uptime_cut("load"), "");
  EXPECT_EQ(uptime_cut(""), "");
}

TEST_F(SystemInfo, SetStoresNameAndNumberThenTellsTheDaemon) {
  std::string name(200, 'h');
  EXPECT_EQ(call("/1012", R"({"hostName": ")" + name + R"(", "deviceId": 255})"), kOk);
  EXPECT_EQ(field_text(stored_network().hostName), std::string(127, 'h'));
  EXPECT_EQ(stored_param("deviceid"), "255");
  EXPECT_EQ(codes(), (std::vector<int>{1705, 1702}));
  EXPECT_EQ(sent(1705)[0].payload, bytes_of_int(255));
  Bytes changed = sent(1702)[0].payload;
  ASSERT_EQ(changed.size(), 32u);
  EXPECT_EQ(text_at(changed, 0, 32), "hostname");
}

TEST_F(SystemInfo, SetRefusesSilently) {
  for (const char *bad : {R"({"hostName": "", "deviceId": 1})", R"({"deviceId": 1})",
                          R"({"hostName": "a", "deviceId": 0})",
                          R"({"hostName": "a", "deviceId": 256})", R"({"hostName": "a"})",
                          "not json"}) {
    EXPECT_EQ(call("/1012", bad), "") << bad;
  }
  EXPECT_TRUE(codes().empty());
  EXPECT_EQ(call("/1012", R"({"hostName": "a", "deviceId": 1})"), kOk);
}

TEST_F(SystemInfo, FailedWriteAnswersErrorAndTellsNobody) {
  BrokenSettings broken;
  EXPECT_EQ(call("/1012", R"({"hostName": "a", "deviceId": 3})"), kCgiError);
  EXPECT_EQ(call("/1023"), kCgiError);
  EXPECT_TRUE(codes().empty());
}

TEST_F(SystemInfo, SmallEndpoints) {
  EXPECT_EQ(call("/1014"), kOk);
  auto entries = logs();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].main_type, 4);
  EXPECT_EQ(entries[0].sub_type, 202);
  EXPECT_EQ(entries[0].param_type, 900);
  ASSERT_EQ(set_param_int(KXDB_FILE, "kxfs_dbup", 1), 0);
  ASSERT_EQ(set_param_int(KXDB_FILE, "permission_update", 1), 0);
  EXPECT_EQ(call("/1023"), kOk);
  EXPECT_EQ(stored_param("kxfs_dbup"), "0");
  EXPECT_EQ(stored_param("permission_update"), "1");
  EXPECT_EQ(call("/1024"), kOk);
  EXPECT_EQ(stored_param("permission_update"), "0");
}

}  // namespace
