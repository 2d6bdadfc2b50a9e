// People counting, POS and face detection pages of the camera parameter
// proxy: settings kept in the settings database, the daemon told after each
// change (people_count.cpp, pos.cpp, face.cpp).
#pragma once

#include "camera.h"

int on_cgi_get_peoplecnt_settings(char *text);        // /2066
int on_cgi_set_peoplecnt_settings(char *text);        // /2067
int on_cgi_get_peoplecnt_action(char *text);          // /2069
int on_cgi_set_peoplecnt_action(char *text);          // /2070
int on_cgi_set_peoplecnt_db_reset(char *text);        // /2071
int on_cgi_set_peoplecnt_liveview_reset(char *text);  // /2072
int on_cgi_get_pos_info(char *text);                  // /2073
int on_cgi_set_pos_info(char *text);                  // /2074
int on_cgi_get_report_auto_backup(char *text);        // /2075
int on_cgi_set_report_auto_backup(char *text);        // /2076
int on_cgi_set_face_config(char *text);               // /2077

// Answers 7290 to 7293 and 6421: {"res": result word}; an answer too short
// for the word ends the wait with the JSON error.
void on_cgi_analytics_result_cb(const void *payload, int length);
// Answer 6423 (report backups stored): {"res": 0}.
void on_cgi_set_report_auto_backup_cb(const void *payload, int length);
// Answer 8381 (face configuration): the common JSON status reply.
void on_cgi_set_face_config_cb(const void *payload, int length);
