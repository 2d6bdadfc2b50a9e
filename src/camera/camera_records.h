// Records the camera parameter proxy exchanges with the core daemon. All
// little-endian int32 words and NUL-terminated texts of fixed width; bytes
// without a name are reserved and sent as zero.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int IPC_CHANNELS = 64;

// ---- Image enhancement (228 bytes) ----
// The camera's own image processing: IR, white balance, WDR, HLC, exposure,
// defog. Carried at byte 8 of answer 8221 and at byte 260 of request 3280.
struct image_enhancement {
  int32_t smartir;
  int32_t whiteblance;
  int32_t focusmode;
  int32_t antiblurry;
  int32_t wdrenable;
  int32_t wdrlevel;
  int32_t wdrstarthour;
  int32_t wdrstartminute;
  int32_t wdrstophour;
  int32_t wdrstopminute;
  int32_t regiontype;
  int32_t hlcmode;
  int32_t exclude;
  int32_t exposemode;
  char exposeregion[64];
  int32_t modelType;  // sent by the page, never reported back
  int32_t imageschemode;
  int32_t hlcday;
  int32_t hlcnight;
  int32_t redgain;
  int32_t bluegain;
  int32_t defogmode;
  int32_t defoglevel;
  int32_t dismode;
  int32_t exposetime;
  int32_t exposegain;
  int32_t wdraflevel;  // the page sends it as "aflevel"
  int32_t hlclevel;
  int32_t exposurectrl;
  int32_t enblur;
  int32_t deblur;
  char sdkversion[32];
  int32_t lensType;
  int32_t reduceVideoStuttering;
  char reserved[4];
};
static_assert(sizeof(image_enhancement) == 228);
static_assert(offsetof(image_enhancement, smartir) == 0);
static_assert(offsetof(image_enhancement, whiteblance) == 4);
static_assert(offsetof(image_enhancement, focusmode) == 8);
static_assert(offsetof(image_enhancement, antiblurry) == 12);
static_assert(offsetof(image_enhancement, wdrenable) == 16);
static_assert(offsetof(image_enhancement, wdrlevel) == 20);
static_assert(offsetof(image_enhancement, wdrstarthour) == 24);
static_assert(offsetof(image_enhancement, wdrstartminute) == 28);
static_assert(offsetof(image_enhancement, wdrstophour) == 32);
static_assert(offsetof(image_enhancement, wdrstopminute) == 36);
static_assert(offsetof(image_enhancement, regiontype) == 40);
static_assert(offsetof(image_enhancement, hlcmode) == 44);
static_assert(offsetof(image_enhancement, exclude) == 48);
static_assert(offsetof(image_enhancement, exposemode) == 52);
static_assert(offsetof(image_enhancement, exposeregion) == 56);
static_assert(offsetof(image_enhancement, modelType) == 120);
static_assert(offsetof(image_enhancement, imageschemode) == 124);
static_assert(offsetof(image_enhancement, hlcday) == 128);
static_assert(offsetof(image_enhancement, hlcnight) == 132);
static_assert(offsetof(image_enhancement, redgain) == 136);
static_assert(offsetof(image_enhancement, bluegain) == 140);
static_assert(offsetof(image_enhancement, defogmode) == 144);
static_assert(offsetof(image_enhancement, defoglevel) == 148);
static_assert(offsetof(image_enhancement, dismode) == 152);
static_assert(offsetof(image_enhancement, exposetime) == 156);
static_assert(offsetof(image_enhancement, exposegain) == 160);
static_assert(offsetof(image_enhancement, wdraflevel) == 164);
static_assert(offsetof(image_enhancement, hlclevel) == 168);
static_assert(offsetof(image_enhancement, exposurectrl) == 172);
static_assert(offsetof(image_enhancement, enblur) == 176);
static_assert(offsetof(image_enhancement, deblur) == 180);
static_assert(offsetof(image_enhancement, sdkversion) == 184);
static_assert(offsetof(image_enhancement, lensType) == 216);
static_assert(offsetof(image_enhancement, reduceVideoStuttering) == 220);
static_assert(offsetof(image_enhancement, reserved) == 224);

// The same 228 bytes for cameras that take scenes ("type" non-zero).
struct image_enhancement_scene {
  int32_t irBalanceMode;
  int32_t reduceMotionBlur;
  int32_t deblur;
  int32_t defogMode;
  int32_t antiFogIntensity;
  int32_t whitebalanceMode;
  int32_t whitebalanceRedGain;
  int32_t whitebalanceBlueGain;
  int32_t exposureMode;
  int32_t exposureTime;
  int32_t exposureGain;
  int32_t blcRegion;
  int32_t blcRegionRange;
  char blcRegionArea[32];
  int32_t wdrMode;
  int32_t wdrStartHour;
  int32_t wdrStartMin;
  int32_t wdrEndHour;
  int32_t wdrEndMin;
  int32_t wdrLevel;
  int32_t hlcMode;
  int32_t hlcLevel;
  char reserved[112];
};
static_assert(sizeof(image_enhancement_scene) == 228);
static_assert(offsetof(image_enhancement_scene, irBalanceMode) == 0);
static_assert(offsetof(image_enhancement_scene, reduceMotionBlur) == 4);
static_assert(offsetof(image_enhancement_scene, deblur) == 8);
static_assert(offsetof(image_enhancement_scene, defogMode) == 12);
static_assert(offsetof(image_enhancement_scene, antiFogIntensity) == 16);
static_assert(offsetof(image_enhancement_scene, whitebalanceMode) == 20);
static_assert(offsetof(image_enhancement_scene, whitebalanceRedGain) == 24);
static_assert(offsetof(image_enhancement_scene, whitebalanceBlueGain) == 28);
static_assert(offsetof(image_enhancement_scene, exposureMode) == 32);
static_assert(offsetof(image_enhancement_scene, exposureTime) == 36);
static_assert(offsetof(image_enhancement_scene, exposureGain) == 40);
static_assert(offsetof(image_enhancement_scene, blcRegion) == 44);
static_assert(offsetof(image_enhancement_scene, blcRegionRange) == 48);
static_assert(offsetof(image_enhancement_scene, blcRegionArea) == 52);
static_assert(offsetof(image_enhancement_scene, wdrMode) == 84);
static_assert(offsetof(image_enhancement_scene, wdrStartHour) == 88);
static_assert(offsetof(image_enhancement_scene, wdrStartMin) == 92);
static_assert(offsetof(image_enhancement_scene, wdrEndHour) == 96);
static_assert(offsetof(image_enhancement_scene, wdrEndMin) == 100);
static_assert(offsetof(image_enhancement_scene, wdrLevel) == 104);
static_assert(offsetof(image_enhancement_scene, hlcMode) == 108);
static_assert(offsetof(image_enhancement_scene, hlcLevel) == 112);
static_assert(offsetof(image_enhancement_scene, reserved) == 116);

// Request 3280 (488 bytes): the record for up to 64 channels at once.
struct image_enhancement_request {
  int32_t channels[IPC_CHANNELS];  // -1: unused slot
  int32_t type;                    // 0: the record, else the scene record
  union {
    image_enhancement record;
    image_enhancement_scene scene;
  };
};
static_assert(sizeof(image_enhancement_request) == 488);
static_assert(offsetof(image_enhancement_request, channels) == 0);
static_assert(offsetof(image_enhancement_request, type) == 256);
static_assert(offsetof(image_enhancement_request, record) == 260);
static_assert(offsetof(image_enhancement_request, scene) == 260);

// Answer 8221 (236 bytes).
struct image_enhancement_answer {
  int32_t id;
  char reserved[4];
  image_enhancement record;
};
static_assert(sizeof(image_enhancement_answer) == 236);
static_assert(offsetof(image_enhancement_answer, id) == 0);
static_assert(offsetof(image_enhancement_answer, reserved) == 4);
static_assert(offsetof(image_enhancement_answer, record) == 8);

// ---- Image display (356 bytes) ----
// Day/night switching, IR and white light, mirror, rotation, corridor mode,
// and the camera's identity texts. Carried at byte 8 of answer 8223 and of
// request 3224.
struct image_display {
  int32_t colorkiller;
  int32_t modestarthour;
  int32_t modestartminute;
  int32_t modestophour;
  int32_t modestopminute;
  int32_t exposurectrl;
  int32_t lighttype;
  int32_t mirctrl;
  int32_t localdisplay;
  int32_t ircutaddaytonight;
  int32_t ircutadnighttoday;
  int32_t corridormode;
  int32_t imagerotation;
  int32_t saveCorridor;  // request only
  char reserved0[4];
  int32_t smartIRType;
  int32_t nearIRLevel;
  int32_t farIRLevel;
  int32_t midIRLevel;
  int32_t lencorrect;
  int32_t smartIrMath;   // reported only
  int32_t smartIrLimit;  // reported only
  char chipninterface[64];  // reported only
  int32_t nearSmartirValue;  // reported only
  int32_t farSmartirValue;   // reported only
  int32_t midSmartirValue;   // reported only
  int32_t lenCorrectType;    // reported only
  int32_t fovadjust;
  char sensortype[16];    // reported only
  char productmodel[32];  // reported only
  char softversion[32];   // reported only
  int32_t smokeddomecover;
  int32_t whiteLedLevel;  // reported as "smartwhitestrength"
  int32_t dnRefocus;
  char sdkversion[32];    // reported only
  int32_t structuretype;  // reported only
  int32_t keepCorrectAspectRatio;
  int32_t dayNightSens;
  int32_t nightDaySens;
  int32_t zoomLimit;
  char reserved1[4];
  int32_t whiteledLightCtrl;  // request only, as the six below
  int32_t whiteledSensitivity;
  int32_t whiteledDelay;
  int32_t whiteledStart;
  int32_t whiteledStop;
  int32_t whiteledBrightnessCtrl;
  int32_t whiteledBrightness;
  char reserved2[8];
};
static_assert(sizeof(image_display) == 356);
static_assert(offsetof(image_display, colorkiller) == 0);
static_assert(offsetof(image_display, modestarthour) == 4);
static_assert(offsetof(image_display, modestartminute) == 8);
static_assert(offsetof(image_display, modestophour) == 12);
static_assert(offsetof(image_display, modestopminute) == 16);
static_assert(offsetof(image_display, exposurectrl) == 20);
static_assert(offsetof(image_display, lighttype) == 24);
static_assert(offsetof(image_display, mirctrl) == 28);
static_assert(offsetof(image_display, localdisplay) == 32);
static_assert(offsetof(image_display, ircutaddaytonight) == 36);
static_assert(offsetof(image_display, ircutadnighttoday) == 40);
static_assert(offsetof(image_display, corridormode) == 44);
static_assert(offsetof(image_display, imagerotation) == 48);
static_assert(offsetof(image_display, saveCorridor) == 52);
static_assert(offsetof(image_display, reserved0) == 56);
static_assert(offsetof(image_display, smartIRType) == 60);
static_assert(offsetof(image_display, nearIRLevel) == 64);
static_assert(offsetof(image_display, farIRLevel) == 68);
static_assert(offsetof(image_display, midIRLevel) == 72);
static_assert(offsetof(image_display, lencorrect) == 76);
static_assert(offsetof(image_display, smartIrMath) == 80);
static_assert(offsetof(image_display, smartIrLimit) == 84);
static_assert(offsetof(image_display, chipninterface) == 88);
static_assert(offsetof(image_display, nearSmartirValue) == 152);
static_assert(offsetof(image_display, farSmartirValue) == 156);
static_assert(offsetof(image_display, midSmartirValue) == 160);
static_assert(offsetof(image_display, lenCorrectType) == 164);
static_assert(offsetof(image_display, fovadjust) == 168);
static_assert(offsetof(image_display, sensortype) == 172);
static_assert(offsetof(image_display, productmodel) == 188);
static_assert(offsetof(image_display, softversion) == 220);
static_assert(offsetof(image_display, smokeddomecover) == 252);
static_assert(offsetof(image_display, whiteLedLevel) == 256);
static_assert(offsetof(image_display, dnRefocus) == 260);
static_assert(offsetof(image_display, sdkversion) == 264);
static_assert(offsetof(image_display, structuretype) == 296);
static_assert(offsetof(image_display, keepCorrectAspectRatio) == 300);
static_assert(offsetof(image_display, dayNightSens) == 304);
static_assert(offsetof(image_display, nightDaySens) == 308);
static_assert(offsetof(image_display, zoomLimit) == 312);
static_assert(offsetof(image_display, reserved1) == 316);
static_assert(offsetof(image_display, whiteledLightCtrl) == 320);
static_assert(offsetof(image_display, whiteledSensitivity) == 324);
static_assert(offsetof(image_display, whiteledDelay) == 328);
static_assert(offsetof(image_display, whiteledStart) == 332);
static_assert(offsetof(image_display, whiteledStop) == 336);
static_assert(offsetof(image_display, whiteledBrightnessCtrl) == 340);
static_assert(offsetof(image_display, whiteledBrightness) == 344);
static_assert(offsetof(image_display, reserved2) == 348);

// The same 356 bytes for cameras that take scenes ("type" 1).
struct image_display_scene {
  int32_t powerlineFreq;
  int32_t dnMode;
  int32_t d2nSensitivity;
  int32_t n2dSensitivity;
  int32_t nightStartHour;
  int32_t nightStartMinute;
  int32_t nightEndHour;
  int32_t nightEndMinute;
  int32_t smartIrMode;
  int32_t irLedLevel;
  int32_t imageRotation;
  char reserved[312];
};
static_assert(sizeof(image_display_scene) == 356);
static_assert(offsetof(image_display_scene, powerlineFreq) == 0);
static_assert(offsetof(image_display_scene, dnMode) == 4);
static_assert(offsetof(image_display_scene, d2nSensitivity) == 8);
static_assert(offsetof(image_display_scene, n2dSensitivity) == 12);
static_assert(offsetof(image_display_scene, nightStartHour) == 16);
static_assert(offsetof(image_display_scene, nightStartMinute) == 20);
static_assert(offsetof(image_display_scene, nightEndHour) == 24);
static_assert(offsetof(image_display_scene, nightEndMinute) == 28);
static_assert(offsetof(image_display_scene, smartIrMode) == 32);
static_assert(offsetof(image_display_scene, irLedLevel) == 36);
static_assert(offsetof(image_display_scene, imageRotation) == 40);
static_assert(offsetof(image_display_scene, reserved) == 44);

// Request 3224 and answer 8223 (364 bytes). In the answer the second word
// is not used.
struct image_display_message {
  int32_t id;
  int32_t type;  // request: 0 the record, 1 the scene record, else neither
  union {
    image_display record;
    image_display_scene scene;
  };
};
static_assert(sizeof(image_display_message) == 364);
static_assert(offsetof(image_display_message, id) == 0);
static_assert(offsetof(image_display_message, type) == 4);
static_assert(offsetof(image_display_message, record) == 8);
static_assert(offsetof(image_display_message, scene) == 8);

// ---- Common parameter (388 bytes) ----
// One camera setting named by page, HTTP name and key.
struct common_param {
  char pagename[64];
  char httpname[64];
  char key[128];
  char value[128];  // sent by the write only
  char reserved[4];
};
static_assert(sizeof(common_param) == 388);
static_assert(offsetof(common_param, pagename) == 0);
static_assert(offsetof(common_param, httpname) == 64);
static_assert(offsetof(common_param, key) == 128);
static_assert(offsetof(common_param, value) == 256);
static_assert(offsetof(common_param, reserved) == 384);

// Requests 3225 and 3226 (392 bytes).
struct common_param_request {
  int32_t id;
  common_param param;
};
static_assert(sizeof(common_param_request) == 392);
static_assert(offsetof(common_param_request, id) == 0);
static_assert(offsetof(common_param_request, param) == 4);

// Answer 8225 (396 bytes).
struct common_param_answer {
  int32_t id;
  char reserved[4];
  common_param param;
};
static_assert(sizeof(common_param_answer) == 396);
static_assert(offsetof(common_param_answer, id) == 0);
static_assert(offsetof(common_param_answer, reserved) == 4);
static_assert(offsetof(common_param_answer, param) == 8);

// ---- Cameras' models (answer 7505: up to 64 entries of 164 bytes) ----
struct channel_model {
  int32_t channel;
  char ipaddr[32];
  char model[64];
  char fwversion[64];
};
static_assert(sizeof(channel_model) == 164);
static_assert(offsetof(channel_model, channel) == 0);
static_assert(offsetof(channel_model, ipaddr) == 4);
static_assert(offsetof(channel_model, model) == 36);
static_assert(offsetof(channel_model, fwversion) == 100);

// ---- Stream setting (request 3203, 204 bytes) ----
// -1 in a word tells the daemon to leave that value unchanged.
constexpr int32_t STREAM_UNCHANGED = -1;

struct stream_setting {
  char channels[65];  // channel mask text: 64 characters '0'/'1' and a NUL
  char reserved0[3];
  int32_t transmitProtocol;
  int32_t syncTime;
  int32_t keep0;  // always STREAM_UNCHANGED
  int32_t videoTypeEnable;
  int32_t subEnable;
  int32_t fisheyeType;
  char reserved1[4];
  int32_t mainVideoType;
  int32_t mainResWidth;
  int32_t mainResHeight;
  int32_t mainFramerate;
  int32_t mainBitrate;
  int32_t IframeInterval;
  int32_t mainBitrateControl;
  int32_t SmartStream;
  int32_t SmartStreamLevel;
  int32_t recordtype;
  int32_t etframerate;
  int32_t etIframeinterval;
  int32_t etbitrate;
  char reserved2[4];
  int32_t subVideoType;
  int32_t subResWidth;
  int32_t subResHeight;
  int32_t subFramerate;
  int32_t subBitrate;
  int32_t subIframeInterval;
  int32_t subBitrateControl;
  int32_t SubSmartStream;
  int32_t SubSmartStreamLevel;
  int32_t keep1[4];  // always STREAM_UNCHANGED
};
static_assert(sizeof(stream_setting) == 204);
static_assert(offsetof(stream_setting, channels) == 0);
static_assert(offsetof(stream_setting, reserved0) == 65);
static_assert(offsetof(stream_setting, transmitProtocol) == 68);
static_assert(offsetof(stream_setting, syncTime) == 72);
static_assert(offsetof(stream_setting, keep0) == 76);
static_assert(offsetof(stream_setting, videoTypeEnable) == 80);
static_assert(offsetof(stream_setting, subEnable) == 84);
static_assert(offsetof(stream_setting, fisheyeType) == 88);
static_assert(offsetof(stream_setting, reserved1) == 92);
static_assert(offsetof(stream_setting, mainVideoType) == 96);
static_assert(offsetof(stream_setting, mainResWidth) == 100);
static_assert(offsetof(stream_setting, mainResHeight) == 104);
static_assert(offsetof(stream_setting, mainFramerate) == 108);
static_assert(offsetof(stream_setting, mainBitrate) == 112);
static_assert(offsetof(stream_setting, IframeInterval) == 116);
static_assert(offsetof(stream_setting, mainBitrateControl) == 120);
static_assert(offsetof(stream_setting, SmartStream) == 124);
static_assert(offsetof(stream_setting, SmartStreamLevel) == 128);
static_assert(offsetof(stream_setting, recordtype) == 132);
static_assert(offsetof(stream_setting, etframerate) == 136);
static_assert(offsetof(stream_setting, etIframeinterval) == 140);
static_assert(offsetof(stream_setting, etbitrate) == 144);
static_assert(offsetof(stream_setting, reserved2) == 148);
static_assert(offsetof(stream_setting, subVideoType) == 152);
static_assert(offsetof(stream_setting, subResWidth) == 156);
static_assert(offsetof(stream_setting, subResHeight) == 160);
static_assert(offsetof(stream_setting, subFramerate) == 164);
static_assert(offsetof(stream_setting, subBitrate) == 168);
static_assert(offsetof(stream_setting, subIframeInterval) == 172);
static_assert(offsetof(stream_setting, subBitrateControl) == 176);
static_assert(offsetof(stream_setting, SubSmartStream) == 180);
static_assert(offsetof(stream_setting, SubSmartStreamLevel) == 184);
static_assert(offsetof(stream_setting, keep1) == 188);

// Answer 8203 (8 bytes): the channels changed, channels 0-31 in `low`.
struct stream_setting_answer {
  uint32_t low;
  uint32_t high;
};
static_assert(sizeof(stream_setting_answer) == 8);
static_assert(offsetof(stream_setting_answer, low) == 0);
static_assert(offsetof(stream_setting_answer, high) == 4);

// ---- Stream capability (answer 8204, 556 bytes) ----
constexpr int STREAM_RESOLUTIONS = 24;

struct stream_resolution {
  int32_t width;
  int32_t height;
};
static_assert(sizeof(stream_resolution) == 8);
static_assert(offsetof(stream_resolution, width) == 0);
static_assert(offsetof(stream_resolution, height) == 4);

// One stream (main or sub): what the camera can do and what it does now.
struct stream_capability {
  // Ends at the first pair with a zero width or height.
  stream_resolution res[STREAM_RESOLUTIONS];
  int32_t framerateMax;
  int32_t framerateMin;
  int32_t bitrateMax;
  int32_t bitrateMin;
  int32_t videoType;
  int32_t curWidth;
  int32_t curHeight;
  int32_t framerate;
  int32_t bitrate;
  int32_t iframeinterval;
  int32_t bitrateCtrl;
  int32_t iframeIntervalMin;
  int32_t iframeIntervalMax;
};
static_assert(sizeof(stream_capability) == 244);
static_assert(offsetof(stream_capability, res) == 0);
static_assert(offsetof(stream_capability, framerateMax) == 192);
static_assert(offsetof(stream_capability, framerateMin) == 196);
static_assert(offsetof(stream_capability, bitrateMax) == 200);
static_assert(offsetof(stream_capability, bitrateMin) == 204);
static_assert(offsetof(stream_capability, videoType) == 208);
static_assert(offsetof(stream_capability, curWidth) == 212);
static_assert(offsetof(stream_capability, curHeight) == 216);
static_assert(offsetof(stream_capability, framerate) == 220);
static_assert(offsetof(stream_capability, bitrate) == 224);
static_assert(offsetof(stream_capability, iframeinterval) == 228);
static_assert(offsetof(stream_capability, bitrateCtrl) == 232);
static_assert(offsetof(stream_capability, iframeIntervalMin) == 236);
static_assert(offsetof(stream_capability, iframeIntervalMax) == 240);

struct stream_capabilities {
  int32_t stateCode;  // 0: the rest is valid
  int32_t channel;
  stream_capability main;
  stream_capability sub;
  int32_t subEnable;
  int32_t audioEnable;
  int32_t videoTypeEnable;
  int32_t ipcType;
  int32_t mainStream;
  int32_t subStream;
  int32_t supportSmartStream;
  int32_t smartStream;
  int32_t smartStreamLevel;
  int32_t subSupportSmartStream;
  int32_t subSmartStream;
  int32_t subSmartStreamLevel;
  int32_t mainGop;
  int32_t subGop;
  int32_t thirdGop;
};
static_assert(sizeof(stream_capabilities) == 556);
static_assert(offsetof(stream_capabilities, stateCode) == 0);
static_assert(offsetof(stream_capabilities, channel) == 4);
static_assert(offsetof(stream_capabilities, main) == 8);
static_assert(offsetof(stream_capabilities, main) + offsetof(stream_capability, framerateMax) ==
              200);
static_assert(offsetof(stream_capabilities, main) + offsetof(stream_capability, curWidth) == 220);
static_assert(offsetof(stream_capabilities, main) +
                  offsetof(stream_capability, iframeIntervalMax) ==
              248);
static_assert(offsetof(stream_capabilities, sub) == 252);
static_assert(offsetof(stream_capabilities, sub) + offsetof(stream_capability, framerateMax) ==
              444);
static_assert(offsetof(stream_capabilities, sub) + offsetof(stream_capability, curWidth) == 464);
static_assert(offsetof(stream_capabilities, sub) + offsetof(stream_capability, bitrateCtrl) ==
              484);
static_assert(offsetof(stream_capabilities, subEnable) == 496);
static_assert(offsetof(stream_capabilities, audioEnable) == 500);
static_assert(offsetof(stream_capabilities, videoTypeEnable) == 504);
static_assert(offsetof(stream_capabilities, ipcType) == 508);
static_assert(offsetof(stream_capabilities, mainStream) == 512);
static_assert(offsetof(stream_capabilities, subStream) == 516);
static_assert(offsetof(stream_capabilities, supportSmartStream) == 520);
static_assert(offsetof(stream_capabilities, smartStream) == 524);
static_assert(offsetof(stream_capabilities, smartStreamLevel) == 528);
static_assert(offsetof(stream_capabilities, subSupportSmartStream) == 532);
static_assert(offsetof(stream_capabilities, subSmartStream) == 536);
static_assert(offsetof(stream_capabilities, subSmartStreamLevel) == 540);
static_assert(offsetof(stream_capabilities, mainGop) == 544);
static_assert(offsetof(stream_capabilities, subGop) == 548);
static_assert(offsetof(stream_capabilities, thirdGop) == 552);
