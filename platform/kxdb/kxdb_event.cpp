#include "kxdb_event.h"

#include <cstdio>
#include <cstring>

#include "kxdb.h"

namespace {

// Kind of a PTZ action list: "ptz_params_<type>".
struct PtzKind {
  char text[32];
  explicit PtzKind(int type) { snprintf(text, sizeof text, "ptz_params_%d", type); }
};

constexpr const char *kPeoplecntPtz = "peoplecnt_ptz_params";
constexpr const char *kPeoplecntWled = "peoplecnt_wled_params";

int read_list(const char *file, const char *kind, int channel, void *list, size_t bytes) {
  memset(list, 0, bytes);
  return kxdb_read_or_default(file, kind, channel, list, bytes);
}

// Records set: up to the last one whose action fields are not all zero.
int whiteled_count(const whiteled_params *records) {
  int count = 0;
  for (int i = 0; i < WHITELED_PER_CHANNEL; i++) {
    const whiteled_params &r = records[i];
    if (r.chnid || r.mode || r.time) count = i + 1;
  }
  return count;
}

bool whiteled_channel_ok(int channel) {
  return channel >= 0 && channel < WHITELED_CHANNELS;
}

}  // namespace

int read_ptz_params(const char *file, ptz_action_params *list, int type, int channel, int *count) {
  int rc = read_list(file, PtzKind(type).text, channel, list, sizeof *list * PTZ_ACTION_MAX);
  if (count) *count = rc == 0 ? PTZ_ACTION_MAX : 0;
  return rc;
}

int write_ptz_params_all(const char *file, const ptz_action_params *list, int type, int channel) {
  return kxdb_put(file, PtzKind(type).text, channel, list, sizeof *list * PTZ_ACTION_MAX);
}

int copy_ptz_params_all(const char *file, const ptz_action_params *list, int type, uint64_t mask) {
  // Every entry of a list carries its channel; each copy gets the target's.
  // One transaction: a failure part-way leaves every channel as it was.
  return kxdb_transaction(file, [&] {
    ptz_action_params copy[PTZ_ACTION_MAX];
    for (int ch = 0; ch < 64; ch++) {
      if (!(mask >> ch & 1)) continue;
      memcpy(copy, list, sizeof copy);
      for (auto &e : copy) {
        if (e.acto_ptz_channel > 0) e.chn_id = ch;
      }
      if (write_ptz_params_all(file, copy, type, ch) != 0) return false;
    }
    return true;
  });
}

int read_peoplecnt_ptz_params(const char *file, ptz_action_params *list, int channel, int *count) {
  int rc = read_list(file, kPeoplecntPtz, channel, list, sizeof *list * PEOPLECNT_PTZ_ACTION_MAX);
  if (count) *count = rc == 0 ? PEOPLECNT_PTZ_ACTION_MAX : 0;
  return rc;
}

int write_peoplecnt_ptz_params_ex(const char *file, const ptz_action_params *list, int channel) {
  return kxdb_put(file, kPeoplecntPtz, channel, list, sizeof *list * PEOPLECNT_PTZ_ACTION_MAX);
}

int read_whiteled_params(const char *file, whiteled_params *records, int channel,
                         const char *table, int *count) {
  if (count) *count = 0;
  if (!whiteled_channel_ok(channel) || !table) return -1;
  int rc = read_list(file, table, channel, records, sizeof *records * WHITELED_PER_CHANNEL);
  if (count && rc == 0) *count = whiteled_count(records);
  return rc;
}

int write_whiteled_params_all(const char *file, const whiteled_params *block, const char *table,
                              int channel) {
  if (!whiteled_channel_ok(channel) || !table) return -1;
  return kxdb_put(file, table, channel, block + channel * WHITELED_PER_CHANNEL,
                  sizeof *block * WHITELED_PER_CHANNEL);
}

int read_peoplecnt_wled_params(const char *file, whiteled_params *records, int group, int *count) {
  if (count) *count = 0;
  int rc = read_list(file, kPeoplecntWled, group, records, sizeof *records * WHITELED_PER_CHANNEL);
  if (count && rc == 0) *count = whiteled_count(records);
  return rc;
}

int write_peoplecnt_wled_params_all(const char *file, const whiteled_params *records, int group) {
  return kxdb_put(file, kPeoplecntWled, group, records, sizeof *records * WHITELED_PER_CHANNEL);
}

int read_http_notification_params(const char *file, http_notification_params *record,
                                  int channel, const char *table) {
  if (!table) return -1;
  return kxdb_read_record(file, table, channel, record, &http_notification_params::channel);
}

int write_http_notification_params(const char *file, const http_notification_params *record,
                                   const char *table) {
  if (!table) return -1;
  return kxdb_put(file, table, record->channel, record, sizeof *record);
}
