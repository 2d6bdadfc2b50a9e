#include "kxdb_record.h"

#include <cstring>

#include "kxdb.h"
#include "kxdb_camera.h"
#include "kxdb_videoloss.h"

namespace {

constexpr const char *kHoliday = "holiday";
constexpr const char *kSchedule = "record_schedule";

bool channel_valid(int channel) {
  return channel >= 0 && channel < RECORD_CHANNELS;
}

bool holiday_valid(int id) {
  return id >= 0 && id < HOLIDAY_MAX;
}

// Where an integer column of a table lives in its record.
struct IntColumn {
  const char *table;
  const char *column;
  size_t record_size;
  size_t key_offset;  // the int32 "id" column
  size_t offset;
};

constexpr IntColumn kIntColumns[] = {
    {RECORD_TABLE, "mode", sizeof(record_params), offsetof(record_params, id),
     offsetof(record_params, mode)},
    {CAMERA_TABLE, "anr", sizeof(camera_params), offsetof(camera_params, id),
     offsetof(camera_params, anr)},
    {CAMERA_TABLE, "record_stream", sizeof(camera_params), offsetof(camera_params, id),
     offsetof(camera_params, record_stream)},
    {VIDEO_LOSS_TABLE, "tri_alarms", sizeof(video_loss_params), offsetof(video_loss_params, id),
     offsetof(video_loss_params, triAlarms)},
};

}  // namespace

int read_holidays(const char *file, holiday_params *records, int *count) {
  return kxdb_read_records(file, kHoliday, records, 0, HOLIDAY_MAX, &holiday_params::id, count);
}

int write_holiday(const char *file, const holiday_params *record) {
  if (!holiday_valid(record->id)) return -1;
  return kxdb_write_record(file, kHoliday, record, &holiday_params::id);
}

int read_record(const char *file, record_params *record, int channel) {
  if (!channel_valid(channel)) return -1;
  return kxdb_read_record(file, RECORD_TABLE, channel, record, &record_params::id);
}

int read_records(const char *file, record_params *records, int *count) {
  return kxdb_read_records(file, RECORD_TABLE, records, 0, RECORD_CHANNELS, &record_params::id,
                           count);
}

int write_record(const char *file, const record_params *record) {
  if (!channel_valid(record->id)) return -1;
  return kxdb_write_record(file, RECORD_TABLE, record, &record_params::id);
}

int write_records(const char *file, const record_params *records, uint64_t mask) {
  return kxdb_transaction(file, [&] {
    for (int ch = 0; ch < RECORD_CHANNELS; ch++) {
      if (!(mask >> ch & 1)) continue;
      record_params r = records[ch];
      r.id = ch;  // stored under its channel, whatever the array held
      if (write_record(file, &r) != 0) return false;
    }
    return true;
  });
}

int read_record_schedule(const char *file, record_schedule *record, int channel) {
  if (!channel_valid(channel)) return -1;
  return kxdb_read_record<record_schedule>(file, kSchedule, channel, record, nullptr);
}

int copy_record_schedules(const char *file, const record_schedule *record, uint64_t mask) {
  // The schedule carries no channel of its own: every copy is the same bytes.
  return kxdb_transaction(file, [&] {
    for (int ch = 0; ch < RECORD_CHANNELS; ch++) {
      if (!(mask >> ch & 1)) continue;
      if (kxdb_put(file, kSchedule, ch, record, sizeof *record) != 0) return false;
    }
    return true;
  });
}

int copy_table_column_int(const char *file, const char *table, const char *column, int value,
                          uint64_t mask, const char *key_column) {
  if (!table || !column || !key_column || strcmp(key_column, "id") != 0) return -1;
  for (const IntColumn &c : kIntColumns) {
    if (strcmp(c.table, table) != 0 || strcmp(c.column, column) != 0) continue;
    return kxdb_set_int_field(file, c.table, c.record_size, c.key_offset, c.offset, value, mask);
  }
  return -1;
}
