// People counting ("/2066" to "/2072"): the settings of the 9 counting
// groups, what a group's count sets off, and the resets of its counters;
// and the scheduled report backups ("/2075", "/2076").
#include <cstring>

#include "analytics_records.h"
#include "analytics_util.h"
#include "kxdb_motion.h"
#include "kxdb_peoplecnt.h"

using namespace camera;

namespace {

int read_http_schedule(const char *file, schedule *s, int group) {
  return read_http_notification_schedule(file, s, PEOPLECNT_HTTP_SCHEDULE, group);
}
int write_http_schedule(const char *file, const schedule *s, int group) {
  return write_http_notification_schedule(file, s, PEOPLECNT_HTTP_SCHEDULE, group);
}

// No arming schedule of its own: "effective" shows the audible one and a
// request's "effective" is not stored.
const LinkageSchedule kSchedules[] = {
    {"effective", read_peoplecnt_audible_schedule, nullptr},
    {"audible", read_peoplecnt_audible_schedule, write_peoplecnt_audible_schedule},
    {"email", read_peoplecnt_email_schedule, write_peoplecnt_email_schedule},
    {"ptz", read_peoplecnt_ptz_schedule, write_peoplecnt_ptz_schedule},
    {"white", read_peoplecnt_white_schedule, write_peoplecnt_white_schedule},
    {"httpSche", read_http_schedule, write_http_schedule},
};

const LinkageSource kLinkage = {PTZ_EVENT_PEOPLECNT, read_peoplecnt_event, write_peoplecnt_event,
                                kSchedules, nullptr, PEOPLECNT_HTTP_PARAMS};

const char *const kActionKeys[] = {
    "chnid",        "triAlarms", "interval",          "email_interval", "email_pic_enable",
    "tri_channels_pic", "ptz_interval", "alarmout_interval", "white_interval", "effective",
    "audible",      "email",     "ptz",               "triChnAlarms",   "white",
    "whiteInfo",    "audioId",   "audioIdMask",       "ptzParams"};
// "/2069" shows every key but the PTZ list; the dialog of "/2066" adds it.
constexpr std::span<const char *const> kDialogKeys(kActionKeys);
constexpr std::span<const char *const> kGroupActionKeys = kDialogKeys.first(18);

using G = peoplecnt_settings;
// The stored groupid is kept: it has no request key.
const JsonField kGroupFields[] = {
    CAMERA_INT(G, groupid, "groupid", nullptr), CAMERA_INT_KEY(G, enable),
    CAMERA_INT_KEY(G, stays),                   CAMERA_INT_KEY(G, liveview_auto_reset),
    CAMERA_INT_KEY(G, auto_day),                CAMERA_INT_KEY(G, liveview_font_size),
    CAMERA_TEXT_KEY(G, name),                   CAMERA_TEXT_KEY(G, auto_day_time),
    CAMERA_TEXT_KEY(G, tri_channels),           CAMERA_TEXT_KEY(G, liveview_green_tips),
    CAMERA_TEXT_KEY(G, liveview_red_tips),
};

using R = peoplecnt_report;
const JsonField kReportFields[] = {
    CAMERA_INT_KEY(R, reportType),      CAMERA_INT_KEY(R, enable),
    CAMERA_TEXT_KEY(R, triChannels),    CAMERA_TEXT_KEY(R, triGroups),
    CAMERA_INT_KEY(R, stayLengthType),  CAMERA_INT_KEY(R, stayLengthValue),
    CAMERA_INT_KEY(R, backupDay),       CAMERA_TEXT_KEY(R, backupTime),
    CAMERA_INT_KEY(R, fileFormat),      CAMERA_INT_KEY(R, timeRange),
    CAMERA_INT_KEY(R, backupTo),        CAMERA_INT_KEY(R, lineMask),
};

// Each object element of `key` (at most `count`) sets record i; elements
// the array does not hold leave their records as they are.
template <class Record>
void fill_from_array(json_object *root, const char *key, Record *records, int count,
                     std::span<const JsonField> fields) {
  json_object *list = json_member(root, key);
  int n = array_length(list);
  for (int i = 0; i < n && i < count; i++) {
    json_object *entry = array_at(list, i);
    if (json_object_is_type(entry, json_type_object)) fill_record(entry, &records[i], fields);
  }
}

void send_group(int code, int group) {
  int32_t payload = group;
  exchange_json(code, &payload, sizeof payload);
}

int reset_group(char *text, int code) {
  int group;
  if (!request_with_id(text, "groupid", PEOPLECNT_GROUPS, &group)) return -1;
  send_group(code, group);
  return 0;
}

}  // namespace

int on_cgi_get_peoplecnt_settings(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return reply_json_error();
  bool dialog = member_int(root.get(), "action") != 0;
  peoplecnt_settings groups[PEOPLECNT_GROUPS] = {};
  for (int g = 0; g < PEOPLECNT_GROUPS; g++) groups[g].groupid = g;
  read_peoplecnt_settings(KXDB_FILE, groups, nullptr);
  JsonPtr reply(json_object_new_object());
  json_object *list = json_object_new_array();
  json_object_object_add(reply.get(), "groups", list);
  for (int g = 0; g < PEOPLECNT_GROUPS; g++) {
    json_object *o = json_object_new_object();
    add_record(o, groups[g], kGroupFields);
    if (dialog) json_object_object_add(o, "dialog", get_linkage_json_object(kLinkage, g, kDialogKeys));
    json_object_array_add(list, o);
  }
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_cgi_set_peoplecnt_settings(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return reply_json_error();
  peoplecnt_settings groups[PEOPLECNT_GROUPS] = {};
  for (int g = 0; g < PEOPLECNT_GROUPS; g++) groups[g].groupid = g;
  read_peoplecnt_settings(KXDB_FILE, groups, nullptr);
  fill_from_array(root.get(), "groups", groups, PEOPLECNT_GROUPS, kGroupFields);
  if (write_peoplecnt_settings(KXDB_FILE, groups, PEOPLECNT_GROUPS) != 0) {
    return reply_json_error();
  }
  int32_t zero = 0;
  exchange_json(2290, &zero, sizeof zero);
  return 0;
}

int on_cgi_get_peoplecnt_action(char *text) {
  int group;
  if (!request_with_id(text, "groupid", PEOPLECNT_GROUPS, &group)) return -1;
  JsonPtr reply(get_linkage_json_object(kLinkage, group, kGroupActionKeys));
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_cgi_set_peoplecnt_action(char *text) {
  int group;
  JsonPtr root = request_with_id(text, "groupid", PEOPLECNT_GROUPS, &group);
  if (!root) return -1;
  if (set_linkage_by_json(kLinkage, group, root.get()) != 0) return reply_json_error();
  peoplecnt_action_notice notice = {group, -1};
  exchange_json(2293, &notice, sizeof notice);
  return 0;
}

int on_cgi_set_peoplecnt_db_reset(char *text) {
  return reset_group(text, 2291);
}

int on_cgi_set_peoplecnt_liveview_reset(char *text) {
  return reset_group(text, 2292);
}

int on_cgi_get_report_auto_backup(char *) {
  peoplecnt_report reports[PEOPLECNT_REPORTS] = {};
  read_report_auto_backup(KXDB_FILE, reports, nullptr);
  JsonPtr reply(json_object_new_object());
  json_object *list = json_object_new_array();
  json_object_object_add(reply.get(), "report", list);
  for (const peoplecnt_report &r : reports) {
    json_object *o = json_object_new_object();
    add_record(o, r, kReportFields);
    json_object_array_add(list, o);
  }
  json_add_int(reply.get(), "email", 1);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_cgi_set_report_auto_backup(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return reply_json_error();
  peoplecnt_report reports[PEOPLECNT_REPORTS] = {};
  read_report_auto_backup(KXDB_FILE, reports, nullptr);
  fill_from_array(root.get(), "report", reports, PEOPLECNT_REPORTS, kReportFields);
  if (write_report_auto_backup(KXDB_FILE, reports, PEOPLECNT_REPORTS) != 0) {
    return reply_json_error();
  }
  exchange_json(1423, nullptr, 0);
  return 0;
}

void on_cgi_set_report_auto_backup_cb(const void *, int) {
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "res", 0);
  reply_json(reply.get());
}
