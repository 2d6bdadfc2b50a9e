// Endpoint table of the camera parameter proxy.
#include "camera.h"

namespace {
const WebRes camera_table[] = {
    {"/2026", on_web_sendto_qt_cmd},
};
}  // namespace

WEBRES_REGISTER_TABLE(camera_table, WEBRES_CAMERA)
