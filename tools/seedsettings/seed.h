// The line kinds of the factory-default settings file. Each module that
// seeds records registers its kinds from a file of its own here
// (seed_<module>.cpp) with SEED_KIND("kind", function); the function gets
// the rest of the line and stores what it names.
#pragma once

#include <sstream>
#include <string>
#include <vector>

// Loads one line's arguments; false when they do not make a record or the
// store failed (seedsettings then stops, naming the line).
using SeedLoader = bool (*)(std::istringstream &arguments);

struct SeedKind {
  const char *kind;
  SeedLoader load;
};

std::vector<SeedKind> &seed_kinds();

struct SeedRegistration {
  SeedRegistration(const char *kind, SeedLoader load) { seed_kinds().push_back({kind, load}); }
};

#define SEED_KIND(kind, function) \
  static SeedRegistration function##_registration(kind, function);

// The rest of the line after the words already read, without leading blanks.
std::string seed_rest(std::istringstream &arguments);
// A text argument written as one word, "_" standing for each blank
// ("Front_door" is "Front door").
std::string seed_text(const std::string &word);
