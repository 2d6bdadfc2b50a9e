// Settings records of the user accounts: the recorder's users (kxdb.db) and
// the branding defaults' users (oem.db). The daemon reads the same records.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int USER_MAX = 100;    // ids 0 to 99
constexpr int USER_RIGHTS = 10;  // live view, playback, retrieve, smart analysis, event,
                                 // camera, storage, settings, status, shutdown

// ---- Recorder user (one per id) ----
struct user_info {
  int32_t id;      // slot, 0 to 99
  int32_t enable;  // 1 = in use, 0 = deleted
  char name[64];
  char password[33];  // MD5 digest of the password, 32 hex characters
  char reserved0[3];
  int32_t type;  // 0 to 3; type 3 may not log in on the web
  // Channel rights: character i is '1' when channel i is allowed.
  char local_liveview[65];
  char local_playback[65];
  char remote_liveview[65];
  char remote_playback[65];
  char reserved1[33];
  char created[16];  // "0" once the account was created through the web
  char reserved2[3];
  int32_t local_rights[USER_RIGHTS];   // 1 = allowed, in the order above
  int32_t remote_rights[USER_RIGHTS];  // the same, from the network
  int32_t permission;                  // local permission level
  int32_t remote_permission;
  // Bits 0 to 31 of the four channel-rights texts, in the order above.
  uint32_t channel_masks[4];
};
static_assert(sizeof(user_info) == 528);
static_assert(offsetof(user_info, id) == 0);
static_assert(offsetof(user_info, enable) == 4);
static_assert(offsetof(user_info, name) == 8);
static_assert(offsetof(user_info, password) == 72);
static_assert(offsetof(user_info, reserved0) == 105);
static_assert(offsetof(user_info, type) == 108);
static_assert(offsetof(user_info, local_liveview) == 112);
static_assert(offsetof(user_info, local_playback) == 177);
static_assert(offsetof(user_info, remote_liveview) == 242);
static_assert(offsetof(user_info, remote_playback) == 307);
static_assert(offsetof(user_info, reserved1) == 372);
static_assert(offsetof(user_info, created) == 405);
static_assert(offsetof(user_info, reserved2) == 421);
static_assert(offsetof(user_info, local_rights) == 424);
static_assert(offsetof(user_info, remote_rights) == 464);
static_assert(offsetof(user_info, permission) == 504);
static_assert(offsetof(user_info, remote_permission) == 508);
static_assert(offsetof(user_info, channel_masks) == 512);

// Indexes of user_info::channel_masks.
enum user_channel_mask { USER_MASK_LOCAL_LIVEVIEW, USER_MASK_LOCAL_PLAYBACK,
                         USER_MASK_REMOTE_LIVEVIEW, USER_MASK_REMOTE_PLAYBACK };

// The enabled user with exactly this name. 0 found (record replaced), 1 no
// such user (record untouched), -1 database error (untouched). An empty name
// never matches, nor does a deleted user.
int read_user_by_name(const char *file, user_info *user, const char *name);
// The user of `id` (0 to 99); a slot never written reads as a zeroed record
// with its id. 0, or -1 (record untouched) for a bad id or a database error.
int read_user(const char *file, user_info *user, int id);
// Every stored user (deleted ones included) in id order into `users`, which
// holds USER_MAX records; `count` receives how many. 0 or -1.
int read_users(const char *file, user_info *users, int *count);
// Number of enabled users. 0 or -1.
int read_user_count(const char *file, int *count);
// Stores the user under its id (0 to 99). 0 or -1.
int write_user(const char *file, const user_info *user);
// Stores the user in the lowest free slot (never written, or deleted) and
// sets its id; the choice and the write are one transaction. 0, 1 when every
// slot is in use, -1 on a database error.
int add_user(const char *file, user_info *user);

// ---- Branding user (oem.db) ----
struct user_oem_info {
  int32_t id;
  int32_t enable;
  char name[64];
  char password[36];  // MD5 digest
  int32_t type;
  int32_t permission;
  int32_t remote_permission;
  char reserved[16];
};
static_assert(sizeof(user_oem_info) == 136);
static_assert(offsetof(user_oem_info, id) == 0);
static_assert(offsetof(user_oem_info, enable) == 4);
static_assert(offsetof(user_oem_info, name) == 8);
static_assert(offsetof(user_oem_info, password) == 72);
static_assert(offsetof(user_oem_info, type) == 108);
static_assert(offsetof(user_oem_info, permission) == 112);
static_assert(offsetof(user_oem_info, remote_permission) == 116);
static_assert(offsetof(user_oem_info, reserved) == 120);

// Every stored branding user in id order, at most USER_MAX. 0 or -1.
int read_users_oem(const char *file, user_oem_info *users, int *count);
// Stores the branding user under its id (0 to 99). 0 or -1.
int write_user_oem(const char *file, const user_oem_info *user);
