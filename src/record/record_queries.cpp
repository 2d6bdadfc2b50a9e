// "/6046", "/6047": queries the daemon answers.
#include <cstring>

#include "record_util.h"

using namespace record;

namespace {

json_object *int_list(const int32_t *values, int n) {
  json_object *list = json_object_new_array();
  for (int i = 0; i < n; i++) json_object_array_add(list, json_object_new_int(values[i]));
  return list;
}

}  // namespace

int on_get_record_support(char *text) {
  int channel;
  if (!channel_request(text, &channel)) return -1;
  record_channel request = {channel};
  cgi_exchange(on_record_ipc_callback, 2286, &request, sizeof request, CGI_REPLY_JSON);
  return 0;
}

int on_get_record_primary_secondary(char *) {
  cgi_exchange(on_record_ipc_callback, 3218, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

void on_get_record_support_cb(const void *payload, int length) {
  if (length < (int)sizeof(record_support)) return;  // short: as if nothing came
  record_support answer;
  memcpy(&answer, payload, sizeof answer);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "chnid", answer.channel);
  json_add_int(reply.get(), "support", answer.support);
  reply_json_done(reply.get());
}

// The lists hold 64 entries: "size" (reported as received) lists at most
// that many, none when negative.
void on_get_record_primary_secondary_cb(const void *payload, int length) {
  if (length < (int)sizeof(record_primary_secondary)) return;
  record_primary_secondary answer;
  memcpy(&answer, payload, sizeof answer);
  int n = answer.size < 0 ? 0 : answer.size > RECORD_LIST_MAX ? RECORD_LIST_MAX : answer.size;
  JsonPtr reply(json_object_new_object());
  json_object_object_add(reply.get(), "primary", int_list(answer.primary, n));
  json_object_object_add(reply.get(), "secondary", int_list(answer.secondary, n));
  json_add_int(reply.get(), "size", answer.size);
  reply_json_done(reply.get());
}
