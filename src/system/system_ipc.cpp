#include "system.h"
#include "system_info.h"

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
    // System information and logs.
    case 8400:  // device records of 592 bytes
      on_get_system_info_cb(length / (int)sizeof(device_info), payload);
      break;
    case 8495:  // one log page
      on_log_search_info_cb(payload, length);
      break;
    case 8488:  // the detail text of one entry
      on_log_web_get_log_detail_cb(payload, length);
      break;
    case 8494:  // status, then the path of the export's result file
      on_log_web_export_info_cb(payload, length);
      break;
    default:
      break;
  }
}
