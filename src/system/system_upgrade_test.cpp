#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "maintenance.h"
#include "system_test_support.h"

namespace {

constexpr int kLogCode = 3485;

void put_file(const char *path) {
  FILE *f = fopen(path, "w");
  ASSERT_TRUE(f) << path;
  fputs("image", f);
  fclose(f);
}

bool exists(const char *path) {
  return access(path, F_OK) == 0;
}

online_upgrade_info offer(int32_t state, const char *version, const char *url) {
  online_upgrade_info info = {};
  info.state = state;
  info.file_size = 1000 + state;
  snprintf(info.softversion, sizeof info.softversion, "%s", version);
  snprintf(info.url, sizeof info.url, "%s", url);
  snprintf(info.description, sizeof info.description, "notes of %s", version);
  return info;
}

void expect_offer(json_object *o, const online_upgrade_info &info) {
  EXPECT_EQ(member_names(o),
            (std::vector<std::string>{"state", "fileSize", "softversion", "url", "description"}));
  EXPECT_EQ(int_member(o, "state"), info.state);
  EXPECT_EQ(int_member(o, "fileSize"), info.file_size);
  EXPECT_EQ(text_member(o, "softversion"), info.softversion);
  EXPECT_EQ(text_member(o, "url"), info.url);
  EXPECT_EQ(text_member(o, "description"), info.description);
}

class Upgrade : public HandlerTest {
 protected:
  void TearDown() override {
    unlink(SYSTEM_IMAGE_PATH);
    unlink(CAMERA_IMAGE_PATH);
    HandlerTest::TearDown();
  }
  std::vector<int> log_sub_types() {
    std::vector<int> out;
    for (const log_info &l : logs()) {
      EXPECT_EQ(l.param_type, 900);
      out.push_back((int)l.sub_type);
    }
    return out;
  }
};

TEST_F(Upgrade, SystemUpgradeSendsTheResetFlagOfTheQuery) {
  for (auto [text, flag] : {std::pair<const char *, int32_t>{"temp & reset=1", 1},
                            {"temp & a=1&reset", 1},
                            {"temp & a=1", 0},
                            {"reset & a=1", 0},
                            {"temp", 0}}) {
    forget();
    daemon().answer(1713, int_answer(0));
    call("/1010", text);
    auto sent1713 = sent(1713);
    ASSERT_EQ(sent1713.size(), 1u) << text;
    ASSERT_EQ(sent1713[0].payload.size(), 4u);
    EXPECT_EQ(int_at(sent1713[0].payload, 0), flag) << text;
  }
  // A query as long as a request may be is searched whole.
  forget();
  daemon().answer(1713, int_answer(0));
  call("/1010", "temp & " + std::string(1000, 'x') + "reset");
  EXPECT_EQ(int_at(sent(1713).at(0).payload, 0), 1);
}

TEST_F(Upgrade, SystemUpgradeRestartsOnSuccessAndReportsOtherStatuses) {
  for (int32_t status : {0, 1}) {
    forget();
    daemon().answer(1713, int_answer(status));
    EXPECT_EQ(call("/1010", "temp & x"), kTextHeader + "OK") << status;
    EXPECT_EQ(codes(), (std::vector<int>{kLogCode, 1713, kLogCode, 1703})) << status;
    EXPECT_EQ(log_sub_types(), (std::vector<int>{203, 200}));
  }
  for (int32_t status : {7, -2}) {
    forget();
    daemon().answer(1713, int_answer(status));
    EXPECT_EQ(call("/1010", "temp & x"), kTextHeader + std::to_string(status));
    EXPECT_EQ(codes(), (std::vector<int>{kLogCode, 1713}));
  }
  // No answer, and an answer too short to hold a status: "0", no restart.
  forget();
  daemon().silent(1713);
  EXPECT_EQ(call("/1010", "temp & x"), kTextHeader + "0");
  EXPECT_EQ(codes(), (std::vector<int>{kLogCode, 1713}));
  forget();
  daemon().answer(1713, Bytes{1, 0});
  EXPECT_EQ(call("/1010", "temp & x"), kTextHeader + "0");
  EXPECT_TRUE(sent(1703).empty());
}

TEST_F(Upgrade, OnlineUpgradeOrderAndRestartOnlyOnSuccess) {
  daemon().answer(1713, int_answer(0));
  EXPECT_EQ(call("/6088"), kJsonHeader + "{ \"res\": 0 }");
  EXPECT_EQ(codes(), (std::vector<int>{1721, kLogCode, 1713, kLogCode, 1703}));
  EXPECT_EQ(log_sub_types(), (std::vector<int>{203, 200}));
  EXPECT_EQ(int_at(sent(1713).at(0).payload, 0), 0);

  forget();
  daemon().answer(1713, int_answer(5));
  JsonPtr refused = parse_body(call("/6088"));
  EXPECT_EQ(int_member(refused.get(), "res"), 5);
  EXPECT_EQ(codes(), (std::vector<int>{1721, kLogCode, 1713}));

  // Without an answer nothing was applied, and the reply does not say it was.
  forget();
  daemon().silent(1713);
  EXPECT_EQ(call("/6088"), kJsonError);
  EXPECT_TRUE(sent(1703).empty());
}

TEST_F(Upgrade, PreparationNoticeThenRes0) {
  EXPECT_EQ(call("/1034"), kJsonHeader + "{ \"res\": 0 }");
  EXPECT_EQ(codes(), (std::vector<int>{1721}));
}

TEST_F(Upgrade, ImageFilesAreReportedAndOnlyStopDeletes) {
  EXPECT_EQ(call("/1011"), kTextHeader + "OK");
  EXPECT_EQ(call("/6082", "temp & "), kTextHeader + "Error");
  put_file(SYSTEM_IMAGE_PATH);
  put_file(CAMERA_IMAGE_PATH);
  EXPECT_EQ(call("/1011"), kTextHeader + "Error");
  EXPECT_TRUE(exists(SYSTEM_IMAGE_PATH));  // it tells, it does not clean
  EXPECT_EQ(call("/6082", "temp & "), kTextHeader + "OK");
  EXPECT_TRUE(exists(CAMERA_IMAGE_PATH));
  EXPECT_TRUE(codes().empty());

  EXPECT_EQ(call("/6084"), kTextHeader + "OK");
  EXPECT_FALSE(exists(CAMERA_IMAGE_PATH));
  EXPECT_EQ(codes(), (std::vector<int>{3351}));
  EXPECT_EQ(call("/6082", "temp & "), kTextHeader + "Error");
}

TEST_F(Upgrade, CameraUpgradeRequestAndReply) {
  camera_upgrade_status answer = {3, 2};
  daemon().answer(3350, bytes_of(answer));
  JsonPtr reply = parse_body(call("/6083", R"({"chnid": 3, "reset": 1})"));
  ASSERT_TRUE(reply);
  EXPECT_EQ(member_names(reply.get()), (std::vector<std::string>{"chnid", "status"}));
  EXPECT_EQ(int_member(reply.get(), "chnid"), 3);
  EXPECT_EQ(int_member(reply.get(), "status"), 2);
  auto request = sent(3350);
  ASSERT_EQ(request.size(), 1u);
  ASSERT_EQ(request[0].payload.size(), 264u);
  EXPECT_EQ(int_at(request[0].payload, 0), 3);
  EXPECT_EQ(int_at(request[0].payload, 4), 1);
  EXPECT_EQ(text_at(request[0].payload, 8, 256), CAMERA_IMAGE_PATH);

  EXPECT_EQ(call("/6083", "{oops"), kJsonError);
  daemon().answer(3350, Bytes{3, 0, 0, 0});  // shorter than its record: as none
  EXPECT_EQ(call("/6083", R"({"chnid": 3})"), kCgiError);
}

TEST_F(Upgrade, OnlineDownloadOfEitherImage) {
  daemon().answer(1716, int_answer(0));
  std::string url(200, 'u');
  JsonPtr reply = parse_body(call("/6085", R"({"type": 1, "url": ")" + url + "\"}"));
  EXPECT_EQ(int_member(reply.get(), "res"), 0);
  EXPECT_EQ(codes(), (std::vector<int>{1721, 1716}));
  auto request = sent(1716);
  ASSERT_EQ(request.at(0).payload.size(), 256u);
  EXPECT_EQ(text_at(request[0].payload, 0, 128), url.substr(0, 127));
  EXPECT_EQ(text_at(request[0].payload, 128, 128), CAMERA_IMAGE_PATH);

  forget();
  daemon().answer(1716, int_answer(-3));
  reply = parse_body(call("/6085", R"({"type": 0, "url": "http://h/fw.bin"})"));
  EXPECT_EQ(int_member(reply.get(), "res"), -3);
  EXPECT_EQ(text_at(sent(1716).at(0).payload, 128, 128), SYSTEM_IMAGE_PATH);

  forget();
  for (const char *bad : {R"({"type": 2, "url": "x"})", R"({"type": -1})", "not json"}) {
    EXPECT_EQ(call("/6085", bad), kJsonError) << bad;
  }
  EXPECT_TRUE(codes().empty());
  daemon().silent(1716);
  EXPECT_EQ(call("/6085", R"({"type": 0})"), kCgiError);
}

TEST_F(Upgrade, DiscardADownload) {
  put_file(SYSTEM_IMAGE_PATH);
  EXPECT_EQ(call("/6086", R"({"type": 0})"), kJsonHeader + "{ \"res\": 0 }");
  EXPECT_FALSE(exists(SYSTEM_IMAGE_PATH));
  EXPECT_EQ(call("/6086", R"({"type": 0})"), kJsonHeader + "{ \"res\": 0 }");  // none left
  EXPECT_TRUE(codes().empty());

  daemon().answer(1717, int_answer(4));
  EXPECT_EQ(int_member(parse_body(call("/6086", R"({"type": 1})")).get(), "res"), 4);
  EXPECT_EQ(sent(1717).at(0).payload.size(), 0u);
  forget();
  EXPECT_EQ(call("/6086", R"({"type": 3})"), kJsonError);
  EXPECT_EQ(call("/6086", "]"), kJsonError);
  EXPECT_TRUE(codes().empty());
  daemon().silent(1717);
  EXPECT_EQ(call("/6086", R"({"type": 1})"), kCgiError);
}

TEST_F(Upgrade, RecorderOfferFullAndShort) {
  online_upgrade_info first = offer(1, "V3.7.0", "http://u/nvr.bin");
  daemon().answer(1715, records_answer(std::vector<online_upgrade_info>{
                                   first, offer(2, "other", "")}));
  std::string reply = call("/6087");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr object = parse_body(reply);
  ASSERT_TRUE(object);
  expect_offer(object.get(), first);

  // Full-width texts without their terminator are read within the field.
  online_upgrade_info full = offer(0, "", "");
  memset(full.softversion, 'v', sizeof full.softversion);
  daemon().answer(1715, bytes_of(full));
  object = parse_body(call("/6087"));
  EXPECT_EQ(text_member(object.get(), "softversion"), std::string(64, 'v'));

  Bytes short_answer = bytes_of(first);
  short_answer.resize(327);
  daemon().answer(1715, short_answer);
  EXPECT_EQ(call("/6087"), kJsonError);  // once
  daemon().silent(1715);
  EXPECT_EQ(call("/6087"), kJsonError);
}

TEST_F(Upgrade, CameraCheckMaskStopsAtTheFirstOtherCharacter) {
  EXPECT_EQ(upgrade_check_mask("1a1"), 1u);
  EXPECT_EQ(upgrade_check_mask("0101"), 0xAu);
  EXPECT_EQ(upgrade_check_mask(""), 0u);
  EXPECT_EQ(upgrade_check_mask(nullptr), 0u);
  EXPECT_EQ(upgrade_check_mask(std::string(70, '1').c_str()), ~0ULL);
  EXPECT_EQ(upgrade_check_mask((std::string(63, '0') + "1" + "111").c_str()), 1ULL << 63);
}

TEST_F(Upgrade, CameraCheckSendsTheMaskAndListsAll64Channels) {
  std::vector<online_upgrade_info> records(64);
  records[0] = offer(0, "V5.2.1", "");
  records[63] = offer(1, "V5.3.0", "http://u/ipc.bin");
  Bytes answer = records_answer(records);
  answer.resize(answer.size() + 100, 0xff);  // further bytes are ignored
  daemon().answer(3365, answer);
  JsonPtr reply = parse_body(call("/6089", R"({"ch": "1a1"})"));
  ASSERT_TRUE(reply);
  EXPECT_EQ(member_names(reply.get()), (std::vector<std::string>{"check"}));
  json_object *check = json_member(reply.get(), "check");
  ASSERT_EQ(array_length(check), 64);
  expect_offer(array_at(check, 0), records[0]);
  expect_offer(array_at(check, 63), records[63]);
  auto request = sent(3365);
  ASSERT_EQ(request.at(0).payload.size(), 8u);
  EXPECT_EQ(record_from<uint64_t>(request[0].payload), 1u);

  forget();
  call("/6089", "{\"ch\": \"" + std::string(70, '1') + "\"}");
  EXPECT_EQ(record_from<uint64_t>(sent(3365).at(0).payload), ~0ULL);

  EXPECT_EQ(call("/6089", "{"), kJsonError);
  answer.resize(20991);  // short of the 64 records: as no answer
  daemon().answer(3365, answer);
  EXPECT_EQ(call("/6089", R"({"ch": "1"})"), kCgiError);
}

}  // namespace
