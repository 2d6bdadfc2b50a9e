#include "analytics_util.h"

namespace camera {

int reply_json_error() {
  cgi_error_to_webserver(CGI_REPLY_JSON);
  return -1;
}

JsonPtr request_with_id(const char *text, const char *key, int limit, int *id) {
  JsonPtr root(get_request_tokener_json_object(text));
  int value = root && has_member(root.get(), key) ? member_int(root.get(), key) : -1;
  if (value < 0 || value >= limit) {
    reply_json_error();
    return nullptr;
  }
  *id = value;
  return root;
}

void exchange_json(int code, const void *payload, int length) {
  query(code, payload, length, CGI_REPLY_JSON);
}

}  // namespace camera

void on_cgi_analytics_result_cb(const void *payload, int length) {
  int32_t result;
  if (!cgi_answer_status(payload, length, &result)) {
    // One reply, and the wait ends: no second error reply after the budget.
    cgi_error_to_webserver(CGI_REPLY_JSON);
    g_callback_done = 1;
    return;
  }
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "res", result);
  camera::reply_json(reply.get());
}
