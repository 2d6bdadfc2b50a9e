// Response dispatcher of the camera parameter proxy: one routing table from
// the daemon's response code to the decoder that writes the reply.
#include <iterator>

#include "analytics.h"
#include "camera_records.h"
#include "camera_util.h"
#include "camera_extra.h"
#include "camera_extra_records.h"
#include "channel_records.h"
#include "daynight.h"
#include "daynight_records.h"

namespace {

struct CameraRoute {
  int response;           // request code + 5000
  int size;               // fewest bytes the decoder reads; shorter answers are dropped
  camera_decoder decode;  // gets the payload and its whole length
};

constexpr int kWord = 4;  // answers that carry one int32 result

// One row per response code, grouped by camera page. Later camera pages
// add their rows here; until then their answers are ignored like any code
// not listed, and the waiting handler ends in its time-out reply. A row of
// size 0 also gets an empty answer (a null payload).
constexpr CameraRoute kCameraRoutes[] = {
    // People counting, POS and report backups: a short result word is
    // answered by the decoder itself (the JSON error), so any length passes.
    {6421, 1, on_cgi_analytics_result_cb},
    {6423, 1, on_cgi_set_report_auto_backup_cb},
    {7290, 1, on_cgi_analytics_result_cb},
    {7291, 1, on_cgi_analytics_result_cb},
    {7292, 1, on_cgi_analytics_result_cb},
    {7293, 1, on_cgi_analytics_result_cb},
    {7503, kWord, on_web_get_ipc_model_type_cb},
    {7505, sizeof(channel_model), on_web_get_channels_model_cb},
    {8203, sizeof(stream_setting_answer), on_set_ipc_stream_param_cb},
    {8204, sizeof(stream_capabilities), on_get_ipc_stream_param_cb},
    {8221, sizeof(image_enhancement_answer), on_get_ipc_ipcimage_enhancement_cb},
    {8223, sizeof(image_display_message), on_get_ipc_ipcimage_display_cb},
    {8224, kWord, on_set_ipc_ipcimage_display_cb},
    {8225, sizeof(common_param_answer), on_get_ipc_common_param_cb},
    {8226, kWord, on_set_ipc_common_param_cb},
    {8381, kWord, on_cgi_set_face_config_cb},
    // The free-form command's result: a head of 16 bytes, then the text.
    {9002, 16, on_web_sendto_qt_cmd_cb},
    // Camera channels: lists of whole records, where an empty list is an answer.
    {8200, 0, on_search_ipc_cb},
    {8201, 0, on_get_ipc_list_cb},
    {8202, kWord, on_check_ipc_connect_cb},
    {8205, kWord, on_set_ipc_network_cb},
    {8227, kWord, on_check_ipc_connect_cb},
    {8230, kWord, on_get_ipc_network_result_cb},
    {8493, sizeof(record_days_answer), on_get_ipc_record_days_cb},
    // Watermark, event stream, capabilities: the decoders count whole
    // records and write the JSON error for none, so any length passes.
    {6213, 1, on_cgi_get_watermark_cb},
    {6216, 1, on_cgi_set_watermark_cb},
    {6217, 1, on_cgi_get_ipc_event_stream_cb},
    {6218, 1, on_cgi_set_ipc_event_stream_cb},
    {6219, 1, on_cgi_get_ipc_lpr_night_mode_cb},
    {6262, 1, on_cgi_get_ptz_support_cb},
    {7507, 1, on_cgi_get_ipc_type_cb},
    {8376, 1, on_cgi_get_ipc_system_info_cb},
    {8294, 1, on_cgi_get_auto_tracking_status_cb},
    {8375, 1, on_cgi_set_auto_tracking_status_cb},
    {8371, 1, on_cgi_get_ipc_audio_info_cb},
    {8372, kWord, on_cgi_set_ipc_audio_info_cb},
    {8377, 1, on_cgi_get_ipc_custom_param_cb},
    {8307, sizeof(motion_status), on_web_get_motion_status_cb},
    {9004, 0, on_get_get_chip_code_cb},
    // Day/night image, areas and schedules. The motion configuration and its
    // result word write the JSON error for a short answer themselves.
    {8278, DAYNIGHT_ANSWER_SIZE, on_get_ipc_daynight_image_cb},
    {8271, sizeof(image_areas_answer), on_get_ipc_image_areas_cb},
    {8273, sizeof(ipc_schedule_answer), on_get_ipc_image_schedule_cb},
    {8275, sizeof(exposure_schedule_answer), on_get_ipc_exposure_schedule_cb},
    {8277, sizeof(ipc_schedule_answer), on_get_ipc_image_schedule_ex_cb},
    {8358, 0, on_get_ipc_motion_config_cb},
    {8360, 0, on_get_ipc_event_query_cb},
    {8366, 0, on_set_ipc_motion_config_cb},
    // Camera upgrade: the decoders write their own error for a short answer.
    {8379, 0, on_set_ipc_firmware_upgrade_cb},
    {8385, 0, on_set_ipc_upgrade_masks_cb},
    {8386, 0, on_get_ipc_firmware_status_text_cb},
};

constexpr bool one_row_per_code() {
  for (size_t i = 0; i < std::size(kCameraRoutes); i++) {
    for (size_t j = i + 1; j < std::size(kCameraRoutes); j++) {
      if (kCameraRoutes[i].response == kCameraRoutes[j].response) return false;
    }
  }
  return true;
}
static_assert(one_row_per_code(), "one row per response code");

const CameraRoute *route_of(int response) {
  for (const CameraRoute &route : kCameraRoutes) {
    if (route.response == response) return &route;
  }
  return nullptr;
}

}  // namespace

void on_camera_ipc_callback(int, const kx_msg_head *head, const void *payload) {
  const CameraRoute *route = route_of(kx_response_code(head));
  int length = payload ? kx_response_length(head) : 0;
  // A short answer is as good as none: the handler's time-out reply follows.
  if (!route || length < route->size || (!payload && route->size > 0)) return;
  route->decode(payload, length);
}
