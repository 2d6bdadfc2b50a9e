#include "kxdb_ipc_model.h"

#include "kxdb.h"

namespace {
bool id_valid(int id) {
  return id >= 0 && id <= IPC_MODEL_ID_MAX;
}
}  // namespace

int read_ipc_model(const char *file, ipc_model *record, int id) {
  if (!id_valid(id)) return -1;
  return kxdb_read_record(file, IPC_MODEL_TABLE, id, record, &ipc_model::id);
}

int write_ipc_model(const char *file, const ipc_model *record) {
  if (!id_valid(record->id)) return -1;
  return kxdb_write_record(file, IPC_MODEL_TABLE, record, &ipc_model::id);
}
