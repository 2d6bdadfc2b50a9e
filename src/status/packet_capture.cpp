// Packet capture for diagnostics: tcpdump on one interface into two
// rotating files on a storage path, stopped on request, and downloaded as
// one tar archive. Every request text is checked before it becomes part
// of a command, and each one is quoted as one argument.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "kxstd_net.h"
#include "network/netif.h"
#include "status.h"

namespace {

constexpr const char *kCapturePrefix = "rvpcap-";
constexpr const char *kArchiveName = "packet.tar";
constexpr size_t kMaxHost = 63;   // the page's field widths
constexpr size_t kMaxPath = 127;
constexpr size_t kDownloadBlock = 4095;

bool all_of(const std::string &text, const char *extra) {
  for (unsigned char c : text) {
    if (!isalnum(c) && (c == 0 || !strchr(extra, c))) return false;
  }
  return true;
}

// Member text as json-c renders it (a number stays its digits), "" when absent.
std::string member_string(json_object *root, const char *key) {
  json_object *value = json_member(root, key);
  const char *text = value ? json_object_get_string(value) : nullptr;
  return text ? text : "";
}

struct CaptureRequest {
  std::string ip, port, nic, path;
};

bool read_capture_request(const char *text, CaptureRequest *request) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || !json_object_is_type(root.get(), json_type_object)) return false;
  request->ip = member_string(root.get(), "ip");
  request->port = member_string(root.get(), "port");
  request->nic = member_string(root.get(), "nic");
  request->path = member_string(root.get(), "mntPath");
  return status::valid_nic(request->nic) && status::valid_host(request->ip) &&
         status::valid_port(request->port) && status::valid_mount_path(request->path);
}

std::string capture_name() {
  char name[32];
  time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  strftime(name, sizeof name, "rvpcap-%Y%m%d%H%M%S", &local);
  return name;
}

// The interface's IPv6 address: a global one, else the link-local one.
std::string ipv6_address(const std::string &nic) {
  char address[64] = "", prefix[16] = "";
  if (net_get_ipv6_ifaddr(NET_IPV6_GLOBAL, nic.c_str(), address, sizeof address, prefix,
                          sizeof prefix) == 0) {
    return address;
  }
  if (net_get_ipv6_ifaddr(NET_IPV6_LINK, nic.c_str(), address, sizeof address, prefix,
                          sizeof prefix) == 0) {
    return address;
  }
  return "";
}

std::string capture_filter(const CaptureRequest &r) {
  if_netconf conf = {};
  if_get_netconf(r.nic.c_str(), &conf);
  std::string filter = "host " + field_text(conf.ip);
  std::string ipv6 = ipv6_address(r.nic);
  if (!ipv6.empty()) filter += " || host " + ipv6;
  if (!r.ip.empty()) filter += " && host " + r.ip;
  if (!r.port.empty()) filter += " && port " + r.port;
  return filter;
}

void run(const std::string &command) { web_system(command.c_str()); }

std::string quoted(const std::string &text) { return shell_quote(text.c_str()); }

void start_capture(const CaptureRequest &r, const std::string &name) {
  run("killall tcpdump > /dev/null");
  run("killall webmonitor > /dev/null");
  run("/bin/rm  " + quoted(r.path) + "/rvpcap-* > /dev/null");
  run("tcpdump -i " + quoted(r.nic) + " -s0 " + quoted(capture_filter(r)) +
      " -W 2 -C 25 -w " + quoted(r.path + "/" + name) + " > /dev/null &");
  run("/www/webmonitor tcpdump 300 > /dev/null &");
}

// "path/name" of a capture in an existing directory, else false.
bool split_capture_text(const std::string &text, std::string *path, std::string *name) {
  size_t slash = text.rfind('/');
  if (slash == std::string::npos) return false;
  *path = text.substr(0, slash);
  *name = text.substr(slash + 1);
  return status::valid_mount_path(*path) && IsDirExisted(path->c_str()) == 0 &&
         status::valid_capture_name(*name);
}

// Renames the capture's files to ".pcap" and names those there are.
std::vector<std::string> capture_files(const std::string &path, const std::string &name) {
  std::vector<std::string> files;
  for (const char *suffix : {"0", "1", ""}) {
    std::string file = name + suffix;
    std::string full = path + "/" + file;
    if (IsFileExisted(full.c_str()) == 0) {
      run("/bin/mv " + quoted(full) + " " + quoted(full + ".pcap"));
    }
    if (IsFileExisted((full + ".pcap").c_str()) == 0) files.push_back(file + ".pcap");
  }
  return files;
}

std::string quoted_list(const std::vector<std::string> &names, const std::string &dir) {
  std::string list;
  for (const auto &n : names) list += " " + quoted(dir.empty() ? n : dir + "/" + n);
  return list;
}

void send_archive(FILE *archive) {
  fputs("Content-Type:application/octet-stream\r\n", cgiOut);
  fprintf(cgiOut, "Content-Disposition: attachment; filename= %s\r\n\r\n", kArchiveName);
  char block[kDownloadBlock];
  size_t n;
  while ((n = fread(block, 1, sizeof block, archive)) > 0) fwrite(block, 1, n, cgiOut);
  fflush(cgiOut);
}

}  // namespace

namespace status {

bool valid_nic(const std::string &nic) {
  return !nic.empty() && nic.size() <= 7 && nic[0] != '-' && all_of(nic, "._-");
}

bool valid_host(const std::string &ip) { return ip.size() <= kMaxHost && all_of(ip, ".:-"); }

bool valid_port(const std::string &port) {
  return port.size() <= 5 && port.find_first_not_of("0123456789") == std::string::npos;
}

bool valid_mount_path(const std::string &path) {
  if (path.empty() || path[0] != '/' || path.size() > kMaxPath) return false;
  if (!all_of(path, "._/-")) return false;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    if (path.compare(start, end - start, "..") == 0) return false;
    start = end + 1;
  }
  return true;
}

bool valid_capture_name(const std::string &name) {
  std::string prefix = kCapturePrefix;
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return false;
  return name.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
}

}  // namespace status

int on_start_packet_capture(char *text) {
  CaptureRequest request;
  if (!read_capture_request(text, &request)) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return 0;
  }
  std::string name = capture_name();
  start_capture(request, name);
  JsonPtr reply(json_object_new_object());
  json_add_text(reply.get(), "dirPath", request.path);
  json_add_text(reply.get(), "fileName", name);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

// Stops the capture; the monitor ends on its own time.
int on_stop_packet_capture(char *) {
  web_system("killall tcpdump > /dev/null &");
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

int on_download_packet_capture(char *text) {
  std::string path, name;
  if (!text || !split_capture_text(text, &path, &name)) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return 0;
  }
  std::vector<std::string> files = capture_files(path, name);
  if (files.empty()) return 0;  // nothing to archive: nothing is written
  std::string archive = path + "/" + kArchiveName;
  run("cd " + quoted(path) + " && tar -cvf " + quoted(archive) + " --" + quoted_list(files, "") +
      " > /dev/null");
  FILE *file = fopen(archive.c_str(), "rb");
  if (file) {
    send_archive(file);
    fclose(file);
  }
  run("/bin/rm -f -- " + quoted(archive) + quoted_list(files, path));
  return 0;
}
