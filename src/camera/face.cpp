// Face detection of a camera channel ("/2077"): the camera's detection
// configuration, sent whole, and what a detected face sets off.
#include <cstring>

#include "analytics_records.h"
#include "analytics_util.h"
#include "kxdb_face.h"
#include "kxdb_motion.h"

using namespace camera;

namespace {

int read_http_schedule(const char *file, schedule *s, int channel) {
  return read_http_notification_schedule(file, s, FACE_HTTP_SCHEDULE, channel);
}
int write_http_schedule(const char *file, const schedule *s, int channel) {
  return write_http_notification_schedule(file, s, FACE_HTTP_SCHEDULE, channel);
}

const LinkageSchedule kSchedules[] = {
    {"effective", read_face_effective_schedule, write_face_effective_schedule},
    {"audible", read_face_audible_schedule, write_face_audible_schedule},
    {"email", read_face_email_schedule, write_face_email_schedule},
    {"ptz", read_face_ptz_schedule, write_face_ptz_schedule},
    {"white", read_face_white_schedule, write_face_white_schedule},
    {"httpSche", read_http_schedule, write_http_schedule},
};

constexpr int kPtzEventFace = 26;  // event type of the face PTZ action lists

const LinkageSource kLinkage = {kPtzEventFace, read_face_event, write_face_event, kSchedules,
                                FACE_WHITE_PARAMS, FACE_HTTP_PARAMS};

using F = face_config;
const JsonField kConfigFields[] = {
    CAMERA_INT_KEY(F, enable),
    CAMERA_INT_KEY(F, width),
    CAMERA_INT_KEY(F, height),
    CAMERA_INT_KEY(F, minPixel),
    CAMERA_INT_KEY(F, captureMode),
    CAMERA_INT_KEY(F, snapshotType),
    CAMERA_INT_KEY(F, snapshotInterval),
    CAMERA_INT_KEY(F, snapshotBackground),
    CAMERA_INT_KEY(F, poseYaw),
    CAMERA_INT_KEY(F, poseRoll),
    CAMERA_INT_KEY(F, posePitch),
    CAMERA_INT_KEY(F, blurLimit),
    CAMERA_TEXT_KEY(F, detection_polygonX),
    CAMERA_TEXT_KEY(F, detection_polygonY),
    CAMERA_INT_KEY(F, uploadEnable),
    CAMERA_INT_KEY(F, uploadFileType),
    CAMERA_INT_KEY(F, nasEnable),
    CAMERA_INT_KEY(F, nasFileType),
    CAMERA_INT_KEY(F, emailEnable),
    CAMERA_INT_KEY(F, emailFileType),
    CAMERA_INT_KEY(F, httpEnable),
    CAMERA_INT_KEY(F, httpNotifyInterval),
    CAMERA_TEXT_KEY(F, httpUrl),
    CAMERA_TEXT_KEY(F, httpUser),
    CAMERA_TEXT_KEY(F, httpPassword),
    CAMERA_INT_KEY(F, recordSeconds),
    CAMERA_INT_KEY(F, prerecordSeconds),
    CAMERA_INT_KEY(F, postEnable),
    CAMERA_INT_KEY(F, postType),
    CAMERA_INT_KEY(F, attributeEnable),
    CAMERA_INT_KEY(F, attributeType),
    CAMERA_INT_KEY(F, mosaicEnable),
    CAMERA_INT_KEY(F, mosaicModeStatus),
    CAMERA_INT_KEY(F, mutuallyExclusive),
};

using S = face_shield;
const JsonField kShieldFields[] = {
    CAMERA_INT_KEY(S, enable),
    CAMERA_TEXT_KEY(S, polygonX),
    CAMERA_TEXT_KEY(S, polygonY),
};

// Entries the request does not hold leave their bytes zero.
face_config config_of(json_object *root, int channel) {
  face_config c = {};
  c.chnId = channel;
  fill_record(root, &c, kConfigFields);
  json_object *modes = json_member(root, "captureModeArray");
  for (int i = 0; i < FACE_CAPTURE_MODES && i < array_length(modes); i++) {
    json_object *mode = array_at(modes, i);
    c.captureQuality[i] = member_int(mode, "captureQuality");
    c.snapshot[i] = member_int(mode, "snapshot");
  }
  json_object *shields = json_member(root, "shield");
  for (int i = 0; i < FACE_SHIELDS && i < array_length(shields); i++) {
    fill_record(array_at(shields, i), &c.shield[i], kShieldFields);
  }
  return c;
}

}  // namespace

int on_cgi_set_face_config(char *text) {
  int channel;
  JsonPtr root = request_with_id(text, "chnId", FACE_CHANNELS, &channel);
  if (!root) return -1;
  face_config config = config_of(root.get(), channel);
  if (json_object *action = json_member(root.get(), "action")) {
    if (set_linkage_by_json(kLinkage, channel, action) != 0) return reply_json_error();
    int32_t payload = channel;
    cgi_send_notice(3383, &payload, sizeof payload);
  }
  exchange_json(3381, &config, sizeof config);
  return 0;
}

void on_cgi_set_face_config_cb(const void *payload, int length) {
  on_cgi_common_json_cb(length / 4, payload);
}
