#include "storage_util.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace storage {

void decoded_text(json_object *value, char *field, size_t size) {
  const char *text = value ? json_object_get_string(value) : "";
  get_url_decode(text ? text : "", field, (int)size);
}

void reply_ok_or_error(int result) {
  cgi_reply_done(CGI_REPLY_TEXT, result == 0 ? "OK" : "Error");
}

void reply_json_int(const char *key, int value) {
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), key, value);
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}

void send_storage_log(int sub_type, int param_type, int port, int detail_kind,
                      const void *detail, int detail_length) {
  log_info entry;
  cgi_init_log_info(&entry);
  entry.sub_type = sub_type;
  entry.param_type = param_type;
  entry.channel = port;
  if (detail) kxfs_log_pack_detail(&entry, detail_kind, detail, detail_length);
  cgi_send_log_info(&entry);
}

nas_log_detail nas_detail(const char *kind, const disk_params &disk) {
  nas_log_detail detail = {};
  snprintf(detail.kind, sizeof detail.kind, "%s", kind);
  snprintf(detail.address, sizeof detail.address, "%s", field_text(disk.address).c_str());
  snprintf(detail.directory, sizeof detail.directory, "%s", field_text(disk.directory).c_str());
  return detail;
}

}  // namespace storage
