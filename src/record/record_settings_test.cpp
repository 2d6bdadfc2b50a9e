// Recording settings, recorded stream and the cameras' ANR flag.
#include "record_test_util.h"

namespace {

using RecordSettings = RecordTest;

std::string settings_body(const std::string &channels, int cnt, int anr, int stream,
                          const std::string &extra = R"(, "recordExpDate": 7)") {
  return R"({"cnt": )" + std::to_string(cnt) + R"(, "chnid": )" + channels +
         R"(, "camAnr": )" + std::to_string(anr) +
         R"(, "prevRecordOn": 1, "prevRecordDuration": 5, "postRecordOn": 1,)"
         R"( "postRecordDuration": 30, "audioEnable": 1, "recordStreamType": )" +
         std::to_string(stream) + extra + "}";
}

camera_params camera(int id, int enable, int protocol, int poe, int anr) {
  camera_params c = {};
  c.id = id;
  c.enable = enable;
  c.camProtocol = protocol;
  c.poechannel = poe;
  c.anr = anr;
  return c;
}

Bytes anr_answer(int count, int flag, std::initializer_list<std::pair<int, int>> results) {
  record_anr_result a = {};
  a.count = count;
  a.flag = flag;
  for (auto [i, v] : results) a.result[i] = v;
  return bytes_of(a);
}

std::vector<int> channels_of(const record_channel_list &list) {
  return std::vector<int>(list.channels, list.channels + list.count);
}

class RecordSettingsSet : public RecordSettings {
 protected:
  void SetUp() override {
    RecordSettings::SetUp();
    daemon().answer(2285, anr_answer(0, 0, {}));
  }
  record_channel_list channel_list() {
    auto r = sent(1310).at(0);
    EXPECT_EQ(r.payload.size(), 260u);
    return record_from<record_channel_list>(r.payload);
  }
  record_anr_list anr_list() {
    auto r = sent(2285).at(0);
    EXPECT_EQ(r.payload.size(), 264u);
    return record_from<record_anr_list>(r.payload);
  }
};

TEST_F(RecordSettings, ReadMergesTheRecordAndTheCameraInOrder) {
  record_params r = {};
  r.id = 9;
  r.prevRecordOn = 1;
  r.prevRecordDuration = 5;
  r.postRecordOn = 1;
  r.postRecordDuration = 60;
  r.audioEnable = 1;
  r.recordExpDate = 14;
  store_record(r);
  camera_params c = camera(9, 1, 2, 3, 1);
  c.record_stream = 2;
  store_camera(c);
  std::string reply = call("/6044", "9");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  const std::vector<std::string> keys = {
      "id",          "prevRecordOn",     "prevRecordDuration", "postRecordOn",
      "postRecordDuration", "audioEnable", "recordStreamType", "recordExpDate",
      "cameraAnr",   "camEnable",        "camProtocol",        "poeChannel"};
  EXPECT_EQ(member_names(body.get()), keys);
  const int expected[] = {9, 1, 5, 1, 60, 1, 2, 14, 1, 1, 2, 3};
  for (size_t i = 0; i < keys.size(); i++) {
    EXPECT_EQ(int_member(body.get(), keys[i].c_str()), expected[i]) << keys[i];
  }
  for (const char *bad : {"64", "-1", "", "x"}) EXPECT_EQ(call("/6044", bad), "") << bad;
}

TEST_F(RecordSettingsSet, StoresListedChannelsAndNotifiesInOrder) {
  EXPECT_EQ(call("/6045", settings_body("[2, 3]", 2, 0, 1)), kJsonHeader + R"({ "resp": 0 })");
  EXPECT_EQ(codes(), (std::vector<int>{1310, 3485, 2285}));
  expect_record_log(logs().at(0), 906, 0);
  EXPECT_EQ(channels_of(channel_list()), (std::vector<int>{2, 3}));
  record_params r = stored_record(3);
  EXPECT_EQ(r.prevRecordOn, 1);
  EXPECT_EQ(r.prevRecordDuration, 5);
  EXPECT_EQ(r.postRecordOn, 1);
  EXPECT_EQ(r.postRecordDuration, 30);
  EXPECT_EQ(r.audioEnable, 1);
  EXPECT_EQ(r.recordExpDate, 7);
  EXPECT_EQ(stored_record(4).audioEnable, 0);
}

TEST_F(RecordSettingsSet, FreshDatabaseKeepsStreamAndAnrColumns) {
  store_camera(camera(1, 1, 0, 0, 0));
  EXPECT_EQ(call("/6045", settings_body("[0, 1]", 2, 1, 2)), kJsonHeader + R"({ "resp": 0 })");
  JsonPtr never_written = parse_body(call("/6044", "0"));
  EXPECT_EQ(int_member(never_written.get(), "recordStreamType"), 2);
  EXPECT_EQ(int_member(never_written.get(), "cameraAnr"), 0);  // a disabled camera
  EXPECT_EQ(int_member(never_written.get(), "postRecordDuration"), 30);
  JsonPtr enabled = parse_body(call("/6044", "1"));
  EXPECT_EQ(int_member(enabled.get(), "recordStreamType"), 2);
  EXPECT_EQ(int_member(enabled.get(), "cameraAnr"), 1);
  EXPECT_EQ(int_member(enabled.get(), "camEnable"), 1);  // the rest of the camera is kept
}

TEST_F(RecordSettingsSet, AnrTurnsOnOnlyForCamerasTheRecorderReachesItself) {
  store_camera(camera(0, 1, 0, 0, 0));  // qualifies
  store_camera(camera(1, 1, 0, 5, 0));  // on a PoE port
  store_camera(camera(2, 0, 0, 0, 0));  // disabled
  store_camera(camera(3, 1, 1, 0, 0));  // RTSP
  store_camera(camera(4, 1, 2, 0, 1));  // already on
  EXPECT_EQ(call("/6045", settings_body("[0, 1, 2, 3, 4]", 5, 1, 0)),
            kJsonHeader + R"({ "resp": 0 })");
  record_anr_list list = anr_list();
  EXPECT_EQ(list.count, 1);
  EXPECT_EQ(list.channels[0], 0);
  EXPECT_EQ(list.anr, 1);
  const int expected[] = {1, 0, 0, 0, 1};
  for (int ch = 0; ch < 5; ch++) EXPECT_EQ(stored_camera(ch).anr, expected[ch]) << ch;
}

TEST_F(RecordSettingsSet, AnrTurnsOffForEveryListedCameraThatHasIt) {
  store_camera(camera(0, 0, 1, 1, 1));
  store_camera(camera(1, 1, 0, 0, 1));
  store_camera(camera(2, 1, 0, 0, 0));
  EXPECT_EQ(call("/6045", settings_body("[0, 1, 2]", 3, 0, 0)), kJsonHeader + R"({ "resp": 0 })");
  record_anr_list list = anr_list();
  EXPECT_EQ(list.count, 2);
  EXPECT_EQ(list.channels[0], 0);
  EXPECT_EQ(list.channels[1], 1);
  EXPECT_EQ(list.anr, 0);
  EXPECT_EQ(stored_camera(0).anr, 0);
  EXPECT_EQ(stored_camera(1).anr, 0);
  EXPECT_EQ(stored_camera(0).camProtocol, 1);
}

TEST_F(RecordSettingsSet, RepeatedEntriesEnterEachListOnce) {
  store_camera(camera(0, 1, 0, 0, 0));
  std::string zeros = "[";
  for (int i = 0; i < 100; i++) zeros += std::string(i ? "," : "") + "0";
  EXPECT_EQ(call("/6045", settings_body(zeros + "]", 100, 1, 1)),
            kJsonHeader + R"({ "resp": 0 })");
  EXPECT_EQ(channels_of(channel_list()), (std::vector<int>{0}));
  record_anr_list list = anr_list();
  EXPECT_EQ(list.count, 1);
  EXPECT_EQ(list.channels[0], 0);
}

TEST_F(RecordSettingsSet, ChannelsOutOfRangeAndMissingEntriesAreSkipped) {
  EXPECT_EQ(call("/6045", settings_body("[64, -1, null, 63, \"x\"]", 1000000, 0, 0)),
            kJsonHeader + R"({ "resp": 0 })");
  // "x" reads as 0 under json-c's rules; the null is skipped, not read as 0.
  EXPECT_EQ(channels_of(channel_list()), (std::vector<int>{63, 0}));
  EXPECT_EQ(stored_record(63).recordExpDate, 7);
}

TEST_F(RecordSettingsSet, MissingExpiryStoresZero) {
  record_params r = {};
  r.id = 6;
  r.recordExpDate = 99;
  store_record(r);
  EXPECT_EQ(call("/6045", settings_body("[6]", 1, 0, 0, "")), kJsonHeader + R"({ "resp": 0 })");
  EXPECT_EQ(stored_record(6).recordExpDate, 0);
}

TEST_F(RecordSettingsSet, BadSettingsGiveNoReplyAndChangeNothing) {
  const std::string good = settings_body("[1]", 1, 0, 0);
  auto without = [&](const std::string &key) {
    std::string body = good;
    size_t at = body.find("\"" + key + "\"");
    body.replace(at, 1, "\"_");
    return body;
  };
  std::vector<std::string> bad = {
      R"({"cnt": 1, "chnid": [1], "camAnr": 0, "prevRecordOn": 2, "prevRecordDuration": 5,
          "postRecordOn": 1, "postRecordDuration": 30, "audioEnable": 1, "recordStreamType": 0})",
      settings_body("[1]", 1, 0, 3), settings_body("[1]", 1, 0, -1), "[]", "1", "nope"};
  for (const char *key : {"cnt", "chnid", "camAnr", "prevRecordOn", "prevRecordDuration",
                          "postRecordOn", "postRecordDuration", "audioEnable",
                          "recordStreamType"}) {
    bad.push_back(without(key));
  }
  std::string negative = good;
  negative.replace(negative.find("\"prevRecordDuration\": 5"), 23, "\"prevRecordDuration\": -5");
  bad.push_back(negative);
  for (const std::string &body : bad) EXPECT_EQ(call("/6045", body), "") << body;
  EXPECT_EQ(codes(), std::vector<int>{});
  EXPECT_NE(access(KXDB_FILE, F_OK), 0);
}

TEST_F(RecordSettings, AnrResultLooksAtNoMoreThan64Words) {
  const std::string body = settings_body("[1]", 1, 0, 0);
  struct Case {
    Bytes answer;
    const char *resp;
  };
  const Case cases[] = {
      {anr_answer(2, 1, {{1, 5}}), "-1"},
      {anr_answer(1, 1, {{0, 5}}), "0"},  // a count below 2
      {anr_answer(2, 0, {{0, 5}}), "0"},  // no flag
      {anr_answer(2, 1, {{2, 5}}), "0"},  // beyond the count
      {anr_answer(100, 1, {{63, 5}}), "-1"},
      {anr_answer(100, 1, {}), "0"},
      {anr_answer(-7, 1, {{0, 5}}), "0"},
  };
  for (const Case &c : cases) {
    daemon().answer(2285, c.answer);
    EXPECT_EQ(call("/6045", body), kJsonHeader + "{ \"resp\": " + c.resp + " }");
  }
  Bytes short_answer = anr_answer(2, 1, {{0, 1}});
  short_answer.pop_back();
  daemon().answer(2285, short_answer);
  EXPECT_EQ(call("/6045", body), kJsonError);
  daemon().silent(2285);
  EXPECT_EQ(call("/6045", body), kJsonError);
}

TEST_F(RecordSettings, FailedWriteIsTheJsonErrorWithoutNotices) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6045", settings_body("[1]", 1, 0, 0)), kJsonError);
  EXPECT_EQ(codes(), std::vector<int>{});
}

}  // namespace
