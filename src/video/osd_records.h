// Wire records of the on-screen display and privacy-mask pages: the notice
// of a changed recorder OSD, and the cameras' own OSD texts and privacy
// masks as the core daemon carries them. Little-endian; unnamed bytes zero.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Request codes ----
constexpr int OSD_CHANGED_NOTICE = 1007;       // osd_notice
constexpr int CAMERA_MASK_STATE_GET = 2502;    // int32 channel; answered with camera_mask_state
constexpr int CAMERA_MODEL_TYPE_GET = 2503;    // int32 channel; answered with an int32
constexpr int CAMERA_MASK_DELETE = 2508;       // camera_mask_ref (channel, area id)
constexpr int CAMERA_MASK_SET = 2509;          // camera_mask_set
constexpr int CAMERA_OSD_SET = 3210;           // camera_osd; answered with an int32 verdict
constexpr int CAMERA_OSD_GET = 3211;           // int32 channel; answered with camera_osd
constexpr int CAMERA_MASK_EDIT = 3353;         // camera_mask_ref (channel, mask id)

constexpr int OSD_NOTICE_CHANGED = 1;  // kind word of the notice
constexpr int CAMERA_OSD_TEXT = 256;   // the cameras' OSD texts, NUL included
constexpr int CAMERA_MASK_AREAS = 28;  // areas a camera mask record holds
constexpr int CAMERA_MASK_NAME = 64;
constexpr int CAMERA_MASK_CHANNELS = 64;

// Verdicts of a camera OSD write (answer 8210).
constexpr int32_t CAMERA_OSD_APPLIED = 0;
constexpr int32_t CAMERA_OSD_UNSUPPORTED = -1;

// The recorder's OSD of a channel changed (1007).
struct osd_notice {
  int32_t channel;
  int32_t kind;  // OSD_NOTICE_CHANGED
  int32_t reserved;
};
static_assert(sizeof(osd_notice) == 12);
static_assert(offsetof(osd_notice, channel) == 0);
static_assert(offsetof(osd_notice, kind) == 4);
static_assert(offsetof(osd_notice, reserved) == 8);

// The camera's own OSD texts of its main and sub stream (3210, answer 8211).
// A negative ch in an answer means the channel's camera is not connected.
struct camera_osd {
  int32_t ch;
  int32_t enable_text;
  char text_name[CAMERA_OSD_TEXT];
  int32_t textpos;
  int32_t enable_date;
  int32_t datepos;
  int32_t dateformat;
  int32_t fontSize;
  int32_t enable_text_sub;
  char text_name_sub[CAMERA_OSD_TEXT];
  int32_t textpos_sub;
  int32_t enable_date_sub;
  int32_t datepos_sub;
  int32_t dateformat_sub;
  int32_t fontSizeSub;
  char reserved[280];
  int32_t type;
};
static_assert(sizeof(camera_osd) == 848);
static_assert(offsetof(camera_osd, ch) == 0);
static_assert(offsetof(camera_osd, enable_text) == 4);
static_assert(offsetof(camera_osd, text_name) == 8);
static_assert(offsetof(camera_osd, textpos) == 264);
static_assert(offsetof(camera_osd, enable_date) == 268);
static_assert(offsetof(camera_osd, datepos) == 272);
static_assert(offsetof(camera_osd, dateformat) == 276);
static_assert(offsetof(camera_osd, fontSize) == 280);
static_assert(offsetof(camera_osd, enable_text_sub) == 284);
static_assert(offsetof(camera_osd, text_name_sub) == 288);
static_assert(offsetof(camera_osd, textpos_sub) == 544);
static_assert(offsetof(camera_osd, enable_date_sub) == 548);
static_assert(offsetof(camera_osd, datepos_sub) == 552);
static_assert(offsetof(camera_osd, dateformat_sub) == 556);
static_assert(offsetof(camera_osd, fontSizeSub) == 560);
static_assert(offsetof(camera_osd, reserved) == 564);
static_assert(offsetof(camera_osd, type) == 844);

// One privacy-mask area of a camera, in the set and in the state record.
struct camera_mask_area {
  int32_t area_id;
  int32_t enable;
  int32_t start_x;
  int32_t start_y;
  int32_t area_width;
  int32_t area_height;
  int32_t fill_color;
  int32_t ratio;
  char name[CAMERA_MASK_NAME];
};
static_assert(sizeof(camera_mask_area) == 96);
static_assert(offsetof(camera_mask_area, area_id) == 0);
static_assert(offsetof(camera_mask_area, enable) == 4);
static_assert(offsetof(camera_mask_area, start_x) == 8);
static_assert(offsetof(camera_mask_area, start_y) == 12);
static_assert(offsetof(camera_mask_area, area_width) == 16);
static_assert(offsetof(camera_mask_area, area_height) == 20);
static_assert(offsetof(camera_mask_area, fill_color) == 24);
static_assert(offsetof(camera_mask_area, ratio) == 28);
static_assert(offsetof(camera_mask_area, name) == 32);

// The privacy masks to set on the cameras of the marked channels (2509).
struct camera_mask_set {
  char channels[CAMERA_MASK_CHANNELS];  // '0' or '1' per channel, no terminator
  char reserved0[12];
  int32_t enable;
  int32_t num;
  int32_t cgiSdkFlag;
  char reserved1[36];
  int32_t areaMaskEnable;
  char reserved2[64];
  camera_mask_area areas[CAMERA_MASK_AREAS];
  int32_t mosaicSupport;
  int32_t mosaicNum;
  int32_t delMask;
  char reserved3[12];
};
static_assert(sizeof(camera_mask_set) == 2904);
static_assert(offsetof(camera_mask_set, channels) == 0);
static_assert(offsetof(camera_mask_set, reserved0) == 64);
static_assert(offsetof(camera_mask_set, enable) == 76);
static_assert(offsetof(camera_mask_set, num) == 80);
static_assert(offsetof(camera_mask_set, cgiSdkFlag) == 84);
static_assert(offsetof(camera_mask_set, reserved1) == 88);
static_assert(offsetof(camera_mask_set, areaMaskEnable) == 124);
static_assert(offsetof(camera_mask_set, reserved2) == 128);
static_assert(offsetof(camera_mask_set, areas) == 192);
static_assert(offsetof(camera_mask_set, mosaicSupport) == 2880);
static_assert(offsetof(camera_mask_set, mosaicNum) == 2884);
static_assert(offsetof(camera_mask_set, delMask) == 2888);
static_assert(offsetof(camera_mask_set, reserved3) == 2892);

// What a camera holds of privacy masks and what it can do (answer 7502,
// one record per channel).
struct camera_mask_state {
  int32_t id;
  int32_t enable;
  int32_t num;
  int32_t cgiSdkFlag;
  char sdkversion[32];
  int32_t maxPtzZoomRatio;
  int32_t areaEnable;
  char colorList[64];
  camera_mask_area areas[CAMERA_MASK_AREAS];
  int32_t mosaicSupport;
  int32_t mosaicNum;
  char reserved[8];
  int32_t colorSupport;
  int32_t maxMaskSum;  // areas in use; the page shows this many
};
static_assert(sizeof(camera_mask_state) == 2832);
static_assert(offsetof(camera_mask_state, id) == 0);
static_assert(offsetof(camera_mask_state, enable) == 4);
static_assert(offsetof(camera_mask_state, num) == 8);
static_assert(offsetof(camera_mask_state, cgiSdkFlag) == 12);
static_assert(offsetof(camera_mask_state, sdkversion) == 16);
static_assert(offsetof(camera_mask_state, maxPtzZoomRatio) == 48);
static_assert(offsetof(camera_mask_state, areaEnable) == 52);
static_assert(offsetof(camera_mask_state, colorList) == 56);
static_assert(offsetof(camera_mask_state, areas) == 120);
static_assert(offsetof(camera_mask_state, mosaicSupport) == 2808);
static_assert(offsetof(camera_mask_state, mosaicNum) == 2812);
static_assert(offsetof(camera_mask_state, reserved) == 2816);
static_assert(offsetof(camera_mask_state, colorSupport) == 2824);
static_assert(offsetof(camera_mask_state, maxMaskSum) == 2828);

// A channel and an area of its camera's masks: delete (2508: channel,
// area_id) and edit (3353: chnid, maskid).
struct camera_mask_ref {
  int32_t channel;
  int32_t area;
};
static_assert(sizeof(camera_mask_ref) == 8);
static_assert(offsetof(camera_mask_ref, channel) == 0);
static_assert(offsetof(camera_mask_ref, area) == 4);
