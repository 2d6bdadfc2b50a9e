// The recorder's network services. Texts are one word each, "_" for each
// blank and "-" for an empty text.
//
//   time NTP DST ZONE ZONENAME SERVER SYNC INTERVAL SYNCPC
//                                        time zone and NTP (NTP, DST, SYNC,
//                                        SYNCPC 0 or 1; INTERVAL in hours)
//   pppoe ENABLE AUTOCONNECT USER PASSWORD
//   ddns ENABLE DOMAIN USER PASSWORD HOST UPDATEFREQ HTTP RTSP
//                                        DOMAIN is the DDNS provider's name
//   email ENABLE SERVER PORT TLS SENDERADDR SENDERNAME
//                                        SMTP server (TLS 0 to 2)
//   emailto INDEX ADDRESS NAME           e-mail receiver INDEX (0 to 2)
//   ports SSHENABLE SSH HTTP HTTPS RTSP SERVICE HOSTNAME
//                                        service ports and the host name
//   multicast ENABLE IP
//   snmp V1 V2C READCOMMUNITY WRITECOMMUNITY PORT
#include <cstdio>

#include "kxdb.h"
#include "kxdb_netservices.h"
#include "kxdb_port.h"
#include "seed.h"

namespace {

template <size_t N>
void put(char (&field)[N], const std::string &word) {
  snprintf(field, N, "%s", word == "-" ? "" : seed_text(word).c_str());
}

bool flag(int value) {
  return value == 0 || value == 1;
}

bool seed_time(std::istringstream &in) {
  time_params r = {};
  std::string zone, zone_name, server;
  if (!(in >> r.ntpEnable >> r.dstEnable >> zone >> zone_name >> server >> r.syncEnable >>
        r.syncInterval >> r.syncPc) ||
      !flag(r.ntpEnable) || !flag(r.dstEnable)) {
    return false;
  }
  put(r.timeZone, zone);
  put(r.timeZoneName, zone_name);
  put(r.ntpServer, server);
  return write_time(KXDB_FILE, &r) == 0;
}

bool seed_pppoe(std::istringstream &in) {
  pppoe_params r = {};
  std::string user, password;
  if (!(in >> r.enable >> r.autoConnect >> user >> password) || !flag(r.enable)) return false;
  put(r.userName, user);
  put(r.password, password);
  return write_pppoe(KXDB_FILE, &r) == 0;
}

bool seed_ddns(std::istringstream &in) {
  ddns_params r = {};
  std::string domain, user, password, host;
  if (!(in >> r.enable >> domain >> user >> password >> host >> r.updateFreq >> r.httpPort >>
        r.rtspPort) ||
      !flag(r.enable) || r.updateFreq < 0) {
    return false;
  }
  put(r.domain, domain);
  put(r.userName, user);
  put(r.password, password);
  put(r.hostName, host);
  return write_ddns(KXDB_FILE, &r) == 0;
}

bool seed_email(std::istringstream &in) {
  email_params r = {};
  if (read_email(KXDB_FILE, &r) != 0) return false;  // receivers may come first
  std::string server, sender_addr, sender_name;
  if (!(in >> r.enable >> server >> r.smtpPort >> r.enableTls >> sender_addr >> sender_name) ||
      !flag(r.enable) || r.enableTls < 0 || r.enableTls > 2) {
    return false;
  }
  put(r.smtpServer, server);
  put(r.senderAddr, sender_addr);
  put(r.senderName, sender_name);
  return write_email(KXDB_FILE, &r) == 0;
}

bool seed_email_receiver(std::istringstream &in) {
  email_params r = {};
  int index = -1;
  std::string address, name;
  if (read_email(KXDB_FILE, &r) != 0 || !(in >> index >> address >> name) || index < 0 ||
      index >= EMAIL_RECEIVERS) {
    return false;
  }
  put(r.receivers[index].receiverAddr, address);
  put(r.receivers[index].receiverName, name);
  return write_email(KXDB_FILE, &r) == 0;
}

bool seed_ports(std::istringstream &in) {
  port_params r = {};
  if (read_port(KXDB_FILE, &r) != 0) return false;
  std::string host;
  if (!(in >> r.enableSsh >> r.sshPort >> r.httpPort >> r.httpsPort >> r.rtspPort >>
        r.servicePort >> host) ||
      !flag(r.enableSsh)) {
    return false;
  }
  put(r.hostName, host);
  r.enableHostName = r.hostName[0] ? 1 : 0;
  return write_port(KXDB_FILE, &r) == 0;
}

bool seed_multicast(std::istringstream &in) {
  multicast_params r = {};
  std::string ip;
  if (!(in >> r.enable >> ip) || !flag(r.enable)) return false;
  put(r.ip, ip);
  return write_multicast(KXDB_FILE, &r) == 0;
}

bool seed_snmp(std::istringstream &in) {
  snmp_params r = {};
  std::string read_community, write_community;
  if (!(in >> r.v1_enable >> r.v2c_enable >> read_community >> write_community >> r.port) ||
      !flag(r.v1_enable) || !flag(r.v2c_enable)) {
    return false;
  }
  put(r.read_community, read_community);
  put(r.write_community, write_community);
  return write_snmp(KXDB_FILE, &r) == 0;
}

}  // namespace

SEED_KIND("time", seed_time)
SEED_KIND("pppoe", seed_pppoe)
SEED_KIND("ddns", seed_ddns)
SEED_KIND("email", seed_email)
SEED_KIND("emailto", seed_email_receiver)
SEED_KIND("ports", seed_ports)
SEED_KIND("multicast", seed_multicast)
SEED_KIND("snmp", seed_snmp)
