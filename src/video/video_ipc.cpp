// Response dispatcher of the event and video settings module: one routing
// table from response code (request code + 5000) to decoder. A decoder gets
// the payload and its length, checks the length against its record (a
// shorter payload counts as missing), writes one reply and sets the flag.
#include "anpr.h"
#include "camera_events.h"
#include "osd.h"
#include "vca.h"
#include "video_util.h"

using namespace video;

namespace {

using VideoDecoder = void (*)(const void *payload, int length);

struct VideoRoute {
  int code;
  VideoDecoder decoder;
};

constexpr VideoRoute video_routes[] = {
    // Rule and list writes of the cameras' analytics and plate recognition.
    {6208, on_video_result_cb},
    {6210, on_video_result_cb},
    {6212, on_video_result_cb},
    {8231, on_video_result_cb},
    {8244, on_video_result_cb},
    {8245, on_video_result_cb},
    {8246, on_video_result_cb},
    {8247, on_video_result_cb},
    {8248, on_video_result_cb},
    {8249, on_video_result_cb},
    {8250, on_video_result_cb},
    {8254, on_video_result_cb},
    {8260, on_video_result_cb},
    {8261, on_video_result_cb},
    {8269, on_video_result_cb},
    {8290, on_video_result_cb},
    // Writes whose page reads the daemon's result number.
    {6221, on_video_res_cb},
    {8353, on_video_res_cb},
    {8374, on_video_res_cb},
    // Motion detection.
    {8206, on_get_motion_map_cb},
    // On-screen display and privacy masks of the cameras.
    {7502, on_get_privacy_mask_ovf_cb},
    {7503, on_get_ipc_model_type_cb},
    {8210, on_set_osdconfig_cb},
    {8211, on_get_osdconfig_cb},
    // Analytics rules of the cameras.
    {6209, on_get_ipc_vca_line2_cb},
    {6211, on_get_ipc_vca_settings2_cb},
    {8237, on_get_vca_region_cb},
    {8238, on_get_vca_region_cb},
    {8239, on_get_vca_motion_cb},
    {8240, on_get_vca_tamper_cb},
    {8241, on_get_vca_line_cb},
    {8242, on_get_vca_loitering_cb},
    {8243, on_get_vca_human_cb},
    {8253, on_get_vca_people_cb},
    {8257, on_get_vca_support_cb},
    {8259, on_get_vca_settings_cb},
    {8268, on_get_vca_leftremove_cb},
    // Plate recognition of the cameras.
    {6207, on_get_anpr_wildcards_cb},
    {6215, on_get_ipc_zoom_info_cb},
    {8289, on_get_anpr_settings_cb},
    {8293, on_get_anpr_support_cb},
    // The cameras' alarm I/O, volume detection, fisheye and regional counting.
    {8213, on_get_camera_io_alarm_cb},
    {8215, on_get_volume_detect_cb},
    {8232, on_get_fisheye_mode_cb},
    {8373, on_check_fisheye_info_cb},
    {6220, on_get_ipc_regional_info_cb},
};

// A response code routed twice would make the second row dead.
constexpr bool codes_unique() {
  for (const VideoRoute &a : video_routes) {
    int seen = 0;
    for (const VideoRoute &b : video_routes) seen += a.code == b.code;
    if (seen != 1) return false;
  }
  return true;
}
static_assert(codes_unique(), "a response code is routed twice");

}  // namespace

void on_video_ipc_callback(int, const kx_msg_head *head, const void *payload) {
  // An answer without payload is ignored: the waiting handler answers its
  // own error reply when the budget is spent.
  if (!payload) return;
  int code = kx_response_code(head);
  for (const VideoRoute &route : video_routes) {
    if (route.code == code) {
      route.decoder(payload, kx_response_length(head));
      return;
    }
  }
}

void on_video_result_cb(const void *payload, int length) {
  int32_t status;
  if (!cgi_answer_status(payload, length, &status)) return;
  cgi_reply_done(CGI_REPLY_TEXT, status == 0 ? "OK" : "FAILED");
}

void on_video_res_cb(const void *payload, int length) {
  int32_t status;
  if (!cgi_answer_status(payload, length, &status)) return;
  JsonPtr reply(json_object_new_object());
  if (!reply) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    g_callback_done = 1;
    return;
  }
  json_add_int(reply.get(), "res", status);
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}
