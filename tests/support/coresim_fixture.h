// End-to-end tests of a module: the built program against coresim, as the
// demo runs them. Each test starts from a fresh settings database and a
// fresh coresim (CORESIM_PROGRAM, defined by the test's target).
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <unistd.h>

#include "cgi_runner.h"
#include "coresim_process.h"
#include "json_codecs.h"
#include "kxdb.h"

class CoresimTest : public ::testing::Test {
 protected:
  using Env = std::map<std::string, std::string>;

  // Members start in this order: the database goes before coresim starts.
  int fresh_settings_ = unlink(KXDB_FILE);
  CoresimProcess coresim_{CORESIM_PROGRAM};

  // A JSON POST by the logged-in administrator; `env` adds variables.
  static CgiReply post(const std::string &path, const std::string &body, const Env &env = {}) {
    CgiRequest r;
    r.method = "POST";
    r.path = path;
    r.content_type = "application/json";
    r.body = body;
    r.env = env;
    r.env["HTTP_COOKIE"] = "userName=admin";
    return split_reply(run_cgi(r).out);
  }
  static CgiReply get(const std::string &path, const std::string &query = "",
                      const Env &env = {}) {
    CgiRequest r;
    r.path = path;
    r.query = query;
    r.env = env;
    return split_reply(run_cgi(r).out);
  }
  // The reply body parsed (null when it is not JSON).
  static JsonPtr post_json(const std::string &path, const std::string &body,
                           const Env &env = {}) {
    return JsonPtr(json_tokener_parse(post(path, body, env).body.c_str()));
  }
  static JsonPtr get_json(const std::string &path, const std::string &query = "") {
    return JsonPtr(json_tokener_parse(get(path, query).body.c_str()));
  }
};
