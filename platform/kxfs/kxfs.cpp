#include "kxfs.h"

#include <cstring>

int kxfs_log_pack_detail(log_info *entry, int detail_kind, const void *data, int data_length) {
  if (!entry || data_length < 0 || (data_length && !data)) return -1;
  int32_t length = data_length < LOG_DETAIL_DATA_MAX ? data_length : LOG_DETAIL_DATA_MAX;
  int32_t kind = detail_kind;
  memset(entry->detail, 0, sizeof entry->detail);
  memcpy(entry->detail, &kind, sizeof kind);
  memcpy(entry->detail + 4, &length, sizeof length);
  if (length) memcpy(entry->detail + LOG_DETAIL_HEAD, data, (size_t)length);
  entry->detail_size = LOG_DETAIL_HEAD + length;
  return 0;
}
