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
