// Endpoint table of the network module: addressing and interfaces first;
// the services and certificate pages join the same table.
#include "network.h"

namespace {
const WebRes network_table[] = {
    WEBRES_ROW("/7040", on_get_network_info,
               "network settings in the layout of a mode: body 0 (two ports), 1 or 2 "
               "(bonded); any other number: the stored mode's layout"),
    WEBRES_ROW("/7041", on_set_network_info,
               "save network settings: JSON of the mode's keys (addresses, DNS, MTU, IPv6); "
               "absent keys stay as stored"),
    WEBRES_ROW("/7042", on_get_network_mode,
               "stored network mode as text: 0 two ports, 1 or 2 bonded"),
    WEBRES_ROW("/7043", on_restart_network,
               "restart the network interfaces; no body"),
    WEBRES_ROW("/7044", on_get_mac0,
               "the recorder's MAC address setting as {\"mac0\": \"00:11:22:AA:BB:CC\"}"),
    WEBRES_ROW("/7070", on_ip_conflict,
               "IP conflict test: {\"ip\"}; \"0\" free, \"-1\" in use"),
    WEBRES_ROW("/7071", on_ip_conflict_by_dev,
               "IP conflict test on one interface: {\"dev\", \"ip\"}; \"0\" free, \"-1\" in use"),
    WEBRES_ROW("/7096", on_cgi_set_default_route,
               "default route: {\"defaultRoute\": port}; answers {\"res\": r}"),
};
}  // namespace

WEBRES_REGISTER_TABLE(network_table, WEBRES_NETWORK)
