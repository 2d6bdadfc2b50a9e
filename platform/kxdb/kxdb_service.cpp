#include "kxdb_service.h"

#include <cstdio>

#include "kxdb.h"
#include "kxdb_camera.h"

namespace {

constexpr const char *kAccessFilter = "access_filter";

// The list is kept as one record, so a reader never sees half a new list.
struct access_filter_list {
  int32_t count;
  access_filter_entry entries[ACCESS_FILTER_ENTRIES];
};
static_assert(sizeof(access_filter_list) == 4 + 36 * ACCESS_FILTER_ENTRIES);

}  // namespace

int read_access_filter(const char *file, access_filter_entry *entries, int *count) {
  *count = 0;
  access_filter_list list = {};
  if (kxdb_get(file, kAccessFilter, 0, &list, sizeof list) < 0) return -1;
  int n = list.count < 0 ? 0 : list.count > ACCESS_FILTER_ENTRIES ? ACCESS_FILTER_ENTRIES
                                                                  : list.count;
  for (int i = 0; i < n; i++) {
    entries[i] = list.entries[i];
    entries[i].address[sizeof entries[i].address - 1] = '\0';
  }
  *count = n;
  return 0;
}

int write_access_filter(const char *file, const access_filter_entry *entries, int count) {
  if (count < 0 || count > ACCESS_FILTER_ENTRIES) return -1;
  access_filter_list list = {};
  list.count = count;
  for (int i = 0; i < count; i++) list.entries[i] = entries[i];
  return kxdb_put(file, kAccessFilter, 0, &list, sizeof list);
}

int write_camera_ip(const char *file, int channel, const char *address) {
  if (channel < 0 || channel >= CAMERA_CHANNELS) return -1;
  // One step: another request's change of the same record is not lost.
  return kxdb_transaction(file, [&] {
    camera_params camera = {};
    if (read_camera(file, &camera, channel) != 0) return false;
    snprintf(camera.ipAddr, sizeof camera.ipAddr, "%s", address);
    return write_camera(file, &camera) == 0;
  });
}
