// The cameras of the channels and the protocols and models the recorder
// knows.
//
//   camera CHANNEL PROTOCOL ADDRESS PORT USER PASSWORD MAC
//                                        an enabled camera on the channel,
//                                        reached over TCP, its clock kept in
//                                        step; PROTOCOL is its model id
//                                        (0 ONVIF, 1 RTSP, others the
//                                        recorder's own), MAC "-" when unknown
//   ipcprotocol ID NAME FUNCTION ENABLE DISPLAY_MODEL
//                                        a protocol ("_" for each blank)
//   ipcmodel ID PROTOCOL NAME ALARM_TYPE DEFAULT
//                                        a model under protocol PROTOCOL
#include <cstdio>

#include "kxdb.h"
#include "kxdb_camera.h"
#include "kxdb_ipc_model.h"
#include "seed.h"

namespace {

constexpr int kTransmitTcp = 1;

bool seed_camera(std::istringstream &in) {
  camera_params c = {};
  std::string address, user, password, mac;
  if (!(in >> c.id >> c.camProtocol >> address >> c.managePort >> user >> password >> mac)) {
    return false;
  }
  c.enable = 1;
  snprintf(c.ipAddr, sizeof c.ipAddr, "%s", address.c_str());
  snprintf(c.userName, sizeof c.userName, "%s", user.c_str());
  snprintf(c.password, sizeof c.password, "%s", password.c_str());
  if (mac != "-") snprintf(c.mac_addr, sizeof c.mac_addr, "%s", mac.c_str());
  c.transmitProtocol = kTransmitTcp;
  c.syncTime = 1;
  c.subRtspEnable = 1;
  return write_camera(KXDB_FILE, &c) == 0;
}

bool seed_ipc_protocol(std::istringstream &in) {
  ipc_protocol p = {};
  std::string name;
  if (!(in >> p.id >> name >> p.protocolFunction >> p.enable >> p.display_model)) return false;
  snprintf(p.name, sizeof p.name, "%s", seed_text(name).c_str());
  return write_ipc_protocol(KXDB_FILE, &p) == 0;
}

bool seed_ipc_model(std::istringstream &in) {
  ipc_model m = {};
  std::string name;
  if (!(in >> m.id >> m.protocol >> name >> m.alarm_type >> m.default_model)) return false;
  snprintf(m.name, sizeof m.name, "%s", seed_text(name).c_str());
  return write_ipc_model(KXDB_FILE, &m) == 0;
}

}  // namespace

SEED_KIND("camera", seed_camera)
SEED_KIND("ipcprotocol", seed_ipc_protocol)
SEED_KIND("ipcmodel", seed_ipc_model)
