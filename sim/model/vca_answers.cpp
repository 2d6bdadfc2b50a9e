// Analytics-rule requests: every channel's camera analyses at 1920 x 1080.
// What the recorder writes (area, line, people-counting, left/remove rules
// and the analysis settings) is kept per channel and answered back by the
// matching read; a write is always accepted (0), as is a counter reset.
#include <cstring>
#include <memory>

#include "model.h"
#include "video/vca_records.h"

namespace {

constexpr int kChannels = 64;
constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;
// The seven area-rule types that travel in the area record, by read code.
constexpr int kAreaReads[] = {VCA_REGION_ENTRANCE_GET, VCA_REGION_EXIT_GET, VCA_MOTION_GET,
                              VCA_TAMPER_GET,          VCA_LOITERING_GET,   VCA_HUMAN_GET};
constexpr int kAreaWrites[] = {VCA_REGION_ENTRANCE_SET, VCA_REGION_EXIT_SET, VCA_MOTION_SET,
                               VCA_TAMPER_SET,          VCA_LOITERING_SET,   VCA_HUMAN_SET};
constexpr int kAreaKinds = sizeof kAreaReads / sizeof kAreaReads[0];

struct Cameras {
  vca_area areas[kAreaKinds][kChannels];
  vca_line lines[kChannels];
  vca_line2 lines2[kChannels];
  vca_people people[kChannels];
  vca_leftremove leftremove[kChannels];
  vca_settings settings[kChannels];
  vca_class_settings classes[kChannels];
};
std::unique_ptr<Cameras> g;

bool channel_ok(int32_t channel) {
  return channel >= 0 && channel < kChannels;
}

int32_t channel_word(const SimRequest &r) {
  return r.payload.size() >= 4 ? record_from<int32_t>(r.payload) : -1;
}

std::vector<SimFrame> answer(const Bytes &payload) {
  return {SimFrame{0, payload, 0}};
}

std::vector<SimFrame> accepted() {
  return answer(bytes_of_int(0));
}

// A rectangle of the picture's middle, as the page would draw it.
void seed_area(vca_area &a, int32_t channel) {
  a = vca_area{};
  a.channel = channel;
  a.sensitivity = 5;
  a.time = 10;
  a.size = 2;
  a.tracks = 1;
  a.ignore_time = 3;
  snprintf(a.region, sizeof a.region, "0,0,0,0");
  snprintf(a.polygonX, sizeof a.polygonX, "115,345,345,115");
  snprintf(a.polygonY, sizeof a.polygonY, "65,65,195,195");
}

void seed_settings(vca_settings &s, vca_class_settings &c, int32_t channel) {
  s = vca_settings{};
  s.channel = channel;
  s.vcaType = 1;
  s.fps = 12;
  s.width = kWidth;
  s.height = kHeight;
  s.minWidth = 40;
  s.minHeight = 40;
  s.maxWidth = kWidth;
  s.maxHeight = kHeight;
  c = vca_class_settings{};
  c.channel = channel;
  c.fps = 12;
  c.width = kWidth;
  c.height = kHeight;
  for (int k = 0; k < VCA_CLASSES; k++) {
    c.minWidth[k] = c.minHeight[k] = 40;
    c.maxWidth[k] = kWidth;
    c.maxHeight[k] = kHeight;
  }
}

void seed_channel(int32_t ch) {
  for (vca_area(&kind)[kChannels] : g->areas) seed_area(kind[ch], ch);
  vca_line &l = g->lines[ch];
  l = vca_line{};
  l.channel = ch;
  l.lines[0] = {480, 540, 1440, 540, 0, {}};  // across the middle
  vca_line2 &l2 = g->lines2[ch];
  l2 = vca_line2{};
  l2.channel = ch;
  l2.sensitivity = 5;
  l2.lines[0].startX = 480;
  l2.lines[0].startY = l2.lines[0].stopY = 540;
  l2.lines[0].stopX = 1440;
  vca_people &p = g->people[ch];
  p = vca_people{};
  p.channel = ch;
  p.sensitivity = 5;
  p.lineNum = 1;
  p.lines[0].startX = 960;
  p.lines[0].stopX = 960;
  p.lines[0].stopY = kHeight;
  vca_leftremove &lr = g->leftremove[ch];
  lr = vca_leftremove{};
  lr.channel = ch;
  lr.sensitivity = 5;
  lr.min_time = 30;
  snprintf(lr.polygonX, sizeof lr.polygonX, "115,345,345,115");
  snprintf(lr.polygonY, sizeof lr.polygonY, "65,65,195,195");
  seed_settings(g->settings[ch], g->classes[ch], ch);
}

// The camera's resolution in every answer that carries one.
template <class Record>
Bytes with_resolution(Record r) {
  r.width = kWidth;
  r.height = kHeight;
  return bytes_of(r);
}

// A write: kept for the channel named by the record, when whole; either
// way the camera accepts it.
template <class Record>
std::vector<SimFrame> keep(const SimRequest &r, Record *table) {
  if (r.payload.size() < sizeof(Record)) return accepted();
  Record record = record_from<Record>(r.payload);
  if (channel_ok(record.channel)) table[record.channel] = record;
  return accepted();
}

template <class Record>
SimResponder reader(Record *table, bool resolution) {
  return [table, resolution](const SimRequest &r) {
    int32_t ch = channel_word(r);
    Record record = {};
    record.channel = ch;
    if (channel_ok(ch)) record = table[ch];
    if constexpr (requires { record.width; }) {
      if (resolution) return answer(with_resolution(record));
    }
    return answer(bytes_of(record));
  };
}

std::vector<SimFrame> support(const SimRequest &r) {
  vca_support s = {};
  s.channel = channel_word(r);
  s.support = channel_ok(s.channel) ? 1 : 0;
  s.type = 1;
  return answer(bytes_of(s));
}

}  // namespace

static void register_vca_answers(SimServer &server, CoreModel &) {
  g = std::make_unique<Cameras>();
  for (int32_t ch = 0; ch < kChannels; ch++) seed_channel(ch);
  for (int k = 0; k < kAreaKinds; k++) {
    vca_area *table = g->areas[k];
    server.on(kAreaReads[k], reader(table, false));
    server.on(kAreaWrites[k], [table](const SimRequest &r) { return keep(r, table); });
  }
  server.on(VCA_LINE_GET, reader(g->lines, true));
  server.on(VCA_LINE_SET, [](const SimRequest &r) { return keep(r, g->lines); });
  server.on(VCA_LINE2_GET, reader(g->lines2, true));
  server.on(VCA_LINE2_SET, [](const SimRequest &r) { return keep(r, g->lines2); });
  server.on(VCA_PEOPLE_GET, reader(g->people, true));
  server.on(VCA_PEOPLE_SET, [](const SimRequest &r) { return keep(r, g->people); });
  server.on(VCA_LEFTREMOVE_GET, reader(g->leftremove, false));
  server.on(VCA_LEFTREMOVE_SET, [](const SimRequest &r) { return keep(r, g->leftremove); });
  server.on(VCA_SETTINGS_GET, reader(g->settings, true));
  server.on(VCA_SETTINGS_SET, [](const SimRequest &r) { return keep(r, g->settings); });
  server.on(VCA_CLASS_SETTINGS_GET, reader(g->classes, true));
  server.on(VCA_CLASS_SETTINGS_SET, [](const SimRequest &r) { return keep(r, g->classes); });
  server.on(VCA_SUPPORT_GET, support);
  server.on(VCA_PEOPLE_RESET, [](const SimRequest &) { return accepted(); });
  server.on(SMART_EVENT_CHANGED_NOTICE, [](const SimRequest &) { return std::vector<SimFrame>{}; });
}

CORESIM_ANSWERS(register_vca_answers)
