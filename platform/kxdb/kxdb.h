// Settings database: SQLite files holding fixed-layout records and text
// parameters. Typed accessors (read_user, write_motion, ...) are one-line
// wrappers over the generic core below, declared per domain in kxdb_*.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

constexpr const char *KXDB_FILE = "/mnt/nand/app/kxdb.db";
constexpr const char *ANPR_DB_FILE = "/mnt/nand/app/anpr.db";
constexpr const char *OEM_DB_FILE = "/mnt/nand2/oem.db";

// Reads the record stored under (kind, idx). 0 when found (the stored bytes
// replace the record's, a shorter stored record only its first bytes), 1 when
// never written (record untouched), -1 on a database error (untouched).
int kxdb_get(const char *file, const char *kind, int idx, void *record, size_t size);

// Stores the record under (kind, idx), one transaction. 0 or -1.
int kxdb_put(const char *file, const char *kind, int idx, const void *record, size_t size);

// Deletes (kind, idx). 0 or -1.
int kxdb_del(const char *file, const char *kind, int idx);

// Every record of a kind in key order, at most `capacity`, into `records`
// (an array of `size`-byte records); `indexes` (optional) receives the keys.
int kxdb_get_all(const char *file, const char *kind, void *records, size_t size,
                 int capacity, int *count, int *indexes = nullptr);

// Writes `record` to every key whose bit is set in `mask`, each copy with its
// int32 key field (at `key_offset`) set to the key, in one transaction.
int kxdb_copy(const char *file, const char *kind, const void *record, size_t size,
              size_t key_offset, uint64_t mask);

// Writes `count` records under the int32 key at `key_offset` of each, in one
// transaction.
int kxdb_put_many(const char *file, const char *kind, const void *records, size_t size,
                  int count, size_t key_offset);

// Runs `body` inside one immediate transaction of `file`, so that what it
// reads and writes with kxdb_get, kxdb_get_all and kxdb_put is one step that
// no other process interleaves with (pick a free key, then write it). 0 when
// `body` returned true and the commit succeeded; else -1 and nothing is kept.
int kxdb_transaction(const char *file, const std::function<bool()> &body);

// Text parameters. kxdb_param_get: 0 found, 1 missing, -1 error.
int kxdb_param_get(const char *file, const char *key, std::string *value);
int kxdb_param_set(const char *file, const char *key, const char *value);

// Closes every open database (tests start each case from fresh files).
void kxdb_close_all();

// A typed record read that yields the factory default (zeroed, key set by
// the caller beforehand) for a key never written. 0 or -1.
inline int kxdb_read_or_default(const char *file, const char *kind, int idx, void *record,
                                size_t size) {
  return kxdb_get(file, kind, idx, record, size) < 0 ? -1 : 0;
}
