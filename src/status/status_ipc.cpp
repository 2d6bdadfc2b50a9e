// Response dispatcher: picks the decoder by response code (request + 5000)
// and hands it the payload and its length; each decoder checks the length
// against its record.
#include "status.h"

void on_status_ipc_callback(int, const kx_msg_head *head, const void *payload) {
  if (!payload) return;
  int length = kx_response_length(head);
  switch (kx_response_code(head)) {
    case 6719:
      on_cgi_get_online_user_status_cb(payload, length);
      break;
    case 8263:
      on_get_channel_support_cb(payload, length);
      break;
    case 8300:
      on_get_camera_status_cb(payload, length);
      break;
    case 8301:
      on_get_netif_status_cb(payload, length);
      break;
    case 8302:
      on_get_netif_speed_cb(payload, length);
      break;
    case 8305:
      on_get_alarm_status_cb(payload, length);
      break;
    case 8306:
      on_get_usage_totals_cb(payload, length);
      break;
    default:
      break;
  }
}
