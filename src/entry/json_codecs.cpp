#include "json_codecs.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cgi_ipc.h"
#include "kxdb.h"

json_object *json_member(json_object *object, const char *key) {
  json_object *value = nullptr;
  if (!object || !key || !json_object_object_get_ex(object, key, &value)) return nullptr;
  return value;
}

void json_copy_text(json_object *value, char *field, size_t size) {
  const char *text = value ? json_object_get_string(value) : "";
  snprintf(field, size, "%s", text ? text : "");
}

int json_writeback(int mode, json_object *object) {
  return cgi_writeback_webserver(mode, json_object_to_json_string(object));
}

namespace {

// A plan time as the daemon or the settings hold it: not always NUL-terminated
// within its field.
json_object *plan_time(const char *field, size_t size, bool empty) {
  return json_object_new_string_len(field, empty ? 0 : (int)strnlen(field, size));
}

json_object *plan_object(const schedule_plan &p, bool with_action, bool empty) {
  json_object *o = json_object_new_object();
  json_object_object_add(o, "startTime", plan_time(p.start_time, sizeof p.start_time, empty));
  json_object_object_add(o, "endTime", plan_time(p.end_time, sizeof p.end_time, empty));
  if (with_action) json_object_object_add(o, "actionType", json_object_new_int(p.action_type));
  return o;
}

json_object *schedule_object(const schedule *s, bool ipc) {
  json_object *days = json_object_new_array();
  for (int d = 0; d < SCHEDULE_DAYS; d++) {
    json_object *day = json_object_new_array();
    bool empty = ipc && s->days[d].valid == 0;
    for (int p = 0; p < SCHEDULE_JSON_PLANS; p++) {
      json_object_array_add(day, plan_object(s->days[d].plans[p], !ipc, empty));
    }
    json_object_array_add(days, day);
  }
  return days;
}

// Positional plans [start, end, action]; missing elements read as empty.
int schedule_from_json(json_object *object, const char *key, schedule *s, bool ipc) {
  if (!object || !key || !s) return -1;
  json_object *days = json_member(object, key);
  if (!days) return -1;
  memset(s, 0, sizeof *s);
  int day_count = ipc ? SCHEDULE_IPC_DAYS : SCHEDULE_DAYS;
  int plan_count = ipc ? SCHEDULE_IPC_JSON_PLANS : SCHEDULE_JSON_PLANS;
  for (int d = 0; d < day_count; d++) {
    json_object *day = array_at(days, d);
    for (int p = 0; p < plan_count; p++) {
      json_object *plan = array_at(day, p);
      schedule_plan &out = s->days[d].plans[p];
      if (json_object *v = array_at(plan, 0)) json_copy_text(v, out.start_time, sizeof out.start_time);
      if (json_object *v = array_at(plan, 1)) json_copy_text(v, out.end_time, sizeof out.end_time);
      if (!ipc) out.action_type = element_int(plan, 2);
    }
    if (ipc) s->days[d].valid = 1;
  }
  return 0;
}

json_object *white_object(const whiteled_params &r) {
  json_object *o = json_object_new_object();
  json_object_object_add(o, "chnid", json_object_new_int(r.chnid));
  json_object_object_add(o, "mode", json_object_new_int(r.mode));
  json_object_object_add(o, "time", json_object_new_int(r.time));
  return o;
}

json_object *white_array(const whiteled_params *records, int count) {
  json_object *a = json_object_new_array();
  for (int i = 0; i < count && i < WHITELED_PER_CHANNEL; i++) {
    json_object_array_add(a, white_object(records[i]));
  }
  return a;
}

// Fills records from the array member `key`: objects {"chnid","mode","time"}
// when the array's text names "chnid", else positional [chnid, mode, time].
int white_from_json(int channel, whiteled_params *records, json_object *object, const char *key) {
  json_object *array = json_member(object, key);
  if (!array || !records) return -1;
  bool named = strstr(json_object_to_json_string(array), "chnid") != nullptr;
  for (int i = 0; i < WHITELED_PER_CHANNEL; i++) {
    json_object *e = array_at(array, i);
    if (!e) break;
    whiteled_params &r = records[i];
    r.channel = channel;
    if (named) {
      json_object *v;
      r.chnid = (v = json_member(e, "chnid")) ? json_object_get_int(v) : 0;
      r.mode = (v = json_member(e, "mode")) ? json_object_get_int(v) : 0;
      r.time = (v = json_member(e, "time")) ? json_object_get_int(v) : 0;
    } else {
      r.chnid = element_int(e, 0);
      r.mode = element_int(e, 1);
      r.time = element_int(e, 2);
    }
  }
  return 0;
}

}  // namespace

json_object *get_schedule_json_object(const schedule *s) {
  return schedule_object(s, false);
}
int get_schedule_by_json(json_object *object, const char *key, schedule *s) {
  return schedule_from_json(object, key, s, false);
}
json_object *get_schedule_json_object_ex(const schedule *s) {
  return schedule_object(s, false);
}
int get_schedule_by_json_ex(json_object *object, const char *key, schedule *s) {
  return schedule_from_json(object, key, s, false);
}
json_object *get_schedule_json_object_ipc(const schedule *s) {
  return schedule_object(s, true);
}
int get_schedule_by_json_ipc(json_object *object, const char *key, schedule *s) {
  return schedule_from_json(object, key, s, true);
}

uint64_t get_copy_flag_by_json(json_object *object, const char *list_key, const char *count_key) {
  int count = member_int(object, count_key);
  json_object *list = json_member(object, list_key);
  uint64_t mask = 0;
  int length = list && json_object_is_type(list, json_type_array) ? (int)json_object_array_length(list) : 0;
  for (int i = 0; i < count && i < length; i++) {
    json_object *v = array_at(list, i);
    if (!v) continue;
    int ch = json_object_get_int(v);
    if (ch >= 0 && ch <= 63) mask |= 1ULL << ch;
  }
  return mask;
}

json_object *get_event_chn_alarmout_object(const char *first, const char *second) {
  json_object *a = json_object_new_array();
  json_object_array_add(a, json_object_new_string(first ? first : ""));
  json_object_array_add(a, json_object_new_string(second ? second : ""));
  return a;
}

int get_event_chn_alarmout_by_object(int channel, json_object *object, const char *key,
                                     event_alarmout_name *pair) {
  json_object *array = json_member(object, key);
  if (!pair || !array) return -1;
  for (int i = 0; i < 2; i++) {
    json_object *v = array_at(array, i);
    if (!v) continue;
    pair[i].channel = channel;
    pair[i].index = i;
    json_copy_text(v, pair[i].name, sizeof pair[i].name);
  }
  return 0;
}

int get_smart_event_ptz_type(int index) {
  return index >= 0 && index <= 8 ? 5 + index : -1;
}

json_object *get_pcnt_white_params_json_object(int channel) {
  whiteled_params records[WHITELED_PER_CHANNEL] = {};
  int count = 0;
  read_peoplecnt_wled_params(KXDB_FILE, records, channel, &count);
  return white_array(records, count);
}

int get_pcnt_white_params_by_json(int channel, whiteled_params *records, json_object *object,
                                  const char *key) {
  return white_from_json(channel, records, object, key);
}

json_object *get_white_params_json_object(int channel, const char *table_name) {
  whiteled_params block[WHITELED_BLOCK_RECORDS] = {};
  char table[64];
  snprintf(table, sizeof table, "%s", table_name ? table_name : "");
  int count = 0;
  if (channel >= 0 && channel < WHITELED_CHANNELS) {
    read_whiteled_params(KXDB_FILE, block + channel * WHITELED_PER_CHANNEL, channel, table,
                         &count);
    return white_array(block + channel * WHITELED_PER_CHANNEL, count);
  }
  return json_object_new_array();
}

int get_white_params_by_json(int channel, whiteled_params *block, json_object *object,
                             const char *key) {
  if (!block || channel < 0 || channel >= WHITELED_CHANNELS) return -1;
  memset(block, 0, sizeof *block * WHITELED_BLOCK_RECORDS);
  return white_from_json(channel, block + channel * WHITELED_PER_CHANNEL, object, key);
}

json_object *get_http_params_json_object(int channel, const char *table_name) {
  http_notification_params r = {};
  read_http_notification_params(KXDB_FILE, &r, channel, table_name);
  json_object *o = json_object_new_object();
  json_object_object_add(o, "chnId", json_object_new_int(channel));
  json_object_object_add(o, "url", json_object_new_string(r.url));
  json_object_object_add(o, "username", json_object_new_string(r.username));
  json_object_object_add(o, "password", json_object_new_string(r.password));
  return o;
}

int get_http_params_by_json(int channel, http_notification_params *record, json_object *object,
                            const char *key) {
  json_object *params = json_member(object, key);
  if (!record || !params) return -1;
  memset(record, 0, sizeof *record);
  record->channel = channel;
  json_copy_text(json_member(params, "url"), record->url, sizeof record->url);
  json_copy_text(json_member(params, "username"), record->username, sizeof record->username);
  json_copy_text(json_member(params, "password"), record->password, sizeof record->password);
  return 0;
}

int get_ptz_params_by_json(int channel, int event_type, json_object *array,
                           ptz_action_params *records) {
  if (channel > 15 || channel < 0 || !array || !records) return -1;
  ptz_action_params work[PTZ_ACTION_MAX] = {};
  for (int i = 0; i < PTZ_ACTION_MAX; i++) {
    json_object *e = array_at(array, i);
    if (!e) break;
    work[i].chn_id = channel;
    work[i].acto_ptz_channel = member_int(e, "acto_ptz_channel");
    work[i].acto_ptz_type = member_int(e, "acto_ptz_type");
    work[i].acto_ptz_preset = member_int(e, "acto_ptz_preset");
    work[i].acto_ptz_patrol = member_int(e, "acto_ptz_patrol");
    work[i].acto_ptz_pattern = member_int(e, "acto_ptz_pattern");
  }
  memcpy(records, work, sizeof work);
  return 0;
}

int set_ptz_params_by_json(int channel, int event_type, json_object *array) {
  ptz_action_params records[PTZ_ACTION_MAX];
  if (get_ptz_params_by_json(channel, event_type, array, records) != 0) return 0;
  int rc = event_type == PTZ_EVENT_PEOPLECNT
               ? write_peoplecnt_ptz_params_ex(KXDB_FILE, records, channel)
               : write_ptz_params_all(KXDB_FILE, records, event_type, channel);
  return rc == 0 ? 1 : 0;
}

json_object *get_ptz_params_json_object(int event_type, int channel) {
  ptz_action_params list[PTZ_ACTION_MAX] = {};
  int count = 0;
  if (event_type == PTZ_EVENT_PEOPLECNT) {
    read_peoplecnt_ptz_params(KXDB_FILE, list, channel, &count);
    if (count > PEOPLECNT_PTZ_ACTION_MAX) count = PEOPLECNT_PTZ_ACTION_MAX;
  } else {
    read_ptz_params(KXDB_FILE, list, event_type, channel, &count);
  }
  json_object *a = json_object_new_array();
  for (int i = 0; i < count && i < PTZ_ACTION_MAX; i++) {
    if (list[i].acto_ptz_channel <= 0) continue;
    json_object *o = json_object_new_object();
    json_object_object_add(o, "acto_ptz_channel", json_object_new_int(list[i].acto_ptz_channel));
    json_object_object_add(o, "acto_ptz_type", json_object_new_int(list[i].acto_ptz_type));
    json_object_object_add(o, "acto_ptz_preset", json_object_new_int(list[i].acto_ptz_preset));
    json_object_object_add(o, "acto_ptz_patrol", json_object_new_int(list[i].acto_ptz_patrol));
    json_object_array_add(a, o);
  }
  return a;
}

json_object *get_request_tokener_json_object(const char *text) {
  return text ? json_tokener_parse(text) : nullptr;
}

int on_cgi_get_value_by_json(const char *text, const char *key, int *out) {
  if (!text || !key || !out) return -1;
  JsonPtr root(json_tokener_parse(text));
  return on_cgi_get_int_from_json(root.get(), key, out);
}

int on_cgi_get_int_from_json(json_object *object, const char *key, int *out) {
  json_object *v = json_member(object, key);
  if (!v || !out) return -1;
  *out = json_object_get_int(v);
  return 0;
}

int on_cgi_get_string_from_json(json_object *object, const char *key, char *buffer, int size) {
  json_object *v = json_member(object, key);
  if (!v || !buffer || size <= 0) return -1;
  json_copy_text(v, buffer, (size_t)size);
  return 0;
}

bool on_cgi_is_kx_lpr(int model) {
  return model >= 11 && model <= 14;
}

int get_section_info(const char *text, const char *pattern, char *out, int count) {
  if (!text || !pattern || !out || !pattern[0] || count <= 0) return -1;
  const char *p = strstr(text, pattern);
  if (!p) return -1;
  p += strlen(pattern);
  int n = 0;
  while (n < count - 1 && p[n] && p[n] != '?') {
    out[n] = p[n];
    n++;
  }
  out[n] = '\0';
  return 0;
}

bool has_member(json_object *object, const char *key) {
  return json_member(object, key) != nullptr;
}

int member_int(json_object *object, const char *key, int fallback) {
  json_object *value = json_member(object, key);
  return value ? json_object_get_int(value) : fallback;
}

void member_text(json_object *object, const char *key, char *field, size_t size) {
  json_copy_text(json_member(object, key), field, size);
}

int array_length(json_object *array) {
  if (!array || !json_object_is_type(array, json_type_array)) return 0;
  size_t n = json_object_array_length(array);
  return n > (size_t)INT_MAX ? INT_MAX : (int)n;
}

json_object *array_at(json_object *array, int i) {
  if (i < 0 || i >= array_length(array)) return nullptr;
  return json_object_array_get_idx(array, (size_t)i);
}

int element_int(json_object *array, int i) {
  json_object *value = array_at(array, i);
  return value ? json_object_get_int(value) : 0;
}

int bare_number(const char *text) {
  if (!text) return 0;
  long long value = strtoll(text, nullptr, 10);  // saturates at the long long range
  return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : (int)value;
}

bool bare_number(const char *text, int *value) {
  if (!text) return false;
  const char *p = text;
  while (isspace((unsigned char)*p)) p++;
  if (*p == '+' || *p == '-') p++;
  if (!isdigit((unsigned char)*p)) return false;
  *value = bare_number(text);
  return true;
}

std::string field_text(const char *field, size_t width) {
  return std::string(field, strnlen(field, width));
}

json_object *json_field_string(const char *field, size_t size) {
  return json_object_new_string_len(field, (int)strnlen(field, size));
}

void json_add_int(json_object *object, const char *key, int value) {
  json_object_object_add(object, key, json_object_new_int(value));
}

void json_add_text(json_object *object, const char *key, const std::string &text) {
  json_object_object_add(object, key, json_object_new_string(text.c_str()));
}
