// The daemon's status pages: interfaces, traffic, camera streams, usage
// totals, channel support and the logged-in users; and the disk groups
// from the settings.
#include <cstring>

#include "kxdb_camera.h"
#include "kxdb_osd.h"
#include "status.h"
#include "status_records.h"
#include "storage/storage.h"

namespace {

constexpr int kMaxChannels = 64;  // name tables and channel masks hold 64

// Records of `T` the payload holds; 0 when it holds not even one, which the
// decoders treat like a missing answer.
template <class T>
int record_count(int length) {
  return length < (int)sizeof(T) ? 0 : length / (int)sizeof(T);
}

template <class T>
T record_at(const void *payload, int i) {
  T record;
  memcpy(&record, static_cast<const char *>(payload) + (size_t)i * sizeof(T), sizeof record);
  return record;
}

void add_field(json_object *o, const char *key, const char *field, size_t width) {
  json_object_object_add(o, key, json_field_string(field, width));
}
#define ADD_FIELD(o, r, name) add_field(o, #name, r.name, sizeof r.name)

void reply_json(json_object *reply) {
  json_writeback(CGI_REPLY_JSON, reply);
  g_callback_done = 1;
}

json_object *netif_object(const netif_status_record &r) {
  json_object *o = json_object_new_object();
  ADD_FIELD(o, r, ifname);
  json_add_int(o, "id", r.id);
  json_add_int(o, "state", r.state);
  json_add_int(o, "speedMode", r.speedMode);
  json_add_int(o, "duplex", r.duplex);
  json_add_int(o, "enable", r.enable);
  json_add_int(o, "dhcpEnable", r.dhcpEnable);
  ADD_FIELD(o, r, ipAddr);
  ADD_FIELD(o, r, MAC);
  ADD_FIELD(o, r, primaryDNS);
  ADD_FIELD(o, r, secondDNS);
  ADD_FIELD(o, r, gateway);
  ADD_FIELD(o, r, netmask);
  json_add_int(o, "mtu", r.mtu);
  json_add_int(o, "ip6mode", r.ip6mode);
  ADD_FIELD(o, r, ip6address);
  json_add_int(o, "ip6prefix", r.ip6prefix);
  ADD_FIELD(o, r, ip6gateway);
  return o;
}

json_object *speed_object(const netif_speed_record &r) {
  json_object *o = json_object_new_object();
  json_add_int(o, "id", r.id);
  ADD_FIELD(o, r, ifname);
  json_add_int(o, "RxSpeed", r.RxSpeed);
  json_add_int(o, "TxSpeed", r.TxSpeed);
  return o;
}

json_object *stream_object(const stream_status &s) {
  json_object *res = json_object_new_object();
  json_add_int(res, "width", s.width);
  json_add_int(res, "height", s.height);
  json_object *o = json_object_new_object();
  json_object_object_add(o, "res", res);
  json_add_int(o, "framerate", s.framerate);
  json_add_int(o, "bitrate", s.bitrate);
  json_add_int(o, "connection", s.connection);
  json_add_int(o, "connectStatus", s.connectStatus);
  return o;
}

json_object *no_stream_object() {
  json_object *o = json_object_new_object();
  for (const char *key : {"res", "framerate", "bitrate", "connection"}) {
    json_add_text(o, key, "--");
  }
  return o;
}

// The channel's name and address from the settings (zeroed when unreadable).
json_object *camera_object(int channel) {
  camera_params camera = {};
  osd_params osd = {};
  read_camera(KXDB_FILE, &camera, channel);
  read_osd(KXDB_FILE, &osd, channel);
  json_object *o = json_object_new_object();
  json_add_int(o, "id", channel);
  add_field(o, "name", osd.camName, sizeof osd.camName);
  json_add_int(o, "enable", camera.enable);
  std::string address = field_text(camera.ipAddr);
  json_add_text(o, "ipAddr", address.empty() ? "--" : address);
  return o;
}

void add_streams(json_object *o, const camera_stream_record &r) {
  json_add_int(o, "recordOn", r.recordOn);
  json_add_int(o, "alarmOn", r.alarmOn);
  json_object_object_add(o, "main", stream_object(r.main));
  json_object_object_add(o, "sub", stream_object(r.sub));
}

void add_no_streams(json_object *o) {
  json_add_text(o, "recordOn", "--");
  json_add_text(o, "alarmOn", "--");
  json_object_object_add(o, "main", no_stream_object());
  json_object_object_add(o, "sub", no_stream_object());
}

json_object *user_object(const online_user_record &r) {
  json_object *o = json_object_new_object();
  ADD_FIELD(o, r, userName);
  json_add_int(o, "userLevel", r.userLevel);
  ADD_FIELD(o, r, ipaddr);
  ADD_FIELD(o, r, loginTime);
  return o;
}

char support_char(int32_t support) { return support == 1 ? '1' : '0'; }
char type_char(int32_t type) { return type == 1 ? '1' : type == 2 ? '2' : '0'; }

void exchange(int code) {
  cgi_exchange(on_status_ipc_callback, code, nullptr, 0, CGI_REPLY_JSON);
}

}  // namespace

int status_camera_count() {
  int count = param_int(PARAM_MAX_CAMERAS);
  return count < 0 ? 0 : count > kMaxChannels ? kMaxChannels : count;
}

int on_get_netif_status(char *) {
  exchange(3301);
  return 0;
}

void on_get_netif_status_cb(const void *payload, int length) {
  int count = record_count<netif_status_record>(length);
  if (count == 0) return;
  JsonPtr reply(json_object_new_object());
  json_object *list = json_object_new_array();
  for (int i = 0; i < count; i++) {
    json_object_array_add(list, netif_object(record_at<netif_status_record>(payload, i)));
  }
  json_object_object_add(reply.get(), "netif", list);
  reply_json(reply.get());
}

int on_get_netif_speed(char *) {
  exchange(3302);
  return 0;
}

void on_get_netif_speed_cb(const void *payload, int length) {
  int count = record_count<netif_speed_record>(length);
  if (count == 0) return;
  JsonPtr reply(json_object_new_object());
  json_object *list = json_object_new_array();
  for (int i = 0; i < count; i++) {
    json_object_array_add(list, speed_object(record_at<netif_speed_record>(payload, i)));
  }
  json_object_object_add(reply.get(), "netif", list);
  reply_json(reply.get());
}

int on_get_camera_status(char *) {
  exchange(3300);
  return 0;
}

// The records come ordered by channel; a channel without one shows "--".
void on_get_camera_status_cb(const void *payload, int length) {
  int count = record_count<camera_stream_record>(length);
  if (count == 0) return;
  JsonPtr reply(json_object_new_object());
  json_object *list = json_object_new_array();
  int next = 0;
  int cameras = status_camera_count();
  for (int channel = 0; channel < cameras; channel++) {
    json_object *o = camera_object(channel);
    camera_stream_record r = {};
    if (next < count) r = record_at<camera_stream_record>(payload, next);
    if (next < count && r.channel == channel) {
      add_streams(o, r);
      next++;
    } else {
      add_no_streams(o);
    }
    json_object_array_add(list, o);
  }
  json_object_object_add(reply.get(), "IPC", list);
  reply_json(reply.get());
}

// The page calls it and expects nothing back.
int on_get_status_reserved(char *) { return 0; }

int on_get_usage_totals(char *) {
  exchange(3306);
  return 0;
}

void on_get_usage_totals_cb(const void *payload, int length) {
  if (record_count<usage_totals_record>(length) == 0) return;
  usage_totals_record r = record_at<usage_totals_record>(payload, 0);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "total", r.total);
  json_add_int(reply.get(), "free", r.free);
  json_add_int(reply.get(), "used", r.used);
  reply_json(reply.get());
}

int on_get_channel_support(char *) {
  exchange(3263);
  return 0;
}

void on_get_channel_support_cb(const void *payload, int length) {
  if (record_count<channel_support_record>(length) < SUPPORT_CHANNELS) return;
  std::string support(SUPPORT_CHANNELS, '0'), type(SUPPORT_CHANNELS, '0');
  for (int i = 0; i < SUPPORT_CHANNELS; i++) {
    channel_support_record r = record_at<channel_support_record>(payload, i);
    support[i] = support_char(r.support);
    type[i] = type_char(r.type);
  }
  JsonPtr reply(json_object_new_object());
  json_add_text(reply.get(), "support", support);
  json_add_text(reply.get(), "type", type);
  reply_json(reply.get());
}

int on_get_disk_group_status(char *) {
  JsonPtr reply(json_object_new_object());
  add_disk_group_members(reply.get());
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_cgi_get_online_user_status(char *) {
  exchange(1719);
  return 0;
}

// A bare array. Records are 164 bytes apart and the count is taken with
// the same size, so that no record reaches past the payload.
void on_cgi_get_online_user_status_cb(const void *payload, int length) {
  int count = record_count<online_user_record>(length);
  if (count == 0) return;
  JsonPtr reply(json_object_new_array());
  for (int i = 0; i < count; i++) {
    json_object_array_add(reply.get(), user_object(record_at<online_user_record>(payload, i)));
  }
  reply_json(reply.get());
}
