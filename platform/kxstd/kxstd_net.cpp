#include "kxstd_net.h"

#include <arpa/inet.h>
#include <cstdio>
#include <cstring>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr const char *kIfInet6 = "/proc/net/if_inet6";
constexpr const char *kIpv6Route = "/proc/net/ipv6_route";
constexpr int kScopeGlobal = 0x00;  // if_inet6 scope values
constexpr int kScopeLink = 0x20;

void clear(char *text, int size) {
  if (text && size > 0) text[0] = '\0';
}

bool name_ok(const char *ifname) {
  return ifname && ifname[0] && strlen(ifname) < IFNAMSIZ;
}

// 32 hexadecimal digits, the bytes in network order, as the kernel's tables
// print them.
bool parse_hex6(const char *hex, in6_addr *out) {
  if (strlen(hex) != 32) return false;
  for (int i = 0; i < 16; i++) {
    unsigned int byte;
    if (sscanf(hex + 2 * i, "%2x", &byte) != 1) return false;
    out->s6_addr[i] = (unsigned char)byte;
  }
  return true;
}

bool is_link_local(const in6_addr &a) {
  return a.s6_addr[0] == 0xfe && (a.s6_addr[1] & 0xc0) == 0x80;
}

bool is_unspecified(const in6_addr &a) {
  static const in6_addr zero{};
  return memcmp(&a, &zero, sizeof a) == 0;
}

}  // namespace

int net_get_ifaddr(const char *ifname, char *address, int size) {
  clear(address, size);
  if (!name_ok(ifname) || !address || size <= 0) return -1;
  int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  ifreq req = {};
  snprintf(req.ifr_name, sizeof req.ifr_name, "%s", ifname);
  int rc = ioctl(fd, SIOCGIFADDR, &req);
  close(fd);
  if (rc != 0) return -1;
  sockaddr_in in;
  memcpy(&in, &req.ifr_addr, sizeof in);
  char text[INET_ADDRSTRLEN];
  if (!inet_ntop(AF_INET, &in.sin_addr, text, sizeof text)) return -1;
  snprintf(address, (size_t)size, "%s", text);
  return 0;
}

namespace kxstd_net {

int ipv6_ifaddr_from(const char *table, int kind, const char *ifname, char *address,
                     int address_size, char *prefix, int prefix_size) {
  clear(address, address_size);
  clear(prefix, prefix_size);
  if (!name_ok(ifname) || !address || address_size <= 0 || !prefix || prefix_size <= 0) {
    return -1;
  }
  int wanted = kind == NET_IPV6_LINK ? kScopeLink : kScopeGlobal;
  FILE *in = fopen(table, "re");
  if (!in) return -1;
  char line[256];
  int rc = -1;
  while (rc != 0 && fgets(line, sizeof line, in)) {
    char hex[40], name[32];
    unsigned int index, plen, scope, flags;
    if (sscanf(line, "%39s %x %x %x %x %31s", hex, &index, &plen, &scope, &flags, name) != 6) {
      continue;
    }
    in6_addr a;
    if (strcmp(name, ifname) != 0 || (int)scope != wanted || !parse_hex6(hex, &a)) continue;
    char text[INET6_ADDRSTRLEN];
    if (!inet_ntop(AF_INET6, &a, text, sizeof text)) continue;
    snprintf(address, (size_t)address_size, "%s", text);
    snprintf(prefix, (size_t)prefix_size, "%u", plen);
    rc = 0;
  }
  fclose(in);
  return rc;
}

int ipv6_gateway_from(const char *table, int kind, const char *ifname, char *text, int size) {
  clear(text, size);
  if (!name_ok(ifname) || !text || size <= 0) return -1;
  FILE *in = fopen(table, "re");
  if (!in) return -1;
  char line[256];
  int rc = -1;
  while (rc != 0 && fgets(line, sizeof line, in)) {
    char dest[40], src[40], hop[40], name[32];
    unsigned int dest_plen, src_plen, metric, refcnt, use, flags;
    if (sscanf(line, "%39s %x %39s %x %39s %x %x %x %x %31s", dest, &dest_plen, src, &src_plen,
               hop, &metric, &refcnt, &use, &flags, name) != 10) {
      continue;
    }
    in6_addr d, h;
    if (dest_plen != 0 || strcmp(name, ifname) != 0) continue;
    if (!parse_hex6(dest, &d) || !is_unspecified(d) || !parse_hex6(hop, &h)) continue;
    if (is_unspecified(h) || is_link_local(h) != (kind == NET_IPV6_LINK)) continue;
    char hop_text[INET6_ADDRSTRLEN];
    if (!inet_ntop(AF_INET6, &h, hop_text, sizeof hop_text)) continue;
    snprintf(text, (size_t)size, "%s", hop_text);
    rc = 0;
  }
  fclose(in);
  return rc;
}

int tcp_listening_in(const char *table, int port) {
  constexpr unsigned int kListen = 0x0A;  // TCP_LISTEN in the tables' "st" column
  FILE *in = fopen(table, "re");
  if (!in) return -1;
  char line[512];
  int found = 0;
  bool titles = fgets(line, sizeof line, in) != nullptr;  // the column titles
  while (titles && !found && fgets(line, sizeof line, in)) {
    char local[64];
    unsigned int state;
    if (sscanf(line, "%*s %63s %*s %x", local, &state) != 2) continue;
    const char *colon = strrchr(local, ':');
    unsigned int local_port;
    if (!colon || sscanf(colon + 1, "%x", &local_port) != 1) continue;
    found = state == kListen && (int)local_port == port;
  }
  fclose(in);
  return found;
}

}  // namespace kxstd_net

int net_get_ipv6_ifaddr(int kind, const char *ifname, char *address, int address_size,
                        char *prefix, int prefix_size) {
  return kxstd_net::ipv6_ifaddr_from(kIfInet6, kind, ifname, address, address_size, prefix,
                                     prefix_size);
}

int net_get_ipv6_gateway2(int kind, const char *ifname, char *text, int size) {
  return kxstd_net::ipv6_gateway_from(kIpv6Route, kind, ifname, text, size);
}

int net_is_haveipv6() {
  return access(kIfInet6, F_OK) == 0 ? 1 : 0;
}

int is_port_use(int port) {
  if (port < 1 || port > 65535) return 1;
  int v4 = kxstd_net::tcp_listening_in("/proc/net/tcp", port);
  int v6 = kxstd_net::tcp_listening_in("/proc/net/tcp6", port);
  if (v4 == 1 || v6 == 1) return 1;
  // Without IPv6 its table is absent; without the IPv4 table nothing is known.
  return v4 < 0 ? 1 : 0;
}
