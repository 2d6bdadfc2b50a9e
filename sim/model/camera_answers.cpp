// Camera-parameter requests.
#include <cstring>

#include "model.h"

static void register_camera_answers(SimServer &server, CoreModel &) {
  // 4002: a free-form command; the result text starts at byte 16.
  server.on(4002, [](const SimRequest &r) {
    char cmd[100] = {};
    memcpy(cmd, r.payload.data(), r.payload.size() < 99 ? r.payload.size() : 99);
    std::string result = std::string("done: ") + cmd;
    Bytes payload(16, 0);
    payload.insert(payload.end(), result.begin(), result.end());
    payload.push_back(0);
    return std::vector<SimFrame>{SimFrame{0, payload, 0}};
  });
}

CORESIM_ANSWERS(register_camera_answers)
