// Live view: start and stop, the stream addresses, external ports, and the
// player's channel checks and log entries.
#include "playback_test_util.h"

namespace {

using Live = PlaybackTest;

Bytes live_answer(int channel, int status, const char *rtsp, const char *path) {
  live_answer_record r = {};
  r.channel = channel;
  r.port = 554;
  r.direct = 1;
  r.status = status;
  snprintf(r.rtspAddr, sizeof r.rtspAddr, "%s", rtsp);
  snprintf(r.resPath, sizeof r.resPath, "%s", path);
  return bytes_of(r);
}

TEST_F(Live, StartRepliesTheAddressAndLogsAfterTheAnswer) {
  daemon().answer(3500, live_answer(6, 0, "rtsp://10.0.0.5:554/ch06/0", "/ch06/0"));
  std::string reply = call("/4010", R"({"id": 6, "streamType": 1, "streamFrom": 1})");
  EXPECT_EQ(sent_once(3500), (Bytes{6, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}));
  JsonPtr body = parse_body(reply);
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{"status", "port", "direct", "rtspAddr", "resPath"}));
  EXPECT_EQ(int_member(body.get(), "port"), 554);
  EXPECT_EQ(int_member(body.get(), "direct"), 1);
  EXPECT_EQ(text_member(body.get(), "rtspAddr"), "rtsp://10.0.0.5:554/ch06/0");
  EXPECT_EQ(text_member(body.get(), "resPath"), "/ch06/0");
  EXPECT_EQ(codes(), (std::vector<int>{3500, 3485}));
  auto entries = logs();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].sub_type, 208);
  EXPECT_EQ(entries[0].channel, 7);

  forget();
  daemon().answer(3500, live_answer(6, -1, "", ""));
  EXPECT_EQ(call("/4010", R"({"id": 6, "streamType": 0, "streamFrom": 0})"),
            kJsonHeader + R"({ "status": "ERROR" })");
  daemon().silent(3500);
  EXPECT_EQ(call("/4010", R"({"id": 6, "streamType": 0, "streamFrom": 0})"), kJsonError);
  EXPECT_EQ(codes(), (std::vector<int>{3500, 3500}));  // no log for either
}

TEST_F(Live, AnswersAreReadWithinTheirLength) {
  // Up to the status, and the address cut where the answer ends.
  Bytes cut = live_answer(2147483647, 0, "rtsp://a-long-address", "/p");
  cut.resize(96 + 6);
  JsonPtr body = parse_body(dispatch(8500, cut));
  EXPECT_EQ(text_member(body.get(), "rtspAddr"), "rtsp:/");
  EXPECT_EQ(text_member(body.get(), "resPath"), "");
  // Texts filling their fields end at the field.
  live_answer_record full = {};
  memset(full.rtspAddr, 'a', sizeof full.rtspAddr);
  memset(full.resPath, 'b', sizeof full.resPath);
  body = parse_body(dispatch(8500, bytes_of(full)));
  EXPECT_EQ(text_member(body.get(), "rtspAddr"), std::string(256, 'a'));
  EXPECT_EQ(text_member(body.get(), "resPath"), std::string(256, 'b'));
  EXPECT_EQ(dispatch(8500, Bytes(31, 0)), "");
  EXPECT_EQ(g_callback_done, 0);  // no status: as if nothing came
}

TEST_F(Live, TheLogOfAnOverlongChannelWraps) {
  daemon().answer(3500, live_answer(2147483647, 0, "", ""));
  call("/4010", R"({"id": 0, "streamType": 0, "streamFrom": 0})");
  auto entries = logs();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].channel, INT32_MIN);
}

TEST_F(Live, StartAndStopCheckTheirKeysSilently) {
  for (const char *body : {R"({"id": 16, "streamType": 0, "streamFrom": 0})",
                           R"({"id": -1, "streamType": 0, "streamFrom": 0})",
                           R"({"id": 0, "streamType": 2, "streamFrom": 0})",
                           R"({"id": 0, "streamType": 0, "streamFrom": -1})",
                           R"({"id": 0, "streamType": 0})", R"({"streamType": 0, "streamFrom": 0})",
                           "null", "0"}) {
    EXPECT_EQ(call("/4010", body), "") << body;
    EXPECT_EQ(call("/4011", body), "") << body;
  }
  EXPECT_TRUE(codes().empty());
  EXPECT_EQ(call("/4011", R"({"id": 15, "streamType": 1, "streamFrom": 1})"), kTextOk);
  EXPECT_EQ(sent_once(1901), (Bytes{15, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(call("/4012", "anything"), kTextOk);
  EXPECT_EQ(sent_once(1902), Bytes{});
}

TEST_F(Live, ChannelChecksAndLogEntries) {
  cgiRemoteUser = "operator-7";
  EXPECT_EQ(call("/4014", "3"), kTextOk);
  EXPECT_EQ(call("/4017", "15"), kTextOk);
  EXPECT_EQ(call("/4024", "0"), kTextOk);
  auto entries = logs();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].sub_type, 205);
  EXPECT_EQ(entries[0].channel, 4);
  EXPECT_STREQ(entries[0].user_name, "admin");
  EXPECT_EQ(entries[1].sub_type, 227);
  EXPECT_EQ(entries[1].channel, 16);
  EXPECT_STREQ(entries[1].user_name, "operator-7");  // the web server's user, not the cookie
  EXPECT_EQ(entries[2].sub_type, 208);
  EXPECT_EQ(entries[2].channel, 1);
  for (const auto &e : entries) EXPECT_EQ(e.param_type, 900);

  std::string long_user(500, 'u');
  cgiRemoteUser = long_user.c_str();
  forget();
  call("/4017", "1");
  EXPECT_EQ(std::string(logs().at(0).user_name), std::string(63, 'u'));
  cgiRemoteUser = "";

  forget();
  for (const char *path : {"/4014", "/4015", "/4016", "/4017", "/4024"}) {
    for (const char *body : {"16", "-1", "", "x", "99999999999"}) {
      EXPECT_EQ(call(path, body), "") << path << " " << body;
    }
  }
  EXPECT_EQ(call("/4015", "15"), kTextOk);
  EXPECT_EQ(call("/4016", " 0"), kTextOk);
  EXPECT_TRUE(codes().empty());
}

stream_address_record stream_addresses(int channel) {
  stream_address_record r = {};
  r.channel = channel;
  snprintf(r.ipcMain, sizeof r.ipcMain, "rtsp://cam%d/main", channel);
  snprintf(r.ipcSub, sizeof r.ipcSub, "rtsp://cam%d/sub", channel);
  r.mainPort = 554;
  r.mainExternalPort = 1554;
  r.mainDDNSPort = 2554;
  r.mainExternalHttpPort = 1080;
  r.mainDDNSHttpPort = 2080;
  snprintf(r.mainUsername, sizeof r.mainUsername, "mu");
  snprintf(r.mainPassword, sizeof r.mainPassword, "mp");
  snprintf(r.mainResPath, sizeof r.mainResPath, "/ch%d/main", channel);
  r.subPort = 555;
  r.subDDNSHttpPort = 3080;
  snprintf(r.subUsername, sizeof r.subUsername, "su");
  memset(r.subPassword, 'p', sizeof r.subPassword);  // no terminator
  snprintf(r.subResPath, sizeof r.subResPath, "/ch%d/sub", channel);
  return r;
}

TEST_F(Live, StreamAddressesOfEveryChannel) {
  Bytes answer = records_answer<stream_address_record>({stream_addresses(0), stream_addresses(1)});
  answer.resize(answer.size() + 1000, 0xFF);  // a partial record is not read
  daemon().answer(3503, answer);
  JsonPtr body = parse_body(call("/4018"));
  json_object *list = json_member(body.get(), "rtspaddr");
  ASSERT_EQ(json_object_array_length(list), 2u);
  json_object *second = json_object_array_get_idx(list, 1);
  EXPECT_EQ(member_names(second), (std::vector<std::string>{"ipc", "nvr"}));
  json_object *ipc = json_member(second, "ipc");
  EXPECT_EQ(text_member(ipc, "main"), "rtsp://cam1/main");
  EXPECT_EQ(text_member(ipc, "sub"), "rtsp://cam1/sub");
  json_object *nvr = json_member(second, "nvr");
  EXPECT_EQ(member_names(nvr),
            (std::vector<std::string>{
                "mainUsername", "mainPassword", "mainPort", "mainExternalPort", "mainDDNSPort",
                "mainResPath", "mainExternalHttpPort", "mainDDNSHttpPort", "subUsername",
                "subPassword", "subPort", "subExternalPort", "subDDNSPort", "subResPath",
                "subExternalHttpPort", "subDDNSHttpPort"}));
  EXPECT_EQ(int_member(nvr, "mainExternalHttpPort"), 1080);
  EXPECT_EQ(text_member(nvr, "mainResPath"), "/ch1/main");
  EXPECT_EQ(text_member(nvr, "subPassword"), std::string(32, 'p'));
  EXPECT_EQ(int_member(nvr, "subDDNSHttpPort"), 3080);

  daemon().answer(3503, Bytes(1475, 0x41));
  EXPECT_EQ(call("/4018"), "");  // too short: flag only
  daemon().silent(3503);
  EXPECT_EQ(call("/4018"), kJsonError);
}

TEST_F(Live, ExternalPorts) {
  daemon().answer(3506, records_answer<int32_t>({8080, 9090}));
  EXPECT_EQ(call("/4021"),
            kJsonHeader + R"({ "upnp_extern_port": 8080, "ddns_extern_port": 9090 })");
  daemon().answer(3506, int_answer(8080));
  EXPECT_EQ(call("/4021"), "");
  daemon().silent(3506);
  EXPECT_EQ(call("/4021"), kJsonError);
}

}  // namespace
