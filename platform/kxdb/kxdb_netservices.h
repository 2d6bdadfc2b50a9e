// Settings of the recorder's network services: time and NTP, PPPoE, DDNS,
// e-mail, multicast, SNMP, the P2P cloud service and the push-message
// options. Each service is one record without a key field (a record never
// written reads as zeroes); the push-message types are one record per
// channel. The service ports and host name are the port record
// (kxdb_port.h).
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Time and NTP (table "time") ----
struct time_params {
  int32_t ntpEnable;
  int32_t dstEnable;
  char timeZone[32];
  char timeZoneName[32];
  char ntpServer[64];
  int32_t syncEnable;
  int32_t syncInterval;
  int32_t syncPc;
};
static_assert(sizeof(time_params) == 148);
static_assert(offsetof(time_params, ntpEnable) == 0);
static_assert(offsetof(time_params, dstEnable) == 4);
static_assert(offsetof(time_params, timeZone) == 8);
static_assert(offsetof(time_params, timeZoneName) == 40);
static_assert(offsetof(time_params, ntpServer) == 72);
static_assert(offsetof(time_params, syncEnable) == 136);
static_assert(offsetof(time_params, syncInterval) == 140);
static_assert(offsetof(time_params, syncPc) == 144);

// ---- PPPoE (table "pppoe") ----
struct pppoe_params {
  int32_t enable;
  int32_t autoConnect;
  char userName[64];
  char password[64];
};
static_assert(sizeof(pppoe_params) == 136);
static_assert(offsetof(pppoe_params, enable) == 0);
static_assert(offsetof(pppoe_params, autoConnect) == 4);
static_assert(offsetof(pppoe_params, userName) == 8);
static_assert(offsetof(pppoe_params, password) == 72);

// ---- DDNS (table "ddns") ----
struct ddns_params {
  int32_t enable;
  char domain[64];
  char userName[32];
  char password[32];
  char hostName[128];
  char freeDNSHash[128];
  int32_t updateFreq;
  int32_t httpPort;  // JSON "http" in, "http_port" out
  int32_t rtspPort;  // JSON "rtsp" in, "rtsp_port" out
  char ddnsurl[128];
};
static_assert(sizeof(ddns_params) == 528);
static_assert(offsetof(ddns_params, enable) == 0);
static_assert(offsetof(ddns_params, domain) == 4);
static_assert(offsetof(ddns_params, userName) == 68);
static_assert(offsetof(ddns_params, password) == 100);
static_assert(offsetof(ddns_params, hostName) == 132);
static_assert(offsetof(ddns_params, freeDNSHash) == 260);
static_assert(offsetof(ddns_params, updateFreq) == 388);
static_assert(offsetof(ddns_params, httpPort) == 392);
static_assert(offsetof(ddns_params, rtspPort) == 396);
static_assert(offsetof(ddns_params, ddnsurl) == 400);

// ---- E-mail (table "email") ----
constexpr int EMAIL_TEXT_SIZE = 65;
constexpr int EMAIL_RECEIVERS = 3;

struct email_receiver {
  char receiverAddr[EMAIL_TEXT_SIZE];
  char receiverName[EMAIL_TEXT_SIZE];
};
static_assert(sizeof(email_receiver) == 130);
static_assert(offsetof(email_receiver, receiverAddr) == 0);
static_assert(offsetof(email_receiver, receiverName) == 65);

struct email_params {
  int32_t enable;
  char userName[EMAIL_TEXT_SIZE];
  char password[EMAIL_TEXT_SIZE];
  char smtpServer[EMAIL_TEXT_SIZE];
  char reserved0[1];
  int32_t smtpPort;
  char senderAddr[EMAIL_TEXT_SIZE];
  char senderName[EMAIL_TEXT_SIZE];
  char reserved1[2];
  int32_t enableTls;  // 0 none, 1 and 2 the daemon's two TLS modes
  int32_t enableAttach;
  int32_t captureInterval;
  char reserved2[4];
  email_receiver receivers[EMAIL_RECEIVERS];
  char reserved3[14];
};
static_assert(sizeof(email_params) == 756);
static_assert(offsetof(email_params, enable) == 0);
static_assert(offsetof(email_params, userName) == 4);
static_assert(offsetof(email_params, password) == 69);
static_assert(offsetof(email_params, smtpServer) == 134);
static_assert(offsetof(email_params, reserved0) == 199);
static_assert(offsetof(email_params, smtpPort) == 200);
static_assert(offsetof(email_params, senderAddr) == 204);
static_assert(offsetof(email_params, senderName) == 269);
static_assert(offsetof(email_params, reserved1) == 334);
static_assert(offsetof(email_params, enableTls) == 336);
static_assert(offsetof(email_params, enableAttach) == 340);
static_assert(offsetof(email_params, captureInterval) == 344);
static_assert(offsetof(email_params, reserved2) == 348);
static_assert(offsetof(email_params, receivers) == 352);
static_assert(offsetof(email_params, receivers[1]) == 482);
static_assert(offsetof(email_params, receivers[2]) == 612);
static_assert(offsetof(email_params, reserved3) == 742);

// ---- Multicast (table "multicast"); also the payload of request 1729 ----
struct multicast_params {
  int32_t enable;
  char ip[65];
  char reserved[3];
};
static_assert(sizeof(multicast_params) == 72);
static_assert(offsetof(multicast_params, enable) == 0);
static_assert(offsetof(multicast_params, ip) == 4);
static_assert(offsetof(multicast_params, reserved) == 69);

// ---- SNMP (table "snmp") ----
constexpr int SNMP_TEXT_SIZE = 64;

struct snmp_params {
  int32_t v1_enable;
  int32_t v2c_enable;
  char write_community[SNMP_TEXT_SIZE];
  char read_community[SNMP_TEXT_SIZE];
  int32_t v3_enable;
  char read_security_name[SNMP_TEXT_SIZE];
  int32_t read_level_security;
  int32_t read_auth_algorithm;
  char read_auth_password[SNMP_TEXT_SIZE];
  int32_t read_pri_algorithm;
  char read_pri_password[SNMP_TEXT_SIZE];
  char write_security_name[SNMP_TEXT_SIZE];
  int32_t write_level_security;
  int32_t write_auth_algorithm;
  char write_auth_password[SNMP_TEXT_SIZE];
  int32_t write_pri_algorithm;
  char write_pri_password[SNMP_TEXT_SIZE];
  int32_t port;
};
static_assert(sizeof(snmp_params) == 552);
static_assert(offsetof(snmp_params, v1_enable) == 0);
static_assert(offsetof(snmp_params, v2c_enable) == 4);
static_assert(offsetof(snmp_params, write_community) == 8);
static_assert(offsetof(snmp_params, read_community) == 72);
static_assert(offsetof(snmp_params, v3_enable) == 136);
static_assert(offsetof(snmp_params, read_security_name) == 140);
static_assert(offsetof(snmp_params, read_level_security) == 204);
static_assert(offsetof(snmp_params, read_auth_algorithm) == 208);
static_assert(offsetof(snmp_params, read_auth_password) == 212);
static_assert(offsetof(snmp_params, read_pri_algorithm) == 276);
static_assert(offsetof(snmp_params, read_pri_password) == 280);
static_assert(offsetof(snmp_params, write_security_name) == 344);
static_assert(offsetof(snmp_params, write_level_security) == 408);
static_assert(offsetof(snmp_params, write_auth_algorithm) == 412);
static_assert(offsetof(snmp_params, write_auth_password) == 416);
static_assert(offsetof(snmp_params, write_pri_algorithm) == 480);
static_assert(offsetof(snmp_params, write_pri_password) == 484);
static_assert(offsetof(snmp_params, port) == 548);

// ---- P2P cloud service (table "p2p"); also the payload of 3700 and 3701 ----
constexpr int P2P_CLOUD_TEXTS = 3;
constexpr int P2P_CLOUD_TEXT_SIZE = 128;
constexpr int P2P_CLOUD_KEY_SIZE = 64;

struct p2p_params {
  int32_t enable;
  char reserved[32];
  // Binding texts the cloud service gave the recorder; the P2P test
  // forwards them to the P2P server as they stand.
  char cloud_info[P2P_CLOUD_TEXTS][P2P_CLOUD_TEXT_SIZE];
  char cloud_key[P2P_CLOUD_KEY_SIZE];
  int32_t region;
};
static_assert(sizeof(p2p_params) == 488);
static_assert(offsetof(p2p_params, enable) == 0);
static_assert(offsetof(p2p_params, reserved) == 4);
static_assert(offsetof(p2p_params, cloud_info) == 36);
static_assert(offsetof(p2p_params, cloud_info[1]) == 164);
static_assert(offsetof(p2p_params, cloud_info[2]) == 292);
static_assert(offsetof(p2p_params, cloud_key) == 420);
static_assert(offsetof(p2p_params, region) == 484);

// ---- Push messages (table "push_msg", one record per channel) ----
constexpr int PUSH_MSG_CHANNELS = 64;  // keys 0 to 63

struct push_msg_event {
  int32_t channel;
  int32_t type;  // the page's bit set of the events that push a message
};
static_assert(sizeof(push_msg_event) == 8);
static_assert(offsetof(push_msg_event, channel) == 0);
static_assert(offsetof(push_msg_event, type) == 4);

// The recorder's own push events (table "push_msg_nvr"): one text.
constexpr int PUSH_MSG_NVR_SIZE = 65;

// Readers leave the record as it was on failure; writers return 0 or -1.
int read_time(const char *file, time_params *record);
int write_time(const char *file, const time_params *record);
int read_pppoe(const char *file, pppoe_params *record);
int write_pppoe(const char *file, const pppoe_params *record);
int read_ddns(const char *file, ddns_params *record);
int write_ddns(const char *file, const ddns_params *record);
int read_email(const char *file, email_params *record);
int write_email(const char *file, const email_params *record);
int read_multicast(const char *file, multicast_params *record);
int write_multicast(const char *file, const multicast_params *record);
int read_snmp(const char *file, snmp_params *record);
int write_snmp(const char *file, const snmp_params *record);
int read_p2p_info(const char *file, p2p_params *record);
int write_p2p_info(const char *file, const p2p_params *record);

// The stored push records in channel order, at most `capacity`; `count`
// receives how many. 0, or -1 (count 0).
int read_push_msg_events(const char *file, push_msg_event *records, int capacity, int *count);
// Channels outside 0 to 63 are refused (-1).
int write_push_msg_event(const char *file, const push_msg_event *record);
// `text` holds PUSH_MSG_NVR_SIZE bytes; never written, it reads as the
// empty text.
int read_push_msg_nvr_event(const char *file, char *text);
int write_push_msg_nvr_event(const char *file, const char *text);
