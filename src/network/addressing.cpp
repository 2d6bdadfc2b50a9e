// The recorder's addressing: the network settings in the layout of each
// mode, saving them, the stored mode, network restart and the MAC text.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "network.h"

using namespace network;

namespace {

// JSON keys of one interface's IPv4 settings.
struct ipv4_keys {
  const char *enable, *type, *ip, *netmask, *gateway, *mac, *dns1, *dns2, *mtu;
};
// The first port's keys also name the bonded interface's settings.
constexpr ipv4_keys kPortKeys[NETWORK_PORTS] = {
    {"enableNetwork1", "networkType", "ipAddr", "netmask", "gateway", "macAddr", "DNS1", "DNS2",
     "mtu"},
    {"enableNetwork2", "networkType2", "ipAddr2", "netmask2", "gateway2", "macAddr2", "DNS12",
     "DNS22", "mtu2"},
};

// JSON keys of one interface's IPv6 settings.
struct ipv6_keys {
  const char *type, *ip, *prefix, *gateway;
};
constexpr ipv6_keys kPort6Keys[NETWORK_PORTS] = {
    {"ip6networkType", "ip6Addr", "ip6netmask", "ip6gateway"},
    {"ip6networkType2", "ip6Addr2", "ip6netmask2", "ip6gateway2"},
};

constexpr const char *kPortNames[NETWORK_PORTS] = {"eth0", "eth1"};
constexpr const char *kBondName = "bond0";
constexpr int kIp6Static = 0;  // the stored address is the address
constexpr int kIp6Dhcp = 1;    // stored once obtained; live until then
constexpr int kIp6Auto = 2;    // the gateway is never stored

constexpr int LOG_MAIN_WEB = 4;
constexpr int LOG_MAIN_EXCEPTION = 32;
constexpr int LOG_SUB_NETWORK = 204;
constexpr int LOG_SUB_IP_CONFLICT = 406;
constexpr int LOG_PARAM_NETWORK = 914;

void add_int(json_object *o, const char *key, int value) {
  json_add_int(o, key, value);
}

// ---- Reply: IPv4 keys before and after the IPv6 ones ----
void add_ipv4_head(json_object *o, const ipv4_keys &k, const network_ipv4 &v) {
  add_int(o, k.enable, v.enable);
  add_int(o, k.type, v.networkType);
  add_text(o, k.ip, v.ipAddr);
  add_text(o, k.netmask, v.netmask);
  add_text(o, k.gateway, v.gateway);
}

void add_ipv4_tail(json_object *o, const ipv4_keys &k, const network_ipv4 &v, const char *mac) {
  json_object_object_add(o, k.mac, json_object_new_string(mac));
  add_text(o, k.dns1, v.DNS1);
  add_text(o, k.dns2, v.DNS2);
  add_int(o, k.mtu, v.mtu);
}

// Stored IPv6 settings, or what the interface holds now when they are not
// fixed yet; keys whose live query fails are left out.
void add_ipv6(json_object *o, const ipv6_keys &k, const char *ifname, int type,
              const network_ipv6 &v) {
  bool stored_complete = v.ip6Addr[0] && v.ip6netmask[0];
  if (type == kIp6Static || (type == kIp6Dhcp && stored_complete)) {
    add_text(o, k.ip, v.ip6Addr);
    add_text(o, k.prefix, v.ip6netmask);
    add_text(o, k.gateway, v.ip6gateway);
    return;
  }
  char address[NETWORK_IP6_SIZE], prefix[NETWORK_PREFIX_SIZE], gateway[NETWORK_IP6_SIZE];
  int kind = type == kIp6Dhcp ? NET_IPV6_LINK : NET_IPV6_GLOBAL;
  if (net_get_ipv6_ifaddr(kind, ifname, address, sizeof address, prefix, sizeof prefix) == 0) {
    add_text(o, k.ip, address);
    add_text(o, k.prefix, prefix);
  }
  if (net_get_ipv6_gateway2(NET_IPV6_GLOBAL, ifname, gateway, sizeof gateway) == 0 ||
      net_get_ipv6_gateway2(NET_IPV6_LINK, ifname, gateway, sizeof gateway) == 0) {
    add_text(o, k.gateway, gateway);
  }
}

void bonded_layout(json_object *o, const char *mac0) {
  network_params r{};
  read_network_bond(KXDB_FILE, &r);  // unreadable: the zeroed record
  add_int(o, "mode", r.mode);
  add_text(o, "hostName", r.hostName);
  add_int(o, "primaryNet", r.primaryNet);
  add_ipv4_head(o, kPortKeys[0], r.bond);
  add_ipv4_tail(o, kPortKeys[0], r.bond, mac0);
  add_int(o, kPort6Keys[0].type, r.bond6networkType);
  add_ipv6(o, kPort6Keys[0], kBondName, r.bond6networkType, r.bond6);
  add_int(o, "defaultRoute", r.defaultRoute);
}

void multi_layout(json_object *o, const char *const macs[NETWORK_PORTS]) {
  network_params r{};
  read_network_muti(KXDB_FILE, &r);  // unreadable: the zeroed record
  add_int(o, "mode", r.mode);
  add_text(o, "hostName", r.hostName);
  for (int i = 0; i < NETWORK_PORTS; i++) {
    add_ipv4_head(o, kPortKeys[i], r.port[i]);
    add_int(o, kPort6Keys[i].type, r.ip6networkType[i]);
    add_ipv6(o, kPort6Keys[i], kPortNames[i], r.ip6networkType[i], r.port6[i]);
    add_ipv4_tail(o, kPortKeys[i], r.port[i], macs[i]);
  }
  add_int(o, "defaultRoute", r.defaultRoute);
}

// ---- Request: keys present replace the stored fields ----
void take_ipv4(json_object *root, const ipv4_keys &k, network_ipv4 *v) {
  take_int(root, k.enable, &v->enable);
  take_int(root, k.type, &v->networkType);
  take_text(root, k.ip, v->ipAddr);
  take_text(root, k.netmask, v->netmask);
  take_text(root, k.gateway, v->gateway);
  take_int(root, k.mtu, &v->mtu);
  take_text(root, k.dns1, v->DNS1);
  take_text(root, k.dns2, v->DNS2);
}

// An automatic IPv6 setting keeps the stored gateway.
void take_ipv6(json_object *root, const ipv6_keys &k, int32_t *type, network_ipv6 *v) {
  take_int(root, k.type, type);
  take_text(root, k.ip, v->ip6Addr);
  take_text(root, k.prefix, v->ip6netmask);
  if (*type != kIp6Auto) take_text(root, k.gateway, v->ip6gateway);
}

// Writes the fields of the mode the request selects. 0 or -1.
int save_settings(json_object *root, network_params *r) {
  if (r->mode == NETWORK_MODE_PRIMARY) take_int(root, "primaryNet", &r->primaryNet);
  if (r->mode != NETWORK_MODE_MULTI) {
    take_ipv4(root, kPortKeys[0], &r->bond);
    take_ipv6(root, kPort6Keys[0], &r->bond6networkType, &r->bond6);
    return write_network_bond(KXDB_FILE, r);
  }
  for (int i = 0; i < NETWORK_PORTS; i++) take_ipv4(root, kPortKeys[i], &r->port[i]);
  for (int i = 0; i < NETWORK_PORTS; i++) {
    take_ipv6(root, kPort6Keys[i], &r->ip6networkType[i], &r->port6[i]);
  }
  take_int(root, "defaultRoute", &r->defaultRoute);
  return write_network_muti(KXDB_FILE, r);
}

void send_network_log(int main_type, int sub_type) {
  log_info entry;
  cgi_init_log_info(&entry);
  entry.main_type = main_type;
  entry.sub_type = sub_type;
  entry.param_type = LOG_PARAM_NETWORK;
  cgi_send_log_info(&entry);
}

}  // namespace

void format_mac0(const char *stored, char *out) {
  int n = 0;
  for (size_t i = 0; stored[i] && n < MAC0_SIZE - 1; i++) {
    out[n++] = stored[i];
    bool pair_done = i % 2 == 1;
    if (pair_done && isalnum((unsigned char)stored[i + 1]) && n < MAC0_SIZE - 1) out[n++] = ':';
  }
  out[n] = '\0';
}

int on_get_network_info(char *text) {
  if (missing(text)) return -1;
  int layout = bare_number(text);
  if (layout < NETWORK_MODE_MULTI || layout > NETWORK_MODE_PRIMARY) {
    layout = -1;
    read_network_mode(KXDB_FILE, &layout);
  }
  char mac0[18], mac1[18];
  get_mac_addr(mac0, mac1);
  const char *macs[NETWORK_PORTS] = {mac0, mac1};
  JsonPtr reply(json_object_new_object());
  if (layout == NETWORK_MODE_BOND || layout == NETWORK_MODE_PRIMARY) {
    bonded_layout(reply.get(), mac0);
  } else if (layout == NETWORK_MODE_MULTI) {
    multi_layout(reply.get(), macs);
  } else {
    add_int(reply.get(), "defaultRoute", 0);
  }
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_set_network_info(char *text) {
  JsonPtr root = parse_object(text);
  if (!root) return -1;
  network_params r{};
  read_network(KXDB_FILE, &r);  // unreadable: go on from the zeroed record
  take_int(root.get(), "mode", &r.mode);
  int32_t conflict = 0, slave_clear = 0;
  take_int(root.get(), "Conflict", &conflict);
  take_int(root.get(), "slaveClear", &slave_clear);
  if (save_settings(root.get(), &r) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  cgi_send_notice(NETWORK_REQ_SLAVE_CLEAR, &slave_clear, sizeof slave_clear);
  settings_changed_notice notice = {"network"};
  cgi_send_notice(NETWORK_REQ_SETTINGS_CHANGED, &notice, sizeof notice);
  send_network_log(LOG_MAIN_WEB, LOG_SUB_NETWORK);
  if (conflict == 1) send_network_log(LOG_MAIN_EXCEPTION, LOG_SUB_IP_CONFLICT);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

int on_get_network_mode(char *) {
  int mode = -1;
  read_network_mode(KXDB_FILE, &mode);
  char reply[16];
  snprintf(reply, sizeof reply, "%d", mode);
  cgi_writeback_webserver(CGI_REPLY_TEXT, reply);
  return 0;
}

int on_restart_network(char *) {
  restart_network_request request = {};
  cgi_send_notice(NETWORK_REQ_RESTART, &request, sizeof request);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

int on_get_mac0(char *) {
  char stored[MAC_CONF_SIZE];
  read_mac_conf(stored);  // unreadable: the empty text
  char mac0[MAC0_SIZE];
  format_mac0(stored, mac0);
  JsonPtr reply(json_object_new_object());
  add_text(reply.get(), "mac0", mac0);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}
