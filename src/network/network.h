// Network and services: the recorder's own addressing (both Ethernet ports,
// bonding, IPv6, DNS, MTU, default route, host name, MAC), network restart
// and IP conflict tests. One response dispatcher serves every page of the
// network table.
#pragma once

#include "kxdb_network.h"
#include "netif.h"
#include "network_records.h"
#include "webcgi.h"

// Response dispatcher of the whole network table.
void on_network_ipc_callback(int context, const kx_msg_head *head, const void *payload);

// ---- Addressing (addressing.cpp) ----
int on_get_network_info(char *text);   // "/7040"
int on_set_network_info(char *text);   // "/7041"
int on_get_network_mode(char *text);   // "/7042"
int on_restart_network(char *text);    // "/7043"
int on_get_mac0(char *text);           // "/7044"

// ---- Daemon tests and the default route (probes.cpp) ----
int on_ip_conflict(char *text);             // "/7070"
int on_ip_conflict_by_dev(char *text);      // "/7071"
int on_cgi_set_default_route(char *text);   // "/7096"
// 8005 and 8006: "-1" when the address is taken, "0" when it is free.
void on_ip_conflict_cb(int count, const void *payload);
// 6724: {"res": r}.
void on_cgi_set_default_route_cb(int count, const void *payload);

// The stored MAC text with a ':' after every second character, within a
// field of MAC0_SIZE - 1 characters.
constexpr int MAC0_SIZE = 32;
void format_mac0(const char *stored, char *out);

// Module-private helpers.
namespace network {
// The request text as a JSON object; null when it does not parse or is no
// object (such requests are not answered).
JsonPtr parse_object(const char *text);
// A body that is absent or blank.
bool missing(const char *text);
// The body as a decimal number (atoi's reading; beyond int saturates).
int bare_number(const char *text);
}  // namespace network
