// The files of a created certificate or certificate request, made with
// libcrypto where the web pages look for them: a self-signed certificate
// "ssl_cert.pem", or the request "ssl_cert.csr" and its download copy.
// Shared by coresim (request 3316) and the demo's factory settings.
#pragma once

#include "kxdb_ssl.h"

// Fills the record's dates text (certificates) and makes its files. True
// when they were written.
bool make_ssl_files(ssl_params *record);
