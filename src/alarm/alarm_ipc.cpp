// Response dispatcher of the alarm module: one routing table from response
// code (request code + 5000) to decoder. A decoder checks the length
// against its record, writes one reply and sets the flag.
#include "alarm.h"

namespace {

struct AlarmRoute {
  int code;
  void (*decoder)(const void *payload, int length);
};

constexpr AlarmRoute alarm_routes[] = {
    {CAMERA_ALARM_OUT_GET + 5000, on_camera_alarm_output_cb},
    {CAMERA_ALARM_IN_GET + 5000, on_camera_alarm_input_cb},
};

}  // namespace

void on_alarm_ipc_callback(int, const kx_msg_head *head, const void *payload) {
  // An answer without payload is ignored: the waiting handler answers its
  // own error reply when the budget is spent.
  if (!payload) return;
  int code = kx_response_code(head);
  for (const AlarmRoute &route : alarm_routes) {
    if (route.code == code) {
      route.decoder(payload, kx_response_length(head));
      return;
    }
  }
}
