// Reading replies in tests: the common reply texts and JSON member access.
#pragma once

#include <gtest/gtest.h>

#include <json-c/json.h>
#include <string>
#include <vector>

#include "handler_fixture.h"
#include "json_codecs.h"

inline const std::string kTextHeader = "Content-type: text/plain\r\n\r\n";
inline const std::string kJsonHeader = "Content-type: application/json\r\n\r\n";
inline const std::string kCgiError = kTextHeader + "CGI ERROR";
inline const std::string kJsonError = kJsonHeader + "{status:\"CGI ERROR\"}";

// The reply body parsed (null when it is not JSON).
inline JsonPtr parse_body(const std::string &reply) {
  return JsonPtr(json_tokener_parse(reply_body(reply).c_str()));
}

// The object's member names in order.
inline std::vector<std::string> member_names(json_object *object) {
  std::vector<std::string> names;
  json_object_object_foreach(object, key, value) {
    (void)value;
    names.push_back(key);
  }
  return names;
}

// A member's value; a missing member fails the test.
inline int int_member(json_object *object, const char *key) {
  json_object *v = json_member(object, key);
  EXPECT_TRUE(v) << "no member " << key;
  return v ? json_object_get_int(v) : -12345;
}

inline std::string text_member(json_object *object, const char *key) {
  json_object *v = json_member(object, key);
  EXPECT_TRUE(v) << "no member " << key;
  const char *text = v ? json_object_get_string(v) : nullptr;
  return text ? text : "<missing>";
}
