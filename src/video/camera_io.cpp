// The cameras' own alarm I/O event and audio volume detection: the camera
// holds the detection (asked with 3213/3215, set with 3214/3216), the
// recorder what the event sets off (channels to record, actions).
#include <cstring>

#include "camera_events.h"
#include "kxdb_snapshot.h"
#include "video_util.h"

using namespace video;

namespace {

// Fields every answer must hold: up to the end of its trigger text.
constexpr int kIoAnswerMin = offsetof(camera_io_answer, triChannels) + CAMERA_TRIGGER_TEXT;
constexpr int kVolumeAnswerMin =
    offsetof(volume_detect_answer, triChannels) + CAMERA_TRIGGER_TEXT;

// The answer record, or false when the payload is too short to hold it.
template <class T>
bool take_answer(const void *payload, int length, int min_length, T *out) {
  if (!payload || length < min_length) return false;
  *out = T{};
  memcpy(out, payload, (size_t)length < sizeof *out ? (size_t)length : sizeof *out);
  return true;
}

// The reader's request text is the channel; no reply for a missing (or
// empty) text or one that is no channel.
int ask_camera(const char *text, int code) {
  int value;
  if (!text || !*text || !text_channel(text, &value)) return -1;
  int32_t channel = value;
  cgi_exchange(on_video_ipc_callback, code, &channel, sizeof channel, CGI_REPLY_JSON);
  return 0;
}

// The keys every trigger set requires, each present, with camId a channel,
// enable below 2 and type not negative.
bool trigger_keys_ok(json_object *j) {
  for (const char *key : {"camId", "enable", "type", "triActions", "triChannels"}) {
    if (!has_member(j, key)) return false;
  }
  return channel_valid(member_int(j, "camId")) && member_int(j, "enable") < 2 &&
         member_int(j, "type") >= 0;
}

bool volume_keys_ok(json_object *j) {
  for (const char *key : {"volume", "duration", "onEvent", "offEvent", "ongoingEvent"}) {
    if (!has_member(j, key) || member_int(j, key) < 0) return false;
  }
  return true;
}

camera_trigger_params trigger_record(json_object *j) {
  camera_trigger_params r = {};
  r.camId = member_int(j, "camId");
  r.enable = member_int(j, "enable");
  r.triActions = member_int(j, "triActions");
  json_copy_text(json_member(j, "triChannels"), r.triChannels, sizeof r.triChannels);
  r.trigger_mask = trigger_mask(r.triChannels, sizeof r.triChannels);
  return r;
}

void send_camera_event_log(int param_type, int channel) {
  log_info entry;
  cgi_init_log_info(&entry);
  entry.sub_type = LOG_SUB_MOTION;
  entry.param_type = param_type;
  entry.channel = channel + 1;  // the log counts channels from 1
  cgi_send_log_info(&entry);
}

// Parsed and complete, or null: such a request gets no reply.
json_object *trigger_request(JsonPtr &root, bool volume) {
  json_object *j = root.get();
  if (!j || !trigger_keys_ok(j) || (volume && !volume_keys_ok(j))) return nullptr;
  return j;
}

int reply_store_failed() {
  cgi_error_to_webserver(CGI_REPLY_TEXT);
  return -1;
}

}  // namespace

int on_get_camera_io_alarm(char *text) {
  return ask_camera(text, CAMERA_IO_GET);
}

int on_get_volume_detect(char *text) {
  return ask_camera(text, VOLUME_DETECT_GET);
}

int on_set_camera_io_alarm(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  json_object *j = trigger_request(root, false);
  if (!j) return -1;
  camera_trigger_params r = trigger_record(j);
  if (write_cameraio(KXDB_FILE, &r) != 0) return reply_store_failed();
  camera_io_set set = {r.camId, r.enable, member_int(j, "type")};
  cgi_send_notice(CAMERA_IO_SET, &set, sizeof set);
  send_camera_event_log(LOG_PARAM_CAMERA_IO, r.camId);
  reply_text("OK");
  return 0;
}

int on_set_volume_detect(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  json_object *j = trigger_request(root, true);
  if (!j) return -1;
  camera_trigger_params r = trigger_record(j);
  if (write_volumedetect(KXDB_FILE, &r) != 0) return reply_store_failed();
  volume_detect_set set = {};
  set.camId = r.camId;
  set.enable = r.enable;
  set.type = member_int(j, "type");
  set.volume = member_int(j, "volume");
  set.duration = member_int(j, "duration");
  set.onEvent = member_int(j, "onEvent");
  set.offEvent = member_int(j, "offEvent");
  set.ongoingEvent = member_int(j, "ongoingEvent");
  cgi_send_notice(VOLUME_DETECT_SET, &set, sizeof set);
  send_camera_event_log(LOG_PARAM_VOLUME_DETECT, r.camId);
  reply_text("OK");
  return 0;
}

void on_get_camera_io_alarm_cb(const void *payload, int length) {
  camera_io_answer a;
  if (!take_answer(payload, length, kIoAnswerMin, &a)) return;
  JsonPtr reply(json_object_new_object());
  json_object *r = reply.get();
  if (r) {
    json_add_int(r, "camId", a.camId);
    json_add_int(r, "enable", a.enable);
    json_add_int(r, "type", a.type);
    json_add_int(r, "triActions", a.triActions);
    json_add_text(r, "triChannels", field_text(a.triChannels));
  }
  reply_decoded_json(r);
}

void on_get_volume_detect_cb(const void *payload, int length) {
  volume_detect_answer a;
  if (!take_answer(payload, length, kVolumeAnswerMin, &a)) return;
  JsonPtr reply(json_object_new_object());
  json_object *r = reply.get();
  if (r) {
    json_add_int(r, "camId", a.camId);
    json_add_int(r, "enable", a.enable);
    json_add_int(r, "type", a.type);
    json_add_int(r, "volume", a.volume);
    json_add_int(r, "duration", a.duration);
    json_add_int(r, "onEvent", a.onEvent);
    json_add_int(r, "offEvent", a.offEvent);
    json_add_int(r, "ongoingEvent", a.ongoingEvent);
    json_add_int(r, "triActions", a.triActions);
    json_add_text(r, "triChannels", field_text(a.triChannels));
  }
  reply_decoded_json(r);
}
