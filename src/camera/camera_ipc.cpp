#include "camera.h"

void on_camera_ipc_callback(int, const kx_msg_head *head, const void *payload) {
  if (!payload) return;
  switch (kx_response_code(head)) {
    case 9002:
      on_web_sendto_qt_cmd_cb(payload, kx_response_length(head));
      break;
    default:
      break;
  }
}
