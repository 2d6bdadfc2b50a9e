// Endpoint table of the system module.
#include "system.h"

namespace {
const WebRes system_table[] = {
    WEBRES_ROW("/1000", on_user_login,
               "login: user name and password digest; type, rights and session id"),
    WEBRES_ROW("/1018", on_user_login_from_mail,
               "login from an e-mail link: token in the query; redirect with session cookies"),
    WEBRES_ROW("/6070", on_get_user_list,
               "user list: enabled accounts with their rights"),
    WEBRES_ROW("/6071", on_add_new_user,
               "add a user account; answers its new id"),
    WEBRES_ROW("/6072", on_set_user_info,
               "change a user account by id"),
    WEBRES_ROW("/6073", on_del_user_info,
               "delete a user account by id"),
    WEBRES_ROW("/6074", on_get_oem_user_list,
               "branding user list from the branding database"),
    WEBRES_ROW("/6075", on_modify_poe_camera_pwd,
               "change the password of the PoE cameras; the daemon's status"),
    WEBRES_ROW("/6076", on_send_notice_3267,
               "tell the daemon that user settings changed (3267)"),
    WEBRES_ROW("/6077", on_cgi_set_user_info,
               "tell the daemon to reload the user accounts (3505)"),
};
}  // namespace

WEBRES_REGISTER_TABLE(system_table, WEBRES_SYSTEM)
