#include "kxdb_camera.h"

#include "kxdb.h"

namespace {
bool channel_valid(int channel) {
  return channel >= 0 && channel < CAMERA_CHANNELS;
}
}  // namespace

int read_camera(const char *file, camera_params *record, int channel) {
  if (!channel_valid(channel)) return -1;
  return kxdb_read_record(file, CAMERA_TABLE, channel, record, &camera_params::id);
}

int write_camera(const char *file, const camera_params *record) {
  if (!channel_valid(record->id)) return -1;
  return kxdb_write_record(file, CAMERA_TABLE, record, &camera_params::id);
}

int read_cameras(const char *file, camera_params *records, int *count) {
  return kxdb_read_records(file, CAMERA_TABLE, records, 0, CAMERA_CHANNELS, &camera_params::id,
                           count);
}
