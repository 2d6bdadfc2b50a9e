#include "openapi.h"

#include <cctype>
#include <cstring>
#include <string>

#include "json_codecs.h"

namespace {

constexpr const char *kCgiPrefix = "/cgi-bin/webcgi";

json_object *text_value(const char *text) {
  return json_object_new_string(text ? text : "");
}

void add_text(json_object *object, const char *key, const char *text) {
  json_object_object_add(object, key, text_value(text));
}

// {"type": TYPE}, with a format when one is given.
json_object *type_schema(const char *type, const char *format = nullptr) {
  json_object *schema = json_object_new_object();
  add_text(schema, "type", type);
  if (format) add_text(schema, "format", format);
  return schema;
}

json_object *media(json_object *schema) {
  json_object *content = json_object_new_object();
  json_object_object_add(content, "schema", schema);
  return content;
}

json_object *copy(json_object *value) {
  json_object *out = nullptr;
  if (json_object_deep_copy(value, &out, nullptr) != 0) return nullptr;
  return out;
}

bool learnt_flag(json_object *learnt, const char *key) {
  json_object *value = json_member(learnt, key);
  return value && json_object_get_boolean(value);
}

bool array_has_text(json_object *array, const char *text) {
  for (int i = 0; i < array_length(array); i++) {
    const char *seen = json_object_get_string(array_at(array, i));
    if (seen && strcmp(seen, text) == 0) return true;
  }
  return false;
}

bool has_reply(json_object *learnt, const char *kind) {
  return array_has_text(json_member(learnt, "replies"), kind);
}

// ---- Request ----

json_object *upload_body() {
  json_object *file = type_schema("string", "binary");
  add_text(file, "contentMediaType", "application/octet-stream");
  json_object *properties = json_object_new_object();
  json_object_object_add(properties, "file", file);
  json_object *schema = type_schema("object");
  json_object_object_add(schema, "properties", properties);
  json_object *required = json_object_new_array();
  json_object_array_add(required, text_value("file"));
  json_object_object_add(schema, "required", required);
  json_object *content = json_object_new_object();
  json_object_object_add(content, "multipart/form-data", media(schema));
  json_object *body = json_object_new_object();
  json_object_object_add(body, "required", json_object_new_boolean(1));
  json_object_object_add(body, "content", content);
  return body;
}

json_object *json_body(json_object *schema) {
  json_object *content = json_object_new_object();
  json_object_object_add(content, "application/json", media(copy(schema)));
  json_object *body = json_object_new_object();
  json_object_object_add(body, "content", content);
  return body;
}

// The request body, or null when the handler reads none.
json_object *request_body(json_object *learnt) {
  if (learnt_flag(learnt, "upload")) return upload_body();
  json_object *schema = json_member(learnt, "body");
  return schema ? json_body(schema) : nullptr;
}

json_object *query_parameters(json_object *learnt) {
  json_object *names = json_member(learnt, "query");
  if (array_length(names) == 0) return nullptr;
  json_object *parameters = json_object_new_array();
  for (int i = 0; i < array_length(names); i++) {
    json_object *parameter = json_object_new_object();
    add_text(parameter, "name", json_object_get_string(array_at(names, i)));
    add_text(parameter, "in", "query");
    json_object_object_add(parameter, "schema", type_schema("string"));
    json_object_array_add(parameters, parameter);
  }
  return parameters;
}

// ---- Reply ----

json_object *json_reply_schema(json_object *learnt) {
  bool object = has_reply(learnt, "object"), array = has_reply(learnt, "array");
  if (object != array) return type_schema(object ? "object" : "array");
  json_object *types = json_object_new_array();
  json_object_array_add(types, text_value("object"));
  json_object_array_add(types, text_value("array"));
  json_object *schema = json_object_new_object();
  json_object_object_add(schema, "type", types);
  return schema;
}

// The reply's media types, null when the handler answered no body at all.
json_object *reply_content(json_object *learnt) {
  json_object *content = json_object_new_object();
  if (has_reply(learnt, "object") || has_reply(learnt, "array")) {
    json_object_object_add(content, "application/json", media(json_reply_schema(learnt)));
  }
  if (has_reply(learnt, "text")) {
    json_object_object_add(content, "text/plain", media(type_schema("string")));
  }
  if (has_reply(learnt, "file")) {
    json_object_object_add(content, "application/octet-stream",
                           media(type_schema("string", "binary")));
  }
  if (json_object_object_length(content) > 0) return content;
  json_object_put(content);
  return nullptr;
}

// "A JSON object, or text": the kinds the handler answered.
std::string reply_description(json_object *learnt) {
  static const char *const kinds[][2] = {{"object", "a JSON object"}, {"array", "a JSON array"},
                                         {"text", "text"}, {"file", "a file"}};
  std::string out;
  for (const auto &kind : kinds) {
    if (!has_reply(learnt, kind[0])) continue;
    out += out.empty() ? "" : ", or ";
    out += kind[1];
  }
  if (!out.empty()) out[0] = (char)toupper((unsigned char)out[0]);
  return out;
}

json_object *responses(json_object *learnt) {
  json_object *out = json_object_new_object();
  if (json_object *content = reply_content(learnt)) {
    json_object *ok = json_object_new_object();
    add_text(ok, "description", reply_description(learnt).c_str());
    json_object_object_add(ok, "content", content);
    json_object_object_add(out, "200", ok);
  }
  if (!learnt || has_reply(learnt, "nothing") || json_object_object_length(out) == 0) {
    json_object *none = json_object_new_object();
    add_text(none, "description", "No reply: the web server sends an empty body");
    json_object_object_add(out, "500", none);
  }
  return out;
}

// ---- Document ----

// The handler's name; a handler that serves several paths is named with the
// path after its first (operation ids are unique).
std::string operation_id(const WebRes &row, json_object *ids) {
  std::string id = row.handler_name ? row.handler_name : "";
  if (array_has_text(ids, id.c_str())) id += "_" + std::string(row.path + 1);
  json_object_array_add(ids, text_value(id.c_str()));
  return id;
}

json_object *operation(const WebRes &row, const char *table, const std::string &id,
                       json_object *learnt) {
  json_object *op = json_object_new_object();
  json_object *tags = json_object_new_array();
  json_object_array_add(tags, text_value(table));
  json_object_object_add(op, "tags", tags);
  add_text(op, "summary", row.summary);
  add_text(op, "operationId", id.c_str());
  if (json_object *parameters = query_parameters(learnt)) {
    json_object_object_add(op, "parameters", parameters);
  }
  if (json_object *body = request_body(learnt)) json_object_object_add(op, "requestBody", body);
  json_object_object_add(op, "responses", responses(learnt));
  json_object_object_add(op, "security", openapi_operation_security(row));
  // What the access guard asks of the session ("web_auth" 1): "public",
  // "user", "admin" or a rights flag such as "remoteSettings".
  add_text(op, "x-required-access", web_access_name(row.access));
  return op;
}

// A handler that reads a request text is called with POST (the web server
// hands GET queries and POST bodies to it alike); one that reads nothing, or
// only named query values, with GET.
const char *method(json_object *learnt) {
  if (learnt_flag(learnt, "upload") || json_member(learnt, "body")) return "post";
  return "get";
}

// The path items in slot order; each table's name joins `tables` at its first row.
json_object *paths(json_object *learnt, json_object *tables) {
  json_object *out = json_object_new_object();
  JsonPtr ids(json_object_new_array());
  for (int slot = 0; slot < MAX_WEBREQ_COUNT; slot++) {
    const WebRes *row = WebResSlot(slot);
    if (!row) continue;
    const char *table = webres_slot_table(slot);
    if (!array_has_text(tables, table)) json_object_array_add(tables, text_value(table));
    json_object *shapes = json_member(learnt, row->path);
    json_object *item = json_object_new_object();
    json_object_object_add(item, method(shapes),
                           operation(*row, table, operation_id(*row, ids.get()), shapes));
    json_object_object_add(out, (std::string(kCgiPrefix) + row->path).c_str(), item);
  }
  return out;
}

json_object *tag_objects(json_object *names) {
  json_object *tags = json_object_new_array();
  for (int i = 0; i < array_length(names); i++) {
    json_object *tag = json_object_new_object();
    add_text(tag, "name", json_object_get_string(array_at(names, i)));
    json_object_array_add(tags, tag);
  }
  return tags;
}

json_object *info() {
  json_object *out = json_object_new_object();
  add_text(out, "title", "Recorder web program");
  add_text(out, "version", "1");
  add_text(out, "description",
           "Every operation of the recorder's web program, one per registered endpoint. "
           "Request members, their types and the kinds of reply are learnt by running each "
           "handler. Log in with /1000 first: its session travels in the sessionId cookie. "
           "Text replies are such as \"OK\" or \"CGI ERROR\"; a JSON reply whose daemon "
           "exchange failed is {status:\"CGI ERROR\"}.");
  return out;
}

json_object *components() {
  json_object *scheme = json_object_new_object();
  add_text(scheme, "type", "apiKey");
  add_text(scheme, "in", "cookie");
  add_text(scheme, "name", OPENAPI_SESSION_SCHEME);
  add_text(scheme, "description",
           "The session of a login (/cgi-bin/webcgi/1000 with userName and the password's "
           "MD5 digest); the recorder's pages keep it in this cookie. With the access guard "
           "on, a request without a live session gets 401, and one whose user lacks the "
           "operation's x-required-access right gets 403");
  json_object *schemes = json_object_new_object();
  json_object_object_add(schemes, OPENAPI_SESSION_SCHEME, scheme);
  json_object *out = json_object_new_object();
  json_object_object_add(out, "securitySchemes", schemes);
  return out;
}

json_object *servers() {
  json_object *server = json_object_new_object();
  add_text(server, "url", "/");
  json_object *out = json_object_new_array();
  json_object_array_add(out, server);
  return out;
}

}  // namespace

json_object *openapi_operation_security(const WebRes &row) {
  json_object *out = json_object_new_array();
  // The logins, and what the page needs before one, ask for no session.
  if (row.access == WEB_ACCESS_PUBLIC) return out;
  json_object *requirement = json_object_new_object();
  json_object_object_add(requirement, OPENAPI_SESSION_SCHEME, json_object_new_array());
  json_object_array_add(out, requirement);
  return out;
}

json_object *openapi_document(json_object *learnt) {
  json_object *doc = json_object_new_object();
  add_text(doc, "openapi", "3.1.0");
  json_object_object_add(doc, "info", info());
  json_object_object_add(doc, "servers", servers());
  JsonPtr tables(json_object_new_array());
  json_object *path_items = paths(learnt, tables.get());
  json_object_object_add(doc, "tags", tag_objects(tables.get()));
  json_object_object_add(doc, "paths", path_items);
  json_object_object_add(doc, "components", components());
  return doc;
}

bool webres_write_openapi(FILE *out, const char *learnt_file) {
  JsonPtr learnt;
  if (learnt_file) {
    learnt.reset(json_object_from_file(learnt_file));
    if (!json_object_is_type(learnt.get(), json_type_object)) {
      fprintf(stderr, "webcgi: cannot read the learnt shapes in %s\n", learnt_file);
      return false;
    }
  }
  JsonPtr doc(openapi_document(learnt.get()));
  fputs(json_object_to_json_string_ext(doc.get(), JSON_C_TO_STRING_PRETTY |
                                                      JSON_C_TO_STRING_SPACED |
                                                      JSON_C_TO_STRING_NOSLASHESCAPE),
        out);
  fputc('\n', out);
  return true;
}
