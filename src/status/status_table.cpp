// Endpoint table of the status module.
#include "status.h"

namespace {
const WebRes status_table[] = {
    WEBRES_ROW("/8000", on_get_netif_status, STATUS,
               "network interfaces: addresses, link, DHCP, DNS, MTU and IPv6"),
    WEBRES_ROW("/8001", on_get_netif_speed, STATUS,
               "network traffic: receive and transmit rates per interface"),
    WEBRES_ROW("/8002", on_get_camera_status, STATUS,
               "camera status: name, address, recording, alarm and both streams per channel"),
    WEBRES_ROW("/8003", on_get_alarm_status, STATUS,
               "alarm status: per camera event states, recorder alarm inputs and outputs"),
    WEBRES_ROW("/8004", on_get_status_reserved, USER,
               "reserved: answers nothing"),
    WEBRES_ROW("/8005", on_start_packet_capture, ADMIN,
               "start a packet capture: interface, host and port filters, storage path"),
    WEBRES_ROW("/8006", on_stop_packet_capture, ADMIN,
               "stop the packet capture"),
    WEBRES_ROW("/8007", on_download_packet_capture, ADMIN,
               "download a packet capture as packet.tar: path/name as the body"),
    WEBRES_ROW("/8008", on_get_usage_totals, STATUS,
               "usage totals: total, free and used"),
    WEBRES_ROW("/8009", on_get_channel_support, STATUS,
               "channel support: supported flag and type per channel"),
    WEBRES_ROW("/8010", on_get_disk_group_status, STATUS,
               "disk groups: channel sets of the groups and the group of each disk"),
    WEBRES_ROW("/8011", on_cgi_get_online_user_status, STATUS,
               "online users: name, level, address and login time"),
};
static_assert(sizeof status_table / sizeof status_table[0] == 12);
}  // namespace

WEBRES_REGISTER_TABLE(status_table, WEBRES_STATUS)
