// Endpoint table of the PTZ module, in the recorder's registration order.
#include "ptz.h"

namespace {
const WebRes ptz_table[] = {
    WEBRES_ROW("/5000", on_send_ptz_cmd, LIVE_VIEW,
               "move a camera: channelId, action, pan/tilt/zoom/focus speeds, fisheyeType, "
               "streamId, isAutoFocus; also sets the camera's PTZ speed"),
    WEBRES_ROW("/5001", on_preset_op, LIVE_VIEW,
               "call, set or clear a preset: channelId, presetId (0-300), action, speeds, "
               "name (set), fisheyeType, streamId"),
    WEBRES_ROW("/6050", on_get_ptzport_info, USER,
               "serial PTZ port of a channel {\"chnid\": 0-15}"),
    WEBRES_ROW("/6051", on_set_ptzport_info, CAMERA,
               "serial PTZ port for several channels: cnt, chnid array, connectType, baudRate, "
               "dataBits, stopBits, parityType, protocol, address"),
    WEBRES_ROW("/6052", on_get_ptzsupport_info, USER,
               "whether a camera has PTZ {\"camId\"}: \"0\", or \"-1\" for none"),
    WEBRES_ROW("/6053", on_get_ptz_speed, USER,
               "stored PTZ speeds of a camera {\"camId\": 0-63}"),
    WEBRES_ROW("/6054", on_set_ptz_speed, CAMERA,
               "store PTZ speeds: camId, pan_speed, tilt_speed, zoom_speed, foucs_speed"),
    WEBRES_ROW("/6056", on_set_fish_ptz_tour_set, CAMERA,
               "fisheye tour: chn, tourid (1-8), streamId, rowsize, path of {preset, speed, "
               "time}"),
    WEBRES_ROW("/6055", on_set_ptz_tour_set, CAMERA,
               "store and send a tour: chn, tourid (0-7), rowsize, path of {preset, speed, "
               "time} (at most 48)"),
    WEBRES_ROW("/6057", on_set_ptz_tour_clear, CAMERA,
               "clear a stored tour: chn, tourid (0-7), fisheyeType, streamId"),
    WEBRES_ROW("/5002", on_set_ptz_tour_run, LIVE_VIEW,
               "run a tour: chn, tourid, fisheyeType, streamId"),
    WEBRES_ROW("/5003", on_set_ptz_tour_stop, LIVE_VIEW,
               "stop a tour: chn, tourid, fisheyeType, streamId"),
    WEBRES_ROW("/5004", on_set_ptz_pattern, LIVE_VIEW,
               "pattern command: chn, tourid, action (0-4)"),
    WEBRES_ROW("/5005", on_get_ptz_info, USER,
               "a camera's presets, tours, patterns and their states: chn, fisheyeType, "
               "streamId"),
    WEBRES_ROW("/5006", on_set_ptz_preset_call, LIVE_VIEW,
               "call a preset: channelId, action"),
    WEBRES_ROW("/5007", on_set_ptz_zomm, LIVE_VIEW,
               "zoom: camId, Zoom, ZoomSpeed"),
    WEBRES_ROW("/5008", on_set_ipc_speed, CAMERA,
               "the camera's own PTZ speed: chn, Speed"),
    WEBRES_ROW("/5009", on_cgi_set_ptz_control, LIVE_VIEW,
               "PTZ control command: chnid (0-63), ptzCmd; answers {\"res\"}"),
    WEBRES_ROW("/5010", on_cgi_get_led_status, USER,
               "LED state of a camera {\"chnid\": 0-63}"),
    WEBRES_ROW("/5011", on_cgi_get_ptz_basic, USER,
               "basic PTZ options of a camera {\"chnId\"}"),
    WEBRES_ROW("/5012", on_cgi_set_ptz_basic, CAMERA,
               "set basic PTZ options: chnId, the option keys, channelMask"),
};
static_assert(sizeof ptz_table / sizeof ptz_table[0] == 21);
}  // namespace

WEBRES_REGISTER_TABLE(ptz_table, WEBRES_PTZ)
