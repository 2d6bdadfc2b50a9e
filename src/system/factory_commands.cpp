// "/vb.htm": the command interface of production and service. The query is
// a list of name=value pairs; each name is looked up in the option table
// through a 64-bucket hash table and its handler writes its own reply.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "service.h"
#include "request_reset.h"

namespace {

void setlang(const http_option_pair &pair);
void setdefault(const http_option_pair &pair);
void decode(const http_option_pair &pair);
void hotplug(const http_option_pair &pair);
void oemclean(const http_option_pair &pair);
void paratest(const http_option_pair &pair);
void chipupdate(const http_option_pair &pair);
void modelupdate(const http_option_pair &pair);
void softversion(const http_option_pair &pair);

http_option HttpOptionTable[HTTP_OPTION_COUNT] = {
    {"setlang", setlang, {0, 0, 0}, nullptr},
    {"setdefault", setdefault, {0, 0, 0}, nullptr},
    {"decode", decode, {0, 0, 0}, nullptr},
    {"hotplug", hotplug, {0, 0, 0}, nullptr},
    {"oemclean", oemclean, {0, 0, 0}, nullptr},
    {"paratest", paratest, {0, 0, 0}, nullptr},
    {"chipupdate", chipupdate, {0, 0, 0}, nullptr},
    {"modelupdate", modelupdate, {0, 0, 0}, nullptr},
    {"softversion", softversion, {0, 0, 0}, nullptr},
};

// The fourth name has no handler, and no row: it stays empty here.
const char HTTP_OPTION_NO_ARG[HTTP_OPTION_NO_ARG_SLOTS][HTTP_OPTION_TEXT] = {
    "oemclean", "debug", "softversion", ""};

http_option **cmd_hash = nullptr;

// Several commands of one request answer one after the other in one reply:
// only the first writes the header.
bool g_header_written = false;

// The request's name and value pairs (kept off the stack).
http_option_pair g_pairs[HTTP_OPTION_PAIRS];

void reply(const char *text) {
  cgi_writeback_webserver(g_header_written ? CGI_REPLY_BODY : CGI_REPLY_TEXT, text);
  g_header_written = true;
}

// Parameter := value, the key added when absent. False on a failed write.
bool store_param(const char *key, const char *value) {
  if (check_param_key(KXDB_FILE, key) != 0) return add_param_value(KXDB_FILE, key, value) == 0;
  return set_param_value(KXDB_FILE, key, value) == 0;
}

void setlang(const http_option_pair &pair) {
  int32_t language = (int32_t)strtol(pair.value, nullptr, 10);
  cgi_send_notice(4000, &language, sizeof language);
  reply("OK");
}

void setdefault(const http_option_pair &) {}

void decode(const http_option_pair &pair) {
  reply(store_param("decode", pair.value) ? "OK" : "ERROR");
}

void hotplug(const http_option_pair &pair) {
  reply(store_param(PARAM_HDMIHOTPLUG.key, pair.value) ? "OK" : "ERROR");
}

void run_fixed(const char *format, const char *a, const char *b = "", const char *c = "") {
  char command[512];
  snprintf(command, sizeof command, format, a, b, c);
  web_system(command);
}

void oemclean(const http_option_pair &) {
  const char *backup = BRANDING_DIR, *bin = "/opt/app/bin", *www = "/opt/app/www";
  const char *app = "/mnt/nand/app";
  run_fixed("cp %s/%s %s/logo.jpg > /dev/null", backup, "logo.jpg_bk", bin);
  run_fixed("cp %s/%s %s/gui.rcc > /dev/null", backup, "gui.rcc_bk", bin);
  // The branding database goes with the rest of the folder.
  kxdb_close_all();
  run_fixed("rm %s/* > /dev/null", backup);
  run_fixed("tar -zxvf %s/%s -C %s/ > /dev/null", www, "web.tar.gz", www);
  run_fixed("touch %s/%s", app, "eraseip");
  run_fixed("touch %s/%s", app, "eraseuser");
  set_param_int(KXDB_FILE, "oem_type", 0);
  run_fixed("touch %s/%s", app, "eraseall");
  web_system("sync");
  reply("OK");
}

void strip_line_end(char *text) {
  text[strcspn(text, "\r\n")] = '\0';
}

void paratest(const http_option_pair &pair) {
  if (strcmp(pair.value, "chipinfo") != 0) return reply("Param ERROR");
  char chip[HTTP_OPTION_TEXT];
  if (read_chip_text(chip, sizeof chip) != 0) return reply("ERROR");
  char text[sizeof chip + 32];
  snprintf(text, sizeof text, "OK chipinfo=%s\n", chip);
  reply(text);
}

// The chip text as read, without its line end; empty when unreadable.
void current_chip(char *chip, size_t size) {
  if (read_chip_text(chip, size) != 0) chip[0] = '\0';
  strip_line_end(chip);
}

// The tool gets the text as one argument: no shell sees it.
void program_chip(const char *text) {
  const char *argv[] = {"kxchip_update", text, nullptr};
  kx_run_argv(argv);
}

void chip_command(const http_option_pair &pair, const char *name,
                  bool (*edit)(const char *, const char *, char *, size_t)) {
  char chip[HTTP_OPTION_TEXT];
  current_chip(chip, sizeof chip);
  char updated[HTTP_OPTION_TEXT];
  char text[32];
  if (!edit(chip, pair.value, updated, sizeof updated)) {
    snprintf(text, sizeof text, "NG %s", name);
    return reply(text);
  }
  program_chip(updated);
  snprintf(text, sizeof text, "OK %s", name);
  reply(text);
}

void chipupdate(const http_option_pair &pair) {
  chip_command(pair, "chipupdate", chip_full_update);
}

void modelupdate(const http_option_pair &pair) {
  chip_command(pair, "modelupdate", chip_model_update);
}

void softversion(const http_option_pair &) {
  char version[HTTP_OPTION_TEXT];
  param_text(PARAM_SOFTWARE_VERSION, version, sizeof version);
  reply(version);
}

struct ChipField {
  char selector;
  int position;
  int width;
};

// modelupdate: the value, selector included, replaces the field.
constexpr ChipField kModelFields[] = {{'N', 2, 7}, {'H', 9, 3}, {'E', 12, 8}, {'S', 20, 12}};
// chipupdate: the characters after the selector replace the field.
constexpr ChipField kChipFields[] = {{'N', 3, 6}, {'H', 9, 2}, {'E', 12, 7}, {'S', 20, 11}};

const ChipField *find_field(const ChipField (&fields)[4], char selector) {
  for (const ChipField &f : fields) {
    if (f.selector == selector) return &f;
  }
  return nullptr;
}

// A partial edit needs the whole old text: anything else would be
// programmed cut short.
bool whole_chip(const char *chip) {
  return strlen(chip) == (size_t)CHIP_TEXT_LENGTH;
}

}  // namespace

bool chip_model_update(const char *chip, const char *value, char *out, size_t size) {
  const ChipField *field = find_field(kModelFields, value[0]);
  size_t length = strlen(value);
  if (!field || length > (size_t)field->width || !whole_chip(chip)) return false;
  if (size <= (size_t)CHIP_TEXT_LENGTH) return false;
  snprintf(out, size, "%s", chip);
  memset(out + field->position, '0', (size_t)field->width);
  memcpy(out + field->position, value, length);
  return true;
}

bool chip_full_update(const char *chip, const char *value, char *out, size_t size) {
  size_t length = strlen(value);
  if (length > (size_t)CHIP_TEXT_LENGTH || size <= (size_t)CHIP_TEXT_LENGTH) return false;
  char padded[CHIP_TEXT_LENGTH + 1];
  snprintf(padded, sizeof padded, "%s", value);
  if (length >= 21) {
    memset(padded + length, '0', CHIP_TEXT_LENGTH - length);
    padded[CHIP_TEXT_LENGTH] = '\0';
    length = CHIP_TEXT_LENGTH;
  }
  if (strncmp(padded, "KXN", 3) == 0) {
    // The whole text: it must be a whole one.
    if (length != (size_t)CHIP_TEXT_LENGTH) return false;
    snprintf(out, size, "%s", padded);
    return true;
  }
  const ChipField *field = find_field(kChipFields, padded[0]);
  if (!field || length < (size_t)field->width + 1 || !whole_chip(chip)) return false;
  snprintf(out, size, "%s", chip);
  memcpy(out + field->position, padded + 1, (size_t)field->width);
  return true;
}

int read_chip_text(char *text, size_t size) {
  text[0] = '\0';
  char command[128];
  snprintf(command, sizeof command, "kxchip_update -r 32 > %s", CHIP_INFO_FILE);
  web_system(command);
  FILE *f = fopen(CHIP_INFO_FILE, "r");
  if (!f) return -1;
  char line[128];
  bool found = false;
  while (!found && fgets(line, sizeof line, f)) {
    const char *mark = strstr(line, "Read old:");
    if (mark) {
      snprintf(text, size < 64 ? size : 64, "%s", mark + 9);
      found = true;
    }
  }
  fclose(f);
  unlink(CHIP_INFO_FILE);
  return found ? 0 : -1;
}

http_option *http_option_table() {
  return HttpOptionTable;
}

int hash_cal_value(const char *name) {
  uint8_t h = 0;
  for (const char *p = name; *p; p++) h = (uint8_t)((unsigned char)*p + 37 * h);
  return h % HTTP_HASH_BUCKETS;
}

void hash_insert_entry(http_option *row) {
  int bucket = hash_cal_value(row->name);
  row->next = cmd_hash[bucket];
  cmd_hash[bucket] = row;
}

int hash_table_init() {
  hash_table_destory();
  cmd_hash = (http_option **)calloc(HTTP_HASH_BUCKETS, sizeof *cmd_hash);
  if (!cmd_hash) return -1;
  for (http_option &row : HttpOptionTable) hash_insert_entry(&row);
  return 0;
}

void hash_table_destory() {
  free(cmd_hash);
  cmd_hash = nullptr;
  for (http_option &row : HttpOptionTable) row.next = nullptr;
}

http_option *http_option_search(const char *name) {
  if (!cmd_hash || !name) return nullptr;
  for (http_option *row = cmd_hash[hash_cal_value(name)]; row; row = row->next) {
    if (strcmp(row->name, name) == 0) return row;
  }
  return nullptr;
}

int get_httpoption_argnum(const char *text) {
  int n = 0;
  for (int i = 0; text && i < HTTP_OPTION_SCAN && text[i]; i++) n += text[i] == '=';
  return n;
}

int ui_decodeing(const char *text, http_option_pair *pairs, int count) {
  if (!text || count < 1 || count > HTTP_OPTION_PAIRS) return -1;
  char copy[HTTP_OPTION_SCAN + 1];
  snprintf(copy, sizeof copy, "%s", text);
  // Characters taken must lie at positions 0 to 63; a field then holds at
  // most 63 characters and its terminator.
  const size_t limit = HTTP_OPTION_TEXT;
  size_t at = 0;
  for (int i = 0; i < count; i++) {
    size_t name_end = at + strcspn(copy + at, "=");
    if (copy[name_end] != '=' || name_end >= limit) return -1;
    size_t value_end = name_end + 1 + strcspn(copy + name_end + 1, "&");
    if (value_end > limit) return -1;
    memset(&pairs[i], 0, sizeof pairs[i]);
    memcpy(pairs[i].name, copy + at, name_end - at);
    memcpy(pairs[i].value, copy + name_end + 1, value_end - name_end - 1);
    at = value_end + (copy[value_end] == '&');
  }
  return 0;
}

int is_httpoption_no_arg(const char *text) {
  if (!text || !text[0]) return 0;
  for (const char *name : HTTP_OPTION_NO_ARG) {
    if (name[0] && strcmp(name, text) == 0) return 1;
  }
  return 0;
}

int on_factory_command(char *text) {
  g_header_written = false;
  if (!text || hash_table_init() != 0) return cgi_writeback_webserver(CGI_REPLY_TEXT, "ERROR");
  http_option_pair *pairs = g_pairs;
  memset(g_pairs, 0, sizeof g_pairs);
  int count = 1;
  if (is_httpoption_no_arg(text)) {
    snprintf(pairs[0].name, sizeof pairs[0].name, "%s", text);
    snprintf(pairs[0].value, sizeof pairs[0].value, "1");
  } else {
    count = get_httpoption_argnum(text);
    if (count == 0 || ui_decodeing(text, pairs, count) != 0) {
      hash_table_destory();
      return cgi_writeback_webserver(CGI_REPLY_TEXT, "PARAM ERROR");
    }
  }
  for (int i = 0; i < count; i++) {
    http_option *row = http_option_search(pairs[i].name);
    if (!row) {
      reply("ERROR");
      break;
    }
    row->handler(pairs[i]);
  }
  hash_table_destory();
  return 0;
}

namespace {
void reset_factory_command() {
  g_header_written = false;
  memset(g_pairs, 0, sizeof g_pairs);
  hash_table_destory();
}
}  // namespace

CGI_RESET_HOOK(reset_factory_command)
