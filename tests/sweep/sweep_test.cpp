// The hostile-input sweep, in-process: every endpoint in the registry, as
// registered, gets requests no page would send while the daemon answers
// with junk or not at all. Nothing may crash (the sanitizers watch), hang,
// run a command from request text, write outside the device's writable
// places, leave an upload file or damage a settings database; afterwards a
// plain request still answers.
//
// The members a handler reads are found by watching its JSON lookups, so
// each one is then tried with every hostile value while the others hold
// plausible ones: a new endpoint is covered the day it is registered.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <json-c/json.h>
#include <mutex>
#include <set>
#include <thread>

#include "cgi_ipc.h"
#include "cgic.h"
#include "dispatchreq.h"
#include "handler_fixture.h"
#include "sweep_support.h"

using namespace std::chrono;

// ---- Which members a handler asks for (the link wraps json-c's lookups) ----
namespace {
std::mutex g_keys_mu;
std::set<std::string> g_keys;

void note_key(const char *key) {
  if (!key) return;
  std::lock_guard<std::mutex> lock(g_keys_mu);
  g_keys.insert(key);
}
}  // namespace

extern "C" {
json_bool __real_json_object_object_get_ex(const json_object *o, const char *key,
                                           json_object **value);
json_bool __wrap_json_object_object_get_ex(const json_object *o, const char *key,
                                           json_object **value) {
  note_key(key);
  return __real_json_object_object_get_ex(o, key, value);
}
json_object *__real_json_object_object_get(const json_object *o, const char *key);
json_object *__wrap_json_object_object_get(const json_object *o, const char *key) {
  note_key(key);
  return __real_json_object_object_get(o, key);
}
}

namespace {

using sweep::DaemonMode;

// Polls while the daemon answers (it hangs up after each answer, so a
// refused answer ends the wait at once) and while it is silent (each
// exchange then costs its whole budget: 1000 polls are 5 ms here).
constexpr microseconds kAnsweredPoll{200};
constexpr microseconds kSilentPoll{5};
// A handler may make many exchanges, but not without bound.
constexpr size_t kMaxRequestsPerCall = 300;
// Beyond the sum of its exchanges' budgets, what one request may take (the
// settings database, the sanitizers, the emulator).
constexpr milliseconds kSlack{5000};

// Aborts the run, naming the request, when one request hangs.
class Watchdog {
 public:
  Watchdog() : thread_([this] { run(); }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(mu_);
      quit_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }
  void arm(const std::string &what) {
    std::lock_guard<std::mutex> lock(mu_);
    what_ = what;
    deadline_ = steady_clock::now() + seconds(120);
    armed_ = true;
    cv_.notify_all();
  }
  void disarm() {
    std::lock_guard<std::mutex> lock(mu_);
    armed_ = false;
  }

 private:
  void run() {
    std::unique_lock<std::mutex> lock(mu_);
    while (!quit_) {
      if (armed_ && steady_clock::now() > deadline_) {
        fprintf(stderr, "sweep: no end after 120 s: %s\n", what_.c_str());
        abort();
      }
      cv_.wait_for(lock, milliseconds(500));
    }
  }
  std::mutex mu_;
  std::condition_variable cv_;
  std::string what_;
  steady_clock::time_point deadline_;
  bool armed_ = false, quit_ = false;
  std::thread thread_;
};

std::vector<std::string> registered_paths() {
  std::vector<std::string> paths;
  for (int slot = 0; slot < MAX_WEBREQ_COUNT; slot++) {
    if (const WebRes *r = WebResSlot(slot)) paths.push_back(r->path);
  }
  return paths;
}

std::string test_name(const ::testing::TestParamInfo<std::string> &info) {
  std::string name;
  for (char c : info.param) name += isalnum((unsigned char)c) ? c : '_';
  return name;
}

// Request texts that upload handlers receive: a stored file and the query.
std::vector<std::string> upload_texts() {
  return {"temp & a=1", "/tmp/" + std::string(400, 'n') + " & x",
          "/tmp/../../etc/passwd & " + sweep::shell_texts()[0],
          "/tmp/" + sweep::shell_texts()[1] + " & " + sweep::shell_texts()[2], " & ", "&"};
}

class Sweep : public HandlerTest, public ::testing::WithParamInterface<std::string> {
 protected:
  void SetUp() override {
    HandlerTest::SetUp();
    remove(sweep::kCanary);  // a finding names its own endpoint only
    null_in_ = fopen("/dev/null", "r");
    saved_in_ = cgiIn;
    cgiIn = null_in_;  // a handler that reads the body finds none
    // The request's environment is hostile too.
    static const std::string cookie = "language=en; userName=" + sweep::shell_texts()[0];
    static const std::string query = "param:" + sweep::shell_texts()[1] + "&x=%22y%22";
    cgiCookie = cookie.c_str();
    cgiQueryString = query.c_str();
    cgiServerAddr = "h\"; touch /tmp/sweep_canary; \":80";
    cgiRemoteAddr = "1.2.3.4$(touch /tmp/sweep_canary)";
  }
  void TearDown() override {
    cgiIn = saved_in_;
    fclose(null_in_);
    cgiCookie = cgiQueryString = cgiServerAddr = cgiRemoteAddr = "";
    HandlerTest::TearDown();
  }

  // Runs the handler once in `mode`; fails the test (naming the request)
  // when it takes longer than its exchanges allow or sends without bound.
  void run(const WebRes &res, const std::string &text, DaemonMode mode) {
    sweep::set_daemon_mode(daemon(), mode);
    microseconds poll = mode == DaemonMode::silent ? kSilentPoll : kAnsweredPoll;
    cgi_ipc_set_poll_period(poll);
    daemon().clear();
    std::string what = std::string(res.path) + " with " + sweep::mode_name(mode) + ": " +
                       text.substr(0, 120);
    watchdog_.arm(what);
    auto start = steady_clock::now();
    call(res.handler, text);
    auto took = steady_clock::now() - start;
    watchdog_.disarm();
    cgi_stop_ipc();
    calls_++;

    auto sent = daemon().requests();
    microseconds allowed = kSlack;
    for (const SimRequest &r : sent) allowed += cgi_ipc_wait_polls(r.code) * poll;
    EXPECT_LE(took, allowed) << "too slow: " << what;
    EXPECT_LE(sent.size(), kMaxRequestsPerCall) << "unbounded requests: " << what;
    slowest_ = std::max(slowest_, duration_cast<milliseconds>(took));
  }

  // The members the handler reads: ask with an empty object, then with
  // every member found so far set to 0, until no new one turns up.
  std::vector<std::string> discover(const WebRes &res) {
    std::map<std::string, std::string> body;
    for (int round = 0; round < 6; round++) {
      {
        std::lock_guard<std::mutex> lock(g_keys_mu);
        g_keys.clear();
      }
      run(res, sweep::json_object_text(body), DaemonMode::zeros);
      size_t before = body.size();
      std::lock_guard<std::mutex> lock(g_keys_mu);
      for (const std::string &k : g_keys) body.emplace(k, "0");
      if (body.size() == before) break;
    }
    std::vector<std::string> keys;
    for (auto &[k, v] : body) keys.push_back(k);
    return keys;
  }

  // Each member with each hostile value, the others plausible; sampled
  // evenly when a handler reads very many members.
  std::vector<std::string> member_requests(const std::vector<std::string> &keys) {
    const auto &values = sweep::bad_json_values();
    std::map<std::string, std::string> base;
    for (const auto &k : keys) base[k] = "0";
    std::vector<std::string> out;
    size_t pairs = keys.size() * values.size();
    size_t stride = pairs > 400 ? (pairs + 399) / 400 : 1;
    for (size_t i = 0; i < pairs; i += stride) {
      auto body = base;
      body[keys[i % keys.size()]] = values[(i / keys.size()) % values.size()];
      out.push_back(sweep::json_object_text(body));
    }
    // Every member hostile at once, one value at a time.
    for (const auto &v : values) {
      std::map<std::string, std::string> all;
      for (const auto &k : keys) all[k] = v;
      out.push_back(sweep::json_object_text(all));
    }
    return out;
  }

  void expect_sound_state(const std::string &after) {
    EXPECT_EQ(sweep::canary_absent(), "") << after;
    EXPECT_EQ(sweep::no_upload_temp_files(), "") << after;
    EXPECT_EQ(sweep::databases_intact(), "") << after;
  }

  Watchdog watchdog_;
  FILE *null_in_ = nullptr, *saved_in_ = nullptr;
  int calls_ = 0;
  milliseconds slowest_{0};
};

TEST_P(Sweep, HostileRequestsAndAnswersAreSurvived) {
  const WebRes *res = FindWebRes(GetParam().c_str());
  ASSERT_TRUE(res);
  sweep::FsSnapshot before;
  auto start = steady_clock::now();

  std::vector<std::string> requests = member_requests(discover(*res));
  for (const std::string &t : sweep::text_requests((unsigned)GetParam().size())) {
    requests.push_back(t);
  }
  for (const std::string &t : upload_texts()) requests.push_back(t);
  // Every daemon mode meets every kind of request.
  for (size_t i = 0; i < requests.size(); i++) {
    run(*res, requests[i], (DaemonMode)((i + GetParam().size()) % sweep::kDaemonModes));
  }
  // A plausible request against each kind of answer.
  for (int m = 0; m < sweep::kDaemonModes; m++) run(*res, "{}", (DaemonMode)m);

  expect_sound_state("after the requests to " + GetParam());
  EXPECT_EQ(sweep::FsSnapshot().changes_since(before), "");
  // The program still answers a plain request.
  if (const WebRes *plain = FindWebRes("/6108")) {
    EXPECT_NE(call(plain->handler, ""), "") << "no reply to a plain request afterwards";
  }
  RecordProperty("requests", calls_);
  RecordProperty("slowest_ms", (int)slowest_.count());
  RecordProperty("total_ms",
                 (int)duration_cast<milliseconds>(steady_clock::now() - start).count());
}

INSTANTIATE_TEST_SUITE_P(Registry, Sweep, ::testing::ValuesIn(registered_paths()), test_name);

TEST(SweepCoverage, EveryRegisteredEndpointIsSwept) {
  // The sweep takes its endpoints from the registry: all of them, and only once.
  auto paths = registered_paths();
  EXPECT_EQ((int)paths.size(), WebResCount());
  std::set<std::string> unique(paths.begin(), paths.end());
  EXPECT_EQ(unique.size(), paths.size()) << "a path is registered twice";
  EXPECT_GE(paths.size(), 40u);
}

}  // namespace
