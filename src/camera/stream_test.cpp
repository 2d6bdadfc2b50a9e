#include <gtest/gtest.h>

#include <cstring>

#include "camera_records.h"
#include "camera_test_util.h"
#include "json_checks.h"
#include "kxdb.h"
#include "kxdb_camera.h"
#include "kxdb_ipc_model.h"
#include "kxdb_osd.h"

using namespace camera_test;

namespace {

using StreamQuery = HandlerTest;
using StreamSet = HandlerTest;

void store_channel_3() {
  osd_params osd = {};
  osd.camId = 3;
  snprintf(osd.camName, sizeof osd.camName, "Gate");
  ASSERT_EQ(write_osd(KXDB_FILE, &osd), 0);
  camera_params cam = {};
  cam.id = 3;
  cam.camProtocol = 2;
  cam.syncTime = 1;
  cam.managePort = 8000;
  cam.physicalport = 4;
  cam.poechannel = 1;
  snprintf(cam.mac_addr, sizeof cam.mac_addr, "00:11:22:33:44:55");
  cam.transmitProtocol = 3;
  snprintf(cam.ddns, sizeof cam.ddns, "gate.example");
  cam.httpsPort = 443;
  ASSERT_EQ(write_camera(KXDB_FILE, &cam), 0);
  ipc_model model = {};
  model.id = 2;
  snprintf(model.name, sizeof model.name, "KXSF");
  ASSERT_EQ(write_ipc_model(KXDB_FILE, &model), 0);
}

stream_capabilities capabilities() {
  stream_capabilities c = {};
  c.channel = 3;
  c.main.res[0] = {1920, 1080};
  c.main.res[1] = {1280, 720};
  c.main.res[2] = {704, 0};  // ends the list
  c.main.res[3] = {640, 480};
  c.main.curWidth = 1280;
  c.main.curHeight = 720;
  c.main.framerateMax = 30;
  c.main.bitrateCtrl = 1;
  c.main.videoType = 2;
  c.sub.videoType = 1;
  c.sub.curWidth = 999;  // matches no entry
  for (int i = 0; i < STREAM_RESOLUTIONS; i++) c.sub.res[i] = {352 + i, 288};
  c.subEnable = 1;
  c.audioEnable = 1;
  c.ipcType = 5;
  c.smartStreamLevel = 4;
  c.thirdGop = 60;
  return c;
}

TEST_F(StreamQuery, StoredSettingsAndTheCapabilitiesInOrder) {
  store_channel_3();
  daemon().answer(3204, bytes_of(capabilities()));
  std::string reply = call("/2009", R"({"chnid": 3})");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  std::vector<std::string> keys = {
      "stateCode", "id", "name", "subEnable", "audioEnable", "videoTypeEnable",
      "mainVideoType", "subVideoType", "ipc_type", "syncTime", "protocol", "managePort",
      "physicalport", "poechannel", "mac_addr", "transmitProtocol", "ddns", "httpsPort",
      "mainStream", "subStream", "SupportSmartStream", "SmartStream", "SmartStreamLevel",
      "SubSupportSmartStream", "SubSmartStream", "SubSmartStreamLevel", "main", "sub",
      "mainGop", "subGop", "thirdGop"};
  EXPECT_EQ(member_names(body.get()), keys);
  EXPECT_EQ(text_member(body.get(), "name"), "Gate");
  EXPECT_EQ(text_member(body.get(), "protocol"), "KXSF");
  EXPECT_EQ(int_member(body.get(), "managePort"), 8000);
  EXPECT_EQ(text_member(body.get(), "mac_addr"), "00:11:22:33:44:55");
  EXPECT_EQ(int_member(body.get(), "httpsPort"), 443);
  EXPECT_EQ(int_member(body.get(), "mainVideoType"), 2);
  EXPECT_EQ(int_member(body.get(), "ipc_type"), 5);
  EXPECT_EQ(int_member(body.get(), "thirdGop"), 60);

  json_object *main = json_member(body.get(), "main");
  EXPECT_EQ(member_names(main),
            (std::vector<std::string>{"curRes", "res", "framerateMax", "framerateMin",
                                      "bitrateMax", "bitrateMin", "framerate", "bitrate",
                                      "iframeinterval", "iframeIntervalMin",
                                      "iframeIntervalMax", "bitrateCtrl"}));
  EXPECT_EQ(int_member(main, "curRes"), 1);  // the current size is the second pair
  json_object *res = json_member(main, "res");
  ASSERT_TRUE(res);
  ASSERT_EQ(json_object_array_length(res), 2u);
  json_object *second = json_object_array_get_idx(res, 1);
  EXPECT_EQ(member_names(second), (std::vector<std::string>{"width", "height", "name"}));
  EXPECT_EQ(text_member(second, "name"), "1280*720");

  json_object *sub = json_member(body.get(), "sub");
  EXPECT_EQ(json_object_array_length(json_member(sub, "res")), 24u);
  EXPECT_EQ(int_member(sub, "curRes"), 0);  // no match

  EXPECT_EQ(daemon().requests(3204)[0].payload, bytes_of_int(3));
}

TEST_F(StreamQuery, AnEmptyListAStateCodeAndAChannelWithoutModel) {
  stream_capabilities c = capabilities();
  c.main.res[0] = {0, 0};
  daemon().answer(3204, bytes_of(c));
  JsonPtr body = parse_body(call("/2009", R"({"chnid": 5})"));
  json_object *main = json_member(body.get(), "main");
  EXPECT_EQ(json_object_array_length(json_member(main, "res")), 0u);
  EXPECT_EQ(int_member(main, "curRes"), 0);
  EXPECT_EQ(text_member(body.get(), "protocol"), "");  // nothing stored for channel 5
  EXPECT_EQ(text_member(body.get(), "name"), "");

  c.stateCode = 7;
  daemon().answer(3204, bytes_of(c));
  body = parse_body(call("/2009", R"({"chnid": 5})"));
  EXPECT_EQ(member_names(body.get()), std::vector<std::string>{"stateCode"});
  EXPECT_EQ(int_member(body.get(), "stateCode"), 7);
}

TEST_F(StreamQuery, ChannelsOutsideZeroToFifteenAreRefusedUnsent) {
  for (const char *body : {R"({"chnid": -1})", R"({"chnid": 16})", R"({"chnid": 1e308})",
                           R"({"id": 1})", "nonsense"}) {
    EXPECT_EQ(call("/2009", body), kJsonError) << body;
  }
  EXPECT_TRUE(daemon().requests(3204).empty());
  daemon().silent(3204);
  EXPECT_EQ(call("/2009", R"({"chnid": 0})"), kJsonError);
}

constexpr const char *kOneCamera = R"({"id": 2, "mainFramerate": 25, "mainBitrate": 4096,
    "mainResWidth": 1920, "mainResHeight": 1080, "subEnable": 1, "audioEnable": 0,
    "videoTypeEnable": 1, "fisheyeType": 3, "mainVideoType": 2, "IframeInterval": 50,
    "bitrateControl": 1, "mainBitrateControl": 9, "SmartStream": 1, "SmartStreamLevel": 2,
    "subVideoType": 1, "subResWidth": 640, "subResHeight": 360, "subFramerate": 15,
    "subBitrate": 512, "subIframeInterval": 30, "SubBitrateControl": 0,
    "subBitrateControl": 9, "SubSmartStream": 1, "SubSmartStreamLevel": 3,
    "transmitProtocol": 2, "syncTime": 1})";

void expect_unchanged_words(const Bytes &p) {
  for (size_t off : {76u, 132u, 136u, 140u, 144u, 188u, 192u, 196u, 200u}) {
    EXPECT_EQ(word_at(p, off), -1) << off;
  }
  EXPECT_TRUE(zero_between(p, 65, 68));
  EXPECT_EQ(word_at(p, 92), 0);
  EXPECT_EQ(word_at(p, 148), 0);
}

TEST_F(StreamSet, OneCameraPayload) {
  stream_setting_answer changed = {1u << 2, 0};
  daemon().answer(3203, bytes_of(changed));
  std::string reply = call("/2010", kOneCamera);
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  EXPECT_EQ(text_member(parse_body(reply).get(), "res"), "001" + std::string(61, '0'));
  auto sent = daemon().requests(3203);
  ASSERT_EQ(sent.size(), 1u);
  const Bytes &p = sent[0].payload;
  ASSERT_EQ(p.size(), 204u);
  EXPECT_EQ(text_at(p, 0, 65), "00" + std::string("1") + std::string(61, '0'));
  EXPECT_EQ(word_at(p, 68), -1);  // transmission and time sync stay
  EXPECT_EQ(word_at(p, 72), -1);
  expect_unchanged_words(p);
  EXPECT_EQ(word_at(p, 80), 1);
  EXPECT_EQ(word_at(p, 84), 1);
  EXPECT_EQ(word_at(p, 88), 3);
  EXPECT_EQ(word_at(p, 96), 2);
  EXPECT_EQ(word_at(p, 100), 1920);
  EXPECT_EQ(word_at(p, 112), 4096);
  EXPECT_EQ(word_at(p, 120), 1);  // "bitrateControl"
  EXPECT_EQ(word_at(p, 128), 2);
  EXPECT_EQ(word_at(p, 156), 640);
  EXPECT_EQ(word_at(p, 176), 0);  // "SubBitrateControl"
  EXPECT_EQ(word_at(p, 184), 3);

  daemon().silent(3203);
  EXPECT_EQ(call("/2010", kOneCamera), kCgiError);
}

TEST_F(StreamSet, OneCameraValidationIsSilent) {
  const char *bad[] = {
      R"({"id": 64, "mainFramerate": 1, "mainBitrate": 1, "mainResWidth": 1,
          "mainResHeight": 1, "subEnable": 1, "audioEnable": 0})",
      R"({"mainFramerate": 1, "mainBitrate": 1, "mainResWidth": 1, "mainResHeight": 1,
          "subEnable": 1, "audioEnable": 0})",
      R"({"id": 1, "mainFramerate": 1, "mainBitrate": -1, "mainResWidth": 1,
          "mainResHeight": 1, "subEnable": 1, "audioEnable": 0})",
      R"({"id": 1, "mainFramerate": 1, "mainBitrate": 1, "mainResWidth": 1,
          "subEnable": 1, "audioEnable": 0})",
      R"({"id": 1, "mainFramerate": 1, "mainBitrate": 1, "mainResWidth": 1,
          "mainResHeight": 1, "audioEnable": 0})",
      R"({"id": 1, "mainFramerate": 1, "mainBitrate": 1, "mainResWidth": 1,
          "mainResHeight": 1, "subEnable": 1, "audioEnable": 2})",
      "5",
  };
  for (const char *body : bad) EXPECT_EQ(call("/2010", body), "") << body;
  EXPECT_TRUE(daemon().requests(3203).empty());
}

TEST_F(StreamSet, SeveralCamerasTakeTransmissionAndFlags) {
  daemon().answer(3203, bytes_of(stream_setting_answer{0x6, 0x80000000u}));
  JsonPtr body = parse_body(call("/2030", R"({"chans": [0, 1, 1], "transmitProtocol": 2,
      "syncTime": 1, "videoTypeEnable": 0, "bitrateControl": 5, "mainBitrateControl": 9,
      "subBitrateControl": 8, "SubBitrateControl": 7, "mainResWidth": 2560})"));
  EXPECT_EQ(text_member(body.get(), "res"), "011" + std::string(60, '0') + "1");
  auto sent = daemon().requests(3203);
  ASSERT_EQ(sent.size(), 1u);
  const Bytes &p = sent[0].payload;
  EXPECT_EQ(text_at(p, 0, 65), "011" + std::string(61, '0'));
  EXPECT_EQ(word_at(p, 68), 2);
  EXPECT_EQ(word_at(p, 72), 1);
  expect_unchanged_words(p);
  EXPECT_EQ(word_at(p, 80), 1);  // always on for several cameras
  EXPECT_EQ(word_at(p, 100), 2560);
  EXPECT_EQ(word_at(p, 120), 9);
  EXPECT_EQ(word_at(p, 176), 8);
}

TEST_F(StreamSet, SeventyFlagsSelectSixtyFourChannels) {
  std::string flags;
  for (int i = 0; i < 70; i++) flags += i ? ",1" : "1";
  daemon().answer(3203, bytes_of(stream_setting_answer{0, 0}));
  call("/2030", R"({"transmitProtocol": 3, "chans": [)" + flags + "]}");
  auto sent = daemon().requests(3203);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(text_at(sent[0].payload, 0, 65), std::string(64, '1'));
  EXPECT_EQ(sent[0].payload[64], 0);  // the terminator survives
  EXPECT_EQ(word_at(sent[0].payload, 68), 3);

  daemon().silent(3203);
  EXPECT_EQ(call("/2030", R"({"chans": "all"})"), kJsonError);
  EXPECT_EQ(text_at(daemon().requests(3203)[1].payload, 0, 65), std::string(64, '0'));
}

TEST_F(StreamSet, OsdAndModelRecordsKeepTheirKeys) {
  osd_params osd = {};
  osd.camId = 64;
  EXPECT_EQ(write_osd(KXDB_FILE, &osd), -1);
  EXPECT_EQ(read_osd(KXDB_FILE, &osd, -1), -1);
  osd.camId = 63;
  osd.datePosX = 0.25;
  ASSERT_EQ(write_osd(KXDB_FILE, &osd), 0);
  osd_params back = {};
  ASSERT_EQ(read_osd(KXDB_FILE, &back, 63), 0);
  EXPECT_EQ(back.camId, 63);
  EXPECT_EQ(back.datePosX, 0.25);
  ipc_model model = {};
  EXPECT_EQ(read_ipc_model(KXDB_FILE, &model, -1), -1);
  EXPECT_EQ(read_ipc_model(KXDB_FILE, &model, 7), 0);
  EXPECT_EQ(model.id, 7);  // never written: a zeroed record with its key
}

}  // namespace
