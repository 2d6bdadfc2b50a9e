// Endpoint registry: every module registers one static table of endpoint
// records before main runs; the request path selects the handler.
#pragma once

#include <cstddef>

typedef int (*WebReqHandler)(char *text);

struct WebRes {
  char path[8];  // at most 7 characters, e.g. "/6100"
  WebReqHandler handler;
};
static_assert(offsetof(WebRes, path) == 0);
static_assert(offsetof(WebRes, handler) == 8);
static_assert(sizeof(WebRes) == 8 + sizeof(void *));  // 12 bytes on the board

constexpr int MAX_WEBREQ_COUNT = 512;  // slots; at most 511 in use

int WebResRegister(const WebRes *records, int count);
int WebResUnregister(const WebRes *records, int count);
const WebRes *FindWebRes(const char *path);
int DispatchWebReq(const char *path, char *text);
int WebResCount();  // records registered now

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

// Registers `table` (a static array of WebRes) before main, in the order
// given, and unregisters it after main returns.
#define WEBRES_REGISTER_TABLE(table, order)                                      \
  __attribute__((constructor(200 + (order)))) static void table##_register() {   \
    WebResRegister(table, (int)(sizeof(table) / sizeof(table[0])));              \
  }                                                                              \
  __attribute__((destructor(200 + (order)))) static void table##_unregister() {  \
    WebResUnregister(table, (int)(sizeof(table) / sizeof(table[0])));            \
  }
