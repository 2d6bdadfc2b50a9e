// Shared by the storage tests: reply parsing, daemon answers, log entries.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "handler_fixture.h"
#include "json_checks.h"
#include "json_codecs.h"
#include "kxdb.h"
#include "kxdb_storage.h"
#include "kxstd.h"
#include "storage_records.h"
#include "web_utils.h"

inline const std::string kTextOk = kTextHeader + "OK";
inline const std::string kTextError = kTextHeader + "Error";

class StorageTest : public HandlerTest {
 protected:

  template <class T>
  static T detail_of(const log_info &entry, int *kind = nullptr) {
    int32_t k, length;
    memcpy(&k, entry.detail, 4);
    memcpy(&length, entry.detail + 4, 4);
    EXPECT_EQ(length, (int32_t)sizeof(T));
    if (kind) *kind = k;
    T data;
    memcpy(&data, entry.detail + LOG_DETAIL_HEAD, sizeof data);
    return data;
  }

  static disk_params stored_disk(int port) {
    disk_params d = {};
    EXPECT_EQ(read_disk(KXDB_FILE, &d, port), 0);
    return d;
  }
  static disk_params nas_entry(int port, int type, const char *address, const char *directory) {
    disk_params d = {};
    d.port = port;
    d.enable = 1;
    d.property = 1;
    d.hddType = type;
    snprintf(d.address, sizeof d.address, "%s", address);
    snprintf(d.directory, sizeof d.directory, "%s", directory);
    return d;
  }


 private:
};

