// Privacy masks: the recorder's own ("/6018") and the cameras' (set, state,
// model type, delete and edit: "/6019", "/6115", "/6116", "/6173", "/6198").
#include <algorithm>
#include <cstring>
#include <memory>

#include "osd.h"
#include "video_util.h"

using namespace video;

namespace {

constexpr int MASK_AREA_ID_MAX = 24;  // the delete request's area ids: 0 to 24
constexpr int MASK_STATE_RECORDS_MAX = 64;  // one record per channel

// The members the recorder's and the cameras' mask areas share, in the
// order both replies give them.
template <class Area>
json_object *area_object(const Area &a) {
  json_object *o = json_object_new_object();
  json_add_int(o, "area_id", a.area_id);
  json_add_int(o, "enable", a.enable);
  json_add_int(o, "start_x", a.start_x);
  json_add_int(o, "start_y", a.start_y);
  json_add_int(o, "area_width", a.area_width);
  json_add_int(o, "area_height", a.area_height);
  return o;
}

json_object *recorder_area_object(const privacy_mask_area &a) {
  json_object *o = area_object(a);
  json_add_int(o, "width", a.width);
  json_add_int(o, "height", a.height);
  json_add_int(o, "fill_color", a.fill_color);
  return o;
}

json_object *recorder_mask_object(const privacy_mask_params &m) {
  json_object *o = json_object_new_object();
  json_add_int(o, "id", m.id);
  json_object *areas = json_object_new_array();
  for (const privacy_mask_area &a : m.areas) json_object_array_add(areas, recorder_area_object(a));
  json_object_object_add(o, "area", areas);
  return o;
}

// The areas to set: "num" + "mosaicNum" of them (added in 64 bits, so that
// no sum wraps), at most the record's 28; a negative sum takes none.
int areas_to_take(json_object *json) {
  int64_t n = (int64_t)member_int(json, "num") + member_int(json, "mosaicNum");
  return (int)std::clamp<int64_t>(n, 0, CAMERA_MASK_AREAS);
}

void take_area(json_object *element, camera_mask_area *area) {
  area->area_id = member_int(element, "area_id");
  area->enable = member_int(element, "enable");
  area->start_x = member_int(element, "start_x");
  area->start_y = member_int(element, "start_y");
  area->area_width = member_int(element, "area_width");
  area->area_height = member_int(element, "area_height");
  area->fill_color = member_int(element, "fill_color");
  area->ratio = member_int(element, "ratio");
  member_text(element, "name", area->name, sizeof area->name);
}

// '1' for each of the first "cnt" elements of "chnid" that is a channel.
void mark_channels(json_object *json, char (&channels)[CAMERA_MASK_CHANNELS]) {
  uint64_t mask = get_copy_flag_by_json(json, "chnid", "cnt");
  for (int ch = 0; ch < CAMERA_MASK_CHANNELS; ch++) channels[ch] = (mask >> ch & 1) ? '1' : '0';
}

json_object *camera_area_object(const camera_mask_area &a) {
  json_object *o = area_object(a);
  json_add_int(o, "width", MASK_CANVAS_WIDTH);
  json_add_int(o, "height", MASK_CANVAS_HEIGHT);
  json_add_int(o, "fill_color", a.fill_color);
  // The page draws with the edges under these names as well.
  json_add_int(o, "left", a.start_x);
  json_add_int(o, "top", a.start_y);
  json_add_int(o, "right", a.area_width);
  json_add_int(o, "bottom", a.area_height);
  json_add_int(o, "ratio", a.ratio);
  json_add_text(o, "name", field_text(a.name));
  return o;
}

json_object *camera_state_object(const camera_mask_state &s) {
  json_object *o = json_object_new_object();
  json_add_int(o, "id", s.id);
  json_add_int(o, "num", s.num);
  json_add_int(o, "maxPtzZoomRatio", s.maxPtzZoomRatio);
  json_add_int(o, "areaEnable", s.areaEnable);
  json_add_int(o, "enable", s.enable);
  json_add_text(o, "sdkversion", field_text(s.sdkversion));
  json_add_int(o, "cgiSdkFlag", s.cgiSdkFlag);
  json_add_text(o, "colorList", field_text(s.colorList));
  json_add_int(o, "mosaicSupport", s.mosaicSupport);
  json_add_int(o, "mosaicNum", s.mosaicNum);
  json_add_int(o, "colorSupport", s.colorSupport);
  json_add_int(o, "maxMaskSum", s.maxMaskSum);
  json_object *areas = json_object_new_array();
  int shown = std::clamp(s.maxMaskSum, 0, CAMERA_MASK_AREAS);
  for (int i = 0; i < shown; i++) json_object_array_add(areas, camera_area_object(s.areas[i]));
  json_object_object_add(o, "area", areas);
  return o;
}

bool member_within(json_object *json, const char *key, int low, int high) {
  if (!has_member(json, key)) return false;
  int value = member_int(json, key);
  return value >= low && value <= high;
}

}  // namespace

int on_get_privacy_masks(char *) {
  std::unique_ptr<privacy_mask_params[]> masks(new privacy_mask_params[PRIVACY_MASK_CHANNELS]());
  int count = 0;
  read_privacy_masks(KXDB_FILE, masks.get(), &count, 1);
  JsonPtr reply(json_object_new_array());
  for (int i = 0; i < count && i < PRIVACY_MASK_CHANNELS; i++) {
    json_object_array_add(reply.get(), recorder_mask_object(masks[i]));
  }
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int check_privacy_mask_info(json_object *json) {
  for (const char *key : {"cnt", "area", "chnid"}) {
    if (!has_member(json, key)) return -1;
  }
  return 0;
}

int on_set_privacy_mask(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root || check_privacy_mask_info(root.get()) != 0) return -1;
  json_object *json = root.get();
  camera_mask_set set = {};
  set.enable = member_int(json, "enable");
  set.cgiSdkFlag = member_int(json, "cgiSdkFlag");
  set.num = member_int(json, "num");
  set.areaMaskEnable = member_int(json, "areaMaskEnable");
  set.mosaicSupport = member_int(json, "mosaicSupport");
  set.mosaicNum = member_int(json, "mosaicNum");
  set.delMask = member_int(json, "delMask", 0);
  json_object *areas = json_member(json, "area");
  int n = areas_to_take(json);
  for (int i = 0; i < n; i++) {
    json_object *element = array_at(areas, i);
    if (json_object_is_type(element, json_type_object)) take_area(element, &set.areas[i]);
  }
  mark_channels(json, set.channels);
  cgi_send_notice(CAMERA_MASK_SET, &set, sizeof set);
  reply_text("OK");
  return 0;
}

int on_get_privacy_mask_ovf(char *text) {
  return ask_camera_channel(text, "id", CAMERA_MASK_STATE_GET);
}

// Whole records only, one per channel at most. Without one nothing is
// written and the handler answers its error once the wait is over.
void on_get_privacy_mask_ovf_cb(const void *payload, int length) {
  int count = length / (int)sizeof(camera_mask_state);
  if (count <= 0) return;
  if (count > MASK_STATE_RECORDS_MAX) count = MASK_STATE_RECORDS_MAX;
  const auto *bytes = static_cast<const unsigned char *>(payload);
  auto state = std::make_unique<camera_mask_state>();
  JsonPtr reply(json_object_new_array());
  for (int i = 0; i < count; i++) {
    memcpy(state.get(), bytes + (size_t)i * sizeof *state, sizeof *state);
    json_object_array_add(reply.get(), camera_state_object(*state));
  }
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}

int on_get_ipc_model_type(char *text) {
  return ask_camera_channel(text, "id", CAMERA_MODEL_TYPE_GET);
}

void on_get_ipc_model_type_cb(const void *payload, int length) {
  int32_t model;
  if (!cgi_answer_status(payload, length, &model)) return;
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "result", model);
  json_writeback(CGI_REPLY_JSON, reply.get());
  g_callback_done = 1;
}

// Both members must be given: a missing one would read as 0 and delete an
// area of channel 0.
int on_delete_privacy_mask(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  json_object *json = root.get();
  if (!json || !member_within(json, "chan_id", 0, CAMERA_MASK_CHANNELS - 1) ||
      !member_within(json, "area_id", 0, MASK_AREA_ID_MAX)) {
    cgi_error_to_webserver(CGI_REPLY_JSON);
    return -1;
  }
  camera_mask_ref target = {member_int(json, "chan_id"), member_int(json, "area_id")};
  cgi_send_notice(CAMERA_MASK_DELETE, &target, sizeof target);
  reply_text("OK");
  return 0;
}

int on_cgi_set_privacy_edit(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  camera_mask_ref target = {member_int(root.get(), "chnid"), member_int(root.get(), "maskid")};
  cgi_exchange(on_video_ipc_callback, CAMERA_MASK_EDIT, &target, sizeof target, CGI_REPLY_JSON);
  return 0;
}
