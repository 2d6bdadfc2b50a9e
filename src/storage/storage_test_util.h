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
  // Waits until the daemon has seen everything sent before (notices and
  // log entries are sent without waiting; the daemon keeps their order).
  void settle() {
    ::settle(daemon());
  }
  // Forgets the requests seen so far, including notices still on their way.
  void forget() {
    settle();
    daemon().clear();
  }
  std::vector<SimRequest> sent(int code) {
    settle();
    return daemon().requests(code);
  }
  std::vector<log_info> logs() {
    std::vector<log_info> out;
    for (auto &r : sent(3485)) out.push_back(record_from<log_info>(r.payload));
    return out;
  }
  // Requests other than the sentinel, in order.
  std::vector<int> codes() {
    settle();
    std::vector<int> out;
    for (int c : daemon().codes()) {
      if (c != kSettleMarker) out.push_back(c);
    }
    return out;
  }

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

inline Bytes int_answer(int32_t value) {
  return bytes_of_int(value);
}

template <class T>
Bytes records_answer(const std::vector<T> &records) {
  Bytes out;
  for (const T &r : records) {
    Bytes b = bytes_of(r);
    out.insert(out.end(), b.begin(), b.end());
  }
  return out;
}

inline int32_t int_at(const Bytes &payload, size_t offset) {
  int32_t v = 0;
  if (offset + 4 <= payload.size()) memcpy(&v, payload.data() + offset, 4);
  return v;
}
