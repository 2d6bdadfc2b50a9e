// Network queries of the platform's standard utilities: interface
// addresses (IPv4 and IPv6), the IPv6 default gateway, IPv6 support and TCP
// port use. They read the interfaces and the kernel's tables of the network
// namespace the program runs in.
#pragma once

// IPv4 address of `ifname` as dotted text into `address` (`size` bytes, cut
// to size - 1). 0, or -1 (address empty) when the interface has none.
int net_get_ifaddr(const char *ifname, char *address, int size);

// IPv6 address kinds: a global address, or the link-local one.
constexpr int NET_IPV6_GLOBAL = 0;
constexpr int NET_IPV6_LINK = 1;

// The first IPv6 address of `kind` on `ifname`, as text, and its prefix
// length as decimal text ("64"). 0, or -1 (both texts empty) when the
// interface holds no address of that kind or IPv6 is absent.
int net_get_ipv6_ifaddr(int kind, const char *ifname, char *address, int address_size,
                        char *prefix, int prefix_size);

// The next hop of the IPv6 default route through `ifname`: kind 0 takes a
// next hop of global scope, kind 1 a link-local one (as router
// advertisements give it). 0, or -1 (text empty) when there is none.
int net_get_ipv6_gateway2(int kind, const char *ifname, char *text, int size);

// 1 when the kernel has IPv6, else 0.
int net_is_haveipv6();

// 1 when a TCP socket listens on `port` (IPv4 or IPv6), 0 when the port is
// free. A port outside 1..65535, or tables that cannot be read, count as in
// use, so that callers never hand out a port they could not check.
int is_port_use(int port);

// The parsers behind the queries, over a table file of the kernel's format
// (tests pass files of their own).
namespace kxstd_net {
int ipv6_ifaddr_from(const char *table, int kind, const char *ifname, char *address,
                     int address_size, char *prefix, int prefix_size);
int ipv6_gateway_from(const char *table, int kind, const char *ifname, char *text, int size);
// 1 listening, 0 not, -1 when the table cannot be read.
int tcp_listening_in(const char *table, int port);
}  // namespace kxstd_net
