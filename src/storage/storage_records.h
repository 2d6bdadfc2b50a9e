// Records the storage module exchanges with the core daemon: request
// payloads, answers, and the detail blocks of its operation-log entries.
// All little-endian; sizes and offsets are the daemon's.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int STORAGE_PORT_MAX = 36;  // disk list slots 1 to 36
constexpr int RAID_MEMBERS_MAX = 16;

// ---- Answer to 3433: one record per disk ----
struct daemon_disk_info {
  int32_t port;  // 1 to 36; an array's port is its RAID identifier
  char vendor[64];
  char address[64];
  char directory[128];
  int32_t state;
  int32_t usable;
  int32_t reserved0;
  uint64_t total_size;  // bytes
  uint64_t used_size;   // bytes
  uint64_t free_size;   // bytes
  int32_t hdd_type;
  int32_t group;
  int32_t property;
  int32_t reserved1;  // not read by this module
  int32_t raid_level;
  int32_t raid_state;
  int32_t raid_progress;
  int32_t raid_sata_cnt;
  int32_t raid_sata_port[RAID_MEMBERS_MAX];  // member disk ports
  char user_name[33];
  char password[33];
  char padding[6];
};
static_assert(sizeof(daemon_disk_info) == 464);
static_assert(offsetof(daemon_disk_info, port) == 0);
static_assert(offsetof(daemon_disk_info, vendor) == 4);
static_assert(offsetof(daemon_disk_info, address) == 68);
static_assert(offsetof(daemon_disk_info, directory) == 132);
static_assert(offsetof(daemon_disk_info, state) == 260);
static_assert(offsetof(daemon_disk_info, usable) == 264);
static_assert(offsetof(daemon_disk_info, reserved0) == 268);
static_assert(offsetof(daemon_disk_info, total_size) == 272);
static_assert(offsetof(daemon_disk_info, used_size) == 280);
static_assert(offsetof(daemon_disk_info, free_size) == 288);
static_assert(offsetof(daemon_disk_info, hdd_type) == 296);
static_assert(offsetof(daemon_disk_info, group) == 300);
static_assert(offsetof(daemon_disk_info, property) == 304);
static_assert(offsetof(daemon_disk_info, reserved1) == 308);
static_assert(offsetof(daemon_disk_info, raid_level) == 312);
static_assert(offsetof(daemon_disk_info, raid_state) == 316);
static_assert(offsetof(daemon_disk_info, raid_progress) == 320);
static_assert(offsetof(daemon_disk_info, raid_sata_cnt) == 324);
static_assert(offsetof(daemon_disk_info, raid_sata_port) == 328);
static_assert(offsetof(daemon_disk_info, user_name) == 392);
static_assert(offsetof(daemon_disk_info, password) == 425);
static_assert(offsetof(daemon_disk_info, padding) == 458);

// ---- Quotas: 3530 payload and answer to 3529 ----
constexpr int QUOTA_ENTRIES = 16;

struct quota_entry {
  int32_t channel;
  int32_t video_quota;
  int32_t picture_quota;
  int32_t video_used;    // filled by the daemon
  int32_t picture_used;  // filled by the daemon
};
static_assert(sizeof(quota_entry) == 20);
static_assert(offsetof(quota_entry, channel) == 0);
static_assert(offsetof(quota_entry, video_quota) == 4);
static_assert(offsetof(quota_entry, picture_quota) == 8);
static_assert(offsetof(quota_entry, video_used) == 12);
static_assert(offsetof(quota_entry, picture_used) == 16);

struct quota_info {
  int32_t enable;
  int32_t count;  // entries in use, at most QUOTA_ENTRIES
  quota_entry entries[QUOTA_ENTRIES];
};
static_assert(sizeof(quota_info) == 328);
static_assert(offsetof(quota_info, enable) == 0);
static_assert(offsetof(quota_info, count) == 4);
static_assert(offsetof(quota_info, entries) == 8);

// ---- 3420 create RAID, 3421 remove RAID (only the id set) ----
struct raid_request {
  int32_t id;
  int32_t enable;
  int32_t level;
  int32_t reserved0[2];
  int32_t sata_cnt;
  int32_t sata_port[RAID_MEMBERS_MAX];  // member ports, ascending
  int32_t reserved1[4];
};
static_assert(sizeof(raid_request) == 104);
static_assert(offsetof(raid_request, id) == 0);
static_assert(offsetof(raid_request, enable) == 4);
static_assert(offsetof(raid_request, level) == 8);
static_assert(offsetof(raid_request, reserved0) == 12);
static_assert(offsetof(raid_request, sata_cnt) == 20);
static_assert(offsetof(raid_request, sata_port) == 24);
static_assert(offsetof(raid_request, reserved1) == 88);

// ---- 3425 rebuild RAID ----
struct raid_rebuild_request {
  int32_t diskport;
  int32_t raidport;
};
static_assert(sizeof(raid_rebuild_request) == 8);
static_assert(offsetof(raid_rebuild_request, diskport) == 0);
static_assert(offsetof(raid_rebuild_request, raidport) == 4);

// ---- 3435 set disk info ----
struct disk_info_request {
  int32_t port;
  int32_t property;
  int32_t group;
  int32_t is_private;
};
static_assert(sizeof(disk_info_request) == 16);
static_assert(offsetof(disk_info_request, port) == 0);
static_assert(offsetof(disk_info_request, property) == 4);
static_assert(offsetof(disk_info_request, group) == 8);
static_assert(offsetof(disk_info_request, is_private) == 12);

// ---- 3436 set group: the settings layout of a disk group (disk_group_params) ----

// ---- 3440 search NAS ----
struct nas_search_request {
  int32_t port;
  char server_addr[64];
};
static_assert(sizeof(nas_search_request) == 68);
static_assert(offsetof(nas_search_request, port) == 0);
static_assert(offsetof(nas_search_request, server_addr) == 4);

// ---- Answer to 3440: int count, then count paths ----
constexpr int NAS_PATH_SIZE = 256;
constexpr int NAS_PATHS_OFFSET = 4;

// ---- 3475 set recycle, and the answer to 3431 ----
struct recycle_mode {
  int32_t mode;
  int32_t esata;
};
static_assert(sizeof(recycle_mode) == 8);
static_assert(offsetof(recycle_mode, mode) == 0);
static_assert(offsetof(recycle_mode, esata) == 4);

// ---- 3507 NAS added, 3508 NAS deleted ----
constexpr int NAS_LIST_MAX = 33;

struct nas_port_list {
  int32_t count;
  int32_t port[NAS_LIST_MAX];
};
static_assert(sizeof(nas_port_list) == 136);
static_assert(offsetof(nas_port_list, count) == 0);
static_assert(offsetof(nas_port_list, port) == 4);

// ---- Answer to 3403: S.M.A.R.T. records ----
struct smart_attr_record {
  int32_t head[3];
  char text[28];  // self-evaluation text, e.g. "PASSED"
};
static_assert(sizeof(smart_attr_record) == 40);
static_assert(offsetof(smart_attr_record, head) == 0);
static_assert(offsetof(smart_attr_record, text) == 12);

// ---- Answer to 3457: export-disk records ----
constexpr int EXPORT_DISK_KIND_ESATA = 5;  // the kind the eSATA backup page looks for

struct export_disk_record {
  uint8_t port;
  uint8_t reserved0[151];
  int32_t kind;
  uint8_t reserved1[28];
};
static_assert(sizeof(export_disk_record) == 184);
static_assert(offsetof(export_disk_record, port) == 0);
static_assert(offsetof(export_disk_record, reserved0) == 1);
static_assert(offsetof(export_disk_record, kind) == 152);
static_assert(offsetof(export_disk_record, reserved1) == 156);

// ---- Answer to 3540: format progress ----
struct format_info_record {
  int32_t status;
  uint8_t percent;
  uint8_t port;
  uint8_t padding[2];
  int32_t type;
};
static_assert(sizeof(format_info_record) == 12);
static_assert(offsetof(format_info_record, status) == 0);
static_assert(offsetof(format_info_record, percent) == 4);
static_assert(offsetof(format_info_record, port) == 5);
static_assert(offsetof(format_info_record, padding) == 6);
static_assert(offsetof(format_info_record, type) == 8);

// ---- Answer to 1317: eSATA automatic backup status ----
struct esata_backup_status {
  int32_t status;
  char last_time[32];
  float percent;
  int32_t capacity;
};
static_assert(sizeof(float) == 4);
static_assert(sizeof(esata_backup_status) == 44);
static_assert(offsetof(esata_backup_status, status) == 0);
static_assert(offsetof(esata_backup_status, last_time) == 4);
static_assert(offsetof(esata_backup_status, percent) == 36);
static_assert(offsetof(esata_backup_status, capacity) == 40);

// ---- Operation-log detail blocks ----
constexpr int LOG_DETAIL_FORMAT = 102;    // format result
constexpr int LOG_DETAIL_NAS = 101;       // NAS added or deleted
constexpr int LOG_DETAIL_NAS_EDIT = 110;  // NAS edited

struct format_log_detail {
  uint8_t reserved[64];
  int32_t port;
  int32_t result;  // 1 success, -1 failure
};
static_assert(sizeof(format_log_detail) == 72);
static_assert(offsetof(format_log_detail, reserved) == 0);
static_assert(offsetof(format_log_detail, port) == 64);
static_assert(offsetof(format_log_detail, result) == 68);

struct nas_log_detail {
  char kind[16];  // "NFS" or "SMB/CIFS"
  char address[64];
  char directory[128];
};
static_assert(sizeof(nas_log_detail) == 208);
static_assert(offsetof(nas_log_detail, kind) == 0);
static_assert(offsetof(nas_log_detail, address) == 16);
static_assert(offsetof(nas_log_detail, directory) == 80);
