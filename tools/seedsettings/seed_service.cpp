// The access filter and the alarm audio files.
//
//   accessfilter TYPE ADDRESS            one address of the access filter, in
//                                        the order of the lines (at most 100)
//   audiofile ID NAME                    alarm audio slot ID (0 to 9) in use,
//                                        with the display NAME ("_" for blanks),
//                                        stored base64url-encoded
#include <cstring>

#include "kxdb.h"
#include "kxdb_service.h"
#include "kxdb_system.h"
#include "kxstd.h"
#include "seed.h"

namespace {

bool seed_access_filter(std::istringstream &in) {
  access_filter_entry entries[ACCESS_FILTER_ENTRIES] = {};
  int count = 0;
  if (read_access_filter(KXDB_FILE, entries, &count) != 0 || count >= ACCESS_FILTER_ENTRIES) {
    return false;
  }
  std::string address;
  if (!(in >> entries[count].address_type >> address)) return false;
  if (address.size() >= sizeof entries[count].address) return false;
  snprintf(entries[count].address, sizeof entries[count].address, "%s", address.c_str());
  return write_access_filter(KXDB_FILE, entries, count + 1) == 0;
}

bool seed_audio_file(std::istringstream &in) {
  alarm_audio_file r = {};
  std::string word;
  if (!(in >> r.id >> word)) return false;
  std::string name = seed_text(word);
  r.enable = 1;
  if (base64EncodeUrl((const unsigned char *)name.data(), (int)name.size(), r.name,
                      (int)sizeof r.name) <= 0) {
    return false;
  }
  return write_alarm_audio_file(KXDB_FILE, &r) == 0;
}

}  // namespace

SEED_KIND("accessfilter", seed_access_filter)
SEED_KIND("audiofile", seed_audio_file)
