// The exposure time/gain pairs of the cameras and the effective schedules
// of motion and the smart events.
//
//   exposure CHANNEL TIME:GAIN...        the channel's exposure list, in order
//   eventschedule TYPE CHANNEL START END ACTION
//                                        every day of the week (rows 0 to 7)
//                                        gets the plan START to END (hh:mm)
//                                        as its first plan; TYPE 0 motion,
//                                        1 to 8 region entrance, region exit,
//                                        advanced motion, tamper detection,
//                                        line crossing, loitering, human
//                                        detection, people counting
#include <cstdio>
#include <memory>

#include "kxdb.h"
#include "kxdb_exposure.h"
#include "kxdb_motion.h"
#include "kxdb_vca.h"
#include "seed.h"

namespace {

bool seed_exposure(std::istringstream &in) {
  int channel;
  if (!(in >> channel)) return false;
  exposure_pair pairs[EXPOSURE_PAIRS] = {};
  int count = 0;
  std::string word;
  while (in >> word) {
    if (count == EXPOSURE_PAIRS) return false;
    if (sscanf(word.c_str(), "%d:%d", &pairs[count].exposureTime, &pairs[count].gainLevel) != 2) {
      return false;
    }
    count++;
  }
  return count > 0 && write_exposure(KXDB_FILE, pairs, channel, count) == 0;
}

bool seed_event_schedule(std::istringstream &in) {
  int type, channel, action;
  std::string start, end;
  if (!(in >> type >> channel >> start >> end >> action)) return false;
  if (type < 0 || type > SMART_EVENT_TYPES) return false;  // motion, then the smart events
  auto s = std::make_unique<schedule>();
  *s = {};
  for (schedule_day &day : s->days) {
    schedule_plan &plan = day.plans[0];
    snprintf(plan.start_time, sizeof plan.start_time, "%s", start.c_str());
    snprintf(plan.end_time, sizeof plan.end_time, "%s", end.c_str());
    plan.action_type = action;
  }
  if (type == 0) return write_motion_effective_schedule(KXDB_FILE, s.get(), channel) == 0;
  return write_smart_event_effective_schedule(KXDB_FILE, s.get(), channel, type - 1) == 0;
}

}  // namespace

SEED_KIND("exposure", seed_exposure)
SEED_KIND("eventschedule", seed_event_schedule)
