// The camera image and stream pages end to end: the built program against
// coresim, as the demo runs them.
#include <gtest/gtest.h>

#include <unistd.h>

#include "cgi_runner.h"
#include "coresim_process.h"
#include "json_codecs.h"

namespace {

class CameraOnCoresim : public ::testing::Test {
 protected:
  int fresh_settings_ = unlink("/mnt/nand/app/kxdb.db");
  CoresimProcess coresim_{CORESIM_PROGRAM};

  static CgiReply post(const std::string &path, const std::string &body) {
    CgiRequest r;
    r.method = "POST";
    r.path = path;
    r.content_type = "application/json";
    r.body = body;
    return split_reply(run_cgi(r).out);
  }
  static JsonPtr post_json(const std::string &path, const std::string &body) {
    return JsonPtr(json_tokener_parse(post(path, body).body.c_str()));
  }
  static int int_at(json_object *o, const char *key) {
    return json_object_get_int(json_member(o, key));
  }
  static std::string text_at(json_object *o, const char *key) {
    const char *t = json_object_get_string(json_member(o, key));
    return t ? t : "<missing>";
  }
};

TEST_F(CameraOnCoresim, StreamPageLoadsAndSaves) {
  JsonPtr before = post_json("/2009", R"({"chnid": 1})");
  ASSERT_TRUE(before);
  EXPECT_EQ(int_at(before.get(), "stateCode"), 0);
  json_object *main = json_member(before.get(), "main");
  ASSERT_TRUE(json_member(main, "res"));
  EXPECT_EQ(json_object_array_length(json_member(main, "res")), 3u);
  EXPECT_EQ(int_at(main, "curRes"), 1);  // 1920*1080

  EXPECT_EQ(text_at(post_json("/2010", R"({"id": 1, "mainResWidth": 1280,
      "mainResHeight": 720, "mainFramerate": 15, "mainBitrate": 2048, "subEnable": 1,
      "audioEnable": 0, "subResWidth": 352, "subResHeight": 288, "subFramerate": 10,
      "subBitrate": 256, "IframeInterval": 30, "subIframeInterval": 20})").get(), "res"),
            "01" + std::string(62, '0'));

  JsonPtr after = post_json("/2009", R"({"chnid": 1})");
  main = json_member(after.get(), "main");
  EXPECT_EQ(int_at(main, "curRes"), 2);
  EXPECT_EQ(int_at(main, "framerate"), 15);
  EXPECT_EQ(int_at(main, "bitrate"), 2048);
  EXPECT_EQ(int_at(json_member(after.get(), "sub"), "curRes"), 2);

  EXPECT_EQ(int_at(post_json("/2009", R"({"chnid": 9})").get(), "stateCode"), 1);  // no camera
}

TEST_F(CameraOnCoresim, ImagePagesLoadAndSave) {
  JsonPtr enhancement = post_json("/2019", R"({"id": 0})");
  EXPECT_EQ(int_at(enhancement.get(), "wdrlevel"), 50);
  EXPECT_EQ(post("/2020", R"({"channel": [0, 2], "type": 0, "wdrenable": 1, "wdrlevel": 80,
                             "aflevel": 3, "exposeregion": "1,1,50,50"})")
                .body,
            "OK");
  enhancement = post_json("/2019", R"({"id": 2})");
  EXPECT_EQ(int_at(enhancement.get(), "wdrlevel"), 80);
  EXPECT_EQ(int_at(enhancement.get(), "wdraflevel"), 3);
  EXPECT_EQ(text_at(enhancement.get(), "sdkversion"), "SDK 3.4.0");  // the camera's own

  EXPECT_EQ(post("/2022", R"({"id": 3, "type": 0, "mirctrl": 2, "whiteLedLevel": 90})").body,
            "OK");
  JsonPtr display = post_json("/2021", R"({"id": 3})");
  EXPECT_EQ(int_at(display.get(), "mirctrl"), 2);
  EXPECT_EQ(int_at(display.get(), "smartwhitestrength"), 90);
  EXPECT_EQ(text_at(display.get(), "productmodel"), "IPC-F1020");
  EXPECT_EQ(post("/2022", R"({"id": 12, "type": 0})").body, "ERROR");
}

TEST_F(CameraOnCoresim, SettingsByNameAndModels) {
  EXPECT_EQ(post("/2024", R"({"id": 0, "pagename": "image", "httpname": "image",
                             "key": "brightness", "value": "64"})")
                .body,
            "OK");
  JsonPtr param = post_json("/2023", R"({"id": 0, "pagename": "image", "httpname": "image",
                                        "key": "brightness"})");
  EXPECT_EQ(text_at(param.get(), "value"), "64");
  EXPECT_EQ(int_at(post_json("/2025", R"({"id": 2})").get(), "type"), 3);
  JsonPtr models = post_json("/2029", "");
  json_object *list = json_member(models.get(), "IPC");
  ASSERT_TRUE(list);
  ASSERT_EQ(json_object_array_length(list), 64u);
  EXPECT_EQ(text_at(json_object_array_get_idx(list, 1), "ipaddr"), "192.168.1.102");
}

}  // namespace
