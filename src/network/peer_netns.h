// Tests: a second network namespace joined to the test's own by a veth
// pair, so that interface queries and the ARP probe meet a real neighbour.
// Only inside the device root, whose network namespace is private: nothing
// reaches the host's network.
#pragma once

#include <string>
#include <vector>

class PeerNetns {
 public:
  // The local end `local` gets `local_cidr` (and `mac` when given) in the
  // test's namespace; the far end, in a new namespace, gets `peer_cidr`.
  // Both ends are up. ok() tells whether everything was set up.
  PeerNetns(const std::string &local, const std::string &local_cidr,
            const std::string &peer_cidr, const std::string &mac = "");
  ~PeerNetns();
  PeerNetns(const PeerNetns &) = delete;
  PeerNetns &operator=(const PeerNetns &) = delete;

  bool ok() const { return ok_; }
  // Runs `ip` with the arguments here, or in the peer namespace.
  static bool ip(const std::vector<std::string> &args);
  bool peer_ip(std::vector<std::string> args) const;

  // True inside the device root (the only place these tests may run).
  static bool in_device_root();

 private:
  std::string local_, ns_;
  bool ok_ = false;
};
