#include "kxdb_general.h"

#include "kxdb.h"

namespace {

constexpr int kOnlyRecord = 0;  // none of these records has a key field

template <class Record>
int read_single(const char *file, const char *kind, Record *out) {
  return kxdb_read_record<Record>(file, kind, kOnlyRecord, out, nullptr);
}

template <class Record>
int write_single(const char *file, const char *kind, const Record *record) {
  return kxdb_put(file, kind, kOnlyRecord, record, sizeof *record);
}

}  // namespace

int read_display(const char *file, display_params *r) { return read_single(file, "display", r); }
int write_display(const char *file, const display_params *r) {
  return write_single(file, "display", r);
}

int read_disk_maintain_info(const char *file, disk_maintain_params *r) {
  return read_single(file, "disk_maintain", r);
}
int write_disk_maintain_info(const char *file, const disk_maintain_params *r) {
  return write_single(file, "disk_maintain", r);
}

int read_upnp(const char *file, upnp_params *r) { return read_single(file, "upnp", r); }
int write_upnp(const char *file, const upnp_params *r) { return write_single(file, "upnp", r); }

int read_autoreboot_conf(const char *file, autoreboot_params *r) {
  return read_single(file, "autoreboot", r);
}
int write_autoreboot_conf(const char *file, const autoreboot_params *r) {
  return write_single(file, "autoreboot", r);
}
