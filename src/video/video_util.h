// Helpers the event and video handlers share: reading requests, the motion
// record's trigger channels, the daemon notices and the operation log.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "json_codecs.h"
#include "video.h"

// Module-private: a namespace of their own, so that the generic names do
// not meet other modules' helpers in the one program.
namespace video {

// Table names under which motion keeps its white-light and HTTP settings.
constexpr const char *MOTION_WHITE_SCHEDULE = "motion_whiteled_esche";
constexpr const char *MOTION_WHITE_PARAMS = "motion_white_led_params";
constexpr const char *MOTION_HTTP_SCHEDULE = "motion_http_notification_sche";
constexpr const char *MOTION_HTTP_PARAMS = "motion_http_notification_params";
constexpr int PTZ_EVENT_MOTION = 1;  // event type of motion's PTZ action list
// Event types that have PTZ action lists: 0 alarm input, 1 motion, 2 video
// loss, 5 to 13 analytics, 15 to 17 plate lists, 20 people counting, 22 to
// 25 regional counting.
constexpr int PTZ_EVENT_TYPE_MAX = 25;

// Operation-log entry of a motion change: sub type and parameter type.
constexpr int LOG_SUB_MOTION = 204;
constexpr int LOG_PARAM_MOTION = 909;

bool channel_valid(int channel);  // 0 to 63
// True when the member is present and a channel (0 to 63); *channel set then.
bool member_channel(json_object *object, const char *key, int *channel);
// The channel of a schedule reader's request text (a bare number); false
// when it is no channel.
bool text_channel(const char *text, int *channel);

void reply_text(const char *text);
// A decoder's reply: the object, or the JSON error when it could not be
// built; either way the request's one reply is written.
void reply_decoded_json(json_object *reply);

// ---- The motion record ----
// Bit i for each '1' at position i below 32; the rest of the text counts
// for nothing (the daemon's mask has 32 bits).
uint32_t trigger_mask(const char *text, size_t width);
// The stored record of a channel, or the zeroed one when it cannot be read;
// either way it carries the channel as its id.
motion_params stored_motion(int channel);
// Stores the trigger-channel text (at most 64 characters) and its mask.
void set_tri_channels(motion_params *record, json_object *value);

// ---- Action settings every event kind keeps ----
// The white-light parameters ("whiteInfo") and the HTTP-notification target
// ("httpParams") of a channel under the event's table: true when stored or
// not given, false when the write failed.
bool store_white_params(json_object *json, int channel, const char *table);
bool store_http_params(json_object *json, int channel, const char *table);
// The PTZ action list of "ptzChnId" and "ptzType": 1 stored, 0 not given
// (or not a list, or for no PTZ channel), -1 when the write failed.
int store_ptz_list(json_object *json);
// The alarm-output pair "triChnAlarms": elements the request leaves out
// keep their texts.
void apply_alarm_outputs(json_object *json, int channel, char (*texts)[MOTION_CHANNELS_SIZE]);

// A whole-number action field of an event record and its request key.
template <class Event>
struct EventField {
  const char *key;
  int32_t Event::*field;
};
// The action keys every event record shares: the alarm-output pair, the
// given number fields, the picture channels and the trigger channels with
// their mask. Each key present sets its field; true when one was present.
template <class Event>
bool apply_event_fields(json_object *json, Event *e, int channel,
                        std::span<const EventField<Event>> fields) {
  bool present = false;
  if (has_member(json, "triChnAlarms")) {
    apply_alarm_outputs(json, channel, e->triChnAlarms);
    present = true;
  }
  for (const EventField<Event> &f : fields) {
    if (!has_member(json, f.key)) continue;
    e->*f.field = member_int(json, f.key);
    present = true;
  }
  if (has_member(json, "tri_channels_pic")) {
    member_text(json, "tri_channels_pic", e->tri_channels_pic, sizeof e->tri_channels_pic);
    present = true;
  }
  if (has_member(json, "triChannels")) {
    json_copy_text(json_member(json, "triChannels"), e->triChannels, sizeof e->triChannels);
    e->trigger_mask = trigger_mask(e->triChannels, sizeof e->triChannels);
    present = true;
  }
  return present;
}

// ---- Daemon notices and the log, sent without waiting ----
void notify_motion_changed(int channel);    // 1403
void notify_motion_copied(uint64_t mask);   // 1410
void send_motion_log(int channel);          // 3485, channel + 1
void send_motion_log_channels(uint64_t mask);  // 3509
// The always-armed week of the camera's motion detection, list empty.
camera_motion_week whole_week(int channel);
// Appends a channel to a list payload, within its capacity.
void add_to_list(int32_t *list, int32_t *count, int channel);
// Camera-side detection of one channel: 3212 on or off, and when on, 3209
// with the whole week.
void send_camera_motion_state(int channel, int enableKX);

}  // namespace video
