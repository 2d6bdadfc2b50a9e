#include "settings.h"

#include <cstdlib>

int param_int(const ParamKey &param) {
  return get_param_int(KXDB_FILE, param.key, (int)strtol(param.default_value, nullptr, 0));
}

void param_text(const ParamKey &param, char *buffer, int size) {
  get_param_value(KXDB_FILE, param.key, buffer, size, param.default_value);
}
