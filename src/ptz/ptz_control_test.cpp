// Steering a camera: movement, presets, patterns, preset calls, zoom, the
// camera's speed, the control command and the LED state; and the
// operation-log entries of every PTZ endpoint.
#include "ptz_test_util.h"

namespace {

using PtzControl = PtzTest;

constexpr const char *kMove =
    R"({"channelId": 3, "action": 7, "panSpeed": 5, "tiltSpeed": 6, "zoomSpeed": 7,
        "focusSpeed": 8, "fisheyeType": 2, "streamId": 1})";

TEST_F(PtzControl, MovementSendsTheActionThenTheCameraSpeed) {
  daemon().answer(3226, int_answer(9));  // the camera's status word does not matter
  EXPECT_EQ(call("/5000", kMove), kTextOk);
  EXPECT_EQ(codes(), (std::vector<int>{1251, 3226, 3485}));
  auto move = sent_once<ptz_action>(1251);
  EXPECT_EQ(move.channelId, 3);
  EXPECT_EQ(move.action, 7);
  EXPECT_EQ(move.presetId, 0);
  EXPECT_EQ(move.panSpeed, 5);
  EXPECT_EQ(move.tiltSpeed, 6);
  EXPECT_EQ(move.zoomSpeed, 7);
  EXPECT_EQ(move.focusSpeed, 8);
  EXPECT_EQ(move.fisheyeType, 2);
  EXPECT_EQ(move.streamId, 1);
  auto param = sent_once<common_param_request>(3226);
  EXPECT_EQ(param.id, 3);
  EXPECT_STREQ(param.param.pagename, "");
  EXPECT_STREQ(param.param.httpname, "vsetting.html");
  EXPECT_STREQ(param.param.key, "ptzspeed");
  EXPECT_STREQ(param.param.value, "4");
  EXPECT_EQ(only_log(), std::make_pair(900, 4));
}

TEST_F(PtzControl, MovementChecksChannelAndAction) {
  set_param_value(KXDB_FILE, "max_cameras", "8");
  for (const char *bad : {R"({"channelId": 8, "action": 1})", R"({"channelId": -1, "action": 1})",
                          R"({"action": 1})", R"({"channelId": 2})",
                          R"({"channelId": 2, "action": -1})", "", "{", "[1"}) {
    EXPECT_EQ(call("/5000", bad), "") << bad;
  }
  EXPECT_TRUE(codes().empty());
  daemon().answer(3226, int_answer(0));
  EXPECT_EQ(call("/5000", R"({"channelId": 7, "action": 0})"), kTextOk);
  EXPECT_EQ(sent_once<common_param_request>(3226).param.value, std::string("1"));
}

TEST_F(PtzControl, MovementAtTheDefaultCapacityStopsBeforeChannel32) {
  EXPECT_EQ(call("/5000", R"({"channelId": 32, "action": 1})"), "");
  EXPECT_TRUE(codes().empty());
}

TEST_F(PtzControl, ZoomWithAutomaticFocusSendsAFocusMovementToo) {
  daemon().answer(3226, int_answer(0));
  EXPECT_EQ(call("/5000", R"({"channelId": 1, "action": 21, "isAutoFocus": 1, "zoomSpeed": 3})"),
            kTextOk);
  auto moves = sent(1251);
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_EQ(int_at(moves[0].payload, 4), 21);
  EXPECT_EQ(int_at(moves[1].payload, 4), 12);
  EXPECT_EQ(int_at(moves[1].payload, 20), 3);
  EXPECT_EQ(codes(), (std::vector<int>{1251, 1251, 3226, 3485}));
  forget();
  for (const char *once : {R"({"channelId": 1, "action": 21, "isAutoFocus": 0})",
                           R"({"channelId": 1, "action": 20, "isAutoFocus": 1})"}) {
    call("/5000", once);
    EXPECT_EQ(sent(1251).size(), 1u) << once;
    forget();
  }
}

TEST_F(PtzControl, MovementIsLoggedAlsoWhenTheCameraDoesNotAnswer) {
  EXPECT_EQ(call("/5000", kMove), kCgiError);
  EXPECT_EQ(codes(), (std::vector<int>{1251, 3226, 3485}));
}

TEST_F(PtzControl, CameraSpeedIsThePagesSpeedLessOne) {
  daemon().answer(3226, int_answer(0));
  struct Case {
    int speed;
    const char *value;
  } cases[] = {{0, "1"}, {1, "0"}, {5, "4"}, {-7, "1"}, {2147483647, "2147483646"}};
  for (const Case &c : cases) {
    std::string speed = std::to_string(c.speed);
    EXPECT_EQ(call("/5008", R"({"chn": 6, "Speed": )" + speed + "}"), kTextOk);
    auto param = sent_once<common_param_request>(3226);
    EXPECT_EQ(param.id, 6);
    EXPECT_STREQ(param.param.key, "ptzspeed");
    EXPECT_STREQ(param.param.value, c.value) << c.speed;
    EXPECT_EQ(only_log(), std::make_pair(904, 7));
    forget();
    call("/5000", R"({"channelId": 0, "action": 1, "panSpeed": )" + speed + "}");
    EXPECT_STREQ(sent_once<common_param_request>(3226).param.value, c.value) << c.speed;
    forget();
  }
  daemon().silent(3226);
  EXPECT_EQ(call("/5008", R"({"chn": 6, "Speed": 3})"), kCgiError);
  EXPECT_EQ(call("/5008", "{"), "");
}

TEST_F(PtzControl, PresetChecksItsKeys) {
  const std::string keys = R"("channelId": 2, "action": 22, "panSpeed": 1, "tiltSpeed": 1,
                             "zoomSpeed": 1, "focusSpeed": 1)";
  for (const std::string &bad : std::vector<std::string>{
       "{" + keys + R"(, "presetId": 301})", "{" + keys + R"(, "presetId": -1})", "{" + keys + "}",
        R"({"channelId": 2, "presetId": 1, "action": 22, "panSpeed": 1, "tiltSpeed": 1,
            "zoomSpeed": 1})",
        R"({"channelId": 2, "presetId": 1, "action": 22, "panSpeed": -1, "tiltSpeed": 1,
            "zoomSpeed": 1, "focusSpeed": 1})",
        R"({"channelId": 32, "presetId": 1, "action": 22, "panSpeed": 1, "tiltSpeed": 1,
            "zoomSpeed": 1, "focusSpeed": 1})",
        "nonsense"}) {
    EXPECT_EQ(call("/5001", bad), "") << bad;
  }
  EXPECT_TRUE(codes().empty());
  for (int id : {0, 300}) {
    EXPECT_EQ(call("/5001", "{" + keys + R"(, "presetId": )" + std::to_string(id) + "}"), kTextOk);
    EXPECT_EQ(sent_once<ptz_action>(1253).presetId, id);
    forget();
  }
}

TEST_F(PtzControl, PresetNameTravelsWithSetOnly) {
  const std::string name(40, 'n');
  EXPECT_EQ(call("/5001", R"({"channelId": 4, "presetId": 9, "action": 22, "panSpeed": 2,
                              "tiltSpeed": 3, "zoomSpeed": 4, "focusSpeed": 5, "name": ")" +
                              name + "\"}"),
            kTextOk);
  auto set = sent_once<ptz_action>(1253);
  EXPECT_EQ(set.channelId, 4);
  EXPECT_EQ(set.action, 22);
  EXPECT_EQ(set.presetId, 9);
  EXPECT_EQ(std::string(set.name), std::string(30, 'n'));
  EXPECT_EQ(set.reserved1[0], 0);
  EXPECT_EQ(set.focusSpeed, 5);
  EXPECT_EQ(codes(), (std::vector<int>{1253, 3485}));  // no camera parameter
  EXPECT_EQ(only_log(), std::make_pair(904, 5));
  forget();
  call("/5001", R"({"channelId": 4, "presetId": 9, "action": 23, "panSpeed": 0, "tiltSpeed": 0,
                    "zoomSpeed": 0, "focusSpeed": 0, "name": "Gate"})");
  EXPECT_STREQ(sent_once<ptz_action>(1253).name, "");
}

TEST_F(PtzControl, FisheyePresetIsAlsoToldToTheCamera) {
  const std::string fisheye = R"({"channelId": 1, "presetId": 7, "action": 22, "panSpeed": 0,
                                  "tiltSpeed": 0, "zoomSpeed": 0, "focusSpeed": 0,
                                  "fisheyeType": 1, "streamId": 2, "name": ")";
  daemon().answer(3226, int_answer(0));
  EXPECT_EQ(call("/5001", fisheye + "Gate\"}"), kTextOk);
  EXPECT_EQ(codes(), (std::vector<int>{1253, 3226, 3485}));
  auto param = sent_once<common_param_request>(3226);
  EXPECT_EQ(param.id, 1);
  EXPECT_STREQ(param.param.httpname, "vsetting.html");
  EXPECT_STREQ(param.param.key, "ipncptz=setfishpreset");
  EXPECT_STREQ(param.param.value, "2:7:Gate");
  forget();
  call("/5001", fisheye + std::string(40, 'x') + "\"}");
  EXPECT_EQ(std::string(sent_once<common_param_request>(3226).param.value),
            "2:7:" + std::string(31, 'x'));
  forget();
  daemon().silent(3226);
  EXPECT_EQ(call("/5001", fisheye + "Gate\"}"), kCgiError);
}

TEST_F(PtzControl, PatternActionsMapToTheDaemonsCodes) {
  struct Case {
    int action, code;
  } cases[] = {{0, 26}, {1, 21}, {2, 25}, {3, 27}, {4, 40}, {5, 0}, {9, 0}, {-1, 0}};
  for (const Case &c : cases) {
    EXPECT_EQ(call("/5004", R"({"chn": 5, "tourid": 3, "action": )" + std::to_string(c.action) +
                                "}"),
              kTextOk);
    auto pattern = sent_once<ptz_action>(1254);
    EXPECT_EQ(pattern.action, c.code) << c.action;
    EXPECT_EQ(pattern.channelId, 5);
    EXPECT_EQ(pattern.presetId, 3);
    EXPECT_EQ(only_log(), std::make_pair(904, 6));
    forget();
  }
}

TEST_F(PtzControl, PresetCallAndZoomAreSentWithoutWaiting) {
  EXPECT_EQ(call("/5006", R"({"channelId": 2, "action": 5})"), kTextOk);
  auto preset = sent_once<ptz_preset_call>(1266);
  EXPECT_EQ(preset.channelId, 2);
  EXPECT_EQ(preset.action, 5);
  EXPECT_EQ(only_log(), std::make_pair(900, 3));
  forget();
  EXPECT_EQ(call("/5007", R"({"camId": 9, "Zoom": 1, "ZoomSpeed": 4})"), kTextOk);
  auto zoom = sent_once<ptz_zoom>(1267);
  EXPECT_EQ(zoom.camId, 9);
  EXPECT_EQ(zoom.Zoom, 1);
  EXPECT_EQ(zoom.ZoomSpeed, 4);
  EXPECT_EQ(only_log(), std::make_pair(900, 10));
  forget();
  for (const char *path : {"/5006", "/5007", "/5004", "/5002", "/5003"}) {
    EXPECT_EQ(call(path, "{"), "") << path;
  }
  EXPECT_TRUE(codes().empty());
}

TEST_F(PtzControl, ControlCommandAnswersTheDaemonsResult) {
  daemon().answer(3361, int_answer(3));
  JsonPtr reply = parse_body(call("/5009", R"({"chnid": 63, "ptzCmd": 2})"));
  ASSERT_TRUE(reply);
  EXPECT_EQ(int_member(reply.get(), "res"), 3);
  auto control = sent_once<ptz_control>(3361);
  EXPECT_EQ(control.chnid, 63);
  EXPECT_EQ(control.ptzCmd, 2);
  EXPECT_EQ(only_log(), std::make_pair(904, 64));
  forget();
  for (const char *bad : {R"({"chnid": 64})", R"({"chnid": -1})", "", "{"}) {
    EXPECT_EQ(call("/5009", bad), kJsonError) << bad;
    EXPECT_EQ(call("/5010", bad), kJsonError) << bad;
  }
  EXPECT_TRUE(codes().empty());
  daemon().silent(3361);
  EXPECT_EQ(call("/5009", R"({"chnid": 0})"), kJsonError);
}

TEST_F(PtzControl, AnswersTooShortForTheirResultAreOneJsonError) {
  daemon().answer(3361, Bytes{1, 2});
  EXPECT_EQ(call("/5009", R"({"chnid": 1})"), kJsonError);
  daemon().answer(3363, int_answer(1));
  EXPECT_EQ(call("/5010", R"({"chnid": 1})"), kJsonError);
}

TEST_F(PtzControl, LedStateOfACamera) {
  daemon().answer(3363, records_answer(std::vector<ptz_led_status>{{5, 1}}));
  JsonPtr reply = parse_body(call("/5010", R"({"chnid": 5})"));
  ASSERT_TRUE(reply);
  EXPECT_EQ(member_names(reply.get()), (std::vector<std::string>{"chnid", "status"}));
  EXPECT_EQ(int_member(reply.get(), "chnid"), 5);
  EXPECT_EQ(int_member(reply.get(), "status"), 1);
  EXPECT_EQ(sent(3363).at(0).payload, bytes_of_int(5));
  EXPECT_TRUE(logs().empty());
}

// Every command and change logs once with its kind and channel plus one;
// the reads and the basic options log nothing.
TEST_F(PtzControl, LogEntriesNameTheChannelAndKind) {
  daemon().answer_all([](const SimRequest &r) {
    if (r.code == 3485 || r.code == kSettleMarker) return std::vector<SimFrame>{};
    return std::vector<SimFrame>{SimFrame{0, Bytes(16000, 0), 0}};
  });
  struct Case {
    const char *path;
    const char *body;
    int param_type;  // -1: no entry
    int channel;
  } cases[] = {
      {"/5000", R"({"channelId": 2, "action": 1})", 900, 3},
      {"/5001", R"({"channelId": 2, "presetId": 1, "action": 1, "panSpeed": 0, "tiltSpeed": 0,
                    "zoomSpeed": 0, "focusSpeed": 0})", 904, 3},
      {"/5002", R"({"chn": 4, "tourid": 1})", 900, 5},
      {"/5003", R"({"chn": 4, "tourid": 1})", 900, 5},
      {"/5004", R"({"chn": 4, "tourid": 1, "action": 0})", 904, 5},
      {"/5006", R"({"channelId": 6, "action": 1})", 900, 7},
      {"/5007", R"({"camId": 8, "Zoom": 1})", 900, 9},
      {"/5008", R"({"chn": 10, "Speed": 3})", 904, 11},
      {"/5009", R"({"chnid": 12, "ptzCmd": 1})", 904, 13},
      {"/6051", R"({"cnt": 1, "chnid": [14], "connectType": 0, "baudRate": 9600, "dataBits": 8,
                    "stopBits": 1, "parityType": 0, "protocol": 1, "address": 1})", 904, 15},
      {"/6054", R"({"camId": 16, "pan_speed": 1})", 904, 17},
      {"/6055", R"({"chn": 18, "tourid": 0, "rowsize": 1, "path": [{"preset": 1}]})", 904, 19},
      {"/6056", R"({"chn": 20, "tourid": 1, "rowsize": 1, "path": [{"preset": 1}]})", 904, 21},
      {"/6057", R"({"chn": 22, "tourid": 0})", 904, 23},
      {"/5005", R"({"chn": 1})", -1, 0},
      {"/5010", R"({"chnid": 1})", -1, 0},
      {"/5011", R"({"chnId": 1})", -1, 0},
      {"/5012", R"({"chnId": 1})", -1, 0},
      {"/6050", R"({"chnid": 1})", -1, 0},
      {"/6052", R"({"camId": 1})", -1, 0},
      {"/6053", R"({"camId": 1})", -1, 0},
  };
  for (const Case &c : cases) {
    EXPECT_NE(call(c.path, c.body), "") << c.path;
    if (c.param_type < 0) {
      EXPECT_TRUE(logs().empty()) << c.path;
    } else {
      EXPECT_EQ(only_log(), std::make_pair(c.param_type, c.channel)) << c.path;
    }
    forget();
  }
}

TEST_F(PtzControl, LogChannelOfAnUnboundedChannelDoesNotOverflow) {
  EXPECT_EQ(call("/5006", R"({"channelId": 2147483647, "action": 1})"), kTextOk);
  EXPECT_EQ(only_log(), std::make_pair(900, 2147483647));
}

}  // namespace
