// The hostile-input sweep: what it sends, how the daemon misbehaves, and
// what must hold afterwards. Shared by the in-process sweep over every
// registered endpoint and the end-to-end sample through the real program.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "fake_daemon.h"

namespace sweep {

// Named in every text that could reach a shell: it must never appear.
constexpr const char *kCanary = "/tmp/sweep_canary";

// Texts holding shell metacharacters, each of which would create the canary
// if it reached a shell unquoted.
const std::vector<std::string> &shell_texts();

// JSON values a page would never send for a number, a text or an array.
const std::vector<std::string> &bad_json_values();

// Request texts that are not JSON: bare numbers out of range, queries,
// form bodies, over-long texts, random bytes.
std::vector<std::string> text_requests(unsigned seed);

// A JSON object text of the given members (values are JSON texts).
std::string json_object_text(const std::map<std::string, std::string> &members);
// A JSON string holding `text` (quotes and control characters escaped).
std::string json_string(const std::string &text);

// How the daemon answers every request.
enum class DaemonMode { zeros, ones, random, scrap, silent };
constexpr int kDaemonModes = 5;
const char *mode_name(DaemonMode mode);
// Every request answered in `mode`; the daemon hangs up after its answer, so
// an answer the decoder refuses ends the wait at once (silent: no answer).
void set_daemon_mode(FakeDaemon &daemon, DaemonMode mode);

// What must hold after hostile requests. Each returns "" when it holds, or
// what went wrong.
std::string canary_absent();
std::string no_upload_temp_files();
std::string databases_intact();

// The files outside the device's writable places (names, sizes, times), to
// compare before and after: nothing may appear or change there.
class FsSnapshot {
 public:
  FsSnapshot();
  // The differences from `before`, "" when there are none.
  std::string changes_since(const FsSnapshot &before) const;

 private:
  std::map<std::string, std::string> entries_;
};

}  // namespace sweep
