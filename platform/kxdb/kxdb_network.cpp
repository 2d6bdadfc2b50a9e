#include "kxdb_network.h"

#include <cstdio>
#include <string>

#include "kxdb.h"

namespace {

constexpr const char *kNetwork = "network";
constexpr int kNetworkIdx = 0;  // the one record
constexpr const char *kMacKey = "mac";

// The fields of the bonded form that the page may change.
void copy_bond_settings(network_params *to, const network_params &from) {
  to->mode = from.mode;
  to->primaryNet = from.primaryNet;
  to->bond = from.bond;
  to->bond6 = from.bond6;
  to->bond6networkType = from.bond6networkType;
}

// The fields of the multi-address form that the page may change.
void copy_muti_settings(network_params *to, const network_params &from) {
  to->mode = from.mode;
  for (int i = 0; i < NETWORK_PORTS; i++) {
    to->port[i] = from.port[i];
    to->port6[i] = from.port6[i];
    to->ip6networkType[i] = from.ip6networkType[i];
  }
  to->defaultRoute = from.defaultRoute;
}

// What every form reads besides its own fields.
void copy_common(network_params *to, const network_params &from) {
  to->mode = from.mode;
  snprintf(to->hostName, sizeof to->hostName, "%.*s", (int)sizeof from.hostName - 1,
           from.hostName);
  to->defaultRoute = from.defaultRoute;
}

// Stores `record`'s fields of one form over the stored record, one step.
template <class Copy>
int write_form(const char *file, const network_params *record, Copy copy) {
  return kxdb_transaction(file, [&] {
    network_params stored{};
    if (kxdb_get(file, kNetwork, kNetworkIdx, &stored, sizeof stored) < 0) return false;
    copy(&stored, *record);
    return kxdb_put(file, kNetwork, kNetworkIdx, &stored, sizeof stored) == 0;
  });
}

}  // namespace

int read_network(const char *file, network_params *record) {
  return kxdb_read_record<network_params>(file, kNetwork, kNetworkIdx, record, nullptr);
}

int write_network(const char *file, const network_params *record) {
  return kxdb_put(file, kNetwork, kNetworkIdx, record, sizeof *record);
}

int read_network_bond(const char *file, network_params *record) {
  network_params stored{};
  if (read_network(file, &stored) != 0) return -1;
  copy_common(record, stored);
  copy_bond_settings(record, stored);
  return 0;
}

int write_network_bond(const char *file, const network_params *record) {
  return write_form(file, record, copy_bond_settings);
}

int read_network_muti(const char *file, network_params *record) {
  network_params stored{};
  if (read_network(file, &stored) != 0) return -1;
  copy_common(record, stored);
  copy_muti_settings(record, stored);
  return 0;
}

int write_network_muti(const char *file, const network_params *record) {
  return write_form(file, record, copy_muti_settings);
}

int read_network_mode(const char *file, int *mode) {
  network_params stored{};
  if (!mode || read_network(file, &stored) != 0) return -1;
  *mode = stored.mode;
  return 0;
}

int read_mac_conf(char *buffer) {
  if (!buffer) return -1;
  buffer[0] = '\0';
  std::string value;
  int rc = kxdb_param_get(KXDB_FILE, kMacKey, &value);
  if (rc < 0) return -1;
  if (rc == 0) snprintf(buffer, MAC_CONF_SIZE, "%s", value.c_str());
  return 0;
}

int write_mac_conf(const char *text) {
  return text ? kxdb_param_set(KXDB_FILE, kMacKey, text) : -1;
}
