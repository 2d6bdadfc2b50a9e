// Settings database: SQLite files holding fixed-layout records and text
// parameters. Typed accessors (read_user, write_motion, ...) are one-line
// wrappers over the generic core below, declared per domain in kxdb_*.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
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

// As kxdb_get_all, for the keys from `low` to `high` only.
int kxdb_get_range(const char *file, const char *kind, int low, int high, void *records,
                   size_t size, int capacity, int *count, int *indexes);

// Writes `record` to every key whose bit is set in `mask`, each copy with its
// int32 key field (at `key_offset`) set to the key, in one transaction.
int kxdb_copy(const char *file, const char *kind, const void *record, size_t size,
              size_t key_offset, uint64_t mask);

// Writes `count` records under the int32 key at `key_offset` of each, in one
// transaction.
int kxdb_put_many(const char *file, const char *kind, const void *records, size_t size,
                  int count, size_t key_offset);

// Sets the int32 at `field_offset` of the `size`-byte record of every key
// whose bit is set in `mask` (keys 0 to 63), in one transaction. A key never
// written is first stored as its factory default (zeroed, int32 key at
// `key_offset` set) and then gets the value; the other bytes of a stored
// record are kept. 0, or -1 (nothing kept).
int kxdb_set_int_field(const char *file, const char *kind, size_t size, size_t key_offset,
                       size_t field_offset, int32_t value, uint64_t mask);

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

// Between requests of a persistent process: rolls back a transaction left
// open, and closes the connection of a file that was removed or replaced
// since it was opened. Every read is a transaction of its own (no statement
// or value is kept across calls), so an open connection sees what another
// process committed before the read began.
void kxdb_refresh();

// A typed record read that yields the factory default (zeroed, key set by
// the caller beforehand) for a key never written. 0 or -1.
inline int kxdb_read_or_default(const char *file, const char *kind, int idx, void *record,
                                size_t size) {
  return kxdb_get(file, kind, idx, record, size) < 0 ? -1 : 0;
}

// The shape of every typed reader: a zeroed record with its key field set
// (the factory default of a key never written), the stored bytes over it,
// copied out only on success (a failed read leaves the caller's record as
// it was). `key` may be null for records without a key field. 0 or -1.
template <class Record>
int kxdb_read_record(const char *file, const char *kind, int idx, Record *out,
                     int32_t Record::*key) {
  Record r{};
  if (key) r.*key = idx;
  if (kxdb_read_or_default(file, kind, idx, &r, sizeof r) != 0) return -1;
  *out = r;
  return 0;
}

// The matching writer: stores the record under its own key field.
template <class Record>
int kxdb_write_record(const char *file, const char *kind, const Record *record,
                      int32_t Record::*key) {
  return kxdb_put(file, kind, record->*key, record, sizeof *record);
}

// Every record of keys first .. first + n - 1 in key order into `out` (n
// records), never-written ones as factory defaults. One scan of the table.
// `count` receives n. 0, or -1 (out untouched) on a database error.
template <class Record>
int kxdb_read_records(const char *file, const char *kind, Record *out, int first, int n,
                      int32_t Record::*key, int *count = nullptr) {
  if (count) *count = 0;
  if (n <= 0) return 0;
  std::unique_ptr<Record[]> all(new Record[n]());
  for (int i = 0; i < n; i++) all[i].*key = first + i;
  std::unique_ptr<Record[]> stored(new Record[n]());
  std::unique_ptr<int[]> keys(new int[n]());
  int found = 0;
  if (kxdb_get_range(file, kind, first, first + n - 1, stored.get(), sizeof(Record), n, &found,
                     keys.get()) != 0) {
    return -1;
  }
  for (int i = 0; i < found; i++) all[keys[i] - first] = stored[i];
  for (int i = 0; i < n; i++) out[i] = all[i];
  if (count) *count = n;
  return 0;
}
