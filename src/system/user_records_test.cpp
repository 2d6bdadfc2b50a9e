// The settings accessors of the user records.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "handler_fixture.h"
#include "kxdb.h"
#include "kxdb_user.h"

namespace {

class UserRecords : public ::testing::Test {
 protected:
  void SetUp() override { reset_settings(); }
  void TearDown() override { reset_settings(); }

  static user_info user(int id, const char *name, int enable = 1) {
    user_info u = {};
    u.id = id;
    u.enable = enable;
    snprintf(u.name, sizeof u.name, "%s", name);
    return u;
  }
  static void store(const user_info &u) { ASSERT_EQ(write_user(KXDB_FILE, &u), 0); }
};

TEST_F(UserRecords, LookupByNameMatchesOnlyEnabledNamedUsers) {
  store(user(0, "admin"));
  store(user(1, "gone", 0));
  store(user(2, ""));
  user_info u = user(-1, "untouched");

  EXPECT_EQ(read_user_by_name(KXDB_FILE, &u, "gone"), 1);
  EXPECT_EQ(read_user_by_name(KXDB_FILE, &u, ""), 1);
  EXPECT_EQ(read_user_by_name(KXDB_FILE, &u, "adm"), 1);
  EXPECT_EQ(read_user_by_name(KXDB_FILE, &u, "admin2"), 1);
  EXPECT_EQ(u.id, -1);
  EXPECT_STREQ(u.name, "untouched");

  EXPECT_EQ(read_user_by_name(KXDB_FILE, &u, "admin"), 0);
  EXPECT_EQ(u.id, 0);
  EXPECT_STREQ(u.name, "admin");

  // A stored name that fills its field without a terminator is compared
  // within the field.
  user_info full = user(3, "");
  memset(full.name, 'f', sizeof full.name);
  store(full);
  EXPECT_EQ(read_user_by_name(KXDB_FILE, &u, std::string(64, 'f').c_str()), 0);
  EXPECT_EQ(u.id, 3);
}

TEST_F(UserRecords, SlotsReadAsDefaultsAndBadIdsFail) {
  user_info u = user(-1, "keep");
  EXPECT_EQ(read_user(KXDB_FILE, &u, 100), -1);
  EXPECT_EQ(read_user(KXDB_FILE, &u, -1), -1);
  EXPECT_STREQ(u.name, "keep");
  EXPECT_EQ(read_user(KXDB_FILE, &u, 42), 0);  // never written: zeroed, id set
  EXPECT_EQ(u.id, 42);
  EXPECT_EQ(u.name[0], '\0');
  EXPECT_EQ(write_user(KXDB_FILE, &u), 0);
  u.id = 100;
  EXPECT_EQ(write_user(KXDB_FILE, &u), -1);
  u.id = -1;
  EXPECT_EQ(write_user(KXDB_FILE, &u), -1);
}

TEST_F(UserRecords, AddFillsInTheIdAndReportsAFullTable) {
  store(user(0, "a"));
  store(user(1, "b", 0));
  user_info u = user(77, "new");
  ASSERT_EQ(add_user(KXDB_FILE, &u), 0);
  EXPECT_EQ(u.id, 1);
  user_info back = {};
  ASSERT_EQ(read_user(KXDB_FILE, &back, 1), 0);
  EXPECT_EQ(back.id, 1);  // stored under the chosen id, not the one passed in
  EXPECT_STREQ(back.name, "new");

  for (int id = 2; id < USER_MAX; id++) store(user(id, "x"));
  user_info extra = user(-1, "extra");
  EXPECT_EQ(add_user(KXDB_FILE, &extra), 1);
  EXPECT_EQ(extra.id, -1);
}

TEST_F(UserRecords, ConcurrentAddsNeverShareASlot) {
  constexpr int kWriters = 24;
  int start[2];
  ASSERT_EQ(pipe(start), 0);
  std::vector<pid_t> pids;
  for (int i = 0; i < kWriters; i++) {
    pid_t pid = fork();
    if (pid == 0) {
      kxdb_close_all();  // each request process has its own connection
      close(start[1]);
      char go;
      ssize_t ignored = read(start[0], &go, 1);  // all start together
      (void)ignored;
      user_info u = user(-1, ("writer" + std::to_string(i)).c_str());
      _exit(add_user(KXDB_FILE, &u) == 0 ? 0 : 1);
    }
    pids.push_back(pid);
  }
  close(start[0]);
  close(start[1]);  // releases every writer at once
  for (pid_t pid : pids) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  int count = 0;
  ASSERT_EQ(read_user_count(KXDB_FILE, &count), 0);
  EXPECT_EQ(count, kWriters);
  std::vector<user_info> all(USER_MAX);
  ASSERT_EQ(read_users(KXDB_FILE, all.data(), &count), 0);
  std::set<std::string> names;
  for (int i = 0; i < count; i++) {
    EXPECT_EQ(all[i].id, i);
    names.insert(all[i].name);
  }
  EXPECT_EQ(names.size(), (size_t)kWriters);
}

}  // namespace
