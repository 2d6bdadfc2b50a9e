// Login and user-account requests.
#include <algorithm>
#include <string>

#include "model.h"

namespace {

// The token that the demo's notification links carry; any other is refused.
constexpr const char *kDemoMailToken = "demo-mail-token";

std::vector<SimFrame> status_answer(int32_t status) {
  return {SimFrame{0, bytes_of_int(status), 0}};
}

}  // namespace

static void register_system_answers(SimServer &server, CoreModel &) {
  // 3504: the token of an e-mail link in 256 bytes; status 0 accepts it.
  server.on(3504, [](const SimRequest &r) {
    std::string text(r.payload.begin(), std::find(r.payload.begin(), r.payload.end(), 0));
    return status_answer(text == kDemoMailToken ? 0 : 1);
  });
  // 3265: update the PoE cameras' password; always succeeds here.
  server.on(3265, [](const SimRequest &) { return status_answer(0); });
  // 3267 and 3505 (reload the accounts) are notices: the journal records
  // them and no answer is sent.
  server.on(3267, [](const SimRequest &) { return std::vector<SimFrame>{}; });
  server.on(3505, [](const SimRequest &) { return std::vector<SimFrame>{}; });
}

CORESIM_ANSWERS(register_system_answers)
