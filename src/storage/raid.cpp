// RAID arrays: create, remove, hot spares, rebuild, and the RAID mode switch.
#include <cstdio>

#include "storage_util.h"

using namespace storage;

namespace {

constexpr int kCreateIdMin = 10;  // arrays are created as 10 to 15
constexpr int kCreateIdMax = 15;
constexpr int kRemoveIdMax = 16;  // 16 is accepted for removal
constexpr int kMemberBits = 16;   // sata_port: bit i = member port i

bool check_raid_info(json_object *root) {
  for (const char *key : {"id", "enable", "sata_port", "sata_cnt", "level"}) {
    if (!has_member(root, key)) return false;
  }
  int id = member_int(root, "id");
  int members = member_int(root, "sata_cnt");
  return id >= kCreateIdMin && id <= kCreateIdMax && member_int(root, "sata_port") >= 0 &&
         members >= 0 && members <= RAID_MEMBERS_MAX && member_int(root, "level") >= 0;
}

// Member ports in ascending order from the bits of the mask.
void fill_members(raid_request &request, int mask) {
  int n = 0;
  for (int bit = 0; bit < kMemberBits; bit++) {
    if (mask >> bit & 1) request.sata_port[n++] = bit;
  }
}

}  // namespace

int on_create_raid(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || !check_raid_info(root.get())) return -1;
  raid_request request = {};
  request.id = member_int(root.get(), "id");
  request.enable = member_int(root.get(), "enable");
  request.level = member_int(root.get(), "level");
  request.sata_cnt = member_int(root.get(), "sata_cnt");
  fill_members(request, member_int(root.get(), "sata_port"));
  cgi_exchange(on_storage_ipc_callback, 3420, &request, sizeof request, CGI_REPLY_TEXT);
  return 0;
}

int on_remove_raid(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int id = bare_number(text);
  if (id < kCreateIdMin || id > kRemoveIdMax) return -1;
  raid_request request = {};
  request.id = id;
  cgi_exchange(on_storage_ipc_callback, 3421, &request, sizeof request, CGI_REPLY_TEXT);
  return 0;
}

int on_set_hot_space(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int32_t port = member_int(root.get(), "port");
  int code = member_int(root.get(), "hotflag") != 0 ? 3423 : 3424;
  cgi_exchange(on_storage_ipc_callback, code, &port, sizeof port, CGI_REPLY_TEXT);
  return 0;
}

int on_rebuild_raid(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  raid_rebuild_request request = {member_int(root.get(), "diskport"),
                                  member_int(root.get(), "raidport")};
  cgi_exchange(on_storage_ipc_callback, 3425, &request, sizeof request, CGI_REPLY_TEXT);
  return 0;
}

void on_rebuild_raid_cb(int count, const void *payload) {
  int32_t result;
  if (cgi_answer_status(payload, count * 4, &result)) reply_ok_or_error(result);
}

int on_get_raid_mode(char *) {
  char text[16];
  snprintf(text, sizeof text, "%d", param_int(PARAM_RAIDMODE));
  cgi_writeback_webserver(CGI_REPLY_TEXT, text);
  return 0;
}

int on_set_raid_mode(char *text) {
  int mode = bare_number(text);
  if (mode != 0 && mode != 1) mode = 0;
  if (set_param_int(KXDB_FILE, PARAM_RAIDMODE.key, mode) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}
