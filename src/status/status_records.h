// The core daemon's status answers: interfaces, traffic, usage totals,
// camera streams, channel support, alarm state and the logged-in users.
// All integers little-endian; texts NUL-terminated within their fields.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- 8301: one network interface ----
struct netif_status_record {
  char ifname[12];
  int32_t id;
  int32_t state;
  int32_t speedMode;
  int32_t duplex;
  int32_t enable;
  int32_t dhcpEnable;
  char ipAddr[24];
  char MAC[24];
  char primaryDNS[24];
  char secondDNS[24];
  char gateway[24];
  char netmask[24];
  int32_t mtu;
  uint8_t ip6mode;
  char ip6address[67];
  int32_t ip6prefix;
  char ip6gateway[64];
};
static_assert(sizeof(netif_status_record) == 320);
static_assert(offsetof(netif_status_record, ifname) == 0);
static_assert(offsetof(netif_status_record, id) == 12);
static_assert(offsetof(netif_status_record, state) == 16);
static_assert(offsetof(netif_status_record, speedMode) == 20);
static_assert(offsetof(netif_status_record, duplex) == 24);
static_assert(offsetof(netif_status_record, enable) == 28);
static_assert(offsetof(netif_status_record, dhcpEnable) == 32);
static_assert(offsetof(netif_status_record, ipAddr) == 36);
static_assert(offsetof(netif_status_record, MAC) == 60);
static_assert(offsetof(netif_status_record, primaryDNS) == 84);
static_assert(offsetof(netif_status_record, secondDNS) == 108);
static_assert(offsetof(netif_status_record, gateway) == 132);
static_assert(offsetof(netif_status_record, netmask) == 156);
static_assert(offsetof(netif_status_record, mtu) == 180);
static_assert(offsetof(netif_status_record, ip6mode) == 184);
static_assert(offsetof(netif_status_record, ip6address) == 185);
static_assert(offsetof(netif_status_record, ip6prefix) == 252);
static_assert(offsetof(netif_status_record, ip6gateway) == 256);

// ---- 8302: traffic of one interface (bytes per second) ----
struct netif_speed_record {
  char ifname[12];
  int32_t RxSpeed;
  int32_t TxSpeed;
  int32_t id;
};
static_assert(sizeof(netif_speed_record) == 24);
static_assert(offsetof(netif_speed_record, ifname) == 0);
static_assert(offsetof(netif_speed_record, RxSpeed) == 12);
static_assert(offsetof(netif_speed_record, TxSpeed) == 16);
static_assert(offsetof(netif_speed_record, id) == 20);

// ---- 8306: usage totals ----
struct usage_totals_record {
  int32_t total;
  int32_t free;
  int32_t used;
};
static_assert(sizeof(usage_totals_record) == 12);
static_assert(offsetof(usage_totals_record, total) == 0);
static_assert(offsetof(usage_totals_record, free) == 4);
static_assert(offsetof(usage_totals_record, used) == 8);

// ---- 8300: streams of one camera, records ordered by channel ----
struct stream_status {
  int32_t width;
  int32_t height;
  int32_t framerate;
  int32_t bitrate;
  int32_t connection;
  int32_t reserved;
  int32_t connectStatus;
};
static_assert(sizeof(stream_status) == 28);
static_assert(offsetof(stream_status, width) == 0);
static_assert(offsetof(stream_status, height) == 4);
static_assert(offsetof(stream_status, framerate) == 8);
static_assert(offsetof(stream_status, bitrate) == 12);
static_assert(offsetof(stream_status, connection) == 16);
static_assert(offsetof(stream_status, reserved) == 20);
static_assert(offsetof(stream_status, connectStatus) == 24);

struct camera_stream_record {
  stream_status main;
  stream_status sub;
  int32_t recordOn;
  int32_t alarmOn;
  int32_t channel;
  int32_t reserved;
};
static_assert(sizeof(camera_stream_record) == 72);
static_assert(offsetof(camera_stream_record, main) == 0);
static_assert(offsetof(camera_stream_record, sub) == 28);
static_assert(offsetof(camera_stream_record, recordOn) == 56);
static_assert(offsetof(camera_stream_record, alarmOn) == 60);
static_assert(offsetof(camera_stream_record, channel) == 64);
static_assert(offsetof(camera_stream_record, reserved) == 68);

// ---- 8263: what each channel supports, 64 records ----
constexpr int SUPPORT_CHANNELS = 64;
struct channel_support_record {
  int32_t channel;
  int32_t support;  // 1 = supported
  int32_t type;     // 1 or 2; other values are no type
  char reserved[32];
};
static_assert(sizeof(channel_support_record) == 44);
static_assert(offsetof(channel_support_record, channel) == 0);
static_assert(offsetof(channel_support_record, support) == 4);
static_assert(offsetof(channel_support_record, type) == 8);
static_assert(offsetof(channel_support_record, reserved) == 12);

// ---- 8305: alarm state, one record. Channel masks: bit n is channel n ----
constexpr int ALARM_STATE_CHANNELS = 64;
struct channel_alarm_pair {
  int32_t in;
  int32_t out;
};
static_assert(sizeof(channel_alarm_pair) == 8);

struct alarm_state_record {
  uint64_t videoloss;
  uint64_t motion;
  uint32_t alarmOut;  // bit k = recorder output k
  uint32_t alarmIn;   // bit j = recorder input j
  uint64_t entrance;
  uint64_t exiting;
  uint64_t advancedMotion;
  uint64_t tampering;
  uint64_t lineCrossing;
  uint64_t loitering;
  uint64_t humanDetection;
  uint64_t objectLeftRemove;
  char reserved[8];
  channel_alarm_pair pairs[ALARM_STATE_CHANNELS];
  uint64_t camInState[4];   // input k of each camera
  uint64_t camOutState[2];
  uint64_t camInType[4];
  uint64_t camOutType[2];
};
static_assert(sizeof(alarm_state_record) == 704);
static_assert(offsetof(alarm_state_record, videoloss) == 0);
static_assert(offsetof(alarm_state_record, motion) == 8);
static_assert(offsetof(alarm_state_record, alarmOut) == 16);
static_assert(offsetof(alarm_state_record, alarmIn) == 20);
static_assert(offsetof(alarm_state_record, entrance) == 24);
static_assert(offsetof(alarm_state_record, exiting) == 32);
static_assert(offsetof(alarm_state_record, advancedMotion) == 40);
static_assert(offsetof(alarm_state_record, tampering) == 48);
static_assert(offsetof(alarm_state_record, lineCrossing) == 56);
static_assert(offsetof(alarm_state_record, loitering) == 64);
static_assert(offsetof(alarm_state_record, humanDetection) == 72);
static_assert(offsetof(alarm_state_record, objectLeftRemove) == 80);
static_assert(offsetof(alarm_state_record, reserved) == 88);
static_assert(offsetof(alarm_state_record, pairs) == 96);
static_assert(offsetof(alarm_state_record, camInState) == 608);
static_assert(offsetof(alarm_state_record, camOutState) == 640);
static_assert(offsetof(alarm_state_record, camInType) == 656);
static_assert(offsetof(alarm_state_record, camOutType) == 688);

// ---- 6719: one logged-in user ----
struct online_user_record {
  char userName[64];
  int32_t userLevel;
  char ipaddr[64];
  char loginTime[32];
};
static_assert(sizeof(online_user_record) == 164);
static_assert(offsetof(online_user_record, userName) == 0);
static_assert(offsetof(online_user_record, userLevel) == 64);
static_assert(offsetof(online_user_record, ipaddr) == 68);
static_assert(offsetof(online_user_record, loginTime) == 132);
