// Main and sub stream of the cameras: what a camera can do and does now
// ("/2009"), and new encoding settings for one camera ("/2010") or several
// ("/2030").
#include <cstdio>
#include <cstring>

#include "camera_util.h"
#include "kxdb_camera.h"
#include "kxdb_ipc_model.h"
#include "kxdb_osd.h"
#include "request_reset.h"

using namespace camera;

namespace {

using SS = stream_setting;

// Stream capabilities are offered for the first 16 channels only.
constexpr int kStreamQueryChannels = 16;

// Settings of the queried channel, read by the handler before the exchange
// so that the decoder (on the receive thread) touches no database.
struct StoredChannel {
  osd_params osd;
  camera_params camera;
  ipc_model model;
};
StoredChannel g_stored;

// Words both stream writes take from keys of the same name.
const JsonField kStreamFields[] = {
    CAMERA_INT_KEY(SS, subEnable),
    CAMERA_INT_KEY(SS, fisheyeType),
    CAMERA_INT_KEY(SS, mainVideoType),
    CAMERA_INT_KEY(SS, mainResWidth),
    CAMERA_INT_KEY(SS, mainResHeight),
    CAMERA_INT_KEY(SS, mainFramerate),
    CAMERA_INT_KEY(SS, mainBitrate),
    CAMERA_INT_KEY(SS, IframeInterval),
    CAMERA_INT_KEY(SS, SmartStream),
    CAMERA_INT_KEY(SS, SmartStreamLevel),
    CAMERA_INT_KEY(SS, subVideoType),
    CAMERA_INT_KEY(SS, subResWidth),
    CAMERA_INT_KEY(SS, subResHeight),
    CAMERA_INT_KEY(SS, subFramerate),
    CAMERA_INT_KEY(SS, subBitrate),
    CAMERA_INT_KEY(SS, subIframeInterval),
    CAMERA_INT_KEY(SS, SubSmartStream),
    CAMERA_INT_KEY(SS, SubSmartStreamLevel),
};

// The payload with every "leave unchanged" word set and the shared keys
// filled; the caller sets the channels and the words that differ.
stream_setting stream_setting_of(json_object *root) {
  stream_setting s = {};
  s.transmitProtocol = STREAM_UNCHANGED;
  s.syncTime = STREAM_UNCHANGED;
  s.keep0 = STREAM_UNCHANGED;
  s.recordtype = STREAM_UNCHANGED;
  s.etframerate = STREAM_UNCHANGED;
  s.etIframeinterval = STREAM_UNCHANGED;
  s.etbitrate = STREAM_UNCHANGED;
  for (int32_t &w : s.keep1) w = STREAM_UNCHANGED;
  fill_record(root, &s, kStreamFields);
  return s;
}

bool present_and_not_negative(json_object *root, const char *key) {
  return has_member(root, key) && member_int(root, key) >= 0;
}

bool check_ipc_stream_param_info(json_object *root) {
  int id = member_int(root, "id", -1);
  if (id < 0 || id >= IPC_CHANNELS) return false;
  for (const char *key : {"mainFramerate", "mainBitrate", "mainResWidth", "mainResHeight"}) {
    if (!present_and_not_negative(root, key)) return false;
  }
  if (!has_member(root, "subEnable")) return false;
  int audio = member_int(root, "audioEnable", -1);
  return audio == 0 || audio == 1;
}

json_object *resolution_object(const stream_resolution &r) {
  json_object *o = json_object_new_object();
  json_add_int(o, "width", r.width);
  json_add_int(o, "height", r.height);
  char name[32];
  snprintf(name, sizeof name, "%d*%d", r.width, r.height);
  json_add_text(o, "name", name);
  return o;
}

json_object *stream_object(const stream_capability &s) {
  json_object *res = json_object_new_array();
  int current = -1;
  for (int i = 0; i < STREAM_RESOLUTIONS; i++) {
    const stream_resolution &r = s.res[i];
    if (r.width == 0 || r.height == 0) break;
    if (current < 0 && r.width == s.curWidth && r.height == s.curHeight) current = i;
    json_object_array_add(res, resolution_object(r));
  }
  json_object *o = json_object_new_object();
  json_add_int(o, "curRes", current < 0 ? 0 : current);
  json_object_object_add(o, "res", res);
  json_add_int(o, "framerateMax", s.framerateMax);
  json_add_int(o, "framerateMin", s.framerateMin);
  json_add_int(o, "bitrateMax", s.bitrateMax);
  json_add_int(o, "bitrateMin", s.bitrateMin);
  json_add_int(o, "framerate", s.framerate);
  json_add_int(o, "bitrate", s.bitrate);
  json_add_int(o, "iframeinterval", s.iframeinterval);
  json_add_int(o, "iframeIntervalMin", s.iframeIntervalMin);
  json_add_int(o, "iframeIntervalMax", s.iframeIntervalMax);
  json_add_int(o, "bitrateCtrl", s.bitrateCtrl);
  return o;
}

// What the recorder stores of the channel, between the camera's words.
void add_stored_channel(json_object *reply, const StoredChannel &stored) {
  const camera_params &c = stored.camera;
  json_add_int(reply, "syncTime", c.syncTime);
  json_add_text(reply, "protocol", field_text(stored.model.name));
  json_add_int(reply, "managePort", c.managePort);
  json_add_int(reply, "physicalport", c.physicalport);
  json_add_int(reply, "poechannel", c.poechannel);
  json_add_text(reply, "mac_addr", field_text(c.mac_addr));
  json_add_int(reply, "transmitProtocol", c.transmitProtocol);
  json_add_text(reply, "ddns", field_text(c.ddns));
  json_add_int(reply, "httpsPort", c.httpsPort);
}

}  // namespace

int on_get_ipc_stream_param(char *text) {
  int channel = -1;
  if (on_cgi_get_value_by_json(text, "chnid", &channel) != 0 || channel < 0 ||
      channel >= kStreamQueryChannels) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  g_stored = {};
  read_osd(KXDB_FILE, &g_stored.osd, channel);
  read_camera(KXDB_FILE, &g_stored.camera, channel);
  // An unknown protocol value finds no model: the name stays empty.
  read_ipc_model(KXDB_FILE, &g_stored.model, g_stored.camera.camProtocol);
  int32_t request = channel;
  query(3204, &request, sizeof request, CGI_REPLY_JSON);
  return 0;
}

void on_get_ipc_stream_param_cb(const void *payload, int) {
  stream_capabilities caps;
  memcpy(&caps, payload, sizeof caps);
  JsonPtr reply(json_object_new_object());
  json_object *r = reply.get();
  json_add_int(r, "stateCode", caps.stateCode);
  if (caps.stateCode != 0) {
    reply_json(r);
    return;
  }
  json_add_int(r, "id", caps.channel);
  json_add_text(r, "name", field_text(g_stored.osd.camName));
  json_add_int(r, "subEnable", caps.subEnable);
  json_add_int(r, "audioEnable", caps.audioEnable);
  json_add_int(r, "videoTypeEnable", caps.videoTypeEnable);
  json_add_int(r, "mainVideoType", caps.main.videoType);
  json_add_int(r, "subVideoType", caps.sub.videoType);
  json_add_int(r, "ipc_type", caps.ipcType);
  add_stored_channel(r, g_stored);
  json_add_int(r, "mainStream", caps.mainStream);
  json_add_int(r, "subStream", caps.subStream);
  json_add_int(r, "SupportSmartStream", caps.supportSmartStream);
  json_add_int(r, "SmartStream", caps.smartStream);
  json_add_int(r, "SmartStreamLevel", caps.smartStreamLevel);
  json_add_int(r, "SubSupportSmartStream", caps.subSupportSmartStream);
  json_add_int(r, "SubSmartStream", caps.subSmartStream);
  json_add_int(r, "SubSmartStreamLevel", caps.subSmartStreamLevel);
  json_object_object_add(r, "main", stream_object(caps.main));
  json_object_object_add(r, "sub", stream_object(caps.sub));
  json_add_int(r, "mainGop", caps.mainGop);
  json_add_int(r, "subGop", caps.subGop);
  json_add_int(r, "thirdGop", caps.thirdGop);
  reply_json(r);
}

// One camera: its transmission and time-sync settings stay as they are.
int on_set_ipc_stream_param(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || !check_ipc_stream_param_info(root.get())) return -1;
  stream_setting s = stream_setting_of(root.get());
  channel_mask_text(1ULL << member_int(root.get(), "id"), s.channels);
  s.videoTypeEnable = member_int(root.get(), "videoTypeEnable");
  s.mainBitrateControl = member_int(root.get(), "bitrateControl");
  s.subBitrateControl = member_int(root.get(), "SubBitrateControl");
  set_and_wait(3203, &s, sizeof s, CGI_REPLY_TEXT);
  return 0;
}

// Several cameras: "chans" flags the channels, entry i for channel i.
int on_set_ipc_stream_param_batch(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  stream_setting s = stream_setting_of(root.get());
  json_object *chans = json_member(root.get(), "chans");
  uint64_t mask = 0;
  for (int i = 0; i < IPC_CHANNELS && i < array_length(chans); i++) {
    if (json_object_get_int(array_at(chans, i)) != 0) mask |= 1ULL << i;
  }
  channel_mask_text(mask, s.channels);
  s.transmitProtocol = member_int(root.get(), "transmitProtocol");
  s.syncTime = member_int(root.get(), "syncTime");
  s.videoTypeEnable = 1;
  s.mainBitrateControl = member_int(root.get(), "mainBitrateControl");
  s.subBitrateControl = member_int(root.get(), "subBitrateControl");
  set_and_wait(3203, &s, sizeof s, CGI_REPLY_JSON);
  return 0;
}

// The channels the daemon changed, as a channel mask text.
void on_set_ipc_stream_param_cb(const void *payload, int) {
  stream_setting_answer answer;
  memcpy(&answer, payload, sizeof answer);
  char text[IPC_CHANNELS + 1];
  channel_mask_text((uint64_t)answer.high << 32 | answer.low, text);
  JsonPtr reply(json_object_new_object());
  json_add_text(reply.get(), "res", text);
  reply_json(reply.get());
}

namespace {
void reset_stored_channel() {
  g_stored = {};
}
}  // namespace

CGI_RESET_HOOK(reset_stored_channel)
