// Live view and playback: starts and stops live streams and playback
// sessions, searches a channel's recordings, controls running sessions
// (pause, resume, step, fast and slow forward, speed, jump, transcoding) and
// adjusts a channel's live image. The streams themselves flow between the
// core daemon and the browser's player; the daemon's answers are decoded by
// one dispatcher, on_stream_callback.
#pragma once

#include "webcgi.h"

// Response dispatcher of the module.
void on_stream_callback(int context, const kx_msg_head *head, const void *payload);

// ---- Recording search (sections.cpp) ----
int on_search_playback_section(char *text);  // /4000
int on_search_playback_page(char *text);     // /4023
void on_search_playback_section_cb(const void *payload, int length);  // 6159, 6161
void on_get_day_map_cb(const void *payload, int length);              // 8101, 8501

// ---- Playback sessions (playback_start.cpp, playback_control.cpp) ----
int on_start_playback(char *text);          // /4001
int on_start_playback_by_mask(char *text);  // /4020
int on_get_playback_time(char *text);       // /4002
int on_stop_playback(char *text);           // /4003
int on_pause_playback(char *text);          // /4004
int on_resume_playback(char *text);         // /4005
int on_step_foward_playback(char *text);    // /4006
int on_fastforward_playback(char *text);    // /4007
int on_slowforward_playback(char *text);    // /4008
int on_jump_playback(char *text);           // /4009
int on_step_playback_batch(char *text);     // /3003
int on_set_speed_playback(char *text);      // /4022
void on_start_playback_cb(const void *payload, int length);          // 6162
void on_start_playback_by_mask_cb(const void *payload, int length);  // 8103
void on_get_playback_session_cb(const void *payload, int length);    // 8502
void on_get_playback_time_cb(const void *payload, int length);       // 6153, 8102
void on_playback_result_cb(const void *payload, int length);         // 6148
void on_jump_playback_cb(const void *payload, int length);           // 6171
void on_get_jump_time_cb(const void *payload, int length);           // 8104
void on_get_jump_times_cb(const void *payload, int length);          // 8115
void on_get_play_times_cb(const void *payload, int length);          // 8116

// ---- Live view (live.cpp) ----
int on_start_live(char *text);               // /4010
int on_stop_live(char *text);                // /4011
int on_stop_all_live(char *text);            // /4012
int on_log_channel_event(char *text);        // /4014
int on_check_playback_channel(char *text);   // /4015
int on_check_live_channel(char *text);       // /4016
int on_log_channel_user_event(char *text);   // /4017
int on_get_rtsp_addr(char *text);            // /4018
int on_get_extern_port(char *text);          // /4021
int on_log_live_view(char *text);            // /4024
void on_start_live_cb(const void *payload, int length);       // 8500
void on_get_rtsp_addr_cb(const void *payload, int length);    // 8503
void on_get_extern_port_cb(const void *payload, int length);  // 8506

// ---- Live image of a channel (image.cpp) ----
int on_get_channel_image_info(char *text);    // /3000
int on_set_channel_image_info(char *text);    // /3001
int on_reset_channel_image_info(char *text);  // /3002
void on_get_channel_image_info_cb(const void *payload, int length);  // 8002

// ---- Transcoding and the busy state (transcoding.cpp) ----
int on_set_playback_transcoding(char *text);        // /4025
int on_get_playback_transcoding_state(char *text);  // /4026
int on_check_playback_busy(char *text);             // /3004
void on_set_playback_transcoding_cb(const void *payload, int length);        // 6176
void on_get_playback_transcoding_state_cb(const void *payload, int length);  // 6177
void on_check_playback_busy_cb(const void *payload, int length);             // 9011

// ---- Clip download (download.cpp, written by remote_backup) ----
int on_download_playback_clip(char *text);  // /4013
int on_get_download_state(char *text);      // /4019
int on_stop_playback_download(char *text);  // /4027
void on_get_download_playtime_cb(const void *payload, int length);  // 6173
