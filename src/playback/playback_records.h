// Records the live-view and playback module exchanges with the core daemon:
// request payloads and answers. All little-endian, 32-bit integers; texts are
// NUL-terminated within their fixed width. Sizes and offsets are the daemon's.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int PLAYBACK_SESSIONS_MAX = 64;  // sessions one batch request can name
constexpr int PLAYBACK_CHANNELS_MAX = 64;  // channels of the biggest recorder
constexpr int PLAYBACK_CHANNEL_LAST = 15;  // channels the player addresses: 0 to 15
constexpr int PLAYBACK_TIME_TEXT = 32;     // "YYYY-MM-DD hh:mm:ss" fields

// ---- 1164/1160 stop, 1165 pause, 1170 step, 1112 fast forward, 1113 step batch ----
struct session_batch {
  int32_t sid[PLAYBACK_SESSIONS_MAX];
  int32_t zero;                          // always 0
  int32_t speed[PLAYBACK_SESSIONS_MAX];  // fast forward only
  char reserved[256];
  int32_t count;  // sessions in sid[]; 0 for the step batch
};
static_assert(sizeof(session_batch) == 776);
static_assert(offsetof(session_batch, sid) == 0);
static_assert(offsetof(session_batch, zero) == 256);
static_assert(offsetof(session_batch, speed) == 260);
static_assert(offsetof(session_batch, reserved) == 516);
static_assert(offsetof(session_batch, count) == 772);

// ---- 1149 slow forward (ids are channels), 1167 set speed (ids are sessions) ----
struct speed_request {
  int32_t speed;
  int32_t single;  // 1: one session at speed 2 (set speed only)
  int32_t id[PLAYBACK_SESSIONS_MAX];
  int32_t count;
};
static_assert(sizeof(speed_request) == 268);
static_assert(offsetof(speed_request, speed) == 0);
static_assert(offsetof(speed_request, single) == 4);
static_assert(offsetof(speed_request, id) == 8);
static_assert(offsetof(speed_request, count) == 264);

// ---- 1159 section search ----
struct section_search_request {
  char channel_mask[PLAYBACK_CHANNELS_MAX];  // '1' searched, '0' other channels, NUL beyond
  int32_t one;                               // always 1
  int32_t stream_flag;                       // 1 for the sub stream's recordings
  int32_t minus_one[2];                      // always -1
  char start_time[PLAYBACK_TIME_TEXT];
  char end_time[PLAYBACK_TIME_TEXT];
  char reserved[72];
};
static_assert(sizeof(section_search_request) == 216);
static_assert(offsetof(section_search_request, channel_mask) == 0);
static_assert(offsetof(section_search_request, one) == 64);
static_assert(offsetof(section_search_request, stream_flag) == 68);
static_assert(offsetof(section_search_request, minus_one) == 72);
static_assert(offsetof(section_search_request, start_time) == 80);
static_assert(offsetof(section_search_request, end_time) == 112);
static_assert(offsetof(section_search_request, reserved) == 144);

// ---- 1161 page of sections ----
struct section_page_request {
  int32_t sid;
  int32_t page;
  char reserved[12];
};
static_assert(sizeof(section_page_request) == 20);
static_assert(offsetof(section_page_request, sid) == 0);
static_assert(offsetof(section_page_request, page) == 4);
static_assert(offsetof(section_page_request, reserved) == 8);

// ---- Answers 6159 and 6161: one record per recorded section ----
struct section_record {
  int32_t camId;
  int32_t sid;
  int32_t reserved0;
  int32_t lock;
  int32_t reserved1;
  int32_t recordType;
  char start_time[20];
  char end_time[20];
  char reserved2[16];
};
static_assert(sizeof(section_record) == 80);
static_assert(offsetof(section_record, camId) == 0);
static_assert(offsetof(section_record, sid) == 4);
static_assert(offsetof(section_record, reserved0) == 8);
static_assert(offsetof(section_record, lock) == 12);
static_assert(offsetof(section_record, reserved1) == 16);
static_assert(offsetof(section_record, recordType) == 20);
static_assert(offsetof(section_record, start_time) == 24);
static_assert(offsetof(section_record, end_time) == 44);
static_assert(offsetof(section_record, reserved2) == 64);

// ---- Answers 8101 and 8501: a channel's day, minute by minute ----
constexpr int DAY_MINUTES = 1440;
struct day_map_record {
  int32_t camId;
  uint8_t minute_type[DAY_MINUTES];  // record type of each minute; 0 = nothing recorded
};
static_assert(sizeof(day_map_record) == 1444);
static_assert(offsetof(day_map_record, camId) == 0);
static_assert(offsetof(day_map_record, minute_type) == 4);

// ---- 1162 start playback ----
struct start_playback_request {
  int32_t channelId;
  int32_t sid;
  char reserved[8];
  char startTime[PLAYBACK_TIME_TEXT];
  char endTime[PLAYBACK_TIME_TEXT];
  char playTime[PLAYBACK_TIME_TEXT];
};
static_assert(sizeof(start_playback_request) == 112);
static_assert(offsetof(start_playback_request, channelId) == 0);
static_assert(offsetof(start_playback_request, sid) == 4);
static_assert(offsetof(start_playback_request, reserved) == 8);
static_assert(offsetof(start_playback_request, startTime) == 16);
static_assert(offsetof(start_playback_request, endTime) == 48);
static_assert(offsetof(start_playback_request, playTime) == 80);

// ---- 3109 start playback by channel masks ----
constexpr int PLAYBACK_MASKS = 8;
struct mask_playback_request {
  int32_t time;  // playTime in seconds since the epoch
  char playTime[PLAYBACK_TIME_TEXT];
  int32_t mask[PLAYBACK_MASKS];  // mask0 to mask7
};
static_assert(sizeof(mask_playback_request) == 68);
static_assert(offsetof(mask_playback_request, time) == 0);
static_assert(offsetof(mask_playback_request, playTime) == 4);
static_assert(offsetof(mask_playback_request, mask) == 36);

// ---- Answer 8103 (to 3109): the started session ----
struct started_session_record {
  int32_t sid;
  char playTime[PLAYBACK_TIME_TEXT];
  int32_t failed;  // non-zero: nothing was started
};
static_assert(sizeof(started_session_record) == 40);
static_assert(offsetof(started_session_record, sid) == 0);
static_assert(offsetof(started_session_record, playTime) == 4);
static_assert(offsetof(started_session_record, failed) == 36);

// ---- Answer 8502 (to 3502): where the session's stream is served ----
struct session_info_record {
  int32_t sessionId;
  int32_t port;
  int32_t external_port;
  int32_t external_http_port;
  int32_t ddns_port;
  int32_t ddns_http_port;
  char sourcePath[128];
};
static_assert(sizeof(session_info_record) == 152);
static_assert(offsetof(session_info_record, sessionId) == 0);
static_assert(offsetof(session_info_record, port) == 4);
static_assert(offsetof(session_info_record, external_port) == 8);
static_assert(offsetof(session_info_record, external_http_port) == 12);
static_assert(offsetof(session_info_record, ddns_port) == 16);
static_assert(offsetof(session_info_record, ddns_http_port) == 20);
static_assert(offsetof(session_info_record, sourcePath) == 24);

// ---- 1166 resume ----
struct resume_request {
  int32_t sid;
  int32_t direction;
};
static_assert(sizeof(resume_request) == 8);
static_assert(offsetof(resume_request, sid) == 0);
static_assert(offsetof(resume_request, direction) == 4);

// ---- 1171 jump ----
struct jump_request {
  int32_t channel[PLAYBACK_SESSIONS_MAX];
  int32_t sid[PLAYBACK_SESSIONS_MAX];
  int32_t count;
  char jumpTime[64];
};
static_assert(sizeof(jump_request) == 580);
static_assert(offsetof(jump_request, channel) == 0);
static_assert(offsetof(jump_request, sid) == 256);
static_assert(offsetof(jump_request, count) == 512);
static_assert(offsetof(jump_request, jumpTime) == 516);

// ---- Answers 8115 and 8116: a time per session ----
struct session_time_pair {
  int32_t sid;
  int32_t time;  // seconds since the epoch
};
static_assert(sizeof(session_time_pair) == 8);
static_assert(offsetof(session_time_pair, sid) == 0);
static_assert(offsetof(session_time_pair, time) == 4);

// ---- 1176 set transcoding, 1177 transcoding state ----
struct transcoding_request {
  int32_t ch;
  int32_t sid;
  int32_t trancodingmode;
  int32_t framesize;
  int32_t bitrate;
  int32_t framerate;
};
static_assert(sizeof(transcoding_request) == 24);
static_assert(offsetof(transcoding_request, ch) == 0);
static_assert(offsetof(transcoding_request, sid) == 4);
static_assert(offsetof(transcoding_request, trancodingmode) == 8);
static_assert(offsetof(transcoding_request, framesize) == 12);
static_assert(offsetof(transcoding_request, bitrate) == 16);
static_assert(offsetof(transcoding_request, framerate) == 20);

struct transcoding_state_request {
  int32_t ch;
  int32_t sid;
};
static_assert(sizeof(transcoding_state_request) == 8);
static_assert(offsetof(transcoding_state_request, ch) == 0);
static_assert(offsetof(transcoding_state_request, sid) == 4);

// Answers 6176 and 6177.
struct transcoding_state_record {
  int32_t ch;
  int32_t sid;
  int32_t state;
};
static_assert(sizeof(transcoding_state_record) == 12);
static_assert(offsetof(transcoding_state_record, ch) == 0);
static_assert(offsetof(transcoding_state_record, sid) == 4);
static_assert(offsetof(transcoding_state_record, state) == 8);

// ---- 3500 start live, 1901 stop live ----
struct live_request {
  int32_t id;          // channel
  int32_t streamType;  // 0 main, 1 sub
  int32_t streamFrom;  // start: where the stream comes from; stop: always 0
};
static_assert(sizeof(live_request) == 12);
static_assert(offsetof(live_request, id) == 0);
static_assert(offsetof(live_request, streamType) == 4);
static_assert(offsetof(live_request, streamFrom) == 8);

// ---- Answer 8500 (to 3500): the live stream ----
constexpr int LIVE_ANSWER_MIN = 32;  // up to the status: shorter answers are no answer
struct live_answer_record {
  int32_t channel;
  int32_t port;
  char reserved0[16];
  int32_t direct;
  int32_t status;  // negative: refused
  char reserved1[64];
  char rtspAddr[256];
  char resPath[256];
};
static_assert(sizeof(live_answer_record) == 608);
static_assert(offsetof(live_answer_record, channel) == 0);
static_assert(offsetof(live_answer_record, port) == 4);
static_assert(offsetof(live_answer_record, reserved0) == 8);
static_assert(offsetof(live_answer_record, direct) == 24);
static_assert(offsetof(live_answer_record, status) == 28);
static_assert(offsetof(live_answer_record, reserved1) == 32);
static_assert(offsetof(live_answer_record, rtspAddr) == 96);
static_assert(offsetof(live_answer_record, resPath) == 352);

// ---- Answer 8503 (to 3503): one record per channel ----
struct stream_address_record {
  int32_t channel;
  char ipcMain[256];  // the camera's main stream address
  char ipcSub[256];   // the camera's sub stream address
  char reserved0[4];
  // The recorder's own restream of the main stream.
  int32_t mainPort;
  int32_t mainExternalPort;
  int32_t mainDDNSPort;
  int32_t mainExternalHttpPort;
  int32_t mainDDNSHttpPort;
  char reserved1[8];
  char mainUsername[32];
  char mainPassword[32];
  char reserved2[256];
  char mainResPath[128];
  char reserved3[4];
  // The same for the sub stream.
  int32_t subPort;
  int32_t subExternalPort;
  int32_t subDDNSPort;
  int32_t subExternalHttpPort;
  int32_t subDDNSHttpPort;
  char reserved4[8];
  char subUsername[32];
  char subPassword[32];
  char reserved5[256];
  char subResPath[128];
};
static_assert(sizeof(stream_address_record) == 1476);
static_assert(offsetof(stream_address_record, channel) == 0);
static_assert(offsetof(stream_address_record, ipcMain) == 4);
static_assert(offsetof(stream_address_record, ipcSub) == 260);
static_assert(offsetof(stream_address_record, reserved0) == 516);
static_assert(offsetof(stream_address_record, mainPort) == 520);
static_assert(offsetof(stream_address_record, mainExternalPort) == 524);
static_assert(offsetof(stream_address_record, mainDDNSPort) == 528);
static_assert(offsetof(stream_address_record, mainExternalHttpPort) == 532);
static_assert(offsetof(stream_address_record, mainDDNSHttpPort) == 536);
static_assert(offsetof(stream_address_record, reserved1) == 540);
static_assert(offsetof(stream_address_record, mainUsername) == 548);
static_assert(offsetof(stream_address_record, mainPassword) == 580);
static_assert(offsetof(stream_address_record, reserved2) == 612);
static_assert(offsetof(stream_address_record, mainResPath) == 868);
static_assert(offsetof(stream_address_record, reserved3) == 996);
static_assert(offsetof(stream_address_record, subPort) == 1000);
static_assert(offsetof(stream_address_record, subExternalPort) == 1004);
static_assert(offsetof(stream_address_record, subDDNSPort) == 1008);
static_assert(offsetof(stream_address_record, subExternalHttpPort) == 1012);
static_assert(offsetof(stream_address_record, subDDNSHttpPort) == 1016);
static_assert(offsetof(stream_address_record, reserved4) == 1020);
static_assert(offsetof(stream_address_record, subUsername) == 1028);
static_assert(offsetof(stream_address_record, subPassword) == 1060);
static_assert(offsetof(stream_address_record, reserved5) == 1092);
static_assert(offsetof(stream_address_record, subResPath) == 1348);

// ---- Answer 8506 (to 3506): the ports seen from outside ----
struct extern_port_record {
  int32_t upnp_extern_port;
  int32_t ddns_extern_port;
};
static_assert(sizeof(extern_port_record) == 8);
static_assert(offsetof(extern_port_record, upnp_extern_port) == 0);
static_assert(offsetof(extern_port_record, ddns_extern_port) == 4);

// ---- 1205 set the live image of a channel ----
struct image_request {
  int32_t id;
  int32_t brightness;
  int32_t contrast;
  int32_t saturation;
  int32_t Sharpness;
  int32_t NoiseReduction;
  int32_t i2ddnr;
};
static_assert(sizeof(image_request) == 28);
static_assert(offsetof(image_request, id) == 0);
static_assert(offsetof(image_request, brightness) == 4);
static_assert(offsetof(image_request, contrast) == 8);
static_assert(offsetof(image_request, saturation) == 12);
static_assert(offsetof(image_request, Sharpness) == 16);
static_assert(offsetof(image_request, NoiseReduction) == 20);
static_assert(offsetof(image_request, i2ddnr) == 24);

// ---- Answer 8002 (to 3002): the channel's image and what it supports ----
struct image_info_record {
  int32_t channel;
  int32_t brightness;
  int32_t contrast;
  int32_t saturation;
  int32_t Sharpness;
  int32_t NoiseReduction;
  int32_t i2ddnr;
  int32_t status;  // negative: no image information
  int32_t supportLpr;
  int32_t isNtPlatform;
  int32_t isPanoramaStitch;
};
static_assert(sizeof(image_info_record) == 44);
static_assert(offsetof(image_info_record, channel) == 0);
static_assert(offsetof(image_info_record, brightness) == 4);
static_assert(offsetof(image_info_record, contrast) == 8);
static_assert(offsetof(image_info_record, saturation) == 12);
static_assert(offsetof(image_info_record, Sharpness) == 16);
static_assert(offsetof(image_info_record, NoiseReduction) == 20);
static_assert(offsetof(image_info_record, i2ddnr) == 24);
static_assert(offsetof(image_info_record, status) == 28);
static_assert(offsetof(image_info_record, supportLpr) == 32);
static_assert(offsetof(image_info_record, isNtPlatform) == 36);
static_assert(offsetof(image_info_record, isPanoramaStitch) == 40);

// Detail of the image-settings log entry (kind 107): percentages 0 to 100.
constexpr int IMAGE_LOG_DETAIL_KIND = 107;
struct image_log_detail {
  int32_t brightness;
  int32_t contrast;
  int32_t saturation;
  int32_t Sharpness;
  int32_t NoiseReduction;
};
static_assert(sizeof(image_log_detail) == 20);
static_assert(offsetof(image_log_detail, brightness) == 0);
static_assert(offsetof(image_log_detail, contrast) == 4);
static_assert(offsetof(image_log_detail, saturation) == 8);
static_assert(offsetof(image_log_detail, Sharpness) == 12);
static_assert(offsetof(image_log_detail, NoiseReduction) == 16);
