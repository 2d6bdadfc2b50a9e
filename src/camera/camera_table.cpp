// Endpoint table of the camera parameter proxy.
#include "analytics.h"
#include "camera.h"
#include "camera_extra.h"
#include "daynight.h"

namespace {
const WebRes camera_table[] = {
    // ---- Camera channels: which camera is on which channel ----
    WEBRES_ROW("/2001", on_get_ipc_list, USER,
               "cameras connected to the channels, as the daemon sees them, with their names"),
    WEBRES_ROW("/2000", on_get_ipc_info, CAMERA,
               "stored settings of the camera on a channel: {\"chnid\"} 0 to 15"),
    WEBRES_ROW("/2003", on_edit_ipc, CAMERA,
               "edit the camera of a channel: \"id\", \"name\", the camera keys, \"type\" 0 "
               "to change the credentials; OK"),
    WEBRES_ROW("/2004", on_add_ipc, CAMERA,
               "add a camera to a channel: \"id\", \"name\", the camera keys, \"otherPoe\"; "
               "OK"),
    WEBRES_ROW("/2005", on_delete_ipc, CAMERA,
               "clear a channel: its camera, name and privacy masks: {\"chnid\"} 0 to 15; OK"),
    WEBRES_ROW("/2006", on_search_ipc, CAMERA,
               "search the network for cameras: {\"protocol\"} 0 to 7"),
    WEBRES_ROW("/2007", on_get_ipc_list, USER, "cameras connected to the channels (as /2001)"),
    WEBRES_ROW("/2008", on_get_ipc_protocols, USER,
               "camera protocols the recorder knows, each with its models"),
    WEBRES_ROW("/2011", on_set_ipc_network, CAMERA,
               "change a camera's network address, found by \"macAddr\"; {\"resultString\"}"),
    WEBRES_ROW("/2012", on_get_ipc_names, USER, "names of the channels, up to the camera count"),
    WEBRES_ROW("/2013", on_get_ipc_record_days, PLAYBACK,
               "days of a month with recordings of a channel: {\"time\", \"chnid\", "
               "\"streamType\"}"),
    WEBRES_ROW("/2014", on_check_ipc_connect, CAMERA,
               "test reaching a camera: {\"ipAddr\", \"managePort\", \"userName\", "
               "\"password\", \"camProtocol\"}; result text"),
    WEBRES_ROW("/2015", on_check_ipc_connect_ex, CAMERA,
               "test reaching a camera, port at least 80: keys as /2014; result text"),
    WEBRES_ROW("/2016", on_get_poe_password, CAMERA, "password of the cameras on the PoE ports"),
    WEBRES_ROW("/2017", on_set_ipc_credentials, CAMERA,
               "change the credentials of a channel's camera: {\"id\", \"userName\", "
               "\"password\"}; OK"),
    WEBRES_ROW("/2018", on_get_max_poe_num, USER, "number of PoE ports of the recorder"),
    WEBRES_ROW("/2031", on_set_ipc_transmit, CAMERA,
               "transmission of a channel's camera: {\"id\", \"transmitProtocol\", "
               "\"syncTime\", \"httpsPort\"}; OK"),
    WEBRES_ROW("/2032", on_set_ipc_network_batch, CAMERA,
               "change the network addresses of several cameras: {\"cnt\", \"oIPCAddr\"}; OK "
               "at once"),
    WEBRES_ROW("/2033", on_get_ipc_network_result, USER,
               "results of the last address changes of several cameras"),
    WEBRES_ROW("/2034", on_get_ipv6_support, USER, "1 when the recorder has IPv6, else 0"),
    // ---- Day/night image, areas and schedules ----
    WEBRES_ROW("/2035", on_get_event_effective_schedules, USER,
               "effective schedules of motion and the eight smart events of a channel: "
               "{\"channel\"}"),
    WEBRES_ROW("/2036", on_set_event_effective_schedules, EVENT,
               "store effective event schedules: \"channel\", types \"start\" to \"end\" "
               "(0 motion, 1 to 8 smart events), \"schedule_<event>\" rows"),
    WEBRES_ROW("/2037", on_get_ipc_daynight_image, USER,
               "seven day/night image periods of a camera: {\"id\"}"),
    WEBRES_ROW("/2038", on_set_ipc_daynight_period, CAMERA,
               "set one day/night period: \"channel\", \"id\" 0 to 6, the period keys"),
    WEBRES_ROW("/2039", on_get_ipc_image_areas, USER, "image areas of a camera: {\"id\"}"),
    WEBRES_ROW("/2040", on_set_ipc_image_areas, CAMERA,
               "set image areas: \"enable\", \"area\" (16), \"cnt\" and \"chnid\" channels"),
    WEBRES_ROW("/2041", on_get_ipc_image_schedule, USER,
               "camera image schedule, 7 rows of 10 plans: {\"id\"}"),
    WEBRES_ROW("/2042", on_set_ipc_image_schedule, CAMERA,
               "set the camera image schedule: \"channel\" array, \"schedule\" rows"),
    WEBRES_ROW("/2043", on_get_ipc_exposure_schedule, USER,
               "camera exposure schedule with exposure time and gain per plan: {\"id\"}"),
    WEBRES_ROW("/2044", on_set_ipc_exposure_schedule, CAMERA,
               "set the camera exposure schedule: \"channel\" array, \"schedule\" rows"),
    WEBRES_ROW("/2045", on_get_ipc_image_schedule_ex, USER,
               "camera image schedule, 7 rows of 12 plans: {\"id\"}"),
    WEBRES_ROW("/2046", on_set_ipc_image_schedule_ex, CAMERA,
               "set the 12-plan camera image schedule: \"channel\" array, \"schedule\""),
    WEBRES_ROW("/2047", on_set_ipc_daynight_image, CAMERA,
               "set day/night periods or scenes on the channels of \"chnid\"/\"cnt\""),
    WEBRES_ROW("/2048", on_set_exposure_list, CAMERA,
               "store a channel's exposure list: \"channel\", \"exposure\" pairs (140)"),
    WEBRES_ROW("/2049", on_get_exposure_list, USER,
               "exposure time and gain pairs of a channel: {\"channel\"}"),
    WEBRES_ROW("/2050", on_clear_ipc_image_area, CAMERA,
               "clear an image area: {\"chan_id\", \"area_id\"}"),
    WEBRES_ROW("/2051", on_get_ipc_motion_config, USER,
               "the camera's own motion configuration and schedule: {\"chnid\"}"),
    WEBRES_ROW("/2052", on_set_ipc_motion_config, EVENT,
               "set the camera's motion configuration, copied to \"copyChn\"; {\"res\"}"),
    WEBRES_ROW("/2053", on_get_ipc_event_query, USER,
               "event query of a camera: \"chnid\", \"mainType\", \"subType\", \"time\"; text"),
    // ---- Image and stream parameters ----
    WEBRES_ROW("/2009", on_get_ipc_stream_param, USER,
               "main and sub stream of a camera: resolutions, rates, current settings: "
               "{\"chnid\"} 0 to 15"),
    WEBRES_ROW("/2010", on_set_ipc_stream_param, CAMERA,
               "set main and sub stream encoding of one camera: \"id\" and the stream keys"),
    WEBRES_ROW("/2019", on_get_ipc_image_enhancement, USER,
               "camera image enhancement (IR, WDR, HLC, exposure, defog): {\"id\"}"),
    WEBRES_ROW("/2020", on_set_ipc_image_enhancement, CAMERA,
               "set image enhancement on several cameras: \"channel\" list, \"type\", "
               "record keys or \"scenes\"; OK at once"),
    WEBRES_ROW("/2021", on_get_ipc_image_display, USER,
               "camera image display (day/night, IR, mirror, rotation) and identity: {\"id\"}"),
    WEBRES_ROW("/2022", on_set_ipc_image_display, CAMERA,
               "set image display of one camera: \"id\", \"type\", record keys or \"scenes\"; "
               "OK or ERROR"),
    WEBRES_ROW("/2023", on_get_ipc_common_param, USER,
               "one camera setting by name: {\"id\", \"pagename\", \"httpname\", \"key\"}"),
    WEBRES_ROW("/2024", on_set_ipc_common_param, CAMERA,
               "change one camera setting by name: as /2023 plus \"value\"; OK or ERROR"),
    WEBRES_ROW("/2025", on_web_get_ipc_model_type, USER,
               "model type of one camera: {\"id\"} gives {\"type\"}"),
    WEBRES_ROW("/2026", on_web_sendto_qt_cmd, ADMIN,
               "free-form command to the daemon: {\"cmd\"}; its result text"),
    WEBRES_ROW("/2029", on_web_get_channels_model, USER,
               "address, model and firmware of the camera on every channel"),
    WEBRES_ROW("/2030", on_set_ipc_stream_param_batch, CAMERA,
               "set stream encoding, transmission and time sync on the cameras flagged in "
               "\"chans\""),
    WEBRES_ROW("/2066", on_cgi_get_peoplecnt_settings, SMART_ANALYSIS,
               "the 9 people-counting groups: {\"action\"}, non-zero adds each group's "
               "linkage \"dialog\""),
    WEBRES_ROW("/2067", on_cgi_set_peoplecnt_settings, SMART_ANALYSIS,
               "set people-counting groups from \"groups\" (entry i is group i); {\"res\"}"),
    WEBRES_ROW("/2069", on_cgi_get_peoplecnt_action, SMART_ANALYSIS,
               "linkage actions and schedules of one counting group: {\"groupid\"} 0 to 8"),
    WEBRES_ROW("/2070", on_cgi_set_peoplecnt_action, SMART_ANALYSIS,
               "set a counting group's linkage: \"groupid\" and the linkage keys; {\"res\"}"),
    WEBRES_ROW("/2071", on_cgi_set_peoplecnt_db_reset, SMART_ANALYSIS,
               "clear the stored counts of a group: {\"groupid\"}; {\"res\"}"),
    WEBRES_ROW("/2072", on_cgi_set_peoplecnt_liveview_reset, SMART_ANALYSIS,
               "reset the live-view counters of a group: {\"groupid\"}; {\"res\"}"),
    WEBRES_ROW("/2073", on_cgi_get_pos_info, SETTINGS,
               "the 8 POS connections and the linkage \"action\" of one: {\"id\"} 0 to 7"),
    WEBRES_ROW("/2074", on_cgi_set_pos_info, SETTINGS,
               "set a POS connection: \"id\", its setting keys, optional \"action\"; "
               "{\"res\"}"),
    WEBRES_ROW("/2075", on_cgi_get_report_auto_backup, SMART_ANALYSIS,
               "the 4 scheduled people-counting report backups"),
    WEBRES_ROW("/2076", on_cgi_set_report_auto_backup, SMART_ANALYSIS,
               "set the report backups from \"report\" (entry i is report i); {\"res\"}"),
    WEBRES_ROW("/2077", on_cgi_set_face_config, SMART_ANALYSIS,
               "set face detection of a camera: \"chnId\" 0 to 15, face keys, optional "
               "\"action\"; {\"status\"}"),
    // ---- Watermark, event stream, capabilities, chip code, motion ----
    WEBRES_ROW("/2058", on_cgi_get_watermark, USER,
               "video watermark of a camera: {\"chnid\"} 0 to 63"),
    WEBRES_ROW("/2059", on_cgi_set_watermark, CAMERA,
               "set the watermark: \"chnid\", \"enable\", \"watermark\", \"copy\" "
               "channels; {\"res\"}"),
    WEBRES_ROW("/2060", on_cgi_get_ipc_event_stream, USER,
               "event-recording stream of a camera: {\"chnid\", \"fisheyeType\"}"),
    WEBRES_ROW("/2061", on_cgi_set_ipc_event_stream, CAMERA,
               "set the event stream: \"chnid\", \"enable\", \"framerate\", \"bitrate\", "
               "\"iframeinterval\"; {\"res\"}"),
    WEBRES_ROW("/2062", on_cgi_get_ipc_lpr_night_mode, USER,
               "night mode of a licence-plate camera: {\"chnid\"}"),
    WEBRES_ROW("/2063", on_cgi_get_ipc_audio_info, USER,
               "audio options and configuration of a camera: {\"chnid\"}"),
    WEBRES_ROW("/2064", on_cgi_set_ipc_audio_info, CAMERA,
               "set camera audio: \"chnid\", the audio keys, \"channels\" to copy to; OK or "
               "ERROR"),
    WEBRES_ROW("/2065", on_cgi_get_ipc_system_info, USER,
               "audio, speaker and tracking capability flags of a camera: {\"chnid\"}"),
    WEBRES_ROW("/2068", on_cgi_get_ipc_custom_param, CAMERA,
               "free-form camera parameter: {\"chnid\", \"url\"}; {\"res\", \"data\"}"),
    WEBRES_ROW("/2054", on_cgi_get_auto_tracking_status, USER,
               "auto tracking settings, area and schedule of a camera: {\"chnid\"}"),
    WEBRES_ROW("/2055", on_cgi_set_auto_tracking_status, CAMERA,
               "set auto tracking: \"chnid\", the tracking keys, \"area\", \"schedule\", "
               "\"channels\" to copy to; {\"res\"}"),
    WEBRES_ROW("/2056", on_cgi_get_ptz_support, USER, "whether a camera supports PTZ: {\"chnid\"}"),
    WEBRES_ROW("/2057", on_cgi_get_ipc_type, USER,
               "address, model and firmware version of a camera: {\"chnid\"}"),
    WEBRES_ROW("/2027", on_web_get_chip_code, USER, "chip code of the recorder"),
    WEBRES_ROW("/2028", on_web_get_motion_status, USER,
               "motion status of every channel: 64 characters '0'/'1'"),
    WEBRES_ROW("/2082", on_cgi_check_alive, PUBLIC,
               "liveness check: CGI SUCCESS for any request text"),
    WEBRES_ROW("/2078", on_set_ipc_upgrade_masks, SHUTDOWN,
               "camera upgrade: \"chnMask\" and \"resetMask\" (16 characters '0'/'1'), "
               "\"fileSize\"; {\"res\"}"),
    WEBRES_ROW("/2079", on_get_ipc_firmware_status_text, USER,
               "camera upgrade progress as text lines: chnid=, status<n>=, chnMask="),
    WEBRES_ROW("/2080", on_set_ipc_firmware_upgrade, SHUTDOWN,
               "start the camera upgrade: \"chnAry\" channels, \"reset\", \"url\"; "
               "{\"chnid\", \"status\", \"chnMask\"}"),
    WEBRES_ROW("/2081", on_set_ipc_upgrade_stop, SHUTDOWN,
               "stop the camera upgrade: {\"stop\"}; no reply"),
};
}  // namespace

WEBRES_REGISTER_TABLE(camera_table, WEBRES_CAMERA)
