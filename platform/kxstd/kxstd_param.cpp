#include <climits>
#include <cstdlib>
#include <string>

#include "kxdb.h"
#include "kxstd.h"

int get_param_int(const char *file, const char *key, int default_value) {
  std::string v;
  if (kxdb_param_get(file, key, &v) != 0) return default_value;
  char *end = nullptr;
  long n = strtol(v.c_str(), &end, 0);
  if (end == v.c_str()) return default_value;
  return n > INT_MAX ? INT_MAX : n < INT_MIN ? INT_MIN : (int)n;
}

int get_param_value(const char *file, const char *key, char *buffer, int size,
                    const char *default_value) {
  if (!buffer || size <= 0) return -1;
  std::string v;
  int rc = kxdb_param_get(file, key, &v);
  snprintf(buffer, (size_t)size, "%s", rc == 0 ? v.c_str() : default_value ? default_value : "");
  return rc < 0 ? -1 : 0;
}

int set_param_int(const char *file, const char *key, int value) {
  return kxdb_param_set(file, key, std::to_string(value).c_str());
}

int set_param_value(const char *file, const char *key, const char *value) {
  return kxdb_param_set(file, key, value);
}

int check_param_key(const char *file, const char *key) {
  return kxdb_param_get(file, key, nullptr) == 0 ? 0 : -1;
}

int add_param_value(const char *file, const char *key, const char *value) {
  return kxdb_param_set(file, key, value);
}
