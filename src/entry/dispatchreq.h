// Endpoint registry: every module registers one static table of endpoint
// records before main runs; the request path selects the handler. The same
// rows are the program's catalogue of endpoints (`webcgi --endpoints`).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

typedef int (*WebReqHandler)(char *text);

// What a request needs before its handler runs, when the program guards
// access itself (settings parameter "web_auth" 1). Zero is the strictest
// level, so a row built without one is for administrators only.
enum WebAccess : int32_t {
  WEB_ACCESS_ADMIN = 0,   // an administrator (user type 0)
  WEB_ACCESS_PUBLIC = 1,  // anyone: the login and what the login page loads
  WEB_ACCESS_USER = 2,    // any live session
  // One of the user record's ten remote rights flags, in their order.
  WEB_ACCESS_LIVE_VIEW = 10,
  WEB_ACCESS_PLAYBACK,
  WEB_ACCESS_RETRIEVE,
  WEB_ACCESS_SMART_ANALYSIS,
  WEB_ACCESS_EVENT,
  WEB_ACCESS_CAMERA,
  WEB_ACCESS_STORAGE,
  WEB_ACCESS_SETTINGS,
  WEB_ACCESS_STATUS,
  WEB_ACCESS_SHUTDOWN,
};

// The rights flag a level asks for (0 to 9, the index into the user
// record's remote rights), or -1 for the levels that name none.
int web_access_right(WebAccess access);
// The level's name in the catalogue: "admin", "public", "user", or the
// rights flag's JSON key ("remoteSettings", ...).
const char *web_access_name(WebAccess access);

struct WebRes {
  char path[8];  // at most 7 characters, e.g. "/6100"
  WebReqHandler handler;
  // Catalogue: the handler's name and one line for page authors.
  const char *handler_name;
  const char *summary;
  WebAccess access;
};
static_assert(offsetof(WebRes, path) == 0);
static_assert(offsetof(WebRes, handler) == 8);
static_assert(offsetof(WebRes, handler_name) == 8 + sizeof(void *));
static_assert(offsetof(WebRes, summary) == 8 + 2 * sizeof(void *));
static_assert(offsetof(WebRes, access) == 8 + 3 * sizeof(void *));
static_assert(sizeof(WebRes) == 8 + 4 * sizeof(void *));  // 24 bytes on the board

// One row of a module's table: path, handler, access level, summary. The
// level is one of WebAccess without its prefix (PUBLIC, USER, SETTINGS,
// ADMIN, ...). The handler's name is taken from the code, so the catalogue
// cannot drift from it.
#define WEBRES_ROW(path, handler, access, summary) \
  WebRes { path, handler, #handler, summary, WEB_ACCESS_##access }

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
// path, table, handler name, summary and access level separated by tabs.
void webres_write_catalogue(FILE *out);

// Registers `table` (a static array of WebRes) before main, in the order
// given. The registry lives as long as the process: nothing unregisters the
// tables at exit (that cost a CGI request about a seventh of its user time,
// comparing every slot with every row of every table).
#define WEBRES_REGISTER_TABLE(table, order)                                        \
  __attribute__((constructor(200 + (order)))) static void table##_register() {     \
    WebResRegisterTable(table, (int)(sizeof(table) / sizeof(table[0])), (order)); \
  }
