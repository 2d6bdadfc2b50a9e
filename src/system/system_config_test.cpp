#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "kxdb_motion.h"
#include "maintenance.h"
#include "system_test_support.h"

namespace {

constexpr int kLogCode = 3485;

std::string read_file(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void write_file(const std::string &path, const std::string &data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << data;
}

bool exists(const std::string &path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

motion_params motion(int channel, int32_t interval, int32_t email_interval) {
  motion_params m = {};
  m.id = channel;
  m.sensitivity = 3;
  m.interval = interval;
  m.email_interval = email_interval;
  snprintf(m.triChannels, sizeof m.triChannels, "1010");
  return m;
}

void store(const motion_params &m) {
  ASSERT_EQ(write_motion(KXDB_FILE, &m), 0);
}

motion_params stored_motion(int channel) {
  kxdb_close_all();  // the database file may have been replaced
  motion_params m = {};
  EXPECT_EQ(read_motion(KXDB_FILE, &m, channel), 0);
  return m;
}

class Config : public HandlerTest {
 protected:
  void TearDown() override {
    for (const char *f : {CORE_RUNNING_FILE, EXPORT_MARKER_FILE}) unlink(f);
    HandlerTest::TearDown();
  }
  std::vector<int> log_sub_types() {
    std::vector<int> out;
    for (const log_info &l : logs()) {
      EXPECT_EQ(l.param_type, 900);
      out.push_back((int)l.sub_type);
    }
    return out;
  }
  // Exports through the profile tool; the exported file's path.
  std::string export_config() {
    std::string reply = call("/1007");
    std::string path = read_file(EXPORT_MARKER_FILE);
    EXPECT_EQ(reply, kTextHeader + "OK filename=" + path.substr(path.rfind('/') + 1) + "\r\n");
    EXPECT_EQ(path.rfind("/tmp/", 0), 0u) << path;
    return path;
  }
};

TEST_F(Config, RestartLogsThenRestarts) {
  EXPECT_EQ(call("/1004"), kTextHeader + "OK");
  EXPECT_EQ(codes(), (std::vector<int>{kLogCode, 1703}));
  EXPECT_EQ(log_sub_types(), (std::vector<int>{200}));
}

TEST_F(Config, RestoreRepliesThenSendsItsSteps) {
  EXPECT_EQ(call("/1006", R"({"keepIp": 1, "keepUser": 0})"), kTextHeader + "OK");
  EXPECT_EQ(codes(), (std::vector<int>{3311, 3410, kLogCode, 1703}));
  EXPECT_EQ(log_sub_types(), (std::vector<int>{215}));
  auto restore = sent(3311);
  ASSERT_EQ(restore.at(0).payload.size(), 8u);
  EXPECT_EQ(int_at(restore[0].payload, 0), 1);
  EXPECT_EQ(int_at(restore[0].payload, 4), 0);
  EXPECT_EQ(sent(3410).at(0).payload.size(), 0u);

  forget();
  EXPECT_EQ(call("/1006", R"({"keepUser": 1})"), kTextHeader + "OK");
  restore = sent(3311);
  EXPECT_EQ(int_at(restore.at(0).payload, 0), 0);
  EXPECT_EQ(int_at(restore[0].payload, 4), 1);
}

TEST_F(Config, RestartStateRepairsChannel0AndTellsWhetherTheDaemonRuns) {
  store(motion(0, 0, 7));
  EXPECT_EQ(call("/1005"), kTextHeader + "NO OK");
  motion_params m = stored_motion(0);
  EXPECT_EQ(m.interval, 20);
  EXPECT_EQ(m.email_interval, 7);  // not 0: kept
  EXPECT_EQ(m.sensitivity, 3);
  EXPECT_STREQ(m.triChannels, "1010");

  FILE *f = fopen(CORE_RUNNING_FILE, "w");
  ASSERT_TRUE(f);
  fclose(f);
  store(motion(0, 5, 0));
  EXPECT_EQ(call("/1005"), kTextHeader + "OK");
  m = stored_motion(0);
  EXPECT_EQ(m.interval, 5);
  EXPECT_EQ(m.email_interval, 20);
  EXPECT_TRUE(codes().empty());
}

TEST_F(Config, RestartStateOfANeverWrittenChannelStoresTheDefaults) {
  EXPECT_EQ(call("/1005"), kTextHeader + "NO OK");
  motion_params m = stored_motion(0);
  EXPECT_EQ(m.interval, 20);
  EXPECT_EQ(m.email_interval, 20);
  EXPECT_EQ(m.id, 0);
  BrokenSettings broken;
  EXPECT_EQ(call("/1005"), kTextHeader + "NO OK");
}

TEST_F(Config, ExportDownloadImportRoundTrip) {
  store(motion(5, 11, 12));
  std::string path = export_config();
  EXPECT_EQ(log_sub_types(), (std::vector<int>{213}));
  std::string exported = read_file(path);
  ASSERT_GT(exported.size(), 1000u);
  ASSERT_NE(exported.find('\0'), std::string::npos);  // binary, NULs included

  std::string name = path.substr(path.rfind('/') + 1);
  std::string reply = call("/1013");
  std::string head = "Content-Type:application/octet-stream\r\n"
                     "Content-Disposition: attachment; filename= " + name + "\r\n\r\n";
  ASSERT_EQ(reply.substr(0, head.size()), head);
  EXPECT_TRUE(reply.substr(head.size()) == exported) << "the download differs from the file";
  EXPECT_FALSE(exists(path));
  EXPECT_EQ(read_file(EXPORT_MARKER_FILE), path);  // the marker stays
  EXPECT_EQ(call("/1013"), "");  // the file is gone: nothing

  // The settings change; importing the download brings them back.
  store(motion(5, 99, 98));
  write_file("/tmp/saved.bin", reply.substr(head.size()));
  forget();
  EXPECT_EQ(call("/1008", "/tmp/saved.bin"), kTextHeader + "OK");
  EXPECT_EQ(log_sub_types(), (std::vector<int>{214}));
  EXPECT_FALSE(exists("/tmp/saved.bin"));
  motion_params m = stored_motion(5);
  EXPECT_EQ(m.interval, 11);
  EXPECT_EQ(m.email_interval, 12);
  // The upload's extra parameter does not belong to the path.
  write_file("/tmp/saved2.bin", reply.substr(head.size()));
  EXPECT_EQ(call("/1008", "/tmp/saved2.bin & extra"), kTextHeader + "OK");
  EXPECT_FALSE(exists("/tmp/saved2.bin"));
}

TEST_F(Config, AnExportReplacesTheOneBefore) {
  store(motion(1, 1, 1));
  std::string first = export_config();
  sleep(1);  // the file name carries the second
  std::string second = export_config();
  EXPECT_NE(first, second);
  EXPECT_FALSE(exists(first));
  EXPECT_TRUE(exists(second));
  unlink(second.c_str());
}

TEST_F(Config, ImportRefusedByTheToolKeepsFileAndSettings) {
  store(motion(2, 33, 34));
  std::string before = read_file(KXDB_FILE);
  std::string package = read_file(export_config());
  forget();
  std::string damaged = package;
  damaged[damaged.size() / 2] ^= 0x55;
  for (const std::string &content : {std::string("plain text"), std::string(4096, '\0'), damaged}) {
    write_file("/tmp/bad.bin", content);
    EXPECT_EQ(call("/1008", "/tmp/bad.bin"), kCgiError);
    EXPECT_TRUE(exists("/tmp/bad.bin"));
  }
  EXPECT_TRUE(logs().empty());
  EXPECT_TRUE(read_file(KXDB_FILE) == before);
  unlink("/tmp/bad.bin");
}

TEST_F(Config, HostileImportPathsRunImportAndDeleteNothing) {
  store(motion(2, 33, 34));
  std::string package = read_file(export_config());
  forget();
  // A plain name that a shell would take for a command.
  std::string shell_name = "/tmp/a$(touch import_canary).bin";
  write_file(shell_name, "not a package");
  symlink(KXDB_FILE, "/tmp/db_link");
  mkdir("/tmp/dir", 0755);
  write_file("/tmp/dir/inner.bin", package);
  for (const std::string &text : std::vector<std::string>{
           shell_name, std::string(KXDB_FILE), "/tmp/../mnt/nand/app/kxdb.db", "/tmp/db_link",
        "/tmp/dir", "/tmp/dir/inner.bin", "/tmp/.", "/tmp/..", "/tmp/", "/tmp", "tmp/x",
        "/tmpx/saved.bin", "/tmp/missing.bin", "", " & /tmp/dir/inner.bin"}) {
    EXPECT_EQ(call("/1008", text), kCgiError) << text;
  }
  EXPECT_FALSE(exists("import_canary"));
  EXPECT_FALSE(exists("/tmp/import_canary"));
  EXPECT_TRUE(exists(shell_name));
  EXPECT_TRUE(exists(KXDB_FILE));
  EXPECT_TRUE(exists("/tmp/dir/inner.bin"));
  EXPECT_EQ(stored_motion(2).interval, 33);
  EXPECT_TRUE(codes().empty());
  unlink(shell_name.c_str());
  unlink("/tmp/db_link");
  unlink("/tmp/dir/inner.bin");
  rmdir("/tmp/dir");
}

TEST_F(Config, DownloadServesOnlyARegularFileBelowTmp) {
  store(motion(2, 1, 1));
  EXPECT_EQ(call("/1013"), "");  // no marker
  std::string db = read_file(KXDB_FILE);
  symlink(KXDB_FILE, "/tmp/db_link");
  mkdir("/tmp/dir", 0755);
  for (const std::string &named : std::vector<std::string>{
           KXDB_FILE, "/tmp/../mnt/nand/app/kxdb.db", "/tmp/db_link", "/tmp/dir",
        "/tmp", "/tmp/missing", "/tmp/x\r\nSet-Cookie: a=b", ""}) {
    write_file(EXPORT_MARKER_FILE, named);
    EXPECT_EQ(call("/1013"), "") << named;
  }
  EXPECT_TRUE(read_file(KXDB_FILE) == db);
  EXPECT_TRUE(exists("/tmp/db_link"));

  // A file in a folder below /tmp, named with a line end after it, is served.
  write_file("/tmp/dir/c.bin", std::string("a\0b", 3));
  write_file(EXPORT_MARKER_FILE, "/tmp/dir/c.bin\n");
  EXPECT_EQ(reply_body(call("/1013")), std::string("a\0b", 3));
  EXPECT_FALSE(exists("/tmp/dir/c.bin"));
  unlink("/tmp/db_link");
  rmdir("/tmp/dir");
}

// A profile tool of the test's own, first on PATH, that writes `marker`.
class ExportReply : public Config {
 protected:
  void SetUp() override {
    Config::SetUp();
    mkdir(kBin, 0755);
    saved_path_ = getenv("PATH");
    setenv("PATH", (std::string(kBin) + ":" + saved_path_).c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", saved_path_.c_str(), 1);
    unlink((std::string(kBin) + "/kxprofile").c_str());
    rmdir(kBin);
    Config::TearDown();
  }
  void tool(const std::string &script) {
    std::string path = std::string(kBin) + "/kxprofile";
    write_file(path, "#!/bin/sh\n" + script + "\n");
    chmod(path.c_str(), 0755);
  }
  static constexpr const char *kBin = "/tmp/fake_bin";
  std::string saved_path_;
};

TEST_F(ExportReply, TheFileNameComesFromTheMarker) {
  tool("[ \"$1 $2\" = \"-e /tmp\" ] && printf '/data/backup.tar\\n' > /tmp/.export_down_file");
  EXPECT_EQ(call("/1007"), kTextHeader + "OK filename=backup.tar\r\n");
  EXPECT_EQ(log_sub_types(), (std::vector<int>{213}));

  forget();
  tool("printf 'no-folder' > /tmp/.export_down_file");
  EXPECT_EQ(call("/1007"), kTextHeader + "OK");
  tool("rm -f /tmp/.export_down_file");
  EXPECT_EQ(call("/1007"), kTextHeader + "OK");
  tool("printf '/x/%0300d' 0 > /tmp/.export_down_file");  // 256 bytes are read
  EXPECT_EQ(call("/1007"), kTextHeader + "OK filename=" + std::string(253, '0') + "\r\n");

  forget();
  tool("exit 1");
  EXPECT_EQ(call("/1007"), kCgiError);
  EXPECT_TRUE(logs().empty());
}

}  // namespace
