#include "model.h"

void register_all_answers(SimServer &server, CoreModel &model) {
  // Unknown codes: a 4-byte result 0.
  server.set_default([](const SimRequest &) {
    return std::vector<SimFrame>{SimFrame{0, bytes_of_int(0), 0}};
  });
  register_camera_answers(server, model);
}
