// Status pages: network interfaces and their traffic, usage totals, camera
// streams, alarm state, channel support, disk groups and the logged-in
// users, as the core daemon reports them; and a packet capture on one
// interface for diagnostics, downloaded as a tar archive.
#pragma once

#include <string>

#include "webcgi.h"

// Response dispatcher of the module.
void on_status_ipc_callback(int context, const kx_msg_head *head, const void *payload);

// ---- Daemon status pages (status_pages.cpp) ----
int on_get_netif_status(char *text);            // /8000
int on_get_netif_speed(char *text);             // /8001
int on_get_camera_status(char *text);           // /8002
int on_get_status_reserved(char *text);         // /8004
int on_get_usage_totals(char *text);            // /8008
int on_get_channel_support(char *text);         // /8009
int on_get_disk_group_status(char *text);       // /8010
int on_cgi_get_online_user_status(char *text);  // /8011
void on_get_netif_status_cb(const void *payload, int length);
void on_get_netif_speed_cb(const void *payload, int length);
void on_get_camera_status_cb(const void *payload, int length);
void on_get_usage_totals_cb(const void *payload, int length);
void on_get_channel_support_cb(const void *payload, int length);
void on_cgi_get_online_user_status_cb(const void *payload, int length);

// ---- Alarm state (alarm_status.cpp) ----
int on_get_alarm_status(char *text);  // /8003
void on_get_alarm_status_cb(const void *payload, int length);

// ---- Packet capture (packet_capture.cpp) ----
int on_start_packet_capture(char *text);     // /8005
int on_stop_packet_capture(char *text);      // /8006
int on_download_packet_capture(char *text);  // /8007

// "max_cameras" as a channel count of the 64-channel tables and masks.
int status_camera_count();

namespace status {
// The checks every request text passes before it reaches a command.
// An interface name: 1 to 7 of [A-Za-z0-9._-], not starting with '-'.
bool valid_nic(const std::string &nic);
// A host filter: empty, or of [A-Za-z0-9.:-].
bool valid_host(const std::string &ip);
// A port filter: empty, or 1 to 5 digits.
bool valid_port(const std::string &port);
// A storage path: absolute, of [A-Za-z0-9._/-], no ".." component.
bool valid_mount_path(const std::string &path);
// A capture name: "rvpcap-" followed by one or more digits.
bool valid_capture_name(const std::string &name);
}  // namespace status
