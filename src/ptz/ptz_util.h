// Helpers the PTZ handlers and decoders share: request codes, checks of the
// request JSON, the exchanges, the camera's speed parameter and the
// operation-log entries.
#pragma once

#include <initializer_list>
#include <string>

#include "ptz.h"

// Module-private: a namespace of its own, so that the generic names do not
// meet other modules' helpers in the one program.
namespace ptz {

// ---- Request codes ----
constexpr int PTZ_MOVE = 1251;
constexpr int PTZ_PORT_CHANGED = 1252;
constexpr int PTZ_PRESET = 1253;
constexpr int PTZ_PATTERN = 1254;
constexpr int PTZ_TOUR_CLEAR = 1257;
constexpr int PTZ_TOUR_RUN = 1260;
constexpr int PTZ_TOUR_STOP = 1261;
constexpr int PTZ_SUPPORT = 1262;
constexpr int PTZ_TOUR_SET = 1264;
constexpr int PTZ_INFO = 1265;
constexpr int PTZ_PRESET_CALL = 1266;
constexpr int PTZ_ZOOM = 1267;
constexpr int PTZ_FISH_INFO = 1268;
constexpr int PTZ_FISH_TOUR_SET = 1269;
constexpr int PTZ_GET_BASIC = 1270;
constexpr int PTZ_SET_BASIC = 1271;
constexpr int CAMERA_SET_PARAM = 3226;
constexpr int PTZ_CONTROL = 3361;
constexpr int PTZ_LED_STATUS = 3363;

// The daemon's action codes the program itself chooses.
constexpr int ACTION_FOCUS = 12;       // sent after a zoom with automatic focus
constexpr int ACTION_ZOOM = 21;
constexpr int ACTION_SET_PRESET = 22;
constexpr int PRESET_ID_MAX = 300;

// ---- Operation log: sub type 206, the channel plus one ----
constexpr int LOG_SUB_PTZ = 206;
constexpr int LOG_PARAM_CONTROL = 900;  // movement, tour run and stop, preset call, zoom
constexpr int LOG_PARAM_SETTING = 904;  // presets, patterns, tours, speeds, port
void send_ptz_log(int param_type, int channel);

// ---- Request checks ----
bool has_members(json_object *object, std::initializer_list<const char *> keys);
// Every key present and not negative.
bool non_negative(json_object *object, std::initializer_list<const char *> keys);
// A settings key: 0 to 63.
bool settings_channel(int channel);
// The member present and 0 <= value < "max_cameras"; *channel set then.
bool camera_channel(json_object *object, const char *key, int *channel);
// Points to take from `path`: `rowsize`, but within 0 to 48 and no more than
// the array holds.
int points_to_take(int rowsize, json_object *path);

// ---- Exchanges ----
// Waits for the answer; the error reply of `error_mode` when none came.
bool exchange(int code, const void *payload, int length, int error_mode);
// A request the handler does not wait for, then "OK" as text at once.
void send_and_reply_ok(int code, const void *payload, int length);
void reply_ok();
// Writes the object as the JSON reply and sets the flag to 1.
void reply_json(json_object *object);
// {status:"CGI ERROR"} from a decoder: the reply, and the flag set to 1.
void reply_json_error();

// ---- The camera's own parameters (3226, waits for 8226) ----
// "ptzspeed" as the camera takes it: the page's speed less one, "1" below 1.
std::string camera_speed_text(int speed);
// Sets `key` of the camera's "vsetting.html" to `value`; "OK" from the
// answer, "CGI ERROR" without one.
bool set_camera_param(int channel, const char *key, const std::string &value);

}  // namespace ptz
