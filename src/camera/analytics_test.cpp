#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "analytics_records.h"
#include "camera_test_util.h"
#include "handler_fixture.h"
#include "json_checks.h"
#include "json_codecs.h"
#include "kxdb.h"
#include "kxdb_face.h"
#include "kxdb_motion.h"
#include "kxdb_peoplecnt.h"
#include "kxdb_pos.h"
#include "linkage.h"
#include "web_utils.h"

using namespace camera_test;

namespace {

using PeopleCount = HandlerTest;
using Pos = HandlerTest;
using Reports = HandlerTest;
using FaceConfig = HandlerTest;
using AnalyticsFailures = HandlerTest;

const std::string kResZero = kJsonHeader + R"({ "res": 0 })";

// A schedule JSON member: day 0, plan 0 from `start` to `end` with `action`;
// every other plan empty.
std::string schedule_json(const std::string &start, const std::string &end, int action) {
  std::string days = "[";
  for (int d = 0; d < 8; d++) {
    days += d ? ",[" : "[";
    for (int p = 0; p < 12; p++) {
      if (p) days += ",";
      days += d == 0 && p == 0
                  ? "[\"" + start + "\",\"" + end + "\"," + std::to_string(action) + "]"
                  : std::string("[\"\",\"\",0]");
    }
    days += "]";
  }
  return days + "]";
}

json_object *first_plan(json_object *week) {
  return json_object_array_get_idx(json_object_array_get_idx(week, 0), 0);
}

TEST_F(PeopleCount, ThreeEntriesChangeGroupsZeroToTwoAndKeepTheStoredIds) {
  peoplecnt_settings stored[PEOPLECNT_GROUPS] = {};
  for (int g = 0; g < PEOPLECNT_GROUPS; g++) {
    stored[g].groupid = g;
    stored[g].stays = 10 + g;
    snprintf(stored[g].name, sizeof stored[g].name, "Group %d", g);
  }
  ASSERT_EQ(write_peoplecnt_settings(KXDB_FILE, stored, PEOPLECNT_GROUPS), 0);
  daemon().answer(2290, int_answer(0));

  std::string reply = call("/2067", R"({"groups": [
      {"groupid": 7, "enable": 1, "name": ")" + std::string(80, 'n') + R"(", "stays": 3},
      {"groupid": 5, "tri_channels": "1100", "liveview_red_tips": "Full"},
      {"enable": 1}]})");
  EXPECT_EQ(reply, kResZero);
  auto sent = daemon().requests(2290);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].payload, int_answer(0));

  peoplecnt_settings now[PEOPLECNT_GROUPS];
  int count = 0;
  ASSERT_EQ(read_peoplecnt_settings(KXDB_FILE, now, &count), 0);
  ASSERT_EQ(count, PEOPLECNT_GROUPS);
  for (int g = 0; g < PEOPLECNT_GROUPS; g++) EXPECT_EQ(now[g].groupid, g);
  EXPECT_EQ(std::string(now[0].name), std::string(63, 'n'));
  EXPECT_EQ(now[0].stays, 3);
  EXPECT_EQ(now[1].enable, 0);  // missing keys read as 0 or empty
  EXPECT_EQ(std::string(now[1].name), "");
  EXPECT_EQ(std::string(now[1].tri_channels), "1100");
  EXPECT_EQ(std::string(now[1].liveview_red_tips), "Full");
  EXPECT_EQ(now[2].enable, 1);
  for (int g = 3; g < PEOPLECNT_GROUPS; g++) {
    EXPECT_EQ(memcmp(&now[g], &stored[g], sizeof now[g]), 0) << "group " << g;
  }

  JsonPtr groups = parse_body(call("/2066", R"({"action": 0})"));
  json_object *list = json_member(groups.get(), "groups");
  ASSERT_EQ(array_length(list), PEOPLECNT_GROUPS);
  json_object *g1 = array_at(list, 1);
  EXPECT_EQ(member_names(g1),
            (std::vector<std::string>{"groupid", "enable", "stays", "liveview_auto_reset",
                                      "auto_day", "liveview_font_size", "name", "auto_day_time",
                                      "tri_channels", "liveview_green_tips",
                                      "liveview_red_tips"}));
  EXPECT_EQ(text_member(g1, "tri_channels"), "1100");
  EXPECT_EQ(text_member(array_at(list, 4), "name"), "Group 4");
  EXPECT_FALSE(json_member(g1, "dialog"));
}

const std::vector<std::string> kGroupActionKeys = {
    "chnid",        "triAlarms",     "interval",          "email_interval",
    "email_pic_enable", "tri_channels_pic", "ptz_interval", "alarmout_interval",
    "white_interval", "effective",   "audible",           "email",
    "ptz",          "triChnAlarms",  "white",             "whiteInfo",
    "audioId",      "audioIdMask"};

TEST_F(PeopleCount, TheLinkageWrittenReadsBackWithEffectiveAsAudible) {
  daemon().answer(2293, int_answer(0));
  std::string request = R"({"groupid": 4, "audible": )" + schedule_json("08:00", "12:00", 1) +
                        R"(, "effective": )" + schedule_json("01:00", "02:00", 3) +
                        R"(, "email": )" + schedule_json("13:00", "14:00", 2) +
                        R"(, "triChannels": "1010)" + std::string(36, '1') +
                        R"(", "triAlarms": 3, "interval": 30, "audioId": 2,
                           "triChnAlarms": ["0110", "1"],
                           "whiteInfo": [[2, 1, 10]],
                           "ptzParams": [{"acto_ptz_channel": 3, "acto_ptz_type": 1,
                                          "acto_ptz_preset": 7}]})";
  EXPECT_EQ(call("/2070", request), kResZero);
  auto sent = daemon().requests(2293);
  ASSERT_EQ(sent.size(), 1u);
  ASSERT_EQ(sent[0].payload.size(), 8u);
  EXPECT_EQ(word_at(sent[0].payload, 0), 4);
  EXPECT_EQ(word_at(sent[0].payload, 4), -1);

  linkage_event e = {};
  ASSERT_EQ(read_peoplecnt_event(KXDB_FILE, &e, 4), 0);
  EXPECT_EQ(e.trigger_mask, 0xFFFFFFF5u);  // "1010" then ones up to character 31
  EXPECT_EQ(strlen(e.triChannels), 40u);
  EXPECT_EQ(e.interval_flag, 2);

  JsonPtr body = parse_body(call("/2069", R"({"groupid": 4})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), kGroupActionKeys);
  EXPECT_EQ(int_member(body.get(), "chnid"), 4);
  EXPECT_EQ(int_member(body.get(), "triAlarms"), 3);
  EXPECT_EQ(int_member(body.get(), "interval"), 30);
  EXPECT_EQ(int_member(body.get(), "audioId"), 2);
  EXPECT_EQ(int_member(body.get(), "audioIdMask"), get_audio_file_id_mask());
  json_object *effective = json_member(body.get(), "effective");
  EXPECT_STREQ(json_object_to_json_string(effective),
               json_object_to_json_string(json_member(body.get(), "audible")));
  EXPECT_EQ(text_member(first_plan(effective), "startTime"), "08:00");  // not 01:00
  EXPECT_EQ(int_member(first_plan(effective), "actionType"), 1);
  EXPECT_EQ(text_member(first_plan(json_member(body.get(), "email")), "endTime"), "14:00");
  json_object *outputs = json_member(body.get(), "triChnAlarms");
  EXPECT_STREQ(json_object_get_string(array_at(outputs, 0)), "0110");
  json_object *white = array_at(json_member(body.get(), "whiteInfo"), 0);
  EXPECT_EQ(int_member(white, "chnid"), 2);
  EXPECT_EQ(int_member(white, "time"), 10);

  // The dialog of the settings page adds the PTZ list (feature code 20).
  JsonPtr groups = parse_body(call("/2066", R"({"action": 1})"));
  json_object *dialog = json_member(array_at(json_member(groups.get(), "groups"), 4), "dialog");
  std::vector<std::string> keys = kGroupActionKeys;
  keys.push_back("ptzParams");
  EXPECT_EQ(member_names(dialog), keys);
  json_object *ptz = array_at(json_member(dialog, "ptzParams"), 0);
  EXPECT_EQ(int_member(ptz, "acto_ptz_channel"), 3);
  EXPECT_EQ(int_member(ptz, "acto_ptz_preset"), 7);
  ptz_action_params list[PEOPLECNT_PTZ_ACTION_MAX] = {};
  int count = 0;
  ASSERT_EQ(read_peoplecnt_ptz_params(KXDB_FILE, list, 4, &count), 0);
  EXPECT_EQ(list[0].chn_id, 4);
  EXPECT_EQ(list[0].acto_ptz_channel, 3);
}

TEST_F(PeopleCount, ResetsSendTheGroupAndAnswerTheResultWord) {
  daemon().answer(2291, int_answer(0));
  daemon().answer(2292, int_answer(-2));
  EXPECT_EQ(call("/2071", R"({"groupid": 8})"), kResZero);
  EXPECT_EQ(call("/2072", R"({"groupid": 0})"), kJsonHeader + R"({ "res": -2 })");
  ASSERT_EQ(daemon().requests(2291).size(), 1u);
  EXPECT_EQ(daemon().requests(2291)[0].payload, int_answer(8));
  EXPECT_EQ(daemon().requests(2292)[0].payload, int_answer(0));
}

const std::vector<std::string> kPosActionKeys = {
    "effective", "audible",  "interval",       "audioId",       "email",
    "email_interval", "email_pic_enable", "tri_channels_pic", "ptz", "ptz_interval",
    "ptzParams", "white",    "whiteInfo",      "white_interval", "httpSche",
    "httpParams", "http_notification_interval", "alarmout_interval", "triAlarms",
    "triChannels", "triChnAlarms"};

TEST_F(Pos, TheSettingAndItsActionReadBack) {
  daemon().answer(1421, int_answer(0));
  std::string request = R"({"id": 3, "enable": 1, "name": ")" + std::string(40, 'p') +
                        R"(", "protocol": 2, "ip": "192.168.1.50", "port": 9100,
      "characterEncodeing": 1, "privacy1": "card", "nvrPort": 6000,
      "action": {"effective": )" + schedule_json("00:00", "23:59", 1) +
                        R"(, "httpSche": )" + schedule_json("09:00", "17:00", 6) +
                        R"(, "httpParams": {"url": "http://h/%41", "username": "u"},
        "whiteInfo": [{"chnid": 1, "mode": 2, "time": 30}],
        "ptzParams": [{"acto_ptz_channel": 2, "acto_ptz_type": 2, "acto_ptz_patrol": 1}],
        "email_interval": 60, "triChannels": "01"}})";
  EXPECT_EQ(call("/2074", request), kResZero);
  EXPECT_EQ(daemon().requests(1421)[0].payload, int_answer(3));

  schedule by_kind = {}, by_name = {};
  ASSERT_EQ(read_pos_schedule(KXDB_FILE, POS_SCHEDULE_HTTP, &by_kind, 3), 0);
  ASSERT_EQ(read_http_notification_schedule(KXDB_FILE, &by_name, POS_HTTP_SCHEDULE, 3), 0);
  EXPECT_EQ(std::string(by_kind.days[0].plans[0].start_time), "09:00");
  EXPECT_EQ(memcmp(&by_kind, &by_name, sizeof by_kind), 0);

  JsonPtr body = parse_body(call("/2073", R"({"id": 3})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"pos", "action"}));
  json_object *list = json_member(body.get(), "pos");
  ASSERT_EQ(array_length(list), POS_CONNECTIONS);
  json_object *pos = array_at(list, 3);
  EXPECT_EQ(member_names(pos),
            (std::vector<std::string>{
                "id", "enable", "name", "protocol", "connectionMode", "ip", "liveviewDisplay",
                "displayChannel", "startX", "startY", "areaWidth", "areaHeight",
                "characterEncodeing", "fontSize", "fontColor", "overlayMode", "displayTime",
                "timeout", "privacy1", "privacy2", "privacy3", "port", "clearTime",
                "nvrPort"}));
  EXPECT_EQ(int_member(pos, "id"), 3);
  EXPECT_EQ(text_member(pos, "name"), std::string(32, 'p'));
  EXPECT_EQ(text_member(pos, "ip"), "192.168.1.50");
  EXPECT_EQ(int_member(pos, "port"), 9100);
  EXPECT_EQ(int_member(pos, "characterEncodeing"), 1);
  EXPECT_EQ(int_member(pos, "fontSize"), 0);
  EXPECT_EQ(int_member(array_at(list, 5), "id"), 5);

  json_object *action = json_member(body.get(), "action");
  EXPECT_EQ(member_names(action), kPosActionKeys);
  EXPECT_EQ(text_member(first_plan(json_member(action, "effective")), "endTime"), "23:59");
  EXPECT_EQ(text_member(first_plan(json_member(action, "httpSche")), "startTime"), "09:00");
  EXPECT_EQ(text_member(json_member(action, "httpParams"), "url"), "http://h/%41");
  EXPECT_EQ(int_member(array_at(json_member(action, "whiteInfo"), 0), "time"), 30);
  json_object *ptz = array_at(json_member(action, "ptzParams"), 0);
  EXPECT_EQ(int_member(ptz, "acto_ptz_channel"), 2);
  EXPECT_EQ(int_member(ptz, "acto_ptz_patrol"), 1);
  EXPECT_EQ(int_member(action, "email_interval"), 60);
  EXPECT_EQ(text_member(action, "triChannels"), "01");

  ptz_action_params stored[PTZ_ACTION_MAX] = {};
  int count = 0;
  ASSERT_EQ(read_ptz_params(KXDB_FILE, stored, 21, 3, &count), 0);
  EXPECT_EQ(stored[0].acto_ptz_type, 2);
}

TEST_F(Pos, WithoutActionTheLinkageStaysAndTheSettingIsStored) {
  linkage_event e = {};
  e.id = 1;
  e.triAlarms = 5;
  ASSERT_EQ(write_pos_event(KXDB_FILE, &e), 0);
  daemon().answer(1421, int_answer(0));
  EXPECT_EQ(call("/2074", R"({"id": 1, "enable": 1, "name": "Till 2"})"), kResZero);
  pos_setting s = {};
  ASSERT_EQ(read_pos_setting(KXDB_FILE, &s, 1), 0);
  EXPECT_EQ(std::string(s.name), "Till 2");
  linkage_event now = {};
  ASSERT_EQ(read_pos_event(KXDB_FILE, &now, 1), 0);
  EXPECT_EQ(memcmp(&now, &e, sizeof e), 0);
}

TEST_F(Reports, EntriesSetTheirRecordsWithinTheirBounds) {
  peoplecnt_report stored[PEOPLECNT_REPORTS] = {};
  for (int i = 0; i < PEOPLECNT_REPORTS; i++) {
    stored[i].reportType = i;
    stored[i].backupDay = 7;
  }
  ASSERT_EQ(write_report_auto_backup(KXDB_FILE, stored, PEOPLECNT_REPORTS), 0);
  daemon().answer(1423, int_answer(5));  // the daemon's word is not shown
  std::string reply = call("/2076", R"({"report": [
      {"reportType": 0, "enable": 1, "triGroups": ")" + std::string(30, '1') +
                          R"(", "backupTime": ")" + std::string(40, '9') +
                          R"(", "triChannels": ")" + std::string(70, '0') + R"("},
      {"reportType": 1, "lineMask": 3}]})");
  EXPECT_EQ(reply, kResZero);
  auto sent = daemon().requests(1423);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_TRUE(sent[0].payload.empty());

  JsonPtr body = parse_body(call("/2075"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"report", "email"}));
  EXPECT_EQ(int_member(body.get(), "email"), 1);
  json_object *list = json_member(body.get(), "report");
  ASSERT_EQ(array_length(list), PEOPLECNT_REPORTS);
  json_object *r0 = array_at(list, 0);
  EXPECT_EQ(member_names(r0),
            (std::vector<std::string>{"reportType", "enable", "triChannels", "triGroups",
                                      "stayLengthType", "stayLengthValue", "backupDay",
                                      "backupTime", "fileFormat", "timeRange", "backupTo",
                                      "lineMask"}));
  EXPECT_EQ(text_member(r0, "triGroups"), std::string(16, '1'));
  EXPECT_EQ(text_member(r0, "backupTime"), std::string(31, '9'));
  EXPECT_EQ(text_member(r0, "triChannels"), std::string(64, '0'));
  EXPECT_EQ(int_member(r0, "backupDay"), 0);  // set from the entry: missing reads as 0
  EXPECT_EQ(int_member(array_at(list, 1), "lineMask"), 3);
  EXPECT_EQ(int_member(array_at(list, 2), "reportType"), 2);  // no entry: as stored
  EXPECT_EQ(int_member(array_at(list, 3), "backupDay"), 7);
}

TEST_F(FaceConfig, ThePayloadCarriesEachKeyAtItsOffset) {
  daemon().answer(3381, int_answer(0));
  std::string reply = call("/2077", R"({"chnId": 5, "enable": 1, "width": 640, "height": 480,
      "minPixel": 40, "captureMode": 2, "blurLimit": 9, "detection_polygonX": "1,2,3",
      "detection_polygonY": ")" + std::string(90, 'y') + R"(", "httpUrl": "http://face/up",
      "httpPassword": "pw", "recordSeconds": 15, "postType": 4, "mutuallyExclusive": 1,
      "mosaicModeStatus": 2,
      "captureModeArray": [{"captureQuality": 80, "snapshot": 1},
                           {"captureQuality": 60, "snapshot": 0},
                           {"captureQuality": 40, "snapshot": 1},
                           {"captureQuality": 99, "snapshot": 9}],
      "shield": [{"enable": 1, "polygonX": "10,20", "polygonY": "30,40"},
                 {"enable": 0, "polygonX": "5"}]})");
  EXPECT_EQ(reply, kJsonHeader + R"({ "status": 0 })");
  EXPECT_EQ(daemon().codes(), (std::vector<int>{3381}));  // no action: nothing else
  auto sent = daemon().requests(3381);
  ASSERT_EQ(sent.size(), 1u);
  const Bytes &p = sent[0].payload;
  ASSERT_EQ(p.size(), 1620u);
  EXPECT_EQ(word_at(p, 0), 0);
  EXPECT_EQ(word_at(p, 4), 5);
  EXPECT_TRUE(zero_between(p, 8, 140));
  EXPECT_EQ(word_at(p, 140), 1);
  EXPECT_EQ(word_at(p, 144), 640);
  EXPECT_EQ(word_at(p, 152), 40);
  EXPECT_EQ(word_at(p, 156), 2);
  EXPECT_EQ(word_at(p, 160), 80);
  EXPECT_EQ(word_at(p, 164), 60);
  EXPECT_EQ(word_at(p, 168), 40);
  EXPECT_EQ(word_at(p, 172), 0);  // the fourth entry goes nowhere
  EXPECT_EQ(word_at(p, 196), 9);
  EXPECT_EQ(text_at(p, 280, 64), "1,2,3");
  EXPECT_EQ(text_at(p, 344, 64), std::string(63, 'y'));
  EXPECT_EQ(text_at(p, 440, 128), "http://face/up");
  EXPECT_EQ(text_at(p, 632, 64), "pw");
  EXPECT_EQ(word_at(p, 696), 1);
  EXPECT_EQ(word_at(p, 700), 0);
  EXPECT_EQ(word_at(p, 704), 1);
  EXPECT_EQ(word_at(p, 708), 15);
  EXPECT_EQ(word_at(p, 720), 4);
  EXPECT_EQ(word_at(p, 804), 1);
  EXPECT_EQ(text_at(p, 872, 64), "10,20");
  EXPECT_EQ(text_at(p, 936, 64), "30,40");
  EXPECT_EQ(text_at(p, 872 + 196, 64), "5");
  EXPECT_TRUE(zero_between(p, 804 + 2 * 196, 1588));  // shields 2 and 3 absent
  EXPECT_EQ(word_at(p, 1600), 2);
  EXPECT_EQ(word_at(p, 1604), 1);
  EXPECT_TRUE(zero_between(p, 1608, 1620));
}

TEST_F(FaceConfig, AnActionIsStoredAndAnnouncedBeforeTheConfiguration) {
  daemon().answer(3381, int_answer(-1));
  std::string request = R"({"chnId": 15, "action": {"white": )" +
                        schedule_json("18:00", "23:00", 4) +
                        R"(, "audioId": 3, "ptzParams": [{"acto_ptz_channel": 1}]}})";
  EXPECT_EQ(call("/2077", request), kJsonHeader + R"({ "status": -1 })");
  settle();
  EXPECT_EQ(codes(), (std::vector<int>{3383, 3381}));
  EXPECT_EQ(daemon().requests(3383)[0].payload, int_answer(15));
  schedule white = {};
  ASSERT_EQ(read_face_white_schedule(KXDB_FILE, &white, 15), 0);
  EXPECT_EQ(white.days[0].plans[0].action_type, 4);
  linkage_event e = {};
  ASSERT_EQ(read_face_event(KXDB_FILE, &e, 15), 0);
  EXPECT_EQ(e.audioId, 3);
  ptz_action_params list[PTZ_ACTION_MAX] = {};
  int count = 0;
  ASSERT_EQ(read_ptz_params(KXDB_FILE, list, 26, 15, &count), 0);
  EXPECT_EQ(list[0].acto_ptz_channel, 1);
}

TEST_F(AnalyticsFailures, OutOfRangeIdsAnswerTheJsonErrorAndSendNothing) {
  const char *cases[][2] = {
      {"/2069", R"({"groupid": 9})"}, {"/2069", "{}"},
      {"/2070", R"({"groupid": -1, "audioId": 1})"}, {"/2071", R"({"groupid": 9})"},
      {"/2072", R"({"groupid": 100})"}, {"/2073", R"({"id": 8})"},
      {"/2074", R"({"id": 8, "enable": 1})"}, {"/2077", R"({"chnId": 16})"},
      {"/2066", "not json"}, {"/2067", "[1,"}, {"/2076", ""},
  };
  for (const auto &c : cases) EXPECT_EQ(call(c[0], c[1]), kJsonError) << c[0] << " " << c[1];
  settle();
  EXPECT_TRUE(codes().empty());
  linkage_event e = {};
  ASSERT_EQ(read_peoplecnt_event(KXDB_FILE, &e, 0), 0);
  EXPECT_EQ(e.audioId, 0);
}

TEST_F(AnalyticsFailures, AShortOrMissingAnswerGivesOneErrorReply) {
  daemon().answer(2291, Bytes{1, 0});
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(call("/2071", R"({"groupid": 1})"), kJsonError);
  // Ended by the decoder, not by the budget of 1000 polls of 100 µs.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90));
  daemon().answer(1421, Bytes{7});
  EXPECT_EQ(call("/2074", R"({"id": 0})"), kJsonError);
  daemon().silent(2290);
  EXPECT_EQ(call("/2067", R"({"groups": []})"), kJsonError);
  daemon().silent(3381);
  EXPECT_EQ(call("/2077", R"({"chnId": 0})"), kJsonError);
}

TEST_F(AnalyticsFailures, AFailedWriteAnswersTheJsonErrorAndSendsNothing) {
  BrokenSettings broken;
  EXPECT_EQ(call("/2067", R"({"groups": [{"enable": 1}]})"), kJsonError);
  EXPECT_EQ(call("/2070", R"({"groupid": 0, "audioId": 1})"), kJsonError);
  EXPECT_EQ(call("/2070", R"({"groupid": 0, "email": )" + schedule_json("1", "2", 1) + "}"),
            kJsonError);
  EXPECT_EQ(call("/2074", R"({"id": 0})"), kJsonError);
  EXPECT_EQ(call("/2076", R"({"report": []})"), kJsonError);
  EXPECT_EQ(call("/2077", R"({"chnId": 0, "action": {"httpParams": {"url": "u"}}})"),
            kJsonError);
  settle();
  EXPECT_TRUE(codes().empty());
}

TEST_F(AnalyticsFailures, AccessorsRefuseKeysOutsideTheirRange) {
  linkage_event e = {};
  schedule s = {};
  EXPECT_EQ(read_peoplecnt_event(KXDB_FILE, &e, PEOPLECNT_GROUPS), -1);
  e.id = POS_CONNECTIONS;
  EXPECT_EQ(write_pos_event(KXDB_FILE, &e), -1);
  e.id = -1;
  EXPECT_EQ(write_face_event(KXDB_FILE, &e), -1);
  EXPECT_EQ(write_face_white_schedule(KXDB_FILE, &s, FACE_CHANNELS), -1);
  EXPECT_EQ(write_pos_schedule(KXDB_FILE, 5, &s, 0), -1);  // no such kind
  EXPECT_EQ(read_pos_schedule(KXDB_FILE, POS_SCHEDULE_WHITE, &s, 8), -1);
  peoplecnt_report reports[PEOPLECNT_REPORTS] = {};
  EXPECT_EQ(write_report_auto_backup(KXDB_FILE, reports, 3), -1);
  peoplecnt_settings groups[2] = {};
  groups[1].groupid = PEOPLECNT_GROUPS;
  EXPECT_EQ(write_peoplecnt_settings(KXDB_FILE, groups, 2), -1);
  int count = 0;
  peoplecnt_settings all[PEOPLECNT_GROUPS];
  ASSERT_EQ(read_peoplecnt_settings(KXDB_FILE, all, &count), 0);
  EXPECT_EQ(all[0].groupid, 0);  // the refused write kept nothing
  EXPECT_EQ(linkage_trigger_mask("1010", 65), 5u);
}

}  // namespace
