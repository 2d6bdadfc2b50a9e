// Standard utilities of the platform: parameter store, command runners,
// base64 and URL coding, channel masks.
#pragma once

#include <cstdint>
#include <cstdio>

// ---- Parameter store (text values in the settings database) ----
int get_param_int(const char *file, const char *key, int default_value);
// Copies the value (or the default) into buffer, cut to size - 1. 0, or -1 on error.
int get_param_value(const char *file, const char *key, char *buffer, int size,
                    const char *default_value);
int set_param_int(const char *file, const char *key, int value);
int set_param_value(const char *file, const char *key, const char *value);
// 0 when the key exists (even with an empty value), -1 when it does not.
int check_param_key(const char *file, const char *key);
int add_param_value(const char *file, const char *key, const char *value);

// ---- Commands ----
// Runs a shell command; its exit status, or -1 when it could not run or was killed.
int kx_system(const char *command);
// Runs argv[0] with the arguments (no shell; a bare name is looked up on
// PATH, as a shell would); exit status, or -1.
int kx_run_argv(const char *const argv[]);
// popen-like: the command's standard output to read.
FILE *kx_vpopen(const char *command, const char *mode);
int kx_vpclose(FILE *stream);
// Copies everything from in_fd to out_fd. Bytes copied, or -1.
long long kx_spliced_copy_ex(int in_fd, int out_fd);

// ---- Coding ----
// Standard alphabet; padding optional. Decoded length, or -1 on bad input or
// when the output (out_size bytes) would overflow.
int kx_base64_decode(const char *in, int in_len, unsigned char *out, int out_size);
// URL-safe alphabet ('-', '_'), no padding. Encoded length, or -1 when the
// output (out_size bytes, NUL included) is too small.
int base64EncodeUrl(const unsigned char *in, int in_len, char *out, int out_size);
int base64DecodeUrl(const char *in, unsigned char *out, int out_size);
// Percent coding. The output is NUL-terminated and cut to out_size - 1.
// Return the output length.
int get_url_encode(const char *in, char *out, int out_size);
int get_url_decode(const char *in, char *out, int out_size);

// ---- Channel masks ----
// Bit i set when character i of `text` is '1' (characters 0 to 63).
uint64_t get_channel_mask(const char *text);
// Sets bit `bit` (0 to 63; others are ignored).
void kx_set_bit(uint64_t *mask, int bit);

// ---- Network queries (kxstd_net.h) ----
#include "kxstd_net.h"
