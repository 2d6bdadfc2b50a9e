// Endpoint table of the recording module.
#include "record.h"

namespace {
const WebRes record_table[] = {
    WEBRES_ROW("/6030", on_get_holiday_info, USER,
               "holiday list: all 32 holidays with name, enable, date form and dates"),
    WEBRES_ROW("/6031", on_set_holiday_info, SETTINGS,
               "store one holiday: id 0 to 31, enable, name, type and date parts"),
    WEBRES_ROW("/6040", on_get_record_info, USER,
               "recording schedule of one channel (channel number as the body): 8 days of 48 plans"),
    WEBRES_ROW("/6041", on_set_record_info, SETTINGS,
               "store one schedule and plan mode for the listed channels (cnt, chnid, schedule)"),
    WEBRES_ROW("/6042", on_get_record_modes, USER,
               "recording plan mode of each channel, up to max_cameras"),
    WEBRES_ROW("/6043", on_set_record_modes, SETTINGS,
               "set plan modes: records[i] gives the mode (0 to 2) of channel i"),
    WEBRES_ROW("/6044", on_get_record_settings, USER,
               "recording settings of one channel (channel number as the body), with camera flags"),
    WEBRES_ROW("/6045", on_set_record_settings, SETTINGS,
               "store pre/post-record, audio, stream, expiry and ANR for the listed channels"),
    WEBRES_ROW("/6046", on_get_record_support, USER,
               "daemon's support flag of one channel (channel number as the body)"),
    WEBRES_ROW("/6047", on_get_record_primary_secondary, USER,
               "daemon's primary and secondary lists with their size"),
};
static_assert(sizeof record_table / sizeof record_table[0] == 10);
}  // namespace

WEBRES_REGISTER_TABLE(record_table, WEBRES_RECORD)
