/* The floor of the benchmarks: the least a CGI program can do. */
#include <stdio.h>

int main(void) {
  fputs("Content-type: text/plain\r\n\r\nOK", stdout);
  return 0;
}
