// Snapshots, PTZ action entries, the cameras' alarm I/O and volume
// detection, fisheye views and regional people counting: the handlers and
// the decoders of their daemon answers.
#pragma once

#include "camera_event_records.h"
#include "webcgi.h"

// ---- Scheduled snapshots (snapshot.cpp) ----
int on_get_snapshot_schedule(char *text);        // /6174
int on_set_snapshot_schedule(char *text);        // /6175
int on_get_snapshot_setting_params(char *text);  // /6176
int on_set_snapshot_setting_params(char *text);  // /6177
int on_set_snapshot_batch_setting(char *text);   // /6178

// ---- PTZ action entries of the event kinds (ptz_actions.cpp) ----
int on_set_ptz_params(char *text);           // /6160
int on_get_ptz_params(char *text);           // /6161
int on_delete_ptz_params(char *text);        // /6162
int on_update_ptz_params(char *text);        // /6163
int on_delete_ptz_params_batch(char *text);  // /6164

// ---- Camera alarm I/O and volume detection (camera_io.cpp) ----
int on_get_camera_io_alarm(char *text);  // /6090
int on_set_camera_io_alarm(char *text);  // /6091
int on_get_volume_detect(char *text);    // /6092
int on_set_volume_detect(char *text);    // /6093
void on_get_camera_io_alarm_cb(const void *payload, int length);  // 8213
void on_get_volume_detect_cb(const void *payload, int length);    // 8215

// ---- Fisheye (fisheye.cpp) ----
int on_cgi_get_fisheye_mode(char *text);    // /6130
int on_cgi_set_fisheye_mode(char *text);    // /6131
int on_cgi_check_fisheye_info(char *text);  // /6196
int on_cgi_set_fisheye_info(char *text);    // /6197
void on_get_fisheye_mode_cb(const void *payload, int length);    // 8232
void on_check_fisheye_info_cb(const void *payload, int length);  // 8373

// ---- Regional people counting (region_count.cpp) ----
int on_cgi_get_ipc_regional_info(char *text);  // /6096
int on_cgi_set_ipc_regional_info(char *text);  // /6097
void on_get_ipc_regional_info_cb(const void *payload, int length);  // 6220
