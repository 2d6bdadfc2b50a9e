// Endpoint table of the camera parameter proxy.
#include "camera.h"

namespace {
const WebRes camera_table[] = {
    WEBRES_ROW("/2009", on_get_ipc_stream_param,
               "main and sub stream of a camera: resolutions, rates, current settings: "
               "{\"chnid\"} 0 to 15"),
    WEBRES_ROW("/2010", on_set_ipc_stream_param,
               "set main and sub stream encoding of one camera: \"id\" and the stream keys"),
    WEBRES_ROW("/2019", on_get_ipc_image_enhancement,
               "camera image enhancement (IR, WDR, HLC, exposure, defog): {\"id\"}"),
    WEBRES_ROW("/2020", on_set_ipc_image_enhancement,
               "set image enhancement on several cameras: \"channel\" list, \"type\", "
               "record keys or \"scenes\"; OK at once"),
    WEBRES_ROW("/2021", on_get_ipc_image_display,
               "camera image display (day/night, IR, mirror, rotation) and identity: {\"id\"}"),
    WEBRES_ROW("/2022", on_set_ipc_image_display,
               "set image display of one camera: \"id\", \"type\", record keys or \"scenes\"; "
               "OK or ERROR"),
    WEBRES_ROW("/2023", on_get_ipc_common_param,
               "one camera setting by name: {\"id\", \"pagename\", \"httpname\", \"key\"}"),
    WEBRES_ROW("/2024", on_set_ipc_common_param,
               "change one camera setting by name: as /2023 plus \"value\"; OK or ERROR"),
    WEBRES_ROW("/2025", on_web_get_ipc_model_type,
               "model type of one camera: {\"id\"} gives {\"type\"}"),
    WEBRES_ROW("/2026", on_web_sendto_qt_cmd,
               "free-form command to the daemon: {\"cmd\"}; its result text"),
    WEBRES_ROW("/2029", on_web_get_channels_model,
               "address, model and firmware of the camera on every channel"),
    WEBRES_ROW("/2030", on_set_ipc_stream_param_batch,
               "set stream encoding, transmission and time sync on the cameras flagged in "
               "\"chans\""),
};
}  // namespace

WEBRES_REGISTER_TABLE(camera_table, WEBRES_CAMERA)
