#include <gtest/gtest.h>

#include <cstring>

#include "camera_test_util.h"
#include "channel_records.h"
#include "json_checks.h"
#include "kxdb.h"
#include "kxdb_osd.h"

using namespace camera_test;

namespace {

using ChannelList = HandlerTest;
using CameraSearch = HandlerTest;
using CameraNetwork = HandlerTest;
using RecordDays = HandlerTest;

template <size_t N>
void set(char (&field)[N], const char *text) {
  snprintf(field, N, "%s", text);
}

connected_camera connected(int channel, const char *ip) {
  connected_camera c = {};
  c.channel = channel;
  c.managePort = 80;
  c.camProtocol = 2;
  c.state = 1;
  set(c.ipAddr, ip);
  set(c.model, "IPC-B2812");
  set(c.chipinfo, "chip");
  c.connectState = 1;
  return c;
}

TEST_F(ChannelList, ConnectedCamerasWithTheirStoredNames) {
  osd_params osd = {};
  osd.camId = 2;
  set(osd.camName, "Lobby");
  ASSERT_EQ(write_osd(KXDB_FILE, &osd), 0);
  Bytes answer = records_answer(std::vector<connected_camera>{connected(2, "192.168.1.103"),
                                                              connected(70, "192.168.1.9")});
  answer.resize(answer.size() + 500);  // a partial record is not listed
  daemon().answer(3201, answer);
  JsonPtr reply = parse_body(call("/2001"));
  ASSERT_TRUE(reply);
  EXPECT_EQ(member_names(reply.get()), (std::vector<std::string>{"IPC", "maxIPCNums"}));
  EXPECT_EQ(int_member(reply.get(), "maxIPCNums"), 32);
  json_object *list = json_member(reply.get(), "IPC");
  ASSERT_EQ(array_length(list), 2);
  json_object *first = array_at(list, 0);
  std::vector<std::string> keys = {
      "id", "enable", "name", "managePort", "camProtocol", "state", "mainRtspPort", "ipAddr",
      "vendor", "sn", "fwVersion", "mac", "model", "poechannel", "physicalport", "alarmin",
      "alarmout", "whiteLed", "ledAlarm", "ledManual", "minorid", "subState", "connectState",
      "snReal", "ddns", "chipinfo"};
  EXPECT_EQ(member_names(first), keys);
  EXPECT_EQ(int_member(first, "id"), 2);
  EXPECT_EQ(int_member(first, "enable"), 1);
  EXPECT_EQ(text_member(first, "name"), "Lobby");
  EXPECT_EQ(text_member(first, "ipAddr"), "192.168.1.103");
  EXPECT_EQ(text_member(first, "chipinfo"), "chip");
  EXPECT_EQ(text_member(array_at(list, 1), "name"), "");  // no such channel
  settle();
  EXPECT_TRUE(sent(3201)[0].payload.empty());
}

TEST_F(ChannelList, AnEmptyAnswerIsAnEmptyListAndSilenceTheJsonError) {
  ASSERT_EQ(kxdb_param_set(KXDB_FILE, "max_cameras", "16"), 0);
  daemon().answer(3201, {});
  JsonPtr reply = parse_body(call("/2007"));
  EXPECT_EQ(array_length(json_member(reply.get(), "IPC")), 0);
  EXPECT_EQ(int_member(reply.get(), "maxIPCNums"), 16);
  daemon().silent(3201);
  EXPECT_EQ(call("/2001"), kJsonError);
}

found_camera found(const char *ip, const char *name) {
  found_camera f = {};
  set(f.ipAddr, ip);
  set(f.macAddr, "00:11:22:33:44:55");
  f.managePort = 80;
  f.protocol = 0;
  set(f.vendor, "Maker");
  set(f.sn, "SN0001");
  set(f.model, "IPC-D4028");
  set(f.netif, "eth0");
  f.active_status = 1;
  set(f.name, name);
  set(f.snReal, "REAL0001");
  return f;
}

TEST_F(CameraSearch, FoundCamerasWithTheSerialNumberTwice) {
  daemon().answer(3200, records_answer(std::vector<found_camera>{
                            found("192.168.1.50", "Dome"), found("192.168.1.51", "Caf\xc3\xa9")}));
  std::string reply = call("/2006", R"({"protocol": 2, "nic": "eth1"})");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  // The second "sn" right after the first (a parser keeps only one of them).
  std::string body = reply_body(reply);
  std::erase(body, ' ');
  EXPECT_NE(body.find(R"("vendor":"Maker","sn":"SN0001","sn":"SN0001","fwVersion")"),
            std::string::npos)
      << body;
  JsonPtr parsed = parse_body(reply);
  EXPECT_EQ(text_member(parsed.get(), "resultString"), "OK");
  json_object *list = json_member(parsed.get(), "IPC");
  ASSERT_EQ(array_length(list), 2);
  std::vector<std::string> keys = {
      "ipAddr", "macAddr", "managePort", "protocol", "vendor", "sn", "fwVersion",
      "model", "modelId", "netmask", "dns", "gateway", "netif", "active_status", "name",
      "snReal"};
  EXPECT_EQ(member_names(array_at(list, 0)), keys);
  EXPECT_EQ(text_member(array_at(list, 0), "name"), "Dome");
  EXPECT_EQ(text_member(array_at(list, 1), "name"), "");  // bytes of 128 and above
  EXPECT_EQ(text_member(array_at(list, 1), "snReal"), "REAL0001");
  settle();
  EXPECT_EQ(sent(3200)[0].payload, bytes_of_int(2));  // "nic" is not sent
}

TEST_F(CameraSearch, NothingFoundAndProtocolsBeyondSeven) {
  daemon().answer(3200, Bytes(100, 0));  // less than one record
  JsonPtr reply = parse_body(call("/2006", R"({"protocol": 0})"));
  EXPECT_EQ(text_member(reply.get(), "resultString"), "NO");
  EXPECT_EQ(array_length(json_member(reply.get(), "IPC")), 0);
  forget();
  EXPECT_EQ(call("/2006", R"({"protocol": 8})"), "");
  EXPECT_EQ(call("/2006", "nonsense"), "");
  settle();
  EXPECT_TRUE(codes().empty());
}

TEST_F(CameraSearch, ConnectionTestsAndTheirResultTexts) {
  const char *request = R"({"ipAddr": "10.1.2.3", "managePort": 50, "userName": "admin",
                            "password": "pw", "camProtocol": 2})";
  const std::pair<int, const char *> results[] = {{0, "OK"}, {4, "OK"}, {1, "NETWORKERROR"},
                                                  {2, "USERERROR"}, {5, "BANDWIDTHERROR"},
                                                  {3, "UNKOWNERROR"}, {-1, "UNKOWNERROR"}};
  for (auto [result, text] : results) {
    daemon().answer(3202, int_answer(result));
    daemon().answer(3227, int_answer(result));
    EXPECT_EQ(call("/2014", request), kTextHeader + text) << result;
    EXPECT_EQ(call("/2015", request), kTextHeader + text) << result;
  }
  settle();
  Bytes t = sent(3202).at(0).payload;
  ASSERT_EQ(t.size(), sizeof(connect_test));
  EXPECT_EQ(text_at(t, 0, 32), "10.1.2.3");
  EXPECT_EQ(word_at(t, 32), 50);
  EXPECT_EQ(text_at(t, 36, 64), "admin");
  EXPECT_EQ(text_at(t, 100, 33), "pw");
  EXPECT_EQ(word_at(t, 136), 2);
  Bytes ex = sent(3227).at(0).payload;
  ASSERT_EQ(ex.size(), sizeof(connect_test_ex));
  EXPECT_EQ(word_at(ex, 0), 0);
  EXPECT_EQ(text_at(ex, 4, 32), "10.1.2.3");
  EXPECT_EQ(word_at(ex, 36), 80);  // raised to 80
  EXPECT_EQ(word_at(ex, 140), 2);

  daemon().silent(3202);
  daemon().silent(3227);
  EXPECT_EQ(call("/2014", request), kCgiError);
  EXPECT_EQ(call("/2015", request), kCgiError);
}

TEST_F(CameraSearch, ConnectionTestsNeedAddressPortAndProtocol) {
  const char *bad[] = {
      R"({"managePort": 80, "camProtocol": 0})",
      R"({"ipAddr": "", "managePort": 80, "camProtocol": 0})",
      R"({"ipAddr": "1.2.3.4", "camProtocol": 0})",
      R"({"ipAddr": "1.2.3.4", "managePort": -1, "camProtocol": 0})",
      R"({"ipAddr": "1.2.3.4", "managePort": 80})",
      R"({"ipAddr": "1.2.3.4", "managePort": 80, "camProtocol": 8})",
  };
  for (const char *request : bad) {
    EXPECT_EQ(call("/2014", request), "") << request;
    EXPECT_EQ(call("/2015", request), "") << request;
  }
  settle();
  EXPECT_TRUE(codes().empty());
}

const char *kNetwork = R"({"macAddr": "00:11:22:33:44:55", "oldIpcAddr": "192.168.1.50",
  "newIpcAddr": "192.168.1.60", "netmask": "255.255.255.0", "gateway": "192.168.1.1",
  "primaryDNS": "8.8.8.8", "port": 80, "username": "admin", "password": "pw",
  "protocol": 2, "netif": "eth0"})";

TEST_F(CameraNetwork, AddressChangeAndItsResults) {
  const std::pair<int, const char *> results[] = {
      {0, "OK"}, {1, "NETWORK_ERR"}, {2, "INVALID_USER"}, {3, "UNKNOWN_ERR"},
      {4, "PROTO_NOT_SUPPORT"}, {9, "ERROR"}};
  for (auto [result, text] : results) {
    daemon().answer(3205, int_answer(result));
    std::string reply = call("/2011", kNetwork);
    EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
    EXPECT_EQ(text_member(parse_body(reply).get(), "resultString"), text);
  }
  settle();
  Bytes n = sent(3205).at(0).payload;
  ASSERT_EQ(n.size(), sizeof(ipc_network));
  EXPECT_EQ(text_at(n, 0, 48), "00:11:22:33:44:55");
  EXPECT_EQ(text_at(n, 48, 32), "192.168.1.50");
  EXPECT_EQ(text_at(n, 80, 32), "192.168.1.60");
  EXPECT_EQ(text_at(n, 112, 32), "255.255.255.0");
  EXPECT_EQ(text_at(n, 144, 32), "192.168.1.1");
  EXPECT_EQ(text_at(n, 176, 32), "8.8.8.8");
  EXPECT_EQ(word_at(n, 208), 80);
  EXPECT_EQ(text_at(n, 212, 64), "admin");
  EXPECT_EQ(text_at(n, 276, 33), "pw");
  EXPECT_EQ(word_at(n, 312), 2);
  EXPECT_EQ(text_at(n, 380, 6), "eth0");

  forget();
  EXPECT_EQ(call("/2011", R"({"macAddr": "x"})"), "");
  std::string too_high = kNetwork;
  too_high.replace(too_high.find("\"port\": 80"), 10, "\"port\": 65537");
  EXPECT_EQ(call("/2011", too_high), "");
  std::string bad_protocol = kNetwork;
  bad_protocol.replace(bad_protocol.find("\"protocol\": 2"), 13, "\"protocol\": 8");
  EXPECT_EQ(call("/2011", bad_protocol), "");
  settle();
  EXPECT_TRUE(codes().empty());
}

TEST_F(CameraNetwork, BatchSendsNoMoreThanCountAndListHold) {
  EXPECT_EQ(call("/2032", R"({"cnt": 5, "oIPCAddr": [
      {"macAddr": "AA", "newIpcAddr": "10.0.0.1", "channelId": 3, "modifynum": 2},
      7,
      {"macAddr": "BB", "newIpcAddr": "10.0.0.2", "channelId": 4, "modifynum": 2}]})"),
            kTextHeader + "OK");
  settle();
  std::vector<SimRequest> batch = sent(3229);
  ASSERT_EQ(batch.size(), 2u);  // the number is skipped, not sent zeroed
  ASSERT_EQ(batch[0].payload.size(), sizeof(ipc_network_batch_entry));
  EXPECT_EQ(text_at(batch[0].payload, 0, 48), "AA");
  EXPECT_EQ(text_at(batch[0].payload, 80, 32), "10.0.0.1");
  EXPECT_EQ(word_at(batch[0].payload, 388), 3);
  EXPECT_EQ(word_at(batch[0].payload, 392), 2);
  EXPECT_EQ(text_at(batch[1].payload, 0, 48), "BB");

  forget();
  EXPECT_EQ(call("/2032", R"({"cnt": 1, "oIPCAddr": [{"macAddr": "A"}, {"macAddr": "B"}]})"),
            kTextHeader + "OK");
  EXPECT_EQ(call("/2032", R"({"cnt": 3})"), kTextHeader + "OK");
  settle();
  EXPECT_EQ(sent(3229).size(), 1u);
}

TEST_F(CameraNetwork, BatchResultsAreClampedToWhatTheAnswerHolds) {
  Bytes answer = int_answer(100);  // more than the two entries that follow
  ipc_network_result a = {}, b = {};
  set(a.mac, "AA:AA");
  a.result = 0;
  set(b.mac, "BB:BB");
  b.result = 1;
  for (const ipc_network_result &r : {a, b}) {
    Bytes bytes = bytes_of(r);
    answer.insert(answer.end(), bytes.begin(), bytes.end());
  }
  answer.resize(answer.size() + 30);
  daemon().answer(3230, answer);
  JsonPtr reply = parse_body(call("/2033"));
  json_object *list = json_member(reply.get(), "IPC");
  ASSERT_EQ(array_length(list), 2);
  EXPECT_EQ(member_names(array_at(list, 0)), (std::vector<std::string>{"mac", "result"}));
  EXPECT_EQ(text_member(array_at(list, 1), "mac"), "BB:BB");
  EXPECT_EQ(int_member(array_at(list, 1), "result"), 1);
  daemon().answer(3230, int_answer(-5));
  EXPECT_EQ(array_length(json_member(parse_body(call("/2033")).get(), "IPC")), 0);
}

TEST_F(RecordDays, MonthOfAChannelAndItsDays) {
  record_days_answer days = {};
  days.days[0] = 1;  // not a day
  days.days[1] = 1;
  days.days[15] = 7;
  days.days[31] = 1;
  daemon().answer(3493, bytes_of(days));
  JsonPtr reply = parse_body(call("/2013", R"({"time": "2024-02-09 10:00:00", "chnid": 5,
                                              "streamType": 1})"));
  ASSERT_EQ(array_length(reply.get()), 31);
  for (int i = 0; i < 31; i++) {
    int expected = (i == 0 || i == 14 || i == 30) ? 1 : 0;
    EXPECT_EQ(element_int(reply.get(), i), expected) << i;
  }
  settle();
  Bytes q = sent(3493).at(0).payload;
  ASSERT_EQ(q.size(), sizeof(record_days_query));
  EXPECT_EQ(word_at(q, 0), 1);
  EXPECT_EQ(word_at(q, 4), 2024);
  EXPECT_EQ(word_at(q, 8), 2);
  EXPECT_EQ(text_at(q, 12, 65), "00000100" + std::string(56, '0'));
  EXPECT_TRUE(zero_between(q, 76, 80));

  daemon().answer(3493, Bytes(100, 1));  // shorter than its 128 bytes: as none
  EXPECT_EQ(call("/2013", R"({"time": "2024-02-09 10:00:00", "chnid": 0,
                              "streamType": 3})"),
            kJsonError);
  settle();
  EXPECT_EQ(word_at(sent(3493).at(1).payload, 0), 0);
}

TEST_F(RecordDays, MissingKeysBadTimesAndChannelsSendNothing) {
  const char *bad[] = {
      R"({"chnid": 1, "streamType": 0})",
      R"({"time": "2024-02-09 10:00:00", "streamType": 0})",
      R"({"time": "2024-02-09 10:00:00", "chnid": 1})",
      R"({"time": "yesterday", "chnid": 1, "streamType": 0})",
      R"({"time": "2024-02-09 10:00:00", "chnid": 64, "streamType": 0})",
      R"({"time": "2024-02-09 10:00:00", "chnid": -1, "streamType": 0})",
  };
  for (const char *request : bad) EXPECT_EQ(call("/2013", request), "") << request;
  settle();
  EXPECT_TRUE(codes().empty());
}

}  // namespace
