// The recording search: the sections of a channel between two times, the
// further pages of a search, and a channel's day as runs of record types.
#include <cstdio>

#include "playback_util.h"

using namespace playback;

namespace {

// '1' at the searched channel, '0' at every other channel of the recorder,
// NUL beyond. A channel outside the recorder leaves every character '0'.
void fill_channel_mask(char *mask, int channel) {
  int channels = db_get_device();
  for (int i = 0; i < channels; i++) mask[i] = i == channel ? '1' : '0';
}

section_search_request search_request_of(json_object *root) {
  section_search_request request = {};
  fill_channel_mask(request.channel_mask, member_int(root, "channelId"));
  request.one = 1;
  request.stream_flag = member_int(root, "streamType") == 1 ? 1 : 0;
  request.minus_one[0] = -1;
  request.minus_one[1] = -1;
  member_text(root, "time", request.start_time, sizeof request.start_time);
  member_text(root, "endTime", request.end_time, sizeof request.end_time);
  return request;
}

// The player's previous search session is closed before a new search.
void close_session(int32_t sid) {
  session_batch batch = {};
  batch.sid[0] = sid;
  batch.count = 1;
  notify(1160, batch);
  notify(1903, sid);
}

json_object *section_json(const section_record &record) {
  json_object *section = json_object_new_object();
  json_add_text(section, "startTime", field_text(record.start_time));
  json_add_text(section, "endTime", field_text(record.end_time));
  json_add_int(section, "recordType", record.recordType);
  json_add_int(section, "lock", record.lock);
  return section;
}

// ---- Day map ----
// Minute texts are the minute's offset from the epoch, in local time.
std::string minute_text(int minute) {
  return time_text((int64_t)minute * 60);
}

// The same text with the clock at 24:00:00: the end of a run that lasts to
// the end of the day.
std::string day_end_text(int minute) {
  std::string text = minute_text(minute);
  if (text.size() >= 16) text.replace(11, 5, "24:00");
  return text;
}

struct DayMapWalk {
  json_object *sections;
  int count = 0;
  int run_type = 0;
  std::string run_start;

  void close(const day_map_record &map, int minute) {
    int type = map.minute_type[minute];
    bool day_end = minute == DAY_MINUTES - 1 && type == run_type;
    json_object *section = json_object_new_object();
    json_add_text(section, "startTime", run_start);
    json_add_text(section, "endTime", day_end ? day_end_text(minute) : minute_text(minute));
    json_add_int(section, "recordType", run_type);
    json_object_array_add(sections, section);
    count++;
    run_type = type;
    if (type != 0) run_start = minute_text(minute);
  }

  void walk(const day_map_record &map) {
    for (int minute = 0; minute < DAY_MINUTES; minute++) {
      int type = map.minute_type[minute];
      if (type == run_type && type != 0) {
        if (minute == DAY_MINUTES - 1) close(map, minute);
      } else if (type != 0 || run_type != 0) {
        close(map, minute);
      }
    }
  }
};

}  // namespace

int on_search_playback_section(char *text) {
  JsonPtr root = parse_object(text);
  if (!root || !has_members(root.get(), {"channelId", "sid", "streamType", "time", "endTime"})) {
    return -1;
  }
  int32_t sid = member_int(root.get(), "sid");
  if (sid >= 0) close_session(sid);
  section_search_request request = search_request_of(root.get());
  exchange(1159, &request, sizeof request);
  return 0;
}

int on_search_playback_page(char *text) {
  JsonPtr root = parse_object(text);
  if (!root) return -1;
  section_page_request request = {};
  request.sid = member_int(root.get(), "sid");
  request.page = member_int(root.get(), "page");
  exchange(1161, &request, sizeof request);
  return 0;
}

void on_search_playback_section_cb(const void *payload, int length) {
  const auto *bytes = static_cast<const unsigned char *>(payload);
  int count = length / (int)sizeof(section_record);
  if (count < 1) {
    reply_status("NO MATCHES");
    return;
  }
  section_record first, last;
  memcpy(&first, bytes, sizeof first);
  memcpy(&last, bytes + (size_t)(count - 1) * sizeof last, sizeof last);
  JsonPtr reply(json_object_new_object());
  json_add_text(reply.get(), "status", "OK");
  json_add_int(reply.get(), "camId", last.camId);
  json_add_int(reply.get(), "sectionNum", count);
  json_add_int(reply.get(), "sid", first.sid);
  json_object *sections = json_object_new_array();
  for (int i = 0; i < count; i++) {
    section_record record;
    memcpy(&record, bytes + (size_t)i * sizeof record, sizeof record);
    json_object_array_add(sections, section_json(record));
  }
  json_object_object_add(reply.get(), "section", sections);
  reply_json(reply.get());
}

void on_get_day_map_cb(const void *payload, int length) {
  day_map_record map;
  if (!answer_record(payload, length, &map)) return;  // short: as if nothing came
  DayMapWalk walk{json_object_new_array()};
  walk.walk(map);
  JsonPtr reply(json_object_new_object());
  json_add_text(reply.get(), "status", walk.count > 0 ? "OK" : "NO MATCHES");
  json_add_int(reply.get(), "camId", map.camId);
  json_add_int(reply.get(), "sectionNum", walk.count);
  json_object_object_add(reply.get(), "section", walk.sections);
  reply_json(reply.get());
}
