#include "handler_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "cgi_ipc.h"
#include "cgic.h"
#include "kxdb.h"
#include "web_utils.h"

void reset_settings() {
  kxdb_close_all();
  for (const char *file : {KXDB_FILE, ANPR_DB_FILE, OEM_DB_FILE}) {
    for (const char *suffix : {"", "-journal", "-wal", "-shm"}) {
      unlink((std::string(file) + suffix).c_str());
    }
  }
}

void HandlerTest::SetUp() {
  reset_settings();
  daemon_ = std::make_unique<FakeDaemon>();
  cgi_ipc_set_poll_period(kPollPeriod);
  cgiRemoteAddr = "192.168.1.10";
  cgiCookie = "language=en; userName=admin";
  cgiServerAddr = "10.0.0.5:8080";
  saved_out_ = cgiOut;
  cgiOut = open_memstream(&buffer_, &length_);
}

void HandlerTest::TearDown() {
  cgi_stop_ipc();
  fclose(cgiOut);
  free(buffer_);
  buffer_ = nullptr;
  cgiOut = saved_out_;
  daemon_.reset();
  cgi_ipc_set_poll_period(std::chrono::milliseconds(40));
  reset_settings();
}

std::string take_memstream(FILE *&stream, char *&buffer, size_t &length) {
  fflush(stream);
  std::string out(buffer ? buffer : "", length);
  fclose(stream);
  free(buffer);
  buffer = nullptr;
  length = 0;
  stream = open_memstream(&buffer, &length);
  return out;
}

std::string HandlerTest::take_output() {
  return take_memstream(cgiOut, buffer_, length_);
}

std::string HandlerTest::call(const char *path, const std::string &text) {
  take_output();
  std::vector<char> buf(text.begin(), text.end());
  buf.resize(text.size() + 1 < 30720 ? 30720 : text.size() + 1, '\0');
  DispatchWebReq(path, buf.data());
  return take_output();
}

std::string HandlerTest::call(WebReqHandler handler, const std::string &text) {
  take_output();
  std::vector<char> buf(text.begin(), text.end());
  buf.resize(text.size() + 1 < 30720 ? 30720 : text.size() + 1, '\0');
  handler(buf.data());
  return take_output();
}

std::string reply_body(const std::string &reply) {
  size_t end = reply.find("\r\n\r\n");
  return end == std::string::npos ? reply : reply.substr(end + 4);
}

std::string reply_header(const std::string &reply) {
  size_t end = reply.find("\r\n\r\n");
  return end == std::string::npos ? "" : reply.substr(0, end + 2);
}

void settle(FakeDaemon &daemon) {
  size_t markers = daemon.requests(kSettleMarker).size() + 1;
  cgi_send_notice(kSettleMarker, nullptr, 0);
  ASSERT_TRUE(daemon.wait_for(kSettleMarker, markers));
}

BrokenSettings::BrokenSettings() {
  reset_settings();
  mkdir(KXDB_FILE, 0755);
}

BrokenSettings::~BrokenSettings() {
  kxdb_close_all();
  rmdir(KXDB_FILE);
}

void HandlerTest::settle() {
  ::settle(*daemon_);
}

void HandlerTest::settle(FakeDaemon &daemon) {
  ::settle(daemon);
}

void HandlerTest::forget() {
  settle();
  daemon_->clear();
}

std::vector<SimRequest> HandlerTest::sent(int code) {
  settle();
  return daemon_->requests(code);
}

std::vector<int> HandlerTest::codes() {
  settle();
  std::vector<int> out;
  for (int c : daemon_->codes()) {
    if (c != kSettleMarker) out.push_back(c);
  }
  return out;
}

std::vector<log_info> HandlerTest::logs() {
  std::vector<log_info> out;
  for (auto &r : sent(3485)) out.push_back(record_from<log_info>(r.payload));
  return out;
}

int32_t int_at(const Bytes &payload, size_t offset) {
  int32_t v = 0;
  if (offset + sizeof v <= payload.size()) memcpy(&v, payload.data() + offset, sizeof v);
  return v;
}

std::string text_at(const Bytes &payload, size_t offset, size_t width) {
  if (offset >= payload.size()) return "";
  size_t n = payload.size() - offset < width ? payload.size() - offset : width;
  const char *p = reinterpret_cast<const char *>(payload.data() + offset);
  return std::string(p, strnlen(p, n));
}
