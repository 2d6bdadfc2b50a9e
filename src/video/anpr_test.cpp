// The cameras' plate recognition: channels checked and sent, answers decoded
// (shorter ones count as missing), wildcards written.
#include "anpr.h"
#include "video_test_util.h"

namespace {

using Anpr = VideoTest;
using Strings = std::vector<std::string>;

TEST_F(Anpr, ReadersCheckAndSendTheChannel) {
  daemon().answer(ANPR_SUPPORT_GET, bytes_of(anpr_support{5, 1, 3}));
  JsonPtr support = parse_body(call("/6186", R"({"chnid": 5})"));
  ASSERT_TRUE(support);
  EXPECT_EQ(member_names(support.get()),
            (std::vector<std::string>{"chnid", "vca_support", "vca_version"}));
  EXPECT_EQ(int_member(support.get(), "vca_version"), 3);
  EXPECT_EQ(only_payload<int32_t>(sent(ANPR_SUPPORT_GET)), 5);
  daemon().answer(ANPR_ZOOM_GET, bytes_of(anpr_zoom{7, 2, 4}));
  JsonPtr zoom = parse_body(call("/6189", R"({"chnid": 7})"));
  ASSERT_TRUE(zoom);
  EXPECT_EQ(member_names(zoom.get()), (std::vector<std::string>{"chnid", "state", "zoomNumber"}));
  EXPECT_EQ(int_member(zoom.get(), "chnid"), 7);
  EXPECT_EQ(int_member(zoom.get(), "zoomNumber"), 4);
  for (const char *path : {"/6186", "/6189", "/6190", "/6191"}) {
    forget();
    EXPECT_EQ(call(path, R"({"chnid": 64})"), kJsonError) << path;
    EXPECT_EQ(call(path, R"({"chnid": -1})"), kJsonError) << path;
    EXPECT_EQ(call(path, "not json"), kJsonError) << path;
    EXPECT_EQ(call(path, ""), kJsonError) << path;
    EXPECT_TRUE(codes().empty()) << path;
  }
}

TEST_F(Anpr, MissingOrShortAnswerIsTheJsonError) {
  daemon().silent(ANPR_ZOOM_GET);
  EXPECT_EQ(call("/6189", R"({"chnid": 1})"), kJsonError);
  Bytes short_support = bytes_of(anpr_support{});
  short_support.resize(8);
  daemon().answer(ANPR_SUPPORT_GET, short_support);
  EXPECT_EQ(call("/6186", R"({"chnid": 1})"), kJsonError);
  Bytes short_wildcards = bytes_of(anpr_wildcards{});
  short_wildcards.resize(sizeof(anpr_wildcards) - 1);
  daemon().answer(ANPR_WILDCARDS_GET, short_wildcards);
  EXPECT_EQ(call("/6190", R"({"chnid": 1})"), kJsonError);
  daemon().silent(ANPR_WILDCARDS_SET);
  EXPECT_EQ(call("/6191", R"({"chnid": 1})"), kJsonError);
}

TEST_F(Anpr, WildcardsAnswerNineObjects) {
  anpr_wildcards w = {};
  w.channel = 2;
  w.filter = 1;
  w.maxPlateCharNum = 8;
  for (int i = 0; i < ANPR_WILDCARD_COUNT; i++) {
    w.enable[i] = i % 2;
    w.cr_count[i] = i + 1;
    snprintf(w.format[i], sizeof w.format[i], "F%d", i);
  }
  memset(w.format[8], 'x', sizeof w.format[8]);  // no terminator
  daemon().answer(ANPR_WILDCARDS_GET, bytes_of(w));
  JsonPtr reply = parse_body(call("/6190", R"({"chnid": 2})"));
  ASSERT_TRUE(reply);
  EXPECT_EQ(member_names(reply.get()),
            (std::vector<std::string>{"chnid", "filter", "maxPlateCharNum", "wildcards"}));
  json_object *list = json_member(reply.get(), "wildcards");
  ASSERT_EQ(array_length(list), 9);
  EXPECT_EQ(member_names(array_at(list, 0)),
            (std::vector<std::string>{"enable", "cr_count", "format"}));
  EXPECT_EQ(int_member(array_at(list, 3), "enable"), 1);
  EXPECT_EQ(int_member(array_at(list, 3), "cr_count"), 4);
  EXPECT_EQ(text_member(array_at(list, 3), "format"), "F3");
  EXPECT_EQ(text_member(array_at(list, 8), "format"), std::string(16, 'x'));
}

TEST_F(Anpr, WildcardsWrittenFromPresentElements) {
  daemon().answer(ANPR_WILDCARDS_SET, int_answer(0));
  EXPECT_EQ(call("/6191", R"({"chnid": 3, "filter": 1, "maxPlateCharNum": 9,
      "wildcards": [{"enable": 1, "cr_count": 7, "format": "0123456789abcdefXYZ"},
                    null, {"cr_count": 5}]})"),
            kTextOk);
  anpr_wildcards w = only_payload<anpr_wildcards>(sent(ANPR_WILDCARDS_SET));
  EXPECT_EQ(w.channel, 3);
  EXPECT_EQ(w.filter, 1);
  EXPECT_EQ(w.maxPlateCharNum, 9);
  EXPECT_EQ(w.enable[0], 1);
  EXPECT_EQ(w.cr_count[0], 7);
  EXPECT_STREQ(w.format[0], "0123456789abcde");  // 15 characters
  EXPECT_EQ(w.cr_count[1], 0);
  EXPECT_EQ(w.cr_count[2], 5);
  EXPECT_EQ(w.enable[8], 0);
  daemon().answer(ANPR_WILDCARDS_SET, int_answer(1));
  EXPECT_EQ(call("/6191", R"({"chnid": 3})"), kTextHeader + "FAILED");
}

}  // namespace

namespace {

TEST_F(Anpr, SettingsAnswerInRecordOrder) {
  anpr_settings s = {};
  s.chnid = 6;
  s.post_tcp_port = 80;
  memset(s.region[1], 'r', sizeof s.region[1]);  // no terminator: read within 32 bytes
  s.roi[0].endY = 41;
  s.preset[3][2].endY = 77;
  snprintf(s.preset[3][2].name, sizeof s.preset[3][2].name, "p32");
  s.jsonSupport = 1;
  s.aitype = 12;
  snprintf(s.normalPolygons[1].polygonX, sizeof s.normalPolygons[1].polygonX, "1,2,3");
  daemon().answer(ANPR_SETTINGS_GET, bytes_of(s));
  JsonPtr reply = parse_body(call("/6181", R"({"chnid": 6})"));
  ASSERT_TRUE(reply);
  std::vector<std::string> names = member_names(reply.get());
  std::vector<std::string> expected = {
      "chnid", "enable", "resolution_width", "resolution_height", "area_x", "area_y",
      "area_width", "area_height", "day_night_mode_enable", "scene", "direction_enable",
      "region_enable", "roiid_enable", "process_mode", "repeat_check_time_value",
      "repeat_check_time_unit", "post_enable", "post_type", "post_tcp_port", "post_http_user",
      "post_http_password", "post_http_url", "confidence", "night_mode_enable",
      "night_mode_level", "night_mode_starthour", "night_mode_startminute",
      "night_mode_stophour", "night_mode_stopminute", "night_mode_effective_mode", "region",
      "cur_area", "in_night_mode", "roi", "preset", "platecolorEnable", "vehicletypeEnable",
      "vehiclecolorEnable", "jsonSupport", "irLedExternalSupport", "vehicleEnhancement",
      "vehicleBrandEnable", "aitype", "normalPolygons"};
  EXPECT_EQ(names, expected);
  json_object *regions = json_member(reply.get(), "region");
  ASSERT_EQ(array_length(regions), 64);
  EXPECT_STREQ(json_object_get_string(array_at(regions, 1)), std::string(32, 'r').c_str());
  json_object *roi = array_at(json_member(reply.get(), "roi"), 0);
  EXPECT_EQ(member_names(roi), (Strings{"name", "startX", "startY", "endX", "endY"}));
  EXPECT_EQ(int_member(roi, "endY"), 41);
  json_object *preset = array_at(array_at(json_member(reply.get(), "preset"), 3), 2);
  EXPECT_EQ(member_names(preset), (Strings{"name", "startX", "startY", "endX", "endy"}));
  EXPECT_EQ(int_member(preset, "endy"), 77);
  EXPECT_EQ(text_member(preset, "name"), "p32");
  json_object *polygon = array_at(json_member(reply.get(), "normalPolygons"), 1);
  EXPECT_EQ(text_member(polygon, "polygonX"), "1,2,3");
  EXPECT_EQ(only_payload<int32_t>(sent(ANPR_SETTINGS_GET)), 6);
}

TEST_F(Anpr, PolygonsOnlyWithJsonSupportAndPlateAi) {
  for (auto [json_support, aitype] : {std::pair{0, 12}, std::pair{1, 10}, std::pair{1, 15}}) {
    anpr_settings s = {};
    s.jsonSupport = json_support;
    s.aitype = aitype;
    daemon().answer(ANPR_SETTINGS_GET, bytes_of(s));
    JsonPtr reply = parse_body(call("/6181", R"({"chnid": 0})"));
    ASSERT_TRUE(reply);
    EXPECT_FALSE(json_member(reply.get(), "normalPolygons")) << json_support << " " << aitype;
  }
  Bytes short_settings = bytes_of(anpr_settings{});
  short_settings.resize(sizeof(anpr_settings) - 4);
  daemon().answer(ANPR_SETTINGS_GET, short_settings);
  EXPECT_EQ(call("/6181", R"({"chnid": 0})"), kJsonError);
  EXPECT_EQ(call("/6181", R"({"chnid": 64})"), kJsonError);
  EXPECT_EQ(call("/6181", ""), kJsonError);
}

}  // namespace

namespace {

TEST_F(Anpr, SettingsWrittenAtTheirOffsets) {
  daemon().answer(ANPR_SETTINGS_SET, int_answer(0));
  std::string presets = "[";
  for (int i = 0; i < 4; i++) {
    presets += i ? ",[" : "[";
    for (int j = 0; j < 4; j++) {
      presets += (j ? ",{" : "{") + std::string(R"("name": "p)") + std::to_string(i) +
                 std::to_string(j) + R"(", "endX": )" + std::to_string(10 * i + j) +
                 (j == 3 ? R"(, "endy": 7})" : R"(, "endY": 5})");
    }
    presets += "]";
  }
  presets += "]";
  std::string body = R"({"chnid": 9, "enable": 1, "post_tcp_port": 81, "confidence": 70,
      "aitype": 11, "jsonSupport": 1, "irLedExternalSupport": 1,
      "region": ["0123456789012345678901234567890123456789"], "preset": )" + presets +
                     R"(, "normalPolygons": [{"name": "n0", "polygonX": "1,2"}]})";
  EXPECT_EQ(call("/6182", body), kTextOk);
  std::vector<SimRequest> requests = sent(ANPR_SETTINGS_SET);
  ASSERT_EQ(requests.size(), 1u);
  const Bytes &p = requests[0].payload;
  ASSERT_EQ(p.size(), sizeof(anpr_settings));
  anpr_settings s = record_from<anpr_settings>(p);
  EXPECT_EQ(s.chnid, 9);
  EXPECT_EQ(s.post_tcp_port, 81);
  EXPECT_EQ(s.confidence, 70);
  EXPECT_EQ(s.irLedExternalSupport, 0);
  EXPECT_STREQ(s.region[0], "0123456789012345678901234567890");  // 31 characters
  for (int i = 0; i < 4; i++) {
    for (int j = 0; j < 4; j++) {
      size_t at = 3136 + 320 * i + 80 * j;
      anpr_area a;
      memcpy(&a, p.data() + at, sizeof a);
      EXPECT_EQ(std::string(a.name), "p" + std::to_string(i) + std::to_string(j));
      EXPECT_EQ(a.endX, 10 * i + j);
      EXPECT_EQ(a.endY, j == 3 ? 7 : 5);
    }
  }
  EXPECT_STREQ(s.normalPolygons[0].polygonX, "1,2");
  EXPECT_TRUE(sent(ANPR_WILDCARDS_SET).empty());
}

TEST_F(Anpr, SettingsPolygonsFormatDataAndDialog) {
  daemon().answer(ANPR_SETTINGS_SET, int_answer(1));
  EXPECT_EQ(call("/6182", R"({"chnid": 4, "jsonSupport": 0, "aitype": 12,
      "normalPolygons": [{"name": "n0"}], "formatData": {"chnid": 70, "filter": 1}})"),
            kTextHeader + "FAILED");
  anpr_settings s = only_payload<anpr_settings>(sent(ANPR_SETTINGS_SET));
  EXPECT_STREQ(s.normalPolygons[0].name, "");
  settle();
  EXPECT_TRUE(sent(ANPR_WILDCARDS_SET).empty());
  forget();
  anpr_event stored = {};
  stored.channel = 4;
  stored.interval = 33;
  ASSERT_EQ(write_anpr_event(KXDB_FILE, &stored, ANPR_MODE_ANY), 0);
  daemon().answer(ANPR_SETTINGS_SET, int_answer(0));
  EXPECT_EQ(call("/6182", R"({"chnid": 4, "dialog": {"triAlarms": 3},
      "formatData": {"chnid": 4, "filter": 2, "wildcards": [{"format": "A9"}]}})"),
            kTextOk);
  settle();
  EXPECT_EQ(codes(), (std::vector<int>{ANPR_WILDCARDS_SET, ANPR_SETTINGS_SET}));
  anpr_wildcards w = only_payload<anpr_wildcards>(sent(ANPR_WILDCARDS_SET));
  EXPECT_EQ(w.channel, 4);
  EXPECT_STREQ(w.format[0], "A9");
  anpr_event e = {};
  ASSERT_EQ(read_anpr_event(KXDB_FILE, &e, 4, ANPR_MODE_ANY), 0);
  EXPECT_EQ(e.interval, 33);  // kept from the stored record
  EXPECT_EQ(e.triAlarms, 3);
  anpr_event other = {};
  ASSERT_EQ(read_anpr_event(KXDB_FILE, &other, 0, ANPR_MODE_ANY), 0);
  EXPECT_EQ(other.triAlarms, 0);
  BrokenSettings broken;
  forget();
  EXPECT_EQ(call("/6182", R"({"chnid": 4, "dialog": {"triAlarms": 1}})"), kJsonError);
  settle();
  EXPECT_TRUE(sent(ANPR_SETTINGS_SET).empty());
}

}  // namespace
