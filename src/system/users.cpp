// "/6070" to "/6074": list, add, change and delete user accounts; the list
// of the branding database's accounts.
#include <cstdio>
#include <cstring>
#include <vector>

#include "system.h"

namespace {

constexpr int kMaxUserType = 3;
constexpr int kMinPermission = -1;
constexpr int kLookupNameSize = 32;  // names are compared on their first 31 characters
constexpr int kUserReload = 3505;    // the daemon reloads the accounts (payload: none or the id)
constexpr int kLogUserChange = 204;
constexpr int kLogParamUserAdded = 921;
constexpr int kLogParamUserDeleted = 922;

bool has_int(json_object *request, const char *key, int *value) {
  return on_cgi_get_int_from_json(request, key, value) == 0;
}

// A password travels as the MD5 digest of its text: 32 hexadecimal digits.
bool valid_digest(json_object *password) {
  const char *text = password && json_object_is_type(password, json_type_string)
                         ? json_object_get_string(password)
                         : nullptr;
  if (!text || strlen(text) != 32) return false;
  return strspn(text, "0123456789abcdefABCDEF") == 32;
}

bool valid_id(int id) {
  return id >= 0 && id < USER_MAX;
}

// The id of the enabled user whose name is the first 31 characters of
// `name`, or -1.
int user_id_by_name(json_object *name) {
  char lookup[kLookupNameSize];
  json_copy_text(name, lookup, sizeof lookup);
  user_info found = {};
  found.id = -1;
  read_user_by_name(KXDB_FILE, &found, lookup);
  return found.id;
}

void send_user_log(int param_type) {
  log_info entry;
  cgi_init_log_info(&entry);
  entry.sub_type = kLogUserChange;
  entry.param_type = param_type;
  cgi_send_log_info(&entry);
}

json_object *user_list_entry(const user_info &u) {
  json_object *o = json_object_new_object();
  json_add_int(o, "id", u.id);
  json_add_int(o, "enable", u.enable);
  json_object_object_add(o, "name", json_field_string(u.name, sizeof u.name));
  json_object_object_add(o, "password", json_field_string(u.password, sizeof u.password));
  json_add_int(o, "type", u.type);
  add_user_rights_json(o, u, "remotePermission");
  return o;
}

json_object *oem_list_entry(const user_oem_info &u) {
  json_object *o = json_object_new_object();
  json_add_int(o, "id", u.id);
  json_add_int(o, "enable", u.enable);
  json_object_object_add(o, "name", json_field_string(u.name, sizeof u.name));
  json_object_object_add(o, "password", json_field_string(u.password, sizeof u.password));
  json_add_int(o, "type", u.type);
  json_add_int(o, "permission", u.permission);
  json_add_int(o, "remotePermission", u.remote_permission);
  return o;
}

// A new account from the request; the checked members are passed in.
user_info new_user(json_object *request, int type, int permission, int remote_permission) {
  user_info user = {};
  user.enable = 1;
  json_copy_text(json_member(request, "name"), user.name, sizeof user.name);
  json_copy_text(json_member(request, "password"), user.password, sizeof user.password);
  user.type = type;
  user.permission = permission;
  user.remote_permission = remote_permission;
  read_user_rights_json(request, &user);
  set_user_channel_masks(&user);
  snprintf(user.created, sizeof user.created, "0");
  return user;
}

// Replies with a JSON array of the enabled accounts among the first `count`.
template <class User, class Entry>
int write_enabled_users(const std::vector<User> &users, int count, Entry entry) {
  JsonPtr list(json_object_new_array());
  for (int i = 0; i < count && i < (int)users.size(); i++) {
    if (users[i].enable != 0) json_object_array_add(list.get(), entry(users[i]));
  }
  return json_writeback(CGI_REPLY_JSON, list.get());
}

}  // namespace

int on_get_user_list(char *) {
  std::vector<user_info> users(USER_MAX);
  int count = 0;
  read_users(KXDB_FILE, users.data(), &count);
  return write_enabled_users(users, count, user_list_entry);
}

int on_add_new_user(char *text) {
  int count = 0;
  read_user_count(KXDB_FILE, &count);
  if (count >= USER_MAX) return cgi_writeback_webserver(CGI_REPLY_TEXT, "FAILED_FULL");
  JsonPtr request(get_request_tokener_json_object(text));
  if (!request) return -1;
  int type, permission, remote_permission;
  if (!has_int(request.get(), "type", &type) || type > kMaxUserType) return -1;
  if (!valid_digest(json_member(request.get(), "password"))) return -1;
  if (!has_int(request.get(), "permission", &permission) || permission < kMinPermission) return -1;
  if (!has_int(request.get(), "remotePermission", &remote_permission) ||
      remote_permission < kMinPermission) {
    return -1;
  }
  if (user_id_by_name(json_member(request.get(), "name")) != -1) {
    return cgi_writeback_webserver(CGI_REPLY_TEXT, "SAMEUSER");
  }

  user_info user = new_user(request.get(), type, permission, remote_permission);
  int added = add_user(KXDB_FILE, &user);
  if (added == 1) return cgi_writeback_webserver(CGI_REPLY_TEXT, "FAILED_FULL");
  if (added != 0) return cgi_error_to_webserver(CGI_REPLY_TEXT);
  cgi_send_notice(kUserReload, nullptr, 0);
  send_user_log(kLogParamUserAdded);
  char reply[10];
  snprintf(reply, sizeof reply, "id=%d", user.id);
  return cgi_writeback_webserver(CGI_REPLY_TEXT, reply);
}

int on_set_user_info(char *text) {
  JsonPtr request(get_request_tokener_json_object(text));
  if (!request) return -1;
  int id;
  // Without this check a bad id would write a zeroed record over user 0.
  if (!has_int(request.get(), "id", &id) || !valid_id(id)) return -1;

  user_info user = {};
  // Only an existing account changes: an unused slot would otherwise become
  // an enabled account without a password.
  if (read_user(KXDB_FILE, &user, id) != 0 || user.enable == 0) return -1;
  if (json_object *name = json_member(request.get(), "name")) {
    int owner = user_id_by_name(name);
    if (owner >= 0 && owner != id) return cgi_writeback_webserver(CGI_REPLY_TEXT, "SAMEUSER");
    // A rename keeps the 31 characters that were compared.
    char cut[kLookupNameSize];
    json_copy_text(name, cut, sizeof cut);
    snprintf(user.name, sizeof user.name, "%s", cut);
  }
  if (json_object *password = json_member(request.get(), "password")) {
    if (!valid_digest(password)) return -1;
    json_copy_text(password, user.password, sizeof user.password);
  }
  if (json_object *type = json_member(request.get(), "type")) user.type = json_object_get_int(type);
  // The permission levels and the channel masks stay as stored.
  read_user_rights_json(request.get(), &user);

  if (write_user(KXDB_FILE, &user) != 0) return cgi_error_to_webserver(CGI_REPLY_TEXT);
  web_session_refresh_user(user);  // open sessions get the new rights
  int32_t changed = id;
  cgi_send_notice(kUserReload, &changed, sizeof changed);
  return cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
}

int on_del_user_info(char *text) {
  JsonPtr request(get_request_tokener_json_object(text));
  if (!request) return -1;
  int id, type;
  if (!has_int(request.get(), "id", &id) || !valid_id(id)) return -1;
  if (!has_int(request.get(), "type", &type) || type > kMaxUserType) return -1;

  user_info deleted = {};  // a deleted account is a zeroed record with enable 0
  deleted.id = id;
  if (write_user(KXDB_FILE, &deleted) != 0) return cgi_error_to_webserver(CGI_REPLY_TEXT);
  web_session_refresh_user(deleted);  // its sessions end
  int32_t changed = id;
  cgi_send_notice(kUserReload, &changed, sizeof changed);
  send_user_log(kLogParamUserDeleted);
  return cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
}

int on_get_oem_user_list(char *) {
  if (IsFileExisted(OEM_DB_FILE) != 0) return -1;  // no branding: no reply
  std::vector<user_oem_info> users(USER_MAX);
  int count = 0;
  read_users_oem(OEM_DB_FILE, users.data(), &count);
  return write_enabled_users(users, count, oem_list_entry);
}
