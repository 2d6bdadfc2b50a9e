// The recording pages end to end: the built program against coresim, as the
// demo runs them.
#include <gtest/gtest.h>

#include <unistd.h>

#include "cgi_runner.h"
#include "coresim_process.h"
#include "json_codecs.h"

namespace {

class RecordOnCoresim : public ::testing::Test {
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
  static JsonPtr get_json(const std::string &path, const std::string &query = "") {
    CgiRequest r;
    r.path = path;
    r.query = query;
    return JsonPtr(json_tokener_parse(split_reply(run_cgi(r).out).body.c_str()));
  }
  static int member(json_object *o, const char *key) {
    json_object *v = json_member(o, key);
    return v ? json_object_get_int(v) : -99;
  }
};

TEST_F(RecordOnCoresim, SettingsSaveAndReadBack) {
  CgiReply saved = post("/6045", R"({"cnt": 2, "chnid": [0, 1], "camAnr": 0,
      "prevRecordOn": 1, "prevRecordDuration": 10, "postRecordOn": 1, "postRecordDuration": 60,
      "audioEnable": 1, "recordStreamType": 1, "recordExpDate": 30})");
  EXPECT_EQ(saved.headers, "Content-type: application/json\r\n");
  EXPECT_EQ(saved.body, R"({ "resp": 0 })");
  JsonPtr back = get_json("/6044", "1");
  EXPECT_EQ(member(back.get(), "postRecordDuration"), 60);
  EXPECT_EQ(member(back.get(), "recordStreamType"), 1);
  EXPECT_EQ(member(back.get(), "recordExpDate"), 30);
  std::string journal = read_file("/var/run/coresim.journal");
  EXPECT_NE(journal.find("request 1310 length 260"), std::string::npos) << journal;
  EXPECT_NE(journal.find("request 2285 length 264"), std::string::npos) << journal;
}

TEST_F(RecordOnCoresim, ScheduleAndQueries) {
  EXPECT_EQ(post("/6041", R"({"cnt": 1, "chnid": [2], "recordplanmode": 1, "schedule": [
      {"wholedayEnable": 0, "plans": [["00:00", "08:00", 1]]}]})")
                .body,
            "OK");
  JsonPtr schedule = get_json("/6040", "2");
  json_object *day = json_object_array_get_idx(json_member(schedule.get(), "schedule"), 0);
  json_object *plan = json_object_array_get_idx(json_member(day, "plans"), 0);
  EXPECT_STREQ(json_object_get_string(json_member(plan, "endTime")), "08:00");
  JsonPtr support = get_json("/6046", "2");
  EXPECT_EQ(member(support.get(), "chnid"), 2);
  EXPECT_EQ(member(support.get(), "support"), 1);
  JsonPtr lists = get_json("/6047");
  EXPECT_EQ(member(lists.get(), "size"), 4);
  EXPECT_EQ(json_object_array_length(json_member(lists.get(), "primary")), 4u);
}

}  // namespace
