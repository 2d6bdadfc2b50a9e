// The recorder model behind coresim: the state the simulated daemon keeps
// and the answers of each module's requests, registered per module.
#pragma once

#include "sim_server.h"

struct CoreModel;

// Each module's answers; coresim registers all of them.
void register_camera_answers(SimServer &server, CoreModel &model);

struct CoreModel {
  // Grows with the modules' answers (disks, cameras, users, ...).
  int requests_served = 0;
};

void register_all_answers(SimServer &server, CoreModel &model);
