// Live view and playback requests. The recorder's first four channels have
// cameras and record every day after a fixed pattern (a day map per
// channel: the record type of each minute). A search hands out a playback
// session holding the sections it found; the session then plays, pauses,
// steps, changes speed, jumps and stops, and its play time follows the
// clock while it plays. Live streams start on the camera channels; the
// channels' image settings and the sessions' transcoding are kept as set.
#include <chrono>
#include <cmath>
#include <cstring>
#include <ctime>
#include <map>
#include <string>

#include "model.h"
#include "playback/playback_records.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kCameraChannels = 4;     // channels 0 to 3 have cameras and recordings
constexpr int kFirstSessionId = 101;   // ids handed out count up from here
constexpr int kSectionsPerPage = 100;  // records per search answer
constexpr int kSectionsMax = 2000;     // sections one search keeps
constexpr int kSearchDaysMax = 400;    // days one search walks
constexpr int kPlaybackCapacity = 4;   // sessions playing at once before "busy"
constexpr const char *kRecorderAddress = "192.168.1.100";
constexpr int kRtspPort = 554;
constexpr int kExternalRtspPort = 10554;
constexpr int kExternalHttpPort = 10080;

// Record types of the day maps.
constexpr uint8_t kContinuous = 1;
constexpr uint8_t kMotion = 2;
constexpr uint8_t kAlarm = 4;

struct MinuteRun {
  int from, to;  // minutes of the day, `to` excluded
  uint8_t type;
};

// The daily recording pattern of a channel.
day_map_record day_map(int channel) {
  static const std::map<int, std::vector<MinuteRun>> patterns = {
      {0, {{0, 480, kContinuous}, {480, 540, kMotion}, {540, 1020, kContinuous},
           {1020, 1050, kMotion}, {1050, 1440, kContinuous}}},
      {1, {{420, 1140, kContinuous}}},
      {2, {{600, 615, kMotion}, {780, 800, kMotion}, {1320, 1330, kMotion}}},
      {3, {{120, 150, kAlarm}, {720, 900, kContinuous}}},
  };
  day_map_record map = {};
  map.camId = channel;
  auto it = patterns.find(channel);
  if (it == patterns.end()) return map;
  for (const MinuteRun &run : it->second) {
    memset(map.minute_type + run.from, run.type, (size_t)(run.to - run.from));
  }
  return map;
}

struct Section {
  int channel;
  time_t start, end;
  int type;
};

struct Session {
  uint64_t channels = 0;
  std::vector<Section> sections;
  enum { kSearched, kPlaying, kPaused, kStopped } state = kSearched;
  double position = 0;  // seconds since the epoch, at `since`
  Clock::time_point since = Clock::now();
  double rate = 1;  // seconds of recording per second; negative backwards
  int transcoding = 0;

  double now() const {
    if (state != kPlaying) return position;
    return position + std::chrono::duration<double>(Clock::now() - since).count() * rate;
  }
  // Fixes the position before a change of state or rate.
  void settle() {
    position = now();
    since = Clock::now();
  }
};

std::map<int, Session> g_sessions;
int g_next_id = kFirstSessionId;
std::map<int, image_request> g_images;

std::vector<SimFrame> answer(const Bytes &payload, int code = 0) {
  return {SimFrame{code, payload, 0}};
}
std::vector<SimFrame> result(int32_t value) {
  return answer(bytes_of_int(value));
}
std::vector<SimFrame> nothing() {
  return {};
}

std::string text_of(const char *field, size_t width) {
  return std::string(field, strnlen(field, width));
}

std::string time_text(time_t t) {
  struct tm local = {};
  char text[32] = "";
  if (localtime_r(&t, &local)) strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

// "YYYY-MM-DD hh:mm:ss" in local time; false when it is none.
bool parse_time(const std::string &text, time_t *out) {
  struct tm local = {};
  if (!strptime(text.c_str(), "%Y-%m-%d %H:%M:%S", &local)) return false;
  local.tm_isdst = -1;
  *out = mktime(&local);
  return *out != (time_t)-1;
}

time_t midnight_of(time_t t, int days_later) {
  struct tm local = {};
  localtime_r(&t, &local);
  local.tm_hour = local.tm_min = local.tm_sec = 0;
  local.tm_mday += days_later;
  local.tm_isdst = -1;
  return mktime(&local);
}

// The runs of one day's map as sections, cut to [from, to).
void add_day(int channel, time_t day, time_t from, time_t to, std::vector<Section> *out) {
  day_map_record map = day_map(channel);
  for (int m = 0; m < DAY_MINUTES && (int)out->size() < kSectionsMax;) {
    int type = map.minute_type[m], end = m;
    while (end < DAY_MINUTES && map.minute_type[end] == type) end++;
    time_t start = day + (time_t)m * 60, stop = day + (time_t)end * 60;
    if (type != 0 && stop > from && start < to) {
      out->push_back({channel, start < from ? from : start, stop > to ? to : stop, type});
    }
    m = end;
  }
}

std::vector<Section> sections_between(uint64_t channels, time_t from, time_t to) {
  std::vector<Section> out;
  for (int days = 0; days < kSearchDaysMax; days++) {
    time_t day = midnight_of(from, days);
    if (day == (time_t)-1 || day >= to) break;
    for (int ch = 0; ch < kCameraChannels; ch++) {
      if (channels >> ch & 1) add_day(ch, day, from, to, &out);
    }
  }
  return out;
}

Bytes section_records(int sid, const std::vector<Section> &sections, int page) {
  Bytes out;
  size_t first = (size_t)page * kSectionsPerPage;
  for (size_t i = first; i < sections.size() && i < first + kSectionsPerPage; i++) {
    const Section &s = sections[i];
    section_record r = {};
    r.camId = s.channel;
    r.sid = sid;
    r.recordType = s.type;
    r.lock = s.type == kAlarm ? 1 : 0;  // alarm recordings are kept from recycling
    snprintf(r.start_time, sizeof r.start_time, "%s", time_text(s.start).c_str());
    snprintf(r.end_time, sizeof r.end_time, "%s", time_text(s.end).c_str());
    Bytes b = bytes_of(r);
    out.insert(out.end(), b.begin(), b.end());
  }
  // No section: an answer shorter than one record.
  return out.empty() ? bytes_of_int(0) : out;
}

Session *find_session(int sid) {
  auto it = g_sessions.find(sid);
  return it == g_sessions.end() ? nullptr : &it->second;
}

int new_session(Session session) {
  int sid = g_next_id++;
  g_sessions[sid] = std::move(session);
  return sid;
}

template <class Action>
void each_session(const int32_t *ids, int count, Action action) {
  for (int i = 0; i < count && i < PLAYBACK_SESSIONS_MAX; i++) {
    if (Session *s = find_session(ids[i])) action(*s, i);
  }
}

// ---- Search and start ----
std::vector<SimFrame> search(const SimRequest &r) {
  auto request = record_from<section_search_request>(r.payload);
  Session session;
  for (int ch = 0; ch < PLAYBACK_CHANNELS_MAX; ch++) {
    if (request.channel_mask[ch] == '1') session.channels |= 1ULL << ch;
  }
  time_t from, to;
  if (parse_time(text_of(request.start_time, sizeof request.start_time), &from) &&
      parse_time(text_of(request.end_time, sizeof request.end_time), &to)) {
    session.sections = sections_between(session.channels, from, to);
  }
  std::vector<Section> found = session.sections;
  int sid = new_session(std::move(session));
  return answer(section_records(sid, found, 0), 6159);
}

// Pages count from 1; page 1 is what the search answered.
std::vector<SimFrame> page(const SimRequest &r) {
  auto request = record_from<section_page_request>(r.payload);
  Session *s = find_session(request.sid);
  if (!s || request.page > kSectionsMax) return result(0);
  int index = request.page > 1 ? request.page - 1 : 0;
  return answer(section_records(request.sid, s->sections, index));
}

void play_from(Session &s, time_t t) {
  s.position = (double)t;
  s.since = Clock::now();
  s.state = Session::kPlaying;
  s.rate = 1;
}

std::vector<SimFrame> start(const SimRequest &r) {
  auto request = record_from<start_playback_request>(r.payload);
  Session *s = find_session(request.sid);
  time_t t;
  if (!s || !parse_time(text_of(request.playTime, sizeof request.playTime), &t)) return result(-1);
  play_from(*s, t);
  return result(0);
}

std::vector<SimFrame> start_by_mask(const SimRequest &r) {
  auto request = record_from<mask_playback_request>(r.payload);
  Session session;
  session.channels = (uint64_t)(uint32_t)request.mask[0] | (uint64_t)(uint32_t)request.mask[1] << 32;
  started_session_record started = {};
  if ((session.channels & ((1ULL << kCameraChannels) - 1)) == 0) {
    started.failed = 1;  // no channel of the masks records
    return answer(bytes_of(started), 8103);
  }
  time_t t = request.time;
  session.sections = sections_between(session.channels, midnight_of(t, 0), midnight_of(t, 1));
  play_from(session, t);
  started.sid = new_session(std::move(session));
  snprintf(started.playTime, sizeof started.playTime, "%s", time_text(t).c_str());
  return answer(bytes_of(started), 8103);
}

std::vector<SimFrame> session_info(const SimRequest &r) {
  int sid = record_from<int32_t>(r.payload);
  session_info_record info = {};
  info.sessionId = find_session(sid) ? sid : -1;
  info.port = kRtspPort;
  info.external_port = kExternalRtspPort;
  info.external_http_port = kExternalHttpPort;
  if (info.sessionId >= 0) snprintf(info.sourcePath, sizeof info.sourcePath, "/playback/%d", sid);
  return answer(bytes_of(info));
}

// ---- Control ----
std::vector<SimFrame> play_time(const SimRequest &r) {
  Session *s = find_session(record_from<int32_t>(r.payload));
  double t = s ? s->now() : 0;
  return result(t >= 1 && t <= INT32_MAX ? (int32_t)t : 0);
}

template <class Change>
std::vector<SimFrame> change_batch(const SimRequest &r, Change change) {
  auto batch = record_from<session_batch>(r.payload);
  each_session(batch.sid, batch.count, [&](Session &s, int i) {
    s.settle();
    change(s, batch.speed[i]);
  });
  return nothing();
}

void close_sessions(const SimRequest &r) {
  auto batch = record_from<session_batch>(r.payload);
  for (int i = 0; i < batch.count && i < PLAYBACK_SESSIONS_MAX; i++) g_sessions.erase(batch.sid[i]);
}

void step(Session &s) {
  s.state = Session::kPaused;
  s.position += 1;  // one frame, to the second
}

// The step batch carries no count: every id that names a session steps.
std::vector<SimFrame> step_batch(const SimRequest &r) {
  auto batch = record_from<session_batch>(r.payload);
  each_session(batch.sid, PLAYBACK_SESSIONS_MAX, [](Session &s, int) {
    s.settle();
    step(s);
  });
  return nothing();
}

std::vector<SimFrame> resume(const SimRequest &r) {
  auto request = record_from<resume_request>(r.payload);
  if (Session *s = find_session(request.sid)) {
    s->settle();
    s->state = Session::kPlaying;
    s->rate = std::fabs(s->rate) * (request.direction == 1 ? -1 : 1);
  }
  return nothing();
}

void set_rate(Session &s, double rate) {
  s.settle();
  s.state = Session::kPlaying;
  s.rate = rate;
}

// Slow forward names channels: every session showing one of them slows down.
std::vector<SimFrame> slow_forward(const SimRequest &r) {
  auto request = record_from<speed_request>(r.payload);
  double rate = request.speed > 1 ? 1.0 / request.speed : 1.0;
  for (int i = 0; i < request.count && i < PLAYBACK_SESSIONS_MAX; i++) {
    int ch = request.id[i];
    if (ch < 0 || ch >= PLAYBACK_CHANNELS_MAX) continue;
    for (auto &[sid, s] : g_sessions) {
      if (s.channels >> ch & 1) set_rate(s, rate);
    }
  }
  return nothing();
}

std::vector<SimFrame> set_speed(const SimRequest &r) {
  auto request = record_from<speed_request>(r.payload);
  double rate = request.speed > 0 ? request.speed : 1;
  each_session(request.id, request.count, [rate](Session &s, int) { set_rate(s, rate); });
  return nothing();
}

std::vector<SimFrame> jump(const SimRequest &r) {
  auto request = record_from<jump_request>(r.payload);
  time_t t;
  if (!parse_time(text_of(request.jumpTime, sizeof request.jumpTime), &t)) return result(-1);
  int moved = 0;
  each_session(request.sid, request.count, [&](Session &s, int) {
    s.settle();
    s.position = (double)t;
    moved++;
  });
  return result(moved > 0 && moved == request.count ? 0 : -1);
}

std::vector<SimFrame> transcoding_state(int ch, int sid, const int *mode) {
  Session *s = find_session(sid);
  if (s && mode) s->transcoding = *mode;
  transcoding_state_record state = {ch, sid, s ? s->transcoding : -1};
  return answer(bytes_of(state));
}

std::vector<SimFrame> busy() {
  int playing = 0;
  for (auto &[sid, s] : g_sessions) playing += s.state == Session::kPlaying;
  return result(playing >= kPlaybackCapacity ? 1 : 0);
}

// ---- Live view and image ----
std::vector<SimFrame> start_live(const SimRequest &r) {
  auto request = record_from<live_request>(r.payload);
  live_answer_record live = {};
  live.channel = request.id;
  bool camera = request.id >= 0 && request.id < kCameraChannels;
  live.status = camera && (request.streamType == 0 || request.streamType == 1) ? 0 : -1;
  if (live.status == 0) {
    live.port = kRtspPort;
    live.direct = request.streamFrom;
    snprintf(live.resPath, sizeof live.resPath, "/live/ch%02d/%d", request.id, request.streamType);
    snprintf(live.rtspAddr, sizeof live.rtspAddr, "rtsp://%s:%d/live/ch%02d/%d", kRecorderAddress,
             kRtspPort, request.id, request.streamType);
  }
  return answer(bytes_of(live));
}

image_request &image_of(int ch) {
  auto it = g_images.find(ch);
  if (it == g_images.end()) it = g_images.emplace(ch, image_request{ch, 128, 128, 128, 128, 128, 0}).first;
  return it->second;
}

std::vector<SimFrame> image_info(const SimRequest &r) {
  int ch = record_from<int32_t>(r.payload);
  image_info_record info = {};
  info.channel = ch;
  info.status = -1;
  if (ch >= 0 && ch < PLAYBACK_CHANNELS_MAX) {
    const image_request &image = image_of(ch);
    info = {ch, image.brightness, image.contrast, image.saturation, image.Sharpness,
            image.NoiseReduction, image.i2ddnr, 0, 0, 0, 0};
  }
  return answer(bytes_of(info));
}

std::vector<SimFrame> set_image(const SimRequest &r) {
  auto request = record_from<image_request>(r.payload);
  if (request.id >= 0 && request.id < PLAYBACK_CHANNELS_MAX) image_of(request.id) = request;
  return nothing();
}

// One record per camera: the camera's own streams, and the recorder's
// restream of each (main stream 0, sub stream 1).
std::vector<SimFrame> stream_addresses() {
  Bytes out;
  for (int ch = 0; ch < kCameraChannels; ch++) {
    stream_address_record r = {};
    r.channel = ch;
    snprintf(r.ipcMain, sizeof r.ipcMain, "rtsp://192.168.1.%d:554/stream1", 101 + ch);
    snprintf(r.ipcSub, sizeof r.ipcSub, "rtsp://192.168.1.%d:554/stream2", 101 + ch);
    r.mainPort = r.subPort = kRtspPort;
    r.mainExternalPort = r.subExternalPort = kExternalRtspPort;
    r.mainExternalHttpPort = r.subExternalHttpPort = kExternalHttpPort;
    snprintf(r.mainUsername, sizeof r.mainUsername, "admin");
    snprintf(r.subUsername, sizeof r.subUsername, "admin");
    snprintf(r.mainResPath, sizeof r.mainResPath, "/live/ch%02d/0", ch);
    snprintf(r.subResPath, sizeof r.subResPath, "/live/ch%02d/1", ch);
    Bytes b = bytes_of(r);
    out.insert(out.end(), b.begin(), b.end());
  }
  return answer(out);
}

void register_playback_answers(SimServer &server, CoreModel &) {
  server.on(1159, search);
  server.on(1161, page);
  server.on(1162, start);
  server.on(3109, start_by_mask);  // answered by 8103
  server.on(3502, session_info);
  server.on(1153, play_time);
  server.on(1164, [](const SimRequest &r) {
    return change_batch(r, [](Session &s, int) { s.state = Session::kStopped; });
  });
  server.on(1160, [](const SimRequest &r) {
    close_sessions(r);
    return nothing();
  });
  server.on(1903, [](const SimRequest &r) {
    g_sessions.erase(record_from<int32_t>(r.payload));
    return nothing();
  });
  server.on(1165, [](const SimRequest &r) {
    return change_batch(r, [](Session &s, int) { s.state = Session::kPaused; });
  });
  server.on(1170, [](const SimRequest &r) {
    return change_batch(r, [](Session &s, int) { step(s); });
  });
  server.on(1113, step_batch);
  server.on(1166, resume);
  server.on(1112, [](const SimRequest &r) {
    return change_batch(r, [](Session &s, int speed) { set_rate(s, speed > 0 ? speed : 1); });
  });
  server.on(1149, slow_forward);
  server.on(1167, set_speed);
  server.on(1171, jump);
  server.on(1176, [](const SimRequest &r) {
    auto request = record_from<transcoding_request>(r.payload);
    return transcoding_state(request.ch, request.sid, &request.trancodingmode);
  });
  server.on(1177, [](const SimRequest &r) {
    auto request = record_from<transcoding_state_request>(r.payload);
    return transcoding_state(request.ch, request.sid, nullptr);
  });
  server.on(4011, [](const SimRequest &) { return busy(); });
  server.on(3500, start_live);
  // Stopping live streams (1901, 1902) is a notice: no answer.
  server.on(1901, [](const SimRequest &) { return nothing(); });
  server.on(1902, [](const SimRequest &) { return nothing(); });
  server.on(3002, image_info);
  server.on(1205, set_image);
  server.on(3503, [](const SimRequest &) { return stream_addresses(); });
  server.on(3506, [](const SimRequest &) {
    return answer(bytes_of(extern_port_record{kExternalHttpPort, 0}));
  });
}

}  // namespace

CORESIM_ANSWERS(register_playback_answers)
