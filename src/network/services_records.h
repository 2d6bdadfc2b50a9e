// Payloads the network service pages exchange with the core daemon. The
// settings records themselves (time, e-mail, multicast, P2P, ...) are in
// kxdb_netservices.h and kxdb_port.h; several travel as payloads too.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kxdb_netservices.h"

// Requests, answered with the code plus 5000 where they wait.
constexpr int SERVICES_REQ_SET_TIME = 1701;        // time_set_request
constexpr int SERVICES_REQ_TIME_APPLIED = 1711;    // no payload, no wait
constexpr int SERVICES_REQ_REBOOT = 1703;          // no payload, no wait
constexpr int SERVICES_REQ_MULTICAST = 1729;       // multicast_params
constexpr int SERVICES_REQ_P2P_UNBIND = 2302;      // no payload
constexpr int SERVICES_REQ_DDNS_STATUS = 3309;     // no payload
constexpr int SERVICES_REQ_TEST_EMAIL = 3409;      // test_email_request
constexpr int SERVICES_REQ_PUSH_ENABLE = 3617;     // push_enable_notice, no wait
constexpr int SERVICES_REQ_CHANNEL_ACCESS = 3618;  // int32 enableAccess, no wait
constexpr int SERVICES_REQ_P2P_ENABLE = 3700;      // p2p_params (or the server's text)
constexpr int SERVICES_REQ_P2P_DISABLE = 3701;     // p2p_params
constexpr int SERVICES_REQ_P2P_STATUS = 3702;      // no payload

// 1701: the manual time in double quotes, or empty when NTP (or the
// failover setting) keeps the clock.
struct time_set_request {
  char time[32];
};
static_assert(sizeof(time_set_request) == 32);

// 3409: the daemon sends a test mail with the stored e-mail settings.
struct test_email_request {
  char name[32];  // "testmail"
};
static_assert(sizeof(test_email_request) == 32);

// 3617: the stored "enable_push_msg" (0 or 1) as decimal text.
struct push_enable_notice {
  char enable[10];
};
static_assert(sizeof(push_enable_notice) == 10);

// 8702: the P2P service's state as the daemon reports it.
struct p2p_status_info {
  int32_t enable;
  int32_t p2pstatus;
  char model[32];
  char ipc[64];
  char cloudAccount[64];
  char cloudServer[64];
  char registerCode[128];
  char company[128];
  char email[128];
  char dealer[128];
  int32_t region;
};
static_assert(sizeof(p2p_status_info) == 748);
static_assert(offsetof(p2p_status_info, enable) == 0);
static_assert(offsetof(p2p_status_info, p2pstatus) == 4);
static_assert(offsetof(p2p_status_info, model) == 8);
static_assert(offsetof(p2p_status_info, ipc) == 40);
static_assert(offsetof(p2p_status_info, cloudAccount) == 104);
static_assert(offsetof(p2p_status_info, cloudServer) == 168);
static_assert(offsetof(p2p_status_info, registerCode) == 232);
static_assert(offsetof(p2p_status_info, company) == 360);
static_assert(offsetof(p2p_status_info, email) == 488);
static_assert(offsetof(p2p_status_info, dealer) == 616);
static_assert(offsetof(p2p_status_info, region) == 744);

// ---- The P2P test's exchange with the P2P server ----
constexpr int P2P_SERVER_PORT = 9999;

// The recorder's description, sent encrypted after the request header.
struct p2p_device_block {
  char mac[24];
  char deviceName[32];
  char sn[64];
  char cloud_info[P2P_CLOUD_TEXTS][P2P_CLOUD_TEXT_SIZE];
  char cloud_key[P2P_CLOUD_KEY_SIZE];
};
static_assert(sizeof(p2p_device_block) == 568);
static_assert(offsetof(p2p_device_block, mac) == 0);
static_assert(offsetof(p2p_device_block, deviceName) == 24);
static_assert(offsetof(p2p_device_block, sn) == 56);
static_assert(offsetof(p2p_device_block, cloud_info) == 120);
static_assert(offsetof(p2p_device_block, cloud_info[1]) == 248);
static_assert(offsetof(p2p_device_block, cloud_info[2]) == 376);
static_assert(offsetof(p2p_device_block, cloud_key) == 504);

// Head of a message to or from the P2P server.
struct p2p_message_head {
  int32_t kind;       // 2: a device registration test
  int32_t reserved0;
  int32_t size;       // encrypted size of the block that follows
  int32_t status;     // the server's answer: 0 accepted, 2 refused
  int32_t version;    // 1
  char reserved1[20];
};
static_assert(sizeof(p2p_message_head) == 40);
static_assert(offsetof(p2p_message_head, kind) == 0);
static_assert(offsetof(p2p_message_head, reserved0) == 4);
static_assert(offsetof(p2p_message_head, size) == 8);
static_assert(offsetof(p2p_message_head, status) == 12);
static_assert(offsetof(p2p_message_head, version) == 16);
static_assert(offsetof(p2p_message_head, reserved1) == 20);
