// The P2P cloud service: its state as the daemon reports it, enabling and
// disabling it, unbinding the recorder, and a registration test against the
// P2P server.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "network.h"
#include "p2p.h"

using namespace network;

namespace {

constexpr int P2P_TIMEOUT_MS = 5000;    // connection, and each send and receive
constexpr int P2P_KIND_REGISTER = 2;    // head of the registration test
constexpr int P2P_HEAD_VERSION = 1;
constexpr int P2P_ANSWER_REFUSED = 2;
constexpr int P2P_FORWARDED_TEXT = 128;  // of the server's further message
constexpr int P2P_MESSAGE_MAX = 4096;

// Result codes of the test, as the page shows them.
constexpr int P2P_TEST_DONE = 0;
constexpr int P2P_TEST_REFUSED = 2;
constexpr int P2P_TEST_NETWORK = 3;
constexpr int P2P_TEST_KEYS = 4;

template <size_t N, size_t M>
void copy_field(char (&to)[N], const char (&from)[M]) {
  static_assert(N >= M);
  memcpy(to, from, M);
}

p2p_device_block device_block(json_object *root) {
  p2p_device_block block = {};
  member_text(root, "sn", block.sn, sizeof block.sn);
  member_text(root, "deviceName", block.deviceName, sizeof block.deviceName);
  p2p_params stored{};
  read_p2p_info(KXDB_FILE, &stored);  // unreadable: empty texts
  char mac0[18], mac1[18];
  get_mac_addr(mac0, mac1);
  copy_field(block.mac, mac0);
  for (int i = 0; i < P2P_CLOUD_TEXTS; i++) copy_field(block.cloud_info[i], stored.cloud_info[i]);
  copy_field(block.cloud_key, stored.cloud_key);
  return block;
}

// The server's further message: its first 128 bytes, up to a NUL, go to the
// daemon as text.
int forward_server_text(int fd) {
  char message[P2P_MESSAGE_MAX];
  int length = p2p_recv(fd, message, sizeof message);
  if (length < 0) return P2P_TEST_NETWORK;
  int text = (int)strnlen(message, (size_t)std::min(length, P2P_FORWARDED_TEXT));
  cgi_send_notice(SERVICES_REQ_P2P_ENABLE, message, text);
  return P2P_TEST_DONE;
}

int register_on(int fd, const p2p_device_block &block) {
  char host[256];
  param_text(PARAM_P2P_SERVER, host, sizeof host);
  if (socket_connect(fd, host, P2P_SERVER_PORT, P2P_TIMEOUT_MS) != 0) return P2P_TEST_NETWORK;
  if (p2p_create_keyfile() != 0 || p2p_cli_switch_keyfile(fd) != 0) return P2P_TEST_KEYS;
  p2p_message_head head = {};
  head.kind = P2P_KIND_REGISTER;
  head.size = rsa_cal_ensize(sizeof block);
  head.version = P2P_HEAD_VERSION;
  if (p2p_send(fd, &head, sizeof head, 0) != 0 || p2p_send(fd, &block, sizeof block, 1) != 0) {
    return P2P_TEST_NETWORK;
  }
  p2p_message_head answer = {};
  if (p2p_recv(fd, &answer, sizeof answer) != (int)sizeof answer) return P2P_TEST_NETWORK;
  if (answer.status == P2P_ANSWER_REFUSED) return P2P_TEST_REFUSED;
  if (answer.status != 0) return P2P_TEST_DONE;
  return forward_server_text(fd);
}

const char *enable_result_text(int32_t result) {
  switch (result) {
    case 0: return "ERR_OK";
    case 2: return "ERR_NOTFOUND";
    case 3: return "ERR_NETWORK";
    case 5: return "ERR_MAC_FORMAT";
    case 6: return "ERR_AUTH_FAILED";
    case 7: return "ERR_NO_UUID";
    default: return "ERR_UNKNOWN";
  }
}

}  // namespace

int on_get_p2p_info(char *) {
  cgi_exchange(on_network_ipc_callback, SERVICES_REQ_P2P_STATUS, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

void on_p2p_status_info_cb(int count, const void *payload) {
  if (count < 1) return;  // shorter than the record: as no answer
  p2p_status_info s;
  memcpy(&s, payload, sizeof s);
  JsonPtr reply(json_object_new_object());
  json_object *o = reply.get();
  json_add_int(o, "enable", s.enable);
  json_add_int(o, "p2pstatus", s.p2pstatus);
  add_text(o, "model", s.model);
  add_text(o, "ipc", s.ipc);
  add_text(o, "cloudAccount", s.cloudAccount);
  add_text(o, "cloudServer", s.cloudServer);
  add_text(o, "registerCode", s.registerCode);
  add_text(o, "company", s.company);
  add_text(o, "email", s.email);
  add_text(o, "dealer", s.dealer);
  json_add_int(o, "region", s.region);
  json_writeback(CGI_REPLY_JSON, o);
  g_callback_done = 1;
}

int on_set_p2p_info(char *text) {
  JsonPtr root = parse_object(text);
  if (!root) return -1;
  int enable = member_int(root.get(), "enableP2P");
  p2p_params r{};
  if (enable != 0) {  // the daemon registers and stores what the cloud gives it
    r.enable = enable;
    r.region = member_int(root.get(), "region");
    cgi_exchange(on_network_ipc_callback, SERVICES_REQ_P2P_ENABLE, &r, sizeof r);
    return 0;
  }
  read_p2p_info(KXDB_FILE, &r);  // unreadable: go on from the zeroed record
  r.enable = 0;
  r.region = member_int(root.get(), "region");
  if (write_p2p_info(KXDB_FILE, &r) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  cgi_exchange(on_network_ipc_callback, SERVICES_REQ_P2P_DISABLE, &r, sizeof r);
  return 0;
}

void on_enable_p2p_cb(int count, const void *payload) {
  int32_t result;
  if (first_int(count, payload, &result)) cgi_reply_done(CGI_REPLY_TEXT, enable_result_text(result));
}

void on_disable_p2p_cb(int count, const void *payload) {
  int32_t result;
  if (first_int(count, payload, &result)) cgi_reply_done(CGI_REPLY_TEXT, result == 0 ? "OK" : "ERR");
}

int on_test_p2p(char *text) {
  JsonPtr root = parse_object(text);
  if (!root) return -1;
  p2p_device_block block = device_block(root.get());
  int fd = socket_create();
  int result = fd < 0 ? P2P_TEST_NETWORK : register_on(fd, block);
  socket_destroy(fd);
  char reply[16];
  snprintf(reply, sizeof reply, "%d", result);
  cgi_writeback_webserver(CGI_REPLY_TEXT, reply);
  return 0;
}

int on_cgi_p2p_unbind_device(char *) {
  cgi_exchange(on_network_ipc_callback, SERVICES_REQ_P2P_UNBIND, nullptr, 0, CGI_REPLY_JSON);
  return 0;
}

void on_cgi_p2p_unbind_device_cb(int count, const void *) {
  if (count >= 1) reply_int_done("res", 0);
}
