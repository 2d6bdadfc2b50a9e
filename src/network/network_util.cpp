#include <climits>
#include <cstdlib>
#include <cstring>

#include "network.h"

namespace network {

JsonPtr parse_object(const char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || !json_object_is_type(root.get(), json_type_object)) return nullptr;
  return root;
}

bool missing(const char *text) {
  return !text || text[strspn(text, " \t\r\n")] == '\0';
}

int bare_number(const char *text) {
  long long value = strtoll(text, nullptr, 10);
  return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : (int)value;
}

}  // namespace network
