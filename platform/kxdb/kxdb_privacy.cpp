#include "kxdb_privacy.h"

#include "kxdb.h"

int read_privacy_masks(const char *file, privacy_mask_params *records, int *count, int all) {
  if (all) {
    return kxdb_read_records(file, PRIVACY_MASK_TABLE, records, 0, PRIVACY_MASK_CHANNELS,
                             &privacy_mask_params::id, count);
  }
  int rc = kxdb_get_range(file, PRIVACY_MASK_TABLE, 0, PRIVACY_MASK_CHANNELS - 1, records,
                          sizeof *records, PRIVACY_MASK_CHANNELS, count, nullptr);
  if (rc != 0) *count = 0;
  return rc;
}
