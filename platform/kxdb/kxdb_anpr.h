// Plate lists of the licence-plate recognition, in their own database file
// (ANPR_DB_FILE): one entry per plate, the list it belongs to as its type.
// Plates are compared as exact byte strings; no character is a pattern.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kxdb_vca.h"

struct anpr_list_entry {
  char type[16];   // the list, as the page names it
  char plate[64];  // the plate text
};
static_assert(sizeof(anpr_list_entry) == 80);
static_assert(offsetof(anpr_list_entry, type) == 0);
static_assert(offsetof(anpr_list_entry, plate) == 16);

// Entries the file holds at most; adding a new plate to a full file fails.
constexpr int ANPR_LIST_MAX = 10000;

// Adds the entries, each replacing the entry of its plate. 0 or -1 (none kept).
int write_anpr_list_replace_batch(const char *file, const anpr_list_entry *entries, int count);
// Deletes the entries of the plates given (the types are not compared). 0 or -1.
int delete_anpr_lists(const char *file, const anpr_list_entry *entries, int count);
int delete_anpr_list(const char *file, const anpr_list_entry *entry);
// Fills `entry` with the stored entry of `plate`: 0 found, 1 not, -1 error.
int read_anpr_list_plate(const char *file, anpr_list_entry *entry, const char *plate);
// Replaces the type of the stored entry of the entry's plate: 0, 1 when the
// plate is not stored (nothing written), -1 error.
int update_anpr_list(const char *file, const anpr_list_entry *entry);
// Adds one entry (replacing the entry of its plate). 0 or -1.
int write_anpr_list(const char *file, const anpr_list_entry *entry);
// Every entry in the order added, at most `capacity`. 0 or -1.
int read_anpr_lists(const char *file, anpr_list_entry *entries, int capacity, int *count);

// ---- Actions of a list mode, in the settings database ----

// List modes: -1 any plate (arming schedule only), 0 black list, 1 white
// list, 2 visitor.
constexpr int ANPR_MODE_ANY = -1;
constexpr int ANPR_MODE_MAX = 2;
inline bool anpr_mode_valid(int mode) {
  return mode >= ANPR_MODE_ANY && mode <= ANPR_MODE_MAX;
}

// The action record of a channel and mode has the smart-event layout.
using anpr_event = smart_event;

// Channels outside 0 to 63 and modes outside -1 to 2 are refused (-1). A
// record never written reads as its factory default (zeroed, channel set).
int read_anpr_event(const char *file, anpr_event *record, int channel, int mode);
int write_anpr_event(const char *file, const anpr_event *record, int mode);
int read_anpr_effective_schedule(const char *file, schedule *s, int channel, int mode);
int write_anpr_effective_schedule(const char *file, const schedule *s, int channel, int mode);
int read_anpr_audible_schedule(const char *file, schedule *s, int channel, int mode);
int write_anpr_audible_schedule(const char *file, const schedule *s, int channel, int mode);
int read_anpr_mail_schedule(const char *file, schedule *s, int channel, int mode);
int write_anpr_mail_schedule(const char *file, const schedule *s, int channel, int mode);
int read_anpr_ptz_schedule(const char *file, schedule *s, int channel, int mode);
int write_anpr_ptz_schedule(const char *file, const schedule *s, int channel, int mode);
