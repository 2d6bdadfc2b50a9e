// "/1001" replaces the list of web-interface languages; "/oem" installs an
// uploaded, encrypted branding package into the branding folder.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "kxencrypt.h"
#include "maintenance.h"
#include "service.h"

namespace {

constexpr int kMinLanguages = 19;
constexpr size_t kMaxDefaultLanguage = 255;
constexpr size_t kUploadPathScan = 64;  // the path, at most 63 characters
constexpr const char *kBrandingZip = "/tmp/oem.zip";

bool is_text(json_object *value, size_t max = 0) {
  if (!json_object_is_type(value, json_type_string)) return false;
  size_t length = (size_t)json_object_get_string_len(value);
  return length > 0 && (max == 0 || length <= max);
}

bool valid_language(json_object *entry) {
  return json_object_is_type(entry, json_type_object) && is_text(json_member(entry, "value")) &&
         is_text(json_member(entry, "name")) &&
         json_object_is_type(json_member(entry, "isDefault"), json_type_boolean);
}

bool valid_language_list(json_object *root) {
  if (!json_object_is_type(root, json_type_object) || json_object_object_length(root) != 2) {
    return false;
  }
  if (!is_text(json_member(root, "defaultLan"), kMaxDefaultLanguage)) return false;
  json_object *list = json_member(root, "list");
  if (!json_object_is_type(list, json_type_array) || array_length(list) < kMinLanguages) {
    return false;
  }
  for (int i = 0; i < array_length(list); i++) {
    if (!valid_language(array_at(list, i))) return false;
  }
  return true;
}

// The request and a line end into the backup file, then the backup over the
// list in one rename. False when either step failed (the list unchanged).
bool replace_language_list(const char *text) {
  FILE *f = fopen(LANGUAGES_BACKUP_FILE, "w");
  if (!f) return false;
  bool written = fputs(text, f) >= 0 && fputc('\n', f) != EOF;
  if (fclose(f) != 0 || !written) {
    unlink(LANGUAGES_BACKUP_FILE);
    return false;
  }
  struct stat st;
  if (stat(LANGUAGES_BACKUP_FILE, &st) != 0 || st.st_size <= 0) return false;
  return rename(LANGUAGES_BACKUP_FILE, LANGUAGES_FILE) == 0;
}

// The 32 characters after "aes=" into `key` (33 bytes). False when fewer follow.
bool branding_key(const char *text, char *key) {
  const char *mark = strstr(text, "aes=");
  if (!mark) return false;
  mark += 4;
  size_t length = strnlen(mark, AES_WEB_KEY_LENGTH);
  if (length < (size_t)AES_WEB_KEY_LENGTH) return false;
  memcpy(key, mark, AES_WEB_KEY_LENGTH);
  key[AES_WEB_KEY_LENGTH] = '\0';
  return true;
}

// The decrypted package of the upload: its length, or 0 or less on failure.
int decrypt_upload(const char *path, const char *key, std::unique_ptr<unsigned char[]> *plain) {
  int length = 0;
  std::unique_ptr<char, decltype(&free)> data(kx_get_file_data(path, &length), free);
  if (!data || length <= 0) return -1;
  std::unique_ptr<unsigned char[]> decoded(new unsigned char[(size_t)length]);
  int decoded_length = kx_base64_decode(data.get(), length, decoded.get(), length);
  if (decoded_length <= 0) return -1;
  plain->reset(new unsigned char[(size_t)decoded_length]);
  return aesDecryWeb(decoded.get(), key, plain->get(), decoded_length);
}

}  // namespace

int on_change_language(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || !valid_language_list(root.get())) return 0;
  int lock = file_lock(CGI_LOCK_FILE);
  bool replaced = replace_language_list(text);
  file_unlock(lock);
  return replaced ? cgi_writeback_webserver(CGI_REPLY_TEXT, "OK") : 0;
}

int on_upload_oem(char *text) {
  char path[kUploadPathScan];
  char key[AES_WEB_KEY_LENGTH + 1];
  if (!text || !import_upload_path(text, path, sizeof path) || !branding_key(text, key)) {
    return cgi_writeback_webserver(CGI_REPLY_TEXT, "ERROR");
  }
  std::unique_ptr<unsigned char[]> plain;
  int length = decrypt_upload(path, key, &plain);
  if (length <= 0 || kx_wirte_file_data(kBrandingZip, plain.get(), length) != 0) {
    return cgi_writeback_webserver(CGI_REPLY_TEXT, "ERROR");
  }
  unlink(path);
  char command[128];
  snprintf(command, sizeof command, "unzip -o %s -d %s/ > /dev/null", kBrandingZip, BRANDING_DIR);
  web_system(command);
  unlink(kBrandingZip);
  FILE *marker = fopen(BRANDING_MARKER, "a");
  if (marker) fclose(marker);
  return cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
}
