// Privacy masks of the recorder and of the cameras, and the decoders of the
// cameras' OSD and mask answers.
#include <climits>

#include "osd.h"
#include "video_test_util.h"

namespace {

using Masks = VideoTest;

const std::vector<std::string> kRecorderAreaKeys = {
    "area_id", "enable", "start_x", "start_y", "area_width", "area_height",
    "width",   "height", "fill_color"};

privacy_mask_params sample_mask(int channel) {
  privacy_mask_params m = {};
  m.id = channel;
  for (int a = 0; a < PRIVACY_MASK_AREAS; a++) {
    m.areas[a].area_id = a;
    m.areas[a].start_x = 10 * a;
    m.areas[a].fill_color = channel;
  }
  m.areas[23].enable = 1;
  m.areas[23].height = 260;
  return m;
}

TEST_F(Masks, RecorderMasksListEveryChannelWithItsAreas) {
  privacy_mask_params stored = sample_mask(9);
  ASSERT_EQ(kxdb_write_record(KXDB_FILE, PRIVACY_MASK_TABLE, &stored, &privacy_mask_params::id), 0);
  std::string reply = call("/6018");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  ASSERT_EQ(json_object_array_length(body.get()), 64u);
  for (int ch = 0; ch < 64; ch++) {
    json_object *mask = json_object_array_get_idx(body.get(), ch);
    EXPECT_EQ(member_names(mask), (std::vector<std::string>{"id", "area"}));
    EXPECT_EQ(int_member(mask, "id"), ch);
    json_object *areas = json_member(mask, "area");
    ASSERT_EQ(json_object_array_length(areas), 24u);
    EXPECT_EQ(member_names(json_object_array_get_idx(areas, 0)), kRecorderAreaKeys);
  }
  json_object *areas = json_member(json_object_array_get_idx(body.get(), 9), "area");
  json_object *last = json_object_array_get_idx(areas, 23);
  EXPECT_EQ(int_member(last, "area_id"), 23);
  EXPECT_EQ(int_member(last, "start_x"), 230);
  EXPECT_EQ(int_member(last, "enable"), 1);
  EXPECT_EQ(int_member(last, "height"), 260);
  EXPECT_EQ(int_member(last, "fill_color"), 9);
}

TEST_F(Masks, RecorderMaskReaderGivesAllChannelsOrOnlyTheStoredOnes) {
  for (int ch : {40, 2}) {
    privacy_mask_params m = sample_mask(ch);
    ASSERT_EQ(kxdb_write_record(KXDB_FILE, PRIVACY_MASK_TABLE, &m, &privacy_mask_params::id), 0);
  }
  std::vector<privacy_mask_params> masks(PRIVACY_MASK_CHANNELS);
  int count = -1;
  ASSERT_EQ(read_privacy_masks(KXDB_FILE, masks.data(), &count, 0), 0);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(masks[0].id, 2);
  EXPECT_EQ(masks[1].id, 40);
  EXPECT_EQ(masks[1].areas[5].start_x, 50);
  ASSERT_EQ(read_privacy_masks(KXDB_FILE, masks.data(), &count, 1), 0);
  ASSERT_EQ(count, 64);
  EXPECT_EQ(masks[40].areas[5].fill_color, 40);
  EXPECT_EQ(masks[41].id, 41);
  EXPECT_EQ(masks[41].areas[5].start_x, 0);
}

// ---- Setting the cameras' masks ----

std::string area_json(int i) {
  char text[200];
  snprintf(text, sizeof text,
           R"({"area_id": %d, "enable": 1, "start_x": %d, "start_y": 2, "area_width": 3,
               "area_height": 4, "fill_color": 5, "ratio": 6, "name": "m%d"})",
           i, 100 + i, i);
  return text;
}

std::string areas_json(int n) {
  std::string out = "[";
  for (int i = 0; i < n; i++) out += (i ? "," : "") + area_json(i);
  return out + "]";
}

class CameraMasks : public VideoTest {
 protected:
  camera_mask_set set(const std::string &body) {
    EXPECT_EQ(call("/6019", body), kTextOk) << body;
    auto requests = sent(CAMERA_MASK_SET);
    forget();
    return only_payload<camera_mask_set>(requests);
  }
};

TEST_F(CameraMasks, ChannelsAreCharactersOfTheFirstCntElements) {
  camera_mask_set s = set(R"({"cnt": 3, "chnid": [1, 70, 63, 9], "area": [], "enable": 1,
                              "cgiSdkFlag": 2, "num": 0, "areaMaskEnable": 3,
                              "mosaicSupport": 4, "mosaicNum": 0, "delMask": 5})");
  std::string channels(s.channels, sizeof s.channels);
  std::string expected(64, '0');
  expected[1] = expected[63] = '1';  // 70 is no channel; 9 lies beyond "cnt"
  EXPECT_EQ(channels, expected);
  EXPECT_EQ(s.enable, 1);
  EXPECT_EQ(s.cgiSdkFlag, 2);
  EXPECT_EQ(s.areaMaskEnable, 3);
  EXPECT_EQ(s.mosaicSupport, 4);
  EXPECT_EQ(s.delMask, 5);

  s = set(R"({"cnt": 9, "chnid": [0, null, -1, "5"], "area": {}})");
  expected.assign(64, '0');
  expected[0] = expected[5] = '1';
  EXPECT_EQ(std::string(s.channels, 64), expected);
  EXPECT_EQ(s.delMask, 0);
  EXPECT_EQ(Bytes(s.reserved0, s.reserved0 + sizeof s.reserved0), Bytes(sizeof s.reserved0, 0));
}

TEST_F(CameraMasks, AreasCountNumAndMosaicNumUpTo28) {
  camera_mask_set s = set(R"({"cnt": 1, "chnid": [2], "num": 20, "mosaicNum": 20, "area": )" +
                          areas_json(30) + "}");
  EXPECT_EQ(s.num, 20);
  EXPECT_EQ(s.mosaicNum, 20);
  for (int i = 0; i < CAMERA_MASK_AREAS; i++) {
    EXPECT_EQ(s.areas[i].area_id, i);
    EXPECT_EQ(s.areas[i].start_x, 100 + i);
    EXPECT_EQ(s.areas[i].ratio, 6);
    EXPECT_EQ(std::string(s.areas[i].name), "m" + std::to_string(i));
  }
  EXPECT_EQ(s.mosaicSupport, 0);  // the member after the areas is untouched

  // Sums that would wrap in 32 bits, or are negative, take 28 and none.
  s = set(R"({"cnt": 0, "chnid": [], "num": 2147483647, "mosaicNum": 2147483647, "area": )" +
          areas_json(28) + "}");
  EXPECT_EQ(s.areas[27].start_x, 127);
  s = set(R"({"cnt": 0, "chnid": [], "num": -5, "mosaicNum": 3, "area": )" + areas_json(3) + "}");
  EXPECT_EQ(bytes_of(s.areas), Bytes(sizeof s.areas, 0));
}

TEST_F(CameraMasks, AMissingAreaElementLeavesItsSlotZero) {
  std::string name(80, 'q');
  camera_mask_set s = set(R"({"cnt": 0, "chnid": [], "num": 4, "mosaicNum": 0, "area": [)" +
                          area_json(0) + R"(, null, 7, {"name": ")" + name + R"("}]})");
  EXPECT_EQ(s.areas[0].start_x, 100);
  EXPECT_EQ(bytes_of(s.areas[1]), Bytes(sizeof s.areas[1], 0));
  EXPECT_EQ(bytes_of(s.areas[2]), Bytes(sizeof s.areas[2], 0));
  EXPECT_EQ(std::string(s.areas[3].name), name.substr(0, 63));
  EXPECT_EQ(s.areas[3].enable, 0);
  // Beyond the array's end: zero as well.
  s = set(R"({"cnt": 0, "chnid": [], "num": 3, "area": [)" + area_json(0) + "]}");
  EXPECT_EQ(bytes_of(s.areas[1]), Bytes(sizeof s.areas[1], 0));
}

TEST_F(CameraMasks, RequiredKeysMissingSendNothing) {
  for (const char *body : {R"({"area": [], "chnid": []})", R"({"cnt": 1, "chnid": [1]})",
                           R"({"cnt": 1, "area": []})", "{", "", "[]"}) {
    EXPECT_EQ(call("/6019", body), "") << body;
  }
  EXPECT_TRUE(sent(CAMERA_MASK_SET).empty());
}

// ---- The cameras' mask state ----

camera_mask_state sample_state(int id, int max_mask_sum) {
  camera_mask_state s = {};
  s.id = id;
  s.enable = 1;
  s.num = 3;
  s.cgiSdkFlag = 1;
  memset(s.sdkversion, 'v', sizeof s.sdkversion);  // no terminator
  s.maxPtzZoomRatio = 20;
  s.areaEnable = 1;
  snprintf(s.colorList, sizeof s.colorList, "0,1,2");
  for (int i = 0; i < CAMERA_MASK_AREAS; i++) {
    camera_mask_area &a = s.areas[i];
    a.area_id = i;
    a.enable = 1;
    a.start_x = 10 + i;
    a.start_y = 20 + i;
    a.area_width = 30 + i;
    a.area_height = 40 + i;
    a.fill_color = 2;
    a.ratio = 3;
    memset(a.name, 'a' + i % 26, sizeof a.name);
  }
  s.mosaicSupport = 1;
  s.mosaicNum = 2;
  s.colorSupport = 1;
  s.maxMaskSum = max_mask_sum;
  return s;
}

TEST_F(Masks, CameraStateListsTheFirstMaxMaskSumAreas) {
  daemon().answer(CAMERA_MASK_STATE_GET, bytes_of(sample_state(5, 2)));
  JsonPtr body = parse_body(call("/6115", R"({"id": 5})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(sent(CAMERA_MASK_STATE_GET).at(0).payload, bytes_of_int(5));
  ASSERT_EQ(json_object_array_length(body.get()), 1u);
  json_object *state = json_object_array_get_idx(body.get(), 0);
  EXPECT_EQ(member_names(state),
            (std::vector<std::string>{"id", "num", "maxPtzZoomRatio", "areaEnable", "enable",
                                      "sdkversion", "cgiSdkFlag", "colorList", "mosaicSupport",
                                      "mosaicNum", "colorSupport", "maxMaskSum", "area"}));
  EXPECT_EQ(int_member(state, "id"), 5);
  EXPECT_EQ(int_member(state, "maxPtzZoomRatio"), 20);
  EXPECT_EQ(text_member(state, "sdkversion"), std::string(32, 'v'));
  EXPECT_EQ(text_member(state, "colorList"), "0,1,2");
  EXPECT_EQ(int_member(state, "mosaicNum"), 2);
  json_object *areas = json_member(state, "area");
  ASSERT_EQ(json_object_array_length(areas), 2u);
  json_object *a = json_object_array_get_idx(areas, 1);
  EXPECT_EQ(member_names(a), (std::vector<std::string>{
                                 "area_id", "enable", "start_x", "start_y", "area_width",
                                 "area_height", "width", "height", "fill_color", "left", "top",
                                 "right", "bottom", "ratio", "name"}));
  EXPECT_EQ(int_member(a, "width"), 460);
  EXPECT_EQ(int_member(a, "height"), 260);
  EXPECT_EQ(int_member(a, "left"), 11);
  EXPECT_EQ(int_member(a, "top"), 21);
  EXPECT_EQ(int_member(a, "right"), 31);
  EXPECT_EQ(int_member(a, "bottom"), 41);
  EXPECT_EQ(int_member(a, "ratio"), 3);
  EXPECT_EQ(text_member(a, "name"), std::string(64, 'b'));
}

TEST_F(Masks, CameraStateClampsTheAreasAndTakesWholeRecords) {
  auto areas_of = [](json_object *body, int i) {
    return json_object_array_length(json_member(json_object_array_get_idx(body, i), "area"));
  };
  Bytes two = records_answer(std::vector<camera_mask_state>{sample_state(1, 40),
                                                            sample_state(2, -3)});
  two.resize(two.size() + 100);  // a scrap of a third record
  daemon().answer(CAMERA_MASK_STATE_GET, two);
  JsonPtr body = parse_body(call("/6115", R"({"id": 1})"));
  ASSERT_TRUE(body);
  ASSERT_EQ(json_object_array_length(body.get()), 2u);
  EXPECT_EQ(areas_of(body.get(), 0), 28u);
  EXPECT_EQ(areas_of(body.get(), 1), 0u);

  // Without a whole record the dispatcher stays silent: the handler's error.
  Bytes short_record = bytes_of(sample_state(1, 2));
  short_record.pop_back();
  daemon().answer(CAMERA_MASK_STATE_GET, short_record);
  EXPECT_EQ(call("/6115", R"({"id": 1})"), kCgiError);
  daemon().silent(CAMERA_MASK_STATE_GET);
  EXPECT_EQ(call("/6115", R"({"id": 1})"), kCgiError);
  EXPECT_EQ(call("/6115", "x"), "");
}

TEST_F(Masks, ModelTypeAnswersTheFirstWord) {
  daemon().answer(CAMERA_MODEL_TYPE_GET, int_answer(13));
  std::string reply = call("/6116", R"({"id": 3})");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"result"}));
  EXPECT_EQ(int_member(body.get(), "result"), 13);
  EXPECT_EQ(sent(CAMERA_MODEL_TYPE_GET).at(0).payload, bytes_of_int(3));
  daemon().answer(CAMERA_MODEL_TYPE_GET, Bytes{1, 2, 3});
  EXPECT_EQ(call("/6116", R"({"id": 3})"), kCgiError);
  daemon().silent(CAMERA_MODEL_TYPE_GET);
  EXPECT_EQ(call("/6116", R"({"id": 3})"), kCgiError);
}

// ---- Deleting and editing a camera mask ----

TEST_F(Masks, DeleteTakesChannelsAndAreasWithinTheirBounds) {
  EXPECT_EQ(call("/6173", R"({"chan_id": 63, "area_id": 24})"), kTextOk);
  EXPECT_EQ(call("/6173", R"({"chan_id": 0, "area_id": 0})"), kTextOk);
  auto requests = sent(CAMERA_MASK_DELETE);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(bytes_of(record_from<camera_mask_ref>(requests[0].payload)),
            bytes_of(camera_mask_ref{63, 24}));
  EXPECT_EQ(requests[0].payload.size(), 8u);
  forget();
  for (const char *body :
       {R"({"chan_id": 1, "area_id": 25})", R"({"chan_id": 1, "area_id": -1})",
        R"({"chan_id": 64, "area_id": 1})", R"({"chan_id": -1, "area_id": 1})",
        R"({"area_id": 1})", R"({"chan_id": 1})", "{", ""}) {
    EXPECT_EQ(call("/6173", body), kJsonError) << body;
  }
  EXPECT_TRUE(sent(CAMERA_MASK_DELETE).empty());
}

TEST_F(Masks, EditAnswersTheDaemonsResult) {
  daemon().answer(CAMERA_MASK_EDIT, int_answer(-2));
  JsonPtr body = parse_body(call("/6198", R"({"chnid": 4, "maskid": 7})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(int_member(body.get(), "res"), -2);
  EXPECT_EQ(sent(CAMERA_MASK_EDIT).at(0).payload, bytes_of(camera_mask_ref{4, 7}));
  daemon().silent(CAMERA_MASK_EDIT);
  EXPECT_EQ(call("/6198", R"({"chnid": 4, "maskid": 7})"), kJsonError);
  EXPECT_EQ(call("/6198", "{"), "");
  EXPECT_EQ(sent(CAMERA_MASK_EDIT).size(), 2u);
}

// ---- The decoders, as the receive thread runs them ----

class Decoders : public VideoTest {
 protected:
  std::string deliver(int code, const Bytes &payload) {
    take_output();
    g_callback_done = 0;
    kx_msg_head head = {};
    head.code = code;
    head.length = (uint32_t)payload.size();
    on_video_ipc_callback(0, &head, payload.data());
    return take_output();
  }
};

TEST_F(Decoders, WithoutARecordTheOsdReadAnswersAndTheMaskStateDoesNot) {
  Bytes osd(sizeof(camera_osd) - 1, 0);
  EXPECT_EQ(deliver(8211, osd), kCgiError);
  EXPECT_EQ(g_callback_done.load(), 1);
  Bytes state(sizeof(camera_mask_state) - 1, 0);
  EXPECT_EQ(deliver(7502, state), "");
  EXPECT_EQ(g_callback_done.load(), 0);
  EXPECT_EQ(deliver(7503, Bytes{0, 0, 0}), "");
  EXPECT_EQ(g_callback_done.load(), 0);
  EXPECT_EQ(deliver(8210, Bytes{0, 0}), "");
  EXPECT_EQ(g_callback_done.load(), 0);
}

TEST_F(Decoders, OsdWriteVerdicts) {
  EXPECT_EQ(deliver(8210, int_answer(0)), kTextOk);
  EXPECT_EQ(deliver(8210, int_answer(-1)), kTextHeader + "NO_SUPPORT");
  EXPECT_EQ(deliver(8210, int_answer(5)), kTextHeader + "ERROR");
  EXPECT_EQ(deliver(8210, int_answer(INT_MIN)), kTextHeader + "ERROR");
  EXPECT_EQ(g_callback_done.load(), 1);
}

}  // namespace
