// coresim: the simulated core daemon for the demo and end-to-end tests.
//   coresim [--socket PATH] [--journal PATH]
// Listens on "/var/run/kxsocket" (inside a device root) and answers the
// requests of every module from a small recorder model; one journal line per
// request.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "model/model.h"
#include "sim_server.h"

namespace {
SimServer *g_server;
void on_signal(int) {
  if (g_server) g_server->stop();
}
}  // namespace

int main(int argc, char **argv) {
  std::string socket_path = "/var/run/kxsocket", journal_path = "/var/run/coresim.journal";
  for (int i = 1; i + 1 < argc; i += 2) {
    if (strcmp(argv[i], "--socket") == 0) socket_path = argv[i + 1];
    else if (strcmp(argv[i], "--journal") == 0) journal_path = argv[i + 1];
  }
  SimServer server(socket_path);
  // The model seeds the settings it starts from before the socket appears:
  // whoever waits for the socket then finds them in place.
  CoreModel model;
  register_all_answers(server, model);
  if (!server.listen()) {
    fprintf(stderr, "coresim: cannot listen on %s\n", socket_path.c_str());
    return 1;
  }
  // The recorder's pages take this file as the sign that the daemon runs.
  constexpr const char *kRunningFile = "/tmp/kxcore";
  if (FILE *running = fopen(kRunningFile, "w")) fclose(running);
  FILE *journal = fopen(journal_path.c_str(), "a");
  server.set_journal(journal);
  g_server = &server;
  signal(SIGINT, on_signal);
  signal(SIGTERM, on_signal);
  signal(SIGPIPE, SIG_IGN);
  fprintf(stderr, "coresim: listening on %s\n", socket_path.c_str());
  server.run();
  if (journal) fclose(journal);
  unlink(kRunningFile);
  return 0;
}
