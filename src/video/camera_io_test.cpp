// The cameras' alarm I/O and volume detection (the recorder's triggers, the
// camera's record, the log) and the fisheye requests and answers.
#include "camera_events.h"
#include "kxdb_snapshot.h"
#include "video_test_util.h"

namespace {

using CameraIo = VideoTest;

camera_trigger_params stored_io(int channel) {
  camera_trigger_params r = {};
  EXPECT_EQ(read_cameraio(KXDB_FILE, &r, channel), 0);
  return r;
}

const char *kIoBody =
    R"({"camId": 3, "enable": 1, "type": 2, "triActions": 5, "triChannels": "0011"})";
const char *kVolumeBody =
    R"({"camId": 0, "enable": 0, "type": 1, "volume": 70, "duration": 4, "onEvent": 1,
        "offEvent": 0, "ongoingEvent": 2, "triActions": 3, "triChannels": "1"})";

TEST_F(CameraIo, IoSetStoresSendsAndLogs) {
  EXPECT_EQ(call("/6091", kIoBody), kTextOk);
  settle();
  camera_trigger_params r = stored_io(3);
  EXPECT_EQ(r.enable, 1);
  EXPECT_EQ(r.triActions, 5);
  EXPECT_EQ(r.trigger_mask, 0xCu);
  EXPECT_STREQ(r.triChannels, "0011");
  auto set = only_payload<camera_io_set>(sent(CAMERA_IO_SET));
  EXPECT_EQ(std::vector<int>({set.camId, set.enable, set.type}), (std::vector<int>{3, 1, 2}));
  auto entries = logs();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].param_type, 923);
  EXPECT_EQ(entries[0].sub_type, 204);
  EXPECT_EQ(entries[0].channel, 4);
  EXPECT_EQ(codes(), (std::vector<int>{CAMERA_IO_SET, 3485}));
}

TEST_F(CameraIo, IoSetRefusesIncompleteRequestsSilently) {
  const char *bad[] = {
      R"({"camId": 3, "enable": 2, "type": 0, "triActions": 0, "triChannels": ""})",
      R"({"camId": 64, "enable": 1, "type": 0, "triActions": 0, "triChannels": ""})",
      R"({"camId": -1, "enable": 1, "type": 0, "triActions": 0, "triChannels": ""})",
      R"({"camId": 3, "enable": 1, "type": -1, "triActions": 0, "triChannels": ""})",
      R"({"camId": 3, "enable": 1, "type": 0, "triChannels": ""})",
      R"({"camId": 3, "enable": 1, "type": 0, "triActions": 0})",
      R"({"enable": 1, "type": 0, "triActions": 0, "triChannels": ""})",
      "{", ""};
  for (const char *body : bad) EXPECT_EQ(call("/6091", body), "") << body;
  settle();
  EXPECT_TRUE(codes().empty());
  EXPECT_EQ(stored_io(3).enable, 0);
}

TEST_F(CameraIo, VolumeSetStoresSendsAndLogs) {
  EXPECT_EQ(call("/6093", kVolumeBody), kTextOk);
  settle();
  camera_trigger_params r = {};
  ASSERT_EQ(read_volumedetect(KXDB_FILE, &r, 0), 0);
  EXPECT_EQ(r.triActions, 3);
  EXPECT_EQ(r.trigger_mask, 1u);
  EXPECT_EQ(stored_io(0).triActions, 0);  // kept apart from the alarm I/O
  auto set = only_payload<volume_detect_set>(sent(VOLUME_DETECT_SET));
  EXPECT_EQ(std::vector<int>({set.camId, set.enable, set.type, set.volume, set.duration,
                              set.onEvent, set.offEvent, set.ongoingEvent}),
            (std::vector<int>{0, 0, 1, 70, 4, 1, 0, 2}));
  auto entries = logs();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].param_type, 924);
  EXPECT_EQ(entries[0].channel, 1);

  forget();
  for (const char *key : {"volume", "duration", "onEvent", "offEvent", "ongoingEvent"}) {
    std::string without = R"({"camId": 1, "enable": 1, "type": 0, "triActions": 0,
                              "triChannels": "", "volume": 1, "duration": 1, "onEvent": 1,
                              "offEvent": 1, "ongoingEvent": 1, ")" +
                          std::string(key) + R"(": -1})";
    EXPECT_EQ(call("/6093", without), "") << key;
  }
  settle();
  EXPECT_TRUE(codes().empty());
}

TEST_F(CameraIo, FailedStoresSendNothing) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6091", kIoBody), kCgiError);
  EXPECT_EQ(call("/6093", kVolumeBody), kCgiError);
  settle();
  EXPECT_TRUE(codes().empty());
}

TEST_F(CameraIo, ReadersDecodeFromTheSecondWord) {
  camera_io_answer io = {};
  io.unused = 99;
  io.camId = 2;
  io.enable = 1;
  io.type = 3;
  io.triActions = 4;
  memset(io.triChannels, '1', sizeof io.triChannels);  // no terminator
  daemon().answer(CAMERA_IO_GET, bytes_of(io));
  JsonPtr reply = parse_body(call("/6090", "2"));
  EXPECT_EQ(member_names(reply.get()),
            (std::vector<std::string>{"camId", "enable", "type", "triActions", "triChannels"}));
  EXPECT_EQ(int_member(reply.get(), "camId"), 2);
  EXPECT_EQ(int_member(reply.get(), "triActions"), 4);
  EXPECT_EQ(text_member(reply.get(), "triChannels"), std::string(65, '1'));
  EXPECT_EQ(only_payload<int32_t>(sent(CAMERA_IO_GET)), 2);

  volume_detect_answer v = {};
  v.camId = 5;
  v.volume = 80;
  v.ongoingEvent = 1;
  v.triActions = 6;
  snprintf(v.triChannels, sizeof v.triChannels, "01");
  daemon().answer(VOLUME_DETECT_GET, bytes_of(v));
  reply = parse_body(call("/6092", "5"));
  EXPECT_EQ(member_names(reply.get()),
            (std::vector<std::string>{"camId", "enable", "type", "volume", "duration", "onEvent",
                                      "offEvent", "ongoingEvent", "triActions", "triChannels"}));
  EXPECT_EQ(int_member(reply.get(), "volume"), 80);
  EXPECT_EQ(int_member(reply.get(), "triActions"), 6);
  EXPECT_EQ(text_member(reply.get(), "triChannels"), "01");
}

TEST_F(CameraIo, ReadersCheckTheChannelAndTheAnswer) {
  EXPECT_EQ(call("/6090", "64"), "");
  EXPECT_EQ(call("/6092", "-1"), "");
  EXPECT_EQ(call("/6090", ""), "");
  settle();
  EXPECT_TRUE(codes().empty());
  // A short answer is no answer; silence likewise.
  daemon().answer(CAMERA_IO_GET, Bytes(60, 0));
  EXPECT_EQ(call("/6090", "1"), kJsonError);
  daemon().silent(VOLUME_DETECT_GET);
  EXPECT_EQ(call("/6092", "1"), kJsonError);
}

TEST_F(CameraIo, FisheyeModeReadAndSet) {
  daemon().answer(FISHEYE_MODE_GET, bytes_of(fisheye_mode{4, 1, 2, 3, 0}));
  JsonPtr reply = parse_body(call("/6130", R"({"id": 4})"));
  EXPECT_EQ(member_names(reply.get()), (std::vector<std::string>{"chnid", "result", "fishmount",
                                                                  "fishdisplay", "fishcorrect"}));
  EXPECT_EQ(int_member(reply.get(), "fishdisplay"), 2);
  EXPECT_EQ(only_payload<int32_t>(sent(FISHEYE_MODE_GET)), 4);
  EXPECT_EQ(call("/6130", R"({"id": 64})"), "");
  EXPECT_EQ(call("/6130", "{"), "");
  // No answer: the fisheye page reads the text error; the other requests the JSON one.
  daemon().silent(FISHEYE_MODE_GET);
  EXPECT_EQ(call("/6130", R"({"id": 1})"), kCgiError);
  daemon().silent(FISHEYE_MODE_SET);
  EXPECT_EQ(call("/6131", R"({"chnid": 1})"), kJsonError);

  daemon().answer(FISHEYE_MODE_SET, int_answer(0));
  EXPECT_EQ(call("/6131", R"({"chnid": 7, "fishcorrect": 1, "fishmount": 2, "fishdisplay": 3})"),
            kTextOk);
  auto set = sent(FISHEYE_MODE_SET).back();
  fisheye_mode m = record_from<fisheye_mode>(set.payload);
  EXPECT_EQ(set.payload.size(), sizeof(fisheye_mode));
  EXPECT_EQ(std::vector<int>({m.chnid, m.fishmount, m.fishdisplay, m.fishcorrect, m.result}),
            (std::vector<int>{7, 2, 3, 1, 0}));
  daemon().answer(FISHEYE_MODE_SET, int_answer(3));
  EXPECT_EQ(call("/6131", R"({"chnid": 7})"), kTextHeader + "FAILED");
}

TEST_F(CameraIo, FisheyeAddressCheckAndSet) {
  daemon().answer(FISHEYE_CHECK, bytes_of(fisheye_support{2, 1, 2, 3, 4}));
  std::string address = R"("ddns": "cam.example", "ipaddr": ")" + std::string(80, '9') +
                        R"(", "username": "u", "password": "p", "port": 8000)";
  JsonPtr reply = parse_body(call("/6196", "{" + address + "}"));
  EXPECT_EQ(member_names(reply.get()), (std::vector<std::string>{"support", "transfer", "install",
                                                                  "display", "streamCnt"}));
  EXPECT_EQ(int_member(reply.get(), "support"), 0);
  EXPECT_EQ(int_member(reply.get(), "streamCnt"), 4);
  auto check = only_payload<fisheye_address>(sent(FISHEYE_CHECK));
  EXPECT_EQ(std::string(check.ipaddr), std::string(63, '9'));
  EXPECT_STREQ(check.ddns, "cam.example");
  EXPECT_EQ(check.port, 8000);
  daemon().answer(FISHEYE_CHECK, bytes_of(fisheye_support{1, 0, 0, 0, 0}));
  EXPECT_EQ(int_member(parse_body(call("/6196", "{}")).get(), "support"), 1);
  daemon().answer(FISHEYE_CHECK, Bytes(16, 0));
  EXPECT_EQ(call("/6196", "{}"), kJsonError);

  daemon().answer(FISHEYE_ADDRESS_SET, int_answer(-2));
  std::string modes = R"(, "transfer": 1, "install": 2, "display": 3})";
  reply = parse_body(call("/6197", "{" + address + modes));
  EXPECT_EQ(int_member(reply.get(), "res"), -2);
  auto set = only_payload<fisheye_address_set>(sent(FISHEYE_ADDRESS_SET));
  EXPECT_EQ(std::vector<int>({set.transfer, set.install, set.display, set.address.port}),
            (std::vector<int>{1, 2, 3, 8000}));
  daemon().silent(FISHEYE_ADDRESS_SET);
  EXPECT_EQ(call("/6197", "{}"), kJsonError);
}

}  // namespace
