// System module: what the recorder is, its general settings, and its logs.
#pragma once

#include <string>
#include <vector>

#include "kxdb_general.h"
#include "settings.h"
#include "system_info_records.h"
#include "webcgi.h"

// Parameters of the general settings, with their factory defaults.
inline constexpr ParamKey PARAM_WIZARD_ENABLE{"wizard_enable", "0"};
inline constexpr ParamKey PARAM_DISPLAY_MODE{"display_mode", "0"};
inline constexpr ParamKey PARAM_HIDE_TASKBAR{"hide_taskbar", "0"};
inline constexpr ParamKey PARAM_HIDE_TOOLBAR{"hide_toolbar", "0"};
inline constexpr ParamKey PARAM_QUICK_SCREEN{"quick_screen", "0"};
inline constexpr ParamKey PARAM_PERMISSION_UPDATE{"permission_update", "0"};
inline constexpr ParamKey PARAM_OEM_TYPE{"oem_type", "0"};

// ---- System information ----
int on_get_system_info(char *text);          // "/1009" and "/1020", request 3400
void on_get_system_info_cb(int count, const void *payload);
int on_set_system_info(char *text);          // "/1012"
int on_add_operation_log(char *text);        // "/1014"
int on_clear_kxfs_dbup(char *text);          // "/1023"
int on_clear_permission_update(char *text);  // "/1024"
// The output of "uptime" as the page shows it: cut 5 characters before
// "users", else 2 before the first 'l', never below the start.
std::string uptime_cut(const std::string &output);
// Requests 1705 (the device number) and 1702 ("hostname"), both nowait.
void send_device_notices(int device_id);
// Sets the host name of the network record (read, set, write). 0 or -1.
int set_network_host_name(const char *name);

// ---- General settings ----
int on_get_general_info(char *text);       // "/6080"
int on_set_general_info(char *text);       // "/6081"
int on_get_auto_maintenance(char *text);   // "/1016"
int on_set_auto_maintenance(char *text);   // "/1017"
int on_get_upnp_info(char *text);          // "/1030"
int on_set_upnp_info(char *text);          // "/1031", request 3720
int on_get_auto_reboot(char *text);        // "/1032"
int on_set_auto_reboot(char *text);        // "/1033"

// ---- Logs ----
int on_get_log_types(char *text);       // "/1015"
int on_get_log_info(char *text);        // "/1002", request 3495
void on_log_search_info_cb(const void *payload, int length);
int on_get_log_details(char *text);     // "/1021", request 3488
void on_log_web_get_log_detail_cb(const void *payload, int length);
int on_download_logfile(char *text);    // "/1003", request 3494
void on_log_web_export_info_cb(const void *payload, int length);
int on_check_download_log(char *text);  // "/1022"

constexpr const char *LOG_EXPORT_MARKER = "/tmp/log/log_web";

// The client address as the log page shows it: an IPv4-mapped address
// without "::ffff:", any other without its zone suffix from '%'.
std::string log_clean_address(const char *address);
// The sub types an operation-log export asks for: three masks plus 10 over
// the bases 101, 131 and 200 (missing values read 0). Returns the count.
int log_expand_operation_sub_types(const int64_t *values, int count, int64_t *out);
// The log types and their sub types for the type list, in reply order.
std::vector<int> log_sub_type_codes(int main_type, bool oem90);
