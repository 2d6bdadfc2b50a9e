// Helpers of the video-loss, alarm-input schedule and exception handlers:
// the channel lists of the several-channel pages, the schedule readers,
// the notices and the operation log.
#pragma once

#include <cstdint>

#include "video_loss.h"
#include "video_util.h"

namespace vloss {

// Operation-log entries: sub type and parameter types.
constexpr int LOG_SUB_EVENT = 204;
constexpr int LOG_PARAM_VIDEO_LOSS = 908;
constexpr int LOG_PARAM_ALARM_IN = 910;

constexpr int PTZ_EVENT_VIDEO_LOSS = 2;  // event types of the PTZ action lists
constexpr int PTZ_EVENT_ALARM_IN = 0;

// Table names under which video loss keeps its white-light and HTTP settings.
constexpr const char *WHITE_SCHEDULE = "videoloss_whiteled_esche";
constexpr const char *WHITE_PARAMS = "video_loss_white_led_params";
constexpr const char *HTTP_SCHEDULE = "videoloss_http_notification_sche";
constexpr const char *HTTP_PARAMS = "videoloss_http_notification_params";

bool input_valid(int id);  // recorder alarm inputs, 0 to 15

// The first "cnt" elements of "chnid" as a mask: missing and null elements,
// and values outside 0 to limit - 1, are skipped.
uint64_t listed_mask(json_object *json, int limit);

using ScheduleReader = int (*)(const char *, schedule *, int);
using ScheduleWriter = int (*)(const char *, const schedule *, int);
using ScheduleCopier = int (*)(const char *, const schedule *, uint64_t);

// The schedule of the number in `text`; a failed read shows the empty one.
// `limit` > 0: a number outside 0 to limit - 1 gets no reply at all.
int reply_schedule(const char *text, ScheduleReader read, int limit);
// The request's "schedule", 8 rows of 12 plans; missing parts stay empty.
schedule request_schedule(json_object *json);

// {"camId", "schedule", "cnt", "chnid"}: the PTZ action list of event
// `type` of "camId" to every listed key below `limit`, each under its own
// key, and the schedule with `copy`; then notice `notice` with the mask. A
// "camId" outside 0 to limit - 1 answers the text error.
int store_ptz_schedule(const char *text, int type, int limit, ScheduleCopier copy, int notice);

void reply_ok();
void reply_text_error();

// Sent without waiting.
void send_number_notice(int code, int32_t number);
void send_mask_notice(int code, uint64_t mask);
void send_log(int param_type, int number);          // 3485, number + 1
void send_log_mask(int param_type, uint64_t mask);  // 3509

}  // namespace vloss
