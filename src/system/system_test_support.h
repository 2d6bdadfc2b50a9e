// Helpers shared by the system module's tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "handler_fixture.h"
#include "json_checks.h"
#include "system.h"

// An enabled account with every right; `md5` is the stored digest.
inline user_info make_user(int id, const std::string &name, const std::string &md5, int type) {
  user_info u = {};
  u.id = id;
  u.enable = 1;
  snprintf(u.name, sizeof u.name, "%s", name.c_str());
  snprintf(u.password, sizeof u.password, "%s", md5.c_str());
  u.type = type;
  return u;
}

inline void store_user(const user_info &u) {
  ASSERT_EQ(write_user(KXDB_FILE, &u), 0);
}

inline user_info stored_user(int id) {
  user_info u = {};
  EXPECT_EQ(read_user(KXDB_FILE, &u, id), 0);
  return u;
}

