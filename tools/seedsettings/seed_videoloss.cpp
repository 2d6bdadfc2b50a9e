// Video loss of the cameras, the action schedules of the recorder's alarm
// inputs, and the system exceptions.
//
//   videoloss CHANNEL ENABLE TRIALARMS INTERVAL EMAILINTERVAL START END
//                                        what a video loss of the channel sets
//                                        off: the alarm outputs, the alarm and
//                                        e-mail intervals; the audible alarm
//                                        sounds every day (rows 0 to 7) from
//                                        START to END ("HH:MM")
//   alarminsche ID KIND START END        a schedule of recorder input ID, every
//                                        day: KIND arming, audible or email
//   exceptions INTERVAL WORD...          the record-failure mail interval and
//                                        the action words of the exception
//                                        types, in order (at most 12)
//   exceptionhttp NAME URL USER PASSWORD the HTTP target of the exception type
//                                        called NAME (URL and credentials
//                                        without blanks)
#include <cstdio>
#include <cstring>

#include "kxdb.h"
#include "kxdb_alarm.h"
#include "kxdb_exception.h"
#include "kxdb_videoloss.h"
#include "seed.h"

namespace {

schedule every_day(const std::string &start, const std::string &end) {
  schedule s = {};
  for (schedule_day &day : s.days) {
    snprintf(day.plans[0].start_time, sizeof day.plans[0].start_time, "%s", start.c_str());
    snprintf(day.plans[0].end_time, sizeof day.plans[0].end_time, "%s", end.c_str());
    day.plans[0].action_type = 1;
  }
  return s;
}

bool seed_video_loss(std::istringstream &in) {
  video_loss_params r = {};
  std::string start, end;
  if (!(in >> r.id >> r.enable >> r.triAlarms >> r.interval >> r.email_interval >> start >> end)) {
    return false;
  }
  r.email_enable = r.enable;
  schedule audible = every_day(start, end);
  return write_video_lost(KXDB_FILE, &r) == 0 &&
         write_videoloss_audible_schedule(KXDB_FILE, &audible, r.id) == 0;
}

bool seed_alarm_in_schedule(std::istringstream &in) {
  int id = -1;
  std::string kind, start, end;
  if (!(in >> id >> kind >> start >> end)) return false;
  schedule s = every_day(start, end);
  if (kind == "arming") return write_alarmin_effective_schedule(KXDB_FILE, &s, id) == 0;
  if (kind == "audible") return write_alarmin_audible_schedule(KXDB_FILE, &s, id) == 0;
  if (kind == "email") return write_alarmin_email_schedule(KXDB_FILE, &s, id) == 0;
  return false;
}

bool seed_exceptions(std::istringstream &in) {
  trigger_alarms_params t = {};
  if (!(in >> t.recordFailedMailInterval)) return false;
  int n = 0;
  while (n < EXCEPTION_ACTION_TYPES && in >> t.actions[n]) n++;
  return n > 0 && write_trigger_alarms(KXDB_FILE, &t) == 0;
}

bool seed_exception_http(std::istringstream &in) {
  std::string name, url, user, password;
  if (!(in >> name >> url >> user >> password)) return false;
  http_notification_params records[EXCEPTION_HTTP_TYPES] = {};
  if (read_http_notification_params_init(KXDB_FILE, EXCEPTION_HTTP_TABLE, records,
                                         EXCEPTION_HTTP_TYPES) != 0) {
    return false;
  }
  for (int i = 0; i < EXCEPTION_HTTP_TYPES; i++) {
    char type[EXCEPTION_NAME_SIZE];
    if (get_exception_name(i, type, sizeof type) != 0 || name != type) continue;
    http_notification_params &r = records[i];
    r.channel = i;
    snprintf(r.url, sizeof r.url, "%s", url.c_str());
    snprintf(r.username, sizeof r.username, "%s", user.c_str());
    snprintf(r.password, sizeof r.password, "%s", password.c_str());
    return write_http_notification_params_batch(KXDB_FILE, records, EXCEPTION_HTTP_TABLE,
                                                EXCEPTION_HTTP_TYPES) == 0;
  }
  return false;  // no exception type of that name
}

}  // namespace

SEED_KIND("videoloss", seed_video_loss)
SEED_KIND("alarminsche", seed_alarm_in_schedule)
SEED_KIND("exceptions", seed_exceptions)
SEED_KIND("exceptionhttp", seed_exception_http)
