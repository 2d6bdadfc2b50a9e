// What the learner sees of a handler, and the document `webcgi --openapi`
// makes of it, over a table of probe handlers whose reads are known.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <set>
#include <string>
#include <unistd.h>

#include "api_learn.h"
#include "cgi_ipc.h"
#include "cgic.h"
#include "json_codecs.h"
#include "openapi.h"

namespace {

void reply_text(const char *text) {
  cgi_writeback_webserver(CGI_REPLY_TEXT, text);
}

// A number, a text and an array of numbers.
int on_probe_members(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  int channel = member_int(root.get(), "channel");
  char name[32];
  member_text(root.get(), "name", name, sizeof name);
  json_object *list = json_member(root.get(), "list");
  int sum = channel;
  for (int i = 0; i < array_length(list); i++) sum += element_int(list, i);
  JsonPtr reply(json_object_new_object());
  json_add_int(reply.get(), "sum", sum);
  json_writeback(CGI_REPLY_JSON, reply.get());
  return 0;
}

// An array of objects, refused unless it is one; and an array of numbers
// that is first checked as a number (json-c reads an array as 0).
int on_probe_rules(char *text) {
  JsonPtr root(get_request_tokener_json_object(text));
  if (member_int(root.get(), "channels") < 0) return 0;
  json_object *channels = json_member(root.get(), "channels");
  for (int i = 0; i < array_length(channels); i++) element_int(channels, i);
  // A fixed layout: ["08:00", "18:00", 1].
  json_object *plan = json_member(root.get(), "plan");
  char start[8], end[8];
  json_copy_text(array_at(plan, 0), start, sizeof start);
  json_copy_text(array_at(plan, 1), end, sizeof end);
  element_int(plan, 2);
  json_object *rules = json_member(root.get(), "rules");
  if (!json_object_is_type(rules, json_type_array)) {
    reply_text("Error");
    return 0;
  }
  for (int i = 0; i < array_length(rules); i++) {
    json_object *rule = array_at(rules, i);
    char label[16];
    member_text(rule, "label", label, sizeof label);
    if (member_int(rule, "id") < 0) return 0;
  }
  reply_text("OK");
  return 0;
}

// The uploaded file the request names ("PATH & QUERY"), with "aes=" in the query.
int on_probe_upload(char *text) {
  std::string path(text, strcspn(text, " "));
  const char *key = strstr(text, "aes=");
  FILE *file = fopen(path.c_str(), "r");
  if (!file || !key) {
    if (file) fclose(file);
    reply_text("Error");
    return 0;
  }
  fclose(file);
  unlink(path.c_str());
  reply_text("OK");
  return 0;
}

int on_probe_number(char *text) {
  reply_text(bare_number(text) > 0 ? "OK" : "Error");
  return 0;
}

int on_probe_silent(char *) {
  return 0;
}

int on_probe_file(char *) {
  fputs("Content-Type:application/octet-stream\r\n\r\nbytes", cgiOut);
  return 0;
}

const WebRes kProbeTable[] = {
    WEBRES_ROW("/1000", on_probe_number, PUBLIC, "log in (stand-in)"),
    WEBRES_ROW("/9901", on_probe_members, SETTINGS, "a number, a text and an array"),
    WEBRES_ROW("/9902", on_probe_rules, USER, "an array of objects"),
    WEBRES_ROW("/9903", on_probe_upload, ADMIN, "an upload with its key in the query"),
    WEBRES_ROW("/9904", on_probe_silent, USER, "answers nothing"),
    WEBRES_ROW("/9905", on_probe_file, USER, "answers a file"),
    WEBRES_ROW("/9906", on_probe_file, USER, "as /9905"),
};
WEBRES_REGISTER_TABLE(kProbeTable, WEBRES_SYSTEM)

// The value at a path of member names (array elements by number).
json_object *at(json_object *value, std::initializer_list<const char *> path) {
  for (const char *step : path) {
    if (json_object_is_type(value, json_type_array)) value = array_at(value, atoi(step));
    else value = json_member(value, step);
  }
  return value;
}

std::string text_at(json_object *value, std::initializer_list<const char *> path) {
  json_object *found = at(value, path);
  return found ? json_object_get_string(found) : "(absent)";
}

class OpenApi : public ::testing::Test {
 protected:
  void SetUp() override { learnt_.reset(apilearn::learn_registry()); }
  json_object *learnt(const char *path) { return json_member(learnt_.get(), path); }
  json_object *operation(const char *path, const char *method) {
    doc_.reset(openapi_document(learnt_.get()));
    return at(doc_.get(), {"paths", (std::string("/cgi-bin/webcgi") + path).c_str(), method});
  }
  JsonPtr learnt_, doc_;
};

TEST_F(OpenApi, MembersCarryTheTypesTheHandlerAskedFor) {
  json_object *body = at(learnt("/9901"), {"body"});
  EXPECT_EQ(text_at(body, {"type"}), "object");
  EXPECT_EQ(text_at(body, {"properties", "channel", "type"}), "integer");
  EXPECT_EQ(text_at(body, {"properties", "name", "type"}), "string");
  EXPECT_EQ(text_at(body, {"properties", "list", "type"}), "array");
  EXPECT_EQ(text_at(body, {"properties", "list", "items", "type"}), "integer");
  EXPECT_EQ(json_object_object_length(at(body, {"properties"})), 3);

  json_object *op = operation("/9901", "post");
  ASSERT_TRUE(op) << "a handler that reads members is a POST with a JSON body";
  json_object *schema = at(op, {"requestBody", "content", "application/json", "schema"});
  EXPECT_EQ(text_at(schema, {"properties", "channel", "type"}), "integer");
  EXPECT_EQ(text_at(schema, {"properties", "name", "type"}), "string");
  EXPECT_EQ(text_at(schema, {"properties", "list", "type"}), "array");
  EXPECT_EQ(text_at(op, {"responses", "200", "content", "application/json", "schema", "type"}),
            "object");
}

TEST_F(OpenApi, NestedMembersAreLearntRoundByRound) {
  // The handler refuses anything but an array, so its elements' members
  // appear only once the learner sends one.
  json_object *rules = at(learnt("/9902"), {"body", "properties", "rules"});
  EXPECT_EQ(text_at(rules, {"type"}), "array");
  EXPECT_EQ(text_at(rules, {"items", "type"}), "object");
  EXPECT_EQ(text_at(rules, {"items", "properties", "id", "type"}), "integer");
  EXPECT_EQ(text_at(rules, {"items", "properties", "label", "type"}), "string");
  // Asked for as a number first, then as an array: the array it is.
  json_object *channels = at(learnt("/9902"), {"body", "properties", "channels"});
  EXPECT_EQ(text_at(channels, {"type"}), "array");
  EXPECT_EQ(text_at(channels, {"items", "type"}), "integer");
  // Positions asked for differently are a fixed layout.
  json_object *plan = at(learnt("/9902"), {"body", "properties", "plan"});
  EXPECT_EQ(text_at(plan, {"prefixItems", "0", "type"}), "string");
  EXPECT_EQ(text_at(plan, {"prefixItems", "1", "type"}), "string");
  EXPECT_EQ(text_at(plan, {"prefixItems", "2", "type"}), "integer");
  EXPECT_FALSE(at(plan, {"items"}));
}

TEST_F(OpenApi, AnUploadHasItsFilePartAndQuery) {
  EXPECT_TRUE(json_object_get_boolean(at(learnt("/9903"), {"upload"})));
  EXPECT_FALSE(json_object_get_boolean(at(learnt("/9901"), {"upload"})));
  json_object *op = operation("/9903", "post");
  ASSERT_TRUE(op);
  json_object *schema = at(op, {"requestBody", "content", "multipart/form-data", "schema"});
  EXPECT_EQ(text_at(schema, {"properties", "file", "type"}), "string");
  EXPECT_EQ(text_at(schema, {"properties", "file", "format"}), "binary");
  EXPECT_EQ(text_at(schema, {"required", "0"}), "file");
  EXPECT_EQ(text_at(op, {"parameters", "0", "name"}), "aes");
  EXPECT_EQ(text_at(op, {"parameters", "0", "in"}), "query");
  EXPECT_EQ(access("/tmp/apilearn-upload.bin", F_OK), -1) << "the probe file is left";
}

TEST_F(OpenApi, ABareNumberIsAnIntegerBody) {
  EXPECT_EQ(text_at(learnt("/1000"), {"body", "type"}), "integer");
}

TEST_F(OpenApi, ReplyKindsAreWhatTheHandlerWrote) {
  json_object *silent = operation("/9904", "get");
  ASSERT_TRUE(silent) << "a handler that reads nothing is a GET";
  EXPECT_FALSE(at(silent, {"responses", "200"}));
  EXPECT_TRUE(at(silent, {"responses", "500"}));
  json_object *file = operation("/9905", "get");
  EXPECT_EQ(text_at(file, {"responses", "200", "content", "application/octet-stream", "schema",
                           "format"}),
            "binary");
  json_object *rules = operation("/9902", "post");
  EXPECT_TRUE(at(rules, {"responses", "200", "content", "text/plain"}));
  EXPECT_FALSE(at(rules, {"responses", "200", "content", "application/json"}));
}

TEST_F(OpenApi, OneOperationPerRegisteredRow) {
  doc_.reset(openapi_document(nullptr));
  json_object *paths = json_member(doc_.get(), "paths");
  std::set<std::string> registered;
  for (int slot = 0; slot < MAX_WEBREQ_COUNT; slot++) {
    const WebRes *row = WebResSlot(slot);
    if (!row) continue;
    std::string key = std::string("/cgi-bin/webcgi") + row->path;
    registered.insert(key);
    json_object *item = json_member(paths, key.c_str());
    ASSERT_EQ(json_object_object_length(item), 1) << key;
    json_object *op = at(item, {"get"});
    // A handler's second path is told apart by it: operation ids are unique.
    std::string id = strcmp(row->path, "/9906") == 0 ? "on_probe_file_9906" : row->handler_name;
    EXPECT_EQ(text_at(op, {"operationId"}), id);
    EXPECT_EQ(text_at(op, {"summary"}), row->summary);
    EXPECT_EQ(text_at(op, {"tags", "0"}), "system");
  }
  EXPECT_EQ(json_object_object_length(paths), (int)registered.size());
  EXPECT_EQ(text_at(doc_.get(), {"openapi"}), "3.1.0");
}

TEST_F(OpenApi, EveryOperationButThePublicOnesNeedsTheSessionAndNamesItsRight) {
  doc_.reset(openapi_document(learnt_.get()));
  EXPECT_EQ(text_at(doc_.get(), {"components", "securitySchemes", "sessionId", "in"}), "cookie");
  EXPECT_EQ(text_at(doc_.get(), {"components", "securitySchemes", "sessionId", "name"}),
            "sessionId");
  json_object *login = at(operation("/1000", "post"), {"security"});
  ASSERT_TRUE(json_object_is_type(login, json_type_array));
  EXPECT_EQ(json_object_array_length(login), 0u) << "the login needs no session";
  EXPECT_TRUE(at(operation("/9901", "post"), {"security", "0", "sessionId"}));
  EXPECT_EQ(text_at(operation("/9901", "post"), {"x-required-access"}), "remoteSettings");
  EXPECT_EQ(text_at(operation("/9903", "post"), {"x-required-access"}), "admin");
  EXPECT_EQ(text_at(operation("/1000", "post"), {"x-required-access"}), "public");
}

}  // namespace
