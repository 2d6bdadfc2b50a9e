#include "system.h"

void on_system_ipc_callback(int, const kx_msg_head *head, const void *payload) {
  if (!payload) return;
  int length = kx_response_length(head);
  switch (kx_response_code(head)) {
    case 8265:  // one int32 status
      on_modify_poe_camera_pwd_cb(length / (int)sizeof(int32_t), payload);
      break;
    case 8504:  // one int32 status
      on_user_login_from_mail_cb(length / (int)sizeof(int32_t), payload);
      break;
    default:
      break;
  }
}
