#include "kxdb_alarm.h"

#include <cstdio>
#include <cstring>

#include "kxdb.h"

namespace {

constexpr const char *kAlarmIn = "alarm_in";
constexpr const char *kAlarmOut = "alarm_out";
constexpr const char *kDisarming = "alarm_disarming";
constexpr const char *kAlarmInPlans = "alarm_in_sche";
constexpr const char *kInEffective = "alarmin_effective_sche";
constexpr const char *kInAudible = "alarmin_audible_sche";
constexpr const char *kInEmail = "alarmin_email_sche";
constexpr const char *kInPtz = "alarmin_ptz_sche";
constexpr const char *kOutSchedule = "alarm_out_sche";

bool in_ok(int id) { return id >= 0 && id < ALARM_IN_COUNT; }
bool out_ok(int id) { return id >= 0 && id < ALARM_OUT_COUNT; }
bool channel_ok(int channel) { return channel >= 0 && channel < CAMERA_ALARM_CHANNELS; }
bool cam_in_ok(int channel, int index) {
  return channel_ok(channel) && index >= 0 && index < CAMERA_ALARM_INPUTS;
}
bool cam_out_ok(int channel, int index) {
  return channel_ok(channel) && index >= 0 && index < CAMERA_ALARM_OUTPUTS;
}

// Masks of the recorder's inputs and outputs hold no bit beyond them.
uint64_t below(int count) { return (1ULL << count) - 1; }

// Table of one camera input or output index: "alarm_chnIn2_event", ...
struct IndexTable {
  char text[48];
  IndexTable(const char *side, int index, const char *what) {
    snprintf(text, sizeof text, "alarm_chn%s%d_%s", side, index, what);
  }
};
IndexTable in_table(int index, const char *what) { return IndexTable("In", index, what); }
IndexTable out_table(int index, const char *what) { return IndexTable("Out", index, what); }

template <class Record>
int write_masked(const char *file, const char *kind, const Record *records, int count,
                 uint64_t mask, int32_t Record::*key) {
  return kxdb_transaction(file, [&] {
    for (int i = 0; i < count && i < 64; i++) {
      if (!(mask >> i & 1)) continue;
      if (kxdb_write_record(file, kind, &records[i], key) != 0) return false;
    }
    return true;
  });
}

// The name tables of one index: every record carries its channel and index.
template <class Record>
int read_names(const char *file, const char *kind, Record *table, int count, int index) {
  if (count < 0 || count > CAMERA_ALARM_CHANNELS) return -1;
  int rc = kxdb_read_records(file, kind, table, 0, count, &Record::chn);
  if (rc != 0) return rc;
  for (int i = 0; i < count; i++) table[i].index = index;
  return 0;
}

}  // namespace

// ---- Recorder inputs ----
int read_alarm_in(const char *file, alarm_in_params *record, int id) {
  if (!in_ok(id)) return -1;
  return kxdb_read_record(file, kAlarmIn, id, record, &alarm_in_params::id);
}
int write_alarm_in(const char *file, const alarm_in_params *record) {
  if (!in_ok(record->id)) return -1;
  return kxdb_write_record(file, kAlarmIn, record, &alarm_in_params::id);
}
int read_alarm_ins(const char *file, alarm_in_params *records, int *count) {
  return kxdb_read_records(file, kAlarmIn, records, 0, ALARM_IN_COUNT, &alarm_in_params::id,
                           count);
}
int write_alarm_ins(const char *file, const alarm_in_params *records, int count, uint64_t mask) {
  for (int i = 0; i < count && i < 64; i++) {
    if ((mask >> i & 1) && !in_ok(records[i].id)) return -1;
  }
  return write_masked(file, kAlarmIn, records, count, mask, &alarm_in_params::id);
}
int read_disarming(const char *file, alarm_disarming *record) {
  return kxdb_read_record<alarm_disarming>(file, kDisarming, 0, record, nullptr);
}
int write_disarming(const char *file, const alarm_disarming *record) {
  return kxdb_put(file, kDisarming, 0, record, sizeof *record);
}

int read_alarm_in_schedule(const char *file, schedule *s, int id) {
  return in_ok(id) ? read_table_schedule(file, kAlarmInPlans, s, id) : -1;
}
int write_alarm_in_schedule(const char *file, const schedule *s, int id) {
  return in_ok(id) ? write_table_schedule(file, kAlarmInPlans, s, id) : -1;
}
int read_alarmin_effective_schedule(const char *file, schedule *s, int id) {
  return in_ok(id) ? read_table_schedule(file, kInEffective, s, id) : -1;
}
int write_alarmin_effective_schedule(const char *file, const schedule *s, int id) {
  return in_ok(id) ? write_table_schedule(file, kInEffective, s, id) : -1;
}
int copy_alarmin_effective_schedules(const char *file, const schedule *s, uint64_t mask) {
  return copy_table_schedules(file, kInEffective, s, mask & below(ALARM_IN_COUNT));
}
int read_alarmin_audible_schedule(const char *file, schedule *s, int id) {
  return in_ok(id) ? read_table_schedule(file, kInAudible, s, id) : -1;
}
int write_alarmin_audible_schedule(const char *file, const schedule *s, int id) {
  return in_ok(id) ? write_table_schedule(file, kInAudible, s, id) : -1;
}
int copy_alarmin_audible_schedules(const char *file, const schedule *s, uint64_t mask) {
  return copy_table_schedules(file, kInAudible, s, mask & below(ALARM_IN_COUNT));
}
int read_alarmin_email_schedule(const char *file, schedule *s, int id) {
  return in_ok(id) ? read_table_schedule(file, kInEmail, s, id) : -1;
}
int write_alarmin_email_schedule(const char *file, const schedule *s, int id) {
  return in_ok(id) ? write_table_schedule(file, kInEmail, s, id) : -1;
}
int copy_alarmin_email_schedules(const char *file, const schedule *s, uint64_t mask) {
  return copy_table_schedules(file, kInEmail, s, mask & below(ALARM_IN_COUNT));
}
int read_alarmin_ptz_schedule(const char *file, schedule *s, int id) {
  return in_ok(id) ? read_table_schedule(file, kInPtz, s, id) : -1;
}
int write_alarmin_ptz_schedule(const char *file, const schedule *s, int id) {
  return in_ok(id) ? write_table_schedule(file, kInPtz, s, id) : -1;
}
int copy_alarmin_ptz_schedules(const char *file, const schedule *s, uint64_t mask) {
  return copy_table_schedules(file, kInPtz, s, mask & below(ALARM_IN_COUNT));
}

// ---- Recorder outputs ----
int read_alarm_out(const char *file, alarm_out_params *record, int id) {
  if (!out_ok(id)) return -1;
  return kxdb_read_record(file, kAlarmOut, id, record, &alarm_out_params::id);
}
int write_alarm_out(const char *file, const alarm_out_params *record) {
  if (!out_ok(record->id)) return -1;
  return kxdb_write_record(file, kAlarmOut, record, &alarm_out_params::id);
}
int read_alarm_outs(const char *file, alarm_out_params *records, int *count) {
  return kxdb_read_records(file, kAlarmOut, records, 0, ALARM_OUT_COUNT, &alarm_out_params::id,
                           count);
}
int write_alarm_outs(const char *file, const alarm_out_params *records, int count,
                     uint64_t mask) {
  for (int i = 0; i < count && i < 64; i++) {
    if ((mask >> i & 1) && !out_ok(records[i].id)) return -1;
  }
  return write_masked(file, kAlarmOut, records, count, mask, &alarm_out_params::id);
}
int read_alarm_out_schedule(const char *file, schedule *s, int id) {
  return out_ok(id) ? read_table_schedule(file, kOutSchedule, s, id) : -1;
}
int write_alarm_out_schedule(const char *file, const schedule *s, int id) {
  return out_ok(id) ? write_table_schedule(file, kOutSchedule, s, id) : -1;
}
int copy_alarm_out_schedules(const char *file, const schedule *s, uint64_t mask) {
  return copy_table_schedules(file, kOutSchedule, s, mask & below(ALARM_OUT_COUNT));
}

// ---- Camera inputs ----
int read_alarm_chnIn_event(const char *file, alarm_chnin_event *record, int channel, int index) {
  if (!cam_in_ok(channel, index)) return -1;
  alarm_chnin_event r = {};
  r.index = index;
  r.chn = channel;
  if (kxdb_read_or_default(file, in_table(index, "event").text, channel, &r, sizeof r) != 0) {
    return -1;
  }
  r.index = index;
  *record = r;
  return 0;
}
int write_alarm_chnIn_event(const char *file, const alarm_chnin_event *record) {
  if (!cam_in_ok(record->chn, record->index)) return -1;
  return kxdb_write_record(file, in_table(record->index, "event").text, record,
                           &alarm_chnin_event::chn);
}
int copy_alarm_chnIn_events(const char *file, const alarm_chnin_event *record, uint64_t mask) {
  if (!cam_in_ok(0, record->index)) return -1;
  return kxdb_copy(file, in_table(record->index, "event").text, record, sizeof *record,
                   offsetof(alarm_chnin_event, chn), mask);
}

namespace {

int read_cam_schedule(const char *file, const char *what, schedule *s, int channel, int index) {
  if (!cam_in_ok(channel, index)) return -1;
  return read_table_schedule(file, in_table(index, what).text, s, channel);
}
int write_cam_schedule(const char *file, const char *what, const schedule *s, int channel,
                       int index) {
  if (!cam_in_ok(channel, index)) return -1;
  return write_table_schedule(file, in_table(index, what).text, s, channel);
}
int copy_cam_schedules(const char *file, const char *what, const schedule *s, int index,
                       uint64_t mask) {
  if (!cam_in_ok(0, index)) return -1;
  return copy_table_schedules(file, in_table(index, what).text, s, mask);
}

}  // namespace

int read_alarm_chnIn_effective_schedule(const char *file, schedule *s, int channel, int index) {
  return read_cam_schedule(file, "effective_sche", s, channel, index);
}
int write_alarm_chnIn_effective_schedule(const char *file, const schedule *s, int channel,
                                         int index) {
  return write_cam_schedule(file, "effective_sche", s, channel, index);
}
int copy_alarm_chnIn_effective_schedules(const char *file, const schedule *s, int index,
                                         uint64_t mask) {
  return copy_cam_schedules(file, "effective_sche", s, index, mask);
}
int read_alarm_chnIn_audible_schedule(const char *file, schedule *s, int channel, int index) {
  return read_cam_schedule(file, "audible_sche", s, channel, index);
}
int write_alarm_chnIn_audible_schedule(const char *file, const schedule *s, int channel,
                                       int index) {
  return write_cam_schedule(file, "audible_sche", s, channel, index);
}
int copy_alarm_chnIn_audible_schedules(const char *file, const schedule *s, int index,
                                       uint64_t mask) {
  return copy_cam_schedules(file, "audible_sche", s, index, mask);
}
int read_alarm_chnIn_email_schedule(const char *file, schedule *s, int channel, int index) {
  return read_cam_schedule(file, "email_sche", s, channel, index);
}
int write_alarm_chnIn_email_schedule(const char *file, const schedule *s, int channel,
                                     int index) {
  return write_cam_schedule(file, "email_sche", s, channel, index);
}
int copy_alarm_chnIn_email_schedules(const char *file, const schedule *s, int index,
                                     uint64_t mask) {
  return copy_cam_schedules(file, "email_sche", s, index, mask);
}
int read_alarm_chnIn_ptz_schedule(const char *file, schedule *s, int channel, int index) {
  return read_cam_schedule(file, "ptz_sche", s, channel, index);
}
int write_alarm_chnIn_ptz_schedule(const char *file, const schedule *s, int channel, int index) {
  return write_cam_schedule(file, "ptz_sche", s, channel, index);
}
int copy_alarm_chnIn_ptz_schedules(const char *file, const schedule *s, int index,
                                   uint64_t mask) {
  return copy_cam_schedules(file, "ptz_sche", s, index, mask);
}

int read_alarm_chnIn_event_name(const char *file, alarm_chnin_name *record, int channel,
                                int index) {
  if (!cam_in_ok(channel, index)) return -1;
  int rc = kxdb_read_record(file, in_table(index, "name").text, channel, record,
                            &alarm_chnin_name::chn);
  if (rc == 0) record->index = index;
  return rc;
}
int write_alarm_chnIn_event_name(const char *file, const alarm_chnin_name *record) {
  if (!cam_in_ok(record->chn, record->index)) return -1;
  return kxdb_write_record(file, in_table(record->index, "name").text, record,
                           &alarm_chnin_name::chn);
}
int read_alarm_chnIn_event_names(const char *file, alarm_chnin_name *table, int count,
                                 int index) {
  if (!cam_in_ok(0, index)) return -1;
  return read_names(file, in_table(index, "name").text, table, count, index);
}

// ---- Camera outputs ----
int read_alarm_chnOut_effective_schedule(const char *file, schedule *s, int channel, int index) {
  if (!cam_out_ok(channel, index)) return -1;
  return read_table_schedule(file, out_table(index, "effective_sche").text, s, channel);
}
int write_alarm_chnOut_effective_schedule(const char *file, const schedule *s, int channel,
                                          int index) {
  if (!cam_out_ok(channel, index)) return -1;
  return write_table_schedule(file, out_table(index, "effective_sche").text, s, channel);
}
int copy_alarm_chnOut_effective_schedules(const char *file, const schedule *s, int index,
                                          uint64_t mask) {
  if (!cam_out_ok(0, index)) return -1;
  return copy_table_schedules(file, out_table(index, "effective_sche").text, s, mask);
}
int read_alarm_chnOut_event_name(const char *file, alarm_chnout_name *record, int channel,
                                 int index) {
  if (!cam_out_ok(channel, index)) return -1;
  int rc = kxdb_read_record(file, out_table(index, "name").text, channel, record,
                            &alarm_chnout_name::chn);
  if (rc == 0) record->index = index;
  return rc;
}
int write_alarm_chnOut_event_name(const char *file, const alarm_chnout_name *record) {
  if (!cam_out_ok(record->chn, record->index)) return -1;
  return kxdb_write_record(file, out_table(record->index, "name").text, record,
                           &alarm_chnout_name::chn);
}
int read_alarm_chnOut_event_names(const char *file, alarm_chnout_name *table, int count,
                                  int index) {
  if (!cam_out_ok(0, index)) return -1;
  return read_names(file, out_table(index, "name").text, table, count, index);
}
int copy_alarm_chnOut_delays(const char *file, int index, int32_t delay, uint64_t mask) {
  if (!cam_out_ok(0, index)) return -1;
  return kxdb_set_int_field(file, out_table(index, "name").text, sizeof(alarm_chnout_name),
                            offsetof(alarm_chnout_name, chn),
                            offsetof(alarm_chnout_name, delayTime), delay, mask);
}
