// "/6042", "/6043": the recording plan mode of every channel.
#include "record_util.h"

using namespace record;

namespace {

constexpr int kPlanModeMax = 2;

// Entry i of "records" ({"id": channel, "mode": m}) as the mode of the
// record at position i; false when the entry is not acceptable.
bool take_entry(json_object *entry, int position, record_params *record) {
  if (!has_member(entry, "id") || !has_member(entry, "mode")) return false;
  int id = member_int(entry, "id");
  int mode = member_int(entry, "mode");
  if (!channel_valid(id) || mode < 0 || mode > kPlanModeMax) return false;
  record->id = position;  // positional: the entry's own "id" is only checked
  record->mode = mode;
  return true;
}

bool write_first(const record_params *records, int n) {
  if (n == 0) return true;
  return kxdb_transaction(KXDB_FILE, [&] {
    for (int i = 0; i < n; i++) {
      if (write_record(KXDB_FILE, &records[i]) != 0) return false;
    }
    return true;
  }) == 0;
}

}  // namespace

int on_get_record_modes(char *) {
  record_params records[RECORD_CHANNELS];
  load_records(records);
  int max_cameras = param_int(PARAM_MAX_CAMERAS);
  int n = max_cameras < 0 ? 0 : max_cameras > RECORD_CHANNELS ? RECORD_CHANNELS : max_cameras;
  JsonPtr reply(json_object_new_object());
  json_object *list = json_object_new_array();
  for (int i = 0; i < n; i++) {
    json_object *o = json_object_new_object();
    json_add_int(o, "id", records[i].id);
    json_add_int(o, "mode", records[i].mode);
    json_object_array_add(list, o);
  }
  json_object_object_add(reply.get(), "records", list);
  return json_writeback(CGI_REPLY_JSON, reply.get());
}

int on_set_record_modes(char *text) {
  JsonPtr request(get_request_tokener_json_object(text));
  if (!request) return -1;
  record_params records[RECORD_CHANNELS];
  load_records(records);
  json_object *entries = json_member(request.get(), "records");
  // A missing list, or more entries than there are records, is a bad list.
  int n = array_length(entries);
  bool ok = json_object_is_type(entries, json_type_array) && n <= RECORD_CHANNELS;
  for (int i = 0; ok && i < n; i++) ok = take_entry(array_at(entries, i), i, &records[i]);
  if (!ok) return cgi_writeback_webserver(CGI_REPLY_TEXT, "ERROR");
  if (!write_first(records, n)) return cgi_error_to_webserver(CGI_REPLY_TEXT);
  send_record_log(LOG_PARAM_RECORD_MODES, 0);
  cgi_writeback_webserver(CGI_REPLY_TEXT, "OK");
  for (int i = 0; i < n; i++) {
    record_channel position = {i};
    cgi_send_notice(1407, &position, sizeof position);
  }
  return 0;
}
