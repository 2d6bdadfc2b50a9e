// The network pages end to end: the built program against coresim, as the
// demo runs them.
#include <gtest/gtest.h>

#include <unistd.h>

#include "cgi_runner.h"
#include "coresim_process.h"
#include "json_codecs.h"

namespace {

class NetworkOnCoresim : public ::testing::Test {
 protected:
  // A fresh settings database, then coresim (members start in this order).
  int fresh_settings_ = unlink("/mnt/nand/app/kxdb.db");
  CoresimProcess coresim_{CORESIM_PROGRAM};

  static CgiReply post(const std::string &path, const std::string &body) {
    CgiRequest r;
    r.method = "POST";
    r.path = path;
    r.content_type = "application/json";
    r.body = body;
    r.env["HTTP_COOKIE"] = "userName=admin";
    return split_reply(run_cgi(r).out);
  }
  static std::string text(json_object *o, const char *key) {
    json_object *v = json_member(o, key);
    return v ? json_object_get_string(v) : "<missing>";
  }
};

TEST_F(NetworkOnCoresim, ReadChangeAndReadBackTheSettings) {
  JsonPtr before(json_tokener_parse(post("/7040", "0").body.c_str()));
  ASSERT_TRUE(before);
  EXPECT_EQ(text(before.get(), "ipAddr"), "192.168.1.100");  // factory addresses
  EXPECT_EQ(text(before.get(), "ipAddr2"), "192.168.2.100");
  EXPECT_EQ(post("/7042", "").body, "0");

  EXPECT_EQ(post("/7041", R"({"mode": 0, "ipAddr": "192.168.1.150", "DNS1": "1.1.1.1"})").body,
            "OK");
  JsonPtr after(json_tokener_parse(post("/7040", "0").body.c_str()));
  ASSERT_TRUE(after);
  EXPECT_EQ(text(after.get(), "ipAddr"), "192.168.1.150");
  EXPECT_EQ(text(after.get(), "DNS1"), "1.1.1.1");
  EXPECT_EQ(text(after.get(), "ipAddr2"), "192.168.2.100");

  EXPECT_EQ(post("/7041", R"({"mode": 1, "ipAddr": "10.1.1.1"})").body, "OK");
  EXPECT_EQ(post("/7042", "").body, "1");
  JsonPtr bonded(json_tokener_parse(post("/7040", "7").body.c_str()));
  EXPECT_EQ(text(bonded.get(), "ipAddr"), "10.1.1.1");
  EXPECT_EQ(post("/7044", "").body, R"({ "mac0": "02:4B:58:00:00:10" })");
  EXPECT_EQ(post("/7043", "").body, "OK");
}

TEST_F(NetworkOnCoresim, DefaultRouteAndConflictTests) {
  EXPECT_EQ(post("/7096", R"({"defaultRoute": 1})").body, R"({ "res": 0 })");
  EXPECT_EQ(post("/7096", R"({"defaultRoute": 5})").body, R"({ "res": -1 })");
  EXPECT_EQ(post("/7070", R"({"ip": "192.168.1.64"})").body, "-1");
  EXPECT_EQ(post("/7070", R"({"ip": "192.168.1.99"})").body, "0");
  EXPECT_EQ(post("/7071", R"({"dev": "eth1", "ip": "192.168.2.64"})").body, "-1");
  EXPECT_EQ(post("/7071", R"({"dev": "eth1", "ip": "192.168.1.64"})").body, "0");
  EXPECT_EQ(post("/7071", R"({"dev": "wlan0", "ip": "192.168.1.99"})").body, "-1");
}

}  // namespace
