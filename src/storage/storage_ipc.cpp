// Response dispatcher: picks the decoder by response code (request + 5000)
// and hands it the record count (length / record size) or the length.
#include "storage_util.h"


namespace {
constexpr int kWord = 4;  // answers that carry one int32 result
}  // namespace

void on_storage_ipc_callback(int, const kx_msg_head *head, const void *payload) {
  if (!payload) return;
  int length = kx_response_length(head);
  switch (kx_response_code(head)) {
    case 8402:
    case 8434:
      on_format_disk_cb(length / kWord, payload);
      break;
    case 8403:
      on_get_smart_attr_cb(length / (int)sizeof(smart_attr_record), payload);
      break;
    case 8420:
    case 8421:
    case 8423:
    case 8424:
    case 8496:
      on_remove_space_cb(length / kWord, payload);
      break;
    case 8425:
      on_rebuild_raid_cb(length / kWord, payload);
      break;
    case 8431:
      on_get_recycle_mode_cb(length / (int)sizeof(recycle_mode), payload);
      break;
    case 8433:
      on_get_storage_info_cb(length / (int)sizeof(daemon_disk_info), payload);
      break;
    case 8439:
    case 8507:
      on_update_disk_nas_cb(length / kWord, payload);
      break;
    case 8440:
      on_search_disk_nas_cb(payload, length);
      break;
    case 8457:
      on_get_export_disk_info_cb(length / (int)sizeof(export_disk_record), payload);
      break;
    case 8475:
      on_set_recycle_cb(length / kWord, payload);
      break;
    case 8508:
      on_del_disk_nas_cb(length / kWord, payload);
      break;
    case 8529:
      on_get_quota_info_cb(payload, length);
      break;
    case 8530:
      on_set_quota_info_cb(payload, length);
      break;
    case 8535:
      on_format_esata_disk_web_cb(payload, length);
      break;
    case 8536:
      on_cgi_get_auto_backup_status_cb(payload, length);
      break;
    case 8537:
      on_cgi_set_auto_backup_stop_cb(payload, length);
      break;
    case 8540:
      on_cgi_get_format_info_cb(length / (int)sizeof(format_info_record), payload);
      break;
    case 6316:
      on_set_esata_auto_backup_info_cb(payload, length);
      break;
    case 6317:
      on_get_esata_auto_backup_status_cb(payload, length);
      break;
    default:
      break;
  }
}
