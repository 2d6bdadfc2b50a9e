// "/6030", "/6031": the holiday list.
#include "record_util.h"

using namespace record;

namespace {

// The integer members of a holiday, in reply order after "id", "enable",
// "name" and "type", with their fields.
struct DatePart {
  const char *key;
  int32_t holiday_params::*field;
};
constexpr DatePart kDateParts[] = {
    {"startYear", &holiday_params::startYear}, {"startMon", &holiday_params::startMon},
    {"startMDay", &holiday_params::startMDay}, {"startMWeek", &holiday_params::startMWeek},
    {"startWDay", &holiday_params::startWDay}, {"endYear", &holiday_params::endYear},
    {"endMon", &holiday_params::endMon},       {"endMDay", &holiday_params::endMDay},
    {"endMWeek", &holiday_params::endMWeek},   {"endWDay", &holiday_params::endWDay},
};

json_object *holiday_object(const holiday_params &h) {
  json_object *o = json_object_new_object();
  json_add_int(o, "id", h.id);
  json_add_int(o, "enable", h.enable);
  json_add_text(o, "name", field_text(h.name));
  json_add_int(o, "type", h.type);
  for (const DatePart &part : kDateParts) json_add_int(o, part.key, h.*part.field);
  return o;
}

holiday_params holiday_from(json_object *request) {
  holiday_params h = {};
  h.id = member_int(request, "id");
  h.enable = member_int(request, "enable");
  json_copy_text(json_member(request, "name"), h.name, sizeof h.name);
  h.type = member_int(request, "type");
  for (const DatePart &part : kDateParts) h.*part.field = member_int(request, part.key);
  return h;
}

}  // namespace

int check_holiday_info(json_object *request) {
  if (!has_member(request, "id") || !has_member(request, "enable") ||
      !has_member(request, "type")) {
    return -1;
  }
  int id = member_int(request, "id");
  int enable = member_int(request, "enable");
  if (id < 0 || id >= HOLIDAY_MAX || (enable != 0 && enable != 1)) return -1;
  return member_int(request, "type") >= 0 ? 0 : -1;
}

int on_get_holiday_info(char *) {
  holiday_params holidays[HOLIDAY_MAX] = {};
  for (int i = 0; i < HOLIDAY_MAX; i++) holidays[i].id = i;
  read_holidays(KXDB_FILE, holidays, nullptr);
  JsonPtr reply(json_object_new_object());
  json_object *list = json_object_new_array();
  for (const holiday_params &h : holidays) json_object_array_add(list, holiday_object(h));
  json_object_object_add(reply.get(), "holidays", list);
  return json_writeback(CGI_REPLY_JSON, reply.get());
}

int on_set_holiday_info(char *text) {
  JsonPtr request(get_request_tokener_json_object(text));
  if (!request || check_holiday_info(request.get()) != 0) return -1;
  holiday_params holiday = holiday_from(request.get());
  if (write_holiday(KXDB_FILE, &holiday) != 0) return cgi_error_to_webserver(CGI_REPLY_TEXT);
  cgi_send_notice(1401, nullptr, 0);
  send_record_log(LOG_PARAM_HOLIDAY, holiday.id + 1);
  return cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
}
