// System module: login and sessions, user accounts (and, later, system
// information, logs, upgrades and maintenance).
#pragma once

#include "kxdb_user.h"
#include "webcgi.h"

// Response dispatcher of the module.
void on_system_ipc_callback(int context, const kx_msg_head *head, const void *payload);

// ---- Login and sessions ----
constexpr int SESSION_ID_DIGITS = 32;

// "/1000": checks the name and password digest, answers the user's rights.
int on_user_login(char *text);
// "/1018": a link from a notification e-mail; the daemon judges the token
// (request 3504) and the reply redirects, with viewer cookies on success.
int on_user_login_from_mail(char *text);
void on_user_login_from_mail_cb(int count, const void *payload);

// "/1040": ends the session of the "sessionId" cookie, if it is live; "OK".
int on_user_logout(char *text);

// 32 random decimal digits into `buffer` (at least 33 bytes, zero-filled by
// the caller). 0, or -1 (buffer left empty) when no random bytes are to be had.
int get_session_id(char *buffer);
// Makes sure "/mnt/nand/ssl" and "/mnt/nand/ssl/tmp" exist.
int config_ssl_params();
// The cookie domain of a Host header: the host name without the port, cut at
// the first character that cannot belong to a host name (an IPv6 literal
// keeps its brackets), at most size - 1 characters.
void get_cookie_domain(const char *host, char *domain, int size);

// ---- User accounts ----
int on_get_user_list(char *text);      // "/6070"
int on_add_new_user(char *text);       // "/6071"
int on_set_user_info(char *text);      // "/6072"
int on_del_user_info(char *text);      // "/6073"
int on_get_oem_user_list(char *text);  // "/6074"

// ---- User-related notices to the daemon ----
int on_modify_poe_camera_pwd(char *text);  // "/6075", request 3265
void on_modify_poe_camera_pwd_cb(int count, const void *payload);
int on_send_notice_3267(char *text);   // "/6076"
int on_cgi_set_user_info(char *text);  // "/6077", request 3505

// ---- JSON of user records (shared by login and the account list) ----
// Adds, in order: "permission", the ten local rights, "localliveview",
// "localplayback", the remote permission under `remote_permission_key`, the
// ten remote rights, "remoteliveview", "remoteplayback".
void add_user_rights_json(json_object *object, const user_info &user,
                          const char *remote_permission_key);
// Copies each rights flag and channel-rights text present in `object`.
void read_user_rights_json(json_object *object, user_info *user);
// Sets the four channel masks from the channel-rights texts.
void set_user_channel_masks(user_info *user);
