// The recorder model behind coresim: the state the simulated daemon keeps,
// and each module's answers, registered from the module's own file with
// CORESIM_ANSWERS(function).
#pragma once

#include <vector>

#include "sim_server.h"

struct CoreModel {
  int requests_served = 0;
};

using AnswerRegistrar = void (*)(SimServer &server, CoreModel &model);

// Registrars of every module's answers, filled before main.
std::vector<AnswerRegistrar> &answer_registrars();

struct AnswerRegistration {
  explicit AnswerRegistration(AnswerRegistrar r) { answer_registrars().push_back(r); }
};

#define CORESIM_ANSWERS(function) static AnswerRegistration function##_registration(function);

void register_all_answers(SimServer &server, CoreModel &model);
