// Recording requests: a recorder whose channels 0 to 3 have a camera
// connected. Those cameras take the ANR flag the program sends (2285) and
// report recording support (2286); the primary and secondary lists (3218)
// describe them. The change notices of the recording pages (1401, 1407,
// 1411, 1413, 1310) are journaled and not answered.
#include <cstring>

#include "model.h"
#include "record/record_records.h"

namespace {

constexpr int kConnectedCameras = 4;
constexpr int kResultNoCamera = 1;  // a listed channel without a camera

// The ANR flag each connected camera holds, as last set.
int32_t g_anr[kConnectedCameras] = {};

bool connected(int channel) {
  return channel >= 0 && channel < kConnectedCameras;
}

std::vector<SimFrame> answer(const Bytes &payload) {
  return {SimFrame{0, payload, 0}};
}

std::vector<SimFrame> set_anr(const SimRequest &r) {
  auto list = record_from<record_anr_list>(r.payload);
  int count = list.count < 0 ? 0 : list.count > RECORD_LIST_MAX ? RECORD_LIST_MAX : list.count;
  record_anr_result result = {};
  result.count = count;
  for (int i = 0; i < count; i++) {
    int channel = list.channels[i];
    result.channels[i] = channel;
    if (connected(channel)) g_anr[channel] = list.anr;
    else result.result[i] = kResultNoCamera;
    if (result.result[i] != 0) result.flag = 1;
  }
  return answer(bytes_of(result));
}

std::vector<SimFrame> support(const SimRequest &r) {
  int32_t channel = record_from<record_channel>(r.payload).channel;
  return answer(bytes_of(record_support{channel, connected(channel) ? 1 : 0}));
}

std::vector<SimFrame> primary_secondary() {
  record_primary_secondary lists = {};
  for (int i = 0; i < kConnectedCameras; i++) {
    lists.primary[i] = 1;                // main stream recorded
    lists.secondary[i] = g_anr[i] ? 1 : 0;  // sub stream kept for replenishment
  }
  lists.size = kConnectedCameras;
  return answer(bytes_of(lists));
}

std::vector<SimFrame> notice(const SimRequest &) {
  return {};
}

}  // namespace

static void register_record_answers(SimServer &server, CoreModel &) {
  server.on(2285, set_anr);
  server.on(2286, support);
  server.on(3218, [](const SimRequest &) { return primary_secondary(); });
  for (int code : {1401, 1407, 1411, 1413, 1310}) server.on(code, notice);
}

CORESIM_ANSWERS(register_record_answers)
