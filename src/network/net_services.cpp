// Network services: system time and NTP, PPPoE, DDNS, multicast, SNMP, and
// the small read-only pages (channel access, PoE camera count, DDNS state).
#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "network.h"
#include "request_reset.h"

using namespace network;

namespace {

constexpr int LOG_SUB_SETTINGS = 204;
constexpr int LOG_SUB_TIME = 225;
constexpr int LOG_PARAM_GENERAL = 900;
constexpr int LOG_PARAM_PPPOE = 915;
constexpr int LOG_PARAM_DDNS = 916;
constexpr int FAILOVER_KEEPS_CLOCK = 2;  // a failover recorder takes its master's time

// Set by the 6701 decoder: the daemon took the time.
std::atomic<bool> g_time_taken{false};

bool flag_valid(json_object *root, const char *key) {
  int v = member_int(root, key);
  return v == 0 || v == 1;
}

// ---- Time ----
bool check_time_info(json_object *root) {
  for (const char *key : {"ntpEnable", "dstEnable"}) {
    if (!has_member(root, key) || !flag_valid(root, key)) return false;
  }
  for (const char *key : {"timeZone", "timeZoneName", "syncEnable", "syncInterval", "syncPc"}) {
    if (!has_member(root, key)) return false;
  }
  return true;
}

time_params time_from(json_object *root) {
  time_params r{};
  r.ntpEnable = member_int(root, "ntpEnable");
  r.dstEnable = member_int(root, "dstEnable");
  member_text(root, "timeZone", r.timeZone, sizeof r.timeZone);
  member_text(root, "timeZoneName", r.timeZoneName, sizeof r.timeZoneName);
  member_text(root, "ntpServer", r.ntpServer, sizeof r.ntpServer);
  r.syncEnable = member_int(root, "syncEnable");
  r.syncInterval = member_int(root, "syncInterval");
  r.syncPc = member_int(root, "syncPc");
  return r;
}

void add_clock(json_object *o) {
  time_t now = time(nullptr);
  tm t{};
  localtime_r(&now, &t);
  char text[32];
  const struct {
    const char *key, *format;
    int value;
  } parts[] = {{"dateYear", "%.4d", t.tm_year + 1900}, {"dateMon", "%.2d", t.tm_mon + 1},
               {"dateDay", "%.2d", t.tm_mday},         {"dateHour", "%.2d", t.tm_hour},
               {"dateMin", "%.2d", t.tm_min},          {"dateSec", "%.2d", t.tm_sec}};
  for (const auto &p : parts) {
    snprintf(text, sizeof text, p.format, p.value);
    json_add_text(o, p.key, text);
  }
  strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &t);
  json_add_text(o, "serverTime", text);
}

// ---- SNMP: one table of the record's members, in record order ----
struct snmp_member {
  const char *key;
  size_t offset;
  size_t width;  // 0: an int32
};
#define SNMP_INT(f) {#f, offsetof(snmp_params, f), 0}
#define SNMP_TEXT(f) {#f, offsetof(snmp_params, f), sizeof(snmp_params::f)}
constexpr snmp_member kSnmpMembers[] = {
    SNMP_INT(v1_enable),          SNMP_INT(v2c_enable),          SNMP_TEXT(write_community),
    SNMP_TEXT(read_community),    SNMP_INT(v3_enable),           SNMP_TEXT(read_security_name),
    SNMP_INT(read_level_security), SNMP_INT(read_auth_algorithm), SNMP_TEXT(read_auth_password),
    SNMP_INT(read_pri_algorithm), SNMP_TEXT(read_pri_password),  SNMP_TEXT(write_security_name),
    SNMP_INT(write_level_security), SNMP_INT(write_auth_algorithm),
    SNMP_TEXT(write_auth_password), SNMP_INT(write_pri_algorithm), SNMP_TEXT(write_pri_password),
    SNMP_INT(port),
};
#undef SNMP_INT
#undef SNMP_TEXT

void add_snmp(json_object *o, const snmp_params &r) {
  const char *base = reinterpret_cast<const char *>(&r);
  for (const snmp_member &m : kSnmpMembers) {
    if (m.width) {
      json_add_text(o, m.key, field_text(base + m.offset, m.width));
    } else {
      int32_t v;
      memcpy(&v, base + m.offset, sizeof v);
      json_add_int(o, m.key, v);
    }
  }
}

void take_snmp(json_object *root, snmp_params *r) {
  char *base = reinterpret_cast<char *>(r);
  for (const snmp_member &m : kSnmpMembers) {
    if (m.width) {
      on_cgi_get_string_from_json(root, m.key, base + m.offset, (int)m.width);
      continue;
    }
    int32_t v;
    memcpy(&v, base + m.offset, sizeof v);
    take_int(root, m.key, &v);
    memcpy(base + m.offset, &v, sizeof v);
  }
}

// The settings write, and on success the change notice; a failed write is
// answered "CGI ERROR" and nothing else happens.
template <class Record>
bool store(int (*writer)(const char *, const Record *), const Record &r, const char *name) {
  if (writer(KXDB_FILE, &r) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return false;
  }
  notify_changed(name);
  return true;
}

}  // namespace

int on_get_time_info(char *) {
  time_params r{};
  read_time(KXDB_FILE, &r);  // unreadable: the zeroed record
  JsonPtr reply(json_object_new_object());
  json_object *o = reply.get();
  add_clock(o);
  json_add_int(o, "ntpEnable", r.ntpEnable);
  json_add_int(o, "dstEnable", r.dstEnable);
  add_text(o, "timeZone", r.timeZone);
  add_text(o, "timeZoneName", r.timeZoneName);
  add_text(o, "ntpServer", r.ntpServer);
  json_add_int(o, "syncEnable", r.syncEnable);
  json_add_int(o, "syncInterval", r.syncInterval);
  json_add_int(o, "syncPc", r.syncPc);
  json_writeback(CGI_REPLY_JSON, o);
  return 0;
}

int on_set_time_info(char *text) {
  JsonPtr root = parse_object(text);
  if (!root || !check_time_info(root.get())) return -1;
  time_params r = time_from(root.get());
  if (write_time(KXDB_FILE, &r) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  time_set_request request = {};
  if (r.ntpEnable == 0 && member_int(root.get(), "failoverMode") != FAILOVER_KEEPS_CLOCK) {
    char manual[sizeof request.time] = {};
    member_text(root.get(), "manualTime", manual, sizeof manual);
    snprintf(request.time, sizeof request.time, "\"%.*s\"", (int)sizeof request.time - 3, manual);
  }
  // The page hears "OK" at once: setting the clock may take the daemon long.
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  g_time_taken = false;
  cgi_exchange(on_network_ipc_callback, SERVICES_REQ_SET_TIME, &request, sizeof request,
               CGI_REPLY_NONE);
  if (g_time_taken) cgi_send_notice(SERVICES_REQ_TIME_APPLIED, nullptr, 0);
  send_log(LOG_SUB_TIME, LOG_PARAM_GENERAL);
  return 0;
}

void on_set_systime_cb(int, const void *) {
  g_time_taken = true;
  g_callback_done = 1;
}

int on_get_pppoe_info(char *) {
  pppoe_params r{};
  read_pppoe(KXDB_FILE, &r);
  char address[NETWORK_ADDR_SIZE];
  if (net_get_ifaddr("ppp0", address, sizeof address) != 0) {
    snprintf(address, sizeof address, "0.0.0.0");
  }
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "enable", r.enable);
  json_add_int(reply.get(), "autoConnect", r.autoConnect);
  add_text(reply.get(), "userName", r.userName);
  add_text(reply.get(), "password", r.password);
  json_add_text(reply.get(), "pppoeipaddr", address);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_set_pppoe_info(char *text) {
  JsonPtr root = parse_object(text);
  if (!root || !flag_valid(root.get(), "enable")) return -1;
  pppoe_params r{};
  r.enable = member_int(root.get(), "enable");
  r.autoConnect = member_int(root.get(), "autoConnect");
  member_text(root.get(), "userName", r.userName, sizeof r.userName);
  member_text(root.get(), "password", r.password, sizeof r.password);
  if (!store(write_pppoe, r, "pppoe")) return -1;
  send_log(LOG_SUB_SETTINGS, LOG_PARAM_PPPOE);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

int on_get_ddns_info(char *) {
  ddns_params r{};
  read_ddns(KXDB_FILE, &r);
  char mac0[18], mac1[18];
  get_mac_addr(mac0, mac1);
  JsonPtr reply(json_object_new_object());
  json_object *o = reply.get();
  json_add_int(o, "enable", r.enable);
  add_text(o, "domain", r.domain);
  add_text(o, "userName", r.userName);
  add_text(o, "password", r.password);
  add_text(o, "hostName", r.hostName);
  add_text(o, "ddnsurl", r.ddnsurl);
  add_text(o, "freeDNSHash", r.freeDNSHash);
  json_add_int(o, "updateFreq", r.updateFreq);
  json_add_int(o, "http_port", r.httpPort);
  json_add_int(o, "rtsp_port", r.rtspPort);
  json_add_text(o, "mac", mac0);
  json_writeback(CGI_REPLY_JSON, o);
  return 0;
}

int on_set_ddns_info(char *text) {
  JsonPtr root = parse_object(text);
  if (!root || !flag_valid(root.get(), "enable") || member_int(root.get(), "updateFreq") < 0) {
    return -1;
  }
  json_object *o = root.get();
  ddns_params r{};
  r.enable = member_int(o, "enable");
  member_text(o, "domain", r.domain, sizeof r.domain);
  member_text(o, "userName", r.userName, sizeof r.userName);
  member_text(o, "password", r.password, sizeof r.password);
  member_text(o, "hostName", r.hostName, sizeof r.hostName);
  member_text(o, "ddnsurl", r.ddnsurl, sizeof r.ddnsurl);
  member_text(o, "freeDNSHash", r.freeDNSHash, sizeof r.freeDNSHash);
  r.httpPort = member_int(o, "http");
  r.rtspPort = member_int(o, "rtsp");
  r.updateFreq = member_int(o, "updateFreq");
  if (!store(write_ddns, r, "ddns")) return -1;
  send_log(LOG_SUB_SETTINGS, LOG_PARAM_DDNS);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

int on_cgi_get_multicast(char *) {
  multicast_params r{};
  read_multicast(KXDB_FILE, &r);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "enable", r.enable);
  add_text(reply.get(), "ip", r.ip);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_cgi_set_multicast(char *text) {
  JsonPtr root = parse_object(text);
  multicast_params r{};
  if (!root) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  read_multicast(KXDB_FILE, &r);  // unreadable: go on from the zeroed record
  take_int(root.get(), "enable", &r.enable);
  take_text(root.get(), "ip", r.ip);
  if (write_multicast(KXDB_FILE, &r) != 0) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  cgi_exchange(on_network_ipc_callback, SERVICES_REQ_MULTICAST, &r, sizeof r, CGI_REPLY_JSON);
  return 0;
}

void on_cgi_set_multicast_cb(int count, const void *payload) {
  int32_t result;
  if (first_int(count, payload, &result)) reply_int_done("res", result);
}

int on_get_snmp_info(char *) {
  snmp_params r{};
  read_snmp(KXDB_FILE, &r);
  port_params ports{};
  read_port(KXDB_FILE, &ports);
  JsonPtr reply(json_object_new_object());
  add_snmp(reply.get(), r);
  json_add_int(reply.get(), "sshPort", ports.sshPort);
  json_add_int(reply.get(), "httpPort", ports.httpPort);
  json_add_int(reply.get(), "rtspPort", ports.rtspPort);
  json_add_int(reply.get(), "httpsPort", ports.httpsPort);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_set_snmp_info(char *text) {
  JsonPtr root = parse_object(text);
  if (!root) return -1;
  snmp_params r{};
  read_snmp(KXDB_FILE, &r);
  int stored_port = r.port;
  take_snmp(root.get(), &r);
  if (!port_acceptable(r.port, stored_port)) {
    cgi_writeback_webserver(CGI_REPLY_TEXT, "POE_Port_Error");
    return -1;
  }
  if (!store(write_snmp, r, "snmp")) return -1;
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

int on_get_access_info(char *) {
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "access", param_int(PARAM_CH_ACCESS));
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_get_poe_max(char *) {
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "max_poe_num", param_int(PARAM_MAX_POE_NUM));
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_get_ddns_status(char *) {
  cgi_exchange(on_network_ipc_callback, SERVICES_REQ_DDNS_STATUS, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

void on_get_ddns_status_cb(int count, const void *payload) {
  int32_t status;
  if (first_int(count, payload, &status)) reply_int_done("status", status);
}

namespace {
void reset_time_taken() {
  g_time_taken = false;
}
}  // namespace

CGI_RESET_HOOK(reset_time_taken)
