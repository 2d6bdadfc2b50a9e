#include "web_utils.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "access_guard.h"
#include "cgi_ipc.h"
#include "cgic.h"
#include "kxdb.h"
#include "kxdb_system.h"
#include "kxstd.h"

int IsFileExisted(const char *path) {
  if (!path || !path[0]) return -1;
  return access(path, F_OK) == 0 ? 0 : -1;
}

int IsDirExisted(const char *path) {
  if (!path || !path[0]) return -1;
  struct stat st;
  return lstat(path, &st) == 0 && S_ISDIR(st.st_mode) ? 0 : -1;
}

int RemoveFile(const char *source, const char *destination) {
  if (!source || !destination) return -1;
  const char *argv[] = {"/bin/mv", "--", source, destination, nullptr};
  kx_run_argv(argv);
  return 0;
}

int DeleteFile(const char *path) {
  if (!path) return -1;
  const char *argv[] = {"/bin/rm", "--", path, nullptr};
  kx_run_argv(argv);
  return 0;
}

int file_lock(const char *path) {
  if (!path) return -1;
  int fd = open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  if (lockf(fd, F_LOCK, 0) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

int file_unlock(int fd) {
  if (fd < 0) return fd;
  lockf(fd, F_ULOCK, 0);
  close(fd);
  return 0;
}

char *kx_get_file_data(const char *path, int *length) {
  if (length) *length = 0;
  FILE *f = path ? fopen(path, "r") : nullptr;
  if (!f) return nullptr;
  struct stat st;
  char *data = nullptr;
  if (fstat(fileno(f), &st) == 0 && st.st_size > 0 && st.st_size < INT32_MAX) {
    data = (char *)malloc((size_t)st.st_size + 1);
    if (data && fread(data, 1, (size_t)st.st_size, f) == (size_t)st.st_size) {
      data[st.st_size] = '\0';
      if (length) *length = (int)st.st_size;
    } else {
      free(data);
      data = nullptr;
    }
  }
  fclose(f);
  return data;
}

int kx_wirte_file_data(const char *path, const void *data, int length) {
  if (!path || length < 0 || (length && !data)) return -1;
  FILE *f = fopen(path, "w");
  if (!f) return -1;
  bool ok = fwrite(data, 1, (size_t)length, f) == (size_t)length;
  ok = fclose(f) == 0 && ok;
  return ok ? 0 : -1;
}

int get_current_username(char *buffer) {
  if (!buffer) return -1;
  // Under the access guard the session names the user; the cookie is the
  // client's own text.
  if (const char *user = web_access_session_user()) {
    snprintf(buffer, 64, "%s", user);
    return 0;
  }
  const char *p = strstr(cgiCookie, "userName");
  if (!p) return -1;
  // Past "userName=" (whatever the ninth character is), within the text.
  size_t rest = strlen(p);
  p += rest < 9 ? rest : 9;
  char value[512];
  snprintf(value, sizeof value, "%.*s", (int)strcspn(p, ";"), p);
  const char *eq = strchr(value, '=');
  const char *name = eq ? eq + 1 : value;
  size_t n = strnlen(name, 63);
  memcpy(buffer, name, n);
  buffer[n] = '\0';
  return 0;
}

int cgi_init_log_info(log_info *entry) {
  if (!entry) return -1;
  memset(entry, 0, sizeof *entry);
  entry->main_type = 4;
  entry->remote = 1;
  get_current_username(entry->user_name);
  snprintf(entry->client_addr, sizeof entry->client_addr, "%s", cgiRemoteAddr);
  return 0;
}

// Notices and log entries are not answered; any frame is ignored.
static void ignore_response(int, const kx_msg_head *, const void *) {}

void cgi_send_notice(int code, const void *payload, int length) {
  cgi_start_ipc(ignore_response, code, length, payload, 1);
  cgi_stop_ipc();
}

void cgi_send_log_info(const log_info *entry) {
  cgi_send_notice(3485, entry, sizeof *entry);
}

void cgi_send_log_info_channels(const log_info *entry, uint64_t mask) {
  log_info_channels msg = {};
  msg.entry = *entry;
  msg.chmask_low = (uint32_t)mask;
  msg.chmask_high = (uint32_t)(mask >> 32);
  cgi_send_notice(3509, &msg, sizeof msg);
}

// Locally administered addresses; eth1's is eth0's plus one.
static const unsigned char kFallbackMac[6] = {0x02, 0x4B, 0x58, 0x00, 0x00, 0x10};

static void interface_mac(const char *name, int fallback_offset, char *out) {
  unsigned char mac[6];
  memcpy(mac, kFallbackMac, sizeof mac);
  mac[5] = (unsigned char)(mac[5] + fallback_offset);
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    perror("create socket fail\n");
  } else {
    ifreq req = {};
    snprintf(req.ifr_name, sizeof req.ifr_name, "%s", name);
    if (ioctl(fd, SIOCGIFHWADDR, &req) == 0) memcpy(mac, req.ifr_hwaddr.sa_data, sizeof mac);
    close(fd);
  }
  snprintf(out, 18, "%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2], mac[3], mac[4],
           mac[5]);
}

int get_mac_addr(char *eth0, char *eth1) {
  if (eth0) interface_mac("eth0", 0, eth0);
  if (eth1) interface_mac("eth1", 1, eth1);
  return 0;
}

int get_audio_file_id_mask() {
  alarm_audio_file files[ALARM_AUDIO_FILES] = {};
  int count = 0;
  read_alarm_audio_file(KXDB_FILE, files, &count);
  int mask = 0;
  for (int i = 0; i < ALARM_AUDIO_FILES && i < count; i++) {
    if (files[i].enable == 1) mask |= 1 << i;
  }
  return mask;
}

std::string shell_quote(const char *text) {
  std::string q = "'";
  for (const char *p = text ? text : ""; *p; p++) {
    if (*p == '\'') q += "'\\''";
    else q += *p;
  }
  return q + "'";
}
