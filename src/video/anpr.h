// Licence-plate recognition of the cameras: handlers and decoders.
#pragma once

#include <cstddef>

#include "anpr_records.h"
#include "kxdb_anpr.h"
#include "video.h"

// ---- Camera readers and the wildcards (anpr.cpp) ----
int on_get_anpr_settings(char *text);       // /6181
int on_set_anpr_settings(char *text);       // /6182
int on_get_anpr_support_anpr(char *text);   // /6186
int on_get_ipc_zoom_info(char *text);       // /6189
int on_get_ipc_anpr_wildcards(char *text);  // /6190
int on_set_ipc_anpr_wildcards(char *text);  // /6191

void on_get_anpr_settings_cb(const void *payload, int length);  // 8289
void on_get_anpr_support_cb(const void *payload, int length);   // 8293
void on_get_ipc_zoom_info_cb(const void *payload, int length);  // 6215
void on_get_anpr_wildcards_cb(const void *payload, int length); // 6207

// ---- Actions of the list modes (anpr_actions.cpp) ----
int on_get_anpr_mode_params(char *text);  // /6179
int on_set_anpr_mode_params(char *text);  // /6180
// Stores the actions of list mode `mode` from a "dialog" object: schedules,
// white-light and HTTP settings and the PTZ list in the database, the
// action fields into `record` (the caller writes it). The number of
// changes (a field present, the PTZ list stored: 0 to 2), 0 for a missing
// object or record, -1 when a store failed.
int save_anpr_dialog_data(json_object *json, anpr_event *record, int mode, int channel);

// ---- Plate lists (anpr_lists.cpp) ----
int on_set_anpr_del_lpr_plate(char *text);     // /6183
int on_set_anpr_add_lpr_plate(char *text);     // /6184
int on_set_anpr_update_lpr_plate(char *text);  // /6185

namespace video {
// URL decoding of `text` into a field of `size` bytes, cut to size - 1
// and always terminated. "%" and two hex digits give the byte (except a
// NUL, kept as written); everything else, a lone "%" too, is kept.
void get_url_decode(const char *text, char *out, size_t size);
// A wildcard record of channel `channel` from a request object ("filter",
// "maxPlateCharNum", "wildcards").
anpr_wildcards wildcards_from_json(json_object *json, int channel);
}  // namespace video
