#include "kxdb_snapshot.h"

#include "kxdb.h"

namespace {

constexpr const char *kSnapshot = "snapshot";
constexpr const char *kSnapshotSchedule = "snapshot_schedule";
constexpr const char *kCameraIo = "cameraio";
constexpr const char *kVolumeDetect = "volumedetect";

bool channel_ok(int channel) {
  return channel >= 0 && channel < SNAPSHOT_CHANNELS;
}

int read_trigger(const char *file, const char *kind, camera_trigger_params *record, int camId) {
  if (!record || !channel_ok(camId)) return -1;
  return kxdb_read_record(file, kind, camId, record, &camera_trigger_params::camId);
}

int write_trigger(const char *file, const char *kind, const camera_trigger_params *record) {
  if (!record || !channel_ok(record->camId)) return -1;
  return kxdb_write_record(file, kind, record, &camera_trigger_params::camId);
}

}  // namespace

int read_snapshot(const char *file, snapshot_params *record, int channel) {
  if (!record || !channel_ok(channel)) return -1;
  return kxdb_read_record(file, kSnapshot, channel, record, &snapshot_params::channel);
}

int write_snapshot(const char *file, const snapshot_params *record) {
  if (!record || !channel_ok(record->channel)) return -1;
  return kxdb_write_record(file, kSnapshot, record, &snapshot_params::channel);
}

int copy_snapshots(const char *file, const snapshot_params *record, uint64_t mask) {
  if (!record) return -1;
  return kxdb_copy(file, kSnapshot, record, sizeof *record, offsetof(snapshot_params, channel),
                   mask);
}

int read_snapshot_schedule(const char *file, snapshot_schedule *s, int channel) {
  if (!s || !channel_ok(channel)) return -1;
  return kxdb_read_record<snapshot_schedule>(file, kSnapshotSchedule, channel, s, nullptr);
}

int write_snapshot_schedules(const char *file, const snapshot_schedule *schedules,
                             const snapshot_channel_list *list) {
  if (!schedules || !list) return -1;
  int count = list->count < SNAPSHOT_CHANNELS ? list->count : SNAPSHOT_CHANNELS;
  for (int i = 0; i < count; i++) {
    if (!channel_ok(list->channels[i])) return -1;
  }
  return kxdb_transaction(file, [&] {
    for (int i = 0; i < count; i++) {
      int ch = list->channels[i];
      if (kxdb_put(file, kSnapshotSchedule, ch, &schedules[ch], sizeof schedules[ch]) != 0) {
        return false;
      }
    }
    return true;
  });
}

int read_cameraio(const char *file, camera_trigger_params *record, int camId) {
  return read_trigger(file, kCameraIo, record, camId);
}
int write_cameraio(const char *file, const camera_trigger_params *record) {
  return write_trigger(file, kCameraIo, record);
}
int read_volumedetect(const char *file, camera_trigger_params *record, int camId) {
  return read_trigger(file, kVolumeDetect, record, camId);
}
int write_volumedetect(const char *file, const camera_trigger_params *record) {
  return write_trigger(file, kVolumeDetect, record);
}
