// The live image of a channel: brightness, contrast, saturation, sharpness
// and noise reduction, read from the daemon, set, or reset to the defaults.
#include <cmath>

#include "playback_util.h"

using namespace playback;

namespace {

constexpr int kImageDefault = 128;  // mid-scale of the 0 to 255 settings

bool in_byte_range(json_object *root, const char *key) {
  int value = member_int(root, key);
  return has_member(root, key) && value >= 0 && value <= 255;
}

// id 0 to 15; brightness, contrast and saturation 0 to 255; all present.
bool check_channel_image_info(json_object *root) {
  return has_member(root, "id") && is_player_channel(member_int(root, "id")) &&
         in_byte_range(root, "brightness") && in_byte_range(root, "contrast") &&
         in_byte_range(root, "saturation");
}

// A 0 to 255 setting as a percentage, rounded half up.
int32_t percent(int32_t value) {
  return (int32_t)std::floor((double)value * 100.0 / 255.0 + 0.5);
}

image_log_detail log_detail_of(const image_request &image) {
  return {percent(image.brightness), percent(image.contrast), percent(image.saturation),
          percent(image.Sharpness), percent(image.NoiseReduction)};
}

}  // namespace

int on_get_channel_image_info(char *text) {
  JsonPtr root = parse_object(text);
  if (!root) return -1;
  int32_t channel = member_int(root.get(), "chnid");
  if (!is_player_channel(channel)) return -1;
  exchange(3002, &channel, sizeof channel);
  return 0;
}

int on_set_channel_image_info(char *text) {
  JsonPtr root = parse_object(text);
  if (!root || !check_channel_image_info(root.get())) return -1;
  json_object *r = root.get();
  image_request image = {member_int(r, "id"),        member_int(r, "brightness"),
                         member_int(r, "contrast"),  member_int(r, "saturation"),
                         member_int(r, "Sharpness"), member_int(r, "NoiseReduction"),
                         member_int(r, "i2ddnr")};
  notify(1205, image);
  image_log_detail detail = log_detail_of(image);
  send_playback_log(LOG_SUB_IMAGE, log_channel(image.id), IMAGE_LOG_DETAIL_KIND, &detail,
                    sizeof detail);
  reply_ok();
  return 0;
}

int on_reset_channel_image_info(char *text) {
  int channel = 0;
  if (!bare_number(text, &channel) || !is_player_channel(channel)) return -1;
  image_request image = {channel,       kImageDefault, kImageDefault, kImageDefault,
                         kImageDefault, kImageDefault, 0};
  notify(1205, image);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "ChannelId", channel);
  json_add_int(reply.get(), "Brightness", kImageDefault);
  json_add_int(reply.get(), "Contrast", kImageDefault);
  json_add_int(reply.get(), "Saturation", kImageDefault);
  json_add_int(reply.get(), "Sharpness", kImageDefault);
  json_add_int(reply.get(), "NoiseReduction", kImageDefault);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

// 8002: the channel's image, or {"status": "ERROR"} when it has none.
void on_get_channel_image_info_cb(const void *payload, int length) {
  image_info_record info;
  if (!answer_record(payload, length, &info)) {
    g_callback_done = 1;  // too short: no reply
    return;
  }
  if (info.status < 0) {
    reply_status("ERROR");
    return;
  }
  JsonPtr reply(json_object_new_object());
  json_add_text(reply.get(), "status", "OK");
  json_add_int(reply.get(), "brightness", info.brightness);
  json_add_int(reply.get(), "contrast", info.contrast);
  json_add_int(reply.get(), "saturation", info.saturation);
  json_add_int(reply.get(), "Sharpness", info.Sharpness);
  json_add_int(reply.get(), "NoiseReduction", info.NoiseReduction);
  json_add_int(reply.get(), "i2ddnr", info.i2ddnr);
  json_add_int(reply.get(), "supportLpr", info.supportLpr);
  json_add_int(reply.get(), "isNtPlatform", info.isNtPlatform);
  json_add_int(reply.get(), "isPanoramaStitch", info.isPanoramaStitch);
  reply_json(reply.get());
}
