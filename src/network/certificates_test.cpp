// HTTPS certificates: the create payload and the tool's working directory,
// install with its hostile inputs, delete, the HTTPS switch, the download.
#include <sys/stat.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cert_records.h"
#include "network_test_util.h"

namespace fs = std::filesystem;

namespace {

constexpr const char *kProfileLog = "/tmp/fakebin/calls";

std::string read_all(const char *path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void write_all(const char *path, const std::string &data) {
  std::ofstream(path, std::ios::binary) << data;
}

class Certificates : public NetworkTest {
 protected:
  void SetUp() override {
    NetworkTest::SetUp();
    fs::remove_all(SSL_DIR);
    fs::create_directories(std::string(SSL_DIR) + "/tmp");
    // A kxprofile that records its arguments, found first on PATH.
    fs::remove_all("/tmp/fakebin");
    fs::create_directories("/tmp/fakebin");
    write_all("/tmp/fakebin/kxprofile", "#!/bin/sh\necho \"$@\" >> /tmp/fakebin/calls\n");
    chmod("/tmp/fakebin/kxprofile", 0755);
    old_path_ = getenv("PATH");
    setenv("PATH", ("/tmp/fakebin:" + old_path_).c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", old_path_.c_str(), 1);
    NetworkTest::TearDown();
  }
  std::string old_path_;
};

ssl_params payload_record(const Bytes &payload) {
  ssl_params r = {};
  EXPECT_EQ(payload.size(), sizeof r);
  memcpy(&r, payload.data(), std::min(payload.size(), sizeof r));
  return r;
}

const char *kCreate = R"({"InstallType": %d, "Country": "USA", "CommonName": "nvr.example",
  "Validity": 365, "Password": "pw", "Province": "CA", "Region": "Davis", "Organization": "Org",
  "Company": "Co", "Email": "a@b.c", "startTime": "2026-01-01", "endTime": "2027-01-01"})";

std::string create_body(int type) {
  char body[512];
  snprintf(body, sizeof body, kCreate, type);
  return body;
}

TEST_F(Certificates, CreateRequestLeavesOutTheCertificateOnlyKeys) {
  daemon().answer(3316, int_answer(0));
  EXPECT_EQ(call("/7080", create_body(2)), kTextOk);
  ssl_params r = payload_record(sent(3316).at(0).payload);
  EXPECT_EQ(r.InstallType, 2);
  EXPECT_STREQ(r.Country, "US");
  EXPECT_STREQ(r.CommonName, "nvr.example");
  EXPECT_STREQ(r.Email, "a@b.c");
  EXPECT_STREQ(r.Organization, "Org");
  EXPECT_EQ(r.Validity, 0);
  EXPECT_STREQ(r.startTime, "");
  EXPECT_STREQ(r.endTime, "");
}

TEST_F(Certificates, CreateCertificatePreparesTheToolDirectoryFirst) {
  fs::create_directories(std::string(SSL_TOOL_DIR) + "/old");
  static std::atomic<bool> ready{false};
  daemon().on(3316, [](const SimRequest &) {
    // The directory as the daemon finds it.
    ready = read_all("/mnt/nand/ssl/demoCA/serial") == "01\n" &&
                 fs::is_directory("/mnt/nand/ssl/demoCA/newcerts") &&
                 fs::exists("/mnt/nand/ssl/demoCA/index.txt") &&
                 !fs::exists("/mnt/nand/ssl/demoCA/old");
    return std::vector<SimFrame>{SimFrame{0, bytes_of_int(0), 0}};
  });
  EXPECT_EQ(call("/7080", create_body(0)), kTextOk);
  ssl_params r = payload_record(sent(3316).at(0).payload);
  EXPECT_EQ(r.Validity, 365);
  EXPECT_STREQ(r.startTime, "2026-01-01");
  EXPECT_STREQ(r.endTime, "2027-01-01");
  EXPECT_TRUE(ready);
  struct stat st = {};
  ASSERT_EQ(stat("/mnt/nand/ssl/demoCA/serial", &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0777u);
}

TEST_F(Certificates, CreateWithoutBodyIsSilentAndUnansweredIsAnError) {
  EXPECT_EQ(call("/7080", ""), "");
  EXPECT_EQ(call("/7080", "nonsense"), "");
  daemon().silent(3316);
  EXPECT_EQ(call("/7080", create_body(0)), kCgiError);
}

TEST_F(Certificates, InstallSavesTheOldCertificateAndMovesTheUploadIn) {
  write_all(SSL_CERT, "old");
  write_all("/tmp/up.pem", "new certificate");
  daemon().answer(3318, int_answer(1));
  EXPECT_EQ(call("/7084", "/tmp/up.pem & other"), kTextOk);
  EXPECT_EQ(read_all(SSL_CERT_SAVED), "old");
  EXPECT_EQ(read_all(SSL_CERT), "new certificate");
  EXPECT_FALSE(fs::exists("/tmp/up.pem"));
  EXPECT_EQ(read_all(kProfileLog), "-i /tmp/up.pem\n");
  EXPECT_EQ(sent(3318).at(0).payload.size(), 0u);
  write_all("/tmp/up2.pem", "x");
  daemon().answer(3318, int_answer(0));
  EXPECT_EQ(call("/7084", "/tmp/up2.pem"), kTextHeader + "Error");
}

TEST_F(Certificates, HostileInstallRunsAndMovesNothing) {
  write_all(SSL_CERT, "kept");
  write_all("/tmp/a$(touch p).pem", "x");
  fs::create_directories("/tmp/dir");
  for (const char *body : {"/mnt/nand/app/kxdb.db", "x;touch p", "/tmp/a$(touch p).pem;x",
                           "param:/tmp/a.pem", "/tmp/../mnt/nand/app/kxdb.db", "/tmp/",
                           "/tmp/..", "/tmp/dir", "/tmp/missing.pem", ""}) {
    EXPECT_EQ(call("/7084", body), kTextHeader + "Error") << body;
  }
  EXPECT_EQ(read_all(SSL_CERT), "kept");
  EXPECT_FALSE(fs::exists(kProfileLog));
  EXPECT_FALSE(fs::exists("p"));
  EXPECT_EQ(codes(), std::vector<int>{});
  // An awkward but real upload name is taken literally.
  daemon().answer(3318, int_answer(1));
  EXPECT_EQ(call("/7084", "/tmp/a$(touch p).pem"), kTextOk);
  EXPECT_EQ(read_all(SSL_CERT), "x");
  EXPECT_FALSE(fs::exists("p"));
}

TEST_F(Certificates, DeleteRemovesBothFilesAndSwitchesOff) {
  write_all(SSL_CERT, "c");
  write_all(SSL_REQUEST, "r");
  ASSERT_EQ(set_param_int(KXDB_FILE, "httpsenable", 1), 0);
  EXPECT_EQ(call("/7085"), kTextOk);
  settle();
  EXPECT_FALSE(fs::exists(SSL_CERT));
  EXPECT_FALSE(fs::exists(SSL_REQUEST));
  EXPECT_EQ(param_int(PARAM_HTTPSENABLE), 0);
  EXPECT_EQ(codes(), (std::vector<int>{3320, 3322}));
  EXPECT_EQ(sent(3322).at(0).payload, int_answer(0));
  ssl_params r = {};
  ASSERT_EQ(read_ssl_params(KXDB_FILE, &r, 0), 0);
  EXPECT_STREQ(r.Country, " ");
  EXPECT_STREQ(r.CommonName, " ");
  EXPECT_STREQ(r.Email, " ");
  EXPECT_STREQ(r.dates, " ");
}

TEST_F(Certificates, HttpsSwitchNeedsACertificate) {
  ASSERT_EQ(set_param_int(KXDB_FILE, "httpsenable", 0), 0);
  EXPECT_EQ(call("/7086", R"({"httpsenable": 1})"), kTextHeader + "NOFILE");
  EXPECT_EQ(param_int(PARAM_HTTPSENABLE), 0);
  write_all(SSL_CERT, "c");
  EXPECT_EQ(call("/7086", R"({"httpsenable": 1})"), kTextOk);
  EXPECT_EQ(param_int(PARAM_HTTPSENABLE), 1);
  EXPECT_EQ(call("/7087"), kJsonHeader + R"({ "enable": 1 })");
  EXPECT_EQ(call("/7086", R"({"other": 1})"), kTextOk);
  EXPECT_EQ(param_int(PARAM_HTTPSENABLE), 0);
  settle();
  EXPECT_EQ(codes(), (std::vector<int>{3322, 3322}));
}

TEST_F(Certificates, InformationReportsTheStoredRecords) {
  ASSERT_EQ(set_param_int(KXDB_FILE, "httpsenable", 1), 0);
  EXPECT_EQ(call("/7081"), kJsonHeader + R"({ "enable": 0, "checkfile": "NOFILE" })");
  EXPECT_EQ(param_int(PARAM_HTTPSENABLE), 0);
  EXPECT_EQ(call("/7089"), kJsonHeader + R"({ "checkfile": "NOFILE" })");
  ssl_params cert = {};
  snprintf(cert.Country, sizeof cert.Country, "DE");
  snprintf(cert.CommonName, sizeof cert.CommonName, "nvr");
  snprintf(cert.dates, sizeof cert.dates, "d");
  ASSERT_EQ(write_ssl_params(KXDB_FILE, &cert), 0);
  ssl_params req = cert;
  req.InstallType = 2;
  snprintf(req.Email, sizeof req.Email, "e@x");
  ASSERT_EQ(write_ssl_params(KXDB_FILE, &req), 0);
  write_all(SSL_CERT, "c");
  write_all(SSL_REQUEST, "r");
  EXPECT_EQ(call("/7081"), kJsonHeader + R"({ "enable": 0, "checkfile": "OK", "country": "DE", )"
                                         R"("common_name": "nvr", "email": "", "dates": "d" })");
  EXPECT_EQ(call("/7089"), kJsonHeader + R"({ "checkfile": "OK", "country_req": "DE", )"
                                         R"("common_name_req": "nvr", "email_req": "e@x" })");
}

TEST_F(Certificates, RequestDownloadIsWholeAndDeleteIsANotice) {
  EXPECT_EQ(call("/7082"), kTextHeader + "NotFile");
  std::string data;
  for (int i = 0; i < 10000; i++) data += (char)(i * 7 % 256);
  write_all(SSL_REQUEST_DOWNLOAD, data);
  EXPECT_EQ(call("/7082"), "Content-Type:application/octet-stream\r\n"
                           "Content-Disposition: attachment; filename= ssl_cert.csr\r\n\r\n" +
                               data);
  EXPECT_EQ(call("/7083"), kTextOk);
  settle();
  EXPECT_EQ(codes(), std::vector<int>{3317});
}

TEST_F(Certificates, FailedSettingsWritesAnswerErrorAndSendNothing) {
  write_all(SSL_CERT, "c");
  BrokenSettings broken;
  EXPECT_EQ(call("/7086", R"({"httpsenable": 1})"), kCgiError);
  EXPECT_EQ(call("/7085"), kCgiError);
  settle();
  EXPECT_EQ(codes(), std::vector<int>{});
}

}  // namespace
