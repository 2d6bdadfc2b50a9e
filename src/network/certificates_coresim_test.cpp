// The certificate pages end to end: the built program against coresim. A
// created certificate and request are reported with their subject fields;
// HTTPS switches on only with a certificate.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "cert_records.h"
#include "cgi_runner.h"
#include "coresim_fixture.h"
#include "json_codecs.h"

namespace {

using CertificatesOnCoresim = CoresimTest;

std::string text_of(json_object *o, const char *key) {
  const char *t = json_object_get_string(json_member(o, key));
  return t ? t : "<missing>";
}

TEST_F(CertificatesOnCoresim, CreatedCertificateAndRequestAreReported) {
  std::filesystem::remove_all(SSL_DIR);
  EXPECT_EQ(post("/7086", R"({"httpsenable": 1})").body, "NOFILE");
  EXPECT_EQ(post("/7080", R"({"InstallType": 0, "Country": "DE", "CommonName": "nvr.test",
                              "Email": "ops@nvr.test", "Validity": 30})")
                .body,
            "OK");
  JsonPtr cert = get_json("/7081");
  ASSERT_TRUE(cert);
  EXPECT_EQ(text_of(cert.get(), "checkfile"), "OK");
  EXPECT_EQ(text_of(cert.get(), "country"), "DE");
  EXPECT_EQ(text_of(cert.get(), "common_name"), "nvr.test");
  EXPECT_NE(text_of(cert.get(), "dates"), "");
  EXPECT_EQ(post("/7086", R"({"httpsenable": 1})").body, "OK");
  EXPECT_EQ(text_of(get_json("/7087").get(), "enable"), "1");

  EXPECT_EQ(post("/7080", R"({"InstallType": 2, "Country": "FR", "CommonName": "req.test",
                              "Email": "r@nvr.test"})")
                .body,
            "OK");
  JsonPtr req = get_json("/7089");
  ASSERT_TRUE(req);
  EXPECT_EQ(text_of(req.get(), "common_name_req"), "req.test");
  EXPECT_EQ(get("/7082").body.rfind("-----BEGIN CERTIFICATE REQUEST-----", 0), 0u);
  EXPECT_EQ(get("/7083").body, "OK");
  for (int i = 0; i < 100 && std::filesystem::exists(SSL_REQUEST_DOWNLOAD); i++) usleep(20000);
  EXPECT_EQ(get("/7082").body, "NotFile");

  EXPECT_EQ(get("/7085").body, "OK");
  EXPECT_EQ(text_of(get_json("/7081").get(), "checkfile"), "NOFILE");
  EXPECT_EQ(text_of(get_json("/7087").get(), "enable"), "0");
}

}  // namespace
