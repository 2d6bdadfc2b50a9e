#include "kxdb_exposure.h"

#include <cstring>

#include "kxdb.h"

namespace {
constexpr const char *kKind = "exposure_list";

bool channel_ok(int channel) { return channel >= 0 && channel < EXPOSURE_CHANNELS; }
}  // namespace

int read_exposure(const char *file, exposure_pair *list, int channel) {
  if (!channel_ok(channel) || !list) return -1;
  exposure_list stored = {};
  if (kxdb_get(file, kKind, channel, &stored, sizeof stored) < 0) return -1;
  // A stored count is trusted no further than the room it has.
  int count = stored.count < 0 ? 0 : stored.count > EXPOSURE_PAIRS ? EXPOSURE_PAIRS : stored.count;
  memcpy(list, stored.pairs, sizeof(exposure_pair) * count);
  return count;
}

int write_exposure(const char *file, const exposure_pair *list, int channel, int count) {
  if (!channel_ok(channel) || count < 0 || (count > 0 && !list)) return -1;
  exposure_list stored = {};
  stored.channel = channel;
  stored.count = count > EXPOSURE_PAIRS ? EXPOSURE_PAIRS : count;
  if (stored.count) memcpy(stored.pairs, list, sizeof(exposure_pair) * stored.count);
  return kxdb_put(file, kKind, channel, &stored, sizeof stored);
}
