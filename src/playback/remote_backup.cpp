#include "remote_backup.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <pthread.h>
#include <system_error>
#include <thread>

#include "cgi_ipc.h"
#include "request_reset.h"

namespace {

struct Frame {
  kx_avi_frame_desc desc;
  std::unique_ptr<unsigned char[]> data;
  int32_t size = 0;
};

struct Writer {
  kx_avi *avi = nullptr;
  std::thread task;
  std::atomic<bool> running{false};
  std::atomic<bool> close_requested{false};

  // The queue: head and tail changed only under `queue_mu`; the byte count
  // is read by the producer without it, for its back-pressure test.
  std::mutex queue_mu;
  std::deque<std::unique_ptr<Frame>> queue;
  std::atomic<int> queued_frames{0};
  std::atomic<int64_t> queued_bytes{0};

  // The frame being assembled, touched by the producer and by close, under
  // `producer_mu` (held while a chunk is added).
  std::mutex producer_mu;
  std::unique_ptr<Frame> assembly;
  int32_t filled = 0;
};

Writer g_writer;

// The "40 ms" of the writer: the channel's poll period, which tests shorten.
void sleep_one_period() {
  std::this_thread::sleep_for(cgi_ipc_poll_period());
}

std::unique_ptr<Frame> new_frame(const kx_avi_frame_desc &desc, int32_t size) {
  std::unique_ptr<Frame> frame(new (std::nothrow) Frame);
  if (!frame) return nullptr;
  frame->desc = desc;
  frame->size = size;
  frame->data.reset(new (std::nothrow) unsigned char[(size_t)size]);
  return frame->data ? std::move(frame) : nullptr;
}

std::unique_ptr<Frame> pop_frame() {
  std::lock_guard<std::mutex> lock(g_writer.queue_mu);
  if (g_writer.queue.empty()) return nullptr;
  std::unique_ptr<Frame> frame = std::move(g_writer.queue.front());
  g_writer.queue.pop_front();
  g_writer.queued_bytes -= frame->size;
  g_writer.queued_frames--;
  return frame;
}

void drop_queue() {
  std::lock_guard<std::mutex> lock(g_writer.queue_mu);
  g_writer.queue.clear();
  g_writer.queued_bytes = 0;
  g_writer.queued_frames = 0;
}

// Queues the assembled frame once there is room: -1 when it is dropped.
int queue_assembled() {
  for (int waits = 0; g_writer.queued_bytes.load() > REMOTE_BACKUP_QUEUE_FULL; waits++) {
    if (waits == REMOTE_BACKUP_FULL_WAITS) {
      g_writer.assembly.reset();
      return -1;
    }
    sleep_one_period();
  }
  int32_t size = g_writer.assembly->size;
  std::lock_guard<std::mutex> lock(g_writer.queue_mu);
  g_writer.queue.push_back(std::move(g_writer.assembly));
  g_writer.queued_bytes += size;
  g_writer.queued_frames++;
  return 0;
}

// The writer task: frames from the queue to the AVI writer until close
// (queue drained), an interrupt, or REMOTE_BACKUP_EMPTY_LOOKS idle looks.
void remote_backup_kxfs_callback() {
  pthread_setname_np(pthread_self(), "remote_backup");
  int empty_looks = 0;
  while (g_writer.running.load()) {
    if (std::unique_ptr<Frame> frame = pop_frame()) {
      kx_avi_write_fp_ex(g_writer.avi, &frame->desc, frame->data.get(), frame->size);
      empty_looks = 0;
      continue;
    }
    if (g_writer.close_requested.load() && g_writer.queued_frames.load() == 0) break;
    if (++empty_looks >= REMOTE_BACKUP_EMPTY_LOOKS) break;
    sleep_one_period();
  }
  drop_queue();
  g_writer.running = false;
  kx_sock_wake();  // the handler waits on the channel for this too
}

}  // namespace

int remote_backup_kxfs_open(FILE *stream, kx_avi **handle) {
  if (!stream || !handle || g_writer.task.joinable()) return -1;
  kx_avi *avi = kx_avi_open_fp(stream);
  if (!avi) return -1;
  drop_queue();
  g_writer.assembly.reset();
  g_writer.filled = 0;
  g_writer.avi = avi;
  g_writer.close_requested = false;
  g_writer.running = true;
  try {
    g_writer.task = std::thread(remote_backup_kxfs_callback);
  } catch (const std::system_error &) {
    g_writer.running = false;
    g_writer.avi = nullptr;
    kx_avi_close_fp(avi, 0);
    return -1;
  }
  *handle = avi;
  return 0;
}

int remote_backup_kxfs_write(const kx_avi_frame_desc *descriptor, int continuation,
                             const void *data, int length) {
  if (!descriptor || length < 0 || (length > 0 && !data)) return -1;
  std::lock_guard<std::mutex> lock(g_writer.producer_mu);
  if (g_writer.close_requested.load()) return -1;
  // A first chunk abandons any frame still being assembled.
  if (continuation == 0) g_writer.assembly.reset();
  int32_t frame_size = descriptor->frame_size;
  if (frame_size <= 0 || frame_size > REMOTE_BACKUP_FRAME_MAX) return -1;
  if (continuation == 0) {
    g_writer.assembly = new_frame(*descriptor, frame_size);
    g_writer.filled = 0;
    if (!g_writer.assembly) return -1;
  } else if (!g_writer.assembly) {
    return 0;  // the rest of a frame whose start never came
  }
  Frame &frame = *g_writer.assembly;
  int n = std::min(length, frame.size - g_writer.filled);
  memcpy(frame.data.get() + g_writer.filled, data, (size_t)n);
  g_writer.filled += n;
  if (g_writer.filled < frame.size) return 0;
  return queue_assembled();
}

void remote_backup_kxfs_interrup() {
  g_writer.running = false;
}

int remote_backup_kxfs_close(kx_avi *handle) {
  {
    std::lock_guard<std::mutex> lock(g_writer.producer_mu);
    g_writer.close_requested = true;
    g_writer.assembly.reset();
  }
  if (g_writer.task.joinable()) g_writer.task.join();
  g_writer.avi = nullptr;
  return kx_avi_close_fp(handle, 0);
}

namespace {
// A download that ended without its close (it cannot, as the handler
// always closes, but a persistent process must not keep a writer task that
// writes to the next request's output): stopped, its writer closed, and
// everything back as at start.
void reset_remote_backup() {
  if (g_writer.task.joinable()) {
    g_writer.running = false;
    g_writer.task.join();
  }
  if (g_writer.avi) kx_avi_close_fp(g_writer.avi, 0);
  g_writer.avi = nullptr;
  drop_queue();
  std::lock_guard<std::mutex> lock(g_writer.producer_mu);
  g_writer.assembly.reset();
  g_writer.filled = 0;
  g_writer.running = false;
  g_writer.close_requested = false;
}
}  // namespace

CGI_RESET_HOOK(reset_remote_backup)

int remote_backup_task_run_status() {
  return g_writer.running.load() ? 1 : 0;
}

int remote_backup_queued_frames() {
  return g_writer.queued_frames.load();
}

int64_t remote_backup_queued_bytes() {
  return g_writer.queued_bytes.load();
}


