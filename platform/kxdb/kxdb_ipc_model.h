// Camera protocols (table "ipc_protocol") and camera models (table
// "ipc_model") the recorder knows, each model under the protocol that
// reaches it. A camera record's camProtocol names its model.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Model ids are small numbers chosen by the recorder's factory data.
constexpr int IPC_MODEL_ID_MAX = 255;

struct ipc_model {
  int32_t id;
  int32_t protocol;  // id of the protocol record the model belongs to
  char name[64];
  int32_t alarm_type;
  int32_t default_model;  // 1: the protocol's model preselected on the page
  char reserved[48];
};
static_assert(sizeof(ipc_model) == 128);
static_assert(offsetof(ipc_model, id) == 0);
static_assert(offsetof(ipc_model, protocol) == 4);
static_assert(offsetof(ipc_model, name) == 8);
static_assert(offsetof(ipc_model, alarm_type) == 72);
static_assert(offsetof(ipc_model, default_model) == 76);
static_assert(offsetof(ipc_model, reserved) == 80);

constexpr const char *IPC_MODEL_TABLE = "ipc_model";

// The model of `id` (0 to IPC_MODEL_ID_MAX); an id never written reads as a
// zeroed record (empty name) with its id set. 0, or -1 (record untouched)
// for a bad id or a database error.
int read_ipc_model(const char *file, ipc_model *record, int id);
// Stores the record under its id. 0 or -1.
int write_ipc_model(const char *file, const ipc_model *record);
// Every model of `protocol` in id order into `models` (replaced). 0, or -1
// (models emptied) on a database error.
int read_ipc_models_by_protocol(const char *file, int protocol, std::vector<ipc_model> *models);

// ---- Protocols (table "ipc_protocol") ----
constexpr int IPC_PROTOCOL_ID_MAX = 255;

struct ipc_protocol {
  int32_t id;
  char name[64];
  int32_t protocolFunction;  // what the protocol offers, as the page reads it
  int32_t enable;
  int32_t display_model;  // 1: the page lists the protocol's models
  char reserved[48];
};
static_assert(sizeof(ipc_protocol) == 128);
static_assert(offsetof(ipc_protocol, id) == 0);
static_assert(offsetof(ipc_protocol, name) == 4);
static_assert(offsetof(ipc_protocol, protocolFunction) == 68);
static_assert(offsetof(ipc_protocol, enable) == 72);
static_assert(offsetof(ipc_protocol, display_model) == 76);
static_assert(offsetof(ipc_protocol, reserved) == 80);

constexpr const char *IPC_PROTOCOL_TABLE = "ipc_protocol";

// The stored protocols in id order into `protocols` (replaced); none is
// made up for ids never written. 0, or -1 (emptied) on a database error.
int read_ipc_protocols(const char *file, std::vector<ipc_protocol> *protocols);
// Stores the record under its id (0 to IPC_PROTOCOL_ID_MAX). 0 or -1.
int write_ipc_protocol(const char *file, const ipc_protocol *record);
