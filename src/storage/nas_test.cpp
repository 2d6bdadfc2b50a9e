// Network storage: add, edit, delete and search shares.
#include "storage_test_util.h"

namespace {

class Nas : public StorageTest {
 protected:
  // The "res" of a {"status": 0, "res": r} reply; -99 when it is not one.
  static int res_of(const std::string &reply) {
    JsonPtr body = parse_body(reply);
    if (!body || member_names(body.get()) != std::vector<std::string>{"status", "res"}) return -99;
    if (int_member(body.get(), "status") != 0) return -99;
    return int_member(body.get(), "res");
  }
};

const char *kTwoShares = R"({"num": 2, "type": 10, "port": [20, 21],
  "vendor": ["office", "lab"], "address": ["10.0.0.5", "10.0.0.6"],
  "directory": ["/rec", "/lab"], "userName": ["bob%20smith", "eve"],
  "password": ["p%40ss", "x%ZZ"]})";

TEST_F(Nas, AddStoresEachShareTellsTheDaemonAndLogs) {
  daemon().answer(3507, int_answer(0));
  std::string reply = call("/6201", kTwoShares);
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  EXPECT_EQ(res_of(reply), 0);

  disk_params first = stored_disk(20);
  EXPECT_EQ(first.enable, 1);
  EXPECT_EQ(first.property, 1);
  EXPECT_EQ(first.hddType, DISK_TYPE_SMB);
  EXPECT_STREQ(first.vendor, "office");
  EXPECT_STREQ(first.address, "10.0.0.5");
  EXPECT_STREQ(first.directory, "/rec");
  EXPECT_STREQ(first.userName, "bob smith");  // stored URL-decoded
  EXPECT_STREQ(first.password, "p@ss");
  EXPECT_STREQ(stored_disk(21).password, "x%ZZ");  // not a code: taken as it is

  auto added = sent(3507);
  ASSERT_EQ(added.size(), 1u);
  nas_port_list expected = {};
  expected.count = 2;
  expected.port[0] = 20;
  expected.port[1] = 21;
  EXPECT_EQ(added[0].payload, bytes_of(expected));

  auto entries = logs();
  ASSERT_EQ(entries.size(), 2u);
  for (int i = 0; i < 2; i++) {
    EXPECT_EQ(entries[i].sub_type, 219);
    EXPECT_EQ(entries[i].param_type, 0);
    EXPECT_EQ(entries[i].channel, 20 + i);
    int kind = 0;
    auto detail = detail_of<nas_log_detail>(entries[i], &kind);
    EXPECT_EQ(kind, 101);
    EXPECT_STREQ(detail.kind, "SMB/CIFS");
  }
  EXPECT_STREQ(detail_of<nas_log_detail>(entries[1]).address, "10.0.0.6");
  EXPECT_STREQ(detail_of<nas_log_detail>(entries[1]).directory, "/lab");
}

TEST_F(Nas, AddCutsTextsToTheirFieldsAndDefaultsToNfs) {
  daemon().answer(3507, int_answer(3));
  std::string encoded_user;
  for (int i = 0; i < 100; i++) encoded_user += "%41";  // 300 characters, 100 decoded
  std::string body = R"({"num": 1, "port": [30], "vendor": [")" + std::string(90, 'v') +
                     R"("], "address": [")" + std::string(90, 'a') + R"("], "directory": [")" +
                     std::string(200, 'd') + R"("], "userName": [")" + encoded_user +
                     R"("], "password": [")" + std::string(50, 'p') + R"("]})";
  EXPECT_EQ(res_of(call("/6201", body)), 3);
  disk_params d = stored_disk(30);
  EXPECT_EQ(d.hddType, DISK_TYPE_NFS);
  EXPECT_EQ(std::string(d.vendor), std::string(63, 'v'));
  EXPECT_EQ(std::string(d.address), std::string(63, 'a'));
  EXPECT_EQ(std::string(d.directory), std::string(127, 'd'));
  EXPECT_EQ(std::string(d.userName), std::string(32, 'A'));
  EXPECT_EQ(std::string(d.password), std::string(32, 'p'));
  EXPECT_STREQ(detail_of<nas_log_detail>(logs().at(0)).kind, "NFS");
}

TEST_F(Nas, AddTakesAtMost33SharesAndOnlyValidPorts) {
  daemon().answer(3507, int_answer(0));
  std::string ports;
  for (int i = 0; i < 40; i++) ports += (i ? "," : "") + std::to_string(1 + i % 36);
  call("/6201", R"({"num": 40, "port": [)" + ports + "]}");
  EXPECT_EQ(record_from<nas_port_list>(sent(3507).at(0).payload).count, 33);
  EXPECT_EQ(logs().size(), 33u);

  forget();
  for (const char *body : {R"({"num": 2, "port": [35, 37]})", R"({"num": 1, "port": [0]})",
                           R"({"num": 2, "port": [35]})"}) {
    EXPECT_EQ(call("/6201", body), kCgiError) << body;
  }
  EXPECT_EQ(stored_disk(35).enable, 0);  // nothing of a refused request is stored
  EXPECT_TRUE(sent(3507).empty());
}

TEST_F(Nas, AddFailuresAnswerCgiErrorWithoutLog) {
  daemon().silent(3507);
  EXPECT_EQ(call("/6201", kTwoShares), kCgiError);
  EXPECT_TRUE(logs().empty());
  daemon().answer(3507, Bytes{1, 2});  // too short to hold a result
  EXPECT_EQ(call("/6201", kTwoShares), kCgiError);
  forget();
  {
    BrokenSettings broken;
    EXPECT_EQ(call("/6201", kTwoShares), kCgiError);
  }
  EXPECT_TRUE(sent(3507).empty());
  EXPECT_TRUE(logs().empty());
  EXPECT_EQ(call("/6201", "no json"), "");
}

TEST_F(Nas, EditRewritesTheShareAndLogsItsKind) {
  daemon().answer(3439, int_answer(0));
  std::string long_dir = std::string(127, 'z');
  std::string body = R"({"port": 9, "type": 10, "vendor": "v", "address": "h", "directory": ")" +
                     long_dir + R"(", "userName": "a%3Bb", "password": "%E2%82%AC"})";
  EXPECT_EQ(res_of(call("/6203", body)), 0);
  disk_params d = stored_disk(9);
  EXPECT_EQ(d.hddType, DISK_TYPE_SMB);
  EXPECT_EQ(std::string(d.directory), long_dir);
  EXPECT_STREQ(d.userName, "a;b");
  EXPECT_STREQ(d.password, "\xE2\x82\xAC");
  EXPECT_EQ(sent(3439).at(0).payload, int_answer(9));
  auto entries = logs();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].sub_type, 221);
  EXPECT_EQ(entries[0].channel, 9);
  int kind = 0;
  EXPECT_STREQ(detail_of<nas_log_detail>(entries[0], &kind).kind, "SMB/CIFS");
  EXPECT_EQ(kind, 110);

  call("/6203", R"({"port": 9, "type": 3})");
  call("/6203", R"({"port": 9, "type": 6})");
  entries = logs();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_STREQ(detail_of<nas_log_detail>(entries[1]).kind, "NFS");
  EXPECT_STREQ(detail_of<nas_log_detail>(entries[2]).kind, "");
}

TEST_F(Nas, EditedDirectorySurvivesTheDiskListAndTheNextEdit) {
  // What the page shows is what it sends back on the next edit.
  std::string dir = "/" + std::string(120, 'q') + "/tail";
  daemon().answer(3439, int_answer(0));
  call("/6203", R"({"port": 12, "type": 3, "address": "srv", "directory": ")" + dir + "\"}");
  daemon().answer(3433, int_answer(0));
  JsonPtr list = parse_body(call("/6100"));
  json_object *share = json_object_array_get_idx(json_member(list.get(), "HDD"), 0);
  EXPECT_EQ(text_member(share, "directory"), dir);
  call("/6203", R"({"port": 12, "type": 3, "address": "srv", "directory": ")" +
                    text_member(share, "directory") + "\"}");
  EXPECT_EQ(std::string(stored_disk(12).directory), dir);
}

TEST_F(Nas, EditKeepsTheGroupAndPropertySetOnTheDiskPage) {
  daemon().answer(3439, int_answer(0));
  call("/6203", R"({"port": 9, "type": 3, "address": "a"})");
  EXPECT_EQ(call("/6101", R"({"portId": 9, "property": 0, "group": 5})"), kTextOk);
  call("/6203", R"({"port": 9, "type": 3, "address": "b"})");
  disk_params d = stored_disk(9);
  EXPECT_STREQ(d.address, "b");
  EXPECT_EQ(d.group, 5);
  EXPECT_EQ(d.property, 0);
}

TEST_F(Nas, EditFailures) {
  EXPECT_EQ(call("/6203", R"({"port": 40, "type": 3})"), kCgiError);
  EXPECT_EQ(call("/6203", R"({"type": 3})"), kCgiError);
  EXPECT_TRUE(sent(3439).empty());
  daemon().silent(3439);
  EXPECT_EQ(call("/6203", R"({"port": 4, "type": 3})"), kCgiError);
  EXPECT_TRUE(logs().empty());
  forget();
  {
    BrokenSettings broken;
    EXPECT_EQ(call("/6203", R"({"port": 4, "type": 3})"), kCgiError);
  }
  EXPECT_TRUE(sent(3439).empty());
}

TEST_F(Nas, DeleteNamesEachStoredShareInTheLog) {
  disk_params nfs = nas_entry(3, DISK_TYPE_NFS, "10.1.1.1", "/a");
  disk_params smb = nas_entry(4, DISK_TYPE_SMB, "10.1.1.2", "/b");
  ASSERT_EQ(write_disk(KXDB_FILE, &nfs), 0);
  ASSERT_EQ(write_disk(KXDB_FILE, &smb), 0);
  daemon().answer(3508, int_answer(0));
  EXPECT_EQ(call("/6200", R"({"num": 2, "port": [3, 4, 5]})"), kTextOk);
  nas_port_list expected = {};
  expected.count = 2;
  expected.port[0] = 3;
  expected.port[1] = 4;
  EXPECT_EQ(sent(3508).at(0).payload, bytes_of(expected));
  auto entries = logs();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].sub_type, 220);
  EXPECT_EQ(entries[0].channel, 3);
  int kind = 0;
  auto first = detail_of<nas_log_detail>(entries[0], &kind);
  EXPECT_EQ(kind, 101);
  EXPECT_STREQ(first.kind, "NFS");
  EXPECT_STREQ(first.address, "10.1.1.1");
  EXPECT_STREQ(detail_of<nas_log_detail>(entries[1]).kind, "SMB/CIFS");
  EXPECT_STREQ(detail_of<nas_log_detail>(entries[1]).directory, "/b");

  daemon().answer(3508, int_answer(1));
  EXPECT_EQ(call("/6200", R"({"num": 1, "port": [3]})"), kTextError);
  EXPECT_EQ(logs().size(), 3u);  // the answer came: logged
}

TEST_F(Nas, DeleteFailures) {
  daemon().silent(3508);
  EXPECT_EQ(call("/6200", R"({"num": 1, "port": [3]})"), kCgiError);
  EXPECT_TRUE(logs().empty());
  forget();
  EXPECT_EQ(call("/6200", R"({"num": 1, "port": [99]})"), kCgiError);
  EXPECT_EQ(call("/6200", "[1"), "");
  EXPECT_TRUE(sent(3508).empty());
}

Bytes search_answer(int32_t count, const std::vector<std::string> &paths) {
  Bytes out = int_answer(count);
  for (const auto &p : paths) {
    Bytes path(NAS_PATH_SIZE, 0);
    memcpy(path.data(), p.data(), std::min(p.size(), path.size()));
    out.insert(out.end(), path.begin(), path.end());
  }
  return out;
}

TEST_F(Nas, SearchListsTheExportedPaths) {
  daemon().answer(3440, search_answer(2, {"/export/a", "/export/b"}));
  std::string reply = call("/6202", R"({"port": 6, "serverAddr": ")" + std::string(80, 's') +
                                        "\"}");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"resultString", "NAS"}));
  EXPECT_EQ(text_member(body.get(), "resultString"), "OK");
  json_object *list = json_member(body.get(), "NAS");
  ASSERT_EQ(json_object_array_length(list), 2u);
  EXPECT_EQ(text_member(json_object_array_get_idx(list, 1), "filePath"), "/export/b");
  auto request = record_from<nas_search_request>(sent(3440).at(0).payload);
  EXPECT_EQ(request.port, 6);
  EXPECT_EQ(std::string(request.server_addr), std::string(63, 's'));
}

TEST_F(Nas, SearchTrustsOnlyWhatTheAnswerHolds) {
  daemon().answer(3440, search_answer(1000, {"/one", std::string(300, 'x')}));
  JsonPtr body = parse_body(call("/6202", R"({"port": 1, "serverAddr": "h"})"));
  json_object *list = json_member(body.get(), "NAS");
  ASSERT_EQ(json_object_array_length(list), 2u);  // what the payload holds
  EXPECT_EQ(text_member(json_object_array_get_idx(list, 1), "filePath"), std::string(256, 'x'));

  for (int32_t count : {0, -5}) {
    daemon().answer(3440, search_answer(count, {"/one"}));
    body = parse_body(call("/6202", R"({"port": 1, "serverAddr": "h"})"));
    EXPECT_EQ(text_member(body.get(), "resultString"), "NO");
    EXPECT_EQ(json_object_array_length(json_member(body.get(), "NAS")), 0u);
  }
  daemon().answer(3440, Bytes{2, 0});
  EXPECT_EQ(call("/6202", R"({"port": 1, "serverAddr": "h"})"), kJsonError);
  daemon().silent(3440);
  EXPECT_EQ(call("/6202", R"({"port": 1, "serverAddr": "h"})"), kJsonError);
}

}  // namespace
