// "/1004" to "/1008", "/1013": restart, restart state, factory restore, and
// the configuration's export, download and import. The configuration file
// is made and read by the profile tool (`kxprofile`); these handlers start
// it and move the file between it and the browser.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cgi_deal.h"
#include "kxdb_motion.h"
#include "maintenance.h"
#include "system.h"

namespace {

constexpr int kLogRestart = 200;
constexpr int kLogExport = 213;
constexpr int kLogImport = 214;
constexpr int kLogRestore = 215;
constexpr int kLogParamMaintenance = 900;

// Intervals of the motion record that a restart must not leave at 0 (s).
constexpr int32_t kMotionIntervalDefault = 20;

// How much of the export marker each reader takes.
constexpr size_t kExportMarkerRead = 256;
constexpr size_t kDownloadMarkerRead = 1168;
constexpr size_t kDownloadBlock = 4095;

// The path in the export marker, at most `limit` bytes of it, without
// trailing line ends or blanks. False when the marker cannot be read or
// holds no path.
bool read_export_marker(char *path, size_t limit) {
  FILE *f = fopen(EXPORT_MARKER_FILE, "rb");
  if (!f) return false;
  size_t n = fread(path, 1, limit, f);
  fclose(f);
  path[n] = '\0';
  for (n = strlen(path); n > 0 && strchr(" \t\r\n", path[n - 1]); n--) path[n - 1] = '\0';
  return path[0] != '\0';
}

const char *after_last_slash(const char *path) {
  const char *slash = strrchr(path, '/');
  return slash ? slash + 1 : path;
}

bool has_control_character(const char *text) {
  for (; *text; text++) {
    if ((unsigned char)*text < 0x20 || *text == 0x7f) return true;
  }
  return false;
}

// Opens the exported file the marker names, when it is a regular file
// below UPLOAD_DIR once links are resolved; `resolved` gets its real path.
// -1 otherwise: any upload can write the marker, so it names nothing else.
int open_exported_file(const char *path, char (&resolved)[PATH_MAX]) {
  if (has_control_character(path) || !realpath(path, resolved)) return -1;
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

// Copies the file to the reply in blocks until its end or a failed read.
void stream_file(int fd) {
  char block[kDownloadBlock];
  for (;;) {
    ssize_t n = read(fd, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    fwrite(block, 1, (size_t)n, cgiOut);
  }
  fflush(cgiOut);
}

}  // namespace

void send_maintenance_log(int sub_type) {
  log_info entry;
  cgi_init_log_info(&entry);
  entry.sub_type = sub_type;
  entry.param_type = kLogParamMaintenance;
  cgi_send_log_info(&entry);
}

void send_restart_requests() {
  send_maintenance_log(kLogRestart);
  cgi_send_notice(1703, nullptr, 0);
}

int on_restart_device(char *) {
  send_restart_requests();
  return cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
}

int on_get_restart_state(char *) {
  // The motion intervals of channel 0 get their defaults back when a
  // restart left them at 0. A record that cannot be read is not written:
  // zeros over it would lose the channel's settings.
  motion_params motion = {};
  if (read_motion(KXDB_FILE, &motion, 0) == 0) {
    if (motion.interval == 0) motion.interval = kMotionIntervalDefault;
    if (motion.email_interval == 0) motion.email_interval = kMotionIntervalDefault;
    write_motion(KXDB_FILE, &motion);
  }
  return cgi_writeback_webserver(CGI_REPLY_TEXT,
                                 access(CORE_RUNNING_FILE, R_OK) == 0 ? "OK" : "NO OK");
}

int on_restore_device(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  restore_request request = {};
  request.keep_ip = member_int(root.get(), "keepIp");
  request.keep_user = member_int(root.get(), "keepUser");
  // The page has its answer before the recorder starts to restore.
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  cgi_send_notice(3311, &request, sizeof request);
  cgi_send_notice(3410, nullptr, 0);
  send_maintenance_log(kLogRestore);
  cgi_send_notice(1703, nullptr, 0);
  return 0;
}

int on_export_config(char *) {
  if (web_system("kxprofile -e \"/tmp\"") != 0) {
    return cgi_writeback_webserver(CGI_REPLY_TEXT, "CGI ERROR");
  }
  send_maintenance_log(kLogExport);
  char path[kExportMarkerRead + 1];
  if (!read_export_marker(path, kExportMarkerRead) || !strchr(path, '/')) {
    return cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  }
  char reply[sizeof path + 16];
  snprintf(reply, sizeof reply, "OK filename=%s\r\n", after_last_slash(path));
  return cgi_writeback_webserver(CGI_REPLY_TEXT, reply);
}

int on_download_config(char *) {
  char path[kDownloadMarkerRead + 1];
  char resolved[PATH_MAX];
  if (!read_export_marker(path, kDownloadMarkerRead)) return 0;
  int fd = open_exported_file(path, resolved);
  if (fd < 0) return 0;
  fputs("Content-Type:application/octet-stream\r\n", cgiOut);
  fprintf(cgiOut, "Content-Disposition: attachment; filename= %s\r\n\r\n", after_last_slash(path));
  stream_file(fd);
  close(fd);
  unlink(resolved);  // the marker stays
  return 0;
}

bool import_upload_path(const char *text, char *path, size_t size) {
  path[0] = '\0';
  const char *end = strstr(text, " & ");
  size_t length = end ? (size_t)(end - text) : strlen(text);
  size_t dir_len = strlen(UPLOAD_DIR);
  if (length >= size || length <= dir_len + 1) return false;
  if (strncmp(text, UPLOAD_DIR, dir_len) != 0 || text[dir_len] != '/') return false;
  const char *name = text + dir_len + 1;
  size_t name_len = length - dir_len - 1;
  if (memchr(name, '/', name_len) || (name_len == 1 && name[0] == '.') ||
      (name_len == 2 && name[0] == '.' && name[1] == '.')) {
    return false;
  }
  memcpy(path, text, length);
  path[length] = '\0';
  struct stat st;
  if (lstat(path, &st) != 0 || !S_ISREG(st.st_mode)) {
    path[0] = '\0';
    return false;
  }
  return true;
}

int on_import_config(char *text) {
  char path[CGI_UPLOAD_TEXT_SIZE];
  if (!import_upload_path(text, path, sizeof path)) {
    return cgi_writeback_webserver(CGI_REPLY_TEXT, "CGI ERROR");
  }
  // The tool replaces the database file: no connection of this process
  // may keep the old one.
  kxdb_close_all();
  const char *argv[] = {"kxprofile", "-i", path, nullptr};
  if (kx_run_argv(argv) != 0 || unlink(path) != 0) {
    return cgi_writeback_webserver(CGI_REPLY_TEXT, "CGI ERROR");
  }
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  send_maintenance_log(kLogImport);
  return 0;
}
