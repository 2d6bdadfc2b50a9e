// The recording search, its pages, and the day map.
#include "playback_test_util.h"

namespace {

using Sections = PlaybackTest;

section_record section(int cam, int sid, int type, int lock, const char *start, const char *end) {
  section_record r = {};
  r.camId = cam;
  r.sid = sid;
  r.recordType = type;
  r.lock = lock;
  snprintf(r.start_time, sizeof r.start_time, "%s", start);
  snprintf(r.end_time, sizeof r.end_time, "%s", end);
  return r;
}

const char *kSearch = R"({"channelId": 2, "sid": 7, "streamType": 1,
                          "time": "2024-03-01 00:00:00", "endTime": "2024-03-01 23:59:59"})";

TEST_F(Sections, SearchClosesTheOldSessionThenSendsThePayload) {
  daemon().answer(1159, records_answer<section_record>(
                            {section(2, 41, 1, 0, "2024-03-01 01:00:00", "2024-03-01 02:00:00"),
                             section(3, 42, 2, 1, "2024-03-01 05:00:00", "2024-03-01 05:10:00")}));
  std::string reply = call("/4000", kSearch);
  EXPECT_EQ(codes(), (std::vector<int>{1160, 1903, 1159}));
  Bytes close = sent_once(1160);
  EXPECT_EQ(close.size(), 776u);
  EXPECT_EQ(int_at(close, 0), 7);
  EXPECT_EQ(int_at(close, 772), 1);
  EXPECT_EQ(sent_once(1903), int_answer(7));

  Bytes search = sent_once(1159);
  ASSERT_EQ(search.size(), 216u);
  std::string mask(reinterpret_cast<const char *>(search.data()), 64);
  EXPECT_EQ(mask, "00100000000000000000000000000000" + std::string(32, '\0'));  // 32 channels
  EXPECT_EQ(int_at(search, 64), 1);
  EXPECT_EQ(int_at(search, 68), 1);
  EXPECT_EQ(int_at(search, 72), -1);
  EXPECT_EQ(int_at(search, 76), -1);
  EXPECT_EQ(text_at(search, 80, 32), "2024-03-01 00:00:00");
  EXPECT_EQ(text_at(search, 112, 32), "2024-03-01 23:59:59");
  EXPECT_EQ(Bytes(search.begin() + 144, search.end()), Bytes(72, 0));

  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{"status", "camId", "sectionNum", "sid", "section"}));
  EXPECT_EQ(text_member(body.get(), "status"), "OK");
  EXPECT_EQ(int_member(body.get(), "camId"), 3);  // of the last record
  EXPECT_EQ(int_member(body.get(), "sectionNum"), 2);
  EXPECT_EQ(int_member(body.get(), "sid"), 41);  // of the first record
  json_object *second = json_object_array_get_idx(json_member(body.get(), "section"), 1);
  EXPECT_EQ(member_names(second),
            (std::vector<std::string>{"startTime", "endTime", "recordType", "lock"}));
  EXPECT_EQ(text_member(second, "startTime"), "2024-03-01 05:00:00");
  EXPECT_EQ(text_member(second, "endTime"), "2024-03-01 05:10:00");
  EXPECT_EQ(int_member(second, "recordType"), 2);
  EXPECT_EQ(int_member(second, "lock"), 1);
}

TEST_F(Sections, TheMaskComparesWithTheChannelAndFollowsTheRecordersSize) {
  set_param_int(KXDB_FILE, "max_cameras", 8);
  call("/4000", R"({"channelId": 7, "sid": -1, "streamType": 0, "time": "a", "endTime": "b"})");
  Bytes search = sent_once(1159);
  EXPECT_EQ(std::string(reinterpret_cast<const char *>(search.data())), "00000001");
  EXPECT_EQ(int_at(search, 68), 0);
  EXPECT_TRUE(sent(1160).empty());  // no old session: nothing closed
  EXPECT_TRUE(sent(1903).empty());

  // A channel beyond the recorder never indexes the mask.
  set_param_int(KXDB_FILE, "max_cameras", 1000);
  for (const char *channel : {"64", "-1", "2147483647", "1e308", "-1e308"}) {
    forget();
    call("/4000", std::string(R"({"sid": -5, "streamType": 2, "time": "", "endTime": "",
                                  "channelId": )") + channel + "}");
    Bytes mask = sent_once(1159);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(mask.data()), 64).find('1'),
              std::string::npos) << channel;
    EXPECT_EQ(mask[63], '0');  // 64 channels at most, so the field keeps no terminator
  }
}

TEST_F(Sections, RequiredKeysNoMatchesAndTimeOut) {
  for (const char *body : {R"({"sid": 1, "streamType": 0, "time": "", "endTime": ""})",
                           R"({"channelId": 1, "streamType": 0, "time": "", "endTime": ""})",
                           R"({"channelId": 1, "sid": 1, "time": "", "endTime": ""})",
                           R"({"channelId": 1, "sid": 1, "streamType": 0, "endTime": ""})",
                           R"({"channelId": 1, "sid": 1, "streamType": 0, "time": ""})",
                           "5", "", "{"}) {
    EXPECT_EQ(call("/4000", body), "") << body;
  }
  EXPECT_TRUE(codes().empty());

  daemon().answer(1159, int_answer(0));  // shorter than one record
  EXPECT_EQ(call("/4000", kSearch), kJsonHeader + R"({ "status": "NO MATCHES" })");
  daemon().silent(1159);
  EXPECT_EQ(call("/4000", kSearch), kJsonError);
}

TEST_F(Sections, PagesOfASearch) {
  Bytes three = records_answer<section_record>({section(1, 9, 1, 0, "s1", "e1"),
                                                section(1, 9, 1, 0, "s2", "e2"),
                                                section(1, 9, 4, 0, "s3", "e3")});
  three.resize(three.size() + 79, 0xFF);  // a partial fourth record is not read
  daemon().answer(1161, three);
  JsonPtr body = parse_body(call("/4023", R"({"sid": 9, "page": 3})"));
  EXPECT_EQ(sent_once(1161), (Bytes{9, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(int_member(body.get(), "sectionNum"), 3);
  EXPECT_EQ(json_object_array_length(json_member(body.get(), "section")), 3u);

  // Texts that fill their field are cut at its end.
  section_record full = section(1, 9, 1, 0, "", "");
  memset(full.start_time, 'x', sizeof full.start_time);
  memset(full.end_time, 'y', sizeof full.end_time);
  memset(full.reserved2, 'z', sizeof full.reserved2);
  daemon().answer(1161, bytes_of(full));
  body = parse_body(call("/4023", R"({"sid": 9, "page": 1})"));
  json_object *only = json_object_array_get_idx(json_member(body.get(), "section"), 0);
  EXPECT_EQ(text_member(only, "startTime"), std::string(20, 'x'));
  EXPECT_EQ(text_member(only, "endTime"), std::string(20, 'y'));
  EXPECT_EQ(call("/4023", "[]"), "");
}

// ---- Day map ----
Bytes day_map(int cam, std::initializer_list<std::tuple<int, int, int>> runs) {
  day_map_record map = {};
  map.camId = cam;
  for (auto [from, to, type] : runs) {
    for (int m = from; m < to; m++) map.minute_type[m] = (uint8_t)type;
  }
  return bytes_of(map);
}

struct MapRun {
  std::string start, end;
  int type;
  bool operator==(const MapRun &) const = default;
};

std::vector<MapRun> runs_of(json_object *body) {
  std::vector<MapRun> out;
  json_object *list = json_member(body, "section");
  for (size_t i = 0; list && i < json_object_array_length(list); i++) {
    json_object *e = json_object_array_get_idx(list, i);
    out.push_back({text_member(e, "startTime"), text_member(e, "endTime"),
                   int_member(e, "recordType")});
  }
  return out;
}

TEST_F(Sections, DayMapRunsAndTheirTexts) {
  JsonPtr body = parse_body(dispatch(8501, day_map(5, {{600, 660, 1}})));
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{"status", "camId", "sectionNum", "section"}));
  EXPECT_EQ(text_member(body.get(), "status"), "OK");
  EXPECT_EQ(int_member(body.get(), "camId"), 5);
  EXPECT_EQ(int_member(body.get(), "sectionNum"), 2);
  EXPECT_EQ(runs_of(body.get()),
            (std::vector<MapRun>{{"", "1970-01-01 10:00:00", 0},
                              {"1970-01-01 10:00:00", "1970-01-01 11:00:00", 1}}));

  // A run to the end of the day ends at 24:00:00.
  body = parse_body(dispatch(8101, day_map(1, {{0, 1440, 2}})));
  EXPECT_EQ(runs_of(body.get()),
            (std::vector<MapRun>{{"", "1970-01-01 00:00:00", 0},
                              {"1970-01-01 00:00:00", "1970-01-01 24:00:00", 2}}));

  // A change of type at the last minute closes at 23:59:00; the new run is not reported.
  body = parse_body(dispatch(8101, day_map(1, {{1000, 1439, 1}, {1439, 1440, 3}})));
  EXPECT_EQ(runs_of(body.get()),
            (std::vector<MapRun>{{"", "1970-01-01 16:40:00", 0},
                              {"1970-01-01 16:40:00", "1970-01-01 23:59:00", 1}}));

  // A run after zeros first closes a type-0 run from the previous run's start.
  body = parse_body(dispatch(8101, day_map(1, {{60, 120, 1}, {180, 240, 2}})));
  EXPECT_EQ(runs_of(body.get()), (std::vector<MapRun>{{"", "1970-01-01 01:00:00", 0},
                                                   {"1970-01-01 01:00:00", "1970-01-01 02:00:00", 1},
                                                   {"1970-01-01 01:00:00", "1970-01-01 03:00:00", 0},
                                                   {"1970-01-01 03:00:00", "1970-01-01 04:00:00", 2}}));
}

TEST_F(Sections, EmptyAndShortDayMaps) {
  EXPECT_EQ(dispatch(8501, day_map(4, {})),
            kJsonHeader + R"({ "status": "NO MATCHES", "camId": 4, "sectionNum": 0, "section": [ ] })");
  EXPECT_EQ(g_callback_done, 1);
  Bytes short_map = day_map(4, {{0, 1440, 1}});
  short_map.pop_back();
  EXPECT_EQ(dispatch(8501, short_map), "");
  EXPECT_EQ(g_callback_done, 0);  // as if nothing came

  // Through an exchange: the short map ends in the handler's error reply.
  answer_as(1161, 8501, short_map);
  EXPECT_EQ(call("/4023", R"({"sid": 1, "page": 0})"), kJsonError);
}

}  // namespace
