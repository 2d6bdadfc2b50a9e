// Endpoint table of the event and video settings module.
#include "video.h"

namespace {
const WebRes video_table[] = {
    WEBRES_ROW("/6010", on_get_movedetect_info,
               "motion detection of a channel {\"chnid\"}: settings, six schedules, actions"),
    WEBRES_ROW("/6011", OnGetMotionSchedule,
               "motion audible-alarm schedule: channel as the query; 8 days of 12 plans"),
    WEBRES_ROW("/6012", on_set_movedetect_info,
               "basic motion settings {\"camId\", sensitivity, grid, triggers, enableKX}"),
    WEBRES_ROW("/6013", OnSetMotionSchedule,
               "plain motion schedule {\"camId\", \"schedule\"} (read back by /6011)"),
    WEBRES_ROW("/6098", on_get_motion_map,
               "the camera's own motion grid and sensitivity {\"id\"}, asked of the camera"),
    WEBRES_ROW("/6112", on_set_move_dialog,
               "whole motion page {\"chnid\", \"dialog\", grid, copyChn/copyCnt}: store, copy"),
    WEBRES_ROW("/6113", on_set_move_info_sche,
               "motion switches, sensitivity and plain schedule {\"camId\", \"schedule\"}"),
    WEBRES_ROW("/6114", on_set_move_base_info,
               "motion sensitivity, trigger channels, alarm outputs, interval {\"camId\"}"),
    WEBRES_ROW("/6117", on_set_move_action,
               "motion actions {\"chnid\"}: schedules, white light, alarm outputs, intervals"),
    WEBRES_ROW("/6118", on_set_move_email_sche,
               "motion e-mail switch, interval and schedule {\"camId\", \"schedule\"}"),
    WEBRES_ROW("/6119", on_set_move_others,
               "motion trigger channels (type 1) or alarm outputs (type 2) {\"camId\"}"),
    WEBRES_ROW("/6120", on_get_move_email_sche,
               "motion e-mail schedule: channel as the query; 8 days of 12 plans"),
    WEBRES_ROW("/6152", on_set_move_effective_sche,
               "motion arming schedule {\"camId\", \"schedule\"}"),
    WEBRES_ROW("/6153", on_get_move_effective_sche,
               "motion arming schedule: channel as the query; 8 days of 12 plans"),
    WEBRES_ROW("/6158", on_get_move_ptz_sche,
               "motion PTZ-action schedule: channel as the query; 8 days of 12 plans"),
    WEBRES_ROW("/6159", on_set_move_ptz_sche,
               "motion PTZ-action schedule {\"camId\", \"schedule\"}"),
};
static_assert(sizeof video_table / sizeof video_table[0] == 16);
}  // namespace

WEBRES_REGISTER_TABLE(video_table, WEBRES_VIDEO)
