#include "sweep_support.h"

#include <dirent.h>
#include <random>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cgi_runner.h"
#include "kxdb.h"

namespace sweep {

namespace {

std::string canary_command() {
  return std::string("touch ") + kCanary;
}

std::string repeat(const std::string &unit, int times, const char *separator) {
  std::string out;
  for (int i = 0; i < times; i++) out += (i ? separator : "") + unit;
  return out;
}

// Places a request could write to on the recorder, and the host's read-only
// system folders: everything else must stay as it was.
bool is_writable_place(const std::string &path) {
  static const char *const kPlaces[] = {"/mnt/nand", "/mnt/nand2", "/tmp", "/var/run",
                                        "/run", "/dev/shm", "/opt/app/www", "/www", "/proc",
                                        "/sys", "/dev/pts"};
  for (const char *p : kPlaces) {
    size_t n = strlen(p);
    if (path.compare(0, n, p) == 0 && (path.size() == n || path[n] == '/')) return true;
  }
  return false;
}

void scan(const std::string &dir, int depth, std::map<std::string, std::string> &out) {
  DIR *d = opendir(dir.c_str());
  if (!d) return;
  while (dirent *e = readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    std::string path = (dir == "/" ? "" : dir) + "/" + name;
    if (is_writable_place(path)) continue;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) continue;
    // Device nodes count by name only: using /dev/null changes nothing.
    bool device = S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode);
    out[path] = device ? "device"
                       : std::to_string(st.st_size) + " " + std::to_string(st.st_mtim.tv_sec) +
                             "." + std::to_string(st.st_mtim.tv_nsec);
    if (S_ISDIR(st.st_mode) && depth > 0) scan(path, depth - 1, out);
  }
  closedir(d);
}

}  // namespace

const std::vector<std::string> &shell_texts() {
  static const std::vector<std::string> texts = {
      "$(" + canary_command() + ")",
      "`" + canary_command() + "`",
      "a; " + canary_command() + "; b",
      "a | " + canary_command(),
      "a' ; " + canary_command() + " ; '",
      "a\" ; " + canary_command() + " ; \"",
      "a\n" + canary_command() + "\n",
      "a && " + canary_command() + " &",
  };
  return texts;
}

std::string json_string(const std::string &text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += (char)c;
    } else if (c < 0x20) {
      char esc[8];
      snprintf(esc, sizeof esc, "\\u%04x", c);
      out += esc;
    } else {
      out += (char)c;
    }
  }
  return out + "\"";
}

const std::vector<std::string> &bad_json_values() {
  static const std::vector<std::string> values = [] {
    std::vector<std::string> v = {
        "-1", "64", "100", "2147483648", "-2147483649", "4294967295", "1e308", "-1e308",
        "NaN", "\"NaN\"", "\"\"", "\"abc\"", "\"12\"", "null", "true", "{}",
        "{\"a\": [1, {\"b\": null}]}", "[]", "[-1, 64, 2147483648, \"x\", null, {}, []]",
        "[" + repeat("2147483647", 5000, ",") + "]",
        "[" + repeat("{\"chnid\": -1, \"id\": 99999, \"port\": -5}", 300, ",") + "]",
        "[" + repeat("\"" + std::string(100, 'q') + "\"", 200, ",") + "]",
        json_string(std::string(5000, 'x')),
        json_string(std::string(5000, '1')),
        json_string("../../../../etc/passwd"),
        json_string("%00%ff%22%5c%2e%2e%2f"),
    };
    for (const std::string &t : shell_texts()) v.push_back(json_string(t));
    return v;
  }();
  return values;
}

std::vector<std::string> text_requests(unsigned seed) {
  std::vector<std::string> texts = {
      "-1", "64", "100", "2147483648", "-2147483649", "1e308", "NaN", "", "abc", "0x7fffffff",
      "99999999999999999999999", " 12 ", "1-1", "%22%22",
      "channel=-1&id=64&port=2147483648&type=NaN&index=&count=abc&chnid=100&num=-5",
      "chnid=%22-1%22&camId=64&ch=1e308&time=%22abc%22",
      "a=1&b=2&name=" + shell_texts()[0] + "&file=../../etc/passwd",
      "param:" + std::string(400, 'p') + "&x=1",
      std::string(1023, 'A'),
      std::string(30719, '9'),
      "{", "[", "{\"a\":", "[1,2", "{\"chnid\": 1,,}", "\"just a string\"", "[1, 2, 3]",
      std::string(200, '{'),
  };
  for (const std::string &t : shell_texts()) texts.push_back(t);
  std::mt19937 rng(seed);
  for (size_t size : {16, 300, 4000, 30719}) {
    std::string bytes(size, ' ');
    for (char &c : bytes) c = (char)(1 + rng() % 255);  // no NUL: the text is a C string
    texts.push_back(bytes);
  }
  return texts;
}

std::string json_object_text(const std::map<std::string, std::string> &members) {
  std::string out = "{";
  for (const auto &[key, value] : members) {
    out += (out.size() > 1 ? ", " : "") + json_string(key) + ": " + value;
  }
  return out + "}";
}

const char *mode_name(DaemonMode mode) {
  switch (mode) {
    case DaemonMode::zeros: return "zeros";
    case DaemonMode::ones: return "all ones";
    case DaemonMode::random: return "random bytes";
    case DaemonMode::scrap: return "a scrap";
    case DaemonMode::silent: return "silence";
  }
  return "?";
}

void set_daemon_mode(FakeDaemon &daemon, DaemonMode mode) {
  constexpr size_t kAnswerSize = 64 * 1024;  // more than any record, many records of most
  switch (mode) {
    case DaemonMode::zeros:
    case DaemonMode::ones: {
      Bytes payload(kAnswerSize, mode == DaemonMode::zeros ? 0x00 : 0xFF);
      daemon.answer_all([payload](const SimRequest &) {
        return std::vector<SimFrame>{SimFrame{0, payload, 0, true}};
      });
      break;
    }
    case DaemonMode::random:
      daemon.answer_all([](const SimRequest &r) {
        std::mt19937 rng(r.seq * 7919u + (unsigned)r.code);
        Bytes payload(kAnswerSize);
        for (auto &b : payload) b = (unsigned char)rng();
        return std::vector<SimFrame>{SimFrame{0, payload, 0, true}};
      });
      break;
    case DaemonMode::scrap:
      daemon.answer_all([](const SimRequest &) {
        return std::vector<SimFrame>{SimFrame{0, Bytes{1, 2, 3}, 0, true}};
      });
      break;
    case DaemonMode::silent:
      daemon.answer_all(nullptr);
      break;
  }
}

std::string canary_absent() {
  struct stat st;
  return stat(kCanary, &st) == 0 ? "a command ran from request text (the canary exists)" : "";
}

std::string no_upload_temp_files() {
  auto left = files_with_prefix("/tmp", "cgic");
  return left.empty() ? "" : "upload temporary file left: /tmp/" + left[0];
}

std::string databases_intact() {
  for (const char *file : {KXDB_FILE, ANPR_DB_FILE, OEM_DB_FILE}) {
    struct stat st;
    if (stat(file, &st) != 0) continue;
    sqlite3 *db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(file, &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
      sqlite3_stmt *q = nullptr;
      if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &q, nullptr) == SQLITE_OK &&
          sqlite3_step(q) == SQLITE_ROW) {
        const unsigned char *text = sqlite3_column_text(q, 0);
        result = text ? reinterpret_cast<const char *>(text) : "";
      }
      sqlite3_finalize(q);
    }
    sqlite3_close(db);
    if (result != "ok") return std::string(file) + ": " + result;
  }
  return "";
}

FsSnapshot::FsSnapshot() {
  char cwd[4096];
  scan("/", 0, entries_);
  for (const char *dir : {"/root", "/var", "/mnt", "/opt", "/opt/app", "/dev"}) scan(dir, 3, entries_);
  if (getcwd(cwd, sizeof cwd)) scan(cwd, 2, entries_);
}

std::string FsSnapshot::changes_since(const FsSnapshot &before) const {
  for (const auto &[path, info] : entries_) {
    auto it = before.entries_.find(path);
    if (it == before.entries_.end()) return "written outside the writable places: " + path;
    if (it->second != info) return "changed outside the writable places: " + path;
  }
  for (const auto &[path, info] : before.entries_) {
    if (!entries_.count(path)) return "removed outside the writable places: " + path;
  }
  return "";
}

}  // namespace sweep
