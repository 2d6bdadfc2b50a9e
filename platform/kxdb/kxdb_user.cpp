#include "kxdb_user.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "kxdb.h"

namespace {

constexpr const char *kUser = "user";
constexpr const char *kUserOem = "user_oem";

bool valid_id(int id) {
  return id >= 0 && id < USER_MAX;
}

// Every stored user record in id order; ids outside 0 to 99 are skipped.
int load_users(const char *file, std::vector<user_info> &users) {
  std::vector<user_info> all(USER_MAX);
  std::vector<int> ids(USER_MAX);
  int count = 0;
  if (kxdb_get_all(file, kUser, all.data(), sizeof(user_info), USER_MAX, &count, ids.data()) != 0) {
    return -1;
  }
  users.clear();
  for (int i = 0; i < count; i++) {
    if (!valid_id(ids[i])) continue;
    all[i].id = ids[i];
    users.push_back(all[i]);
  }
  return 0;
}

bool name_is(const user_info &user, const char *name) {
  size_t n = strlen(name);
  return n > 0 && strnlen(user.name, sizeof user.name) == n && memcmp(user.name, name, n) == 0;
}

// Lowest id that was never written or holds a deleted user; -1 when none.
int lowest_free_id(const std::vector<user_info> &users) {
  bool used[USER_MAX] = {};
  for (const user_info &u : users) used[u.id] = u.enable != 0;
  for (int id = 0; id < USER_MAX; id++) {
    if (!used[id]) return id;
  }
  return -1;
}

}  // namespace

int read_user_by_name(const char *file, user_info *user, const char *name) {
  std::vector<user_info> users;
  if (load_users(file, users) != 0) return -1;
  for (const user_info &u : users) {
    if (u.enable == 0 || !name_is(u, name)) continue;
    *user = u;
    return 0;
  }
  return 1;
}

int read_user(const char *file, user_info *user, int id) {
  if (!valid_id(id)) return -1;
  return kxdb_read_record(file, kUser, id, user, &user_info::id);
}

int read_users(const char *file, user_info *users, int *count) {
  std::vector<user_info> all;
  if (load_users(file, all) != 0) return -1;
  std::copy(all.begin(), all.end(), users);
  if (count) *count = (int)all.size();
  return 0;
}

int read_user_count(const char *file, int *count) {
  std::vector<user_info> users;
  if (load_users(file, users) != 0) return -1;
  int enabled = 0;
  for (const user_info &u : users) enabled += u.enable != 0;
  *count = enabled;
  return 0;
}

int write_user(const char *file, const user_info *user) {
  if (!valid_id(user->id)) return -1;
  return kxdb_write_record(file, kUser, user, &user_info::id);
}

int add_user(const char *file, user_info *user) {
  int id = -1;
  bool full = false;
  int rc = kxdb_transaction(file, [&] {
    std::vector<user_info> users;
    if (load_users(file, users) != 0) return false;
    id = lowest_free_id(users);
    full = id < 0;
    if (full) return false;
    user_info stored = *user;
    stored.id = id;
    return kxdb_put(file, kUser, id, &stored, sizeof stored) == 0;
  });
  if (full) return 1;
  if (rc != 0) return -1;
  user->id = id;
  return 0;
}

int read_users_oem(const char *file, user_oem_info *users, int *count) {
  std::vector<user_oem_info> all(USER_MAX);
  std::vector<int> ids(USER_MAX);
  int n = 0;
  if (kxdb_get_all(file, kUserOem, all.data(), sizeof(user_oem_info), USER_MAX, &n, ids.data()) != 0) {
    return -1;
  }
  for (int i = 0; i < n; i++) all[i].id = ids[i];
  std::copy(all.begin(), all.begin() + n, users);
  if (count) *count = n;
  return 0;
}

int write_user_oem(const char *file, const user_oem_info *user) {
  if (!valid_id(user->id)) return -1;
  return kxdb_put(file, kUserOem, user->id, user, sizeof *user);
}
