// Shared by the network handler tests: stored settings, daemon requests
// and log entries.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "handler_fixture.h"
#include "json_checks.h"
#include "network.h"

inline const std::string kTextOk = kTextHeader + "OK";

class NetworkTest : public HandlerTest {
 protected:
  std::vector<SimRequest> sent(int code) {
    settle(daemon());
    return daemon().requests(code);
  }
  // Requests other than the settle marker, in order.
  std::vector<int> codes() {
    settle(daemon());
    std::vector<int> out;
    for (int c : daemon().codes()) {
      if (c != kSettleMarker) out.push_back(c);
    }
    return out;
  }
  std::vector<log_info> logs() {
    std::vector<log_info> out;
    for (auto &r : sent(3485)) out.push_back(record_from<log_info>(r.payload));
    return out;
  }

  static network_params stored() {
    network_params r{};
    EXPECT_EQ(read_network(KXDB_FILE, &r), 0);
    return r;
  }
  static void store(const network_params &r) { ASSERT_EQ(write_network(KXDB_FILE, &r), 0); }
};

template <size_t N>
void set_text(char (&field)[N], const char *text) {
  snprintf(field, N, "%s", text);
}

inline network_ipv4 ipv4(int enable, int type, const char *ip, const char *mask, const char *gw,
                         const char *dns1, const char *dns2, int mtu) {
  network_ipv4 v = {};
  v.enable = enable;
  v.networkType = type;
  set_text(v.ipAddr, ip);
  set_text(v.netmask, mask);
  set_text(v.gateway, gw);
  set_text(v.DNS1, dns1);
  set_text(v.DNS2, dns2);
  v.mtu = mtu;
  return v;
}

inline network_ipv6 ipv6(const char *ip, const char *prefix, const char *gw) {
  network_ipv6 v = {};
  set_text(v.ip6Addr, ip);
  set_text(v.ip6netmask, prefix);
  set_text(v.ip6gateway, gw);
  return v;
}

inline Bytes int_bytes(int32_t value) {
  return bytes_of_int(value);
}
