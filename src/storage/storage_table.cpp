// Endpoint table of the storage module. "/6222" is registered ahead of
// "/6220" and "/6221": the slots follow the recorder's table.
#include "storage.h"

namespace {
const WebRes storage_table[] = {
    {"/6100", on_get_disk_info},
    {"/6101", on_set_disk_info},
    {"/6102", on_format_disk},
    {"/6103", on_get_format_progress},
    {"/6104", on_create_raid},
    {"/6105", on_remove_raid},
    {"/6106", on_set_hot_space},
    {"/6107", on_rebuild_raid},
    {"/6108", on_get_raid_mode},
    {"/6109", on_set_raid_mode},
    {"/6200", on_del_disk_nas},
    {"/6201", on_add_disk_nas},
    {"/6202", on_search_disk_nas},
    {"/6203", on_update_disk_nas},
    {"/6204", on_set_recycle},
    {"/6205", on_get_recycle_mode},
    {"/6206", on_get_smart_attr},
    {"/6207", on_remove_space},
    {"/6208", on_get_quota_info},
    {"/6209", on_set_quota_info},
    {"/6210", on_set_group_info},
    {"/6222", on_get_esata_auto_backup_status},
    {"/6220", on_get_esata_auto_backup_info},
    {"/6221", on_set_esata_auto_backup_info},
    {"/6223", on_get_export_disk_info},
    {"/6224", on_format_esata_disk_web},
    {"/6225", on_cgi_get_auto_backup_status},
    {"/6226", on_cgi_set_auto_backup_stop},
    {"/6227", on_cgi_get_format_info},
};
static_assert(sizeof storage_table / sizeof storage_table[0] == 29);
}  // namespace

WEBRES_REGISTER_TABLE(storage_table, WEBRES_STORAGE)
