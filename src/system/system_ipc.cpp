#include "maintenance.h"
#include "service.h"
#include "system.h"
#include "system_info.h"

void on_system_ipc_callback(int, const kx_msg_head *head, const void *payload) {
  if (!payload) return;
  int length = kx_response_length(head);
  switch (kx_response_code(head)) {
    case 8265:  // one int32 status
      on_modify_poe_camera_pwd_cb(length / (int)sizeof(int32_t), payload);
      break;
    case 8504:  // one int32 status
      on_user_login_from_mail_cb(length / (int)sizeof(int32_t), payload);
      break;
    // System information and logs.
    case 8400:  // device records of 592 bytes
      on_get_system_info_cb(length / (int)sizeof(device_info), payload);
      break;
    case 8495:  // one log page
      on_log_search_info_cb(payload, length);
      break;
    case 8488:  // the detail text of one entry
      on_log_web_get_log_detail_cb(payload, length);
      break;
    case 8494:  // status, then the path of the export's result file
      on_log_web_export_info_cb(payload, length);
      break;
    // Upgrades, restarts and the configuration.
    case 6713:  // one int32 status
      on_upgrade_system_cb(length / (int)sizeof(int32_t), payload);
      break;
    case 6715:  // online-upgrade information records
      on_check_nvr_online_upgrade_cb(length / (int)sizeof(online_upgrade_info), payload);
      break;
    case 6716:  // one int32 result
    case 6717:
      on_online_upgrade_status_cb(length / (int)sizeof(int32_t), payload);
      break;
    case 8350:  // channel and status
      on_start_upgrade_camera_cb(length / (int)sizeof(camera_upgrade_status), payload);
      break;
    case 8365:  // the 64 channels' information records
      on_check_ipc_online_upgrade_cb(length / UPGRADE_CHECK_ANSWER_SIZE, payload);
      break;
    // Alarm audio files and the diagnostic package.
    case 9012:  // audio file records of 136 bytes
      on_get_audio_file_list_cb(length / (int)sizeof(alarm_audio_file), payload);
      break;
    case 9013:  // one int32 status each
    case 9014:
    case 9015:
    case 9016:
      on_cgi_common_json_cb(length / (int)sizeof(int32_t), payload);
      break;
    case 8528:  // status, reserved, the package's path
      on_export_diagnosis_cb(payload, length);
      break;
    default:
      break;
  }
}
