// Helpers the playback handlers and decoders share: request reading, the
// exchanges with the daemon, reply building, time texts, the session the
// request started and the operation-log entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>

#include "playback.h"
#include "playback_records.h"

// Module-private, in a namespace of its own so that the generic names do not
// meet other modules' helpers in the one program.
namespace playback {

// ---- Request text ----
// The body as a JSON object; null when it does not parse or is no object.
JsonPtr parse_object(const char *text);
bool has_member(json_object *object, const char *key);
bool has_members(json_object *object, std::initializer_list<const char *> keys);
// The member as json-c reads it as an integer (0 when absent).
int member_int(json_object *object, const char *key);
// Text of a member into a fixed field, cut to size - 1 ("" when absent).
void member_text(json_object *object, const char *key, char *field, size_t size);
// Elements of an array (0 when it is not an array), and element i as an integer.
int array_length(json_object *array);
int element_int(json_object *array, int i);
// Entries to take from request arrays: `num`, but at most `capacity` and no
// more than each array holds; never below 0.
int entries_to_take(int num, int capacity, std::initializer_list<json_object *> arrays);
// The body as a decimal number (leading blanks, a sign, digits; values
// beyond int saturate). False when it holds no number.
bool bare_number(const char *text, int *value);
// Channels the player addresses: 0 to 15.
inline bool is_player_channel(int channel) {
  return channel >= 0 && channel <= PLAYBACK_CHANNEL_LAST;
}
// Channels of this recorder ("max_cameras"), at most 64.
int db_get_device();

// ---- Exchanges ----
// One exchange with on_stream_callback. True when it was answered with flag
// 1; otherwise (no answer, or a refusal with flag 2) it writes the JSON error.
bool exchange(int code, const void *payload, int length);
// A request the daemon does not answer.
void notify(int code, const void *payload, int length);
template <class Record>
void notify(int code, const Record &record) {
  notify(code, &record, (int)sizeof record);
}
// Text reply of the endpoints that only tell the daemon: "OK".
void reply_ok();

// ---- Answers ----
// A fixed-size record from the start of an answer. False when the answer is
// shorter than the record (treated as no answer).
template <class Record>
bool answer_record(const void *payload, int length, Record *record) {
  if (!payload || length < (int)sizeof *record) return false;
  memcpy(record, payload, sizeof *record);
  return true;
}
// Text of a fixed-width field that may lack its terminator.
std::string field_text(const char *field, size_t width);
template <size_t N>
std::string field_text(const char (&field)[N]) {
  return field_text(field, N);
}
void json_add_int(json_object *object, const char *key, int value);
void json_add_text(json_object *object, const char *key, const std::string &text);
// Writes the object as the JSON reply and sets the flag to 1.
void reply_json(json_object *object);
// {"status": text} as the JSON reply; sets the flag.
void reply_status(const char *status);
// "%Y-%m-%d %H:%M:%S" of seconds since the epoch, in local time.
std::string time_text(int64_t seconds);

// ---- The session this request started ----
// Set when a start succeeds (by the handler, or by the daemon's 8103 answer
// on the receive thread), read when the session's stream is reported.
void forget_session();
void remember_session(int32_t sid, const char *play_time);
bool session_remembered();
int32_t remembered_sid();
std::string remembered_play_time();

// ---- Operation log (main type 4, parameter type 900) ----
constexpr int LOG_SUB_CHANNEL_EVENT = 205;
constexpr int LOG_SUB_LIVE_VIEW = 208;
constexpr int LOG_SUB_PLAYBACK = 209;
constexpr int LOG_SUB_IMAGE = 217;
constexpr int LOG_SUB_CHANNEL_USER_EVENT = 227;
constexpr int LOG_PARAM_CHANNEL = 900;
// `channel_field` is the entry's channel number: the channel plus 1, or 0
// for none. The detail block is packed when `detail` is given.
void send_playback_log(int sub_type, int32_t channel_field, int detail_kind = 0,
                       const void *detail = nullptr, int detail_length = 0);
// The channel field of a channel: channel + 1, without overflow.
int32_t log_channel(int32_t channel);

}  // namespace playback
