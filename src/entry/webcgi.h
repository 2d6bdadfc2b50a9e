// Everything a handler module uses: registry, reply writers, daemon
// channel, settings, utilities, JSON codecs, CGI environment.
#pragma once

#include "access_guard.h"
#include "cgi_ipc.h"
#include "cgi_log.h"
#include "cgic.h"
#include "dispatchreq.h"
#include "json_codecs.h"
#include "kxdb.h"
#include "kxstd.h"
#include "settings.h"
#include "web_utils.h"
