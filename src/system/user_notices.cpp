// "/6075" to "/6077": user-related requests and notices to the daemon.
#include <cstdio>
#include <cstring>

#include "system.h"

int on_modify_poe_camera_pwd(char *) {
  // Asks the daemon to update the password of the cameras on the PoE ports.
  cgi_exchange(on_system_ipc_callback, 3265, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

// Response 8265: one int32 status, answered as decimal text.
void on_modify_poe_camera_pwd_cb(int count, const void *payload) {
  if (count <= 0) return;
  int32_t status;
  memcpy(&status, payload, sizeof status);
  char text[16];
  snprintf(text, sizeof text, "%d", status);
  cgi_writeback_webserver(CGI_REPLY_TEXT, text);
  g_callback_done = 1;
}

int on_send_notice_3267(char *) {
  cgi_send_notice(3267, nullptr, 0);
  return cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
}

int on_cgi_set_user_info(char *) {
  // Without an id the daemon reloads every account.
  cgi_send_notice(3505, nullptr, 0);
  return cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
}
