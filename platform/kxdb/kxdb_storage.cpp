#include "kxdb_storage.h"

#include <cstring>

#include "kxdb.h"

namespace {

constexpr const char *kDisk = "disk";
constexpr const char *kGroup = "disk_group";
constexpr const char *kEsataBackup = "esata_auto_backup";

bool group_id_valid(int id) {
  return id >= 0 && id < DISK_GROUPS;
}

}  // namespace

int read_disk(const char *file, disk_params *record, int port) {
  if (!disk_port_valid(port)) return -1;
  disk_params r = {};
  r.port = port;
  if (kxdb_read_or_default(file, kDisk, port, &r, sizeof r) != 0) return -1;
  *record = r;
  return 0;
}

int write_disk(const char *file, const disk_params *record) {
  if (!disk_port_valid(record->port)) return -1;
  return kxdb_put(file, kDisk, record->port, record, sizeof *record);
}

int read_disks(const char *file, disk_params *records, int *count) {
  if (count) *count = 0;
  disk_params stored[DISK_PORT_MAX + 1];
  int keys[DISK_PORT_MAX + 1];
  int n = 0;
  if (kxdb_get_all(file, kDisk, stored, sizeof *stored, DISK_PORT_MAX + 1, &n, keys) != 0) {
    return -1;
  }
  disk_params all[DISK_RECORDS] = {};
  for (int i = 0; i < DISK_RECORDS; i++) all[i].port = i + 1;
  for (int i = 0; i < n; i++) {
    if (keys[i] >= 1 && keys[i] <= DISK_RECORDS) all[keys[i] - 1] = stored[i];
  }
  memcpy(records, all, sizeof all);
  if (count) *count = DISK_RECORDS;
  return 0;
}

int write_disks(const char *file, const disk_params *records, int count) {
  for (int i = 0; i < count; i++) {
    if (!disk_port_valid(records[i].port)) return -1;
  }
  return kxdb_put_many(file, kDisk, records, sizeof *records, count,
                       offsetof(disk_params, port));
}

int read_groups(const char *file, disk_group_params *records, int *count) {
  if (count) *count = 0;
  disk_group_params stored[DISK_GROUPS];
  int keys[DISK_GROUPS];
  int n = 0;
  if (kxdb_get_all(file, kGroup, stored, sizeof *stored, DISK_GROUPS, &n, keys) != 0) return -1;
  disk_group_params all[DISK_GROUPS] = {};
  for (int i = 0; i < DISK_GROUPS; i++) all[i].id = i;
  for (int i = 0; i < n; i++) {
    if (group_id_valid(keys[i])) all[keys[i]] = stored[i];
  }
  memcpy(records, all, sizeof all);
  if (count) *count = DISK_GROUPS;
  return 0;
}

int write_group(const char *file, const disk_group_params *record) {
  if (!group_id_valid(record->id)) return -1;
  return kxdb_put(file, kGroup, record->id, record, sizeof *record);
}

int read_esata_auto_backup(const char *file, esata_auto_backup_params *record) {
  esata_auto_backup_params r = {};
  if (kxdb_read_or_default(file, kEsataBackup, 0, &r, sizeof r) != 0) return -1;
  *record = r;
  return 0;
}

int write_esata_auto_backup(const char *file, const esata_auto_backup_params *record) {
  if (record->id != 0) return -1;
  return kxdb_put(file, kEsataBackup, 0, record, sizeof *record);
}
