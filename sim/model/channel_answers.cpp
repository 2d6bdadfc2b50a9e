// Camera channel requests: which camera is connected to which channel, the
// cameras a search finds, connection tests, address changes and recording
// days. The connected channels start from the camera records of the
// settings database (enabled channels) and follow the recorder's notices:
// 1201 (added) and 1203 (edited) read the channel's camera record again,
// 1202 (cleared) drops it. Two cameras wait on the network to be found;
// address changes (3205, 3229) move them, and 3230 reports the last batch
// (1 for an entry whose MAC address no found camera has).
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "camera/camera_records.h"
#include "camera/channel_records.h"
#include "kxdb.h"
#include "kxdb_camera.h"
#include "model.h"

namespace {

constexpr int kFound = 2;

std::map<int, connected_camera> g_connected;
found_camera g_found[kFound];
// The batch of address changes since the last report.
std::vector<ipc_network_result> g_batch;
bool g_batch_reported = false;

template <size_t N>
void set_text(char (&field)[N], const std::string &text) {
  snprintf(field, N, "%s", text.c_str());
}

template <size_t N>
std::string text_of(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

std::vector<SimFrame> answer(const Bytes &payload) {
  return {SimFrame{0, payload, 0}};
}

std::vector<SimFrame> none() {
  return {};
}

int32_t channel_word(const SimRequest &r) {
  return r.payload.size() >= 4 ? record_from<int32_t>(r.payload) : -1;
}

// What the cameras of the demo's channels tell about themselves.
const char *model_of(int channel) {
  const char *models[] = {"IPC-B2812", "IPC-D4028", "IPC-T5036", "IPC-F1020"};
  return channel >= 0 && channel < 4 ? models[channel] : "IPC-G1000";
}

// The camera the recorder stored for the channel, as the daemon reports it
// once connected. False when the channel holds no enabled camera.
bool connected_from_settings(int channel, connected_camera *out) {
  camera_params c = {};
  if (read_camera(KXDB_FILE, &c, channel) != 0 || c.enable != 1) return false;
  if (!c.ipAddr[0] && c.camProtocol != 7) return false;
  connected_camera &o = *out;
  o = connected_camera{};
  o.channel = channel;
  o.managePort = c.managePort;
  o.camProtocol = c.camProtocol;
  o.state = 1;
  o.mainRtspPort = c.mainRtspPort ? c.mainRtspPort : 554;
  set_text(o.ipAddr, text_of(c.ipAddr));
  set_text(o.vendor, "Demo Optics");
  set_text(o.sn, "DO2406" + std::to_string(1000 + channel));
  set_text(o.fwVersion, "V5.2.1 build 2406" + std::to_string(10 + channel));
  set_text(o.mac, c.mac_addr[0] ? text_of(c.mac_addr)
                                 : "02:4B:58:00:01:" + std::to_string(10 + channel));
  set_text(o.model, model_of(channel));
  o.poechannel = c.poechannel;
  o.physicalport = c.physicalport;
  o.alarmin = 1;
  o.alarmout = 1;
  o.minorid = c.minorid;
  o.subState = 1;
  o.connectState = 1;
  set_text(o.snReal, text_of(o.sn));
  set_text(o.ddns, text_of(c.ddns));
  set_text(o.chipinfo, "SC4336");
  return true;
}

void reconnect(int channel) {
  connected_camera c;
  if (connected_from_settings(channel, &c)) g_connected[channel] = c;
  else g_connected.erase(channel);
}

void seed_found(int i, const char *ip, const char *mac, int protocol, const char *model,
                const char *name) {
  found_camera &f = g_found[i];
  f = found_camera{};
  set_text(f.ipAddr, ip);
  set_text(f.macAddr, mac);
  f.managePort = 80;
  f.protocol = protocol;
  set_text(f.vendor, "Demo Optics");
  set_text(f.sn, std::string("DO24069") + std::to_string(i));
  set_text(f.fwVersion, "V5.3.0 build 240701");
  set_text(f.model, model);
  f.modelId = protocol;
  set_text(f.netmask, "255.255.255.0");
  set_text(f.dns, "192.168.1.1");
  set_text(f.gateway, "192.168.1.1");
  set_text(f.netif, "eth0");
  f.active_status = 1;
  set_text(f.name, name);
  set_text(f.snReal, text_of(f.sn));
}

// The found camera with this MAC address moves to the new address. 0, or 1
// (the daemon's "network error") when no camera has the address.
int32_t change_address(const ipc_network &n) {
  for (found_camera &f : g_found) {
    if (text_of(f.macAddr) != text_of(n.macAddr)) continue;
    set_text(f.ipAddr, text_of(n.newIpcAddr));
    set_text(f.netmask, text_of(n.netmask));
    set_text(f.gateway, text_of(n.gateway));
    set_text(f.dns, text_of(n.primaryDNS));
    return 0;
  }
  return 1;
}

std::vector<SimFrame> list_connected(const SimRequest &) {
  Bytes out;
  for (const auto &[channel, camera] : g_connected) {
    Bytes b = bytes_of(camera);
    out.insert(out.end(), b.begin(), b.end());
  }
  return answer(out);
}

std::vector<SimFrame> search(const SimRequest &) {
  Bytes out;
  for (const found_camera &f : g_found) {
    Bytes b = bytes_of(f);
    out.insert(out.end(), b.begin(), b.end());
  }
  return answer(out);
}

// The daemon accepts every single change; a found camera with the MAC
// address moves.
std::vector<SimFrame> set_network(const SimRequest &r) {
  if (r.payload.size() >= sizeof(ipc_network)) change_address(record_from<ipc_network>(r.payload));
  return answer(bytes_of_int(0));
}

// Sent without waiting: no answer.
std::vector<SimFrame> set_network_batch(const SimRequest &r) {
  if (r.payload.size() < sizeof(ipc_network_batch_entry)) return none();
  ipc_network_batch_entry e = record_from<ipc_network_batch_entry>(r.payload);
  if (g_batch_reported) g_batch.clear();
  g_batch_reported = false;
  if (g_batch.size() >= IPC_CHANNELS) return none();
  ipc_network_result result = {};
  memcpy(result.mac, e.network.macAddr, sizeof result.mac);
  result.mac[sizeof result.mac - 1] = '\0';
  result.result = change_address(e.network);
  g_batch.push_back(result);
  return none();
}

std::vector<SimFrame> network_results(const SimRequest &) {
  Bytes out = bytes_of_int((int32_t)g_batch.size());
  for (const ipc_network_result &result : g_batch) {
    Bytes b = bytes_of(result);
    out.insert(out.end(), b.begin(), b.end());
  }
  g_batch_reported = true;
  return answer(out);
}

// A few days of every month hold recordings; the sub stream has fewer.
std::vector<SimFrame> record_days(const SimRequest &r) {
  record_days_query q = record_from<record_days_query>(r.payload);
  record_days_answer out = {};
  for (int day : {2, 3, 4, 9, 10, 16, 17, 23, 24, 25}) {
    if (q.subStream == 0 || day % 2 == 0) out.days[day] = 1;
  }
  return answer(bytes_of(out));
}

}  // namespace

static void register_channel_answers(SimServer &server, CoreModel &) {
  g_connected.clear();
  for (int ch = 0; ch < CAMERA_CHANNELS; ch++) reconnect(ch);
  seed_found(0, "192.168.1.150", "02:4B:58:00:02:50", 0, "IPC-D5040", "Dome 5MP");
  seed_found(1, "192.168.1.151", "02:4B:58:00:02:51", 2, "IPC-B4030", "Bullet 4MP");
  g_batch.clear();
  g_batch_reported = false;
  server.on(1201, [](const SimRequest &r) { reconnect(channel_word(r)); return none(); });
  server.on(1203, [](const SimRequest &r) { reconnect(channel_word(r)); return none(); });
  server.on(1202, [](const SimRequest &r) { g_connected.erase(channel_word(r)); return none(); });
  server.on(1206, [](const SimRequest &) { return none(); });
  server.on(3200, search);
  server.on(3201, list_connected);
  server.on(3202, [](const SimRequest &) { return answer(bytes_of_int(0)); });
  server.on(3227, [](const SimRequest &) { return answer(bytes_of_int(0)); });
  server.on(3205, set_network);
  server.on(3229, set_network_batch);
  server.on(3230, network_results);
  server.on(3493, record_days);
}

CORESIM_ANSWERS(register_channel_answers)
