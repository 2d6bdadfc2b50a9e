#include "cert_files.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "network/cert_records.h"

namespace {

void set_names(X509_NAME *name, const ssl_params &r) {
  auto add = [name](const char *field, const char *value) {
    if (value[0]) {
      X509_NAME_add_entry_by_txt(name, field, MBSTRING_UTF8, (const unsigned char *)value, -1,
                                 -1, 0);
    }
  };
  add("C", r.Country);
  add("CN", r.CommonName);
  add("O", r.Organization);
  add("emailAddress", r.Email);
}

bool write_pem(const char *path, bool (*write)(FILE *, void *), void *object) {
  FILE *out = fopen(path, "w");
  if (!out) return false;
  bool ok = write(out, object);
  return fclose(out) == 0 && ok;
}

bool make_certificate(EVP_PKEY *key, const ssl_params &r) {
  X509 *cert = X509_new();
  if (!cert) return false;
  ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
  X509_gmtime_adj(X509_getm_notBefore(cert), 0);
  X509_gmtime_adj(X509_getm_notAfter(cert), 86400L * (r.Validity > 0 ? r.Validity : 365));
  set_names(X509_get_subject_name(cert), r);
  X509_set_issuer_name(cert, X509_get_subject_name(cert));
  X509_set_pubkey(cert, key);
  bool ok = X509_sign(cert, key, EVP_sha256()) > 0 &&
            write_pem(SSL_CERT, [](FILE *f, void *c) {
              return PEM_write_X509(f, (X509 *)c) == 1;
            }, cert);
  X509_free(cert);
  return ok;
}

bool make_request(EVP_PKEY *key, const ssl_params &r) {
  X509_REQ *req = X509_REQ_new();
  if (!req) return false;
  set_names(X509_REQ_get_subject_name(req), r);
  X509_REQ_set_pubkey(req, key);
  auto write = [](FILE *f, void *q) { return PEM_write_X509_REQ(f, (X509_REQ *)q) == 1; };
  bool ok = X509_REQ_sign(req, key, EVP_sha256()) > 0 && write_pem(SSL_REQUEST, write, req) &&
            write_pem(SSL_REQUEST_DOWNLOAD, write, req);
  X509_REQ_free(req);
  return ok;
}

void dates_text(ssl_params *r) {
  time_t now = time(nullptr);
  time_t end = now + 86400L * (r->Validity > 0 ? r->Validity : 365);
  char from[32], to[32];
  strftime(from, sizeof from, "%Y-%m-%d", gmtime(&now));
  strftime(to, sizeof to, "%Y-%m-%d", gmtime(&end));
  snprintf(r->dates, sizeof r->dates, "%s - %s", from, to);
}

}  // namespace

bool make_ssl_files(ssl_params *r) {
  bool request_kind = r->InstallType == SSL_INSTALL_REQUEST;
  if (!request_kind) dates_text(r);
  mkdir(SSL_DIR, 0755);
  mkdir((std::string(SSL_DIR) + "/tmp").c_str(), 0755);
  EVP_PKEY *key = EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256");
  bool made = key && (request_kind ? make_request(key, *r) : make_certificate(key, *r));
  EVP_PKEY_free(key);
  return made;
}
