// Learns what each handler reads from its request and what it answers, by
// running it in-process against the fake daemon (answering every request
// with zeros) the way the hostile-input sweep learns its members: the link
// wraps json-c's lookups and getters, so each member the handler asks for is
// seen with the JSON type it asks for, and nested members as the request
// grows round by round. Also seen: a request read as a bare number, names
// looked for in the request text (query values), an upload file the handler
// opens, and the kind of each reply.
//
// The result is the "learnt shapes" that `webcgi --openapi` turns into the
// document (src/entry/openapi.h describes the entries).
#pragma once

#include <json-c/json.h>
#include <memory>
#include <string>

#include "dispatchreq.h"
#include "fake_daemon.h"

namespace apilearn {

// A fresh settings database, the fake daemon and the reply capture while
// it lives (inside the device root).
class Learner {
 public:
  Learner();
  ~Learner();
  Learner(const Learner &) = delete;
  Learner &operator=(const Learner &) = delete;

  // The learnt entry of one endpoint; the caller releases it.
  json_object *learn(const WebRes &row);

 private:
  std::string run(const WebRes &row, const std::string &text);
  void learn_members(const WebRes &row, int value, size_t array_length);
  bool opens_file(const WebRes &row);
  bool opens_upload(const WebRes &row);
  void note_reply(const std::string &reply);
  std::string take_output();

  std::unique_ptr<FakeDaemon> daemon_;
  char *buffer_ = nullptr;
  size_t length_ = 0;
  FILE *saved_out_ = nullptr, *saved_in_ = nullptr, *null_in_ = nullptr;
  json_object *replies_ = nullptr;  // kinds seen for the endpoint being learnt
};

// The learnt shapes of every registered endpoint, keyed by path in slot
// order (settings reset before each). The caller releases it.
json_object *learn_registry();

}  // namespace apilearn
