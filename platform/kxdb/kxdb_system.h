// Settings records of the system module.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Alarm audio files (10 slots) ----
struct alarm_audio_file {
  int32_t id;
  int32_t enable;  // 1 = a file is present and enabled
  char name[128];  // base64url-encoded display name
};
static_assert(sizeof(alarm_audio_file) == 136);
static_assert(offsetof(alarm_audio_file, id) == 0);
static_assert(offsetof(alarm_audio_file, enable) == 4);
static_assert(offsetof(alarm_audio_file, name) == 8);

constexpr int ALARM_AUDIO_FILES = 10;

// Reads the slots in id order into `records` (ALARM_AUDIO_FILES of them).
int read_alarm_audio_file(const char *file, alarm_audio_file *records, int *count);
int write_alarm_audio_file(const char *file, const alarm_audio_file *record);
