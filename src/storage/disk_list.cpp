// The disk list of the storage page ("/6100"): what the daemon reports,
// merged with the network-storage entries kept in the settings database.
#include <array>
#include <cstdio>
#include <cstring>

#include "storage_util.h"

using namespace storage;

namespace {

// One slot per port; slot 0 stays empty. A slot is filled when its port is set.
using DiskSlots = std::array<daemon_disk_info, STORAGE_PORT_MAX + 1>;

constexpr int kStateStoredOnly = 2;  // a stored NAS entry the daemon did not report
constexpr int kCodedTextSize = 128;  // URL-encoded user name and password
constexpr int kMaskBits = 32;        // raid_sata_port is a 32-bit mask

bool port_listed(int port) {
  return port >= 1 && port <= STORAGE_PORT_MAX;
}

bool is_nas_type(int type) {
  return type == DISK_TYPE_NFS || type == DISK_TYPE_SMB;
}

// Copies a stored text into a daemon-record field, each read within its width.
template <size_t D, size_t S>
void copy_field(char (&to)[D], const char (&from)[S]) {
  snprintf(to, D, "%s", field_text(from).c_str());
}

void place_daemon_records(DiskSlots &slots, int count, const void *payload) {
  const auto *bytes = static_cast<const unsigned char *>(payload);
  for (int i = 0; i < count; i++) {
    daemon_disk_info record;
    memcpy(&record, bytes + (size_t)i * sizeof record, sizeof record);
    if (port_listed(record.port)) slots[record.port] = record;
  }
}

// The stored texts of a NAS entry; the directory keeps its full width.
void copy_nas_texts(daemon_disk_info &slot, const disk_params &disk) {
  copy_field(slot.vendor, disk.vendor);
  copy_field(slot.address, disk.address);
  copy_field(slot.directory, disk.directory);
  copy_field(slot.user_name, disk.userName);
  copy_field(slot.password, disk.password);
}

void fill_from_settings(daemon_disk_info &slot, const disk_params &disk) {
  slot = {};
  slot.port = disk.port;
  slot.hdd_type = disk.hddType;
  slot.group = disk.group;
  slot.property = disk.property;
  slot.state = kStateStoredOnly;
  copy_nas_texts(slot, disk);
}

void merge_stored_entries(DiskSlots &slots) {
  disk_params disks[DISK_RECORDS];
  int count = 0;
  if (read_disks(KXDB_FILE, disks, &count) != 0) return;  // nothing stored can be added
  for (int i = 0; i < count && i < DISK_RECORDS; i++) {
    const disk_params &disk = disks[i];
    if (disk.enable != 1 || !port_listed(disk.port)) continue;
    daemon_disk_info &slot = slots[disk.port];
    if (slot.port == 0) fill_from_settings(slot, disk);
    else if (is_nas_type(slot.hdd_type)) copy_nas_texts(slot, disk);
  }
}

// Bytes to MiB, as the page's 32-bit field.
int mib(uint64_t bytes) {
  return (int32_t)(uint32_t)(bytes >> 20);
}

// Bit (port) for each listed member port; ports of 32 and above set nothing.
int member_mask(const daemon_disk_info &disk) {
  int members = disk.raid_sata_cnt < RAID_MEMBERS_MAX ? disk.raid_sata_cnt : RAID_MEMBERS_MAX;
  uint32_t mask = 0;
  for (int i = 0; i < members; i++) {
    int port = disk.raid_sata_port[i];
    if (port > 0 && port < kMaskBits) mask |= 1u << port;
  }
  return (int32_t)mask;
}

template <size_t N>
std::string url_encoded(const char (&field)[N]) {
  char coded[kCodedTextSize];
  get_url_encode(field_text(field).c_str(), coded, sizeof coded);
  return coded;
}

json_object *disk_object(const daemon_disk_info &d) {
  json_object *o = json_object_new_object();
  json_add_int(o, "portId", d.port);
  json_add_text(o, "vendorName", field_text(d.vendor));
  json_add_text(o, "address", field_text(d.address));
  json_add_text(o, "directory", field_text(d.directory));
  json_add_int(o, "totalSize", mib(d.total_size));
  json_add_int(o, "usedSize", mib(d.used_size));
  json_add_int(o, "freeSize", mib(d.free_size));
  json_add_int(o, "hddType", d.hdd_type);
  json_add_int(o, "state", d.state);
  json_add_int(o, "group", d.group);
  json_add_int(o, "property", d.property);
  json_add_int(o, "bUsable", d.usable);
  json_add_int(o, "raid_id", d.port);
  json_add_int(o, "raid_level", d.raid_level);
  json_add_int(o, "raid_state", d.raid_state);
  json_add_int(o, "raid_progress", d.raid_progress);
  json_add_int(o, "raid_sata_cnt", d.raid_sata_cnt);
  json_add_int(o, "raid_task", d.raid_progress);
  json_add_text(o, "userName", url_encoded(d.user_name));
  json_add_text(o, "password", url_encoded(d.password));
  json_add_int(o, "raid_sata_port", member_mask(d));
  return o;
}

}  // namespace

int on_get_disk_info(char *) {
  cgi_exchange(on_storage_ipc_callback, 3433, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

void on_get_storage_info_cb(int count, const void *payload) {
  DiskSlots slots = {};
  place_daemon_records(slots, count, payload);
  merge_stored_entries(slots);
  json_object *list = json_object_new_array();
  int listed = 0;
  for (int port = 1; port <= STORAGE_PORT_MAX; port++) {
    if (slots[port].port == 0) continue;
    json_object_array_add(list, disk_object(slots[port]));
    listed++;
  }
  JsonPtr reply(json_object_new_object());
  json_add_text(reply.get(), "resultString", listed > 0 || count > 0 ? "OK" : "NO");
  json_add_int(reply.get(), "esataType", param_int(PARAM_ESATA_TYPE));
  json_object_object_add(reply.get(), "HDD", list);
  json_add_int(reply.get(), "maxDiskNum", STORAGE_PORT_MAX);
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}
