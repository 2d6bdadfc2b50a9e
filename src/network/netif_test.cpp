// Interface utilities against real interfaces of the device root's network
// namespace (a veth pair to a second namespace), and their parsers on
// tables of the kernel's formats.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "cgi_runner.h"
#include "kxstd.h"
#include "netif.h"
#include "peer_netns.h"
#include "web_utils.h"

namespace {

using Clock = std::chrono::steady_clock;

#define REQUIRE_DEVICE_ROOT()                                                            \
  if (!PeerNetns::in_device_root()) GTEST_SKIP() << "needs the device root's namespaces"

void write_text(const std::string &path, const std::string &text) {
  std::ofstream(path) << text;
}

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

TEST(ArpProbe, AnswersWhetherAnotherHostOwnsTheAddress) {
  REQUIRE_DEVICE_ROOT();
  PeerNetns net("vprobe0", "10.77.0.1/24", "10.77.0.2/24");
  ASSERT_TRUE(net.ok());
  ASSERT_TRUE(net.peer_ip({"addr", "add", "10.77.0.9/24", "dev", "pvprobe0"}));

  auto start = Clock::now();
  EXPECT_EQ(if_ip_check("vprobe0", "10.77.0.2"), 1);
  EXPECT_EQ(if_ip_check("vprobe0", "10.77.0.9"), 1);  // a second address of the peer
  EXPECT_LT(seconds_since(start), 1.5);               // the reply ends the wait

  start = Clock::now();
  EXPECT_EQ(if_ip_check("vprobe0", "10.77.0.3"), 0);  // nobody there
  double waited = seconds_since(start);
  EXPECT_GE(waited, 1.9);
  EXPECT_LT(waited, 3.5);

  start = Clock::now();
  EXPECT_EQ(if_ip_check("vprobe0", "10.77.0.1"), 1);  // our own address, without asking
  EXPECT_LT(seconds_since(start), 0.5);
}

TEST(ArpProbe, RefusesWhatItCannotProbe) {
  REQUIRE_DEVICE_ROOT();
  PeerNetns net("vprobe1", "10.77.1.1/24", "10.77.1.2/24");
  ASSERT_TRUE(net.ok());
  EXPECT_EQ(if_ip_check("nosuch0", "10.77.1.2"), -1);
  EXPECT_EQ(if_ip_check("lo", "127.0.0.2"), -1);  // no Ethernet address
  EXPECT_EQ(if_ip_check("vprobe1", "10.77.1.300"), -1);
  EXPECT_EQ(if_ip_check("vprobe1", ""), -1);
  EXPECT_EQ(if_ip_check("vprobe1", nullptr), -1);
  EXPECT_EQ(if_ip_check(nullptr, "10.77.1.2"), -1);
  EXPECT_EQ(if_ip_check(std::string(40, 'e').c_str(), "10.77.1.2"), -1);
  ASSERT_TRUE(PeerNetns::ip({"addr", "flush", "dev", "vprobe1"}));
  EXPECT_EQ(if_ip_check("vprobe1", "10.77.1.2"), -1);  // no address of its own
}

TEST(Netconf, ReportsTheInterfaceAndItsDefaultGateway) {
  REQUIRE_DEVICE_ROOT();
  PeerNetns net("vnet0", "10.78.0.1/24", "10.78.0.2/24", "02:00:00:00:78:01");
  ASSERT_TRUE(net.ok());
  ASSERT_TRUE(PeerNetns::ip({"link", "set", "vnet0", "mtu", "1400"}));
  ASSERT_TRUE(PeerNetns::ip({"route", "add", "default", "via", "10.78.0.254", "dev", "vnet0"}));

  if_netconf c;
  ASSERT_EQ(if_get_netconf("vnet0", &c), 0);
  EXPECT_STREQ(c.ip, "10.78.0.1");
  EXPECT_STREQ(c.mac, "02:00:00:00:78:01");
  EXPECT_STREQ(c.gateway, "10.78.0.254");
  EXPECT_STREQ(c.netmask, "255.255.255.0");
  EXPECT_STREQ(c.broadcast, "10.78.0.255");
  EXPECT_EQ(c.up, 1);
  EXPECT_EQ(c.mtu, 1400);

  char address[16];
  EXPECT_EQ(net_get_ifaddr("vnet0", address, sizeof address), 0);
  EXPECT_STREQ(address, "10.78.0.1");
  EXPECT_EQ(net_get_ifaddr("nosuch0", address, sizeof address), -1);
  EXPECT_STREQ(address, "");

  // A missing interface: every query fails, the record stays empty.
  ASSERT_EQ(if_get_netconf("nosuch0", &c), 0);
  EXPECT_STREQ(c.ip, "");
  EXPECT_STREQ(c.mac, "");
  EXPECT_STREQ(c.gateway, "0.0.0.0");
  EXPECT_EQ(c.mtu, 0);
  EXPECT_EQ(if_get_netconf(nullptr, &c), -1);
  EXPECT_EQ(if_get_netconf("vnet0", nullptr), -1);
}

TEST(Netconf, GatewayOfTheRequestedInterfaceAmongSeveral) {
  const char *table = "/tmp/route";
  write_text(table,
             "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
             "veth0\t00000000\t0101A8C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n"
             "eth1\t00000000\t0102A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
             "eth0\t0001A8C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n"
             "eth0\t00000000\tFE01A8C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n"
             "eth0\t00000000\t0A01A8C0\t0003\t0\t0\t200\t00000000\t0\t0\t0\n");
  char gw[24];
  netif::route_gateway(table, "eth0", gw, sizeof gw);
  EXPECT_STREQ(gw, "192.168.1.254");  // the first default route of eth0
  netif::route_gateway(table, "eth1", gw, sizeof gw);
  EXPECT_STREQ(gw, "192.168.2.1");
  netif::route_gateway(table, "bond0", gw, sizeof gw);
  EXPECT_STREQ(gw, "0.0.0.0");
  netif::route_gateway("/tmp/no-route-table", "eth0", gw, sizeof gw);
  EXPECT_STREQ(gw, "0.0.0.0");
}

TEST(Netconf, LinkStateAndSpeed) {
  REQUIRE_DEVICE_ROOT();
  PeerNetns net("vlink0", "10.79.0.1/24", "10.79.0.2/24");
  ASSERT_TRUE(net.ok());
  if_netinfo info, none;
  int rc = if_get_netinfo("vlink0", &info);
  EXPECT_EQ(info.running, 1);  // read even where the speed query is missing
  EXPECT_EQ(if_get_netinfo("nosuch0", &none), -1);
  if (!cgi_emulator().empty()) {
    GTEST_SKIP() << "qemu-arm user emulation does not implement the Ethernet settings ioctl "
                    "(SIOCETHTOOL): speed and duplex are checked in the native build";
  }
  ASSERT_EQ(rc, 0);
  EXPECT_GT(info.speed, 0);  // veth reports 10000 Mbit/s, full duplex
  EXPECT_EQ(info.duplex, 1);
}

TEST(Netconf, SwitchingAnInterfaceDownAndUp) {
  REQUIRE_DEVICE_ROOT();
  PeerNetns net("vlink1", "10.79.1.1/24", "10.79.1.2/24");
  ASSERT_TRUE(net.ok());
  ASSERT_EQ(if_set_network("vlink1", 0), 0);
  if_netconf c;
  if_get_netconf("vlink1", &c);
  EXPECT_EQ(c.up, 0);
  ASSERT_EQ(if_set_network("vlink1", 1), 0);
  if_get_netconf("vlink1", &c);
  EXPECT_EQ(c.up, 1);
  EXPECT_EQ(if_set_network("nosuch0", 1), -1);
  EXPECT_EQ(if_set_network("-a", 1), -1);  // never an option of ifconfig
}

TEST(MacAddresses, FallbacksAreThoseOfTheSharedHelper) {
  REQUIRE_DEVICE_ROOT();  // no "eth0" or "eth1" there
  char a0[18], a1[18], b0[18], b1[18];
  EXPECT_EQ(if_get_mac_addr(a0, a1), 0);
  get_mac_addr(b0, b1);
  EXPECT_STREQ(a0, b0);
  EXPECT_STREQ(a1, b1);
  EXPECT_EQ(std::string(a0, 15), std::string(a1, 15));
  EXPECT_EQ(std::stoi(a1 + 15, nullptr, 16), std::stoi(a0 + 15, nullptr, 16) + 1);

  PeerNetns net("eth1", "10.80.0.1/24", "10.80.0.2/24", "02:00:00:00:80:0a");
  ASSERT_TRUE(net.ok());
  EXPECT_EQ(if_get_mac_addr(a0, a1), 0);
  EXPECT_STREQ(a0, b0);
  EXPECT_STREQ(a1, "02:00:00:00:80:0A");
}

TEST(Counters, NetDevLinesAreMatchedByTheirName) {
  const char *text =
      "Inter-|   Receive                                                |  Transmit\n"
      " face |bytes    packets errs drop fifo frame compressed multicast|bytes    packets\n"
      " veth0: 111 1 0 0 0 0 0 0 222 2 0 0 0 0 0 0\n"
      "    lo:    5    1    0    0    0     0          0         0        7    1    0    0\n"
      "  eth0:4294967296123 9 0 0 0 0 0 0 555 5 0 0 0 0 0 0\n"
      "  eth1: 1 2 3\n";
  uint64_t rx = 0, tx = 0;
  ASSERT_TRUE(netif::netdev_counters(text, "eth0", &rx, &tx));
  EXPECT_EQ(rx, 4294967296123ULL);  // right after the colon, beyond 32 bits
  EXPECT_EQ(tx, 555u);
  ASSERT_TRUE(netif::netdev_counters(text, "veth0", &rx, &tx));
  EXPECT_EQ(rx, 111u);
  EXPECT_EQ(tx, 222u);
  ASSERT_TRUE(netif::netdev_counters(text, "lo", &rx, &tx));
  EXPECT_EQ(tx, 7u);
  EXPECT_FALSE(netif::netdev_counters(text, "th0", &rx, &tx));
  EXPECT_FALSE(netif::netdev_counters(text, "eth1", &rx, &tx));  // a cut line
  EXPECT_FALSE(netif::netdev_counters(text, "eth2", &rx, &tx));
}

TEST(Counters, RatesFromConsecutiveSamples) {
  netif::speed_table t = {};
  int64_t rx = 99, tx = 99;
  ASSERT_EQ(netif::speed_update(&t, "eth0", 1000, 5000, 1000000, &rx, &tx), 0);
  EXPECT_EQ(rx, 0);  // first sample
  EXPECT_EQ(tx, 0);
  ASSERT_EQ(netif::speed_update(&t, "eth0", 2000, 4000, 1500000, &rx, &tx), 0);
  EXPECT_EQ(rx, 2000);  // 1000 bytes in half a second
  EXPECT_EQ(tx, 0);     // the counter went down
  ASSERT_EQ(netif::speed_update(&t, "eth0", 3000, 4000, 1500000, &rx, &tx), 0);
  EXPECT_EQ(rx, -1);  // no time passed
  EXPECT_EQ(tx, -1);
  ASSERT_EQ(netif::speed_update(&t, "eth0", 9000, 9000, 11500000, &rx, &tx), 0);
  EXPECT_EQ(rx, 0);  // ten seconds or more: no rate
  ASSERT_EQ(netif::speed_update(&t, "eth0", 9000 + 3000000000ULL, 9000, 11500001, &rx, &tx), 0);
  EXPECT_EQ(rx, 3000000000000000LL);  // no overflow

  for (const char *name : {"eth1", "bond0", "ppp0", "lo"}) {
    EXPECT_EQ(netif::speed_update(&t, name, 1, 1, 1, &rx, &tx), 0);
  }
  EXPECT_EQ(netif::speed_update(&t, "wlan0", 1, 1, 1, &rx, &tx), -1);  // all five taken
  EXPECT_EQ(netif::speed_update(&t, "ppp0", 1, 1, 2, &rx, &tx), 0);
}

TEST(Counters, LiveRatesAndInterfaceCount) {
  REQUIRE_DEVICE_ROOT();
  EXPECT_EQ(if_get_netcount(), 0);  // only loopback
  PeerNetns net("vcount0", "10.81.0.1/24", "10.81.0.2/24");
  ASSERT_TRUE(net.ok());
  EXPECT_EQ(if_get_netcount(), 1);

  int64_t rx = 7, tx = 7;
  ASSERT_EQ(if_get_speed("vcount0", &rx, &tx), 0);
  EXPECT_EQ(rx, 0);
  EXPECT_EQ(tx, 0);
  EXPECT_EQ(if_ip_check("vcount0", "10.81.0.2"), 1);  // some traffic
  ASSERT_EQ(if_get_speed("vcount0", &rx, &tx), 0);
  EXPECT_GT(rx, 0);
  EXPECT_GT(tx, 0);
  EXPECT_EQ(if_get_speed("nosuch0", &rx, &tx), -1);
  EXPECT_EQ(if_get_speed("", &rx, &tx), -1);
  EXPECT_EQ(if_get_speed(std::string(100, 'e').c_str(), &rx, &tx), -1);
  EXPECT_EQ(if_get_speed("count0", &rx, &tx), -1);  // only a whole name matches
}

TEST(Ipv6, LiveAddressesAndDefaultGateway) {
  REQUIRE_DEVICE_ROOT();
  if (!net_is_haveipv6()) GTEST_SKIP() << "the kernel has no IPv6";
  PeerNetns net("vsix0", "10.82.0.1/24", "10.82.0.2/24");
  ASSERT_TRUE(net.ok());
  ASSERT_TRUE(PeerNetns::ip({"-6", "addr", "add", "2001:db8:82::1/64", "dev", "vsix0", "nodad"}));
  ASSERT_TRUE(PeerNetns::ip({"-6", "route", "add", "default", "via", "2001:db8:82::fe", "dev",
                             "vsix0"}));
  char address[64], prefix[16], gateway[64];
  ASSERT_EQ(net_get_ipv6_ifaddr(NET_IPV6_GLOBAL, "vsix0", address, 64, prefix, 16), 0);
  EXPECT_STREQ(address, "2001:db8:82::1");
  EXPECT_STREQ(prefix, "64");
  ASSERT_EQ(net_get_ipv6_ifaddr(NET_IPV6_LINK, "vsix0", address, 64, prefix, 16), 0);
  EXPECT_EQ(std::string(address).substr(0, 5), "fe80:");
  ASSERT_EQ(net_get_ipv6_gateway2(NET_IPV6_GLOBAL, "vsix0", gateway, 64), 0);
  EXPECT_STREQ(gateway, "2001:db8:82::fe");
  EXPECT_EQ(net_get_ipv6_gateway2(NET_IPV6_LINK, "vsix0", gateway, 64), -1);
  EXPECT_EQ(net_get_ipv6_ifaddr(NET_IPV6_GLOBAL, "nosuch0", address, 64, prefix, 16), -1);
  EXPECT_STREQ(address, "");
}

TEST(SameNet, ComparesTheMaskedAddresses) {
  EXPECT_EQ(kx_strcmp_two_ip_same_net("192.168.1.10", "255.255.255.0", "192.168.1.77",
                                      "255.255.255.0"),
            0);
  EXPECT_EQ(kx_strcmp_two_ip_same_net("192.168.1.10", "255.255.255.0", "192.168.2.77",
                                      "255.255.255.0"),
            -1);
  EXPECT_EQ(kx_strcmp_two_ip_same_net("10.1.2.3", "255.0.0.0", "10.9.9.9", "255.0.0.0"), 0);
  // Texts that are no addresses never compare equal.
  EXPECT_EQ(kx_strcmp_two_ip_same_net("x", "255.255.255.0", "y", "255.255.255.0"), -1);
  EXPECT_EQ(kx_strcmp_two_ip_same_net(nullptr, "255.0.0.0", "10.0.0.1", "255.0.0.0"), -1);
}

}  // namespace
