// Recording: the holiday list, each channel's recording schedule, plan mode
// and recording settings (pre- and post-record, audio, recorded stream,
// expiry, the camera's ANR flag), and two queries the daemon answers.
// Settings live in the settings database; after a change the daemon is told
// which channels changed.
#pragma once

#include "webcgi.h"

// Response dispatcher of the module.
void on_record_ipc_callback(int context, const kx_msg_head *head, const void *payload);

// ---- Holidays (holidays.cpp) ----
int on_get_holiday_info(char *text);  // /6030
int on_set_holiday_info(char *text);  // /6031
int check_holiday_info(json_object *request);

// ---- Schedules (schedules.cpp) ----
int on_get_record_info(char *text);  // /6040
int on_set_record_info(char *text);  // /6041
int check_record_info(json_object *request);

// ---- Plan modes (plan_modes.cpp) ----
int on_get_record_modes(char *text);  // /6042
int on_set_record_modes(char *text);  // /6043

// ---- Recording settings (record_settings.cpp) ----
int on_get_record_settings(char *text);  // /6044
int on_set_record_settings(char *text);  // /6045
void on_set_record_settings_cb(const void *payload, int length);  // 7285

// ---- Daemon queries (record_queries.cpp) ----
int on_get_record_support(char *text);            // /6046
int on_get_record_primary_secondary(char *text);  // /6047
void on_get_record_support_cb(const void *payload, int length);            // 7286
void on_get_record_primary_secondary_cb(const void *payload, int length);  // 8218
