// Entry-by-entry editing of the PTZ action lists of the event kinds: one
// entry per PTZ camera that an event channel moves. The lists are the ones
// the event pages keep whole (kxdb_event.h); an entry whose acto_ptz_channel
// is 0 is an empty slot, and set entries keep the order they were added in.
#pragma once

#include "kxdb_event.h"

// Event types with a PTZ action list: 0 alarm input, 1 motion, 2 video loss,
// 5 to 13 analytics rules, 15 to 17 plate-list modes, 20 people counting
// (16 entries, its own accessors), 22 to 25 regional counting.
bool ptz_event_type_valid(int type);
// Entries a list of the type holds: 16 for people counting, else 64.
int ptz_event_capacity(int type);

// All take the event channel from entry->chn_id (0 to 63), refuse unknown
// types and a camera (acto_ptz_channel) below 1 (-1, nothing written).
// Adds the entry, or replaces the entry of the same camera; a full list
// refuses a further camera (-1).
int write_ptz_params(const char *file, const ptz_action_params *entry, int type);
// Puts the entry in the place of the one whose camera is `old`; with no
// such entry it is added as write_ptz_params does. Another entry of the new
// camera is dropped, so a camera is listed once.
int update_ptz_params(const char *file, const ptz_action_params *entry, int type, int old);
// Removes the entry of camera `acto_ptz_channel` (nothing to remove is no
// failure); the entries after it move up.
int delete_ptz_params(const char *file, const ptz_action_params *entry, int type,
                      int acto_ptz_channel);

int write_peoplecnt_ptz_params(const char *file, const ptz_action_params *entry);
int update_peoplecnt_ptz_params(const char *file, const ptz_action_params *entry, int old);
int delete_peoplecnt_ptz_params(const char *file, const ptz_action_params *entry, int chn_id,
                                int acto_ptz_channel);
