#include "request_reset.h"

namespace {
// Constant-initialised, so hooks may register from any static constructor.
cgi_reset_hook *g_hooks = nullptr;
}  // namespace

void cgi_register_reset(cgi_reset_hook *hook) {
  for (cgi_reset_hook *h = g_hooks; h; h = h->next) {
    if (h == hook) return;
  }
  hook->next = g_hooks;
  g_hooks = hook;
}

void cgi_request_reset() {
  for (cgi_reset_hook *h = g_hooks; h; h = h->next) h->reset();
}

const cgi_reset_hook *cgi_reset_hooks() {
  return g_hooks;
}
