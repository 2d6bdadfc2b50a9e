// The recorder's network settings: one 900-byte record shared with the core
// daemon, which applies it after the "network" change notice. The two
// Ethernet ports are either two interfaces of their own (multi-address mode)
// or bonded into one (load balance, or fault tolerance with a primary port).
//
// The record is read and written whole (read_network / write_network), or in
// the form of one mode: the bonded form and the multi-address form each
// carry the fields that mode uses, so that saving one mode leaves the other
// mode's settings and the host name as stored.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int NETWORK_MODE_MULTI = 0;    // each port its own address
constexpr int NETWORK_MODE_BOND = 1;     // bonded, load balance
constexpr int NETWORK_MODE_PRIMARY = 2;  // bonded, fault tolerance with a primary port

constexpr int NETWORK_PORTS = 2;        // "eth0" and "eth1"
constexpr int NETWORK_ADDR_SIZE = 16;   // dotted IPv4 text
constexpr int NETWORK_IP6_SIZE = 64;    // IPv6 address text
constexpr int NETWORK_PREFIX_SIZE = 16; // IPv6 prefix length as text
constexpr int NETWORK_HOSTNAME_SIZE = 132;

// IPv4 settings of one interface (a port, or the bonded interface).
struct network_ipv4 {
  int32_t enable;       // enableNetwork1 / enableNetwork2
  int32_t networkType;  // the daemon's addressing type (static or DHCP)
  char ipAddr[NETWORK_ADDR_SIZE];
  char netmask[NETWORK_ADDR_SIZE];
  char gateway[NETWORK_ADDR_SIZE];
  char DNS1[NETWORK_ADDR_SIZE];
  char DNS2[NETWORK_ADDR_SIZE];
  int32_t mtu;
};
static_assert(sizeof(network_ipv4) == 92);
static_assert(offsetof(network_ipv4, enable) == 0);
static_assert(offsetof(network_ipv4, networkType) == 4);
static_assert(offsetof(network_ipv4, ipAddr) == 8);
static_assert(offsetof(network_ipv4, netmask) == 24);
static_assert(offsetof(network_ipv4, gateway) == 40);
static_assert(offsetof(network_ipv4, DNS1) == 56);
static_assert(offsetof(network_ipv4, DNS2) == 72);
static_assert(offsetof(network_ipv4, mtu) == 88);

// IPv6 settings of one interface; the prefix length is kept as text.
struct network_ipv6 {
  char ip6Addr[NETWORK_IP6_SIZE];
  char ip6netmask[NETWORK_PREFIX_SIZE];
  char ip6gateway[NETWORK_IP6_SIZE];
};
static_assert(sizeof(network_ipv6) == 144);
static_assert(offsetof(network_ipv6, ip6Addr) == 0);
static_assert(offsetof(network_ipv6, ip6netmask) == 64);
static_assert(offsetof(network_ipv6, ip6gateway) == 80);

struct network_params {
  int32_t mode;  // NETWORK_MODE_*
  char hostName[NETWORK_HOSTNAME_SIZE];
  int32_t primaryNet;                   // primary port in mode 2
  network_ipv4 bond;                    // bonded interface, modes 1 and 2
  network_ipv4 port[NETWORK_PORTS];     // eth0 and eth1, mode 0
  char reserved[36];
  network_ipv6 port6[NETWORK_PORTS];    // eth0 and eth1, mode 0
  int32_t ip6networkType[NETWORK_PORTS];  // eth0 and eth1, mode 0
  network_ipv6 bond6;                   // bonded interface, modes 1 and 2
  int32_t bond6networkType;             // bonded interface, modes 1 and 2
  int32_t defaultRoute;                 // the port that carries the default route
};
static_assert(sizeof(network_params) == 900);
static_assert(offsetof(network_params, mode) == 0);
static_assert(offsetof(network_params, hostName) == 4);
static_assert(offsetof(network_params, primaryNet) == 136);
static_assert(offsetof(network_params, bond) == 140);
static_assert(offsetof(network_params, bond.ipAddr) == 148);
static_assert(offsetof(network_params, bond.mtu) == 228);
static_assert(offsetof(network_params, port) == 232);
static_assert(offsetof(network_params, port[1]) == 324);
static_assert(offsetof(network_params, port[1].ipAddr) == 332);
static_assert(offsetof(network_params, port[1].mtu) == 412);
static_assert(offsetof(network_params, reserved) == 416);
static_assert(offsetof(network_params, port6) == 452);
static_assert(offsetof(network_params, port6[0].ip6netmask) == 516);
static_assert(offsetof(network_params, port6[0].ip6gateway) == 532);
static_assert(offsetof(network_params, port6[1]) == 596);
static_assert(offsetof(network_params, port6[1].ip6netmask) == 660);
static_assert(offsetof(network_params, port6[1].ip6gateway) == 676);
static_assert(offsetof(network_params, ip6networkType) == 740);
static_assert(offsetof(network_params, ip6networkType[1]) == 744);
static_assert(offsetof(network_params, bond6) == 748);
static_assert(offsetof(network_params, bond6.ip6netmask) == 812);
static_assert(offsetof(network_params, bond6.ip6gateway) == 828);
static_assert(offsetof(network_params, bond6networkType) == 892);
static_assert(offsetof(network_params, defaultRoute) == 896);

// The whole record. Never written: the factory default (zeroed) and 0.
int read_network(const char *file, network_params *record);
int write_network(const char *file, const network_params *record);

// Bonded form: mode, host name, primaryNet, bond, bond6, bond6networkType
// and defaultRoute are read into `record` (its other fields stay as they
// were). The writer stores mode, primaryNet, bond, bond6 and
// bond6networkType over the stored record in one transaction; the host name,
// the ports' settings and defaultRoute stay as stored.
int read_network_bond(const char *file, network_params *record);
int write_network_bond(const char *file, const network_params *record);

// Multi-address form: mode, host name, port, port6, ip6networkType and
// defaultRoute are read; the writer stores all of them but the host name
// over the stored record in one transaction.
int read_network_muti(const char *file, network_params *record);
int write_network_muti(const char *file, const network_params *record);

// The stored mode alone. 0 or -1 (mode untouched).
int read_network_mode(const char *file, int *mode);

// The MAC address setting: a bare text of hexadecimal digits (for example
// "001122AABBCC"), at most MAC_CONF_SIZE - 1 characters, from the main
// settings file. An unset setting reads as the empty text. 0, or -1 for a
// null buffer or a database error (buffer empty).
constexpr int MAC_CONF_SIZE = 32;
int read_mac_conf(char *buffer);
int write_mac_conf(const char *text);
