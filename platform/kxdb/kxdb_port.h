// The recorder's service ports and host name (one record, table "port"):
// read by the network services, system information and camera management
// pages.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int PORT_HOSTNAME_SIZE = 256;

struct port_params {
  int32_t enableSsh;
  int32_t sshPort;
  int32_t httpPort;
  int32_t rtspPort;
  int32_t servicePort;
  char hostName[PORT_HOSTNAME_SIZE];
  int32_t enableHostName;
  int32_t httpsPort;
  char reserved[4];
};
static_assert(sizeof(port_params) == 288);
static_assert(offsetof(port_params, enableSsh) == 0);
static_assert(offsetof(port_params, sshPort) == 4);
static_assert(offsetof(port_params, httpPort) == 8);
static_assert(offsetof(port_params, rtspPort) == 12);
static_assert(offsetof(port_params, servicePort) == 16);
static_assert(offsetof(port_params, hostName) == 20);
static_assert(offsetof(port_params, enableHostName) == 276);
static_assert(offsetof(port_params, httpsPort) == 280);
static_assert(offsetof(port_params, reserved) == 284);

// Never written, the record reads as zeroes. 0, or -1 (record untouched).
int read_port(const char *file, port_params *record);
int write_port(const char *file, const port_params *record);
