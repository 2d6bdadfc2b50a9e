// Settings records of the storage module: disks and network-storage
// entries, disk groups, and the eSATA automatic backup plan.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Disks and network-storage entries, keyed by port ----
// Local disks, eSATA and NAS entries share one numbering: 1 to 36. Port 0 is
// a valid key too (the disk settings page may address it), but the lists
// only carry ports 1 to 36.
constexpr int DISK_PORT_MIN = 0;
constexpr int DISK_PORT_MAX = 36;
constexpr int DISK_RECORDS = 36;  // what read_disks returns: ports 1 to 36

constexpr int DISK_TYPE_NFS = 3;
constexpr int DISK_TYPE_RAID = 4;
constexpr int DISK_TYPE_SMB = 10;

struct disk_params {
  int32_t port;
  int32_t enable;       // 1 = entry in use
  char vendor[64];      // NAS: free text from the page
  char address[64];     // NAS server address
  char directory[128];  // NAS shared directory
  int32_t hddType;      // 3 NFS, 10 SMB/CIFS, other kinds for local disks
  int32_t group;        // disk group index, 0-based
  int32_t property;     // 0 or 1; 1 for every new NAS entry and for a reset disk
  int32_t reserved;
  char userName[33];  // NAS user name, stored URL-decoded
  char password[33];  // NAS password, stored URL-decoded
  char padding[2];
};
static_assert(sizeof(disk_params) == 348);
static_assert(offsetof(disk_params, port) == 0);
static_assert(offsetof(disk_params, enable) == 4);
static_assert(offsetof(disk_params, vendor) == 8);
static_assert(offsetof(disk_params, address) == 72);
static_assert(offsetof(disk_params, directory) == 136);
static_assert(offsetof(disk_params, hddType) == 264);
static_assert(offsetof(disk_params, group) == 268);
static_assert(offsetof(disk_params, property) == 272);
static_assert(offsetof(disk_params, reserved) == 276);
static_assert(offsetof(disk_params, userName) == 280);
static_assert(offsetof(disk_params, password) == 313);
static_assert(offsetof(disk_params, padding) == 346);

inline bool disk_port_valid(int port) {
  return port >= DISK_PORT_MIN && port <= DISK_PORT_MAX;
}

// One disk; a port outside 0..36 is refused (-1, record untouched).
int read_disk(const char *file, disk_params *record, int port);
int write_disk(const char *file, const disk_params *record);
// Ports 1 to 36 in order (DISK_RECORDS records); count receives 36.
int read_disks(const char *file, disk_params *records, int *count);
// Several disks in one transaction: all are written or none.
int write_disks(const char *file, const disk_params *records, int count);

// ---- Disk groups (16) ----
constexpr int DISK_GROUPS = 16;

struct disk_group_params {
  int32_t id;
  char channel[65];  // one '0'/'1' character per camera
  char text[65];     // passed on unchanged to the daemon
  char padding[2];
};
static_assert(sizeof(disk_group_params) == 136);
static_assert(offsetof(disk_group_params, id) == 0);
static_assert(offsetof(disk_group_params, channel) == 4);
static_assert(offsetof(disk_group_params, text) == 69);
static_assert(offsetof(disk_group_params, padding) == 134);

// Groups 0 to 15 in order (DISK_GROUPS records); count receives 16.
int read_groups(const char *file, disk_group_params *records, int *count);
int write_group(const char *file, const disk_group_params *record);

// ---- eSATA automatic backup: one plan ----
struct esata_auto_backup_params {
  int32_t enable;
  int32_t id;  // the one plan: always 0
  char backupTime[32];
  int32_t streamType;
  int32_t fileType;
  int32_t recycle;
  char channel[65];  // channel selection string
  char padding[3];
  int32_t device;
  int32_t port;
};
static_assert(sizeof(esata_auto_backup_params) == 128);
static_assert(offsetof(esata_auto_backup_params, enable) == 0);
static_assert(offsetof(esata_auto_backup_params, id) == 4);
static_assert(offsetof(esata_auto_backup_params, backupTime) == 8);
static_assert(offsetof(esata_auto_backup_params, streamType) == 40);
static_assert(offsetof(esata_auto_backup_params, fileType) == 44);
static_assert(offsetof(esata_auto_backup_params, recycle) == 48);
static_assert(offsetof(esata_auto_backup_params, channel) == 52);
static_assert(offsetof(esata_auto_backup_params, padding) == 117);
static_assert(offsetof(esata_auto_backup_params, device) == 120);
static_assert(offsetof(esata_auto_backup_params, port) == 124);

int read_esata_auto_backup(const char *file, esata_auto_backup_params *record);
// The plan's id must be 0.
int write_esata_auto_backup(const char *file, const esata_auto_backup_params *record);
