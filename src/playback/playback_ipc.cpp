// Response dispatcher: picks the decoder by response code (request + 5000;
// the daemon answers 3109 with 8103) and hands it the payload and its length.
#include "playback_util.h"

void on_stream_callback(int, const kx_msg_head *head, const void *payload) {
  if (!payload) return;
  int length = kx_response_length(head);
  switch (kx_response_code(head)) {
    case 6148:
      on_playback_result_cb(payload, length);
      break;
    case 6153:
    case 8102:
      on_get_playback_time_cb(payload, length);
      break;
    case 6159:
    case 6161:
      on_search_playback_section_cb(payload, length);
      break;
    case 6162:
      on_start_playback_cb(payload, length);
      break;
    case 6171:
      on_jump_playback_cb(payload, length);
      break;
    case 6173:
      on_get_download_playtime_cb(payload, length);
      break;
    case 6176:
      on_set_playback_transcoding_cb(payload, length);
      break;
    case 6177:
      on_get_playback_transcoding_state_cb(payload, length);
      break;
    case 8002:
      on_get_channel_image_info_cb(payload, length);
      break;
    case 8101:
    case 8501:
      on_get_day_map_cb(payload, length);
      break;
    case 8103:
      on_start_playback_by_mask_cb(payload, length);
      break;
    case 8104:
      on_get_jump_time_cb(payload, length);
      break;
    case 8115:
      on_get_jump_times_cb(payload, length);
      break;
    case 8116:
      on_get_play_times_cb(payload, length);
      break;
    case 8500:
      on_start_live_cb(payload, length);
      break;
    case 8502:
      on_get_playback_session_cb(payload, length);
      break;
    case 8503:
      on_get_rtsp_addr_cb(payload, length);
      break;
    case 8506:
      on_get_extern_port_cb(payload, length);
      break;
    case 9011:
      on_check_playback_busy_cb(payload, length);
      break;
    default:
      break;
  }
}
