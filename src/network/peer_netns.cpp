#include "peer_netns.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "kxstd.h"

namespace {
std::atomic<int> g_serial{0};
}  // namespace

bool PeerNetns::in_device_root() {
  const char *devroot = getenv("DEVROOT");
  return devroot && strcmp(devroot, "1") == 0;
}

bool PeerNetns::ip(const std::vector<std::string> &args) {
  std::vector<const char *> argv = {"/sbin/ip"};
  for (const std::string &a : args) argv.push_back(a.c_str());
  argv.push_back(nullptr);
  return kx_run_argv(argv.data()) == 0;
}

bool PeerNetns::peer_ip(std::vector<std::string> args) const {
  args.insert(args.begin(), {"-n", ns_});
  return ip(args);
}

PeerNetns::PeerNetns(const std::string &local, const std::string &local_cidr,
                     const std::string &peer_cidr, const std::string &mac)
    : local_(local), ns_("peer" + std::to_string(getpid()) + "_" + std::to_string(g_serial++)) {
  if (!in_device_root()) return;
  mkdir("/run/netns", 0755);  // where `ip netns` keeps its namespaces
  std::string peer = "p" + local_;
  ok_ = ip({"netns", "add", ns_}) &&
        ip({"link", "add", local_, "type", "veth", "peer", "name", peer, "netns", ns_}) &&
        (mac.empty() || ip({"link", "set", local_, "address", mac})) &&
        ip({"addr", "add", local_cidr, "brd", "+", "dev", local_}) &&
        ip({"link", "set", local_, "up"}) && peer_ip({"addr", "add", peer_cidr, "dev", peer}) &&
        peer_ip({"link", "set", peer, "up"}) && peer_ip({"link", "set", "lo", "up"});
}

PeerNetns::~PeerNetns() {
  if (!in_device_root()) return;
  ip({"link", "del", local_});  // both ends go at once
  ip({"netns", "del", ns_});
}
