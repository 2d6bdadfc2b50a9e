#include "alarm_util.h"

#include <cstdio>

namespace alarms {

bool in_valid(int id) {
  return id >= 0 && id < ALARM_IN_COUNT;
}
bool out_valid(int id) {
  return id >= 0 && id < ALARM_OUT_COUNT;
}
bool channel_valid(int ch) {
  return ch >= 0 && ch < CAMERA_ALARM_CHANNELS;
}

bool member_in_range(json_object *object, const char *key, int low, int high, int *value) {
  if (!has_member(object, key)) return false;
  int v = member_int(object, key);
  if (v < low || v > high) return false;
  *value = v;
  return true;
}

int clamp_count(int count, int capacity) {
  return count < 0 ? 0 : count > capacity ? capacity : count;
}

int clamped_count(json_object *object, const char *key, int capacity) {
  return clamp_count(member_int(object, key), capacity);
}

alarm_in_params stored_input(int id) {
  alarm_in_params in = {};
  read_alarm_in(KXDB_FILE, &in, id);
  in.id = id;
  return in;
}

uint64_t copy_targets(json_object *json, int source, int count) {
  uint64_t mask = 0;
  json_object *list = json_member(json, "copyChn");
  int entries = member_int(json, "copyCnt");
  for (int i = 0; i < entries && i < array_length(list); i++) {
    json_object *entry = array_at(list, i);
    int target = entry ? json_object_get_int(entry) : -1;
    if (target >= 0 && target < count && target != source) mask |= 1ULL << target;
  }
  return mask;
}

void reply_text(const char *text) {
  cgi_writeback_webserver(CGI_REPLY_TEXT, text);
}
void reply_json_error() {
  cgi_error_to_webserver(CGI_REPLY_JSON);
}
void reply_text_error() {
  cgi_error_to_webserver(CGI_REPLY_TEXT);
}

void send_number_notice(int code, int32_t number) {
  cgi_send_notice(code, &number, sizeof number);
}

void send_mask_notice(int code, uint64_t mask) {
  alarm_mask_notice payload = {(uint32_t)mask, (uint32_t)(mask >> 32)};
  cgi_send_notice(code, &payload, sizeof payload);
}

namespace {
log_info alarm_log_entry(int param_type, int number) {
  log_info entry;
  cgi_init_log_info(&entry);
  entry.sub_type = LOG_SUB_ALARM;
  entry.param_type = param_type;
  entry.channel = number + 1;  // the log counts inputs and outputs from 1
  return entry;
}
}  // namespace

void send_alarm_log(int param_type, int number) {
  log_info entry = alarm_log_entry(param_type, number);
  cgi_send_log_info(&entry);
}

void send_alarm_log_mask(int param_type, int number, uint64_t mask) {
  log_info entry = alarm_log_entry(param_type, number);
  cgi_send_log_info_channels(&entry, mask);
}

uint32_t trigger_mask(const char *text, size_t width) {
  uint32_t mask = 0;
  size_t length = strnlen(text, width);
  for (size_t i = 0; i < length && i < 32; i++) {
    if (text[i] == '1') mask |= 1u << i;
  }
  return mask;
}

void apply_alarm_outputs(json_object *json, int key, char (&texts)[2][ALARM_CHANNELS_SIZE]) {
  event_alarmout_name pair[2] = {};
  for (int i = 0; i < 2; i++) memcpy(pair[i].name, texts[i], sizeof pair[i].name);
  get_event_chn_alarmout_by_object(key, json, "triChnAlarms", pair);
  for (int i = 0; i < 2; i++) memcpy(texts[i], pair[i].name, sizeof pair[i].name);
}

// ---- Where the linkage settings live ----

Linkage recorder_linkage(int id) {
  Linkage l = {id, -1, PTZ_EVENT_ALARM_IN, "alarmin_whiteled_esche", "alarm_in_white_led_params",
               "alarmin_http_notification_sche", "alarmin_http_notification_params"};
  return l;
}

Linkage camera_linkage(int channel, int index) {
  Linkage l = {channel, index, PTZ_EVENT_CAMERA_IN + index, {}, {}, {}, {}};
  snprintf(l.white_schedule, sizeof l.white_schedule, "alarm_chnIn%d_whiteled_esche", index);
  snprintf(l.white_params, sizeof l.white_params, "alarm_chnIn%d_white_led_params", index);
  snprintf(l.http_schedule, sizeof l.http_schedule, "alarm_chnIn%d_http_notification_sche",
           index);
  snprintf(l.http_params, sizeof l.http_params, "alarm_chnIn%d_http_notification_params", index);
  return l;
}

namespace {

struct ScheduleAccess {
  int (*read_in)(const char *, schedule *, int);
  int (*write_in)(const char *, const schedule *, int);
  int (*copy_in)(const char *, const schedule *, uint64_t);
  int (*read_cam)(const char *, schedule *, int, int);
  int (*write_cam)(const char *, const schedule *, int, int);
  int (*copy_cam)(const char *, const schedule *, int, uint64_t);
};

const ScheduleAccess &access_of(LinkageSchedule which) {
  static const ScheduleAccess table[] = {
      {read_alarmin_effective_schedule, write_alarmin_effective_schedule,
       copy_alarmin_effective_schedules, read_alarm_chnIn_effective_schedule,
       write_alarm_chnIn_effective_schedule, copy_alarm_chnIn_effective_schedules},
      {read_alarmin_audible_schedule, write_alarmin_audible_schedule,
       copy_alarmin_audible_schedules, read_alarm_chnIn_audible_schedule,
       write_alarm_chnIn_audible_schedule, copy_alarm_chnIn_audible_schedules},
      {read_alarmin_email_schedule, write_alarmin_email_schedule, copy_alarmin_email_schedules,
       read_alarm_chnIn_email_schedule, write_alarm_chnIn_email_schedule,
       copy_alarm_chnIn_email_schedules},
      {read_alarmin_ptz_schedule, write_alarmin_ptz_schedule, copy_alarmin_ptz_schedules,
       read_alarm_chnIn_ptz_schedule, write_alarm_chnIn_ptz_schedule,
       copy_alarm_chnIn_ptz_schedules},
  };
  return table[(int)which];
}

constexpr struct {
  const char *key;
  LinkageSchedule which;
} kScheduleKeys[] = {
    {"effective", LinkageSchedule::effective},
    {"audible", LinkageSchedule::audible},
    {"email", LinkageSchedule::email},
    {"ptz", LinkageSchedule::ptz},
};

int write_linkage_schedule(const Linkage &l, LinkageSchedule which, const schedule *s) {
  const ScheduleAccess &a = access_of(which);
  return l.index < 0 ? a.write_in(KXDB_FILE, s, l.key) : a.write_cam(KXDB_FILE, s, l.key, l.index);
}

int copy_linkage_schedule(const Linkage &l, LinkageSchedule which, const schedule *s,
                          uint64_t mask) {
  const ScheduleAccess &a = access_of(which);
  return l.index < 0 ? a.copy_in(KXDB_FILE, s, mask) : a.copy_cam(KXDB_FILE, s, l.index, mask);
}

// The effective schedule is the plain form, the others the extended form
// (the two read the same shape).
bool store_schedules(json_object *dialog, const Linkage &l) {
  schedule s;
  for (const auto &k : kScheduleKeys) {
    int rc = k.which == LinkageSchedule::effective ? get_schedule_by_json(dialog, k.key, &s)
                                                   : get_schedule_by_json_ex(dialog, k.key, &s);
    if (rc != 0) continue;  // absent: kept
    if (write_linkage_schedule(l, k.which, &s) != 0) return false;
  }
  if (get_schedule_by_json(dialog, "white", &s) == 0 &&
      write_whiteled_effective_schedule(KXDB_FILE, &s, l.key, l.white_schedule) != 0) {
    return false;
  }
  return get_schedule_by_json(dialog, "httpSche", &s) != 0 ||
         write_http_notification_schedule(KXDB_FILE, &s, l.http_schedule, l.key) == 0;
}

bool store_params(json_object *dialog, const Linkage &l) {
  whiteled_params block[WHITELED_BLOCK_RECORDS];
  if (get_white_params_by_json(l.key, block, dialog, "whiteInfo") == 0 &&
      write_whiteled_params_all(KXDB_FILE, block, l.white_params, l.key) != 0) {
    return false;
  }
  http_notification_params http;
  return get_http_params_by_json(l.key, &http, dialog, "httpParams") != 0 ||
         write_http_notification_params(KXDB_FILE, &http, l.http_params) == 0;
}

// 1 stored, 0 not given (or no list for the key), -1 when the write failed.
int store_ptz_list(json_object *dialog, const Linkage &l) {
  json_object *list = json_member(dialog, "ptzParams");
  if (!list || !json_object_is_type(list, json_type_array)) return 0;
  if (l.key >= ACTION_LIST_KEYS) return 0;
  ptz_action_params records[PTZ_ACTION_MAX];
  if (get_ptz_params_by_json(l.key, l.ptz_type, list, records) != 0) return 0;
  return write_ptz_params_all(KXDB_FILE, records, l.ptz_type, l.key) == 0 ? 1 : -1;
}

}  // namespace

int read_linkage_schedule(const Linkage &l, LinkageSchedule which, schedule *s) {
  const ScheduleAccess &a = access_of(which);
  return l.index < 0 ? a.read_in(KXDB_FILE, s, l.key) : a.read_cam(KXDB_FILE, s, l.key, l.index);
}

int store_linkage(json_object *dialog, const Linkage &l) {
  if (!store_schedules(dialog, l) || !store_params(dialog, l)) return -1;
  return store_ptz_list(dialog, l);
}

namespace {

// A source that cannot be read is not copied as zeros: the copy fails.
bool copy_schedules(const Linkage &l, uint64_t mask) {
  schedule s;
  for (const auto &k : kScheduleKeys) {
    memset(&s, 0, sizeof s);
    if (read_linkage_schedule(l, k.which, &s) != 0) return false;
    if (copy_linkage_schedule(l, k.which, &s, mask) != 0) return false;
  }
  memset(&s, 0, sizeof s);
  if (read_whiteled_effective_schedule(KXDB_FILE, &s, l.key, l.white_schedule) != 0 ||
      copy_whiteled_effective_schedules(KXDB_FILE, &s, l.white_schedule, mask) != 0) {
    return false;
  }
  memset(&s, 0, sizeof s);
  return read_http_notification_schedule(KXDB_FILE, &s, l.http_schedule, l.key) == 0 &&
         copy_http_notification_schedules(KXDB_FILE, &s, l.http_schedule, mask) == 0;
}

bool copy_params(const Linkage &l, uint64_t mask) {
  http_notification_params http = {};
  if (read_http_notification_params(KXDB_FILE, &http, l.key, l.http_params) != 0 ||
      copy_http_notification_params(KXDB_FILE, &http, l.http_params, mask) != 0) {
    return false;
  }
  if (l.key >= ACTION_LIST_KEYS) return true;  // no white light, no PTZ list to copy
  uint64_t lists = mask & ((1ULL << ACTION_LIST_KEYS) - 1);
  whiteled_params white[WHITELED_PER_CHANNEL] = {};
  int count = 0;
  if (read_whiteled_params(KXDB_FILE, white, l.key, l.white_params, &count) != 0 ||
      copy_whiteled_params(KXDB_FILE, white, l.white_params, lists) != 0) {
    return false;
  }
  ptz_action_params ptz[PTZ_ACTION_MAX] = {};
  return read_ptz_params(KXDB_FILE, ptz, l.ptz_type, l.key, &count) == 0 &&
         copy_ptz_params_all(KXDB_FILE, ptz, l.ptz_type, lists) == 0;
}

}  // namespace

bool copy_linkage(const Linkage &l, uint64_t mask) {
  return copy_schedules(l, mask) && copy_params(l, mask);
}

// ---- Reply members ----

void add_schedule(json_object *reply, const char *key, const Linkage &l, LinkageSchedule which) {
  schedule s = {};
  read_linkage_schedule(l, which, &s);  // a failed read shows the empty schedule
  json_object_object_add(reply, key,
                         which == LinkageSchedule::effective ? get_schedule_json_object(&s)
                                                             : get_schedule_json_object_ex(&s));
}

void add_white(json_object *reply, const Linkage &l) {
  schedule s = {};
  read_whiteled_effective_schedule(KXDB_FILE, &s, l.key, l.white_schedule);
  json_object_object_add(reply, "white", get_schedule_json_object_ex(&s));
  json_object_object_add(reply, "whiteInfo", get_white_params_json_object(l.key, l.white_params));
}

void add_http(json_object *reply, const Linkage &l) {
  schedule s = {};
  read_http_notification_schedule(KXDB_FILE, &s, l.http_schedule, l.key);
  json_object_object_add(reply, "httpSche", get_schedule_json_object(&s));
  json_object_object_add(reply, "httpParams", get_http_params_json_object(l.key, l.http_params));
}

void add_alarm_outputs(json_object *reply, const char (&texts)[2][ALARM_CHANNELS_SIZE]) {
  json_object_object_add(reply, "triChnAlarms",
                         get_event_chn_alarmout_object(field_text(texts[0]).c_str(),
                                                       field_text(texts[1]).c_str()));
}

void add_ptz_params(json_object *reply, const Linkage &l) {
  json_object_object_add(reply, "ptzParams", get_ptz_params_json_object(l.ptz_type, l.key));
}

}  // namespace alarms
