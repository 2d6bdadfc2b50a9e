// Network and services: the recorder's own addressing (both Ethernet ports,
// bonding, IPv6, DNS, MTU, default route, host name, MAC), network restart
// and IP conflict tests. One response dispatcher serves every page of the
// network table.
#pragma once

#include "kxdb_netservices.h"
#include "kxdb_network.h"
#include "kxdb_port.h"
#include "netif.h"
#include "network_records.h"
#include "services_records.h"
#include "webcgi.h"

// Response dispatcher of the whole network table.
void on_network_ipc_callback(int context, const kx_msg_head *head, const void *payload);

// ---- Addressing (addressing.cpp) ----
int on_get_network_info(char *text);   // "/7040"
int on_set_network_info(char *text);   // "/7041"
int on_get_network_mode(char *text);   // "/7042"
int on_restart_network(char *text);    // "/7043"
int on_get_mac0(char *text);           // "/7044"

// ---- Daemon tests and the default route (probes.cpp) ----
int on_ip_conflict(char *text);             // "/7070"
int on_ip_conflict_by_dev(char *text);      // "/7071"
int on_cgi_set_default_route(char *text);   // "/7096"
// 8005 and 8006: "-1" when the address is taken, "0" when it is free.
void on_ip_conflict_cb(int count, const void *payload);
// 6724: {"res": r}.
void on_cgi_set_default_route_cb(int count, const void *payload);

// The stored MAC text with a ':' after every second character, within a
// field of MAC0_SIZE - 1 characters.
constexpr int MAC0_SIZE = 32;
void format_mac0(const char *stored, char *out);

// ---- Time, PPPoE, DDNS, multicast, SNMP (net_services.cpp) ----
int on_get_time_info(char *text);       // "/7000"
int on_set_time_info(char *text);       // "/7001"
int on_get_pppoe_info(char *text);      // "/7010"
int on_set_pppoe_info(char *text);      // "/7011"
int on_get_ddns_info(char *text);       // "/7020"
int on_set_ddns_info(char *text);       // "/7021"
int on_cgi_get_multicast(char *text);   // "/7033"
int on_cgi_set_multicast(char *text);   // "/7034"
int on_get_snmp_info(char *text);       // "/7090"
int on_set_snmp_info(char *text);       // "/7091"
int on_get_access_info(char *text);     // "/7092"
int on_get_poe_max(char *text);         // "/7093"
int on_get_ddns_status(char *text);     // "/7094"
// 6701: the daemon took the time; the handler then sends 1711.
void on_set_systime_cb(int count, const void *payload);
// 6729: {"res": r}.
void on_cgi_set_multicast_cb(int count, const void *payload);
// 8309: {"status": s}.
void on_get_ddns_status_cb(int count, const void *payload);

// ---- E-mail (net_mail.cpp) ----
int on_get_email_info(char *text);  // "/7030"
int on_set_email_info(char *text);  // "/7031"
int on_test_email(char *text);      // "/7032"
// 8409: "OK", or "ERROR" when the test mail failed.
void on_test_email_cb(int count, const void *payload);

// ---- Service ports and push messages (net_ports.cpp) ----
int on_get_port_info(char *text);  // "/7050"
int on_set_port_info(char *text);  // "/7051"
// 1 for the ports that belong to the PoE cameras (23001 to 23000 +
// "max_poe_num" when that is 4, 8 or 16), else 0.
int check_value(int port);
// A port may replace `stored`: unchanged, or outside the PoE range and free.
bool port_acceptable(int port, int stored);

// ---- P2P cloud service (p2p.cpp) ----
// The P2P server the registration test talks to (port 9999).
inline constexpr ParamKey PARAM_P2P_SERVER{"p2p_server", "p2p.norvalent.net"};
int on_get_p2p_info(char *text);           // "/7060"
int on_set_p2p_info(char *text);           // "/7061"
int on_test_p2p(char *text);               // "/7062"
int on_cgi_p2p_unbind_device(char *text);  // "/7095"
void on_enable_p2p_cb(int count, const void *payload);             // 8700
void on_disable_p2p_cb(int count, const void *payload);            // 8701
void on_p2p_status_info_cb(int count, const void *payload);        // 8702
void on_cgi_p2p_unbind_device_cb(int count, const void *payload);  // 7302

// ---- HTTPS certificates (certificates.cpp) ----
int on_create_https_cert(char *text);   // "/7080"
int on_get_cert_info(char *text);       // "/7081"
int on_download_cert_req(char *text);   // "/7082"
int on_delete_cert_req(char *text);     // "/7083"
int on_install_cert(char *text);        // "/7084"
int on_delete_cert(char *text);         // "/7085"
int on_set_https_enable(char *text);    // "/7086"
int on_get_https_enable(char *text);    // "/7087"
int on_get_cert_req_info(char *text);   // "/7089"
// 8316: "OK".
void on_resp_create_cert(int count, const void *payload);
// 8318: "OK" when the first int32 is 1, else "Error".
void on_resp_install_cert(int count, const void *payload);

// Module-private helpers.
namespace network {
// Keys present in the request replace the field; absent keys leave it.
void take_int(json_object *root, const char *key, int32_t *field);
template <size_t N>
void take_text(json_object *root, const char *key, char (&field)[N]) {
  on_cgi_get_string_from_json(root, key, field, (int)N);
}
// The text of a fixed field as a JSON member.
template <size_t N>
void add_text(json_object *o, const char *key, const char (&field)[N]) {
  json_add_text(o, key, field_text(field));
}
// The first int32 of an answer; false when there is none.
bool first_int(int count, const void *payload, int32_t *value);
// Writes {key: value} as the JSON reply and sets the completion flag.
void reply_int_done(const char *key, int value);
// Sends the 1702 notice naming the settings that changed.
void notify_changed(const char *name);
// An operation-log entry of the web interface (main type 4).
void send_log(int sub_type, int param_type);
// The request text as a JSON object; null when it does not parse or is no
// object (such requests are not answered).
JsonPtr parse_object(const char *text);
// A body that is absent or blank.
bool missing(const char *text);
}  // namespace network
