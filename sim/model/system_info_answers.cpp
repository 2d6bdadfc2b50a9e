// System information and the log. The device record describes the demo
// recorder from its settings (model, versions, capacities, device number);
// the log keeps every entry the program sends (3485, 3509), stamped with
// the time it arrived, and answers searches (3495) page by page, the detail
// text of an entry (3488) and exports (3494) as a result file in "/tmp".
// The UPnP settings sent with 3720 are stored, with the mapping shown as
// done while UPnP is on.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>

#include "kxdb.h"
#include "kxdb_general.h"
#include "model.h"
#include "system/system_info_records.h"

namespace {

constexpr size_t kLogCapacity = 10000;  // the oldest entries go first

std::vector<log_info> g_log;

std::string param(const char *key, const char *fallback) {
  std::string value;
  return kxdb_param_get(KXDB_FILE, key, &value) == 0 ? value : fallback;
}

int param_number(const char *key, int fallback) {
  return (int)strtol(param(key, std::to_string(fallback).c_str()).c_str(), nullptr, 10);
}

template <size_t N>
void set_text(char (&field)[N], const std::string &text) {
  snprintf(field, N, "%s", text.c_str());
}

device_info demo_device() {
  device_info d = {};
  d.deviceId = param_number("deviceid", 255);
  d.maxCameras = param_number("max_cameras", 32);
  d.maxSensor = param_number("alarm_in", 16);
  d.maxAlarm = param_number("alarm_out", 4);
  d.maxAudioOut = 1;
  d.displayNum = 2;
  d.masRs485 = 1;
  d.maxNetworkLan = 2;
  d.kxddns = 1;
  set_text(d.sn, "NVD3220261210A0017");
  set_text(d.prefix, "NVD32");
  set_text(d.model, param("model", "NVR-DEMO"));
  set_text(d.software, param("software_version", "7x.7.0.9"));
  set_text(d.hardware, param("hardware_version", "V1.1"));
  set_text(d.mac, "02:4B:58:00:00:10");
  d.isSupportTalk = 1;
  return d;
}

void keep(log_info entry) {
  if (entry.time == 0) entry.time = (int32_t)time(nullptr);
  entry.client_addr[sizeof entry.client_addr - 1] = '\0';
  entry.user_name[sizeof entry.user_name - 1] = '\0';
  if (g_log.size() >= kLogCapacity) g_log.erase(g_log.begin());
  g_log.push_back(entry);
}

bool sub_type_matches(const log_search_request &q, int64_t sub_type) {
  int n = std::clamp(q.sub_type_count, 0, LOG_SEARCH_SUB_TYPES);
  if (n == 0 || q.sub_types[0] == LOG_SUB_TYPE_ALL) return true;
  return std::find(q.sub_types, q.sub_types + n, sub_type) != q.sub_types + n;
}

// Main type 1 asks for every type. A channel mask selects the entries of
// those channels (numbered from 1 in the entries); entries of no channel
// always match.
bool matches(const log_search_request &q, const log_info &e) {
  if (e.time < q.start_time || e.time > q.end_time) return false;
  if (q.main_type != 1 && e.main_type != q.main_type) return false;
  if (!sub_type_matches(q, e.sub_type)) return false;
  if (q.channel_mask == 0 || q.search_no_channel || e.channel <= 0 || e.channel > 64) return true;
  return (q.channel_mask >> (e.channel - 1)) & 1;
}

// Newest first.
std::vector<log_info> search(const log_search_request &q) {
  std::vector<log_info> found;
  for (auto it = g_log.rbegin(); it != g_log.rend(); ++it) {
    if (matches(q, *it)) found.push_back(*it);
  }
  return found;
}

// The detail block is the program's: int32 kind, int32 length, the data.
std::string detail_data(const log_info &e) {
  int32_t length = 0;
  memcpy(&length, e.detail + 4, sizeof length);
  length = std::clamp(length, 0, LOG_DETAIL_DATA_MAX);
  std::string data((const char *)e.detail + LOG_DETAIL_HEAD, (size_t)length);
  data = data.substr(0, data.find('\0'));
  bool printable = std::all_of(data.begin(), data.end(),
                               [](char c) { return (unsigned char)c >= 0x20; });
  return printable ? data : "";
}

std::string description(const log_info &e) {
  std::string text = "User " + std::string(e.user_name) + " from " + e.client_addr;
  if (e.channel > 0) text += ", channel " + std::to_string(e.channel);
  std::string data = detail_data(e);
  if (!data.empty()) text += ": " + data;
  return text;
}

std::vector<SimFrame> answer(const Bytes &payload) { return {SimFrame{0, payload, 0}}; }

std::vector<SimFrame> answer_page(const SimRequest &r) {
  auto q = record_from<log_search_request>(r.payload);
  std::vector<log_info> found = search(q);
  auto page = std::make_unique<log_search_page>();
  page->total = (int32_t)found.size();
  size_t first = (size_t)std::max(q.page, 1) - 1;
  first *= LOG_PAGE_ENTRIES;
  for (size_t i = first; i < found.size() && page->count < LOG_PAGE_ENTRIES; i++) {
    page->entries[page->count++] = found[i];
  }
  return answer(bytes_of(*page));
}

// The result file: count, then each entry with its 4096-byte description.
std::vector<SimFrame> answer_export(const SimRequest &r) {
  std::vector<log_info> found = search(record_from<log_search_request>(r.payload));
  char path[] = "/tmp/log_export_XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0) return answer(bytes_of_int(-1));
  FILE *f = fdopen(fd, "wb");
  int32_t count = (int32_t)found.size();
  fwrite(&count, sizeof count, 1, f);
  std::vector<char> text(LOG_EXPORT_DESCRIPTION);
  for (const log_info &e : found) {
    std::fill(text.begin(), text.end(), '\0');
    std::string d = description(e);
    memcpy(text.data(), d.data(), std::min(d.size(), text.size() - 1));
    fwrite(&e, sizeof e, 1, f);
    fwrite(text.data(), text.size(), 1, f);
  }
  fclose(f);
  Bytes out = bytes_of_int(0);
  out.insert(out.end(), path, path + strlen(path) + 1);
  return answer(out);
}

std::vector<SimFrame> answer_detail(const SimRequest &r) {
  std::string d = description(record_from<log_info>(r.payload));
  Bytes out(d.begin(), d.end());
  out.push_back(0);
  return answer(out);
}

std::vector<SimFrame> store_upnp(const SimRequest &r) {
  auto u = record_from<upnp_params>(r.payload);
  u.http_status = u.rtsp_status = u.enable ? 1 : 0;
  write_upnp(KXDB_FILE, &u);
  return {};
}

}  // namespace

static void register_system_info_answers(SimServer &server, CoreModel &) {
  server.on(3400, [](const SimRequest &) { return answer(bytes_of(demo_device())); });
  server.on(3485, [](const SimRequest &r) {
    keep(record_from<log_info>(r.payload));
    return std::vector<SimFrame>{};
  });
  server.on(3509, [](const SimRequest &r) {
    keep(record_from<log_info_channels>(r.payload).entry);
    return std::vector<SimFrame>{};
  });
  server.on(3495, answer_page);
  server.on(3488, answer_detail);
  server.on(3494, answer_export);
  server.on(3720, store_upnp);
}

CORESIM_ANSWERS(register_system_info_answers)
