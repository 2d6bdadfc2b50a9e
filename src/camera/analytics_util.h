// What the people-counting, POS and face-detection handlers share.
#pragma once

#include "analytics.h"
#include "camera_util.h"
#include "linkage.h"

namespace camera {

// The parsed request when its int member `key` is present and within 0 to
// limit - 1 (*id set then); else the JSON error is written and null returned.
JsonPtr request_with_id(const char *text, const char *key, int limit, int *id);

// Writes the JSON error reply; -1, the handler's result.
int reply_json_error();

// Sends the request and waits; the decoder writes the reply, the JSON error
// comes when no answer does.
void exchange_json(int code, const void *payload, int length);

}  // namespace camera
