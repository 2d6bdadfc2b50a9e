// Status requests: the recorder's two interfaces (addresses as the network
// settings hold them), their traffic, the disks' usage totals, the streams
// of the cameras on channels 0 to 3, what each channel supports, the alarm
// state (the front door's input open, motion on the car park camera) and
// one logged-in administrator.
#include <cstdio>
#include <cstring>
#include <ctime>

#include "kxdb.h"
#include "kxdb_network.h"
#include "model.h"
#include "status/status_records.h"

namespace {

constexpr int kCameras = 4;  // the demo's cameras, channels 0 to 3

std::vector<SimFrame> answer(const Bytes &payload) {
  return {SimFrame{0, payload, 0}};
}

template <class T>
void append(Bytes &out, const T &record) {
  Bytes b = bytes_of(record);
  out.insert(out.end(), b.begin(), b.end());
}

template <size_t N>
void set_text(char (&field)[N], const char *text) {
  snprintf(field, N, "%s", text);
}

netif_status_record interface_of(int id, const network_ipv4 &v4, const network_ipv6 &v6) {
  netif_status_record r = {};
  snprintf(r.ifname, sizeof r.ifname, "eth%d", id);
  r.id = id;
  r.state = v4.enable ? 1 : 0;
  r.speedMode = 1000;
  r.duplex = 1;
  r.enable = v4.enable;
  r.dhcpEnable = v4.networkType == 1 ? 1 : 0;
  snprintf(r.ipAddr, sizeof r.ipAddr, "%.*s", (int)sizeof v4.ipAddr, v4.ipAddr);
  snprintf(r.MAC, sizeof r.MAC, "02:4B:58:00:00:%02X", 0x10 + id);
  snprintf(r.primaryDNS, sizeof r.primaryDNS, "%.*s", (int)sizeof v4.DNS1, v4.DNS1);
  snprintf(r.secondDNS, sizeof r.secondDNS, "%.*s", (int)sizeof v4.DNS2, v4.DNS2);
  snprintf(r.gateway, sizeof r.gateway, "%.*s", (int)sizeof v4.gateway, v4.gateway);
  snprintf(r.netmask, sizeof r.netmask, "%.*s", (int)sizeof v4.netmask, v4.netmask);
  r.mtu = v4.mtu ? v4.mtu : 1500;
  r.ip6mode = 1;
  snprintf(r.ip6address, sizeof r.ip6address, "fe80::4b:58ff:fe00:%x", 0x10 + id);
  if (v6.ip6Addr[0]) {
    snprintf(r.ip6address, sizeof r.ip6address, "%.*s", (int)sizeof v6.ip6Addr, v6.ip6Addr);
  }
  r.ip6prefix = 64;
  snprintf(r.ip6gateway, sizeof r.ip6gateway, "%.*s", (int)sizeof v6.ip6gateway, v6.ip6gateway);
  return r;
}

std::vector<SimFrame> interfaces(const SimRequest &) {
  network_params settings = {};
  read_network(KXDB_FILE, &settings);
  Bytes out;
  for (int id = 0; id < NETWORK_PORTS; id++) {
    append(out, interface_of(id, settings.port[id], settings.port6[id]));
  }
  return answer(out);
}

// Rates in bytes per second that move a little from one request to the next.
std::vector<SimFrame> traffic(const SimRequest &) {
  static int32_t tick = 0;
  tick = (tick + 1) % 16;
  Bytes out;
  for (int id = 0; id < NETWORK_PORTS; id++) {
    netif_speed_record r = {};
    snprintf(r.ifname, sizeof r.ifname, "eth%d", id);
    r.id = id;
    r.RxSpeed = id == 0 ? 1250000 + tick * 4096 : 2048 + tick * 64;
    r.TxSpeed = id == 0 ? 98000 + tick * 512 : 1024;
    append(out, r);
  }
  return answer(out);
}

// The two local disks of the storage answers, in GiB.
std::vector<SimFrame> totals(const SimRequest &) {
  usage_totals_record r = {3000, 2630, 370};
  return answer(bytes_of(r));
}

stream_status stream(int width, int height, int framerate, int bitrate) {
  stream_status s = {};
  s.width = width;
  s.height = height;
  s.framerate = framerate;
  s.bitrate = bitrate;
  s.connection = 1;
  s.connectStatus = 1;
  return s;
}

std::vector<SimFrame> streams(const SimRequest &) {
  Bytes out;
  for (int ch = 0; ch < kCameras; ch++) {
    camera_stream_record r = {};
    r.main = ch == 3 ? stream(2560, 1440, 20, 6144) : stream(1920, 1080, 25, 4096);
    r.sub = stream(640, 360, 15, 512);
    r.recordOn = 1;
    r.alarmOn = ch == 0 ? 1 : 0;
    r.channel = ch;
    append(out, r);
  }
  return answer(out);
}

// The demo's cameras are supported; the warehouse camera is of type 2.
std::vector<SimFrame> support(const SimRequest &) {
  Bytes out;
  for (int ch = 0; ch < SUPPORT_CHANNELS; ch++) {
    channel_support_record r = {};
    r.channel = ch;
    r.support = ch < kCameras ? 1 : 0;
    r.type = ch < kCameras ? (ch == 3 ? 2 : 1) : 0;
    append(out, r);
  }
  return answer(out);
}

std::vector<SimFrame> alarm_state(const SimRequest &) {
  alarm_state_record r = {};
  r.motion = 1ULL << 1;
  r.alarmIn = 1u << 0;        // the front door's contact
  r.camInState[0] = 1ULL << 0;  // camera 0's input 0, as the alarm answers hold it
  r.camOutState[1] = 1ULL << 1;
  r.camInType[0] = 1ULL << 0;
  for (int ch = 0; ch < kCameras; ch++) r.pairs[ch] = {ch < 2 ? 4 : 2, 2};
  return answer(bytes_of(r));
}

// The administrator, logged in since coresim started.
std::vector<SimFrame> online_users(const SimRequest &) {
  static const time_t since = time(nullptr);
  online_user_record r = {};
  set_text(r.userName, "admin");
  r.userLevel = 0;
  set_text(r.ipaddr, "192.168.1.20");
  struct tm local;
  localtime_r(&since, &local);
  strftime(r.loginTime, sizeof r.loginTime, "%Y-%m-%d %H:%M:%S", &local);
  return answer(bytes_of(r));
}

void register_status(SimServer &server, CoreModel &) {
  server.on(3301, interfaces);
  server.on(3302, traffic);
  server.on(3306, totals);
  server.on(3300, streams);
  server.on(3263, support);
  server.on(3305, alarm_state);
  server.on(1719, online_users);
}

}  // namespace

CORESIM_ANSWERS(register_status)
