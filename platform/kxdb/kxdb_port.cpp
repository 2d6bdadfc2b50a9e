#include "kxdb_port.h"

#include "kxdb.h"

namespace {
constexpr const char *kPort = "port";
constexpr int kPortIdx = 0;  // the record has no key field: one record
}  // namespace

int read_port(const char *file, port_params *record) {
  port_params r{};
  if (kxdb_read_or_default(file, kPort, kPortIdx, &r, sizeof r) != 0) return -1;
  *record = r;
  return 0;
}

int write_port(const char *file, const port_params *record) {
  return kxdb_put(file, kPort, kPortIdx, record, sizeof *record);
}
