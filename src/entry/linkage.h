// The linkage dialog of an event source: the JSON of its linkage record
// with the schedules, white light, HTTP notification and PTZ actions it
// keeps, and the request's linkage keys applied to them. People counting,
// POS, face detection and the camera alarm inputs share the dialog; each
// describes where it keeps its settings in a LinkageSource.
#pragma once

#include <json-c/json.h>
#include <span>

#include "kxdb_linkage.h"

struct schedule;

// One week schedule of a source under its JSON key ("effective", ...).
struct LinkageSchedule {
  const char *key;
  int (*read)(const char *file, schedule *s, int id);
  // Null: the key is shown but a request's value is not stored.
  int (*write)(const char *file, const schedule *s, int id);
};

struct LinkageSource {
  int ptz_event;  // event type of the source's PTZ action lists
  int (*read_event)(const char *file, linkage_event *record, int id);
  int (*write_event)(const char *file, const linkage_event *record);
  std::span<const LinkageSchedule> schedules;
  // Table of the white-light actions; null: the people-counting store.
  const char *white_params;
  const char *http_params;  // table of the HTTP notification target
};

// The object of `keys`, in their order: "chnid" (the id), the record's
// fields, the schedules (plain codec), "triChnAlarms", "whiteInfo",
// "httpParams", "ptzParams" and "audioIdMask". A key the source does not
// know is left out. A record that cannot be read shows as the zeroed one.
json_object *get_linkage_json_object(const LinkageSource &source, int id,
                                     std::span<const char *const> keys);

// Applies the linkage keys of `json` to the source's settings of `id`, as
// one step: every schedule that decodes, "whiteInfo", "httpParams", the PTZ
// list of "ptzParams", and the record's fields (written when one was
// present or the PTZ list was stored). "triChannels" also sets the 32-bit
// trigger mask; "interval" its flag. 0, or -1 when a write failed (nothing
// is kept then).
int set_linkage_by_json(const LinkageSource &source, int id, json_object *json);

// Bit i for each '1' at position i below 32 of a channel text.
uint32_t linkage_trigger_mask(const char *text, size_t width);
