// Endpoint table of the alarm module, in the recorder's registration order.
#include "alarm.h"

namespace {
const WebRes alarm_table[] = {
    WEBRES_ROW("/6020", on_get_alarm_outs, USER,
               "the recorder's alarm outputs: [{id, name, type, enable, durationTime}]"),
    WEBRES_ROW("/6021", on_get_alarm_out, EVENT,
               "one recorder output with its schedule {\"alarmId\": 0-3}"),
    WEBRES_ROW("/6022", on_set_alarm_out, EVENT,
               "store a recorder output: alarmId (0-3), name, enable, type, durationTime, "
               "dialog {effective}, copyCnt, copyChn"),
    WEBRES_ROW("/6023", on_set_alarm_out_state, EVENT,
               "switch a recorder output by hand: id, enable"),
    WEBRES_ROW("/6024", on_get_camera_alarm_input, EVENT,
               "a camera's alarm inputs with their settings {\"chnid\": 0-63}"),
    WEBRES_ROW("/6025", on_set_camera_alarm_input, EVENT,
               "store a camera's alarm inputs: chnid, alarmCnt (up to 4), dialog, alarm, "
               "copyCnt, copyChn"),
    WEBRES_ROW("/6026", on_get_nvr_alarm_input, EVENT,
               "a recorder input's linkage actions and schedules {\"alarmId\": 0-15}"),
    WEBRES_ROW("/6027", on_set_nvr_alarm_input, EVENT,
               "store a recorder input's linkage: alarmId, alarmType, name, dialog, "
               "linkageAction, disarmActionMask (input 0), copyCnt, copyChn"),
    WEBRES_ROW("/6028", on_get_camera_alarm_output, EVENT,
               "a camera's two alarm outputs with names, delays, schedules {\"chnid\": 0-63}"),
    WEBRES_ROW("/6029", on_set_camera_alarm_output, EVENT,
               "store a camera's alarm outputs: chnid, alarmCnt (up to 2), dialog, alarm, "
               "copyCnt, copyChn"),
    WEBRES_ROW("/6032", on_get_all_alarmout_names, USER,
               "names of every alarm output: {nvr: [...], camera: [64 x 2]}"),
    WEBRES_ROW("/6033", on_set_camera_alarm_out_state, EVENT,
               "switch a camera's output by hand: chnid, alarmId, state"),
    WEBRES_ROW("/6034", on_get_all_alarmin_names, USER,
               "names of every alarm input: {nvr: [...], camera: [64 x 4]}"),
    WEBRES_ROW("/6060", on_get_alarm_ins, USER,
               "the recorder's alarm inputs: [{id, enable, name, type, triChannels, "
               "triAlarms}]"),
    WEBRES_ROW("/6061", on_get_alarm_in_schedule, EVENT,
               "one recorder input and its arming plans (input number as the request)"),
    WEBRES_ROW("/6062", on_set_alarm_in_schedule, EVENT,
               "store a recorder input and its arming plans: {alarm: {id, enable, name, type, "
               "triChannels, triAlarms, interval}, schedule}"),
    WEBRES_ROW("/6063", on_set_alarm_in_base, EVENT,
               "store a recorder input's name, type and switch: {alarm: {camId (0-15), name, "
               "type, enable}}"),
    WEBRES_ROW("/6064", on_set_alarm_in, EVENT,
               "store a recorder input: {alarm: {id, enable, name, type, triChannels, "
               "triAlarms, interval}}"),
};
static_assert(sizeof alarm_table / sizeof alarm_table[0] == 18);
}  // namespace

WEBRES_REGISTER_TABLE(alarm_table, WEBRES_ALARM)
