// apilearn OUTPUT: learns what every registered handler reads and answers
// (api_learn.h) and writes the learnt shapes to OUTPUT, for
// `webcgi --openapi OUTPUT`. Runs inside the device root.
#include <cstdio>

#include "api_learn.h"
#include "json_codecs.h"

int main(int argc, char **argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: apilearn OUTPUT\n");
    return 2;
  }
  JsonPtr shapes(apilearn::learn_registry());
  // Written to a file: a handler may print on standard output itself.
  if (json_object_to_file_ext(argv[1], shapes.get(), JSON_C_TO_STRING_PRETTY) != 0) {
    fprintf(stderr, "apilearn: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
