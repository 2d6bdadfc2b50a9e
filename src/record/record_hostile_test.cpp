// Every recording endpoint under hostile requests while the daemon answers
// with zeros, all ones, random bytes or a scrap: no crash, no sanitizer
// report, and a reply of a known shape.
#include <random>

#include "record_test_util.h"

namespace {

const char *const kHostileValues[] = {
    "-1",   "64",     "100",   "2147483648", "-2147483649", "1e308", "NaN", "\"\"", "\"abc\"",
    "null", "{}",     "[]",    "true",       "[-1, 64, 2147483647]",
    "\"; rm -rf / #\"", "\"$(reboot)\""};

// Valid requests of each JSON endpoint; each member is replaced in turn.
const std::pair<const char *, const char *> kTemplates[] = {
    {"/6031", R"({"id": 1, "enable": 1, "name": "n", "type": 0, "startYear": 2027,
                 "endWDay": 3})"},
    {"/6041", R"({"cnt": 2, "chnid": [1, 2], "recordplanmode": 1, "schedule": [
                 {"wholedayEnable": 1, "wholedayActionType": 2, "plans": [["00:00", "01:00", 1]]}]})"},
    {"/6043", R"({"records": [{"id": 0, "mode": 1}, {"id": 1, "mode": 2}]})"},
    {"/6045", R"({"cnt": 2, "chnid": [1, 2], "camAnr": 1, "prevRecordOn": 1,
                 "prevRecordDuration": 5, "postRecordOn": 1, "postRecordDuration": 30,
                 "audioEnable": 1, "recordStreamType": 1, "recordExpDate": 7})"},
};

const char *const kPaths[] = {"/6030", "/6031", "/6040", "/6041", "/6042",
                              "/6043", "/6044", "/6045", "/6046", "/6047"};

std::vector<std::string> whole_bodies() {
  std::vector<std::string> out = {"",  "0",  "63", "-1", "64", "2147483648", "1e308", "NaN",
                                  "abc", "{", "[]", "null", "\"text\"", "; reboot",
                                  std::string(5000, '9'), std::string(5000, 'x')};
  std::mt19937 random(7);
  for (int i = 0; i < 4; i++) {
    std::string bytes(200, '\0');
    for (char &c : bytes) c = (char)(random() % 255 + 1);
    out.push_back(bytes);
  }
  return out;
}

// Each member of the template replaced by each hostile value, then a huge
// array and a long text in its place.
std::vector<std::string> member_bodies(const char *request) {
  std::vector<std::string> out;
  JsonPtr base(json_tokener_parse(request));
  std::string huge = "[";
  for (int i = 0; i < 10000; i++) huge += i ? ",0" : "0";
  huge += "]";
  std::vector<std::string> values(std::begin(kHostileValues), std::end(kHostileValues));
  values.push_back(huge);
  values.push_back("\"" + std::string(5000, 'y') + "\"");
  json_object_object_foreach(base.get(), key, value) {
    (void)value;
    for (const std::string &v : values) {
      JsonPtr copy(json_tokener_parse(request));
      json_object_object_add(copy.get(), key, json_tokener_parse(v.c_str()));
      out.push_back(json_object_to_json_string(copy.get()));
    }
  }
  return out;
}

bool known_reply(const std::string &reply) {
  if (reply.empty() || reply == kTextOk || reply == kTextError || reply == kCgiError ||
      reply == kJsonError) {
    return true;
  }
  return reply_header(reply) == "Content-type: application/json\r\n" && parse_body(reply);
}

class RecordHostile : public RecordTest {
 protected:
  void answer_all(const Bytes &payload) {
    for (int code : {2285, 2286, 3218}) daemon().answer(code, payload);
  }
};

TEST_F(RecordHostile, HostileRequests) {
  answer_all(Bytes(600, 0));
  std::vector<std::pair<std::string, std::string>> requests;
  for (const char *path : kPaths) {
    for (const std::string &body : whole_bodies()) requests.push_back({path, body});
  }
  for (auto [path, request] : kTemplates) {
    for (const std::string &body : member_bodies(request)) requests.push_back({path, body});
  }
  for (const auto &[path, body] : requests) {
    std::string reply = call(path.c_str(), body);
    EXPECT_TRUE(known_reply(reply)) << path << " " << body << " -> " << reply;
  }
  // Whatever was stored, every list still reads.
  for (const char *path : {"/6030", "/6042"}) EXPECT_TRUE(parse_body(call(path)));
}

// Only the endpoints that wait read the daemon's answers.
TEST_F(RecordHostile, HostileDaemonAnswers) {
  std::mt19937 random(11);
  Bytes noise(600);
  for (auto &b : noise) b = (unsigned char)random();
  for (const Bytes &answer : {Bytes(600, 0xff), noise, Bytes(3, 0xff), Bytes(600, 0)}) {
    answer_all(answer);
    for (const auto &[path, body] : {std::pair<const char *, const char *>{"/6046", "5"},
                                     {"/6047", ""}, {"/6045", kTemplates[3].second}}) {
      std::string reply = call(path, body);
      EXPECT_TRUE(known_reply(reply) && !reply.empty()) << path << " -> " << reply;
    }
  }
}

}  // namespace
