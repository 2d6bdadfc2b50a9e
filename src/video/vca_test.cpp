// The cameras' analytics rules: canvas conversions, rule records sent and
// answers decoded, and the smart-event actions stored with a rule.
#include <algorithm>
#include <climits>
#include <set>

#include "vca.h"
#include "video_test_util.h"

namespace {

using namespace video;

const std::string kFailed = kTextHeader + "FAILED";

class Vca : public VideoTest {
 protected:
  template <class T>
  T sent_record(int code) {
    return only_payload<T>(sent(code));
  }
};

smart_event stored_event(int channel, int type) {
  smart_event e = {};
  EXPECT_EQ(read_smart_event(KXDB_FILE, &e, channel, type), 0);
  return e;
}

// ---- Conversions ----

TEST(VcaConversion, CanvasToCameraRoundsAndRaisesToOne) {
  LinePoints p = canvas_line_to_camera(split_position("100;50"), 1920, 1080);
  EXPECT_EQ(std::vector<int>(p.v, p.v + 4), (std::vector<int>{417, 208, 1, 1}));
  p = canvas_line_to_camera(split_position(""), 1920, 1080);
  EXPECT_EQ(std::vector<int>(p.v, p.v + 4), (std::vector<int>{1, 1, 1, 1}));
  p = split_position("1;-2;3;4;5");
  EXPECT_EQ(std::vector<int>(p.v, p.v + 4), (std::vector<int>{1, -2, 3, 4}));
}

TEST(VcaConversion, CameraToCanvasAndHostileValues) {
  EXPECT_EQ(camera_to_canvas(417, 1920, CANVAS_WIDTH), 100);
  EXPECT_EQ(camera_to_canvas(208, 1080, CANVAS_HEIGHT), 50);
  EXPECT_EQ(camera_to_canvas(5, 0, CANVAS_WIDTH), 0);
  // 32-bit arithmetic would overflow on these; the results stay in range.
  EXPECT_EQ(canvas_to_camera(INT_MAX, INT_MAX, CANVAS_WIDTH), INT_MAX);
  EXPECT_EQ(canvas_to_camera(INT_MIN, INT_MAX, CANVAS_WIDTH), INT_MIN);
  EXPECT_EQ(camera_to_canvas(INT_MAX, 1, CANVAS_WIDTH), INT_MAX);
  EXPECT_EQ(camera_to_canvas(1000000, 1920, CANVAS_WIDTH), 239583);
  LinePoints big = split_position("99999999999;-99999999999");
  EXPECT_EQ(big.v[0], INT_MAX);
  EXPECT_EQ(big.v[1], INT_MIN);
}

// ---- Rule readers ----

TEST_F(Vca, ReadersSendTheChannelAndCheckIt) {
  daemon().answer(3238, bytes_of(vca_area{}));
  call("/6132", R"({"channel": 3, "type": 1})");
  EXPECT_EQ(sent_record<int32_t>(3238), 3);
  EXPECT_EQ(call("/6134", R"({"channel": 64})"), kJsonError);
  EXPECT_EQ(call("/6134", "not json"), "");
  EXPECT_EQ(call("/6192", "not json"), kJsonError);
  daemon().silent(3257);
  EXPECT_EQ(call("/6157", R"({"channel": 99})"), kJsonError);  // unchecked, then no answer
  EXPECT_EQ(sent_record<int32_t>(3257), 99);
}

TEST_F(Vca, ShortAnswerCountsAsMissing) {
  Bytes short_area = bytes_of(vca_area{});
  short_area.resize(sizeof(vca_area) - 1);
  daemon().answer(3237, short_area);
  EXPECT_EQ(call("/6132", R"({"channel": 0, "type": 0})"), kJsonError);
  Bytes short_line = bytes_of(vca_line{});
  short_line.resize(100);
  daemon().answer(3241, short_line);
  EXPECT_EQ(call("/6138", R"({"channel": 0})"), kJsonError);
  daemon().answer(3247, Bytes{});  // no status word
  EXPECT_EQ(call("/6137", R"({"chnid": 0, "enable": 1})"), kCgiError);
}

TEST_F(Vca, AreaAnswerKeys) {
  vca_area a = {};
  a.enable = 1;
  a.sensitivity = 4;
  a.ignore_time = 9;
  a.objtype = 2;
  snprintf(a.region, sizeof a.region, "r1");
  memset(a.polygonX, 'x', sizeof a.polygonX);  // no terminator: read within the field
  daemon().answer(3239, bytes_of(a));
  JsonPtr reply = parse_body(call("/6134", R"({"channel": 1})"));
  EXPECT_EQ(member_names(reply.get()),
            (std::vector<std::string>{"region", "enable", "sensitivity", "ignore_time", "objtype",
                                      "polygonX", "polygonY"}));
  EXPECT_EQ(text_member(reply.get(), "region"), "r1");
  EXPECT_EQ(text_member(reply.get(), "polygonX"), std::string(64, 'x'));
  EXPECT_EQ(int_member(reply.get(), "ignore_time"), 9);
}

TEST_F(Vca, LineAnswersConvertToTheCanvas) {
  vca_line l = {};
  l.width = 1920;
  l.height = 1080;
  l.lines[0] = {417, 208, 1920, 1080, 2, {}};
  daemon().answer(3241, bytes_of(l));
  JsonPtr reply = parse_body(call("/6138", R"({"channel": 1})"));
  EXPECT_EQ(member_names(reply.get()),
            (std::vector<std::string>{"line", "enable", "width", "height", "objtype"}));
  json_object *first = array_at(json_member(reply.get(), "line"), 0);
  EXPECT_EQ(text_member(first, "position"), "100;50;460;260");
  EXPECT_EQ(int_member(first, "direction"), 2);

  l.width = 0;
  daemon().answer(3241, bytes_of(l));
  reply = parse_body(call("/6138", R"({"channel": 1})"));
  EXPECT_EQ(text_member(array_at(json_member(reply.get(), "line"), 0), "position"), "0;0;0;0");

  vca_line2 l2 = {};
  l2.channel = 5;
  l2.height = 1080;
  l2.lines[3].startX = 400;
  daemon().answer(1209, bytes_of(l2));
  reply = parse_body(call("/6192", R"({"chnid": 5})"));
  EXPECT_EQ(int_member(reply.get(), "chnid"), 5);
  json_object *last = array_at(json_member(reply.get(), "line"), 3);
  EXPECT_EQ(member_names(last),
            (std::vector<std::string>{"enable", "objtype", "direction", "position"}));
  EXPECT_EQ(text_member(last, "position"), "0;0;0;0");
}

TEST_F(Vca, PeopleAndSettingsAnswersRaiseToOne) {
  vca_people p = {};
  p.lines[1].lineEnable = 1;
  p.lines[1].startX = 77;  // given unconverted
  daemon().answer(3253, bytes_of(p));
  JsonPtr reply = parse_body(call("/6144", R"({"channel": 2})"));
  json_object *positions = json_member(reply.get(), "position");
  EXPECT_STREQ(json_object_get_string(array_at(positions, 0)), "1;1;1;1");
  EXPECT_EQ(element_int(json_member(reply.get(), "startX"), 1), 77);
  EXPECT_EQ(element_int(json_member(reply.get(), "lineEnable"), 1), 1);
  EXPECT_EQ(array_length(json_member(reply.get(), "autoResetSec")), 4);

  vca_settings s = {};
  s.vcaType = 3;
  s.maxWidth = 1920;
  daemon().answer(3259, bytes_of(s));
  reply = parse_body(call("/6146", R"({"channel": 2})"));
  EXPECT_EQ(int_member(reply.get(), "vcaType"), 3);
  json_object *size = array_at(json_member(reply.get(), "position"), 0);
  EXPECT_EQ(array_length(json_member(reply.get(), "position")), 1);
  EXPECT_EQ(int_member(size, "maxWidth"), 1);
  EXPECT_EQ(int_member(size, "minStartX"), 1);

  s.width = 1920;
  s.height = 1080;
  s.maxHeight = 1080;
  daemon().answer(3259, bytes_of(s));
  reply = parse_body(call("/6146", R"({"channel": 2})"));
  size = array_at(json_member(reply.get(), "position"), 0);
  EXPECT_EQ(int_member(size, "maxWidth"), 460);
  EXPECT_EQ(int_member(size, "maxHeight"), 260);
}

TEST_F(Vca, ClassSettingsReadTheFirstRecordUnconverted) {
  vca_class_settings first = {}, second = {};
  first.width = 1920;
  first.maxHeight[7] = 1080;
  second.fps = 99;
  daemon().answer(1211, records_answer<vca_class_settings>({first, second}));
  JsonPtr reply = parse_body(call("/6194", R"({"channel": 0})"));
  EXPECT_EQ(int_member(reply.get(), "fps"), 0);
  json_object *positions = json_member(reply.get(), "position");
  EXPECT_EQ(array_length(positions), 8);
  EXPECT_EQ(int_member(array_at(positions, 7), "maxHeight"), 1080);
  EXPECT_EQ(int_member(array_at(positions, 7), "width"), 1920);
}

// ---- Rule writers ----

TEST_F(Vca, RegionTypeChoosesRequestAndPolygonSlots) {
  daemon().answer(3244, int_answer(0));
  daemon().answer(3245, int_answer(7));
  std::string entries = R"("regionInfo": [{"enable": 1, "objType": 2, "time": 3, "region": [
      {"polygonX": "a0", "polygonY": "b0"}, {"polygonX": "a1"}, {}, {}, {"polygonX": "a4"}]},
      {"enable": 1, "region": [{}, {}, {}, {}, {"polygonX": "e1s4"}]}])";
  EXPECT_EQ(call("/6133", R"({"chnid": 1, "type": 0, "regionType": 1, )" + entries + "}"),
            kTextOk);
  Bytes one = sent(3244).at(0).payload;
  EXPECT_EQ(text_at(one, 572 + 16 + 64, 64), "a0");
  EXPECT_EQ(text_at(one, 572 + 16 + 192 + 64, 64), "");  // slot 1 not taken
  EXPECT_EQ(int_at(one, 572 + 8), 3);
  EXPECT_EQ(call("/6133", R"({"chnid": 1, "type": 1, "regionType": 2, )" + entries + "}"),
            kFailed);
  Bytes two = sent(3245).at(0).payload;
  EXPECT_EQ(text_at(two, 572 + 16 + 192 + 64, 64), "a1");
  EXPECT_EQ(text_at(two, 2396, 64), "e1s4");
  EXPECT_EQ(call("/6133", R"({"chnid": 1, "type": 1, "regionType": -1, )" + entries + "}"),
            kFailed);
  Bytes negative = sent(3245).at(1).payload;
  EXPECT_EQ(int_at(negative, 572), 1);
  EXPECT_EQ(text_at(negative, 572 + 16 + 64, 64), "");
  EXPECT_EQ(call("/6133", "nope"), kCgiError);
}

TEST_F(Vca, AreaWritersTakeTheirFields) {
  daemon().answer(3249, int_answer(0));
  call("/6141", R"({"chnid": 2, "enable": 1, "time": 30, "size": 4, "sensitivity": 9,
                    "objtype": 1, "region": "R", "copyChn": "0110"})");
  vca_area a = sent_record<vca_area>(3249);
  EXPECT_EQ(a.channel, 2);
  EXPECT_EQ(a.time, 30);
  EXPECT_EQ(a.size, 4);
  EXPECT_EQ(a.sensitivity, 0);  // not a loitering field
  EXPECT_STREQ(a.region, "R");
  EXPECT_STREQ(a.copyChn, "0110");
  daemon().silent(3250);
  EXPECT_EQ(call("/6143", R"({"chnid": 2, "tracks": 6, "region": "R"})"), kCgiError);
  a = sent_record<vca_area>(3250);
  EXPECT_EQ(a.tracks, 6);
  EXPECT_STREQ(a.region, "");
}

TEST_F(Vca, LineWriterConvertsPositions) {
  daemon().answer(3248, int_answer(0));
  call("/6139", R"({"chnid": 1, "enable": 1, "objtype": 2, "width": 1920, "height": 1080,
                    "line": [{"position": "100;50", "direction": 1}]})");
  vca_line l = sent_record<vca_line>(3248);
  EXPECT_EQ(l.lines[0].startX, 417);
  EXPECT_EQ(l.lines[0].startY, 208);
  EXPECT_EQ(l.lines[0].stopX, 1);
  EXPECT_EQ(l.lines[0].direction, 1);
  EXPECT_EQ(l.lines[3].startX, 1);  // a missing line: four zeros, raised
  EXPECT_EQ(l.objtype, 2);

  daemon().answer(1210, int_answer(0));
  call("/6193", R"({"chnid": 1, "lineType": 2, "width": 460, "height": 260, "line": [
      {"enable": 1, "objtype": 3, "position": "10;20;30;40",
       "line": [{}, {"position": "5;6;7;8", "direction": 2}]}]})");
  vca_line2 l2 = sent_record<vca_line2>(1210);
  EXPECT_EQ(l2.lines[0].stopY, 40);
  EXPECT_EQ(l2.lines[0].objtype, 3);
  EXPECT_EQ(l2.lines[0].segments[1].startY, 6);
  EXPECT_EQ(l2.lines[0].segments[1].direction, 2);
  EXPECT_EQ(l2.lines[0].segments[0].startX, 1);
  EXPECT_EQ(l2.lineType, 2);
}

TEST_F(Vca, PeopleCountingPayloadAndStoredEnable) {
  daemon().answer(3254, int_answer(0));
  std::string body = R"({"chnid": 3, "width": 1920, "osdType": 258, "lineNum": 2,
      "lineEnable": [0, 0, 0, 0], "direction": [1, 2, 3, 260], "showCntEnable": [1],
      "alarmThreshold": [[1, 2, 3, 4]], "totalAlarmThreshold": [9, 8],
      "position": ["10;20;30;40", "5"], "effective": )" + schedule_json(8, 12) + "}";
  EXPECT_EQ(call("/6145", body), kTextOk);
  Bytes b = sent(3254).at(0).payload;
  ASSERT_EQ(b.size(), sizeof(vca_people));
  EXPECT_EQ(b[28], 2);         // osdType, one byte
  EXPECT_EQ(b[29], 0);
  EXPECT_EQ(b[64 + 2], 1);     // line 0 direction
  EXPECT_EQ(b[64 + 3 * 56 + 2], 4);
  EXPECT_EQ(b[64 + 3], 1);     // showCntEnable
  EXPECT_EQ(int_at(b, 64 + 4), 10);  // raw positions
  EXPECT_EQ(int_at(b, 64 + 16), 40);
  EXPECT_EQ(int_at(b, 64 + 56 + 4), 5);
  EXPECT_EQ(int_at(b, 64 + 40 + 12), 4);
  EXPECT_EQ(int_at(b, 52), 8);
  for (int d = 0; d < 8; d++) {
    EXPECT_EQ(int_at(b, 356 + d * 3272 + 3264), d < 7 ? 1 : 0) << "row " << d;
  }
  EXPECT_EQ(text_at(b, 356 + 10 * 68, 32), "");  // plans 10 on are not taken
  EXPECT_EQ(stored_event(3, 7).enable, 0);
  call("/6145", R"({"chnid": 3, "lineEnable": [0, 0, 0, 5]})");
  EXPECT_EQ(stored_event(3, 7).enable, 1);
  EXPECT_EQ(call("/6145", R"({"chnid": 64})"), kCgiError);
}

TEST_F(Vca, SettingsWritersConvertOrNot) {
  daemon().answer(3260, int_answer(0));
  EXPECT_EQ(call("/6147", R"({"chnid": 1, "width": 1920, "height": 1080,
      "position": [{"minStartX": 100, "minStartY": 50, "maxWidth": 460, "maxHeight": 260}]})"),
            kTextOk);
  vca_settings s = sent_record<vca_settings>(3260);
  EXPECT_EQ(s.minStartX, 417);
  EXPECT_EQ(s.minStartY, 208);
  EXPECT_EQ(s.minWidth, 1);
  EXPECT_EQ(s.maxWidth, 1920);
  EXPECT_EQ(s.maxHeight, 1080);
  EXPECT_EQ(call("/6147", "x"), "");
  daemon().silent(1212);
  EXPECT_EQ(call("/6195", R"({"chnid": 1, "copyChn": "1", "position": [{}, {"maxWidth": 7}]})"),
            kJsonError);
  vca_class_settings c = sent_record<vca_class_settings>(1212);
  EXPECT_EQ(c.maxWidth[1], 7);
  EXPECT_STREQ(c.copyChn, "1");
  daemon().answer(3261, int_answer(0));
  EXPECT_EQ(call("/6154", R"({"channel": 4, "line": 2, "resetdb": 1})"), kTextOk);
  vca_people_reset r = sent_record<vca_people_reset>(3261);
  EXPECT_EQ(r.line, 2);
  EXPECT_EQ(r.resetdb, 1);
  EXPECT_EQ(call("/6154", R"({"channel": -1})"), kJsonError);
}

// ---- The dialog of a rule ----

std::string dialog(int channel) {
  return R"({"chnid": )" + std::to_string(channel) + R"(, "effective": )" + schedule_json(1, 1) +
         R"(, "audible": )" + schedule_json(2, 1) + R"(, "white": )" + schedule_json(3, 1) +
         R"(, "httpSche": )" + schedule_json(4, 1) +
         R"(, "whiteInfo": [{"chnid": 1, "mode": 1, "time": 5}],
            "httpParams": {"url": "http://h/", "username": "u", "password": "p"},
            "triAlarms": 2, "enable": 1, "http_notification_interval": 9, "triChannels": "0110",
            "ptzChnId": )" + std::to_string(channel) + R"(, "ptzType": 5,
            "ptzParams": [{"acto_ptz_channel": 2, "acto_ptz_type": 1, "acto_ptz_preset": 5}]})";
}

int plans_of(int channel, int type) {
  schedule s = {};
  read_smart_event_audible_schedule(KXDB_FILE, &s, channel, type);
  int days = 0;
  for (const schedule_day &d : s.days) days += d.plans[0].start_time[0] != '\0';
  return days;
}

TEST_F(Vca, DialogCopiesAndNotifiesBeforeTheRule) {
  daemon().answer(3244, int_answer(0));
  EXPECT_EQ(call("/6133", R"({"chnid": 1, "type": 0, "copyChn": "001001", "dialog": )" +
                              dialog(1) + "}"),
            kTextOk);
  settle();
  std::vector<int> order = codes();
  auto notice = std::find(order.begin(), order.end(), 1412);
  auto rule = std::find(order.begin(), order.end(), 3244);
  ASSERT_NE(notice, order.end());
  EXPECT_LT(notice - order.begin(), rule - order.begin());
  channel_mask_notice mask = sent_record<channel_mask_notice>(1412);
  EXPECT_EQ(mask.low, (1u << 1) | (1u << 2) | (1u << 5));
  EXPECT_EQ(mask.high, 0u);
  for (int ch : {1, 2, 5}) {
    smart_event e = stored_event(ch, 0);
    EXPECT_EQ(e.channel, ch);
    EXPECT_EQ(e.triAlarms, 2) << ch;
    EXPECT_EQ(e.enable, 0) << "the dialog has no switch";
    EXPECT_EQ(e.http_notification_interval, 9);
    EXPECT_EQ(e.trigger_mask, 6u);
    EXPECT_EQ(plans_of(ch, 0), 2) << ch;
    ptz_action_params list[PTZ_ACTION_MAX] = {};
    int count = 0;
    read_ptz_params(KXDB_FILE, list, 5, ch, &count);
    EXPECT_EQ(list[0].acto_ptz_preset, 5) << ch;
    char table[64];
    get_vca_white_table_name(1, 0, table, sizeof table);
    whiteled_params white[WHITELED_PER_CHANNEL] = {};
    read_whiteled_params(KXDB_FILE, white, ch, table, &count);
    EXPECT_EQ(white[0].time, 5) << ch;
  }
  EXPECT_EQ(stored_event(3, 0).triAlarms, 0);
  EXPECT_EQ(stored_event(1, 1).triAlarms, 0);  // other types untouched
}

TEST_F(Vca, FailedDialogStoreEndsBeforeTheCamera) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6139", R"({"chnid": 1, "copyChn": "01", "dialog": )" + dialog(1) + "}"),
            kCgiError);
  EXPECT_EQ(call("/6171", R"({"chnid": 1, "dialog": )" + dialog(1) + "}"), kJsonError);
  EXPECT_EQ(call("/6145", R"({"chnid": 1})"), kCgiError);
  settle();
  EXPECT_EQ(codes(), std::vector<int>{});
}

TEST_F(Vca, DialogTypes) {
  daemon().answer(3269, int_answer(0));
  daemon().answer(1210, int_answer(0));
  call("/6171", R"({"chnid": 2, "dialog": {"chnid": 2, "triAlarms": 8}})");
  call("/6193", R"({"chnid": 2, "dialog": {"chnid": 2, "triAlarms": 4}})");
  daemon().answer(3246, int_answer(0));
  call("/6135", R"({"chnid": 2, "type": 9, "dialog": {"chnid": 2, "triAlarms": 9}})");
  EXPECT_EQ(stored_event(2, 8).triAlarms, 8);
  EXPECT_EQ(stored_event(2, 4).triAlarms, 4);
  for (int t = 0; t < SMART_EVENT_TYPES; t++) {
    if (t == 4 || t == 8) continue;
    EXPECT_EQ(stored_event(2, t).triAlarms, 0) << t;
  }
}

TEST_F(Vca, TableNamesAreOwnPerType) {
  std::set<std::string> names;
  char buffer[64];
  for (int t = 0; t < SMART_EVENT_TYPES; t++) {
    for (int kind = 0; kind < 2; kind++) {
      EXPECT_EQ(get_vca_white_table_name(kind, t, buffer, sizeof buffer), 0);
      EXPECT_LE(strlen(buffer), 63u);
      names.insert(buffer);
      EXPECT_EQ(get_vca_http_table_name(kind, t, buffer, sizeof buffer), 0);
      names.insert(buffer);
    }
  }
  EXPECT_EQ(names.size(), 36u);
  EXPECT_EQ(get_vca_white_table_name(2, 0, buffer, sizeof buffer), -1);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(get_vca_http_table_name(0, 9, buffer, sizeof buffer), -1);
}

// ---- Action pages ----

TEST_F(Vca, ActionsRoundTrip) {
  EXPECT_EQ(call("/6149", R"({"chnid": 4, "event": 7, "enable": 1, "triAlarms": 3,
      "triChannels": "101", "tri_channels_pic": "11", "audioId": 2, "triChnAlarms": ["10", "01"],
      "http_notification_interval": 5, "effective": )" + schedule_json(2, 1) + "}"),
            kTextOk);
  settle();
  channel_mask_notice mask = sent_record<channel_mask_notice>(1412);
  EXPECT_EQ(mask.low, 1u << 4);
  smart_event e = stored_event(4, 7);
  EXPECT_EQ(e.http_notification_interval, 0) << "not taken by this page";
  EXPECT_EQ(e.trigger_mask, 5u);

  JsonPtr reply = parse_body(call("/6148", R"({"chnid": 4, "event": 7})"));
  json_object *action = array_at(json_member(reply.get(), "action"), 0);
  EXPECT_EQ(member_names(action),
            (std::vector<std::string>{
                "chnid", "event", "enable", "triAlarms", "interval", "email_interval",
                "email_pic_enable", "tri_channels_pic", "ptz_interval", "alarmout_interval",
                "triChannels", "effective", "audible", "email", "ptz", "triChnAlarms", "white",
                "whiteInfo", "white_interval", "audioId", "audioIdMask", "ptzParams"}));
  EXPECT_EQ(int_member(action, "enable"), 1);
  EXPECT_EQ(text_member(action, "triChannels"), "101");
  EXPECT_EQ(plan_at(json_member(action, "effective"), 1, 0), "01:00-00:59/1");
  EXPECT_STREQ(json_object_get_string(array_at(json_member(action, "triChnAlarms"), 1)), "01");

  reply = parse_body(call("/6151", R"({"channel": 4, "type": 7})"));
  EXPECT_EQ(member_names(reply.get()),
            (std::vector<std::string>{"chnid", "enable", "triAlarms", "interval",
                                      "email_interval", "email_pic_enable", "tri_channels_pic",
                                      "triChannels"}));
  EXPECT_EQ(int_member(reply.get(), "triAlarms"), 3);
  EXPECT_EQ(text_member(reply.get(), "tri_channels_pic"), "11");
}

TEST_F(Vca, ActionRangeReplies) {
  EXPECT_EQ(call("/6149", R"({"chnid": 1, "event": 9})"), kCgiError);
  EXPECT_EQ(call("/6149", R"({"chnid": 64, "event": 0})"), kCgiError);
  EXPECT_EQ(call("/6149", "x"), "");
  EXPECT_EQ(call("/6148", R"({"chnid": 1, "event": 9})"), kJsonError);
  EXPECT_EQ(call("/6148", R"({"chnid": 64, "event": 0})"), kJsonError);
  EXPECT_EQ(call("/6151", R"({"channel": 1, "type": 9})"), kCgiError);
  EXPECT_EQ(call("/6151", R"({"channel": 64, "type": 0})"), kCgiError);
  EXPECT_EQ(call("/6150", R"({"channel": 64, "type": 0, "event": 0})"), kTextHeader + "ERROT");
  EXPECT_EQ(call("/6150", R"({"channel": 1, "type": 0, "event": 9})"), kTextHeader + "ERROT");
  settle();
  EXPECT_TRUE(sent(1412).empty());
}

TEST_F(Vca, QuickOutputChanges) {
  EXPECT_EQ(call("/6150", R"({"channel": 6, "type": 0, "event": 2, "triAlarms": 5})"), kTextOk);
  EXPECT_EQ(call("/6150", R"({"channel": 6, "type": 1, "event": 2, "triChannels": "011"})"),
            kTextOk);
  EXPECT_EQ(call("/6150", R"({"channel": 6, "type": 3, "event": 2, "triAlarms": 9})"), kTextOk);
  smart_event e = stored_event(6, 2);
  EXPECT_EQ(e.triAlarms, 5);
  EXPECT_STREQ(e.triChannels, "011");
  EXPECT_EQ(e.trigger_mask, 6u);
  settle();
  EXPECT_EQ(sent(1412).size(), 3u);
  EXPECT_EQ(int_at(sent(1412).at(0).payload, 0), 1 << 6);
}

TEST_F(Vca, FailedActionStoresAreNotOk) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6149", R"({"chnid": 1, "event": 0, "triAlarms": 3})"), kCgiError);
  EXPECT_EQ(call("/6150", R"({"channel": 1, "type": 0, "event": 0})"), kTextHeader + "ERROT");
  settle();
  EXPECT_TRUE(sent(1412).empty());
}

TEST_F(Vca, CopyFailsOnBadKeys) {
  EXPECT_EQ(copy_smart_event_action(9, 0, 1, 0), -1);
  EXPECT_EQ(copy_smart_event_action(0, 64, 1, 0), -1);
  EXPECT_EQ(copy_smart_event_action(8, 20, 1ULL << 63, 0), 0);
  EXPECT_EQ(stored_event(63, 8).channel, 63);
}

}  // namespace
