// "/6040", "/6041": a channel's recording schedule, and one schedule and
// plan mode stored for several channels.
#include <cstring>
#include <memory>

#include "record_util.h"

using namespace record;

namespace {

json_object *plan_object(const schedule_plan &plan) {
  json_object *o = json_object_new_object();
  json_add_text(o, "startTime", field_text(plan.start_time));
  json_add_text(o, "endTime", field_text(plan.end_time));
  json_add_int(o, "actionType", plan.action_type);
  return o;
}

json_object *day_object(const record_schedule_day &day) {
  json_object *o = json_object_new_object();
  json_add_int(o, "wholedayEnable", day.wholedayEnable);
  json_add_int(o, "wholedayActionType", day.wholedayActionType);
  json_object *plans = json_object_new_array();
  for (const schedule_plan &plan : day.plans) json_object_array_add(plans, plan_object(plan));
  json_object_object_add(o, "plans", plans);
  return o;
}

// A day row from {"wholedayEnable", "wholedayActionType", "plans": [[start,
// end, action], ...]}: plans by index, a missing one stays empty.
void day_from(json_object *day, record_schedule_day *out) {
  if (int whole = member_int(day, "wholedayEnable")) {
    out->wholedayEnable = whole;
    out->wholedayActionType = member_int(day, "wholedayActionType");
  }
  json_object *plans = json_member(day, "plans");
  for (int s = 0; s < SCHEDULE_PLANS; s++) {
    json_object *plan = array_at(plans, s);
    if (!plan) continue;
    schedule_plan &p = out->plans[s];
    json_copy_text(array_at(plan, 0), p.start_time, sizeof p.start_time);
    json_copy_text(array_at(plan, 1), p.end_time, sizeof p.end_time);
    json_object *action = array_at(plan, 2);
    p.action_type = action ? json_object_get_int(action) : 0;
  }
}

// The record zeroed, then the day rows taken from "schedule" by index.
void schedule_from(json_object *request, record_schedule *out) {
  memset(out, 0, sizeof *out);
  json_object *days = json_member(request, "schedule");
  for (int d = 0; d < SCHEDULE_DAYS; d++) day_from(array_at(days, d), &out->days[d]);
}

// The channels of "chnid" (in range) and those whose plan mode changes.
struct Listed {
  uint64_t listed = 0;
  uint64_t changed = 0;
  int last = 0;  // the last value taken from "chnid", as given
};

Listed listed_channels(json_object *request, int plan_mode) {
  record_params records[RECORD_CHANNELS];
  load_records(records);
  Listed out;
  for_each_listed(json_member(request, "chnid"), member_int(request, "cnt"), [&](int channel) {
    out.last = channel;
    if (!channel_valid(channel)) return;
    out.listed |= 1ULL << channel;
    if (records[channel].mode != plan_mode) out.changed |= 1ULL << channel;
  });
  return out;
}

}  // namespace

int check_record_info(json_object *request) {
  return has_member(request, "cnt") ? 0 : -1;
}

int on_get_record_info(char *text) {
  int channel;
  if (!channel_request(text, &channel)) return -1;
  record_params settings = {};
  settings.id = channel;
  read_record(KXDB_FILE, &settings, channel);
  auto schedule = std::make_unique<record_schedule>();
  read_record_schedule(KXDB_FILE, schedule.get(), channel);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "id", settings.id);
  json_object *days = json_object_new_array();
  for (const record_schedule_day &day : schedule->days) json_object_array_add(days, day_object(day));
  json_object_object_add(reply.get(), "schedule", days);
  return json_writeback(CGI_REPLY_JSON, reply.get());
}

int on_set_record_info(char *text) {
  JsonPtr request(get_request_tokener_json_object(text));
  if (!request || check_record_info(request.get()) != 0) return -1;
  auto schedule = std::make_unique<record_schedule>();
  schedule_from(request.get(), schedule.get());
  int plan_mode = member_int(request.get(), "recordplanmode");
  Listed channels = listed_channels(request.get(), plan_mode);
  int stored = kxdb_transaction(KXDB_FILE, [&] {
    return copy_record_schedules(KXDB_FILE, schedule.get(), channels.listed) == 0 &&
           copy_table_column_int(KXDB_FILE, RECORD_TABLE, "mode", plan_mode, channels.changed,
                                 "id") == 0;
  });
  if (stored != 0) return cgi_error_to_webserver(CGI_REPLY_TEXT);
  send_channel_mask(1413, channels.changed);
  send_channel_mask(1411, channels.listed);
  // The log names the last listed value plus one, in range or not (wraps, never overflows).
  send_record_log(LOG_PARAM_RECORD_SCHEDULE, (int32_t)((uint32_t)channels.last + 1u));
  return cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
}
