// System exceptions: the actions each exception type raises, and the HTTP
// notification target of each type, keyed on the page by the type's name.
#include <cstring>

#include "video_loss_util.h"

using namespace vloss;

namespace {

// The page sends at least this many action words; a shorter "exception"
// array is not taken (nothing written, no reply).
constexpr int EXCEPTION_ARRAY_MIN = 8;

json_object *http_targets_object(const http_notification_params *records) {
  json_object *o = json_object_new_object();
  for (int i = 0; i < EXCEPTION_HTTP_TYPES; i++) {
    char name[EXCEPTION_NAME_SIZE];
    if (get_exception_name(i, name, sizeof name) != 0 || !name[0]) continue;
    json_object *target = json_object_new_object();
    json_add_text(target, "url", field_text(records[i].url));
    json_add_text(target, "username", field_text(records[i].username));
    json_add_text(target, "password", field_text(records[i].password));
    json_object_object_add(o, name, target);
  }
  return o;
}

trigger_alarms_params request_actions(json_object *json) {
  trigger_alarms_params t = {};
  json_object *list = json_member(json, "exception");
  for (int i = 0; i < EXCEPTION_ACTION_TYPES; i++) t.actions[i] = element_int(list, i);
  t.recordFailedMailInterval = member_int(json, "recordFailedMailInterval");
  return t;
}

// Each named type that "httpParams" holds gets its target; the others are
// marked unused (index -1) with empty texts.
void request_targets(json_object *params, http_notification_params *records) {
  for (int i = 0; i < EXCEPTION_HTTP_TYPES; i++) {
    http_notification_params &r = records[i];
    memset(&r, 0, sizeof r);
    r.channel = -1;
    char name[EXCEPTION_NAME_SIZE];
    if (get_exception_name(i, name, sizeof name) != 0 || !name[0]) continue;
    json_object *target = json_member(params, name);
    if (!target) continue;
    r.channel = i;
    member_text(target, "url", r.url, sizeof r.url);
    member_text(target, "username", r.username, sizeof r.username);
    member_text(target, "password", r.password, sizeof r.password);
  }
}

}  // namespace

int on_get_exception(char *) {
  trigger_alarms_params t = {};
  read_trigger_alarms(KXDB_FILE, &t);
  http_notification_params records[EXCEPTION_HTTP_TYPES] = {};
  read_http_notification_params_init(KXDB_FILE, EXCEPTION_HTTP_TABLE, records,
                                     EXCEPTION_HTTP_TYPES);
  JsonPtr reply(json_object_new_object());
  json_object_object_add(reply.get(), "httpParams", http_targets_object(records));
  json_object *actions = json_object_new_array();
  for (int32_t word : t.actions) json_object_array_add(actions, json_object_new_int(word));
  json_object_object_add(reply.get(), "exception", actions);
  json_add_int(reply.get(), "recordFailedMailInterval", t.recordFailedMailInterval);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

// {"exception": [action words], "recordFailedMailInterval", "httpParams"}:
// the action words, and the HTTP targets when given, as one step.
int on_set_exception(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  json_object *json = root.get();
  if (array_length(json_member(json, "exception")) < EXCEPTION_ARRAY_MIN) return -1;
  trigger_alarms_params t = request_actions(json);
  json_object *params = json_member(json, "httpParams");
  http_notification_params records[EXCEPTION_HTTP_TYPES];
  if (params) request_targets(params, records);
  bool stored = kxdb_transaction(KXDB_FILE, [&] {
                  if (write_trigger_alarms(KXDB_FILE, &t) != 0) return false;
                  return !params || write_http_notification_params_batch(
                                        KXDB_FILE, records, EXCEPTION_HTTP_TABLE,
                                        EXCEPTION_HTTP_TYPES) == 0;
                }) == 0;
  if (!stored) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  cgi_send_notice(EXCEPTION_ACTIONS_NOTICE, nullptr, 0);
  if (params) cgi_send_notice(EXCEPTION_HTTP_NOTICE, nullptr, 0);
  cgi_writeback_webserver(CGI_REPLY_JSON, "{\"status\":\"CGI SUCCESS\"}");
  return 0;
}
