// The recorder's log: type lists in the user's language, the page-by-page
// search, the detail of one entry and the CSV export of a search.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "kxdb_network.h"
#include "system.h"
#include "system_info.h"
#include "trans.h"
#include "request_reset.h"

namespace {

constexpr int kLogSearch = 3495;
constexpr int kLogDetail = 3488;
constexpr int kLogExport = 3494;
constexpr int kMainTypes[] = {1, 2, 4, 8, 32, 64};
constexpr int kOperation = 4;
constexpr int kTextSize = 256;
constexpr int kDetailWords = 128;
constexpr int kAddressMax = 45;
constexpr int kUserMax = 63;
constexpr const char *kLogDirectory = "/tmp/log";

// What the decoders need of the request (one request per process).
char g_log_language[32];
int g_log_page;
int g_log_main_type;

// ---- Texts ----
int main_type_code(int main_type) {
  switch (main_type) {
    case 1: return 1;
    case 2: return 2;
    case 4: return 3;
    case 8: return 4;
    case 32: return 5;
    case 64: return 6;
    default: return -1;
  }
}

std::string trans_text(int code) {
  char text[kTextSize];
  trans_get_value(code, text, sizeof text);
  return text;
}

std::string time_text(time_t t, const char *format) {
  struct tm tm = {};
  localtime_r(&t, &tm);
  char text[32];
  snprintf(text, sizeof text, format, tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
           tm.tm_min, tm.tm_sec);
  return text;
}

const char *export_type_word(int main_type) {
  switch (main_type) {
    case 2: return "Event";
    case 4: return "Operation";
    case 8: return "Information";
    case 32: return "Exception";
    case 64: return "Debug";
    default: return "All";
  }
}

// ---- Requests ----
// Local time in `format`; a text that does not match reads as 0.
int32_t parse_time(json_object *root, const char *key, const char *format) {
  const char *text = json_object_get_string(json_member(root, key));
  struct tm tm = {};
  if (!text || !strptime(text, format, &tm)) return 0;
  tm.tm_isdst = -1;  // the C library decides daylight saving
  return (int32_t)mktime(&tm);
}

bool check_log_search(json_object *root) {
  for (const char *key : {"language", "mainType", "subTypeArr", "startTime", "endTime",
                          "curPageNum"}) {
    if (!has_member(root, key)) return false;
  }
  int main_type = member_int(root, "mainType");
  json_object *subs = json_member(root, "subTypeArr");
  return main_type >= 1 && main_type <= 64 && array_length(subs) > 0 &&
         element_int(subs, 0) >= LOG_SUB_TYPE_ALL;
}

// The search request of the page's JSON; false when it does not validate.
bool build_log_search(const char *text, const char *time_format, log_search_request *request,
                      JsonPtr *root) {
  root->reset(get_request_tokener_json_object(text));
  json_object *r = root->get();
  if (!r || !check_log_search(r)) return false;
  *request = {};
  request->start_time = parse_time(r, "startTime", time_format);
  request->end_time = parse_time(r, "endTime", time_format);
  request->main_type = member_int(r, "mainType");
  json_object *subs = json_member(r, "subTypeArr");
  int n = std::min(array_length(subs), LOG_SEARCH_SUB_TYPES);
  for (int i = 0; i < n; i++) request->sub_types[i] = element_int(subs, i);
  request->sub_type_count = n;
  request->page = member_int(r, "curPageNum");
  member_text(r, "language", g_log_language, sizeof g_log_language);
  g_log_page = request->page;
  g_log_main_type = request->main_type;
  return true;
}

// ---- Replies ----
json_object *detail_words_json(const log_info &e) {
  json_object *list = json_object_new_array();
  for (int i = 0; i < kDetailWords; i++) {
    const unsigned char *b = e.detail + 4 * i;
    int32_t word = (int32_t)((uint32_t)b[0] << 24 | (uint32_t)b[1] << 16 | (uint32_t)b[2] << 8 |
                             (uint32_t)b[3]);
    json_object_array_add(list, json_object_new_int(word));
  }
  return list;
}

json_object *log_entry_json(int number, const log_info &e) {
  json_object *o = json_object_new_object();
  json_add_int(o, "no", number);
  json_add_int(o, "mainTypeValue", e.main_type);
  json_add_text(o, "mainType", trans_text(main_type_code(e.main_type)));
  json_add_int(o, "subTypeValue", (int32_t)e.sub_type);
  json_add_text(o, "subType", trans_text((int32_t)e.sub_type));
  json_add_int(o, "pts", e.time);
  json_add_text(o, "ptc", time_text(e.time, "%4d-%02d-%02d %02d:%02d:%02d"));
  json_add_int(o, "parameterValue", e.param_type);
  json_add_text(o, "parameter", trans_text(e.param_type));
  json_add_int(o, "remote", e.remote);
  json_add_int(o, "chanNo", e.channel);
  json_add_int(o, "disk", log_channo_is_disk(e.main_type, e.sub_type));
  json_add_int(o, "size", e.detail_size);
  json_add_text(o, "detail", field_text((const char *)e.detail, sizeof e.detail));
  json_object_object_add(o, "detail2", detail_words_json(e));
  json_add_text(o, "ip", log_clean_address(e.client_addr));
  json_add_text(o, "user", field_text(e.user_name));
  return o;
}

log_info entry_of_json(json_object *root) {
  log_info e = {};
  e.main_type = member_int(root, "mainTypeValue");
  e.sub_type = member_int(root, "subTypeValue");
  e.time = member_int(root, "pts");
  e.param_type = member_int(root, "parameterValue");
  e.remote = member_int(root, "remote");
  e.channel = member_int(root, "chanNo");
  e.detail_size = member_int(root, "size");
  json_object *words = json_member(root, "detail2");
  int n = std::min(array_length(words), kDetailWords);
  for (int i = 0; i < n; i++) {
    uint32_t w = (uint32_t)element_int(words, i);
    unsigned char *b = e.detail + 4 * i;
    b[0] = (unsigned char)(w >> 24);
    b[1] = (unsigned char)(w >> 16);
    b[2] = (unsigned char)(w >> 8);
    b[3] = (unsigned char)w;
  }
  member_text(root, "ip", e.client_addr, kAddressMax + 1);
  member_text(root, "user", e.user_name, kUserMax + 1);
  return e;
}

// ---- Export ----
void write_export_head() {
  char mac[MAC_CONF_SIZE] = {};
  read_mac_conf(mac);
  fputs("Content-Type:application/octet-stream\r\n", cgiOut);
  fprintf(cgiOut, "Content-Disposition: attachment; filename= %s_log_%s_%s.csv\r\n\r\n",
          export_type_word(g_log_main_type), mac,
          time_text(time(nullptr), "%4d%02d%02d%02d%02d%02d").c_str());
  for (const char *column : {"Number", "Time", "Main", "Sub", "Parameter", "User", "Ip",
                             "Channel", "Log information"}) {
    fprintf(cgiOut, "%s,", column);
  }
  fputs("\r\n", cgiOut);
}

std::string or_na(const std::string &text) { return text.empty() ? "N/A" : text; }

void write_export_row(int number, const log_info &e, const char *description) {
  fprintf(cgiOut, "%d,%s,", number, time_text(e.time, "%4d-%02d-%02d %02d:%02d:%02d").c_str());
  fprintf(cgiOut, "%s,", trans_text(main_type_code(e.main_type)).c_str());
  fprintf(cgiOut, "%s,", trans_text((int32_t)e.sub_type).c_str());
  fprintf(cgiOut, "%s,", or_na(trans_text(e.param_type)).c_str());
  fprintf(cgiOut, "%s,", field_text(e.user_name).c_str());
  fprintf(cgiOut, "%s,", log_clean_address(e.client_addr).c_str());
  fprintf(cgiOut, "%d,", e.channel);
  fprintf(cgiOut, "\"%s\"\r\n",
          or_na(field_text(description, LOG_EXPORT_DESCRIPTION)).c_str());
  fflush(cgiOut);
}

// The rows of the daemon's result file; a short read ends them.
void write_export_rows(const char *path) {
  FILE *f = fopen(path, "rb");
  if (!f) return;
  int32_t count = 0;
  if (fread(&count, sizeof count, 1, f) == 1) {
    log_info entry;
    auto description = std::make_unique<char[]>(LOG_EXPORT_DESCRIPTION);
    for (int i = 0; i < count; i++) {
      if (fread(&entry, sizeof entry, 1, f) != 1 ||
          fread(description.get(), LOG_EXPORT_DESCRIPTION, 1, f) != 1) {
        break;
      }
      write_export_row(i + 1, entry, description.get());
    }
  }
  fclose(f);
}

int create_export_marker() {
  if (IsDirExisted(kLogDirectory) != 0) mkdir(kLogDirectory, 0755);
  FILE *marker = fopen(LOG_EXPORT_MARKER, "w");
  if (!marker) return -1;
  fclose(marker);
  return 0;
}

}  // namespace

std::string log_clean_address(const char *address) {
  std::string a = field_text(address, sizeof log_info::client_addr);
  if (a.rfind("::ffff:", 0) == 0 && a.find('.') != std::string::npos) return a.substr(7);
  size_t zone = a.find('%');
  return zone == std::string::npos ? a : a.substr(0, zone);
}

std::vector<int> log_sub_type_codes(int main_type, bool oem90) {
  std::vector<int> codes = {(int)LOG_SUB_TYPE_ALL};
  auto add = [&codes](int first, int last) {
    for (int c = first; c <= last; c++) codes.push_back(c);
  };
  switch (main_type) {
    case 2:
      for (int c = 11; c <= 36; c++) {
        if (c == 31 || c == 32 || ((c == 15 || c == 16) && !oem90)) continue;
        codes.push_back(c);
      }
      for (int c : {38, 39, 40, 41, 37, 42, 43, 44}) codes.push_back(c);
      break;
    case 4: add(101, 143); add(200, 227); break;
    case 8: add(500, 506); add(511, 519); break;
    case 32:
      add(400, 413);
      codes.erase(std::find(codes.begin(), codes.end(), 408));
      break;
    case 64: add(600, 603); break;
    default: break;
  }
  return codes;
}

int log_expand_operation_sub_types(const int64_t *values, int count, int64_t *out) {
  static const int kBases[] = {101, 131, 200};
  int n = 0;
  for (int k = 0; k < 3; k++) {
    uint32_t mask = (uint32_t)((k < count ? values[k] : 0) - LOG_SUB_TYPE_ALL);
    for (int l = 0; l < 30; l++) {
      if (mask & (1u << l)) out[n++] = kBases[k] + l;
    }
  }
  return n;
}

int on_get_log_types(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return cgi_error_to_webserver(CGI_REPLY_JSON);
  char language[16];
  member_text(root.get(), "lan", language, sizeof language);
  trans_init(language);
  bool oem90 = param_int(PARAM_OEM_TYPE) == 90;
  JsonPtr reply(json_object_new_object());
  json_object *mains = json_object_new_array();
  json_object *subs = json_object_new_array();
  for (int main_type : kMainTypes) {
    json_object *m = json_object_new_object();
    json_add_int(m, "key", main_type);
    json_add_text(m, "name", trans_text(main_type_code(main_type)));
    json_object_array_add(mains, m);
    json_object *list = json_object_new_array();
    for (int code : log_sub_type_codes(main_type, oem90)) {
      json_object *s = json_object_new_object();
      json_add_int(s, "key", code);
      json_add_text(s, "name", trans_text(code));
      json_object_array_add(list, s);
    }
    json_object_array_add(subs, list);
  }
  json_object_object_add(reply.get(), "mainType", mains);
  json_object_object_add(reply.get(), "subType", subs);
  json_writeback(CGI_REPLY_JSON, reply.get());
  trans_deinit();
  return 0;
}

int on_get_log_info(char *text) {
  log_search_request request;
  JsonPtr root;
  if (!build_log_search(text, "%Y-%m-%d %H:%M:%S", &request, &root)) {
    return cgi_error_to_webserver(CGI_REPLY_JSON);
  }
  request.channel_mask = get_channel_mask(json_object_get_string(json_member(root.get(),
                                                                             "chnMask")));
  request.search_no_channel = member_int(root.get(), "searchNoChn");
  cgi_exchange(on_system_ipc_callback, kLogSearch, &request, sizeof request, CGI_REPLY_JSON);
  return 0;
}

void on_log_search_info_cb(const void *payload, int length) {
  if (length < (int)sizeof(log_search_page)) {
    cgi_reply_done(CGI_REPLY_JSON, "ERROR");
    return;
  }
  auto page = std::make_unique<log_search_page>();  // 66 KB: not on the receive thread's stack
  memcpy(page.get(), payload, sizeof *page);
  int num = std::clamp(page->count, 0, LOG_PAGE_ENTRIES);
  trans_init(g_log_language);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "count", page->total);
  json_add_int(reply.get(), "num", num);
  json_add_int(reply.get(), "curPageNum", g_log_page);
  json_object *list = json_object_new_array();
  for (int i = 0; i < num; i++) json_object_array_add(list, log_entry_json(i, page->entries[i]));
  json_object_object_add(reply.get(), "log", list);
  trans_deinit();
  cgi_reply_done(CGI_REPLY_JSON, json_object_to_json_string(reply.get()));
}

int on_get_log_details(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return cgi_error_to_webserver(CGI_REPLY_TEXT);
  log_info entry = entry_of_json(root.get());
  cgi_exchange(on_system_ipc_callback, kLogDetail, &entry, sizeof entry, CGI_REPLY_TEXT);
  return 0;
}

void on_log_web_get_log_detail_cb(const void *payload, int length) {
  std::string text = field_text((const char *)payload, (size_t)length);
  cgi_reply_done(CGI_REPLY_TEXT, text.empty() ? "N/A" : text.c_str());
}

int on_download_logfile(char *text) {
  log_search_request request;
  JsonPtr root;
  if (!build_log_search(text, "%Y-%m-%dT%H:%M:%S", &request, &root)) return -1;
  if (request.main_type == kOperation && request.sub_types[0] != LOG_SUB_TYPE_ALL) {
    int64_t expanded[LOG_SEARCH_SUB_TYPES];
    int n = log_expand_operation_sub_types(request.sub_types, request.sub_type_count, expanded);
    memcpy(request.sub_types, expanded, sizeof(int64_t) * (size_t)n);
    request.sub_type_count = n;
  }
  request.search_no_channel = member_int(root.get(), "na");
  char channels[65];
  member_text(root.get(), "ch", channels, sizeof channels);
  request.channel_mask = strtoull(channels, nullptr, 10);
  if (create_export_marker() != 0) return cgi_error_to_webserver(CGI_REPLY_JSON);
  cgi_exchange(on_system_ipc_callback, kLogExport, &request, sizeof request, CGI_REPLY_JSON);
  unlink(LOG_EXPORT_MARKER);
  return 0;
}

void on_log_web_export_info_cb(const void *payload, int length) {
  if (length < LOG_EXPORT_PATH_OFFSET) return;  // too short: as no answer
  std::string path = field_text((const char *)payload + LOG_EXPORT_PATH_OFFSET,
                                (size_t)(length - LOG_EXPORT_PATH_OFFSET));
  trans_init(g_log_language);
  write_export_head();
  if (!path.empty()) {
    write_export_rows(path.c_str());
    unlink(path.c_str());  // that one file: no shell, no recursion
  }
  fflush(cgiOut);
  trans_deinit();
  g_callback_done = 1;
}

int on_check_download_log(char *) {
  cgi_writeback_webserver(CGI_REPLY_TEXT, IsFileExisted(LOG_EXPORT_MARKER) == 0 ? "OK" : "NO");
  return 0;
}

namespace {
// The log query's context and the language texts it loaded.
void reset_log_context() {
  memset(g_log_language, 0, sizeof g_log_language);
  g_log_page = 0;
  g_log_main_type = 0;
  trans_deinit();
}
}  // namespace

CGI_RESET_HOOK(reset_log_context)
