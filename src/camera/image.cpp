// Image enhancement ("/2019", "/2020") and image display ("/2021", "/2022"):
// the camera's image processing and day/night settings, read from and
// written to the camera through the daemon.
#include <cstring>

#include "camera_util.h"

using namespace camera;

namespace {

using IE = image_enhancement;
using IES = image_enhancement_scene;
using ID = image_display;
using IDS = image_display_scene;

// Keys of the enhancement record in offset order. The page sends the
// model type and "aflevel" but never the three fields only the camera sets.
const JsonField kEnhancementFields[] = {
    CAMERA_INT_KEY(IE, smartir),
    CAMERA_INT_KEY(IE, whiteblance),
    CAMERA_INT_KEY(IE, focusmode),
    CAMERA_INT_KEY(IE, antiblurry),
    CAMERA_INT_KEY(IE, wdrenable),
    CAMERA_INT_KEY(IE, wdrlevel),
    CAMERA_INT_KEY(IE, wdrstarthour),
    CAMERA_INT_KEY(IE, wdrstartminute),
    CAMERA_INT_KEY(IE, wdrstophour),
    CAMERA_INT_KEY(IE, wdrstopminute),
    CAMERA_INT_KEY(IE, regiontype),
    CAMERA_INT_KEY(IE, hlcmode),
    CAMERA_INT_KEY(IE, exclude),
    CAMERA_INT_KEY(IE, exposemode),
    CAMERA_TEXT_KEY(IE, exposeregion),
    CAMERA_INT(IE, modelType, nullptr, "modelType"),
    CAMERA_INT_KEY(IE, imageschemode),
    CAMERA_INT_KEY(IE, hlcday),
    CAMERA_INT_KEY(IE, hlcnight),
    CAMERA_INT_KEY(IE, redgain),
    CAMERA_INT_KEY(IE, bluegain),
    CAMERA_INT_KEY(IE, defogmode),
    CAMERA_INT_KEY(IE, defoglevel),
    CAMERA_INT(IE, dismode, "dismode", nullptr),
    CAMERA_INT_KEY(IE, exposetime),
    CAMERA_INT_KEY(IE, exposegain),
    CAMERA_INT(IE, wdraflevel, "wdraflevel", "aflevel"),
    CAMERA_INT_KEY(IE, hlclevel),
    CAMERA_INT(IE, exposurectrl, "exposurectrl", nullptr),
    CAMERA_INT_KEY(IE, enblur),
    CAMERA_INT_KEY(IE, deblur),
    CAMERA_TEXT(IE, sdkversion, "sdkversion", nullptr),
    CAMERA_INT_KEY(IE, lensType),
    CAMERA_INT_KEY(IE, reduceVideoStuttering),
};

const JsonField kEnhancementSceneFields[] = {
    CAMERA_INT_KEY(IES, irBalanceMode),
    CAMERA_INT_KEY(IES, reduceMotionBlur),
    CAMERA_INT_KEY(IES, deblur),
    CAMERA_INT_KEY(IES, defogMode),
    CAMERA_INT_KEY(IES, antiFogIntensity),
    CAMERA_INT_KEY(IES, whitebalanceMode),
    CAMERA_INT_KEY(IES, whitebalanceRedGain),
    CAMERA_INT_KEY(IES, whitebalanceBlueGain),
    CAMERA_INT_KEY(IES, exposureMode),
    CAMERA_INT_KEY(IES, exposureTime),
    CAMERA_INT_KEY(IES, exposureGain),
    CAMERA_INT_KEY(IES, blcRegion),
    CAMERA_INT_KEY(IES, blcRegionRange),
    CAMERA_TEXT_KEY(IES, blcRegionArea),
    CAMERA_INT_KEY(IES, wdrMode),
    CAMERA_INT_KEY(IES, wdrStartHour),
    CAMERA_INT_KEY(IES, wdrStartMin),
    CAMERA_INT_KEY(IES, wdrEndHour),
    CAMERA_INT_KEY(IES, wdrEndMin),
    CAMERA_INT_KEY(IES, wdrLevel),
    CAMERA_INT_KEY(IES, hlcMode),
    CAMERA_INT_KEY(IES, hlcLevel),
};

// Keys of the display record in offset order: what the camera reports
// (its identity texts and measured values included) and what the page sets.
const JsonField kDisplayFields[] = {
    CAMERA_INT_KEY(ID, colorkiller),
    CAMERA_INT_KEY(ID, modestarthour),
    CAMERA_INT_KEY(ID, modestartminute),
    CAMERA_INT_KEY(ID, modestophour),
    CAMERA_INT_KEY(ID, modestopminute),
    CAMERA_INT_KEY(ID, exposurectrl),
    CAMERA_INT_KEY(ID, lighttype),
    CAMERA_INT_KEY(ID, mirctrl),
    CAMERA_INT_KEY(ID, localdisplay),
    CAMERA_INT_KEY(ID, ircutaddaytonight),
    CAMERA_INT_KEY(ID, ircutadnighttoday),
    CAMERA_INT_KEY(ID, corridormode),
    CAMERA_INT_KEY(ID, imagerotation),
    CAMERA_INT(ID, saveCorridor, nullptr, "saveCorridor"),
    CAMERA_INT_KEY(ID, smartIRType),
    CAMERA_INT_KEY(ID, nearIRLevel),
    CAMERA_INT_KEY(ID, farIRLevel),
    CAMERA_INT_KEY(ID, midIRLevel),
    CAMERA_INT_KEY(ID, lencorrect),
    CAMERA_INT(ID, smartIrMath, "smartIrMath", nullptr),
    CAMERA_INT(ID, smartIrLimit, "smartIrLimit", nullptr),
    CAMERA_TEXT(ID, chipninterface, "chipninterface", nullptr),
    CAMERA_INT(ID, nearSmartirValue, "nearSmartirValue", nullptr),
    CAMERA_INT(ID, farSmartirValue, "farSmartirValue", nullptr),
    CAMERA_INT(ID, midSmartirValue, "midSmartirValue", nullptr),
    CAMERA_INT(ID, lenCorrectType, "lenCorrectType", nullptr),
    CAMERA_INT_KEY(ID, fovadjust),
    CAMERA_TEXT(ID, sensortype, "sensortype", nullptr),
    CAMERA_TEXT(ID, productmodel, "productmodel", nullptr),
    CAMERA_TEXT(ID, softversion, "softversion", nullptr),
    CAMERA_INT_KEY(ID, smokeddomecover),
    CAMERA_INT(ID, whiteLedLevel, "smartwhitestrength", "whiteLedLevel"),
    CAMERA_INT_KEY(ID, dnRefocus),
    CAMERA_TEXT(ID, sdkversion, "sdkversion", nullptr),
    CAMERA_INT(ID, structuretype, "structuretype", nullptr),
    CAMERA_INT_KEY(ID, keepCorrectAspectRatio),
    CAMERA_INT_KEY(ID, dayNightSens),
    CAMERA_INT_KEY(ID, nightDaySens),
    CAMERA_INT_KEY(ID, zoomLimit),
    CAMERA_INT(ID, whiteledLightCtrl, nullptr, "whiteledLightCtrl"),
    CAMERA_INT(ID, whiteledSensitivity, nullptr, "whiteledSensitivity"),
    CAMERA_INT(ID, whiteledDelay, nullptr, "whiteledDelay"),
    CAMERA_INT(ID, whiteledStart, nullptr, "whiteledStart"),
    CAMERA_INT(ID, whiteledStop, nullptr, "whiteledStop"),
    CAMERA_INT(ID, whiteledBrightnessCtrl, nullptr, "whiteledBrightnessCtrl"),
    CAMERA_INT(ID, whiteledBrightness, nullptr, "whiteledBrightness"),
};

const JsonField kDisplaySceneFields[] = {
    CAMERA_INT_KEY(IDS, powerlineFreq),
    CAMERA_INT_KEY(IDS, dnMode),
    CAMERA_INT_KEY(IDS, d2nSensitivity),
    CAMERA_INT_KEY(IDS, n2dSensitivity),
    CAMERA_INT_KEY(IDS, nightStartHour),
    CAMERA_INT_KEY(IDS, nightStartMinute),
    CAMERA_INT_KEY(IDS, nightEndHour),
    CAMERA_INT_KEY(IDS, nightEndMinute),
    CAMERA_INT_KEY(IDS, smartIrMode),
    CAMERA_INT_KEY(IDS, irLedLevel),
    CAMERA_INT_KEY(IDS, imageRotation),
};

constexpr int kDisplaySceneType = 1;

}  // namespace

int on_get_ipc_image_enhancement(char *text) {
  return query_channel(text, "id", 3221, CGI_REPLY_TEXT);
}

void on_get_ipc_ipcimage_enhancement_cb(const void *payload, int) {
  image_enhancement_answer answer;
  memcpy(&answer, payload, sizeof answer);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "id", answer.id);
  add_record(reply.get(), answer.record, kEnhancementFields);
  reply_json(reply.get());
}

// One request for every listed channel; the camera's answer is not awaited.
int on_set_ipc_image_enhancement(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  image_enhancement_request request = {};
  for (int32_t &slot : request.channels) slot = -1;
  // Only as many channels as there are slots: more would run into "type".
  json_object *channels = json_member(root.get(), "channel");
  for (int i = 0; i < IPC_CHANNELS && i < array_length(channels); i++) {
    request.channels[i] = json_object_get_int(array_at(channels, i));
  }
  request.type = member_int(root.get(), "type");
  if (request.type == 0) {
    fill_record(root.get(), &request.record, kEnhancementFields);
  } else {
    json_object *scene = first_object(root.get(), "scenes");
    if (!scene) return -1;
    fill_record(scene, &request.scene, kEnhancementSceneFields);
  }
  set_without_wait(3280, &request, sizeof request);
  return 0;
}

int on_get_ipc_image_display(char *text) {
  return query_channel(text, "id", 3223, CGI_REPLY_TEXT);
}

void on_get_ipc_ipcimage_display_cb(const void *payload, int) {
  image_display_message answer;
  memcpy(&answer, payload, sizeof answer);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "id", answer.id);
  add_record(reply.get(), answer.record, kDisplayFields);
  reply_json(reply.get());
}

int on_set_ipc_image_display(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  image_display_message request = {};
  request.id = member_int(root.get(), "id");
  request.type = member_int(root.get(), "type");
  if (request.type == 0) {
    fill_record(root.get(), &request.record, kDisplayFields);
  } else if (request.type == kDisplaySceneType) {
    json_object *scene = first_object(root.get(), "scenes");
    if (!scene) return -1;
    fill_record(scene, &request.scene, kDisplaySceneFields);
  }
  set_and_wait(3224, &request, sizeof request, CGI_REPLY_TEXT);
  return 0;
}

void on_set_ipc_ipcimage_display_cb(const void *payload, int length) {
  reply_set_result(payload, length);
}
