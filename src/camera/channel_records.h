// Records of the camera channel pages: the daemon's search and channel
// lists, connection tests, address changes, recording days, and the detail
// block of their log entries. Little-endian int32 words and NUL-terminated
// texts of fixed width; bytes without a name are reserved and sent as zero.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- A camera found on the network (answer 8200: records of 760 bytes) ----
struct found_camera {
  char ipAddr[32];
  char macAddr[32];
  int32_t managePort;
  int32_t protocol;
  char vendor[192];
  char sn[128];
  char fwVersion[64];
  char model[64];
  int32_t modelId;
  char netmask[32];
  char dns[32];
  char gateway[32];
  char netif[8];
  int32_t active_status;
  char name[64];
  char snReal[64];
};
static_assert(sizeof(found_camera) == 760);
static_assert(offsetof(found_camera, ipAddr) == 0);
static_assert(offsetof(found_camera, macAddr) == 32);
static_assert(offsetof(found_camera, managePort) == 64);
static_assert(offsetof(found_camera, protocol) == 68);
static_assert(offsetof(found_camera, vendor) == 72);
static_assert(offsetof(found_camera, sn) == 264);
static_assert(offsetof(found_camera, fwVersion) == 392);
static_assert(offsetof(found_camera, model) == 456);
static_assert(offsetof(found_camera, modelId) == 520);
static_assert(offsetof(found_camera, netmask) == 524);
static_assert(offsetof(found_camera, dns) == 556);
static_assert(offsetof(found_camera, gateway) == 588);
static_assert(offsetof(found_camera, netif) == 620);
static_assert(offsetof(found_camera, active_status) == 628);
static_assert(offsetof(found_camera, name) == 632);
static_assert(offsetof(found_camera, snReal) == 696);

// ---- A camera connected to a channel (answer 8201: records of 1040 bytes) ----
struct connected_camera {
  int32_t channel;
  int32_t managePort;
  int32_t camProtocol;
  int32_t state;
  int32_t mainRtspPort;
  char ipAddr[32];
  char vendor[192];
  char sn[128];
  char fwVersion[64];
  char mac[48];
  char model[64];
  char reserved[260];
  int32_t poechannel;
  int32_t physicalport;
  int32_t alarmin;
  int32_t alarmout;
  int32_t whiteLed;
  int32_t ledAlarm;
  int32_t ledManual;
  int32_t minorid;
  int32_t subState;
  int32_t connectState;
  char snReal[64];
  char ddns[64];
  char chipinfo[64];
};
static_assert(sizeof(connected_camera) == 1040);
static_assert(offsetof(connected_camera, channel) == 0);
static_assert(offsetof(connected_camera, managePort) == 4);
static_assert(offsetof(connected_camera, camProtocol) == 8);
static_assert(offsetof(connected_camera, state) == 12);
static_assert(offsetof(connected_camera, mainRtspPort) == 16);
static_assert(offsetof(connected_camera, ipAddr) == 20);
static_assert(offsetof(connected_camera, vendor) == 52);
static_assert(offsetof(connected_camera, sn) == 244);
static_assert(offsetof(connected_camera, fwVersion) == 372);
static_assert(offsetof(connected_camera, mac) == 436);
static_assert(offsetof(connected_camera, model) == 484);
static_assert(offsetof(connected_camera, reserved) == 548);
static_assert(offsetof(connected_camera, poechannel) == 808);
static_assert(offsetof(connected_camera, physicalport) == 812);
static_assert(offsetof(connected_camera, alarmin) == 816);
static_assert(offsetof(connected_camera, alarmout) == 820);
static_assert(offsetof(connected_camera, whiteLed) == 824);
static_assert(offsetof(connected_camera, ledAlarm) == 828);
static_assert(offsetof(connected_camera, ledManual) == 832);
static_assert(offsetof(connected_camera, minorid) == 836);
static_assert(offsetof(connected_camera, subState) == 840);
static_assert(offsetof(connected_camera, connectState) == 844);
static_assert(offsetof(connected_camera, snReal) == 848);
static_assert(offsetof(connected_camera, ddns) == 912);
static_assert(offsetof(connected_camera, chipinfo) == 976);

// ---- Channel notices ----
// 1206 (8 bytes): the PoE port state of a channel after an add or a clear.
struct poe_notice {
  int32_t channel;
  int32_t otherPoe;  // 1: the camera is powered from elsewhere
};
static_assert(sizeof(poe_notice) == 8);
static_assert(offsetof(poe_notice, channel) == 0);
static_assert(offsetof(poe_notice, otherPoe) == 4);

// ---- Connection tests ----
// Request 3202 (212 bytes).
struct connect_test {
  char ipAddr[32];
  int32_t managePort;
  char userName[64];
  char password[33];
  char reserved0[3];
  int32_t camProtocol;
  char reserved1[72];
};
static_assert(sizeof(connect_test) == 212);
static_assert(offsetof(connect_test, ipAddr) == 0);
static_assert(offsetof(connect_test, managePort) == 32);
static_assert(offsetof(connect_test, userName) == 36);
static_assert(offsetof(connect_test, password) == 100);
static_assert(offsetof(connect_test, reserved0) == 133);
static_assert(offsetof(connect_test, camProtocol) == 136);
static_assert(offsetof(connect_test, reserved1) == 140);

// Request 3227 (148 bytes): the same keys behind a leading zero word.
struct connect_test_ex {
  int32_t zero;
  char ipAddr[32];
  int32_t managePort;  // at least 80
  char userName[64];
  char password[33];
  char reserved0[3];
  int32_t camProtocol;
  char reserved1[4];
};
static_assert(sizeof(connect_test_ex) == 148);
static_assert(offsetof(connect_test_ex, zero) == 0);
static_assert(offsetof(connect_test_ex, ipAddr) == 4);
static_assert(offsetof(connect_test_ex, managePort) == 36);
static_assert(offsetof(connect_test_ex, userName) == 40);
static_assert(offsetof(connect_test_ex, password) == 104);
static_assert(offsetof(connect_test_ex, reserved0) == 137);
static_assert(offsetof(connect_test_ex, camProtocol) == 140);
static_assert(offsetof(connect_test_ex, reserved1) == 144);

// ---- Camera address change ----
// Request 3205 (388 bytes): the camera is found by its MAC address.
struct ipc_network {
  char macAddr[48];
  char oldIpcAddr[32];
  char newIpcAddr[32];
  char netmask[32];
  char gateway[32];
  char primaryDNS[32];
  int32_t port;
  char username[64];
  char password[33];
  char reserved0[3];
  int32_t protocol;
  char reserved1[64];
  char netif[6];
  char reserved2[2];
};
static_assert(sizeof(ipc_network) == 388);
static_assert(offsetof(ipc_network, macAddr) == 0);
static_assert(offsetof(ipc_network, oldIpcAddr) == 48);
static_assert(offsetof(ipc_network, newIpcAddr) == 80);
static_assert(offsetof(ipc_network, netmask) == 112);
static_assert(offsetof(ipc_network, gateway) == 144);
static_assert(offsetof(ipc_network, primaryDNS) == 176);
static_assert(offsetof(ipc_network, port) == 208);
static_assert(offsetof(ipc_network, username) == 212);
static_assert(offsetof(ipc_network, password) == 276);
static_assert(offsetof(ipc_network, reserved0) == 309);
static_assert(offsetof(ipc_network, protocol) == 312);
static_assert(offsetof(ipc_network, reserved1) == 316);
static_assert(offsetof(ipc_network, netif) == 380);
static_assert(offsetof(ipc_network, reserved2) == 386);

// Request 3229 (396 bytes): one camera of a batch.
struct ipc_network_batch_entry {
  ipc_network network;
  int32_t channelId;
  int32_t modifynum;
};
static_assert(sizeof(ipc_network_batch_entry) == 396);
static_assert(offsetof(ipc_network_batch_entry, network) == 0);
static_assert(offsetof(ipc_network_batch_entry, channelId) == 388);
static_assert(offsetof(ipc_network_batch_entry, modifynum) == 392);

// Answer 8230: a count, then up to 64 of these (52 bytes each).
struct ipc_network_result {
  char mac[48];
  int32_t result;
};
static_assert(sizeof(ipc_network_result) == 52);
static_assert(offsetof(ipc_network_result, mac) == 0);
static_assert(offsetof(ipc_network_result, result) == 48);

// ---- Recording days of a month (request 3493, 80 bytes) ----
struct record_days_query {
  int32_t subStream;  // 1: the sub stream's recordings
  int32_t year;       // calendar year
  int32_t month;      // 1 to 12
  char channels[65];  // 64 characters '0'/'1' and a NUL
  char reserved[3];
};
static_assert(sizeof(record_days_query) == 80);
static_assert(offsetof(record_days_query, subStream) == 0);
static_assert(offsetof(record_days_query, year) == 4);
static_assert(offsetof(record_days_query, month) == 8);
static_assert(offsetof(record_days_query, channels) == 12);
static_assert(offsetof(record_days_query, reserved) == 77);

// Answer 8493: word d (1 to 31) non-zero when day d has recordings; word 0
// is not a day.
constexpr int RECORD_MONTH_DAYS = 31;
struct record_days_answer {
  int32_t days[RECORD_MONTH_DAYS + 1];
};
static_assert(sizeof(record_days_answer) == 128);
static_assert(offsetof(record_days_answer, days) == 0);

// ---- Detail block of a channel's log entries (kind 111, 176 bytes) ----
constexpr int LOG_DETAIL_CHANNEL = 111;

struct channel_log_detail {
  int32_t param_type;
  int32_t channel;  // channel plus one
  int32_t managePort;
  int32_t syncTime;
  char ipAddr[64];
  char protocol[32];  // "ONVIF", "RTSP" or "KXSF"
  char transmit[64];  // "UDP", "RTSP Over HTTPS" or "TCP"
};
static_assert(sizeof(channel_log_detail) == 176);
static_assert(offsetof(channel_log_detail, param_type) == 0);
static_assert(offsetof(channel_log_detail, channel) == 4);
static_assert(offsetof(channel_log_detail, managePort) == 8);
static_assert(offsetof(channel_log_detail, syncTime) == 12);
static_assert(offsetof(channel_log_detail, ipAddr) == 16);
static_assert(offsetof(channel_log_detail, protocol) == 80);
static_assert(offsetof(channel_log_detail, transmit) == 112);
