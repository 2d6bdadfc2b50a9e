// Alarm inputs and outputs: the recorder's 16 inputs and 4 outputs with
// their names, linkage actions, schedules, copies and disarming, and the
// cameras' alarm inputs and outputs, read and set through the core daemon.
// Every exchange is answered through the one dispatcher,
// on_alarm_ipc_callback (alarm_ipc.cpp).
#pragma once

#include "alarm_records.h"
#include "kxdb_alarm.h"
#include "webcgi.h"

// Response dispatcher of the module.
void on_alarm_ipc_callback(int context, const kx_msg_head *head, const void *payload);

// ---- Recorder outputs (alarm_out.cpp) ----
int on_get_alarm_outs(char *text);          // /6020
int on_get_alarm_out(char *text);           // /6021
int on_set_alarm_out(char *text);           // /6022
int on_set_alarm_out_state(char *text);     // /6023
int on_get_all_alarmout_names(char *text);  // /6032

// ---- Recorder inputs (alarm_in.cpp) ----
int on_get_alarm_ins(char *text);           // /6060
int on_get_alarm_in_schedule(char *text);   // /6061
int on_set_alarm_in_schedule(char *text);   // /6062
int on_set_alarm_in_base(char *text);       // /6063
int on_set_alarm_in(char *text);            // /6064
int on_get_all_alarmin_names(char *text);   // /6034
int check_alarm_in_info(json_object *alarm);

// ---- Linkage actions of a recorder input (alarm_in_actions.cpp) ----
int on_get_nvr_alarm_input(char *text);     // /6026
int on_set_nvr_alarm_input(char *text);     // /6027

// ---- Camera inputs and outputs (camera_alarm.cpp) ----
int on_get_camera_alarm_input(char *text);      // /6024
int on_set_camera_alarm_input(char *text);      // /6025
int on_get_camera_alarm_output(char *text);     // /6028
int on_set_camera_alarm_output(char *text);     // /6029
int on_set_camera_alarm_out_state(char *text);  // /6033
// Decoders get the answer's payload (never null) and its length in bytes.
void on_camera_alarm_output_cb(const void *payload, int length);  // 8296
void on_camera_alarm_input_cb(const void *payload, int length);   // 8298
