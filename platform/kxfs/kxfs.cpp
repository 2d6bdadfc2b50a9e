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

int log_channo_is_disk(int main_type, int64_t sub_type) {
  constexpr int kOperation = 4;
  // Format (207), network storage added, removed, edited (219 to 221) and
  // the other disk operations (224).
  static const int64_t kDiskOperations[] = {207, 219, 220, 221, 224};
  if (main_type != kOperation) return 0;
  for (int64_t code : kDiskOperations) {
    if (code == sub_type) return 1;
  }
  return 0;
}
