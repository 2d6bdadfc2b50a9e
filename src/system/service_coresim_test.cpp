// Alarm audio files, the diagnostic package, page texts and the factory
// commands end to end: the built program against coresim, as the demo runs them.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "cgi_runner.h"
#include "coresim_fixture.h"
#include "json_codecs.h"
#include "kxstd.h"

namespace {


std::string slurp(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string encoded(const std::string &name) {
  char out[256];
  base64EncodeUrl((const unsigned char *)name.data(), (int)name.size(), out, sizeof out);
  return out;
}

class ServiceOnCoresim : public CoresimTest {
 protected:
  static std::vector<std::string> audio_names();
};

std::vector<std::string> ServiceOnCoresim::audio_names() {
  JsonPtr list = get_json("/6320");
  std::vector<std::string> names;
  json_object *files = json_member(list.get(), "audioFileList");
  for (int i = 0; i < array_length(files); i++) {
    names.push_back(json_object_get_string(json_member(array_at(files, i), "name")));
  }
  return names;
}

TEST_F(ServiceOnCoresim, AudioLibraryChangesAreKept) {
  EXPECT_EQ(audio_names(),
            (std::vector<std::string>{"Doorbell chime.wav", "Warning: leave the area.wav"}));
  EXPECT_EQ(post("/6324", R"({"id": 1, "name": "Leave now"})").body, R"({ "status": 0 })");
  std::ofstream("/tmp/" + encoded("gong.wav")) << "RIFF";
  EXPECT_EQ(post("/6322", R"({"uploadName": ")" + encoded("gong.wav") + R"(", "name": "Gong"})")
                .body,
            R"({ "status": 0 })");
  EXPECT_NE(access(("/tmp/" + encoded("Gong")).c_str(), F_OK), 0);  // the daemon took it
  EXPECT_EQ(post("/6323", R"({"idMask": 1})").body, R"({ "status": 0 })");
  EXPECT_EQ(audio_names(), (std::vector<std::string>{"Leave now", "Gong"}));
  EXPECT_EQ(post("/6325", R"({"id": 2})").body, R"({ "status": 0 })");
  EXPECT_EQ(post("/6325", R"({"id": 0})").body, R"({ "status": -1 })");
}

TEST_F(ServiceOnCoresim, DiagnosticPackageIsExportedAndDownloaded) {
  CgiReply exported = get("/6310");
  EXPECT_EQ(exported.body, "OK/%2Ftmp%2Fdiagnosis%20report.txt\r\n");
  CgiReply download = get("/6311", "%2Ftmp%2Fdiagnosis%20report.txt");
  EXPECT_NE(download.body.find("alarm audio files in use: 2"), std::string::npos)
      << download.body;
  EXPECT_NE(access("/tmp/diagnosis report.txt", F_OK), 0);
}

TEST_F(ServiceOnCoresim, FactoryCommandsAndPageTexts) {
  EXPECT_EQ(get("/vb.htm", "setlang=1&softversion=1").body, "OK7x.7.0.9");
  EXPECT_EQ(get("/vb.htm", "paratest=chipinfo").body,
            "OK chipinfo=KXN8016P8H20E2024110S00123456789\n\n");
  EXPECT_EQ(get("/vb.htm", "modelupdate=H31").body, "OK modelupdate");
  EXPECT_EQ(slurp("/mnt/nand/app/chipinfo"), "KXN8016P8H31E2024110S00123456789");
  // The language notice is sent without waiting: give it time to arrive.
  bool journalled = false;
  for (int i = 0; i < 200 && !journalled; i++, usleep(10000)) {
    journalled = slurp("/var/run/coresim.journal").find("request 4000 length 4") !=
                 std::string::npos;
  }
  EXPECT_TRUE(journalled);
  JsonPtr live = get_json("/json", "lang=en&page=live");
  ASSERT_TRUE(live);
  EXPECT_STREQ(json_object_get_string(json_member(live.get(), "title")), "Live view");
  JsonPtr network = get_json("/json", "lang=de&page=config&sub=network");
  ASSERT_TRUE(network);
  EXPECT_STREQ(json_object_get_string(json_member(network.get(), "ipAddress")), "IP-Adresse");
}

}  // namespace
