// Service ports, the PoE port range, ports in use and the push options.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "network_test_util.h"

namespace {

using Ports = NetworkTest;

// A TCP socket listening on a loopback port of the device root.
struct Listener {
  int fd = -1;
  int port = 0;
  Listener() {
    fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(bind(fd, (sockaddr *)&a, sizeof a), 0);
    EXPECT_EQ(listen(fd, 1), 0);
    socklen_t len = sizeof a;
    getsockname(fd, (sockaddr *)&a, &len);
    port = ntohs(a.sin_port);
  }
  ~Listener() { close(fd); }
};

port_params factory_ports() {
  port_params r{};
  r.enableSsh = 0;
  r.sshPort = 22;
  r.httpPort = 80;
  r.rtspPort = 554;
  r.servicePort = 6036;
  r.httpsPort = 443;
  set_text(r.hostName, "nvr-lobby");
  return r;
}

std::string port_body(const std::string &extra) {
  return R"({"enableSsh": 1, "sshPort": 22, "httpPort": 80, "rtspPort": 554,
             "servicePort": 6036, "enableMsg": 1)" + extra + "}";
}

class PortsTest : public Ports {
 protected:
  void SetUp() override {
    Ports::SetUp();
    port_params r = factory_ports();
    ASSERT_EQ(write_port(KXDB_FILE, &r), 0);
  }
  static port_params ports() {
    port_params r{};
    EXPECT_EQ(read_port(KXDB_FILE, &r), 0);
    return r;
  }
};

TEST_F(PortsTest, PoeRangeFollowsMaxPoeNum) {
  for (int poe : {4, 8, 16}) {
    set_param_int(KXDB_FILE, "max_poe_num", poe);
    EXPECT_EQ(check_value(23000), 0);
    EXPECT_EQ(check_value(23001), 1);
    EXPECT_EQ(check_value(23000 + poe), 1);
    EXPECT_EQ(check_value(23001 + poe), 0);
  }
  set_param_int(KXDB_FILE, "max_poe_num", 6);
  EXPECT_EQ(check_value(23001), 0);

  set_param_int(KXDB_FILE, "max_poe_num", 8);
  EXPECT_EQ(call("/7051", port_body(R"(, "httpPort": 23005)")),
            kTextHeader + "POE_Port_Error");
  EXPECT_EQ(ports().httpPort, 80);
  EXPECT_EQ(call("/7051", port_body(R"(, "httpPort": 23009)")), kTextOk);
  EXPECT_EQ(ports().httpPort, 23009);
}

TEST_F(PortsTest, PortInUseIsRefusedUnlessUnchanged) {
  Listener busy;
  EXPECT_EQ(call("/7051", port_body(", \"httpsPort\": " + std::to_string(busy.port))),
            kTextHeader + "POE_Port_Error");
  port_params after = ports();
  port_params before = factory_ports();
  EXPECT_EQ(memcmp(&after, &before, sizeof after), 0);  // nothing of the record written

  port_params r = factory_ports();
  r.sshPort = busy.port;  // stored as it is: passes although in use
  ASSERT_EQ(write_port(KXDB_FILE, &r), 0);
  EXPECT_EQ(call("/7051", port_body(", \"sshPort\": " + std::to_string(busy.port) +
                                    R"(, "rtspPort": )" + std::to_string(busy.port))),
            kTextOk);
  EXPECT_EQ(ports().rtspPort, busy.port);  // stored without a port check
  EXPECT_EQ(ports().enableSsh, 1);
}

TEST_F(PortsTest, SuccessOrderWithRebootAndPushSettings) {
  set_param_int(KXDB_FILE, "ch_access", 0);
  EXPECT_EQ(call("/7051", port_body(R"(, "enableAccess": 1, "httpPort": 8080,
                                       "servicePort": 1, "pushType": 3,
                                       "PushTypeNvrAlarmIn": 5, "channel_num": 3,
                                       "pushTypeArr": [7, 8, 9, 10], "pushNvrPos": "hall",
                                       "pushVideoStream": 1, "needReboot": 1)")),
            kTextOk);
  settle();
  EXPECT_EQ(codes(), (std::vector<int>{3618, 3617, 3485, 1702, 3485, 1703}));
  EXPECT_EQ(sent(3618).at(0).payload, int_bytes(1));
  Bytes enable(10, 0);
  enable[0] = '1';
  EXPECT_EQ(sent(3617).at(0).payload, enable);
  EXPECT_EQ(text_at(sent(1702).at(0).payload, 0, 32), "more");
  EXPECT_TRUE(sent(1703).at(0).payload.empty());
  EXPECT_EQ(logs().at(0).param_type, 918);
  EXPECT_EQ(logs().at(1).sub_type, 200);
  EXPECT_EQ(ports().httpPort, 8080);
  EXPECT_EQ(ports().servicePort, 6036);  // checked, not stored

  set_param_int(KXDB_FILE, "max_cameras", 4);
  JsonPtr reply = parse_body(call("/7050"));
  EXPECT_EQ(member_names(reply.get()),
            (std::vector<std::string>{"enableSsh", "sshPort", "httpPort", "httpsPort",
                                      "rtspPort", "servicePort", "enable_access", "PushTypeArr",
                                      "PushNvrAlarmInType", "enableMsg", "push_stream",
                                      "pushNvrPos"}));
  json_object *types = json_member(reply.get(), "PushTypeArr");
  ASSERT_EQ(array_length(types), 4);
  EXPECT_EQ(element_int(types, 0), 7);
  EXPECT_EQ(element_int(types, 2), 9);
  EXPECT_EQ(element_int(types, 3), 0);  // beyond channel_num: never written
  EXPECT_EQ(int_member(reply.get(), "PushNvrAlarmInType"), 5);
  EXPECT_EQ(int_member(reply.get(), "enableMsg"), 1);
  EXPECT_EQ(int_member(reply.get(), "push_stream"), 1);
  EXPECT_EQ(text_member(reply.get(), "pushNvrPos"), "hall");
}

TEST_F(PortsTest, PushDefaultsAndBounds) {
  JsonPtr reply = parse_body(call("/7050"));
  EXPECT_EQ(int_member(reply.get(), "PushNvrAlarmInType"), 0xffff);
  EXPECT_EQ(array_length(json_member(reply.get(), "PushTypeArr")), 32);

  // A channel count beyond the array and the 64 channels writes what both hold.
  std::string many = "[";
  for (int i = 0; i < 70; i++) many += std::to_string(i + 100) + (i < 69 ? "," : "]");
  EXPECT_EQ(call("/7051", port_body(R"(, "enableMsg": 5, "channel_num": 100000, "pushTypeArr": )" + many)),
            kTextOk);
  push_msg_event events[80];
  int count = 0;
  ASSERT_EQ(read_push_msg_events(KXDB_FILE, events, 80, &count), 0);
  EXPECT_EQ(count, 64);
  EXPECT_EQ(events[63].type, 163);
  EXPECT_EQ(call("/7051", port_body(R"(, "channel_num": 9, "pushTypeArr": [1])")), kTextOk);
  EXPECT_EQ(get_param_int(KXDB_FILE, "enable_push_msg", -1), 1);

  forget();
  for (const char *bad : {R"({"enableSsh": 2})", R"({"sshPort": 1, "httpPort": 1})",
                          "{\"enableSsh\": 0, \"sshPort\": -1, \"httpPort\": 80, \"rtspPort\": 1, "
                          "\"servicePort\": 1, \"enableMsg\": 0}"}) {
    EXPECT_EQ(call("/7051", bad), "") << bad;
  }
  EXPECT_TRUE(codes().empty());
}

TEST_F(PortsTest, EnableMsgOutsideZeroOrOneStoresZero) {
  EXPECT_EQ(call("/7051", port_body(R"(, "enableMsg": 5)")), kTextOk);
  EXPECT_EQ(get_param_int(KXDB_FILE, "enable_push_msg", -1), 0);
  settle();
  EXPECT_EQ(text_at(sent(3617).at(0).payload, 0, 10), "0");
}

}  // namespace
