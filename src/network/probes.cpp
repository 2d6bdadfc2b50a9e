// IP conflict tests, asked of the daemon, and the port that carries the
// default route.
#include <cstring>

#include "network.h"

using network::first_int;
using network::parse_object;

int on_ip_conflict(char *text) {
  JsonPtr root = parse_object(text);
  if (!root) return -1;
  ip_conflict_request request = {};
  on_cgi_get_string_from_json(root.get(), "ip", request.ip, sizeof request.ip);
  cgi_exchange(on_network_ipc_callback, NETWORK_REQ_IP_CONFLICT, &request, sizeof request);
  return 0;
}

int on_ip_conflict_by_dev(char *text) {
  JsonPtr root = parse_object(text);
  if (!root) return -1;
  ip_conflict_dev_request request = {};
  on_cgi_get_string_from_json(root.get(), "dev", request.dev, sizeof request.dev);
  on_cgi_get_string_from_json(root.get(), "ip", request.ip, sizeof request.ip);
  cgi_exchange(on_network_ipc_callback, NETWORK_REQ_IP_CONFLICT_DEV, &request, sizeof request);
  return 0;
}

// The daemon answers 0 for a free address.
void on_ip_conflict_cb(int count, const void *payload) {
  int32_t result;
  if (!first_int(count, payload, &result)) return;
  cgi_reply_done(CGI_REPLY_TEXT, result != 0 ? "-1" : "0");
}

int on_cgi_set_default_route(char *text) {
  JsonPtr root = parse_object(text);
  network_params record{};
  if (!root || read_network(KXDB_FILE, &record) != 0) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  record.defaultRoute = 0;  // a body without the key selects the first port
  on_cgi_get_int_from_json(root.get(), "defaultRoute", &record.defaultRoute);
  if (write_network(KXDB_FILE, &record) != 0) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  int32_t route = record.defaultRoute;
  cgi_exchange(on_network_ipc_callback, NETWORK_REQ_DEFAULT_ROUTE, &route, sizeof route,
               CGI_REPLY_JSON);
  return 0;
}

void on_cgi_set_default_route_cb(int count, const void *payload) {
  int32_t result;
  if (first_int(count, payload, &result)) network::reply_int_done("res", result);
}
