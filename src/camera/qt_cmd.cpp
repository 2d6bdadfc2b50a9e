#include <cstring>
#include <string>

#include "camera.h"

namespace {
constexpr int kCmdSize = 100;
constexpr int kResultOffset = 16;  // the result text follows a 16-byte head
}  // namespace

int on_web_sendto_qt_cmd(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  char cmd[kCmdSize] = {};
  on_cgi_get_string_from_json(root.get(), "cmd", cmd, sizeof cmd);
  cgi_exchange(on_camera_ipc_callback, 4002, cmd, sizeof cmd, CGI_REPLY_TEXT);
  return 0;
}

void on_web_sendto_qt_cmd_cb(const void *payload, int length) {
  if (length < kResultOffset) return;  // too short to hold a result: no answer
  const char *result = static_cast<const char *>(payload) + kResultOffset;
  std::string text(result, strnlen(result, (size_t)(length - kResultOffset)));
  JsonPtr reply(json_object_new_object());
  json_object_object_add(reply.get(), "result", json_object_new_string(text.c_str()));
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}
