#include "camera_util.h"

#include <cstdio>
#include <cstring>

namespace camera {

bool query(int code, const void *payload, int length, int timeout_mode) {
  return cgi_exchange(on_camera_ipc_callback, code, payload, length, timeout_mode);
}

int query_channel(const char *text, const char *key, int code, int timeout_mode) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int32_t channel = member_int(root.get(), key);
  query(code, &channel, sizeof channel, timeout_mode);
  return 0;
}

bool set_and_wait(int code, const void *payload, int length, int timeout_mode) {
  return cgi_exchange(on_camera_ipc_callback, code, payload, length, timeout_mode);
}

void set_without_wait(int code, const void *payload, int length) {
  cgi_send_notice(code, payload, length);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
}

void reply_set_result(const void *payload, int length) {
  int32_t result;
  if (!cgi_answer_status(payload, length, &result)) return;
  if (result == 0) cgi_reply_done(CGI_REPLY_TEXT, "OK", 2);
  else cgi_reply_done(CGI_REPLY_TEXT, "ERROR", 1);
}

void reply_json(json_object *object) {
  json_writeback(CGI_REPLY_JSON, object);
  g_callback_done = 1;
}

bool has_text(json_object *object, const char *key) {
  json_object *value = json_member(object, key);
  const char *text = value ? json_object_get_string(value) : nullptr;
  return text && text[0];
}

json_object *first_object(json_object *object, const char *key) {
  json_object *first = array_at(json_member(object, key), 0);
  return json_object_is_type(first, json_type_object) ? first : nullptr;
}

void channel_mask_text(uint64_t mask, char (&text)[65]) {
  for (int i = 0; i < IPC_CHANNELS; i++) text[i] = (mask >> i & 1) ? '1' : '0';
  text[IPC_CHANNELS] = '\0';
}

void fill_fields(json_object *request, void *record, size_t size,
                 std::span<const JsonField> fields) {
  auto *bytes = static_cast<unsigned char *>(record);
  for (const JsonField &f : fields) {
    if (!f.request_key) continue;
    if (f.text_size) {
      if (f.offset + f.text_size > size) continue;
      member_text(request, f.request_key, reinterpret_cast<char *>(bytes + f.offset), f.text_size);
    } else {
      if (f.offset + sizeof(int32_t) > size) continue;
      int32_t value = member_int(request, f.request_key);
      memcpy(bytes + f.offset, &value, sizeof value);
    }
  }
}

void add_fields(json_object *reply, const void *record, size_t size,
                std::span<const JsonField> fields) {
  const auto *bytes = static_cast<const unsigned char *>(record);
  for (const JsonField &f : fields) {
    if (!f.reply_key) continue;
    if (f.text_size) {
      if (f.offset + f.text_size > size) continue;
      json_add_text(reply, f.reply_key,
                    field_text(reinterpret_cast<const char *>(bytes + f.offset), f.text_size));
    } else {
      if (f.offset + sizeof(int32_t) > size) continue;
      int32_t value;
      memcpy(&value, bytes + f.offset, sizeof value);
      json_add_int(reply, f.reply_key, value);
    }
  }
}

}  // namespace camera
