// Settings records of recording: holidays, the per-channel recording
// settings (table "record": plan mode, pre- and post-record, audio, expiry)
// and the per-channel recording schedule. The daemon reads the same records.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kxdb_event.h"

constexpr int RECORD_CHANNELS = 64;
constexpr const char *RECORD_TABLE = "record";

// ---- Holidays: ids 0 to 31 ----
constexpr int HOLIDAY_MAX = 32;

struct holiday_params {
  int32_t id;  // 0 to 31
  char name[256];
  int32_t enable;  // 0 or 1
  int32_t type;    // date form: which of the date parts below apply (page and daemon)
  int32_t startYear;
  int32_t startMon;
  int32_t startMDay;   // day of month
  int32_t startMWeek;  // week of month
  int32_t startWDay;   // weekday
  int32_t endYear;
  int32_t endMon;
  int32_t endMDay;
  int32_t endMWeek;
  int32_t endWDay;
};
static_assert(sizeof(holiday_params) == 308);
static_assert(offsetof(holiday_params, id) == 0);
static_assert(offsetof(holiday_params, name) == 4);
static_assert(offsetof(holiday_params, enable) == 260);
static_assert(offsetof(holiday_params, type) == 264);
static_assert(offsetof(holiday_params, startYear) == 268);
static_assert(offsetof(holiday_params, startMon) == 272);
static_assert(offsetof(holiday_params, startMDay) == 276);
static_assert(offsetof(holiday_params, startMWeek) == 280);
static_assert(offsetof(holiday_params, startWDay) == 284);
static_assert(offsetof(holiday_params, endYear) == 288);
static_assert(offsetof(holiday_params, endMon) == 292);
static_assert(offsetof(holiday_params, endMDay) == 296);
static_assert(offsetof(holiday_params, endMWeek) == 300);
static_assert(offsetof(holiday_params, endWDay) == 304);

// All 32 holidays in id order (never-written ones as defaults: zeroed, id
// set); `count` receives 32. 0, or -1 (records untouched).
int read_holidays(const char *file, holiday_params *records, int *count);
// Stores the holiday under its id (0 to 31). 0 or -1.
int write_holiday(const char *file, const holiday_params *record);

// ---- Recording settings of a channel (table "record", column "mode") ----
struct record_params {
  int32_t id;    // channel, 0 to 63 (column "id")
  int32_t mode;  // recording plan mode, 0 to 2 (column "mode")
  int32_t audioEnable;
  int32_t prevRecordOn;
  int32_t prevRecordDuration;  // pre-record length
  int32_t postRecordOn;
  int32_t postRecordDuration;  // post-record length
  int32_t recordExpDate;       // expiry, the page's and the daemon's unit
  char reserved[40];           // the daemon's; carried through unchanged
};
static_assert(sizeof(record_params) == 72);
static_assert(offsetof(record_params, id) == 0);
static_assert(offsetof(record_params, mode) == 4);
static_assert(offsetof(record_params, audioEnable) == 8);
static_assert(offsetof(record_params, prevRecordOn) == 12);
static_assert(offsetof(record_params, prevRecordDuration) == 16);
static_assert(offsetof(record_params, postRecordOn) == 20);
static_assert(offsetof(record_params, postRecordDuration) == 24);
static_assert(offsetof(record_params, recordExpDate) == 28);
static_assert(offsetof(record_params, reserved) == 32);

// One channel (0 to 63); never written: the default. 0, or -1 (untouched).
int read_record(const char *file, record_params *record, int channel);
// All 64 in channel order (never-written ones as defaults); `count`
// receives 64. 0, or -1 (records untouched).
int read_records(const char *file, record_params *records, int *count);
// Stores the record under its id (0 to 63). 0 or -1.
int write_record(const char *file, const record_params *record);
// Stores records[ch] for every channel ch whose bit is set in `mask` (an
// array of 64 in channel order), in one transaction. 0 or -1 (none kept).
int write_records(const char *file, const record_params *records, uint64_t mask);

// ---- Recording schedule of a channel: 8 day rows of 48 plans ----
struct record_schedule_day {
  schedule_plan plans[SCHEDULE_PLANS];  // action_type: recording type of the segment
  int32_t wholedayEnable;
  int32_t wholedayActionType;
};
static_assert(sizeof(record_schedule_day) == 3272);
static_assert(offsetof(record_schedule_day, plans) == 0);
static_assert(offsetof(record_schedule_day, wholedayEnable) == 3264);
static_assert(offsetof(record_schedule_day, wholedayActionType) == 3268);

struct record_schedule {
  record_schedule_day days[SCHEDULE_DAYS];
  int32_t reserved;  // left zero
};
static_assert(sizeof(record_schedule) == 26180);
static_assert(offsetof(record_schedule, days) == 0);
static_assert(offsetof(record_schedule, reserved) == 26176);

// The schedule of a channel (0 to 63); never written: all zero. 0, or -1.
int read_record_schedule(const char *file, record_schedule *record, int channel);
// Stores the one schedule for every channel whose bit is set, in one
// transaction. 0 or -1 (none kept).
int copy_record_schedules(const char *file, const record_schedule *record, uint64_t mask);

// ---- One integer column of many rows ----
// Sets `column` of `table` to `value` in every row whose key (the column
// `key_column`, always "id": the channel) has its bit set in `mask`, in one
// transaction. A row never written is first stored as its factory default
// and then gets the value. Known columns: "record"/"mode",
// "camera"/"anr", "camera"/"record_stream", "video_loss"/"tri_alarms". 0,
// or -1 (nothing kept) for an unknown table, column or key column, or a
// database error.
int copy_table_column_int(const char *file, const char *table, const char *column, int value,
                          uint64_t mask, const char *key_column);
