// Audio of a camera: what it offers (encodings, their sample rates and bit
// rates) with its configuration ("/2063"), and a change of the
// configuration on several channels at once ("/2064").
#include <algorithm>
#include <cstring>
#include <memory>

#include "camera_extra.h"
#include "camera_extra_records.h"
#include "camera_util.h"

using namespace camera;

namespace {

using A = ipc_audio_config;
const JsonField kConfigFields[] = {
    CAMERA_INT(A, channel, "chnid", "chnid"), CAMERA_INT_KEY(A, audioEnable),
    CAMERA_INT_KEY(A, audioMode),             CAMERA_INT_KEY(A, denoise),
    CAMERA_INT_KEY(A, encoding),              CAMERA_INT_KEY(A, sampleRate),
    CAMERA_INT_KEY(A, inputGain),             CAMERA_INT_KEY(A, inputMode),
    CAMERA_INT_KEY(A, audioGainControl),      CAMERA_INT_KEY(A, outputVolume),
    CAMERA_INT_KEY(A, audioBitrate),
};

// The daemon's counts, held to the room the record has.
int bounded(int32_t count, int room) { return std::clamp<int32_t>(count, 0, room); }

json_object *sample_rate_json(const ipc_audio_sample_rate &rate) {
  json_object *entry = json_object_new_object();
  json_add_int(entry, "sampleRateValue", rate.value);
  json_object *bitrates = json_object_new_array();
  for (int i = 0; i < bounded(rate.bitrate_count, IPC_AUDIO_BITRATES); i++) {
    json_object_array_add(bitrates, json_object_new_int(rate.bitrates[i]));
  }
  json_object_object_add(entry, "bitrateInfo", bitrates);
  return entry;
}

json_object *option_json(const ipc_audio_option &option) {
  json_object *entry = json_object_new_object();
  json_add_int(entry, "encodeValue", option.encode);
  json_object *rates = json_object_new_array();
  for (int i = 0; i < bounded(option.sample_rate_count, IPC_AUDIO_SAMPLE_RATES); i++) {
    json_object_array_add(rates, sample_rate_json(option.sample_rates[i]));
  }
  json_object_object_add(entry, "sampleRateInfo", rates);
  return entry;
}

}  // namespace

namespace camera {
uint64_t channel_text_mask(const char *text, int channel) {
  uint64_t mask = 0;
  for (int i = 0; i < IPC_CHANNELS && text[i]; i++) {
    if (text[i] == '1') mask |= 1ULL << i;
  }
  if (channel >= 0 && channel < IPC_CHANNELS) mask |= 1ULL << channel;
  return mask;
}
}  // namespace camera

int on_cgi_get_ipc_audio_info(char *text) { return query_checked_channel(text, 3371); }

void on_cgi_get_ipc_audio_info_cb(const void *payload, int length) {
  if (!whole_record(length, sizeof(ipc_audio_info))) return;
  auto info = std::make_unique<ipc_audio_info>();
  memcpy(info.get(), payload, sizeof *info);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "res", info->res);
  json_add_int(reply.get(), "support", info->support);
  json_add_int(reply.get(), "supportMode", info->supportMode);
  json_add_int(reply.get(), "supportInputMode", info->supportInputMode);
  json_object *config = json_object_new_object();
  add_record(config, info->config, kConfigFields);
  json_object_object_add(reply.get(), "config", config);
  json_object *options = json_object_new_array();
  for (int i = 0; i < bounded(info->option_count, IPC_AUDIO_OPTIONS); i++) {
    json_object_array_add(options, option_json(info->options[i]));
  }
  json_object_object_add(reply.get(), "options", options);
  reply_json(reply.get());
}

int on_cgi_set_ipc_audio_info(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;  // no reply
  ipc_audio_set request = {};
  fill_record(root.get(), &request.config, kConfigFields);
  char channels[IPC_CHANNELS + 1] = {};
  member_text(root.get(), "channels", channels, sizeof channels);
  uint64_t mask = channel_text_mask(channels, request.config.channel);
  request.mask_low = (uint32_t)mask;
  request.mask_high = (uint32_t)(mask >> 32);
  query(3372, &request, sizeof request, CGI_REPLY_JSON);
  return 0;
}

void on_cgi_set_ipc_audio_info_cb(const void *payload, int length) {
  reply_set_result(payload, length);
}
