// Network requests: a recorder on two small networks, eth0 on 192.168.1.0/24
// and eth1 on 192.168.2.0/24, each with a router and a few cameras. Like the
// recorder's daemon it gives settings that were never saved their factory
// addresses, accepts either port for the default route, and answers conflict
// tests from the hosts it knows on each network.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "kxdb.h"
#include "kxdb_network.h"
#include "model.h"
#include "network/network_records.h"

namespace {

// Hosts other than the recorder on each network.
const char *const kEth0Hosts[] = {"192.168.1.1", "192.168.1.64", "192.168.1.65"};
const char *const kEth1Hosts[] = {"192.168.2.1", "192.168.2.64"};

template <size_t N>
std::string field(const char (&text)[N]) {
  return std::string(text, strnlen(text, N));
}

template <size_t N>
bool known(const char *const (&hosts)[N], const std::string &ip) {
  return std::find(std::begin(hosts), std::end(hosts), ip) != std::end(hosts);
}

std::vector<SimFrame> result(int32_t value) {
  return {SimFrame{0, bytes_of_int(value), 0}};
}

network_ipv4 port_settings(const char *ip, const char *gateway) {
  network_ipv4 v = {};
  v.enable = 1;
  snprintf(v.ipAddr, sizeof v.ipAddr, "%s", ip);
  snprintf(v.netmask, sizeof v.netmask, "255.255.255.0");
  snprintf(v.gateway, sizeof v.gateway, "%s", gateway);
  snprintf(v.DNS1, sizeof v.DNS1, "%s", gateway);
  snprintf(v.DNS2, sizeof v.DNS2, "8.8.8.8");
  v.mtu = 1500;
  return v;
}

// Factory addresses for a recorder whose network settings were never saved.
void seed_settings() {
  network_params stored{}, zero{};
  if (read_network(KXDB_FILE, &stored) != 0 || memcmp(&stored, &zero, sizeof zero) != 0) return;
  network_params r{};
  r.mode = NETWORK_MODE_MULTI;
  snprintf(r.hostName, sizeof r.hostName, "NVR");
  r.port[0] = port_settings("192.168.1.100", "192.168.1.1");
  r.port[1] = port_settings("192.168.2.100", "192.168.2.1");
  r.bond = r.port[0];
  snprintf(r.port6[0].ip6netmask, sizeof r.port6[0].ip6netmask, "64");
  r.ip6networkType[0] = r.ip6networkType[1] = 2;  // automatic
  r.bond6networkType = 2;
  write_network(KXDB_FILE, &r);
  char mac[MAC_CONF_SIZE];
  if (read_mac_conf(mac) == 0 && !mac[0]) write_mac_conf("024B58000010");
}

std::vector<SimFrame> ip_conflict(const SimRequest &r) {
  std::string ip = field(record_from<ip_conflict_request>(r.payload).ip);
  return result(known(kEth0Hosts, ip) || known(kEth1Hosts, ip) ? 1 : 0);
}

// An interface the recorder does not have cannot be tested: taken.
std::vector<SimFrame> ip_conflict_on_device(const SimRequest &r) {
  auto request = record_from<ip_conflict_dev_request>(r.payload);
  std::string dev = field(request.dev), ip = field(request.ip);
  if (dev == "eth0") return result(known(kEth0Hosts, ip) ? 1 : 0);
  if (dev == "eth1") return result(known(kEth1Hosts, ip) ? 1 : 0);
  if (dev == "bond0") return result(known(kEth0Hosts, ip) || known(kEth1Hosts, ip) ? 1 : 0);
  return result(1);
}

// Either port may carry the default route.
std::vector<SimFrame> default_route(const SimRequest &r) {
  int32_t port = record_from<int32_t>(r.payload);
  if (r.payload.size() < sizeof port || port < 0 || port >= NETWORK_PORTS) return result(-1);
  return result(0);
}

std::vector<SimFrame> notice(const SimRequest &) {
  return {};
}

void register_network_answers(SimServer &server, CoreModel &) {
  seed_settings();
  server.on(NETWORK_REQ_DEFAULT_ROUTE, default_route);
  server.on(NETWORK_REQ_IP_CONFLICT, ip_conflict);
  server.on(NETWORK_REQ_IP_CONFLICT_DEV, ip_conflict_on_device);
  // Notices: the journal records them; the daemon sends no answer.
  server.on(NETWORK_REQ_SETTINGS_CHANGED, notice);
  server.on(NETWORK_REQ_SLAVE_CLEAR, notice);
  server.on(NETWORK_REQ_RESTART, notice);
}

}  // namespace

CORESIM_ANSWERS(register_network_answers)
