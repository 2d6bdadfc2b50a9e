// The recorder's general settings.
//
//   hostname NAME                        the host name ("_" for each blank)
//   display MAIN SUB SUBENABLE HDMIAUDIO AUDIOOUT VOLUME
//                                        the display outputs' resolution codes,
//                                        the secondary output on or off, HDMI
//                                        audio, audio output and its volume
//   retention LOG PHOTO                  log and snapshot retention
//   upnp ENABLE TYPE HTTP RTSP           UPnP mapping and the external ports
//   autoreboot ENABLE WDAY HOUR MINUTES SECONDS
#include <cstdio>

#include "kxdb.h"
#include "kxdb_general.h"
#include "kxdb_network.h"
#include "seed.h"

namespace {

bool seed_hostname(std::istringstream &in) {
  std::string name;
  if (!(in >> name)) return false;
  network_params network = {};
  if (read_network(KXDB_FILE, &network) != 0) return false;
  snprintf(network.hostName, sizeof network.hostName, "%s", seed_text(name).c_str());
  return write_network(KXDB_FILE, &network) == 0;
}

bool seed_display(std::istringstream &in) {
  display_params d = {};
  if (!(in >> d.mainResolution >> d.subResolution >> d.subEnable >> d.hdmiAudioOn >>
        d.audioOutputOn >> d.audioVolume)) {
    return false;
  }
  return write_display(KXDB_FILE, &d) == 0;
}

bool seed_retention(std::istringstream &in) {
  disk_maintain_params m = {};
  if (!(in >> m.logRetention >> m.photoRetention)) return false;
  return write_disk_maintain_info(KXDB_FILE, &m) == 0;
}

bool seed_upnp(std::istringstream &in) {
  upnp_params u = {};
  if (!(in >> u.enable >> u.type >> u.external_http_port >> u.external_rtsp_port)) return false;
  u.http_status = u.rtsp_status = u.enable;
  return write_upnp(KXDB_FILE, &u) == 0;
}

bool seed_autoreboot(std::istringstream &in) {
  autoreboot_params r = {};
  if (!(in >> r.enable >> r.wday >> r.hour >> r.minutes >> r.seconds)) return false;
  return write_autoreboot_conf(KXDB_FILE, &r) == 0;
}

}  // namespace

SEED_KIND("hostname", seed_hostname)
SEED_KIND("display", seed_display)
SEED_KIND("retention", seed_retention)
SEED_KIND("upnp", seed_upnp)
SEED_KIND("autoreboot", seed_autoreboot)
