#include "kxdb_face.h"

namespace {
constexpr const char *kEvent = "face_event";
constexpr const char *kEffective = "face_effective_sche";
constexpr const char *kAudible = "face_audible_sche";
constexpr const char *kEmail = "face_email_sche";
constexpr const char *kPtz = "face_ptz_sche";
constexpr const char *kWhite = "face_whiteled_esche";
}  // namespace

int read_face_event(const char *file, linkage_event *record, int channel) {
  return linkage_read_event(file, kEvent, record, channel, FACE_CHANNELS);
}
int write_face_event(const char *file, const linkage_event *record) {
  return linkage_write_event(file, kEvent, record, FACE_CHANNELS);
}

int read_face_effective_schedule(const char *file, schedule *s, int channel) {
  return linkage_read_schedule(file, kEffective, s, channel, FACE_CHANNELS);
}
int write_face_effective_schedule(const char *file, const schedule *s, int channel) {
  return linkage_write_schedule(file, kEffective, s, channel, FACE_CHANNELS);
}
int read_face_audible_schedule(const char *file, schedule *s, int channel) {
  return linkage_read_schedule(file, kAudible, s, channel, FACE_CHANNELS);
}
int write_face_audible_schedule(const char *file, const schedule *s, int channel) {
  return linkage_write_schedule(file, kAudible, s, channel, FACE_CHANNELS);
}
int read_face_email_schedule(const char *file, schedule *s, int channel) {
  return linkage_read_schedule(file, kEmail, s, channel, FACE_CHANNELS);
}
int write_face_email_schedule(const char *file, const schedule *s, int channel) {
  return linkage_write_schedule(file, kEmail, s, channel, FACE_CHANNELS);
}
int read_face_ptz_schedule(const char *file, schedule *s, int channel) {
  return linkage_read_schedule(file, kPtz, s, channel, FACE_CHANNELS);
}
int write_face_ptz_schedule(const char *file, const schedule *s, int channel) {
  return linkage_write_schedule(file, kPtz, s, channel, FACE_CHANNELS);
}
int read_face_white_schedule(const char *file, schedule *s, int channel) {
  return linkage_read_schedule(file, kWhite, s, channel, FACE_CHANNELS);
}
int write_face_white_schedule(const char *file, const schedule *s, int channel) {
  return linkage_write_schedule(file, kWhite, s, channel, FACE_CHANNELS);
}
