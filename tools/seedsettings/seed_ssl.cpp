// The HTTPS certificate the demo starts with, and its files.
//
//   sslcert KIND COUNTRY COMMONNAME ORGANIZATION EMAIL DAYS
//                                        KIND 0 a self-signed certificate,
//                                        2 a certificate request; texts
//                                        with "_" for each blank
#include <cstdio>

#include "cert_files.h"
#include "kxdb.h"
#include "seed.h"

namespace {

bool seed_ssl_cert(std::istringstream &in) {
  ssl_params r = {};
  std::string country, name, organization, email;
  if (!(in >> r.InstallType >> country >> name >> organization >> email >> r.Validity)) {
    return false;
  }
  if (r.InstallType != SSL_INSTALL_CERT && r.InstallType != SSL_INSTALL_REQUEST) return false;
  snprintf(r.Country, sizeof r.Country, "%s", country.c_str());
  snprintf(r.CommonName, sizeof r.CommonName, "%s", seed_text(name).c_str());
  snprintf(r.Organization, sizeof r.Organization, "%s", seed_text(organization).c_str());
  snprintf(r.Email, sizeof r.Email, "%s", email.c_str());
  return make_ssl_files(&r) && write_ssl_params(KXDB_FILE, &r) == 0;
}

}  // namespace

SEED_KIND("sslcert", seed_ssl_cert)
