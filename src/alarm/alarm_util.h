// Helpers the alarm handlers share: ranges, replies, notices and the log,
// the trigger-channel rule, and the linkage actions that recorder inputs
// and camera inputs both keep (schedules, white light, HTTP notification,
// PTZ list and the action fields of their records).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "alarm.h"
#include "kxdb_motion.h"  // white-light and HTTP schedules of every event kind

// Module-private: a namespace of their own, so that the generic names do
// not meet other modules' helpers in the one program.
namespace alarms {

// Operation-log entries of the alarm pages: sub type and parameter types.
constexpr int LOG_SUB_ALARM = 204;
constexpr int LOG_PARAM_ALARM_IN = 910;
constexpr int LOG_PARAM_ALARM_OUT = 911;

// PTZ action lists: event type 0 for the recorder's inputs, 26 + index for
// the cameras' inputs (the types below belong to other events).
constexpr int PTZ_EVENT_ALARM_IN = 0;
constexpr int PTZ_EVENT_CAMERA_IN = 26;
// PTZ and white-light lists exist for keys 0 to 15 only.
constexpr int ACTION_LIST_KEYS = 16;

bool in_valid(int id);       // 0 to 15
bool out_valid(int id);      // 0 to 3
bool channel_valid(int ch);  // 0 to 63
// The member as a number when it is present and within low..high.
bool member_in_range(json_object *object, const char *key, int low, int high, int *value);
// A count clamped to 0..capacity; the same of a request's member.
int clamp_count(int count, int capacity);
int clamped_count(json_object *object, const char *key, int capacity);
// The stored input, or the zeroed one when it cannot be read; either way
// it carries its id.
alarm_in_params stored_input(int id);

// The first "copyCnt" entries of "copyChn" that lie in 0..count-1 and are
// not `source`, as a mask (the page's copy list of recorder inputs or
// outputs).
uint64_t copy_targets(json_object *json, int source, int count);

void reply_text(const char *text);
void reply_json_error();
void reply_text_error();

// Sent without waiting.
void send_number_notice(int code, int32_t number);
void send_mask_notice(int code, uint64_t mask);
void send_alarm_log(int param_type, int number);  // 3485, number + 1
void send_alarm_log_mask(int param_type, int number, uint64_t mask);  // 3509

// Bit i for each '1' at position i below 32 (the daemon's mask has 32 bits).
uint32_t trigger_mask(const char *text, size_t width);
// Stores the trigger-channel text (within its field) and its mask.
template <size_t N>
void set_tri_channels(char (&text)[N], uint32_t *mask, json_object *value) {
  json_copy_text(value, text, N);
  *mask = trigger_mask(text, N);
}

// The two camera-output selections: elements the request leaves out keep
// their texts.
void apply_alarm_outputs(json_object *json, int key, char (&texts)[2][ALARM_CHANNELS_SIZE]);

// Each action key present sets its field; true when one was present.
// "interval" and "email_interval" raise their flag words as well.
template <class Record>
bool apply_linkage_fields(json_object *json, int key, Record *r) {
  bool present = false;
  auto set_int = [&](const char *name, int32_t *field) {
    if (!has_member(json, name)) return false;
    *field = member_int(json, name);
    present = true;
    return true;
  };
  auto set_text = [&](const char *name, char *field, size_t size) {
    if (!has_member(json, name)) return;
    member_text(json, name, field, size);
    present = true;
  };
  set_int("triAlarms", &r->triAlarms);
  if (set_int("interval", &r->interval)) r->interval_enable = ALARM_FLAG_SET;
  if (set_int("email_interval", &r->email_interval)) {
    if constexpr (requires { r->email_enable; }) r->email_enable = ALARM_FLAG_SET;
  }
  set_int("audioId", &r->audioId);
  set_int("email_pic_enable", &r->email_pic_enable);
  set_int("ptz_interval", &r->ptz_interval);
  set_int("alarmout_interval", &r->alarmout_interval);
  set_int("white_interval", &r->white_interval);
  set_int("http_notification_interval", &r->http_notification_interval);
  set_text("tri_channels_pic", r->tri_channels_pic, sizeof r->tri_channels_pic);
  if constexpr (requires { r->triSnapshot; }) {
    set_text("triSnapshot", r->triSnapshot, sizeof r->triSnapshot);
  }
  if (has_member(json, "triChannels")) {
    set_tri_channels(r->triChannels, &r->trigger_mask, json_member(json, "triChannels"));
    present = true;
  }
  if (has_member(json, "triChnAlarms")) {
    apply_alarm_outputs(json, key, r->triChnAlarms);
    present = true;
  }
  return present;
}

// Where one input keeps its linkage settings: a recorder input under its
// id, a camera input under its channel with tables of its own index.
struct Linkage {
  int key;
  int index;  // camera input index, -1 for a recorder input
  int ptz_type;
  char white_schedule[48];
  char white_params[48];
  char http_schedule[48];
  char http_params[48];
};
Linkage recorder_linkage(int id);
Linkage camera_linkage(int channel, int index);

// The four linkage schedules.
enum class LinkageSchedule { effective, audible, email, ptz };
int read_linkage_schedule(const Linkage &l, LinkageSchedule which, schedule *s);

// Stores what the dialog gives: the four schedules, white light, HTTP
// notification and the PTZ list. -1 when a write failed, else 1 when the
// PTZ list was stored, 0 when not.
int store_linkage(json_object *dialog, const Linkage &l);
// Copies the schedules, PTZ list, white light and HTTP notification of the
// linkage's key to every key of the mask. False when a read or write failed.
bool copy_linkage(const Linkage &l, uint64_t mask);

// The reply members every input's page shows, from the stored settings.
void add_schedule(json_object *reply, const char *key, const Linkage &l, LinkageSchedule which);
void add_white(json_object *reply, const Linkage &l);
void add_http(json_object *reply, const Linkage &l);
void add_alarm_outputs(json_object *reply, const char (&texts)[2][ALARM_CHANNELS_SIZE]);
void add_ptz_params(json_object *reply, const Linkage &l);

}  // namespace alarms
