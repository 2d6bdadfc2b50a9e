// Records of the camera's further features: watermark, event stream,
// night mode, custom parameter, system capabilities and motion status.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kxdb_event.h"  // schedule

// ---- Watermark (answer 44 bytes, request 112 bytes) ----
struct watermark_answer {
  int32_t channel;
  int32_t enable;
  int32_t reserved;
  char watermark[32];
};
static_assert(sizeof(watermark_answer) == 44);
static_assert(offsetof(watermark_answer, channel) == 0);
static_assert(offsetof(watermark_answer, enable) == 4);
static_assert(offsetof(watermark_answer, reserved) == 8);
static_assert(offsetof(watermark_answer, watermark) == 12);

struct watermark_request {
  int32_t channel;
  int32_t enable;
  int32_t reserved;
  char watermark[32];
  char copy[65];  // '1' at the index of each channel the watermark is copied to
  char padding[3];
};
static_assert(sizeof(watermark_request) == 112);
static_assert(offsetof(watermark_request, channel) == 0);
static_assert(offsetof(watermark_request, enable) == 4);
static_assert(offsetof(watermark_request, reserved) == 8);
static_assert(offsetof(watermark_request, watermark) == 12);
static_assert(offsetof(watermark_request, copy) == 44);
static_assert(offsetof(watermark_request, padding) == 109);

// ---- Event stream: the separate encoding of event recordings (24 bytes,
// ---- the same in the request and the answer) ----
struct event_stream_query {
  int32_t channel;
  int32_t fisheyeType;
};
static_assert(sizeof(event_stream_query) == 8);
static_assert(offsetof(event_stream_query, channel) == 0);
static_assert(offsetof(event_stream_query, fisheyeType) == 4);

struct event_stream {
  int32_t channel;
  int32_t reserved;
  int32_t enable;
  int32_t framerate;
  int32_t bitrate;
  int32_t iframeinterval;
};
static_assert(sizeof(event_stream) == 24);
static_assert(offsetof(event_stream, channel) == 0);
static_assert(offsetof(event_stream, reserved) == 4);
static_assert(offsetof(event_stream, enable) == 8);
static_assert(offsetof(event_stream, framerate) == 12);
static_assert(offsetof(event_stream, bitrate) == 16);
static_assert(offsetof(event_stream, iframeinterval) == 20);

// ---- Night mode of a licence-plate camera (8 bytes) ----
struct lpr_night_mode {
  int32_t channel;
  int32_t nightMode;
};
static_assert(sizeof(lpr_night_mode) == 8);
static_assert(offsetof(lpr_night_mode, channel) == 0);
static_assert(offsetof(lpr_night_mode, nightMode) == 4);

// ---- Custom parameter (request 260 bytes, answer 520 bytes) ----
struct custom_param_request {
  int32_t channel;
  char url[256];
};
static_assert(sizeof(custom_param_request) == 260);
static_assert(offsetof(custom_param_request, channel) == 0);
static_assert(offsetof(custom_param_request, url) == 4);

struct custom_param_answer {
  int32_t res;
  int32_t channel;
  char data[512];
};
static_assert(sizeof(custom_param_answer) == 520);
static_assert(offsetof(custom_param_answer, res) == 0);
static_assert(offsetof(custom_param_answer, channel) == 4);
static_assert(offsetof(custom_param_answer, data) == 8);

// ---- Camera capability flags (888 bytes of int32 words) ----
constexpr int IPC_SYSTEM_INFO_WORDS = 222;
struct ipc_system_info {
  int32_t words[IPC_SYSTEM_INFO_WORDS];  // 0 result, 1 to 5 audio and speaker, 41 tracking
};
static_assert(sizeof(ipc_system_info) == 888);
static_assert(offsetof(ipc_system_info, words) == 0);

// ---- Motion status of every channel (8 bytes) ----
struct motion_status {
  uint32_t mask_low;  // bit i: channel i reports motion
  uint32_t mask_high;
};
static_assert(sizeof(motion_status) == 8);
static_assert(offsetof(motion_status, mask_low) == 0);
static_assert(offsetof(motion_status, mask_high) == 4);

// ---- Firmware upgrade of cameras ----
constexpr int IPC_UPGRADE_CHANNELS = 16;  // channels the status report covers
constexpr const char *IPC_UPGRADE_FILE = "/dev/shm/updateIPCFM.bin";

// Request 3379 (280 bytes): start the upgrade of the channels of the mask.
struct ipc_upgrade_start {
  uint32_t mask_low;
  uint32_t mask_high;
  int32_t reset;
  char url[128];
  char file[128];  // where the uploaded firmware lies
  char padding[12];
};
static_assert(sizeof(ipc_upgrade_start) == 280);
static_assert(offsetof(ipc_upgrade_start, mask_low) == 0);
static_assert(offsetof(ipc_upgrade_start, mask_high) == 4);
static_assert(offsetof(ipc_upgrade_start, reset) == 8);
static_assert(offsetof(ipc_upgrade_start, url) == 12);
static_assert(offsetof(ipc_upgrade_start, file) == 140);
static_assert(offsetof(ipc_upgrade_start, padding) == 268);

// Request 3385 (280 bytes): the channels to upgrade and those to reset.
struct ipc_upgrade_masks {
  uint32_t upgrade_low;
  uint32_t upgrade_high;
  uint32_t keep_low;  // the reset mask inverted: bit set = not reset
  uint32_t keep_high;
  int32_t fileSize;
  char reserved[260];
};
static_assert(sizeof(ipc_upgrade_masks) == 280);
static_assert(offsetof(ipc_upgrade_masks, upgrade_low) == 0);
static_assert(offsetof(ipc_upgrade_masks, upgrade_high) == 4);
static_assert(offsetof(ipc_upgrade_masks, keep_low) == 8);
static_assert(offsetof(ipc_upgrade_masks, keep_high) == 12);
static_assert(offsetof(ipc_upgrade_masks, fileSize) == 16);
static_assert(offsetof(ipc_upgrade_masks, reserved) == 20);

// Answers 8379 and 8386 (72 bytes): the channels upgrading and the status
// (0 to 100) of each of the first 16.
struct ipc_upgrade_status {
  uint32_t mask_low;
  uint32_t mask_high;
  int32_t status[IPC_UPGRADE_CHANNELS];
};
static_assert(sizeof(ipc_upgrade_status) == 72);
static_assert(offsetof(ipc_upgrade_status, mask_low) == 0);
static_assert(offsetof(ipc_upgrade_status, mask_high) == 4);
static_assert(offsetof(ipc_upgrade_status, status) == 8);

// ---- Camera audio ----
constexpr int IPC_AUDIO_OPTIONS = 9;
constexpr int IPC_AUDIO_SAMPLE_RATES = 9;
constexpr int IPC_AUDIO_BITRATES = 16;

// The audio configuration of a camera (44 bytes).
struct ipc_audio_config {
  int32_t channel;
  int32_t audioEnable;
  int32_t audioMode;
  int32_t denoise;
  int32_t encoding;
  int32_t sampleRate;
  int32_t inputGain;
  int32_t inputMode;
  int32_t audioGainControl;
  int32_t outputVolume;
  int32_t audioBitrate;
};
static_assert(sizeof(ipc_audio_config) == 44);
static_assert(offsetof(ipc_audio_config, channel) == 0);
static_assert(offsetof(ipc_audio_config, audioEnable) == 4);
static_assert(offsetof(ipc_audio_config, audioMode) == 8);
static_assert(offsetof(ipc_audio_config, denoise) == 12);
static_assert(offsetof(ipc_audio_config, encoding) == 16);
static_assert(offsetof(ipc_audio_config, sampleRate) == 20);
static_assert(offsetof(ipc_audio_config, inputGain) == 24);
static_assert(offsetof(ipc_audio_config, inputMode) == 28);
static_assert(offsetof(ipc_audio_config, audioGainControl) == 32);
static_assert(offsetof(ipc_audio_config, outputVolume) == 36);
static_assert(offsetof(ipc_audio_config, audioBitrate) == 40);

struct ipc_audio_sample_rate {
  int32_t value;
  int32_t bitrate_count;
  int32_t bitrates[IPC_AUDIO_BITRATES];
};
static_assert(sizeof(ipc_audio_sample_rate) == 72);
static_assert(offsetof(ipc_audio_sample_rate, value) == 0);
static_assert(offsetof(ipc_audio_sample_rate, bitrate_count) == 4);
static_assert(offsetof(ipc_audio_sample_rate, bitrates) == 8);

struct ipc_audio_option {
  int32_t encode;
  int32_t sample_rate_count;
  ipc_audio_sample_rate sample_rates[IPC_AUDIO_SAMPLE_RATES];
};
static_assert(sizeof(ipc_audio_option) == 656);
static_assert(offsetof(ipc_audio_option, encode) == 0);
static_assert(offsetof(ipc_audio_option, sample_rate_count) == 4);
static_assert(offsetof(ipc_audio_option, sample_rates) == 8);

// Answer 8371 (5968 bytes): what the camera offers and its configuration.
struct ipc_audio_info {
  int32_t res;
  int32_t support;
  int32_t supportMode;
  int32_t supportInputMode;
  int32_t option_count;
  ipc_audio_option options[IPC_AUDIO_OPTIONS];
  ipc_audio_config config;
};
static_assert(sizeof(ipc_audio_info) == 5968);
static_assert(offsetof(ipc_audio_info, res) == 0);
static_assert(offsetof(ipc_audio_info, support) == 4);
static_assert(offsetof(ipc_audio_info, supportMode) == 8);
static_assert(offsetof(ipc_audio_info, supportInputMode) == 12);
static_assert(offsetof(ipc_audio_info, option_count) == 16);
static_assert(offsetof(ipc_audio_info, options) == 20);
static_assert(offsetof(ipc_audio_info, config) == 5924);

// Request 3372 (56 bytes): the configuration for the channels of the mask.
struct ipc_audio_set {
  uint32_t mask_low;
  uint32_t mask_high;
  ipc_audio_config config;
  int32_t reserved;
};
static_assert(sizeof(ipc_audio_set) == 56);
static_assert(offsetof(ipc_audio_set, mask_low) == 0);
static_assert(offsetof(ipc_audio_set, mask_high) == 4);
static_assert(offsetof(ipc_audio_set, config) == 8);
static_assert(offsetof(ipc_audio_set, reserved) == 52);

// ---- Auto tracking (26520 bytes; answer 8294, and at byte 8 of request
// ---- 3375 after the channel mask) ----
struct auto_tracking {
  int32_t channel;
  int32_t enable;
  int32_t show;
  int32_t sensitivity;
  int32_t time;
  int32_t manual_tracking;
  int32_t zoom_mode;
  int32_t zoom_number;
  schedule sched;
  char area[300];
  int32_t humanVehicleSupport;
  int32_t trackingObject;
  int32_t reportMotion;
};
static_assert(sizeof(auto_tracking) == 26520);
static_assert(offsetof(auto_tracking, channel) == 0);
static_assert(offsetof(auto_tracking, enable) == 4);
static_assert(offsetof(auto_tracking, show) == 8);
static_assert(offsetof(auto_tracking, sensitivity) == 12);
static_assert(offsetof(auto_tracking, time) == 16);
static_assert(offsetof(auto_tracking, manual_tracking) == 20);
static_assert(offsetof(auto_tracking, zoom_mode) == 24);
static_assert(offsetof(auto_tracking, zoom_number) == 28);
static_assert(offsetof(auto_tracking, sched) == 32);
static_assert(offsetof(auto_tracking, area) == 26208);
static_assert(offsetof(auto_tracking, humanVehicleSupport) == 26508);
static_assert(offsetof(auto_tracking, trackingObject) == 26512);
static_assert(offsetof(auto_tracking, reportMotion) == 26516);

struct auto_tracking_set {
  uint32_t mask_low;
  uint32_t mask_high;
  auto_tracking record;
};
static_assert(sizeof(auto_tracking_set) == 26528);
static_assert(offsetof(auto_tracking_set, mask_low) == 0);
static_assert(offsetof(auto_tracking_set, mask_high) == 4);
static_assert(offsetof(auto_tracking_set, record) == 8);
