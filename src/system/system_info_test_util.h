// Helpers shared by the tests of system information, general settings and logs.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "handler_fixture.h"
#include "json_checks.h"
#include "kxdb_network.h"
#include "system_info.h"

inline const std::string kOk = kTextHeader + "OK";

inline network_params stored_network() {
  network_params n = {};
  EXPECT_EQ(read_network(KXDB_FILE, &n), 0);
  return n;
}

inline std::string stored_param(const char *key) {
  std::string value;
  return kxdb_param_get(KXDB_FILE, key, &value) == 0 ? value : "<missing>";
}

// A JSON object text with `key` replaced by `value` ("" drops the key).
inline std::string with_member(const std::string &body, const char *key, const char *value) {
  JsonPtr json(json_tokener_parse(body.c_str()));
  json_object_object_del(json.get(), key);
  if (*value) json_object_object_add(json.get(), key, json_tokener_parse(value));
  return json_object_to_json_string(json.get());
}
