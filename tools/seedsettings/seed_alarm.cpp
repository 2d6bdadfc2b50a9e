// Alarm inputs and outputs of the recorder and of the cameras.
//
//   alarmin ID ENABLE TYPE NAME          a recorder input (ID 0 to 15, TYPE
//                                        0 or 1; NAME with "_" for blanks)
//   alarmout ID ENABLE TYPE DURATION NAME
//                                        a recorder output (ID 0 to 3)
//   camalarmin CHANNEL INDEX NAME        the name of a camera's input
//                                        (INDEX 0 to 3)
//   camalarmout CHANNEL INDEX DELAY NAME the name and delay of a camera's
//                                        output (INDEX 0 or 1)
#include <cstdio>

#include "kxdb.h"
#include "kxdb_alarm.h"
#include "seed.h"

namespace {

template <size_t N>
void put_text(char (&field)[N], const std::string &word) {
  snprintf(field, N, "%s", seed_text(word).c_str());
}

bool seed_alarm_in(std::istringstream &in) {
  alarm_in_params r = {};
  std::string name;
  if (!(in >> r.id >> r.enable >> r.type >> name)) return false;
  if (read_alarm_in(KXDB_FILE, &r, r.id) != 0) return false;
  put_text(r.name, name);
  return write_alarm_in(KXDB_FILE, &r) == 0;
}

bool seed_alarm_out(std::istringstream &in) {
  alarm_out_params r = {};
  std::string name;
  if (!(in >> r.id >> r.enable >> r.type >> r.durationTime >> name)) return false;
  put_text(r.name, name);
  return write_alarm_out(KXDB_FILE, &r) == 0;
}

bool seed_camera_alarm_in(std::istringstream &in) {
  alarm_chnin_name r = {};
  std::string name;
  if (!(in >> r.chn >> r.index >> name)) return false;
  put_text(r.alarmName, name);
  return write_alarm_chnIn_event_name(KXDB_FILE, &r) == 0;
}

bool seed_camera_alarm_out(std::istringstream &in) {
  alarm_chnout_name r = {};
  std::string name;
  if (!(in >> r.chn >> r.index >> r.delayTime >> name)) return false;
  put_text(r.alarmName, name);
  return write_alarm_chnOut_event_name(KXDB_FILE, &r) == 0;
}

}  // namespace

SEED_KIND("alarmin", seed_alarm_in)
SEED_KIND("alarmout", seed_alarm_out)
SEED_KIND("camalarmin", seed_camera_alarm_in)
SEED_KIND("camalarmout", seed_camera_alarm_out)
