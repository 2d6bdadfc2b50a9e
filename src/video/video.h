// Event and video settings: per-channel motion detection and the action
// schedules that link events to recording, alarm outputs, e-mail, audio,
// PTZ, white light and HTTP notification. Settings live in the settings
// database; the core daemon is told of each change and forwards the
// camera-side parts to the cameras.
#pragma once

#include "kxdb_motion.h"
#include "video_records.h"
#include "webcgi.h"

// Response dispatcher of the module: one routing table from response code
// to decoder (video_ipc.cpp).
void on_video_ipc_callback(int context, const kx_msg_head *head, const void *payload);

// ---- Shared decoders ----
// "OK" when the first int32 is 0, else "FAILED" (text).
void on_video_result_cb(const void *payload, int length);
// {"res": first int32} (JSON).
void on_video_res_cb(const void *payload, int length);

// ---- Motion detection (motion.cpp) ----
int on_get_movedetect_info(char *text);  // /6010
int on_set_movedetect_info(char *text);  // /6012
int on_get_motion_map(char *text);       // /6098
int on_set_move_info_sche(char *text);   // /6113
int on_set_move_base_info(char *text);   // /6114
int on_set_move_others(char *text);      // /6119
int check_movedetect_info(json_object *json);
int check_motion_map_info(json_object *json);
void on_get_motion_map_cb(const void *payload, int length);

// ---- Action settings and copying (motion_actions.cpp) ----
int on_set_move_dialog(char *text);  // /6112
int on_set_move_action(char *text);  // /6117
// Stores the action settings of the object's own "chnid": 1 when a field of
// the motion record was present plus 1 when the PTZ list was stored (0 to
// 2); 0 for a missing object or a channel outside 0 to 63; -1 when a
// settings write failed (nothing of it is kept, nothing is sent).
int save_motion_dialog_data(json_object *json);

// ---- Schedules (motion_schedules.cpp) ----
int OnGetMotionSchedule(char *text);         // /6011
int OnSetMotionSchedule(char *text);         // /6013
int on_set_move_email_sche(char *text);      // /6118
int on_get_move_email_sche(char *text);      // /6120
int on_set_move_effective_sche(char *text);  // /6152
int on_get_move_effective_sche(char *text);  // /6153
int on_get_move_ptz_sche(char *text);        // /6158
int on_set_move_ptz_sche(char *text);        // /6159
