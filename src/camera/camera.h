// Camera parameter proxy: settings held by the IP cameras, read and written
// through the core daemon.
#pragma once

#include "webcgi.h"

// Response dispatcher of the module.
void on_camera_ipc_callback(int context, const kx_msg_head *head, const void *payload);

// "/2026": forwards a free-form command to the daemon (request 4002).
int on_web_sendto_qt_cmd(char *text);
void on_web_sendto_qt_cmd_cb(const void *payload, int length);
