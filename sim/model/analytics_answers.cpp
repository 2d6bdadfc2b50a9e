// People-counting, POS and face-detection requests. The settings live in
// the recorder's database; the daemon takes each change and answers result
// 0, or -1 for a request that names no group, POS connection or channel.
// The face configuration a camera was last sent is kept per channel.
#include <cstring>

#include "camera/analytics_records.h"
#include "kxdb_face.h"
#include "kxdb_peoplecnt.h"
#include "kxdb_pos.h"
#include "model.h"

namespace {

constexpr int32_t kAccepted = 0;
constexpr int32_t kRefused = -1;

face_config g_face[FACE_CHANNELS];

std::vector<SimFrame> result(int32_t value) {
  return {SimFrame{0, bytes_of_int(value), 0}};
}

// The first word of the request when it holds one and lies in 0 .. limit - 1.
bool id_word(const SimRequest &r, int limit) {
  if (r.payload.size() < sizeof(int32_t)) return false;
  int32_t id = record_from<int32_t>(r.payload);
  return id >= 0 && id < limit;
}

std::vector<SimFrame> group_request(const SimRequest &r) {
  return result(id_word(r, PEOPLECNT_GROUPS) ? kAccepted : kRefused);
}

std::vector<SimFrame> groups_changed(const SimRequest &r) {
  return result(r.payload.size() >= sizeof(int32_t) ? kAccepted : kRefused);
}

std::vector<SimFrame> group_action_changed(const SimRequest &r) {
  bool ok = r.payload.size() >= sizeof(peoplecnt_action_notice) && id_word(r, PEOPLECNT_GROUPS);
  return result(ok ? kAccepted : kRefused);
}

std::vector<SimFrame> pos_changed(const SimRequest &r) {
  return result(id_word(r, POS_CONNECTIONS) ? kAccepted : kRefused);
}

std::vector<SimFrame> face_config_set(const SimRequest &r) {
  if (r.payload.size() < sizeof(face_config)) return result(kRefused);
  face_config config = record_from<face_config>(r.payload);
  if (config.chnId < 0 || config.chnId >= FACE_CHANNELS) return result(kRefused);
  g_face[config.chnId] = config;
  return result(kAccepted);
}

}  // namespace

static void register_analytics_answers(SimServer &server, CoreModel &) {
  server.on(2290, groups_changed);
  server.on(2291, group_request);  // clear the stored counts
  server.on(2292, group_request);  // reset the live-view counters
  server.on(2293, group_action_changed);
  server.on(1421, pos_changed);
  server.on(1423, [](const SimRequest &) { return result(kAccepted); });
  // The face linkage notice is sent without waiting: no answer.
  server.on(3383, [](const SimRequest &) { return std::vector<SimFrame>{}; });
  server.on(3381, face_config_set);
}

CORESIM_ANSWERS(register_analytics_answers)
