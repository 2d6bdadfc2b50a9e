#include "kxdb_system.h"

#include <cstring>

#include "kxdb.h"

namespace {
constexpr const char *kAudioFile = "alarm_audio_file";
}

int read_alarm_audio_file(const char *file, alarm_audio_file *records, int *count) {
  alarm_audio_file all[ALARM_AUDIO_FILES];
  for (int i = 0; i < ALARM_AUDIO_FILES; i++) {
    all[i] = {};
    all[i].id = i;
    if (kxdb_read_or_default(file, kAudioFile, i, &all[i], sizeof all[i]) != 0) return -1;
  }
  memcpy(records, all, sizeof all);
  if (count) *count = ALARM_AUDIO_FILES;
  return 0;
}

int write_alarm_audio_file(const char *file, const alarm_audio_file *record) {
  if (record->id < 0 || record->id >= ALARM_AUDIO_FILES) return -1;
  return kxdb_put(file, kAudioFile, record->id, record, sizeof *record);
}
