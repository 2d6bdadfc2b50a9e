// Endpoint registry: every module registers one static table of endpoint
// records before main runs; the request path selects the handler. The same
// rows are the program's catalogue of endpoints (`webcgi --endpoints`).
#pragma once

#include <cstddef>
#include <cstdio>

typedef int (*WebReqHandler)(char *text);

struct WebRes {
  char path[8];  // at most 7 characters, e.g. "/6100"
  WebReqHandler handler;
  // Catalogue: the handler's name and one line for page authors.
  const char *handler_name;
  const char *summary;
};
static_assert(offsetof(WebRes, path) == 0);
static_assert(offsetof(WebRes, handler) == 8);
static_assert(offsetof(WebRes, handler_name) == 8 + sizeof(void *));
static_assert(offsetof(WebRes, summary) == 8 + 2 * sizeof(void *));
static_assert(sizeof(WebRes) == 8 + 3 * sizeof(void *));  // 20 bytes on the board

// One row of a module's table: path, handler, summary. The handler's name
// is taken from the code, so the catalogue cannot drift from it.
#define WEBRES_ROW(path, handler, summary) \
  WebRes { path, handler, #handler, summary }

constexpr int MAX_WEBREQ_COUNT = 512;  // slots; at most 511 in use

int WebResRegister(const WebRes *records, int count);
int WebResUnregister(const WebRes *records, int count);
const WebRes *FindWebRes(const char *path);
int DispatchWebReq(const char *path, char *text);
int WebResCount();  // records registered now
// The record in `slot` (0 to 511), or null when the slot is free.
const WebRes *WebResSlot(int slot);
// The name of the table that registered `slot` ("" when none was given).
const char *webres_slot_table(int slot);

// Registration order of the module tables (fixes their slots).
enum WebResTableOrder {
  WEBRES_STORAGE = 1,
  WEBRES_STATUS = 2,
  WEBRES_VIDEO = 3,
  WEBRES_CAMERA = 4,
  WEBRES_RECORD = 5,
  WEBRES_NETWORK = 6,
  WEBRES_PLAYBACK = 7,
  WEBRES_PTZ = 8,
  WEBRES_SYSTEM = 9,
  WEBRES_CAMERA_MANAGEMENT = 10,
  WEBRES_ALARM = 11,
};

// The name of a table in the catalogue ("storage", "video", ...).
const char *webres_table_name(int order);

// Registers a module table as WebResRegister does, remembering its table.
int WebResRegisterTable(const WebRes *records, int count, int order);

// Writes the catalogue: one line per registered path in slot order, with
// path, table, handler name and summary separated by tabs.
void webres_write_catalogue(FILE *out);

// Registers `table` (a static array of WebRes) before main, in the order
// given, and unregisters it after main returns.
#define WEBRES_REGISTER_TABLE(table, order)                                        \
  __attribute__((constructor(200 + (order)))) static void table##_register() {     \
    WebResRegisterTable(table, (int)(sizeof(table) / sizeof(table[0])), (order)); \
  }                                                                                \
  __attribute__((destructor(200 + (order)))) static void table##_unregister() {    \
    WebResUnregister(table, (int)(sizeof(table) / sizeof(table[0])));              \
  }
