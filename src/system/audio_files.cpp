// "/6320" to "/6325": the library of alarm audio files the recorder plays.
// Uploads wait in "/tmp" under their base64url-encoded names until the
// daemon takes them (4013); the daemon keeps the list.
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "cgi_deal.h"
#include "maintenance.h"
#include "service.h"
#include "system.h"

namespace {

constexpr int kLogAudioChange = 204;
constexpr int kLogParamAudio = 925;
constexpr int kAudioSlots = ALARM_AUDIO_FILES;  // ids 0 to 9
constexpr size_t kNameScan = 128;  // a display name: at most 127 characters

void send_audio_log() {
  log_info entry;
  cgi_init_log_info(&entry);
  entry.sub_type = kLogAudioChange;
  entry.param_type = kLogParamAudio;
  cgi_send_log_info(&entry);
}

int json_error() {
  return cgi_error_to_webserver(CGI_REPLY_JSON);
}

// An exchange whose answer is one status ({"status"} by the dispatcher);
// the log entry follows an answer.
int audio_exchange(int code, const void *payload, int length, bool log) {
  if (cgi_exchange(on_system_ipc_callback, code, payload, length, CGI_REPLY_JSON) && log) {
    send_audio_log();
  }
  return 0;
}

bool plain_name(const char *name) {
  return name[0] && !strchr(name, '/') && strcmp(name, ".") != 0 && strcmp(name, "..") != 0;
}

// "id" of the request, 0 to 9. False when absent or out of range.
bool audio_id(json_object *root, int32_t *id) {
  if (!has_member(root, "id")) return false;
  *id = member_int(root, "id");
  return *id >= 0 && *id < kAudioSlots;
}

bool has_wav_extension(const char *path) {
  return strstr(path, ".wav") || strstr(path, ".WAV");
}

int upload_reply(int status, const char *name) {
  return on_cgi_common_text_cb(0, status, name);
}

}  // namespace

bool encode_audio_name(const char *name, char *field, size_t size) {
  field[0] = '\0';
  size_t length = strlen(name);
  if (length == 0) return false;
  return base64EncodeUrl((const unsigned char *)name, (int)length, field, (int)size) > 0;
}

void on_get_audio_file_list_cb(int count, const void *payload) {
  JsonPtr reply(json_object_new_object());
  json_object *list = json_object_new_array();
  const alarm_audio_file *files = (const alarm_audio_file *)payload;
  for (int i = 0; i < count; i++) {
    alarm_audio_file file;
    memcpy(&file, &files[i], sizeof file);
    if (file.enable != 1) continue;
    std::string encoded = field_text(file.name);
    unsigned char name[sizeof file.name];
    int length = base64DecodeUrl(encoded.c_str(), name, (int)sizeof name);
    if (length < 0) continue;  // not a name the page could show
    json_object *entry = json_object_new_object();
    json_add_int(entry, "id", file.id);
    json_add_int(entry, "enable", file.enable);
    json_object_object_add(entry, "name",
                           json_object_new_string_len((const char *)name, length));
    json_object_array_add(list, entry);
  }
  json_object_object_add(reply.get(), "audioFileList", list);
  json_add_int(reply.get(), "status", 0);
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}

int on_get_audio_file_list(char *) {
  cgi_exchange(on_system_ipc_callback, 4012, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

int on_upload_audio_file(char *text) {
  // Only the upload itself, a regular file directly in "/tmp", is touched.
  char path[CGI_UPLOAD_TEXT_SIZE];
  if (!text || !import_upload_path(text, path, sizeof path) || access(path, R_OK) != 0) {
    return upload_reply(-1, "");
  }
  const char *name = path + strlen(UPLOAD_DIR) + 1;
  if (!has_wav_extension(path)) {
    int removed = unlink(path);
    CGI_LOG("upload_audio_file ret:[%d], pData:[%s], name:[%s]", removed, path, name);
    return upload_reply(-1, nullptr);
  }
  char encoded[AUDIO_NAME_FIELD];
  char target[sizeof encoded + 8];
  if (!encode_audio_name(name, encoded, sizeof encoded)) {
    unlink(path);
    return upload_reply(-1, nullptr);
  }
  snprintf(target, sizeof target, "%s/%s", UPLOAD_DIR, encoded);
  if (rename(path, target) != 0) {
    unlink(path);
    return upload_reply(-1, nullptr);
  }
  return upload_reply(0, encoded);
}

int on_add_audio_file(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  char upload[kNameScan], name[kNameScan];
  member_text(root.get(), "uploadName", upload, sizeof upload);
  member_text(root.get(), "name", name, sizeof name);
  if (!root || !plain_name(upload)) return json_error();
  char source[sizeof upload + 8];
  snprintf(source, sizeof source, "%s/%s", UPLOAD_DIR, upload);
  char encoded[AUDIO_NAME_FIELD] = {};
  if (access(source, R_OK) != 0 || !encode_audio_name(name, encoded, sizeof encoded)) {
    return json_error();
  }
  char target[sizeof encoded + 8];
  snprintf(target, sizeof target, "%s/%s", UPLOAD_DIR, encoded);
  if (rename(source, target) != 0) return json_error();
  return audio_exchange(4013, encoded, sizeof encoded, true);
}

int on_del_audio_file(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || !has_member(root.get(), "idMask")) return json_error();
  int32_t mask = member_int(root.get(), "idMask");
  if ((mask & ((1 << kAudioSlots) - 1)) == 0) return json_error();
  return audio_exchange(4014, &mask, sizeof mask, true);
}

int on_rename_audio_file(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  audio_file_request request = {};
  char name[kNameScan];
  member_text(root.get(), "name", name, sizeof name);
  if (!root || !audio_id(root.get(), &request.id)) return json_error();
  if (!encode_audio_name(name, request.name, sizeof request.name)) return json_error();
  request.enable = 1;
  return audio_exchange(4015, &request, sizeof request, true);
}

int on_send_audio_file_id(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int32_t id = 0;
  if (!root || !audio_id(root.get(), &id)) return json_error();
  return audio_exchange(4016, &id, sizeof id, false);
}
