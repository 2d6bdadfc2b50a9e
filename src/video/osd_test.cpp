// The recorder's OSD of a channel and the cameras' OSD texts.
#include <cmath>

#include "osd.h"
#include "video_test_util.h"

namespace {

using Osd = VideoTest;

const std::vector<std::string> kOsdKeys = {
    "camId",     "camName",  "showName", "showDate", "showWeek", "dateFormat",
    "timeFormat", "datePosX", "datePosY", "namePosX", "namePosY", "alpha"};

// A valid "/6001" body, with `key` replaced by `value` ("" drops the key).
std::string osd_body(const std::string &key = "", const std::string &value = "") {
  std::vector<std::pair<std::string, std::string>> members = {
      {"camId", "3"},        {"camName", "\"Gate\""}, {"showName", "1"},     {"showDate", "1"},
      {"showWeek", "0"},     {"dateFormat", "3"},     {"timeFormat", "1"},   {"datePosX", "0.25"},
      {"datePosY", "0.1"},   {"namePosX", "0"},       {"namePosY", "0.875"}, {"alpha", "7"}};
  std::string body = "{";
  for (auto &[k, v] : members) {
    if (k == key && value.empty()) continue;
    body += (body.size() > 1 ? ", \"" : "\"") + k + "\": " + (k == key ? value : v);
  }
  return body + "}";
}

osd_params stored_osd(int channel) {
  osd_params osd = {};
  EXPECT_EQ(read_osd(KXDB_FILE, &osd, channel), 0);
  return osd;
}

osd_params sample_osd(int channel, const char *name) {
  osd_params osd = {};
  osd.camId = channel;
  snprintf(osd.camName, sizeof osd.camName, "%s", name);
  osd.showName = 1;
  osd.dateFormat = 2;
  osd.datePosX = 0.5;
  osd.namePosY = 0.75;
  osd.alpha = 9;
  return osd;
}

bool same_osd(const osd_params &a, const osd_params &b) {
  return memcmp(&a, &b, sizeof a) == 0;
}

TEST_F(Osd, ReadTakesTheChannelAsTextAndGivesTheTwelveKeysInOrder) {
  for (const char *bad : {"64", "-1", "99999999999999999999"}) {
    EXPECT_EQ(call("/6000", bad), "") << bad;
  }
  osd_params gate = sample_osd(3, "Gate");
  ASSERT_EQ(write_osd(KXDB_FILE, &gate), 0);
  std::string reply = call("/6000", "3");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), kOsdKeys);
  EXPECT_EQ(int_member(body.get(), "camId"), 3);
  EXPECT_EQ(text_member(body.get(), "camName"), "Gate");
  EXPECT_EQ(int_member(body.get(), "dateFormat"), 2);
  EXPECT_EQ(int_member(body.get(), "alpha"), 9);
  // Positions are numbers with fractions, also a whole 0.
  EXPECT_NE(reply.find("\"datePosX\": 0.5,"), std::string::npos) << reply;
  EXPECT_NE(reply.find("\"datePosY\": 0.0,"), std::string::npos) << reply;

  // What is no number reads channel 0, never written: its factory default.
  body = parse_body(call("/6000", "abc"));
  ASSERT_TRUE(body);
  EXPECT_EQ(int_member(body.get(), "camId"), 0);
  EXPECT_EQ(text_member(body.get(), "camName"), "");
}

TEST_F(Osd, ReadShowsAStoredNameWithinItsFieldAndNoNumberAsZero) {
  osd_params odd = sample_osd(5, "");
  memset(odd.camName, 'n', sizeof odd.camName);  // no terminator
  odd.datePosX = NAN;
  odd.namePosX = INFINITY;
  ASSERT_EQ(write_osd(KXDB_FILE, &odd), 0);
  JsonPtr body = parse_body(call("/6000", "5"));
  ASSERT_TRUE(body);
  EXPECT_EQ(text_member(body.get(), "camName"), std::string(64, 'n'));
  EXPECT_EQ(json_object_get_double(json_member(body.get(), "datePosX")), 0.0);
  EXPECT_EQ(json_object_get_double(json_member(body.get(), "namePosX")), 0.0);
}

TEST_F(Osd, StoreChecksEachKeyAndWritesNothingWhenOneFails) {
  osd_params before = sample_osd(3, "Before");
  ASSERT_EQ(write_osd(KXDB_FILE, &before), 0);
  std::vector<std::pair<std::string, std::string>> bad = {
      {"camId", "64"},       {"camId", "-1"},        {"showName", "2"},    {"showDate", "2"},
      {"showWeek", "2"},     {"timeFormat", "2"},    {"dateFormat", "4"},  {"datePosX", "-0.01"},
      {"datePosY", "-1"},    {"namePosX", "-2"},     {"namePosY", "-0.5"}, {"alpha", "-1"},
      {"datePosX", "NaN"},   {"namePosY", "Infinity"}};
  for (const std::string &key : kOsdKeys) bad.push_back({key, ""});  // missing
  for (auto &[key, value] : bad) {
    EXPECT_EQ(call("/6001", osd_body(key, value)), "") << key << " " << value;
  }
  for (const char *body : {"", "{", "[]", "null"}) EXPECT_EQ(call("/6001", body), "") << body;
  EXPECT_TRUE(same_osd(stored_osd(3), before));
  EXPECT_TRUE(sent(OSD_CHANGED_NOTICE).empty());
}

TEST_F(Osd, StoreRoundTripsThroughTheReadAndTellsTheDaemon) {
  EXPECT_EQ(call("/6001", osd_body()), kTextOk);
  auto notices = sent(OSD_CHANGED_NOTICE);
  osd_notice notice = only_payload<osd_notice>(notices);
  EXPECT_EQ(notice.channel, 3);
  EXPECT_EQ(notice.kind, 1);
  EXPECT_EQ(notice.reserved, 0);

  std::string reply = call("/6000", "3");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), kOsdKeys);
  EXPECT_EQ(text_member(body.get(), "camName"), "Gate");
  EXPECT_EQ(int_member(body.get(), "showName"), 1);
  EXPECT_EQ(int_member(body.get(), "showDate"), 1);
  EXPECT_EQ(int_member(body.get(), "showWeek"), 0);
  EXPECT_EQ(int_member(body.get(), "dateFormat"), 3);
  EXPECT_EQ(int_member(body.get(), "timeFormat"), 1);
  EXPECT_EQ(int_member(body.get(), "alpha"), 7);
  // The numbers read back as sent, in the text too.
  for (const char *sent_text : {"\"datePosX\": 0.25,", "\"datePosY\": 0.1,", "\"namePosX\": 0.0,",
                                "\"namePosY\": 0.875,"}) {
    EXPECT_NE(reply.find(sent_text), std::string::npos) << sent_text << " in " << reply;
  }
  EXPECT_EQ(stored_osd(3).datePosY, 0.1);

  // A name longer than the field keeps its first 63 characters.
  EXPECT_EQ(call("/6001", osd_body("camName", "\"" + std::string(80, 'L') + "\"")), kTextOk);
  EXPECT_EQ(std::string(stored_osd(3).camName), std::string(63, 'L'));
}

TEST_F(Osd, StoreThatCannotBeWrittenAnswersErrorAndTellsNobody) {
  BrokenSettings broken;
  EXPECT_EQ(call("/6001", osd_body()), kCgiError);
  EXPECT_EQ(call("/6002", R"({"camId": 3, "camName": "x"})"), kCgiError);
  EXPECT_TRUE(sent(OSD_CHANGED_NOTICE).empty());
}

TEST_F(Osd, RenameCutsTheNameAndKeepsTheRestOfTheRecord) {
  osd_params before = sample_osd(4, "Old");
  ASSERT_EQ(write_osd(KXDB_FILE, &before), 0);
  std::string name(40, 'a');
  name[30] = 'z';
  EXPECT_EQ(call("/6002", R"({"camId": 4, "camName": ")" + name + "\"}"), kTextOk);
  osd_params after = stored_osd(4);
  EXPECT_EQ(std::string(after.camName), name.substr(0, 31));
  for (size_t i = 31; i < sizeof after.camName; i++) EXPECT_EQ(after.camName[i], 0) << i;
  snprintf(before.camName, sizeof before.camName, "%s", after.camName);
  EXPECT_TRUE(same_osd(after, before));
  EXPECT_TRUE(codes().empty());  // the daemon is not told
}

TEST_F(Osd, RenameOfNoChannelWritesNothing) {
  osd_params zero = sample_osd(0, "Channel zero");
  ASSERT_EQ(write_osd(KXDB_FILE, &zero), 0);
  for (const char *body : {R"({"camId": 70, "camName": "x"})", R"({"camId": -5, "camName": "x"})",
                           R"({"camName": "x"})", R"({"camId": 64, "camName": "x"})", "{", ""}) {
    EXPECT_EQ(call("/6002", body), "") << body;
  }
  EXPECT_TRUE(same_osd(stored_osd(0), zero));
  osd_params all[OSD_CHANNELS];
  int count = 0;
  ASSERT_EQ(kxdb_get_all(KXDB_FILE, OSD_TABLE, all, sizeof all[0], OSD_CHANNELS, &count), 0);
  EXPECT_EQ(count, 1);  // nothing written under another key either
}

// ---- The cameras' OSD ----

const char *kOsdConfig = R"({"type": 2, "ch": 6, "enable_text": 1, "text_name": "Main",
  "textpos": 3, "enable_date": 1, "datepos": 4, "dateformat": 5, "fontSize": 6,
  "enable_text_sub": 1, "text_name_sub": "Sub", "textpos_sub": 7, "enable_date_sub": 1,
  "datepos_sub": 8, "dateformat_sub": 9, "fontSizeSub": 10})";

TEST_F(Osd, CameraWriteSendsTheRecordAndAnswersTheVerdict) {
  struct Case {
    int32_t verdict;
    const char *reply;
  } cases[] = {{0, "OK"}, {-1, "NO_SUPPORT"}, {5, "ERROR"}};
  for (const Case &c : cases) {
    daemon().answer(CAMERA_OSD_SET, int_answer(c.verdict));
    EXPECT_EQ(call("/6996", kOsdConfig), kTextHeader + c.reply) << c.verdict;
  }
  camera_osd sent_osd = record_from<camera_osd>(sent(CAMERA_OSD_SET).at(0).payload);
  camera_osd expected = {};
  expected.type = 2;
  expected.ch = 6;
  expected.enable_text = 1;
  snprintf(expected.text_name, sizeof expected.text_name, "Main");
  expected.textpos = 3;
  expected.enable_date = 1;
  expected.datepos = 4;
  expected.dateformat = 5;
  expected.fontSize = 6;
  expected.enable_text_sub = 1;
  snprintf(expected.text_name_sub, sizeof expected.text_name_sub, "Sub");
  expected.textpos_sub = 7;
  expected.enable_date_sub = 1;
  expected.datepos_sub = 8;
  expected.dateformat_sub = 9;
  expected.fontSizeSub = 10;
  EXPECT_EQ(bytes_of(sent_osd), bytes_of(expected));

  daemon().silent(CAMERA_OSD_SET);
  EXPECT_EQ(call("/6996", kOsdConfig), kCgiError);
}

TEST_F(Osd, CameraWriteNeedsEveryMainKeyAndCutsTheTexts) {
  daemon().answer(CAMERA_OSD_SET, int_answer(0));
  for (const char *key : {"ch", "enable_text", "text_name", "textpos", "enable_date", "datepos",
                          "dateformat", "fontSize"}) {
    JsonPtr body(json_tokener_parse(kOsdConfig));
    json_object_object_del(body.get(), key);
    EXPECT_EQ(call("/6996", json_object_to_json_string(body.get())), "") << key;
  }
  EXPECT_EQ(call("/6996", "{"), "");
  EXPECT_TRUE(sent(CAMERA_OSD_SET).empty());

  JsonPtr body(json_tokener_parse(kOsdConfig));
  json_object_object_add(body.get(), "text_name", json_object_new_string(std::string(300, 't').c_str()));
  EXPECT_EQ(call("/6996", json_object_to_json_string(body.get())), kTextOk);
  Bytes payload = sent(CAMERA_OSD_SET).at(0).payload;
  ASSERT_EQ(payload.size(), sizeof(camera_osd));
  EXPECT_EQ(text_at(payload, 8, 256), std::string(255, 't'));
  EXPECT_EQ(payload[263], 0);
}

camera_osd answered_osd(int ch) {
  camera_osd osd = {};
  osd.ch = ch;
  osd.enable_text = 1;
  memset(osd.text_name, 'm', sizeof osd.text_name);  // no terminator
  osd.textpos = 2;
  osd.enable_date = 1;
  osd.datepos = 3;
  osd.dateformat = 4;
  osd.fontSize = 5;
  snprintf(osd.text_name_sub, sizeof osd.text_name_sub, "sub");
  osd.textpos_sub = 6;
  osd.datepos_sub = 7;
  osd.dateformat_sub = 8;
  osd.type = 9;
  return osd;
}

TEST_F(Osd, CameraReadGivesTheFirstRecordOrDisconnect) {
  camera_osd second = answered_osd(8);
  daemon().answer(CAMERA_OSD_GET, records_answer(std::vector<camera_osd>{answered_osd(2), second}));
  JsonPtr body = parse_body(call("/6997", R"({"id": 2})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{"enable_text", "text_name", "textpos", "enable_date",
                                      "datepos", "dateformat", "enable_text_sub", "text_name_sub",
                                      "textpos_sub", "enable_date_sub", "datepos_sub",
                                      "dateformat_sub", "disconnect"}));
  EXPECT_EQ(text_member(body.get(), "text_name"), std::string(256, 'm'));
  EXPECT_EQ(text_member(body.get(), "text_name_sub"), "sub");
  EXPECT_EQ(int_member(body.get(), "datepos"), 3);
  EXPECT_EQ(int_member(body.get(), "dateformat_sub"), 8);
  EXPECT_EQ(int_member(body.get(), "disconnect"), 1);
  EXPECT_EQ(sent(CAMERA_OSD_GET).at(0).payload, bytes_of_int(2));

  daemon().answer(CAMERA_OSD_GET, bytes_of(answered_osd(-1)));
  body = parse_body(call("/6997", R"({"id": 2})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"disconnect"}));
  EXPECT_EQ(int_member(body.get(), "disconnect"), 0);
}

TEST_F(Osd, CameraReadWithoutARecordAnswersError) {
  Bytes short_record = bytes_of(answered_osd(1));
  short_record.pop_back();
  daemon().answer(CAMERA_OSD_GET, short_record);
  EXPECT_EQ(call("/6997", R"({"id": 1})"), kCgiError);
  daemon().silent(CAMERA_OSD_GET);
  EXPECT_EQ(call("/6997", R"({"id": 1})"), kCgiError);
  EXPECT_EQ(call("/6997", "{"), "");  // no body: nothing asked
  EXPECT_EQ(sent(CAMERA_OSD_GET).size(), 2u);
}

}  // namespace
