#include "kxdb_system.h"

#include <cstring>

#include "kxdb.h"

namespace {
constexpr const char *kAudioFile = "alarm_audio_file";
}

int read_alarm_audio_file(const char *file, alarm_audio_file *records, int *count) {
  return kxdb_read_records(file, kAudioFile, records, 0, ALARM_AUDIO_FILES, &alarm_audio_file::id,
                           count);
}

int write_alarm_audio_file(const char *file, const alarm_audio_file *record) {
  if (record->id < 0 || record->id >= ALARM_AUDIO_FILES) return -1;
  return kxdb_write_record(file, kAudioFile, record, &alarm_audio_file::id);
}
