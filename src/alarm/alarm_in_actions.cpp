// What a recorder alarm input sets off: its linkage page read whole, and
// stored with the disarming record (input 0) and copies to other inputs.
#include "alarm_util.h"

using namespace alarms;

namespace {

void add_record_fields(json_object *reply, const alarm_in_params &in) {
  json_add_int(reply, "alarmId", in.id);
  json_add_text(reply, "name", field_text(in.name));
  json_add_int(reply, "alarmType", in.type);
  json_add_int(reply, "enable", in.enable);
  json_add_int(reply, "triAlarms", in.triAlarms);
  json_add_int(reply, "interval", in.interval);
  json_add_int(reply, "email_interval", in.email_interval);
  json_add_int(reply, "email_pic_enable", in.email_pic_enable);
  json_add_text(reply, "tri_channels_pic", field_text(in.tri_channels_pic));
  json_add_int(reply, "ptz_interval", in.ptz_interval);
  json_add_int(reply, "alarmout_interval", in.alarmout_interval);
  json_add_text(reply, "triChannels", field_text(in.triChannels));
  json_add_text(reply, "triSnapshot", field_text(in.triSnapshot));
}

void add_linkage(json_object *reply, const alarm_in_params &in) {
  Linkage l = recorder_linkage(in.id);
  add_schedule(reply, "effective", l, LinkageSchedule::effective);
  add_schedule(reply, "audible", l, LinkageSchedule::audible);
  add_schedule(reply, "email", l, LinkageSchedule::email);
  add_schedule(reply, "ptz", l, LinkageSchedule::ptz);
  add_alarm_outputs(reply, in.triChnAlarms);
  add_white(reply, l);
  json_add_int(reply, "white_interval", in.white_interval);
  json_add_int(reply, "audioId", in.audioId);
  json_add_int(reply, "audioIdMask", get_audio_file_id_mask());
  add_ptz_params(reply, l);
}

// "alarmType" and "name"; true when one was present.
bool apply_base_fields(json_object *json, alarm_in_params *in) {
  bool present = false;
  if (has_member(json, "alarmType")) {
    in->type = member_int(json, "alarmType");
    present = true;
  }
  if (has_member(json, "name")) {
    member_text(json, "name", in->name, sizeof in->name);
    present = true;
  }
  return present;
}

// Input 0 keeps the disarming settings. True when nothing failed; *asked
// is set when the request carries one of the keys that store it.
bool store_disarming(json_object *json, bool base, bool *asked) {
  *asked = base || has_member(json, "linkageAction") || has_member(json, "disarmActionMask");
  if (!*asked) return true;
  alarm_disarming d = {};
  read_disarming(KXDB_FILE, &d);  // a failed read goes on with the zeroed record
  if (has_member(json, "linkageAction")) d.linkageAction = member_int(json, "linkageAction");
  if (has_member(json, "disarmActionMask")) {
    d.disarmActionMask = member_int(json, "disarmActionMask");
  }
  return write_disarming(KXDB_FILE, &d) == 0;
}

// The copied inputs get everything of the source but their own id, switch
// and name.
bool copy_to_inputs(const alarm_in_params &source, uint64_t mask) {
  alarm_in_params ins[ALARM_IN_COUNT];
  if (read_alarm_ins(KXDB_FILE, ins, nullptr) != 0) return false;  // never over unread records
  for (alarm_in_params &target : ins) {
    if (!(mask >> target.id & 1)) continue;
    alarm_in_params copy = source;
    copy.id = target.id;
    copy.enable = target.enable;
    memcpy(copy.name, target.name, sizeof copy.name);
    target = copy;
  }
  return write_alarm_ins(KXDB_FILE, ins, ALARM_IN_COUNT, mask) == 0 &&
         copy_linkage(recorder_linkage(source.id), mask);
}

// Everything the page gives for the input, as one step. `mask` receives
// the inputs copied to. False when a write failed (nothing is kept).
bool store_input(json_object *json, int id, uint64_t *mask) {
  return kxdb_transaction(KXDB_FILE, [&] {
           alarm_in_params in = stored_input(id);
           bool write = apply_base_fields(json, &in);
           if (id == 0) {
             bool asked = false;
             if (!store_disarming(json, write, &asked)) return false;
             write = write || asked;
           }
           if (json_object *dialog = json_member(json, "dialog")) {
             int ptz = store_linkage(dialog, recorder_linkage(id));
             if (ptz < 0) return false;
             if (apply_linkage_fields(dialog, id, &in) || ptz == 1) write = true;
           }
           if (write && write_alarm_in(KXDB_FILE, &in) != 0) return false;
           *mask = copy_targets(json, id, ALARM_IN_COUNT);
           return *mask == 0 || copy_to_inputs(in, *mask);
         }) == 0;
}

}  // namespace

int on_get_nvr_alarm_input(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int id;
  if (!member_in_range(root.get(), "alarmId", 0, ALARM_IN_COUNT - 1, &id)) {
    reply_json_error();
    return -1;
  }
  alarm_in_params in = stored_input(id);
  JsonPtr reply(json_object_new_object());
  add_record_fields(reply.get(), in);
  add_linkage(reply.get(), in);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

int on_set_nvr_alarm_input(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int id;
  uint64_t mask = 0;
  if (!member_in_range(root.get(), "alarmId", 0, ALARM_IN_COUNT - 1, &id) ||
      !store_input(root.get(), id, &mask)) {
    reply_json_error();
    return -1;
  }
  send_mask_notice(ALARM_INS_CHANGED, mask | 1ULL << id);
  reply_text("OK");
  return 0;
}
