// On-screen display and privacy masks: the recorder's own OSD of each
// channel and its privacy masks (settings database), and the cameras' OSD
// texts and privacy masks, read and written through the core daemon.
#pragma once

#include "kxdb_osd.h"
#include "kxdb_privacy.h"
#include "osd_records.h"
#include "webcgi.h"

// The canvas the mask page draws on, in points.
constexpr int MASK_CANVAS_WIDTH = 460;
constexpr int MASK_CANVAS_HEIGHT = 260;

// ---- The recorder's OSD (osd.cpp) ----
int on_get_osd_info(char *text);  // /6000
int on_set_osd_info(char *text);  // /6001
int OnSetOSDName(char *text);     // /6002
int check_osd_info(json_object *json);

// ---- The cameras' OSD (osd.cpp) ----
int on_set_osdconfig(char *text);  // /6996
int on_get_osdconfig(char *text);  // /6997
int check_osdconfig_info(json_object *json);
void on_set_osdconfig_cb(const void *payload, int length);  // 8210
void on_get_osdconfig_cb(const void *payload, int length);  // 8211

// ---- Privacy masks (privacy_mask.cpp) ----
int on_get_privacy_masks(char *text);     // /6018
int on_set_privacy_mask(char *text);      // /6019
int on_get_privacy_mask_ovf(char *text);  // /6115
int on_get_ipc_model_type(char *text);    // /6116
int on_delete_privacy_mask(char *text);   // /6173
int on_cgi_set_privacy_edit(char *text);  // /6198
int check_privacy_mask_info(json_object *json);
void on_get_privacy_mask_ovf_cb(const void *payload, int length);  // 7502
void on_get_ipc_model_type_cb(const void *payload, int length);    // 7503

namespace video {
// Sends the int32 of member `key` as request `code` and waits for the
// answer; "CGI ERROR" as text when none came. No request and no reply when
// the body does not parse.
int ask_camera_channel(const char *text, const char *key, int code);
}  // namespace video
