// Plate-recognition requests: every channel's camera reads plates, zoom
// stopped at step 1; the recognition settings and wildcards a recorder
// writes are kept per channel and answered back by the next read (a write
// is always accepted, 0).
#include <cstdio>
#include <memory>

#include "model.h"
#include "video/anpr_records.h"

namespace {

constexpr int kChannels = 64;

std::unique_ptr<anpr_wildcards[]> g_wildcards;
std::unique_ptr<anpr_settings[]> g_settings;

bool channel_ok(int32_t channel) {
  return channel >= 0 && channel < kChannels;
}

int32_t channel_word(const SimRequest &r) {
  return r.payload.size() >= 4 ? record_from<int32_t>(r.payload) : -1;
}

std::vector<SimFrame> answer(const Bytes &payload) {
  return {SimFrame{0, payload, 0}};
}

// Two formats: a letter block and digits, as the demo's plates are written.
anpr_wildcards seeded_wildcards(int32_t channel) {
  anpr_wildcards w = {};
  w.channel = channel;
  w.filter = 1;
  w.maxPlateCharNum = 8;
  w.enable[0] = w.enable[1] = 1;
  w.cr_count[0] = 7;
  w.cr_count[1] = 8;
  snprintf(w.format[0], sizeof w.format[0], "AA-9999");
  snprintf(w.format[1], sizeof w.format[1], "AAA-9999");
  return w;
}

void set_area(anpr_area &a, const char *name, int32_t x, int32_t y, int32_t w, int32_t h) {
  snprintf(a.name, sizeof a.name, "%s", name);
  a.startX = x;
  a.startY = y;
  a.endX = x + w;
  a.endY = y + h;
}

// A 1920 x 1080 camera watching a gate lane: detection area in the lower
// half, one region of interest, two presets of group 0 and four normal
// polygons (AI type 12).
anpr_settings seeded_settings(int32_t channel) {
  anpr_settings s = {};
  s.chnid = channel;
  s.enable = 1;
  s.resolution_width = 1920;
  s.resolution_height = 1080;
  s.area_x = 240;
  s.area_y = 540;
  s.area_width = 1440;
  s.area_height = 480;
  s.region_enable = 1;
  s.repeat_check_time_value = 5;
  s.repeat_check_time_unit = 1;
  s.post_tcp_port = 8080;
  snprintf(s.post_http_url, sizeof s.post_http_url, "http://192.168.1.20/plates");
  s.confidence = 80;
  snprintf(s.region[0], sizeof s.region[0], "Default");
  snprintf(s.cur_area, sizeof s.cur_area, "Default");
  set_area(s.roi[0], "Gate lane", 240, 540, 1440, 480);
  set_area(s.preset[0][0], "Entry", 100, 500, 800, 400);
  set_area(s.preset[0][1], "Exit", 1000, 500, 800, 400);
  s.night_mode_level = 2;
  s.night_mode_starthour = 19;
  s.night_mode_stophour = 6;
  s.jsonSupport = 1;
  s.aitype = 12;
  const char *names[ANPR_POLYGONS] = {"Lane 1", "Lane 2", "Lane 3", "Lane 4"};
  for (int i = 0; i < ANPR_POLYGONS; i++) {
    anpr_polygon &p = s.normalPolygons[i];
    snprintf(p.name, sizeof p.name, "%s", names[i]);
    snprintf(p.polygonX, sizeof p.polygonX, "%d,%d,%d,%d", 100 + 400 * i, 450 + 400 * i,
             450 + 400 * i, 100 + 400 * i);
    snprintf(p.polygonY, sizeof p.polygonY, "600,600,1000,1000");
  }
  return s;
}

std::vector<SimFrame> settings(const SimRequest &r) {
  int32_t ch = channel_word(r);
  anpr_settings s = {};
  s.chnid = ch;
  if (channel_ok(ch)) s = g_settings[ch];
  return answer(bytes_of(s));
}

// What the camera answers only is its own: night mode and the external
// IR light stay as they were.
std::vector<SimFrame> keep_settings(const SimRequest &r) {
  if (r.payload.size() >= sizeof(anpr_settings)) {
    anpr_settings s = record_from<anpr_settings>(r.payload);
    if (channel_ok(s.chnid)) {
      s.in_night_mode = g_settings[s.chnid].in_night_mode;
      s.irLedExternalSupport = g_settings[s.chnid].irLedExternalSupport;
      g_settings[s.chnid] = s;
    }
  }
  return answer(bytes_of_int(0));
}

std::vector<SimFrame> wildcards(const SimRequest &r) {
  int32_t ch = channel_word(r);
  anpr_wildcards w = {};
  w.channel = ch;
  if (channel_ok(ch)) w = g_wildcards[ch];
  return answer(bytes_of(w));
}

std::vector<SimFrame> keep_wildcards(const SimRequest &r) {
  if (r.payload.size() >= sizeof(anpr_wildcards)) {
    anpr_wildcards w = record_from<anpr_wildcards>(r.payload);
    if (channel_ok(w.channel)) g_wildcards[w.channel] = w;
  }
  return answer(bytes_of_int(0));
}

std::vector<SimFrame> support(const SimRequest &r) {
  anpr_support s = {};
  s.channel = channel_word(r);
  s.vca_support = channel_ok(s.channel) ? 1 : 0;
  s.vca_version = 2;
  return answer(bytes_of(s));
}

std::vector<SimFrame> zoom(const SimRequest &r) {
  anpr_zoom z = {};
  z.channel = channel_word(r);
  z.state = 0;
  z.zoomNumber = 1;
  return answer(bytes_of(z));
}

}  // namespace

static void register_anpr_answers(SimServer &server, CoreModel &) {
  g_wildcards = std::make_unique<anpr_wildcards[]>(kChannels);
  g_settings = std::make_unique<anpr_settings[]>(kChannels);
  for (int32_t ch = 0; ch < kChannels; ch++) {
    g_wildcards[ch] = seeded_wildcards(ch);
    g_settings[ch] = seeded_settings(ch);
  }
  server.on(ANPR_SETTINGS_GET, settings);
  server.on(ANPR_SETTINGS_SET, keep_settings);
  server.on(ANPR_WILDCARDS_GET, wildcards);
  server.on(ANPR_WILDCARDS_SET, keep_wildcards);
  server.on(ANPR_SUPPORT_GET, support);
  server.on(ANPR_ZOOM_GET, zoom);
  server.on(ANPR_MODE_CHANGED_NOTICE, [](const SimRequest &) { return std::vector<SimFrame>{}; });
}

CORESIM_ANSWERS(register_anpr_answers)
