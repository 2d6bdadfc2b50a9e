#include "settings.h"

#include <cstdlib>

#include "kxdb.h"
#include "request_reset.h"

int param_int(const ParamKey &param) {
  return get_param_int(KXDB_FILE, param.key, (int)strtol(param.default_value, nullptr, 0));
}

void param_text(const ParamKey &param, char *buffer, int size) {
  get_param_value(KXDB_FILE, param.key, buffer, size, param.default_value);
}

namespace {
// Connections stay open between requests; a transaction a request left open
// is rolled back and a replaced database file is opened anew.
void refresh_settings_connections() {
  kxdb_refresh();
}
}  // namespace

CGI_RESET_HOOK(refresh_settings_connections)
