// Endpoint table of the network module: addressing and interfaces, then
// the network services; the certificate pages join the same table.
#include "network.h"

namespace {
const WebRes network_table[] = {
    WEBRES_ROW("/7040", on_get_network_info, USER,
               "network settings in the layout of a mode: body 0 (two ports), 1 or 2 "
               "(bonded); any other number: the stored mode's layout"),
    WEBRES_ROW("/7041", on_set_network_info, SETTINGS,
               "save network settings: JSON of the mode's keys (addresses, DNS, MTU, IPv6); "
               "absent keys stay as stored"),
    WEBRES_ROW("/7042", on_get_network_mode, USER,
               "stored network mode as text: 0 two ports, 1 or 2 bonded"),
    WEBRES_ROW("/7043", on_restart_network, SETTINGS,
               "restart the network interfaces; no body"),
    WEBRES_ROW("/7044", on_get_mac0, USER,
               "the recorder's MAC address setting as {\"mac0\": \"00:11:22:AA:BB:CC\"}"),
    WEBRES_ROW("/7070", on_ip_conflict, SETTINGS,
               "IP conflict test: {\"ip\"}; \"0\" free, \"-1\" in use"),
    WEBRES_ROW("/7071", on_ip_conflict_by_dev, SETTINGS,
               "IP conflict test on one interface: {\"dev\", \"ip\"}; \"0\" free, \"-1\" in use"),
    WEBRES_ROW("/7096", on_cgi_set_default_route, SETTINGS,
               "default route: {\"defaultRoute\": port}; answers {\"res\": r}"),
    // ---- Network services ----
    WEBRES_ROW("/7000", on_get_time_info, USER,
               "date, time, time zone and NTP settings"),
    WEBRES_ROW("/7001", on_set_time_info, SETTINGS,
               "save time settings: {ntpEnable, dstEnable, timeZone, timeZoneName, ntpServer, "
               "syncEnable, syncInterval, syncPc, manualTime \"YYYY-MM-DD hh:mm:ss\", "
               "failoverMode}; \"OK\""),
    WEBRES_ROW("/7010", on_get_pppoe_info, SETTINGS,
               "PPPoE settings and the address of ppp0 (\"0.0.0.0\" when down)"),
    WEBRES_ROW("/7011", on_set_pppoe_info, SETTINGS,
               "save PPPoE: {enable, autoConnect, userName, password}; \"OK\""),
    WEBRES_ROW("/7020", on_get_ddns_info, SETTINGS,
               "DDNS settings, the ports it announces and the first port's MAC"),
    WEBRES_ROW("/7021", on_set_ddns_info, SETTINGS,
               "save DDNS: {enable, domain, userName, password, hostName, ddnsurl, "
               "freeDNSHash, updateFreq, http, rtsp}; \"OK\""),
    WEBRES_ROW("/7030", on_get_email_info, SETTINGS,
               "e-mail (SMTP) settings, three receivers and the recorder's host name"),
    WEBRES_ROW("/7031", on_set_email_info, SETTINGS,
               "save e-mail settings: keys present replace the stored ones, receivers "
               "[{receiverAddr, receiverName}] at most three; \"OK\""),
    WEBRES_ROW("/7032", on_test_email, SETTINGS,
               "send a test mail with the stored settings; \"OK\" or \"ERROR\""),
    WEBRES_ROW("/7033", on_cgi_get_multicast, USER,
               "multicast setting {enable, ip}"),
    WEBRES_ROW("/7034", on_cgi_set_multicast, SETTINGS,
               "save multicast: {enable, ip}; answers {\"res\": r}"),
    WEBRES_ROW("/7050", on_get_port_info, USER,
               "service ports (SSH, HTTP, HTTPS, RTSP) and push-message options"),
    WEBRES_ROW("/7051", on_set_port_info, SETTINGS,
               "save service ports and push options; \"POE_Port_Error\" for a port in use "
               "or of a PoE camera"),
    WEBRES_ROW("/7060", on_get_p2p_info, SETTINGS,
               "P2P cloud service state: account, server, register code, region"),
    WEBRES_ROW("/7061", on_set_p2p_info, SETTINGS,
               "P2P on or off: {enableP2P, region}; \"ERR_OK\" ... when enabling, \"OK\" or "
               "\"ERR\" when disabling"),
    WEBRES_ROW("/7062", on_test_p2p, SETTINGS,
               "P2P registration test: {sn, deviceName}; 0 done, 2 refused, 3 no connection, "
               "4 key exchange failed"),
    WEBRES_ROW("/7080", on_create_https_cert, SETTINGS,
               "create a certificate (InstallType 0) or a certificate request (2) from the "
               "certificate keys; OK"),
    WEBRES_ROW("/7081", on_get_cert_info, USER,
               "HTTPS state and the installed certificate's country, common name, e-mail, "
               "dates; checkfile NOFILE without one"),
    WEBRES_ROW("/7082", on_download_cert_req, SETTINGS,
               "download the certificate request ssl_cert.csr; NotFile without one"),
    WEBRES_ROW("/7083", on_delete_cert_req, SETTINGS, "delete the certificate request; OK"),
    WEBRES_ROW("/7084", on_install_cert, SETTINGS,
               "install the uploaded certificate (a file in /tmp); OK, Error"),
    WEBRES_ROW("/7085", on_delete_cert, SETTINGS,
               "delete certificate and request, HTTPS off; OK"),
    WEBRES_ROW("/7086", on_set_https_enable, SETTINGS,
               "HTTPS on or off: {\"httpsenable\"}; OK, NOFILE without a certificate"),
    WEBRES_ROW("/7087", on_get_https_enable, USER, "HTTPS state {\"enable\": e}"),
    WEBRES_ROW("/7089", on_get_cert_req_info, USER,
               "the certificate request's country, common name, e-mail; checkfile NOFILE "
               "without one"),
    WEBRES_ROW("/7090", on_get_snmp_info, SETTINGS,
               "SNMP settings (v1, v2c, v3 users) and the service ports"),
    WEBRES_ROW("/7091", on_set_snmp_info, SETTINGS,
               "save SNMP settings: keys present replace the stored ones; \"OK\" or "
               "\"POE_Port_Error\""),
    WEBRES_ROW("/7092", on_get_access_info, USER,
               "channel access setting {\"access\": a}"),
    WEBRES_ROW("/7093", on_get_poe_max, USER,
               "number of PoE camera ports {\"max_poe_num\": n}"),
    WEBRES_ROW("/7094", on_get_ddns_status, USER,
               "DDNS registration state {\"status\": s}"),
    WEBRES_ROW("/7095", on_cgi_p2p_unbind_device, SETTINGS,
               "unbind the recorder from its P2P cloud account; {\"res\": 0}"),
};
}  // namespace

WEBRES_REGISTER_TABLE(network_table, WEBRES_NETWORK)
