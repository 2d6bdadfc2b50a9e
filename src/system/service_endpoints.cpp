// "/6300", "/6301": the network access filter; "/6310", "/6311": the
// diagnostic package and the download of a file from "/tmp"; "/json": one
// section of a language file; "/ipc": camera addresses in a batch; and two
// fixed answers.
#include <arpa/inet.h>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "kxdb_camera.h"
#include "maintenance.h"
#include "service.h"
#include "system.h"

namespace {

constexpr size_t kSectionLimit = 307199;  // characters of one section
constexpr int kLineScan = 1024;           // a line: at most 1023 characters
constexpr int kDownloadPathScan = 256;    // a decoded path: at most 255 characters

// ---- Access filter ----

json_object *filter_list_json() {
  access_filter_entry entries[ACCESS_FILTER_ENTRIES] = {};
  int count = 0;
  read_access_filter(KXDB_FILE, entries, &count);
  json_object *list = json_object_new_array();
  for (int i = 0; i < count; i++) {
    json_object *entry = json_object_new_object();
    json_add_int(entry, "address_type", entries[i].address_type);
    json_add_text(entry, "address", field_text(entries[i].address));
    json_object_array_add(list, entry);
  }
  return list;
}

// ---- Page texts ----

// The value after `key` up to the next '&' or the end, cut to size - 1.
// False when the key is absent.
bool query_value(const char *text, const char *key, char *out, size_t size) {
  out[0] = '\0';
  const char *p = strstr(text, key);
  if (!p) return false;
  p += strlen(key);
  size_t length = strcspn(p, "&");
  if (length >= size) length = size - 1;
  memcpy(out, p, length);
  out[length] = '\0';
  return true;
}

void append_limited(std::string *out, const char *text) {
  if (out->size() >= kSectionLimit) return;
  out->append(text, strnlen(text, kSectionLimit - out->size()));
}

// The section between the markers, "{" and "}" around it; empty when absent.
std::string read_section(FILE *f, const std::string &open, const std::string &close) {
  std::string out;
  char line[kLineScan];
  bool inside = false;
  while (fgets(line, sizeof line, f)) {
    if (!inside) {
      if (strstr(line, open.c_str())) {
        inside = true;
        out = "{\n";
      }
      continue;
    }
    if (strstr(line, close.c_str())) {
      append_limited(&out, "\n}");
      return out;
    }
    append_limited(&out, line);
  }
  return out;
}

// ---- Downloads ----

bool has_control_character(const char *text) {
  for (; *text; text++) {
    if ((unsigned char)*text < 0x20 || *text == 0x7f) return true;
  }
  return false;
}

// Through the stream when it has no descriptor of its own (a reply captured
// in memory).
long long copy_through_stream(int fd) {
  char block[4096];
  long long total = 0;
  for (;;) {
    ssize_t n = read(fd, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) return total;
    if (fwrite(block, 1, (size_t)n, cgiOut) != (size_t)n) return -1;
    total += n;
  }
}

void copy_to_reply(int fd) {
  fflush(cgiOut);
  struct stat st = {};
  fstat(fd, &st);
  int out = fileno(cgiOut);
  long long copied = out >= 0 ? kx_spliced_copy_ex(fd, out) : copy_through_stream(fd);
  fflush(cgiOut);
  if (copied < 0) {
    CGI_LOG("fd_in:%d fd_out:%d filestat.st_size:%d", fd, out, (int)st.st_size);
    CGI_LOG("Error copying input file [%d] to output file [%d]\n", fd, out);
  }
}

// ---- Camera addresses ----

// The batch: chnFre channels per address, chnNum addresses, at most `limit`
// channels; the last octet counts up and never passes 255. False when a
// write failed.
bool write_camera_batch(in_addr start, int count, int per_address, int limit) {
  uint32_t base = ntohl(start.s_addr);
  int channel = 0;
  for (int k = 0; k < count && channel < limit; k++) {
    if ((base & 0xff) + (uint32_t)k > 255) break;
    in_addr address = {htonl(base + (uint32_t)k)};
    char text[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &address, text, sizeof text);
    for (int j = 0; j < per_address && channel < limit; j++, channel++) {
      if (write_camera_ip(KXDB_FILE, channel, text) != 0) return false;
    }
  }
  return true;
}

}  // namespace

int on_get_access_filter(char *) {
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "filterEnable", param_int(PARAM_ACCESS_FILTER_ENABLE));
  json_add_int(reply.get(), "filterType", param_int(PARAM_ACCESS_FILTER_TYPE));
  json_object_object_add(reply.get(), "filterList", filter_list_json());
  return json_writeback(CGI_REPLY_JSON, reply.get());
}

int on_set_access_filter(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return cgi_error_to_webserver(CGI_REPLY_TEXT);
  json_object *list = json_member(root.get(), "filterList");
  access_filter_entry entries[ACCESS_FILTER_ENTRIES] = {};
  int count = array_length(list);
  if (count > ACCESS_FILTER_ENTRIES) count = ACCESS_FILTER_ENTRIES;
  for (int i = 0; i < count; i++) {
    json_object *entry = array_at(list, i);
    entries[i].address_type = member_int(entry, "address_type");
    member_text(entry, "address", entries[i].address, sizeof entries[i].address);
  }
  if (set_param_int(KXDB_FILE, PARAM_ACCESS_FILTER_ENABLE.key,
                    member_int(root.get(), "filterEnable")) != 0 ||
      set_param_int(KXDB_FILE, PARAM_ACCESS_FILTER_TYPE.key,
                    member_int(root.get(), "filterType")) != 0 ||
      write_access_filter(KXDB_FILE, entries, count) != 0) {
    return cgi_error_to_webserver(CGI_REPLY_TEXT);
  }
  cgi_send_notice(1722, nullptr, 0);
  return cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
}

void on_export_diagnosis_cb(const void *payload, int length) {
  int32_t status = -1;
  if (!cgi_answer_status(payload, length, &status) || status < 0 ||
      length <= DIAGNOSIS_PATH_OFFSET) {
    return cgi_reply_done(CGI_REPLY_TEXT, "Failed");
  }
  size_t width = (size_t)(length - DIAGNOSIS_PATH_OFFSET);
  std::string path = field_text((const char *)payload + DIAGNOSIS_PATH_OFFSET,
                                width < DIAGNOSIS_PATH_MAX ? width : DIAGNOSIS_PATH_MAX);
  char encoded[DIAGNOSIS_PATH_MAX + 1];
  get_url_encode(path.c_str(), encoded, sizeof encoded);
  std::string reply = std::string("OK/") + encoded + "\r\n";
  cgi_reply_done(CGI_REPLY_TEXT, reply.c_str());
}

int on_export_diagnosis(char *) {
  if (access(DIAGNOSTIC_RUNNING_FILE, F_OK) == 0) {
    return cgi_writeback_webserver(CGI_REPLY_TEXT, "Failed");  // an export is running
  }
  diagnosis_request request = {};
  snprintf(request.directory, sizeof request.directory, "%s", UPLOAD_DIR);
  if (!cgi_exchange(on_system_ipc_callback, 3528, &request, sizeof request, CGI_REPLY_NONE)) {
    cgi_writeback_webserver(CGI_REPLY_TEXT, "Failed");
  }
  return 0;
}

int open_tmp_file(const char *path, char *resolved) {
  if (path[0] != '/' || has_control_character(path) || !realpath(path, resolved)) return -1;
  size_t dir_len = strlen(UPLOAD_DIR);
  if (strncmp(resolved, UPLOAD_DIR, dir_len) != 0 || resolved[dir_len] != '/') return -1;
  int fd = open(resolved, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return -1;
  }
  return fd;
}

int on_download_file(char *text) {
  char path[kDownloadPathScan];
  char resolved[PATH_MAX];
  get_url_decode(text ? text : "", path, sizeof path);
  int fd = open_tmp_file(path, resolved);
  if (fd < 0) return 0;
  const char *slash = strrchr(path, '/');
  fputs("Content-Type:application/octet-stream\r\n", cgiOut);
  fprintf(cgiOut, "Content-Disposition: attachment; filename= %s\r\n\r\n",
          slash ? slash + 1 : path);
  copy_to_reply(fd);
  close(fd);
  unlink(resolved);
  return 0;
}

int on_read_lang_section(char *text) {
  char lang[64], page[128], sub[128];
  const char *query = text ? text : "";
  bool has_lang = query_value(query, "lang=", lang, sizeof lang);
  bool has_page = query_value(query, "page=", page, sizeof page);
  bool has_sub = query_value(query, "sub=", sub, sizeof sub);
  if ((!has_page && !has_sub) || !page[0]) {
    return cgi_writeback_webserver(CGI_REPLY_TEXT, "ERROR PAGE.");
  }
  // The language names a file of the folder, nothing beside it.
  if (!has_lang || strchr(lang, '/')) return cgi_writeback_webserver(CGI_REPLY_TEXT, "ERROR LANG.");
  std::string file = std::string(LANG_FILE_DIR) + "/" + lang + ".json";
  FILE *f = fopen(file.c_str(), "r");
  if (!f) return cgi_writeback_webserver(CGI_REPLY_TEXT, "ERROR LANG.");
  std::string marker = sub[0] ? std::string(page) + "=" + sub + ".json" : std::string(page) + ".json";
  std::string section = read_section(f, "{//" + marker, "}//" + marker);
  fclose(f);
  return cgi_writeback_webserver(CGI_REPLY_JSON, section.c_str());
}

int on_fill_camera_ips(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  char start[32];
  member_text(root.get(), "startip", start, sizeof start);
  int count = member_int(root.get(), "chnNum");
  int per_address = member_int(root.get(), "chnFre");
  in_addr address = {};
  if (count < 1 || per_address < 1 || inet_pton(AF_INET, start, &address) != 1) {
    return cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  }
  int limit = param_int(PARAM_MAX_CAMERAS);
  if (limit > CAMERA_CHANNELS) limit = CAMERA_CHANNELS;
  if (!write_camera_batch(address, count, per_address, limit)) {
    return cgi_error_to_webserver(CGI_REPLY_TEXT);
  }
  return cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
}

int on_dw_download(char *) {
  return cgi_writeback_webserver(CGI_REPLY_TEXT, "NG download");
}

int on_ignore_request(char *) {
  return 0;
}
