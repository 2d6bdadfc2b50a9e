#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "cgi_runner.h"
#include "cgic.h"

namespace {

// Feeds `body` as the request body (with `extra` bytes beyond the
// announced length) and parses it.
class Multipart : public ::testing::Test {
 protected:
  void TearDown() override {
    free_list();
    if (cgiIn && cgiIn != stdin) fclose(cgiIn);
    cgiIn = stdin;
  }
  cgiParseResultType parse(const std::string &body, const std::string &boundary = "XyZ",
                           const std::string &extra = "") {
    input_ = body + extra;
    cgiIn = fmemopen(input_.data(), input_.size(), "rb");
    cgiParseContentType(("multipart/form-data; boundary=" + boundary).c_str());
    cgiContentLength = (int)body.size();
    return cgiReadMultipartForm();
  }
  static std::string part(const std::string &name, const std::string &data,
                          const char *filename = nullptr) {
    std::string p = "--XyZ\r\nContent-Disposition: form-data; name=\"" + name + "\"";
    if (filename) p += std::string("; filename=\"") + filename + "\"";
    p += "\r\n";
    if (filename) p += "Content-Type: application/octet-stream\r\n";
    return p + "\r\n" + data + "\r\n";
  }
  std::string input_;
};

TEST_F(Multipart, ContentTypeSplitsMediaTypeAndBoundary) {
  cgiParseContentType("multipart/form-data; boundary=XyZ");
  EXPECT_STREQ(cgiContentType, "multipart/form-data");
  EXPECT_STREQ(cgiMultipartBoundary, "XyZ");
  cgiParseContentType("Application/JSON; charset=utf-8");
  EXPECT_STREQ(cgiContentType, "Application/JSON");
  EXPECT_STREQ(cgiMultipartBoundary, "");
  cgiParseContentType("multipart/form-data; charset=x;  BOUNDARY=ab cd");
  EXPECT_STREQ(cgiMultipartBoundary, "ab");
}

TEST_F(Multipart, EmptyBodiesGiveNoEntries) {
  EXPECT_EQ(parse("--XyZ--\r\n"), cgiParseSuccess);
  EXPECT_EQ(cgiFormEntryFirst, nullptr);
  EXPECT_EQ(parse(""), cgiParseSuccess);
  EXPECT_EQ(cgiFormEntryFirst, nullptr);
  EXPECT_EQ(parse("no boundary anywhere"), cgiParseSuccess);
  EXPECT_EQ(cgiFormEntryFirst, nullptr);
}

TEST_F(Multipart, TextAndFilePartsBecomeEntries) {
  static const char raw[] = "a\0b\r\n--XyQ\r\n--X\r\r\n-";
  std::string data(raw, sizeof raw - 1);
  ASSERT_EQ(parse("preamble\r\n" + part("note", "hello\r\nworld") +
                  part("file", data, "C:\\x\\a.bin") + part("empty", "", "") + "--XyZ--\r\n"),
            cgiParseSuccess);
  char buf[64];
  EXPECT_EQ(cgiFormString("note", buf, sizeof buf), cgiFormSuccess);
  EXPECT_STREQ(buf, "hello\nworld");
  EXPECT_EQ(cgiFormStringNoNewlines("note", buf, sizeof buf), cgiFormSuccess);
  EXPECT_STREQ(buf, "helloworld");
  EXPECT_EQ(cgiFormString("note", buf, 4), cgiFormTruncated);
  EXPECT_STREQ(buf, "hel");

  // The file's bytes, a boundary-like run included, are stored unchanged.
  cgiFormEntry *file = cgiFormEntryFind("file");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(std::string(file->tfileName).rfind("/tmp/cgic", 0), 0u);
  EXPECT_EQ(read_file(file->tfileName), data);
  int size = 0;
  EXPECT_EQ(cgiFormFileSize("file", &size), cgiFormSuccess);
  EXPECT_EQ(size, (int)data.size());
  EXPECT_EQ(cgiFormFileName("file", buf, sizeof buf), cgiFormSuccess);
  EXPECT_STREQ(buf, "C:\\x\\a.bin");
  EXPECT_EQ(cgiFormFileName("file", buf, 3), cgiFormTruncated);
  EXPECT_EQ(cgiFormFileContentType("file", buf, sizeof buf), cgiFormSuccess);
  EXPECT_STREQ(buf, "application/octet-stream");

  cgiFilePtr fp = nullptr;
  ASSERT_EQ(cgiFormFileOpen("file", &fp), cgiFormSuccess);
  int got = 0;
  EXPECT_EQ(cgiFormFileRead(fp, buf, sizeof buf, &got), cgiFormSuccess);
  EXPECT_EQ(got, (int)data.size());
  EXPECT_EQ(cgiFormFileRead(fp, buf, sizeof buf, &got), cgiFormIO);
  EXPECT_EQ(cgiFormFileClose(fp), cgiFormSuccess);

  // An empty file name makes a text entry.
  cgiFormEntry *empty = cgiFormEntryFind("empty");
  ASSERT_NE(empty, nullptr);
  EXPECT_STREQ(empty->tfileName, "");
  EXPECT_EQ(cgiFormFileName("empty", buf, sizeof buf), cgiFormNoFileName);
  EXPECT_EQ(cgiFormFileOpen("empty", &fp), cgiFormNotAFile);
  EXPECT_EQ(cgiFormString("empty", buf, sizeof buf), cgiFormEmpty);
  EXPECT_EQ(cgiFormFileName("missing", buf, sizeof buf), cgiFormNotFound);
  EXPECT_STREQ(buf, "");

  std::string tfile = file->tfileName;
  free_list();
  EXPECT_EQ(cgiFormEntryFirst, nullptr);
  EXPECT_TRUE(files_with_prefix("/tmp", "cgic").empty()) << tfile;
}

TEST_F(Multipart, NumbersAndNewlineRuns) {
  ASSERT_EQ(parse(part("n", " -42") + part("bad", "x1") + part("d", ",5") +
                  part("crlf", "a\r\r\nb\n\n\nc") + part("big", "99999999999") + "--XyZ--"),
            cgiParseSuccess);
  int v = 0;
  EXPECT_EQ(cgiFormInteger("n", &v, 7), cgiFormSuccess);
  EXPECT_EQ(v, -42);
  EXPECT_EQ(cgiFormInteger("bad", &v, 7), cgiFormBadType);
  EXPECT_EQ(v, 7);
  EXPECT_EQ(cgiFormInteger("none", &v, 8), cgiFormNotFound);
  EXPECT_EQ(v, 8);
  EXPECT_EQ(cgiFormIntegerBounded("n", &v, 0, 10, 1), cgiFormConstrained);
  EXPECT_EQ(v, 0);
  EXPECT_EQ(cgiFormInteger("big", &v, 0), cgiFormSuccess);
  EXPECT_EQ(v, 2147483647);
  double d = 0;
  EXPECT_EQ(cgiFormDouble("d", &d, 1.5), cgiFormSuccess);
  char buf[32];
  EXPECT_EQ(cgiFormString("crlf", buf, sizeof buf), cgiFormSuccess);
  EXPECT_STREQ(buf, "a\n\nb\n\n\nc");
  int needed = 0;
  EXPECT_EQ(cgiFormStringSpaceNeeded("n", &needed), cgiFormSuccess);
  EXPECT_EQ(needed, 5);
}

TEST_F(Multipart, TruncatedBodyFailsAndLeavesNoTemporaryFile) {
  std::string body = part("a", "1") + "--XyZ\r\nContent-Disposition: form-data; name=\"file\"; "
                                      "filename=\"x.bin\"\r\n\r\nsome data and no end";
  EXPECT_EQ(parse(body), cgiParseIO);
  free_list();
  EXPECT_TRUE(files_with_prefix("/tmp", "cgic").empty());
}

TEST_F(Multipart, NeverReadsPastContentLength) {
  // The closing delimiter lies beyond the announced length: it must not be seen.
  std::string body = part("a", "1");
  EXPECT_EQ(parse(body, "XyZ", "--XyZ--\r\n"), cgiParseIO);
  EXPECT_EQ(ftell(cgiIn), (long)body.size());
}

TEST_F(Multipart, OverlongHeadersAreCut) {
  std::string body = "--XyZ\r\nX-Long" + std::string(3000, 'h') + ": " + std::string(4000, 'v') +
                     "\r\nContent-Disposition: form-data; name=\"" + std::string(5000, 'n') +
                     "\"; filename=\"f.bin\"\r\n\r\ndata\r\n" +
                     "--XyZ\r\nContent-Disposition: form-data; name=f; filename=\"" +
                     std::string(1200, 'f') + "\"\r\n\r\nfile\r\n--XyZ--\r\n";
  ASSERT_EQ(parse(body), cgiParseSuccess);
  // The disposition value is cut at 1023 characters: the name with it, and
  // the file name after it is lost, so the part is kept as text.
  cgiFormEntry *first = cgiFormEntryFirst;
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(std::string(first->attr), std::string(1023 - strlen("form-data; name=\""), 'n'));
  EXPECT_STREQ(first->value, "data");
  ASSERT_NE(first->next, nullptr);
  EXPECT_EQ(strlen(first->next->fileName), 1023u - strlen("form-data; name=f; filename=\""));
  EXPECT_EQ(read_file(first->next->tfileName), "file");
}

TEST_F(Multipart, PartsThatAreNotFormDataAreSkipped) {
  std::string body = "--XyZ\r\nContent-Disposition: attachment; name=\"x\"\r\n\r\nskip\r\n" +
                     part("kept", "yes") + "--XyZ--";
  ASSERT_EQ(parse(body), cgiParseSuccess);
  EXPECT_EQ(cgiFormEntryFind("x"), nullptr);
  char buf[8];
  EXPECT_EQ(cgiFormString("kept", buf, sizeof buf), cgiFormSuccess);
  EXPECT_STREQ(buf, "yes");
}

TEST(Strrpl, ReplacesEveryOccurrenceWithinTheBuffer) {
  char out[32];
  strrpl(out, sizeof out, "a=%22x%22&b=%2", "%22", "\"");
  EXPECT_STREQ(out, "a=\"x\"&b=%2");
  strrpl(out, 6, "abcdefgh", "c", "CC");
  EXPECT_STREQ(out, "abCCd");
}

}  // namespace
