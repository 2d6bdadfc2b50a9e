// "/6044", "/6045": a channel's recording settings, and settings stored for
// several channels with the recorded stream and the cameras' ANR flag.
#include <cstdint>
#include <cstring>
#include <memory>

#include "record_util.h"

using namespace record;

namespace {

constexpr int kProtocolRtsp = 1;
constexpr int kStreamTypeMax = 2;

// The member is present and its value lies in low .. high.
bool present_in(json_object *request, const char *key, int low, int high) {
  int v = member_int(request, key);
  return has_member(request, key) && v >= low && v <= high;
}

bool check_record_settings(json_object *request) {
  for (const char *key : {"cnt", "chnid", "camAnr"}) {
    if (!has_member(request, key)) return false;
  }
  return present_in(request, "prevRecordOn", 0, 1) &&
         present_in(request, "prevRecordDuration", 0, INT32_MAX) &&
         present_in(request, "postRecordOn", 0, 1) &&
         present_in(request, "postRecordDuration", INT32_MIN, INT32_MAX) &&
         present_in(request, "audioEnable", 0, 1) &&
         present_in(request, "recordStreamType", 0, kStreamTypeMax);
}

// Turning ANR on needs an enabled camera the recorder reaches itself: not
// on a PoE port and not a bare RTSP source. Turning it off always applies.
bool anr_applies(const camera_params &camera, int anr) {
  return anr == 0 ||
         (camera.enable != 0 && camera.poechannel == 0 && camera.camProtocol != kProtocolRtsp);
}

// What one request changes, and the lists the daemon is told.
struct Change {
  std::unique_ptr<record_params[]> records{new record_params[RECORD_CHANNELS]};
  std::unique_ptr<camera_params[]> cameras{new camera_params[CAMERA_CHANNELS]};
  uint64_t written = 0, stream = 0, anr = 0;
  record_channel_list channels = {};
  record_anr_list anr_list = {};
};

// Each channel enters each list once: a repeated entry cannot overrun it.
void apply_channel(json_object *request, int channel, Change *c) {
  uint64_t bit = 1ULL << channel;
  if (!(c->written & bit)) c->channels.channels[c->channels.count++] = channel;
  c->written |= bit;
  record_params &r = c->records[channel];
  r.prevRecordOn = member_int(request, "prevRecordOn");
  r.prevRecordDuration = member_int(request, "prevRecordDuration");
  r.postRecordOn = member_int(request, "postRecordOn");
  r.postRecordDuration = member_int(request, "postRecordDuration");
  r.audioEnable = member_int(request, "audioEnable");
  r.recordExpDate = member_int(request, "recordExpDate");
  const camera_params &camera = c->cameras[channel];
  if (camera.record_stream != member_int(request, "recordStreamType")) c->stream |= bit;
  int anr = c->anr_list.anr;
  if (camera.anr == anr || !anr_applies(camera, anr) || (c->anr & bit)) return;
  c->anr |= bit;
  c->anr_list.channels[c->anr_list.count++] = channel;
}

bool store(const Change &c, json_object *request) {
  int stream = member_int(request, "recordStreamType");
  return kxdb_transaction(KXDB_FILE, [&] {
    return write_records(KXDB_FILE, c.records.get(), c.written) == 0 &&
           copy_table_column_int(KXDB_FILE, CAMERA_TABLE, "anr", c.anr_list.anr, c.anr, "id") ==
               0 &&
           copy_table_column_int(KXDB_FILE, CAMERA_TABLE, "record_stream", stream, c.stream,
                                 "id") == 0;
  }) == 0;
}

}  // namespace

int on_get_record_settings(char *text) {
  int channel;
  if (!channel_request(text, &channel)) return -1;
  record_params r = {};
  r.id = channel;
  read_record(KXDB_FILE, &r, channel);
  auto camera = std::make_unique<camera_params>();
  camera->id = channel;
  read_camera(KXDB_FILE, camera.get(), channel);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "id", channel);
  json_add_int(reply.get(), "prevRecordOn", r.prevRecordOn);
  json_add_int(reply.get(), "prevRecordDuration", r.prevRecordDuration);
  json_add_int(reply.get(), "postRecordOn", r.postRecordOn);
  json_add_int(reply.get(), "postRecordDuration", r.postRecordDuration);
  json_add_int(reply.get(), "audioEnable", r.audioEnable);
  json_add_int(reply.get(), "recordStreamType", camera->record_stream);
  json_add_int(reply.get(), "recordExpDate", r.recordExpDate);
  json_add_int(reply.get(), "cameraAnr", camera->anr);
  json_add_int(reply.get(), "camEnable", camera->enable);
  json_add_int(reply.get(), "camProtocol", camera->camProtocol);
  json_add_int(reply.get(), "poeChannel", camera->poechannel);
  return json_writeback(CGI_REPLY_JSON, reply.get());
}

int on_set_record_settings(char *text) {
  JsonPtr request(get_request_tokener_json_object(text));
  if (!request || !check_record_settings(request.get())) return -1;
  Change change;
  load_records(change.records.get());
  load_cameras(change.cameras.get());
  change.anr_list.anr = member_int(request.get(), "camAnr");
  for_each_listed(json_member(request.get(), "chnid"), member_int(request.get(), "cnt"),
                  [&](int channel) {
                    if (channel_valid(channel)) apply_channel(request.get(), channel, &change);
                  });
  if (!store(change, request.get())) return cgi_error_to_webserver(CGI_REPLY_JSON);
  cgi_send_notice(1310, &change.channels, sizeof change.channels);
  send_record_log(LOG_PARAM_RECORD_SETTINGS, 0);
  cgi_exchange(on_record_ipc_callback, 2285, &change.anr_list, sizeof change.anr_list,
               CGI_REPLY_JSON);
  return 0;
}

// 7285: -1 when the daemon flags a failure for two or more cameras and one
// of the results it counts is non-zero; otherwise 0.
void on_set_record_settings_cb(const void *payload, int length) {
  if (length < (int)sizeof(record_anr_result)) return;  // short: as if nothing came
  record_anr_result answer;
  memcpy(&answer, payload, sizeof answer);
  int count = answer.count < 0 ? 0 : answer.count > RECORD_LIST_MAX ? RECORD_LIST_MAX : answer.count;
  bool failed = false;
  for (int i = 0; i < count; i++) failed = failed || answer.result[i] != 0;
  int value = answer.flag != 0 && answer.count >= 2 && failed ? -1 : 0;
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "resp", value);
  reply_json_done(reply.get());
}
