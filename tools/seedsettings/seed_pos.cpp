// POS connections, people-counting groups and their report backups.
//
//   pos ID NAME IP PORT PROTOCOL CHANNEL a POS connection (ID 0 to 7), enabled,
//                                        its transaction text shown on the live
//                                        view of CHANNEL (NAME with "_" for each
//                                        blank)
//   peoplecnt GROUP NAME CHANNELS        an enabled counting group (GROUP 0 to
//                                        8) over the cameras of CHANNELS ('0'/'1'
//                                        per channel), live view reset daily
//   pcreport INDEX TYPE GROUPS DAY TIME  an enabled report backup (INDEX 0 to
//                                        3) of the groups GROUPS ('0'/'1' per
//                                        group) on weekday DAY at TIME
#include <cstdio>

#include "kxdb.h"
#include "kxdb_peoplecnt.h"
#include "kxdb_pos.h"
#include "seed.h"

namespace {

bool seed_pos(std::istringstream &in) {
  pos_setting pos = {};
  std::string name, ip;
  if (!(in >> pos.id >> name >> ip >> pos.port >> pos.protocol >> pos.displayChannel)) {
    return false;
  }
  pos.enable = 1;
  pos.liveviewDisplay = 1;
  snprintf(pos.name, sizeof pos.name, "%s", seed_text(name).c_str());
  snprintf(pos.ip, sizeof pos.ip, "%s", ip.c_str());
  pos.areaWidth = 30;  // percent of the picture
  pos.areaHeight = 40;
  pos.fontSize = 2;
  pos.displayTime = 10;
  pos.timeout = 30;
  return write_pos_setting(KXDB_FILE, &pos) == 0;
}

bool seed_peoplecnt(std::istringstream &in) {
  peoplecnt_settings group = {};
  std::string name, channels;
  if (!(in >> group.groupid >> name >> channels)) return false;
  if (group.groupid < 0 || group.groupid >= PEOPLECNT_GROUPS) return false;
  group.enable = 1;
  group.liveview_auto_reset = 1;
  group.auto_day = 1;
  group.liveview_font_size = 2;
  snprintf(group.name, sizeof group.name, "%s", seed_text(name).c_str());
  snprintf(group.auto_day_time, sizeof group.auto_day_time, "00:00:00");
  snprintf(group.tri_channels, sizeof group.tri_channels, "%s", channels.c_str());
  snprintf(group.liveview_green_tips, sizeof group.liveview_green_tips, "Welcome");
  snprintf(group.liveview_red_tips, sizeof group.liveview_red_tips, "Please wait");
  return write_peoplecnt_settings(KXDB_FILE, &group, 1) == 0;
}

bool seed_report(std::istringstream &in) {
  int index = -1;
  std::string groups, time;
  peoplecnt_report reports[PEOPLECNT_REPORTS] = {};
  if (read_report_auto_backup(KXDB_FILE, reports, nullptr) != 0) return false;
  if (!(in >> index) || index < 0 || index >= PEOPLECNT_REPORTS) return false;
  peoplecnt_report &r = reports[index];
  if (!(in >> r.reportType >> groups >> r.backupDay >> time)) return false;
  r.enable = 1;
  snprintf(r.triGroups, sizeof r.triGroups, "%s", groups.c_str());
  snprintf(r.backupTime, sizeof r.backupTime, "%s", time.c_str());
  return write_report_auto_backup(KXDB_FILE, reports, PEOPLECNT_REPORTS) == 0;
}

}  // namespace

SEED_KIND("pos", seed_pos)
SEED_KIND("peoplecnt", seed_peoplecnt)
SEED_KIND("pcreport", seed_report)
