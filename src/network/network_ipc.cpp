// Response dispatcher of the network table: one routing table from response
// code (request + 5000) to decoder and record size. Codes without a row are
// ignored, as are answers without payload.
#include "network.h"

namespace {

constexpr int kWord = 4;  // answers that carry int32 results

struct network_route {
  int code;
  void (*decoder)(int count, const void *payload);
  int record_size;  // count = payload length / record_size (1: the length in bytes)
};

const network_route kRoutes[] = {
    {6724, on_cgi_set_default_route_cb, kWord},
    {8005, on_ip_conflict_cb, kWord},
    {8006, on_ip_conflict_cb, kWord},
    // Network services
    {6701, on_set_systime_cb, 1},
    {6729, on_cgi_set_multicast_cb, kWord},
    {7302, on_cgi_p2p_unbind_device_cb, kWord},
    {8309, on_get_ddns_status_cb, kWord},
    {8409, on_test_email_cb, kWord},
    {8700, on_enable_p2p_cb, kWord},
    {8701, on_disable_p2p_cb, kWord},
    {8702, on_p2p_status_info_cb, (int)sizeof(p2p_status_info)},
    // HTTPS certificates
    {8316, on_resp_create_cert, kWord},
    {8318, on_resp_install_cert, kWord},
};

}  // namespace

void on_network_ipc_callback(int, const kx_msg_head *head, const void *payload) {
  if (!payload || !head) return;
  int code = kx_response_code(head);
  for (const network_route &route : kRoutes) {
    if (route.code != code) continue;
    route.decoder(kx_response_length(head) / route.record_size, payload);
    return;
  }
}
