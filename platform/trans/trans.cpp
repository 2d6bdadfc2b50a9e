#include "trans.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace {

constexpr size_t kNameMax = 31;

std::map<int, std::string> &texts() {
  static std::map<int, std::string> loaded;
  return loaded;
}

bool plain_name(const char *name) {
  size_t n = strnlen(name, kNameMax + 1);
  if (n == 0 || n > kNameMax) return false;
  for (size_t i = 0; i < n; i++) {
    unsigned char c = (unsigned char)name[i];
    if (!isalnum(c) && c != '-' && c != '_') return false;
  }
  return true;
}

// "CODE TEXT": stores the text; anything else is skipped.
void load_line(const std::string &line) {
  const char *p = line.c_str();
  char *end = nullptr;
  long code = strtol(p, &end, 10);
  if (end == p || (*end != ' ' && *end != '\t')) return;
  std::string text(end + 1);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  texts()[(int)code] = text;
}

}  // namespace

int trans_init(const char *language) {
  trans_deinit();
  if (!language || !plain_name(language)) return -1;
  std::string path = std::string(TRANS_DIRECTORY) + "/" + language + ".txt";
  FILE *f = fopen(path.c_str(), "r");
  if (!f) return -1;
  char buffer[1024];
  std::string line;
  while (fgets(buffer, sizeof buffer, f)) {
    line += buffer;
    if (line.back() != '\n' && !feof(f)) continue;  // a line longer than the buffer
    load_line(line);
    line.clear();
  }
  if (!line.empty()) load_line(line);
  fclose(f);
  return texts().empty() ? -1 : 0;
}

int trans_get_value(int code, char *buffer, int size) {
  if (!buffer || size <= 0) return -1;
  buffer[0] = '\0';
  auto it = texts().find(code);
  if (it == texts().end()) return -1;
  snprintf(buffer, (size_t)size, "%s", it->second.c_str());
  return 0;
}

void trans_deinit() { texts().clear(); }
