// Endpoint table of the live view and playback module. The slots follow
// the recorder's table: the image rows sit between "/4011" and "/4012", the
// step batch between "/4020" and "/4022"; the clip download rows
// ("/4013", "/4019", "/4027") sit among them.
#include "playback.h"

namespace {
const WebRes playback_table[] = {
    WEBRES_ROW("/4000", on_search_playback_section, PLAYBACK,
               "search a channel's recorded sections: channelId, sid (closed first when >= 0), "
               "streamType, time, endTime"),
    WEBRES_ROW("/4001", on_start_playback, PLAYBACK,
               "start playback of a searched session: channelId (0-15), sid, startTime, "
               "endTime, playTime; answers the session's stream"),
    WEBRES_ROW("/4002", on_get_playback_time, PLAYBACK,
               "current play time of a session: the session id as the body"),
    WEBRES_ROW("/4003", on_stop_playback, PLAYBACK,
               "stop playback sessions: num, sid array, close (1 also closes them)"),
    WEBRES_ROW("/4004", on_pause_playback, PLAYBACK,
               "pause playback sessions: num, sid array"),
    WEBRES_ROW("/4005", on_resume_playback, PLAYBACK,
               "resume a paused session: sid, direction"),
    WEBRES_ROW("/4006", on_step_foward_playback, PLAYBACK,
               "step paused sessions one frame forward: num, sid array"),
    WEBRES_ROW("/4007", on_fastforward_playback, PLAYBACK,
               "fast forward: chind (>= 0), num, sessionId and speed arrays"),
    WEBRES_ROW("/4008", on_slowforward_playback, PLAYBACK,
               "slow forward: speed, num, chind (the array of channels)"),
    WEBRES_ROW("/4009", on_jump_playback, PLAYBACK,
               "jump sessions to a time: jumpTime, num, sid and chnid arrays"),
    WEBRES_ROW("/4010", on_start_live, LIVE_VIEW,
               "start a channel's live stream: id (0-15), streamType and streamFrom (0 or 1); "
               "answers its address"),
    WEBRES_ROW("/4011", on_stop_live, LIVE_VIEW,
               "stop a channel's live stream: id (0-15), streamType and streamFrom (0 or 1)"),
    WEBRES_ROW("/3000", on_get_channel_image_info, USER,
               "live image of a channel: chnid (0-15); brightness, contrast, saturation, "
               "sharpness, noise reduction"),
    WEBRES_ROW("/3001", on_set_channel_image_info, CAMERA,
               "set a channel's live image: id (0-15), brightness, contrast, saturation "
               "(0-255), Sharpness, NoiseReduction, i2ddnr"),
    WEBRES_ROW("/3002", on_reset_channel_image_info, CAMERA,
               "reset a channel's live image to the defaults: the channel as the body"),
    WEBRES_ROW("/4012", on_stop_all_live, LIVE_VIEW,
               "stop every live stream"),
    WEBRES_ROW("/4013", on_download_playback_clip, RETRIEVE,
               "download a stretch of a channel's recording as an AVI file: id (0-15), "
               "streamType, startTime and endTime (YYYY-MM-DDThh:mm:ssZ); BUSY NOW while "
               "another download runs"),
    WEBRES_ROW("/4014", on_log_channel_event, PLAYBACK,
               "log an event of the player on a channel (0-15) given as the body"),
    WEBRES_ROW("/4015", on_check_playback_channel, PLAYBACK,
               "check a playback channel number (0-15) given as the body"),
    WEBRES_ROW("/4016", on_check_live_channel, LIVE_VIEW,
               "check a live-view channel number (0-15) given as the body"),
    WEBRES_ROW("/4017", on_log_channel_user_event, PLAYBACK,
               "log a user's event of the player on a channel (0-15) given as the body"),
    WEBRES_ROW("/4018", on_get_rtsp_addr, LIVE_VIEW,
               "stream addresses of every channel: the camera's and the recorder's RTSP streams"),
    WEBRES_ROW("/4019", on_get_download_state, RETRIEVE,
               "whether a clip download may start: isOK 1, or 0 while one runs"),
    WEBRES_ROW("/4020", on_start_playback_by_mask, PLAYBACK,
               "start playback of the channels of mask0 to mask7 at playTime; answers the "
               "session's stream"),
    WEBRES_ROW("/3003", on_step_playback_batch, PLAYBACK,
               "step sessions one frame forward: sessionId array"),
    WEBRES_ROW("/4022", on_set_speed_playback, PLAYBACK,
               "set the playback speed: speed, num, sid array"),
    WEBRES_ROW("/4023", on_search_playback_page, PLAYBACK,
               "a further page of a section search: sid, page"),
    WEBRES_ROW("/4021", on_get_extern_port, USER,
               "the web service's ports as seen from outside (UPnP and DDNS)"),
    WEBRES_ROW("/4024", on_log_live_view, LIVE_VIEW,
               "log live view of a channel (0-15) given as the body"),
    WEBRES_ROW("/4027", on_stop_playback_download, RETRIEVE,
               "stop the running clip download and clear its busy mark"),
    WEBRES_ROW("/4025", on_set_playback_transcoding, PLAYBACK,
               "transcode a playback stream: ch, sid, trancodingmode, framesize, bitrate, "
               "framerate"),
    WEBRES_ROW("/4026", on_get_playback_transcoding_state, PLAYBACK,
               "transcoding state of a playback stream: ch, sid"),
    WEBRES_ROW("/3004", on_check_playback_busy, PLAYBACK,
               "whether the recorder's playback capacity is taken: BUSY or OK"),
};
static_assert(sizeof playback_table / sizeof playback_table[0] == 33);
}  // namespace

WEBRES_REGISTER_TABLE(playback_table, WEBRES_PLAYBACK)
