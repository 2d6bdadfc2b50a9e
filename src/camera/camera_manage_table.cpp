// Endpoint table of camera management.
#include "camera_manage.h"

namespace {
const WebRes camera_manage_table[] = {
    WEBRES_ROW("/3300", on_set_ssh_enable, ADMIN, "switch SSH on or off: {\"sshEnable\"}; OK"),
    WEBRES_ROW("/3301", on_set_auto_login, SETTINGS,
               "switch automatic local login: {\"autoLoginEnable\"}; OK"),
    WEBRES_ROW("/3302", on_set_record_mode_all, SETTINGS,
               "recording mode of every channel: {\"recordMode\"}; OK"),
    WEBRES_ROW("/3303", on_set_wizard_enable, SETTINGS,
               "switch the set-up wizard: {\"wizardEnable\"}; OK"),
    WEBRES_ROW("/3304", on_set_ipc_parms, CAMERA,
               "connection of one camera: \"id\" 0 to 63, \"enable\", \"ipAddr\", "
               "\"managePort\", \"userName\", \"password\"; OK"),
};
}  // namespace

WEBRES_REGISTER_TABLE(camera_manage_table, WEBRES_CAMERA_MANAGEMENT)
