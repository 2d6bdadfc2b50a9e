// Requests of the HTTPS certificate pages (payload of 3316: ssl_params).
#pragma once

#include "kxdb_ssl.h"

constexpr int CERT_REQ_CREATE = 3316;          // ssl_params, waits (8316)
constexpr int CERT_REQ_DELETE_REQUEST = 3317;  // no payload, no wait
constexpr int CERT_REQ_INSTALLED = 3318;       // no payload, waits (8318: int32 1 done)
constexpr int CERT_REQ_DELETED = 3320;         // no payload, no wait
constexpr int CERT_REQ_HTTPS_SWITCH = 3322;    // int32 enable, no wait

// Where the web server's certificate lives, and the names in it.
constexpr const char *SSL_DIR = "/mnt/nand/ssl";
constexpr const char *SSL_CERT = "/mnt/nand/ssl/ssl_cert.pem";
constexpr const char *SSL_CERT_SAVED = "/mnt/nand/ssl/ssl_cert_save.pem";
constexpr const char *SSL_REQUEST = "/mnt/nand/ssl/ssl_cert.csr";
constexpr const char *SSL_REQUEST_DOWNLOAD = "/mnt/nand/ssl/tmp/ssl_cert.csr";
constexpr const char *SSL_TOOL_DIR = "/mnt/nand/ssl/demoCA";
