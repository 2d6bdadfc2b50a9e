// The IP conflict probe: one ARP request for the address, broadcast on the
// interface, and up to 2 seconds for another host's reply to it.
#include <arpa/inet.h>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <initializer_list>
#include <net/if.h>
#include <net/if_arp.h>
#include <netinet/if_ether.h>
#include <netpacket/packet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "netif.h"

namespace {

constexpr int kWaitMs = 2000;
constexpr uint16_t kArpRequest = 1;
constexpr uint16_t kArpReply = 2;

// An Ethernet frame carrying an ARP message for IPv4; integers in network
// byte order.
struct arp_frame {
  uint8_t dest[ETH_ALEN];
  uint8_t source[ETH_ALEN];
  uint16_t type;  // 0x0806
  uint16_t hardware;
  uint16_t protocol;
  uint8_t hardware_length;
  uint8_t protocol_length;
  uint16_t operation;
  uint8_t sender_mac[ETH_ALEN];
  uint8_t sender_ip[4];
  uint8_t target_mac[ETH_ALEN];
  uint8_t target_ip[4];
};
static_assert(sizeof(arp_frame) == 42);
static_assert(offsetof(arp_frame, type) == 12);
static_assert(offsetof(arp_frame, hardware) == 14);
static_assert(offsetof(arp_frame, protocol) == 16);
static_assert(offsetof(arp_frame, hardware_length) == 18);
static_assert(offsetof(arp_frame, protocol_length) == 19);
static_assert(offsetof(arp_frame, operation) == 20);
static_assert(offsetof(arp_frame, sender_mac) == 22);
static_assert(offsetof(arp_frame, sender_ip) == 28);
static_assert(offsetof(arp_frame, target_mac) == 32);
static_assert(offsetof(arp_frame, target_ip) == 38);

// What the probe needs to know of its interface.
struct own_interface {
  int index;
  uint8_t mac[ETH_ALEN];
  in_addr ip;
};

bool read_interface(const char *ifname, own_interface *own) {
  if (!ifname || !ifname[0] || strlen(ifname) >= IFNAMSIZ) return false;
  int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  ifreq addr = {}, index = {}, hw = {};
  for (ifreq *r : {&addr, &index, &hw}) snprintf(r->ifr_name, sizeof r->ifr_name, "%s", ifname);
  bool ok = ioctl(fd, SIOCGIFADDR, &addr) == 0 && ioctl(fd, SIOCGIFINDEX, &index) == 0 &&
            ioctl(fd, SIOCGIFHWADDR, &hw) == 0 && hw.ifr_hwaddr.sa_family == ARPHRD_ETHER;
  close(fd);
  if (!ok) return false;
  sockaddr_in in;
  memcpy(&in, &addr.ifr_addr, sizeof in);
  own->ip = in.sin_addr;
  own->index = index.ifr_ifindex;
  memcpy(own->mac, hw.ifr_hwaddr.sa_data, ETH_ALEN);
  return true;
}

arp_frame request_for(const own_interface &own, in_addr target) {
  arp_frame f = {};
  memset(f.dest, 0xff, ETH_ALEN);
  memcpy(f.source, own.mac, ETH_ALEN);
  f.type = htons(ETH_P_ARP);
  f.hardware = htons(ARPHRD_ETHER);
  f.protocol = htons(ETH_P_IP);
  f.hardware_length = ETH_ALEN;
  f.protocol_length = 4;
  f.operation = htons(kArpRequest);
  memcpy(f.sender_mac, own.mac, ETH_ALEN);
  memcpy(f.sender_ip, &own.ip, 4);
  memcpy(f.target_ip, &target, 4);
  return f;
}

// A reply from the probed address to us.
bool answers(const unsigned char *frame, ssize_t length, const own_interface &own,
             in_addr target) {
  if (length < (ssize_t)sizeof(arp_frame)) return false;
  arp_frame f;
  memcpy(&f, frame, sizeof f);
  return f.type == htons(ETH_P_ARP) && f.operation == htons(kArpReply) &&
         memcmp(f.target_mac, own.mac, ETH_ALEN) == 0 && memcmp(f.sender_ip, &target, 4) == 0;
}

int64_t monotonic_ms() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (int64_t)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

int open_arp_socket(int index) {
  int fd = socket(AF_PACKET, SOCK_RAW | SOCK_CLOEXEC, htons(ETH_P_ARP));
  if (fd < 0) return -1;
  int on = 1;
  sockaddr_ll bound = {};
  bound.sll_family = AF_PACKET;
  bound.sll_protocol = htons(ETH_P_ARP);
  bound.sll_ifindex = index;
  if (setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0 ||
      bind(fd, reinterpret_cast<sockaddr *>(&bound), sizeof bound) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// 1 when the reply came, 0 when the time ran out, 1 when the wait failed.
int wait_for_reply(int fd, const own_interface &own, in_addr target) {
  int64_t deadline = monotonic_ms() + kWaitMs;
  unsigned char frame[ETH_FRAME_LEN + 64];
  for (;;) {
    int64_t remaining = deadline - monotonic_ms();
    if (remaining <= 0) return 0;
    pollfd p = {fd, POLLIN, 0};
    int rc = poll(&p, 1, (int)remaining);
    if (rc < 0 && errno == EINTR) continue;
    if (rc < 0) return 1;
    if (rc == 0) return 0;
    ssize_t n = recv(fd, frame, sizeof frame, MSG_DONTWAIT);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n < 0) return 1;
    if (answers(frame, n, own, target)) return 1;
  }
}

}  // namespace

int if_ip_check(const char *ifname, const char *ip) {
  own_interface own;
  in_addr target;
  if (!ip || inet_pton(AF_INET, ip, &target) != 1) return -1;
  if (!read_interface(ifname, &own)) return -1;
  if (own.ip.s_addr == target.s_addr) return 1;
  int fd = open_arp_socket(own.index);
  if (fd < 0) return -1;
  arp_frame request = request_for(own, target);
  sockaddr_ll to = {};
  to.sll_family = AF_PACKET;
  to.sll_protocol = htons(ETH_P_ARP);
  to.sll_ifindex = own.index;
  to.sll_halen = ETH_ALEN;
  memset(to.sll_addr, 0xff, ETH_ALEN);
  int result = 1;  // a request that cannot be sent leaves the address unchecked
  if (sendto(fd, &request, sizeof request, 0, reinterpret_cast<sockaddr *>(&to), sizeof to) ==
      (ssize_t)sizeof request) {
    result = wait_for_reply(fd, own, target);
  }
  close(fd);
  return result;
}
