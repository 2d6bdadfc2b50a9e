// The plate lists of the plate-recognition pages: plates deleted, added
// (replacing the entry of the same plate) and renamed, in ANPR_DB_FILE.
#include <cctype>
#include <cstring>
#include <memory>
#include <new>

#include "anpr.h"
#include "kxdb.h"
#include "kxdb_anpr.h"
#include "video_util.h"

using namespace video;

namespace video {

void get_url_decode(const char *text, char *out, size_t size) {
  if (!out || size == 0) return;
  size_t n = 0;
  for (const char *at = text ? text : ""; *at && n + 1 < size; at++) {
    char c = *at;
    if (c == '%' && isxdigit((unsigned char)at[1]) && isxdigit((unsigned char)at[2])) {
      char hex[3] = {at[1], at[2], '\0'};
      char decoded = (char)strtol(hex, nullptr, 16);
      // A decoded NUL would cut the plate: it stays as written.
      if (decoded != '\0') {
        c = decoded;
        at += 2;
      }
    }
    out[n++] = c;
  }
  out[n] = '\0';
}

}  // namespace video

namespace {

constexpr int kPlatesMax = 9999;

// "cnt" of the request, within 1 to 9999; 0 otherwise.
int plate_count(json_object *root) {
  int cnt = member_int(root, "cnt");
  return cnt >= 1 && cnt <= kPlatesMax ? cnt : 0;
}

std::unique_ptr<anpr_list_entry[]> entries_for(int cnt) {
  return std::unique_ptr<anpr_list_entry[]>(new (std::nothrow) anpr_list_entry[cnt]());
}

void take_plate(json_object *value, char (&plate)[64]) {
  const char *text = value ? json_object_get_string(value) : "";
  get_url_decode(text, plate, sizeof plate);
}

int fail(int mode) {
  cgi_error_to_webserver(mode);
  return -1;
}

// Element i of "plate" as [old plate, type, new plate]: the old entry
// deleted, the new one updated or added. False when a store failed.
bool rename_plate(json_object *element) {
  anpr_list_entry old_entry = {};
  take_plate(array_at(element, 0), old_entry.plate);
  if (delete_anpr_list(ANPR_DB_FILE, &old_entry) != 0) return false;
  anpr_list_entry entry = {};
  json_copy_text(array_at(element, 1), entry.type, sizeof entry.type);
  take_plate(array_at(element, 2), entry.plate);
  anpr_list_entry stored = {};
  int found = read_anpr_list_plate(ANPR_DB_FILE, &stored, entry.plate);
  if (found < 0) return false;
  if (found == 0) return update_anpr_list(ANPR_DB_FILE, &entry) == 0;
  return write_anpr_list(ANPR_DB_FILE, &entry) == 0;
}

}  // namespace

int on_set_anpr_del_lpr_plate(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int cnt = root ? plate_count(root.get()) : 0;
  if (cnt == 0) return fail(CGI_REPLY_TEXT);
  auto entries = entries_for(cnt);
  if (!entries) return fail(CGI_REPLY_TEXT);
  json_object *plates = json_member(root.get(), "plate");
  int taken = 0;
  for (; taken < cnt; taken++) {
    json_object *element = array_at(plates, taken);
    if (!element) break;
    take_plate(element, entries[taken].plate);
  }
  if (taken == 0) return fail(CGI_REPLY_TEXT);
  if (delete_anpr_lists(ANPR_DB_FILE, entries.get(), taken) != 0) return fail(CGI_REPLY_TEXT);
  reply_text("OK");
  return 0;
}

int on_set_anpr_add_lpr_plate(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int cnt = root ? plate_count(root.get()) : 0;
  if (cnt == 0) return fail(CGI_REPLY_JSON);
  auto entries = entries_for(cnt);
  if (!entries) return fail(CGI_REPLY_JSON);
  json_object *plates = json_member(root.get(), "plate");
  int taken = 0;
  for (; taken < cnt; taken++) {
    json_object *element = array_at(plates, taken);
    if (!element) break;
    json_copy_text(array_at(element, 0), entries[taken].type, sizeof entries[taken].type);
    take_plate(array_at(element, 1), entries[taken].plate);
  }
  if (taken == 0) return fail(CGI_REPLY_JSON);
  if (write_anpr_list_replace_batch(ANPR_DB_FILE, entries.get(), taken) != 0) {
    return fail(CGI_REPLY_JSON);
  }
  JsonPtr reply(json_object_new_object());
  if (!reply) return fail(CGI_REPLY_JSON);
  json_add_int(reply.get(), "count", taken);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_set_anpr_update_lpr_plate(char *text) {
  if (!text || !*text) return fail(CGI_REPLY_JSON);
  JsonPtr root(get_request_tokener_json_object(text));
  int cnt = root ? plate_count(root.get()) : 0;
  if (cnt == 0) return fail(CGI_REPLY_TEXT);
  json_object *plates = json_member(root.get(), "plate");
  for (int i = 0; i < cnt; i++) {
    json_object *element = array_at(plates, i);
    if (!element) break;
    if (!rename_plate(element)) return fail(CGI_REPLY_TEXT);
  }
  reply_text("OK");
  return 0;
}
