// Settings of the service endpoints: the network access filter, and the
// camera address that the batch writer sets.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Access filter (up to 100 client addresses) ----
struct access_filter_entry {
  int32_t address_type;  // meaning kept by the daemon and the page
  char address[32];
};
static_assert(sizeof(access_filter_entry) == 36);
static_assert(offsetof(access_filter_entry, address_type) == 0);
static_assert(offsetof(access_filter_entry, address) == 4);

constexpr int ACCESS_FILTER_ENTRIES = 100;

// Reads the stored list into `entries` (ACCESS_FILTER_ENTRIES of them) and
// its length into `count`; never written: an empty list. 0, or -1 (count 0).
int read_access_filter(const char *file, access_filter_entry *entries, int *count);
// Replaces the whole list in one write (count 0 to ACCESS_FILTER_ENTRIES). 0 or -1.
int write_access_filter(const char *file, const access_filter_entry *entries, int count);

// Sets the address of the camera record of `channel` (0 to 63), cut to its
// field; the other fields stay. 0, or -1 for a bad channel or a failed write.
int write_camera_ip(const char *file, int channel, const char *address);
