// Disk groups: which cameras record to which group of disks.
//
//   diskgroup ID CHANNELS                one '0'/'1' per camera, channel 0
//                                        first (at most 64)
#include <cstdio>

#include "kxdb.h"
#include "kxdb_storage.h"
#include "seed.h"

namespace {

bool seed_disk_group(std::istringstream &in) {
  int id = -1;
  std::string channels;
  if (!(in >> id >> channels) || id < 0 || id >= DISK_GROUPS) return false;
  if (channels.size() > 64 || channels.find_first_not_of("01") != std::string::npos) return false;
  disk_group_params group = {};
  group.id = id;
  snprintf(group.channel, sizeof group.channel, "%s", channels.c_str());
  return write_group(KXDB_FILE, &group) == 0;
}

}  // namespace

SEED_KIND("diskgroup", seed_disk_group)
