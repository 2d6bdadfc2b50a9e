// The network settings pages: each layout of "/7040" from stored records,
// saving in both modes, the stored mode, restart and the MAC text.
#include "network_test_util.h"
#include "peer_netns.h"

namespace {

using Addressing = NetworkTest;
using Names = std::vector<std::string>;

const Names kMultiKeys = {
    "mode",           "hostName",    "enableNetwork1", "networkType", "ipAddr",
    "netmask",        "gateway",     "ip6networkType", "ip6Addr",     "ip6netmask",
    "ip6gateway",     "macAddr",     "DNS1",           "DNS2",        "mtu",
    "enableNetwork2", "networkType2", "ipAddr2",       "netmask2",    "gateway2",
    "ip6networkType2", "ip6Addr2",   "ip6netmask2",    "ip6gateway2", "macAddr2",
    "DNS12",          "DNS22",       "mtu2",           "defaultRoute"};
const Names kBondKeys = {"mode",     "hostName",       "primaryNet", "enableNetwork1",
                         "networkType", "ipAddr",      "netmask",    "gateway",
                         "macAddr",  "DNS1",           "DNS2",       "mtu",
                         "ip6networkType", "ip6Addr",  "ip6netmask", "ip6gateway",
                         "defaultRoute"};

network_params sample(int mode) {
  network_params r{};
  r.mode = mode;
  set_text(r.hostName, "recorder-1");
  r.primaryNet = 1;
  r.bond = ipv4(1, 0, "10.0.0.5", "255.0.0.0", "10.0.0.1", "10.0.0.2", "10.0.0.3", 9000);
  r.port[0] = ipv4(1, 0, "192.168.1.100", "255.255.255.0", "192.168.1.1", "192.168.1.2",
                   "8.8.8.8", 1500);
  r.port[1] = ipv4(0, 1, "192.168.2.100", "255.255.255.0", "192.168.2.1", "192.168.2.2",
                   "8.8.4.4", 1400);
  r.port6[0] = ipv6("2001:db8::10", "64", "2001:db8::1");
  r.port6[1] = ipv6("2001:db8:2::10", "48", "2001:db8:2::1");
  r.ip6networkType[1] = 1;  // obtained and stored: the stored values count
  r.bond6 = ipv6("2001:db8:b::10", "56", "2001:db8:b::1");
  r.defaultRoute = 1;
  return r;
}

TEST_F(Addressing, MultiAddressLayoutFromTheStoredRecord) {
  store(sample(0));
  std::string reply = call("/7040", "0");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), kMultiKeys);
  json_object *o = body.get();
  EXPECT_EQ(text_member(o, "hostName"), "recorder-1");
  EXPECT_EQ(text_member(o, "ipAddr"), "192.168.1.100");
  EXPECT_EQ(text_member(o, "DNS2"), "8.8.8.8");
  EXPECT_EQ(int_member(o, "mtu"), 1500);
  EXPECT_EQ(int_member(o, "enableNetwork2"), 0);
  EXPECT_EQ(int_member(o, "networkType2"), 1);
  EXPECT_EQ(text_member(o, "gateway2"), "192.168.2.1");
  EXPECT_EQ(text_member(o, "DNS12"), "192.168.2.2");
  EXPECT_EQ(int_member(o, "mtu2"), 1400);
  EXPECT_EQ(text_member(o, "ip6Addr"), "2001:db8::10");
  EXPECT_EQ(text_member(o, "ip6netmask2"), "48");
  EXPECT_EQ(text_member(o, "ip6gateway2"), "2001:db8:2::1");
  EXPECT_EQ(int_member(o, "defaultRoute"), 1);
  char mac0[18], mac1[18];
  get_mac_addr(mac0, mac1);  // no such ports here: the fallbacks
  EXPECT_EQ(text_member(o, "macAddr"), mac0);
  EXPECT_EQ(text_member(o, "macAddr2"), mac1);
}

TEST_F(Addressing, BondedLayoutFromTheStoredRecord) {
  store(sample(0));
  for (const char *layout : {"1", "2"}) {
    JsonPtr body = parse_body(call("/7040", layout));
    ASSERT_TRUE(body);
    json_object *o = body.get();
    EXPECT_EQ(member_names(o), kBondKeys);
    EXPECT_EQ(int_member(o, "mode"), 0);  // the stored mode, whatever the layout
    EXPECT_EQ(int_member(o, "primaryNet"), 1);
    EXPECT_EQ(text_member(o, "ipAddr"), "10.0.0.5");
    EXPECT_EQ(text_member(o, "DNS2"), "10.0.0.3");
    EXPECT_EQ(int_member(o, "mtu"), 9000);
    EXPECT_EQ(text_member(o, "ip6Addr"), "2001:db8:b::10");
    EXPECT_EQ(text_member(o, "ip6netmask"), "56");
    EXPECT_EQ(int_member(o, "defaultRoute"), 1);
  }
}

// Fields put at their byte offsets reach the keys of their mode.
TEST_F(Addressing, KeysComeFromTheirOffsets) {
  unsigned char raw[sizeof(network_params)] = {};
  auto put_text = [&](size_t offset, const char *text) { memcpy(raw + offset, text, strlen(text)); };
  auto put_int = [&](size_t offset, int32_t v) { memcpy(raw + offset, &v, 4); };
  put_int(0, 2);
  put_text(4, std::string(131, 'h').c_str());
  put_int(136, 1);
  put_text(148, "1.1.1.148");
  put_int(228, 1228);
  put_text(240, "1.1.1.240");
  put_int(320, 1320);
  put_text(332, "1.1.1.332");
  put_int(412, 1412);
  put_text(452, "::452");
  put_text(596, "::596");
  put_text(676, "::676");
  put_text(748, "::748");
  put_text(828, "::828");
  put_int(896, 7);
  network_params r;
  memcpy(&r, raw, sizeof r);
  store(r);

  JsonPtr bond = parse_body(call("/7040", "9"));  // any other number: the stored mode
  ASSERT_TRUE(bond);
  EXPECT_EQ(text_member(bond.get(), "hostName"), std::string(131, 'h'));
  EXPECT_EQ(int_member(bond.get(), "primaryNet"), 1);
  EXPECT_EQ(text_member(bond.get(), "ipAddr"), "1.1.1.148");
  EXPECT_EQ(int_member(bond.get(), "mtu"), 1228);
  EXPECT_EQ(text_member(bond.get(), "ip6Addr"), "::748");
  EXPECT_EQ(text_member(bond.get(), "ip6gateway"), "::828");
  EXPECT_EQ(int_member(bond.get(), "defaultRoute"), 7);

  JsonPtr multi = parse_body(call("/7040", "0"));
  ASSERT_TRUE(multi);
  EXPECT_EQ(text_member(multi.get(), "ipAddr"), "1.1.1.240");
  EXPECT_EQ(int_member(multi.get(), "mtu"), 1320);
  EXPECT_EQ(text_member(multi.get(), "ipAddr2"), "1.1.1.332");
  EXPECT_EQ(int_member(multi.get(), "mtu2"), 1412);
  EXPECT_EQ(text_member(multi.get(), "ip6Addr"), "::452");
  EXPECT_EQ(text_member(multi.get(), "ip6Addr2"), "::596");
  EXPECT_EQ(text_member(multi.get(), "ip6gateway2"), "::676");
}

TEST_F(Addressing, LayoutChoiceAndMissingBody) {
  store(sample(0));
  EXPECT_EQ(member_names(parse_body(call("/7040", "7")).get()), kMultiKeys);
  EXPECT_EQ(member_names(parse_body(call("/7040", "-1")).get()), kMultiKeys);
  EXPECT_EQ(member_names(parse_body(call("/7040", "abc")).get()), kMultiKeys);  // reads as 0
  network_params r = sample(3);
  store(r);
  EXPECT_EQ(reply_body(call("/7040", "7")), R"({ "defaultRoute": 0 })");
  EXPECT_EQ(reply_body(call("/7040", "99999999999")), R"({ "defaultRoute": 0 })");
  EXPECT_EQ(member_names(parse_body(call("/7040", "2")).get()), kBondKeys);
  EXPECT_EQ(call("/7040", ""), "");
  EXPECT_EQ(call("/7040", " \r\n"), "");
}

TEST_F(Addressing, LiveIpv6ValuesAndTheRealHardwareAddress) {
  if (!PeerNetns::in_device_root()) GTEST_SKIP() << "needs the device root's namespaces";
  if (!net_is_haveipv6()) GTEST_SKIP() << "the kernel has no IPv6";
  PeerNetns net("eth0", "10.90.0.1/24", "10.90.0.2/24", "02:00:00:00:90:ab");
  ASSERT_TRUE(net.ok());
  ASSERT_TRUE(PeerNetns::ip({"-6", "addr", "add", "2001:db8:90::1/64", "dev", "eth0", "nodad"}));
  ASSERT_TRUE(
      PeerNetns::ip({"-6", "route", "add", "default", "via", "2001:db8:90::fe", "dev", "eth0"}));
  network_params r = sample(0);
  r.ip6networkType[0] = 2;  // automatic: what the port holds now
  r.ip6networkType[1] = 1;
  set_text(r.port6[1].ip6netmask, "");  // not obtained yet: live, and eth1 is absent
  store(r);

  JsonPtr body = parse_body(call("/7040", "0"));
  ASSERT_TRUE(body);
  json_object *o = body.get();
  EXPECT_EQ(text_member(o, "ip6Addr"), "2001:db8:90::1");
  EXPECT_EQ(text_member(o, "ip6netmask"), "64");
  EXPECT_EQ(text_member(o, "ip6gateway"), "2001:db8:90::fe");
  EXPECT_EQ(text_member(o, "macAddr"), "02:00:00:00:90:AB");
  for (const char *absent : {"ip6Addr2", "ip6netmask2", "ip6gateway2"}) {
    EXPECT_FALSE(json_member(o, absent)) << absent;
  }
  EXPECT_EQ(member_names(o).size(), kMultiKeys.size() - 3);

  // The bonded interface does not exist here: its live keys are absent.
  r.mode = 1;
  r.bond6networkType = 2;
  store(r);
  body = parse_body(call("/7040", "1"));
  ASSERT_TRUE(body);
  EXPECT_FALSE(json_member(body.get(), "ip6Addr"));
  EXPECT_EQ(text_member(body.get(), "macAddr"), "02:00:00:00:90:AB");
}

TEST_F(Addressing, SavingTwoPortsWritesTheirFieldsAndSendsNoticesInOrder) {
  store(sample(0));
  std::string body = R"({"mode": 0, "slaveClear": 3, "enableNetwork1": 1, "networkType": 1,
    "ipAddr": "192.168.1.120", "netmask": "255.255.0.0", "gateway": "192.168.1.254",
    "mtu": 1480, "DNS1": "1.1.1.1", "DNS2": "9.9.9.9", "enableNetwork2": 1,
    "networkType2": 0, "ipAddr2": "192.168.2.120", "netmask2": "255.255.255.128",
    "gateway2": "192.168.2.254", "mtu2": 1200, "DNS12": "1.0.0.1", "DNS22": "149.112.112.112",
    "ip6networkType": 0, "ip6Addr": "2001:db8::20", "ip6netmask": "60", "ip6gateway": "2001:db8::fe",
    "ip6networkType2": 2, "ip6Addr2": "2001:db8:2::20", "ip6gateway2": "2001:db8:2::fe",
    "defaultRoute": 0, "ipAddr_": "ignored", "hostName": "not-taken",
    "primaryNet": 0})";
  EXPECT_EQ(call("/7041", body), kTextOk);
  network_params r = stored();
  EXPECT_STREQ(r.port[0].ipAddr, "192.168.1.120");
  EXPECT_EQ(r.port[0].networkType, 1);
  EXPECT_EQ(r.port[0].mtu, 1480);
  EXPECT_STREQ(r.port[0].DNS2, "9.9.9.9");
  EXPECT_EQ(r.port[1].enable, 1);
  EXPECT_STREQ(r.port[1].netmask, "255.255.255.128");
  EXPECT_STREQ(r.port[1].DNS2, "149.112.112.112");
  EXPECT_EQ(r.port[1].mtu, 1200);
  EXPECT_STREQ(r.port6[0].ip6netmask, "60");
  EXPECT_STREQ(r.port6[0].ip6gateway, "2001:db8::fe");
  EXPECT_EQ(r.ip6networkType[1], 2);
  EXPECT_STREQ(r.port6[1].ip6Addr, "2001:db8:2::20");
  EXPECT_STREQ(r.port6[1].ip6gateway, "2001:db8:2::1");  // automatic: kept
  EXPECT_STREQ(r.port6[1].ip6netmask, "48");             // absent: kept
  EXPECT_EQ(r.defaultRoute, 0);
  EXPECT_STREQ(r.hostName, "recorder-1");  // read only
  EXPECT_EQ(r.primaryNet, 1);              // only mode 2 takes it
  EXPECT_STREQ(r.bond.ipAddr, "10.0.0.5");  // the bonded settings stay

  EXPECT_EQ(codes(), (std::vector<int>{3023, 1702, 3485}));
  EXPECT_EQ(sent(3023).at(0).payload, int_bytes(3));
  Bytes name(32, 0);
  memcpy(name.data(), "network", 7);
  EXPECT_EQ(sent(1702).at(0).payload, name);
  auto entries = logs();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].main_type, 4);
  EXPECT_EQ(entries[0].sub_type, 204);
  EXPECT_EQ(entries[0].param_type, 914);
  EXPECT_STREQ(entries[0].user_name, "admin");
}

TEST_F(Addressing, SavingBondedSettingsKeepsTheOtherModeAndTheRoute) {
  store(sample(0));
  std::string body = R"({"mode": 2, "primaryNet": 0, "ipAddr": "172.16.0.9",
    "mtu": 1500, "ip6networkType": 2, "ip6Addr": "2001:db8:b::99",
    "ip6gateway": "2001:db8:b::fe", "defaultRoute": 0, "Conflict": 1, "ipAddr2": "x"})";
  EXPECT_EQ(call("/7041", body), kTextOk);
  network_params r = stored();
  EXPECT_EQ(r.mode, 2);
  EXPECT_EQ(r.primaryNet, 0);
  EXPECT_STREQ(r.bond.ipAddr, "172.16.0.9");
  EXPECT_STREQ(r.bond.netmask, "255.0.0.0");  // absent: kept
  EXPECT_EQ(r.bond.mtu, 1500);
  EXPECT_EQ(r.bond6networkType, 2);
  EXPECT_STREQ(r.bond6.ip6Addr, "2001:db8:b::99");
  EXPECT_STREQ(r.bond6.ip6gateway, "2001:db8:b::1");  // automatic: kept
  EXPECT_EQ(r.defaultRoute, 1);                        // only the two-port save takes it
  EXPECT_STREQ(r.port[1].ipAddr, "192.168.2.100");
  EXPECT_STREQ(r.hostName, "recorder-1");

  EXPECT_EQ(codes(), (std::vector<int>{3023, 1702, 3485, 3485}));
  EXPECT_EQ(sent(3023).at(0).payload, int_bytes(0));
  auto entries = logs();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].main_type, 32);
  EXPECT_EQ(entries[1].sub_type, 406);
  EXPECT_EQ(entries[1].param_type, 914);

  // Mode absent: the stored mode (2) stays, and selects the bonded fields.
  daemon().clear();
  EXPECT_EQ(call("/7041", R"({"ipAddr": "172.16.0.10", "primaryNet": 1, "Conflict": 2})"),
            kTextOk);
  r = stored();
  EXPECT_EQ(r.mode, 2);
  EXPECT_EQ(r.primaryNet, 1);
  EXPECT_STREQ(r.bond.ipAddr, "172.16.0.10");
  EXPECT_EQ(logs().size(), 1u);  // only Conflict 1 adds the second entry
}

TEST_F(Addressing, SavedTextsAreCutToTheirFields) {
  store(sample(1));
  std::string body = R"({"ipAddr": ")" + std::string(40, '1') + R"(", "ip6Addr": ")" +
                     std::string(5000, 'a') + R"(", "ip6netmask": ")" + std::string(20, '6') +
                     R"(", "mtu": "1500", "enableNetwork1": [1]})";
  EXPECT_EQ(call("/7041", body), kTextOk);
  network_params r = stored();
  EXPECT_EQ(std::string(r.bond.ipAddr), std::string(15, '1'));
  EXPECT_EQ(std::string(r.bond6.ip6Addr), std::string(63, 'a'));
  EXPECT_EQ(std::string(r.bond6.ip6netmask), std::string(15, '6'));
  EXPECT_EQ(r.bond.mtu, 1500);
  EXPECT_EQ(r.bond.enable, 0);
}

TEST_F(Addressing, SaveFailuresAndBodiesThatAreNoSettings) {
  for (const char *body : {"", "{", "5", "[1, 2]", "null", "\"text\""}) {
    EXPECT_EQ(call("/7041", body), "") << body;
  }
  EXPECT_TRUE(codes().empty());
  BrokenSettings broken;
  EXPECT_EQ(call("/7041", R"({"mode": 0, "ipAddr": "192.168.1.5"})"), kCgiError);
  EXPECT_EQ(call("/7041", R"({"mode": 1, "ipAddr": "192.168.1.5", "Conflict": 1})"), kCgiError);
  EXPECT_TRUE(codes().empty());  // no notice, no log entry
}

TEST_F(Addressing, StoredModeRestartAndMacText) {
  EXPECT_EQ(call("/7042"), kTextHeader + "0");  // factory default
  store(sample(2));
  EXPECT_EQ(call("/7042"), kTextHeader + "2");

  EXPECT_EQ(call("/7043"), kTextOk);
  EXPECT_EQ(sent(1712).at(0).payload, Bytes(32, 0));

  EXPECT_EQ(reply_body(call("/7044")), R"({ "mac0": "" })");
  ASSERT_EQ(write_mac_conf("001122AABBCC"), 0);
  std::string reply = call("/7044");
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  EXPECT_EQ(text_member(parse_body(reply).get(), "mac0"), "00:11:22:AA:BB:CC");
}

TEST(MacText, ColonsOnlyBeforeAFurtherAlphanumericAndWithinTheField) {
  char out[MAC0_SIZE];
  format_mac0("001122AABBCC", out);
  EXPECT_STREQ(out, "00:11:22:AA:BB:CC");
  format_mac0("0011-2", out);
  EXPECT_STREQ(out, "00:11-2");
  format_mac0("00112", out);
  EXPECT_STREQ(out, "00:11:2");
  format_mac0("", out);
  EXPECT_STREQ(out, "");
  // 31 stored characters would need 46: the field ends after 31.
  std::string stored = "0123456789ABCDEF0123456789ABCDE";
  ASSERT_EQ(stored.size(), 31u);
  format_mac0(stored.c_str(), out);
  EXPECT_STREQ(out, "01:23:45:67:89:AB:CD:EF:01:23:4");
}

TEST_F(Addressing, MacOfThirtyOneStoredCharacters) {
  ASSERT_EQ(write_mac_conf(std::string(40, 'F').c_str()), 0);  // the reader keeps 31
  JsonPtr body = parse_body(call("/7044"));
  ASSERT_TRUE(body);
  std::string mac0 = text_member(body.get(), "mac0");
  EXPECT_EQ(mac0.size(), 31u);
  EXPECT_EQ(mac0, "FF:FF:FF:FF:FF:FF:FF:FF:FF:FF:F");
}

}  // namespace
