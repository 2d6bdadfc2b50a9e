// The cameras' analytics rules (read from and written to the cameras
// through the core daemon) and the smart-event actions the recorder keeps
// per channel and rule type.
#pragma once

#include <cstdint>

#include "kxdb_vca.h"
#include "vca_records.h"
#include "video.h"

// ---- Rule readers (vca.cpp) ----
int on_get_vca_region(char *text);        // /6132
int on_get_vca_motion(char *text);        // /6134
int on_get_vca_tamper(char *text);        // /6136
int on_get_vca_line(char *text);          // /6138
int on_get_vca_loitering(char *text);     // /6140
int on_get_vca_human(char *text);         // /6142
int on_get_vca_people(char *text);        // /6144
int on_get_vca_settings(char *text);      // /6146
int on_get_vca_support(char *text);       // /6157
int on_get_vca_leftremove(char *text);    // /6172
int on_get_ipc_vca_line2(char *text);     // /6192
int on_get_ipc_vca_settings2(char *text); // /6194

// Decoders of the rule answers (a payload shorter than its record counts
// as missing: no reply, the handler answers its error).
void on_get_vca_region_cb(const void *payload, int length);      // 8237, 8238
void on_get_vca_motion_cb(const void *payload, int length);      // 8239
void on_get_vca_tamper_cb(const void *payload, int length);      // 8240
void on_get_vca_line_cb(const void *payload, int length);        // 8241
void on_get_vca_loitering_cb(const void *payload, int length);   // 8242
void on_get_vca_human_cb(const void *payload, int length);       // 8243
void on_get_vca_people_cb(const void *payload, int length);      // 8253
void on_get_vca_support_cb(const void *payload, int length);     // 8257
void on_get_vca_settings_cb(const void *payload, int length);    // 8259
void on_get_vca_leftremove_cb(const void *payload, int length);  // 8268
void on_get_ipc_vca_line2_cb(const void *payload, int length);   // 6209
void on_get_ipc_vca_settings2_cb(const void *payload, int length);  // 6211

// ---- Rule writers (vca_rules.cpp) ----
int on_set_vca_region(char *text);         // /6133
int on_set_vca_motion(char *text);         // /6135
int on_set_vca_tamper(char *text);         // /6137
int on_set_vca_line(char *text);           // /6139
int on_set_vca_loitering(char *text);      // /6141
int on_set_vca_human(char *text);          // /6143
int on_set_vca_people(char *text);         // /6145
int on_set_vca_settings(char *text);       // /6147
int on_vca_clear_people_count(char *text); // /6154
int on_set_vca_leftremove(char *text);     // /6171
int on_set_ipc_vca_line2(char *text);      // /6193
int on_set_ipc_vca_settings2(char *text);  // /6195

// ---- Smart-event actions (vca_actions.cpp) ----
int on_get_smart_event_schedule(char *text);  // /6148
int on_set_smart_event_schedule(char *text);  // /6149
int on_set_vca_allrtm_others(char *text);     // /6150
int on_get_vca_common_para(char *text);       // /6151
// Stores the actions of rule `type` for the object's own "chnid" and copies
// them to the channels of `mask`, as one step; then notifies the daemon
// (1412) of the copies and the channel. The number of changes that made it
// write the record (a field present, the PTZ list stored: 0 to 2); 0 for a
// missing object or a channel outside 0 to 63; -1 when a store or the copy
// failed (nothing of it is kept, nothing is sent).
int save_vca_dialog_data(int type, json_object *json, uint64_t mask);

namespace video {

// The page draws rules on a canvas of 460 x 260 points; the camera works in
// its analysis resolution. Computed in 64 bits and kept within int32, so
// that no request or answer value can overflow.
constexpr int CANVAS_WIDTH = 460;
constexpr int CANVAS_HEIGHT = 260;
// Canvas to camera: (size x value + canvas / 2) / canvas.
int32_t canvas_to_camera(int64_t value, int64_t size, int64_t canvas);
// Camera to canvas: (size / 2 + value x canvas) / size; 0 for size 0.
int32_t camera_to_canvas(int64_t value, int64_t size, int64_t canvas);
// A converted value raised to at least 1.
int32_t at_least_one(int32_t value);

// The four integers of a position text x1;y1;x2;y2 (values not given count
// as 0, each kept within int32).
struct LinePoints {
  int32_t v[4];
};
LinePoints split_position(const char *text);
// Canvas points of a request to camera points, each at least 1.
LinePoints canvas_line_to_camera(const LinePoints &canvas, int32_t width, int32_t height);

// The 1412 notice of the channels whose smart-event actions changed.
void notify_smart_event(uint64_t mask);

}  // namespace video
