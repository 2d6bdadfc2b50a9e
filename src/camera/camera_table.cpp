// Endpoint table of the camera parameter proxy.
#include "camera.h"

namespace {
const WebRes camera_table[] = {
    WEBRES_ROW("/2026", on_web_sendto_qt_cmd,
               "free-form command to the daemon: {\"cmd\"}; its result text"),
};
}  // namespace

WEBRES_REGISTER_TABLE(camera_table, WEBRES_CAMERA)
