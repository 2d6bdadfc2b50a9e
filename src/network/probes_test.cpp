// IP conflict tests asked of the daemon, the default route, and the
// dispatcher's routing.
#include "network_test_util.h"

namespace {

using Probes = NetworkTest;

TEST_F(Probes, ConflictTestAnswers) {
  daemon().answer(3005, int_bytes(0));
  EXPECT_EQ(call("/7070", R"({"ip": "192.168.1.64"})"), kTextHeader + "0");
  Bytes expected(20, 0);
  memcpy(expected.data(), "192.168.1.64", 12);
  EXPECT_EQ(sent(3005).at(0).payload, expected);

  daemon().answer(3005, int_bytes(3));
  EXPECT_EQ(call("/7070", R"({"ip": "192.168.1.65"})"), kTextHeader + "-1");
  daemon().answer(3005, Bytes{1, 0});  // shorter than its int: as no answer
  EXPECT_EQ(call("/7070", R"({"ip": "192.168.1.65"})"), kCgiError);
  daemon().silent(3005);
  EXPECT_EQ(call("/7070", R"({"ip": "192.168.1.65"})"), kCgiError);

  // A long text is cut to the field; the field keeps its terminator.
  daemon().answer(3005, int_bytes(0));
  daemon().clear();
  call("/7070", R"({"ip": ")" + std::string(300, '9') + R"("})");
  Bytes cut(20, '9');
  cut[19] = 0;
  EXPECT_EQ(sent(3005).at(0).payload, cut);
}

TEST_F(Probes, ConflictTestOnADevice) {
  daemon().answer(3006, int_bytes(0));
  EXPECT_EQ(call("/7071", R"({"dev": "eth1", "ip": "192.168.2.100"})"), kTextHeader + "0");
  Bytes expected(32, 0);
  memcpy(expected.data(), "eth1", 4);
  memcpy(expected.data() + 16, "192.168.2.100", 13);
  EXPECT_EQ(sent(3006).at(0).payload, expected);

  daemon().answer(3006, int_bytes(-5));
  EXPECT_EQ(call("/7071", R"({"dev": "eth0", "ip": "192.168.1.1"})"), kTextHeader + "-1");
  daemon().silent(3006);
  EXPECT_EQ(call("/7071", R"({"dev": "eth0", "ip": "192.168.1.1"})"), kCgiError);
}

TEST_F(Probes, ConflictBodiesThatAreNoRequests) {
  for (const char *body : {"", "{", "12", "[\"ip\"]"}) {
    EXPECT_EQ(call("/7070", body), "") << body;
    EXPECT_EQ(call("/7071", body), "") << body;
  }
  EXPECT_TRUE(codes().empty());
}

TEST_F(Probes, DefaultRouteAnsweredRefusedAndTimedOut) {
  network_params r{};
  r.mode = 0;
  set_text(r.hostName, "recorder-1");
  set_text(r.port[1].ipAddr, "192.168.2.100");
  store(r);

  daemon().answer(1724, int_bytes(0));
  std::string reply = call("/7096", R"({"defaultRoute": 1})");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"res"}));
  EXPECT_EQ(int_member(body.get(), "res"), 0);
  EXPECT_EQ(sent(1724).at(0).payload, int_bytes(1));
  network_params after = stored();
  EXPECT_EQ(after.defaultRoute, 1);
  EXPECT_STREQ(after.hostName, "recorder-1");  // the rest of the record stays
  EXPECT_STREQ(after.port[1].ipAddr, "192.168.2.100");

  daemon().answer(1724, int_bytes(-1));
  EXPECT_EQ(int_member(parse_body(call("/7096", R"({"defaultRoute": 7})")).get(), "res"), -1);
  EXPECT_EQ(stored().defaultRoute, 7);  // the daemon's refusal is the page's to show

  daemon().silent(1724);
  EXPECT_EQ(call("/7096", R"({"defaultRoute": 1})"), kJsonError);
  daemon().answer(1724, Bytes{0, 0});
  EXPECT_EQ(call("/7096", R"({"defaultRoute": 1})"), kJsonError);

  daemon().answer(1724, int_bytes(0));
  daemon().clear();
  call("/7096", R"({"other": 1})");  // no key: the first port
  EXPECT_EQ(stored().defaultRoute, 0);
  EXPECT_EQ(sent(1724).at(0).payload, int_bytes(0));
}

TEST_F(Probes, DefaultRouteFailures) {
  for (const char *body : {"", "{", "1", "null"}) {
    EXPECT_EQ(call("/7096", body), kJsonError) << body;
  }
  EXPECT_TRUE(codes().empty());
  BrokenSettings broken;
  daemon().answer(1724, int_bytes(0));
  EXPECT_EQ(call("/7096", R"({"defaultRoute": 1})"), kJsonError);
  EXPECT_TRUE(codes().empty());  // nothing sent when the write failed
}

// Answers the network table does not decode leave the flag alone.
TEST(NetworkDispatcher, RoutesKnownCodesAndIgnoresTheRest) {
  int32_t one = 1;
  kx_msg_head head = {};
  head.length = 4;
  for (int code : {8007, 1724, 6702, 8703}) {
    head.code = code;
    g_callback_done = 0;
    on_network_ipc_callback(0, &head, &one);
    EXPECT_EQ(g_callback_done, 0) << code;
  }
  head.code = 8005;
  g_callback_done = 0;
  on_network_ipc_callback(0, &head, nullptr);  // no payload
  EXPECT_EQ(g_callback_done, 0);
  head.length = 3;
  on_network_ipc_callback(0, &head, &one);  // no whole int
  EXPECT_EQ(g_callback_done, 0);
}

}  // namespace
