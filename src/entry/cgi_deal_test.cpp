// Upload intake in-process: what happens to the parser's temporary name.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "cgi_deal.h"
#include "cgi_runner.h"
#include "cgic.h"
#include "dispatchreq.h"

namespace {

std::string g_old_temp_name;

// Another request's mkstemp takes the name the upload had before its move.
int on_probe_claim(char *) {
  write_file(g_old_temp_name, "another request's file");
  return 0;
}

const WebRes probe_rows[] = {{"/claim", on_probe_claim}};

TEST(UploadIntake, TheMovedFilesOldTemporaryNameIsLeftAlone) {
  WebResRegister(probe_rows, 1);
  std::string body =
      "--XyZ\r\nContent-Disposition: form-data; name=\"file\"; filename=\"up.bin\"\r\n\r\n"
      "DATA\r\n--XyZ--\r\n";
  FILE *in = fmemopen(body.data(), body.size(), "r");
  cgiIn = in;
  cgiParseContentType("multipart/form-data; boundary=XyZ");
  cgiContentLength = (int)body.size();
  cgiPathInfo = "/claim";
  cgiQueryString = "";
  ASSERT_EQ(cgiReadMultipartForm(), cgiParseSuccess);
  ASSERT_TRUE(cgiFormEntryFind("file"));
  g_old_temp_name = cgiFormEntryFind("file")->tfileName;

  cgiDealUpload();
  free_list();
  EXPECT_EQ(read_file("/tmp/up.bin"), "DATA");
  EXPECT_EQ(read_file(g_old_temp_name), "another request's file");
  unlink("/tmp/up.bin");
  unlink(g_old_temp_name.c_str());
  fclose(in);
  cgiIn = stdin;
  WebResUnregister(probe_rows, 1);
}

}  // namespace
