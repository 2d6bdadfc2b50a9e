#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "cgic.h"
#include "handler_fixture.h"
#include "kxdb.h"
#include "kxdb_system.h"
#include "web_utils.h"

namespace {

TEST(CurrentUser, FromTheUserNameCookie) {
  char name[64] = "unchanged";
  cgiCookie = "a=1; userName=admin; b=2";
  EXPECT_EQ(get_current_username(name), 0);
  EXPECT_STREQ(name, "admin");
  cgiCookie = "a=1; userName=op";
  get_current_username(name);
  EXPECT_STREQ(name, "op");
  cgiCookie = "userNameX=guest; c=3";  // a suffixed name still yields the value
  get_current_username(name);
  EXPECT_STREQ(name, "guest");
  cgiCookie = "a=1; userName";  // nothing after the name: empty, no overrun
  EXPECT_EQ(get_current_username(name), 0);
  EXPECT_STREQ(name, "");
  strcpy(name, "unchanged");
  cgiCookie = "a=1; b=2";
  EXPECT_EQ(get_current_username(name), -1);
  EXPECT_STREQ(name, "unchanged");
  std::string long_name = "userName=" + std::string(200, 'u');
  cgiCookie = long_name.c_str();
  get_current_username(name);
  EXPECT_EQ(strlen(name), 63u);
  EXPECT_EQ(get_current_username(nullptr), -1);
  cgiCookie = "";
}

TEST(Files, ExistenceMovesAndWholeFiles) {
  EXPECT_EQ(IsDirExisted("/tmp"), 0);
  ASSERT_EQ(kx_wirte_file_data("/tmp/f.txt", "abc", 3), 0);
  EXPECT_EQ(IsDirExisted("/tmp/f.txt"), -1);
  EXPECT_EQ(IsFileExisted("/tmp/f.txt"), 0);
  EXPECT_EQ(IsFileExisted(""), -1);
  symlink("/tmp", "/tmp/link");
  EXPECT_EQ(IsDirExisted("/tmp/link"), -1);
  int len = -1;
  char *data = kx_get_file_data("/tmp/f.txt", &len);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(len, 3);
  EXPECT_EQ(std::string(data, 3), "abc");
  free(data);
  kx_wirte_file_data("/tmp/empty", "", 0);
  EXPECT_EQ(kx_get_file_data("/tmp/empty", &len), nullptr);
  EXPECT_EQ(len, 0);
  EXPECT_EQ(kx_get_file_data("/tmp/none", &len), nullptr);
  EXPECT_EQ(kx_wirte_file_data("/no/such/dir/x", "a", 1), -1);

  // Names are taken literally: no globbing, no commands.
  kx_wirte_file_data("/tmp/g1", "1", 1);
  EXPECT_EQ(DeleteFile("/tmp/g*"), 0);
  EXPECT_EQ(IsFileExisted("/tmp/g1"), 0);
  EXPECT_EQ(RemoveFile("/tmp/f.txt", "/tmp/$(touch x).txt"), 0);
  EXPECT_EQ(IsFileExisted("/tmp/$(touch x).txt"), 0);
  EXPECT_EQ(DeleteFile("/tmp/$(touch x).txt"), 0);
  EXPECT_EQ(IsFileExisted("/tmp/$(touch x).txt"), -1);
  EXPECT_EQ(DeleteFile(nullptr), -1);
}

TEST(Files, LockSerialisesProcesses) {
  int fd = file_lock(CGI_LOCK_FILE);
  ASSERT_GE(fd, 0);
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t child = fork();
  if (child == 0) {
    // While the parent holds the lock, another process cannot take it.
    int probe = open(CGI_LOCK_FILE, O_RDWR);
    bool held = probe >= 0 && lockf(probe, F_TEST, 0) != 0;
    close(probe);
    if (write(ready[1], "x", 1) != 1) _exit(2);
    int cfd = file_lock(CGI_LOCK_FILE);  // waits for the parent
    kx_wirte_file_data("/tmp/lock_order", "child", 5);
    file_unlock(cfd);
    _exit(held ? 0 : 1);
  }
  char x;
  ASSERT_EQ(read(ready[0], &x, 1), 1);  // the child has tested the lock
  kx_wirte_file_data("/tmp/lock_order", "parent", 6);
  file_unlock(fd);
  int status;
  waitpid(child, &status, 0);
  close(ready[0]);
  close(ready[1]);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the lock did not exclude the other process";
  int len;
  char *data = kx_get_file_data("/tmp/lock_order", &len);
  EXPECT_EQ(std::string(data, len), "child");
  free(data);
  EXPECT_EQ(file_unlock(-5), -5);
  EXPECT_EQ(file_lock(nullptr), -1);
}

TEST(HardwareAddress, FallbackPairDiffersInTheLastOctet) {
  char eth0[18], eth1[18];
  EXPECT_EQ(get_mac_addr(eth0, eth1), 0);  // no such interfaces in the device root
  EXPECT_STREQ(eth0, "02:4B:58:00:00:10");
  EXPECT_STREQ(eth1, "02:4B:58:00:00:11");
}

using OperationLog = HandlerTest;

TEST_F(OperationLog, EntriesCarryUserAndAddressAndGoOutWithoutWaiting) {
  log_info entry;
  memset(&entry, 0xff, sizeof entry);
  ASSERT_EQ(cgi_init_log_info(&entry), 0);
  EXPECT_EQ(entry.main_type, 4);
  EXPECT_EQ(entry.remote, 1);
  EXPECT_EQ(entry.sub_type, 0);
  EXPECT_STREQ(entry.user_name, "admin");
  EXPECT_STREQ(entry.client_addr, "192.168.1.10");
  entry.sub_type = 204;
  entry.param_type = 921;
  unsigned char detail[208];
  memset(detail, 0xab, sizeof detail);
  ASSERT_EQ(kxfs_log_pack_detail(&entry, 101, detail, sizeof detail), 0);
  EXPECT_EQ(entry.detail_size, 8 + 208);
  cgi_send_log_info(&entry);
  cgi_send_log_info_channels(&entry, (1ULL << 33) | 1);
  ASSERT_TRUE(daemon().wait_for(3509));
  auto log = daemon().requests(3485);
  ASSERT_EQ(log.size(), 1u);
  ASSERT_EQ(log[0].payload.size(), 672u);
  auto sent = record_from<log_info>(log[0].payload);
  EXPECT_EQ(sent.sub_type, 204);
  EXPECT_EQ(sent.param_type, 921);
  EXPECT_EQ(memcmp(sent.detail + 8, detail, sizeof detail), 0);
  auto several = daemon().requests(3509);
  ASSERT_EQ(several[0].payload.size(), 680u);
  auto msg = record_from<log_info_channels>(several[0].payload);
  EXPECT_EQ(msg.chmask_low, 1u);
  EXPECT_EQ(msg.chmask_high, 2u);
  EXPECT_EQ(take_output(), "");

  // An over-long detail is cut to the block.
  std::string big(600, 'd');
  kxfs_log_pack_detail(&entry, 110, big.data(), (int)big.size());
  EXPECT_EQ(entry.detail_size, 512);
  EXPECT_EQ(kxfs_log_pack_detail(nullptr, 1, nullptr, 0), -1);
}

TEST_F(OperationLog, AudioFileMask) {
  alarm_audio_file f = {0, 1, "a"};
  write_alarm_audio_file(KXDB_FILE, &f);
  f = {3, 1, "b"};
  write_alarm_audio_file(KXDB_FILE, &f);
  f = {5, 2, "c"};  // not 1: not enabled
  write_alarm_audio_file(KXDB_FILE, &f);
  EXPECT_EQ(get_audio_file_id_mask(), 9);
}

TEST(ShellQuote, QuotesEveryCharacter) {
  EXPECT_EQ(shell_quote("a'b $(x)"), "'a'\\''b $(x)'");
  EXPECT_EQ(shell_quote(nullptr), "''");
}

}  // namespace
