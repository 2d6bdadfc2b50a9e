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

int read_privacy_mask(const char *file, privacy_mask_params *record, int channel) {
  if (channel < 0 || channel >= PRIVACY_MASK_CHANNELS) return -1;
  return kxdb_read_record(file, PRIVACY_MASK_TABLE, channel, record, &privacy_mask_params::id);
}

int write_privacy_mask(const char *file, const privacy_mask_params *record) {
  if (record->id < 0 || record->id >= PRIVACY_MASK_CHANNELS) return -1;
  return kxdb_write_record(file, PRIVACY_MASK_TABLE, record, &privacy_mask_params::id);
}
