// Settings parameters the handlers read, with their factory defaults.
#pragma once

#include "kxdb.h"
#include "kxstd.h"

struct ParamKey {
  const char *key;
  const char *default_value;
};

inline constexpr ParamKey PARAM_MAX_CAMERAS{"max_cameras", "32"};
inline constexpr ParamKey PARAM_ALARM_IN{"alarm_in", "16"};
inline constexpr ParamKey PARAM_ALARM_OUT{"alarm_out", "4"};
inline constexpr ParamKey PARAM_RAIDMODE{"raidmode", "0"};
inline constexpr ParamKey PARAM_ESATA_TYPE{"esata_type", "0"};
inline constexpr ParamKey PARAM_GROUP_MODE{"group_mode", "0"};
inline constexpr ParamKey PARAM_FAILOVER_MODE{"failover_mode", "0"};
inline constexpr ParamKey PARAM_HTTPSENABLE{"httpsenable", "0"};
inline constexpr ParamKey PARAM_KXFS_DBUP{"kxfs_dbup", "0"};
inline constexpr ParamKey PARAM_SAME_CHANNEL_EXIST{"same_channel_exist", "0"};
inline constexpr ParamKey PARAM_STREAM_INFORMATION{"stream_information", "0"};
inline constexpr ParamKey PARAM_TRANSPORT_PROTOCOL{"transport_protocol", "0"};
inline constexpr ParamKey PARAM_VIDEO_PUSH_STREAM{"video_push_stream", "0"};
inline constexpr ParamKey PARAM_ENABLE_PUSH_MSG{"enable_push_msg", "0"};
inline constexpr ParamKey PARAM_OEMUPDATEONLINE{"oemupdateonline", "0"};
inline constexpr ParamKey PARAM_MAX_POE_NUM{"max_poe_num", "0"};
inline constexpr ParamKey PARAM_CH_ACCESS{"ch_access", "0"};
inline constexpr ParamKey PARAM_ACCESS_FILTER_ENABLE{"access_filter_enable", "0"};
inline constexpr ParamKey PARAM_ACCESS_FILTER_TYPE{"access_filter_type", "1"};
inline constexpr ParamKey PARAM_HOMOLOGOUS{"homologous", "1"};
inline constexpr ParamKey PARAM_PUSHMSG_ALARMIN_TYPE{"pushmsg_alarmin_type", "65535"};
inline constexpr ParamKey PARAM_SOFTWARE_VERSION{"software_version", "7x.7.0.9"};
inline constexpr ParamKey PARAM_HARDWARE_VERSION{"hardware_version", "V1.1"};
inline constexpr ParamKey PARAM_COMPANY{"company", "Norvalent"};
inline constexpr ParamKey PARAM_PLUGIN_VERSION{"plugin_version", "1.0"};
inline constexpr ParamKey PARAM_MPLUGIN_VERSION{"mplugin_version", "1.0"};
inline constexpr ParamKey PARAM_DEVICEID{"deviceid", "255"};
inline constexpr ParamKey PARAM_HDMIHOTPLUG{"hdmihotplug", "1"};
inline constexpr ParamKey PARAM_POEPSD{"poepsd", "zq5071"};
inline constexpr ParamKey PARAM_MODEL{"model", ""};
// The program's own access guard: 1 on, otherwise left to the web server.
inline constexpr ParamKey PARAM_WEB_AUTH{"web_auth", "0"};
// Minutes a login session may stay unused.
inline constexpr ParamKey PARAM_WEB_SESSION_TIMEOUT{"web_session_timeout", "30"};

// The parameter from the main settings file, or its default.
int param_int(const ParamKey &param);
// The parameter's text, cut to size - 1.
void param_text(const ParamKey &param, char *buffer, int size);
