// The whole stack as the demo runs it: lighttpd with mod_cgi in front of
// webcgi, coresim behind it, factory settings seeded; requests over HTTP.
// With MODE=fastcgi in the environment (the test stack_tests_fastcgi) the
// same requests go to persistent webcgi processes through mod_fastcgi.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstdlib>
#include <json-c/json.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cgi_runner.h"

namespace {

struct HttpReply {
  int status = 0;
  std::map<std::string, std::string> headers;  // names in lower case
  std::string set_cookies;                     // every Set-Cookie line, joined
  std::string body;
};

// One HTTP/1.0 exchange with the web server on 127.0.0.1:80.
HttpReply http(const std::string &method, const std::string &target, const std::string &body = "",
               const std::string &content_type = "", const std::string &extra_headers = "") {
  HttpReply reply;
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(80);
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, (sockaddr *)&addr, sizeof addr) != 0) {
    close(fd);
    return reply;
  }
  std::string host = extra_headers.find("Host:") == std::string::npos ? "Host: 127.0.0.1\r\n" : "";
  std::string request = method + " " + target + " HTTP/1.0\r\n" + host + extra_headers;
  if (!content_type.empty()) request += "Content-Type: " + content_type + "\r\n";
  if (method == "POST") request += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  request += "\r\n" + body;
  for (size_t off = 0; off < request.size();) {
    ssize_t n = write(fd, request.data() + off, request.size() - off);
    if (n <= 0) break;
    off += (size_t)n;
  }
  std::string raw;
  char buf[65536];
  for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) raw.append(buf, (size_t)n);
  close(fd);

  size_t end = raw.find("\r\n\r\n");
  std::string head = raw.substr(0, end);
  reply.body = end == std::string::npos ? "" : raw.substr(end + 4);
  sscanf(head.c_str(), "HTTP/%*s %d", &reply.status);
  for (size_t pos = head.find("\r\n"); pos != std::string::npos;) {
    size_t next = head.find("\r\n", pos + 2);
    std::string line = head.substr(pos + 2, next == std::string::npos ? next : next - pos - 2);
    size_t colon = line.find(':');
    if (colon != std::string::npos) {
      std::string name = line.substr(0, colon);
      for (char &c : name) c = (char)tolower(c);
      std::string value = line.substr(colon + 1 + (line[colon + 1] == ' '));
      if (name == "set-cookie") reply.set_cookies += value + "\n";
      reply.headers[name] = value;
    }
    pos = next;
  }
  return reply;
}

struct JsonPut {
  void operator()(json_object *o) const { json_object_put(o); }
};
using Json = std::unique_ptr<json_object, JsonPut>;

Json parse(const std::string &text) {
  return Json(json_tokener_parse(text.c_str()));
}

json_object *member(json_object *o, const char *key) {
  json_object *v = nullptr;
  json_object_object_get_ex(o, key, &v);
  return v;
}

class Stack : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string emulator = cgi_emulator().empty() ? "" : cgi_emulator() + " ";
    std::string cmd = std::string(STACK_SCRIPT) + " " + BUILD_DIR + " " + emulator;
    ASSERT_EQ(system(cmd.c_str()), 0) << cmd;
    // A second program behind the same server reports what an upload delivers.
    std::string probe = emulator.empty()
                            ? "ln -sf " + std::string(PROBE_PROGRAM) + " /opt/app/www/cgi-bin/probe"
                            : "printf '#!/bin/sh\\nexec " + emulator + PROBE_PROGRAM +
                                  "\\n' > /opt/app/www/cgi-bin/probe && chmod 755 /opt/app/www/cgi-bin/probe";
    ASSERT_EQ(system(probe.c_str()), 0);
    // The same program under mod_cgi whatever the mode, for comparison (a
    // name outside the FastCGI prefix /cgi-bin/webcgi).
    ASSERT_EQ(system("ln -sf webcgi /opt/app/www/cgi-bin/cgi-webcgi"), 0);
  }
};

const char kAdminDigest[] = "0192023a7bbd73250516f069df18b500";  // MD5 of "admin123"

// The factory settings turn the program's access guard on: requests carry
// the session of an administrator's login.
std::string admin_cookie() {
  HttpReply r = http("POST", "/cgi-bin/webcgi/1000",
                     std::string(R"({"userName": "admin", "md5": ")") + kAdminDigest + "\"}",
                     "application/json");
  Json body = parse(r.body);
  const char *id = body ? json_object_get_string(member(body.get(), "sessionId")) : nullptr;
  return std::string("Cookie: userName=admin; sessionId=") + (id ? id : "") + "\r\n";
}

TEST_F(Stack, LoginWithTheSeededAdministrator) {
  HttpReply r = http("POST", "/cgi-bin/webcgi/1000",
                     std::string(R"({"userName": "admin", "md5": ")") + kAdminDigest + "\"}",
                     "application/json");
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.headers["content-type"], "text/plain");
  Json body = parse(r.body);
  ASSERT_TRUE(body) << r.body;
  EXPECT_EQ(json_object_get_int(member(body.get(), "type")), 0);
  EXPECT_EQ(strlen(json_object_get_string(member(body.get(), "sessionId"))), 32u);

  r = http("POST", "/cgi-bin/webcgi/1000", R"({"userName": "admin", "md5": "00"})",
           "application/json");
  EXPECT_EQ(json_object_get_int(member(parse(r.body).get(), "type")), -1);
}

TEST_F(Stack, GuardRefusesRequestsWithoutASessionAndEndsItAtLogout) {
  HttpReply r = http("GET", "/cgi-bin/webcgi/6070");
  EXPECT_EQ(r.status, 401);
  EXPECT_EQ(r.body, "");
  std::string cookie = admin_cookie();
  r = http("GET", "/cgi-bin/webcgi/6070", "", "", cookie);
  EXPECT_EQ(r.status, 200);
  r = http("GET", "/cgi-bin/webcgi/1040", "", "", cookie);
  EXPECT_EQ(r.body, "OK");
  r = http("GET", "/cgi-bin/webcgi/6070", "", "", cookie);
  EXPECT_EQ(r.status, 401);
}

TEST_F(Stack, UserListIsJson) {
  HttpReply r = http("GET", "/cgi-bin/webcgi/6070", "", "", admin_cookie());
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.headers["content-type"], "application/json");
  Json body = parse(r.body);
  ASSERT_TRUE(body && json_object_is_type(body.get(), json_type_array)) << r.body;
  ASSERT_EQ(json_object_array_length(body.get()), 1u);
  EXPECT_STREQ(json_object_get_string(member(json_object_array_get_idx(body.get(), 0), "name")),
               "admin");
}

TEST_F(Stack, DaemonBackedOperationReachesCoresim) {
  HttpReply r = http("POST", "/cgi-bin/webcgi/2026", R"({"cmd": "status"})", "application/json",
                     admin_cookie());
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.headers["content-type"], "application/json");
  Json body = parse(r.body);
  ASSERT_TRUE(body) << r.body;
  EXPECT_STREQ(json_object_get_string(member(body.get(), "result")), "done: status");
}

TEST_F(Stack, DiskListComesFromCoresimsModel) {
  HttpReply r = http("GET", "/cgi-bin/webcgi/6100", "", "", admin_cookie());
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.headers["content-type"], "application/json");
  Json body = parse(r.body);
  ASSERT_TRUE(body) << r.body;
  EXPECT_NE(r.body.find("WDC WD20PURZ"), std::string::npos) << r.body;
}

TEST_F(Stack, MailLoginSetsCookiesForTheHostAndRedirects) {
  HttpReply r = http("GET", "/cgi-bin/webcgi/1018?demo-mail-token", "", "",
                     "Host: recorder.local:8080\r\n");
  EXPECT_EQ(r.status, 302);
  EXPECT_EQ(r.headers["location"], "../../html/index.html");
  EXPECT_NE(r.set_cookies.find("userName=temp; domain=recorder.local; expires="),
            std::string::npos)
      << r.set_cookies;
  size_t at = r.set_cookies.find("sessionId=");
  ASSERT_NE(at, std::string::npos) << r.set_cookies;
  std::string id = r.set_cookies.substr(at + 10, r.set_cookies.find(';', at) - at - 10);
  EXPECT_EQ(id.size(), 32u) << "the viewer's own session";
  r = http("GET", "/cgi-bin/webcgi/1018?wrong-token");
  EXPECT_EQ(r.status, 302);
  EXPECT_EQ(r.headers["location"], "../../html/home.html");
  EXPECT_EQ(r.set_cookies, "");
}

TEST_F(Stack, MultipartUploadArrivesWhole) {
  std::string data(200000, 'u');
  for (size_t i = 0; i < data.size(); i += 97) data[i] = (char)(i % 251);
  std::string body = "--XyZ\r\nContent-Disposition: form-data; name=\"file\"; filename=\"C:\\\\up\\\\"
                     "clip.bin\"\r\nContent-Type: application/octet-stream\r\n\r\n" +
                     data + "\r\n--XyZ--\r\n";
  HttpReply r = http("POST", "/cgi-bin/probe/upload?param:x1", body,
                     "multipart/form-data; boundary=XyZ", "Cookie: userName=admin\r\n");
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.headers["content-type"], "text/plain");
  EXPECT_EQ(r.body, "/tmp/clip.bin & x1\nexists=1 size=" + std::to_string(data.size()));
  EXPECT_EQ(read_file("/tmp/clip.bin"), data);
  EXPECT_TRUE(files_with_prefix("/tmp", "cgic").empty());
}

TEST_F(Stack, PathWithoutHandlerAnswersEmptyAndTheServerStaysUp) {
  HttpReply r = http("GET", "/cgi-bin/webcgi/9999?x=1");
  EXPECT_EQ(r.status, 500);  // the program wrote nothing
  EXPECT_EQ(r.body, "");
  r = http("POST", "/cgi-bin/webcgi/9998", "junk", "text/plain");
  EXPECT_EQ(r.body, "");
  r = http("GET", "/index.html");
  EXPECT_EQ(r.status, 200);
  EXPECT_NE(r.body.find("<title>Recorder console</title>"), std::string::npos);
  r = http("POST", "/cgi-bin/webcgi/2026", R"({"cmd": "again"})", "application/json",
           admin_cookie());
  EXPECT_NE(r.body.find("done: again"), std::string::npos);
}

// Reads of the console's panes and a few more, each through /cgi-bin/webcgi
// (persistent processes under MODE=fastcgi) and through mod_cgi: the same
// status, type and body, with and without a session.
TEST_F(Stack, TheModeOfTheProgramChangesNoReply) {
  std::string cookie = admin_cookie();
  for (const char *path : {"/6100", "/6070", "/6108", "/8002", "/2001", "/6042", "/6044",
                           "/9999", "/1040x"}) {
    for (const std::string &session : {cookie, std::string()}) {
      HttpReply served = http("GET", std::string("/cgi-bin/webcgi") + path, "", "", session);
      HttpReply cgi = http("GET", std::string("/cgi-bin/cgi-webcgi") + path, "", "", session);
      EXPECT_EQ(served.status, cgi.status) << path;
      EXPECT_EQ(served.headers["content-type"], cgi.headers["content-type"]) << path;
      EXPECT_EQ(served.body, cgi.body) << path;
    }
  }
}

// The program's catalogue as `webcgi --endpoints` prints it: per line the
// path, table, handler, summary and access level.
std::vector<std::vector<std::string>> catalogue() {
  std::string command = cgi_emulator().empty() ? "" : cgi_emulator() + " ";
  command += std::string(BUILD_DIR) + "/webcgi --endpoints";
  std::vector<std::vector<std::string>> rows;
  FILE *out = popen(command.c_str(), "r");
  if (!out) return rows;
  std::string text;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, out)) > 0;) text.append(buf, n);
  pclose(out);
  for (size_t pos = 0, eol; pos < text.size(); pos = eol + 1) {
    eol = text.find('\n', pos);
    if (eol == std::string::npos) eol = text.size();
    std::vector<std::string> fields;
    for (size_t f = pos, tab; f <= eol; f = tab + 1) {
      tab = text.find('\t', f);
      if (tab == std::string::npos || tab > eol) tab = eol;
      fields.push_back(text.substr(f, tab - f));
    }
    rows.push_back(fields);
  }
  return rows;
}

TEST_F(Stack, ConsoleIsTheSitesRootPage) {
  HttpReply r = http("GET", "/");
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.headers["content-type"], "text/html; charset=utf-8");
  EXPECT_NE(r.body.find("<title>Recorder console</title>"), std::string::npos);
  const std::pair<const char *, const char *> files[] = {
      {"/console.js", "text/javascript; charset=utf-8"},
      {"/md5.js", "text/javascript; charset=utf-8"},
      {"/console.css", "text/css; charset=utf-8"},
      {"/examples.json", "application/json"},
  };
  for (const auto &[file, type] : files) {
    r = http("GET", file);
    EXPECT_EQ(r.status, 200) << file;
    EXPECT_EQ(r.headers["content-type"], type) << file;
    EXPECT_FALSE(r.body.empty()) << file;
  }
}

// Summaries hold ';', quotes and brackets: every text arrives whole.
TEST_F(Stack, ConsoleCatalogueIsTheProgramsOwn) {
  HttpReply r = http("GET", "/endpoints.json");
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.headers["content-type"], "application/json");
  Json body = parse(r.body);
  ASSERT_TRUE(body && json_object_is_type(body.get(), json_type_array)) << r.body;
  std::vector<std::vector<std::string>> served;
  for (size_t i = 0; i < json_object_array_length(body.get()); i++) {
    json_object *entry = json_object_array_get_idx(body.get(), i);
    std::vector<std::string> row;
    for (const char *key : {"path", "table", "handler", "summary", "access"}) {
      ASSERT_TRUE(json_object_is_type(member(entry, key), json_type_string)) << i << " " << key;
      row.push_back(json_object_get_string(member(entry, key)));
    }
    served.push_back(row);
  }
  EXPECT_EQ(served, catalogue());
  EXPECT_GE(served.size(), 40u);
}

}  // namespace
