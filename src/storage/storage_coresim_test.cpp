// The storage pages end to end: the built program against coresim, as the
// demo runs them (disk list, format, NAS add/edit/delete, quotas).
#include <gtest/gtest.h>

#include <map>
#include <unistd.h>

#include "cgi_runner.h"
#include "coresim_process.h"
#include "json_codecs.h"

namespace {

class StorageOnCoresim : public ::testing::Test {
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
  static CgiReply get(const std::string &path) {
    CgiRequest r;
    r.path = path;
    return split_reply(run_cgi(r).out);
  }
  // The disk list's entries by port.
  static std::map<int, std::string> disks() {
    JsonPtr list(json_tokener_parse(get("/6100").body.c_str()));
    std::map<int, std::string> out;
    json_object *hdd = json_member(list.get(), "HDD");
    for (size_t i = 0; hdd && i < json_object_array_length(hdd); i++) {
      json_object *d = json_object_array_get_idx(hdd, i);
      out[json_object_get_int(json_member(d, "portId"))] =
          std::string(json_object_get_string(json_member(d, "address"))) + " state " +
          json_object_get_string(json_member(d, "state"));
    }
    return out;
  }

  // "res" of a {"status": 0, "res": r} reply, -99 for anything else.
  static int res_of(const CgiReply &reply) {
    JsonPtr body(json_tokener_parse(reply.body.c_str()));
    json_object *status = json_member(body.get(), "status");
    json_object *res = json_member(body.get(), "res");
    if (!status || !res || json_object_get_int(status) != 0) return -99;
    return json_object_get_int(res);
  }

  pid_t pid_ = -1;
};

TEST_F(StorageOnCoresim, DiskListFormatAndTheLifeOfANasShare) {
  auto before = disks();
  EXPECT_EQ(before.size(), 3u);  // two local disks and the RAID array
  EXPECT_TRUE(before.count(1) && before.count(2) && before.count(10));
  EXPECT_EQ(post("/6102", "2").body, "OK");
  EXPECT_EQ(post("/6102", "30").body, "ERROR FORMAT");  // no disk there

  EXPECT_EQ(res_of(post("/6201", R"({"num": 1, "type": 3, "port": [20], "vendor": ["nas"],
                             "address": ["192.168.1.50"], "directory": ["/rec"],
                             "userName": ["u"], "password": ["p"]})")),
            0);
  EXPECT_EQ(disks()[20], "192.168.1.50 state 1");  // mounted by the daemon

  EXPECT_EQ(res_of(post("/6203", R"({"port": 20, "type": 10, "address": "192.168.1.51",
                             "directory": "/share"})")),
            0);
  EXPECT_EQ(disks()[20], "192.168.1.51 state 1");

  EXPECT_EQ(post("/6200", R"({"num": 1, "port": [20]})").body, "OK");
  EXPECT_EQ(disks().count(20), 0u);  // the daemon dropped the share and its entry

  // Removing a local disk's space takes it out of the list.
  EXPECT_EQ(post("/6207", R"({"port": 2, "hddType": 1})").body, "OK");
  EXPECT_EQ(disks().count(2), 0u);
  EXPECT_EQ(post("/6207", R"({"port": 2, "hddType": 1})").body, "Error");  // gone already
}

TEST_F(StorageOnCoresim, QuotasAndRaidArrays) {
  EXPECT_EQ(post("/6209", R"({"enable": 1, "quota_array": [{"channel": 2, "video_quota": 500,
                             "picture_quota": 50}]})")
                .body,
            "OK");
  JsonPtr quota(json_tokener_parse(get("/6208").body.c_str()));
  json_object *entry = json_object_array_get_idx(json_member(quota.get(), "quota_array"), 0);
  ASSERT_TRUE(entry);
  EXPECT_EQ(json_object_get_int(json_member(entry, "video_quota")), 500);
  EXPECT_EQ(json_object_get_int(json_member(entry, "video_used")), 50);

  EXPECT_EQ(post("/6104", R"({"id": 11, "enable": 1, "level": 0, "sata_cnt": 2,
                             "sata_port": 96})")
                .body,
            "OK");
  EXPECT_EQ(post("/6104", R"({"id": 11, "enable": 1, "level": 0, "sata_cnt": 2,
                             "sata_port": 96})")
                .body,
            "Error");  // the id is taken
  EXPECT_TRUE(disks().count(11));
  EXPECT_EQ(post("/6105", "11").body, "OK");
  EXPECT_FALSE(disks().count(11));
}

}  // namespace
