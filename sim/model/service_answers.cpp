// Alarm audio files, the diagnostic package and the service notices. The
// model keeps the ten audio slots, starts with two files of the demo when
// the settings hold none, and mirrors every change into the settings
// database, where the event pages read which slots are in use.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "kxdb.h"
#include "kxstd.h"
#include "model.h"
#include "system/service_records.h"

namespace {

constexpr int32_t kOk = 0;
constexpr int32_t kFailed = -1;
constexpr const char *kPackageName = "diagnosis report.txt";  // a blank: the reply encodes it

struct AudioLibrary {
  std::array<alarm_audio_file, ALARM_AUDIO_FILES> slots{};
};

std::vector<SimFrame> status_answer(int32_t status) {
  return {SimFrame{0, bytes_of_int(status), 0}};
}

std::vector<SimFrame> none(const SimRequest &) {
  return {};
}

void set_name(alarm_audio_file *slot, const char *display_name) {
  base64EncodeUrl((const unsigned char *)display_name, (int)strlen(display_name), slot->name,
                  (int)sizeof slot->name);
}

void save(const AudioLibrary &library) {
  for (const alarm_audio_file &slot : library.slots) write_alarm_audio_file(KXDB_FILE, &slot);
}

void load(AudioLibrary *library) {
  int count = 0;
  read_alarm_audio_file(KXDB_FILE, library->slots.data(), &count);
  for (int i = 0; i < ALARM_AUDIO_FILES; i++) library->slots[i].id = i;
  bool any = std::any_of(library->slots.begin(), library->slots.end(),
                         [](const alarm_audio_file &s) { return s.enable == 1; });
  if (any) return;
  library->slots[0].enable = 1;
  set_name(&library->slots[0], "Doorbell chime.wav");
  library->slots[1].enable = 1;
  set_name(&library->slots[1], "Warning: leave the area.wav");
  save(*library);
}

std::string payload_text(const Bytes &payload, size_t offset, size_t width) {
  if (payload.size() <= offset) return "";
  auto begin = payload.begin() + (long)offset;
  auto end = payload.begin() + (long)std::min(payload.size(), offset + width);
  return std::string(begin, std::find(begin, end, 0));
}

int32_t payload_int(const Bytes &payload, size_t offset) {
  int32_t value = 0;
  if (payload.size() >= offset + 4) memcpy(&value, payload.data() + offset, 4);
  return value;
}

// 4013: the encoded name of an upload waiting in "/tmp"; the daemon takes
// the file into the first free slot.
int32_t add_file(AudioLibrary &library, const Bytes &payload) {
  std::string encoded = payload_text(payload, 0, AUDIO_NAME_FIELD);
  if (encoded.empty() || encoded.find('/') != std::string::npos) return kFailed;
  std::string upload = std::string("/tmp/") + encoded;
  if (access(upload.c_str(), R_OK) != 0) return kFailed;
  for (alarm_audio_file &slot : library.slots) {
    if (slot.enable == 1) continue;
    slot.enable = 1;
    snprintf(slot.name, sizeof slot.name, "%s", encoded.c_str());
    unlink(upload.c_str());
    save(library);
    return kOk;
  }
  return kFailed;  // all ten slots in use
}

// 4014: the files of the mask's bits are deleted.
int32_t delete_files(AudioLibrary &library, const Bytes &payload) {
  int32_t mask = payload_int(payload, 0);
  for (int i = 0; i < ALARM_AUDIO_FILES; i++) {
    if (mask & (1 << i)) library.slots[i] = alarm_audio_file{i, 0, {}};
  }
  save(library);
  return kOk;
}

// 4015: a new encoded name for a file in use.
int32_t rename_file(AudioLibrary &library, const Bytes &payload) {
  if (payload.size() < sizeof(audio_file_request)) return kFailed;
  int32_t id = payload_int(payload, 0);
  std::string encoded = payload_text(payload, 8, AUDIO_NAME_FIELD);
  if (id < 0 || id >= ALARM_AUDIO_FILES || library.slots[id].enable != 1 || encoded.empty()) {
    return kFailed;
  }
  snprintf(library.slots[id].name, sizeof library.slots[id].name, "%s", encoded.c_str());
  save(library);
  return kOk;
}

// 3528: a small package in the directory asked for ("/tmp" only here).
std::vector<SimFrame> export_diagnosis(const AudioLibrary &library, const SimRequest &r) {
  std::string directory = payload_text(r.payload, 0, 64);
  if (directory != "/tmp") return status_answer(kFailed);
  std::string path = directory + "/" + kPackageName;
  FILE *f = fopen(path.c_str(), "w");
  if (!f) return status_answer(kFailed);
  int in_use = (int)std::count_if(library.slots.begin(), library.slots.end(),
                                  [](const alarm_audio_file &s) { return s.enable == 1; });
  fprintf(f, "diagnosis of the simulated recorder\nalarm audio files in use: %d\n", in_use);
  fclose(f);
  Bytes answer(DIAGNOSIS_PATH_OFFSET + 256, 0);
  memcpy(answer.data() + DIAGNOSIS_PATH_OFFSET, path.data(), path.size());
  return {SimFrame{0, answer, 0}};
}

}  // namespace

static void register_service_answers(SimServer &server, CoreModel &) {
  static AudioLibrary library;
  load(&library);
  // 4012: the ten slots, records of 136 bytes.
  server.on(4012, [](const SimRequest &) {
    Bytes out;
    for (const alarm_audio_file &slot : library.slots) {
      Bytes b = bytes_of(slot);
      out.insert(out.end(), b.begin(), b.end());
    }
    return std::vector<SimFrame>{SimFrame{0, out, 0}};
  });
  server.on(4013, [](const SimRequest &r) { return status_answer(add_file(library, r.payload)); });
  server.on(4014,
            [](const SimRequest &r) { return status_answer(delete_files(library, r.payload)); });
  server.on(4015,
            [](const SimRequest &r) { return status_answer(rename_file(library, r.payload)); });
  // 4016: the daemon plays the file of the id; nothing to keep here.
  server.on(4016, [](const SimRequest &r) {
    int32_t id = payload_int(r.payload, 0);
    bool used = id >= 0 && id < ALARM_AUDIO_FILES && library.slots[id].enable == 1;
    return status_answer(used ? kOk : kFailed);
  });
  server.on(3528, [](const SimRequest &r) { return export_diagnosis(library, r); });
  // 4000 (interface language) and 1722 (access filter changed) are notices:
  // the journal records them.
  server.on(4000, none);
  server.on(1722, none);
}

CORESIM_ANSWERS(register_service_answers)
