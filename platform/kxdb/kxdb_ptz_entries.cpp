#include "kxdb_ptz_entries.h"

#include <cstring>

#include "kxdb.h"

namespace {

constexpr int kChannels = 64;

// One list of (type, channel), read and written whole inside a transaction.
struct EntryList {
  ptz_action_params slots[PTZ_ACTION_MAX] = {};
  int capacity = PTZ_ACTION_MAX;

  bool load(const char *file, int type, int channel) {
    capacity = ptz_event_capacity(type);
    int count = 0;
    int rc = type == PTZ_EVENT_PEOPLECNT
                 ? read_peoplecnt_ptz_params(file, slots, channel, &count)
                 : read_ptz_params(file, slots, type, channel, &count);
    return rc == 0;
  }
  bool store(const char *file, int type, int channel) const {
    int rc = type == PTZ_EVENT_PEOPLECNT ? write_peoplecnt_ptz_params_ex(file, slots, channel)
                                         : write_ptz_params_all(file, slots, type, channel);
    return rc == 0;
  }
  int find(int camera) const {
    for (int i = 0; i < capacity; i++) {
      if (slots[i].acto_ptz_channel > 0 && slots[i].acto_ptz_channel == camera) return i;
    }
    return -1;
  }
  // Drops slot i; the set entries after it move up.
  void remove(int i) {
    memmove(&slots[i], &slots[i + 1], sizeof slots[0] * (capacity - i - 1));
    slots[capacity - 1] = ptz_action_params{};
  }
  // Set entries first, in order, then the empty slots.
  void compact() {
    int n = 0;
    for (int i = 0; i < capacity; i++) {
      if (slots[i].acto_ptz_channel > 0) slots[n++] = slots[i];
    }
    for (int i = n; i < capacity; i++) slots[i] = ptz_action_params{};
  }
  bool add(const ptz_action_params &entry) {
    compact();
    int at = find(entry.acto_ptz_channel);
    if (at < 0) {
      for (int i = 0; i < capacity && at < 0; i++) {
        if (slots[i].acto_ptz_channel <= 0) at = i;
      }
    }
    if (at < 0) return false;  // full
    slots[at] = entry;
    return true;
  }
  void replace(int at, const ptz_action_params &entry) {
    int other = find(entry.acto_ptz_channel);
    slots[at] = entry;
    if (other >= 0 && other != at) remove(other);
  }
};

bool entry_ok(const ptz_action_params *entry, int type) {
  return entry && ptz_event_type_valid(type) && entry->chn_id >= 0 && entry->chn_id < kChannels &&
         entry->acto_ptz_channel > 0;
}

int edit(const char *file, int type, int channel, bool (*step)(EntryList &, const void *),
         const void *arg) {
  return kxdb_transaction(file, [&] {
    EntryList list;
    return list.load(file, type, channel) && step(list, arg) && list.store(file, type, channel);
  });
}

struct UpdateArg {
  const ptz_action_params *entry;
  int old;
};

int write_entry(const char *file, const ptz_action_params *entry, int type) {
  if (!entry_ok(entry, type)) return -1;
  return edit(file, type, entry->chn_id,
              [](EntryList &l, const void *a) {
                return l.add(*static_cast<const ptz_action_params *>(a));
              },
              entry);
}

int update_entry(const char *file, const ptz_action_params *entry, int type, int old) {
  if (!entry_ok(entry, type)) return -1;
  UpdateArg arg{entry, old};
  return edit(file, type, entry->chn_id,
              [](EntryList &l, const void *a) {
                const UpdateArg &u = *static_cast<const UpdateArg *>(a);
                l.compact();
                int at = l.find(u.old);
                if (at < 0) return l.add(*u.entry);
                l.replace(at, *u.entry);
                return true;
              },
              &arg);
}

int delete_entry(const char *file, int type, int channel, int camera) {
  if (!ptz_event_type_valid(type) || channel < 0 || channel >= kChannels) return -1;
  return edit(file, type, channel,
              [](EntryList &l, const void *a) {
                int at = l.find(*static_cast<const int *>(a));
                if (at >= 0) l.remove(at);
                return true;
              },
              &camera);
}

}  // namespace

bool ptz_event_type_valid(int type) {
  return (type >= 0 && type <= 2) || (type >= 5 && type <= 13) || (type >= 15 && type <= 17) ||
         type == PTZ_EVENT_PEOPLECNT || (type >= 22 && type <= 25);
}

int ptz_event_capacity(int type) {
  return type == PTZ_EVENT_PEOPLECNT ? PEOPLECNT_PTZ_ACTION_MAX : PTZ_ACTION_MAX;
}

int write_ptz_params(const char *file, const ptz_action_params *entry, int type) {
  return write_entry(file, entry, type);
}
int update_ptz_params(const char *file, const ptz_action_params *entry, int type, int old) {
  return update_entry(file, entry, type, old);
}
int delete_ptz_params(const char *file, const ptz_action_params *entry, int type,
                      int acto_ptz_channel) {
  if (!entry) return -1;
  return delete_entry(file, type, entry->chn_id, acto_ptz_channel);
}

int write_peoplecnt_ptz_params(const char *file, const ptz_action_params *entry) {
  return write_entry(file, entry, PTZ_EVENT_PEOPLECNT);
}
int update_peoplecnt_ptz_params(const char *file, const ptz_action_params *entry, int old) {
  return update_entry(file, entry, PTZ_EVENT_PEOPLECNT, old);
}
int delete_peoplecnt_ptz_params(const char *file, const ptz_action_params *, int chn_id,
                                int acto_ptz_channel) {
  return delete_entry(file, PTZ_EVENT_PEOPLECNT, chn_id, acto_ptz_channel);
}
