// The daemon's status pages, from crafted answers.
#include "status_test_util.h"

namespace {

using StatusPages = StatusTest;

netif_status_record interface_record(int id, const char *name) {
  netif_status_record r = {};
  put_text(r.ifname, name);
  r.id = id;
  r.state = 1;
  r.speedMode = 1000;
  r.duplex = 1;
  r.enable = 1;
  r.dhcpEnable = id;
  put_text(r.ipAddr, "192.168.1.100");
  put_text(r.MAC, "02:4B:58:00:00:10");
  put_text(r.primaryDNS, "192.168.1.1");
  put_text(r.secondDNS, "8.8.8.8");
  put_text(r.gateway, "192.168.1.1");
  put_text(r.netmask, "255.255.255.0");
  r.mtu = 1500;
  r.ip6mode = 2;
  put_text(r.ip6address, "2001:db8::10");
  r.ip6prefix = 64;
  put_text(r.ip6gateway, "2001:db8::1");
  return r;
}

TEST_F(StatusPages, InterfacesInTheirOrderWithIpv6ModeBesideItsAddress) {
  std::vector<netif_status_record> records = {interface_record(0, "eth0"),
                                              interface_record(1, "eth1")};
  // A full-width address without its terminator stays within its field.
  memset(records[1].ip6address, 'a', sizeof records[1].ip6address);
  daemon().answer(3301, records_answer(records));
  std::string reply = call("/8000");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  json_object *list = json_member(body.get(), "netif");
  ASSERT_EQ(json_object_array_length(list), 2u);
  json_object *first = element(list, 0);
  EXPECT_EQ(member_names(first),
            (std::vector<std::string>{"ifname", "id", "state", "speedMode", "duplex", "enable",
                                      "dhcpEnable", "ipAddr", "MAC", "primaryDNS", "secondDNS",
                                      "gateway", "netmask", "mtu", "ip6mode", "ip6address",
                                      "ip6prefix", "ip6gateway"}));
  EXPECT_EQ(text_member(first, "ifname"), "eth0");
  EXPECT_EQ(int_member(first, "speedMode"), 1000);
  EXPECT_EQ(text_member(first, "netmask"), "255.255.255.0");
  EXPECT_EQ(int_member(first, "mtu"), 1500);
  EXPECT_EQ(int_member(first, "ip6mode"), 2);
  EXPECT_EQ(text_member(first, "ip6address"), "2001:db8::10");
  EXPECT_EQ(int_member(first, "ip6prefix"), 64);
  EXPECT_EQ(text_member(first, "ip6gateway"), "2001:db8::1");
  json_object *second = element(list, 1);
  EXPECT_EQ(int_member(second, "dhcpEnable"), 1);
  EXPECT_EQ(text_member(second, "ip6address"), std::string(67, 'a'));
  EXPECT_EQ(int_member(second, "ip6prefix"), 64);
  EXPECT_TRUE(daemon().requests().at(0).payload.empty());
}

TEST_F(StatusPages, TrafficPerInterface) {
  netif_speed_record r = {};
  put_text(r.ifname, "eth1");
  r.RxSpeed = 1200;
  r.TxSpeed = 340;
  r.id = 1;
  daemon().answer(3302, bytes_of(r));
  JsonPtr body = parse_body(call("/8001"));
  ASSERT_TRUE(body);
  json_object *one = element(json_member(body.get(), "netif"), 0);
  EXPECT_EQ(member_names(one), (std::vector<std::string>{"id", "ifname", "RxSpeed", "TxSpeed"}));
  EXPECT_EQ(int_member(one, "id"), 1);
  EXPECT_EQ(text_member(one, "ifname"), "eth1");
  EXPECT_EQ(int_member(one, "RxSpeed"), 1200);
  EXPECT_EQ(int_member(one, "TxSpeed"), 340);
}

camera_stream_record stream_record(int channel) {
  camera_stream_record r = {};
  r.main = {1920, 1080, 25, 4096, 1, 0, 1};
  r.sub = {640, 360, 15, 512, 1, 0, 0};
  r.recordOn = 1;
  r.alarmOn = channel;
  r.channel = channel;
  return r;
}

TEST_F(StatusPages, CameraWithoutStreamRecordShowsDashes) {
  set_param_int(KXDB_FILE, "max_cameras", 4);
  store_camera(0, "Front door", "192.168.1.101");
  store_camera(2, "Lobby", "");
  daemon().answer(3300, records_answer(std::vector<camera_stream_record>{
                            stream_record(0), stream_record(1), stream_record(3)}));
  JsonPtr body = parse_body(call("/8002"));
  ASSERT_TRUE(body);
  json_object *list = json_member(body.get(), "IPC");
  ASSERT_EQ(json_object_array_length(list), 4u);
  json_object *first = element(list, 0);
  EXPECT_EQ(member_names(first), (std::vector<std::string>{"id", "name", "enable", "ipAddr",
                                                           "recordOn", "alarmOn", "main", "sub"}));
  EXPECT_EQ(text_member(first, "name"), "Front door");
  EXPECT_EQ(int_member(first, "enable"), 1);
  EXPECT_EQ(text_member(first, "ipAddr"), "192.168.1.101");
  json_object *main = json_member(first, "main");
  EXPECT_EQ(member_names(main), (std::vector<std::string>{"res", "framerate", "bitrate",
                                                          "connection", "connectStatus"}));
  EXPECT_EQ(int_member(json_member(main, "res"), "width"), 1920);
  EXPECT_EQ(int_member(json_member(main, "res"), "height"), 1080);
  EXPECT_EQ(int_member(json_member(first, "sub"), "bitrate"), 512);
  EXPECT_EQ(int_member(element(list, 1), "alarmOn"), 1);

  json_object *missing = element(list, 2);
  EXPECT_EQ(text_member(missing, "name"), "Lobby");
  EXPECT_EQ(text_member(missing, "ipAddr"), "--");
  EXPECT_EQ(text_member(missing, "recordOn"), "--");
  EXPECT_EQ(text_member(missing, "alarmOn"), "--");
  json_object *none = json_member(missing, "main");
  EXPECT_EQ(member_names(none),
            (std::vector<std::string>{"res", "framerate", "bitrate", "connection"}));
  EXPECT_EQ(text_member(none, "res"), "--");
  EXPECT_EQ(int_member(element(list, 3), "id"), 3);  // channel 3's record still found
  EXPECT_EQ(int_member(json_member(element(list, 3), "main"), "bitrate"), 4096);
}

TEST_F(StatusPages, CameraCountIsCappedAt64AndShortAnswersAreMissing) {
  set_param_int(KXDB_FILE, "max_cameras", 200);
  daemon().answer(3300, bytes_of(stream_record(0)));
  JsonPtr body = parse_body(call("/8002"));
  ASSERT_TRUE(body);
  EXPECT_EQ(json_object_array_length(json_member(body.get(), "IPC")), 64u);
  Bytes short_answer = bytes_of(stream_record(0));
  short_answer.pop_back();
  daemon().answer(3300, short_answer);
  EXPECT_EQ(call("/8002"), kJsonError);
  daemon().silent(3300);
  EXPECT_EQ(call("/8002"), kJsonError);
}

TEST_F(StatusPages, UsageTotals) {
  daemon().answer(3306, bytes_of(usage_totals_record{3000, 2630, 370}));
  JsonPtr body = parse_body(call("/8008"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"total", "free", "used"}));
  EXPECT_EQ(int_member(body.get(), "total"), 3000);
  EXPECT_EQ(int_member(body.get(), "free"), 2630);
  EXPECT_EQ(int_member(body.get(), "used"), 370);
  daemon().answer(3306, Bytes(8, 0));
  EXPECT_EQ(call("/8008"), kJsonError);
}

TEST_F(StatusPages, ChannelSupportTypeTwoInRecordThree) {
  std::vector<channel_support_record> records(SUPPORT_CHANNELS);
  for (int i = 0; i < SUPPORT_CHANNELS; i++) records[i].channel = i;
  records[0] = {0, 1, 1, {}};
  records[3] = {3, 1, 2, {}};
  records[5] = {5, 7, 9, {}};  // neither supported nor of a type
  records[63] = {63, 1, 0, {}};
  daemon().answer(3263, records_answer(records));
  JsonPtr body = parse_body(call("/8009"));
  ASSERT_TRUE(body);
  std::string support = text_member(body.get(), "support");
  std::string type = text_member(body.get(), "type");
  EXPECT_EQ(support, "1001" + std::string(59, '0') + "1");
  EXPECT_EQ(type, "1002" + std::string(60, '0'));
  EXPECT_EQ(cgi_ipc_wait_polls(3263), 3000);

  records.pop_back();  // 63 records are fewer than the daemon owes
  daemon().answer(3263, records_answer(records));
  EXPECT_EQ(call("/8009"), kJsonError);
}

online_user_record user(int i) {
  online_user_record r = {};
  snprintf(r.userName, sizeof r.userName, "user%d", i);
  r.userLevel = i % 3;
  snprintf(r.ipaddr, sizeof r.ipaddr, "10.0.0.%d", i);
  snprintf(r.loginTime, sizeof r.loginTime, "2026-12-10 08:%02d:00", i);
  return r;
}

TEST_F(StatusPages, ThirteenOnlineUsersRead164BytesApart) {
  std::vector<online_user_record> users;
  for (int i = 0; i < 13; i++) users.push_back(user(i));
  Bytes answer = records_answer(users);
  ASSERT_EQ(answer.size(), 13u * 164);
  answer.resize(answer.size() + 100);  // a partial record after them is no record
  daemon().answer(1719, answer);
  std::string reply = call("/8011");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  ASSERT_TRUE(json_object_is_type(body.get(), json_type_array)) << reply;
  ASSERT_EQ(json_object_array_length(body.get()), 13u);
  json_object *last = element(body.get(), 12);
  EXPECT_EQ(member_names(last),
            (std::vector<std::string>{"userName", "userLevel", "ipaddr", "loginTime"}));
  EXPECT_EQ(text_member(last, "userName"), "user12");
  EXPECT_EQ(int_member(last, "userLevel"), 0);
  EXPECT_EQ(text_member(last, "ipaddr"), "10.0.0.12");
  EXPECT_EQ(text_member(last, "loginTime"), "2026-12-10 08:12:00");
  daemon().answer(1719, Bytes(163, 'x'));
  EXPECT_EQ(call("/8011"), kJsonError);
}

TEST_F(StatusPages, DiskGroupsFromTheSettings) {
  disk_group_params group = {};
  group.id = 2;
  put_text(group.channel, "1100");
  ASSERT_EQ(write_group(KXDB_FILE, &group), 0);
  disk_params disk = {};
  disk.port = 1;
  disk.enable = 1;
  disk.group = 2;
  ASSERT_EQ(write_disk(KXDB_FILE, &disk), 0);
  set_param_int(KXDB_FILE, "group_mode", 1);
  set_param_int(KXDB_FILE, "max_cameras", 16);
  JsonPtr body = parse_body(call("/8010"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{"channel", "disk", "max_chan", "group_enable"}));
  json_object *channels = json_member(body.get(), "channel");
  ASSERT_EQ(json_object_array_length(channels), 16u);
  EXPECT_STREQ(json_object_get_string(element(channels, 2)), "1100");
  json_object *disks = json_member(body.get(), "disk");
  ASSERT_EQ(json_object_array_length(disks), 36u);
  EXPECT_EQ(json_object_get_int(element(disks, 0)), 3);
  EXPECT_EQ(json_object_get_int(element(disks, 1)), 0);
  EXPECT_EQ(int_member(body.get(), "max_chan"), 16);
  EXPECT_EQ(int_member(body.get(), "group_enable"), 1);
  EXPECT_TRUE(daemon().requests().empty());
}

TEST_F(StatusPages, ReservedPathAnswersNothingAndSendsNothing) {
  EXPECT_EQ(call("/8004", "{\"x\": 1}"), "");
  EXPECT_TRUE(daemon().requests().empty());
}

TEST_F(StatusPages, UnansweredRequestsGiveTheJsonError) {
  for (auto [path, code] : std::vector<std::pair<const char *, int>>{
           {"/8000", 3301}, {"/8001", 3302}, {"/8003", 3305}, {"/8011", 1719}}) {
    daemon().silent(code);
    EXPECT_EQ(call(path), kJsonError) << path;
  }
}

}  // namespace
