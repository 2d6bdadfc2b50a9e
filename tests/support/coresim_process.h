// coresim as a child process of a test (inside the device root), listening
// on "/var/run/kxsocket" until the test ends.
#pragma once

#include <sys/types.h>

class CoresimProcess {
 public:
  // Starts the program (through the emulator on cross builds) and waits
  // until its socket is there.
  explicit CoresimProcess(const char *program);
  ~CoresimProcess();
  CoresimProcess(const CoresimProcess &) = delete;
  CoresimProcess &operator=(const CoresimProcess &) = delete;

 private:
  pid_t pid_ = -1;
};
