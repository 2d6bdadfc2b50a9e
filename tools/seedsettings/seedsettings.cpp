// seedsettings FILE: loads factory-default settings into the settings
// database of a fresh device root (see deploy/factory-settings.conf).
//
//   param KEY VALUE...          a text parameter
//   user ID NAME PASSWORD TYPE  an account with every right on every channel
#include <cstdio>
#include <cstring>
#include <fstream>
#include <openssl/evp.h>
#include <sstream>
#include <string>

#include "kxdb.h"
#include "kxdb_user.h"
#include "kxstd.h"

namespace {

std::string md5_hex(const std::string &text) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_Digest(text.data(), text.size(), digest, &length, EVP_md5(), nullptr);
  std::string hex;
  char byte[3];
  for (unsigned int i = 0; i < length; i++) {
    snprintf(byte, sizeof byte, "%02x", digest[i]);
    hex += byte;
  }
  return hex;
}

// An account allowed everything on all 64 channels.
user_info full_user(int id, const std::string &name, const std::string &password, int type) {
  user_info u = {};
  u.id = id;
  u.enable = 1;
  u.type = type;
  snprintf(u.name, sizeof u.name, "%s", name.c_str());
  snprintf(u.password, sizeof u.password, "%s", md5_hex(password).c_str());
  snprintf(u.created, sizeof u.created, "0");
  for (char *rights : {u.local_liveview, u.local_playback, u.remote_liveview, u.remote_playback}) {
    memset(rights, '1', 64);
  }
  for (int i = 0; i < USER_RIGHTS; i++) u.local_rights[i] = u.remote_rights[i] = 1;
  for (uint32_t &mask : u.channel_masks) mask = 0xffffffffu;
  return u;
}

bool seed_line(const std::string &line) {
  std::istringstream in(line);
  std::string kind;
  in >> kind;
  if (kind.empty() || kind[0] == '#') return true;
  if (kind == "param") {
    std::string key, value;
    in >> key;
    std::getline(in >> std::ws, value);
    return set_param_value(KXDB_FILE, key.c_str(), value.c_str()) == 0;
  }
  if (kind == "user") {
    int id = -1, type = 0;
    std::string name, password;
    if (!(in >> id >> name >> password >> type)) return false;
    user_info u = full_user(id, name, password, type);
    return write_user(KXDB_FILE, &u) == 0;
  }
  return false;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: seedsettings FILE\n");
    return 2;
  }
  std::ifstream file(argv[1]);
  if (!file) {
    fprintf(stderr, "seedsettings: cannot read %s\n", argv[1]);
    return 1;
  }
  int number = 0;
  for (std::string line; std::getline(file, line);) {
    number++;
    if (!seed_line(line)) {
      fprintf(stderr, "seedsettings: %s:%d: cannot load \"%s\"\n", argv[1], number, line.c_str());
      return 1;
    }
  }
  return 0;
}
