// Payloads the network pages exchange with the core daemon.
#pragma once

#include <cstddef>
#include <cstdint>

// Requests, answered with the code plus 5000 where they wait.
constexpr int NETWORK_REQ_SETTINGS_CHANGED = 1702;  // char name[32], no wait
constexpr int NETWORK_REQ_RESTART = 1712;           // 32 zero bytes, no wait
constexpr int NETWORK_REQ_DEFAULT_ROUTE = 1724;     // int32 defaultRoute
constexpr int NETWORK_REQ_SLAVE_CLEAR = 3023;       // int32 slaveClear, no wait
constexpr int NETWORK_REQ_IP_CONFLICT = 3005;       // ip_conflict_request
constexpr int NETWORK_REQ_IP_CONFLICT_DEV = 3006;   // ip_conflict_dev_request

// 1702: names the settings that changed ("network").
struct settings_changed_notice {
  char name[32];
};
static_assert(sizeof(settings_changed_notice) == 32);

// 1712: the daemon restarts the interfaces; the payload carries nothing.
struct restart_network_request {
  char reserved[32];
};
static_assert(sizeof(restart_network_request) == 32);

// 3005: is the address used by another host?
struct ip_conflict_request {
  char ip[20];
};
static_assert(sizeof(ip_conflict_request) == 20);

// 3006: the same question, asked on one interface.
struct ip_conflict_dev_request {
  char dev[16];
  char ip[16];
};
static_assert(sizeof(ip_conflict_dev_request) == 32);
static_assert(offsetof(ip_conflict_dev_request, dev) == 0);
static_assert(offsetof(ip_conflict_dev_request, ip) == 16);
