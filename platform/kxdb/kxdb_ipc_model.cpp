#include "kxdb_ipc_model.h"

#include "kxdb.h"

namespace {
bool id_valid(int id) {
  return id >= 0 && id <= IPC_MODEL_ID_MAX;
}

// Every stored record of a table whose ids run from 0 to `max_id`.
template <class Record>
int read_all(const char *file, const char *table, int max_id, std::vector<Record> *out) {
  out->assign(max_id + 1, Record{});
  int count = 0;
  if (kxdb_get_all(file, table, out->data(), sizeof(Record), max_id + 1, &count) != 0) {
    out->clear();
    return -1;
  }
  out->resize(count);
  return 0;
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

int read_ipc_models_by_protocol(const char *file, int protocol, std::vector<ipc_model> *models) {
  int rc = read_all(file, IPC_MODEL_TABLE, IPC_MODEL_ID_MAX, models);
  std::erase_if(*models, [protocol](const ipc_model &m) { return m.protocol != protocol; });
  return rc;
}

int read_ipc_protocols(const char *file, std::vector<ipc_protocol> *protocols) {
  return read_all(file, IPC_PROTOCOL_TABLE, IPC_PROTOCOL_ID_MAX, protocols);
}

int write_ipc_protocol(const char *file, const ipc_protocol *record) {
  if (record->id < 0 || record->id > IPC_PROTOCOL_ID_MAX) return -1;
  return kxdb_write_record(file, IPC_PROTOCOL_TABLE, record, &ipc_protocol::id);
}
