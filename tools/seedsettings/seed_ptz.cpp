// PTZ settings of a channel.
//
//   ptzport CHANNEL CONNECT BAUD DATABITS STOPBITS PARITY PROTOCOL ADDRESS
//                                        the serial PTZ port (CONNECT 0 or 1,
//                                        PARITY 0 to 2, PROTOCOL 0 to 13)
//   ptzspeed CAMERA PAN TILT ZOOM FOCUS  the PTZ speeds of a camera
//   ptztour CHANNEL TOUR PRESET:TIME:SPEED...
//                                        a stored tour (TOUR 0 to 7), at most
//                                        48 points
#include <cstdio>

#include "kxdb.h"
#include "kxdb_ptz.h"
#include "seed.h"

namespace {

bool seed_ptz_port(std::istringstream &in) {
  ptz_port_params port = {};
  if (!(in >> port.channel >> port.connectType >> port.baudRate >> port.dataBits >>
        port.stopBits >> port.parityType >> port.protocol >> port.address)) {
    return false;
  }
  return write_ptz_port(KXDB_FILE, &port) == 0;
}

bool seed_ptz_speed(std::istringstream &in) {
  ptz_speed_params speed = {};
  if (!(in >> speed.camId >> speed.pan_speed >> speed.tilt_speed >> speed.zoom_speed >>
        speed.foucs_speed)) {
    return false;
  }
  return write_ptz_speed(KXDB_FILE, &speed) == 0;
}

bool seed_ptz_tour(std::istringstream &in) {
  int channel = -1, tour = -1;
  if (!(in >> channel >> tour) || tour < 0 || tour >= PTZ_TOURS) return false;
  ptz_tour_table table = {};
  if (read_ptz_tour(KXDB_FILE, &table, channel) != 0) return false;
  table.tours[tour] = ptz_tour{};
  int count = 0;
  for (std::string point; in >> point;) {
    if (count >= PTZ_TOUR_POINTS) return false;
    ptz_tour_point &p = table.tours[tour].points[count++];
    if (sscanf(point.c_str(), "%d:%d:%d", &p.preset, &p.time, &p.speed) != 3) return false;
  }
  return count > 0 && write_ptz_tour(KXDB_FILE, &table, channel) == 0;
}

}  // namespace

SEED_KIND("ptzport", seed_ptz_port)
SEED_KIND("ptzspeed", seed_ptz_speed)
SEED_KIND("ptztour", seed_ptz_tour)
