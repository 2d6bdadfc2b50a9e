#include "api_learn.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <set>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>

#include "cgi_deal.h"
#include "cgi_ipc.h"
#include "cgic.h"
#include "handler_fixture.h"
#include "json_codecs.h"
#include "sweep_support.h"

namespace apilearn {
namespace {

// ---- What one request's handler asked of its JSON ----

enum class Kind { unknown, integer, number, string, boolean, array, object };

struct Node {
  Kind kind = Kind::unknown;
  bool firm = false;  // asked by a getter, not only by a type check
  std::map<std::string, std::unique_ptr<Node>> members;
  // What was asked of each element, by index: a loop asks the same of
  // every one; a fixed layout (["00:00", "24:00", 1]) asks differently.
  std::vector<std::unique_ptr<Node>> elements;
};

// Positions learnt of one array at most: a request's arrays stay small.
constexpr size_t kMaxPositions = 16;

// Shared with the wrappers below; the handler may look things up on the
// daemon channel's receive thread too.
struct Watch {
  std::mutex mu;
  bool active = false;
  const char *text = nullptr;  // the buffer handed to the handler
  std::string request;         // what it held
  Node root;
  bool parsed = false;  // the request text was parsed as JSON
  bool bare = false;    // the request text was read as a number
  std::set<std::string> query;
  std::map<const json_object *, Node *> seen;  // values of the request, this run
} g_watch;

bool is_container(Kind kind) {
  return kind == Kind::array || kind == Kind::object;
}

// A type the handler asked for: a getter decides, a type check only where
// no getter has. json-c reads an array or an object as a number or a text
// too (0, its JSON text), never the other way round: asking for a container,
// even by a type check, wins over a number or a text asked for first.
void note(Node *node, Kind kind, bool firm) {
  if (!node || kind == Kind::unknown) return;
  if (is_container(kind) && !is_container(node->kind)) {
    node->kind = kind;
    node->firm = true;
    return;
  }
  if (node->firm) return;
  if (firm || node->kind == Kind::unknown) node->kind = kind;
  node->firm = firm;
}

Node *tracked(const json_object *o) {
  auto it = g_watch.seen.find(o);
  return it == g_watch.seen.end() ? nullptr : it->second;
}

void note_value(const json_object *o, Kind kind, bool firm) {
  std::lock_guard<std::mutex> lock(g_watch.mu);
  if (g_watch.active) note(tracked(o), kind, firm);
}

void note_member(const json_object *o, const char *key, const json_object *value) {
  std::lock_guard<std::mutex> lock(g_watch.mu);
  Node *node = g_watch.active && key ? tracked(o) : nullptr;
  if (!node) return;
  note(node, Kind::object, true);
  std::unique_ptr<Node> &member = node->members[key];
  if (!member) member = std::make_unique<Node>();
  if (value) g_watch.seen[value] = member.get();
}

void note_element(const json_object *array, size_t index, const json_object *element) {
  std::lock_guard<std::mutex> lock(g_watch.mu);
  Node *node = g_watch.active ? tracked(array) : nullptr;
  if (!node) return;
  note(node, Kind::array, true);
  if (index >= kMaxPositions) return;
  while (node->elements.size() <= index) node->elements.push_back(std::make_unique<Node>());
  if (element) g_watch.seen[element] = node->elements[index].get();
}

// A parse of the request text (or of a part of it) gives its root.
void note_parse(const char *text, const json_object *root) {
  std::lock_guard<std::mutex> lock(g_watch.mu);
  if (!g_watch.active || !text || !root) return;
  bool request = text == g_watch.text || g_watch.request == text ||
                 (strlen(text) > 1 && g_watch.request.find(text) != std::string::npos);
  if (!request) return;
  g_watch.parsed = true;
  g_watch.seen[root] = &g_watch.root;
}

void note_number_read(const char *text) {
  std::lock_guard<std::mutex> lock(g_watch.mu);
  if (g_watch.active && text && text == g_watch.text) g_watch.bare = true;
}

// A name looked for in the request text ("aes=", "param:", "reset") is a
// query value.
void note_search(const char *haystack, const char *needle) {
  std::lock_guard<std::mutex> lock(g_watch.mu);
  if (!g_watch.active || !needle || !haystack) return;
  if (haystack < g_watch.text || haystack > g_watch.text + g_watch.request.size()) return;
  size_t n = strlen(needle);
  if (n > 0 && (needle[n - 1] == '=' || needle[n - 1] == ':')) n--;
  if (n < 2) return;
  for (size_t i = 0; i < n; i++) {
    if (!isalnum((unsigned char)needle[i]) && needle[i] != '_') return;
  }
  g_watch.query.insert(std::string(needle, n));
}

Kind kind_of_type(json_type type) {
  switch (type) {
    case json_type_int: return Kind::integer;
    case json_type_double: return Kind::number;
    case json_type_string: return Kind::string;
    case json_type_boolean: return Kind::boolean;
    case json_type_array: return Kind::array;
    case json_type_object: return Kind::object;
    default: return Kind::unknown;
  }
}

}  // namespace
}  // namespace apilearn

// ---- The link's wraps (-Wl,--wrap=...) ----
using namespace apilearn;
extern "C" {
json_object *__real_json_tokener_parse(const char *text);
json_object *__wrap_json_tokener_parse(const char *text) {
  json_object *root = __real_json_tokener_parse(text);
  note_parse(text, root);
  return root;
}
json_bool __real_json_object_object_get_ex(const json_object *o, const char *key,
                                           json_object **value);
json_bool __wrap_json_object_object_get_ex(const json_object *o, const char *key,
                                           json_object **value) {
  json_object *found = nullptr;
  json_bool ok = __real_json_object_object_get_ex(o, key, &found);
  note_member(o, key, found);
  if (value) *value = found;
  return ok;
}
json_object *__real_json_object_object_get(const json_object *o, const char *key);
json_object *__wrap_json_object_object_get(const json_object *o, const char *key) {
  json_object *found = __real_json_object_object_get(o, key);
  note_member(o, key, found);
  return found;
}
int __real_json_object_object_length(const json_object *o);
int __wrap_json_object_object_length(const json_object *o) {
  note_value(o, Kind::object, true);
  return __real_json_object_object_length(o);
}
int32_t __real_json_object_get_int(const json_object *o);
int32_t __wrap_json_object_get_int(const json_object *o) {
  note_value(o, Kind::integer, true);
  return __real_json_object_get_int(o);
}
int64_t __real_json_object_get_int64(const json_object *o);
int64_t __wrap_json_object_get_int64(const json_object *o) {
  note_value(o, Kind::integer, true);
  return __real_json_object_get_int64(o);
}
double __real_json_object_get_double(const json_object *o);
double __wrap_json_object_get_double(const json_object *o) {
  note_value(o, Kind::number, true);
  return __real_json_object_get_double(o);
}
json_bool __real_json_object_get_boolean(const json_object *o);
json_bool __wrap_json_object_get_boolean(const json_object *o) {
  note_value(o, Kind::boolean, true);
  return __real_json_object_get_boolean(o);
}
const char *__real_json_object_get_string(json_object *o);
const char *__wrap_json_object_get_string(json_object *o) {
  note_value(o, Kind::string, true);
  return __real_json_object_get_string(o);
}
int __real_json_object_get_string_len(const json_object *o);
int __wrap_json_object_get_string_len(const json_object *o) {
  note_value(o, Kind::string, true);
  return __real_json_object_get_string_len(o);
}
size_t __real_json_object_array_length(const json_object *o);
size_t __wrap_json_object_array_length(const json_object *o) {
  note_value(o, Kind::array, true);
  return __real_json_object_array_length(o);
}
json_object *__real_json_object_array_get_idx(const json_object *o, size_t i);
json_object *__wrap_json_object_array_get_idx(const json_object *o, size_t i) {
  json_object *element = __real_json_object_array_get_idx(o, i);
  note_element(o, i, element);
  return element;
}
int __real_json_object_is_type(const json_object *o, json_type type);
int __wrap_json_object_is_type(const json_object *o, json_type type) {
  note_value(o, kind_of_type(type), false);
  return __real_json_object_is_type(o, type);
}
long __real_strtol(const char *text, char **end, int base);
long __wrap_strtol(const char *text, char **end, int base) {
  note_number_read(text);
  return __real_strtol(text, end, base);
}
long long __real_strtoll(const char *text, char **end, int base);
long long __wrap_strtoll(const char *text, char **end, int base) {
  note_number_read(text);
  return __real_strtoll(text, end, base);
}
int __real_atoi(const char *text);
int __wrap_atoi(const char *text) {
  note_number_read(text);
  return __real_atoi(text);
}
char *__real_strstr(const char *haystack, const char *needle);
char *__wrap_strstr(const char *haystack, const char *needle) {
  note_search(haystack, needle);
  return __real_strstr(haystack, needle);
}
}

namespace apilearn {
namespace {

// Polls while the daemon answers (every exchange ends at once; 1000 polls
// are 2 s, ample on a loaded machine or under the emulator, so that what is
// learnt does not depend on the load) and while it is silent (each exchange
// then lasts its whole budget: 1000 polls are 5 ms).
constexpr std::chrono::microseconds kAnsweredPoll{2000};
constexpr std::chrono::microseconds kSilentPoll{5};
constexpr int kMaxRounds = 8;
// An upload lands in /tmp under the client's base name.
constexpr const char *kUploadProbe = "/tmp/apilearn-upload.bin";

const char *kind_name(Kind kind) {
  switch (kind) {
    case Kind::integer: return "integer";
    case Kind::number: return "number";
    case Kind::string: return "string";
    case Kind::boolean: return "boolean";
    case Kind::array: return "array";
    case Kind::object: return "object";
    default: return nullptr;
  }
}

void add_element_schemas(json_object *schema, const Node &node);

std::string plain_text(json_object *value) {
  return json_object_to_json_string_ext(value, JSON_C_TO_STRING_PLAIN);
}

// JSON Schema of what the handler asked of a value.
json_object *schema_of(const Node &node) {
  json_object *schema = json_object_new_object();
  if (const char *type = kind_name(node.kind)) {
    json_object_object_add(schema, "type", json_object_new_string(type));
  }
  if (node.kind == Kind::object && !node.members.empty()) {
    json_object *properties = json_object_new_object();
    for (const auto &[key, member] : node.members) {
      json_object_object_add(properties, key.c_str(), schema_of(*member));
    }
    json_object_object_add(schema, "properties", properties);
  }
  if (node.kind == Kind::array && !node.elements.empty()) add_element_schemas(schema, node);
  return schema;
}

// One node asked all that `nodes` were asked (the first kind known).
std::unique_ptr<Node> merged(const std::vector<const Node *> &nodes) {
  auto out = std::make_unique<Node>();
  std::map<std::string, std::vector<const Node *>> members;
  size_t positions = 0;
  for (const Node *node : nodes) {
    if (out->kind == Kind::unknown) out->kind = node->kind;
    for (const auto &[key, member] : node->members) members[key].push_back(member.get());
    positions = std::max(positions, node->elements.size());
  }
  for (const auto &[key, list] : members) out->members[key] = merged(list);
  for (size_t i = 0; i < positions; i++) {
    std::vector<const Node *> list;
    for (const Node *node : nodes) {
      if (i < node->elements.size()) list.push_back(node->elements[i].get());
    }
    out->elements.push_back(merged(list));
  }
  return out;
}

// Elements sent in the last rounds of an array whose layout is not known.
constexpr size_t kLayoutProbe = 3;

// "items" when every element was asked for as the same kind (a loop), else
// "prefixItems" with one schema per position (a fixed layout: kinds that
// differ, or a few positions asked of a longer array; a loop bounded by a
// count reads one element of it, as the counts sent are 0 and 1). Called
// with the watch locked: no wrapped json-c call here.
void add_element_schemas(json_object *schema, const Node &node) {
  std::vector<const Node *> elements;
  Kind kind = Kind::unknown;
  bool same = true;
  for (const auto &element : node.elements) {
    elements.push_back(element.get());
    if (element->kind == Kind::unknown) continue;
    same = same && (kind == Kind::unknown || kind == element->kind);
    kind = element->kind;
  }
  if (elements.size() > 1 && elements.size() < kLayoutProbe) same = false;
  if (same) {
    json_object_object_add(schema, "items", schema_of(*merged(elements)));
    return;
  }
  json_object *positions = json_object_new_array();
  for (const Node *element : elements) json_object_array_add(positions, schema_of(*element));
  json_object_object_add(schema, "prefixItems", positions);
}

// Elements of an array whose positions are not known yet, in a request.
size_t g_sample_length = 1;

// A request holding every member learnt so far, numbers and texts `value`.
json_object *sample_of(const Node &node, int value) {
  switch (node.kind) {
    case Kind::object: {
      json_object *object = json_object_new_object();
      for (const auto &[key, member] : node.members) {
        json_object_object_add(object, key.c_str(), sample_of(*member, value));
      }
      return object;
    }
    case Kind::array: {
      json_object *array = json_object_new_array();
      for (const auto &element : node.elements) json_object_array_add(array, sample_of(*element, value));
      // Longer arrays show a fixed layout: its later positions are asked for.
      for (size_t i = node.elements.size(); i < g_sample_length; i++) {
        json_object_array_add(array, node.elements.empty() ? json_object_new_int(value)
                                                           : sample_of(*node.elements[0], value));
      }
      return array;
    }
    case Kind::string: return json_object_new_string(value ? "1" : "0");
    case Kind::boolean: return json_object_new_boolean(value);
    default: return json_object_new_int(value);
  }
}

// The same, releasing the value.
std::string json_text(json_object *value) {
  JsonPtr owned(value);
  return plain_text(value);
}

std::string request_text(int value) {
  std::lock_guard<std::mutex> lock(g_watch.mu);
  if (g_watch.root.kind == Kind::unknown) return "{}";
  return json_text(sample_of(g_watch.root, value));
}

// Everything learnt of the request so far, to see when a round adds nothing.
std::string learnt_so_far() {
  std::lock_guard<std::mutex> lock(g_watch.mu);
  std::string out = json_text(schema_of(g_watch.root));
  out += g_watch.bare ? " bare" : "";
  for (const auto &name : g_watch.query) out += " " + name;
  return out;
}

void reset_watch() {
  std::lock_guard<std::mutex> lock(g_watch.mu);
  g_watch.root = Node();
  g_watch.parsed = g_watch.bare = false;
  g_watch.query.clear();
  g_watch.seen.clear();
}

void begin_watch(const char *buffer, const std::string &text) {
  std::lock_guard<std::mutex> lock(g_watch.mu);
  g_watch.text = buffer;
  g_watch.request = text;
  g_watch.seen.clear();
  g_watch.active = true;
}

void end_watch() {
  std::lock_guard<std::mutex> lock(g_watch.mu);
  g_watch.active = false;
  g_watch.text = nullptr;
  g_watch.seen.clear();  // the values are gone with the request
}

// The request body's schema: what the parsed JSON was asked for, else a
// bare number, else any JSON; null when the handler reads no request text.
json_object *body_schema() {
  std::lock_guard<std::mutex> lock(g_watch.mu);
  if (g_watch.root.kind != Kind::unknown) return schema_of(g_watch.root);
  if (g_watch.bare) {
    json_object *schema = json_object_new_object();
    json_object_object_add(schema, "type", json_object_new_string("integer"));
    return schema;
  }
  return g_watch.parsed ? json_object_new_object() : nullptr;
}

json_object *query_names() {
  std::lock_guard<std::mutex> lock(g_watch.mu);
  json_object *names = json_object_new_array();
  for (const auto &name : g_watch.query) json_object_array_add(names, json_object_new_string(name.c_str()));
  return names;
}

// "object", "array", "text", "file" or "nothing", from the header and body.
const char *reply_kind(const std::string &reply) {
  if (reply.empty()) return "nothing";
  size_t end = reply.find("\r\n\r\n");
  std::string header = end == std::string::npos ? "" : reply.substr(0, end);
  for (char &c : header) c = (char)tolower((unsigned char)c);
  if (header.find("application/octet-stream") != std::string::npos) return "file";
  if (header.find("application/json") == std::string::npos) return "text";
  JsonPtr body(json_tokener_parse(reply.c_str() + end + 4));
  return json_object_is_type(body.get(), json_type_array) ? "array" : "object";
}

bool is_listed(json_object *array, const char *text) {
  for (size_t i = 0; i < json_object_array_length(array); i++) {
    if (strcmp(json_object_get_string(json_object_array_get_idx(array, i)), text) == 0) return true;
  }
  return false;
}

}  // namespace

Learner::Learner() {
  reset_settings();
  daemon_ = std::make_unique<FakeDaemon>();
  sweep::set_daemon_mode(*daemon_, sweep::DaemonMode::zeros);
  cgi_ipc_set_poll_period(kAnsweredPoll);
  cgiRemoteAddr = "192.168.1.10";
  cgiCookie = "language=en; userName=admin";
  cgiServerAddr = "10.0.0.5:8080";
  cgiQueryString = "";
  saved_out_ = cgiOut;
  cgiOut = open_memstream(&buffer_, &length_);
  null_in_ = fopen("/dev/null", "r");
  saved_in_ = cgiIn;
  cgiIn = null_in_;  // a handler that reads the body finds none
}

Learner::~Learner() {
  cgi_stop_ipc();
  fclose(cgiOut);
  free(buffer_);
  cgiOut = saved_out_;
  cgiIn = saved_in_;
  if (null_in_) fclose(null_in_);
  daemon_.reset();
  reset_settings();
}

std::string Learner::take_output() {
  return take_memstream(cgiOut, buffer_, length_);
}

std::string Learner::run(const WebRes &row, const std::string &text) {
  take_output();
  std::vector<char> buffer(text.begin(), text.end());
  buffer.resize(text.size() + 1 < 30720 ? 30720 : text.size() + 1, '\0');
  begin_watch(buffer.data(), text);
  row.handler(buffer.data());
  cgi_stop_ipc();
  end_watch();
  std::string reply = take_output();
  note_reply(reply);
  return reply;
}

void Learner::note_reply(const std::string &reply) {
  const char *kind = reply_kind(reply);
  if (replies_ && !is_listed(replies_, kind)) {
    json_object_array_add(replies_, json_object_new_string(kind));
  }
}

// Rounds of requests holding every member learnt so far (numbers and texts
// `value`, arrays of a layout not known yet `array_length` long), until a
// round adds nothing.
void Learner::learn_members(const WebRes &row, int value, size_t array_length) {
  g_sample_length = array_length;
  for (int round = 0; round < kMaxRounds; round++) {
    std::string before = learnt_so_far();
    run(row, request_text(value));
    if (learnt_so_far() == before && round > 0) break;
  }
}

// The query values learnt so far, as an upload's text carries them; each
// value long enough for a key (32 characters).
std::string query_text() {
  std::lock_guard<std::mutex> lock(g_watch.mu);
  std::string out;
  for (const auto &name : g_watch.query) {
    out += (out.empty() ? "" : "&") + name + "=" + std::string(32, '0');
  }
  return out;
}

size_t query_count() {
  std::lock_guard<std::mutex> lock(g_watch.mu);
  return g_watch.query.size();
}

// Whether the handler opens (or moves, or removes) the file its request
// names, as an upload handler does.
bool Learner::opens_file(const WebRes &row) {
  int file = open(kUploadProbe, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (file < 0) return false;
  bool written = write(file, "learnt upload\n", 14) == 14;
  close(file);
  int watch = inotify_init1(IN_NONBLOCK);
  bool touched = false;
  if (watch >= 0 && written &&
      inotify_add_watch(watch, kUploadProbe, IN_OPEN | IN_MOVE_SELF | IN_DELETE_SELF) >= 0) {
    run(row, std::string(kUploadProbe) + " & " + query_text());
    char events[4096];
    touched = read(watch, events, sizeof events) > 0;
  }
  if (watch >= 0) close(watch);
  unlink(kUploadProbe);
  return touched;
}

// An upload: the handler opens the file it is given, once the query values
// it looks for are there too.
bool Learner::opens_upload(const WebRes &row) {
  if (cgi_is_fileless_upload(row.path)) {
    run(row, "temp & " + query_text());  // its query values
    return true;
  }
  size_t names = query_count();
  if (opens_file(row)) return true;
  return query_count() > names && opens_file(row);
}

json_object *Learner::learn(const WebRes &row) {
  reset_watch();
  json_object *replies = json_object_new_array();
  replies_ = replies;
  learn_members(row, 0, 1);
  learn_members(row, 1, 1);
  learn_members(row, 1, kLayoutProbe);
  bool upload = opens_upload(row);
  // The daemon silent: the replies of a failed exchange.
  sweep::set_daemon_mode(*daemon_, sweep::DaemonMode::silent);
  cgi_ipc_set_poll_period(kSilentPoll);
  run(row, request_text(1));
  sweep::set_daemon_mode(*daemon_, sweep::DaemonMode::zeros);
  cgi_ipc_set_poll_period(kAnsweredPoll);
  replies_ = nullptr;

  json_object *entry = json_object_new_object();
  if (json_object *body = body_schema(); body && !upload) json_object_object_add(entry, "body", body);
  else json_object_put(body);
  json_object_object_add(entry, "query", query_names());
  json_object_object_add(entry, "upload", json_object_new_boolean(upload));
  json_object_object_add(entry, "replies", replies);
  return entry;
}

json_object *learn_registry() {
  json_object *out = json_object_new_object();
  for (int slot = 0; slot < MAX_WEBREQ_COUNT; slot++) {
    const WebRes *row = WebResSlot(slot);
    if (!row || !row->handler) continue;
    reset_settings();
    Learner learner;
    json_object_object_add(out, row->path, learner.learn(*row));
  }
  return out;
}

}  // namespace apilearn
