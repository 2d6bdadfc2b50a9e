// HTTPS certificate parameters (table "ssl"): what a certificate or a
// certificate request was created with, one record per install type. The
// same record is the payload of the create request (3316).
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int SSL_INSTALL_CERT = 0;     // self-signed certificate
constexpr int SSL_INSTALL_REQUEST = 2;  // certificate request

struct ssl_params {
  int32_t InstallType;  // the record's key
  char Country[3];
  char CommonName[64];
  char pad0;
  int32_t Validity;  // days, certificates only
  char Password[16];
  char Province[64];
  char Region[64];
  char Organization[64];
  char Company[64];
  char Email[64];
  char reserved0[256];
  char dates[128];  // validity dates text
  char reserved1[64];
  char startTime[16];  // certificates only
  char endTime[16];
};
static_assert(sizeof(ssl_params) == 892);
static_assert(offsetof(ssl_params, InstallType) == 0);
static_assert(offsetof(ssl_params, Country) == 4);
static_assert(offsetof(ssl_params, CommonName) == 7);
static_assert(offsetof(ssl_params, pad0) == 71);
static_assert(offsetof(ssl_params, Validity) == 72);
static_assert(offsetof(ssl_params, Password) == 76);
static_assert(offsetof(ssl_params, Province) == 92);
static_assert(offsetof(ssl_params, Region) == 156);
static_assert(offsetof(ssl_params, Organization) == 220);
static_assert(offsetof(ssl_params, Company) == 284);
static_assert(offsetof(ssl_params, Email) == 348);
static_assert(offsetof(ssl_params, reserved0) == 412);
static_assert(offsetof(ssl_params, dates) == 668);
static_assert(offsetof(ssl_params, reserved1) == 796);
static_assert(offsetof(ssl_params, startTime) == 860);
static_assert(offsetof(ssl_params, endTime) == 876);

// The record of `kind` (0 or 2); never written: zeroes with the kind set.
// 0, or -1 (record untouched).
int read_ssl_params(const char *file, ssl_params *record, int kind);
// Stores the record under its InstallType. 0 or -1.
int write_ssl_params(const char *file, const ssl_params *record);
