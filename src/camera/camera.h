// Camera parameter proxy: settings held by the IP cameras, read and written
// through the core daemon. Every exchange of the module is answered through
// its one dispatcher, on_camera_ipc_callback (camera_ipc.cpp).
#pragma once

#include "webcgi.h"

// Response dispatcher of the module.
void on_camera_ipc_callback(int context, const kx_msg_head *head, const void *payload);

// Decoders get the answer's payload and its length in bytes; the dispatcher
// calls them only when the answer holds at least their row's size.
using camera_decoder = void (*)(const void *payload, int length);

// "/2026": forwards a free-form command to the daemon (request 4002).
int on_web_sendto_qt_cmd(char *text);
void on_web_sendto_qt_cmd_cb(const void *payload, int length);

// ---- Image enhancement and image display (image.cpp) ----
int on_get_ipc_image_enhancement(char *text);  // /2019
int on_set_ipc_image_enhancement(char *text);  // /2020
int on_get_ipc_image_display(char *text);      // /2021
int on_set_ipc_image_display(char *text);      // /2022
void on_get_ipc_ipcimage_enhancement_cb(const void *payload, int length);
void on_get_ipc_ipcimage_display_cb(const void *payload, int length);
void on_set_ipc_ipcimage_display_cb(const void *payload, int length);

// ---- Common parameter and camera models (ipc_param.cpp) ----
int on_get_ipc_common_param(char *text);     // /2023
int on_set_ipc_common_param(char *text);     // /2024
int on_web_get_ipc_model_type(char *text);   // /2025
int on_web_get_channels_model(char *text);   // /2029
void on_get_ipc_common_param_cb(const void *payload, int length);
void on_set_ipc_common_param_cb(const void *payload, int length);
void on_web_get_ipc_model_type_cb(const void *payload, int length);
void on_web_get_channels_model_cb(const void *payload, int length);

// ---- Main and sub stream (stream.cpp) ----
int on_get_ipc_stream_param(char *text);        // /2009
int on_set_ipc_stream_param(char *text);        // /2010
int on_set_ipc_stream_param_batch(char *text);  // /2030
void on_get_ipc_stream_param_cb(const void *payload, int length);
void on_set_ipc_stream_param_cb(const void *payload, int length);

// ---- Camera channels: which camera is on which channel (channels.cpp,
// ---- channel_search.cpp) ----
// 0 when an add or edit request is acceptable, else -1 (no reply follows).
int check_digital_channel(json_object *request);
int on_get_ipc_list(char *text);              // /2001, /2007
int on_get_ipc_info(char *text);              // /2000
int on_edit_ipc(char *text);                  // /2003
int on_add_ipc(char *text);                   // /2004
int on_delete_ipc(char *text);                // /2005
int on_search_ipc(char *text);                // /2006
int on_get_ipc_protocols(char *text);         // /2008
int on_set_ipc_network(char *text);           // /2011
int on_get_ipc_names(char *text);             // /2012
int on_get_ipc_record_days(char *text);       // /2013
int on_check_ipc_connect(char *text);         // /2014
int on_check_ipc_connect_ex(char *text);      // /2015
int on_get_poe_password(char *text);          // /2016
int on_set_ipc_credentials(char *text);       // /2017
int on_get_max_poe_num(char *text);           // /2018
int on_set_ipc_transmit(char *text);          // /2031
int on_set_ipc_network_batch(char *text);     // /2032
int on_get_ipc_network_result(char *text);    // /2033
int on_get_ipv6_support(char *text);          // /2034
void on_search_ipc_cb(const void *payload, int length);              // 8200
void on_get_ipc_list_cb(const void *payload, int length);            // 8201
void on_check_ipc_connect_cb(const void *payload, int length);       // 8202, 8227
void on_set_ipc_network_cb(const void *payload, int length);         // 8205
void on_get_ipc_network_result_cb(const void *payload, int length);  // 8230
void on_get_ipc_record_days_cb(const void *payload, int length);     // 8493
