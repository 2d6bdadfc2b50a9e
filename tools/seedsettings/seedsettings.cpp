// seedsettings FILE: loads factory-default settings into the settings
// database of a fresh device root (see deploy/factory-settings.conf). Each
// line is a kind and its arguments; the kinds are registered by the
// seed_<module>.cpp files beside this one.
#include <cstdio>
#include <fstream>

#include "seed.h"

std::vector<SeedKind> &seed_kinds() {
  static std::vector<SeedKind> kinds;
  return kinds;
}

std::string seed_rest(std::istringstream &arguments) {
  std::string rest;
  std::getline(arguments >> std::ws, rest);
  return rest;
}

std::string seed_text(const std::string &word) {
  std::string text = word;
  for (char &c : text) {
    if (c == '_') c = ' ';
  }
  return text;
}

namespace {

bool seed_line(const std::string &line) {
  std::istringstream in(line);
  std::string kind;
  in >> kind;
  if (kind.empty() || kind[0] == '#') return true;
  for (const SeedKind &k : seed_kinds()) {
    if (kind == k.kind) return k.load(in);
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
