// HTTPS certificates: 3316 stores the create record (kind 0 certificate,
// kind 2 request) once its placeholder files are made; 3318 (installed)
// answers 1; 3317 removes the certificate request (no answer).
#include <cstdio>

#include "cert_files.h"
#include "kxdb.h"
#include "model.h"
#include "network/cert_records.h"

namespace {

std::vector<SimFrame> create(const SimRequest &request) {
  ssl_params r = record_from<ssl_params>(request.payload);
  r.Country[sizeof r.Country - 1] = r.CommonName[sizeof r.CommonName - 1] = '\0';
  r.Email[sizeof r.Email - 1] = r.Organization[sizeof r.Organization - 1] = '\0';
  if (r.InstallType != SSL_INSTALL_REQUEST) r.InstallType = SSL_INSTALL_CERT;
  bool made = make_ssl_files(&r) && write_ssl_params(KXDB_FILE, &r) == 0;
  return {SimFrame{0, bytes_of_int(made ? 0 : -1), 0}};
}

std::vector<SimFrame> delete_request(const SimRequest &) {
  remove(SSL_REQUEST);
  remove(SSL_REQUEST_DOWNLOAD);
  return {};
}

void register_cert_answers(SimServer &server, CoreModel &) {
  server.on(CERT_REQ_CREATE, create);
  server.on(CERT_REQ_DELETE_REQUEST, delete_request);
  server.on(CERT_REQ_INSTALLED,
            [](const SimRequest &) { return std::vector<SimFrame>{{0, bytes_of_int(1), 0}}; });
}

}  // namespace

CORESIM_ANSWERS(register_cert_answers)
