// Motion week schedules of one channel, one family of readers and one of
// writers: the page exchanges 8 days of 12 plans each.
#include "video_util.h"

using namespace video;

namespace {

using ScheduleReader = int (*)(const char *, schedule *, int);
using ScheduleWriter = int (*)(const char *, const schedule *, int);

// The request text is the channel. A channel outside 0 to 63, or a failed
// read, shows the empty schedule.
int reply_stored_schedule(const char *text, ScheduleReader read) {
  schedule s = {};
  int channel;
  if (text_channel(text, &channel)) read(KXDB_FILE, &s, channel);
  JsonPtr reply(get_schedule_json_object(&s));
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

// {"camId", "schedule"}: "schedule" is 8 days of [start, end, action] plans;
// missing days, plans or elements are stored empty. `answer_bad_channel`:
// whether a "camId" outside 0 to 63 is answered with the error text.
int store_schedule(const char *text, ScheduleWriter write, bool answer_bad_channel) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  int channel = member_int(root.get(), "camId");
  if (!channel_valid(channel)) {
    if (answer_bad_channel) cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  schedule s = {};
  get_schedule_by_json(root.get(), "schedule", &s);
  if (write(KXDB_FILE, &s, channel) != 0) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  notify_motion_changed(channel);
  reply_text("OK");
  return 0;
}

}  // namespace

int OnGetMotionSchedule(char *text) {
  return reply_stored_schedule(text, read_motion_audible_schedule);
}

int on_get_move_email_sche(char *text) {
  return reply_stored_schedule(text, read_motion_email_schedule);
}

int on_get_move_effective_sche(char *text) {
  return reply_stored_schedule(text, read_motion_effective_schedule);
}

int on_get_move_ptz_sche(char *text) {
  return reply_stored_schedule(text, read_motion_ptz_schedule);
}

// The older page sends no error text of its own: a bad channel gets no reply.
int OnSetMotionSchedule(char *text) {
  return store_schedule(text, write_motion_schedule, false);
}

int on_set_move_effective_sche(char *text) {
  return store_schedule(text, write_motion_effective_schedule, true);
}

int on_set_move_ptz_sche(char *text) {
  return store_schedule(text, write_motion_ptz_schedule, true);
}

// The e-mail switch and interval go into the motion record, the schedule
// beside it; both are one step.
int on_set_move_email_sche(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  json_object *json = root.get();
  int channel = member_int(json, "camId");
  if (!channel_valid(channel)) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  motion_params m = stored_motion(channel);
  m.email_enable = member_int(json, "enable");
  m.email_interval = member_int(json, "interval");
  schedule s = {};
  get_schedule_by_json(json, "schedule", &s);
  bool stored = kxdb_transaction(KXDB_FILE, [&] {
                  return write_motion(KXDB_FILE, &m) == 0 &&
                         write_motion_email_schedule(KXDB_FILE, &s, channel) == 0;
                }) == 0;
  if (!stored) {
    cgi_error_to_webserver(CGI_REPLY_TEXT);
    return -1;
  }
  notify_motion_changed(channel);
  reply_text("OK");
  return 0;
}
