// The OpenAPI 3.1 document of every registered endpoint (`webcgi --openapi`).
//
// Paths, summaries, tags (the tables) and operation ids (the handlers) come
// from the registry. What each handler reads and answers is learnt by
// running it (tests/openapi/apilearn) and handed in as "learnt shapes": a
// JSON object keyed by path, each entry with
//   "body":    JSON Schema of the request text the handler parses (absent: none)
//   "query":   names the handler looks for in the request text ("aes" for "aes=")
//   "upload":  true when the request is a multipart upload with a file part
//   "replies": what it answered: "object", "array", "text", "file", "nothing"
#pragma once

#include <cstdio>
#include <json-c/json.h>

#include "dispatchreq.h"

// The cookie that carries the session "/1000" gives.
constexpr const char *OPENAPI_SESSION_SCHEME = "sessionId";

// Builds the document; `learnt` may be null (operations without request or
// reply details). The caller releases the result.
json_object *openapi_document(json_object *learnt);

// What calling `row` needs, as the operation's "security" member: the
// session cookie, except for the logins that give one.
json_object *openapi_operation_security(const WebRes &row);

// Writes the document for the shapes in `learnt_file` (null: none). False,
// with a message on standard error, when the file cannot be read.
bool webres_write_openapi(FILE *out, const char *learnt_file);
