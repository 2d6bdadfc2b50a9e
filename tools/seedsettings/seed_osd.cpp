// The recorder's on-screen display of a channel.
//
//   osd CHANNEL NAME                     the channel's camera name ("_" for each
//                                        blank), shown with the date: the date
//                                        at the top left, the name at the bottom
#include <cstdio>

#include "kxdb.h"
#include "kxdb_osd.h"
#include "seed.h"

namespace {

bool seed_osd(std::istringstream &in) {
  int channel = -1;
  std::string name;
  if (!(in >> channel >> name)) return false;
  osd_params osd = {};
  osd.camId = channel;
  snprintf(osd.camName, sizeof osd.camName, "%s", seed_text(name).c_str());
  osd.showName = 1;
  osd.showDate = 1;
  osd.datePosX = 0.05;  // fractions of the picture
  osd.datePosY = 0.05;
  osd.namePosX = 0.05;
  osd.namePosY = 0.9;
  return write_osd(KXDB_FILE, &osd) == 0;
}

}  // namespace

SEED_KIND("osd", seed_osd)
