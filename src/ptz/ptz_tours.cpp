// Tours: sequences of presets. The recorder keeps each channel's tour table
// and tells the daemon of every change; fisheye tours live in the camera
// only. Running and stopping a tour is a command without waiting.
#include <memory>

#include "ptz_util.h"

using namespace ptz;

namespace {

bool tour_index_ok(int tourid) {
  return tourid >= 0 && tourid < PTZ_TOURS;
}

// The channel and tour of /6055 and /6057: both settings keys.
bool tour_keys(json_object *json, int *channel, int *tourid) {
  *channel = member_int(json, "chn");
  *tourid = member_int(json, "tourid");
  return settings_channel(*channel) && tour_index_ok(*tourid);
}

ptz_tour_point point_of(json_object *element) {
  return {member_int(element, "preset"), member_int(element, "time"),
          member_int(element, "speed")};
}

ptz_tour_command tour_command_of(json_object *json) {
  ptz_tour_command command = {};
  command.chn = member_int(json, "chn");
  command.tourid = member_int(json, "tourid");
  command.fisheyeType = member_int(json, "fisheyeType");
  command.streamId = member_int(json, "streamId");
  return command;
}

ptz_tour_table stored_tours(int channel) {
  ptz_tour_table table = {};
  read_ptz_tour(KXDB_FILE, &table, channel);  // a failed read goes on with no tours
  return table;
}

// Stores the table; a failed write is the error reply, and the caller sends
// nothing.
bool store_tours(const ptz_tour_table &table, int channel) {
  if (write_ptz_tour(KXDB_FILE, &table, channel) == 0) return true;
  cgi_error_to_webserver(CGI_REPLY_TEXT);
  return false;
}

// Run and stop: the command as it came, "OK" at once.
int send_tour_command(const char *text, int code) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  ptz_tour_command command = tour_command_of(root.get());
  send_and_reply_ok(code, &command, sizeof command);
  send_ptz_log(LOG_PARAM_CONTROL, command.chn);
  return 0;
}

}  // namespace

int on_set_fish_ptz_tour_set(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (!root) return -1;
  json_object *json = root.get();
  int tourid = member_int(json, "tourid");  // the page counts these tours from 1
  if (tourid < 1 || tourid > PTZ_TOURS) return -1;
  int tour = tourid - 1;
  auto request = std::make_unique<ptz_fish_tour_set>();
  request->chn = member_int(json, "chn");
  request->streamId = member_int(json, "streamId");
  request->tour = tour;
  json_object *path = json_member(json, "path");
  ptz_tour_arrays &block = request->tours[tour];
  for (int i = 0, n = points_to_take(member_int(json, "rowsize"), path); i < n; i++) {
    ptz_tour_point p = point_of(array_at(path, i));
    block.preset[i] = p.preset;
    block.time[i] = p.time;
    block.speed[i] = p.speed;
  }
  send_and_reply_ok(PTZ_FISH_TOUR_SET, request.get(), sizeof *request);
  send_ptz_log(LOG_PARAM_SETTING, request->chn);
  return 0;
}

int on_set_ptz_tour_set(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int channel, tourid;
  if (!root || !tour_keys(root.get(), &channel, &tourid)) return -1;
  json_object *path = json_member(root.get(), "path");
  ptz_tour_set request = {};
  request.chn = channel;
  request.tourid = tourid;
  request.rowsize = points_to_take(member_int(root.get(), "rowsize"), path);
  ptz_tour_table table = stored_tours(channel);
  for (int i = 0; i < request.rowsize; i++) {
    request.points[i] = point_of(array_at(path, i));
    table.tours[tourid].points[i] = request.points[i];
  }
  if (!store_tours(table, channel)) return -1;
  send_and_reply_ok(PTZ_TOUR_SET, &request, sizeof request);
  send_ptz_log(LOG_PARAM_SETTING, channel);
  return 0;
}

// Clearing ends the tour at its first point; times and speeds stay.
int on_set_ptz_tour_clear(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int channel, tourid;
  if (!root || !tour_keys(root.get(), &channel, &tourid)) return -1;
  ptz_tour_table table = stored_tours(channel);
  for (ptz_tour_point &p : table.tours[tourid].points) p.preset = 0;
  if (!store_tours(table, channel)) return -1;
  ptz_tour_command command = tour_command_of(root.get());
  send_and_reply_ok(PTZ_TOUR_CLEAR, &command, sizeof command);
  send_ptz_log(LOG_PARAM_SETTING, channel);
  return 0;
}

int on_set_ptz_tour_run(char *text) {
  return send_tour_command(text, PTZ_TOUR_RUN);
}

int on_set_ptz_tour_stop(char *text) {
  return send_tour_command(text, PTZ_TOUR_STOP);
}
