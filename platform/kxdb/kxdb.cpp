#include "kxdb.h"

#include <cstring>
#include <map>
#include <memory>
#include <sqlite3.h>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int kBusyTimeoutMs = 10000;  // concurrent request processes wait, never fail

class Statement {
 public:
  Statement(sqlite3 *db, const char *sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement &) = delete;
  Statement &operator=(const Statement &) = delete;

  explicit operator bool() const { return stmt_ != nullptr; }
  Statement &text(int i, const char *v) {
    sqlite3_bind_text(stmt_, i, v, -1, SQLITE_TRANSIENT);
    return *this;
  }
  Statement &integer(int i, int64_t v) {
    sqlite3_bind_int64(stmt_, i, v);
    return *this;
  }
  Statement &blob(int i, const void *v, size_t n) {
    sqlite3_bind_blob(stmt_, i, v, (int)n, SQLITE_STATIC);
    return *this;
  }
  int step() { return sqlite3_step(stmt_); }
  bool run() { return step() == SQLITE_DONE; }
  void reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
  sqlite3_stmt *get() { return stmt_; }

 private:
  sqlite3_stmt *stmt_ = nullptr;
};

struct Database {
  sqlite3 *db = nullptr;
  dev_t dev = 0;  // the file the connection opened: a replaced file
  ino_t ino = 0;  // (configuration import) is opened anew
  ~Database() { sqlite3_close_v2(db); }
};

std::map<std::string, std::unique_ptr<Database>> &open_databases() {
  static std::map<std::string, std::unique_ptr<Database>> dbs;
  return dbs;
}

bool exec(sqlite3 *db, const char *sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool ensure_schema(sqlite3 *db) {
  if (Statement(db, "SELECT 1 FROM records, params LIMIT 0")) return true;
  return exec(db,
              "CREATE TABLE IF NOT EXISTS params(key TEXT PRIMARY KEY, value TEXT);"
              "CREATE TABLE IF NOT EXISTS records(kind TEXT, idx INTEGER, data BLOB,"
              " PRIMARY KEY(kind, idx));");
}

// The open database of `file`. A reader does not create a missing file: it
// gets null and reads factory defaults.
sqlite3 *database(const char *file, bool create) {
  auto &dbs = open_databases();
  auto it = dbs.find(file);
  if (it != dbs.end()) return it->second->db;
  struct stat st;
  if (!create && stat(file, &st) != 0) return nullptr;
  auto d = std::make_unique<Database>();
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(file, &d->db, flags, nullptr) != SQLITE_OK) return nullptr;
  sqlite3_busy_timeout(d->db, kBusyTimeoutMs);
  if (!ensure_schema(d->db) || stat(file, &st) != 0) return nullptr;
  d->dev = st.st_dev;
  d->ino = st.st_ino;
  sqlite3 *db = d->db;
  dbs.emplace(file, std::move(d));
  return db;
}

// Runs `body` inside one immediate transaction; commits when it succeeds.
// Inside a transaction already (kxdb_transaction around several writers),
// the body joins it and the outer one commits or rolls back.
template <class Body>
int in_transaction(sqlite3 *db, Body body) {
  if (db && !sqlite3_get_autocommit(db)) return body() ? 0 : -1;
  if (!db || !exec(db, "BEGIN IMMEDIATE")) return -1;
  if (!body()) {
    exec(db, "ROLLBACK");
    return -1;
  }
  if (exec(db, "COMMIT")) return 0;
  exec(db, "ROLLBACK");
  return -1;
}

constexpr const char *kPutSql = "INSERT OR REPLACE INTO records(kind, idx, data) VALUES(?, ?, ?)";

int32_t key_at(const void *record, size_t key_offset) {
  int32_t key;
  memcpy(&key, static_cast<const char *>(record) + key_offset, sizeof key);
  return key;
}

}  // namespace

int kxdb_get(const char *file, const char *kind, int idx, void *record, size_t size) {
  sqlite3 *db = database(file, false);
  if (!db) return 1;
  Statement q(db, "SELECT data FROM records WHERE kind = ? AND idx = ?");
  if (!q) return -1;
  int rc = q.text(1, kind).integer(2, idx).step();
  if (rc == SQLITE_DONE) return 1;
  if (rc != SQLITE_ROW) return -1;
  size_t n = (size_t)sqlite3_column_bytes(q.get(), 0);
  const void *data = sqlite3_column_blob(q.get(), 0);
  if (data) memcpy(record, data, n < size ? n : size);
  return 0;
}

int kxdb_put(const char *file, const char *kind, int idx, const void *record, size_t size) {
  sqlite3 *db = database(file, true);
  if (!db) return -1;
  Statement q(db, kPutSql);
  return q && q.text(1, kind).integer(2, idx).blob(3, record, size).run() ? 0 : -1;
}

int kxdb_del(const char *file, const char *kind, int idx) {
  sqlite3 *db = database(file, false);
  if (!db) return 0;
  Statement q(db, "DELETE FROM records WHERE kind = ? AND idx = ?");
  return q && q.text(1, kind).integer(2, idx).run() ? 0 : -1;
}

namespace {

// Reads the rows of a prepared (idx, data) query into the records. A scan
// that ends in anything but its last row (busy, I/O error) is a failure.
int scan_records(Statement &q, void *records, size_t size, int capacity, int *count,
                 int *indexes) {
  int n = 0, rc = SQLITE_DONE;
  while (n < capacity && (rc = q.step()) == SQLITE_ROW) {
    char *slot = static_cast<char *>(records) + (size_t)n * size;
    size_t got = (size_t)sqlite3_column_bytes(q.get(), 1);
    memset(slot, 0, size);
    if (const void *data = sqlite3_column_blob(q.get(), 1)) memcpy(slot, data, got < size ? got : size);
    if (indexes) indexes[n] = sqlite3_column_int(q.get(), 0);
    n++;
  }
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) return -1;
  if (count) *count = n;
  return 0;
}

}  // namespace

int kxdb_get_all(const char *file, const char *kind, void *records, size_t size, int capacity,
                 int *count, int *indexes) {
  if (count) *count = 0;
  sqlite3 *db = database(file, false);
  if (!db) return 0;
  Statement q(db, "SELECT idx, data FROM records WHERE kind = ? ORDER BY idx");
  if (!q) return -1;
  q.text(1, kind);
  return scan_records(q, records, size, capacity, count, indexes);
}

int kxdb_get_range(const char *file, const char *kind, int low, int high, void *records,
                   size_t size, int capacity, int *count, int *indexes) {
  if (count) *count = 0;
  sqlite3 *db = database(file, false);
  if (!db) return 0;
  Statement q(db,
              "SELECT idx, data FROM records WHERE kind = ? AND idx BETWEEN ? AND ? ORDER BY idx");
  if (!q) return -1;
  q.text(1, kind).integer(2, low).integer(3, high);
  return scan_records(q, records, size, capacity, count, indexes);
}

int kxdb_copy(const char *file, const char *kind, const void *record, size_t size,
              size_t key_offset, uint64_t mask) {
  if (key_offset + sizeof(int32_t) > size) return -1;
  sqlite3 *db = database(file, true);
  std::vector<char> copy(static_cast<const char *>(record), static_cast<const char *>(record) + size);
  return in_transaction(db, [&] {
    Statement q(db, kPutSql);
    for (int32_t ch = 0; q && ch < 64; ch++) {
      if (!(mask >> ch & 1)) continue;
      memcpy(copy.data() + key_offset, &ch, sizeof ch);
      if (!q.text(1, kind).integer(2, ch).blob(3, copy.data(), size).run()) return false;
      q.reset();
    }
    return (bool)q;
  });
}

int kxdb_put_many(const char *file, const char *kind, const void *records, size_t size,
                  int count, size_t key_offset) {
  if (key_offset + sizeof(int32_t) > size) return -1;
  sqlite3 *db = database(file, true);
  return in_transaction(db, [&] {
    Statement q(db, kPutSql);
    for (int i = 0; q && i < count; i++) {
      const char *r = static_cast<const char *>(records) + (size_t)i * size;
      if (!q.text(1, kind).integer(2, key_at(r, key_offset)).blob(3, r, size).run()) return false;
      q.reset();
    }
    return (bool)q;
  });
}

int kxdb_set_int_field(const char *file, const char *kind, size_t size, size_t key_offset,
                       size_t field_offset, int32_t value, uint64_t mask) {
  if (key_offset + sizeof(int32_t) > size || field_offset + sizeof(int32_t) > size) return -1;
  sqlite3 *db = database(file, true);
  std::vector<char> row(size);
  return in_transaction(db, [&] {
    for (int32_t key = 0; key < 64; key++) {
      if (!(mask >> key & 1)) continue;
      memset(row.data(), 0, size);
      memcpy(row.data() + key_offset, &key, sizeof key);
      if (kxdb_get(file, kind, key, row.data(), size) < 0) return false;
      memcpy(row.data() + field_offset, &value, sizeof value);
      if (kxdb_put(file, kind, key, row.data(), size) != 0) return false;
    }
    return true;
  });
}

int kxdb_transaction(const char *file, const std::function<bool()> &body) {
  return in_transaction(database(file, true), body);
}

int kxdb_param_get(const char *file, const char *key, std::string *value) {
  sqlite3 *db = database(file, false);
  if (!db) return 1;
  Statement q(db, "SELECT value FROM params WHERE key = ?");
  if (!q) return -1;
  int rc = q.text(1, key).step();
  if (rc == SQLITE_DONE) return 1;
  if (rc != SQLITE_ROW) return -1;
  const unsigned char *text = sqlite3_column_text(q.get(), 0);
  if (value) value->assign(text ? reinterpret_cast<const char *>(text) : "");
  return 0;
}

int kxdb_param_set(const char *file, const char *key, const char *value) {
  sqlite3 *db = database(file, true);
  if (!db) return -1;
  Statement q(db, "INSERT OR REPLACE INTO params(key, value) VALUES(?, ?)");
  return q && q.text(1, key).text(2, value ? value : "").run() ? 0 : -1;
}

void kxdb_close_all() {
  open_databases().clear();
}

void kxdb_refresh() {
  auto &dbs = open_databases();
  for (auto it = dbs.begin(); it != dbs.end();) {
    Database &d = *it->second;
    if (!sqlite3_get_autocommit(d.db)) exec(d.db, "ROLLBACK");
    struct stat st;
    bool same = stat(it->first.c_str(), &st) == 0 && st.st_dev == d.dev && st.st_ino == d.ino;
    it = same ? std::next(it) : dbs.erase(it);
  }
}
