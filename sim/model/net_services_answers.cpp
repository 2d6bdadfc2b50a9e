// Network service requests: the recorder keeps its clock, sends test mails
// when its e-mail settings name a server and a receiver, joins multicast
// groups, reports its DDNS registration from the stored settings, and runs
// a P2P cloud service whose account the model keeps while the service is on.
#include <arpa/inet.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "kxdb.h"
#include "model.h"
#include "network/services_records.h"

namespace {

// Results of the P2P enable answer, as the daemon gives them.
constexpr int32_t kP2pOk = 0;
constexpr int32_t kP2pMacFormat = 5;
constexpr int kRegions = 8;

struct P2pService {
  bool on = false;
  bool bound = true;  // bound to the demo's cloud account
  int32_t region = 0;
};
P2pService g_p2p;

std::vector<SimFrame> result(int32_t value) {
  return {SimFrame{0, bytes_of_int(value), 0}};
}

std::vector<SimFrame> notice(const SimRequest &) {
  return {};
}

template <class T>
bool take(const SimRequest &r, T *record) {
  if (r.payload.size() < sizeof *record) return false;
  memcpy(record, r.payload.data(), sizeof *record);
  return true;
}

template <size_t N>
void put(char (&field)[N], const char *text) {
  snprintf(field, N, "%s", text);
}

// The clock is the host's; the model takes any time it is given.
std::vector<SimFrame> set_time(const SimRequest &) {
  return result(0);
}

// A test mail goes out when there is a server and at least one receiver.
std::vector<SimFrame> test_email(const SimRequest &) {
  email_params mail{};
  if (read_email(KXDB_FILE, &mail) != 0 || !mail.smtpServer[0]) return result(1);
  for (const email_receiver &r : mail.receivers) {
    if (r.receiverAddr[0]) return result(0);
  }
  return result(2);
}

// Joining needs an IPv4 group address (224.0.0.0 to 239.255.255.255).
std::vector<SimFrame> multicast(const SimRequest &r) {
  multicast_params m{};
  if (!take(r, &m)) return result(-1);
  m.ip[sizeof m.ip - 1] = '\0';
  in_addr a{};
  if (m.enable == 0) return result(0);
  if (inet_pton(AF_INET, m.ip, &a) != 1) return result(-1);
  uint32_t first = ntohl(a.s_addr) >> 24;
  return result(first >= 224 && first <= 239 ? 0 : -1);
}

// 1 registered, 0 not: a DDNS setting that is on and names a host.
std::vector<SimFrame> ddns_status(const SimRequest &) {
  ddns_params d{};
  read_ddns(KXDB_FILE, &d);
  return result(d.enable && d.hostName[0] ? 1 : 0);
}

// A whole P2P record turns the service on; anything shorter is the text the
// P2P server gave a registration test, which the model only records.
std::vector<SimFrame> p2p_enable(const SimRequest &r) {
  p2p_params p{};
  if (!take(r, &p)) return {};
  if (p.region < 0 || p.region >= kRegions) return result(kP2pMacFormat);
  g_p2p.on = true;
  g_p2p.bound = true;
  g_p2p.region = p.region;
  return result(kP2pOk);
}

std::vector<SimFrame> p2p_disable(const SimRequest &r) {
  p2p_params p{};
  if (!take(r, &p)) return result(-1);
  g_p2p.on = false;
  g_p2p.region = p.region;
  return result(0);
}

std::vector<SimFrame> p2p_status(const SimRequest &) {
  p2p_status_info s = {};
  s.enable = g_p2p.on ? 1 : 0;
  s.p2pstatus = g_p2p.on ? 1 : 0;  // 1 online
  s.region = g_p2p.region;
  put(s.model, "NVR-DEMO");
  put(s.ipc, "NVR-DEMO-0010");
  put(s.company, "Norvalent");
  if (g_p2p.bound) {
    put(s.cloudAccount, "demo@norvalent.example");
    put(s.cloudServer, "cloud-eu.norvalent.example");
    put(s.registerCode, "NV7X-4K2M-9QDP");
    put(s.email, "support@norvalent.example");
    put(s.dealer, "Norvalent Demo Store");
  }
  return {SimFrame{0, bytes_of(s), 0}};
}

std::vector<SimFrame> p2p_unbind(const SimRequest &) {
  g_p2p.bound = false;
  return result(0);
}

void register_net_services_answers(SimServer &server, CoreModel &) {
  server.on(SERVICES_REQ_SET_TIME, set_time);
  server.on(SERVICES_REQ_TEST_EMAIL, test_email);
  server.on(SERVICES_REQ_MULTICAST, multicast);
  server.on(SERVICES_REQ_DDNS_STATUS, ddns_status);
  server.on(SERVICES_REQ_P2P_ENABLE, p2p_enable);
  server.on(SERVICES_REQ_P2P_DISABLE, p2p_disable);
  server.on(SERVICES_REQ_P2P_STATUS, p2p_status);
  server.on(SERVICES_REQ_P2P_UNBIND, p2p_unbind);
  // Notices: the journal records them; the daemon sends no answer.
  for (int code : {SERVICES_REQ_TIME_APPLIED, SERVICES_REQ_REBOOT, SERVICES_REQ_PUSH_ENABLE,
                   SERVICES_REQ_CHANNEL_ACCESS}) {
    server.on(code, notice);
  }
}

}  // namespace

CORESIM_ANSWERS(register_net_services_answers)
