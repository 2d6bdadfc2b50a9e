// The per-request reset: under FastCGI one process serves request after
// request, so whatever a request leaves in a global must be put back before
// the next one begins. Every module that keeps request state at namespace
// scope (or in a function's static) hooks one reset function here:
//
//   void reset_my_state() { g_thing = {}; }
//   CGI_RESET_HOOK(reset_my_state);
//
// cgi_request_reset runs every hook; a CGI process never needs it (its
// state ends with it), the FastCGI loop calls it after each request.
#pragma once

struct cgi_reset_hook {
  const char *name;
  void (*reset)();
  cgi_reset_hook *next;
};

// Adds a hook (from a static constructor); hooks run in reverse order of
// registration.
void cgi_register_reset(cgi_reset_hook *hook);

// Runs every registered hook.
void cgi_request_reset();

// The names of the registered hooks, newest first (for tests).
const cgi_reset_hook *cgi_reset_hooks();

#define CGI_RESET_HOOK_CAT2(a, b) a##b
#define CGI_RESET_HOOK_CAT(a, b) CGI_RESET_HOOK_CAT2(a, b)
#define CGI_RESET_HOOK(fn)                                                                  \
  namespace {                                                                               \
  cgi_reset_hook CGI_RESET_HOOK_CAT(fn, _reset_hook){#fn, fn, nullptr};                     \
  [[maybe_unused]] const bool CGI_RESET_HOOK_CAT(fn, _reset_registered) =                   \
      (cgi_register_reset(&CGI_RESET_HOOK_CAT(fn, _reset_hook)), true);                     \
  }
