// Interface utilities of the network module, for every module that looks at
// the recorder's own interfaces ("eth0", "eth1", "bond0", "ppp0"):
// addresses, link state and speed, traffic counters and rates, the ARP probe
// for a conflicting address, and the same-subnet test. None is bound to a
// request; they read the interfaces and the kernel's tables of the network
// namespace the program runs in.
#pragma once

#include <cstddef>
#include <cstdint>

// One interface as if_get_netconf reports it. Texts are NUL-terminated.
struct if_netconf {
  char ip[16];         // IPv4 address, dotted
  char reserved0[8];
  char mac[24];        // "%2.2x:%2.2x:%2.2x:%2.2x:%2.2x:%2.2x"
  char gateway[24];    // default gateway through this interface, "0.0.0.0" when none
  char netmask[16];
  char reserved1[8];
  char broadcast[16];
  char reserved2[8];
  int32_t up;   // 1 when the interface is up
  int32_t mtu;
};
static_assert(sizeof(if_netconf) == 128);
static_assert(offsetof(if_netconf, ip) == 0);
static_assert(offsetof(if_netconf, mac) == 24);
static_assert(offsetof(if_netconf, gateway) == 48);
static_assert(offsetof(if_netconf, netmask) == 72);
static_assert(offsetof(if_netconf, broadcast) == 96);
static_assert(offsetof(if_netconf, up) == 120);
static_assert(offsetof(if_netconf, mtu) == 124);

// Fills `out` (zeroed first) with what the interface reports; a query that
// fails prints its name ("[SIOCGIFADDR] ioctl", ...) and leaves its field
// empty. 0, or -1 for a null argument or when no socket can be opened.
int if_get_netconf(const char *ifname, if_netconf *out);

struct if_netinfo {
  int32_t running;  // the interface's running flag (1 or 0)
  int32_t speed;    // Mbit/s, from the Ethernet settings query
  int32_t duplex;   // 0 half, 1 full (the Ethernet settings' values)
};
static_assert(sizeof(if_netinfo) == 12);

// 0, or -1 when an argument is null, no socket opens or a query fails (the
// record keeps what could be read).
int if_get_netinfo(const char *ifname, if_netinfo *out);

// "%02X:%02X:%02X:%02X:%02X:%02X" of "eth0" and "eth1" into 18-byte
// buffers, or the fixed fallback of an interface that cannot be read (the
// same pair get_mac_addr gives). Always 0.
int if_get_mac_addr(char *eth0_text, char *eth1_text);

// Sets the interface up (up != 0) or down with ifconfig. 0 when ifconfig
// succeeded, -1 otherwise or for a name that is no interface name.
int if_set_network(const char *ifname, int up);

// Interfaces listed in "/proc/net/dev", "lo" excluded; 0 when the file
// cannot be read.
int if_get_netcount();

// Receive and transmit rates in bytes per second since the previous call
// for the same interface in this process; 0 and 0 on the first call. 0, or
// -1 when the interface is not listed, the name is empty or of 100
// characters or more, or the five samples the process keeps are taken.
int if_get_speed(const char *ifname, int64_t *rx_rate, int64_t *tx_rate);

// 1 when another host answers an ARP request for `ip` on the interface
// within 2 seconds (or `ip` is the interface's own address), 0 when none
// does, -1 when the interface's address, index or hardware address cannot
// be read, `ip` is no IPv4 address, or no packet socket opens. A send,
// wait or receive that fails answers 1, so that an address that could not
// be checked is not taken.
int if_ip_check(const char *ifname, const char *ip);

// 0 when ip1 AND mask1 equals ip2 AND mask2, else -1 (also when a text is
// missing or no dotted IPv4 address).
int kx_strcmp_two_ip_same_net(const char *ip1, const char *mask1, const char *ip2,
                              const char *mask2);

// The pieces behind the utilities, over text of the kernel's formats
// (tests pass their own).
namespace netif {

// Gateway of the first default route ("Destination" 0) through `ifname` in
// a route table of "/proc/net/route"'s format, dotted; "0.0.0.0" when none.
void route_gateway(const char *table_path, const char *ifname, char *out, size_t size);

// Byte counters of `ifname` in text of "/proc/net/dev"'s format: the line
// whose first word (after blanks) is "ifname:". False when there is none.
bool netdev_counters(const char *text, const char *ifname, uint64_t *rx_bytes,
                     uint64_t *tx_bytes);

// The samples if_get_speed keeps, one per interface.
constexpr int SPEED_SAMPLES = 5;
struct speed_sample {
  char name[100];
  uint64_t rx, tx;
  int64_t time_us;
};
struct speed_table {
  speed_sample entry[SPEED_SAMPLES];
  int used;
};
// Rates from a new sample at `now_us` (monotonic microseconds), as
// if_get_speed computes them; -1 when the table is full.
int speed_update(speed_table *table, const char *ifname, uint64_t rx, uint64_t tx,
                 int64_t now_us, int64_t *rx_rate, int64_t *tx_rate);

}  // namespace netif
