// The clip download's writer: reassembles the daemon's chunks into frames,
// queues them, and a writer task ("remote_backup") turns them into an AVI
// stream on the output. One download per process.
//
// Threads: the socket's receive thread adds chunks (the producer), the
// writer task writes frames (the consumer), the handler opens, waits and
// closes. The queue is bounded by back-pressure to about 10 MiB.
#pragma once

#include <cstdint>
#include <cstdio>

#include "kxavi.h"

constexpr int64_t REMOTE_BACKUP_QUEUE_FULL = 10485759;  // queued bytes above this hold a frame
constexpr int REMOTE_BACKUP_FULL_WAITS = 25;    // periods a complete frame waits for room
constexpr int REMOTE_BACKUP_EMPTY_LOOKS = 1500;  // idle periods after which the task ends
constexpr int32_t REMOTE_BACKUP_FRAME_MAX = 10 << 20;  // larger frame sizes are refused

// Opens the AVI writer on `stream` and starts the writer task. 0, or -1 for
// a null argument or when the writer cannot be opened.
int remote_backup_kxfs_open(FILE *stream, kx_avi **handle);

// Adds one chunk of `length` data bytes (already bounded by the caller to
// what the message holds) to the frame `descriptor` describes. 0, or -1
// when the chunk or its completed frame was dropped, memory ran out, or
// close was requested.
int remote_backup_kxfs_write(const kx_avi_frame_desc *descriptor, int continuation,
                             const void *data, int length);

// Stops the writer task: the queued frames are dropped.
void remote_backup_kxfs_interrup();

// Requests the close, lets the task drain the queue and end, drops a frame
// still being assembled and closes the AVI writer (the stream stays open).
// Chunks added from now on are refused. 0, or -1 when the output failed.
int remote_backup_kxfs_close(kx_avi *handle);

// 1 while the writer task runs.
int remote_backup_task_run_status();

// Frames and bytes waiting in the queue (for tests).
int remote_backup_queued_frames();
int64_t remote_backup_queued_bytes();
