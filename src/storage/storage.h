// Storage: disks, RAID arrays, network storage (NFS, SMB/CIFS), disk groups
// and quotas, the recycle mode, S.M.A.R.T. and the eSATA automatic backup.
// Most work is done by the core daemon; the module's dispatcher turns its
// answers into the replies.
#pragma once

#include "webcgi.h"

// Response dispatcher of the module.
void on_storage_ipc_callback(int context, const kx_msg_head *head, const void *payload);

// ---- Disks (disks.cpp) ----
int on_get_disk_info(char *text);         // /6100
int on_set_disk_info(char *text);         // /6101
int on_format_disk(char *text);           // /6102
int on_get_format_progress(char *text);   // /6103
int on_get_smart_attr(char *text);        // /6206
int on_remove_space(char *text);          // /6207
void on_get_storage_info_cb(int count, const void *payload);
void on_format_disk_cb(int count, const void *payload);
void on_get_smart_attr_cb(int count, const void *payload);
void on_remove_space_cb(int count, const void *payload);

// ---- RAID (raid.cpp) ----
int on_create_raid(char *text);     // /6104
int on_remove_raid(char *text);     // /6105
int on_set_hot_space(char *text);   // /6106
int on_rebuild_raid(char *text);    // /6107
int on_get_raid_mode(char *text);   // /6108
int on_set_raid_mode(char *text);   // /6109
void on_rebuild_raid_cb(int count, const void *payload);

// ---- Network storage (nas.cpp) ----
int on_del_disk_nas(char *text);     // /6200
int on_add_disk_nas(char *text);     // /6201
int on_search_disk_nas(char *text);  // /6202
int on_update_disk_nas(char *text);  // /6203
void on_del_disk_nas_cb(int count, const void *payload);
void on_update_disk_nas_cb(int count, const void *payload);
void on_search_disk_nas_cb(const void *payload, int length);

// ---- Quotas and disk groups (quota.cpp) ----
int on_get_quota_info(char *text);  // /6208
int on_set_quota_info(char *text);  // /6209
int on_set_group_info(char *text);  // /6210
void on_get_quota_info_cb(const void *payload, int length);
void on_set_quota_info_cb(const void *payload, int length);
// The disk-group members the quota page and the status page share:
// "channel" (the 16 groups' channel sets), "disk" (per stored disk 0, or its
// group plus 1 when enabled), "max_chan" and "group_enable".
void add_disk_group_members(json_object *reply);

// ---- Recycle mode and eSATA (recycle_esata.cpp) ----
int on_set_recycle(char *text);                    // /6204
int on_get_recycle_mode(char *text);               // /6205
int on_get_esata_auto_backup_info(char *text);     // /6220
int on_set_esata_auto_backup_info(char *text);     // /6221
int on_get_esata_auto_backup_status(char *text);   // /6222
int on_get_export_disk_info(char *text);           // /6223
int on_format_esata_disk_web(char *text);          // /6224
int on_cgi_get_auto_backup_status(char *text);     // /6225
int on_cgi_set_auto_backup_stop(char *text);       // /6226
int on_cgi_get_format_info(char *text);            // /6227
void on_set_recycle_cb(int count, const void *payload);
void on_get_recycle_mode_cb(int count, const void *payload);
void on_get_export_disk_info_cb(int count, const void *payload);
void on_format_esata_disk_web_cb(const void *payload, int length);
void on_cgi_get_auto_backup_status_cb(const void *payload, int length);
void on_cgi_set_auto_backup_stop_cb(const void *payload, int length);
void on_cgi_get_format_info_cb(int count, const void *payload);
void on_set_esata_auto_backup_info_cb(const void *payload, int length);
void on_get_esata_auto_backup_status_cb(const void *payload, int length);
