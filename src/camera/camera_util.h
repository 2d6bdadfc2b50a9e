// Helpers the camera handlers and decoders share: the three request
// families, reading the request JSON, and records described by field tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "camera.h"
#include "camera_records.h"

// Module-private: a namespace of its own, so that the generic names do not
// meet other modules' helpers in the one program.
namespace camera {

// ---- Request families ----
// Query: send and wait. The dispatcher's decoder writes the reply; when no
// answer comes the handler writes the time-out reply of `timeout_mode`
// (CGI_REPLY_TEXT, CGI_REPLY_JSON). True when answered.
bool query(int code, const void *payload, int length, int timeout_mode);
// Query of one channel: the int member `key` of the request JSON (0 when
// missing) as the 4-byte payload. -1, and no reply, when the text does not
// parse.
int query_channel(const char *text, const char *key, int code, int timeout_mode);
// Set and wait: the decoder answers "OK" or "ERROR" (reply_set_result).
bool set_and_wait(int code, const void *payload, int length, int timeout_mode);
// Set without waiting: send and reply "OK" as text at once.
void set_without_wait(int code, const void *payload, int length);

// ---- Decoder replies ----
// The shared success writer of set decoders: result word 0 answers "OK"
// (flag 2), anything else "ERROR" (flag 1), as text.
void reply_set_result(const void *payload, int length);
// Writes the object as the JSON reply and sets the flag to 1.
void reply_json(json_object *object);

// True when the member `key` is present and its text is not empty.
bool has_text(json_object *object, const char *key);

// The first element of the array member `key` when it is an object, else null.
json_object *first_object(json_object *object, const char *key);

// 64 characters '0'/'1', character i for bit i of the mask, and a NUL.
void channel_mask_text(uint64_t mask, char (&text)[65]);

// ---- Records described by field tables ----
// One field of a record: an int32 word, or a text of `text_size` bytes,
// under its reply key and its request key (null where it has none).
struct JsonField {
  const char *reply_key;
  const char *request_key;
  size_t offset;
  size_t text_size;  // 0: int32
};

#define CAMERA_INT(Record, field, reply, request) \
  camera::JsonField { reply, request, offsetof(Record, field), 0 }
#define CAMERA_TEXT(Record, field, reply, request) \
  camera::JsonField { reply, request, offsetof(Record, field), sizeof(Record::field) }
// Same key in the request and in the reply.
#define CAMERA_INT_KEY(Record, field) CAMERA_INT(Record, field, #field, #field)
#define CAMERA_TEXT_KEY(Record, field) CAMERA_TEXT(Record, field, #field, #field)

// Sets every field that has a request key from the request object (missing
// members read as 0 or empty text). `record` holds `size` bytes.
void fill_fields(json_object *request, void *record, size_t size,
                 std::span<const JsonField> fields);
// Adds every field that has a reply key to the reply, in table order.
void add_fields(json_object *reply, const void *record, size_t size,
                std::span<const JsonField> fields);

template <class Record>
void fill_record(json_object *request, Record *record, std::span<const JsonField> fields) {
  fill_fields(request, record, sizeof *record, fields);
}
template <class Record>
void add_record(json_object *reply, const Record &record, std::span<const JsonField> fields) {
  add_fields(reply, &record, sizeof record, fields);
}

}  // namespace camera
