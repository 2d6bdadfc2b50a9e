// Clip download: a stretch of one channel's recording as an AVI attachment,
// streamed by the daemon in chunks (6173) and written by remote_backup; and
// the busy marker of a running download.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

#include "download_records.h"
#include "playback_util.h"
#include "remote_backup.h"
#include "request_reset.h"

using namespace playback;

namespace {

constexpr const char *kBusyMarker = "/tmp/pbdownload";

// The download of this request: the writer the chunks go to (null when none
// is open) and whether the daemon has said it is done.
std::atomic<kx_avi *> g_avi{nullptr};
std::atomic<bool> g_end_of_data{false};

bool download_over() {
  return g_end_of_data.load() || remote_backup_task_run_status() == 0;
}

// "%Y-%m-%dT%H:%M:%SZ" as local time; false when the text is no such time.
bool parse_clip_time(const char *text, struct tm *fields, time_t *seconds) {
  *fields = {};
  if (!strptime(text, "%Y-%m-%dT%H:%M:%SZ", fields)) return false;
  struct tm local = *fields;
  local.tm_isdst = -1;  // daylight saving as the system decides
  *seconds = mktime(&local);
  return true;
}

// "%d_%d_%d_%d_%d_%d_%d": the fields and the seconds since the epoch.
std::string name_part(const struct tm &t, time_t seconds) {
  char text[96];
  snprintf(text, sizeof text, "%d_%d_%d_%d_%d_%d_%lld", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
           t.tm_hour, t.tm_min, t.tm_sec, (long long)seconds);
  return text;
}

void daemon_time(const struct tm &t, char (&field)[32]) {
  snprintf(field, sizeof field, "%d-%d-%d %d:%d:%d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
           t.tm_hour, t.tm_min, t.tm_sec);
}

struct Clip {
  int32_t channel = 0;
  int32_t stream_type = 0;
  struct tm start = {}, end = {};
  time_t start_seconds = 0, end_seconds = 0;
};

// The request's clip; false (silent) when a key is missing, the channel is
// out of range or a time does not parse.
bool read_clip(const char *text, Clip *clip) {
  JsonPtr root = parse_object(text);
  if (!root || !has_members(root.get(), {"id", "startTime", "endTime"})) return false;
  clip->channel = member_int(root.get(), "id");
  clip->stream_type = member_int(root.get(), "streamType");
  char start[64], end[64];
  member_text(root.get(), "startTime", start, sizeof start);
  member_text(root.get(), "endTime", end, sizeof end);
  return is_player_channel(clip->channel) &&
         parse_clip_time(start, &clip->start, &clip->start_seconds) &&
         parse_clip_time(end, &clip->end, &clip->end_seconds);
}

void write_attachment_headers(const Clip &clip) {
  unsigned long long mask = 1ULL << clip.channel;
  fputs("Content-Type:application/octet-stream\r\n", cgiOut);
  fprintf(cgiOut, "Content-Disposition: attachment; filename= %lluDDD%s-%s_%d.avi\r\n\r\n", mask,
          name_part(clip.start, clip.start_seconds).c_str(),
          name_part(clip.end, clip.end_seconds).c_str(), clip.channel);
  fflush(cgiOut);
}

// Sends 1173 and waits while the chunks stream in on the receive thread,
// until the daemon ends the data, the writer task stops or the connection
// ends. Then the channel is closed before the writer: no chunk can reach
// a writer being closed.
void stream_clip(const Clip &clip, kx_avi *avi) {
  download_request request = {};
  request.channel = clip.channel;
  request.streamType = clip.stream_type;
  daemon_time(clip.start, request.start);
  daemon_time(clip.end, request.end);
  g_end_of_data = false;
  g_avi = avi;
  cgi_start_ipc(on_stream_callback, 1173, (int)sizeof request, &request, 1);
  // The writer task ends by itself after its idle looks: the bound of the wait.
  kx_sock_wait_until(download_over, std::chrono::steady_clock::now() + std::chrono::hours(24 * 30));
  cgi_stop_ipc();
  g_avi = nullptr;
  remote_backup_kxfs_close(avi);
}

}  // namespace

int on_download_playback_clip(char *text) {
  Clip clip;
  if (!read_clip(text, &clip)) return -1;
  if (IsFileExisted(kBusyMarker) == 0) {
    cgi_writeback_webserver(CGI_REPLY_TEXT, "BUSY NOW");
    return 0;
  }
  send_playback_log(LOG_SUB_PLAYBACK, log_channel(clip.channel));
  write_attachment_headers(clip);
  // A download must not disturb recording; the threads started from here
  // (the receive thread, the writer task) inherit the priority.
  setpriority(PRIO_PROCESS, 0, 19);
  kx_avi *avi = nullptr;
  if (remote_backup_kxfs_open(cgiOut, &avi) != 0) return -1;
  stream_clip(clip, avi);
  fflush(cgiOut);
  return 0;
}

int on_get_download_state(char *) {
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "isOK", IsFileExisted(kBusyMarker) == 0 ? 0 : 1);
  json_writeback(CGI_REPLY_TEXT, reply.get());
  return 0;
}

int on_stop_playback_download(char *) {
  DeleteFile(kBusyMarker);
  notify(1178, nullptr, 0);
  reply_ok();
  return 0;
}

// 6173: one chunk of the clip. Never sets the completion flag: the data
// streams until the end-of-data flag.
void on_get_download_playtime_cb(const void *payload, int length) {
  download_chunk_head head;
  if (!answer_record(payload, length, &head)) return;  // no whole head: nothing to take
  if (!g_avi.load() || head.length == DOWNLOAD_END) {
    g_end_of_data = true;
    return;
  }
  if (head.length == DOWNLOAD_INTERRUPTED) {
    remote_backup_kxfs_interrup();
    g_end_of_data = true;
    return;
  }
  if (head.length < 0) return;
  // The daemon's length is bounded by what the message holds.
  int present = std::min(length - (int)sizeof head, DOWNLOAD_CHUNK_MAX);
  const unsigned char *data = static_cast<const unsigned char *>(payload) + sizeof head;
  remote_backup_kxfs_write(&head.frame, head.continuation, data, std::min(head.length, present));
}

namespace {
void reset_download() {
  g_avi = nullptr;
  g_end_of_data = false;
}
}  // namespace

CGI_RESET_HOOK(reset_download)
