// Recycle (overwrite) mode, and the eSATA disk: automatic backup plan and
// status, export disk, formatting and format progress.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "storage_util.h"

using namespace storage;

namespace {

// The int32 answer of `length` bytes as {"key": r}; short answers are ignored.
void reply_result(const char *key, const void *payload, int length) {
  int32_t result;
  if (cgi_answer_status(payload, length, &result)) reply_json_int(key, result);
}

esata_auto_backup_params backup_plan_of(json_object *root) {
  esata_auto_backup_params plan = {};
  plan.enable = member_int(root, "enable");
  plan.streamType = member_int(root, "streamType");
  plan.fileType = member_int(root, "fileType");
  plan.recycle = member_int(root, "recycle");
  member_text(root, "backupTime", plan.backupTime, sizeof plan.backupTime);
  member_text(root, "channel", plan.channel, sizeof plan.channel);
  plan.device = member_int(root, "device");
  plan.port = member_int(root, "port");
  return plan;
}

// The percentage as a JSON number with one decimal; a value that is no
// number (NaN, infinity) is reported as 0.0 so that the reply stays JSON.
json_object *percent_number(float percent) {
  double value = std::isfinite(percent) ? (double)percent : 0.0;
  char text[64];
  snprintf(text, sizeof text, "%.1f", value);
  return json_object_new_double_s(value, text);
}

// Port of the first export disk of the eSATA kind, -1 when there is none.
int esata_export_port(int count, const void *payload) {
  const auto *bytes = static_cast<const unsigned char *>(payload);
  for (int i = 0; i < count; i++) {
    export_disk_record record;
    memcpy(&record, bytes + (size_t)i * sizeof record, sizeof record);
    if (record.kind == EXPORT_DISK_KIND_ESATA) return record.port;
  }
  return -1;
}

}  // namespace

int on_set_recycle(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  recycle_mode request = {member_int(root.get(), "mode"), member_int(root.get(), "esata")};
  cgi_exchange(on_storage_ipc_callback, 3475, &request, sizeof request, CGI_REPLY_JSON);
  return 0;
}

// The page is told "OK" whatever the daemon answered.
void on_set_recycle_cb(int count, const void *payload) {
  int32_t status;
  if (!cgi_answer_status(payload, count * 4, &status)) return;  // short: as missing
  if (status != 0) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    g_callback_done = 1;
    return;
  }
  JsonPtr reply(json_object_new_object());
  json_add_text(reply.get(), "status", "OK");
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}

int on_get_recycle_mode(char *) {
  int32_t request = 0;
  cgi_exchange(on_storage_ipc_callback, 3431, &request, sizeof request, CGI_REPLY_JSON);
  return 0;
}

void on_get_recycle_mode_cb(int count, const void *payload) {
  if (count < 1) return;
  recycle_mode mode;
  memcpy(&mode, payload, sizeof mode);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "mode", mode.mode);
  json_add_int(reply.get(), "esata", mode.esata);
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}

int on_get_esata_auto_backup_info(char *) {
  esata_auto_backup_params plan = {};
  read_esata_auto_backup(KXDB_FILE, &plan);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "enable", plan.enable);
  json_add_int(reply.get(), "streamType", plan.streamType);
  json_add_int(reply.get(), "fileType", plan.fileType);
  json_add_int(reply.get(), "recycle", plan.recycle);
  json_add_text(reply.get(), "channel", field_text(plan.channel));
  json_add_text(reply.get(), "backupTime", field_text(plan.backupTime));
  json_add_int(reply.get(), "device", plan.device);
  json_add_int(reply.get(), "port", plan.port);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

// stopBackup 0 stores the plan first; the daemon is told in every case.
int on_set_esata_auto_backup_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int32_t stop = member_int(root.get(), "stopBackup");
  esata_auto_backup_params plan = backup_plan_of(root.get());
  if (stop == 0 && write_esata_auto_backup(KXDB_FILE, &plan) != 0) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  cgi_exchange(on_storage_ipc_callback, 1316, &stop, sizeof stop, CGI_REPLY_JSON);
  return 0;
}

void on_set_esata_auto_backup_info_cb(const void *payload, int length) {
  reply_result("result", payload, length);
}

int on_get_esata_auto_backup_status(char *) {
  cgi_exchange(on_storage_ipc_callback, 1317, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

void on_get_esata_auto_backup_status_cb(const void *payload, int length) {
  if (length < (int)sizeof(esata_backup_status)) return;  // short: as if nothing came
  esata_backup_status status;
  memcpy(&status, payload, sizeof status);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "status", status.status);
  json_object_object_add(reply.get(), "percent", percent_number(status.percent));
  json_add_text(reply.get(), "last_time", field_text(status.last_time));
  json_add_int(reply.get(), "capacity", status.capacity);
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}

int on_get_export_disk_info(char *) {
  cgi_exchange(on_storage_ipc_callback, 3457, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

void on_get_export_disk_info_cb(int count, const void *payload) {
  int port = esata_export_port(count, payload);
  JsonPtr reply(json_object_new_object());
  if (port >= 0) json_add_int(reply.get(), "port", port);
  json_add_int(reply.get(), "result", port >= 0 ? 0 : -1);
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}

int on_format_esata_disk_web(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int32_t port = root ? member_int(root.get(), "port") : -1;
  if (port < 0 || port > STORAGE_PORT_MAX) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  cgi_exchange(on_storage_ipc_callback, 3535, &port, sizeof port, CGI_REPLY_JSON);
  return 0;
}

void on_format_esata_disk_web_cb(const void *payload, int length) {
  reply_result("result", payload, length);
}

int on_cgi_get_auto_backup_status(char *) {
  cgi_exchange(on_storage_ipc_callback, 3536, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

void on_cgi_get_auto_backup_status_cb(const void *payload, int length) {
  reply_result("status", payload, length);
}

int on_cgi_set_auto_backup_stop(char *) {
  cgi_exchange(on_storage_ipc_callback, 3537, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

void on_cgi_set_auto_backup_stop_cb(const void *payload, int length) {
  reply_result("result", payload, length);
}

int on_cgi_get_format_info(char *) {
  cgi_exchange(on_storage_ipc_callback, 3540, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

void on_cgi_get_format_info_cb(int count, const void *payload) {
  if (count < 1) return;  // shorter than one record: as if nothing came
  format_info_record info;
  memcpy(&info, payload, sizeof info);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "status", info.status);
  json_add_int(reply.get(), "port", info.port);
  json_add_int(reply.get(), "type", info.type);
  json_add_int(reply.get(), "percent", info.percent);
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}
