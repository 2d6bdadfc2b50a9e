#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "network.h"

namespace network {

JsonPtr parse_object(const char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || !json_object_is_type(root.get(), json_type_object)) return nullptr;
  return root;
}

bool missing(const char *text) {
  return !text || text[strspn(text, " \t\r\n")] == '\0';
}

void take_int(json_object *root, const char *key, int32_t *field) {
  int value;
  if (on_cgi_get_int_from_json(root, key, &value) == 0) *field = value;
}

bool first_int(int count, const void *payload, int32_t *value) {
  if (count < 1) return false;
  memcpy(value, payload, sizeof *value);
  return true;
}

void reply_int_done(const char *key, int value) {
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), key, value);
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}

void notify_changed(const char *name) {
  settings_changed_notice notice = {};
  snprintf(notice.name, sizeof notice.name, "%s", name);
  cgi_send_notice(NETWORK_REQ_SETTINGS_CHANGED, &notice, sizeof notice);
}

void send_log(int sub_type, int param_type) {
  log_info entry;
  cgi_init_log_info(&entry);
  entry.sub_type = sub_type;
  entry.param_type = param_type;
  cgi_send_log_info(&entry);
}

}  // namespace network
