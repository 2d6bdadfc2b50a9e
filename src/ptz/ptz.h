// PTZ: movement commands, presets, tours and patterns sent to the cameras
// through the core daemon, and the PTZ settings kept per channel (tour
// table, serial port, speeds). Every exchange is answered through the one
// dispatcher, on_ptz_ipc_callback (ptz_ipc.cpp).
#pragma once

#include "kxdb_ptz.h"
#include "ptz_records.h"
#include "webcgi.h"

// Response dispatcher of the module.
void on_ptz_ipc_callback(int context, const kx_msg_head *head, const void *payload);

// Decoders get the answer's payload (never null) and its length in bytes.
using ptz_decoder = void (*)(const void *payload, int length);

// ---- Movement, presets, patterns, zoom and camera speed (ptz_control.cpp) ----
int on_send_ptz_cmd(char *text);          // /5000
int on_preset_op(char *text);             // /5001
int on_set_ptz_pattern(char *text);       // /5004
int on_set_ptz_preset_call(char *text);   // /5006
int on_set_ptz_zomm(char *text);          // /5007
int on_set_ipc_speed(char *text);         // /5008
int on_cgi_set_ptz_control(char *text);   // /5009
int on_cgi_get_led_status(char *text);    // /5010
void on_set_ipc_common_cb(const void *payload, int length);        // 8226
void on_cgi_set_ptz_control_cb(const void *payload, int length);   // 8361
void on_cgi_get_led_status_cb(const void *payload, int length);    // 8363

// ---- Tours (ptz_tours.cpp) ----
int on_set_fish_ptz_tour_set(char *text);  // /6056
int on_set_ptz_tour_set(char *text);       // /6055
int on_set_ptz_tour_clear(char *text);     // /6057
int on_set_ptz_tour_run(char *text);       // /5002
int on_set_ptz_tour_stop(char *text);      // /5003

// ---- Information and basic options (ptz_info.cpp) ----
int on_get_ptz_info(char *text);        // /5005
int on_cgi_get_ptz_basic(char *text);   // /5011
int on_cgi_set_ptz_basic(char *text);   // /5012
void on_ptz_reply_info(const void *payload, int length);        // 6265, 6268
void on_cgi_get_ptz_basic_cb(const void *payload, int length);  // 6270
void on_cgi_set_ptz_basic_cb(const void *payload, int length);  // 6271

// ---- Port, support and speed settings (ptz_settings.cpp) ----
int on_get_ptzport_info(char *text);     // /6050
int on_set_ptzport_info(char *text);     // /6051
int on_get_ptzsupport_info(char *text);  // /6052
int on_get_ptz_speed(char *text);        // /6053
int on_set_ptz_speed(char *text);        // /6054
int check_ptzport_info(json_object *json);
void on_ip_ptzsupport_cb(const void *payload, int length);  // 6262
