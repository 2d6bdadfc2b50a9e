// Camera management: device-wide switches and one camera's connection,
// changed in one step by set-up tools. Everything goes to the settings
// database; the core daemon is told with requests sent without waiting.
#pragma once

#include "webcgi.h"

int on_set_ssh_enable(char *text);        // /3300
int on_set_auto_login(char *text);        // /3301
int on_set_record_mode_all(char *text);   // /3302
int on_set_wizard_enable(char *text);     // /3303
int on_set_ipc_parms(char *text);         // /3304

// 0 when a camera connection request is acceptable (id 0 to 63, enable 0
// or 1, a non-empty address, a port of 0 or more), else -1.
int check_ipc_parms(json_object *request);
