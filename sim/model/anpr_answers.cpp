// Plate-recognition requests: every channel's camera reads plates, zoom
// stopped at step 1; the wildcards a recorder writes are kept per channel
// and answered back by the next read (a write is always accepted, 0).
#include <cstdio>
#include <memory>

#include "model.h"
#include "video/anpr_records.h"

namespace {

constexpr int kChannels = 64;

std::unique_ptr<anpr_wildcards[]> g_wildcards;

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
  for (int32_t ch = 0; ch < kChannels; ch++) g_wildcards[ch] = seeded_wildcards(ch);
  server.on(ANPR_WILDCARDS_GET, wildcards);
  server.on(ANPR_WILDCARDS_SET, keep_wildcards);
  server.on(ANPR_SUPPORT_GET, support);
  server.on(ANPR_ZOOM_GET, zoom);
}

CORESIM_ANSWERS(register_anpr_answers)
