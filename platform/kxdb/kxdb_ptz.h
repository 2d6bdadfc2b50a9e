// PTZ settings of each channel: the tour table (8 tours of 48 points), the
// serial PTZ port of the analogue-style channels and the camera's PTZ
// speeds. The tour point is also the daemon's point layout of a tour set.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int PTZ_CHANNELS = 64;    // settings keys 0 to 63
constexpr int PTZ_TOURS = 8;        // tours of a channel
constexpr int PTZ_TOUR_POINTS = 48; // points of a tour

// ---- Tour table (table "ptz_tour", one per channel) ----
struct ptz_tour_point {
  int32_t preset;  // 0 ends the tour
  int32_t time;
  int32_t speed;
};
static_assert(sizeof(ptz_tour_point) == 12);
static_assert(offsetof(ptz_tour_point, preset) == 0);
static_assert(offsetof(ptz_tour_point, time) == 4);
static_assert(offsetof(ptz_tour_point, speed) == 8);

struct ptz_tour {
  ptz_tour_point points[PTZ_TOUR_POINTS];
};
static_assert(sizeof(ptz_tour) == 576);
static_assert(offsetof(ptz_tour, points) == 0);

struct ptz_tour_table {
  ptz_tour tours[PTZ_TOURS];  // indexed by tour id, from 0
};
static_assert(sizeof(ptz_tour_table) == 4608);
static_assert(offsetof(ptz_tour_table, tours) == 0);

// ---- Serial PTZ port (table "ptz_port") ----
struct ptz_port_params {
  int32_t channel;
  int32_t baudRate;
  int32_t dataBits;
  int32_t stopBits;
  int32_t parityType;
  int32_t protocol;
  int32_t address;
  char reserved[4];
  int32_t connectType;
};
static_assert(sizeof(ptz_port_params) == 36);
static_assert(offsetof(ptz_port_params, channel) == 0);
static_assert(offsetof(ptz_port_params, baudRate) == 4);
static_assert(offsetof(ptz_port_params, dataBits) == 8);
static_assert(offsetof(ptz_port_params, stopBits) == 12);
static_assert(offsetof(ptz_port_params, parityType) == 16);
static_assert(offsetof(ptz_port_params, protocol) == 20);
static_assert(offsetof(ptz_port_params, address) == 24);
static_assert(offsetof(ptz_port_params, reserved) == 28);
static_assert(offsetof(ptz_port_params, connectType) == 32);

// ---- PTZ speeds of a camera (table "ptz_speed") ----
struct ptz_speed_params {
  int32_t camId;
  int32_t pan_speed;
  int32_t tilt_speed;
  int32_t zoom_speed;
  int32_t foucs_speed;  // the page's own spelling, also its JSON key
};
static_assert(sizeof(ptz_speed_params) == 20);
static_assert(offsetof(ptz_speed_params, camId) == 0);
static_assert(offsetof(ptz_speed_params, pan_speed) == 4);
static_assert(offsetof(ptz_speed_params, tilt_speed) == 8);
static_assert(offsetof(ptz_speed_params, zoom_speed) == 12);
static_assert(offsetof(ptz_speed_params, foucs_speed) == 16);

// Channels outside 0 to 63 are refused (-1, nothing read or written). A
// channel never written reads as its factory default (zeroed, key set).
// Readers leave the record as it was on failure.
int read_ptz_tour(const char *file, ptz_tour_table *table, int channel);
int write_ptz_tour(const char *file, const ptz_tour_table *table, int channel);
int read_ptz_port(const char *file, ptz_port_params *record, int channel);
int write_ptz_port(const char *file, const ptz_port_params *record);
int read_ptz_speed(const char *file, ptz_speed_params *record, int camId);
int write_ptz_speed(const char *file, const ptz_speed_params *record);
