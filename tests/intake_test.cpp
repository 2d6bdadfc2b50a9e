// Request intake end to end: the program runs as the web server starts it,
// against a probe table that reports the request text it receives.
#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

#include "cgi_runner.h"

namespace {

using namespace std::string_literals;

CgiRun probe(CgiRequest r) {
  return run_cgi(r, PROBE_PROGRAM);
}

std::string body_of(const CgiRun &run) {
  return split_reply(run.out).body;
}

CgiRequest get(const std::string &path, const std::string &query) {
  CgiRequest r;
  r.path = path;
  r.query = query;
  return r;
}

CgiRequest post(const std::string &path, const std::string &type, const std::string &body) {
  CgiRequest r;
  r.method = "POST";
  r.path = path;
  r.content_type = type;
  r.body = body;
  return r;
}

std::string file_part(const std::string &filename, const std::string &data,
                      const std::string &field = "file") {
  return "--XyZ\r\nContent-Disposition: form-data; name=\"" + field + "\"; filename=\"" +
         filename + "\"\r\nContent-Type: application/octet-stream\r\n\r\n" + data + "\r\n";
}

CgiRequest upload(const std::string &path, const std::string &body,
                  const std::string &query = "") {
  CgiRequest r = post(path, "multipart/form-data; boundary=XyZ", body);
  r.query = query;
  return r;
}

void expect_no_temp_files() {
  EXPECT_TRUE(files_with_prefix("/tmp", "cgic").empty());
}

TEST(IntakeGet, QuotesAreDecodedAndNothingElse) {
  CgiRun run = probe(get("/echo", "a=%22x y%22&b=%20"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "Content-type: text/plain\r\n\r\na=\"x y\"&b=%20");
}

TEST(IntakeGet, LongQueriesAreCutAt1023) {
  std::string query(2000, 'q');
  EXPECT_EQ(body_of(probe(get("/echo", query))), std::string(1023, 'q'));
  // Cut first, then replaced: a "%22" split by the cut stays as it is.
  std::string split = std::string(1021, 'q') + "%22";
  EXPECT_EQ(body_of(probe(get("/echo", split))), std::string(1021, 'q') + "%2");
}

TEST(IntakePost, JsonAndFormBodiesArePassedRaw) {
  CgiRun run = probe(post("/echo", "Application/JSON; charset=utf-8", "{\"a\": \"%20\"}\n"));
  EXPECT_EQ(body_of(run), "{\"a\": \"%20\"}\n");
  run = probe(post("/echo", "application/x-www-form-urlencoded", "a=1%26&b=%22"));
  EXPECT_EQ(body_of(run), "a=1%26&b=%22");
}

TEST(IntakePost, BodiesAreCutAt128LinesOr30719Characters) {
  std::string lines;
  for (int i = 0; i < 200; i++) lines += std::to_string(i) + "\n";
  std::string expected;
  for (int i = 0; i < 128; i++) expected += std::to_string(i) + "\n";
  EXPECT_EQ(body_of(probe(post("/echo", "application/json", lines))), expected);

  std::string big(40000, 'b');
  EXPECT_EQ(body_of(probe(post("/echo", "application/json", big))), std::string(30719, 'b'));
}

TEST(IntakeRouting, UnsupportedRequestsProduceNothing) {
  for (const char *method : {"HEAD", "PUT", "DELETE", ""}) {
    CgiRequest r = get("/echo", "a=1");
    r.method = method;
    CgiRun run = probe(r);
    EXPECT_EQ(run.status, 0) << method;
    EXPECT_EQ(run.out, "") << method;
  }
  CgiRun run = probe(get("", "a=1"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  run = probe(get("/nothing", "a=1"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  run = probe(get("/echo/", "a=1"));
  EXPECT_EQ(run.out, "");
  run = probe(post("/echo", "text/plain", "x"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
}

TEST(IntakeUpload, WindowsPathIsMovedToItsBaseNameWithParam) {
  CgiRun run = probe(upload("/upload", file_part("C:\\photos\\a.jpg", "JPEG") + "--XyZ--\r\n",
                            "x=1&param:abc&y=2"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(body_of(run), "/tmp/a.jpg & abc\nexists=1 size=4");
  EXPECT_EQ(read_file("/tmp/a.jpg"), "JPEG");  // the moved file outlives the request
  remove("/tmp/a.jpg");
  expect_no_temp_files();
}

TEST(IntakeUpload, BoundaryLikeDataIsStoredByteForByte) {
  std::string data = "x\r\n--XyQ\r\n--Xy\r\n-\0\r\r\n--X-\r\n--XyZ"s.substr(0, 26);
  CgiRun run = probe(upload("/upload", file_part("d.bin", data) + "--XyZ--\r\n"));
  EXPECT_EQ(body_of(run), "/tmp/d.bin\nexists=1 size=" + std::to_string(data.size()));
  EXPECT_EQ(read_file("/tmp/d.bin"), data);
  remove("/tmp/d.bin");
}

TEST(IntakeUpload, ShellCharactersInTheFileNameRunNothing) {
  // Quoted, a name may hold ';'; unquoted, it may hold '"'.
  const std::string names[] = {"a; touch pwned; $(touch pwned2) `touch pwned3`.txt",
                               "b\"$(touch pwned4)`touch pwned5`"};
  for (const std::string &name : names) {
    std::string part = file_part(name, "z");
    if (name[0] == 'b') part.replace(part.find("\"" + name + "\""), name.size() + 2, name);
    CgiRun run = probe(upload("/upload", part + "--XyZ--\r\n"));
    EXPECT_EQ(body_of(run), "/tmp/" + name + "\nexists=1 size=1");
    EXPECT_EQ(read_file("/tmp/" + name), "z");
    remove(("/tmp/" + name).c_str());
  }
  struct stat st;
  for (const char *f : {"pwned", "pwned2", "pwned3", "pwned4", "pwned5", "/tmp/pwned"}) {
    EXPECT_NE(stat(f, &st), 0) << f;
  }
}

TEST(IntakeUpload, UnusableFileNamesEndTheRequest) {
  for (const char *name : {"", "..", "C:\\dir\\..", "x/.", "dir/"}) {
    CgiRun run = probe(upload("/upload", file_part(name, "z") + "--XyZ--\r\n"));
    EXPECT_EQ(run.status, 0) << name;
    EXPECT_EQ(run.out, "") << name;
  }
  // No "file" field at all.
  CgiRun run = probe(upload("/upload", file_part("a.txt", "z", "other") + "--XyZ--\r\n"));
  EXPECT_EQ(run.out, "");
  expect_no_temp_files();
}

TEST(IntakeUpload, TemporaryNamePathsAndCleanUp) {
  for (const char *path : {"/1019", "/oem"}) {
    CgiRun run = probe(upload(path, file_part("brand.bin", "BB") + "--XyZ--\r\n", "k=v"));
    std::string body = body_of(run);
    EXPECT_EQ(body.rfind("/tmp/cgic", 0), 0u) << body;
    EXPECT_NE(body.find(" & k=v\nexists=1 size=2"), std::string::npos) << body;
    expect_no_temp_files();  // deleted when the request ends
  }
}

TEST(IntakeUpload, FirmwareUpgradeBodyIsLeftUnread) {
  std::string body = file_part("fw.bin", std::string(5000, 'f')) + "--XyZ--\r\n";
  CgiRun run = probe(upload("/1010", body, "a=b"));
  EXPECT_EQ(body_of(run), "temp & a=b\nunread=" + std::to_string(body.size()));
  expect_no_temp_files();

  // Other file-less paths are parsed, told "temp", and their files removed.
  run = probe(upload("/6082", body, "c=d"));
  EXPECT_EQ(body_of(run), "temp & c=d\nunread=2");  // the closing line end
  expect_no_temp_files();
}

TEST(IntakeUpload, UnparsableBodiesExit255WithoutTemporaryFiles) {
  std::string cut = file_part("a.bin", "first") + "--XyZ\r\nContent-Disposition: form-data; "
                    "name=\"file2\"; filename=\"b.bin\"\r\n\r\nhalf of it";
  CgiRun run = probe(upload("/upload", cut));
  EXPECT_EQ(run.status, 255);
  EXPECT_EQ(run.out, "");
  expect_no_temp_files();

  // A body shorter than announced ends the same way, without waiting for more.
  CgiRequest r = upload("/upload", file_part("a.bin", "data"));
  r.content_length = "100000";
  run = probe(r);
  EXPECT_FALSE(run.timed_out);
  EXPECT_EQ(run.status, 255);
  expect_no_temp_files();
}

TEST(IntakeUpload, AQuotedBoundaryIsTakenWithoutItsQuotes) {
  CgiRequest r = upload("/upload", file_part("q.txt", "quoted") + "--XyZ--\r\n");
  r.content_type = "multipart/form-data; boundary=\"XyZ\"";
  EXPECT_EQ(body_of(probe(r)), "/tmp/q.txt\nexists=1 size=6");
  EXPECT_EQ(read_file("/tmp/q.txt"), "quoted");
  remove("/tmp/q.txt");
  expect_no_temp_files();
}

TEST(IntakeUpload, AnUploadNeverReplacesAFile) {
  // A path without a handler: no reply, and the upload is not moved at all.
  write_file("/tmp/cgilockfile", "lock");
  for (const char *name : {"cgilockfile", "pbdownload"}) {
    CgiRun run = probe(upload("/nohandler", file_part(name, "evil") + "--XyZ--\r\n"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(read_file("/tmp/cgilockfile"), "lock");
  struct stat st;
  EXPECT_NE(stat("/tmp/pbdownload", &st), 0);
  // A handled path whose name is taken: no reply, the file stays as it was.
  CgiRun run = probe(upload("/upload", file_part("cgilockfile", "evil") + "--XyZ--\r\n"));
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(read_file("/tmp/cgilockfile"), "lock");
  remove("/tmp/cgilockfile");
  expect_no_temp_files();
}

TEST(IntakeUpload, TextPartsAreCappedInMemory) {
  auto text_part = [](int i, size_t size) {
    return "--XyZ\r\nContent-Disposition: form-data; name=\"t" + std::to_string(i) +
           "\"\r\n\r\n" + std::string(size, 't') + "\r\n";
  };
  std::string file = file_part("f.txt", "F") + "--XyZ--\r\n";
  // Four parts just under 1 MiB each fit.
  std::string body;
  for (int i = 0; i < 4; i++) body += text_part(i, (1 << 20) - 100);
  EXPECT_EQ(body_of(probe(upload("/upload", body + file))), "/tmp/f.txt\nexists=1 size=1");
  remove("/tmp/f.txt");
  // One part over 1 MiB, or a fifth part past 4 MiB in all: a failed parse.
  CgiRun run = probe(upload("/upload", text_part(0, (1 << 20) + 1) + file));
  EXPECT_EQ(run.status, 255);
  EXPECT_EQ(run.out, "");
  run = probe(upload("/upload", file_part("g.txt", "G") + body + text_part(4, 1000) + "--XyZ--\r\n"));
  EXPECT_EQ(run.status, 255);
  EXPECT_EQ(run.out, "");
  expect_no_temp_files();
}

TEST(IntakeBadInput, HostileRequestsNeitherCrashNorLeaveFiles) {
  std::string junk;
  for (int i = 0; i < 70000; i++) junk += (char)((i * 7919) % 256);
  const char *types[] = {"multipart/form-data; boundary=XyZ", "multipart/form-data",
                         "multipart/form-data; boundary=", "application/json",
                         "multipart/form-data; boundary=" };
  for (const char *type : types) {
    for (const char *length : {"", "-5", "abc", "99999999999", "0"}) {
      CgiRequest r = post("/upload", type, "--XyZ\r\n" + junk);
      r.content_length = length;
      CgiRun run = probe(r);
      EXPECT_FALSE(run.timed_out) << type << " " << length;
      EXPECT_TRUE(run.status == 0 || run.status == 255) << type << " " << length;
    }
  }
  CgiRequest r = upload("/upload", "--" + std::string(3000, 'B') + "\r\n");
  r.content_type = "multipart/form-data; boundary=" + std::string(2000, 'B');
  EXPECT_FALSE(probe(r).timed_out);
  expect_no_temp_files();
}

}  // namespace
