// Video loss of a camera channel, the action schedules of the recorder's
// alarm inputs, and the system exceptions: settings in the settings
// database, a notice to the core daemon after each change.
#pragma once

#include <cstdint>

#include "kxdb_alarm.h"
#include "kxdb_exception.h"
#include "kxdb_videoloss.h"
#include "webcgi.h"

// ---- Request codes, all notices ----
constexpr int VIDEO_LOSS_CHANGED_NOTICE = 1402;   // int32 channel
constexpr int ALARM_IN_ARMING_NOTICE = 1404;      // int32 input
constexpr int VIDEO_LOSS_CHANNELS_NOTICE = 1414;  // channel_mask_notice
constexpr int ALARM_INS_CHANGED_NOTICE = 1415;    // channel_mask_notice of inputs
constexpr int EXCEPTION_ACTIONS_NOTICE = 2104;    // no payload
constexpr int EXCEPTION_HTTP_NOTICE = 3394;       // no payload

// ---- Video loss (video_loss.cpp, video_loss_actions.cpp) ----
int on_get_videolost_info(char *text);          // /6014
int on_get_videolost_schedule(char *text);      // /6015
int on_set_videolost_info(char *text);          // /6016
int on_set_videolost_schedule(char *text);      // /6017
int on_get_videoloss_info(char *text);          // /6094
int on_set_videoloss_info(char *text);          // /6095
int on_set_videolost_audible_sche(char *text);  // /6121
int on_set_videolost_email_sche(char *text);    // /6122
int on_set_videolost_others(char *text);        // /6123
int on_get_videolost_email_sche(char *text);    // /6124
int on_set_videoloss_ptz_sche(char *text);      // /6165
int on_get_videoloss_ptz_sche(char *text);      // /6166
int check_videolost_info(json_object *json);
int check_videolost_schedule(json_object *json);

// ---- Alarm-input action schedules (alarm_in_sche.cpp) ----
int on_set_alarmin_audible_sche(char *text);    // /6125
int on_set_alarmin_email_sche(char *text);      // /6126
int on_set_alarm_others(char *text);            // /6127
int on_get_alarmin_email_sche(char *text);      // /6128
int on_get_alarmin_audible_sche(char *text);    // /6129
int on_set_alarmin_ptz_sche(char *text);        // /6167
int on_get_alarmin_ptz_sche(char *text);        // /6168
int on_get_alarmin_effective_sche(char *text);  // /6169
int on_set_alarmin_effective_sche(char *text);  // /6170

// ---- System exceptions (exceptions.cpp) ----
int on_get_exception(char *text);  // /6999
int on_set_exception(char *text);  // /6998
