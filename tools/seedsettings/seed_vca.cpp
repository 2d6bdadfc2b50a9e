// Smart-event actions of the cameras' analytics rules.
//
//   smartevent CHANNEL TYPE TRICHANNELS TRIALARMS INTERVAL START END
//                                        what rule TYPE (0 to 8) of the channel
//                                        sets off: the channels to record
//                                        ('0'/'1' per channel), the alarm
//                                        outputs and the event interval; armed
//                                        every day (rows 0 to 7) from START to
//                                        END ("HH:MM")
#include <cstdio>

#include "kxdb.h"
#include "kxdb_vca.h"
#include "seed.h"

namespace {

uint32_t trigger_bits(const char *text) {
  uint32_t mask = 0;
  for (int i = 0; i < 32 && text[i]; i++) {
    if (text[i] == '1') mask |= 1u << i;
  }
  return mask;
}

bool seed_smart_event(std::istringstream &in) {
  smart_event e = {};
  int type = -1;
  std::string channels, start, end;
  if (!(in >> e.channel >> type >> channels >> e.triAlarms >> e.interval >> start >> end)) {
    return false;
  }
  e.enable = 1;
  snprintf(e.triChannels, sizeof e.triChannels, "%s", channels.c_str());
  e.trigger_mask = trigger_bits(e.triChannels);
  schedule armed = {};
  for (schedule_day &day : armed.days) {
    snprintf(day.plans[0].start_time, sizeof day.plans[0].start_time, "%s", start.c_str());
    snprintf(day.plans[0].end_time, sizeof day.plans[0].end_time, "%s", end.c_str());
    day.plans[0].action_type = 1;
  }
  return write_smart_event(KXDB_FILE, &e, type) == 0 &&
         write_smart_event_effective_schedule(KXDB_FILE, &armed, e.channel, type) == 0;
}

}  // namespace

SEED_KIND("smartevent", seed_smart_event)
