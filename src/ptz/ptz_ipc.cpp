// Response dispatcher of the PTZ module: one routing table from response
// code (request code + 5000) to decoder. A decoder gets the payload and its
// length, checks the length against its record, writes one reply and sets
// the flag.
#include "ptz.h"

namespace {

struct PtzRoute {
  int code;
  ptz_decoder decoder;
};

constexpr PtzRoute ptz_routes[] = {
    {6262, on_ip_ptzsupport_cb},
    {6265, on_ptz_reply_info},
    {6268, on_ptz_reply_info},  // the fisheye view's information
    {6270, on_cgi_get_ptz_basic_cb},
    {6271, on_cgi_set_ptz_basic_cb},
    {8226, on_set_ipc_common_cb},  // the camera parameter request 3226
    {8361, on_cgi_set_ptz_control_cb},
    {8363, on_cgi_get_led_status_cb},
};

// A response code routed twice would make the second row dead.
constexpr bool codes_unique() {
  for (const PtzRoute &a : ptz_routes) {
    int seen = 0;
    for (const PtzRoute &b : ptz_routes) seen += a.code == b.code;
    if (seen != 1) return false;
  }
  return true;
}
static_assert(codes_unique(), "a response code is routed twice");

}  // namespace

void on_ptz_ipc_callback(int, const kx_msg_head *head, const void *payload) {
  // An answer without payload is ignored: the waiting handler answers its
  // own error reply when the budget is spent.
  if (!payload) return;
  int code = kx_response_code(head);
  for (const PtzRoute &route : ptz_routes) {
    if (route.code == code) {
      route.decoder(payload, kx_response_length(head));
      return;
    }
  }
}
