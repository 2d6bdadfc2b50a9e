#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "kxdb.h"
#include "kxdb_event.h"
#include "kxdb_system.h"

namespace {

struct Rec {
  int32_t channel;
  char text[20];
};

class Settings : public ::testing::Test {
 protected:
  void SetUp() override { clean(); }
  void TearDown() override { clean(); }
  static void clean() {
    kxdb_close_all();
    unlink(KXDB_FILE);
    unlink((std::string(KXDB_FILE) + "-journal").c_str());
  }
};

// Runs `body` in `n` child processes at once; true when all exited 0.
template <class Body>
bool in_processes(int n, Body body) {
  std::vector<pid_t> pids;
  for (int i = 0; i < n; i++) {
    pid_t pid = fork();
    if (pid == 0) {
      kxdb_close_all();  // a process of its own opens its own connection
      _exit(body(i) == 0 ? 0 : 1);
    }
    pids.push_back(pid);
  }
  bool ok = true;
  for (pid_t pid : pids) {
    int status = 0;
    waitpid(pid, &status, 0);
    ok = ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  return ok;
}

TEST_F(Settings, NeverWrittenKeysReadAsDefaultsWithoutCreatingTheFile) {
  Rec r = {7, "keep"};
  EXPECT_EQ(kxdb_get(KXDB_FILE, "rec", 7, &r, sizeof r), 1);
  EXPECT_STREQ(r.text, "keep");
  EXPECT_EQ(kxdb_read_or_default(KXDB_FILE, "rec", 7, &r, sizeof r), 0);
  EXPECT_NE(access(KXDB_FILE, F_OK), 0);
  std::string v = "x";
  EXPECT_EQ(kxdb_param_get(KXDB_FILE, "k", &v), 1);
}

TEST_F(Settings, ValuesWrittenByOneProcessReadBackInAnother) {
  ASSERT_TRUE(in_processes(1, [](int) {
    Rec r = {3, "three"};
    return kxdb_put(KXDB_FILE, "rec", 3, &r, sizeof r) | kxdb_param_set(KXDB_FILE, "k", "v");
  }));
  Rec r = {};
  EXPECT_EQ(kxdb_get(KXDB_FILE, "rec", 3, &r, sizeof r), 0);
  EXPECT_STREQ(r.text, "three");
  std::string v;
  EXPECT_EQ(kxdb_param_get(KXDB_FILE, "k", &v), 0);
  EXPECT_EQ(v, "v");
}

TEST_F(Settings, FiftyConcurrentWritersLoseNothing) {
  ASSERT_TRUE(in_processes(50, [](int i) {
    Rec r = {i, {}};
    snprintf(r.text, sizeof r.text, "writer %d", i);
    std::string key = "key" + std::to_string(i);
    return kxdb_put(KXDB_FILE, "rec", i, &r, sizeof r) |
           kxdb_param_set(KXDB_FILE, key.c_str(), r.text) |
           kxdb_copy(KXDB_FILE, "copy", &r, sizeof r, 0, 1ULL << i);
  }));
  Rec all[64];
  int count = 0, keys[64];
  ASSERT_EQ(kxdb_get_all(KXDB_FILE, "rec", all, sizeof all[0], 64, &count, keys), 0);
  ASSERT_EQ(count, 50);
  for (int i = 0; i < 50; i++) {
    EXPECT_EQ(keys[i], i);  // key order
    EXPECT_EQ(all[i].channel, i);
    std::string v;
    EXPECT_EQ(kxdb_param_get(KXDB_FILE, ("key" + std::to_string(i)).c_str(), &v), 0);
    EXPECT_EQ(v, "writer " + std::to_string(i));
  }
  ASSERT_EQ(kxdb_get_all(KXDB_FILE, "copy", all, sizeof all[0], 64, &count), 0);
  EXPECT_EQ(count, 50);
}

TEST_F(Settings, CopyTouchesExactlyTheMaskedChannels) {
  Rec untouched = {5, "old"};
  kxdb_put(KXDB_FILE, "rec", 5, &untouched, sizeof untouched);
  Rec src = {0, "src"};
  uint64_t mask = (1ULL << 0) | (1ULL << 31) | (1ULL << 32) | (1ULL << 63);
  ASSERT_EQ(kxdb_copy(KXDB_FILE, "rec", &src, sizeof src, 0, mask), 0);
  Rec all[64];
  int count = 0, keys[64];
  kxdb_get_all(KXDB_FILE, "rec", all, sizeof all[0], 64, &count, keys);
  ASSERT_EQ(count, 5);
  int want[] = {0, 5, 31, 32, 63};
  for (int i = 0; i < 5; i++) {
    EXPECT_EQ(keys[i], want[i]);
    EXPECT_EQ(all[i].channel, want[i]);  // each copy carries its own key
    EXPECT_STREQ(all[i].text, want[i] == 5 ? "old" : "src");
  }
}

TEST_F(Settings, ShorterStoredRecordsFillOnlyTheirBytes) {
  int32_t small = 9;
  kxdb_put(KXDB_FILE, "rec", 1, &small, sizeof small);
  Rec r = {0, "tail"};
  EXPECT_EQ(kxdb_get(KXDB_FILE, "rec", 1, &r, sizeof r), 0);
  EXPECT_EQ(r.channel, 9);
  EXPECT_STREQ(r.text, "tail");
}

TEST_F(Settings, WhiteLightRefusesChannelsAbove15) {
  whiteled_params block[WHITELED_BLOCK_RECORDS] = {};
  block[15 * 16 + 1] = {15, 2, 1, 10};
  EXPECT_EQ(write_whiteled_params_all(KXDB_FILE, block, "t", 15), 0);
  EXPECT_EQ(write_whiteled_params_all(KXDB_FILE, block, "t", 16), -1);
  EXPECT_EQ(write_whiteled_params_all(KXDB_FILE, block, "t", 63), -1);
  whiteled_params mine[WHITELED_PER_CHANNEL];
  int count = -1;
  EXPECT_EQ(read_whiteled_params(KXDB_FILE, mine, 16, "t", &count), -1);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(read_whiteled_params(KXDB_FILE, mine, 15, "t", &count), 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(mine[1].chnid, 2);
}

TEST_F(Settings, PtzListsAndAudioFiles) {
  ptz_action_params list[PTZ_ACTION_MAX] = {};
  list[0] = {3, 4, 0, 1, 2, 0, 0};
  ASSERT_EQ(copy_ptz_params_all(KXDB_FILE, list, 1, 0b1010), 0);
  int count = 0;
  ptz_action_params got[PTZ_ACTION_MAX];
  read_ptz_params(KXDB_FILE, got, 1, 3, &count);
  EXPECT_EQ(count, PTZ_ACTION_MAX);
  EXPECT_EQ(got[0].chn_id, 3);
  EXPECT_EQ(got[0].acto_ptz_channel, 4);
  read_ptz_params(KXDB_FILE, got, 1, 2, &count);
  EXPECT_EQ(got[0].acto_ptz_channel, 0);
  read_ptz_params(KXDB_FILE, got, 2, 3, &count);  // another event type
  EXPECT_EQ(got[0].acto_ptz_channel, 0);

  alarm_audio_file f = {3, 1, "bmFtZQ"};
  EXPECT_EQ(write_alarm_audio_file(KXDB_FILE, &f), 0);
  f.id = 10;
  EXPECT_EQ(write_alarm_audio_file(KXDB_FILE, &f), -1);
  alarm_audio_file files[ALARM_AUDIO_FILES];
  read_alarm_audio_file(KXDB_FILE, files, &count);
  EXPECT_EQ(count, ALARM_AUDIO_FILES);
  EXPECT_EQ(files[3].enable, 1);
  EXPECT_EQ(files[4].id, 4);
  EXPECT_EQ(files[4].enable, 0);
}


// Makes every write of the key `idx` fail from now on, as a full or failing
// disk would part-way through a copy.
void fail_writes_of(int idx) {
  sqlite3 *db = nullptr;
  ASSERT_EQ(sqlite3_open(KXDB_FILE, &db), SQLITE_OK);
  std::string sql = "CREATE TRIGGER fail BEFORE INSERT ON records WHEN NEW.idx = " +
                    std::to_string(idx) + " BEGIN SELECT RAISE(ABORT, 'disk full'); END;";
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
}

TEST_F(Settings, ACopyThatFailsPartWayChangesNothing) {
  ptz_action_params before[PTZ_ACTION_MAX] = {};
  before[0] = {1, 3, 0, 1, 7, 0, 0};
  ASSERT_EQ(write_ptz_params_all(KXDB_FILE, before, 1, 1), 0);
  kxdb_close_all();
  fail_writes_of(5);

  ptz_action_params source[PTZ_ACTION_MAX] = {};
  source[0] = {0, 9, 0, 2, 0, 4, 0};
  uint64_t mask = (1ULL << 1) | (1ULL << 5) | (1ULL << 9);
  EXPECT_EQ(copy_ptz_params_all(KXDB_FILE, source, 1, mask), -1);
  ptz_action_params read[PTZ_ACTION_MAX];
  int count = 0;
  ASSERT_EQ(read_ptz_params(KXDB_FILE, read, 1, 1, &count), 0);
  EXPECT_EQ(read[0].acto_ptz_channel, 3);  // channel 1 kept its list
  ASSERT_EQ(read_ptz_params(KXDB_FILE, read, 1, 9, &count), 0);
  EXPECT_EQ(read[0].acto_ptz_channel, 0);  // channel 9 never got one

  Rec r = {0, "x"};
  EXPECT_EQ(kxdb_copy(KXDB_FILE, "rec", &r, sizeof r, 0, mask), -1);
  EXPECT_EQ(kxdb_get(KXDB_FILE, "rec", 1, &r, sizeof r), 1);  // nothing was kept
}

TEST_F(Settings, AScanThatFailsPartWayIsAFailure) {
  // Enough records for many pages, then a page in the middle made garbage.
  std::vector<char> big(1000, 'b');
  for (int i = 0; i < 300; i++) ASSERT_EQ(kxdb_put(KXDB_FILE, "big", i, big.data(), big.size()), 0);
  kxdb_close_all();
  FILE *f = fopen(KXDB_FILE, "r+b");
  ASSERT_TRUE(f);
  fseek(f, 0, SEEK_END);
  long size = ftell(f);
  std::vector<char> garbage(4096, '\xA5');
  fseek(f, size / 2 / 4096 * 4096, SEEK_SET);
  fwrite(garbage.data(), 1, garbage.size(), f);
  fclose(f);

  std::vector<char> out(300 * 1000);
  int count = -1;
  EXPECT_EQ(kxdb_get_all(KXDB_FILE, "big", out.data(), 1000, 300, &count), -1);
}

TEST_F(Settings, TypedReadersYieldDefaultsInKeyOrder) {
  Rec stored = {3, "three"};
  ASSERT_EQ(kxdb_write_record(KXDB_FILE, "rec", &stored, &Rec::channel), 0);
  Rec all[5];
  int count = 0;
  ASSERT_EQ(kxdb_read_records(KXDB_FILE, "rec", all, 2, 5, &Rec::channel, &count), 0);
  EXPECT_EQ(count, 5);
  for (int i = 0; i < 5; i++) EXPECT_EQ(all[i].channel, 2 + i);
  EXPECT_STREQ(all[1].text, "three");
  EXPECT_STREQ(all[0].text, "");

  Rec one = {-1, "untouched"};
  ASSERT_EQ(kxdb_read_record(KXDB_FILE, "rec", 7, &one, &Rec::channel), 0);
  EXPECT_EQ(one.channel, 7);  // never written: zeroed, key set
  EXPECT_STREQ(one.text, "");
  kxdb_close_all();
  unlink(KXDB_FILE);
  mkdir(KXDB_FILE, 0755);  // every write now fails
  EXPECT_EQ(kxdb_write_record(KXDB_FILE, "rec", &stored, &Rec::channel), -1);
  kxdb_close_all();
  rmdir(KXDB_FILE);
}

}  // namespace
