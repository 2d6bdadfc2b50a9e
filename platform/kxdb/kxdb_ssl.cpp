#include "kxdb_ssl.h"

#include "kxdb.h"

namespace {
constexpr const char *kSsl = "ssl";
}  // namespace

int read_ssl_params(const char *file, ssl_params *record, int kind) {
  return kxdb_read_record(file, kSsl, kind, record, &ssl_params::InstallType);
}

int write_ssl_params(const char *file, const ssl_params *record) {
  return kxdb_write_record(file, kSsl, record, &ssl_params::InstallType);
}
