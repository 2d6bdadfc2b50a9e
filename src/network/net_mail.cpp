// E-mail (SMTP) settings with the recorder's host name, and the test mail.
#include <cstdio>

#include "network.h"

using namespace network;

namespace {

constexpr int LOG_SUB_SETTINGS = 204;
constexpr int LOG_PARAM_EMAIL = 917;

bool check_email_info(json_object *root) {
  int tls = member_int(root, "enableTls"), attach = member_int(root, "enableAttach");
  return member_int(root, "smtpPort") >= 0 && tls >= 0 && tls <= 2 &&
         (attach == 0 || attach == 1) && member_int(root, "captureInterval") >= 0;
}

json_object *receivers_json(const email_params &r) {
  json_object *array = json_object_new_array();
  for (const email_receiver &receiver : r.receivers) {
    json_object *o = json_object_new_object();
    add_text(o, "receiverAddr", receiver.receiverAddr);
    add_text(o, "receiverName", receiver.receiverName);
    json_object_array_add(array, o);
  }
  return array;
}

// The present members of the first three elements replace the stored ones.
void take_receivers(json_object *root, email_params *r) {
  json_object *array = json_member(root, "receivers");
  for (int i = 0; i < EMAIL_RECEIVERS && i < array_length(array); i++) {
    json_object *element = array_at(array, i);
    if (!element || !json_object_is_type(element, json_type_object)) continue;
    take_text(element, "receiverAddr", r->receivers[i].receiverAddr);
    take_text(element, "receiverName", r->receivers[i].receiverName);
  }
}

void take_email(json_object *root, email_params *r) {
  take_int(root, "enable", &r->enable);
  take_text(root, "userName", r->userName);
  take_text(root, "password", r->password);
  take_text(root, "smtpServer", r->smtpServer);
  take_int(root, "smtpPort", &r->smtpPort);
  take_text(root, "senderAddr", r->senderAddr);
  take_text(root, "senderName", r->senderName);
  take_int(root, "enableTls", &r->enableTls);
  take_int(root, "enableAttach", &r->enableAttach);
  take_int(root, "captureInterval", &r->captureInterval);
  take_receivers(root, r);
}

}  // namespace

int on_get_email_info(char *) {
  email_params r{};
  read_email(KXDB_FILE, &r);
  port_params ports{};
  read_port(KXDB_FILE, &ports);
  JsonPtr reply(json_object_new_object());
  json_object *o = reply.get();
  json_add_int(o, "enable", r.enable);
  add_text(o, "userName", r.userName);
  add_text(o, "password", r.password);
  add_text(o, "smtpServer", r.smtpServer);
  json_add_int(o, "smtpPort", r.smtpPort);
  add_text(o, "senderAddr", r.senderAddr);
  add_text(o, "senderName", r.senderName);
  json_add_int(o, "enableTls", r.enableTls);
  json_add_int(o, "enableAttach", r.enableAttach);
  json_add_int(o, "captureInterval", r.captureInterval);
  json_add_int(o, "enableHostName", ports.enableHostName);
  add_text(o, "hostName", ports.hostName);
  json_object_object_add(o, "receivers", receivers_json(r));
  json_writeback(CGI_REPLY_JSON, o);
  return 0;
}

int on_set_email_info(char *text) {
  JsonPtr root = parse_object(text);
  if (!root || !check_email_info(root.get())) return -1;
  email_params r{};
  read_email(KXDB_FILE, &r);  // unreadable: go on from the zeroed record
  take_email(root.get(), &r);
  port_params ports{};
  read_port(KXDB_FILE, &ports);
  take_int(root.get(), "enableHostName", &ports.enableHostName);
  take_text(root.get(), "hostName", ports.hostName);
  if (write_email(KXDB_FILE, &r) != 0 || write_port(KXDB_FILE, &ports) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  notify_changed("mail");
  send_log(LOG_SUB_SETTINGS, LOG_PARAM_EMAIL);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  return 0;
}

int on_test_email(char *) {
  test_email_request request = {"testmail"};
  cgi_exchange(on_network_ipc_callback, SERVICES_REQ_TEST_EMAIL, &request, sizeof request);
  return 0;
}

void on_test_email_cb(int count, const void *payload) {
  int32_t result;
  if (first_int(count, payload, &result)) cgi_reply_done(CGI_REPLY_TEXT, result != 0 ? "ERROR" : "OK");
}
