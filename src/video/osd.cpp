// The recorder's OSD of a channel ("/6000" to "/6002") and the cameras' own
// OSD texts ("/6996", "/6997").
#include "osd.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "video_util.h"

using namespace video;

namespace {

constexpr int OSD_RENAME_LENGTH = 31;  // the rename page's longest name

// A position as a JSON number that reads back as the same double: the
// shortest of 15 to 17 significant digits that does, always with a
// fraction or an exponent. A stored value that is no number shows as 0.0.
json_object *position_number(double value) {
  if (!std::isfinite(value)) value = 0.0;
  char text[40];
  for (int digits = 15; digits <= 17; digits++) {
    snprintf(text, sizeof text, "%.*g", digits, value);
    if (strtod(text, nullptr) == value) break;
  }
  if (!strpbrk(text, ".e")) strncat(text, ".0", sizeof text - strlen(text) - 1);
  return json_object_new_double_s(value, text);
}

// The stored OSD of a channel, or the zeroed one when it cannot be read;
// either way it carries the channel.
osd_params stored_osd(int channel) {
  osd_params osd = {};
  read_osd(KXDB_FILE, &osd, channel);
  osd.camId = channel;
  return osd;
}

bool below(json_object *json, const char *key, int limit) {
  return has_member(json, key) && member_int(json, key) < limit;
}

// Present, a number (or a text of one) and not negative. Infinity and NaN
// are refused: they would make the page's read no JSON.
bool position_ok(json_object *json, const char *key) {
  if (!has_member(json, key)) return false;
  double value = json_object_get_double(json_member(json, key));
  return std::isfinite(value) && value >= 0;
}

double member_double(json_object *json, const char *key) {
  return json_object_get_double(json_member(json, key));
}

void reply_error_text() {
  cgi_error_to_webserver(CGI_REPLY_TEXT);
}

void add_position(json_object *reply, const char *key, double value) {
  json_object_object_add(reply, key, position_number(value));
}

}  // namespace

namespace video {

int ask_camera_channel(const char *text, const char *key, int code) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int32_t channel = member_int(root.get(), key);
  cgi_exchange(on_video_ipc_callback, code, &channel, sizeof channel, CGI_REPLY_TEXT);
  return 0;
}

}  // namespace video

// The request is the channel as text; strtol reads what is no number as 0.
int on_get_osd_info(char *text) {
  int channel;
  if (!text_channel(text ? text : "", &channel)) return -1;
  osd_params osd = stored_osd(channel);
  JsonPtr reply(json_object_new_object());
  json_object *r = reply.get();
  json_add_int(r, "camId", osd.camId);
  json_add_text(r, "camName", field_text(osd.camName));
  json_add_int(r, "showName", osd.showName);
  json_add_int(r, "showDate", osd.showDate);
  json_add_int(r, "showWeek", osd.showWeek);
  json_add_int(r, "dateFormat", osd.dateFormat);
  json_add_int(r, "timeFormat", osd.timeFormat);
  add_position(r, "datePosX", osd.datePosX);
  add_position(r, "datePosY", osd.datePosY);
  add_position(r, "namePosX", osd.namePosX);
  add_position(r, "namePosY", osd.namePosY);
  json_add_int(r, "alpha", osd.alpha);
  json_writeback(CGI_REPLY_JSON, r);
  return 0;
}

int check_osd_info(json_object *json) {
  int channel;
  if (!member_channel(json, "camId", &channel)) return -1;
  if (!has_member(json, "camName")) return -1;
  for (const char *key : {"showName", "showDate", "showWeek", "timeFormat"}) {
    if (!below(json, key, 2)) return -1;
  }
  if (!below(json, "dateFormat", 4)) return -1;
  for (const char *key : {"datePosX", "datePosY", "namePosX", "namePosY"}) {
    if (!position_ok(json, key)) return -1;
  }
  if (!has_member(json, "alpha") || member_int(json, "alpha") < 0) return -1;
  return 0;
}

int on_set_osd_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || check_osd_info(root.get()) != 0) return -1;
  json_object *json = root.get();
  int channel = member_int(json, "camId");
  osd_params osd = stored_osd(channel);
  memset(osd.camName, 0, sizeof osd.camName);
  member_text(json, "camName", osd.camName, sizeof osd.camName);
  osd.showName = member_int(json, "showName");
  osd.showDate = member_int(json, "showDate");
  osd.showWeek = member_int(json, "showWeek");
  osd.dateFormat = member_int(json, "dateFormat");
  osd.timeFormat = member_int(json, "timeFormat");
  osd.datePosX = member_double(json, "datePosX");
  osd.datePosY = member_double(json, "datePosY");
  osd.namePosX = member_double(json, "namePosX");
  osd.namePosY = member_double(json, "namePosY");
  osd.alpha = member_int(json, "alpha");
  if (write_osd(KXDB_FILE, &osd) != 0) {
    reply_error_text();
    return -1;
  }
  osd_notice notice = {channel, OSD_NOTICE_CHANGED, 0};
  cgi_send_notice(OSD_CHANGED_NOTICE, &notice, sizeof notice);
  reply_text("OK");
  return 0;
}

// A "camId" that is no channel writes nothing: the record read for it would
// be channel 0's key, and channel 0 would lose its settings.
int OnSetOSDName(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int channel;
  if (!root || !member_channel(root.get(), "camId", &channel)) return -1;
  osd_params osd = stored_osd(channel);
  memset(osd.camName, 0, sizeof osd.camName);
  member_text(root.get(), "camName", osd.camName, OSD_RENAME_LENGTH + 1);
  if (write_osd(KXDB_FILE, &osd) != 0) {
    reply_error_text();
    return -1;
  }
  reply_text("OK");
  return 0;
}

int check_osdconfig_info(json_object *json) {
  for (const char *key : {"ch", "enable_text", "text_name", "textpos", "enable_date", "datepos",
                          "dateformat", "fontSize"}) {
    if (!has_member(json, key)) return -1;
  }
  return 0;
}

int on_set_osdconfig(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || check_osdconfig_info(root.get()) != 0) return -1;
  json_object *json = root.get();
  camera_osd osd = {};
  osd.type = member_int(json, "type");
  osd.ch = member_int(json, "ch");
  osd.enable_text = member_int(json, "enable_text");
  member_text(json, "text_name", osd.text_name, sizeof osd.text_name);
  osd.textpos = member_int(json, "textpos");
  osd.enable_date = member_int(json, "enable_date");
  osd.datepos = member_int(json, "datepos");
  osd.dateformat = member_int(json, "dateformat");
  osd.fontSize = member_int(json, "fontSize");
  osd.enable_text_sub = member_int(json, "enable_text_sub");
  member_text(json, "text_name_sub", osd.text_name_sub, sizeof osd.text_name_sub);
  osd.textpos_sub = member_int(json, "textpos_sub");
  osd.enable_date_sub = member_int(json, "enable_date_sub");
  osd.datepos_sub = member_int(json, "datepos_sub");
  osd.dateformat_sub = member_int(json, "dateformat_sub");
  osd.fontSizeSub = member_int(json, "fontSizeSub");
  cgi_exchange(on_video_ipc_callback, CAMERA_OSD_SET, &osd, sizeof osd, CGI_REPLY_TEXT);
  return 0;
}

void on_set_osdconfig_cb(const void *payload, int length) {
  int32_t verdict;
  if (!cgi_answer_status(payload, length, &verdict)) return;
  const char *reply = verdict == CAMERA_OSD_APPLIED       ? "OK"
                      : verdict == CAMERA_OSD_UNSUPPORTED ? "NO_SUPPORT"
                                                          : "ERROR";
  cgi_reply_done(CGI_REPLY_TEXT, reply);
}

int on_get_osdconfig(char *text) {
  return ask_camera_channel(text, "id", CAMERA_OSD_GET);
}

// Only whole records count; the first one answers.
void on_get_osdconfig_cb(const void *payload, int length) {
  if (length / (int)sizeof(camera_osd) <= 0) {
    cgi_reply_done(CGI_REPLY_TEXT, "CGI ERROR");
    return;
  }
  camera_osd osd;
  memcpy(&osd, payload, sizeof osd);
  JsonPtr reply(json_object_new_object());
  json_object *r = reply.get();
  if (osd.ch >= 0) {
    json_add_int(r, "enable_text", osd.enable_text);
    json_add_text(r, "text_name", field_text(osd.text_name));
    json_add_int(r, "textpos", osd.textpos);
    json_add_int(r, "enable_date", osd.enable_date);
    json_add_int(r, "datepos", osd.datepos);
    json_add_int(r, "dateformat", osd.dateformat);
    json_add_int(r, "enable_text_sub", osd.enable_text_sub);
    json_add_text(r, "text_name_sub", field_text(osd.text_name_sub));
    json_add_int(r, "textpos_sub", osd.textpos_sub);
    json_add_int(r, "enable_date_sub", osd.enable_date_sub);
    json_add_int(r, "datepos_sub", osd.datepos_sub);
    json_add_int(r, "dateformat_sub", osd.dateformat_sub);
  }
  json_add_int(r, "disconnect", osd.ch >= 0 ? 1 : 0);
  json_writeback(CGI_REPLY_JSON, r);
  g_callback_done = 1;
}
