#include "model.h"

std::vector<AnswerRegistrar> &answer_registrars() {
  static std::vector<AnswerRegistrar> registrars;
  return registrars;
}

void register_all_answers(SimServer &server, CoreModel &model) {
  // Unknown codes: a 4-byte result 0.
  server.set_default([](const SimRequest &) {
    return std::vector<SimFrame>{SimFrame{0, bytes_of_int(0), 0}};
  });
  for (AnswerRegistrar r : answer_registrars()) r(server, model);
}
