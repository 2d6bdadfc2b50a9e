// What a camera reports of its PTZ: the information record and the basic
// options, their requests and their decoders.
#include <memory>

#include "ptz_test_util.h"

namespace {

using PtzInfo = PtzTest;

Bytes info_bytes(const ptz_info &info) {
  return bytes_of(info);
}

std::unique_ptr<ptz_info> sample_info() {
  auto info = std::make_unique<ptz_info>();
  info->presets[0].enable = 1;
  snprintf(info->presets[0].name, sizeof info->presets[0].name, "Gate");
  info->presets[299].enable = 1;
  memset(info->presets[299].name, 'z', sizeof info->presets[299].name);  // no terminator
  ptz_tour_arrays &tour = info->tours[1];
  int presets[] = {3, 5, 0, 7};
  for (int i = 0; i < 4; i++) {
    tour.preset[i] = presets[i];
    tour.time[i] = 10 + i;
    tour.speed[i] = 20 + i;
  }
  for (int i = 0; i < PTZ_TOUR_POINTS; i++) info->tours[7].preset[i] = i + 1;  // no end mark
  info->patterns[2] = 1;
  for (int g = 0; g < PTZ_STATUS_GROUPS; g++) {
    info->autoscan_status[g] = 100 + g;
    for (int t = 0; t < PTZ_TOURS; t++) info->tour_status[g][t] = 10 * g + t;
  }
  return info;
}

TEST_F(PtzInfo, InformationListsPresetsToursPatternsAndStates) {
  auto info = sample_info();
  std::string reply = dispatch(6265, info_bytes(*info));
  EXPECT_EQ(g_callback_done.load(), 1);
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{"status", "PRESET", "TOUR", "PATTERN", "autoscan_status",
                                      "tour_status"}));
  EXPECT_EQ(text_member(body.get(), "status"), "OK");

  json_object *presets = json_member(body.get(), "PRESET");
  ASSERT_EQ(json_object_array_length(presets), 300u);
  json_object *first = json_object_array_get_idx(presets, 0);
  EXPECT_EQ(member_names(first), (std::vector<std::string>{"enable", "name"}));
  EXPECT_EQ(text_member(first, "name"), "Gate");
  EXPECT_EQ(int_member(first, "enable"), 1);
  EXPECT_EQ(text_member(json_object_array_get_idx(presets, 299), "name"), std::string(32, 'z'));
  EXPECT_EQ(int_member(json_object_array_get_idx(presets, 1), "enable"), 0);

  json_object *tours = json_member(body.get(), "TOUR");
  ASSERT_EQ(json_object_array_length(tours), 8u);
  EXPECT_EQ(json_object_array_length(json_object_array_get_idx(tours, 0)), 0u);
  json_object *tour = json_object_array_get_idx(tours, 1);
  ASSERT_EQ(json_object_array_length(tour), 2u);  // presets 3, 5, then the end
  json_object *second = json_object_array_get_idx(tour, 1);
  EXPECT_EQ(member_names(second), (std::vector<std::string>{"preset_id", "speed", "timeout"}));
  EXPECT_EQ(int_member(second, "preset_id"), 5);
  EXPECT_EQ(int_member(second, "speed"), 21);
  EXPECT_EQ(int_member(second, "timeout"), 11);
  EXPECT_EQ(json_object_array_length(json_object_array_get_idx(tours, 7)), 48u);

  json_object *patterns = json_member(body.get(), "PATTERN");
  ASSERT_EQ(json_object_array_length(patterns), 4u);
  EXPECT_EQ(int_member(json_object_array_get_idx(patterns, 2), "enable"), 1);
  json_object *autoscan = json_member(body.get(), "autoscan_status");
  ASSERT_EQ(json_object_array_length(autoscan), 5u);
  EXPECT_EQ(json_object_get_int(json_object_array_get_idx(autoscan, 4)), 104);
  json_object *status = json_member(body.get(), "tour_status");
  ASSERT_EQ(json_object_array_length(status), 5u);
  json_object *group = json_object_array_get_idx(status, 3);
  ASSERT_EQ(json_object_array_length(group), 8u);
  EXPECT_EQ(json_object_get_int(json_object_array_get_idx(group, 7)), 37);
}

TEST_F(PtzInfo, ShortInformationIsAnErrorStatus) {
  Bytes short_answer = info_bytes(*sample_info());
  short_answer.pop_back();  // 15603 bytes
  for (int code : {6265, 6268}) {
    std::string reply = dispatch(code, short_answer);
    EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
    JsonPtr body = parse_body(reply);
    ASSERT_TRUE(body);
    EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"status"}));
    EXPECT_EQ(text_member(body.get(), "status"), "Error");
    EXPECT_EQ(g_callback_done.load(), 1);
  }
  EXPECT_EQ(dispatch(6265, Bytes{}), "");  // no payload: ignored
  EXPECT_EQ(g_callback_done.load(), 0);
}

TEST_F(PtzInfo, FisheyeInformationAsksForTheView) {
  daemon().answer(1268, info_bytes(*sample_info()));
  JsonPtr body = parse_body(call("/5005", R"({"chn": 3, "fisheyeType": 2, "streamId": 1})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(text_member(body.get(), "status"), "OK");
  auto request = sent_once<ptz_info_request>(1268);
  EXPECT_EQ(request.chn, 3);
  EXPECT_EQ(request.streamId, 1);
  EXPECT_TRUE(sent(1265).empty());

  daemon().answer(1265, info_bytes(*sample_info()));
  body = parse_body(call("/5005", R"({"chn": 4, "streamId": 1})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(sent(1265).at(0).payload, bytes_of_int(4));

  daemon().silent(1265);
  EXPECT_EQ(call("/5005", R"({"chn": 4})"), kJsonError);
  EXPECT_EQ(call("/5005", "{"), "");
}

ptz_basic sample_basic() {
  ptz_basic basic = {};
  for (int i = 0; i <= 16; i++) {  // status .. fanWorkingMode, one word each
    int32_t value = 100 + i;
    memcpy(reinterpret_cast<char *>(&basic) + 4 * i, &value, sizeof value);
  }
  return basic;
}

TEST_F(PtzInfo, BasicOptionsInTheirOrder) {
  daemon().answer(1270, records_answer(std::vector<ptz_basic>{sample_basic(), ptz_basic{}}));
  JsonPtr body = parse_body(call("/5011", R"({"chnId": 9})"));
  ASSERT_TRUE(body);
  const std::vector<std::string> keys = {
      "status", "chnId", "zoomStatus", "panTiltStatus", "presetStatus", "patrolStatus",
      "patternStatus", "autoScanStatus", "presetFreezing", "presetSpeed", "manualSpeed",
      "patrolRecovering", "patrolRecoveryTime", "focusMode", "minFocusDistance", "resumeTime",
      "fanWorkingMode"};
  EXPECT_EQ(member_names(body.get()), keys);
  for (size_t i = 0; i < keys.size(); i++) {
    EXPECT_EQ(int_member(body.get(), keys[i].c_str()), 100 + (int)i) << keys[i];
  }
  EXPECT_EQ(sent(1270).at(0).payload, bytes_of_int(9));
}

TEST_F(PtzInfo, BasicOptionsWithoutAWholeRecordTimeOut) {
  Bytes partial = bytes_of(sample_basic());
  partial.resize(135);
  EXPECT_EQ(dispatch(6270, partial), "");
  EXPECT_EQ(g_callback_done.load(), 0);
  daemon().answer(1270, partial);
  EXPECT_EQ(call("/5011", R"({"chnId": 1})"), kJsonError);
  EXPECT_EQ(call("/5011", "{"), kJsonError);
}

TEST_F(PtzInfo, BasicOptionsAreSentAsOneRecord) {
  daemon().answer(1271, int_answer(0));
  JsonPtr body = parse_body(call("/5012", R"({"chnId": 2, "zoomStatus": 1, "presetSpeed": 5,
      "fanWorkingMode": 2, "status": 9, "channelMask": "0110", "resumeTime": 30})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"status"}));
  EXPECT_EQ(int_member(body.get(), "status"), 0);
  auto basic = sent_once<ptz_basic>(1271);
  EXPECT_EQ(basic.status, 0);  // never the page's
  EXPECT_EQ(basic.chnId, 2);
  EXPECT_EQ(basic.zoomStatus, 1);
  EXPECT_EQ(basic.presetSpeed, 5);
  EXPECT_EQ(basic.resumeTime, 30);
  EXPECT_EQ(basic.fanWorkingMode, 2);
  EXPECT_EQ(basic.panTiltStatus, 0);
  EXPECT_STREQ(basic.channelMask, "0110");
  EXPECT_TRUE(logs().empty());
  forget();

  call("/5012", R"({"channelMask": ")" + std::string(80, '1') + "\"}");
  EXPECT_EQ(std::string(sent_once<ptz_basic>(1271).channelMask), std::string(64, '1'));
  EXPECT_EQ(call("/5012", "{"), kJsonError);
  daemon().silent(1271);
  EXPECT_EQ(call("/5012", R"({"chnId": 2})"), kJsonError);
}

TEST_F(PtzInfo, SupportIsMinusOneOrZero) {
  struct Case {
    int32_t answer;
    const char *text;
  } cases[] = {{-1, "-1"}, {0, "0"}, {5, "0"}, {-2, "0"}};
  for (const Case &c : cases) {
    daemon().answer(1262, int_answer(c.answer));
    EXPECT_EQ(call("/6052", R"({"camId": 4})"), kTextHeader + c.text) << c.answer;
  }
  EXPECT_EQ(sent(1262).at(0).payload, bytes_of_int(4));
  daemon().answer(1262, Bytes{0xff, 0xff});
  EXPECT_EQ(call("/6052", R"({"camId": 4})"), kCgiError);
  EXPECT_EQ(call("/6052", "{"), "");
  EXPECT_TRUE(logs().empty());
}

TEST_F(PtzInfo, UnknownAnswersAreIgnored) {
  EXPECT_EQ(dispatch(8225, Bytes(400, 0)), "");
  EXPECT_EQ(dispatch(6262, Bytes{}), "");
  EXPECT_EQ(g_callback_done.load(), 0);
  EXPECT_EQ(dispatch(8226, Bytes{1}), kTextOk);  // whatever the camera's word
}

}  // namespace
