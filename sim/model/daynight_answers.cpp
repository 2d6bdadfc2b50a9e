// Day/night image, image areas, the camera-side week schedules and the
// camera motion configuration of every channel: the setters change the
// channel's record and the queries answer what was saved.
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "camera/daynight_records.h"
#include "model.h"

namespace {

struct DayNightCamera {
  daynight_image image;
  image_areas_answer areas;
  ipc_schedule_answer image_schedule;
  ipc_schedule_answer image_schedule_ex;
  exposure_schedule_answer exposure_schedule;
  ipc_motion_answer motion;
};

std::map<int, std::unique_ptr<DayNightCamera>> g_cameras;

void set_plan(schedule_plan &plan, const char *start, const char *end, int action) {
  snprintf(plan.start_time, sizeof plan.start_time, "%s", start);
  snprintf(plan.end_time, sizeof plan.end_time, "%s", end);
  plan.action_type = action;
}

// Factory state: a day period and a night period, one area, a schedule
// that switches to night mode in the evening.
void seed(DayNightCamera &c, int channel) {
  memset(&c, 0, sizeof c);
  c.image.channel = channel;
  c.image.periods[0] = {1, 1, 6, 0, 18, 0, 50, 1, 8, 20, 5, 0, 0, 0};
  c.image.periods[1] = {1, 1, 18, 0, 6, 0, 70, 2, 10, 60, 5, 1, 1, 1};
  c.areas.channel = channel;
  snprintf(c.areas.sdkversion, sizeof c.areas.sdkversion, "V2.4.1");
  c.areas.areas[0] = {1, 0, 0, 320, 240};
  for (auto *s : {&c.image_schedule, &c.image_schedule_ex}) {
    s->channel = channel;
    for (schedule_day &day : s->days) set_plan(day.plans[0], "18:00", "23:59", 1);
  }
  c.exposure_schedule.channel = channel;
  for (exposure_day &day : c.exposure_schedule.days) {
    exposure_plan &p = day.plans[0];
    snprintf(p.start_time, sizeof p.start_time, "00:00");
    snprintf(p.end_time, sizeof p.end_time, "06:00");
    p.action_type = 1;
    p.exposureTime = 40;
    p.gainLevel = 30;
  }
  c.motion.channel = channel;
  c.motion.enable = channel == 0;
  c.motion.sensitivity = 5;
  c.motion.minsize = 2;
  c.motion.mintime = 1;
  c.motion.adaptability = 3;
  memset(c.motion.map_mask, '1', 264);
  for (int d = 0; d < IPC_SCHEDULE_ROWS; d++) {
    set_plan(c.motion.effective.days[d].plans[0], "00:00", "23:59", 0);
    c.motion.effective.days[d].valid = 1;
  }
}

DayNightCamera *camera_of(int channel) {
  if (channel < 0 || channel >= IPC_CHANNELS) return nullptr;
  auto &slot = g_cameras[channel];
  if (!slot) {
    slot = std::make_unique<DayNightCamera>();
    seed(*slot, channel);
  }
  return slot.get();
}

std::vector<SimFrame> answer(const Bytes &payload) { return {SimFrame{0, payload, 0}}; }
std::vector<SimFrame> nothing() { return {}; }

DayNightCamera *requested(const SimRequest &r) {
  return camera_of(r.payload.size() >= 4 ? record_from<int32_t>(r.payload) : -1);
}

// Queries of an unknown channel answer a zeroed record of the channel.
template <class Record>
std::vector<SimFrame> answer_of(const SimRequest &r, Record DayNightCamera::*member) {
  DayNightCamera *c = requested(r);
  if (!c) return answer(Bytes(sizeof(Record), 0));
  return answer(bytes_of(c->*member));
}

std::vector<SimFrame> set_image(const SimRequest &r) {
  if (r.payload.size() < sizeof(daynight_image)) return nothing();
  auto in = record_from<daynight_image>(r.payload);
  if (DayNightCamera *c = camera_of(in.channel)) c->image = in;
  return nothing();
}

std::vector<SimFrame> set_areas(const SimRequest &r) {
  if (r.payload.size() < sizeof(image_areas_request)) return nothing();
  auto in = record_from<image_areas_request>(r.payload);
  for (int32_t channel : in.channels) {
    DayNightCamera *c = camera_of(channel);
    if (!c) continue;
    c->areas.enable = in.enable;
    memcpy(c->areas.areas, in.areas, sizeof in.areas);
  }
  return nothing();
}

// Area 16 clears them all.
std::vector<SimFrame> clear_area(const SimRequest &r) {
  auto in = record_from<image_area_clear>(r.payload);
  DayNightCamera *c = camera_of(in.chan_id);
  if (!c || in.area_id < 0 || in.area_id > IMAGE_AREAS) return nothing();
  if (in.area_id == IMAGE_AREAS) memset(c->areas.areas, 0, sizeof c->areas.areas);
  else c->areas.areas[in.area_id] = {};
  return nothing();
}

template <class Request, class Answer>
void store_rows(const Request &in, Answer DayNightCamera::*member) {
  for (int32_t channel : in.channels) {
    if (DayNightCamera *c = camera_of(channel)) memcpy((c->*member).days, in.days, sizeof in.days);
  }
}

std::vector<SimFrame> set_image_schedule(const SimRequest &r, bool ex) {
  if (r.payload.size() < sizeof(ipc_schedule_request)) return nothing();
  auto in = std::make_unique<ipc_schedule_request>(record_from<ipc_schedule_request>(r.payload));
  store_rows(*in, ex ? &DayNightCamera::image_schedule_ex : &DayNightCamera::image_schedule);
  return nothing();
}

std::vector<SimFrame> set_exposure_schedule(const SimRequest &r) {
  if (r.payload.size() < sizeof(exposure_schedule_request)) return nothing();
  auto in = std::make_unique<exposure_schedule_request>(
      record_from<exposure_schedule_request>(r.payload));
  store_rows(*in, &DayNightCamera::exposure_schedule);
  return nothing();
}

// The configuration goes to every channel of the mask; result 0.
std::vector<SimFrame> set_motion(const SimRequest &r) {
  if (r.payload.size() < sizeof(ipc_motion_config)) return answer(bytes_of_int(-1));
  auto in = std::make_unique<ipc_motion_config>(record_from<ipc_motion_config>(r.payload));
  for (int ch = 0; ch < IPC_CHANNELS; ch++) {
    if (!(in->mask >> ch & 1)) continue;
    ipc_motion_answer &m = camera_of(ch)->motion;
    m.enable = in->enable;
    m.sensitivity = in->sensitivity;
    m.minsize = in->minsize;
    m.mintime = in->mintime;
    m.adaptability = in->adaptability;
    memcpy(m.map_mask, in->map_mask, sizeof m.map_mask);
    m.effective = in->effective;
  }
  return answer(bytes_of_int(0));
}

// The event query answers a line naming what was asked and that nothing was found.
std::vector<SimFrame> event_query(const SimRequest &r) {
  auto in = record_from<ipc_event_query>(r.payload);
  char text[160];
  int n = snprintf(text, sizeof text, "chnid=%d&mainType=%d&subType=%d&time=%.63s&count=0",
                   in.channel, in.mainType, in.subType, in.time);
  return answer(Bytes(text, text + n + 1));
}

void register_daynight_answers(SimServer &server, CoreModel &) {
  g_cameras.clear();
  server.on(3278, [](const SimRequest &r) { return answer_of(r, &DayNightCamera::image); });
  server.on(3279, set_image);
  server.on(3271, [](const SimRequest &r) { return answer_of(r, &DayNightCamera::areas); });
  server.on(3288, set_areas);
  server.on(3284, clear_area);
  server.on(3273,
            [](const SimRequest &r) { return answer_of(r, &DayNightCamera::image_schedule); });
  server.on(3277,
            [](const SimRequest &r) { return answer_of(r, &DayNightCamera::image_schedule_ex); });
  server.on(3275,
            [](const SimRequest &r) { return answer_of(r, &DayNightCamera::exposure_schedule); });
  server.on(3281, [](const SimRequest &r) { return set_image_schedule(r, false); });
  server.on(3283, [](const SimRequest &r) { return set_image_schedule(r, true); });
  server.on(3282, set_exposure_schedule);
  server.on(3358, [](const SimRequest &r) { return answer_of(r, &DayNightCamera::motion); });
  server.on(3366, set_motion);
  server.on(3360, event_query);
}

}  // namespace

CORESIM_ANSWERS(register_daynight_answers)
