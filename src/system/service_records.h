// Wire records of the service endpoints. The audio file record of answer
// 9012 is the settings record alarm_audio_file (kxdb_system.h); the access
// filter entry is in kxdb_service.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kxdb_service.h"
#include "kxdb_system.h"

constexpr int AUDIO_NAME_FIELD = 128;  // base64url text, NUL included

// Request 4015: rename an audio file.
struct audio_file_request {
  int32_t id;
  int32_t enable;  // always 1
  char name[AUDIO_NAME_FIELD];
};
static_assert(sizeof(audio_file_request) == 136);
static_assert(offsetof(audio_file_request, id) == 0);
static_assert(offsetof(audio_file_request, enable) == 4);
static_assert(offsetof(audio_file_request, name) == 8);
static_assert(sizeof(alarm_audio_file) == sizeof(audio_file_request));

// Request 3528: the directory the diagnostic package is written into.
struct diagnosis_request {
  char directory[64];
};
static_assert(sizeof(diagnosis_request) == 64);

// Answer 8528: status, reserved, then the package's path.
constexpr int DIAGNOSIS_PATH_OFFSET = 8;
constexpr int DIAGNOSIS_PATH_MAX = 1023;
