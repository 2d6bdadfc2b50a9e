// Time, PPPoE, DDNS, e-mail, multicast, SNMP and the small service pages.
#include "network_test_util.h"

namespace {

using Services = NetworkTest;

const char *const kTimeBody =
    R"({"ntpEnable": 0, "dstEnable": 1, "timeZone": "GMT+01:00", "timeZoneName": "Berlin",
        "ntpServer": "ntp.example.org", "syncEnable": 1, "syncInterval": 24, "syncPc": 0,
        "manualTime": "2024-01-02 03:04:05")";

std::string time_body(const std::string &extra) {
  return std::string(kTimeBody) + extra + "}";
}

TEST_F(Services, TimeSetSendsTheQuotedManualTimeThen1711AndTheLog) {
  daemon().answer(1701, int_answer(0));
  EXPECT_EQ(call("/7001", time_body("")), kTextOk);
  settle();
  Bytes expected(32, 0);
  memcpy(expected.data(), "\"2024-01-02 03:04:05\"", 21);
  EXPECT_EQ(sent(1701).at(0).payload, expected);
  EXPECT_EQ(codes(), (std::vector<int>{1701, 1711, 3485}));
  EXPECT_TRUE(sent(1711).at(0).payload.empty());
  EXPECT_EQ(logs().at(0).sub_type, 225);
  EXPECT_EQ(logs().at(0).param_type, 900);

  time_params r{};
  ASSERT_EQ(read_time(KXDB_FILE, &r), 0);
  EXPECT_EQ(r.dstEnable, 1);
  EXPECT_STREQ(r.timeZoneName, "Berlin");
  EXPECT_STREQ(r.ntpServer, "ntp.example.org");
  EXPECT_EQ(r.syncInterval, 24);

  JsonPtr reply = parse_body(call("/7000"));
  ASSERT_TRUE(reply);
  EXPECT_EQ(member_names(reply.get()),
            (std::vector<std::string>{"dateYear", "dateMon", "dateDay", "dateHour", "dateMin",
                                      "dateSec", "serverTime", "ntpEnable", "dstEnable",
                                      "timeZone", "timeZoneName", "ntpServer", "syncEnable",
                                      "syncInterval", "syncPc"}));
  EXPECT_EQ(text_member(reply.get(), "dateYear").size(), 4u);
  EXPECT_EQ(text_member(reply.get(), "serverTime").size(), 19u);
  EXPECT_EQ(text_member(reply.get(), "timeZone"), "GMT+01:00");
}

TEST_F(Services, TimeFromNtpOrFailoverSendsNoText) {
  daemon().answer(1701, int_answer(0));
  for (const char *extra : {R"(, "failoverMode": 2)", R"(, "ntpEnable": 1)"}) {
    forget();
    EXPECT_EQ(call("/7001", time_body(extra)), kTextOk) << extra;
    settle();
    EXPECT_EQ(sent(1701).at(0).payload, Bytes(32, 0)) << extra;
  }
  // No answer: "OK" was already written; nothing more, and no 1711.
  daemon().silent(1701);
  forget();
  EXPECT_EQ(call("/7001", time_body("")), kTextOk);
  settle();
  EXPECT_EQ(codes(), (std::vector<int>{1701, 3485}));
}

TEST_F(Services, TimeValidationIsSilent) {
  for (const std::string &body :
       {std::string("{"), std::string(R"({"ntpEnable": 2, "dstEnable": 0})"),
        time_body(R"(, "dstEnable": 3)"),
        std::string(R"({"ntpEnable": 0, "dstEnable": 0, "timeZone": "x", "timeZoneName": "y",
                        "syncEnable": 1, "syncInterval": 1})")}) {
    EXPECT_EQ(call("/7001", body), "") << body;
  }
  EXPECT_TRUE(codes().empty());
  BrokenSettings broken;
  EXPECT_EQ(call("/7001", time_body("")), kCgiError);
  EXPECT_TRUE(codes().empty());
}

TEST_F(Services, PppoeWithoutPppInterface) {
  EXPECT_EQ(call("/7011", R"({"enable": 1, "autoConnect": 1, "userName": "isp-user",
                              "password": "pw"})"),
            kTextOk);
  settle();
  EXPECT_EQ(codes(), (std::vector<int>{1702, 3485}));
  EXPECT_EQ(text_at(sent(1702).at(0).payload, 0, 32), "pppoe");
  EXPECT_EQ(logs().at(0).param_type, 915);
  JsonPtr reply = parse_body(call("/7010"));
  EXPECT_EQ(member_names(reply.get()), (std::vector<std::string>{"enable", "autoConnect",
                                                                 "userName", "password",
                                                                 "pppoeipaddr"}));
  EXPECT_EQ(text_member(reply.get(), "userName"), "isp-user");
  EXPECT_EQ(text_member(reply.get(), "pppoeipaddr"), "0.0.0.0");
  forget();
  EXPECT_EQ(call("/7011", R"({"enable": 2})"), "");
  EXPECT_TRUE(codes().empty());
}

TEST_F(Services, DdnsFreshRecordAndItsPortNames) {
  ddns_params old{};
  set_text(old.ddnsurl, "stale.example.net");
  old.updateFreq = 9;
  ASSERT_EQ(write_ddns(KXDB_FILE, &old), 0);
  EXPECT_EQ(call("/7021", R"({"enable": 1, "domain": "dyn.example", "hostName": "nvr1",
                              "http": 8080, "rtsp": 5540, "http_port": 1, "updateFreq": 60})"),
            kTextOk);
  settle();
  EXPECT_EQ(text_at(sent(1702).at(0).payload, 0, 32), "ddns");
  EXPECT_EQ(logs().at(0).param_type, 916);
  JsonPtr reply = parse_body(call("/7020"));
  EXPECT_EQ(member_names(reply.get()),
            (std::vector<std::string>{"enable", "domain", "userName", "password", "hostName",
                                      "ddnsurl", "freeDNSHash", "updateFreq", "http_port",
                                      "rtsp_port", "mac"}));
  EXPECT_EQ(int_member(reply.get(), "http_port"), 8080);
  EXPECT_EQ(int_member(reply.get(), "rtsp_port"), 5540);
  EXPECT_EQ(text_member(reply.get(), "ddnsurl"), "");  // built fresh
  EXPECT_EQ(text_member(reply.get(), "mac").size(), 17u);
  forget();
  EXPECT_EQ(call("/7021", R"({"enable": 1, "updateFreq": -1})"), "");
  EXPECT_TRUE(codes().empty());
}

TEST_F(Services, EmailKeepsStoredMembersAndSetsTheHostName) {
  email_params old{};
  set_text(old.smtpServer, "smtp.example.org");
  old.smtpPort = 25;
  set_text(old.receivers[2].receiverAddr, "night@example.org");
  ASSERT_EQ(write_email(KXDB_FILE, &old), 0);
  port_params ports{};
  ports.httpPort = 80;
  ASSERT_EQ(write_port(KXDB_FILE, &ports), 0);

  std::string long_name(300, 'h');
  EXPECT_EQ(call("/7031", R"({"enable": 1, "senderAddr": "nvr@example.org", "enableTls": 2,
                              "enableHostName": 1, "hostName": ")" + long_name + R"(",
                              "receivers": [{"receiverAddr": "a@example.org"},
                                            {"receiverName": "B"}, {}, {"receiverAddr": "x"}]})"),
            kTextOk);
  settle();
  EXPECT_EQ(text_at(sent(1702).at(0).payload, 0, 32), "mail");
  EXPECT_EQ(logs().at(0).param_type, 917);
  email_params r{};
  ASSERT_EQ(read_email(KXDB_FILE, &r), 0);
  EXPECT_STREQ(r.smtpServer, "smtp.example.org");
  EXPECT_EQ(r.smtpPort, 25);
  EXPECT_STREQ(r.senderAddr, "nvr@example.org");
  EXPECT_STREQ(r.receivers[0].receiverAddr, "a@example.org");
  EXPECT_STREQ(r.receivers[1].receiverName, "B");
  EXPECT_STREQ(r.receivers[2].receiverAddr, "night@example.org");
  port_params p{};
  ASSERT_EQ(read_port(KXDB_FILE, &p), 0);
  EXPECT_EQ(p.httpPort, 80);
  EXPECT_EQ(p.enableHostName, 1);
  EXPECT_EQ(strlen(p.hostName), 255u);

  JsonPtr reply = parse_body(call("/7030"));
  EXPECT_EQ(member_names(reply.get()),
            (std::vector<std::string>{"enable", "userName", "password", "smtpServer", "smtpPort",
                                      "senderAddr", "senderName", "enableTls", "enableAttach",
                                      "captureInterval", "enableHostName", "hostName",
                                      "receivers"}));
  json_object *receivers = json_member(reply.get(), "receivers");
  ASSERT_EQ(array_length(receivers), 3);
  EXPECT_EQ(text_member(array_at(receivers, 2), "receiverAddr"), "night@example.org");

  forget();
  for (const char *bad : {R"({"enableTls": 3})", R"({"enableAttach": 2})", R"({"smtpPort": -1})",
                          R"({"captureInterval": -5})"}) {
    EXPECT_EQ(call("/7031", bad), "") << bad;
  }
  EXPECT_TRUE(codes().empty());
}

TEST_F(Services, TestMailAnswers) {
  daemon().answer(3409, int_answer(0));
  EXPECT_EQ(call("/7032"), kTextOk);
  Bytes expected(32, 0);
  memcpy(expected.data(), "testmail", 8);
  EXPECT_EQ(sent(3409).at(0).payload, expected);
  daemon().answer(3409, int_answer(7));
  EXPECT_EQ(call("/7032"), kTextHeader + "ERROR");
  daemon().silent(3409);
  EXPECT_EQ(call("/7032"), kCgiError);
}

TEST_F(Services, MulticastUpdatesPresentKeysAndSendsTheRecord) {
  multicast_params old{};
  old.enable = 1;
  set_text(old.ip, "239.0.0.1");
  ASSERT_EQ(write_multicast(KXDB_FILE, &old), 0);
  daemon().answer(1729, int_answer(0));
  EXPECT_EQ(call("/7034", R"({"enable": 0})"), kJsonHeader + R"({ "res": 0 })");
  multicast_params sent_record = record_from<multicast_params>(sent(1729).at(0).payload);
  EXPECT_EQ(sent(1729).at(0).payload.size(), 72u);
  EXPECT_EQ(sent_record.enable, 0);
  EXPECT_STREQ(sent_record.ip, "239.0.0.1");
  EXPECT_EQ(call("/7033"), kJsonHeader + R"({ "enable": 0, "ip": "239.0.0.1" })");
  EXPECT_EQ(call("/7034", "{"), kJsonError);
  daemon().silent(1729);
  EXPECT_EQ(call("/7034", R"({"ip": "239.1.1.1"})"), kJsonError);
}

TEST_F(Services, SnmpKeysInRecordOrderAndItsPortCheck) {
  port_params ports{};
  ports.sshPort = 22;
  ports.httpsPort = 443;
  ASSERT_EQ(write_port(KXDB_FILE, &ports), 0);
  snmp_params old{};
  old.port = 161;
  set_text(old.read_community, "public");
  ASSERT_EQ(write_snmp(KXDB_FILE, &old), 0);
  EXPECT_EQ(call("/7091", R"({"v2c_enable": 1, "write_pri_password": "secret"})"), kTextOk);
  settle();
  EXPECT_EQ(codes(), (std::vector<int>{1702}));  // no log entry
  EXPECT_EQ(text_at(sent(1702).at(0).payload, 0, 32), "snmp");

  JsonPtr reply = parse_body(call("/7090"));
  std::vector<std::string> names = member_names(reply.get());
  ASSERT_EQ(names.size(), 22u);
  EXPECT_EQ(names.front(), "v1_enable");
  EXPECT_EQ(names[8], "read_auth_password");
  EXPECT_EQ(names[17], "port");
  EXPECT_EQ(std::vector<std::string>(names.begin() + 18, names.end()),
            (std::vector<std::string>{"sshPort", "httpPort", "rtspPort", "httpsPort"}));
  EXPECT_EQ(int_member(reply.get(), "v2c_enable"), 1);
  EXPECT_EQ(text_member(reply.get(), "read_community"), "public");
  EXPECT_EQ(text_member(reply.get(), "write_pri_password"), "secret");
  EXPECT_EQ(int_member(reply.get(), "httpsPort"), 443);

  set_param_int(KXDB_FILE, "max_poe_num", 4);
  EXPECT_EQ(call("/7091", R"({"port": 23003})"), kTextHeader + "POE_Port_Error");
  EXPECT_EQ(call("/7091", R"({"port": 161, "v1_enable": 1})"), kTextOk);  // unchanged
  snmp_params r{};
  ASSERT_EQ(read_snmp(KXDB_FILE, &r), 0);
  EXPECT_EQ(r.v1_enable, 1);
  EXPECT_EQ(r.port, 161);
}

TEST_F(Services, SmallPagesAndDaemonStates) {
  set_param_int(KXDB_FILE, "ch_access", 3);
  set_param_int(KXDB_FILE, "max_poe_num", 8);
  EXPECT_EQ(call("/7092"), kJsonHeader + R"({ "access": 3 })");
  EXPECT_EQ(call("/7093"), kJsonHeader + R"({ "max_poe_num": 8 })");
  daemon().answer(3309, int_answer(2));
  EXPECT_EQ(call("/7094"), kJsonHeader + R"({ "status": 2 })");
  EXPECT_TRUE(sent(3309).at(0).payload.empty());
  daemon().answer(2302, int_answer(5));
  EXPECT_EQ(call("/7095"), kJsonHeader + R"({ "res": 0 })");
  daemon().silent(3309);
  daemon().silent(2302);
  EXPECT_EQ(call("/7094"), kJsonError);
  EXPECT_EQ(call("/7095"), kJsonError);
}

TEST_F(Services, FailedWritesAnswerTheErrorWithoutNotice) {
  BrokenSettings broken;
  EXPECT_EQ(call("/7011", R"({"enable": 1})"), kCgiError);
  EXPECT_EQ(call("/7021", R"({"enable": 1})"), kCgiError);
  EXPECT_EQ(call("/7031", R"({"enable": 1})"), kCgiError);
  EXPECT_EQ(call("/7091", R"({"v1_enable": 1})"), kCgiError);
  EXPECT_EQ(call("/7034", R"({"enable": 1})"), kJsonError);
  settle();
  EXPECT_TRUE(codes().empty());
}

}  // namespace

namespace {

// The services' decoders: answers too short for their record are ignored.
TEST_F(Services, DispatcherIgnoresShortServiceAnswers) {
  int32_t one = 1;
  kx_msg_head head = {};
  head.length = 3;
  for (int code : {6729, 7302, 8309, 8409, 8700, 8701}) {
    head.code = code;
    g_callback_done = 0;
    on_network_ipc_callback(0, &head, &one);
    EXPECT_EQ(g_callback_done, 0) << code;
  }
  head.code = 8702;
  head.length = 4;
  on_network_ipc_callback(0, &head, &one);
  EXPECT_EQ(g_callback_done, 0);
  head.code = 6701;
  head.length = 1;
  on_network_ipc_callback(0, &head, &one);  // any payload: the daemon took the time
  EXPECT_EQ(g_callback_done, 1);
  g_callback_done = 0;
  EXPECT_EQ(take_output(), "");
}

}  // namespace
