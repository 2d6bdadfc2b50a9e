// Response dispatcher: picks the decoder by response code (request + 5000).
// Each decoder ignores an answer shorter than its record, so the waiting
// handler ends with the error reply.
#include "record.h"

void on_record_ipc_callback(int, const kx_msg_head *head, const void *payload) {
  if (!payload) return;
  int length = kx_response_length(head);
  switch (kx_response_code(head)) {
    case 7285:
      on_set_record_settings_cb(payload, length);
      break;
    case 7286:
      on_get_record_support_cb(payload, length);
      break;
    case 8218:
      on_get_record_primary_secondary_cb(payload, length);
      break;
    default:
      break;
  }
}
