// Handlers and decoders of the camera's further features: watermark, event
// stream, night mode, PTZ support, camera type, custom parameter, capability
// flags, chip code, motion status (camera_extra.cpp), audio
// (camera_audio.cpp), auto tracking (camera_tracking.cpp) and the camera
// firmware upgrade (camera_upgrade.cpp).
#pragma once

#include <cstddef>
#include <cstdint>

#include "camera.h"

namespace camera {
// True when the answer of `length` bytes holds one whole record of `size`;
// else writes the JSON error reply, sets the flag and returns false.
bool whole_record(int length, size_t size);
// Writes {"res": word 0}, or the JSON error when the answer holds no word.
void reply_res(const void *payload, int length);
// Parses the request, checks its "chnid" (0 to 63) and sends it as the
// 4-byte payload of `code`; the JSON error for a bad request or no answer.
int query_checked_channel(const char *text, int code);
}  // namespace camera

int on_cgi_get_watermark(char *text);             // /2058
int on_cgi_set_watermark(char *text);             // /2059
int on_cgi_get_ipc_event_stream(char *text);      // /2060
int on_cgi_set_ipc_event_stream(char *text);      // /2061
int on_cgi_get_ipc_lpr_night_mode(char *text);    // /2062
int on_cgi_get_ipc_system_info(char *text);       // /2065
int on_cgi_get_ipc_custom_param(char *text);      // /2068
int on_cgi_get_ptz_support(char *text);           // /2056
int on_cgi_get_ipc_type(char *text);              // /2057
int on_web_get_chip_code(char *text);             // /2027
int on_web_get_motion_status(char *text);         // /2028
int on_cgi_check_alive(char *text);               // /2082
void on_cgi_get_watermark_cb(const void *payload, int length);           // 6213
void on_cgi_set_watermark_cb(const void *payload, int length);           // 6216
void on_cgi_get_ipc_event_stream_cb(const void *payload, int length);    // 6217
void on_cgi_set_ipc_event_stream_cb(const void *payload, int length);    // 6218
void on_cgi_get_ipc_lpr_night_mode_cb(const void *payload, int length);  // 6219
void on_cgi_get_ptz_support_cb(const void *payload, int length);         // 6262
void on_cgi_get_ipc_type_cb(const void *payload, int length);            // 7507
void on_cgi_get_ipc_custom_param_cb(const void *payload, int length);    // 8377
void on_cgi_get_ipc_system_info_cb(const void *payload, int length);     // 8376
void on_web_get_motion_status_cb(const void *payload, int length);       // 8307
void on_get_get_chip_code_cb(const void *payload, int length);           // 9004

// ---- Camera firmware upgrade (camera_upgrade.cpp) ----
int on_set_ipc_upgrade_masks(char *text);          // /2078
int on_get_ipc_firmware_status_text(char *text);   // /2079
int on_set_ipc_firmware_upgrade(char *text);       // /2080
int on_set_ipc_upgrade_stop(char *text);           // /2081
void on_set_ipc_firmware_upgrade_cb(const void *payload, int length);      // 8379
void on_set_ipc_upgrade_masks_cb(const void *payload, int length);         // 8385
void on_get_ipc_firmware_status_text_cb(const void *payload, int length);  // 8386

namespace camera {
// The channel mask of a text: character i '1', for i below the first NUL
// and 64, sets bit i; the own channel's bit is added when it is 0 to 63.
uint64_t channel_text_mask(const char *text, int channel);
}  // namespace camera

// ---- Camera audio (camera_audio.cpp) ----
int on_cgi_get_ipc_audio_info(char *text);  // /2063
int on_cgi_set_ipc_audio_info(char *text);  // /2064
void on_cgi_get_ipc_audio_info_cb(const void *payload, int length);  // 8371
void on_cgi_set_ipc_audio_info_cb(const void *payload, int length);  // 8372

// ---- Auto tracking (camera_tracking.cpp) ----
int on_cgi_get_auto_tracking_status(char *text);  // /2054
int on_cgi_set_auto_tracking_status(char *text);  // /2055
void on_cgi_get_auto_tracking_status_cb(const void *payload, int length);  // 8294
void on_cgi_set_auto_tracking_status_cb(const void *payload, int length);  // 8375
