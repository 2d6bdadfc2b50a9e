// Log types, search, entry detail and the CSV export.
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "system_info_test_util.h"
#include "trans.h"

namespace {

constexpr const char *kLanguage = "xx-TEST";

class SystemLogs : public HandlerTest {
 protected:
  void SetUp() override {
    HandlerTest::SetUp();
    mkdir(TRANS_DIRECTORY, 0755);
    std::ofstream texts(std::string(TRANS_DIRECTORY) + "/" + kLanguage + ".txt");
    texts << "3 Operation\n10 All\n201 Login\n913 General\n500 Start\n4 Information\n";
  }
  void TearDown() override {
    unlink((std::string(TRANS_DIRECTORY) + "/" + kLanguage + ".txt").c_str());
    unlink(LOG_EXPORT_MARKER);
    HandlerTest::TearDown();
  }
};

const std::string kSearch = R"({"language": "xx-TEST", "mainType": 4, "subTypeArr": [10],
    "startTime": "2026-12-01 00:00:00", "endTime": "2026-12-02 00:00:00", "curPageNum": 2,
    "chnMask": "0110", "searchNoChn": 1})";

int32_t local_time(int year, int month, int day, int hour, int minute, int second) {
  struct tm tm = {};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  tm.tm_isdst = -1;
  return (int32_t)mktime(&tm);
}

log_info sample_entry(const char *address) {
  log_info e = {};
  e.main_type = 4;
  e.sub_type = 201;
  e.time = local_time(2026, 12, 1, 8, 30, 5);
  e.param_type = 913;
  e.remote = 1;
  e.channel = 3;
  snprintf(e.client_addr, sizeof e.client_addr, "%s", address);
  snprintf(e.user_name, sizeof e.user_name, "admin");
  kxfs_log_pack_detail(&e, 101, "abc", 3);
  return e;
}

Bytes page_answer(int total, int count, const std::vector<log_info> &entries) {
  auto page = std::make_unique<log_search_page>();
  page->total = total;
  page->count = count;
  for (size_t i = 0; i < entries.size(); i++) page->entries[i] = entries[i];
  return bytes_of(*page);
}

TEST_F(SystemLogs, TypeListsHaveTheirLengthsAndTexts) {
  JsonPtr body = parse_body(call("/1015", R"({"lan": "xx-TEST"})"));
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()), (std::vector<std::string>{"mainType", "subType"}));
  json_object *mains = json_member(body.get(), "mainType");
  json_object *subs = json_member(body.get(), "subType");
  ASSERT_EQ(array_length(mains), 6);
  const int keys[] = {1, 2, 4, 8, 32, 64};
  const size_t lengths[] = {1, 31, 72, 17, 14, 5};
  for (int i = 0; i < 6; i++) {
    EXPECT_EQ(int_member(array_at(mains, i), "key"), keys[i]);
    json_object *list = array_at(subs, i);
    EXPECT_EQ((size_t)array_length(list), lengths[i]) << keys[i];
    EXPECT_EQ(int_member(array_at(list, 0), "key"), 10);
    EXPECT_EQ(text_member(array_at(list, 0), "name"), "All");
  }
  EXPECT_EQ(text_member(array_at(mains, 2), "name"), "Operation");
  EXPECT_EQ(text_member(array_at(mains, 0), "name"), "");  // no text for code 1
  EXPECT_EQ(text_member(array_at(array_at(subs, 2), 1), "name"), "");  // 101
  EXPECT_EQ(int_member(array_at(array_at(subs, 2), 43), "key"), 143);
  EXPECT_EQ(int_member(array_at(array_at(subs, 2), 44), "key"), 200);

  std::vector<int> events = log_sub_type_codes(2, false);
  EXPECT_EQ(std::count(events.begin(), events.end(), 15), 0);
  EXPECT_EQ(std::count(events.begin(), events.end(), 31), 0);
  EXPECT_EQ(std::vector<int>(events.end() - 8, events.end()),
            (std::vector<int>{38, 39, 40, 41, 37, 42, 43, 44}));
  ASSERT_EQ(set_param_int(KXDB_FILE, "oem_type", 90), 0);
  body = parse_body(call("/1015", R"({"lan": "xx-TEST"})"));
  json_object *with_oem = array_at(json_member(body.get(), "subType"), 1);
  EXPECT_EQ(array_length(with_oem), 33);
  EXPECT_EQ(int_member(array_at(with_oem, 5), "key"), 15);
  std::vector<int> exceptions = log_sub_type_codes(32, false);
  EXPECT_EQ(std::count(exceptions.begin(), exceptions.end(), 408), 0);

  EXPECT_EQ(call("/1015", "nonsense"), kJsonError);
}

TEST_F(SystemLogs, LanguageThatIsNoPlainNameLoadsNoTexts) {
  std::ofstream outside("/tmp/evil.txt");
  outside << "3 Outside\n";
  outside.close();
  for (const char *lan : {"../../../tmp/evil", "xx TEST", "", "xx/TEST"}) {
    std::string body = std::string(R"({"lan": ")") + lan + "\"}";
    JsonPtr reply = parse_body(call("/1015", body));
    ASSERT_TRUE(reply) << lan;
    EXPECT_EQ(text_member(array_at(json_member(reply.get(), "mainType"), 2), "name"), "") << lan;
  }
  EXPECT_EQ(trans_init("../../../tmp/evil"), -1);
  EXPECT_EQ(trans_init(kLanguage), 0);
  char text[4];
  EXPECT_EQ(trans_get_value(3, text, sizeof text), 0);
  EXPECT_STREQ(text, "Ope");  // cut to the buffer
  EXPECT_EQ(trans_get_value(7, text, sizeof text), -1);
  EXPECT_STREQ(text, "");
  trans_deinit();
  unlink("/tmp/evil.txt");
}

TEST_F(SystemLogs, SearchRequestBytes) {
  daemon().answer(3495, page_answer(0, 0, {}));
  std::string body = with_member(kSearch, "subTypeArr", "[10, -3, 4294967295]");
  call("/1002", body);
  auto requests = sent(3495);
  ASSERT_EQ(requests.size(), 1u);
  auto q = record_from<log_search_request>(requests[0].payload);
  ASSERT_EQ(requests[0].payload.size(), 840u);
  EXPECT_EQ(q.start_time, local_time(2026, 12, 1, 0, 0, 0));
  EXPECT_EQ(q.end_time, local_time(2026, 12, 2, 0, 0, 0));
  EXPECT_EQ(q.main_type, 4);
  EXPECT_EQ(int_at(requests[0].payload, 12), 0);
  EXPECT_EQ(q.sub_type_count, 3);
  EXPECT_EQ(q.sub_types[0], 10);
  EXPECT_EQ(q.sub_types[1], -3);  // sign-extended
  EXPECT_EQ(q.page, 2);
  EXPECT_EQ(q.channel_mask, 0x6u);
  EXPECT_EQ(q.search_no_channel, 1);
  EXPECT_EQ(q.reserved1, 0);

  // At most 100 sub types are taken.
  std::string many = "[10";
  for (int i = 0; i < 150; i++) many += ", 11";
  call("/1002", with_member(kSearch, "subTypeArr", (many + "]").c_str()));
  EXPECT_EQ(record_from<log_search_request>(sent(3495)[1].payload).sub_type_count, 100);
}

TEST_F(SystemLogs, SearchValidation) {
  for (auto [key, value] : std::vector<std::pair<const char *, const char *>>{
           {"mainType", "0"}, {"mainType", "65"}, {"subTypeArr", "[9]"}, {"subTypeArr", "[]"},
           {"language", ""}, {"startTime", ""}, {"endTime", ""}, {"curPageNum", ""}}) {
    EXPECT_EQ(call("/1002", with_member(kSearch, key, value)), kJsonError) << key << value;
  }
  EXPECT_EQ(call("/1002", "{"), kJsonError);
  EXPECT_TRUE(codes().empty());
  daemon().silent(3495);
  EXPECT_EQ(call("/1002", kSearch), kJsonError);
}

TEST_F(SystemLogs, PageIsListedWithTextsAndCleanAddresses) {
  log_info disk = sample_entry("fe80::1%eth0");
  disk.sub_type = 207;
  daemon().answer(3495, page_answer(150, 2, {sample_entry("::ffff:192.168.1.5"), disk}));
  std::string reply = call("/1002", kSearch);
  EXPECT_EQ(reply_header(reply), "Content-type: application/json\r\n");
  JsonPtr body = parse_body(reply);
  ASSERT_TRUE(body);
  EXPECT_EQ(member_names(body.get()),
            (std::vector<std::string>{"count", "num", "curPageNum", "log"}));
  EXPECT_EQ(int_member(body.get(), "count"), 150);
  EXPECT_EQ(int_member(body.get(), "num"), 2);
  EXPECT_EQ(int_member(body.get(), "curPageNum"), 2);
  json_object *list = json_member(body.get(), "log");
  ASSERT_EQ(array_length(list), 2);
  json_object *first = array_at(list, 0);
  EXPECT_EQ(member_names(first),
            (std::vector<std::string>{"no", "mainTypeValue", "mainType", "subTypeValue",
                                      "subType", "pts", "ptc", "parameterValue", "parameter",
                                      "remote", "chanNo", "disk", "size", "detail", "detail2",
                                      "ip", "user"}));
  EXPECT_EQ(int_member(first, "no"), 0);
  EXPECT_EQ(text_member(first, "mainType"), "Operation");
  EXPECT_EQ(text_member(first, "subType"), "Login");
  EXPECT_EQ(text_member(first, "parameter"), "General");
  EXPECT_EQ(text_member(first, "ptc"), "2026-12-01 08:30:05");
  EXPECT_EQ(text_member(first, "ip"), "192.168.1.5");
  EXPECT_EQ(text_member(first, "user"), "admin");
  EXPECT_EQ(int_member(first, "disk"), 0);
  EXPECT_EQ(int_member(first, "size"), 11);
  json_object *words = json_member(first, "detail2");
  ASSERT_EQ(array_length(words), 128);
  EXPECT_EQ(element_int(words, 0), 101 << 24);  // big-endian reading
  EXPECT_EQ(element_int(words, 2), 'a' << 24 | 'b' << 16 | 'c' << 8);
  json_object *second = array_at(list, 1);
  EXPECT_EQ(int_member(second, "no"), 1);
  EXPECT_EQ(text_member(second, "ip"), "fe80::1");
  EXPECT_EQ(int_member(second, "disk"), 1);
}

TEST_F(SystemLogs, PageCountsAreBoundedAndShortPagesAreErrors) {
  daemon().answer(3495, page_answer(5, 1000, {sample_entry("1.2.3.4")}));
  JsonPtr body = parse_body(call("/1002", kSearch));
  EXPECT_EQ(int_member(body.get(), "num"), 100);
  EXPECT_EQ(array_length(json_member(body.get(), "log")), 100);
  daemon().answer(3495, page_answer(0, -4, {}));
  body = parse_body(call("/1002", kSearch));
  EXPECT_EQ(int_member(body.get(), "num"), 0);
  EXPECT_EQ(array_length(json_member(body.get(), "log")), 0);
  daemon().answer(3495, Bytes(67207, 0));
  EXPECT_EQ(call("/1002", kSearch), kJsonHeader + "ERROR");
}

TEST_F(SystemLogs, AddressCleaning) {
  EXPECT_EQ(log_clean_address("::ffff:10.0.0.1"), "10.0.0.1");
  EXPECT_EQ(log_clean_address("::ffff:abcd"), "::ffff:abcd");
  EXPECT_EQ(log_clean_address("fe80::2%3"), "fe80::2");
  EXPECT_EQ(log_clean_address("2001:db8::1"), "2001:db8::1");
  char full[46];
  memset(full, '1', sizeof full);  // no terminator
  EXPECT_EQ(log_clean_address(full), std::string(46, '1'));
}

TEST_F(SystemLogs, DetailRoundTripThroughTheSearchJson) {
  log_info entry = sample_entry("::ffff:192.168.1.5");
  daemon().answer(3495, page_answer(1, 1, {entry}));
  JsonPtr body = parse_body(call("/1002", kSearch));
  std::string listed = json_object_to_json_string(array_at(json_member(body.get(), "log"), 0));
  Bytes text = {'O', 'p', 'e', 'n', 'e', 'd'};
  daemon().answer(3488, text);
  EXPECT_EQ(call("/1021", listed), kTextHeader + "Opened");
  auto requests = sent(3488);
  ASSERT_EQ(requests.size(), 1u);
  ASSERT_EQ(requests[0].payload.size(), 672u);
  auto rebuilt = record_from<log_info>(requests[0].payload);
  EXPECT_EQ(rebuilt.main_type, entry.main_type);
  EXPECT_EQ(rebuilt.sub_type, entry.sub_type);
  EXPECT_EQ(rebuilt.time, entry.time);
  EXPECT_EQ(rebuilt.param_type, entry.param_type);
  EXPECT_EQ(rebuilt.channel, entry.channel);
  EXPECT_EQ(rebuilt.detail_size, entry.detail_size);
  EXPECT_EQ(memcmp(rebuilt.detail, entry.detail, sizeof entry.detail), 0);
  EXPECT_STREQ(rebuilt.client_addr, "192.168.1.5");
  EXPECT_STREQ(rebuilt.user_name, "admin");

  daemon().answer(3488, Bytes{0});
  EXPECT_EQ(call("/1021", listed), kTextHeader + "N/A");
  daemon().silent(3488);
  EXPECT_EQ(call("/1021", listed), kCgiError);
}

TEST_F(SystemLogs, ExportExpandsOperationSubTypes) {
  int64_t out[100];
  const int64_t first[] = {13, 10, 10};
  ASSERT_EQ(log_expand_operation_sub_types(first, 3, out), 2);
  EXPECT_EQ(out[0], 101);
  EXPECT_EQ(out[1], 102);
  const int64_t all_bases[] = {11, 12, 10 + (1 << 29)};
  ASSERT_EQ(log_expand_operation_sub_types(all_bases, 3, out), 3);
  EXPECT_EQ(out[1], 132);
  EXPECT_EQ(out[2], 229);
  // Missing values read 0: all but two of the 30 sub types of each base.
  EXPECT_EQ(log_expand_operation_sub_types(first, 1, out), 2 + 28 + 28);

  std::string body = R"({"language": "xx-TEST", "mainType": 4, "subTypeArr": [13, 10, 12],
      "startTime": "2026-12-01T00:00:00", "endTime": "2026-12-01T12:00:00", "curPageNum": 0,
      "na": 1, "ch": "18446744073709551615"})";
  daemon().silent(3494);
  call("/1003", body);
  auto q = record_from<log_search_request>(sent(3494)[0].payload);
  EXPECT_EQ(q.start_time, local_time(2026, 12, 1, 0, 0, 0));
  EXPECT_EQ(q.end_time, local_time(2026, 12, 1, 12, 0, 0));
  ASSERT_EQ(q.sub_type_count, 3);
  EXPECT_EQ(q.sub_types[0], 101);
  EXPECT_EQ(q.sub_types[1], 102);
  EXPECT_EQ(q.sub_types[2], 201);
  EXPECT_EQ(q.channel_mask, ~0ull);
  EXPECT_EQ(q.search_no_channel, 1);

  EXPECT_EQ(call("/1003", with_member(body, "subTypeArr", "[10, 13]")), kJsonError);
  q = record_from<log_search_request>(sent(3494)[1].payload);
  EXPECT_EQ(q.sub_type_count, 2);  // "all" is kept as it is
  EXPECT_EQ(q.sub_types[1], 13);
  EXPECT_EQ(call("/1003", with_member(body, "mainType", "0")), "");
}

// The daemon's result file for the export: `count` in the head, `entries` in the body.
std::string write_result(int32_t count, const std::vector<log_info> &entries, size_t cut = 0) {
  std::string path = "/tmp/log_result";
  FILE *f = fopen(path.c_str(), "wb");
  fwrite(&count, sizeof count, 1, f);
  std::vector<char> description(LOG_EXPORT_DESCRIPTION, '\0');
  for (size_t i = 0; i < entries.size(); i++) {
    snprintf(description.data(), description.size(), i == 0 ? "Opened by admin" : "%s", "");
    fwrite(&entries[i], sizeof entries[i], 1, f);
    fwrite(description.data(), description.size() - (i + 1 == entries.size() ? cut : 0), 1, f);
  }
  fclose(f);
  return path;
}

Bytes export_answer(const std::string &path) {
  Bytes out = bytes_of_int(0);
  out.insert(out.end(), path.begin(), path.end());
  return out;  // no terminator: read within the payload
}

TEST_F(SystemLogs, ExportWritesCsvRowsAndRemovesTheResultFile) {
  ASSERT_EQ(write_mac_conf("00112233AABB"), 0);
  log_info plain = sample_entry("::ffff:192.168.1.5");
  log_info unnamed = sample_entry("fe80::1%eth0");
  unnamed.param_type = 999;
  std::string path = write_result(2, {plain, unnamed});
  daemon().answer(3494, export_answer(path));
  std::string body = with_member(kSearch, "mainType", "8");
  body = with_member(body, "startTime", "\"2026-12-01T00:00:00\"");
  std::string reply = call("/1003", body);
  std::string head = "Content-Type:application/octet-stream\r\n"
                     "Content-Disposition: attachment; filename= Information_log_00112233AABB_";
  ASSERT_EQ(reply.substr(0, head.size()), head);
  size_t body_start = reply.find(".csv\r\n\r\n");
  ASSERT_NE(body_start, std::string::npos);
  EXPECT_EQ(reply.substr(body_start + 8),
            "Number,Time,Main,Sub,Parameter,User,Ip,Channel,Log information,\r\n"
            "1,2026-12-01 08:30:05,Operation,Login,General,admin,192.168.1.5,3,"
            "\"Opened by admin\"\r\n"
            "2,2026-12-01 08:30:05,Operation,Login,N/A,admin,fe80::1,3,\"N/A\"\r\n");
  EXPECT_NE(access(path.c_str(), F_OK), 0);
  EXPECT_NE(access(LOG_EXPORT_MARKER, F_OK), 0);
}

TEST_F(SystemLogs, ShortOrMissingResultFileGivesTheHeaderRowOnly) {
  std::string path = write_result(5, {sample_entry("1.1.1.1"), sample_entry("2.2.2.2")}, 1);
  daemon().answer(3494, export_answer(path));
  std::string reply = call("/1003", with_member(kSearch, "startTime", "\"2026-12-01T00:00:00\""));
  std::string rows = reply.substr(reply.find(".csv\r\n\r\n") + 8);
  EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 2);  // header row and one entry
  EXPECT_NE(rows.find("1.1.1.1"), std::string::npos);
  EXPECT_NE(access(path.c_str(), F_OK), 0);
  daemon().answer(3494, export_answer("/tmp/no-such-result"));
  reply = call("/1003", kSearch);
  EXPECT_EQ(reply.substr(reply.find(".csv\r\n\r\n") + 8),
            "Number,Time,Main,Sub,Parameter,User,Ip,Channel,Log information,\r\n");
  EXPECT_NE(reply.find("filename= Operation_log_"), std::string::npos);
}

TEST_F(SystemLogs, MarkerExistsWhileTheExportWaits) {
  EXPECT_EQ(call("/1022"), kTextHeader + "NO");
  rmdir("/tmp/log");
  bool marker_seen = false;
  daemon().on(3494, [&marker_seen](const SimRequest &) {
    marker_seen = access(LOG_EXPORT_MARKER, F_OK) == 0;
    return std::vector<SimFrame>{SimFrame{0, bytes_of_int(0), 0}};
  });
  call("/1003", kSearch);
  EXPECT_TRUE(marker_seen);
  EXPECT_NE(access(LOG_EXPORT_MARKER, F_OK), 0);
  EXPECT_EQ(call("/1022"), kTextHeader + "NO");
  FILE *f = fopen(LOG_EXPORT_MARKER, "w");
  ASSERT_TRUE(f);
  fclose(f);
  EXPECT_EQ(call("/1022"), kTextHeader + "OK");
}

}  // namespace
