// Auto tracking of a PTZ camera: its settings and its schedule ("/2054"),
// and a change of them on several channels at once ("/2055").
#include <cstring>
#include <memory>

#include "camera_extra.h"
#include "camera_extra_records.h"
#include "camera_util.h"

using namespace camera;

namespace {

using T = auto_tracking;
const JsonField kTrackingFields[] = {
    CAMERA_INT(T, channel, "chnid", nullptr),
    CAMERA_INT_KEY(T, enable),
    CAMERA_INT_KEY(T, show),
    CAMERA_INT_KEY(T, sensitivity),
    CAMERA_INT_KEY(T, time),
    CAMERA_INT_KEY(T, manual_tracking),
    CAMERA_INT_KEY(T, zoom_mode),
    CAMERA_INT_KEY(T, zoom_number),
    CAMERA_TEXT_KEY(T, area),
    CAMERA_INT_KEY(T, humanVehicleSupport),
    CAMERA_INT_KEY(T, trackingObject),
    CAMERA_INT_KEY(T, reportMotion),
};

// The daemon's plan texts may fill their fields: close each within it
// before the schedule codec reads them as strings.
void close_plan_texts(schedule &s) {
  for (schedule_day &day : s.days) {
    for (schedule_plan &plan : day.plans) {
      plan.start_time[sizeof plan.start_time - 1] = '\0';
      plan.end_time[sizeof plan.end_time - 1] = '\0';
    }
  }
}

}  // namespace

int on_cgi_get_auto_tracking_status(char *text) { return query_checked_channel(text, 3294); }

void on_cgi_get_auto_tracking_status_cb(const void *payload, int length) {
  if (!whole_record(length, sizeof(auto_tracking))) return;
  auto record = std::make_unique<auto_tracking>();
  memcpy(record.get(), payload, sizeof *record);
  close_plan_texts(record->sched);
  JsonPtr reply(json_object_new_object());
  add_record(reply.get(), *record, kTrackingFields);
  json_object_object_add(reply.get(), "schedule", get_schedule_json_object(&record->sched));
  reply_json(reply.get());
}

int on_cgi_set_auto_tracking_status(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int32_t channel = root ? member_int(root.get(), "chnid") : -1;
  if (!root || channel < 0 || channel >= IPC_CHANNELS) {
    return cgi_error_to_webserver(CGI_REPLY_JSON), -1;
  }
  auto request = std::make_unique<auto_tracking_set>();
  memset(request.get(), 0, sizeof *request);
  auto_tracking &record = request->record;
  record.channel = channel;
  fill_record(root.get(), &record, kTrackingFields);
  // An absent or undecodable schedule is sent empty.
  if (get_schedule_by_json(root.get(), "schedule", &record.sched) != 0) {
    memset(&record.sched, 0, sizeof record.sched);
  }
  char channels[IPC_CHANNELS + 1] = {};
  member_text(root.get(), "channels", channels, sizeof channels);
  uint64_t mask = channel_text_mask(channels, channel);
  request->mask_low = (uint32_t)mask;
  request->mask_high = (uint32_t)(mask >> 32);
  query(3375, request.get(), sizeof *request, CGI_REPLY_JSON);
  return 0;
}

void on_cgi_set_auto_tracking_status_cb(const void *payload, int length) {
  reply_res(payload, length);
}
