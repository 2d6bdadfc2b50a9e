#include "kxdb_ptz.h"

#include "kxdb.h"

namespace {

constexpr const char *kTour = "ptz_tour";
constexpr const char *kPort = "ptz_port";
constexpr const char *kSpeed = "ptz_speed";

bool channel_ok(int channel) {
  return channel >= 0 && channel < PTZ_CHANNELS;
}

}  // namespace

// The tour table has no key field of its own: the channel is its key.
int read_ptz_tour(const char *file, ptz_tour_table *table, int channel) {
  if (!channel_ok(channel) || !table) return -1;
  return kxdb_read_record<ptz_tour_table>(file, kTour, channel, table, nullptr);
}

int write_ptz_tour(const char *file, const ptz_tour_table *table, int channel) {
  if (!channel_ok(channel) || !table) return -1;
  return kxdb_put(file, kTour, channel, table, sizeof *table);
}

int read_ptz_port(const char *file, ptz_port_params *record, int channel) {
  if (!channel_ok(channel) || !record) return -1;
  return kxdb_read_record(file, kPort, channel, record, &ptz_port_params::channel);
}

int write_ptz_port(const char *file, const ptz_port_params *record) {
  if (!record || !channel_ok(record->channel)) return -1;
  return kxdb_write_record(file, kPort, record, &ptz_port_params::channel);
}

int read_ptz_speed(const char *file, ptz_speed_params *record, int camId) {
  if (!channel_ok(camId) || !record) return -1;
  return kxdb_read_record(file, kSpeed, camId, record, &ptz_speed_params::camId);
}

int write_ptz_speed(const char *file, const ptz_speed_params *record) {
  if (!record || !channel_ok(record->camId)) return -1;
  return kxdb_write_record(file, kSpeed, record, &ptz_speed_params::camId);
}
