// Helpers the storage handlers and decoders share: request reading, the
// exchange with the daemon, short replies and the operation-log entries.
#pragma once

#include <cstddef>
#include <string>

#include "kxdb_storage.h"
#include "storage.h"
#include "storage_records.h"

// Module-private: kept in a namespace of their own so that the generic
// names do not meet other modules' helpers in the one program.
namespace storage {

// URL-decoded text into a fixed field: bounded by the field whatever the
// length of the encoded text.
void decoded_text(json_object *value, char *field, size_t size);

// ---- Answers ----
// Text "OK" for result 0, "Error" otherwise; sets the flag.
void reply_ok_or_error(int result);
// {"key": value} as JSON; sets the flag.
void reply_json_int(const char *key, int value);

// ---- Operation log (main type 4) ----
constexpr int LOG_SUB_SET_DISK = 204;
constexpr int LOG_SUB_FORMAT = 207;
constexpr int LOG_SUB_NAS_ADD = 219;
constexpr int LOG_SUB_NAS_DELETE = 220;
constexpr int LOG_SUB_NAS_EDIT = 221;
constexpr int LOG_SUB_REMOVE_SPACE = 224;
constexpr int LOG_PARAM_NONE = 0;  // NAS entries name no parameter type
constexpr int LOG_PARAM_DISK = 900;
constexpr int LOG_PARAM_DISK_INFO = 919;

// Sends one entry for `port`, with a detail block when `detail` is given.
void send_storage_log(int sub_type, int param_type, int port, int detail_kind = 0,
                      const void *detail = nullptr, int detail_length = 0);
// Detail of a NAS entry: kind text, and the entry's address and directory.
nas_log_detail nas_detail(const char *kind, const disk_params &disk);

}  // namespace storage
