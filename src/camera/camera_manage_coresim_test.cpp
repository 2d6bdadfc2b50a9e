// Camera management end to end: the built program against coresim. A
// camera connection set by a set-up tool is what the camera pages show.
#include <gtest/gtest.h>

#include "cgi_runner.h"
#include "coresim_fixture.h"
#include "json_codecs.h"

namespace {

using CameraManageOnCoresim = CoresimTest;

std::string text_of(json_object *o, const char *key) {
  const char *t = json_object_get_string(json_member(o, key));
  return t ? t : "<missing>";
}

TEST_F(CameraManageOnCoresim, ConnectionSetHereIsTheChannelsCamera) {
  EXPECT_EQ(post("/3304", R"({"id": 6, "enable": 1, "ipAddr": "192.168.1.120",
                              "managePort": 8080, "userName": "setup", "password": "s3t"})")
                .body,
            "OK");
  JsonPtr info = post_json("/2000", R"({"chnid": 6})");
  ASSERT_TRUE(info);
  EXPECT_EQ(text_of(info.get(), "ipAddr"), "192.168.1.120");
  EXPECT_EQ(text_of(info.get(), "managePort"), "8080");
  EXPECT_EQ(text_of(info.get(), "userName"), "setup");
  EXPECT_EQ(post("/3304", R"({"id": 64, "enable": 1, "ipAddr": "x", "managePort": 1})").body, "");
  for (const char *path : {"/3300", "/3301", "/3302", "/3303"}) {
    EXPECT_EQ(post(path, "{}").body, "OK") << path;
  }
}

}  // namespace
