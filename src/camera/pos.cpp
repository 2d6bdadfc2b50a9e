// POS connections ("/2073", "/2074"): the connection and overlay settings
// of the 8 connections and what a transaction sets off.
#include "analytics_util.h"
#include "kxdb_pos.h"

using namespace camera;

namespace {

template <int Kind>
int read_kind(const char *file, schedule *s, int id) {
  return read_pos_schedule(file, Kind, s, id);
}
template <int Kind>
int write_kind(const char *file, const schedule *s, int id) {
  return write_pos_schedule(file, Kind, s, id);
}
#define POS_SCHEDULE(key, kind) \
  LinkageSchedule { key, read_kind<kind>, write_kind<kind> }

const LinkageSchedule kSchedules[] = {
    POS_SCHEDULE("effective", POS_SCHEDULE_EFFECTIVE),
    POS_SCHEDULE("audible", POS_SCHEDULE_AUDIBLE),
    POS_SCHEDULE("email", POS_SCHEDULE_EMAIL),
    POS_SCHEDULE("ptz", POS_SCHEDULE_PTZ),
    POS_SCHEDULE("white", POS_SCHEDULE_WHITE),
    POS_SCHEDULE("httpSche", POS_SCHEDULE_HTTP),
};

constexpr int kPtzEventPos = 21;  // event type of the POS PTZ action lists

const LinkageSource kLinkage = {kPtzEventPos, read_pos_event, write_pos_event, kSchedules,
                                POS_WHITE_PARAMS, POS_HTTP_PARAMS};

const char *const kActionKeys[] = {
    "effective",      "audible",          "interval",   "audioId",
    "email",          "email_interval",   "email_pic_enable", "tri_channels_pic",
    "ptz",            "ptz_interval",     "ptzParams",  "white",
    "whiteInfo",      "white_interval",   "httpSche",   "httpParams",
    "http_notification_interval", "alarmout_interval", "triAlarms", "triChannels",
    "triChnAlarms"};

using P = pos_setting;
const JsonField kSettingFields[] = {
    CAMERA_INT_KEY(P, id),
    CAMERA_INT_KEY(P, enable),
    CAMERA_TEXT_KEY(P, name),
    CAMERA_INT_KEY(P, protocol),
    CAMERA_INT_KEY(P, connectionMode),
    CAMERA_TEXT_KEY(P, ip),
    CAMERA_INT_KEY(P, liveviewDisplay),
    CAMERA_INT_KEY(P, displayChannel),
    CAMERA_INT_KEY(P, startX),
    CAMERA_INT_KEY(P, startY),
    CAMERA_INT_KEY(P, areaWidth),
    CAMERA_INT_KEY(P, areaHeight),
    CAMERA_INT_KEY(P, characterEncodeing),
    CAMERA_INT_KEY(P, fontSize),
    CAMERA_INT_KEY(P, fontColor),
    CAMERA_INT_KEY(P, overlayMode),
    CAMERA_INT_KEY(P, displayTime),
    CAMERA_INT_KEY(P, timeout),
    CAMERA_TEXT_KEY(P, privacy1),
    CAMERA_TEXT_KEY(P, privacy2),
    CAMERA_TEXT_KEY(P, privacy3),
    CAMERA_INT_KEY(P, port),
    CAMERA_INT_KEY(P, clearTime),
    CAMERA_INT_KEY(P, nvrPort),
};

// The setting record and, when the request has "action", the linkage, as
// one step. False when a write failed (nothing is kept then).
bool store_pos(json_object *root, int id) {
  return kxdb_transaction(KXDB_FILE, [&] {
           pos_setting setting = {};
           setting.id = id;
           read_pos_setting(KXDB_FILE, &setting, id);
           fill_record(root, &setting, kSettingFields);
           setting.id = id;
           json_object *action = json_member(root, "action");
           if (action && set_linkage_by_json(kLinkage, id, action) != 0) return false;
           return write_pos_setting(KXDB_FILE, &setting) == 0;
         }) == 0;
}

}  // namespace

int on_cgi_get_pos_info(char *text) {
  int id;
  if (!request_with_id(text, "id", POS_CONNECTIONS, &id)) return -1;
  pos_setting settings[POS_CONNECTIONS] = {};
  for (int i = 0; i < POS_CONNECTIONS; i++) settings[i].id = i;
  read_pos_settings(KXDB_FILE, settings, nullptr);
  JsonPtr reply(json_object_new_object());
  json_object *list = json_object_new_array();
  json_object_object_add(reply.get(), "pos", list);
  for (const pos_setting &s : settings) {
    json_object *o = json_object_new_object();
    add_record(o, s, kSettingFields);
    json_object_array_add(list, o);
  }
  json_object_object_add(reply.get(), "action", get_linkage_json_object(kLinkage, id, kActionKeys));
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_cgi_set_pos_info(char *text) {
  int id;
  JsonPtr root = request_with_id(text, "id", POS_CONNECTIONS, &id);
  if (!root) return -1;
  if (!store_pos(root.get(), id)) return reply_json_error();
  int32_t payload = id;
  exchange_json(1421, &payload, sizeof payload);
  return 0;
}
