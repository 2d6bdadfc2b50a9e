// Disk settings, formatting, S.M.A.R.T. and taking a disk out of use.
#include <atomic>
#include <cstring>

#include "storage_util.h"
#include "request_reset.h"

using namespace storage;

namespace {

constexpr int kSettingsPortMax = 35;  // "/6101" addresses ports 0 to 35
constexpr int kFormatProgressMax = 16;

// Set by on_format_disk_cb when the daemon reported success; read by the
// handler for the log entry after its wait.
std::atomic<bool> g_format_succeeded{false};

bool check_disk_info(json_object *root) {
  if (!has_member(root, "portId") || !has_member(root, "property")) return false;
  int port = member_int(root, "portId");
  int property = member_int(root, "property");
  // The quota page shows group + 1: only the 16 groups that exist are taken.
  int group = member_int(root, "group", 0);
  return port >= 0 && port <= kSettingsPortMax && (property == 0 || property == 1) &&
         group >= 0 && group < DISK_GROUPS;
}

int remove_raid_space(int id) {
  raid_request request = {};
  request.id = id;
  cgi_exchange(on_storage_ipc_callback, 3421, &request, sizeof request, CGI_REPLY_TEXT);
  send_storage_log(LOG_SUB_REMOVE_SPACE, LOG_PARAM_DISK, id);
  return 0;
}

// The daemon drops the share and its stored entry; no log entry here.
int remove_nas_space(int port) {
  nas_port_list list = {};
  list.count = 1;
  list.port[0] = port;
  cgi_exchange(on_storage_ipc_callback, 3508, &list, sizeof list, CGI_REPLY_TEXT);
  return 0;
}

// The stored record is reset first (empty, property 1), so that a failed
// write is answered before the daemon is asked to let the disk go.
int remove_local_space(int port) {
  disk_params reset = {};
  reset.port = port;
  reset.property = 1;
  if (!disk_port_valid(port) || write_disk(KXDB_FILE, &reset) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  int32_t payload = port;
  cgi_exchange(on_storage_ipc_callback, 3496, &payload, sizeof payload, CGI_REPLY_TEXT);
  send_storage_log(LOG_SUB_REMOVE_SPACE, LOG_PARAM_DISK, port);
  return 0;
}

}  // namespace

int on_set_disk_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || !check_disk_info(root.get())) return -1;
  int port = member_int(root.get(), "portId");
  disk_params disk = {};
  disk.port = port;
  read_disk(KXDB_FILE, &disk, port);
  disk.property = member_int(root.get(), "property");
  disk.group = member_int(root.get(), "group", disk.group);
  if (write_disk(KXDB_FILE, &disk) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  disk_info_request request = {port, disk.property, disk.group, member_int(root.get(), "private")};
  cgi_send_notice(3435, &request, sizeof request);
  send_storage_log(LOG_SUB_SET_DISK, LOG_PARAM_DISK_INFO, port);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

int on_format_disk(char *text) {
  int port = bare_number(text);
  if (port < 0 || port > STORAGE_PORT_MAX) return -1;
  g_format_succeeded = false;
  int32_t payload = port;
  cgi_exchange(on_storage_ipc_callback, 3434, &payload, sizeof payload, CGI_REPLY_JSON);
  format_log_detail detail = {};
  detail.port = port;
  detail.result = g_format_succeeded ? 1 : -1;
  send_storage_log(LOG_SUB_FORMAT, LOG_PARAM_DISK, port, LOG_DETAIL_FORMAT, &detail,
                   sizeof detail);
  return 0;
}

void on_format_disk_cb(int count, const void *payload) {
  int32_t result;
  if (!cgi_answer_status(payload, count * 4, &result)) return;
  if (result == 0) g_format_succeeded = true;
  const char *reply = result == 0    ? "OK"
                      : result == 1  ? "USING"
                      : result == -1 ? "ERROR FORMAT"
                      : result == -3 ? "NAS LOW CAP"
                                     : nullptr;
  if (reply) cgi_writeback_webserver(CGI_REPLY_TEXT, reply);
  g_callback_done = 1;
}

int on_get_format_progress(char *text) {
  int port = bare_number(text);
  if (port < 0 || port > kFormatProgressMax) return -1;
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

int on_get_smart_attr(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  json_object *ports = json_member(root.get(), "port");
  int num = member_int(root.get(), "num");
  int taken = num < array_length(ports) ? num : array_length(ports);
  int32_t port = taken > 0 ? element_int(ports, taken - 1) : 0;
  cgi_exchange(on_storage_ipc_callback, 3403, &port, sizeof port, CGI_REPLY_JSON);
  return 0;
}

void on_get_smart_attr_cb(int count, const void *payload) {
  if (count < 1) return;
  smart_attr_record record;
  memcpy(&record, payload, sizeof record);
  bool passed = field_text(record.text).find("PASSED") != std::string::npos;
  reply_json_int("selfEvaluation", passed ? 1 : 0);
}

int on_remove_space(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int port = member_int(root.get(), "port");
  int type = member_int(root.get(), "hddType");
  if (type == DISK_TYPE_RAID) return remove_raid_space(port);
  if (type == DISK_TYPE_NFS || type == DISK_TYPE_SMB) return remove_nas_space(port);
  return remove_local_space(port);
}

void on_remove_space_cb(int count, const void *payload) {
  int32_t result;
  if (cgi_answer_status(payload, count * 4, &result)) reply_ok_or_error(result);
}

namespace {
void reset_format_result() {
  g_format_succeeded = false;
}
}  // namespace

CGI_RESET_HOOK(reset_format_result)
