// System module: firmware upgrades of the recorder and its cameras, restart,
// factory restore, and the configuration's export and import.
#pragma once

#include "upgrade_records.h"
#include "webcgi.h"

// The file whose presence tells that the core daemon runs.
constexpr const char *CORE_RUNNING_FILE = "/tmp/kxcore";
// Written by the profile tool on export: the exported file's full path.
constexpr const char *EXPORT_MARKER_FILE = "/tmp/.export_down_file";
// Uploads land here under the client's file name.
constexpr const char *UPLOAD_DIR = "/tmp";

// The restart: operation-log entry 200, then request 1703 (both without
// waiting). Writes no reply.
void send_restart_requests();
// Operation-log entry of a maintenance step (parameter type 900), sent
// without waiting.
void send_maintenance_log(int sub_type);

// ---- Firmware upgrade ----
int on_upgrade_system(char *text);              // "/1010"
int on_cgi_upgrade_system_init(char *text);     // "/1034"
int on_clean_upgrade_files(char *text);         // "/1011"
int on_upgrade_camera(char *text);              // "/6082"
int on_start_upgrade_camera(char *text);        // "/6083"
int on_stop_upgrade_camera(char *text);         // "/6084"
int on_get_online_upgrade(char *text);          // "/6085"
int on_del_online_upgrade(char *text);          // "/6086"
int on_check_nvr_online_upgrade(char *text);    // "/6087"
int on_nvr_online_upgrade(char *text);          // "/6088"
int on_check_ipc_online_upgrade(char *text);    // "/6089"

// Decoders of the daemon's answers (count: whole records in the payload).
void on_upgrade_system_cb(int count, const void *payload);             // 6713
void on_check_nvr_online_upgrade_cb(int count, const void *payload);   // 6715
void on_online_upgrade_status_cb(int count, const void *payload);      // 6716, 6717
void on_start_upgrade_camera_cb(int count, const void *payload);       // 8350
void on_check_ipc_online_upgrade_cb(int count, const void *payload);   // 8365

// Bit i set for character i of `text` that is '1' ('0' leaves it; any other
// character, or character 64, ends the scan).
uint64_t upgrade_check_mask(const char *text);

// ---- Restart, restore, configuration ----
int on_restart_device(char *text);     // "/1004"
int on_get_restart_state(char *text);  // "/1005"
int on_restore_device(char *text);     // "/1006"
int on_export_config(char *text);      // "/1007"
int on_import_config(char *text);      // "/1008"
int on_download_config(char *text);    // "/1013"

// The upload named by an import request: the text up to " & ", accepted
// only as "/tmp/NAME" with one plain NAME that is a regular file. False
// otherwise (`path` then empty).
bool import_upload_path(const char *text, char *path, size_t size);
