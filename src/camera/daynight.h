// Time-dependent image settings of the cameras: day/night periods and
// scenes, image areas, camera-side week schedules, the exposure list and
// the effective schedules of motion and the smart events kept by the
// recorder, and the camera's own motion configuration (daynight.cpp).
#pragma once

#include "camera.h"

int on_get_ipc_daynight_image(char *text);         // /2037
int on_set_ipc_daynight_period(char *text);        // /2038
int on_set_ipc_daynight_image(char *text);         // /2047
int on_get_ipc_image_areas(char *text);            // /2039
int on_set_ipc_image_areas(char *text);            // /2040
int on_clear_ipc_image_area(char *text);           // /2050
int on_get_ipc_image_schedule(char *text);         // /2041
int on_set_ipc_image_schedule(char *text);         // /2042
int on_get_ipc_exposure_schedule(char *text);      // /2043
int on_set_ipc_exposure_schedule(char *text);      // /2044
int on_get_ipc_image_schedule_ex(char *text);      // /2045
int on_set_ipc_image_schedule_ex(char *text);      // /2046
int on_set_exposure_list(char *text);              // /2048
int on_get_exposure_list(char *text);              // /2049
int on_get_event_effective_schedules(char *text);  // /2035
int on_set_event_effective_schedules(char *text);  // /2036
int on_get_ipc_motion_config(char *text);          // /2051
int on_set_ipc_motion_config(char *text);          // /2052
int on_get_ipc_event_query(char *text);            // /2053

void on_get_ipc_daynight_image_cb(const void *payload, int length);     // 8278
void on_get_ipc_image_areas_cb(const void *payload, int length);        // 8271
void on_get_ipc_image_schedule_cb(const void *payload, int length);     // 8273
void on_get_ipc_exposure_schedule_cb(const void *payload, int length);  // 8275
void on_get_ipc_image_schedule_ex_cb(const void *payload, int length);  // 8277
void on_get_ipc_motion_config_cb(const void *payload, int length);      // 8358
void on_get_ipc_event_query_cb(const void *payload, int length);        // 8360
void on_set_ipc_motion_config_cb(const void *payload, int length);      // 8366
