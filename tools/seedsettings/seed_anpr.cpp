// Plate lists of the licence-plate recognition, in the plate file.
//
//   anprplate TYPE PLATE   one plate on the list TYPE ("black", "white",
//                          ...); PLATE is written without blanks
#include <cstdio>

#include "kxdb.h"
#include "kxdb_anpr.h"
#include "seed.h"

namespace {

bool seed_anpr_plate(std::istringstream &in) {
  std::string type, plate;
  if (!(in >> type >> plate)) return false;
  anpr_list_entry e = {};
  snprintf(e.type, sizeof e.type, "%s", type.c_str());
  snprintf(e.plate, sizeof e.plate, "%s", plate.c_str());
  return write_anpr_list(ANPR_DB_FILE, &e) == 0;
}

}  // namespace

SEED_KIND("anprplate", seed_anpr_plate)
