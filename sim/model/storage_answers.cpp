// Storage requests: a recorder with two local disks (ports 1 and 2), one
// RAID array (id 10, members 3 and 4), the NAS shares the program told it
// about, quotas, the recycle mode and S.M.A.R.T. Like the recorder's daemon
// it reads the shares' definitions from the settings database when told of
// them, drops a deleted share's stored entry, and keeps group channel sets.
#include <cstring>
#include <map>

#include "kxdb.h"
#include "kxdb_storage.h"
#include "model.h"
#include "storage/storage_records.h"

namespace {

constexpr uint64_t kGiB = 1ULL << 30;
constexpr int kStateNormal = 1;
constexpr int kLocalDiskType = 1;
constexpr int kRaidLevel = 1;

// Every disk the daemon reports, by port (RAID arrays by their id).
std::map<int, daemon_disk_info> &disks() {
  static std::map<int, daemon_disk_info> all;
  return all;
}
quota_info g_quota = {};
recycle_mode g_recycle = {1, 0};
format_info_record g_format = {};

daemon_disk_info local_disk(int port, const char *vendor, uint64_t total, uint64_t used) {
  daemon_disk_info d = {};
  d.port = port;
  snprintf(d.vendor, sizeof d.vendor, "%s", vendor);
  d.state = kStateNormal;
  d.usable = 1;
  d.total_size = total;
  d.used_size = used;
  d.free_size = total - used;
  d.hdd_type = kLocalDiskType;
  return d;
}

daemon_disk_info raid_array(int id, int level, const int32_t *members, int count) {
  daemon_disk_info d = local_disk(id, "RAID", 0, 0);
  d.hdd_type = DISK_TYPE_RAID;
  d.raid_level = level;
  d.raid_state = kStateNormal;
  d.raid_progress = 100;
  d.raid_sata_cnt = count < RAID_MEMBERS_MAX ? count : RAID_MEMBERS_MAX;
  for (int i = 0; i < d.raid_sata_cnt; i++) {
    d.raid_sata_port[i] = members[i];
    d.total_size += 1000 * kGiB;
  }
  d.free_size = d.total_size;
  return d;
}

void seed_disks() {
  disks()[1] = local_disk(1, "WDC WD20PURZ", 2000 * kGiB, 350 * kGiB);
  disks()[2] = local_disk(2, "ST1000VX005", 1000 * kGiB, 20 * kGiB);
  const int32_t members[] = {3, 4};
  disks()[10] = raid_array(10, kRaidLevel, members, 2);
}

static_assert(sizeof(daemon_disk_info::vendor) == sizeof(disk_params::vendor));
static_assert(sizeof(daemon_disk_info::address) == sizeof(disk_params::address));
static_assert(sizeof(daemon_disk_info::directory) == sizeof(disk_params::directory));
static_assert(sizeof(daemon_disk_info::user_name) == sizeof(disk_params::userName));
static_assert(sizeof(daemon_disk_info::password) == sizeof(disk_params::password));

// A share as the daemon sees it once mounted: the stored definition.
void mount_share(int port) {
  disk_params stored = {};
  if (read_disk(KXDB_FILE, &stored, port) != 0 || stored.enable != 1) return;
  daemon_disk_info d = local_disk(port, "", 500 * kGiB, 120 * kGiB);
  d.hdd_type = stored.hddType;
  memcpy(d.vendor, stored.vendor, sizeof d.vendor);
  d.group = stored.group;
  d.property = stored.property;
  memcpy(d.address, stored.address, sizeof d.address);
  memcpy(d.directory, stored.directory, sizeof d.directory);
  memcpy(d.user_name, stored.userName, sizeof d.user_name);
  memcpy(d.password, stored.password, sizeof d.password);
  disks()[port] = d;
}

void drop_share(int port) {
  disks().erase(port);
  disk_params empty = {};
  empty.port = port;
  empty.property = 1;
  write_disk(KXDB_FILE, &empty);
}

std::vector<SimFrame> answer(const Bytes &payload) {
  return {SimFrame{0, payload, 0}};
}
std::vector<SimFrame> result(int32_t value) {
  return answer(bytes_of_int(value));
}

// 3507 and 3508 carry a count and up to 33 ports.
template <class Action>
void each_port(const Bytes &payload, Action action) {
  auto list = record_from<nas_port_list>(payload);
  int count = list.count < 0 ? 0 : list.count > NAS_LIST_MAX ? NAS_LIST_MAX : list.count;
  for (int i = 0; i < count; i++) {
    if (list.port[i] >= 1 && list.port[i] <= STORAGE_PORT_MAX) action(list.port[i]);
  }
}

std::vector<SimFrame> disk_list() {
  Bytes out;
  for (auto &[port, d] : disks()) {
    Bytes b = bytes_of(d);
    out.insert(out.end(), b.begin(), b.end());
  }
  return answer(out);
}

std::vector<SimFrame> format(const SimRequest &r) {
  int port = record_from<int32_t>(r.payload);
  auto it = disks().find(port);
  if (it == disks().end()) return result(-1);
  it->second.used_size = 0;
  it->second.free_size = it->second.total_size;
  g_format = {0, 100, (uint8_t)port, {0, 0}, it->second.hdd_type};
  return result(0);
}

std::vector<SimFrame> create_raid(const SimRequest &r) {
  auto request = record_from<raid_request>(r.payload);
  if (disks().count(request.id)) return result(-1);  // the id is in use
  disks()[request.id] = raid_array(request.id, request.level, request.sata_port, request.sata_cnt);
  return result(0);
}

std::vector<SimFrame> remove_raid(const SimRequest &r) {
  int id = record_from<raid_request>(r.payload).id;
  auto it = disks().find(id);
  if (it == disks().end() || it->second.hdd_type != DISK_TYPE_RAID) return result(-1);
  disks().erase(it);
  return result(0);
}

// 3496: the local disk of the port is taken out of service and no longer listed.
std::vector<SimFrame> remove_local_space(const SimRequest &r) {
  int port = record_from<int32_t>(r.payload);
  auto it = disks().find(port);
  if (it == disks().end() || it->second.hdd_type != kLocalDiskType) return result(-1);
  disks().erase(it);
  return result(0);
}

std::vector<SimFrame> set_disk_info(const SimRequest &r) {
  auto request = record_from<disk_info_request>(r.payload);
  auto it = disks().find(request.port);
  if (it != disks().end()) {
    it->second.property = request.property;
    it->second.group = request.group;
  }
  return {};
}

// The daemon keeps the groups' channel sets in the settings database.
std::vector<SimFrame> set_group(const SimRequest &r) {
  auto group = record_from<disk_group_params>(r.payload);
  write_group(KXDB_FILE, &group);
  return {};
}

std::vector<SimFrame> smart(const SimRequest &r) {
  int port = record_from<int32_t>(r.payload);
  smart_attr_record record = {};
  snprintf(record.text, sizeof record.text, "%s", disks().count(port) ? "PASSED" : "UNKNOWN");
  return answer(bytes_of(record));
}

std::vector<SimFrame> search_nas(const SimRequest &) {
  const char *paths[] = {"/export/recordings", "/export/backup"};
  Bytes out = bytes_of_int(2);
  for (const char *p : paths) {
    Bytes path(NAS_PATH_SIZE, 0);
    memcpy(path.data(), p, strlen(p));
    out.insert(out.end(), path.begin(), path.end());
  }
  return answer(out);
}

// Quotas are kept as set; the used values are a tenth of each quota.
std::vector<SimFrame> set_quota(const SimRequest &r) {
  g_quota = record_from<quota_info>(r.payload);
  if (g_quota.count < 0 || g_quota.count > QUOTA_ENTRIES) return result(-1);
  for (auto &e : g_quota.entries) {
    e.video_used = e.video_quota / 10;
    e.picture_used = e.picture_quota / 10;
  }
  return result(0);
}

std::vector<SimFrame> export_disks() {
  Bytes out;
  for (auto &[port, d] : disks()) {
    export_disk_record record = {};
    record.port = (uint8_t)port;
    record.kind = d.hdd_type;
    Bytes b = bytes_of(record);
    out.insert(out.end(), b.begin(), b.end());
  }
  return answer(out);
}

std::vector<SimFrame> backup_status() {
  esata_backup_status status = {};
  snprintf(status.last_time, sizeof status.last_time, "never");
  return answer(bytes_of(status));
}

void register_storage_answers(SimServer &server, CoreModel &) {
  seed_disks();
  server.on(3433, [](const SimRequest &) { return disk_list(); });
  server.on(3434, format);
  server.on(3540, [](const SimRequest &) { return answer(bytes_of(g_format)); });
  server.on(3435, set_disk_info);
  server.on(3420, create_raid);
  server.on(3421, remove_raid);
  server.on(3496, remove_local_space);
  server.on(3403, smart);
  server.on(3440, search_nas);
  server.on(3507, [](const SimRequest &r) {
    each_port(r.payload, mount_share);
    return result(0);
  });
  server.on(3439, [](const SimRequest &r) {
    mount_share(record_from<int32_t>(r.payload));
    return result(0);
  });
  server.on(3508, [](const SimRequest &r) {
    each_port(r.payload, drop_share);
    return result(0);
  });
  server.on(3436, set_group);
  server.on(3529, [](const SimRequest &) { return answer(bytes_of(g_quota)); });
  server.on(3530, set_quota);
  server.on(3431, [](const SimRequest &) { return answer(bytes_of(g_recycle)); });
  server.on(3475, [](const SimRequest &r) {
    g_recycle = record_from<recycle_mode>(r.payload);
    return result(0);
  });
  server.on(3457, [](const SimRequest &) { return export_disks(); });
  server.on(1317, [](const SimRequest &) { return backup_status(); });
}

}  // namespace

CORESIM_ANSWERS(register_storage_answers)
