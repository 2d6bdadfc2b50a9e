// Reading request payloads and building answers in the camera tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "sim_server.h"

namespace camera_test {

inline int32_t word_at(const Bytes &payload, size_t offset) {
  int32_t v = 0x5A5A5A5A;  // a value no test expects: the payload was too short
  if (offset + sizeof v <= payload.size()) memcpy(&v, payload.data() + offset, sizeof v);
  return v;
}

// The text at `offset`, read up to its NUL or `width` bytes.
inline std::string text_at(const Bytes &payload, size_t offset, size_t width) {
  if (offset >= payload.size()) return "<outside>";
  size_t n = payload.size() - offset < width ? payload.size() - offset : width;
  const char *p = reinterpret_cast<const char *>(payload.data() + offset);
  return std::string(p, strnlen(p, n));
}

inline bool zero_between(const Bytes &payload, size_t from, size_t to) {
  for (size_t i = from; i < to && i < payload.size(); i++) {
    if (payload[i] != 0) return false;
  }
  return to <= payload.size();
}

inline void put_word(Bytes &payload, size_t offset, int32_t value) {
  if (payload.size() < offset + sizeof value) payload.resize(offset + sizeof value);
  memcpy(payload.data() + offset, &value, sizeof value);
}

inline void put_text(Bytes &payload, size_t offset, const std::string &text) {
  if (payload.size() < offset + text.size()) payload.resize(offset + text.size());
  memcpy(payload.data() + offset, text.data(), text.size());
}

// A text field of `width` bytes: zeroed, then the text (cut to the width).
inline void put_field(Bytes &payload, size_t offset, size_t width, const std::string &text) {
  if (payload.size() < offset + width) payload.resize(offset + width);
  memset(payload.data() + offset, 0, width);
  memcpy(payload.data() + offset, text.data(), text.size() < width ? text.size() : width);
}

}  // namespace camera_test
