// Endpoint registry and dispatch.
#include "dispatchreq.h"

#include <cstring>

#include "cgi_log.h"

namespace {
WebRes g_webres[MAX_WEBREQ_COUNT];
unsigned char g_webres_used[MAX_WEBREQ_COUNT];
unsigned char g_webres_table[MAX_WEBREQ_COUNT];  // table order of each slot (0: none given)
int g_webres_count;

const char *const kTableNames[] = {
    "",         "storage",  "status", "video",  "camera",            "record",
    "network",  "playback", "ptz",    "system", "camera management", "alarm",
};
}  // namespace

const char *webres_table_name(int order) {
  if (order < 0 || order >= (int)(sizeof kTableNames / sizeof kTableNames[0])) return "";
  return kTableNames[order];
}

int WebResRegisterTable(const WebRes *records, int count, int order) {
  if (!records || count < 1) return -1;
  if (g_webres_count + count >= MAX_WEBREQ_COUNT) {
    cgi_log("dispatchreq.c", 62, "", "WEBREQ exceeded maximum value(MAX_WEBREQ_COUNT)");
    return -1;
  }
  int next = 0;
  for (int slot = 0; slot < MAX_WEBREQ_COUNT && next < count; slot++) {
    if (g_webres_used[slot]) continue;
    g_webres[slot] = records[next++];
    g_webres[slot].path[sizeof g_webres[slot].path - 1] = '\0';
    g_webres_used[slot] = 1;
    g_webres_table[slot] = (unsigned char)order;
    g_webres_count++;
  }
  return 0;
}

int WebResRegister(const WebRes *records, int count) {
  return WebResRegisterTable(records, count, 0);
}

int WebResUnregister(const WebRes *records, int count) {
  if (!records || count < 1) return -1;
  for (int slot = 0; slot < MAX_WEBREQ_COUNT; slot++) {
    for (int i = 0; g_webres_used[slot] && i < count; i++) {
      if (strncmp(g_webres[slot].path, records[i].path, sizeof records[i].path) != 0) continue;
      memset(&g_webres[slot], 0, sizeof g_webres[slot]);
      g_webres_used[slot] = 0;
      g_webres_table[slot] = 0;
      g_webres_count--;
    }
  }
  return 0;
}

const WebRes *FindWebRes(const char *path) {
  if (!path) return nullptr;
  for (int slot = 0; slot < MAX_WEBREQ_COUNT; slot++) {
    if (g_webres_used[slot] && strcmp(g_webres[slot].path, path) == 0) return &g_webres[slot];
  }
  return nullptr;
}

int DispatchWebReq(const char *path, char *text) {
  const WebRes *res = FindWebRes(path);
  if (!res || !res->handler) return -1;
  return res->handler(text);
}

int WebResCount() {
  return g_webres_count;
}

const WebRes *WebResSlot(int slot) {
  if (slot < 0 || slot >= MAX_WEBREQ_COUNT || !g_webres_used[slot]) return nullptr;
  return &g_webres[slot];
}

int web_access_right(WebAccess access) {
  int right = (int)access - WEB_ACCESS_LIVE_VIEW;
  return right >= 0 && right <= WEB_ACCESS_SHUTDOWN - WEB_ACCESS_LIVE_VIEW ? right : -1;
}

const char *web_access_name(WebAccess access) {
  static const char *const kRights[] = {
      "remoteLiveView", "remotePlayback", "remoteRetrieve", "remoteSmartAnalysis",
      "remoteEvent",    "remoteCamera",   "remoteStorage",  "remoteSettings",
      "remoteStatus",   "remoteShutdown",
  };
  int right = web_access_right(access);
  if (right >= 0) return kRights[right];
  if (access == WEB_ACCESS_PUBLIC) return "public";
  if (access == WEB_ACCESS_USER) return "user";
  return "admin";
}

const char *webres_slot_table(int slot) {
  if (slot < 0 || slot >= MAX_WEBREQ_COUNT || !g_webres_used[slot]) return "";
  return webres_table_name(g_webres_table[slot]);
}

void webres_write_catalogue(FILE *out) {
  for (int slot = 0; slot < MAX_WEBREQ_COUNT; slot++) {
    if (!g_webres_used[slot]) continue;
    const WebRes &r = g_webres[slot];
    fprintf(out, "%s\t%s\t%s\t%s\t%s\n", r.path, webres_table_name(g_webres_table[slot]),
            r.handler_name ? r.handler_name : "", r.summary ? r.summary : "",
            web_access_name(r.access));
  }
}
