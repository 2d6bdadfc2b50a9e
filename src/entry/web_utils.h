// Utilities handlers share: files, locks, the current user, operation-log
// entries, hardware addresses, alarm audio files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "kxfs.h"

int IsFileExisted(const char *path);  // 0 when it exists
int IsDirExisted(const char *path);   // 0 when it is a directory (final link not followed)
// Move and delete run /bin/mv and /bin/rm without a shell: names are taken
// literally (no globbing, no command text, and after "--" never an option).
int RemoveFile(const char *source, const char *destination);
int DeleteFile(const char *path);

constexpr const char *CGI_LOCK_FILE = "/tmp/cgilockfile";
// Exclusive lock of a whole file, waiting while another process holds it.
int file_lock(const char *path);
int file_unlock(int fd);

// The whole file in a new buffer (one extra NUL byte after the data). Null
// and length 0 on failure or for an empty file. The caller frees it.
char *kx_get_file_data(const char *path, int *length);
int kx_wirte_file_data(const char *path, const void *data, int length);

// The "userName" cookie's value, at most 63 characters, into a 64-byte buffer.
int get_current_username(char *buffer);

// Operation-log entries: main type 4, remote 1, the user and client address.
int cgi_init_log_info(log_info *entry);
// Sends the entry as request 3485 without waiting.
void cgi_send_log_info(const log_info *entry);
// Sends the entry with a channel mask as request 3509 without waiting.
void cgi_send_log_info_channels(const log_info *entry, uint64_t mask);
// Sends a notice (any request code) without waiting for an answer.
void cgi_send_notice(int code, const void *payload, int length);

// "%02X:..." of eth0 and eth1 (18-byte buffers), or fixed fallbacks. Always 0.
int get_mac_addr(char *eth0, char *eth1);

// Bit i set when alarm audio file i is enabled.
int get_audio_file_id_mask();

// Quotes one argument for a shell command line ('...' with ' escaped).
std::string shell_quote(const char *text);
