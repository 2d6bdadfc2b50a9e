#include "kxdb_osd.h"

#include "kxdb.h"

namespace {
bool channel_valid(int channel) {
  return channel >= 0 && channel < OSD_CHANNELS;
}
}  // namespace

int read_osd(const char *file, osd_params *record, int channel) {
  if (!channel_valid(channel)) return -1;
  return kxdb_read_record(file, OSD_TABLE, channel, record, &osd_params::camId);
}

int write_osd(const char *file, const osd_params *record) {
  if (!channel_valid(record->camId)) return -1;
  return kxdb_write_record(file, OSD_TABLE, record, &osd_params::camId);
}
