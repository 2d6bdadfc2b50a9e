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
  return kxdb_read_record(file, kDisk, port, record, &disk_params::port);
}

int write_disk(const char *file, const disk_params *record) {
  if (!disk_port_valid(record->port)) return -1;
  return kxdb_write_record(file, kDisk, record, &disk_params::port);
}

int read_disks(const char *file, disk_params *records, int *count) {
  return kxdb_read_records(file, kDisk, records, 1, DISK_RECORDS, &disk_params::port,
                           count);
}

int write_disks(const char *file, const disk_params *records, int count) {
  for (int i = 0; i < count; i++) {
    if (!disk_port_valid(records[i].port)) return -1;
  }
  return kxdb_put_many(file, kDisk, records, sizeof *records, count,
                       offsetof(disk_params, port));
}

int read_groups(const char *file, disk_group_params *records, int *count) {
  return kxdb_read_records(file, kGroup, records, 0, DISK_GROUPS, &disk_group_params::id, count);
}

int write_group(const char *file, const disk_group_params *record) {
  if (!group_id_valid(record->id)) return -1;
  return kxdb_write_record(file, kGroup, record, &disk_group_params::id);
}

int read_esata_auto_backup(const char *file, esata_auto_backup_params *record) {
  return kxdb_read_record(file, kEsataBackup, 0, record, &esata_auto_backup_params::id);
}

int write_esata_auto_backup(const char *file, const esata_auto_backup_params *record) {
  if (record->id != 0) return -1;
  return kxdb_put(file, kEsataBackup, 0, record, sizeof *record);
}
