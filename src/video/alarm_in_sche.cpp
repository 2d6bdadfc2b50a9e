// Action schedules of the recorder's alarm inputs, and the pages that set
// one thing for several inputs at once. The input records are those of the
// alarm pages; only the inputs 0 to 15 exist.
#include <cstring>

#include "video_loss_util.h"

using namespace vloss;

namespace {

// {"schedule", "cnt", "chnid", ...}: the request's schedule and the listed
// inputs, or false when the body does not parse.
struct InputRequest {
  JsonPtr root;
  schedule s = {};
  uint64_t listed = 0;
};

bool parse_input_request(const char *text, InputRequest *r) {
  r->root.reset(get_request_tokener_json_object(text));
  if (!r->root) return false;
  r->s = request_schedule(r->root.get());
  r->listed = listed_mask(r->root.get(), ALARM_IN_COUNT);
  return true;
}

// Changes the listed inputs with `apply` (true when the input changed),
// writes the changed ones and copies the schedule to the listed ones, as
// one step; then notice 1415 with the listed mask.
template <class Apply>
int store_inputs(const InputRequest &r, ScheduleCopier copy, Apply apply) {
  bool stored = kxdb_transaction(KXDB_FILE, [&] {
                  alarm_in_params inputs[ALARM_IN_COUNT] = {};
                  int count = 0;
                  if (read_alarm_ins(KXDB_FILE, inputs, &count) != 0) return false;
                  uint64_t changed = 0;
                  for (int n = 0; n < ALARM_IN_COUNT; n++) {
                    if ((r.listed >> n & 1) && apply(&inputs[n])) changed |= 1ULL << n;
                  }
                  return write_alarm_ins(KXDB_FILE, inputs, ALARM_IN_COUNT, changed) == 0 &&
                         copy(KXDB_FILE, &r.s, r.listed) == 0;
                }) == 0;
  if (!stored) {
    reply_text_error();
    return -1;
  }
  send_mask_notice(ALARM_INS_CHANGED_NOTICE, r.listed);
  reply_ok();
  return 0;
}

}  // namespace

int on_get_alarmin_email_sche(char *text) {
  return reply_schedule(text, read_alarmin_email_schedule, 0);
}

// The older page's reader: numbers the channel range does not hold get no
// reply; inputs from 16 on show the empty schedule.
int on_get_alarmin_audible_sche(char *text) {
  return reply_schedule(text, read_alarmin_audible_schedule, 64);
}

int on_get_alarmin_ptz_sche(char *text) {
  return reply_schedule(text, read_alarmin_ptz_schedule, 0);
}

int on_get_alarmin_effective_sche(char *text) {
  return reply_schedule(text, read_alarmin_effective_schedule, 0);
}

int on_set_alarmin_audible_sche(char *text) {
  InputRequest r;
  if (!parse_input_request(text, &r)) return -1;
  int enable = member_int(r.root.get(), "enable");
  int interval = member_int(r.root.get(), "interval");
  return store_inputs(r, copy_alarmin_audible_schedules, [&](alarm_in_params *in) {
    if (in->enable == enable && in->interval == interval) return false;
    in->enable = enable;
    in->interval = interval;
    return true;
  });
}

int on_set_alarmin_email_sche(char *text) {
  InputRequest r;
  if (!parse_input_request(text, &r)) return -1;
  json_object *json = r.root.get();
  int enable = member_int(json, "enable");
  int interval = member_int(json, "interval");
  return store_inputs(r, copy_alarmin_email_schedules, [&](alarm_in_params *in) {
    in->email_enable = enable;
    in->email_interval = interval;
    member_text(json, "triSnapshot", in->triSnapshot, sizeof in->triSnapshot);
    return true;
  });
}

// {"camId", "type", "cnt", "chnid", "triAlarms" or "triChannels"}: the
// outputs (type not 0) or the trigger channels (type 0) of the listed
// inputs, and the arming schedule of "camId" copied to them. An input that
// does not exist changes nothing and gets no reply.
int on_set_alarm_others(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  json_object *json = root.get();
  int source = member_int(json, "camId", -1);
  if (!input_valid(source)) return -1;
  int type = member_int(json, "type");
  int tri_alarms = member_int(json, "triAlarms");
  char channels[ALARM_CHANNELS_SIZE] = {};
  member_text(json, "triChannels", channels, sizeof channels);
  uint32_t trigger = video::trigger_mask(channels, sizeof channels);
  uint64_t mask = listed_mask(json, ALARM_IN_COUNT);
  bool stored = kxdb_transaction(KXDB_FILE, [&] {
                  schedule s = {};
                  alarm_in_params inputs[ALARM_IN_COUNT] = {};
                  int count = 0;
                  if (read_alarmin_effective_schedule(KXDB_FILE, &s, source) != 0) return false;
                  if (read_alarm_ins(KXDB_FILE, inputs, &count) != 0) return false;
                  for (int n = 0; n < ALARM_IN_COUNT; n++) {
                    if (!(mask >> n & 1)) continue;
                    if (type != 0) {
                      inputs[n].triAlarms = tri_alarms;
                      continue;
                    }
                    memcpy(inputs[n].triChannels, channels, sizeof channels);
                    inputs[n].trigger_mask = trigger;
                  }
                  return copy_alarmin_effective_schedules(KXDB_FILE, &s, mask) == 0 &&
                         write_alarm_ins(KXDB_FILE, inputs, ALARM_IN_COUNT, mask) == 0;
                }) == 0;
  if (!stored) {
    reply_text_error();
    return -1;
  }
  send_mask_notice(ALARM_INS_CHANGED_NOTICE, mask);
  send_log_mask(LOG_PARAM_ALARM_IN, mask);
  reply_ok();
  return 0;
}

int on_set_alarmin_ptz_sche(char *text) {
  return store_ptz_schedule(text, PTZ_EVENT_ALARM_IN, ALARM_IN_COUNT, copy_alarmin_ptz_schedules,
                            ALARM_INS_CHANGED_NOTICE);
}

// {"camId", "schedule"}: the arming schedule of one input.
int on_set_alarmin_effective_sche(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int input = member_int(root.get(), "camId", -1);
  if (!input_valid(input)) {
    reply_text_error();
    return -1;
  }
  schedule s = request_schedule(root.get());
  if (write_alarmin_effective_schedule(KXDB_FILE, &s, input) != 0) {
    reply_text_error();
    return -1;
  }
  send_number_notice(ALARM_IN_ARMING_NOTICE, input);
  reply_ok();
  return 0;
}
