#include "video_loss_util.h"

#include <cerrno>
#include <cstdlib>

namespace vloss {

bool input_valid(int id) {
  return id >= 0 && id < ALARM_IN_COUNT;
}

uint64_t listed_mask(json_object *json, int limit) {
  json_object *list = json_member(json, "chnid");
  int count = member_int(json, "cnt");
  int length = array_length(list);
  uint64_t mask = 0;
  for (int i = 0; i < count && i < length; i++) {
    json_object *element = array_at(list, i);
    if (!element) continue;  // a null element names no channel
    int n = json_object_get_int(element);
    if (n >= 0 && n < limit && n < 64) mask |= 1ULL << n;
  }
  return mask;
}

int reply_schedule(const char *text, ScheduleReader read, int limit) {
  errno = 0;
  long number = text ? strtol(text, nullptr, 10) : 0;
  if (errno == ERANGE) number = -1;
  if (limit > 0 && (number < 0 || number >= limit)) return -1;
  schedule s = {};
  if (number >= 0 && number < 64) read(KXDB_FILE, &s, (int)number);
  JsonPtr reply(get_schedule_json_object(&s));
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

schedule request_schedule(json_object *json) {
  schedule s = {};
  get_schedule_by_json(json, "schedule", &s);
  return s;
}

void reply_ok() {
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
}

void reply_text_error() {
  cgi_error_to_webserver(CGI_REPLY_TEXT);
}

void send_number_notice(int code, int32_t number) {
  cgi_send_notice(code, &number, sizeof number);
}

void send_mask_notice(int code, uint64_t mask) {
  channel_mask_notice payload = {(uint32_t)mask, (uint32_t)(mask >> 32)};
  cgi_send_notice(code, &payload, sizeof payload);
}

namespace {
log_info event_log_entry(int param_type) {
  log_info entry;
  cgi_init_log_info(&entry);
  entry.sub_type = LOG_SUB_EVENT;
  entry.param_type = param_type;
  return entry;
}
}  // namespace

void send_log(int param_type, int number) {
  log_info entry = event_log_entry(param_type);
  entry.channel = number + 1;  // the log counts from 1
  cgi_send_log_info(&entry);
}

void send_log_mask(int param_type, uint64_t mask) {
  log_info entry = event_log_entry(param_type);
  cgi_send_log_info_channels(&entry, mask);
}

}  // namespace vloss
