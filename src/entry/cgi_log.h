// Process services every module uses: the debug log and the shell runner.
#pragma once

// Appends one line to "/mnt/nand/cgi_log.txt":
// "[webcgi] YYYY-MM-DD hh:mm:ss  file:line in function: message".
int cgi_log(const char *file, int line, const char *function, const char *format, ...)
    __attribute__((format(printf, 4, 5)));

#define CGI_LOG(...) cgi_log(__FILE_NAME__, __LINE__, __func__, __VA_ARGS__)

constexpr const char *CGI_LOG_FILE = "/mnt/nand/cgi_log.txt";

// Runs a command through the shell; 0 when it ran and exited with status 0,
// else -1. Never pass request text in `command` unquoted (see shell_quote).
int web_system(const char *command);

// Test seam: while a runner is set, web_system hands each command to it
// instead of the shell and returns what it returns. Null restores the shell.
using WebSystemRunner = int (*)(const char *command);
void web_system_set_runner(WebSystemRunner runner);
