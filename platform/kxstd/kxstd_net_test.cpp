// Network queries: the kernel tables' parsers on tables of our own, and the
// port check against sockets of the test's namespace.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "kxstd.h"

namespace {

void write_text(const char *path, const char *text) {
  std::ofstream(path) << text;
}

TEST(Ipv6Tables, AddressesByKindAndInterface) {
  const char *table = "/tmp/if_inet6";
  write_text(table,
             "fe80000000000000020000fffe000001 03 40 20 80     eth0\n"
             "20010db8000000000000000000000010 03 40 00 80     eth0\n"
             "20010db8000000010000000000000020 04 30 00 80    veth0\n"
             "00000000000000000000000000000001 01 80 10 80       lo\n");
  char address[64], prefix[16];
  ASSERT_EQ(kxstd_net::ipv6_ifaddr_from(table, NET_IPV6_GLOBAL, "eth0", address, 64, prefix, 16),
            0);
  EXPECT_STREQ(address, "2001:db8::10");
  EXPECT_STREQ(prefix, "64");
  ASSERT_EQ(kxstd_net::ipv6_ifaddr_from(table, NET_IPV6_LINK, "eth0", address, 64, prefix, 16),
            0);
  EXPECT_STREQ(address, "fe80::200:ff:fe00:1");
  ASSERT_EQ(kxstd_net::ipv6_ifaddr_from(table, NET_IPV6_GLOBAL, "veth0", address, 64, prefix, 16),
            0);
  EXPECT_STREQ(prefix, "48");
  EXPECT_EQ(kxstd_net::ipv6_ifaddr_from(table, NET_IPV6_LINK, "veth0", address, 64, prefix, 16),
            -1);
  EXPECT_STREQ(address, "");
  EXPECT_EQ(kxstd_net::ipv6_ifaddr_from(table, NET_IPV6_GLOBAL, "eth1", address, 64, prefix, 16),
            -1);
  // A text field too small for the address: cut, never overrun.
  char small[8];
  ASSERT_EQ(kxstd_net::ipv6_ifaddr_from(table, NET_IPV6_GLOBAL, "eth0", small, 8, prefix, 16), 0);
  EXPECT_STREQ(small, "2001:db");
  EXPECT_EQ(kxstd_net::ipv6_ifaddr_from("/tmp/none", 0, "eth0", address, 64, prefix, 16), -1);
}

TEST(Ipv6Tables, DefaultGatewayByKindAndInterface) {
  const char *table = "/tmp/ipv6_route";
  write_text(table,
             // eth0: a prefix route, then the default route via a link-local router
             "20010db8000000000000000000000000 40 00000000000000000000000000000000 00 "
             "00000000000000000000000000000000 00000100 00000001 00000000 00000001     eth0\n"
             "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
             "fe800000000000000000000000000001 00000400 00000001 00000000 00000003     eth0\n"
             // eth1: the default route via a global router
             "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
             "20010db80002000000000000000000fe 00000400 00000001 00000000 00000003     eth1\n"
             // lo: an unreachable default without next hop
             "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
             "00000000000000000000000000000000 ffffffff 00000001 00000000 00200200       lo\n");
  char gw[64];
  EXPECT_EQ(kxstd_net::ipv6_gateway_from(table, NET_IPV6_GLOBAL, "eth0", gw, 64), -1);
  ASSERT_EQ(kxstd_net::ipv6_gateway_from(table, NET_IPV6_LINK, "eth0", gw, 64), 0);
  EXPECT_STREQ(gw, "fe80::1");
  ASSERT_EQ(kxstd_net::ipv6_gateway_from(table, NET_IPV6_GLOBAL, "eth1", gw, 64), 0);
  EXPECT_STREQ(gw, "2001:db8:2::fe");
  EXPECT_EQ(kxstd_net::ipv6_gateway_from(table, NET_IPV6_GLOBAL, "lo", gw, 64), -1);
  EXPECT_EQ(kxstd_net::ipv6_gateway_from(table, NET_IPV6_LINK, "lo", gw, 64), -1);
  EXPECT_STREQ(gw, "");
}

TEST(PortUse, ListeningSocketsAndRefusedPorts) {
  const char *table = "/tmp/tcp";
  write_text(table,
             "  sl  local_address rem_address   st tx_queue rx_queue tr tm->when retrnsmt   uid\n"
             "   0: 00000000:1F90 00000000:0000 0A 00000000:00000000 00:00000000 00000000     0\n"
             "   1: 0100007F:0050 0100007F:C350 01 00000000:00000000 00:00000000 00000000     0\n");
  EXPECT_EQ(kxstd_net::tcp_listening_in(table, 8080), 1);
  EXPECT_EQ(kxstd_net::tcp_listening_in(table, 80), 0);  // a connection, no listener
  EXPECT_EQ(kxstd_net::tcp_listening_in("/tmp/none", 80), -1);

  int fd = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_in a = {};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a), 0);
  socklen_t length = sizeof a;
  ASSERT_EQ(getsockname(fd, reinterpret_cast<sockaddr *>(&a), &length), 0);
  int port = ntohs(a.sin_port);
  EXPECT_EQ(is_port_use(port), 0);  // bound, not listening yet
  ASSERT_EQ(listen(fd, 1), 0);
  EXPECT_EQ(is_port_use(port), 1);
  close(fd);
  EXPECT_EQ(is_port_use(port), 0);
  for (int refused : {0, -1, 65536, 1 << 30}) EXPECT_EQ(is_port_use(refused), 1) << refused;
}

TEST(Ipv6Support, FollowsTheKernelTable) {
  EXPECT_EQ(net_is_haveipv6(), access("/proc/net/if_inet6", F_OK) == 0 ? 1 : 0);
}

}  // namespace
