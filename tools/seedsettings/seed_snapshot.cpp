// Scheduled snapshots, PTZ action entries, the camera event triggers and
// the regional counting actions.
//
//   snapshot CHANNEL RESOLUTION QUALITY INTERVAL UNIT EXPIRATION
//                                        picture settings of a channel
//   snapshotschedule CHANNEL START END   snapshots every day (rows 0 to 7)
//                                        from START to END ("HH:MM")
//   ptzaction TYPE CHANNEL CAMERA PTZTYPE VALUE
//                                        event TYPE of CHANNEL moves PTZ camera
//                                        CAMERA to preset (PTZTYPE 1), patrol
//                                        (2) or pattern (3) VALUE
//   cameraio CAMID ENABLE TRIACTIONS TRICHANNELS
//   volumedetect CAMID ENABLE TRIACTIONS TRICHANNELS
//                                        what the camera's alarm I/O or volume
//                                        event sets off ('0'/'1' per channel)
//   regionalaction CHANNEL REGION TRICHANNELS TRIALARMS INTERVAL
//                                        actions of counting region 0 to 3
#include <cstdio>

#include "kxdb.h"
#include "kxdb_ptz_entries.h"
#include "kxdb_regional.h"
#include "kxdb_snapshot.h"
#include "seed.h"

namespace {

uint32_t trigger_bits(const char *text) {
  uint32_t mask = 0;
  for (int i = 0; i < 32 && text[i]; i++) {
    if (text[i] == '1') mask |= 1u << i;
  }
  return mask;
}

bool seed_snapshot(std::istringstream &in) {
  snapshot_params r = {};
  if (!(in >> r.channel >> r.resolution >> r.quality >> r.interval >> r.interval_unit >>
        r.expiration_date)) {
    return false;
  }
  return write_snapshot(KXDB_FILE, &r) == 0;
}

bool seed_snapshot_schedule(std::istringstream &in) {
  static snapshot_schedule all[SNAPSHOT_CHANNELS];
  snapshot_channel_list list = {};
  std::string start, end;
  if (!(in >> list.channels[0] >> start >> end)) return false;
  int ch = list.channels[0];
  if (ch < 0 || ch >= SNAPSHOT_CHANNELS) return false;
  list.count = 1;
  all[ch] = snapshot_schedule{};
  for (schedule_day &day : all[ch].week.days) {
    snprintf(day.plans[0].start_time, sizeof day.plans[0].start_time, "%s", start.c_str());
    snprintf(day.plans[0].end_time, sizeof day.plans[0].end_time, "%s", end.c_str());
    day.plans[0].action_type = 1;
  }
  return write_snapshot_schedules(KXDB_FILE, all, &list) == 0;
}

bool seed_ptz_action(std::istringstream &in) {
  ptz_action_params e = {};
  int type = -1, value = 0;
  if (!(in >> type >> e.chn_id >> e.acto_ptz_channel >> e.acto_ptz_type >> value)) return false;
  if (e.acto_ptz_type == 1) e.acto_ptz_preset = value;
  if (e.acto_ptz_type == 2) e.acto_ptz_patrol = value;
  if (e.acto_ptz_type == 3) e.acto_ptz_pattern = value;
  if (type == PTZ_EVENT_PEOPLECNT) return write_peoplecnt_ptz_params(KXDB_FILE, &e) == 0;
  return write_ptz_params(KXDB_FILE, &e, type) == 0;
}

bool read_trigger(std::istringstream &in, camera_trigger_params *t) {
  std::string channels;
  if (!(in >> t->camId >> t->enable >> t->triActions >> channels)) return false;
  snprintf(t->triChannels, sizeof t->triChannels, "%s", channels.c_str());
  t->trigger_mask = trigger_bits(t->triChannels);
  return true;
}

bool seed_camera_io(std::istringstream &in) {
  camera_trigger_params t = {};
  return read_trigger(in, &t) && write_cameraio(KXDB_FILE, &t) == 0;
}

bool seed_volume_detect(std::istringstream &in) {
  camera_trigger_params t = {};
  return read_trigger(in, &t) && write_volumedetect(KXDB_FILE, &t) == 0;
}

bool seed_regional_action(std::istringstream &in) {
  smart_event e = {};
  int region = -1;
  std::string channels;
  if (!(in >> e.channel >> region >> channels >> e.triAlarms >> e.interval)) return false;
  e.enable = 1;
  snprintf(e.triChannels, sizeof e.triChannels, "%s", channels.c_str());
  e.trigger_mask = trigger_bits(e.triChannels);
  return write_regional_pcnt_event(KXDB_FILE, &e, region) == 0;
}

}  // namespace

SEED_KIND("snapshot", seed_snapshot)
SEED_KIND("snapshotschedule", seed_snapshot_schedule)
SEED_KIND("ptzaction", seed_ptz_action)
SEED_KIND("cameraio", seed_camera_io)
SEED_KIND("volumedetect", seed_volume_detect)
SEED_KIND("regionalaction", seed_regional_action)
