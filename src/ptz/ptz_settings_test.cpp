// The serial PTZ port and the PTZ speeds kept in the settings database.
#include "ptz_test_util.h"

namespace {

using PtzSettings = PtzTest;

std::string port_request(const std::string &channels, int cnt, const std::string &extra = "") {
  return R"({"cnt": )" + std::to_string(cnt) + R"(, "chnid": )" + channels +
         R"(, "connectType": 1, "baudRate": 9600, "dataBits": 8, "stopBits": 1,
             "parityType": 2, "protocol": 13, "address": 5)" + extra + "}";
}

// A key of /6051 replaced by another value (the rest as port_request).
std::string port_with(const char *key, const char *value) {
  JsonPtr json(json_tokener_parse(port_request("[1]", 1).c_str()));
  if (value) json_object_object_add(json.get(), key, json_object_new_int(atoi(value)));
  else json_object_object_del(json.get(), key);
  return json_object_to_json_string(json.get());
}

TEST_F(PtzSettings, PortIsWrittenForEachListedChannelAndReadBack) {
  EXPECT_EQ(call("/6051", port_request("[1, 70, -2]", 3)), kTextOk);
  auto notices = sent(1252);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].payload, bytes_of_int(1));
  EXPECT_EQ(only_log(), std::make_pair(904, 2));
  JsonPtr body = parse_body(call("/6050", R"({"chnid": 1})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{"camId", "connectType", "baudRate", "dataBits", "stopBits",
                                      "parityType", "protocol", "address"}));
  EXPECT_EQ(int_member(body.get(), "camId"), 1);
  EXPECT_EQ(int_member(body.get(), "connectType"), 1);
  EXPECT_EQ(int_member(body.get(), "baudRate"), 9600);
  EXPECT_EQ(int_member(body.get(), "dataBits"), 8);
  EXPECT_EQ(int_member(body.get(), "stopBits"), 1);
  EXPECT_EQ(int_member(body.get(), "parityType"), 2);
  EXPECT_EQ(int_member(body.get(), "protocol"), 13);
  EXPECT_EQ(int_member(body.get(), "address"), 5);
  ptz_port_params stored = {};
  EXPECT_EQ(kxdb_get(KXDB_FILE, "ptz_port", 70, &stored, sizeof stored), 1);  // never written
}

TEST_F(PtzSettings, PortListEndsWhereTheArrayEnds) {
  EXPECT_EQ(call("/6051", port_request("[3]", 5)), kTextOk);
  EXPECT_EQ(sent(1252).size(), 1u);
  ptz_port_params stored = {};
  EXPECT_EQ(kxdb_get(KXDB_FILE, "ptz_port", 0, &stored, sizeof stored), 1);  // channel 0 untouched
  forget();
  EXPECT_EQ(call("/6051", port_request("[4, 5]", 1)), kTextOk);
  EXPECT_EQ(sent(1252).size(), 1u);
  forget();
  EXPECT_EQ(call("/6051", port_request("7", 1)), kTextOk);
  EXPECT_TRUE(codes().empty());
}

TEST_F(PtzSettings, PortCheckIsSilent) {
  struct Case {
    const char *key;
    const char *value;  // null: left out
    bool accepted;
  } cases[] = {
      {"dataBits", "9", false},   {"dataBits", "4", false},   {"dataBits", "5", true},
      {"parityType", "2", true},  {"parityType", "3", false}, {"parityType", "-1", false},
      {"protocol", "14", false},  {"protocol", "0", true},    {"connectType", "2", false},
      {"connectType", "0", true}, {"baudRate", "-1", false},  {"stopBits", "-1", false},
      {"address", "-1", false},   {"address", nullptr, false}, {"cnt", nullptr, false},
      {"chnid", nullptr, false},  {"protocol", nullptr, false},
  };
  for (const Case &c : cases) {
    std::string reply = call("/6051", port_with(c.key, c.value));
    EXPECT_EQ(reply, c.accepted ? kTextOk : "") << c.key << " " << (c.value ? c.value : "-");
    EXPECT_EQ(sent(1252).size(), c.accepted ? 1u : 0u) << c.key;
    forget();
  }
  EXPECT_EQ(call("/6051", "{"), "");
}

TEST_F(PtzSettings, FailedPortWriteIsAnErrorAndSendsNothing) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6051", port_request("[1, 2]", 2)), kCgiError);
  EXPECT_TRUE(codes().empty());
}

TEST_F(PtzSettings, PortReadTakesSixteenChannels) {
  for (const char *bad : {R"({"chnid": 16})", R"({"chnid": -1})", R"({"camId": 1})", "", "{"}) {
    EXPECT_EQ(call("/6050", bad), kJsonError) << bad;
  }
  JsonPtr body = parse_body(call("/6050", R"({"chnid": 15})"));  // never written
  ASSERT_TRUE(body);
  EXPECT_EQ(int_member(body.get(), "camId"), 15);
  EXPECT_EQ(int_member(body.get(), "baudRate"), 0);
}

TEST_F(PtzSettings, SpeedsAreStoredAndAbsentOnesReset) {
  EXPECT_EQ(call("/6054", R"({"camId": 63, "pan_speed": 1, "tilt_speed": 2, "zoom_speed": 3,
                              "foucs_speed": 4})"),
            kTextOk);
  EXPECT_EQ(only_log(), std::make_pair(904, 64));
  JsonPtr body = parse_body(call("/6053", R"({"camId": 63})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{"pan_speed", "tilt_speed", "zoom_speed", "foucs_speed"}));
  EXPECT_EQ(int_member(body.get(), "pan_speed"), 1);
  EXPECT_EQ(int_member(body.get(), "tilt_speed"), 2);
  EXPECT_EQ(int_member(body.get(), "zoom_speed"), 3);
  EXPECT_EQ(int_member(body.get(), "foucs_speed"), 4);

  EXPECT_EQ(call("/6054", R"({"camId": 63, "tilt_speed": 7})"), kTextOk);
  body = parse_body(call("/6053", R"({"camId": 63})"));
  EXPECT_EQ(int_member(body.get(), "pan_speed"), 0);
  EXPECT_EQ(int_member(body.get(), "tilt_speed"), 7);
  EXPECT_EQ(int_member(body.get(), "foucs_speed"), 0);
  ptz_speed_params stored = {};
  ASSERT_EQ(read_ptz_speed(KXDB_FILE, &stored, 63), 0);
  EXPECT_EQ(stored.camId, 63);
}

TEST_F(PtzSettings, SpeedCameraOutsideTheTableIsSilent) {
  for (const char *bad : {R"({"camId": 64, "pan_speed": 1})", R"({"camId": -1, "pan_speed": 1})",
                          "{"}) {
    EXPECT_EQ(call("/6054", bad), "") << bad;
    EXPECT_EQ(call("/6053", bad), "") << bad;
  }
  EXPECT_TRUE(codes().empty());
  ptz_speed_params stored = {};
  EXPECT_EQ(kxdb_get(KXDB_FILE, "ptz_speed", 64, &stored, sizeof stored), 1);
}

TEST_F(PtzSettings, FailedSpeedWriteIsAnErrorAndLogsNothing) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6054", R"({"camId": 1, "pan_speed": 1})"), kCgiError);
  EXPECT_TRUE(codes().empty());
}

}  // namespace
