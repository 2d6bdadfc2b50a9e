#include "kxdb_anpr.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "kxdb.h"

namespace {

constexpr const char *kKind = "anpr_list";

// The stored entries with their keys, read inside the caller's transaction.
struct Stored {
  std::vector<anpr_list_entry> entries;
  std::vector<int> keys;
};

bool load(const char *file, Stored *s) {
  s->entries.assign(ANPR_LIST_MAX, anpr_list_entry{});
  s->keys.assign(ANPR_LIST_MAX, 0);
  int count = 0;
  if (kxdb_get_all(file, kKind, s->entries.data(), sizeof(anpr_list_entry), ANPR_LIST_MAX, &count,
                   s->keys.data()) != 0) {
    return false;
  }
  s->entries.resize(count);
  s->keys.resize(count);
  return true;
}

bool same_plate(const anpr_list_entry &e, const char *plate) {
  return strncmp(e.plate, plate, sizeof e.plate) == 0;
}

// Index of the plate's entry in `s`, or -1.
int find(const Stored &s, const char *plate) {
  for (size_t i = 0; i < s.entries.size(); i++) {
    if (same_plate(s.entries[i], plate)) return (int)i;
  }
  return -1;
}

// Stores `e` under its plate's key, or under a new key after the last one.
bool put(const char *file, Stored *s, const anpr_list_entry &e) {
  anpr_list_entry copy = e;
  copy.type[sizeof copy.type - 1] = '\0';
  copy.plate[sizeof copy.plate - 1] = '\0';
  int at = find(*s, copy.plate);
  if (at >= 0) {
    s->entries[at] = copy;
    return kxdb_put(file, kKind, s->keys[at], &copy, sizeof copy) == 0;
  }
  if ((int)s->entries.size() >= ANPR_LIST_MAX) return false;
  int key = s->keys.empty() ? 0 : s->keys.back() + 1;
  if (key < 0) return false;
  s->entries.push_back(copy);
  s->keys.push_back(key);
  return kxdb_put(file, kKind, key, &copy, sizeof copy) == 0;
}

bool remove(const char *file, Stored *s, const anpr_list_entry &e) {
  int at = find(*s, e.plate);
  if (at < 0) return true;
  if (kxdb_del(file, kKind, s->keys[at]) != 0) return false;
  s->entries.erase(s->entries.begin() + at);
  s->keys.erase(s->keys.begin() + at);
  return true;
}

}  // namespace

int write_anpr_list_replace_batch(const char *file, const anpr_list_entry *entries, int count) {
  if (!entries || count < 0) return -1;
  return kxdb_transaction(file, [&] {
    Stored s;
    if (!load(file, &s)) return false;
    for (int i = 0; i < count; i++) {
      if (!put(file, &s, entries[i])) return false;
    }
    return true;
  });
}

int delete_anpr_lists(const char *file, const anpr_list_entry *entries, int count) {
  if (!entries || count < 0) return -1;
  return kxdb_transaction(file, [&] {
    Stored s;
    if (!load(file, &s)) return false;
    for (int i = 0; i < count; i++) {
      if (!remove(file, &s, entries[i])) return false;
    }
    return true;
  });
}

int delete_anpr_list(const char *file, const anpr_list_entry *entry) {
  return delete_anpr_lists(file, entry, 1);
}

int read_anpr_list_plate(const char *file, anpr_list_entry *entry, const char *plate) {
  if (!entry || !plate) return -1;
  Stored s;
  if (!load(file, &s)) return -1;
  int at = find(s, plate);
  if (at < 0) return 1;
  *entry = s.entries[at];
  return 0;
}

int update_anpr_list(const char *file, const anpr_list_entry *entry) {
  if (!entry) return -1;
  bool found = false;
  int rc = kxdb_transaction(file, [&] {
    Stored s;
    if (!load(file, &s)) return false;
    found = find(s, entry->plate) >= 0;
    return !found || put(file, &s, *entry);
  });
  if (rc != 0) return -1;
  return found ? 0 : 1;
}

int write_anpr_list(const char *file, const anpr_list_entry *entry) {
  return write_anpr_list_replace_batch(file, entry, 1);
}

int read_anpr_lists(const char *file, anpr_list_entry *entries, int capacity, int *count) {
  if (count) *count = 0;
  if (!entries || capacity < 0) return -1;
  return kxdb_get_all(file, kKind, entries, sizeof *entries, capacity, count);
}

// ---- Actions of a list mode ----

namespace {

bool mode_key_ok(int channel, int mode) {
  return channel >= 0 && channel < SMART_EVENT_CHANNELS && anpr_mode_valid(mode);
}

// Each mode keeps its records under a kind of its own: "<base>_<mode + 1>".
struct ModeKind {
  char name[64];
  ModeKind(const char *base, int mode) { snprintf(name, sizeof name, "%s_%d", base, mode + 1); }
};

int read_mode_schedule(const char *file, const char *base, schedule *s, int channel, int mode) {
  if (!mode_key_ok(channel, mode) || !s) return -1;
  return kxdb_read_record<schedule>(file, ModeKind(base, mode).name, channel, s, nullptr);
}

int write_mode_schedule(const char *file, const char *base, const schedule *s, int channel,
                        int mode) {
  if (!mode_key_ok(channel, mode) || !s) return -1;
  return kxdb_put(file, ModeKind(base, mode).name, channel, s, sizeof *s);
}

}  // namespace

int read_anpr_event(const char *file, anpr_event *record, int channel, int mode) {
  if (!mode_key_ok(channel, mode) || !record) return -1;
  return kxdb_read_record(file, ModeKind("anpr_event", mode).name, channel, record,
                          &anpr_event::channel);
}
int write_anpr_event(const char *file, const anpr_event *record, int mode) {
  if (!record || !mode_key_ok(record->channel, mode)) return -1;
  return kxdb_write_record(file, ModeKind("anpr_event", mode).name, record,
                           &anpr_event::channel);
}
int read_anpr_effective_schedule(const char *file, schedule *s, int channel, int mode) {
  return read_mode_schedule(file, "anpr_effective_sche", s, channel, mode);
}
int write_anpr_effective_schedule(const char *file, const schedule *s, int channel, int mode) {
  return write_mode_schedule(file, "anpr_effective_sche", s, channel, mode);
}
int read_anpr_audible_schedule(const char *file, schedule *s, int channel, int mode) {
  return read_mode_schedule(file, "anpr_audible_sche", s, channel, mode);
}
int write_anpr_audible_schedule(const char *file, const schedule *s, int channel, int mode) {
  return write_mode_schedule(file, "anpr_audible_sche", s, channel, mode);
}
int read_anpr_mail_schedule(const char *file, schedule *s, int channel, int mode) {
  return read_mode_schedule(file, "anpr_mail_sche", s, channel, mode);
}
int write_anpr_mail_schedule(const char *file, const schedule *s, int channel, int mode) {
  return write_mode_schedule(file, "anpr_mail_sche", s, channel, mode);
}
int read_anpr_ptz_schedule(const char *file, schedule *s, int channel, int mode) {
  return read_mode_schedule(file, "anpr_ptz_sche", s, channel, mode);
}
int write_anpr_ptz_schedule(const char *file, const schedule *s, int channel, int mode) {
  return write_mode_schedule(file, "anpr_ptz_sche", s, channel, mode);
}
