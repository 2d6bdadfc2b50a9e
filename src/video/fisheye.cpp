// Fisheye cameras: the mount, display and correction modes of a channel's
// camera (3232 asks, 3231 sets), and a fisheye camera reached by address
// (3373 checks what it supports, 3374 sets its modes). Nothing is stored.
#include <cstring>

#include "camera_events.h"
#include "video_util.h"

using namespace video;

namespace {

fisheye_address address_record(json_object *j) {
  fisheye_address a = {};
  member_text(j, "ddns", a.ddns, sizeof a.ddns);
  member_text(j, "ipaddr", a.ipaddr, sizeof a.ipaddr);
  member_text(j, "username", a.username, sizeof a.username);
  member_text(j, "password", a.password, sizeof a.password);
  a.port = member_int(j, "port");
  return a;
}

template <class T>
bool take_answer(const void *payload, int length, T *out) {
  if (!payload || length < (int)sizeof *out) return false;
  memcpy(out, payload, sizeof *out);
  return true;
}

}  // namespace

int on_cgi_get_fisheye_mode(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int channel;
  if (!root || !member_channel(root.get(), "id", &channel)) return -1;
  int32_t payload = channel;
  // The fisheye page reads the error as text.
  cgi_exchange(on_video_ipc_callback, FISHEYE_MODE_GET, &payload, sizeof payload, CGI_REPLY_TEXT);
  return 0;
}

int on_cgi_set_fisheye_mode(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  json_object *j = root.get();
  fisheye_mode m = {};
  m.chnid = member_int(j, "chnid");
  m.fishmount = member_int(j, "fishmount");
  m.fishdisplay = member_int(j, "fishdisplay");
  m.fishcorrect = member_int(j, "fishcorrect");
  cgi_exchange(on_video_ipc_callback, FISHEYE_MODE_SET, &m, sizeof m, CGI_REPLY_JSON);
  return 0;
}

int on_cgi_check_fisheye_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  fisheye_address a = address_record(root.get());
  cgi_exchange(on_video_ipc_callback, FISHEYE_CHECK, &a, sizeof a, CGI_REPLY_JSON);
  return 0;
}

int on_cgi_set_fisheye_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  json_object *j = root.get();
  fisheye_address_set s = {};
  s.address = address_record(j);
  s.transfer = member_int(j, "transfer");
  s.install = member_int(j, "install");
  s.display = member_int(j, "display");
  cgi_exchange(on_video_ipc_callback, FISHEYE_ADDRESS_SET, &s, sizeof s, CGI_REPLY_JSON);
  return 0;
}

void on_get_fisheye_mode_cb(const void *payload, int length) {
  fisheye_mode m;
  if (!take_answer(payload, length, &m)) return;
  JsonPtr reply(json_object_new_object());
  json_object *r = reply.get();
  if (r) {
    json_add_int(r, "chnid", m.chnid);
    json_add_int(r, "result", m.result);
    json_add_int(r, "fishmount", m.fishmount);
    json_add_int(r, "fishdisplay", m.fishdisplay);
    json_add_int(r, "fishcorrect", m.fishcorrect);
  }
  reply_decoded_json(r);
}

void on_check_fisheye_info_cb(const void *payload, int length) {
  fisheye_support s;
  if (!take_answer(payload, length, &s)) return;
  JsonPtr reply(json_object_new_object());
  json_object *r = reply.get();
  if (r) {
    json_add_int(r, "support", s.support == 1 ? 1 : 0);
    json_add_int(r, "transfer", s.transfer);
    json_add_int(r, "install", s.install);
    json_add_int(r, "display", s.display);
    json_add_int(r, "streamCnt", s.streamCnt);
  }
  reply_decoded_json(r);
}
