// Parameters and accounts.
//
//   param KEY VALUE...                   a text parameter (VALUE: rest of the line)
//   user ID NAME PASSWORD TYPE           an account with every right on every
//                                        channel; PASSWORD is stored as its MD5 digest
#include <cstdio>
#include <cstring>
#include <openssl/evp.h>

#include "kxdb.h"
#include "kxdb_user.h"
#include "kxstd.h"
#include "seed.h"

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

bool seed_param(std::istringstream &in) {
  std::string key;
  if (!(in >> key)) return false;
  std::string value = seed_rest(in);
  return set_param_value(KXDB_FILE, key.c_str(), value.c_str()) == 0;
}

bool seed_user(std::istringstream &in) {
  int id = -1, type = 0;
  std::string name, password;
  if (!(in >> id >> name >> password >> type)) return false;
  user_info u = full_user(id, name, password, type);
  return write_user(KXDB_FILE, &u) == 0;
}

}  // namespace

SEED_KIND("param", seed_param)
SEED_KIND("user", seed_user)
