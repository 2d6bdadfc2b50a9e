// The motion pages end to end: the built program against coresim, as the
// demo runs them. The camera-side grid the recorder sends comes back from
// the camera's own motion detection.
#include <gtest/gtest.h>

#include <unistd.h>

#include "cgi_runner.h"
#include "coresim_process.h"
#include "json_codecs.h"

namespace {

class MotionOnCoresim : public ::testing::Test {
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
  static CgiReply get(const std::string &path, const std::string &query) {
    CgiRequest r;
    r.path = path;
    r.query = query;
    return split_reply(run_cgi(r).out);
  }
  // A member of a JSON reply as text ("<none>" when missing).
  static std::string member(const CgiReply &reply, const char *key) {
    JsonPtr body(json_tokener_parse(reply.body.c_str()));
    json_object *v = json_member(body.get(), key);
    return v ? json_object_get_string(v) : "<none>";
  }
};

TEST_F(MotionOnCoresim, BasicSettingsReachThePageAndTheCamera) {
  EXPECT_EQ(member(post("/6098", R"({"id": 3})"), "sensitivity"), "5");  // the camera's default
  EXPECT_EQ(post("/6012", R"({"camId": 3, "enable": 1, "sensitivity": 4, "triChannels": "0101",
                              "triAlarms": 1, "interval": 10, "motionTable": "grid-a",
                              "enableKX": 1})")
                .body,
            "OK");
  CgiReply page = post("/6010", R"({"chnid": 3})");
  EXPECT_EQ(member(page, "triChannels"), "0101");
  EXPECT_EQ(member(page, "motionTable"), "grid-a");
  EXPECT_EQ(member(page, "enableKX"), "1");
  CgiReply camera = post("/6098", R"({"id": 3})");
  EXPECT_EQ(member(camera, "map"), "grid-a");
  EXPECT_EQ(member(camera, "sensitivity"), "4");
  EXPECT_EQ(member(camera, "enable"), "1");
}

TEST_F(MotionOnCoresim, WholePageCopiedToAnotherChannel) {
  EXPECT_EQ(post("/6112", R"({"chnid": 1, "dialog": {"chnid": 1, "audioId": 2,
                              "email": [[["08:00", "09:00", 1]]]},
                              "sensitivity": 8, "enableKX": 1, "enableAI": 1,
                              "motionTable": "grid-b", "copyChn": [1, 6], "copyCnt": 2})")
                .body,
            "OK");
  EXPECT_EQ(member(post("/6010", R"({"chnid": 6})"), "audioId"), "2");
  EXPECT_NE(get("/6120", "6").body.find("08:00"), std::string::npos);
  CgiReply camera = post("/6098", R"({"id": 6})");
  EXPECT_EQ(member(camera, "map"), "grid-b");
  EXPECT_EQ(member(camera, "sensitivity"), "8");
  EXPECT_EQ(member(camera, "enableAI"), "1");
  EXPECT_EQ(member(camera, "enable"), "1");
}

}  // namespace
