// Runs a CGI program as the web server does: environment, body on standard
// input, reply from standard output, exit status.
#pragma once

#include <map>
#include <string>
#include <vector>

struct CgiRun {
  int status = -1;      // exit status, or -1 when killed or not started
  std::string out;      // everything written to standard output
  bool timed_out = false;
};

struct CgiRequest {
  std::string method = "GET";
  std::string path;          // PATH_INFO
  std::string query;         // QUERY_STRING
  std::string content_type;  // CONTENT_TYPE, omitted when empty
  std::string body;          // standard input
  // CONTENT_LENGTH: the body's size unless set; "-" leaves it out.
  std::string content_length;
  std::map<std::string, std::string> env;  // more variables (HTTP_HOST, ...)
};

// The program under test: build/webcgi (through the emulator on cross
// builds) unless `program` is given.
CgiRun run_cgi(const CgiRequest &request, const std::string &program = "",
               int timeout_seconds = 20);

// The program under test in its persistent mode (`--fastcgi PATH`), and
// requests to it through Debian's FastCGI client (cgi-fcgi, a native
// program also in cross builds). The process lives until stop().
class FastCgiServer {
 public:
  explicit FastCgiServer(const std::string &socket_path, const std::string &program = "");
  ~FastCgiServer();
  FastCgiServer(const FastCgiServer &) = delete;
  FastCgiServer &operator=(const FastCgiServer &) = delete;

  // The process runs and listens.
  bool ready() const;
  // One request, as run_cgi has it; the status is the one the program sets
  // for the request (as a CGI process's exit status).
  CgiRun run(const CgiRequest &request, int timeout_seconds = 20) const;
  // SIGTERM, and the process's exit status (-1 when it did not exit).
  int stop();

 private:
  std::string socket_path_;
  int pid_ = -1;
  int status_ = -1;
};

// What `program --endpoints` prints outside CGI: the endpoint catalogue.
std::string run_catalogue(const std::string &program = "");

// The emulator that runs the programs under test ("" for native builds).
std::string cgi_emulator();

// The command line that starts `program` (emulator prefix included).
std::vector<std::string> cgi_command(const std::string &program);

// Files in `dir` whose names start with `prefix`.
std::vector<std::string> files_with_prefix(const std::string &dir, const std::string &prefix);

std::string read_file(const std::string &path);
void write_file(const std::string &path, const std::string &data);

// Splits a CGI reply into its header block and body at the first blank line.
struct CgiReply {
  std::string headers, body;
};
CgiReply split_reply(const std::string &out);
