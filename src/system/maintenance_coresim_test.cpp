// Upgrades, restart state and the configuration end to end: the built
// program against coresim, as the demo runs them.
#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

#include "cgi_runner.h"
#include "coresim_fixture.h"
#include "json_codecs.h"

namespace {

using MaintenanceOnCoresim = CoresimTest;

int int_of(json_object *o, const char *key) {
  return json_object_get_int(json_member(o, key));
}

TEST_F(MaintenanceOnCoresim, RestartStateSeesTheDaemon) {
  EXPECT_EQ(get("/1005").body, "OK");
  EXPECT_EQ(get("/1004").body, "OK");
  EXPECT_EQ(post("/1006", R"({"keepIp": 1, "keepUser": 1})").body, "OK");
}

TEST_F(MaintenanceOnCoresim, CameraDownloadUpgradeAndDiscard) {
  EXPECT_EQ(get("/6082").body, "Error");
  JsonPtr download = post_json("/6085", R"({"type": 1, "url": "https://u/ipc.bin"})");
  EXPECT_EQ(int_of(download.get(), "res"), 0);
  EXPECT_EQ(get("/6082").body, "OK");
  JsonPtr started = post_json("/6083", R"({"chnid": 1, "reset": 0})");
  EXPECT_EQ(int_of(started.get(), "chnid"), 1);
  EXPECT_EQ(int_of(started.get(), "status"), 0);
  EXPECT_EQ(int_of(post_json("/6086", R"({"type": 1})").get(), "res"), 0);
  EXPECT_EQ(get("/6082").body, "Error");
  EXPECT_EQ(int_of(post_json("/6083", R"({"chnid": 1})").get(), "status"), -1);
}

TEST_F(MaintenanceOnCoresim, OffersOfTheUpdateService) {
  JsonPtr recorder = get_json("/6087");
  ASSERT_TRUE(recorder);
  EXPECT_EQ(int_of(recorder.get(), "state"), 0);
  JsonPtr cameras = post_json("/6089", R"({"ch": "0100"})");
  json_object *check = json_member(cameras.get(), "check");
  ASSERT_EQ(array_length(check), 64);
  EXPECT_EQ(int_of(array_at(check, 1), "state"), 1);
  EXPECT_STREQ(json_object_get_string(json_member(array_at(check, 1), "softversion")),
               "V5.2.2 build 241105");
  EXPECT_EQ(int_of(array_at(check, 0), "state"), 0);
}

TEST_F(MaintenanceOnCoresim, RecorderUpgradeAnswersOkAndExportRoundTrips) {
  EXPECT_EQ(get("/1010", "reset=1").body, "OK");
  EXPECT_EQ(int_of(get_json("/6088").get(), "res"), 0);
  EXPECT_EQ(get("/1005").body, "OK");  // also stores channel 0's motion record
  std::string exported = get("/1007").body;
  ASSERT_EQ(exported.rfind("OK filename=config_", 0), 0u) << exported;
  CgiReply download = get("/1013");
  EXPECT_GT(download.body.size(), 1000u);
  EXPECT_EQ(get("/1013").body, "");
  FILE *f = fopen("/tmp/saved.bin", "wb");
  ASSERT_TRUE(f);
  fwrite(download.body.data(), 1, download.body.size(), f);
  fclose(f);
  EXPECT_EQ(get("/1008", "/tmp/saved.bin").body, "OK");
  EXPECT_NE(access("/tmp/saved.bin", F_OK), 0);
}

}  // namespace
