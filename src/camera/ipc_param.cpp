// A camera's settings by name ("/2023", "/2024"), its model type ("/2025")
// and the models of the cameras on every channel ("/2029").
#include <chrono>
#include <cstring>
#include <thread>

#include "camera_util.h"

using namespace camera;

namespace {

constexpr std::chrono::microseconds kRateControlSettle{2000000};

// The request: channel word, then the three names and (write only) the value.
common_param_request common_param_of(json_object *root, bool with_value) {
  common_param_request request = {};
  request.id = member_int(root, "id");
  member_text(root, "pagename", request.param.pagename, sizeof request.param.pagename);
  member_text(root, "httpname", request.param.httpname, sizeof request.param.httpname);
  member_text(root, "key", request.param.key, sizeof request.param.key);
  if (with_value) member_text(root, "value", request.param.value, sizeof request.param.value);
  return request;
}

// Cameras apply a rate-control change only once the previous stream
// settings have settled: the page's write waits before it is sent.
bool is_rate_control(const char *key) {
  return strcmp(key, "ratecontrol1") == 0 || strcmp(key, "ratecontrol2") == 0;
}

}  // namespace

int on_get_ipc_common_param(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  common_param_request request = common_param_of(root.get(), false);
  query(3225, &request, sizeof request, CGI_REPLY_TEXT);
  return 0;
}

void on_get_ipc_common_param_cb(const void *payload, int) {
  common_param_answer answer;
  memcpy(&answer, payload, sizeof answer);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "id", answer.id);
  json_add_text(reply.get(), "pagename", field_text(answer.param.pagename));
  json_add_text(reply.get(), "httpname", field_text(answer.param.httpname));
  json_add_text(reply.get(), "key", field_text(answer.param.key));
  json_add_text(reply.get(), "value", field_text(answer.param.value));
  reply_json(reply.get());
}

int on_set_ipc_common_param(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  common_param_request request = common_param_of(root.get(), true);
  if (is_rate_control(request.param.key)) std::this_thread::sleep_for(kRateControlSettle);
  set_and_wait(3226, &request, sizeof request, CGI_REPLY_TEXT);
  return 0;
}

void on_set_ipc_common_param_cb(const void *payload, int length) {
  reply_set_result(payload, length);
}

int on_web_get_ipc_model_type(char *text) {
  return query_channel(text, "id", 2503, CGI_REPLY_TEXT);
}

void on_web_get_ipc_model_type_cb(const void *payload, int) {
  int32_t type;
  memcpy(&type, payload, sizeof type);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "type", type);
  reply_json(reply.get());
}

int on_web_get_channels_model(char *) {
  query(2505, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

// One object per whole entry the answer holds, at most one per channel.
void on_web_get_channels_model_cb(const void *payload, int length) {
  int count = length / (int)sizeof(channel_model);
  if (count > IPC_CHANNELS) count = IPC_CHANNELS;
  const auto *bytes = static_cast<const unsigned char *>(payload);
  JsonPtr reply(json_object_new_object());
  json_object *list = json_object_new_array();
  json_object_object_add(reply.get(), "IPC", list);
  for (int i = 0; i < count; i++) {
    channel_model entry;
    memcpy(&entry, bytes + (size_t)i * sizeof entry, sizeof entry);
    json_object *o = json_object_new_object();
    json_add_int(o, "chnid", entry.channel);
    json_add_text(o, "ipaddr", field_text(entry.ipaddr));
    json_add_text(o, "model", field_text(entry.model));
    json_add_text(o, "fwversion", field_text(entry.fwversion));
    json_object_array_add(list, o);
  }
  reply_json(reply.get());
}
