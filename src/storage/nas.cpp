// Network storage (NFS and SMB/CIFS shares): add, edit, delete, search.
// The entries are kept in the settings database, keyed by their port
// (1 to 36); the daemon is told which ports changed.
#include <cstring>

#include "storage_util.h"

using namespace storage;

namespace {

// The texts of one share, as members or array elements of the request.
struct NasTexts {
  json_object *vendor, *address, *directory, *user_name, *password;
};

bool nas_port_valid(int port) {
  return port >= 1 && port <= STORAGE_PORT_MAX;
}

int nas_count(json_object *root) {
  int num = member_int(root, "num");
  return num < 0 ? 0 : num > NAS_LIST_MAX ? NAS_LIST_MAX : num;
}

// Kind text of the add and delete log entries.
const char *nas_kind(int type) {
  return type == DISK_TYPE_NFS ? "NFS" : "SMB/CIFS";
}

// Kind text of the edit log entry: empty for a type that is no share.
const char *nas_edit_kind(int type) {
  return type == DISK_TYPE_NFS ? "NFS" : type == DISK_TYPE_SMB ? "SMB/CIFS" : "";
}

NasTexts texts_at(json_object *root, int i) {
  return {array_at(json_member(root, "vendor"), i), array_at(json_member(root, "address"), i),
          array_at(json_member(root, "directory"), i), array_at(json_member(root, "userName"), i),
          array_at(json_member(root, "password"), i)};
}

NasTexts texts_of(json_object *root) {
  return {json_member(root, "vendor"), json_member(root, "address"),
          json_member(root, "directory"), json_member(root, "userName"),
          json_member(root, "password")};
}

disk_params nas_record(int port, int type, const NasTexts &texts) {
  disk_params disk = {};
  disk.port = port;
  disk.enable = 1;
  disk.property = 1;
  disk.hddType = type;
  json_copy_text(texts.vendor, disk.vendor, sizeof disk.vendor);
  json_copy_text(texts.address, disk.address, sizeof disk.address);
  json_copy_text(texts.directory, disk.directory, sizeof disk.directory);
  decoded_text(texts.user_name, disk.userName, sizeof disk.userName);
  decoded_text(texts.password, disk.password, sizeof disk.password);
  return disk;
}

// The ports of the request's "port" array (`count` of them) into `list`;
// false when one is not a share's port.
bool take_ports(json_object *root, int count, nas_port_list &list) {
  json_object *ports = json_member(root, "port");
  list.count = count;
  for (int i = 0; i < count; i++) {
    list.port[i] = element_int(ports, i);
    if (!nas_port_valid(list.port[i])) return false;
  }
  return true;
}

void log_nas(int sub_type, int detail_kind, const char *kind, const disk_params &disk) {
  nas_log_detail detail = nas_detail(kind, disk);
  send_storage_log(sub_type, LOG_PARAM_NONE, disk.port, detail_kind, &detail, sizeof detail);
}

}  // namespace

int on_del_disk_nas(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  nas_port_list list = {};
  if (!take_ports(root.get(), nas_count(root.get()), list)) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  // Read before the daemon drops them, so that the log can name them.
  disk_params stored[NAS_LIST_MAX] = {};
  for (int i = 0; i < list.count; i++) read_disk(KXDB_FILE, &stored[i], list.port[i]);
  if (!cgi_exchange(on_storage_ipc_callback, 3508, &list, sizeof list, CGI_REPLY_TEXT)) return -1;
  for (int i = 0; i < list.count; i++) {
    if (stored[i].port != 0) {
      log_nas(LOG_SUB_NAS_DELETE, LOG_DETAIL_NAS, nas_kind(stored[i].hddType), stored[i]);
    }
  }
  return 0;
}

void on_del_disk_nas_cb(int count, const void *payload) {
  int32_t result;
  if (cgi_answer_status(payload, count * 4, &result)) reply_ok_or_error(result);
}

int on_add_disk_nas(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int type = member_int(root.get(), "type", DISK_TYPE_NFS);
  nas_port_list list = {};
  if (!take_ports(root.get(), nas_count(root.get()), list)) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  disk_params disks[NAS_LIST_MAX];
  for (int i = 0; i < list.count; i++) {
    disks[i] = nas_record(list.port[i], type, texts_at(root.get(), i));
  }
  if (write_disks(KXDB_FILE, disks, list.count) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  if (!cgi_exchange(on_storage_ipc_callback, 3507, &list, sizeof list, CGI_REPLY_TEXT)) return -1;
  for (int i = 0; i < list.count; i++) {
    log_nas(LOG_SUB_NAS_ADD, LOG_DETAIL_NAS, nas_kind(type), disks[i]);
  }
  return 0;
}

int on_update_disk_nas(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int32_t port = member_int(root.get(), "port");
  int type = member_int(root.get(), "type", DISK_TYPE_NFS);
  if (!nas_port_valid(port)) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  disk_params disk = nas_record(port, type, texts_of(root.get()));
  // The share's group and property are set on the disk page: an edit of its
  // address keeps them.
  disk_params stored = {};
  if (read_disk(KXDB_FILE, &stored, port) == 0 && stored.enable) {
    disk.group = stored.group;
    disk.property = stored.property;
  }
  if (write_disk(KXDB_FILE, &disk) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  if (!cgi_exchange(on_storage_ipc_callback, 3439, &port, sizeof port, CGI_REPLY_TEXT)) return -1;
  log_nas(LOG_SUB_NAS_EDIT, LOG_DETAIL_NAS_EDIT, nas_edit_kind(type), disk);
  return 0;
}

void on_update_disk_nas_cb(int count, const void *payload) {
  int32_t result;
  if (!cgi_answer_status(payload, count * 4, &result)) return;
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "status", 0);
  json_add_int(reply.get(), "res", result);
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}

int on_search_disk_nas(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  nas_search_request request = {};
  request.port = member_int(root.get(), "port");
  member_text(root.get(), "serverAddr", request.server_addr, sizeof request.server_addr);
  cgi_exchange(on_storage_ipc_callback, 3440, &request, sizeof request, CGI_REPLY_JSON);
  return 0;
}

// int count, then count paths of 256 bytes: the count is bounded by what
// the payload holds, and each path is read within its 256 bytes.
void on_search_disk_nas_cb(const void *payload, int length) {
  if (length < NAS_PATHS_OFFSET) return;
  int32_t count;
  memcpy(&count, payload, sizeof count);
  int held = (length - NAS_PATHS_OFFSET) / NAS_PATH_SIZE;
  if (count > held) count = held;
  const char *paths = static_cast<const char *>(payload) + NAS_PATHS_OFFSET;
  json_object *list = json_object_new_array();
  for (int i = 0; i < count; i++) {
    json_object *entry = json_object_new_object();
    json_add_text(entry, "filePath", field_text(paths + (size_t)i * NAS_PATH_SIZE, NAS_PATH_SIZE));
    json_object_array_add(list, entry);
  }
  JsonPtr reply(json_object_new_object());
  json_add_text(reply.get(), "resultString", count > 0 ? "OK" : "NO");
  json_object_object_add(reply.get(), "NAS", list);
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}
