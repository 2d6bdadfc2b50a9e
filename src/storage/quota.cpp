// Per-channel storage quotas and disk groups.
#include <cstdio>
#include <cstring>

#include "storage_util.h"

using namespace storage;

namespace {

int quota_count(int count) {
  return count < 0 ? 0 : count > QUOTA_ENTRIES ? QUOTA_ENTRIES : count;
}

json_object *quota_array(const quota_info &quota) {
  json_object *list = json_object_new_array();
  for (int i = 0; i < quota_count(quota.count); i++) {
    const quota_entry &e = quota.entries[i];
    json_object *o = json_object_new_object();
    json_add_int(o, "channel", e.channel);
    json_add_int(o, "video_used", e.video_used);
    json_add_int(o, "video_quota", e.video_quota);
    json_add_int(o, "picture_used", e.picture_used);
    json_add_int(o, "picture_quota", e.picture_quota);
    json_object_array_add(list, o);
  }
  return list;
}

// The 16 groups, factory defaults when they cannot be read.
void load_groups(disk_group_params (&groups)[DISK_GROUPS]) {
  memset(groups, 0, sizeof groups);
  for (int i = 0; i < DISK_GROUPS; i++) groups[i].id = i;
  read_groups(KXDB_FILE, groups, nullptr);
}

json_object *group_channels() {
  disk_group_params groups[DISK_GROUPS];
  load_groups(groups);
  json_object *list = json_object_new_array();
  for (const auto &g : groups) {
    json_object_array_add(list, json_object_new_string(field_text(g.channel).c_str()));
  }
  return list;
}

// Per stored disk: 0 when not in use, else its group plus 1.
json_object *disk_groups() {
  disk_params disks[DISK_RECORDS] = {};
  read_disks(KXDB_FILE, disks, nullptr);
  json_object *list = json_object_new_array();
  for (const auto &d : disks) {
    json_object_array_add(list, json_object_new_int(d.enable == 1 ? d.group + 1 : 0));
  }
  return list;
}

void send_group_mode(int mode) {
  int32_t payload = mode;
  cgi_send_notice(3442, &payload, sizeof payload);
}

int disable_groups() {
  if (set_param_int(KXDB_FILE, PARAM_GROUP_MODE.key, 0) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  send_group_mode(0);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

// Each element i of `channels` (at most 16) becomes group i's channel set.
void send_groups(json_object *channels) {
  disk_group_params groups[DISK_GROUPS];
  load_groups(groups);
  int count = array_length(channels) < DISK_GROUPS ? array_length(channels) : DISK_GROUPS;
  for (int i = 0; i < count; i++) {
    disk_group_params request = {};
    request.id = groups[i].id;
    json_copy_text(array_at(channels, i), request.channel, sizeof request.channel);
    snprintf(request.text, sizeof request.text, "%s", field_text(groups[i].text).c_str());
    cgi_send_notice(3436, &request, sizeof request);
  }
  cgi_send_notice(1307, nullptr, 0);
}

int enable_groups(int mode, json_object *channels) {
  if (param_int(PARAM_GROUP_MODE) == 0) {
    if (set_param_int(KXDB_FILE, PARAM_GROUP_MODE.key, mode) != 0) {
      cgi_error_to_webserver(CGI_REPLY_TEXT);
      return -1;
    }
    send_group_mode(mode);
  }
  send_groups(channels);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

}  // namespace

void add_disk_group_members(json_object *reply) {
  json_object_object_add(reply, "channel", group_channels());
  json_object_object_add(reply, "disk", disk_groups());
  json_add_int(reply, "max_chan", param_int(PARAM_MAX_CAMERAS));
  json_add_int(reply, "group_enable", param_int(PARAM_GROUP_MODE));
}

int on_get_quota_info(char *) {
  cgi_exchange(on_storage_ipc_callback, 3529, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

void on_get_quota_info_cb(const void *payload, int length) {
  if (length < (int)sizeof(quota_info)) return;  // short: as if nothing came
  quota_info quota;
  memcpy(&quota, payload, sizeof quota);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "enable", quota.enable);
  json_object_object_add(reply.get(), "quota_array", quota_array(quota));
  add_disk_group_members(reply.get());
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}

int on_set_quota_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || !has_member(root.get(), "enable")) return -1;
  json_object *entries = json_member(root.get(), "quota_array");
  quota_info quota = {};
  quota.enable = member_int(root.get(), "enable");
  quota.count = quota_count(array_length(entries));
  for (int i = 0; i < quota.count; i++) {
    json_object *e = array_at(entries, i);
    quota.entries[i].channel = member_int(e, "channel");
    quota.entries[i].video_quota = member_int(e, "video_quota");
    quota.entries[i].picture_quota = member_int(e, "picture_quota");
  }
  cgi_exchange(on_storage_ipc_callback, 3530, &quota, sizeof quota, CGI_REPLY_TEXT);
  return 0;
}

void on_set_quota_info_cb(const void *payload, int length) {
  int32_t result;
  if (cgi_answer_status(payload, length, &result)) reply_ok_or_error(result);
}

int on_set_group_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int mode = member_int(root.get(), "group_enable");
  if (mode == 0) return disable_groups();
  return enable_groups(mode, json_member(root.get(), "channel"));
}
