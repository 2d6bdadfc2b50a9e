// Interface utilities: addresses, flags and MTU by interface ioctls, the
// default gateway from the route table, counters and rates from
// "/proc/net/dev", and the same-subnet test.
#include "netif.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <linux/ethtool.h>
#include <linux/sockios.h>
#include <net/if.h>
#include <netinet/in.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "kxstd.h"
#include "web_utils.h"
#include "request_reset.h"

namespace {

constexpr const char *kRouteTable = "/proc/net/route";
constexpr const char *kNetDev = "/proc/net/dev";
constexpr size_t kNetDevMax = 1 << 20;  // far beyond any interface list
constexpr int kSpeedNameMax = 100;      // names of 100 characters or more are refused
constexpr int64_t kSampleWindowUs = 10000000;  // older samples give no rate

bool name_ok(const char *ifname) {
  return ifname && ifname[0] && strlen(ifname) < IFNAMSIZ;
}

// One SIOCGIF* query; a failure prints the query's name and answers false.
bool query(int fd, unsigned long request, const char *what, const char *ifname, ifreq *req) {
  *req = {};
  snprintf(req->ifr_name, sizeof req->ifr_name, "%s", ifname);
  if (ioctl(fd, request, req) == 0) return true;
  perror(what);
  return false;
}

void address_text(const sockaddr &sa, char *out, size_t size) {
  sockaddr_in in;
  memcpy(&in, &sa, sizeof in);
  char text[INET_ADDRSTRLEN] = "";
  inet_ntop(AF_INET, &in.sin_addr, text, sizeof text);
  snprintf(out, size, "%s", text);
}

int64_t monotonic_us() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (int64_t)ts.tv_sec * 1000000 + ts.tv_nsec / 1000;
}

// The whole of a /proc text file (its size is not known beforehand).
bool read_text(const char *path, std::string *text) {
  FILE *in = fopen(path, "re");
  if (!in) return false;
  char chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, in)) > 0 && text->size() < kNetDevMax) {
    text->append(chunk, n);
  }
  fclose(in);
  return true;
}

// (current - last) per second over d microseconds, without overflow.
int64_t rate(uint64_t current, uint64_t last, int64_t d) {
  if (current < last) return 0;  // counter reset or wrapped
  uint64_t delta = current - last, us = (uint64_t)d;
  return (int64_t)(delta / us * 1000000 + delta % us * 1000000 / us);
}

}  // namespace

namespace netif {

void route_gateway(const char *table_path, const char *ifname, char *out, size_t size) {
  snprintf(out, size, "0.0.0.0");
  FILE *in = fopen(table_path, "re");
  if (!in) return;
  char line[512];
  bool titles = fgets(line, sizeof line, in) != nullptr;
  while (titles && fgets(line, sizeof line, in)) {
    char name[64];
    unsigned long destination, gateway;
    if (sscanf(line, "%63s %lX %lX", name, &destination, &gateway) != 3) continue;
    if (destination != 0 || strcmp(name, ifname) != 0) continue;
    // The table prints the address as the integer of its bytes in memory.
    uint32_t raw = (uint32_t)gateway;
    unsigned char b[4];
    memcpy(b, &raw, sizeof b);
    snprintf(out, size, "%d.%d.%d.%d", b[0], b[1], b[2], b[3]);
    break;
  }
  fclose(in);
}

bool netdev_counters(const char *text, const char *ifname, uint64_t *rx_bytes,
                     uint64_t *tx_bytes) {
  size_t name_length = strlen(ifname);
  for (const char *line = text; line && *line;) {
    const char *p = line + strspn(line, " \t");
    const char *end = strchr(line, '\n');
    line = end ? end + 1 : nullptr;
    if (strncmp(p, ifname, name_length) != 0 || p[name_length] != ':') continue;
    // After the colon: bytes, packets, errs, drop, fifo, frame, compressed,
    // multicast received, then bytes sent.
    p += name_length + 1;
    uint64_t counters[9];
    for (uint64_t &counter : counters) {
      char *next;
      p += strspn(p, " \t");
      if (*p < '0' || *p > '9') return false;
      counter = strtoull(p, &next, 10);
      p = next;
    }
    *rx_bytes = counters[0];
    *tx_bytes = counters[8];
    return true;
  }
  return false;
}

int speed_update(speed_table *table, const char *ifname, uint64_t rx, uint64_t tx,
                 int64_t now_us, int64_t *rx_rate, int64_t *tx_rate) {
  speed_sample *s = nullptr;
  for (int i = 0; i < table->used && !s; i++) {
    if (strcmp(table->entry[i].name, ifname) == 0) s = &table->entry[i];
  }
  if (!s) {
    if (table->used >= SPEED_SAMPLES) return -1;
    s = &table->entry[table->used++];
    snprintf(s->name, sizeof s->name, "%s", ifname);
    *rx_rate = *tx_rate = 0;
  } else {
    int64_t d = now_us - s->time_us;
    if (d == 0) {
      *rx_rate = *tx_rate = -1;
    } else if (d > 0 && d < kSampleWindowUs) {
      *rx_rate = rate(rx, s->rx, d);
      *tx_rate = rate(tx, s->tx, d);
    } else {
      *rx_rate = *tx_rate = 0;
    }
  }
  s->rx = rx;
  s->tx = tx;
  s->time_us = now_us;
  return 0;
}

}  // namespace netif

int if_get_netconf(const char *ifname, if_netconf *out) {
  if (!name_ok(ifname) || !out) return -1;
  *out = {};
  int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  ifreq req;
  if (query(fd, SIOCGIFADDR, "[SIOCGIFADDR] ioctl", ifname, &req)) {
    address_text(req.ifr_addr, out->ip, sizeof out->ip);
  }
  if (query(fd, SIOCGIFHWADDR, "[SIOCGIFHWADDR] ioctl", ifname, &req)) {
    const auto *m = reinterpret_cast<const unsigned char *>(req.ifr_hwaddr.sa_data);
    snprintf(out->mac, sizeof out->mac, "%2.2x:%2.2x:%2.2x:%2.2x:%2.2x:%2.2x", m[0], m[1], m[2],
             m[3], m[4], m[5]);
  }
  netif::route_gateway(kRouteTable, ifname, out->gateway, sizeof out->gateway);
  if (query(fd, SIOCGIFNETMASK, "[SIOCGIFNETMASK] ioctl", ifname, &req)) {
    address_text(req.ifr_netmask, out->netmask, sizeof out->netmask);
  }
  if (query(fd, SIOCGIFBRDADDR, "[SIOCGIFBRDADDR] ioctl", ifname, &req)) {
    address_text(req.ifr_broadaddr, out->broadcast, sizeof out->broadcast);
  }
  if (query(fd, SIOCGIFFLAGS, "[SIOCGIFFLAGS] ioctl", ifname, &req)) {
    out->up = (req.ifr_flags & IFF_UP) ? 1 : 0;
  }
  if (query(fd, SIOCGIFMTU, "[SIOCGIFMTU] ioctl", ifname, &req)) out->mtu = req.ifr_mtu;
  close(fd);
  return 0;
}

int if_get_netinfo(const char *ifname, if_netinfo *out) {
  if (!name_ok(ifname) || !out) return -1;
  *out = {};
  int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  ifreq req;
  bool flags = query(fd, SIOCGIFFLAGS, "[SIOCGIFFLAGS] ioctl", ifname, &req);
  if (flags) out->running = (req.ifr_flags & IFF_RUNNING) ? 1 : 0;
  ethtool_cmd settings = {};
  settings.cmd = ETHTOOL_GSET;
  req = {};
  snprintf(req.ifr_name, sizeof req.ifr_name, "%s", ifname);
  req.ifr_data = reinterpret_cast<char *>(&settings);
  bool ethtool = ioctl(fd, SIOCETHTOOL, &req) == 0;
  if (ethtool) {
    out->speed = (int32_t)ethtool_cmd_speed(&settings);
    out->duplex = settings.duplex;
  }
  close(fd);
  return flags && ethtool ? 0 : -1;
}

int if_get_mac_addr(char *eth0_text, char *eth1_text) {
  return get_mac_addr(eth0_text, eth1_text);
}

int if_set_network(const char *ifname, int up) {
  if (!name_ok(ifname) || ifname[0] == '-') return -1;
  const char *argv[] = {"/sbin/ifconfig", ifname, up ? "up" : "down", nullptr};
  return kx_run_argv(argv) == 0 ? 0 : -1;
}

int if_get_netcount() {
  FILE *in = fopen(kNetDev, "re");
  if (!in) {
    fprintf(stderr, "Open /proc/net/dev failed!errno:%d\n", errno);
    return 0;
  }
  char line[512];
  int count = 0;
  while (fgets(line, sizeof line, in)) {
    char *colon = strchr(line, ':');
    if (!colon) continue;  // the two title lines
    *colon = '\0';
    const char *name = line + strspn(line, " \t");
    if (strcmp(name, "lo") != 0) count++;
  }
  fclose(in);
  return count;
}

namespace {
// The counters of the request's earlier samples (its first sample of an
// interface reads as rate 0).
netif::speed_table g_speed_samples;

void reset_speed_samples() {
  g_speed_samples = {};
}
}  // namespace

CGI_RESET_HOOK(reset_speed_samples)

int if_get_speed(const char *ifname, int64_t *rx_rate, int64_t *tx_rate) {
  if (!ifname || !rx_rate || !tx_rate) return -1;
  size_t length = strlen(ifname);
  if (length == 0 || length >= kSpeedNameMax) return -1;
  std::string text;
  uint64_t rx, tx;
  if (!read_text(kNetDev, &text) || !netif::netdev_counters(text.c_str(), ifname, &rx, &tx)) {
    return -1;
  }
  return netif::speed_update(&g_speed_samples, ifname, rx, tx, monotonic_us(), rx_rate, tx_rate);
}

int kx_strcmp_two_ip_same_net(const char *ip1, const char *mask1, const char *ip2,
                              const char *mask2) {
  in_addr a[4];
  const char *texts[] = {ip1, mask1, ip2, mask2};
  for (int i = 0; i < 4; i++) {
    if (!texts[i] || inet_pton(AF_INET, texts[i], &a[i]) != 1) return -1;
  }
  return (a[0].s_addr & a[1].s_addr) == (a[2].s_addr & a[3].s_addr) ? 0 : -1;
}
