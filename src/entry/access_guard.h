// The program's own access guard. With the settings parameter "web_auth"
// at 1, a request runs only with a live session (the "sessionId" cookie of
// a login) whose rights cover what its endpoint's row asks for; otherwise
// access is left to the web server and every request runs, as without it.
#pragma once

#include "dispatchreq.h"
#include "web_session.h"

// Whether the guard is on ("web_auth" 1).
bool web_access_guarded();

// Whether a request for `res` may run. When it may not, the refusal has
// been written: status 401 and an empty body without a live session, 403
// when the session's rights lack what the row asks for.
bool web_access_granted(const WebRes &res);

// Whether `session` has what `access` asks for. Administrators have all.
bool web_session_allows(const web_session &session, WebAccess access);

// The value of cookie `name` in a Cookie header's text (names match
// exactly), cut to size - 1; "" when there is none.
void cgi_cookie_value(const char *cookies, const char *name, char *value, int size);

// The user name of the session the guard admitted this request with, or
// null when it admitted none.
const char *web_access_session_user();
