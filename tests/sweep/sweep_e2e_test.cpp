// The hostile-input sweep end to end, on a sample: the built program runs
// as the web server starts it, for every fourth registered endpoint (taken
// from the program's own catalogue) and for uploads with hostile file
// names, while a daemon in this process answers with junk and hangs up.
// Each request also goes to one persistent (FastCGI) process of the same
// program, which must answer it exactly as the CGI process did, and end
// without a leak at the end.
#include <gtest/gtest.h>

#include <sstream>
#include <sys/stat.h>

#include "cgi_runner.h"
#include "fake_daemon.h"
#include "sweep_support.h"

namespace {

using sweep::DaemonMode;

// The catalogue of the program under test: its endpoint paths.
std::vector<std::string> catalogue_paths() {
  std::vector<std::string> paths;
  std::string out = run_catalogue();
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    paths.push_back(line.substr(0, line.find('\t')));
  }
  return paths;
}

class SweepEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    remove(sweep::kCanary);
    ASSERT_TRUE(fastcgi_.ready());
  }

  // Runs one request as CGI and through the FastCGI process; each must end
  // with status 0 (255 is a multipart body it could not parse), and both
  // must give the same reply. `same_reply` is false where the first run
  // changes what the second sees (an upload moved to its client's name).
  void expect_survived(const CgiRequest &r, const std::string &what, bool same_reply = true) {
    CgiRun run = run_cgi(r, "", 60);
    EXPECT_FALSE(run.timed_out) << what;
    EXPECT_TRUE(run.status == 0 || run.status == 255) << what << ": status " << run.status;
    CgiRun persistent = fastcgi_.run(r, 60);
    EXPECT_FALSE(persistent.timed_out) << what << " (FastCGI)";
    EXPECT_EQ(persistent.status, run.status) << what << " (FastCGI)";
    if (same_reply) EXPECT_EQ(persistent.out, run.out) << what << " (FastCGI)";
  }

  FakeDaemon daemon_;
  FastCgiServer fastcgi_{"/tmp/webcgi-sweep.sock"};
};

std::string upload_body(const std::string &filename) {
  return "--XyZ\r\nContent-Disposition: form-data; name=\"text\"\r\n\r\n" +
         sweep::shell_texts()[0] +
         "\r\n--XyZ\r\nContent-Disposition: form-data; name=\"file\"; filename=\"" + filename +
         "\"\r\nContent-Type: application/octet-stream\r\n\r\n" + std::string(3000, 'u') +
         "\r\n--XyZ--\r\n";
}

TEST_F(SweepEndToEnd, ASampleOfEndpointsThroughTheRealProgram) {
  sweep::FsSnapshot before;
  auto paths = catalogue_paths();
  ASSERT_GE(paths.size(), 40u);
  const std::string shell = sweep::shell_texts()[3];
  for (size_t i = 0; i < paths.size(); i += 4) {
    const std::string &path = paths[i];
    // The daemon answers junk and hangs up, so no exchange waits its budget.
    sweep::set_daemon_mode(daemon_, (DaemonMode)(i / 4 % 4));

    CgiRequest get;
    get.path = path;
    get.query = "chnid=%22-1%22&id=64&port=2147483648&type=NaN&count=abc&name=" + shell;
    get.env["HTTP_COOKIE"] = "userName=" + sweep::shell_texts()[0];
    expect_survived(get, "GET " + path);

    CgiRequest post;
    post.method = "POST";
    post.path = path;
    post.content_type = "application/json";
    post.body = R"({"chnid": 2147483648, "id": -1, "port": 1e308, "type": "NaN", "index": 64,)"
                R"( "count": [)" + std::string(2000, '1') + R"(], "name": )" +
                sweep::json_string(shell) + "}";
    expect_survived(post, "POST " + path);
  }

  // Uploads: hostile file names on a sample of paths, the upload paths among them.
  const std::string names[] = {"..", "../../etc/passwd", "a/b/../c", sweep::shell_texts()[0],
                               std::string(400, 'L'), "x\";" + sweep::shell_texts()[2]};
  std::vector<std::string> upload_paths = {"/1010", "/1019", "/oem", "/6082", "/2079", "/1014"};
  for (size_t i = 0; i < paths.size(); i += 25) upload_paths.push_back(paths[i]);
  int n = 0;
  for (const std::string &path : upload_paths) {
    sweep::set_daemon_mode(daemon_, (DaemonMode)(n % 4));
    for (const std::string &name : names) {
      CgiRequest up;
      up.method = "POST";
      up.path = path;
      up.content_type = "multipart/form-data; boundary=XyZ";
      up.body = upload_body(name);
      up.query = "param:" + sweep::shell_texts()[1];
      expect_survived(up, "upload to " + path + " named " + name.substr(0, 40), false);
      n++;
    }
  }
  EXPECT_EQ(sweep::canary_absent(), "");
  EXPECT_EQ(sweep::no_upload_temp_files(), "");
  EXPECT_EQ(sweep::databases_intact(), "");
  EXPECT_EQ(sweep::FsSnapshot().changes_since(before), "");

  // A plain request still answers.
  CgiRequest plain;
  plain.path = "/6108";
  EXPECT_NE(run_cgi(plain).out, "");
  EXPECT_NE(fastcgi_.run(plain).out, "");
  // The persistent process ends cleanly (in the sanitizer build: no leak).
  EXPECT_EQ(fastcgi_.stop(), 0);
}

}  // namespace
