// HTTPS certificates: create a certificate or a certificate request (the
// core daemon does the cryptography), install an uploaded certificate,
// download the request, delete them, and switch HTTPS.
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "cert_records.h"
#include "network.h"

namespace {

constexpr size_t kDownloadBlock = 4095;
constexpr const char *kUploadDir = "/tmp/";
constexpr const char *kFieldSeparator = " & ";

bool exists(const char *path) { return IsFileExisted(path) == 0; }

template <size_t N>
void set_space(char (&field)[N]) {
  memset(field, 0, N);
  field[0] = ' ';
}

ssl_params record_from_request(json_object *root) {
  ssl_params r = {};
  r.InstallType = member_int(root, "InstallType");
  member_text(root, "Country", r.Country, sizeof r.Country);
  member_text(root, "CommonName", r.CommonName, sizeof r.CommonName);
  member_text(root, "Password", r.Password, sizeof r.Password);
  member_text(root, "Province", r.Province, sizeof r.Province);
  member_text(root, "Region", r.Region, sizeof r.Region);
  member_text(root, "Organization", r.Organization, sizeof r.Organization);
  member_text(root, "Company", r.Company, sizeof r.Company);
  member_text(root, "Email", r.Email, sizeof r.Email);
  if (r.InstallType == SSL_INSTALL_CERT) {
    r.Validity = member_int(root, "Validity");
    member_text(root, "startTime", r.startTime, sizeof r.startTime);
    member_text(root, "endTime", r.endTime, sizeof r.endTime);
  }
  return r;
}

int remove_entry(const char *path, const struct stat *, int, struct FTW *) {
  remove(path);
  return 0;
}

int open_up_entry(const char *path, const struct stat *, int, struct FTW *level) {
  if (level->level > 0) chmod(path, 0777);
  return 0;
}

void touch(const char *path, const char *content) {
  int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, 0644);
  if (fd < 0) return;
  if (content && write(fd, content, strlen(content)) < 0) CGI_LOG("cannot write %s", path);
  close(fd);
}

// The certificate tool's working directory, fresh: demoCA with newcerts, an
// empty index and the serial "01"; everything under the directory open.
void config_ssl_environment() {
  mkdir(SSL_DIR, 0755);
  nftw(SSL_TOOL_DIR, remove_entry, 16, FTW_DEPTH | FTW_PHYS);
  const std::string tool = SSL_TOOL_DIR;
  mkdir(tool.c_str(), 0755);
  mkdir((tool + "/newcerts").c_str(), 0755);
  touch((tool + "/index.txt").c_str(), nullptr);
  touch((tool + "/serial").c_str(), "01\n");
  nftw(SSL_DIR, open_up_entry, 16, FTW_PHYS);
  cgi_ipc_pause(std::chrono::milliseconds(1000));
}

// The uploaded file named by the request, or "" when the text does not name
// one regular file directly in the upload directory.
std::string uploaded_file(const char *text) {
  std::string path = text ? text : "";
  path = path.substr(0, path.find(kFieldSeparator));
  if (path.compare(0, strlen(kUploadDir), kUploadDir) != 0) return "";
  std::string name = path.substr(strlen(kUploadDir));
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
    return "";
  }
  struct stat st = {};
  if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return "";
  return path;
}

void copy_file(const char *from, const char *to) {
  int length = 0;
  char *data = kx_get_file_data(from, &length);
  if (data || exists(from)) kx_wirte_file_data(to, data ? data : "", length);
  free(data);
}

void reply_json(json_object *o) { json_writeback(CGI_REPLY_JSON, o); }

}  // namespace

int on_create_https_cert(char *text) {
  JsonPtr root = network::parse_object(text);
  if (!root) return -1;
  ssl_params record = record_from_request(root.get());
  config_ssl_environment();
  cgi_exchange(on_network_ipc_callback, CERT_REQ_CREATE, &record, sizeof record);
  return 0;
}

int on_get_cert_info(char *) {
  JsonPtr reply(json_object_new_object());
  if (!exists(SSL_CERT)) {
    set_param_int(KXDB_FILE, PARAM_HTTPSENABLE.key, 0);
    json_add_int(reply.get(), "enable", 0);
    json_add_text(reply.get(), "checkfile", "NOFILE");
    reply_json(reply.get());
    return 0;
  }
  ssl_params r = {};
  read_ssl_params(KXDB_FILE, &r, SSL_INSTALL_CERT);
  json_add_int(reply.get(), "enable", param_int(PARAM_HTTPSENABLE));
  json_add_text(reply.get(), "checkfile", "OK");
  network::add_text(reply.get(), "country", r.Country);
  network::add_text(reply.get(), "common_name", r.CommonName);
  network::add_text(reply.get(), "email", r.Email);
  network::add_text(reply.get(), "dates", r.dates);
  reply_json(reply.get());
  return 0;
}

int on_download_cert_req(char *) {
  FILE *in = fopen(SSL_REQUEST_DOWNLOAD, "rb");
  if (!in) {
    cgi_writeback_webserver(CGI_REPLY_TEXT, "NotFile");
    return 0;
  }
  fputs("Content-Type:application/octet-stream\r\n", cgiOut);
  fprintf(cgiOut, "Content-Disposition: attachment; filename= %s\r\n\r\n", "ssl_cert.csr");
  char block[kDownloadBlock];
  size_t n;
  while ((n = fread(block, 1, sizeof block, in)) > 0) fwrite(block, 1, n, cgiOut);
  fclose(in);
  fflush(cgiOut);
  return 0;
}

int on_delete_cert_req(char *) {
  cgi_send_notice(CERT_REQ_DELETE_REQUEST, nullptr, 0);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

int on_install_cert(char *text) {
  std::string upload = uploaded_file(text);
  if (upload.empty()) {
    cgi_writeback_webserver(CGI_REPLY_TEXT, "Error");
    return -1;
  }
  const char *profile[] = {"kxprofile", "-i", upload.c_str(), nullptr};
  kx_run_argv(profile);
  copy_file(SSL_CERT, SSL_CERT_SAVED);
  RemoveFile(upload.c_str(), SSL_CERT);
  cgi_exchange(on_network_ipc_callback, CERT_REQ_INSTALLED, nullptr, 0);
  return 0;
}

int on_delete_cert(char *) {
  ssl_params r = {};
  r.InstallType = SSL_INSTALL_CERT;
  set_space(r.Country);
  set_space(r.CommonName);
  set_space(r.Email);
  set_space(r.dates);
  if (set_param_int(KXDB_FILE, PARAM_HTTPSENABLE.key, 0) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  DeleteFile(SSL_CERT);
  DeleteFile(SSL_REQUEST);
  if (write_ssl_params(KXDB_FILE, &r) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  int32_t off = 0;
  cgi_send_notice(CERT_REQ_DELETED, nullptr, 0);
  cgi_send_notice(CERT_REQ_HTTPS_SWITCH, &off, sizeof off);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

int on_set_https_enable(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int32_t enable = member_int(root.get(), "httpsenable");
  if (enable != 0 && !exists(SSL_CERT)) {
    cgi_writeback_webserver(CGI_REPLY_TEXT, "NOFILE");
    return 0;
  }
  if (set_param_int(KXDB_FILE, PARAM_HTTPSENABLE.key, enable) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  cgi_send_notice(CERT_REQ_HTTPS_SWITCH, &enable, sizeof enable);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

int on_get_https_enable(char *) {
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "enable", param_int(PARAM_HTTPSENABLE));
  reply_json(reply.get());
  return 0;
}

int on_get_cert_req_info(char *) {
  JsonPtr reply(json_object_new_object());
  if (!exists(SSL_REQUEST)) {
    json_add_text(reply.get(), "checkfile", "NOFILE");
    reply_json(reply.get());
    return 0;
  }
  ssl_params r = {};
  read_ssl_params(KXDB_FILE, &r, SSL_INSTALL_REQUEST);
  json_add_text(reply.get(), "checkfile", "OK");
  network::add_text(reply.get(), "country_req", r.Country);
  network::add_text(reply.get(), "common_name_req", r.CommonName);
  network::add_text(reply.get(), "email_req", r.Email);
  reply_json(reply.get());
  return 0;
}

void on_resp_create_cert(int, const void *) { cgi_reply_done(CGI_REPLY_TEXT, "OK"); }

void on_resp_install_cert(int count, const void *payload) {
  int32_t result = 0;
  network::first_int(count, payload, &result);
  cgi_reply_done(CGI_REPLY_TEXT, result == 1 ? "OK" : "Error");
}
