#include "kxdb_linkage.h"

#include "kxdb.h"
#include "kxdb_event.h"

namespace {
bool id_ok(int id, int limit) {
  return id >= 0 && id < limit;
}
}  // namespace

int linkage_read_event(const char *file, const char *kind, linkage_event *record, int id,
                       int limit) {
  if (!record || !id_ok(id, limit)) return -1;
  return kxdb_read_record(file, kind, id, record, &linkage_event::id);
}

int linkage_write_event(const char *file, const char *kind, const linkage_event *record,
                        int limit) {
  if (!record || !id_ok(record->id, limit)) return -1;
  return kxdb_write_record(file, kind, record, &linkage_event::id);
}

// A schedule has no key field of its own: the id is its key.
int linkage_read_schedule(const char *file, const char *kind, schedule *s, int id, int limit) {
  if (!s || !id_ok(id, limit)) return -1;
  return kxdb_read_record<schedule>(file, kind, id, s, nullptr);
}

int linkage_write_schedule(const char *file, const char *kind, const schedule *s, int id,
                           int limit) {
  if (!s || !id_ok(id, limit)) return -1;
  return kxdb_put(file, kind, id, s, sizeof *s);
}
