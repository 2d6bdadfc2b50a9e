// Face detection of a camera channel (0 to 15): its linkage record and its
// schedules. The detection settings themselves are the camera's.
#pragma once

#include <cstdint>

#include "kxdb_event.h"
#include "kxdb_linkage.h"

constexpr int FACE_CHANNELS = 16;

// Channels outside 0 to 15 are refused (-1, nothing read or written).
int read_face_event(const char *file, linkage_event *record, int channel);
int write_face_event(const char *file, const linkage_event *record);

int read_face_effective_schedule(const char *file, schedule *s, int channel);
int write_face_effective_schedule(const char *file, const schedule *s, int channel);
int read_face_audible_schedule(const char *file, schedule *s, int channel);
int write_face_audible_schedule(const char *file, const schedule *s, int channel);
int read_face_email_schedule(const char *file, schedule *s, int channel);
int write_face_email_schedule(const char *file, const schedule *s, int channel);
int read_face_ptz_schedule(const char *file, schedule *s, int channel);
int write_face_ptz_schedule(const char *file, const schedule *s, int channel);
int read_face_white_schedule(const char *file, schedule *s, int channel);
int write_face_white_schedule(const char *file, const schedule *s, int channel);

// Tables of the named parameter blocks.
constexpr const char *FACE_WHITE_PARAMS = "face_whiteled_params";
constexpr const char *FACE_HTTP_SCHEDULE = "face_http_notification_sche";
constexpr const char *FACE_HTTP_PARAMS = "face_http_notification_params";
